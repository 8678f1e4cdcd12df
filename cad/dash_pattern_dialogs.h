// The dash pattern dialogs and the dash command: choosing one of the four
// patterns of parameter block 18 (each shown as a sample row), editing the
// lengths of one pattern, and dashing the selection with the chosen one.
#pragma once

#include "cad/dash_patterns.h"

constexpr int16_t kDashPatternBlock = 18;

// The chooser: a click on a row selects its pattern, "Ändern" edits it,
// "OK" (or Enter) ends storing block 18, "Abbruch" (Esc, the right button)
// ends leaving block 18 as it was. The chosen pattern is handed back either
// way; true on OK.
bool ChooseDashPattern(TDashPattern& pattern);
// Edits the twelve lengths in cell fields; on OK the count becomes the
// highest index with a non-zero length (at least 1) and the total the sum of
// the absolute lengths up to it. Cancelled: the pattern is left as it was.
// True on OK.
bool EditDashPattern(TDashPattern& pattern);
// One chooser row: the box (grey, or highlighted when chosen), its frame and
// eight periods of the pattern across it at the middle height.
void DrawDashPatternSample(int x1, int y1, int x2, int y2, const TDashPattern& pattern, bool chosen);
// Dashes the selection ("VekAR1.TMP") with a chosen pattern, after an undo
// snapshot of the current layer and the store.
void RunDashLineCommand();
