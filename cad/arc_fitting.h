// Arc fitting: runs of short line points become circular arcs.
//
// Contours from fonts, reliefs, traced pictures and offsets arrive as chains
// of many short points. The fitter collects consecutive points in a window
// (at most 1000) while they lie within a tolerance of the circle through the
// window's first, middle and last point, and writes each window in one of
// several forms.
//
// mode: bits 0-2 the output form: 0 arc records (13), 1 centre records (19)
// split at the largest sweep, 2 centre records with the signed sweep, 7 the
// arcs as polygon points, 3-6 only the end points; bit 3 the feed form
// (points kept, feed records by local radius); bit 6 no corner test and the
// middle reference point on the chord's perpendicular bisector (and, when
// snapping first, type-128 records dropped). A negative mode shows no
// progress bar.
//
// Parameter block 42 (117 bytes), the arc and feed settings:
//   OFFSET SIZE DESCRIPTION
//        0    4 base XY feed, float
//        4   56 14 radius thresholds R0..R13, floats, mm, ascending
//       60   56 14 feed percentages P0..P13, floats
//      116    1 feed records on (non-zero)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

#pragma pack(push, 1)
struct TArcFeedSettings {
  float baseFeed;
  float radii[14];
  float percentages[14];
  uint8_t feedRecordsOn;
};
#pragma pack(pop)
static_assert(sizeof(TArcFeedSettings) == 117);

constexpr int16_t kArcFeedBlock = 42;
constexpr int32_t kArcFitWindowMax = 1000;

// The fitter over records in memory; the output replaces `output`. Stops
// early (keeping what was written) when the Esc check sets ErrorCode.
void FitArcsInRecords(const TVectorRecord* input, int32_t count, std::vector<TVectorRecord>& output, int32_t mode,
                      double largestSweep, double tolerance, double largestRadius, const TArcFeedSettings& feeds);
// Loads the source, fits with the settings of block 42 and writes the target
// (replacing it). An empty or unreadable source writes nothing.
void FitArcsInVectorFile(const std::string& source, const std::string& target, int32_t mode, double largestSweep,
                         double tolerance, double largestRadius);
