// Vector records, vector files and point files.
#include "model/vector_records.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/math_constants.h"
#include "frame/quiet_files.h"

TExtentsPair CurrentViewExtent = {{1, 0.0f, 0.0f}, {5, 1.0f, 1.0f}};

namespace {

// Packed record fields are passed by value (never bound to references).
float Lesser(float a, float b) { return b < a ? b : a; }
float Greater(float a, float b) { return b > a ? b : a; }

constexpr int32_t kConvertBlockRecords = 2000;  // 26013 / 18009-byte buffers hold 2001

double NormaliseAngle(double angle) {
  double a = std::fmod(angle, kTwoPi);
  if (a < 0.0) a += kTwoPi;
  return a;
}

std::string UpperExtension(const std::string& name) {
  std::string extension;
  ExtractFileNamePart(name, 'E', extension);
  for (char& c : extension)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return extension;
}

// Record counts and file lengths are checked before the records are trusted.
bool OpenWholeRecordFile(plat::TPasFile& file, const std::string& name, bool quiet, int32_t& count) {
  count = 0;
  if (quiet) {
    if (!FileExistsPlain(name)) return false;
    plat::Assign(file, name);
    ResetFileQuiet(file, kVectorRecordSize, 0);
    if (file.state < plat::kFileInput) return false;
    count = static_cast<int32_t>(std::min<int64_t>(plat::FileSize(file), INT32_MAX));
  } else {
    AssignFileChecked(file, name);
    ResetFileChecked(file, kVectorRecordSize, 0);
    if (file.state < plat::kFileInput) return false;
    count = GetFileSizeChecked(file);
  }
  return true;
}

void LoadWholeFile(const std::string& name, TVectorArray& array, bool quiet) {
  FreeVectorBuffer(array);
  plat::TPasFile file;
  int32_t count = 0;
  if (!OpenWholeRecordFile(file, name, quiet, count)) return;
  const bool whole = CheckRecordFileLength(name, kVectorRecordSize, !quiet);
  if (whole && count > 0 && AllocVectorBuffer(array, count)) {
    int32_t read = 0;
    if (quiet) {
      uint32_t done = 0;
      BlockReadQuiet(file, array.records, static_cast<uint32_t>(count), done);
      read = static_cast<int32_t>(done);
    } else {
      read = ReadBlockLongChecked(file, array.records, count);
    }
    if (read != count) {
      FreeVectorBuffer(array);  // never a partly filled array
      ErrorCode = 1011;
    }
  }
  if (quiet) CloseFileQuiet(file);
  else CloseFileChecked(file);
}

void WriteWholeFile(const std::string& name, const TVectorArray& array, bool quiet, bool append) {
  plat::TPasFile file;
  const int32_t count = array.records != nullptr ? std::max(array.count, 0) : 0;
  if (quiet) {
    plat::Assign(file, name);
    if (append) ResetFileQuiet(file, kVectorRecordSize, 2);
    else RewriteFileQuiet(file, kVectorRecordSize);
  } else {
    AssignFileChecked(file, name);
    if (append) ResetFileChecked(file, kVectorRecordSize, 2);
    else RewriteFileChecked(file, kVectorRecordSize);
  }
  if (file.state < plat::kFileInput) return;
  if (append) plat::Seek(file, plat::FileSize(file));
  if (count > 0) {
    if (quiet) {
      uint32_t done = 0;
      BlockWriteQuiet(file, array.records, static_cast<uint32_t>(count), done);
    } else {
      WriteBlockLongChecked(file, array.records, count);
    }
  }
  if (append) plat::Truncate(file);
  if (quiet) CloseFileQuiet(file);
  else CloseFileChecked(file);
}

// Block-wise conversion between the record sizes (13 -> 9 drops z, 9 -> 13 sets z 0).
void ConvertRecordFile(const std::string& source, const std::string& target, bool append, uint32_t fromSize,
                       uint32_t toSize) {
  if (!FileExistsPlain(source)) return;
  plat::TPasFile in, out;
  plat::Assign(in, source);
  ResetFileQuiet(in, fromSize, 0);
  if (in.state < plat::kFileInput) return;
  CheckRecordFileLength(source, fromSize, false);
  // Ends at the source's length as found now (a target that is the source
  // cannot make the copy endless).
  int64_t remaining = plat::FileSize(in);
  plat::Assign(out, target);
  if (append) {
    ResetFileQuiet(out, toSize, 2);
    if (out.state >= plat::kFileInput) plat::Seek(out, plat::FileSize(out));
  } else {
    RewriteFileQuiet(out, toSize);
  }
  if (out.state < plat::kFileInput) {
    CloseFileQuiet(in);
    return;
  }
  std::vector<uint8_t> from(static_cast<size_t>(kConvertBlockRecords + 1) * fromSize);
  std::vector<uint8_t> to(static_cast<size_t>(kConvertBlockRecords + 1) * toSize, 0);
  for (;;) {
    const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(kConvertBlockRecords, remaining));
    uint32_t read = 0, written = 0;
    if (want > 0) BlockReadQuiet(in, from.data(), want, read);
    for (uint32_t i = 0; i < read; ++i) {
      TVectorRecord record{};
      std::memcpy(&record, &from[i * fromSize], fromSize);
      std::memcpy(&to[i * toSize], &record, toSize);
    }
    if (read > 0) BlockWriteQuiet(out, to.data(), read, written);
    remaining -= read;
    if (read < static_cast<uint32_t>(kConvertBlockRecords) || written != read || remaining <= 0) break;
  }
  CloseFileQuiet(out);
  CloseFileQuiet(in);
}

