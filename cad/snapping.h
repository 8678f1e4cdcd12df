// Snapping of clicked points and the guide lines.
//
// A point given by the mouse is snapped to the nearest drawing point (types
// 10, 11, 12) of the snap file within the snap radius, or to the guide
// lines within 10 pixels, whichever lies nearer; equal distances prefer the
// drawing. Guide lines are horizontal and vertical lines kept in parameter
// block 1 (TGuideLineBlock).
//
// Searching a file: its candidate points are read once and kept, sorted by
// x, in SnapPointCache; a later search of the same file answers from memory
// while the file's byte size, a fingerprint of 16 records spread over it and
// SnapContentStamp are unchanged. The fingerprint catches a file rewritten
// in place (a move or a turn changes every record); code that changes single
// records in place calls InvalidateSnapPointCache.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

// --- guide lines (parameter block 1) -------------------------------------------------------
//   OFFSET SIZE DESCRIPTION
//        0  220 x positions of the vertical lines, 55 floats
//      220  220 y positions of the horizontal lines, 55 floats
//      440    1 lines shown (0/1)
//      441    1 catch on the lines (0/1)
//      442    1 not used here
// A list runs up to its first value of -10000 or less (a free slot).
constexpr int kGuideLineSlots = 55;
constexpr int kGuideLinesManaged = 50;  // the guide-line command uses the first 50
constexpr float kFreeGuideLine = -10000.0f;
constexpr int kGuideSnapPixels = 10;

#pragma pack(push, 1)
struct TGuideLineBlock {
  float xLines[kGuideLineSlots];
  float yLines[kGuideLineSlots];
  uint8_t shown;
  uint8_t catching;
  uint8_t unused;
};
#pragma pack(pop)
static_assert(sizeof(TGuideLineBlock) == 443);

// A guide line found near a point.
struct TGuideLineHit {
  float position = 0.0f;
  bool vertical = false;
  int index = -1;  // 0-based slot
};

void ReadGuideLineBlock(TGuideLineBlock& block);
void WriteGuideLineBlock(const TGuideLineBlock& block);
// GuideSnapOn from the block: shown and catching.
void UpdateGuideSnapFlag(const TGuideLineBlock& block);

// Stores the position in the first free slot of the first 50 of its list;
// false when all 50 are taken.
bool AddGuideLine(TGuideLineBlock& block, bool vertical, float position);
// The line nearest (x, y) among the first 50 of each list; a horizontal line
// wins over a vertical one at equal distance. False when there is no line.
bool FindNearestGuideLine(const TGuideLineBlock& block, float x, float y, TGuideLineHit& hit);
// Every slot free; showing and catching off.
void ClearGuideLines(TGuideLineBlock& block);
// Lines on the four edges / through the centre of the area; false when a
// list ran full (the lines that fitted stay).
bool AddFrameGuideLines(TGuideLineBlock& block, const TExtentsPair& area);
bool AddCentreGuideLines(TGuideLineBlock& block, const TExtentsPair& area);
// Removes a line; the following entries up to the 50th move down and the
// 50th becomes free.
void DeleteGuideLine(TGuideLineBlock& block, bool vertical, int index);
// The result of moving a line: inside the visible range low..high (edges
// included) the line takes the position, else it is deleted. True when it
// was kept.
bool MoveGuideLine(TGuideLineBlock& block, const TGuideLineHit& hit, float position, float low, float high);

// --- snapping ----------------------------------------------------------------------------
// x to the nearest vertical and y to the nearest horizontal line, each only
// when nearer than r (first of equal ones); type 10 when either snapped.
// dxOut, dyOut: the distances found, r where none.
void SnapToGuideLineLists(const TGuideLineBlock& block, TPointRecord& point, double& dxOut, double& dyOut,
                          double r);
// Guide snapping within 10 pixels when GuideSnapOn is set.
void SnapPointToGuideLines(TPointRecord& point);
// The nearest record of type 10, 11 or 12 of the file with |dx| <= r,
// |dy| <= r and d² < 2r² gives the point its x, y and type 10; true then.
// Otherwise the point is unchanged.
bool FindNearestFilePointInBox(const std::string& name, TPointRecord& point, double r);
// The file a snap selector names: -2 the vector store, -1 the current
// layer, 0..50 that layer; empty for every other value.
std::string SnapFileForSelector(int16_t selector);
// Vector-point snapping with SnapRadius (nothing when it is 0 or the
// selector names no file).
void SnapPointToLayerVectors(TPointRecord& point, int16_t selector);
// Both snaps, the nearer wins (the drawing on equal distances); returns the
// resulting type (10 snapped, 0 not).
uint8_t SnapPoint(TPointRecord& point, int16_t selector);
// The cursor point snapped with SnapLayerSelector.
uint8_t SnapCursorPoint(TPointRecord& point);
// SnapPoint with any negative selector taken as the vector store.
uint8_t SnapPointForLayer(TPointRecord& point, int16_t selector);
// The cursor point snapped to the drawing with SnapRadius, any negative
// selector meaning the current layer.
void SnapCursorToLayerVectors(TPointRecord& point);
// One step of the prompt line editor on the typed text, then the cursor
// point itself snapped with SnapLayerSelector; returns its type.
uint8_t EditPromptAndSnapCursor(std::string& typed);
// True when guide snapping is on (block 1 read afresh) and a guide line lies
// less than 10 pixels from the cursor in x or y.
bool TestCursorNearGuideLine();

// --- the guide-line command ----------------------------------------------------------------
// Mode 0 the menu, 1 a new horizontal line, 2 a new vertical line, 3 move
// or delete the line nearest the cursor; +256 suppresses the redraws.
// Hidden lines are switched on (with catching) first.
void RunGuideLineCommand(uint16_t mode);
// Lets the user place one line: the prompt line takes a typed position, a
// click the cursor's x (vertical) or y (horizontal) snapped to the drawing.
// With showValue the position is shown in the top bar and Delete gives
// -10000. False when cancelled (the position is kept).
bool PlaceGuideLineInteractively(float& position, bool showValue, bool vertical);

// --- candidate cache ---------------------------------------------------------------------
struct TSnapCandidate {
  float x;
  float y;
  int32_t order;  // position among the candidates in the file
};
struct TSnapPointCache {
  std::string name;          // empty: nothing cached
  int64_t byteSize = -1;  // in whole records
  uint64_t fingerprint = 0;
  uint32_t stamp = 0;
  std::vector<TSnapCandidate> points;  // sorted by x, then order
};
extern TSnapPointCache SnapPointCache;
extern uint32_t SnapContentStamp;  // raised by InvalidateSnapPointCache
// Files read for snapping since the start (the cache's misses).
extern uint32_t SnapFileReads;

void InvalidateSnapPointCache();
