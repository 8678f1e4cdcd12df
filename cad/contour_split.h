// Splitting contours at their crossings.
//
// SplitContoursAtCrossings rewrites a vector file so that every contour is
// cut wherever two of its segments, or segments of two contours, cross: the
// contour gets a point there and then a new start record. The work is done
// in memory: tiny segments are cleaned away, the crossings are found cell by
// cell on a grid over the extents, and the file is written again with the
// crossings inserted.
//
// Errors go to QuietIoError: 1101 when more crossings than kMaxSplitCrossings
// are found, 1 when the user stops with Esc. A run that stops early leaves
// the target as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

// One segment end gathered for a cell: the array index of the record that
// ends the segment, 11 opening a chain or 10 continuing it, and the point.
struct TCellEntry {
  int32_t index = 0;
  uint8_t type = 0;
  float x = 0, y = 0, z = 0;
};

// A crossing of the segments ending at records first and second.
struct TSegmentCrossing {
  int32_t first = 0;
  int32_t second = 0;
  TVectorRecord point{};
};

void SplitContoursAtCrossings(const std::string& source, const std::string& target);
// status 3 when QuietIoError is positive afterwards, else 0.
void SplitContoursAtCrossingsWithStatus(const std::string& source, const std::string& target, uint8_t& status);
// Drops points closer than tolerance to the record kept before them, starts
// without points, records other than 10, 11, 12 (and everything before the
// first of those) and records whose x or y is not a finite number; gives the
// extents of what remains.
void CleanContourRecords(TVectorArray& array, TExtentsPair& extents, float tolerance);
// Fills the crossing list; the counted crossings are crossings.size().
void FindAllCrossings(TVectorArray& array, std::vector<TSegmentCrossing>& crossings, const TExtentsPair& extents);
// Lists the segments that touch the cell (x, y)-(x + w, y + h).
void GatherCellSegments(TVectorArray& array, std::vector<TCellEntry>& cell, double x, double y, double w, double h);
// Adds the crossings among the cell's segments to the list.
void FindCellCrossings(const std::vector<TCellEntry>& cell, const TVectorArray& array,
                       std::vector<TSegmentCrossing>& crossings);
// Writes the target with the crossings inserted.
void WriteContoursSplitAtCrossings(const std::string& target, const TVectorArray& array,
                                   const std::vector<TSegmentCrossing>& crossings);

// Command 59: undo snapshot of the current layer and the store, the store
// split in place, mark mode. A run that stops early says why and leaves the
// store as it was.
void RunSplitAtCrossingsCommand();
