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
// The raster settings of parameter block 8 (width at 0, height at 4, dots
// per inch at 8) become ScanRasterWidth, ScanRasterHeight and
// ScanRasterResolution.
void LoadScanSettings();
extern int32_t ScanRasterResolution;  // dots per inch of the raster work file
// 25.4 / resolution rounded to a multiple of 1/16384 mm; 0 without a resolution.
float GetScanPixelSize();
// "Scan0.TMP" holds more than 3 bytes and the raster is wider and taller than 4.
bool HasScanRaster();
// The raster's world extent, (0, 0) to (width, height) x pixel size, both
// corners of type 10; the empty extent (100000, -100000) without a raster.
struct TExtentsPair;
void RasterExtentRecord(TExtentsPair& extent);
// The raster work file under the drawing at the view's scale: set pixels in
// palette entry 18, clear ones in 25. Rows missing from a short file and a
// raster without a sound size show nothing.
void DrawScanRasterInView();
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

// Removes from the vector file every contour that repeats an earlier one:
// the same box (corners rounded to 0.01), the same record count and equal x
// and y record by record. The file is saved to "VekAR1.BAK" first; when the
// rewrite fails the file is put back from it. The number removed is shown
// (message 278); returns it.
int32_t RemoveDuplicateContours(const std::string& fileName);

// The file drawn with the tool's width: until the tool-width preview is built,
// the path itself in the colour (mode is the preview's mode byte).
void PreviewToolWidth(const std::string& file, uint8_t mode, int colour);
