// Vector records, vector files and point files.
//
// Every drawing, selection, layer, tool path and output job is a headerless
// file of 13-byte vector records (TVectorRecord). Point files (".H2R",
// ".PLI") hold 9-byte point records: a vector record without z.
//
// TVectorRecord, 13 bytes, packed, little-endian:
//   OFFSET SIZE DESCRIPTION
//        0    1 type (TVectorRecordType)
//        1    4 x, float, millimetres unless the type says otherwise
//        5    4 y, float
//        9    4 z, float, or a 32-bit integer where the type says so
// TPointRecord, 9 bytes: type, x, y as above.
// TExtentsPair, 18 bytes: minimum corner (type 1), maximum corner (type 5)
// as point records; TVectorExtentsPair is the same as two vector records.
// TPointRecord and TExtentsPair are declared in frame/point_records.h: the
// parameter file keeps extents too.
//
// A tool path block is 12 header records (types 1, 5, 6, 7, 150-157), the
// path's records and a closing type-9 record (BuildToolHeaderBlock).
#pragma once

#include <cstdint>
#include <string>

#include "frame/point_records.h"

static_assert(sizeof(float) == 4, "records hold 4-byte floats");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "record files are little-endian; so must the host be");

// --- record types ------------------------------------------------------------
enum TVectorRecordType : uint8_t {
  kRecEmpty = 0,             // all zero
  kRecMinCorner = 1,         // extents minimum corner; in a path header z is an integer
  kRecMaxCorner = 5,         // extents maximum corner
  kRecPathFactor = 6,        // path header: x 1.0
  kRecPathLayer = 7,         // path header: x 1.0, z integer layer number
  kRecPathEnd = 9,           // closes a tool path block
  kRecLinePoint = 10,        // line to (x, y); z <= -10000: pen-up move
  kRecContourStart = 11,     // move to (x, y), begin a contour; z a contour mark
  kRec3DPoint = 12,          // line to (x, y, z)
  kRecArc = 13,              // arc from the current point: x radius, y start angle, z sweep
  kRecBezierControl1 = 14,   // first inner control point
  kRecBezierControl2 = 15,   // second inner control point
  kRecBezierEnd = 16,        // end point of the Bezier segment
  kRecSplineStartEnd = 17,   // opens / closes a spline chain
  kRecSplinePoint = 18,      // spline control point
  kRecArcCentre = 19,        // x, y centre; z direction (1 ccw, 0 cw) or signed sweep
  kRecEllipseRadii = 20,     // x, y radii of the following type-21 records
  kRecEllipticArc = 21,      // x start angle, y sweep angle
  kRecPassThrough = 22,      // carried unchanged
  kRecCurveListPoint = 25,   // control point of the curve builder
  kRecCurvePieceEnd = 26,    // end point of a curve piece
  kRecAltContourStart = 27,  // moves like 11 and begins a contour
  kRecLayer = 128,           // x: layer number for the following records
  kRecAngles = 131,          // x, y, z: three angles
  kRecPathLead = 132,        // optional first record of a path file
  kRecTool1 = 150,           // shank radius, tip radius, angle
  kRecToolColour = 151,      // ball radius, 0, z: 32-bit RGB
  kRecToolName1 = 152,       // name characters 1-10
  kRecToolName2 = 153,       // name characters 11-20
  kRecTool5 = 154,           // all zero
  kRecTool6 = 155,           // x 0..255, 0, Z feed
  kRecToolFeed = 156,        // XY feed, plunge depth, clearance height
  kRecTool8 = 157,           // spindle speed, tool life path, change station
};

// z of a line point that is reached by a move (the pen-up mark); any z at or
// below it counts.
constexpr float kPenUpZ = -10000.0f;

// --- disk records --------------------------------------------------------------
#pragma pack(push, 1)
struct TVectorRecord {
  uint8_t type;
  float x;
  float y;
  float z;
};
struct TVectorExtentsPair {
  TVectorRecord minCorner;  // type 1
  TVectorRecord maxCorner;  // type 5
};
#pragma pack(pop)
static_assert(sizeof(TVectorRecord) == 13);
static_assert(sizeof(TVectorExtentsPair) == 26);

// The extent the view last fitted; undo keeps it with the drawing.
extern TExtentsPair CurrentViewExtent;

constexpr uint32_t kVectorRecordSize = 13;
constexpr uint32_t kPointRecordSize = 9;
// Coordinates of the empty extents.
constexpr float kEmptyExtentsMin = 100000.0f;
constexpr float kEmptyExtentsMax = -100000.0f;

// A whole vector file held in memory.
struct TVectorArray {
  TVectorRecord* records = nullptr;
  int32_t count = 0;
  int32_t capacity = 0;
};

// The 13 records of a tool path block (12 header records and the end record).
struct TToolPathHeader {
  TVectorRecord records[13];
};
static_assert(sizeof(TToolPathHeader) == 13 * 13);

struct TToolRecord;