void WidenExtents(TExtentsPair& pair, float x, float y) {
  pair.minCorner.x = Lesser(pair.minCorner.x, x);
  pair.minCorner.y = Lesser(pair.minCorner.y, y);
  pair.maxCorner.x = Greater(pair.maxCorner.x, x);
  pair.maxCorner.y = Greater(pair.maxCorner.y, y);
}

bool IsPointType10To12(uint8_t type) { return type >= kRecLinePoint && type <= kRec3DPoint; }

// Fills bytes 1-12 of a name record: length 11, ten characters, a zero.
void PutToolNamePart(TVectorRecord& record, const std::string& padded, size_t first) {
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&record);
  bytes[1] = 11;
  for (size_t i = 0; i < 11; ++i) bytes[2 + i] = static_cast<uint8_t>(padded[first + i]);
  bytes[12] = 0;
}

}  // namespace

// --- single records -------------------------------------------------------------------

void ZeroVectorRecord(TVectorRecord& record) { std::memset(&record, 0, sizeof record); }

int32_t GetRecordZInt(const TVectorRecord& record) {
  int32_t value;
  std::memcpy(&value, &record.z, 4);
  return value;
}

void SetRecordZInt(TVectorRecord& record, int32_t value) { std::memcpy(&record.z, &value, 4); }

bool IsPenUpPoint(const TVectorRecord& record) { return record.type == kRecLinePoint && record.z <= kPenUpZ; }

std::string JoinToolNameRecords(const TVectorRecord& name1, const TVectorRecord& name2) {
  std::string name;
  for (const TVectorRecord* record : {&name1, &name2}) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(record);
    for (int i = 0; i < 10; ++i) name.push_back(static_cast<char>(bytes[2 + i]));
  }
  const size_t zero = name.find('\0');
  return zero == std::string::npos ? name : name.substr(0, zero);
}

bool IsPositionRecordType(uint8_t type) {
  switch (type) {
    case kRecLinePoint: case kRecContourStart: case kRec3DPoint: case kRecBezierControl1:
    case kRecBezierControl2: case kRecBezierEnd: case kRecSplinePoint: case kRecArcCentre:
    case kRecCurveListPoint: case kRecCurvePieceEnd: case kRecAltContourStart:
      return true;
    default:
      return false;
  }
}

