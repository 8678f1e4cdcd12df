// Path blocks inside layer files.
#include "paths/path_blocks.h"

#include <cstring>

#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "model/layer_files.h"
#include "paths/tool_table.h"

namespace {

constexpr int32_t kHeaderRecords = 12;

int32_t SlotPosition(int slot) {
  if (slot >= kFirstRamSlot && slot <= kLastRamSlot)
    return RamFileSlots[slot].file != nullptr ? RamFileSlots[slot].file->position : 0;
  if (slot >= 1 && slot <= kDiskSlotCount && DiskFileSlots[slot].kind != 0)
    return GetFilePosChecked(DataFileSlotFile(slot));
  return 0;
}

int32_t WriteRecords(int slot, const TVectorRecord* records, int32_t count) {
  TRecordBuffer buffer;
  buffer.bytes.assign(size_t(count) * sizeof(TVectorRecord), 0);
  std::memcpy(buffer.bytes.data(), records, buffer.bytes.size());
  int32_t written = 0;
  WriteDataFileSlot(slot, buffer, count, written);
  return written;
}

}  // namespace

void WritePathHeaderToSlot(int16_t layer, int slot, const TToolRecord& tool, int32_t& start, int32_t& start2,
                           TToolPathHeader& header, float kind) {
  if (layer > int16_t(HighestLayer)) return;
  start = SlotPosition(slot);
  start2 = start;
  BuildToolHeaderBlock(layer, tool, header, kind);
  // The colour as the standard colour value of the tool's colour number.
  SetRecordZInt(header.records[5], int32_t(ToolColourToRgb(tool.colorNumber)));
  WriteRecords(slot, header.records, kHeaderRecords);
}

void PatchPathFileHeader(int slot, const TExtentsPair& extents, TToolPathHeader& header, int32_t end,
                         int32_t start) {
  if (start < 0 || end < start + kHeaderRecords) return;
  // Patching anything but an opened block would overwrite path records.
  TRecordBuffer buffer;
  buffer.bytes.assign(4 * sizeof(TVectorRecord), 0);
  SeekDataFileSlot(slot, start);
  int32_t read = 0;
  ReadDataFileSlot(slot, buffer, 4, read);
  const TVectorRecord* found = reinterpret_cast<const TVectorRecord*>(buffer.bytes.data());
  if (read != 4 || found[0].type != kRecMinCorner || found[1].type != kRecMaxCorner ||
      found[2].type != kRecPathFactor || found[3].type != kRecPathLayer)
    return;
  TVectorRecord* r = header.records;
  r[0].x = extents.minCorner.x;
  r[0].y = extents.minCorner.y;
  SetRecordZInt(r[0], end - start + 1);
  r[1].x = extents.maxCorner.x;
  r[1].y = extents.maxCorner.y;
  r[1].z = extents.minCorner.x;
  r[3].y = extents.minCorner.y;
  SeekDataFileSlot(slot, start);
  WriteRecords(slot, r, 4);
  SeekDataFileSlot(slot, end);
  WriteRecords(slot, &r[12], 1);
}
