// Offset tolerances and contour point reduction.
//
// Before a contour file goes into the offset engine its points are thinned
// (ReduceContourPoints) and the engine's computing distance is chosen a little
// larger than the wanted distance (ComputeBasicTolerance,
// ComputeOffsetTolerance), so that the result writer can place the path
// exactly at the wanted distance and the loop removal never meets segments
// that touch exactly.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// max(1.05 t, 0.03, t + 0.01), with 1.05 t rounded to float first.
float ComputeBasicTolerance(float t);
// max(1.05 t, 0.03, 0.0005 width, 0.0005 height, t + 0.01) of the extents
// pair (lower-left corner first).
float ComputeOffsetTolerance(const TExtentsPair& extents, float t);

// Copies source to target with every contour thinned to tolerance (at least
// 0.0001, in step units). mode -6 copies byte for byte; otherwise only
// contours (type 11 and its type-10 records) are written, each thinned and
// closed, contours of fewer than 4 records dropped. The step is the larger
// extent of the source / 50, 100, 200, 500 for modes -1..-4, 1 otherwise,
// times stepFactor when that is above 1 (not for mode -5, whose step is 1).
// colour > 0 draws the kept points. Nothing happens when the source is
// missing. spare is not used.
void ReduceContourPoints(const std::string& source, const std::string& target, int16_t colour, float tolerance,
                         float mode, float stepFactor, float spare);
