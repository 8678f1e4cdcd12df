// Aligning the selection to a reference contour; see align_to_contour.h.
#include "cad/align_to_contour.h"

#include <string>

#include "ui/graphic_controls.h"
#include "model/record_files.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/extents.h"
#include "view/view_transform.h"

namespace {

constexpr int16_t kMessagePickObject = 1168;
constexpr int16_t kMessageAlignTitle = 1304;
constexpr int kPickAnyLayerBySegment = 129;  // by segment, the layer of the hit becomes current
constexpr int kChangedColour = 12;
constexpr int kCentreMarker = 2;

void ExtentMiddle(const std::string& name, double& x, double& y) {
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer(name, true, e);
  x = (double(e.minCorner.x) + e.maxCorner.x) / 2;
  y = (double(e.minCorner.y) + e.maxCorner.y) / 2;
}

void ToggleCentreMark(double x, double y) {
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, kChangedColour);
  DrawSquareMark(kCentreMarker, float(x), float(y));
  SetRopCopy();
}

}  // namespace

void FillAlignAxesList(TPopupList& list) {
  InitPopupList(list);
  list.title = GetMessageText(kMessageAlignTitle, -39);
  const char* captions[3] = {"X + Y", "X", "Y"};
  const char* pictures[3] = {"TeModMiZe", "TeModZe", "TeModMi"};
  for (int k = 0; k < 3; ++k) {
    list.captions[k] = captions[k];
    list.names[k] = pictures[k];
  }
  list.result = 1;
}

int AskAlignAxes() {
  TPopupList list;
  FillAlignAxesList(list);
  ShowPopupMenu(list);
  return list.result >= 1 && list.result <= 3 ? list.result : 0;
}

void KeepAlignOffsets(int choice, double& dx, double& dy) {
  switch (choice) {
    case 1: break;
    case 2: dy = 0; break;
    case 3: dx = 0; break;
    default: dx = dy = 0; break;
  }
}

void AlignSelectionToContour() {
  if (StoreHoldsData == 0 || CountVectorRecordsQuiet(kVectorStoreName) <= 0) return;
  TPointRecord point{};
  PromptPoint(GetMessageText(kMessagePickObject, -39), point);
  if (point.type != kRecLinePoint || ButtonResult != 2) return;
  const bool anyLayer = (MouseKeyFlags & 8) != 0;  // Ctrl
  WaitForMouseRelease();  // the click is used up before the axes popup
  TakeUndoSnapshot(kUndoStore);
  // The selection waits in the scratch file while the reference is picked
  // into the empty store.
  CopyOrAppendRecordFile(kVectorStoreName, kAlignScratchName, kCopyNew, 0);
  ClearVectorStore();
  const uint8_t layer = CurrentLayer;
  uint8_t found = 0;
  if (anyLayer) {
    PickContourFromAnyLayerAt(kPickAnyLayerBySegment, point);
    found = StoreHoldsData;
  } else {
    PickContourIntoStore(GetCurrentLayerFileName(), point, kPickBySegment, found);
  }
  if (found != 0 && CountVectorRecordsQuiet(kVectorStoreName) > 0) {
    double rx = 0, ry = 0, sx = 0, sy = 0;
    ExtentMiddle(kVectorStoreName, rx, ry);
    ExtentMiddle(kAlignScratchName, sx, sy);
    ToggleCentreMark(rx, ry);
    double dx = rx - sx, dy = ry - sy;
    KeepAlignOffsets(AskAlignAxes(), dx, dy);
    ToggleCentreMark(rx, ry);
    if (dx != 0 || dy != 0) {
      DrawVectorFile(kAlignScratchName, kCopyMode, PaperColor, kDrawIgnoreColours);
      TransformFileCoordinates(kAlignScratchName, 0, 0, dx, dy, kTransformShift);
    }
  }
  CurrentLayer = layer;
  DrawLayerButton(CurrentLayer, 0);
  CopyOrAppendRecordFile(kAlignScratchName, kVectorStoreName, kCopyNew | kCopyDraw, kChangedColour);
  StoreHoldsData = 1;
}
