// Offset chain points as a point file, and the start of a closed contour
// moved to its topmost point.
//
// The converters between whole vector files and point files are
// ConvertPointFileToVectorFile and ConvertVectorFileToPointFile
// (model/vector_records.h).
#pragma once

#include <string>

// Copies the offset engine's chain points ("VekAR6.TMP") into the point file
// "VekH2R0.H2R" (type, x and y as floats) and returns the extents of the
// points of types 10 and 12 (type-11 records are copied, not measured; the
// extents start at 10000, 10000, -10000, -10000). A missing chain file
// gives an empty point file.
void ConvertOffsetPointsWithBounds(float& minX, float& minY, float& maxX, float& maxY);

// Rewrites a vector file holding one closed contour (its last record repeats
// its first) so that it starts at its topmost record (the larger x among
// equal y); the new start is a type-11 record. A file already starting
// there, or whose last record does not repeat its first, stays as it is.
void RotateContourStartToTop(const std::string& name);
