// Contour offset engine: band grid and loop removal.
//
// Runs inside OffsetContourFile (paths/contour_offset.h) after the contours
// are prepared. Every segment sweeps a band, the quadrilateral between the
// prepared segment and its offset. The bands are entered in a uniform grid;
// then, segment by segment, the bands that meet the current band become
// edges (the bisector piece where two bands overlap, or the midline of two
// antiparallel segments), and the part of the current offset segment that
// belongs to the final offset curve is traced through these edges. The
// traced points go to "VekAR6.TMP" with their distance from the contour
// divided by d; "VekAR5.TMP" gets the start of every segment's chain.
//
// The grid covers the bounding box of the prepared and offset contours. Its
// cells are at least 1.1 d wide and grow until the grid holds about two
// cells per segment (at most 4096 per axis and 4,194,304 in all); every
// band is entered into each cell its area touches, so the bands that meet a
// band are found by reading only the cells of that band. The cell lists live
// in memory (no overflow file).
//
// Error codes (ErrorCode):
//   1 Esc confirmed            4 a work file could not be written whole
//   6 more than 8191 candidate segments for one band
//   7 more than 32764 candidate edges for one segment
//   8 a forward or backward walk that stands alone reaches 1999 steps
//   9 the grid lists would pass their limit
//  10 joining the forward and backward walks would pass 1998 points
//  13 the edge of the neighbouring segment at an inner corner is missing
#pragma once

#include <cstdint>
#include <vector>

#include "paths/contour_offset.h"

// --- limits and tolerances ------------------------------------------------------------------
constexpr int32_t kMaxBandCandidates = 8191;
constexpr int32_t kMaxCandidateEdges = 32764;
constexpr int32_t kMaxChainSteps = 1999;
constexpr int32_t kMaxChainPoints = 1998;
constexpr int32_t kMaxTiedEdges = 299;
constexpr int32_t kMaxGridAxisCells = 4096;
constexpr int64_t kMaxGridCells = int64_t(1) << 22;
constexpr int64_t kMaxGridEntries = int64_t(1) << 28;
// Antiparallel within 0.1 degree: the edge is the midline.
constexpr double kAntiparallelAngle = 3.1398473;
// Widening of extent tests of band edges and candidate edges.
constexpr double kExtentWiden = 0.0004;
// Points this close in x and y are one point.
constexpr double kSamePointGap = 0.0001;
// Ends of edges on a band edge, and ties of distances.
constexpr double kOnEdgeGap = 0.00033;
// A forward crossing may lie this far beyond the edge's end (and a backward
// one this far before its start).
constexpr double kBeyondEndGap = 0.00022;
// The backward walk meets the first forward point within this.
constexpr double kMeetGap = 0.0003;
// Segments between two progress and Esc checks of the tracing.
constexpr int32_t kTraceCheckInterval = 256;

// --- the grid ------------------------------------------------------------------------------
struct TBandGrid {
  double cellSize = 0;
  int32_t nx = 0, ny = 0;
  double originX = 0, originY = 0;
  // Cell n = column + row * nx holds entries[cellStart[n] .. cellStart[n+1]):
  // ascending global segment numbers without repeats.
  std::vector<int64_t> cellStart;
  std::vector<int32_t> entries;
};

// --- loop removal state of one call --------------------------------------------------------
// A step candidate of a chain walk: distance along the edge, edge, point.
struct TChainHit {
  double distance = 0;
  int32_t edge = 0;
  double x = 0, y = 0;
};
struct TOffsetLoopState {
  TOffsetFileWriter chainWriter;  // "VekAR6.TMP"
  TOffsetFileWriter indexWriter;  // "VekAR5.TMP"
  int64_t chainRecords = 0;
  bool contourStart = false;
  bool haveFirstPoint = false;
  TOffsetRecord firstPoint{};  // the contour's first written point
  int32_t current = 0;         // global number of the segment being traced
  // Scratch of the tracing, kept between segments.
  std::vector<int32_t> candidates;
  std::vector<int32_t> stamp;  // per segment: the last segment that collected it
  std::vector<TOffsetSegment> table;
  std::vector<double> deviation;
  std::vector<int32_t> rowMin, rowMax;
  std::vector<TChainHit> hits;
  std::vector<double> forwardX, forwardY, backwardX, backwardY, chainX, chainY;
};
extern TOffsetLoopState OffsetLoops;

// Sizes the grid over the engine's bounding box and enters every band.
void BuildBandGrid(TBandGrid& grid);
void ReleaseBandGrid(TBandGrid& grid);
// Traces every segment of every contour and writes the chain and index files.
void RemoveOffsetLoops(const TBandGrid& grid);
// Frees the scratch memory of the tracing (and closes its files).
void ReleaseOffsetLoops();
// One segment: candidates, edges, chain, output.
void TraceSegmentChain(const TBandGrid& grid, int32_t contour, int32_t index);
// The sorted candidate list of the band of segment g (error 6 when too long).
void CollectBandCandidates(const TBandGrid& grid, int32_t g);
// Appends p with its distance from the contour divided by d: from the current
// segment's line, or from a nearer segment among the band's candidates.
void WriteChainPoint(double x, double y);
