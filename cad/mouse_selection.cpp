// The selection of contours with the mouse.
#include "cad/mouse_selection.h"

#include <algorithm>
#include <cstdint>

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/record_checks.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "platform/draw.h"
#include "ui/prompt_line.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {
// Polls until a button is pressed or F1 is typed; false for F1 (handled).
bool WaitForPress() {
  for (;;) {
    PollGraphicCursor();
    if (ExtendedKeyFlag && CursorKeyCode == 59) return false;
    if (MouseButtonState != 0 || ButtonResult != 0) return true;
  }
}

void DrawRubberBand(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  EraseMouseCursor();
  SetDrawColorAndMode(plat::kRopXor, 15);
  DrawFrameRect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  SetRopCopy();
}

bool EnsureSelection(bool ask) {
  if (!StoreHoldsData) {
    if (RecountCurrentLayerRecords() <= 0) {
      ShowMessageNumber(42);
      return false;
    }
    if (!ask || AskStripToolRecords(GetCurrentLayerFileName()) > 1) {
      ShowPromptLine(1, GetMessageText(82, -39), 261, 274);
      BeepSignal(1000);
      WaitForMouseRelease();
      SelectContoursWithMouse(GetCurrentLayerFileName(), 0);
      ClearDrawingArea();
      WaitForMouseRelease();
    }
  }
  return StoreHoldsData && CountFileRecords(kVectorStoreName) > 0;
}
}  // namespace

void SelectContoursWithMouse(const std::string& file, int flags) {
  CreateStoreWhenClear();
  ClearKeyBuffer();
  ButtonResult = 0;
  if (!WaitForPress()) {
    MarkWholeCurrentLayer();
    return;
  }
  if (MouseButtonState != 2 && ButtonResult != 2) return;
  const bool grow = !IsShiftKeyUp();
  const TPointRecord press = CursorPoint;
  int16_t px = 0, py = 0;
  WorldToScreen(press.x, press.y, px, py);
  int16_t ex = px, ey = py;
  DrawRubberBand(px, py, ex, ey);
  DelayMs(20);
  TPointRecord last = press;
  while (MouseButtonState != 0 && !CloseRequested) {
    PollGraphicCursor();
    if (CursorPoint.x != last.x || CursorPoint.y != last.y) {
      DrawRubberBand(px, py, ex, ey);
      last = CursorPoint;
      WorldToScreen(last.x, last.y, ex, ey);
      DrawRubberBand(px, py, ex, ey);
    }
  }
  DrawRubberBand(px, py, ex, ey);  // removed before the records are drawn
  SelectContoursAt(file, flags, press, last, grow);
}

void PickContourFromAnyLayer(int mode) {
  if (MouseButtonState != 2) return;
  PickContourFromAnyLayerAt(mode, CursorPoint);
}

void UnmarkContoursWithMouse() {
  WaitForMouseRelease();
  if (!StoreHoldsData || CountFileRecords(kVectorStoreName) <= 0) {
    ShowMessageNumber(42);
    return;
  }
  RenameFileReplacing(kVectorStoreName, kUnmarkStoreName);
  ClearVectorStore();
  SelectContoursWithMouse(kUnmarkStoreName, 0);
  // What was picked goes back into the layer; the rest is the selection again.
  if (CountFileRecords(kVectorStoreName) > 0)
    AppendFileRecords(kVectorStoreName, GetCurrentLayerFileName(), GetCurrentLayerColour(), false);
  RenameFileReplacing(kUnmarkStoreName, kVectorStoreName);
  StoreHoldsData = CountFileRecords(kVectorStoreName) > 0 ? 1 : 0;
  RecountCurrentLayerRecords();
}

bool EnsureSelectionInStore() { return EnsureSelection(true); }
bool EnsureSelectionInStorePlain() { return EnsureSelection(false); }
