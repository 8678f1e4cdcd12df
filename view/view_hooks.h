// Hooks through which the view reaches the screen parts above it. The view
// draws the drawing only; app/ sets these at program start (InstallViewHooks,
// app/hook_setup.h). The defaults do nothing, so the view draws
// without the bars around it.
#pragma once

// After a painter run: the prompt strip above the drawing is cleared and the
// graphic icon bar drawn again.
extern void (*ResetDrawingAreaHook)();