void MapRecordAxes(TVectorRecord& record, double ax, double bx, double ay, double by) {
  const bool mirrors = ax * ay < 0.0;
  if (IsPositionRecordType(record.type)) {
    record.x = static_cast<float>(ax * record.x + bx);
    record.y = static_cast<float>(ay * record.y + by);
    if (record.type == kRecArcCentre && mirrors) {
      // Direction form (1 counter-clockwise, 0 clockwise) or a signed sweep.
      if (record.z == 1.0f) record.z = 0.0f;
      else if (record.z == 0.0f) record.z = 1.0f;
      else record.z = -record.z;
    }
    return;
  }
  switch (record.type) {
    case kRecArc: {
      const double start = record.y;
      record.x = static_cast<float>(record.x * std::sqrt(std::fabs(ax * ay)));
      record.y = static_cast<float>(NormaliseAngle(std::atan2(ay * std::sin(start), ax * std::cos(start))));
      if (mirrors) record.z = -record.z;
      break;
    }
    case kRecEllipseRadii:
      record.x = static_cast<float>(record.x * std::fabs(ax));
      record.y = static_cast<float>(record.y * std::fabs(ay));
      break;
    case kRecEllipticArc: {
      const double start = record.x;
      const double sx = ax < 0.0 ? -1.0 : 1.0, sy = ay < 0.0 ? -1.0 : 1.0;
      record.x = static_cast<float>(NormaliseAngle(std::atan2(sy * std::sin(start), sx * std::cos(start))));
      if (mirrors) record.y = -record.y;
      break;
    }
    default:
      break;
  }
}

void RotateRecordAbout(TVectorRecord& record, double cx, double cy, double angle) {
  if (IsPositionRecordType(record.type)) {
    const double dx = record.x - cx, dy = record.y - cy;
    const double r = std::hypot(dx, dy);
    const double a = std::atan2(dy, dx) + angle;
    record.x = static_cast<float>(cx + r * std::cos(a));
    record.y = static_cast<float>(cy + r * std::sin(a));
  } else if (record.type == kRecArc) {
    record.y = static_cast<float>(NormaliseAngle(record.y + angle));
  }
}

// --- record arrays ---------------------------------------------------------------------------

bool AllocVectorBuffer(TVectorArray& array, int32_t count) {
  FreeVectorBuffer(array);
  if (count <= 0) return count == 0;
  array.records = new (std::nothrow) TVectorRecord[static_cast<size_t>(count)];
  if (array.records == nullptr) return false;
  array.count = count;
  array.capacity = count;
  return true;
}

bool AllocRecordArray(TVectorArray& array, int32_t count) { return AllocVectorBuffer(array, count); }

void FreeVectorBuffer(TVectorArray& array) {
  delete[] array.records;
  array.records = nullptr;
  array.count = 0;
  array.capacity = 0;
}

void FreeRecordArray(TVectorArray& array) { FreeVectorBuffer(array); }

void LoadVectorFileToBuffer(const std::string& name, TVectorArray& array) { LoadWholeFile(name, array, false); }
void LoadRecordArray(const std::string& name, TVectorArray& array) { LoadWholeFile(name, array, true); }

void WriteVectorBufferToFile(const std::string& name, const TVectorArray& array) {
  WriteWholeFile(name, array, false, false);
}
void WriteRecordArrayToFile(const std::string& name, const TVectorArray& array) {
  WriteWholeFile(name, array, true, false);
}
void AppendVectorBufferToFile(const std::string& name, const TVectorArray& array) {
  WriteWholeFile(name, array, false, true);
}
void AppendRecordArrayToFile(const std::string& name, const TVectorArray& array) {
  WriteWholeFile(name, array, true, true);
}

// --- files and conversions -----------------------------------------------------------------------

