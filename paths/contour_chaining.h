// Contour chaining and point thinning: two file-to-file operations on
// headerless vector files (13-byte TVectorRecords) that prepare contours for
// the contour offset engine.
//
// ChainContoursIntoFile joins loose open pieces into closed chains by nearest
// end-to-start neighbours. ThinContoursInFile removes superfluous points from
// every contour (tolerance in units of a resolution step) and closes each
// contour on the way. Both use the quiet file wrappers: file failures go to
// QuietIoError (and ErrorCode, as the wrappers do) and stop nothing by
// themselves.
//
// A contour (piece) is a type-11 start record and the records up to the next
// type-11 record; records before the first type-11 record belong to none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

// --- chaining ------------------------------------------------------------------
constexpr int32_t kMaxChainContours = 65536;
// Start and end within this (x and y) make a piece closed.
constexpr double kChainClosedTolerance = 0.001;

// One piece of the input.
struct TChainContour {
  int32_t first = 0;  // record index of the start record
  int32_t last = 0;   // record index of the last record
  uint8_t state = 0;  // 0 not written, 1 marked during a trial, 255 written
  float startX = 0, startY = 0;
  float endX = 0, endY = 0;
};

// Joins the pieces of input into closed chains in output. maxJoin: the
// largest gap (mm) the first pass may bridge. Errors in ErrorCode: 100 fewer
// than 4 records in the input or the output, 101 more than 65536 pieces, 102
// a piece left unwritten.
void ChainContoursIntoFile(const std::string& inputName, const std::string& outputName, float maxJoin);
// The piece joiner under the name the offset writers use; flag has no effect.
void JoinPiecesIntoContours(const std::string& inputName, const std::string& outputName, float gap,
                            uint8_t flag = 0);

// --- thinning -------------------------------------------------------------------
// Contour buffer: point 0 the start record, points 1..kMaxThinPoints.
constexpr int32_t kMaxThinPoints = 49149;
// A contour above this many points is first thinned in a coarse pre-pass.
constexpr int32_t kThinInMemoryPoints = 49148;
// The pre-pass repeats until at most this many points remain.
constexpr int32_t kThinPrePassPoints = 9999;
// Thinned contours hold fewer points than this.
constexpr int32_t kMaxThinnedPoints = 32766;
// Tolerances are raised to at least this.
constexpr float kLeastThinTolerance = 0.0001f;

// Copies input to output with every contour thinned. colour > 0 draws each
// written contour; mode -6 copies the file byte for byte; -5 uses the step 1;
// -1..-4 the larger extent / 50, 100, 200, 500; other modes the step 1; a
// factor above 1 multiplies the step (not for -5). Nothing happens when the
// input file does not exist.
void ThinContoursInFile(const std::string& inputName, const std::string& outputName, int16_t colour, float mode,
                        float factor, float tolerance);
// The same with the argument order the offset callers use (spare unused).
void ThinContourPointsInFile(const std::string& sourceName, const std::string& targetName, int16_t colour,
                             float tolerance, float mode, float stepFactor, float spare);

// The step by which coordinates are divided while thinning (see above).
double ComputeThinningStep(const std::string& inputName, float mode, float factor);

// Thins one contour: points[0] its start record, points[1..lastIndex] its
// points, coordinates in step units. The result (start record first, closed
// back to the start) goes to out; tolerance grows while more than 32766
// points remain and is handed back.
void ThinContourPoints(const std::vector<TVectorRecord>& points, std::vector<TVectorRecord>& out, int32_t lastIndex,
                       double step, double& tolerance);
// The same under the name the offset callers use: count + 1 input records.
void ThinPointList(const std::vector<TVectorRecord>& input, std::vector<TVectorRecord>& output, int32_t count,
                   double tolerance, double step, int32_t& resultCount);

// tolerance x 3.333 while below 0.0045, else x factor.
void GrowThinningTolerance(double& tolerance, double factor);
