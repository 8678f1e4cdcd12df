// Hooks through which the input wait and the start panel reach the drawing
// commands above them. app/ sets them at program start (InstallCommandHooks,
// app/hook_setup.h). The defaults do nothing: no handles are shown, a
// click in the drawing hits none, no guide line is near and no dialog opens.
#pragma once

// The mouse handles round the selection: shown afresh (a shown set is taken
// off first) and taken off.
extern void (*ShowSelectionHandlesHook)();
extern void (*HideSelectionHandlesHook)();
// A click in the drawing area: true when it hit the handles (a hit drags them).
extern bool (*SelectionHandleClickHook)();
// The transform dialog on the selection and its handles, duplicate offered.
extern void (*TransformSelectionHook)();
// True when guide snapping is on and a guide line lies near the cursor.
extern bool (*CursorNearGuideLineHook)();
// The layout limits dialog.
extern void (*LayoutLimitsDialogHook)();
