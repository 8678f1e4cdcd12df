#include "cad/dash_pattern_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/buttons_controls.h"
#include "model/geometry_tolerances.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/quiet_files.h"
#include "frame/window_draw.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/cell_fields.h"
#include "ui/common_dialogs.h"
#include "ui/panels.h"
#include "view/character_cells.h"

namespace {

constexpr int kChooserWidth = 416;
constexpr int kChooserHeight = 176;
constexpr plat::TColorRef kChosenRowColor = plat::Rgb(255, 255, 176);
constexpr int kEditFirstRow = 4;      // lengths 1-6; 7-12 in the row below
constexpr int kEditColumnStep = 8;    // columns 1, 9, 17 ..
constexpr float kLengthLimit = 999.999f;

int ChooserRowTop(int k) { return 40 + 24 * k; }  // k 0..3

// A pattern read from the parameter file is taken only as far as it can be used.
int UsedCount(const TDashPattern& p) { return std::clamp<int>(p.count, 0, kMaxDashElements); }

void DrawChooserRows(const TPopupFrame& f, const TDashPatternSet& set) {
  for (int k = 0; k < 4; ++k)
    DrawDashPatternSample(f.left + 8, f.top + ChooserRowTop(k), f.right - 8, f.top + ChooserRowTop(k) + 16,
                          set.patterns[k], set.chosen == k + 1);
}

TBox ButtonBox(const TPopupFrame& f, int x1, int x2) {
  return TBox{1, int16_t(f.left + x1), int16_t(f.top + 136), int16_t(f.left + x2), int16_t(f.top + 167)};
}

void DrawChooserButtons(const TBox (&boxes)[3], int pressed) {
  DrawCaptionButton(GetMessageText(747, -12), boxes[0], 260, pressed == 1, 274);
  DrawIconButton(GetMessageText(192, -12), "OK", boxes[1], pressed == 2, 274, 260);
  DrawIconButton("Abbruch", "Esc", boxes[2], pressed == 3, 274, 260);
}

void DrawEditField(const float (&lengths)[kMaxDashElements], int i) {
  DrawCellButton(1 + kEditColumnStep * (i % 6), kEditFirstRow + i / 6, FormatRealText(8, 3, lengths[i]), false,
                 kFieldRestText, kFieldRestBox);
}

// The field under a click, or -1.
int EditFieldAt(int x, int y) {
  const int row = y / 16 - kEditFirstRow, column = x / 8 - 1;
  if (row < 0 || row > 1 || column < 0 || column >= 6 * kEditColumnStep) return -1;
  return row * 6 + column / kEditColumnStep;
}

}  // namespace

void DrawDashPatternSample(int x1, int y1, int x2, int y2, const TDashPattern& pattern, bool chosen) {
  FillColorRect(x1, y1, x2, y2, chosen ? kChosenRowColor : GetColorRef(260));
  DrawBevelFrame(x1, y1, x2, y2);
  const int count = UsedCount(pattern);
  if (count == 0 || !(pattern.total > 0) || !std::isfinite(pattern.total)) return;
  const int left = x1 + 4, right = x2 - 4, y = (y1 + y2) / 2;
  const double scale = double(right - left) / pattern.total / 8.0;
  SetPenColor(274);
  double x = left;
  MoveToScreenPoint(left, y);
  for (int period = 0; period < 8; ++period) {
    for (int i = 0; i < count; ++i) {
      const float length = pattern.lengths[i];
      if (!std::isfinite(length)) return;
      x += std::fabs(length) * scale;
      const int xi = std::min(int(std::lround(x)), right);
      if (length >= 0) {
        LineToScreenPoint(xi, y);
        DrawGrayPixel(xi, y, 0);
      } else {
        MoveToScreenPoint(xi, y);
      }
    }
  }
}

