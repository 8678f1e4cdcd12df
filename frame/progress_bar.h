// Progress display in the status row: a 167 x 16 pixel box at the right end
// of the row at the top of the side panel.
//
// Three ways to drive it, all called from inside the long computation (no
// threads, no timers):
//   single level:  StartProgressBar (total), then ShowProgressStep /
//                  UpdateProgressBar (i) or AdvanceProgressBar (i);
//   two levels:    StartProgressSubRange (done, nextEnd, total) before each
//                  pass, SetProgressSubRangeSteps (m) and UpdateProgressBar (i)
//                  inside it, EndProgressSubRanges after the last pass; these
//                  redraws happen at most every 500 ms;
//   busy:          StepBusyIndicator for work of unknown length.
// The box stays on screen until the status row is redrawn or
// ClearProgressBox is called.
#pragma once

#include <cstdint>

// Switch of the whole display: 1 draws, 0 keeps the single-level bar and the
// busy indicator silent (callers switch it off around work that must not
// draw). On at program start.
extern uint8_t ProgressDisplayOn;

// Bar state (reset at program start).
extern int32_t ProgressTotal;          // effective total; at least 1 once started
extern int32_t ProgressSubRangeStart;  // current sub-range, in overall steps
extern int32_t ProgressSubRangeEnd;
extern int32_t ProgressOverallTotal;   // total of all sub-ranges
extern int32_t ProgressReferenceTotal; // divisor for the sub-range end mark
extern int32_t ProgressLastRedrawTick; // tick of the last two-level redraw
extern int16_t ProgressBarLeft;        // x of the box's left edge
extern uint16_t ProgressBarBottom;     // y of the box's last pixel row
extern int16_t ProgressFillEnd;        // x up to which the bar is filled
extern int16_t ProgressBusyCount;      // calls of the busy indicator
extern uint8_t ProgressTwoLevelMode;   // set while sub-ranges are used
extern double ProgressSubRangeScale;   // overall steps per step of the sub-range (1: steps are overall steps)

// Fills the box with the status row's face grey.
void ClearProgressBox();
// Draws the empty box with its red outline and sets the total to n (1 when
// n <= 0); draws whatever the display switch says.
void DrawEmptyProgressBar(int32_t n);
// DrawEmptyProgressBar (n) while the display is switched on.
void StartProgressBar(int32_t n);
// Fills the bar up to step n, without text; never moves backwards.
void AdvanceProgressBar(int32_t n);
// Two-level mode: the throttled two-level update; otherwise ShowProgressStep.
void UpdateProgressBar(int32_t n);
// Fills the bar up to step n and writes the percentage; only forwards.
void ShowProgressStep(int32_t n);
// Enters two-level mode for overall total c with the sub-range a..b and
// shows position a (always draws the box).
void StartProgressSubRange(int32_t a, int32_t b, int32_t c);
// Two-level mode: the current sub-range is counted in m steps, so that
// UpdateProgressBar (0) shows its start and UpdateProgressBar (m) its end.
// Otherwise StartProgressBar (m).
void SetProgressSubRangeSteps(int32_t m);
void EndProgressSubRanges();
// One call of the busy indicator: every total-th call moves an xor line one
// pixel to the right, wrapping inside the box.
void StepBusyIndicator();
// Program start: clears the two-level mode and the last redraw tick.
void ResetProgressBar();
