// The spin-value popup and its prompt-strip variant.
#include "ui/spin_value.h"

#include <algorithm>
#include <cmath>

#include "ui/buttons_controls.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/program_state.h"
#include "frame/window_draw.h"
#include "ui/cell_fields.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"

namespace {

constexpr uint16_t kRepeatFast = 5;    // hundredths between steps while held
constexpr uint16_t kRepeatFirst = 40;  // hundredths after the first step
constexpr int kWheelNotch = 120;
constexpr uint8_t kF1Key = 59;

uint16_t NowHundredths() {
  uint16_t now = 0;
  GetTimeHundredths(now);
  return uint16_t(now % 100);
}

// The stamp test of the line editor on the record's 16-bit stamp.
bool RepeatDue(TSpinValue& spin) {
  uint8_t stamp = uint8_t(spin.repeatStamp % 100);
  const bool due = CheckTimerElapsed(stamp, spin.repeatDelay);
  spin.repeatStamp = stamp;
  return due;
}

void ResetRunState(TSpinValue& spin) {
  spin.text.clear();
  spin.lastStep = kSpinNoStep;
  spin.repeatDelay = kRepeatFast;
  spin.repeatStamp = NowHundredths();
  spin.exitCode = 0;
  for (TBox& box : spin.boxes) box = TBox{};
}

float ClampSpin(const TSpinValue& spin, float v) {
  if (!std::isfinite(v)) v = spin.min;
  if (v > spin.max) v = spin.max;
  if (v < spin.min) v = spin.min;
  return v;
}

// One step up or down; held at the limit, with the signal when asked.
void StepSpinValue(TSpinValue& spin, uint8_t direction, bool signal) {
  const float next = direction == kSpinStepUp ? spin.value + spin.step : spin.value - spin.step;
  if (next > spin.max || next < spin.min || !std::isfinite(next)) {
    spin.value = ClampSpin(spin, next);
    if (signal) BeepSignal();
  } else {
    spin.value = next;
  }
  spin.repeatDelay = spin.lastStep == direction ? kRepeatFast : kRepeatFirst;
  spin.lastStep = direction;
}

bool IsInBox(const TBox& box) {
  return box.flag == 1 && MouseX >= box.x1 && MouseX <= box.x2 && MouseY >= box.y1 && MouseY <= box.y2;
}

void OutlineBox(const TBox& box) {
  SetPenColor(8);
  DrawFrameRect(box.x1, box.y1, box.x2, box.y2);
  SetRopCopy();
}

void SetBox(TBox& box, int x1, int y1, int x2, int y2) {
  box = TBox{1, int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y2)};
}

// The minus and plus buttons and the white value field of the popup between x1 and x2.
void DrawPopupControls(TSpinValue& spin, int x1, int x2) {
  const int y1 = 16 * spin.valueRow - 4, y2 = 16 * spin.valueRow + 20;
  SetBox(spin.boxes[kSpinMinus], x1 + 4, y1, x1 + 32, y2);
  SetBox(spin.boxes[kSpinPlus], x2 - 32, y1, x2 - 4, y2);
  SetBox(spin.boxes[kSpinField], x1 + 33, y1, x2 - 33, y2);
  DrawIconButton(" ", "StepMinus", spin.boxes[kSpinMinus], 0, 274, 260);
  DrawIconButton(" ", "StepPlus", spin.boxes[kSpinPlus], 0, 274, 260);
  const TBox& field = spin.boxes[kSpinField];
  FillColorRect(field.x1, field.y1, field.x2, field.y2, GetColorRef(261));
  for (int i : {int(kSpinMinus), int(kSpinPlus), int(kSpinField)}) OutlineBox(spin.boxes[i]);
  spin.valueColumn = int16_t((x1 + 32) / 8 + 2);
  DrawSpinValueField(spin);
}

std::string SpinValueText(const TSpinValue& spin) {
  std::string text = FormatRealText(8, spin.decimals, spin.value);
  if (text.size() > 8) text.resize(8);
  return text;
}

// The value box of the prompt-strip variant.
void DrawPromptValueBox(const TSpinValue& spin) {
  const int c = spin.valueColumn, d = MenuBarHeight;
  if (CursorShown) EraseMouseCursor();
  SetFillBrush(0, 7);
  FillScreenRect(8 * c + 33, d - 24, 8 * c + 95, d - 2);
  SetPenColor(274);
  DrawScreenText(8 * c + 35, d - 18, SpinValueText(spin));
  SetRopCopy();
}

}  // namespace

// --- the popup --------------------------------------------------------------------------------

void DrawSpinValueField(const TSpinValue& spin) {
  if (CursorShown) EraseMouseCursor();
  DrawCellButton(spin.valueColumn, spin.valueRow, SpinValueText(spin), false, 274, 261);
  SetRopCopy();
}

