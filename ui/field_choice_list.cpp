#include "ui/field_choice_list.h"

#include <algorithm>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "ui/panels.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"

namespace {

constexpr int kCellW = 8;
constexpr int kCellH = 16;

void RemoveCursor() {
  if (CursorShown) EraseMouseCursor();
}

// The key of this poll as the form counts it: plain keys by their code,
// function and navigation keys by their scan code (flag set), 0 for none.
struct TPolledKey {
  uint8_t code = 0;
  bool extended = false;
};
TPolledKey TakePolledKey() {
  TPolledKey key;
  if (CursorKeyCode == 255) return key;
  key.code = CursorKeyCode;
  key.extended = ExtendedKeyFlag != 0;
  return key;
}

// Exit code of a key that leaves the list in either mode; 0 for any other.
uint8_t LeavingKeyCode(const TPolledKey& key) {
  if (!key.extended) return key.code == 9 ? kChoiceNextField : 0;
  if (key.code >= 59 && key.code <= 66) return uint8_t(key.code - 51);
  switch (key.code) {
    case 68: return 17;
    case 73: return kChoicePageUp;
    case 81: return kChoicePageDown;
    default: return 0;
  }
}

// The button state of this poll (Enter and Esc come as left and right). A
// close of the window is not a button: it ends the list only when nothing
// else did in the same poll.
uint8_t PollButtons() {
  ButtonResult = 0;
  PollMouseCursor();
  const bool cancelKey = ExtendedKeyFlag == 0 && (CursorKeyCode == 27 || CursorKeyCode == 'N');
  if (CloseRequested && ButtonResult == 4 && !cancelKey) ButtonResult = 0;
  return ButtonResult != 0 ? ButtonResult : MouseButtonState;
}

void DrawOption(const TFieldChoiceList& list, const TDroppedChoiceLayout& L, int j, bool highlighted) {
  DrawCellButton(L.column, list.Row + j, list.Options[j - 1], highlighted, 274, 261);
}

void RunDropped(TFieldChoiceList& list, int n) {
  TDroppedChoiceLayout L;
  LayOutDroppedChoices(list, MaxX + 1, L);
  RemoveCursor();
  const uint8_t savedCursorMode = CursorMode;
  CursorMode = 132;

  const int left = L.left, top = L.top, right = L.right, bottom = L.bottom;
  TPopupFrame frame{};
  frame.left = int16_t(left);
  frame.top = int16_t(top);
  frame.right = int16_t(right);
  frame.bottom = int16_t(bottom);
  frame.lines = int16_t((bottom - top) / kCellH + 1);
  OpenPopupFrame(frame);
  FillColorRect(left, top, right, bottom, GetColorRef(261));
  for (int j = 1; j <= n; ++j) DrawOption(list, L, j, j == list.Chosen);
  SetRopCopy();
  SetPenColor(274);
  DrawFrameRect(left, top, right, bottom);
  WaitForMouseRelease();
  list.ExitCode = 0;

  bool pickedOption = false;
  while (list.ExitCode == 0 && !RedrawRequested()) {
    const uint8_t buttons = PollButtons();
    const TPolledKey key = TakePolledKey();
    if (buttons == 2) {
      pickedOption = false;
      for (int j = 1; j <= n && !pickedOption; ++j) {
        const int x1 = L.column * kCellW, x2 = (L.column + L.cells) * kCellW;
        const int y1 = (list.Row + j) * kCellH, y2 = (list.Row + j + 1) * kCellH;
        if (MouseX >= x1 && MouseX <= x2 && MouseY >= y1 && MouseY <= y2) {
          list.Chosen = int16_t(j);
          pickedOption = true;
        }
      }
    }
    if (const uint8_t leave = LeavingKeyCode(key); leave != 0) {
      list.ExitCode = leave;
    } else if (key.extended && key.code == 72) {
      if (list.Chosen <= 1) {
        list.ExitCode = kChoicePrevField;
      } else {
        if (list.Chosen <= n) DrawOption(list, L, list.Chosen, false);
        list.Chosen = int16_t(list.Chosen > n ? n : list.Chosen - 1);
        DrawOption(list, L, list.Chosen, true);
      }
    } else if (key.extended && key.code == 80) {
      if (list.Chosen >= n) {
        list.ExitCode = kChoiceNextField;
      } else {
        if (list.Chosen >= 1) DrawOption(list, L, list.Chosen, false);
        list.Chosen = int16_t(list.Chosen < 1 ? 1 : list.Chosen + 1);
        DrawOption(list, L, list.Chosen, true);
      }
    }
    if (buttons == 2 || buttons == 1) list.ExitCode = kChoiceEnter;
    else if (buttons == 4) list.ExitCode = kChoiceCancel;
    if (list.ExitCode == 0 && CloseRequested) list.ExitCode = kChoiceCancel;
    if (list.ExitCode == 0 && !RedrawRequested()) WaitForWindowMessage();
  }
  if (pickedOption) {
    WaitForMouseRelease();
    if (list.ExitCode == kChoiceEnter) list.ExitCode = kChoicePicked;
  }
  RemoveCursor();
  CursorMode = savedCursorMode;
  ClosePopupFrame(frame);
}

// The option is cut to the field as the form shows its value, so that it
// does not paint past the field.
void RunInPlace(TFieldChoiceList& list) {
  if (list.Chosen >= 1 && list.Chosen <= kChoiceOptions)
    DrawCellButton(list.Column, list.Row, list.Options[list.Chosen - 1].substr(0, size_t(std::max<int>(list.Width, 0))),
                   true, 274, 261);
  list.ExitCode = 0;
  WaitForMouseRelease();
  while (list.ExitCode == 0) {
    const uint8_t buttons = PollButtons();
    const TPolledKey key = TakePolledKey();
    if (const uint8_t leave = LeavingKeyCode(key); leave != 0) list.ExitCode = leave;
    else if (key.extended && key.code == 80) list.ExitCode = kChoiceNextField;
    else if (key.extended && key.code == 72) list.ExitCode = kChoicePrevField;
    if (list.ExitCode == 0) {
      if (buttons == 2 || buttons == 1) list.ExitCode = kChoiceNextField;
      else if (buttons == 4 || CloseRequested) list.ExitCode = kChoiceCancel;
    }
    if (list.ExitCode == 0) WaitForWindowMessage();
  }
}

}  // namespace

