// 2D geometry primitives shared by the whole program: distances and
// coincidence, crossings of lines and segments, perpendicular feet, side
// tests, rotation, angle functions, the direction of a closed contour, the
// sharp-corner and steep-descent tests, the cutting radius of a tool at a
// depth and the tool header file.
//
// Points are vector records (13 bytes) or point records (9 bytes); only x
// and y are read. Angles are radians, counter-clockwise with y up. Apart from
// WriteToolHeaderFile every operation is a pure function of its arguments.
// Several operations carry more than one name; the twins are identical.
#pragma once

#include <cstdint>
#include <string>

#include "frame/defaults.h"
#include "model/vector_records.h"

// --- distances, coincidence, copies -------------------------------------------------
float ComputeRecordDistanceXY(const TVectorRecord& a, const TVectorRecord& b);
float ComputeRecordDistanceXY(const TPointRecord& a, const TPointRecord& b);
inline float MeasurePointGapXY(const TVectorRecord& a, const TVectorRecord& b) { return ComputeRecordDistanceXY(a, b); }
inline float ComputePointDistanceXY(const TVectorRecord& a, const TVectorRecord& b) {
  return ComputeRecordDistanceXY(a, b);
}
inline float MeasureDistanceXY(const TVectorRecord& a, const TVectorRecord& b) { return ComputeRecordDistanceXY(a, b); }
inline float ComputePointDistanceXY(const TPointRecord& a, const TPointRecord& b) {
  return ComputeRecordDistanceXY(a, b);
}

// XY distance below 0.001.
bool TestPointsCoincide(const TVectorRecord& a, const TVectorRecord& b);
bool TestPointsCoincide(const TPointRecord& a, const TPointRecord& b);
inline bool CheckPointsCoincide(const TVectorRecord& a, const TVectorRecord& b) { return TestPointsCoincide(a, b); }
inline bool TestPointsEqualXY(const TVectorRecord& a, const TVectorRecord& b) { return TestPointsCoincide(a, b); }
// |dx| < 0.001 and |dy| < 0.001.
bool TestPointsNearXY(const TVectorRecord& a, const TVectorRecord& b);

// out gets type 10 and the XY midpoint; its z stays.
void MakeMidpointRecord(const TVectorRecord& a, const TVectorRecord& b, TVectorRecord& out);
// Copies type, x, y and sets z to 0.
void MakeVectorRecordFromPoint(const TPointRecord& point, TVectorRecord& out);
// Copies type, x, y (the first 9 bytes).
void CopyPointRecord(const TVectorRecord& source, TVectorRecord& destination);
void CopyPointRecord(const TPointRecord& source, TPointRecord& destination);
// Exchanges two 4-byte values bit for bit.
void SwapFloats(float& a, float& b);
inline void ExchangeFourByteValues(float& a, float& b) { SwapFloats(a, b); }

// --- lines and segments ------------------------------------------------------------
// Outputs by reference are plain variables: a packed record field cannot be
// bound to a float reference.
// True and the crossing when the lines are not parallel and the crossing lies
// on both segments (parameters 0..1 inclusive); false leaves x, y untouched.
bool IntersectSegments(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                       const TVectorRecord& b2, float& x, float& y);
// Crossing of the two infinite lines; parallel lines leave x, y untouched.
void IntersectLines(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                    const TVectorRecord& b2, float& x, float& y);
// Found when the perpendicular foot of (x, y) lies on the segment (0..1
// inclusive); then distanceSquared is the squared distance to the foot.
// Otherwise, and for a zero-length segment, found is false and the distance
// stays.
void ProjectPointOntoSegment(const TVectorRecord& p1, const TVectorRecord& p2, double x, double y, bool& found,
                             double& distanceSquared);
// The nearest point of the segment to (x, y) in (nx, ny); false only for a
// zero-length segment.
bool FindNearestPointOnSegment(const TVectorRecord& p1, const TVectorRecord& p2, double x, double y, double& nx,
                               double& ny);
// Vector of length d along the left normal of (x1, y1)->(x2, y2); (0, 0)
// when the points coincide.
void ComputeNormalOffset(double x1, double y1, double x2, double y2, double d, double& ox, double& oy);
// Cross product c = (x2 - x1)(py - y1) - (y2 - y1)(px - x1): right or on
// the line when c <= 0, left when c > 0.
bool TestPointRightOfLine(double px, double py, double x1, double y1, double x2, double y2);
bool TestPointLeftOfLine(double px, double py, double x1, double y1, double x2, double y2);
// Distance of q from the line p1-p3 along the axis across its main direction.
float MeasureAxisDeviationFromLine(const TVectorRecord& p1, const TVectorRecord& q, const TVectorRecord& p3);
bool TestPointCloserOnBothAxes(const TVectorRecord& p1, const TVectorRecord& q, const TVectorRecord& p3);
// dx/dy, 0 when |dy| < 0.0001.
float ComputeInverseSlope(const TVectorRecord& a, const TVectorRecord& b);

// --- angles and rotation -----------------------------------------------------------
// tan as float; exactly 0 for the angle 0. An angle where the cosine
// vanishes (90 degrees and its kin) has no tangent: ok is false and 0 is
// returned, so no infinity reaches a caller.
float ComputeTangentOrZero(double angle, bool& ok);
float ComputeTangentOrZero(double angle);
inline float ComputeTangentValue(double angle) { return ComputeTangentOrZero(angle); }
// arcsin(s) for -1 <= s <= 1 (pi/2 at 1, -pi/2 at -1). Values beyond +-1
// have no arc sine: ok is false and 0 is returned.
double ComputeArcSineOrHalfPi(double s, bool& ok);
double ComputeArcSineOrHalfPi(double s);
// arcsin as float; s is clamped to -1..1 first (rounding noise just beyond
// the range gives +-pi/2 instead of NaN).
float ComputeArcSine(double s);
// Rotates (x, y) about the pivot's XY by angle.
void RotatePointAroundCentre(float& x, float& y, const TVectorRecord& pivot, double angle);
inline void RotatePointAboutPivot(float& x, float& y, const TVectorRecord& pivot, double angle) {
  RotatePointAroundCentre(x, y, pivot, angle);
}
void RotateVectorAboutOrigin(float& x, float& y, double angle);

// --- corners, direction, descent, tool ------------------------------------------------
// (2 sin((180 - a)/2))^2 for a corner angle a in degrees.
double ComputeCornerThreshold(double degrees);
bool TestSharpCorner(const TVectorRecord& p0, const TVectorRecord& p1, const TVectorRecord& p2, double threshold);
// True when the closed contour (a start and its points) runs counter-clockwise.
bool TestContourCounterClockwise(const TVectorRecord* records, int32_t count);
bool CheckSteepDescent(const TVectorRecord& from, const TVectorRecord& to);
// Cutting radius at the plunge depth; a negative depth is stored back as 0
// and the shank-limit flag is written.
float ComputeToolRadiusAtDepth(TToolRecord& tool);

// --- tool header file ---------------------------------------------------------------
// Creates the file with the first 12 records of the tool header block (value
// 40.0); failures go to the quiet error word.
void WriteToolHeaderFile(const TToolRecord& tool, int32_t layer, const std::string& name);
