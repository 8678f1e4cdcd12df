// Hooks through which the view reaches the screen parts above it.
#include "view/view_hooks.h"

void (*ResetDrawingAreaHook)() = [] {};
