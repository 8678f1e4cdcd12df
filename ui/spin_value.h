// The spin-value popup: one number with minus and plus buttons, auto-repeat
// while a button is held (one step, a pause of 0.40 s, then a step every
// 0.05 s), the mouse wheel, and the value typed into its field. The same
// controls also sit in the prompt strip (ShowSpinPromptLine and
// EditSpinPromptValue).
#pragma once

#include <cstdint>
#include <string>

#include "ui/panels.h"

// The boxes of a spin value.
enum TSpinBox : int {
  kSpinPromptMinus = 0,
  kSpinPromptPlus = 1,
  kSpinCancel = 2,
  kSpinOk = 3,
  kSpinMinus = 4,
  kSpinPlus = 5,
  kSpinField = 6,
  kSpinBoxCount = 7
};

// Last step directions.
constexpr uint8_t kSpinNoStep = 0;
constexpr uint8_t kSpinStepDown = 1;
constexpr uint8_t kSpinStepUp = 2;

// One spin run, owned by the caller or by the run.
struct TSpinValue {
  std::string text;         // typed in the prompt-line variant (at most 39 characters)
  float value = 0;          // the value being set
  float min = 0, max = 0;   // limits
  float step = 0;           // amount of one step
  uint8_t decimals = 0;     // decimals shown
  uint8_t lastStep = kSpinNoStep;
  TBox boxes[kSpinBoxCount] = {};
  uint16_t repeatStamp = 0;  // hundredths of a second at the last step
  uint16_t repeatDelay = 5;  // hundredths before the next step (5 or 40)
  int16_t valueColumn = 0, valueRow = 0;  // cell of the value field
  TPopupFrame frame = {};
  uint8_t editFlag = 0;     // 1 while the value is edited as text
  uint8_t exitCode = 0;     // 0 running, 2 OK, 3 cancel, or an editor exit code
  int32_t scrollStamp = 0;  // vertical scroll position seen last
};

// --- whole runs ---------------------------------------------------------------------------
// The popup at the right edge of the window, beside side-menu row row, with
// 3 decimals; the value changes live and comes back on a cancel.
void AskSpinValue(const std::string& caption, int row, float& value, float min, float max, float step,
                  uint8_t& exitCode);
// The same for a whole number (0 decimals, the result rounded).
void AskSpinInteger(const std::string& caption, int row, int32_t& value, int32_t min, int32_t max, int32_t step,
                    uint8_t& exitCode);
// The full run at cell (column, row) (below 1 counts as 1), menu aligned or
// at the cell's row of the window. Exit code 2 OK (OK button, Enter in the
// field, F1), 3 cancel (the value given back); value follows every change.
// A caption beginning with "|" gives the variant without cancel and OK
// buttons and with 17-pixel menu rows.
void RunSpinValuePopup(const std::string& caption, int column, int row, bool menuAligned, float& value, float min,
                       float max, float step, int decimals, uint8_t& exitCode);

// --- pieces for callers that run the events themselves --------------------------------------
// Lays out, saves the screen under and draws the popup; the run state of the
// record (text, last step, delay, stamp) is reset, its value, limits, step
// and decimals are used as they are. A row too low for the graphic area is
// moved up.
void OpenSpinValuePopup(TSpinValue& spin, const std::string& caption, int column, int row, bool menuAligned);
// One event: scroll or wheel, the text edit of the value field, a click on a
// button, F1, Esc or the right button. Leaves the exit code in the record.
void HandleSpinValueEvent(TSpinValue& spin);
// The value as fixed-point text with the record's decimals in 8 cells.
void DrawSpinValueField(const TSpinValue& spin);
// OpenSpinValuePopup menu aligned (the row counted below the top bar).
void ShowSpinValuePopup(int column, int row, const std::string& caption, TSpinValue& spin);
// The minus, value and plus controls drawn into an existing panel, the
// value field at cell row row; no frame, no cancel or OK button.
void DrawSpinValueControls(int column, int row, const std::string& caption, TSpinValue& spin);

// --- the prompt-strip variant ---------------------------------------------------------------
// Shows the prompt with a value box between "StepMinus" and "StepPlus"
// buttons in the strip; the typed line ends left of them.
void ShowSpinPromptLine(const std::string& prompt, TSpinValue& spin);
// One step of the prompt line on the record's text. With text typed, a left
// click counts as Enter and any other button as Esc; with no text, a held
// left button on minus or plus steps the value (held at the limits without
// a signal) and the step does not end the prompt. The caller loops until
// ButtonResult (the prompt line's button state) is not 0: 2 accept, 4 cancel.
void EditSpinPromptValue(TSpinValue& spin);
