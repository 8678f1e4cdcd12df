// Offset chain points as a point file, and the start of a closed contour
// moved to its topmost point.
#include "paths/point_files.h"

#include <algorithm>
#include <vector>

#include "frame/data_slots.h"
#include "frame/file_helpers.h"
#include "frame/quiet_files.h"
#include "model/vector_records.h"
#include "paths/offset_results.h"
#include "platform/files.h"

namespace {

constexpr int32_t kBlockRecords = 5000;
constexpr const char* kChainPointFile = "VekH2R0.H2R";

}  // namespace

void ConvertOffsetPointsWithBounds(float& minX, float& minY, float& maxX, float& maxY) {
  minX = 10000.0f;
  minY = 10000.0f;
  maxX = -10000.0f;
  maxY = -10000.0f;
  plat::TPasFile out;
  plat::Assign(out, kChainPointFile);
  RewriteFileQuiet(out, kPointRecordSize);
  if (out.state < plat::kFileInput) return;
  plat::TPasFile in;
  plat::Assign(in, kOffsetChainFile);
  if (FileExistsPlain(kOffsetChainFile)) ResetFileQuiet(in, kOffsetRecordSize, 0);
  if (in.state >= plat::kFileInput) {
    // Only whole records count; the copy ends at the length found now.
    int64_t remaining = plat::FileSize(in);
    std::vector<TOffsetRecord> chain(kBlockRecords);
    std::vector<TPointRecord> points(kBlockRecords);
    while (remaining > 0) {
      const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(kBlockRecords, remaining));
      uint32_t read = 0, written = 0;
      BlockReadQuiet(in, chain.data(), want, read);
      for (uint32_t i = 0; i < read; ++i) {
        const TOffsetRecord& r = chain[i];
        const float x = static_cast<float>(r.x), y = static_cast<float>(r.y);
        points[i] = TPointRecord{r.type, x, y};
        if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
          minX = std::min(minX, x);
          minY = std::min(minY, y);
          maxX = std::max(maxX, x);
          maxY = std::max(maxY, y);
        }
      }
      if (read > 0) BlockWriteQuiet(out, points.data(), read, written);
      if (read != want || written != read) break;
      remaining -= read;
    }
    CloseFileQuiet(in);
  }
  CloseFileQuiet(out);
}

void RotateContourStartToTop(const std::string& name) {
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 0);
  if (slot == 0) return;
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  std::vector<TVectorRecord> records;
  const int32_t total = DataFileSlotSize(slot);
  records.reserve(static_cast<size_t>(std::max(total, 0)));
  for (int32_t done = 0; done < total;) {
    int32_t read = 0;
    ReadDataFileSlot(slot, buffer, std::min(kBlockRecords, total - done), read);
    if (read <= 0) break;
    const TVectorRecord* block = reinterpret_cast<const TVectorRecord*>(buffer.bytes.data());
    records.insert(records.end(), block, block + read);
    done += read;
  }
  CloseDataFileSlot(slot);

  const int32_t count = static_cast<int32_t>(records.size());
  int32_t top = 0;
  for (int32_t i = 1; i < count; ++i)
    if (records[i].y > records[top].y || (records[i].y == records[top].y && records[i].x > records[top].x))
      top = i;
  // Record 0 is left out of the copy because the last record repeats it: an
  // open file would lose that point.
  const bool closed = count >= 2 && records[0].x == records[count - 1].x && records[0].y == records[count - 1].y;
  if (top == 0 || count != total || !closed) {
    AllocRecordBuffer(1, buffer, 0);
    return;
  }
  std::vector<TVectorRecord> turned;
  turned.reserve(records.size());
  turned.insert(turned.end(), records.begin() + top, records.end());
  turned.front().type = kRecContourStart;
  turned.insert(turned.end(), records.begin() + 1, records.begin() + top + 1);

  const std::string backup = MakeBackupName(name);
  int target = 0;
  OpenDataFileSlot(backup, 2, target, 2);
  if (target == 0) {
    AllocRecordBuffer(1, buffer, 0);
    return;
  }
  bool complete = true;
  for (size_t done = 0; done < turned.size() && complete;) {
    const int32_t n = static_cast<int32_t>(std::min<size_t>(kBlockRecords, turned.size() - done));
    std::copy(turned.begin() + static_cast<std::ptrdiff_t>(done), turned.begin() + static_cast<std::ptrdiff_t>(done) + n,
              reinterpret_cast<TVectorRecord*>(buffer.bytes.data()));
    int32_t written = 0;
    WriteDataFileSlot(target, buffer, n, written);
    complete = written == n;
    done += static_cast<size_t>(n);
  }
  CloseDataFileSlot(target);
  AllocRecordBuffer(1, buffer, 0);
  // A short write leaves the file as it was.
  if (complete)
    RenameFileReplacing(backup, name);
  else
    DeleteFileIfExists(backup);
}
