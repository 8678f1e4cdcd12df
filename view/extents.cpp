// Extents and content tests of drawings.
#include "view/extents.h"

#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "model/text_job.h"

namespace {
constexpr int32_t kBlock = kSlotBlockRecords;

// Record fields are packed: they are read and written by value.
void Widen(float v, TVectorRecord& lo, TVectorRecord& hi, int axis) {
  float l = axis == 0 ? lo.x : axis == 1 ? lo.y : lo.z;
  float h = axis == 0 ? hi.x : axis == 1 ? hi.y : hi.z;
  if (!(v >= l)) l = v;
  if (v > h) h = v;
  if (axis == 0) lo.x = l, hi.x = h;
  else if (axis == 1) lo.y = l, hi.y = h;
  else lo.z = l, hi.z = h;
}

void CountRecord3D(const TVectorRecord& r, TVectorExtentsPair& e) {
  switch (r.type) {
    case kRecLinePoint: case kRecContourStart: case kRecSplineStartEnd: case kRecSplinePoint:
      Widen(r.x, e.minCorner, e.maxCorner, 0);
      Widen(r.y, e.minCorner, e.maxCorner, 1);
      break;
    case kRec3DPoint:
      Widen(r.x, e.minCorner, e.maxCorner, 0);
      Widen(r.y, e.minCorner, e.maxCorner, 1);
      Widen(r.z, e.minCorner, e.maxCorner, 2);
      break;
    case kRecToolFeed:
      if (r.y > e.maxCorner.z) e.maxCorner.z = r.y;
      break;
    default: break;
  }
}

void WidenXY(TExtentsPair& e, float x, float y) {
  if (!(x >= e.minCorner.x)) e.minCorner.x = x;
  if (x > e.maxCorner.x) e.maxCorner.x = x;
  if (!(y >= e.minCorner.y)) e.minCorner.y = y;
  if (y > e.maxCorner.y) e.maxCorner.y = y;
}

void CopyCorners(const TVectorExtentsPair& e3, TExtentsPair& e2) {
  e2.minCorner = TPointRecord{e3.minCorner.type, e3.minCorner.x, e3.minCorner.y};
  e2.maxCorner = TPointRecord{e3.maxCorner.type, e3.maxCorner.x, e3.maxCorner.y};
}

bool FileOrRamSlotExists(const std::string& name) {
  return !name.empty() && (FindRamFileSlot(name) != 0 || TestPlainFileExists(name));
}

// Reads a file of 13-byte records in blocks through a typed file; false
// when it could not be opened. A trailing part of a record is not read.
template <typename TFn>
bool ForEachRecord(const std::string& name, TFn fn) {
  if (name.empty() || !TestPlainFileExists(name)) return false;
  TFileRec f;
  AssignFileChecked(f, name);
  if (f.state == plat::kFileUnassigned) return false;
  ResetFileChecked(f, kVectorRecordSize, 0);
  if (f.state < plat::kFileInput) return false;
  std::vector<TVectorRecord> block(static_cast<size_t>(kBufferRecords));
  for (;;) {
    const int32_t n = ReadBlockLongChecked(f, block.data(), kBlock);
    for (int32_t i = 0; i < n; ++i) fn(block[size_t(i)]);
    if (n < kBlock) break;
  }
  CloseFileChecked(f);
  return true;
}

void ScanSlot(int slot, TVectorExtentsPair& out, TRecordBuffer& buffer) {
  if (buffer.bytes.size() < kVectorBufferBytes) buffer.bytes.resize(kVectorBufferBytes);
  for (;;) {
    int32_t n = 0;
    ReadDataFileSlot(slot, buffer, kBlock, n);
    for (int32_t i = 0; i < n; ++i) {
      TVectorRecord r;
      std::memcpy(&r, buffer.bytes.data() + size_t(i) * kVectorRecordSize, sizeof r);
      CountRecord3D(r, out);
    }
    if (n <= kBlock - 1) break;
  }
}

void ScanExtent3D(const std::string& name, bool useHead, bool fullScan, TVectorExtentsPair& out,
                  TRecordBuffer& buffer) {
  std::memset(&out, 0, sizeof out);
  if (!FileOrRamSlotExists(name)) return;
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 0);
  if (slot == 0) return;
  if (buffer.bytes.size() < kVectorBufferBytes) buffer.bytes.resize(kVectorBufferBytes);
  int32_t n = 0;
  ReadDataFileSlot(slot, buffer, 2, n);
  if (n <= 0) {
    CloseDataFileSlot(slot);
    return;
  }
  TVectorRecord first[2];
  std::memcpy(first, buffer.bytes.data(), sizeof first);
  const bool head = n == 2 && first[0].type == kRecMinCorner && first[1].type == kRecMaxCorner;
  if (useHead && head && !fullScan) {
    out.minCorner = first[0];
    out.maxCorner = first[1];
    CloseDataFileSlot(slot);
    return;
  }
  if (!(useHead && head)) SeekDataFileSlot(slot, 0);
  ResetVectorExtents(out);
  ScanSlot(slot, out, buffer);
  CloseDataFileSlot(slot);
}

