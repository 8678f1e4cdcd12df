// Nearest-record searches.
//
// The point, record, contour or tool path block nearest to a query point, in
// one vector file or over all layers, and two take operations built on them:
// moving the contour whose end is nearest into another file, and taking a
// whole tool path block out of a path file.
//
// Vertex candidates: records of types 10, 11, 12, 18; a contour start counts
// 0.0002 mm farther unless flag 4 is given. Segment candidates: records of
// types 10, 12, 18, measured from the previous record's point (any type; the
// first segment starts at the origin). Ties keep the earlier record. Record
// indices count from 0; a result of type 0 means nothing was found.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

constexpr double kFileSearchStart = 10000.0;  // mm: practically unlimited

// Flags of the searches.
constexpr int kNearestSegment = 1;   // nearest segment (the result is its end record)
constexpr int kNearestMark = 2;      // a square mark at the result
constexpr int kNearestNoPenalty = 4; // contour starts count at their distance
constexpr int kNearestVisibleLayers = 8;  // layer searches: visible drawing layers
constexpr int kNearestToolLayers = 16;    // layer searches: every tool layer file

void FindNearestVectorPoint(const std::string& file, TPointRecord& point, int32_t& index, int flags);
void FindNearestRecordInFile(const std::string& file, TVectorRecord& record, int32_t& index, int flags);
void FindNearestPointInLayers(TPointRecord& point, int flags);
void FindNearestRecordInLayers(TVectorRecord& record, int flags);
// Nearest segment from 10000 mm; index -1 when none.
void FindNearestSegmentInFile(const std::string& file, const TPointRecord& point, int32_t& index, double& distance);
// The contour whose start or end point is nearest (|dx| + |dy| strictly
// below the tolerance) goes into the target file (created new); type is 11
// when its start won, else the end record's type (0: nothing found). Flag 4
// removes it from the source. The tolerance becomes the winning distance.
void MoveContourNearestEnd(const std::string& source, const std::string& target, const TPointRecord& point,
                           uint8_t& type, int flags, double& tolerance);
// The tool path block with the segment nearest to the point (20 pixels):
// its 12 header records into header, its path records into the target file
// (created new). Flags 2 draw (colour 12), 8 draw in the background colour,
// 4 remove the whole block from the source.
void TakePathBlockAtPoint(const std::string& target, const std::string& source, const TPointRecord& point,
                          TToolPathHeader& header, uint8_t& found, int flags);