void OpenSpinValuePopup(TSpinValue& spin, const std::string& caption, int column, int row, bool menuAligned) {
  const bool bare = !caption.empty() && caption[0] == '|';
  const int areaHeight = DrawingArea.y2;
  if ((row + 5) * 16 + 4 > areaHeight) row = (areaHeight - 4) / 16 - 5;
  if (row < 0) row = 0;
  SetVerticalScrollPos(ScrollRange / 2);
  spin.scrollStamp = ScrollPosition;

  const int x1 = std::min(8 * column, MaxX - 166);
  const int x2 = x1 + 164;
  int y1 = 16 * row + 1;
  if (menuAligned) y1 = bare ? SideMenuTextArea.y1 + 17 * (row + 2) + 1 : SideMenuTextArea.y1 + 16 * (row + 2) + 4;
  spin.valueRow = int16_t((y1 + 30 + 15) / 16);
  const int y2 = 16 * spin.valueRow + 28;

  spin.frame = TPopupFrame{};
  spin.frame.left = int16_t(x1);
  spin.frame.top = int16_t(y1);
  spin.frame.right = int16_t(x2);
  spin.frame.bottom = int16_t(y2);
  spin.frame.lines = int16_t(LinesForHeight(y2 - y1 + 2));
  if (CursorShown) EraseMouseCursor();
  OpenPopupFrame(spin.frame);
  DrawDialogPanel(x1, y1, x2, 2, caption.empty() ? std::string(" ") : caption, y2);
  if (!bare) {
    PlaceCancelButton(x2 - 26, y1 + 4, spin.boxes[kSpinCancel]);
    PlaceOkButton(x2 - 48, y1 + 4, spin.boxes[kSpinOk]);
  }
  DrawPopupControls(spin, x1, x2);
  spin.editFlag = 1;
}

void ShowSpinValuePopup(int column, int row, const std::string& caption, TSpinValue& spin) {
  ResetRunState(spin);
  OpenSpinValuePopup(spin, caption, column, row, true);
}

void DrawSpinValueControls(int column, int row, const std::string& caption, TSpinValue& spin) {
  ResetRunState(spin);
  const int x1 = std::min(8 * column, MaxX - 166);
  spin.valueRow = int16_t(row);
  if (!caption.empty()) {
    SetPenColor(274);
    DrawScreenText(x1 + 4, 16 * row - 20, caption);
    SetRopCopy();
  }
  DrawPopupControls(spin, x1, x1 + 164);
  spin.editFlag = 1;
}

void HandleSpinValueEvent(TSpinValue& spin) {
  spin.exitCode = 0;
  // The scroll position (scroll bar) and the wheel move the value.
  int notches = 0;
  if (ScrollPosition != spin.scrollStamp) {
    notches = spin.scrollStamp - ScrollPosition;
    spin.scrollStamp = ScrollPosition;
  }
  if (WheelDelta != 0) {
    notches += WheelDelta / kWheelNotch != 0 ? WheelDelta / kWheelNotch : (WheelDelta > 0 ? 1 : -1);
    WheelDelta = 0;
  }
  if (notches != 0) {
    spin.value = ClampSpin(spin, spin.value + float(notches) * spin.step);
    DrawSpinValueField(spin);
  }

  // A left click that ended the text edit (on a button, say) is taken even
  // when the button is up again by the time the cursor is polled.
  bool clickEndedEdit = false;
  int16_t clickX = 0, clickY = 0;
  if (spin.editFlag) {
    uint8_t code = 0;
    EditRealField(spin.value, spin.valueColumn, spin.valueRow, spin.max, spin.min, spin.decimals, code);
    spin.exitCode = code;
    clickEndedEdit = code == 2 && MouseButtonState == 2;
    clickX = MouseX;
    clickY = MouseY;
  }

  const TErrorCode errorBefore = ErrorCode;  // Esc in the cursor poll counts as an abort there
  ButtonResult = 0;
  PollMouseCursor();
  const bool escape = ButtonResult == 4;
  ErrorCode = errorBefore;
  if (clickEndedEdit && MouseButtonState != 2) {
    MouseX = clickX;
    MouseY = clickY;
    MouseButtonState = 2;
  }
  const bool leftClick = MouseButtonState == 2;
  if (spin.editFlag && !(leftClick && !IsInBox(spin.boxes[kSpinField]))) return;

  spin.editFlag = 0;
  spin.exitCode = 0;
  if (leftClick && IsInBox(spin.boxes[kSpinCancel])) {
    spin.exitCode = 3;
    MouseButtonState = 4;
  } else if (leftClick && IsInBox(spin.boxes[kSpinOk])) {
    spin.exitCode = 2;
    MouseButtonState = 2;
  } else if (leftClick && (IsInBox(spin.boxes[kSpinMinus]) || IsInBox(spin.boxes[kSpinPlus]))) {
    // Polled without waiting: the repeat runs on while the button is held still.
    if (RepeatDue(spin)) {
      StepSpinValue(spin, IsInBox(spin.boxes[kSpinPlus]) ? kSpinStepUp : kSpinStepDown, true);
      DrawSpinValueField(spin);
    }
  } else if (leftClick && IsInBox(spin.boxes[kSpinField])) {
    uint8_t code = 0;
    EditRealFieldClamped(spin.value, spin.valueColumn, spin.valueRow, spin.max, spin.min, spin.decimals, code);
    if (code == 8) spin.exitCode = 2;
  } else {
    if (CursorKeyCode == kF1Key && ExtendedKeyFlag) spin.exitCode = 2;
    else if (RedrawRequested() || CloseRequested || escape || MouseButtonState == 4) spin.exitCode = 3;
    spin.lastStep = kSpinNoStep;
    spin.repeatDelay = kRepeatFast;
    if (spin.exitCode == 0) WaitForWindowMessage();
  }
}