int GetRecordFileKind(const std::string& name) {
  const std::string extension = UpperExtension(name);
  if (extension == ".LG1" || extension == ".TMP") return 0;
  if (extension == ".H2R" || extension == ".PLI") return 1;
  return 2;
}

int32_t CountVectorRecordsQuiet(const std::string& name) {
  if (!FileExistsPlain(name)) return 0;
  plat::TPasFile file;
  plat::Assign(file, name);
  ResetFileQuiet(file, kVectorRecordSize, 0);
  if (file.state < plat::kFileInput) return 0;
  const int64_t count = plat::FileSize(file);
  CloseFileQuiet(file);
  return static_cast<int32_t>(std::clamp<int64_t>(count, 0, INT32_MAX));
}

void ConvertPointFileToVectorFile(const std::string& source, const std::string& target, bool append) {
  ConvertRecordFile(source, target, append, kPointRecordSize, kVectorRecordSize);
}

void ConvertVectorFileToPointFile(const std::string& source, const std::string& target, bool append) {
  ConvertRecordFile(source, target, append, kVectorRecordSize, kPointRecordSize);
}

void CopyFileConvertingRecords(const std::string& source, const std::string& target, int overwrite) {
  const int sourceKind = GetRecordFileKind(source);
  const int targetKind = GetRecordFileKind(target);
  const bool append = overwrite == 0;
  if (sourceKind == 2 || targetKind == 2) {
    QuietIoError = 1;
    return;
  }
  if (sourceKind == 0 && targetKind == 1) ConvertVectorFileToPointFile(source, target, append);
  else if (sourceKind == 1 && targetKind == 0) ConvertPointFileToVectorFile(source, target, append);
  else CopyFileBytes(source, target, append);
}

// --- extents ---------------------------------------------------------------------------------------

void ClearPointExtents(TExtentsPair& pair) {
  pair.minCorner = TPointRecord{kRecMinCorner, kEmptyExtentsMin, kEmptyExtentsMin};
  pair.maxCorner = TPointRecord{kRecMaxCorner, kEmptyExtentsMax, kEmptyExtentsMax};
}

void ClearVectorExtents(TVectorExtentsPair& pair) {
  pair.minCorner = TVectorRecord{kRecMinCorner, kEmptyExtentsMin, kEmptyExtentsMin, 0.0f};
  pair.maxCorner = TVectorRecord{kRecMaxCorner, kEmptyExtentsMax, kEmptyExtentsMax, 0.0f};
}

void GrowExtents(TExtentsPair& pair, float margin) {
  pair.minCorner.x -= margin;
  pair.minCorner.y -= margin;
  pair.maxCorner.x += margin;
  pair.maxCorner.y += margin;
}

void MergeExtents(const TExtentsPair& a, const TExtentsPair& b, TExtentsPair& out) {
  TExtentsPair merged;
  merged.minCorner = TPointRecord{kRecMinCorner, Lesser(a.minCorner.x, b.minCorner.x),
                                  Lesser(a.minCorner.y, b.minCorner.y)};
  merged.maxCorner = TPointRecord{kRecMaxCorner, Greater(a.maxCorner.x, b.maxCorner.x),
                                  Greater(a.maxCorner.y, b.maxCorner.y)};
  out = merged;
}

void ComputeFileExtents(const std::string& name, TExtentsPair& pair) {
  ClearPointExtents(pair);
  TVectorArray array;
  LoadVectorFileToBuffer(name, array);
  for (int32_t i = 0; i < array.count; ++i)
    if (IsPointType10To12(array.records[i].type)) WidenExtents(pair, array.records[i].x, array.records[i].y);
  FreeVectorBuffer(array);
}

