// Uses of the offset engine's raw chain ("VekAR6.TMP", TOffsetRecord) besides
// the joined compensation path: hatching the area inside the last offset,
// the traced offset points appended unjoined to the current layer, an offset
// path that stops short of the points where the offset meets the contour,
// and a 3D engraving path whose depth follows the per-point value.
//
// The commands read block 7 for the rounding angle and the reduction mode,
// reduce the selection ("VekAR1.TMP") into "VekAR9.TMP" before the offset
// and report failures through ReportGlobalError. Empty input (nothing left
// after the reduction) ends them without a message.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// A chain point is "near" the contour below this per-point value.
constexpr double kCornerStopNear = 0.05;
// Points closer than this in x and in y repeat the previous one.
constexpr float kRepeatedPointGap = 0.0001f;

// Hatches the area bounded by the last offset result into target
// (rewritten): insideFlag as the hatch parameters' inside flag, extents the
// least hatch rectangle, angle in radians, the safety distance
// spacing / 2 - margin (at least spacing / 4). With insideFlag 0 and a frame
// the ring between frame and offset contours is hatched. A hatch result r
// other than 0 sets ErrorCode to r + 20; a spacing below 0.001 gives 43.
void HatchInsideLastOffset(const std::string& target, const std::string& frameName, uint8_t insideFlag,
                           int16_t colour, const TExtentsPair& extents, float angle, float margin, float spacing);
// The same unjoined, every line one way, appended to target.
void HatchInsideLastOffsetToLayer(const std::string& target, const std::string& frameName, uint8_t insideFlag,
                                  int16_t colour, const TExtentsPair& extents, float angle, float margin,
                                  float spacing);

// The selection offset by W, its traced points appended to the current layer
// unjoined; true when appended.
bool CompensateSelectionUnjoined(float W);
// Clears ErrorCode; W the current tool's cutting radius (flag 1: asked).
bool CompensateUnjoinedWithToolRadius(int flags);
// The selection offset by W as a path with corner stops, appended to the
// current layer after the user agrees (message 44); true when appended.
bool CompensateWithCornerStops(float W);
// A 3D path along the offset chain with z = the per-point value (scaled so
// that the deepest is 1 when the largest lies between 0 and 1); it becomes
// the new selection, the marked contours go back to the layer.
void EngraveDepthFromOffset(uint8_t side, float W, float limitAngle);
// Asks W (starting at 1) and engraves with side 1.
void AskAndEngraveDepth(float limitAngle);

// --- the passes over the chain file (for the commands and their tests) -----------------
// Appends the vector file source to target: types 10 and 12 as type 10 with
// z 0 unless they repeat the last written point, type 11 with z 0, other
// types dropped; colour >= 0 draws the written records. False on a short write.
bool AppendPointsWithoutRepeats(const std::string& source, const std::string& target, int16_t colour);
// The corner-stop path of the chain file into target (rewritten): segments
// ending at a near point stop W before it, segments leaving one start at
// their end, both only when longer than W + 0.01. False on a short write.
bool WriteCornerStopPath(const std::string& chain, const std::string& target, float W, int16_t colour);
// The depth points of the chain file into target (rewritten); returns the
// largest value (0 for none). False on a short write.
bool WriteDepthPoints(const std::string& chain, const std::string& target, int16_t colour, double& largest);
