// The interactive zoom commands: by window, the zoom popup and the zoom bar.
#include "ui/zoom_commands.h"

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "model/vector_store.h"
#include "ui/graphic_controls.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/extents.h"
#include "view/redraw.h"
#include "view/view_transform.h"

void ZoomWindowCurrentView(uint8_t viewKind) {
  if (ViewSetFlag != 1) RedrawWithExtent(LayoutArea, viewKind);
  ApplyBackgroundKind(viewKind);
  ZoomToWindow("", viewKind);
}

void ZoomToWindow(const std::string& file, uint8_t viewKind) {
  EnsureViewSet(file, viewKind);
  TPointRecord corners[2] = {};
  uint8_t taken = 0;
  PromptRectangle(corners, taken);
  if (taken == 1) RedrawFileInView(file, MakeExtent(corners[0].x, corners[0].y, corners[1].x, corners[1].y), viewKind);
  else ClearDrawingArea();
}

void ShowZoomPopup(const std::string& file, uint8_t viewKind, int storeChoice) {
  EnsureViewSet(file, viewKind);
  TPopupList list;
  InitPopupList(list);
  // Below the zoom buttons of the view bar; at the mouse when the bar hides them.
  const TButtonRect& anchor = ViewBarButtons[3];
  list.x = anchor.flag != 0 ? anchor.x1 : MouseX;
  list.y = 52;
  list.captions[0] = GetMessageText(2302, -39);
  list.captions[1] = GetMessageText(2303, -39);
  list.states[1] = (StoreHoldsData != 0 && viewKind != 255) ? 20 : 19;
  static const char* const kLevels[7] = {"10%", "25%", "50%", "75%", "100%", "250%", "500%"};
  for (int i = 0; i < 7; ++i) list.captions[2 + i] = kLevels[i];
  ShowPopupMenu(list);
  if (list.result == 1) {
    ApplyBackgroundKind(viewKind);
    ZoomToAll(file, viewKind);
  } else if (list.result == 2) {
    if (storeChoice == 255) return;
    ApplyBackgroundKind(viewKind);
    TExtentsPair extent;
    ResetPointExtents(extent);
    if (StoreHoldsData != 0 && CountFileRecords(kVectorStoreName) > 0)
      GetVectorFileExtentOwnBuffer(kVectorStoreName, true, extent);
    if (ExtentHasArea(extent)) RedrawFileInView(file, extent, viewKind);
  } else if (list.result >= 3 && list.result <= 9) {
    ZoomToLayoutLevel(file, viewKind, list.result);
  }
}

void ApplyZoomBarChoice(const std::string& file, uint8_t viewKind, int choice) {
  EnsureViewSet(file, viewKind);
  switch (choice) {
    case 5: RedrawFileView(file, viewKind); return;
    case 10: ZoomToWindow(file, viewKind); return;
    case 11: ZoomOutAroundCentre(file, viewKind); return;
    case 12: ZoomToAll(file, viewKind); return;
    case 13: RedrawFileInView(file, LayoutArea, viewKind); return;
    default: break;
  }
  // Pan directions of the choices 1-4 and 6-9 (x, y): -1, 0 or +1.
  static const int kPanX[10] = {0, -1, 0, 1, -1, 0, 1, -1, 0, 1};
  static const int kPanY[10] = {0, 1, 1, 1, 0, 0, 0, -1, -1, -1};
  if (choice < 1 || choice > 9) return;
  double x1 = WorldXMin, y1 = WorldYMin, x2 = WorldXMax, y2 = WorldYMax;
  const double sx = 0.7 * (x2 - x1), sy = 0.7 * (y2 - y1);
  bool moved = false;
  if (kPanX[choice] > 0 && !(x2 > LayoutArea.maxCorner.x)) x1 += sx, x2 += sx, moved = true;
  if (kPanX[choice] < 0 && !(x1 < LayoutArea.minCorner.x)) x1 -= sx, x2 -= sx, moved = true;
  if (kPanY[choice] > 0 && !(y2 > LayoutArea.maxCorner.y)) y1 += sy, y2 += sy, moved = true;
  if (kPanY[choice] < 0 && !(y1 < LayoutArea.minCorner.y)) y1 -= sy, y2 -= sy, moved = true;
  if (moved) RedrawFileInView(file, MakeExtent(x1, y1, x2, y2), viewKind);
}