int AnyPointOutsideExtents(const std::string& name, const TExtentsPair& pair) {
  TVectorArray array;
  LoadVectorFileToBuffer(name, array);
  int outside = 0;
  for (int32_t i = 0; i < array.count && outside == 0; ++i) {
    const TVectorRecord& r = array.records[i];
    if (!IsPointType10To12(r.type)) continue;
    if (r.x < pair.minCorner.x || r.x > pair.maxCorner.x || r.y < pair.minCorner.y || r.y > pair.maxCorner.y)
      outside = 1;
  }
  FreeVectorBuffer(array);
  return outside;
}

// --- record helpers -------------------------------------------------------------------

void ClearVectorRecord(TVectorRecord& record) { ZeroVectorRecord(record); }
void ResetVectorExtents(TVectorExtentsPair& pair) { ClearVectorExtents(pair); }
void ResetPointExtents(TExtentsPair& pair) { ClearPointExtents(pair); }

void PointToVectorRecord(TVectorRecord& vector, const TPointRecord& point) {
  vector.type = point.type;
  vector.x = point.x;
  vector.y = point.y;
  vector.z = 0.0f;
}

// --- tool path header ---------------------------------------------------------------------------------

void BuildToolHeaderBlock(int32_t layer, const TToolRecord& tool, TToolPathHeader& out, float v) {
  TVectorRecord* r = out.records;
  for (TVectorRecord& record : out.records) ZeroVectorRecord(record);
  r[0].type = kRecMinCorner;
  SetRecordZInt(r[0], 1);
  r[1].type = kRecMaxCorner;
  r[2] = TVectorRecord{kRecPathFactor, 1.0f, 0.0f, 0.0f};
  r[3] = TVectorRecord{kRecPathLayer, 1.0f, 0.0f, 0.0f};
  SetRecordZInt(r[3], layer);
  r[4] = TVectorRecord{kRecTool1, tool.shankRadius, tool.tipRadius, tool.angle};
  r[5] = TVectorRecord{kRecToolColour, tool.ballRadius, 0.0f, 0.0f};
  SetRecordZInt(r[5], static_cast<int32_t>(GetColorNumberRgb(tool.colorNumber)));
  // The name, padded with blanks: characters 1-10 and 11-20.
  const size_t length = std::min<size_t>(tool.name[0], kToolNameMax);
  const std::string padded = std::string(reinterpret_cast<const char*>(&tool.name[1]), length) + std::string(22, ' ');
  r[6].type = kRecToolName1;
  PutToolNamePart(r[6], padded, 0);
  r[7].type = kRecToolName2;
  PutToolNamePart(r[7], padded, 10);
  r[8].type = kRecTool5;
  r[9] = TVectorRecord{kRecTool6, v, 0.0f, tool.feedZ};
  r[10] = TVectorRecord{kRecToolFeed, tool.feedXY, tool.plungeDepth, tool.clearanceHeight};
  r[11] = TVectorRecord{kRecTool8, tool.spindleSpeed, tool.toolLifePath, static_cast<float>(tool.changeStation)};
  r[12].type = kRecPathEnd;
}

bool IsToolPathFile(const std::string& name) {
  static const uint8_t kHeaderTypes[7] = {kRecMinCorner, kRecMaxCorner, kRecPathFactor, kRecPathLayer,
                                          kRecTool1,     kRecToolColour, kRecToolName1};
  if (!FileExistsPlain(name)) return false;
  plat::TPasFile file;
  plat::Assign(file, name);
  ResetFileQuiet(file, kVectorRecordSize, 0);
  if (file.state < plat::kFileInput) return false;
  TVectorRecord records[12];
  uint32_t read = 0;
  BlockReadQuiet(file, records, 12, read);
  CloseFileQuiet(file);
  const uint32_t first = (read > 0 && records[0].type == kRecPathLead) ? 1 : 0;
  for (uint32_t start = first; start < first + 5; ++start) {
    if (start + 7 > read) break;
    bool match = true;
    for (uint32_t k = 0; k < 7 && match; ++k) match = records[start + k].type == kHeaderTypes[k];
    if (match) return true;
  }
  return false;
}