std::string LayerNameOfKind(int kind, int n) {
  switch (kind) {
    case 0: return BuildLayerFileName(n);
    case 1: return BuildWLayerFileName(n);
    case 2: return BuildPLayerFileName(n);
    default: return std::string();
  }
}
}  // namespace

void ScanVectorFileExtent3D(const std::string& name, bool fullScan, TVectorExtentsPair& out, TRecordBuffer& buffer) {
  ScanExtent3D(name, true, fullScan, out, buffer);
}

void ScanVectorFileExtent3DFull(const std::string& name, TVectorExtentsPair& out, TRecordBuffer& buffer) {
  ScanExtent3D(name, false, true, out, buffer);
  // A file without records keeps the zero extent; any record resets it.
}

void GetVectorFileExtent(const std::string& name, bool fullScan, TExtentsPair& out, TRecordBuffer& buffer) {
  TVectorExtentsPair e;
  ScanVectorFileExtent3D(name, fullScan, e, buffer);
  CopyCorners(e, out);
}

void GetVectorFileExtentOwnBuffer(const std::string& name, bool fullScan, TExtentsPair& out) {
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  GetVectorFileExtent(name, fullScan, out, buffer);
  AllocRecordBuffer(1, buffer, 0);
}

void GetVectorFileExtent3D(const std::string& name, bool fullScan, TVectorExtentsPair& out) {
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  ScanVectorFileExtent3D(name, fullScan, out, buffer);
  AllocRecordBuffer(1, buffer, 0);
}

void GetContourFileExtent(const std::string& name, TExtentsPair& out) {
  ResetPointExtents(out);
  ForEachRecord(name, [&](const TVectorRecord& r) {
    if (r.type == kRecLinePoint || r.type == kRecContourStart || r.type == kRec3DPoint ||
        r.type == kRecAltContourStart)
      WidenXY(out, r.x, r.y);
  });
}

void GetBufferExtent3D(const TVectorArray& buffer, TVectorExtentsPair& out) {
  ResetVectorExtents(out);
  if (buffer.records == nullptr) return;
  for (int32_t i = 0; i < buffer.count; ++i) CountRecord3D(buffer.records[i], out);
}

void GetBufferExtent(const TVectorArray& buffer, TExtentsPair& out) {
  TVectorExtentsPair e;
  GetBufferExtent3D(buffer, e);
  CopyCorners(e, out);
}

