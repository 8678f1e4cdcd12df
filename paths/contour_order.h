// The contour table of a vector file and the nearest-first ordering of its
// contours.
//
// The table lists the contours of a file (a type-11 record and the records up
// to the next one) by their record range, start and end point, box and link
// distance. It is paged: 848 pages of 309 entries, each allocated zero-filled
// on its first store, so a small file costs only the table head. One entry is
// current; it alone is read and changed directly.
//
// The ordering rewrites the contours of a file so that each next contour is
// the one not yet taken whose start lies nearest to where the previous one
// ended (ties: the first in scan order). A short gap becomes a drawn link:
// below the tolerance always, below the contour's link distance (or always,
// with the linking flag) when the straight link crosses no obstacle segment.
// Otherwise the tool jumps to the first contour not yet taken.
//
// Errors go to the quiet error word QuietIoError: 1103 a file of 3 records or
// fewer, 1101 more contours than the table holds. The global error code is
// not touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"
#include "platform/files.h"

constexpr int32_t kContourPageEntries = 309;
constexpr int32_t kContourPages = 848;
constexpr int32_t kMaxContours = kContourPages * kContourPageEntries;  // 262032
constexpr int16_t kContourPageMissing = -2;

struct TContourEntry {
  int32_t startIndex;  // record index of the type-11 record
  int32_t endIndex;    // record index of the contour's last record
  int32_t parent;      // left to the nesting orderings
  float startX, startY;
  float endX, endY;    // the last record that is neither a start nor a layer change
  float box[4];        // minimum x, minimum y, maximum x, maximum y of types 10-12
  float middleY;
  float linkDistance;  // up to this gap the ordering may link into the contour
  uint8_t startMark;   // 251 start z rounds to -5, 252 to -4, else 0
};

struct TContourTable {
  int32_t current;
  TContourEntry entry;  // the current entry
  int16_t status;       // kContourPageMissing after asking for a page never stored
  TExtentsPair extents; // box of all contours' boxes
  TContourEntry* pages[kContourPages];
};

// Index 0, current entry zeroed, no pages (the caller zero-fills the table first).
void ResetContourTable(TContourTable& table);
void FreeContourTable(TContourTable& table);
// Stores the current entry into its page (allocating it) and loads entry n
// (allocating its page), when n is not already current.
void SelectContour(TContourTable& table, int32_t n);
// Makes n current and loads it; a page never stored leaves the entry and sets
// the status.
void LoadContour(TContourTable& table, int32_t n);
// Makes n current and stores the current entry there; a page never stored
// sets the status.
void StoreContourAt(TContourTable& table, int32_t n);
// Reads the whole open file (13-byte records) and lists its contours; last
// receives the highest entry index, -1 when none. A type-128 record with z
// above 0 gives the contours after it the link distance 1.1 z.
void BuildContourTable(plat::TPasFile& file, int32_t& last, TContourTable& table, float linkDistance);

// One step of the order: the entry written next and whether it is linked to
// the previous contour (else reached by a move).
struct TContourStep {
  int32_t entry;
  bool linked;
};
// Decides the order of the entries. tolerance is already scaled (1.1 times
// the link tolerance). useIndex finds the nearest start through a grid index
// instead of a scan over all entries; both give the same order.
void PlanNearestOrder(const std::vector<TContourEntry>& entries, const TVectorArray& obstacles, bool backward,
                      bool linkAlways, float tolerance, bool useIndex, std::vector<TContourStep>& steps);
// True when the segment (x1, y1)-(x2, y2) crosses a segment of the obstacle
// records (types 10 and 12 draw from the previous point, 11 starts anew).
bool LinkCrossesObstacles(const TVectorArray& obstacles, float x1, float y1, float x2, float y2);

// Appends the contours of source to target in nearest-first order, drawing
// them in colour, then erases source (also when it held nothing to order).
void OrderContoursByNearest(const std::string& source, const std::string& target, const TVectorArray& obstacles,
                            bool backward, bool linkAlways, int16_t colour, float tolerance);
// The same with the obstacles read from a vector file.
void SortContoursNearestFirst(const std::string& source, const std::string& target, const std::string& obstacleFile,
                              bool backward, bool linkAlways, int16_t colour, float tolerance);
