// Hooks through which the input wait and the start panel reach the drawing
// commands above them.
#include "commands/command_hooks.h"

void (*ShowSelectionHandlesHook)() = [] {};
void (*HideSelectionHandlesHook)() = [] {};
bool (*SelectionHandleClickHook)() = [] { return false; };
void (*TransformSelectionHook)() = [] {};
bool (*CursorNearGuideLineHook)() = [] { return false; };
void (*LayoutLimitsDialogHook)() = [] {};
