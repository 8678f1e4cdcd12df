// Sideways offset of open paths.
//
// Lines, open polylines and single points have no inside or outside: they
// are shifted segment by segment to one side by a signed distance d (left of
// the direction of travel for d > 0, y up), joined with mitred corners.
// Closed paths (last point exactly the first) start and end at their
// closing corner. Only records of types 10 and 11 take part; every written
// record has z = 0. Whole files are held in record arrays.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// Flags of the sideways offset.
constexpr int kSidewaysDraw = 1;         // draw while computing (colour 12)
constexpr int kSidewaysClean = 2;        // count rejected corners, report them, clean the result
constexpr int kSidewaysQuietClean = 4;   // with 2: no report and no marks
constexpr int kSidewaysPointSquares = 8; // a repeated single point becomes a square of half size d

// Loads the source, drops points closer than 0.001 to their predecessor,
// offsets the paths and writes the target; a short write shows message 8.
void OffsetPathsSideways(const std::string& source, const std::string& target, int flags, double d);
// The offset proper; output is (re)allocated to the records written.
void OffsetOpenPaths(const TVectorArray& input, TVectorArray& output, int flags, double d);
// Five passes of d / 5, each after DropClosePoints with |d| / 5; only the
// last pass gets the caller's flags.
void OffsetPathsInSteps(const TVectorArray& input, TVectorArray& output, int flags, double d);
// Keeps records of types 10, 11, 12 and 27 and drops a point within x of
// the last kept one (never a path start, nor the first line point after
// one); a path whose last point was dropped ends at that point.
void DropClosePoints(TVectorArray& array, double x);
// Writes to target the parts of source whose segments keep at least x from
// every segment of the reference file.
void RemovePathPartsNearReference(const std::string& source, const std::string& target,
                                  const std::string& reference, double x);