void LayOutDroppedChoices(const TFieldChoiceList& list, int screenWidth, TDroppedChoiceLayout& layout) {
  const int n = CountChoiceOptions(list);
  int cells = list.Width < 1 ? 1 : list.Width;
  for (int j = 0; j < n; ++j) cells = std::max(cells, int(list.Options[j].size()));
  // The box reaches 5 pixels left and right of the options.
  const int screenCells = (screenWidth - 5) / kCellW;
  int column = list.Column;
  if (column + cells > screenCells) column = std::max(0, screenCells - cells);
  layout.column = column;
  layout.cells = cells;
  layout.left = column * kCellW - 5;
  layout.top = (list.Row + 1) * kCellH;
  layout.right = layout.left + cells * kCellW + 10;
  layout.bottom = (list.Row + n + 1) * kCellH + 2;
}

void NewFieldChoiceList(TFieldChoiceList*& list) {
  delete list;
  list = new TFieldChoiceList{};
}

void SetFieldChoiceOption(TFieldChoiceList& list, int option, const std::string& text) {
  if (option < 1 || option > kChoiceOptions) return;
  list.Options[option - 1] = text.substr(0, kChoiceOptionMax);
}

std::string FieldChoiceOption(const TFieldChoiceList& list, int option) {
  if (option < 1 || option > kChoiceOptions) return "";
  return list.Options[option - 1];
}

int CountChoiceOptions(const TFieldChoiceList& list) {
  int n = 0;
  while (n < kChoiceOptions && !list.Options[n].empty()) ++n;
  return n;
}

void RunFieldChoiceList(TFieldChoiceList& list, bool drop) {
  const int n = CountChoiceOptions(list);
  if (n == 0) return;
  if (drop) {
    RunDropped(list, n);
  } else {
    RunInPlace(list);
  }
}
