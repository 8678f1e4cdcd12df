// The one-line text popup and its character-set variant.
#include "ui/text_popup.h"

#include <algorithm>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/panels.h"
#include "view/character_cells.h"

namespace {

constexpr int kPopupHeight = 70;
constexpr int kTitleStripHeight = 22;

// A left click strictly inside the box (its edges do not count).
bool IsClickInsideBox(const TBox& box) {
  return MouseButtonState == 2 && box.flag == 1 && MouseX > box.x1 && MouseX < box.x2 && MouseY > box.y1 &&
         MouseY < box.y2;
}

void MoveBox(TBox& box, int dx, int dy) {
  box.x1 = int16_t(box.x1 + dx);
  box.x2 = int16_t(box.x2 + dx);
  box.y1 = int16_t(box.y1 + dy);
  box.y2 = int16_t(box.y2 + dy);
}

void CutText(std::string& text, int maxLength) {
  if (maxLength < 0) maxLength = 0;
  if (text.size() > size_t(maxLength)) text.resize(size_t(maxLength));
}

}  // namespace

int TextPopupWidth(const std::string& title, const std::string& caption, int width) {
  if (width < 1) width = 1;
  // The caption starts at the field's column, at most 15 pixels in, and
  // keeps off the 4-pixel edge on the right.
  const int forCaption = MeasureTextWidthSized(caption, kTextPopupCaptionWidth, kTextPopupCaptionHeight) + 15 + 4;
  return WidenPopupForTitle(title, std::max((width + 2) * 8, (forCaption + 7) / 8 * 8));
}

int TextPopupCaptionLeft(int left) { return 8 * (left / 8 + 1); }

void EditTextPopup(const std::string& title, const std::string& caption, std::string& text, uint8_t& exitCode,
                   int width, int position, int mode, int maxLength) {
  if (width < 1) width = 1;
  const int pixels = TextPopupWidth(title, caption, width);
  int top = 0, left = 0;
  PlacePopupByPosition(position, pixels, kPopupHeight, top, left);
  TPopupFrame frame{};
  frame.left = int16_t(left);
  frame.top = int16_t(top);
  frame.right = int16_t(left + pixels);
  frame.bottom = int16_t(top + kPopupHeight);
  frame.lines = 5;
  frame.grid = 1;
  OpenPopupFrame(frame);
  TBox cancelBox{}, okBox{};
  DrawPanelWithOkCancel(frame.left, frame.top, frame.right, frame.bottom, title, cancelBox, okBox);
  const int column = frame.left / 8 + 1;
  const int row = frame.bottom / 16 - 1;
  DrawCellField(column, row, width);
  SetPenColor(3);
  DrawTextSized(TextPopupCaptionLeft(frame.left), 16 * row - 14, caption, kTextPopupCaptionHeight,
                kTextPopupCaptionWidth);
  SetRopCopy();

  int fieldColumn = column, fieldRow = row;
  CutText(text, maxLength);
  exitCode = 0;
  do {
    EditTextField(fieldColumn, fieldRow, width, mode, text, 261, 1, exitCode);
    CutText(text, maxLength);
    if (exitCode == 8 || exitCode == 3) break;
    if (IsClickInsideBox(okBox)) {
      exitCode = 8;
    } else if (IsClickInsideBox(cancelBox)) {
      exitCode = 3;
    } else if (position > 0 && MouseButtonState == 2 && MouseX >= frame.left && MouseX <= frame.right &&
               MouseY >= frame.top && MouseY <= frame.top + kTitleStripHeight) {
      const int oldLeft = frame.left, oldTop = frame.top;
      DragPopupFrame(frame);
      const int dx = frame.left - oldLeft, dy = frame.top - oldTop;
      MoveBox(okBox, dx, dy);
      MoveBox(cancelBox, dx, dy);
      fieldColumn = frame.left / 8 + 1;
      fieldRow = frame.bottom / 16 - 1;
    }
  } while (exitCode != 3 && exitCode != 8);
  ClosePopupFrame(frame);
}

void EditTextFromCharSet(const std::string& title, const std::string& caption, std::string& text,
                         uint8_t& exitCode, int width, int position, const std::string& allowed, int mode,
                         int maxLength) {
  std::string original = text;
  CutText(original, maxLength);
  for (;;) {
    EditTextPopup(title, caption, text, exitCode, width, position, mode, maxLength);
    if (exitCode == 3) {
      exitCode = 3;
      text = original;
      return;
    }
    exitCode = 2;
    bool good = true;
    if (!allowed.empty())
      for (char c : text)
        if (allowed.find(c) == std::string::npos) good = false;
    if (good) return;
    PlayDingOrBeep();
  }
}
