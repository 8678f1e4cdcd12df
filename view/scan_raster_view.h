// The raster work file "Scan0.TMP" under the drawing: its settings, its
// world extent and its picture in the view. The file holds the rows of the
// raster from the top, one bit per pixel (set = ink), each row padded to
// whole bytes.
#pragma once

#include <cstdint>

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
