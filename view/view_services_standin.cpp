// TEMPORARY STAND-IN: see view_services_standin.h.
#include "view/view_services_standin.h"

#include <string>

#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/layer_files.h"

namespace {
void EmptyLayerFiles(std::string (*nameOf)(int32_t), int last) {
  for (int n = 0; n <= last; ++n) {
    std::string name = nameOf(n);
    if (TestPlainFileExists(name)) CreateEmptyFile(name);
  }
}
}  // namespace

void CreateMissingLayerFiles() {
  for (int n = 0; n <= HighestLayer; ++n) {
    std::string name = BuildLayerFileName(n);
    if (!TestPlainFileExists(name)) CreateEmptyFile(name);
  }
}

int32_t RepairLayerFiles() { return 0; }

void LoadScanSettings() {}

void FreePointMarkerTable() {}

void ClearWorkFiles(uint16_t flags) {
  if (flags & kClearDrawing) {
    EmptyLayerFiles(BuildLayerFileName, HighestLayer);
    CreateEmptyFile("VekAR1.TMP");
    CreateEmptyFile("VekAR2.TMP");
  }
  if (flags & kClearTexts) CreateEmptyFile("HS01.TMP");
  if (flags & kClearFrame) CreateEmptyFile("RAHMEN.TMP");
  if (flags & kClearToolLayers) EmptyLayerFiles(BuildWLayerFileName, 15);
  if (flags & kClearPathLayers) EmptyLayerFiles(BuildPLayerFileName, 15);
  if ((flags & kClearLaserProject) && TestPlainFileExists("LG_LDP.TMP")) CreateEmptyFile("LG_LDP.TMP");
  if (flags & kClearRelief) CreateEmptyFile("RELAR0.TMR");
  if ((flags & kClearRaster) && TestPlainFileExists("Scan0.TMP")) CreateEmptyFile("Scan0.TMP");
}

bool OpenLayerPanel(int, uint8_t*) { return false; }
void RunJobOverview() {}
void PanViewByDragging(int) {}
void SelectCurrentLayer(int) {}
void PickCurrentLayerAtCursor() {}
void FillCurrentLayerContours() {}
void ClearChosenLayers() {}
void ShowContourArea() {}
void RunMillingTraceMenu(const std::string&) {}

#include "model/undo.h"
#include "model/vector_store.h"

void DeleteSelection() {
  TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
  ClearVectorStore();
}

int16_t BandColor = 12;
uint8_t CurvePointCount = 40;
