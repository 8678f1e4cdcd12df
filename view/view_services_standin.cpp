// TEMPORARY STAND-IN: see view_services_standin.h.
#include "view/view_services_standin.h"

#include "platform/draw.h"
#include "view/view_transform.h"

void FreePointMarkerTable() {}

bool OpenLayerPanel(int, uint8_t*) { return false; }
void RunJobOverview() {}
void PanViewByDragging(int) {}
void SelectCurrentLayer(int) {}
void PickCurrentLayerAtCursor() {}
void FillCurrentLayerContours() {}
void ClearChosenLayers() {}
void ShowContourArea() {}
void RunMillingTraceMenu(const std::string&) {}

void PreviewToolWidth(const std::string& file, uint8_t, int colour) {
  DrawVectorFile(file, plat::kRopCopy, colour, 0);
}