void RunSpinValuePopup(const std::string& caption, int column, int row, bool menuAligned, float& value, float min,
                       float max, float step, int decimals, uint8_t& exitCode) {
  if (row < 1) row = 1;
  if (column < 1) column = 1;
  ShowArrowCursor();
  TSpinValue spin;
  spin.decimals = uint8_t(std::clamp(decimals, 0, 8));
  spin.value = std::isfinite(value) ? value : min;
  spin.min = min;
  spin.max = max;
  spin.step = step;
  ResetRunState(spin);
  OpenSpinValuePopup(spin, caption, column, row, menuAligned);
  WaitForMouseRelease();
  ClearKeyBuffer();
  const float entered = value;
  do {
    HandleSpinValueEvent(spin);
    value = spin.value;
  } while (spin.exitCode == 0);
  ClosePopupFrame(spin.frame);
  if (spin.exitCode == 3) value = entered;
  exitCode = spin.exitCode;
}

void AskSpinValue(const std::string& caption, int row, float& value, float min, float max, float step,
                  uint8_t& exitCode) {
  RunSpinValuePopup(caption, MaxX / 8, row, true, value, min, max, step, 3, exitCode);
}

void AskSpinInteger(const std::string& caption, int row, int32_t& value, int32_t min, int32_t max, int32_t step,
                    uint8_t& exitCode) {
  float v = float(value);
  RunSpinValuePopup(caption, MaxX / 8, row, true, v, float(min), float(max), float(step), 0, exitCode);
  value = int32_t(std::clamp<double>(std::nearbyint(v), min, max));
}

// --- the prompt-strip variant ------------------------------------------------------------------

void ShowSpinPromptLine(const std::string& prompt, TSpinValue& spin) {
  const int d = MenuBarHeight;
  ShowInputPrompt(prompt);
  int c = DrawingArea.x2 / 8 - 16;
  if (c < PromptInputColumn + 9) {
    c = MaxX < 8 * PromptInputColumn + 200 ? MaxX / 8 - 16 : PromptInputColumn + 9;
    FillColorRect(8 * PromptInputColumn, 25, 8 * c + 3, d - 1, GetColorRef(261));
  }
  ResetRunState(spin);
  spin.valueColumn = int16_t(c);
  SetBox(spin.boxes[kSpinPromptMinus], 8 * c + 4, d - 25, 8 * c + 32, d - 1);
  SetBox(spin.boxes[kSpinPromptPlus], 8 * c + 96, d - 25, 8 * c + 124, d - 1);
  if (CursorShown) EraseMouseCursor();
  DrawIconButton(" ", "StepMinus", spin.boxes[kSpinPromptMinus], 0, 274, 260);
  DrawIconButton(" ", "StepPlus", spin.boxes[kSpinPromptPlus], 0, 274, 260);
  OutlineBox(spin.boxes[kSpinPromptMinus]);
  OutlineBox(spin.boxes[kSpinPromptPlus]);
  OutlineBox(TBox{1, int16_t(8 * c + 32), int16_t(d - 25), int16_t(8 * c + 96), int16_t(d - 1)});
  DrawPromptValueBox(spin);
  PromptWidth = int16_t(std::max(1, c - PromptInputColumn));
  PromptPosition = 1;
  PromptCaretShown = 0;
}

void EditSpinPromptValue(TSpinValue& spin) {
  if (spin.text.size() > 39) spin.text.resize(39);
  const bool typed = !spin.text.empty();
  EditPromptLine(spin.text);
  if (spin.text.size() > 39) spin.text.resize(39);
  if (typed) {
    // A button ends the typed line: left accepts, any other cancels.
    if (ButtonResult != 0 && ButtonResult != 2) ButtonResult = 4;
    return;
  }
  if (ButtonResult == 2 && MouseButtonState == 2 &&
      (IsInBox(spin.boxes[kSpinPromptMinus]) || IsInBox(spin.boxes[kSpinPromptPlus]))) {
    if (RepeatDue(spin)) {
      StepSpinValue(spin, IsInBox(spin.boxes[kSpinPromptPlus]) ? kSpinStepUp : kSpinStepDown, false);
      DrawPromptValueBox(spin);
    }
    ButtonResult = 0;  // a step does not end the prompt
    return;
  }
  if (MouseButtonState == 0) {
    spin.lastStep = kSpinNoStep;
    spin.repeatDelay = kRepeatFast;
  }
}
