// Selection handles; see selection_handles.h.
//
// Sections: reference points and boxes - showing and hiding - store
// rewrites - drags and the click dispatch - guide-line snapping.
#include "cad/selection_handles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "cad/snapping.h"
#include "commands/input_wait.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/extents.h"
#include "view/screen_scheme.h"
#include "view/view_transform.h"

THandleSet SelectionHandles{};
TExtentsPair SelectionHandleExtent{};

namespace {

constexpr uint16_t kRubberDash = 0x3333;
constexpr int kChangedColour = 12;

// Pixel of a world point; outside the visible range the pixel (-10, -10).
void AnchorPixel(float x, float y, int& sx, int& sy) {
  if (x < WorldXMin || x > WorldXMax || y < WorldYMin || y > WorldYMax) {
    sx = -10;
    sy = -10;
    return;
  }
  int32_t lx, ly;
  WorldToScreenLong(x, y, lx, ly);
  sx = int(lx);
  sy = int(ly);
}

void SetBox(TBox& b, int x1, int y1, int x2, int y2) {
  b.flag = 1;
  b.x1 = int16_t(x1);
  b.y1 = int16_t(y1);
  b.x2 = int16_t(x2);
  b.y2 = int16_t(y2);
}

void FreeAll(THandleSet& handles) {
  for (TBox& b : handles.boxes) b.flag = 0;
}

// A box filled by rows of lines, so the xor mode applies (a second fill
// erases); a line leaves out its end pixel.
void FillScreenBoxByRows(const TBox& b) {
  for (int y = b.y1; y <= b.y2; ++y) DrawScreenLine(b.x1, y, b.x2 + 1, y);
}

void FillOuterBoxes(const THandleSet& handles) {
  SetDrawColorAndMode(kXorMode, BandColor);
  for (int n = 1; n <= 9; ++n) {
    const TBox& b = handles.boxes[n - 1];
    if (n == 5 || b.flag == 0) continue;
    FillScreenBoxByRows(b);
  }
  SetDrawColorAndMode(kCopyMode, kChangedColour);
}

void DrawRubberBox(const TBox& b) {
  SetDrawColorAndMode(kXorMode, BandColor);
  SetPenStyle(4, kRubberDash, 1);
  DrawFrameRect(b.x1, b.y1, b.x2, b.y2);
  SetPenStyle(0, 0xFFFF, 1);
  SetDrawColorAndMode(kCopyMode, kChangedColour);
}

bool StoreHasRecords() { return StoreHoldsData != 0 && CountVectorRecordsQuiet(kVectorStoreName) > 0; }

bool LeftHeld() { return (MouseKeyFlags & 1) != 0 && !CloseRequested; }

}  // namespace

// --- reference points and boxes --------------------------------------------------------------

void GetReferencePoint(const TExtentsPair& e, int n, float& x, float& y) {
  if (n < 1 || n > 9) return;
  const int column = (n - 1) % 3, row = (n - 1) / 3;
  x = column == 0 ? e.minCorner.x : column == 1 ? (e.minCorner.x + e.maxCorner.x) / 2 : e.maxCorner.x;
  y = row == 0 ? e.maxCorner.y : row == 1 ? (e.minCorner.y + e.maxCorner.y) / 2 : e.minCorner.y;
}

void ExtentToScreenBox(const TExtentsPair& e, TBox& box) {
  const int cx1 = DrawingArea.x1, cy1 = DrawingArea.y1, cx2 = DrawingArea.x2, cy2 = DrawingArea.y2;
  int32_t sx, sy;
  // First corner (minimum world x, maximum world y: the top left on screen).
  int x1, y1, x2, y2;
  const float left = e.minCorner.x, top = e.maxCorner.y, right = e.maxCorner.x, bottom = e.minCorner.y;
  WorldToScreenLong(left < WorldXMin ? WorldXMin : left, top > WorldYMax ? WorldYMax : top, sx, sy);
  x1 = left < WorldXMin ? cx1 - 1 : int(sx);
  y1 = top > WorldYMax ? cy1 - 1 : int(sy);
  WorldToScreenLong(right > WorldXMax ? WorldXMax : right, bottom < WorldYMin ? WorldYMin : bottom, sx, sy);
  x2 = right > WorldXMax ? cx2 : int(sx);
  y2 = bottom < WorldYMin ? cy2 : int(sy);
  SetBox(box, x1, y1, x2, y2);
}