void MergeExtents3D(const TVectorExtentsPair& a, const TVectorExtentsPair& b, TVectorExtentsPair& out) {
  auto lo = [](float x, float y) { return x >= y ? y : x; };
  auto hi = [](float x, float y) { return x > y ? x : y; };
  TVectorExtentsPair r;
  r.minCorner = TVectorRecord{a.minCorner.type, lo(a.minCorner.x, b.minCorner.x), lo(a.minCorner.y, b.minCorner.y),
                              lo(a.minCorner.z, b.minCorner.z)};
  r.maxCorner = TVectorRecord{a.maxCorner.type, hi(a.maxCorner.x, b.maxCorner.x), hi(a.maxCorner.y, b.maxCorner.y),
                              hi(a.maxCorner.z, b.maxCorner.z)};
  out = r;
}

void GetLayerFilesExtent(uint8_t kind, TExtentsPair& out) {
  ResetPointExtents(out);
  const int which = kind & 3;
  for (int n = 0; n <= HighestLayer && n <= kMaxLayerNumber; ++n) {
    if (!LayerVisible[n]) continue;
    const std::string name = LayerNameOfKind(which, n);
    if (name.empty()) continue;
    ForEachRecord(name, [&](const TVectorRecord& r) {
      if (r.type == kRecLinePoint || r.type == kRecContourStart || r.type == kRec3DPoint ||
          r.type == kRecSplineStartEnd || r.type == kRecSplinePoint)
        WidenXY(out, r.x, r.y);
    });
  }
  if (kind & 128) return;
  if (out.minCorner.x == kEmptyExtentsMin || out.minCorner.y == kEmptyExtentsMin ||
      out.maxCorner.x == kEmptyExtentsMax || out.maxCorner.y == kEmptyExtentsMax)
    out = LayoutArea;
}

int32_t SumLayerFileRecords(int kind) {
  int64_t sum = 0;
  if (kind == 0) {
    for (int n = 0; n <= HighestLayer && n <= kMaxLayerNumber; ++n) sum += LayerRecordCounts[n];
  } else if (kind == 1 || kind == 2) {
    for (int n = 0; n < kToolLayerCount; ++n) sum += CountFileRecords(LayerNameOfKind(kind, n));
  }
  if (sum > INT32_MAX) return INT32_MAX;
  return int32_t(sum);
}

bool AnyLayerFileHasRecords(int kind) {
  if (kind < 0 || kind > 2) return false;
  for (int n = 0; n <= HighestLayer && n <= kMaxLayerNumber; ++n) {
    const std::string name = LayerNameOfKind(kind, n);
    if (TestPlainFileExists(name) && CountFileRecords(name) > 0) return true;
  }
  return false;
}

void TestDrawingHasContent(bool& layersHaveRecords, bool& textsPresent) {
  layersHaveRecords = false;
  for (int n = 0; n <= HighestLayer && n <= kMaxLayerNumber && !layersHaveRecords; ++n) {
    if (LayerRecordCounts[n] <= 0) continue;
    const std::string name = BuildLayerFileName(n);
    layersHaveRecords = TestPlainFileExists(name) && CountFileRecords(name) > 0;
  }
  textsPresent = false;
  const char* kTextJob = "HS01.TMP";
  if (!TestPlainFileExists(kTextJob) || GetFileByteSize(kTextJob) <= 597) return;
  std::vector<uint8_t> bytes(kTextJobHeadSize + sizeof(TTextParams));
  if (!ReadFileBytes(kTextJob, bytes.data(), int32_t(bytes.size()))) return;
  std::memcpy(TextJobHead, bytes.data(), kTextJobHeadSize);
  int16_t count;
  std::memcpy(&count, TextJobHead + 35, 2);
  if (count != 1) {
    textsPresent = count > 1;
    return;
  }
  TTextParams params;
  std::memcpy(&params, bytes.data() + kTextJobHeadSize, sizeof params);
  PutParamBlock(38, &params, sizeof params);
  textsPresent = params.text[0] != 0;
}

bool ExtentHasArea(const TExtentsPair& e) { return e.maxCorner.x > e.minCorner.x && e.maxCorner.y > e.minCorner.y; }
