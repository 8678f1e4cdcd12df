// Whole-file record operations.
#include "model/record_files.h"

#include <algorithm>
#include <cstring>

#include "frame/data_slots.h"
#include "frame/messages.h"
#include "frame/progress_bar.h"
#include "frame/window_draw.h"
#include "model/model_hooks.h"
#include "platform/files.h"

namespace {

// Packed record fields are passed by value (never bound to references).
float Lesser(float a, float b) { return b < a ? b : a; }
float Greater(float a, float b) { return b > a ? b : a; }

constexpr double kStoredExtentsMinSpan = 0.1;  // a stored head narrower than this is rescanned

// Record i of a block buffer as a vector record (a point record gets z 0).
TVectorRecord RecordAt(const TRecordBuffer& buffer, uint32_t recordSize, int32_t i) {
  TVectorRecord record{};
  std::memcpy(&record, buffer.bytes.data() + static_cast<size_t>(i) * recordSize, recordSize);
  return record;
}

void PutRecordAt(TRecordBuffer& buffer, uint32_t recordSize, int32_t i, const TVectorRecord& record) {
  std::memcpy(buffer.bytes.data() + static_cast<size_t>(i) * recordSize, &record, recordSize);
}

// A record file of kind 1 (vector) or 3 (point) opened read/write with the
// record count and its stored extents head, if any.
struct TOpenRecordFile {
  int slot = 0;
  TDataFileKind kind = 0;
  uint32_t recordSize = 0;
  int32_t count = 0;
  bool hasHead = false;
  TVectorRecord head[2] = {};
};

bool OpenForRewrite(const std::string& name, TOpenRecordFile& file, TRecordBuffer& buffer) {
  file.kind = GetDataFileKind(name);
  if (file.kind != 1 && file.kind != 3) return false;
  OpenDataFileSlot(name, file.kind, file.slot, 2);
  if (file.slot == 0) return false;
  file.recordSize = DataFileRecordSize(file.kind);
  AllocRecordBuffer(file.kind, buffer, 1);
  file.count = DataFileSlotSize(file.slot);
  if (file.count >= 2) {
    int32_t read = 0;
    SeekDataFileSlot(file.slot, 0);
    ReadDataFileSlot(file.slot, buffer, 2, read);
    if (read == 2) {
      file.head[0] = RecordAt(buffer, file.recordSize, 0);
      file.head[1] = RecordAt(buffer, file.recordSize, 1);
      file.hasHead = file.head[0].type == kRecMinCorner && file.head[1].type == kRecMaxCorner;
    }
  }
  return true;
}

// Writes the head records at the start of the file.
void WriteHead(const TOpenRecordFile& file, TRecordBuffer& buffer, const TVectorRecord& minCorner,
               const TVectorRecord& maxCorner) {
  PutRecordAt(buffer, file.recordSize, 0, minCorner);
  PutRecordAt(buffer, file.recordSize, 1, maxCorner);
  int32_t written = 0;
  SeekDataFileSlot(file.slot, 0);
  WriteDataFileSlot(file.slot, buffer, 2, written);
}

// How a block-by-block rewrite ended.
enum TRewriteResult { kRewriteDone, kRewriteShortRead, kRewriteShortWrite };

// Passes every record of an opened file through mapRecord and writes each
// block back in place; the head records are left for the caller to rewrite.
// Stops at the first block that cannot be read or written in full.
template <class TMapRecord>
TRewriteResult RewriteRecords(const TOpenRecordFile& file, TRecordBuffer& buffer, bool showProgress,
                              TMapRecord mapRecord) {
  for (int32_t position = 0; position < file.count;) {
    int32_t read = 0;
    SeekDataFileSlot(file.slot, position);
    ReadDataFileSlot(file.slot, buffer, std::min(kSlotBlockRecords, file.count - position), read);
    if (read <= 0) return kRewriteShortRead;
    for (int32_t i = 0; i < read; ++i) {
      if (file.hasHead && position + i < 2) continue;
      TVectorRecord record = RecordAt(buffer, file.recordSize, i);
      mapRecord(record);
      PutRecordAt(buffer, file.recordSize, i, record);
    }
    int32_t written = 0;
    SeekDataFileSlot(file.slot, position);
    WriteDataFileSlot(file.slot, buffer, read, written);
    if (written != read) return kRewriteShortWrite;
    position += read;
    if (showProgress) UpdateProgressBar(position);
  }
  return kRewriteDone;
}

// The head after mapping both corners: the box they span.
void MapHead(const TVectorRecord (&head)[2], double ax, double bx, double ay, double by, TVectorRecord& minCorner,
             TVectorRecord& maxCorner) {
  const double x1 = ax * head[0].x + bx, x2 = ax * head[1].x + bx;
  const double y1 = ay * head[0].y + by, y2 = ay * head[1].y + by;
  minCorner = head[0];
  maxCorner = head[1];
  minCorner.x = static_cast<float>(std::min(x1, x2));
  minCorner.y = static_cast<float>(std::min(y1, y2));
  maxCorner.x = static_cast<float>(std::max(x1, x2));
  maxCorner.y = static_cast<float>(std::max(y1, y2));
}

}  // namespace

