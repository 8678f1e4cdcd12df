// TEMPORARY STAND-IN: see view_services_standin.h.
#include "view/view_services_standin.h"

#include "frame/not_yet_available.h"
#include "platform/draw.h"
#include "view/view_transform.h"

void FreePointMarkerTable() {}

bool OpenLayerPanel(int, uint8_t*) {
  ShowNotYetAvailable();
  return false;
}
void RunJobOverview() { ShowNotYetAvailable(); }
void PanViewByDragging(int) { ShowNotYetAvailable(); }
void SelectCurrentLayer(int) { ShowNotYetAvailable(); }
void PickCurrentLayerAtCursor() { ShowNotYetAvailable(); }
void FillCurrentLayerContours() {}
void ClearChosenLayers() { ShowNotYetAvailable(); }
void ShowContourArea() { ShowNotYetAvailable(); }
void RunMillingTraceMenu(const std::string&) { ShowNotYetAvailable(); }

void PreviewToolWidth(const std::string& file, uint8_t, int colour) {
  DrawVectorFile(file, plat::kRopCopy, colour, 0);
}
