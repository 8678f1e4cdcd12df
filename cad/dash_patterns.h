// Dash patterns on contours.
//
// A pattern is a list of up to twelve lengths, positive for a drawn piece,
// negative for a gap (0 a drawn piece of no length), repeated along each
// contour and, with the fit flag, stretched so that the contour holds a
// whole number of periods. Every dash becomes its own drawn run and every
// gap a move (a new start), so the result can be milled as broken lines.
//
// TDashPattern, 54 bytes, packed (kept in parameter block 18):
//   OFFSET SIZE DESCRIPTION
//        0    1 flag (kept as stored)
//        1    1 count of used lengths, 1 .. 12
//        2    4 total: sum of the absolute values of the used lengths, float
//        6   48 12 lengths in mm, float
// TDashPatternSet, 217 bytes: the chosen pattern number (1 .. 4), then four
// patterns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

#pragma pack(push, 1)
struct TDashPattern {
  uint8_t flag;
  uint8_t count;
  float total;
  float lengths[12];
};
struct TDashPatternSet {
  uint8_t chosen;
  TDashPattern patterns[4];
};
#pragma pack(pop)
static_assert(sizeof(TDashPattern) == 54);
static_assert(sizeof(TDashPatternSet) == 217);

// Dashes the contours of the input (records 10, 11, 12; others dropped)
// into output, which grows as needed; outputCount is its size. Points
// before the first start begin a contour of their own. False (output empty)
// when the dashes would exceed kMaxDashOutputRecords or the pattern is
// unusable (count outside 1 .. 12, or lengths that are all 0).
bool ApplyDashPattern(const TVectorRecord* input, int32_t count, std::vector<TVectorRecord>& output, bool fit,
                      TDashPattern pattern, int32_t& outputCount);
// The source file dashed into the target (written at once). A failed run
// sets QuietIoError (1101 for an output that cannot be held) and leaves the
// target as it was.
void DashVectorFile(const std::string& source, const std::string& target, const TDashPattern& pattern, bool fit);