// --- extents ------------------------------------------------------------------------------

void ReadFileExtents(const std::string& name, TVectorExtentsPair& pair) {
  ResetVectorExtents(pair);
  const TDataFileKind kind = GetDataFileKind(name);
  if (kind != 1 && kind != 3) return;
  int slot = 0;
  OpenDataFileSlot(name, kind, slot, 0);
  if (slot == 0) return;
  const uint32_t recordSize = DataFileRecordSize(kind);
  const bool vectorFile = kind == 1;
  TRecordBuffer buffer;
  AllocRecordBuffer(kind, buffer, 1);

  int32_t read = 0;
  ReadDataFileSlot(slot, buffer, 2, read);
  if (read < 2) {
    pair.minCorner = TVectorRecord{};
    pair.maxCorner = TVectorRecord{};
  } else {
    const TVectorRecord first = RecordAt(buffer, recordSize, 0);
    const TVectorRecord second = RecordAt(buffer, recordSize, 1);
    if (first.type == kRecMinCorner && second.type == kRecMaxCorner) {
      pair.minCorner = first;
      pair.maxCorner = second;
    }
    const bool wideEnough = static_cast<double>(pair.maxCorner.x) - pair.minCorner.x > kStoredExtentsMinSpan &&
                            static_cast<double>(pair.maxCorner.y) - pair.minCorner.y > kStoredExtentsMinSpan;
    if (!wideEnough) {
      ResetVectorExtents(pair);
      if (vectorFile) {
        pair.minCorner.z = 10000.0f;
        pair.maxCorner.z = -10000.0f;
      }
      SeekDataFileSlot(slot, 0);
      do {
        read = 0;
        ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
        for (int32_t i = 0; i < read; ++i) {
          const TVectorRecord r = RecordAt(buffer, recordSize, i);
          const bool counts = r.type == kRecLinePoint || r.type == kRecContourStart || r.type == kRecSplinePoint ||
                              (vectorFile && r.type == kRec3DPoint);
          if (!counts) continue;
          pair.minCorner.x = Lesser(pair.minCorner.x, r.x);
          pair.minCorner.y = Lesser(pair.minCorner.y, r.y);
          pair.maxCorner.x = Greater(pair.maxCorner.x, r.x);
          pair.maxCorner.y = Greater(pair.maxCorner.y, r.y);
          // A contour start's z is a mark and a pen-up point's z a move
          // flag; only the others are heights.
          if (vectorFile && r.type != kRecContourStart && !IsPenUpPoint(r)) {
            pair.minCorner.z = Lesser(pair.minCorner.z, r.z);
            pair.maxCorner.z = Greater(pair.maxCorner.z, r.z);
          }
        }
      } while (read == kSlotBlockRecords);
    }
  }
  pair.minCorner.type = kRecMinCorner;
  pair.maxCorner.type = kRecMaxCorner;
  CloseDataFileSlot(slot);
}

// --- copy and append -------------------------------------------------------------------------

// Whether a record goes into the target, and in which form.
static bool KeepForTarget(TVectorRecord& record, bool vectorTarget, int flags) {
  const uint8_t type = record.type;
  if (type == kRecEmpty) return false;
  if (type == kRecLayer && (flags & kCopyDropLayers)) return false;
  const bool attribute = type == kRecMinCorner || type == kRecMaxCorner || type == kRecPathFactor ||
                         type == kRecPathLayer || type == kRecPathEnd;
  if (vectorTarget) return !((flags & kCopyDropAttributes) && (attribute || (type >= 150 && type <= 157)));
  if (attribute || (type >= 150 && type <= 156)) return false;
  if (type == kRecTool8) {
    // The change station travels as a layer record in point files.
    float station;
    std::memcpy(&station, &record.z, 4);
    record.type = kRecLayer;
    record.x = station;
    record.y = 0.0f;
  }
  return true;
}

