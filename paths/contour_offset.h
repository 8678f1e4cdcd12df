// Contour offset engine: contour preparation, corner arcs and segment offsets.
//
// OffsetContourFile offsets every closed contour of a vector file by d to one
// side. It runs in three stages on the work files of paths/offset_results.h:
//   1. reading and preparation (this module): contours are read, cleaned,
//      shifted by a hair away from the offset side, their sharp vertices
//      jittered, their outer corners replaced by micro-arcs; every segment is
//      moved sideways by d and consecutive offset segments are joined where
//      that is safe. The prepared contours go to "VekAR7.TMP".
//   2. band grid and loop removal (paths/offset_loops.h): the part of every
//      offset segment that no other band overrides is traced into the chain
//      file "VekAR6.TMP" with its per-segment index "VekAR5.TMP".
//   3. the result writer WriteOffsetResultFiles (paths/offset_results.h),
//      run by the caller with the same side and d as computing distance.
//
// Everything is double precision. The engine ends with ErrorCode unchanged
// (the caller's value, 0 or below) when the chain points were written, or
// with one of its codes:
//   100 the input has fewer than 4 records (or d is not a usable distance)
//     2 a contour has 32766 or more vertices while reading, or its corner
//       arcs do not fit even after coarser thinning, or all contours
//       together pass 20,000,000 vertices
//     3 a 20000th contour (at most 19999 per call)
//     1 Esc confirmed
//   and the loop-removal codes of paths/offset_loops.h (4, 6, 7, 8, 9, 10, 13).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "paths/offset_results.h"

// --- limits and tolerances --------------------------------------------------------------
// Vertices of one contour's working table.
constexpr int32_t kMaxContourVertices = 32766;
// Vertices of all contours of one call (memory bound); more gives error 2.
constexpr int64_t kMaxTotalVertices = 20000000;
// Contours of one call; the 20000th gives error 3.
constexpr int32_t kMaxOffsetContours = 20000;
// Consecutive input points within this in x and in y are one vertex.
constexpr double kDuplicatePointGap = 0.003;
// An axis difference below this moves the previous vertex by kAxisNudge, so
// that no segment is exactly vertical or horizontal.
constexpr double kAxisParallelGap = 0.0005;
constexpr double kAxisNudge = 0.001;
// Every vertex moves this far away from the offset side before the offset.
constexpr double kContourShift = 0.0002;
// Beyond this from the shifted point the midpoint is taken instead of the
// crossing of the shifted segments.
constexpr double kContourShiftFar = 0.00022;
// Sharp vertex: |u1 + u2|^2 below this (a turn of more than about 40 deg).
constexpr double kSharpVertexLimit = 3.532;
// Jitter of sharp vertices: step and wrap.
constexpr double kJitterStep = 0.00042424168043941895;
constexpr double kJitterWrap = 0.00155555;
// Corner arcs: radius, the centre's distance limit from the vertex.
constexpr double kCornerArcRadius = 0.001;
constexpr double kCornerArcCentreLimit = 0.0017;
// Turns below one degree are plain joins.
constexpr double kOneDegree = 0.01745329;
// Overflowing arcs: thinning starts at this tolerance, grows by 3.333 while
// below kThinFastLimit and by 1.5 above; the arc step grows by 5 degrees
// while below 40 degrees.
constexpr double kArcThinStart = 0.0005;
constexpr double kThinFastLimit = 0.0045;
constexpr double kArcStepLimit = 0.6981317;
constexpr double kArcStepGrowth = 0.0872664626;
// Tries of the corner-arc pass before error 2 stands.
constexpr int kMaxArcTries = 64;
// Join of consecutive offset segments: parameters along the predecessor
// (above) and along the segment (below).
constexpr double kJoinPredecessorParam = 0.1;
constexpr double kJoinSegmentParam = 0.9;
// Determinant floor of IntersectLines.
constexpr double kParallelDeterminant = 1e-19;
// Smallest usable offset distance.
constexpr double kMinOffsetDistance = 0.0001;