void ComputeHandleBoxes(const TExtentsPair& e, THandleSet& handles) {
  for (int n = 1; n <= 9; ++n) {
    float x = 0, y = 0;
    GetReferencePoint(e, n, x, y);
    int sx, sy;
    AnchorPixel(x, y, sx, sy);
    const int column = (n - 1) % 3, row = (n - 1) / 3;
    const int x1 = column == 0 ? sx - 7 : column == 1 ? sx - 3 : sx + 1;
    const int y1 = row == 0 ? sy - 7 : row == 1 ? sy - 3 : sy + 1;
    SetBox(handles.boxes[n - 1], x1, y1, x1 + 6, y1 + 6);
  }
  ExtentToScreenBox(e, handles.boxes[kHandleExtentBox - 1]);
}

// --- showing and hiding ------------------------------------------------------------------

void ToggleSelectionHandles(const TExtentsPair& extent, THandleSet& handles) {
  ComputeHandleBoxes(extent, handles);
  if (HandlesSwitch != 0) FillOuterBoxes(handles);
}

void ShowSelectionHandles(THandleSet& handles, TExtentsPair& extent) {
  if (!StoreHasRecords()) {
    FreeAll(handles);
    return;
  }
  GetVectorFileExtentOwnBuffer(kVectorStoreName, true, extent);
  ToggleSelectionHandles(extent, handles);
  SelectionHandlesRebuild = 0;
}

void HideSelectionHandles(THandleSet& handles, const TExtentsPair& extent) {
  if (handles.boxes[kHandleExtentBox - 1].flag == 0) return;
  ToggleSelectionHandles(extent, handles);
  FreeAll(handles);
}

void ForgetSelectionHandles() {
  THandleSet& h = SelectionHandles;
  if (h.boxes[kHandleExtentBox - 1].flag != 0 && HandlesSwitch != 0) FillOuterBoxes(h);
  FreeAll(h);
}

void RedrawSelectionHandles() {
  FreeAll(SelectionHandles);
  ShowSelectionHandles(SelectionHandles, SelectionHandleExtent);
}

// Showing twice would erase the xor picture: handles still shown are taken
// off first, so every call leaves exactly one picture for the current store.
void ShowSelectionHandles() {
  HideSelectionHandles(SelectionHandles, SelectionHandleExtent);
  ShowSelectionHandles(SelectionHandles, SelectionHandleExtent);
}

void HideSelectionHandles() { HideSelectionHandles(SelectionHandles, SelectionHandleExtent); }

bool HandleSelectionHandleClick() { return HandleSelectionHandleClick(SelectionHandles, SelectionHandleExtent, true); }

// --- store rewrites ----------------------------------------------------------------------------

void RewriteStoreRecords(bool paintOver, const std::function<void(TVectorRecord&)>& change) {
  if (CountVectorRecordsQuiet(kVectorStoreName) <= 0) return;
  TVectorArray a;
  LoadVectorFileToBuffer(kVectorStoreName, a);
  if (a.count <= 0) return;
  if (paintOver) DrawVectorFile(kVectorStoreName, kCopyMode, PaperColor, kDrawIgnoreColours);
  const int32_t first =
      (a.count >= 2 && a.records[0].type == kRecMinCorner && a.records[1].type == kRecMaxCorner) ? 2 : 0;
  SetDrawColorAndMode(kCopyMode, kChangedColour);
  for (int32_t i = first; i < a.count; ++i) {
    change(a.records[i]);
    DrawVectorRecord(a.records[i]);
  }
  FlushDashedContour();
  WriteVectorBufferToFile(kVectorStoreName, a);
  FreeVectorBuffer(a);
  InvalidateSnapPointCache();
}


void ShiftStoreRecords(bool paintOver, double dx, double dy) {
  if (dx == 0 && dy == 0) return;
  RewriteStoreRecords(paintOver, [=](TVectorRecord& r) { MapRecordAxes(r, 1.0, dx, 1.0, dy); });
}

