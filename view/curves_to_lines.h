// A whole vector file with its curve records turned into line points.
//
// Arcs (13), elliptic arcs (20, 21), Bezier segments (14-16), curves through
// points (17, 18) and builder curves (25, 26) become line points; headers and
// tool blocks (1, 5, 6, 7, 9, 22, 150-157) and layer records (128, x wrapped
// to an existing layer) pass unchanged; points that repeat the point written
// before (same type and z, within kCurveMergeTolerance) are dropped; other
// types are dropped. Lines and moves are drawn through the world pen as they
// are written. Reading stops after a block when Esc is confirmed; the output
// then holds what was converted.
#pragma once

#include <cstdint>
#include <string>

// Options.
constexpr uint8_t kCurvesAs3DPoints = 1;       // generated points type 12 with the curve start's z
constexpr uint8_t kCurvesSnapArcEnds = 2;      // an arc ending near the contour start closes on it
// A point this close (XY) to the point written before, of its type and z, is not written.
constexpr double kCurveMergeTolerance = 0.001;
// An arc end closer than this to the contour start is moved onto it.
constexpr double kArcEndSnapDistance = 0.02;

// Returns the records written; 0 with the error code of the file wrappers
// when a file cannot be opened (a torn last input record sets 1010 and is
// left out).
int64_t ConvertCurvesToLines(const std::string& inputFile, const std::string& outputFile, int16_t colour,
                             uint8_t options);