// --- single records --------------------------------------------------------------
void ZeroVectorRecord(TVectorRecord& record);
// The z field as a 32-bit integer (types whose z holds a count or a number).
int32_t GetRecordZInt(const TVectorRecord& record);
void SetRecordZInt(TVectorRecord& record, int32_t value);
// A line point with the pen-up mark: its point is reached by a move.
bool IsPenUpPoint(const TVectorRecord& record);
// Types whose x, y are a position in the drawing: 10, 11, 12, 14, 15, 16,
// 18, 19, 25, 26, 27.
bool IsPositionRecordType(uint8_t type);
// Applies x' = ax x + bx, y' = ay y + by to a record by the meaning of its
// type: positions move; an arc (13) keeps its shape (radius scaled by
// sqrt|ax ay|, start angle mapped, sweep reversed when the map mirrors); an
// arc centre (19) reverses its direction when mirrored; ellipse radii (20)
// scale and elliptic arcs (21) map their angles. Extents corners (1, 5),
// headers, tool, layer and angle records stay.
void MapRecordAxes(TVectorRecord& record, double ax, double bx, double ay, double by);
// Turns a record about (cx, cy) by angle (radians) by the meaning of its
// type: positions turn, an arc's start angle turns; everything else stays
// (an axis-parallel ellipse cannot turn and keeps its records).
void RotateRecordAbout(TVectorRecord& record, double cx, double cy, double angle);
// The tool name carried by a type-152 and a type-153 record: ten characters
// of each, cut at the first zero.
std::string JoinToolNameRecords(const TVectorRecord& name1, const TVectorRecord& name2);

// --- record arrays -------------------------------------------------------------
// Allocate count records (capacity = count); false when memory is short (the
// array is then empty).
bool AllocVectorBuffer(TVectorArray& array, int32_t count);
bool AllocRecordArray(TVectorArray& array, int32_t count);
void FreeVectorBuffer(TVectorArray& array);
void FreeRecordArray(TVectorArray& array);
// Whole file into memory (checked / quiet file access). A file that cannot
// be read whole, or whose size is not a whole number of records, leaves the
// array empty and sets error code 1011.
void LoadVectorFileToBuffer(const std::string& name, TVectorArray& array);
void LoadRecordArray(const std::string& name, TVectorArray& array);
// Rewrite the file with all records of the array.
void WriteVectorBufferToFile(const std::string& name, const TVectorArray& array);
void WriteRecordArrayToFile(const std::string& name, const TVectorArray& array);
// Append the records of the array at the file's end.
void AppendVectorBufferToFile(const std::string& name, const TVectorArray& array);
void AppendRecordArrayToFile(const std::string& name, const TVectorArray& array);

// --- files and conversions ---------------------------------------------------------
// 0 vector file (".LG1", ".TMP"), 1 point file (".H2R", ".PLI"), 2 other.
int GetRecordFileKind(const std::string& name);
// Record count of a file of 13-byte records, without messages (0 when missing).
int32_t CountVectorRecordsQuiet(const std::string& name);
// Block-wise conversion; append adds to the target's end, otherwise the
// target is written new.
void ConvertPointFileToVectorFile(const std::string& source, const std::string& target, bool append);
void ConvertVectorFileToPointFile(const std::string& source, const std::string& target, bool append);
// Copies by the kinds of both names (converting between vector and point
// records, bytes for equal kinds); overwrite 0 appends. A name of kind 2
// sets QuietIoError to 1 and copies nothing.
void CopyFileConvertingRecords(const std::string& source, const std::string& target, int overwrite);

// --- extents ----------------------------------------------------------------------
void ClearPointExtents(TExtentsPair& pair);
void ClearVectorExtents(TVectorExtentsPair& pair);
void GrowExtents(TExtentsPair& pair, float margin);
void MergeExtents(const TExtentsPair& a, const TExtentsPair& b, TExtentsPair& out);
// Extents of the x, y of every record of types 10 to 12 (whole file loaded).
void ComputeFileExtents(const std::string& name, TExtentsPair& pair);
// 1 when a record of types 10 to 12 lies outside the pair (bounds inclusive).
int AnyPointOutsideExtents(const std::string& name, const TExtentsPair& pair);

// --- record helpers ---------------------------------------------------------------
void ClearVectorRecord(TVectorRecord& record);
void ResetVectorExtents(TVectorExtentsPair& pair);
void ResetPointExtents(TExtentsPair& pair);
void PointToVectorRecord(TVectorRecord& vector, const TPointRecord& point);

// --- tool path header -------------------------------------------------------------
// The 13 records of a tool path block for layer n with the caller's number v.
void BuildToolHeaderBlock(int32_t layer, const TToolRecord& tool, TToolPathHeader& out, float v);
// True when the header sequence 1, 5, 6, 7, 150, 151, 152 begins at one of
// the first five positions (after a leading type-132 record) of the file.
bool IsToolPathFile(const std::string& name);
