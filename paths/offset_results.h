// Offset work files and the result writer.
//
// The offset engine (OffsetContourFile, paths/contour_offset.h) runs at a
// computing distance c slightly larger than the wanted distance b and leaves
// its result in three work files in double precision. WriteOffsetResultFiles
// turns them into an ordinary vector file: it follows the traced chain of
// each segment and, where the chain lies farther from the contour than b,
// replaces it by the exact offset line of the segment at b.
//
// TOffsetRecord, 25 bytes, packed, little-endian:
//   OFFSET SIZE DESCRIPTION
//        0    1 type: 10 line point, 11 contour start (or end marker)
//        1    8 x, double, millimetres
//        9    8 y, double
//       17    8 value, double: distance from the contour / c (0 in "VekAR7.TMP")
//
// "VekAR7.TMP" (TOffsetRecord, headerless): the prepared contours. Per
//   contour its vertices: the first as type 11, the others type 10, the first
//   not repeated; value 0. After the last contour one end marker of type 11
//   with x, y, value 0. Segment k runs from vertex k to vertex k + 1, the last
//   back to vertex 0. The record number of a segment's start vertex is its
//   global segment number.
// "VekAR6.TMP" (TOffsetRecord, headerless): the chain points in segment
//   order. Per contour the first point as type 11, the others type 10 and at
//   the end the first point again as type 10. After the last contour one end
//   marker of type 11 repeating the first point of the last contour.
// "VekAR5.TMP" (int32, headerless): per segment of "VekAR7.TMP" (contour by
//   contour, segment by segment) the number of "VekAR6.TMP" records written
//   before that segment's chain; then one final entry with the total. The
//   closing point of a contour belongs to its last segment, the end marker to
//   the last segment of the last contour.
// "VekAR3.TMP": the engine's grid overflow file, created and erased inside
//   one OffsetContourFile call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record_stream.h"

#pragma pack(push, 1)
struct TOffsetRecord {
  uint8_t type;
  double x;
  double y;
  double value;
};
#pragma pack(pop)
static_assert(sizeof(TOffsetRecord) == 25);

constexpr uint8_t kOffsetLinePoint = 10;
constexpr uint8_t kOffsetContourStart = 11;
constexpr uint32_t kOffsetRecordSize = 25;
constexpr uint32_t kOffsetIndexEntrySize = 4;

// Work file names (the program folder).
extern const char* const kOffsetIndexFile;     // "VekAR5.TMP"
extern const char* const kOffsetChainFile;     // "VekAR6.TMP"
extern const char* const kOffsetContourFile;   // "VekAR7.TMP"
extern const char* const kOffsetOverflowFile;  // "VekAR3.TMP"
extern const char* const kReducedPointsFile;   // "VekAR9.TMP"
// Records every work file is read and written in.
constexpr int kOffsetFileBlock = 1024;
// Chain points of one segment the writer holds.
constexpr int kMaxSegmentChainPoints = 32766;

// Point spacing of the second output by index: 1 0.002, 2 0.0025, 3 0.001,
// 4 0.0005, 5 0.0002 mm; other indices give 0.002.
double GetOffsetPointSpacing(int16_t spacingIndex);

// The result writer. side: the side given to OffsetContourFile (0 left of the
// direction of travel, 1 right); c: the engine's computing distance; b: the
// wanted distance of the main output; a: distance of the second output, 0 for
// none (the main output is then created and stays empty); piecesOnly 1 writes
// only the pieces on the offset line; colour < 0 draws nothing. Sets no error
// code of its own and leaves ErrorCode alone; file failures go to the quiet
// error word, and a missing or malformed work file gives an empty or short
// output.
void WriteOffsetResultFiles(const std::string& secondName, const std::string& mainName, uint8_t side, float c,
                            float b, float a, uint8_t piecesOnly, int16_t colour, int16_t spacingIndex);
// Corner pieces at distance a into "VekAR1.Eck", then chained into
// "VekAR12.TMP" with gap a. ErrorCode is 0 after the writer, whatever the
// joiner then reports.
void WriteOffsetCornerFile(uint8_t side, int16_t colour, int16_t spacingIndex, float c, float b, float a);
// The pieces on the offset line at b into "VekAR2.TMP", chained into target
// with gap b (joiner errors: 100 fewer than 4 records, 102 a piece left).
void WriteJoinedOffsetPath(const std::string& name, const std::string& target, uint8_t side, float c, float b,
                           uint8_t flag, int16_t colour);

// --- work file access (checked sizes; for the writer, tests and tools) -----------------
// Whole file of offset records; false (out empty) when missing, unreadable
// or not a whole number of records.
bool LoadOffsetRecordFile(const std::string& name, std::vector<TOffsetRecord>& out);
bool LoadOffsetIndexFile(const std::string& name, std::vector<int32_t>& out);
// Writes the records (or entries) as a new file; false on a file failure.
bool SaveOffsetRecordFile(const std::string& name, const std::vector<TOffsetRecord>& records);
bool SaveOffsetIndexFile(const std::string& name, const std::vector<int32_t>& entries);

// Buffered sequential writer of a work file (1024 records per block), for
// the engine. Open creates the file; Close flushes; failures set the quiet
// error word and make ok false, further writes are ignored.
struct TOffsetFileWriter {
  void* file = nullptr;  // plat::TPasFile, owned
  TRecordFileWriter out;
  bool ok = false;
};
bool OpenOffsetFileWriter(TOffsetFileWriter& writer, const std::string& name, uint32_t recordSize);
void PutOffsetRecord(TOffsetFileWriter& writer, const TOffsetRecord& record);
void PutOffsetIndexEntry(TOffsetFileWriter& writer, int32_t entry);
void CloseOffsetFileWriter(TOffsetFileWriter& writer);
