// Reference for the contour offset engine: the same reduced, nesting-
// oriented contours offset by Clipper (round joins, arc tolerance matched to
// the engine's rounding angle, coordinates scaled to integers), and the
// measures by which two offsets are compared: contour and hole counts, the
// area of their symmetric difference relative to the area, the densified
// Hausdorff distance, and the least distance of the result from the input.
//
// Also the generated inputs shared by the tests and the benchmark: (a) a
// square with a hole, (b) letter-like contours, (c) a traced picture, (d) a
// layout of 600 mm. Nothing is copied from anywhere; every input comes from a
// seeded generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace offsetref {

struct TPt {
  double x = 0, y = 0;
};
// A closed contour; the last point does not repeat the first.
using TContour = std::vector<TPt>;
using TShape = std::vector<TContour>;

double SignedArea(const TContour& contour);
size_t PointCount(const TShape& shape);
// Outer contours counter-clockwise, holes clockwise, by nesting depth.
void OrientByNesting(TShape& shape);

// --- generated inputs -----------------------------------------------------------------
// (a) a 100 mm square with a round hole, about points points in all.
TShape MakeSquareWithHole(int points);
// (b) letter-like glyphs: about contours contours with points points.
TShape MakeLetterContours(int contours, int points, uint32_t seed);
// (c) blobs with holes like a traced picture: contours contours (even) with
// about points points.
TShape MakeTracedPicture(int contours, int points, uint32_t seed);
// (d) shapes spread over a 600 mm layout.
TShape MakeLayoutShapes(uint32_t seed);
// Small shapes of the edge cases.
TShape MakeSquare(double x, double y, double size);
// Two squares joined by a neck of the given width (a U slot's floor).
TShape MakeDumbbell(double neckWidth);

// --- files --------------------------------------------------------------------------------
// Each contour as a type-11 record, type-10 records and the first point again.
void WriteShapeFile(const std::string& name, const TShape& shape);
// Contours of a vector file (type 11 starts, type 10 follows); a last point
// repeating the first is dropped. Pieces of fewer than 3 points are dropped.
TShape ReadShapeFile(const std::string& name);

// --- the reference ------------------------------------------------------------------------
// Clipper's offset of shape by delta (positive grows the filled area), round
// joins with the chord error of an arc step of roundingAngle.
TShape ClipperOffsetShape(const TShape& shape, double delta, double roundingAngle);
// Chord error of an arc of radius d with the angular step.
double ArcChordError(double d, double roundingAngle);

// --- comparison ---------------------------------------------------------------------------
struct TOffsetComparison {
  int contoursOurs = 0, holesOurs = 0;
  int contoursReference = 0, holesReference = 0;
  double areaOurs = 0, areaReference = 0;
  double xorArea = 0;          // area of the symmetric difference
  double relativeXor = 0;      // xorArea / areaReference
  double hausdorff = 0;        // densified, both ways
  double leastInputDistance = 0;  // least distance of our points from the input
};
// spacing: densification step of the Hausdorff distance and of the input
// distance check.
TOffsetComparison CompareOffsets(const TShape& ours, const TShape& reference, const TShape& input, double spacing);
std::string DescribeComparison(const TOffsetComparison& c);

// --- the engine chain -------------------------------------------------------------------------
struct TEngineRun {
  TShape reduced;  // the contours after point reduction (the common input)
  TShape result;   // the joined offset path
  int32_t errorCode = 0;
};
// Writes shape, reduces its points into "VekAR9.TMP", offsets at the
// computing distance of b (side 1 grows the filled area of nesting-oriented
// contours, side 0 shrinks it), writes the joined path at b and reads it.
void RunEngineOffset(const TShape& shape, double b, uint8_t side, double roundingAngle, TEngineRun& run);
// Only the point reduction of RunEngineOffset (the input both sides offset).
TShape ReduceShape(const TShape& shape, double b);

}  // namespace offsetref
