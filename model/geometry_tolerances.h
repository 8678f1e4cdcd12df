// Tolerances and sentinels of the 2D geometry, one place for all of them.
//
// World coordinates are float millimetres with y up; intermediate maths is
// done in double and compared against these values.
#pragma once

#include <cstdint>

// Two points coincide when their XY distance is below this (mm); also the
// nudge step of the circle constructions.
constexpr double kCoincideTolerance = 0.001;
// A y difference below this counts as zero in the inverse slope.
constexpr double kInverseSlopeTolerance = 0.0001;
// Result of the crossing step when an edge does not cross; upper bound of
// usable x in the direction test.
constexpr double kNoCrossingX = 10000.0;
// Radius reported when no circle exists (three points on one line).
constexpr float kNoCircleRadius = 9999.999f;
// Above this radius an arc counts as a straight line.
constexpr double kLargestArcRadius = 99999.999;
// Radius given to such an arc.
constexpr float kStraightArcRadius = 100000.0f;
// Steep descent: heights up to this count as zero.
constexpr double kDescentHeightTolerance = 0.001;
// Steep descent: a move is steep when it descends more than the XY distance
// divided by this slope.
constexpr double kDescentSlope = 0.2;
// Value of the type-155 record of a tool header file.
constexpr float kToolHeaderFileValue = 40.0f;

// --- arc sampling -------------------------------------------------------------------
// Points of a sampler's buffer; a sampler never writes the 1001st.
constexpr int kMaxSampledPoints = 1000;
// Points per radian used instead of the maximum beyond kLargeArcRadiusSum.
constexpr float kLargeArcPointsPerRadian = 159.0f;
// Summed radii (mm) above which the large-arc points per radian apply.
constexpr double kLargeArcRadiusSum = 500.0;
// The spaced sampler drops points closer than this to the point before.
constexpr double kSpacedPointGap = 0.01;
// The spaced sampler writes at least this many points.
constexpr double kSpacedMinimumPoints = 10.0;
// Angle (degrees) of the overshoot point beyond an arc's end.
constexpr double kOvershootDegrees = 1.0;
// Least distance of the overshoot point from its reference point.
constexpr float kOvershootMinimumGap = 0.02f;
// Curve pieces: control points that the point list keeps (entries 1..10).
constexpr int kCurveListLast = 10;
// Plane across a cell: slopes agreeing within this mean one line.
constexpr double kCellSlopeTolerance = 0.001;
// Plane across a cell: B and C this close in y exchange A and B.
constexpr double kCellFlatBC = 0.01;
// Plane across a cell: B and A this close in y choose the line through C.
constexpr double kCellFlatAB = 0.02;

// --- contour direction ----------------------------------------------------------------
// Step by which the test level rises when a vertex lies on it.
constexpr double kLevelRaise = 0.00002;
// Band round a contour's own leftmost crossing in the nesting count.
constexpr double kNestingBand = 0.0005;
// Records of one contour (and of the contour buffer without its spare slot).
constexpr int kMaxContourRecords = 100000;

// --- splitting at crossings ------------------------------------------------------------
// Segments shorter than this are dropped before crossings are searched.
constexpr float kSplitCleanTolerance = 0.002f;
// Records per cell of the search grid (below / from kSplitDenseRecords).
constexpr double kSplitRecordsPerCell = 80.0;
constexpr double kSplitRecordsPerCellDense = 100.0;
constexpr int kSplitDenseRecords = 10000;
// Crossings the crossing list may hold; more is reported as an error.
constexpr int kMaxSplitCrossings = 20000;
// A crossing this close to a chain's start is not counted (closing point).
constexpr double kSplitStartGap = 0.0002;
// A crossing lies on a segment when it is within this of the segment's end.
constexpr double kSplitOnSegmentEnd = 0.001;
// Foot parameter range of a crossing on its segment.
constexpr double kSplitFootParamLow = -0.0001;
// Squared distance from the foot below which a crossing lies on a segment.
constexpr double kSplitFootDistanceSquared = 1.21e-6;
// Records the output is written in blocks of.
constexpr int kSplitWriteBlock = 100000;

// --- dash patterns ----------------------------------------------------------------------
constexpr int kMaxDashElements = 12;
// A segment longer than the element's remaining length by less than this
// (mm) ends the element exactly: no stray start at a contour's end from
// rounding of the fitted lengths.
constexpr double kDashTolerance = 1e-7;
// Records a dashed output may hold; beyond this the run reports an error.
constexpr int64_t kMaxDashOutputRecords = 50000000;
