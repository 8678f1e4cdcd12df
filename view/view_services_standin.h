// TEMPORARY STAND-IN for the screen view services the program frame calls,
// to be replaced when the view subsystem is built. The work-file parts
// (missing layer files, record checks, clearing the work files) do their
// real job.
#pragma once

#include <cstdint>
#include <string>

// Work files cleared by ClearWorkFiles, by flag.
enum TWorkFileFlag : uint16_t {
  kClearPathList = 0x01, kClearDrawing = 0x2E, kClearTexts = 0x10, kClearGuideLines = 0x40,
  kClearFrame = 0x80, kClearToolLayers = 0x100, kClearPathLayers = 0x200, kClearLaserProject = 0x400,
  kClearRelief = 0x800, kClearRaster = 0x1000, kClearTools = 0x2000,
};

// Creates the layer files "Layer" + n + ".TMP" for n = 0 to the highest layer that are missing.
void CreateMissingLayerFiles();
// Counts repaired values over all layer files (none until the record checks exist).
int32_t RepairLayerFiles();
void LoadScanSettings();
void FreePointMarkerTable();
// Empties the work files chosen by the flags.
void ClearWorkFiles(uint16_t flags);

// --- commands of the main dispatcher that belong to the view. Until they are
// built each returns at once and changes nothing (a panel reports no change).
bool OpenLayerPanel(int mode, uint8_t* layerVisibility);
void RunJobOverview();
void PanViewByDragging(int mode);
void SelectCurrentLayer(int mode);
void PickCurrentLayerAtCursor();
void FillCurrentLayerContours();
void ClearChosenLayers();
void ShowContourArea();
void RunMillingTraceMenu(const std::string& layerFile);
// Deletes the selection: an undo snapshot of the current layer and the
// store, then the store is emptied.
void DeleteSelection();

// Colour of rubber bands, previews and markers drawn in xor, and the points
// of a curve preview (settings of the screen scheme, fixed until it exists).
extern int16_t BandColor;
extern uint8_t CurvePointCount;