void ScaleStoreRecords(bool paintOver, double ax, double ay, double fx, double fy) {
  RewriteStoreRecords(paintOver, [=](TVectorRecord& r) { MapRecordAxes(r, fx, ax - fx * ax, fy, ay - fy * ay); });
}

// --- drags and clicks ----------------------------------------------------------------------

int HitSelectionHandle(const THandleSet& handles, int x, int y) {
  for (int n = 1; n <= kHandleBoxCount; ++n) {
    const TBox& b = handles.boxes[n - 1];
    if (b.flag != 0 && x >= b.x1 && x <= b.x2 && y >= b.y1 && y <= b.y2) return n;
  }
  return 0;
}

void ComputeHandleScaleFactors(const TExtentsPair& e, float cursorX, float cursorY, bool rightMoves, bool xActive,
                               bool yActive, bool topMoves, double& fx, double& fy) {
  fx = 1.0;
  fy = 1.0;
  const double w = double(e.maxCorner.x) - e.minCorner.x, h = double(e.maxCorner.y) - e.minCorner.y;
  // A side of no length cannot be scaled: its factor stays 1.
  if (xActive && std::fabs(w) >= kHandleThinExtent)
    fx = rightMoves ? (cursorX - e.minCorner.x) / w : (e.maxCorner.x - cursorX) / w;
  if (yActive && std::fabs(h) >= kHandleThinExtent)
    fy = topMoves ? (cursorY - e.minCorner.y) / h : (e.maxCorner.y - cursorY) / h;
  if (xActive && yActive) {
    const double f = std::fabs(fx) < std::fabs(fy) ? fx : fy;
    fx = f;
    fy = f;
  }
}

void DragScaleHandle(TExtentsPair& extent, THandleSet& handles, bool rightMoves, bool xActive, bool yActive,
                     bool topMoves) {
  TExtentsPair copy = extent;
  ToggleSelectionHandles(copy, handles);
  TBox rubber = handles.boxes[kHandleExtentBox - 1];
  DrawRubberBox(rubber);
  double fx = 1.0, fy = 1.0;
  TExtentsPair shown = extent;
  ClearKeyBuffer();
  int lastX = -100000, lastY = -100000;
  const float ax = rightMoves ? extent.minCorner.x : extent.maxCorner.x;
  const float ay = topMoves ? extent.minCorner.y : extent.maxCorner.y;
  for (;;) {
    PollGraphicCursor();
    if (!LeftHeld()) break;
    TPointRecord p = CursorPoint;
    p.type = 0;
    SnapPointToGuideLines(p);
    int px = MouseX, py = MouseY;
    float wx = CursorPoint.x, wy = CursorPoint.y;
    if (p.type == kRecLinePoint) {
      int32_t sx, sy;
      WorldToScreenLong(p.x, p.y, sx, sy);
      if (xActive) {
        px = int(sx);
        wx = p.x;
      }
      if (yActive) {
        py = int(sy);
        wy = p.y;
      }
    }
    if (!((xActive && px != lastX) || (yActive && py != lastY))) continue;
    lastX = px;
    lastY = py;
    ComputeHandleScaleFactors(extent, wx, wy, rightMoves, xActive, yActive, topMoves, fx, fy);
    shown = extent;
    if (xActive) (rightMoves ? shown.maxCorner.x : shown.minCorner.x) = float(ax + ((rightMoves ? extent.maxCorner.x : extent.minCorner.x) - ax) * fx);
    if (yActive) (topMoves ? shown.maxCorner.y : shown.minCorner.y) = float(ay + ((topMoves ? extent.maxCorner.y : extent.minCorner.y) - ay) * fy);
    DrawRubberBox(rubber);
    TExtentsPair sorted = shown;
    if (sorted.minCorner.x > sorted.maxCorner.x) std::swap(sorted.minCorner.x, sorted.maxCorner.x);
    if (sorted.minCorner.y > sorted.maxCorner.y) std::swap(sorted.minCorner.y, sorted.maxCorner.y);
    ExtentToScreenBox(sorted, rubber);
    DrawRubberBox(rubber);
  }
  TakeUndoSnapshot(kUndoStore);
  DrawRubberBox(rubber);
  if (fx != 1.0 || fy != 1.0) ScaleStoreRecords(true, ax, ay, fx, fy);
  extent = shown;
  ToggleSelectionHandles(extent, handles);
}