// --- the segment record -----------------------------------------------------------------
struct TOffsetSegment {
  // Contour segment: corner class at its start vertex (0 plain join, 1 sharp
  // inner corner, 2 moderate inner corner). Candidate edge: 0 accepted.
  uint8_t type = 0;
  uint8_t steep = 0;      // 1 when |dx| <= |dy|
  int32_t candidate = 0;  // global number of the segment a candidate edge belongs to
  double x = 0, y = 0;    // start point
  double dx = 0, dy = 0;  // direction: the segment ends at (x + dx, y + dy)
  double slope = 0;       // dy/dx (flat) or dx/dy (steep), 0 for a zero divisor
  double angle = 0;       // direction in [0, 2 pi)
};

// --- engine state of one call ----------------------------------------------------------------
struct TOffsetEngineState {
  double distance = 0;     // d
  double cellSize = 0;     // 1.1 d, grown by the band grid
  uint8_t side = 0;        // engine side: 1 offsets along (-dy, dx), 0 along (dy, -dx)
  int16_t entryCode = 0;   // ErrorCode at the start of the call
  double roundingAngle = 0;
  double innerLimit = 0;
  // Contour index: first global vertex number of each contour and, after the
  // last, the total.
  std::vector<int32_t> contourFirst;
  // Prepared and offset copies of every segment, by global number.
  std::vector<TOffsetSegment> prepared;
  std::vector<TOffsetSegment> offsets;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;  // bounding box
  int64_t totalVertices = 0;
  TOffsetFileWriter contourWriter;  // "VekAR7.TMP"
};
extern TOffsetEngineState OffsetEngine;

// --- geometry of the engine -------------------------------------------------------------------
// Crossing of the two lines; a determinant below 1e-19 in size is taken as
// 1e-19, so a point is always returned (far away for nearly parallel lines).
void IntersectLines(const TOffsetSegment& a, const TOffsetSegment& b, double& x, double& y);
// The crossing, or false when the determinant is exactly 0.
bool IntersectLinesChecked(const TOffsetSegment& a, const TOffsetSegment& b, double& x, double& y);
// Vector of the given length along (-dy, dx) for side 1, (dy, -dx) for side 0
// ((0, 0) for a zero-length segment).
void ComputeSideNormal(const TOffsetSegment& s, uint8_t side, double length, double& nx, double& ny);
// Moves the whole line by that vector (the direction stays).
void ShiftSegmentSideways(TOffsetSegment& s, uint8_t side, double length);
void ComputeSegmentAngle(TOffsetSegment& s);
// b - a brought into [-pi, pi].
double NormalizeAngleDifference(double a, double b);
// Direction from the start to (px, py), then slope form and angle.
void SetLineDirection(TOffsetSegment& s, double px, double py);
void ComputeLineSlope(TOffsetSegment& s);

// --- the engine ---------------------------------------------------------------------------------
// side: 0 offsets to the left of the direction of travel, 1 to the right;
// d: distance in mm; roundingAngle: radians, outer corners turning at least
// this get micro-arcs with at most this angular step; innerLimit: radians,
// inner corners turning more are of type 1. Leaves "VekAR7.TMP",
// "VekAR6.TMP" and "VekAR5.TMP" and ErrorCode (see above).
void OffsetContourFile(const std::string& name, uint8_t side, float d, float roundingAngle, float innerLimit);

// Stages, for the engine and its tests. The working table holds the vertices
// of one contour (x, y; the last not repeating the first).
void ReadContoursForOffset(const std::string& name);
void ShiftContourAwayFromSide(std::vector<TOffsetSegment>& work);
void JitterSharpVertices(std::vector<TOffsetSegment>& work);
void OffsetOneContour(std::vector<TOffsetSegment>& work);
// Classifies the corners and replaces outer corners by micro-arcs; sets
// error 2 (and leaves work unchanged) when the result would not fit.
void InsertCornerArcs(std::vector<TOffsetSegment>& work, double arcStep);
void ThinWorkContour(std::vector<TOffsetSegment>& work, double tolerance);
void OffsetContourSegments(std::vector<TOffsetSegment>& work);
// Frees the engine's memory.
void ReleaseOffsetEngine();
