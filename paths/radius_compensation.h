// Radius compensation driver.
//
// Chains the three stages of the contour offset (point reduction into
// "VekAR9.TMP", OffsetContourFile, the joined result path) through the fixed
// work files, widens the wanted distance step by step when the result pieces
// cannot be joined (102), and retries the whole run up to three times with a
// larger computing distance, a smaller rounding angle and a coarser
// reduction when the path cannot be built (103). Above it sit the command
// cores: compensation of the selection ("VekAR1.TMP") into the current layer
// and clearing of the area around the contours inside a frame by repeated
// offset rings.
//
// Codes in ErrorCode: 100 too little data after the reduction (or a width
// below 0.001), 103 the path could not be built, and the engine's codes 2-14,
// which stop the driver at once. The command cores report them through
// ReportGlobalError and leave the current layer unchanged on a failure.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"
#include "paths/compensation_settings.h"

// Least width (mm) any compensation or ring step accepts.
constexpr float kMinCompensationWidth = 0.001f;
// Offset runs of one compensation.
constexpr int kCompensationRuns = 3;
// Joining runs of the assembly beyond the first.
constexpr int kAssemblyRetries = 5;

// The three stages the driver runs; tests replace them to watch the retries.
struct TCompensationStages {
  void (*reduce)(const std::string& source, const std::string& target, int16_t colour, float tolerance, float mode,
                 float stepFactor, float spare);
  void (*offset)(const std::string& name, uint8_t side, float d, float roundingAngle, float innerLimit);
  void (*joinPath)(const std::string& name, const std::string& target, uint8_t side, float c, float b, uint8_t flag,
                   int16_t colour);
};
extern TCompensationStages CompensationStages;
// The real stages (ReduceContourPoints, OffsetContourFile, WriteJoinedOffsetPath).
void ResetCompensationStages();

// Compensates input into output at width W (W2 the reduction's width);
// settings is the caller's copy of block 7 and keeps the changed rounding
// angle. ErrorCode 0 on success, else the engine's code, 100 or 103.
void CompensateRadiusWithRetry(const std::string& input, const std::string& output, int16_t colour,
                               TCompensationSettings& settings, float W, float W2);
// The joined path of the engine's last result at W (p its computing
// distance), widening W on 102; 103 once the widening is exhausted.
void AssembleOffsetPath(const std::string& name, const std::string& output, uint8_t side, float p, float W,
                        int16_t colour, bool lastTry);
// The selection compensated and appended to the current layer (see above).
// sameSide 0 puts the path on the other side, smallRounding rounds at 20
// instead of 160 degrees, keepInput appends the marked contours too.
bool CompensateIntoCurrentLayer(bool sameSide, bool smallRounding, bool keepInput, float W);
// flags 2: keep the input in the layer; 4: clear around the contours inside
// a frame by repeated offsets instead of one compensation.
bool CompensateOrClearSelection(int flags, float W);
// The current tool's cutting radius (flag 1: asked first) into
// CompensateOrClearSelection.
bool CompensateWithToolRadius(int flags);
// Spin-value question of the width; a cancel gives 0.0001, which callers refuse.
void AskCompensationWidth(float& value);
// The ring loop of the frame clearing: rings W apart are appended to output
// until one vanishes. flags 1: the first ring from the existing offset
// result (p3, W3); 2: side flag 1, frame decided by the copy's direction.
void ClearByRepeatedOffsets(const std::string& input, const std::string& output, const std::string& frameName,
                            int16_t colour, const TExtentsPair& extents, int flags, float W, float W3, float p3,
                            TCompensationSettings& settings);
// Appends the frame file (direction 1 as it is, 0 reversed through scratch)
// or, without a frame name, the rectangle of extents as a closed contour
// (direction 1 clockwise, 0 counter-clockwise, y upwards).
void AppendBoundaryContour(const std::string& target, const std::string& scratch, const std::string& frameName,
                           uint8_t direction, const TExtentsPair& extents, int16_t colour);
// True when the file's outermost contour, judged at its leftmost vertex,
// runs counter-clockwise; also for files of fewer than 4 records or without
// a usable vertex.
bool TestFileOutlineCounterClockwise(const std::string& file);
// "RAHMEN.TMP" when the frame is shown and holds more than 3 records, else "".
std::string GetFrameFileName();