void CopyOrAppendRecordFile(const std::string& source, const std::string& target, int flags, int colour) {
  const bool drawing = (flags & kCopyDraw) != 0;
  const bool copyNew = (flags & kCopyNew) != 0;
  if (drawing) EraseMouseCursor();
  const TDataFileKind sourceKind = GetDataFileKind(source);
  if (sourceKind == 0) return;
  const TDataFileKind targetKind = GetDataFileKind(target);
  if (targetKind == 0) return;
  if ((sourceKind != 1 && sourceKind != 3) || (targetKind != 1 && targetKind != 3)) return;
  const bool sameFile = FindRamFileSlot(source) == 0 && plat::HostPathOf(source) == plat::HostPathOf(target);
  if (sameFile && copyNew) return;  // creating the target would empty the source

  int sourceSlot = 0;
  OpenDataFileSlot(source, sourceKind, sourceSlot, 0);
  if (sourceSlot == 0) return;
  TRecordBuffer input, output;
  AllocRecordBuffer(sourceKind, input, 1);
  AllocRecordBuffer(targetKind, output, 1);
  int targetSlot = 0;
  OpenDataFileSlot(target, copyNew ? targetKind + 1 : targetKind, targetSlot, 2);
  if (targetSlot == 0) {
    CloseDataFileSlot(sourceSlot);
    return;
  }
  const uint32_t sourceSize = DataFileRecordSize(sourceKind);
  const uint32_t targetSize = DataFileRecordSize(targetKind);
  const bool vectorTarget = targetKind == 1;

  // The copy ends at the source's length as found now, so that a file
  // appended to itself cannot grow without end.
  const int32_t total = DataFileSlotSize(sourceSlot);
  bool shortWrite = false;
  if (total > 0) {
    if (!drawing) StartProgressBar(total);
    if (!copyNew) SeekSlotEnd(targetSlot);
    int32_t done = 0;
    for (;;) {
      int32_t read = 0;
      SeekDataFileSlot(sourceSlot, done);
      ReadDataFileSlot(sourceSlot, input, std::min(kSlotBlockRecords, total - done), read);
      done += read;
      if (drawing) SetDrawColorAndMode(13, colour);
      else UpdateProgressBar(done);
      int32_t kept = 0;
      for (int32_t i = 0; i < read; ++i) {
        TVectorRecord record = RecordAt(input, sourceSize, i);
        if (drawing) DrawVectorRecordHook(record);
        if (KeepForTarget(record, vectorTarget, flags)) PutRecordAt(output, targetSize, kept++, record);
      }
      int32_t written = 0;
      if (kept > 0) {
        SeekSlotEnd(targetSlot);
        WriteDataFileSlot(targetSlot, output, kept, written);
      }
      shortWrite = written < kept;
      if (read != kSlotBlockRecords || shortWrite || done >= total) break;
    }
  }
  if (shortWrite) ShowMessageNumber(8);
  CloseDataFileSlot(targetSlot);
  CloseDataFileSlot(sourceSlot);
  if (drawing) FlushDrawnRecordsHook();
}

// --- transforms in place ---------------------------------------------------------------------

void TransformFileCoordinates(const std::string& name, double cx, double cy, double vx, double vy, int mode) {
  double ax = 1.0, bx = 0.0, ay = 1.0, by = 0.0;
  switch (mode) {
    case kTransformShift: bx = vx; by = vy; break;
    case kTransformMirrorX: ax = -1.0; bx = vx; break;
    case kTransformMirrorY: ay = -1.0; by = vy; break;
    case kTransformScale: ax = vx; bx = cx - vx * cx; ay = vy; by = cy - vy * cy; break;
    default: return;
  }
  const bool cornersMove = mode == kTransformShift || mode == kTransformScale;
  TOpenRecordFile file;
  TRecordBuffer buffer;
  if (!OpenForRewrite(name, file, buffer)) return;

  StartProgressBar(file.count);
  const TRewriteResult result = RewriteRecords(file, buffer, true, [&](TVectorRecord& record) {
    if (record.type == kRecMinCorner || record.type == kRecMaxCorner) {
      if (!cornersMove) return;
      record.x = static_cast<float>(ax * record.x + bx);
      record.y = static_cast<float>(ay * record.y + by);
    } else {
      MapRecordAxes(record, ax, bx, ay, by);
    }
  });
  if (result == kRewriteShortWrite) ShowMessageNumber(8);
  const bool complete = result == kRewriteDone;
  if (complete && file.hasHead) {
    TVectorRecord minCorner, maxCorner;
    MapHead(file.head, ax, bx, ay, by, minCorner, maxCorner);
    WriteHead(file, buffer, minCorner, maxCorner);
  }
  CloseDataFileSlot(file.slot);
}

void RotateFileCoordinates(const std::string& name, double cx, double cy, double angle) {
  TOpenRecordFile file;
  TRecordBuffer buffer;
  if (!OpenForRewrite(name, file, buffer)) return;

  TExtentsPair extents;
  ClearPointExtents(extents);
  const TRewriteResult result = RewriteRecords(file, buffer, false, [&](TVectorRecord& record) {
    RotateRecordAbout(record, cx, cy, angle);
    const uint8_t t = record.type;
    if (t == kRecLinePoint || t == kRecContourStart || t == kRec3DPoint || t == kRecAltContourStart) {
      extents.minCorner.x = Lesser(extents.minCorner.x, record.x);
      extents.minCorner.y = Lesser(extents.minCorner.y, record.y);
      extents.maxCorner.x = Greater(extents.maxCorner.x, record.x);
      extents.maxCorner.y = Greater(extents.maxCorner.y, record.y);
    }
  });
  const bool complete = result == kRewriteDone;
  if (complete && file.hasHead) {
    TVectorRecord minCorner = file.head[0], maxCorner = file.head[1];
    minCorner.x = extents.minCorner.x;
    minCorner.y = extents.minCorner.y;
    maxCorner.x = extents.maxCorner.x;
    maxCorner.y = extents.maxCorner.y;
    WriteHead(file, buffer, minCorner, maxCorner);
  }
  CloseDataFileSlot(file.slot);
}
