// Offset tolerances and contour point reduction (see offset_tolerances.h).
#include "paths/offset_tolerances.h"

#include "paths/contour_chaining.h"

float ComputeBasicTolerance(float t) {
  float r = float(1.05 * double(t));
  if (0.03f > r) r = 0.03f;
  if (double(t) + 0.01 > double(r)) r = float(double(t) + 0.01);
  return r;
}

float ComputeOffsetTolerance(const TExtentsPair& extents, float t) {
  float r = float(1.05 * double(t));
  if (0.03f > r) r = 0.03f;
  const double width = 0.0005 * (double(extents.maxCorner.x) - double(extents.minCorner.x));
  if (double(r) < width) r = float(width);
  const double height = 0.0005 * (double(extents.maxCorner.y) - double(extents.minCorner.y));
  if (double(r) < height) r = float(height);
  if (double(t) + 0.01 > double(r)) r = float(double(t) + 0.01);
  return r;
}

void ReduceContourPoints(const std::string& source, const std::string& target, int16_t colour, float tolerance,
                         float mode, float stepFactor, float spare) {
  ThinContourPointsInFile(source, target, colour, tolerance, mode, stepFactor, spare);
}
