// Arcs, circles and curves turned into line points: the arc sampler with its
// points-per-radian rule, circles and arcs from points, Bezier samplers, the
// B-spline evaluator with its sliding window, the curve pieces of font
// strokes, the plane across a grid cell and the current font file name.
//
// Point buffers are caller-owned arrays with room for kMaxSampledPoints
// (1000) records; no sampler writes beyond that. Points are type-10 vector
// records unless stated; the start point of an arc or curve is never written
// (the caller has it). Angles are radians, counter-clockwise with y up.
//
// Settings read by the arc sampler are the frame's working values:
// ArcResolutionWord (R, scales the points per radian), ArcPointsPerRadian
// (the minimum), ArcStepAngle (the maximum points per radian) and
// ArcResolution (the curve points per span m).
#pragma once

#include <cstdint>
#include <string>

#include "model/geometry_tolerances.h"
#include "model/vector_records.h"

// Points per radian used for arcs whose summed radii exceed 500 mm.
extern uint16_t LargeArcPointsPerRadian;

// Sets the minimum and maximum points per radian from a level (the curve
// points per span).
void SetArcPointLimits(int level);

// --- arc sampling ----------------------------------------------------------------------
// Points after the start (x0, y0) along the elliptic arc with radii rx, ry,
// from angle a0 by sweep; the end point last. z is the 4 raw bytes given to
// every point. count starts at 0.
void ApproximateArcToPoints(TVectorRecord* buffer, uint16_t& count, float x0, float y0, float z, float rx, float ry,
                            float a0, float sweep);
void SampleEllipticArc(TVectorRecord* buffer, int32_t& count, float x0, float y0, float z, float rx, float ry,
                       float a0, float sweep);
void ApproximateArcToPointsPrecise(TVectorRecord* buffer, int32_t& count, float x0, float y0, float z, double rx,
                                   double ry, double a0, double sweep);
// As ApproximateArcToPoints with at least ten points and no point within
// 0.01 of the one before (the end point always written).
void ApproximateArcToSpacedPoints(TVectorRecord* buffer, uint16_t& count, float x0, float y0, float z, float rx,
                                  float ry, float a0, float sweep);
// The closed ellipse inscribed in the box: first record type 11, the last a
// copy of the first point, counter-clockwise.
void ApproximateEllipseInBox(const TExtentsPair& box, TVectorRecord* buffer, uint16_t& count);

// --- arcs and circles from points --------------------------------------------------------
void ComputeArcEndPoint(double x0, double y0, double r, double a, double s, double& x, double& y);
void ComputeArcPointAtAngle(double x0, double y0, double b, double r, double a, double& x, double& y);
// Angle 0 .. 2 pi of (x, y) on the circle about (cx, cy) with radius r;
// 0 for a radius of 0.
double ComputePointAngleOnCircle(double x, double y, double cx, double cy, double r);
// Circle record: type 10, centre in x, y, radius in z; type 0 at (0, 0)
// with radius 9999.999 for three points on one line.
void ComputeCircleThroughPoints(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3,
                                TVectorRecord& circle);
float MeasureCircleDeviation(const TVectorRecord& circle, const TVectorRecord& point);
// The arc from p1 through p2 to p3 (p1's y may be raised in place by 0.001
// steps). Positive sweep counter-clockwise.
void ComputeArcThroughThreePoints(TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3, double& sweep,
                                  double& startAngle, double& radius);
// The shorter arc from p1 to p2 about c.
void ComputeShortArcSweep(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& c, double& sweep,
                          double& startAngle, double& radius);
void ComputeShortArcSweepWithRadius(const TVectorRecord& p1, const TVectorRecord& c, const TVectorRecord& p2,
                                    double radius, double& sweep, double& startAngle);
// A point one degree before the start (beforeStart) or past the end of the
// arc through p1, p2, p3, at least 0.02 from that end.
void ComputeArcOvershootPoint(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3,
                              TVectorRecord& out, bool beforeStart);
// Moves the point away from the reference until the larger of |dx|, |dy|
// equals limit, when it is smaller.
void EnforceMinimumPointGap(TVectorRecord& point, const TVectorRecord& reference, float limit);

// --- Bezier sampling (n points at t = i/n, appended to count, never past 1000) --------
void SampleQuadraticBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n);
inline void SampleQuadraticCurvePoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count,
                                       int16_t n) {
  SampleQuadraticBezierPoints(control, buffer, count, n);
}
void SampleCubicBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n);
inline void SampleBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n) {
  SampleCubicBezierPoints(control, buffer, count, n);
}
void SampleQuarticBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n);
// Type-12 points, z interpolated too.
void SampleQuadraticBezierPoints3D(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n);

// --- B-spline and curve pieces ---------------------------------------------------------------
constexpr int kSplineControlPoints = 12;   // P0 .. P(K+1) with K up to 10
constexpr int kCurveListEntries = 12;      // entries 1 .. 11 (10 control points and the end point)
constexpr int kMaxSplineOrder = 10;
// The highest order used for a curve stroke with many control points.
constexpr int kHighestStrokeOrder = 6;

struct TCurveBuilder {
  int16_t order = 3;           // K
  int16_t kind = 1;            // spans of an evaluation, 1 .. 6
  int16_t splineCount = 0;     // points of the last evaluation
  int16_t windowCount = 0;     // 0 .. 11, 254 window full, 255 evaluating
  int16_t pointsPerSpan = 5;   // m
  float step = 0.2f;           // 1 / m
  TVectorRecord control[kSplineControlPoints] = {};
  TVectorRecord splineOutput[kMaxSampledPoints] = {};
  TVectorRecord pointList[kCurveListEntries] = {};  // used from entry 1
  int16_t listLength = 1;      // entries used + 1
  TVectorRecord pieceOutput[kMaxSampledPoints] = {};
  int16_t pieceCount = 0;
};

// Kind 1, order K (2 .. 10), counts 0, m at least 1, step 1/m, control points
// cleared, the point list empty.
void InitSplineBuilder(TCurveBuilder& builder, int order, int pointsPerSpan);
void AddSplineWindowPoint(const TVectorRecord& point, TCurveBuilder& builder);
void EvaluateSplineSpans(TCurveBuilder& builder);
void AddCurveListPoint(TCurveBuilder& builder, const TVectorRecord& point);
void FinishCurvePiece(TCurveBuilder& builder, const TVectorRecord& current, const TVectorRecord& end);
// A clamped uniform B-spline of the order over n control points (n - order + 1
// spans), m points per span from one step after the first control point to
// the last one; appended to count, never past 1000.
void EvaluateClampedSpline(const TVectorRecord* control, int n, int order, int pointsPerSpan, TVectorRecord* buffer,
                           int16_t& count);

// --- plane across a cell ------------------------------------------------------------------
float InterpolateValueAlongLine(const TVectorRecord& b, const TVectorRecord& x, const TVectorRecord& q, float vb,
                                float vx);
bool InterpolateTriangleAcrossCell(const TVectorRecord& p1, float v1, const TVectorRecord& p2, float v2,
                                   const TVectorRecord& p3, float v3, const TExtentsPair& cell, float& changeX,
                                   float& changeY);

// --- font file name and kerning class -------------------------------------------------------
// The current font file name (at most 12 characters) kept for the font code.
extern std::string CurrentFontFileName;
void SetCurrentFontFileName(const std::string& path);
void GetCurrentFontFileName(std::string& name);
void HandleMissingFontFile();
// index becomes base + i for the first position i of classText holding
// character; unchanged when it is not there.
void FindPairCharInKerningClass(int32_t base, const std::string& classText, char character, int32_t& index);