bool EditDashPattern(TDashPattern& pattern) {
  // The packed record's floats are not aligned: the fields edit a copy.
  float lengths[kMaxDashElements];
  std::memcpy(lengths, pattern.lengths, sizeof lengths);
  for (float& l : lengths)
    if (!std::isfinite(l)) l = 0;
  TPopupFrame frame{};
  TBox cancelBox{}, okBox{};
  OpenPopupWithOkCancel(frame, 0, kChooserWidth / 8, 7, GetMessageText(744, -39), cancelBox, okBox);
  DrawWhiteField(frame.left + 4, 30, frame.right - 4, frame.bottom - 4, 0);
  DrawCellButton(1, 2, GetMessageText(745, -39), false, 274, 261);
  for (int i = 0; i < kMaxDashElements; ++i) DrawEditField(lengths, i);

  int i = 0;
  uint8_t exitCode = 0;
  while (exitCode != 3 && exitCode != 8) {
    if (CloseRequested) {
      exitCode = 3;
      break;
    }
    EditRealFieldThreeDecimals(lengths[i], 1 + kEditColumnStep * (i % 6), kEditFirstRow + i / 6, kLengthLimit,
                               -kLengthLimit, exitCode);
    DrawEditField(lengths, i);
    if (exitCode == 2 && MouseButtonState == 2) {
      // A click ended the edit: the buttons, or another field.
      if (IsPointInButton(okBox, MouseX, MouseY)) {
        exitCode = 8;
      } else if (IsPointInButton(cancelBox, MouseX, MouseY)) {
        exitCode = 3;
      } else {
        const int hit = EditFieldAt(MouseX, MouseY);
        if (hit >= 0) i = hit;
        WaitForMouseRelease();
        exitCode = 0;
      }
      continue;
    }
    switch (exitCode) {
      case 2: i = std::min(i + 1, kMaxDashElements - 1); break;
      case 4: i = std::max(i - 1, 0); break;
      case 5:
      case 6: i = std::min(i + 6, kMaxDashElements - 1); break;
      case 7: i = std::max(i - 6, 0); break;
      default: break;
    }
  }
  ClosePopupFrame(frame);
  WaitForMouseRelease();
  if (exitCode != 8) return false;
  int count = 1;
  for (int k = 0; k < kMaxDashElements; ++k)
    if (lengths[k] != 0) count = k + 1;
  double total = 0;
  for (int k = 0; k < count; ++k) total += std::fabs(lengths[k]);
  std::memcpy(pattern.lengths, lengths, sizeof lengths);
  pattern.count = uint8_t(count);
  pattern.total = float(total);
  return true;
}

bool ChooseDashPattern(TDashPattern& pattern) {
  TDashPatternSet set{};
  GetParamBlock(kDashPatternBlock, &set, sizeof set);
  if (set.chosen < 1 || set.chosen > 4) set.chosen = 1;

  TPopupFrame frame{};
  frame.left = 0;
  frame.right = kChooserWidth;
  frame.top = 0;
  frame.lines = int16_t(LinesForHeight(kChooserHeight));
  frame.bottom = int16_t(frame.top + 16 * frame.lines - 1);
  OpenPopupFrame(frame);
  DrawDialogPanel(frame.left, frame.top, frame.right, 1, GetMessageText(746, -39), frame.bottom);
  const int okLeft = (kChooserWidth - 100) / 2;
  const TBox boxes[3] = {ButtonBox(frame, 8, 108), ButtonBox(frame, okLeft, okLeft + 100),
                         ButtonBox(frame, kChooserWidth - 108, kChooserWidth - 8)};
  DrawChooserRows(frame, set);
  DrawChooserButtons(boxes, 0);

  int result = 0;  // 2 OK, 3 cancelled
  while (result == 0) {
    if (CloseRequested) {
      result = 3;
      break;
    }
    if (PollKeyPressed()) {
      const uint8_t key = ReadNextKey();
      if (key == 13) result = 2;
      else if (key == 27) result = 3;
      continue;
    }
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    if (MouseButtonState == 4) {
      result = 3;
      WaitForMouseRelease();
    } else if (MouseButtonState == 2) {
      int button = 0;
      for (int b = 0; b < 3; ++b)
        if (IsPointInButton(boxes[b], x, y)) button = b + 1;
      for (int k = 0; k < 4; ++k)
        if (x >= frame.left + 8 && x <= frame.right - 8 && y >= frame.top + ChooserRowTop(k) &&
            y <= frame.top + ChooserRowTop(k) + 16) {
          set.chosen = uint8_t(k + 1);
          DrawChooserRows(frame, set);
        }
      if (button != 0) DrawChooserButtons(boxes, button);
      WaitForMouseRelease();
      if (button != 0) DrawChooserButtons(boxes, 0);
      if (button == 1) {
        EditDashPattern(set.patterns[set.chosen - 1]);
        DrawChooserRows(frame, set);
      } else if (button == 2) {
        result = 2;
      } else if (button == 3) {
        result = 3;
      }
    } else {
      WaitForWindowMessage();
    }
  }
  ClosePopupFrame(frame);
  pattern = set.patterns[set.chosen - 1];
  if (result == 2) PutParamBlock(kDashPatternBlock, &set, sizeof set);
  return result == 2;
}

void RunDashLineCommand() {
  if (StoreHoldsData == 0 || CountFileRecords(kVectorStoreName) < 2) {
    ShowTitledMessage(GetMessageText(82, -39));
    return;
  }
  TDashPattern pattern{};
  if (!ChooseDashPattern(pattern)) return;
  TakeUndoSnapshot(kUndoCurrentLayer + kUndoStore);
  const std::string dashed = "VekAR3.TMP";
  DashVectorFile(kVectorStoreName, dashed, pattern, true);
  if (QuietIoError != 0) {
    // The selection stays as it was.
    const int32_t code = QuietIoError;
    QuietIoError = 0;
    DeleteFileIfExists(dashed);
    ShowMessageNumber(10000 + code);
    return;
  }
  RenameFileReplacing(dashed, kVectorStoreName);
}