void DragMoveSelection(TExtentsPair& extent, THandleSet& handles, bool undo) {
  const TPointRecord start = CursorPoint;
  ToggleSelectionHandles(extent, handles);
  TBox rubber = handles.boxes[kHandleExtentBox - 1];
  DrawRubberBox(rubber);
  TExtentsPair shown = extent;
  int lastX = MouseX, lastY = MouseY;
  for (;;) {
    PollGraphicCursor();
    if (!LeftHeld()) break;
    if (MouseX == lastX && MouseY == lastY) continue;
    lastX = MouseX;
    lastY = MouseY;
    float dx = CursorPoint.x - start.x, dy = CursorPoint.y - start.y;
    if (MouseKeyFlags & 8) {
      if (std::fabs(dx) > std::fabs(dy)) dy = 0;
      else dx = 0;
    }
    shown = extent;
    shown.minCorner.x += dx;
    shown.maxCorner.x += dx;
    shown.minCorner.y += dy;
    shown.maxCorner.y += dy;
    SnapMovedBoxToGuideLines(shown);
    DrawRubberBox(rubber);
    ExtentToScreenBox(shown, rubber);
    DrawRubberBox(rubber);
  }
  if (undo) TakeUndoSnapshot(kUndoStore);
  DrawRubberBox(rubber);
  const double dx = double(shown.minCorner.x) - extent.minCorner.x, dy = double(shown.minCorner.y) - extent.minCorner.y;
  ShiftStoreRecords(true, dx, dy);
  extent = shown;
  ToggleSelectionHandles(extent, handles);
}

bool HandleSelectionHandleClick(THandleSet& handles, TExtentsPair& extent, bool undo) {
  if ((MouseKeyFlags & 4) != 0 || handles.boxes[kHandleExtentBox - 1].flag == 0 || MouseButtonState != 2) return false;
  int hit = HitSelectionHandle(handles, MouseX, MouseY);
  if (hit == 0) return false;
  if (HandlesSwitch == 0) return true;
  if (std::fabs(extent.maxCorner.x - extent.minCorner.x) < kHandleThinExtent ||
      std::fabs(extent.maxCorner.y - extent.minCorner.y) < kHandleThinExtent)
    hit = kHandleExtentBox;
  if (hit == 5 || hit == kHandleExtentBox) {
    DragMoveSelection(extent, handles, undo);
    return true;
  }
  const int column = (hit - 1) % 3, row = (hit - 1) / 3;
  DragScaleHandle(extent, handles, column == 2, column != 1, row != 1, row == 0);
  return true;
}

// --- guide-line snapping -----------------------------------------------------------------

void SnapMovedBoxToGuideLines(TExtentsPair& e) {
  TGuideLineBlock block;
  ReadGuideLineBlock(block);
  if (block.shown == 0 || block.catching == 0 || ViewScaleX <= 0) return;
  const double r = double(kGuideSnapPixels) / ViewScaleX;
  // Candidates in the order first corner, centre, second corner: a later one
  // wins at equal distance.
  const float xs[3] = {e.minCorner.x, (e.minCorner.x + e.maxCorner.x) / 2, e.maxCorner.x};
  const float ys[3] = {e.minCorner.y, (e.minCorner.y + e.maxCorner.y) / 2, e.maxCorner.y};
  double bestX = r, bestY = r, shiftX = 0, shiftY = 0;
  bool snapX = false, snapY = false;
  for (int i = 0; i < 3; ++i) {
    TPointRecord p{0, xs[i], ys[i]};
    double dx = r, dy = r;
    SnapToGuideLineLists(block, p, dx, dy, r);
    if (dx < r && dx <= bestX) {
      bestX = dx;
      shiftX = double(p.x) - xs[i];
      snapX = true;
    }
    if (dy < r && dy <= bestY) {
      bestY = dy;
      shiftY = double(p.y) - ys[i];
      snapY = true;
    }
  }
  if (snapX) {
    e.minCorner.x = float(e.minCorner.x + shiftX);
    e.maxCorner.x = float(e.maxCorner.x + shiftX);
  }
  if (snapY) {
    e.minCorner.y = float(e.minCorner.y + shiftY);
    e.maxCorner.y = float(e.maxCorner.y + shiftY);
  }
}

