// The path information window: a popup at the right edge of the drawing
// area that summarises the selection in "VekAR1.TMP": the kind of object for
// a single contour, otherwise its closed and open contours, then the record
// count, width, height, centre, minimum corner and total path length.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

struct TPathInfo {
  int32_t records = 0;        // 0 also when the file holds no point at all
  int32_t closedContours = 0;
  int32_t openContours = 0;
  float minX = 0, minY = 0, maxX = 0, maxY = 0;  // as widened; empty extents when no point was met
  float length = 0;           // XY path length over points of types 10 and 12
  bool is3D = false;          // a type-12 record was met
  bool hasFirstPoint = false;
  TVectorRecord firstPoint{};  // first point after the last contour start
  float width = 0, height = 0, centreX = 0, centreY = 0;
};

// Scans a vector file (the store by default); a file that cannot be opened
// gives an empty result.
void ScanPathInfo(TPathInfo& info, const std::string& file = "VekAR1.TMP");
// The message number that names the object kind by the z of the first
// point (the construction mark); 0 for no caption.
int16_t PathObjectKindMessage(const TPathInfo& info);
// The caption and value lines the window shows, in order (value empty for
// the object kind line).
struct TPathInfoLine {
  std::string caption;
  std::string value;
};
int BuildPathInfoLines(const TPathInfo& info, TPathInfoLine (&lines)[12]);
// Scans the store and shows the popup until a key or a click.
void ShowPathInfoWindow();