// --- the rectangle service ---------------------------------------------------------------------

namespace {

constexpr uint32_t kDragDelayMs = 200;
constexpr int kDragPixels = 6;
constexpr double kSmallestRectangle = 0.001;

void ToggleRubberRectangle(const TPointRecord& a, const TPointRecord& b) {
  EraseMouseCursor();
  int32_t ax, ay, bx, by;
  WorldToScreenLong(a.x, a.y, ax, ay);
  WorldToScreenLong(b.x, b.y, bx, by);
  auto clip = [](int32_t v) { return int(std::clamp<int32_t>(v, -30000, 30000)); };
  SetDrawColorAndMode(kXorMode, BandColor);
  DrawFrameRect(clip(std::min(ax, bx)), clip(std::min(ay, by)), clip(std::max(ax, bx)), clip(std::max(ay, by)));
  SetDrawColorAndMode(kCopyMode, kChangedColour);
}

TPointRecord SnappedCursor() {
  TPointRecord p = CursorPoint;
  p.type = 0;
  SnapPointToGuideLines(p);
  return p;
}

// The rubber rectangle moved to a new second corner.
void MoveSecondCorner(const TPointRecord& first, TPointRecord& second, const TPointRecord& next) {
  if (next.x == second.x && next.y == second.y) return;
  ToggleRubberRectangle(first, second);
  second = next;
  ToggleRubberRectangle(first, second);
}

}  // namespace

void PickRectangle(TExtentsPair& rectangle, bool& success) {
  success = false;
  TPointRecord first{};
  PromptPoint(GetMessageText(6, -39), first);
  if (first.type != kRecLinePoint) return;
  SnapPointToGuideLines(first);
  TPointRecord second = first;
  ToggleRubberRectangle(first, second);
  // A button still held after 200 ms and moved more than 6 pixels makes a
  // drag; a release before makes a click.
  const uint32_t start = GetTickMs();
  const int startX = MouseX, startY = MouseY;
  bool drag = false;
  for (;;) {
    if (CloseRequested) {
      ToggleRubberRectangle(first, second);
      return;
    }
    if (GetMouseButtons() == 0) break;
    if (GetTickMs() - start > kDragDelayMs &&
        (std::abs(MouseX - startX) > kDragPixels || std::abs(MouseY - startY) > kDragPixels)) {
      drag = true;
      break;
    }
    WaitForWindowMessage();
  }
  bool taken = false;
  if (drag) {
    for (;;) {
      PollGraphicCursor();
      MoveSecondCorner(first, second, SnappedCursor());
      if (!LeftHeld()) break;
    }
    taken = !CloseRequested;
  } else {
    ShowInputPrompt(GetMessageText(7, -39));
    std::string text;
    for (;;) {
      EditPromptLine(text);
      if (CloseRequested && ButtonResult == 0) ButtonResult = 4;
      if (ButtonResult != 0) break;
      MoveSecondCorner(first, second, SnappedCursor());
    }
    taken = ButtonResult == 2;
    if (taken) {
      TCoordinateList list;
      int count = 0;
      if (!text.empty()) ParseCoordinateList(text, list, 2, count);
      // The click itself moved the cursor: its point is the corner.
      TPointRecord typed = SnappedCursor();
      if (count == 2) {
        typed.x = CoordinateListValue(list, 1);
        typed.y = CoordinateListValue(list, 2);
      }
      MoveSecondCorner(first, second, typed);
    }
    PromptActive = 0;
    DrawPanelBackground();
    WaitForMouseRelease();
  }
  ToggleRubberRectangle(first, second);
  const float ax = first.x, ay = first.y, bx = second.x, by = second.y;  // packed fields bind to no reference
  rectangle.minCorner = TPointRecord{kRecMinCorner, std::min(ax, bx), std::min(ay, by)};
  rectangle.maxCorner = TPointRecord{kRecMaxCorner, std::max(ax, bx), std::max(ay, by)};
  if (!taken || double(rectangle.maxCorner.x) - rectangle.minCorner.x < kSmallestRectangle ||
      double(rectangle.maxCorner.y) - rectangle.minCorner.y < kSmallestRectangle)
    return;
  success = true;
  ToggleRubberRectangle(first, second);
}
