// Undo and redo: snapshots of work files in memory slots.
#include "model/undo.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/drawing_file.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/property_store.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "platform/files.h"
#include "model/text_job.h"

namespace {
uint8_t* DefaultAllocUndoBlock(uint32_t bytes) { return new (std::nothrow) uint8_t[bytes]; }

// A slot step that fails: the slot keeps the status, the RAM file message
// shows and nothing counts as moved.
void FailUndoStep(TUndoSlot& slot, int16_t status, int16_t message, int32_t& moved) {
  slot.status = status;
  ShowRamFileError(message);
  moved = 0;
}

TUndoSlot* NewUndoSlots() { return new (std::nothrow) TUndoSlot[kUndoSlotCount](); }
}  // namespace

TUndoSlot* UndoSlots = NewUndoSlots();
int16_t AuxLayerNumber = 0;
std::string AuxLayerFileName;
uint8_t* (*AllocUndoBlockMemory)(uint32_t bytes) = DefaultAllocUndoBlock;

// --- slot primitives ----------------------------------------------------------------------------

void ClearUndoSlot(TUndoSlot& slot) {
  for (uint8_t*& block : slot.blocks) {
    delete[] block;
    block = nullptr;
  }
  slot.size = 0;
  slot.position = 0;
  slot.status = 0;
}

void WriteUndoSlot(TUndoSlot& slot, const void* bytes, int32_t count, int32_t& written) {
  written = 0;
  if (slot.status < 0) {
    ShowRamFileError(kRamLogicalError);
    return;
  }
  const uint8_t* source = static_cast<const uint8_t*>(bytes);
  int32_t done = 0;
  while (done < count) {
    const int32_t block = slot.position / kUndoBlockBytes;
    const int32_t offset = slot.position % kUndoBlockBytes;
    if (block >= kUndoBlockCount) {
      FailUndoStep(slot, kUndoBlockRange, kRamBlockRange, written);
      return;
    }
    if (slot.blocks[block] == nullptr) {
      slot.blocks[block] = AllocUndoBlockMemory(kUndoBlockBytes);
      if (slot.blocks[block] == nullptr) {
        FailUndoStep(slot, kUndoLogicalError, kRamNoMemory, written);
        return;
      }
    }
    const int32_t piece = std::min(count - done, kUndoBlockBytes - offset);
    memcpy(slot.blocks[block] + offset, source + done, static_cast<size_t>(piece));
    done += piece;
    slot.position += piece;
    slot.size = std::max(slot.size, slot.position);
  }
  written = done;
}

void ReadUndoSlot(TUndoSlot& slot, void* buffer, int32_t count, int32_t& read) {
  read = 0;
  if (slot.status < 0) {
    ShowRamFileError(kRamLogicalError);
    return;
  }
  uint8_t* target = static_cast<uint8_t*>(buffer);
  int32_t done = 0;
  while (done < count && slot.position < slot.size) {
    const int32_t block = slot.position / kUndoBlockBytes;
    const int32_t offset = slot.position % kUndoBlockBytes;
    if (block >= kUndoBlockCount) {
      FailUndoStep(slot, kUndoReadRange, kRamBlockRange, read);
      return;
    }
    if (slot.blocks[block] == nullptr) {
      FailUndoStep(slot, kUndoLogicalError, kRamLogicalError, read);
      return;
    }
    const int32_t piece = std::min({count - done, kUndoBlockBytes - offset, slot.size - slot.position});
    memcpy(target + done, slot.blocks[block] + offset, static_cast<size_t>(piece));
    done += piece;
    slot.position += piece;
  }
  read = done;
}

void SetUndoSlotPosition(TUndoSlot& slot, int32_t position) {
  slot.position = std::max(position, 0);
  slot.size = std::max(slot.size, slot.position);
}

void MoveUndoSlot(TUndoSlot& source, TUndoSlot& target) {
  if (&source == &target) return;
  if (target.size != 0) {
    source.status = kUndoLogicalError;
    target.status = kUndoLogicalError;
    ShowRamFileError(kRamLogicalError);
    return;
  }
  ClearUndoSlot(target);  // no blocks are left behind unowned
  target.size = source.size;
  target.position = source.position;
  target.status = source.status;
  std::copy(std::begin(source.blocks), std::end(source.blocks), std::begin(target.blocks));
  std::fill(std::begin(source.blocks), std::end(source.blocks), nullptr);
  source.size = 0;
  source.position = 0;
  source.status = 0;
}

// --- snapshots ----------------------------------------------------------------------------------

namespace {
constexpr int32_t kFilePiece = 65000;
constexpr int32_t kTextParamsSize = 160;
constexpr int kFlagOrder[] = {kUndoCurrentLayer, kUndoStore, kUndoAllLayers, kUndoTextJob,
                              kUndoProperties,   kUndoScratch, kUndoAuxLayer, kUndoView};

// Byte size of a file; 0 when missing.
int64_t FileBytes(const std::string& name) {
  const int64_t size = plat::FileSizeBytes(name);
  return size > 0 ? size : 0;
}

TVectorRecord MakeEntryHeader(int16_t id, int32_t size, int flagValue) {
  TVectorRecord header{};
  header.type = kRecLayer;
  header.x = static_cast<float>(id);
  memcpy(&header.y, &size, 4);  // exact, also beyond the range a float counts in
  header.z = static_cast<float>(flagValue);
  return header;
}

int32_t EntryHeaderSize(const TVectorRecord& header) {
  int32_t size = 0;
  memcpy(&size, &header.y, 4);
  return size;
}

// Writes bytes and remembers whether all of them arrived.
struct TSnapshotWriter {
  TUndoSlot& slot;
  bool whole = true;
  void Put(const void* bytes, int32_t count) {
    if (!whole || count <= 0) return;
    int32_t written = 0;
    WriteUndoSlot(slot, bytes, count, written);
    if (written != count) whole = false;
  }
};

// The file's bytes as one entry; a missing file is an entry of size 0.
void WriteFileEntry(TSnapshotWriter& writer, const std::string& name, int16_t id, int flagValue) {
  const int64_t size = FileBytes(name);
  if (size >= kUndoSlotCapacity) {
    writer.whole = false;
    return;
  }
  const TVectorRecord header = MakeEntryHeader(id, static_cast<int32_t>(size), flagValue);
  writer.Put(&header, kVectorRecordSize);
  if (size == 0 || !writer.whole) return;
  TFileRec file;
  AssignFileChecked(file, name);
  ResetFileChecked(file, 1, 0);
  if (file.state < plat::kFileInput) {
    writer.whole = false;
    return;
  }
  std::vector<uint8_t> piece(kFilePiece);
  int64_t left = size;
  while (left > 0 && writer.whole) {
    const int32_t want = static_cast<int32_t>(std::min<int64_t>(left, kFilePiece));
    const int32_t got = ReadBlockLongChecked(file, piece.data(), want);
    if (got != want) writer.whole = false;  // the file changed under us: never keep a part
    writer.Put(piece.data(), got);
    left -= got;
  }
  CloseFileChecked(file);
}

// The text job head and the parameter part of each line.
void WriteTextJobEntry(TSnapshotWriter& writer, int flagValue) {
  const int64_t size = FileBytes(kTextJobFileName);
  if (size < kTextJobHeadSize) {
    const TVectorRecord header = MakeEntryHeader(-2, 0, flagValue);
    writer.Put(&header, kVectorRecordSize);
    return;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<int64_t>(size, kUndoSlotCapacity)));
  if (!ReadFileBytes(kTextJobFileName, bytes.data(), static_cast<int32_t>(bytes.size()))) {
    writer.whole = false;
    return;
  }
  int16_t lines = 0;
  memcpy(&lines, bytes.data() + 35, 2);
  std::vector<uint8_t> data(bytes.begin(), bytes.begin() + kTextJobHeadSize);
  for (int16_t line = 0; line < lines; ++line) {
    const size_t at = size_t(kTextJobHeadSize) + size_t(line) * kTextLineSize;
    if (at + kTextLineSize > bytes.size()) break;
    data.insert(data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                bytes.begin() + static_cast<std::ptrdiff_t>(at + kTextParamsSize));
  }
  const TVectorRecord header = MakeEntryHeader(-2, static_cast<int32_t>(size), flagValue);
  writer.Put(&header, kVectorRecordSize);
  writer.Put(data.data(), static_cast<int32_t>(data.size()));
}

// The auxiliary layer's file; its layer file while no command has named one.
std::string AuxLayerFile() { return AuxLayerFileName.empty() ? BuildLayerFileName(AuxLayerNumber) : AuxLayerFileName; }

// Bytes the snapshot of the flags needs, from the files' real sizes.
int64_t SnapshotBytes(int flags) {
  int64_t total = kVectorRecordSize;  // opening header
  if (flags & kUndoCurrentLayer) total += kVectorRecordSize + FileBytes(GetCurrentLayerFileName());
  if ((flags & kUndoStore) && StoreHoldsData) total += kVectorRecordSize + FileBytes(kVectorStoreName);
  if (flags & kUndoAllLayers)
    for (int n = 0; n <= HighestLayer; ++n) total += kVectorRecordSize + FileBytes(BuildLayerFileName(n));
  if (flags & kUndoTextJob) total += kVectorRecordSize + FileBytes(kTextJobFileName);
  if (flags & kUndoProperties) total += kVectorRecordSize + FileBytes(kPropertyStoreName);
  if (flags & kUndoScratch) total += kVectorRecordSize + FileBytes(kScratchStoreName);
  if (flags & kUndoAuxLayer) total += kVectorRecordSize + FileBytes(AuxLayerFile());
  if (flags & kUndoView) total += kVectorRecordSize + int64_t(sizeof(TExtentsPair));
  return total;
}

// Writes the snapshot of the flags into the (cleared) slot; false when it
// could not be stored whole (the slot is then cleared).
bool WriteSnapshot(TUndoSlot& slot, int flags) {
  ClearUndoSlot(slot);
  if (flags == 0) return true;
  EraseMouseCursor();
  const int storeBit = StoreHoldsData ? 128 : 0;
  TSnapshotWriter writer{slot};
  const TVectorRecord opening = MakeEntryHeader(-1, 1, flags + storeBit);
  writer.Put(&opening, kVectorRecordSize);
  for (int flag : kFlagOrder) {
    if ((flags & flag) == 0) continue;
    const int value = flag + storeBit;
    switch (flag) {
      case kUndoCurrentLayer: WriteFileEntry(writer, GetCurrentLayerFileName(), CurrentLayer, value); break;
      case kUndoStore:
        if (StoreHoldsData) WriteFileEntry(writer, kVectorStoreName, CurrentLayer, value);
        break;
      case kUndoAllLayers:
        for (int n = 0; n <= HighestLayer; ++n) WriteFileEntry(writer, BuildLayerFileName(n), int16_t(n), value);
        break;
      case kUndoTextJob: WriteTextJobEntry(writer, value); break;
      case kUndoProperties: WriteFileEntry(writer, kPropertyStoreName, -3, value); break;
      case kUndoScratch: WriteFileEntry(writer, kScratchStoreName, -4, value); break;
      case kUndoAuxLayer: WriteFileEntry(writer, AuxLayerFile(), AuxLayerNumber, value); break;
      case kUndoView: {
        const TVectorRecord header = MakeEntryHeader(-4, 2, value);
        writer.Put(&header, kVectorRecordSize);
        writer.Put(&CurrentViewExtent, sizeof(TExtentsPair));
        break;
      }
      default: break;
    }
  }
  if (!writer.whole || slot.status < 0) {
    ClearUndoSlot(slot);
    return false;
  }
  slot.position = 0;
  return true;
}

void ReportUndoUnavailable() {
  ShowPromptHook(0, "Too little storage capacity for data back-up.", 261, 12);
  ShowPromptHook(1, "UnDo is not available!", 261, 12);
  BeepHook(1000);
}

// Slots 4 -> 5 .. 0 -> 1 after slot 5 is freed; slot 0 is then empty.
void ShiftUndoSlotsOlder() {
  ClearUndoSlot(UndoSlots[5]);
  for (int i = 4; i >= 0; --i) MoveUndoSlot(UndoSlots[i], UndoSlots[i + 1]);
}

// Rewrites the file with the next size bytes of the slot; false when not
// all of them could be read or written.
bool RestoreFileEntry(TUndoSlot& slot, const std::string& name, int32_t size) {
  TFileRec file;
  AssignFileChecked(file, name);
  RewriteFileChecked(file, 1);
  if (file.state < plat::kFileInput) {
    SetUndoSlotPosition(slot, slot.position + size);  // skip the entry
    return false;
  }
  std::vector<uint8_t> piece(kFilePiece);
  int32_t left = size;
  bool whole = true;
  while (left > 0) {
    int32_t read = 0;
    ReadUndoSlot(slot, piece.data(), std::min(left, kFilePiece), read);
    if (read <= 0) {
      whole = false;
      break;
    }
    if (WriteBlockLongChecked(file, piece.data(), read) != read) {
      whole = false;
      break;
    }
    left -= read;
  }
  CloseFileChecked(file);
  return whole;
}

void RestoreTextJobEntry(TUndoSlot& slot, int32_t size) {
  uint8_t head[kTextJobHeadSize] = {};
  int32_t read = 0;
  if (size >= kTextJobHeadSize) ReadUndoSlot(slot, head, kTextJobHeadSize, read);
  TFileRec file;
  AssignFileChecked(file, kTextJobFileName);
  RewriteFileChecked(file, 1);
  if (file.state < plat::kFileInput) return;
  if (read == kTextJobHeadSize) {
    WriteBlockLongChecked(file, head, kTextJobHeadSize);
    int16_t lines = 0;
    memcpy(&lines, head + 35, 2);
    uint8_t line[kTextLineSize];
    for (int16_t n = 0; n < lines; ++n) {
      int32_t got = 0;
      ReadUndoSlot(slot, line, kTextParamsSize, got);
      if (got < kTextParamsSize) break;
      ClearTextPlacement(line + kTextParamsSize);
      if (WriteBlockLongChecked(file, line, kTextLineSize) != kTextLineSize) break;
    }
  }
  // A job saved without its head comes back empty.
  CloseFileChecked(file);
  LoadTextJobHead();
}

// Restores every entry of the slot.
void RestoreSnapshot(TUndoSlot& slot) {
  SetUndoSlotPosition(slot, 0);
  TVectorRecord header{};
  int32_t read = 0;
  ReadUndoSlot(slot, &header, kVectorRecordSize, read);
  if (read != int32_t(kVectorRecordSize) || header.type != kRecLayer) return;
  StoreHoldsData = (static_cast<int>(header.z) & 128) ? 1 : 0;
  for (;;) {
    ReadUndoSlot(slot, &header, kVectorRecordSize, read);
    if (read != int32_t(kVectorRecordSize) || header.type != kRecLayer) break;
    const int value = static_cast<int>(header.z);
    const int16_t id = static_cast<int16_t>(header.x);
    const int32_t size = std::max(EntryHeaderSize(header), 0);
    StoreHoldsData = (value & 128) ? 1 : 0;
    switch (value & ~128) {
      case kUndoCurrentLayer:
      case kUndoAllLayers:
        RestoreFileEntry(slot, BuildLayerFileName(std::clamp<int>(id, 0, HighestLayer)), size);
        break;
      case kUndoStore:
        RestoreFileEntry(slot, kVectorStoreName, size);
        StoreHoldsData = 1;
        CurrentLayer = static_cast<uint8_t>(std::clamp<int>(id, 0, HighestLayer));
        break;
      case kUndoTextJob: RestoreTextJobEntry(slot, size); break;
      case kUndoProperties: RestoreFileEntry(slot, kPropertyStoreName, size); break;
      case kUndoScratch: RestoreFileEntry(slot, kScratchStoreName, size); break;
      case kUndoAuxLayer:
        RestoreFileEntry(slot, BuildLayerFileName(std::clamp<int>(id, 0, HighestLayer)), size);
        DeleteObjectReliefCopies();
        break;
      case kUndoView: {
        TExtentsPair view{};
        ReadUndoSlot(slot, &view, sizeof view, read);
        if (read == int32_t(sizeof view)) CurrentViewExtent = view;
        break;
      }
      default: return;  // unknown entry: the rest cannot be trusted
    }
  }
}

int SnapshotFlags(TUndoSlot& slot) {
  SetUndoSlotPosition(slot, 0);
  TVectorRecord header{};
  int32_t read = 0;
  ReadUndoSlot(slot, &header, kVectorRecordSize, read);
  if (read != int32_t(kVectorRecordSize) || header.type != kRecLayer) return 0;
  return static_cast<int>(header.z) & ~128;
}
}  // namespace

void InitUndoSlots() {
  if (UndoSlots == nullptr) UndoSlots = NewUndoSlots();
}

bool UndoSlotHoldsStep(int slot) {
  return UndoSlots != nullptr && slot >= 0 && slot < kUndoSlotCount && UndoSlots[slot].size > 0;
}

bool TakeUndoSnapshot(int flags) {
  if (UndoSlots == nullptr || flags == 0) return false;
  if (SnapshotBytes(flags) >= kUndoSlotCapacity) {
    ReportUndoUnavailable();
    return false;
  }
  // Written aside first: a snapshot that cannot be stored whole is dropped
  // and the older steps stay as they were.
  TUndoSlot* fresh = new (std::nothrow) TUndoSlot();
  if (fresh == nullptr) {
    ReportUndoUnavailable();
    return false;
  }
  const bool whole = WriteSnapshot(*fresh, flags);
  if (whole) {
    ClearUndoSlot(UndoSlots[kRedoSlot]);
    ShiftUndoSlotsOlder();
    MoveUndoSlot(*fresh, UndoSlots[0]);
  } else {
    ReportUndoUnavailable();
  }
  ClearUndoSlot(*fresh);
  delete fresh;
  return whole;
}

bool TakeLayerUndoSnapshot(int32_t layer) {
  const uint8_t kept = CurrentLayer;
  CurrentLayer = static_cast<uint8_t>(std::clamp<int32_t>(layer, 0, HighestLayer));
  const bool taken = TakeUndoSnapshot(kUndoCurrentLayer);
  CurrentLayer = kept;
  return taken;
}

bool StepUndoRedo(int direction) {
  CommandWord = 2;
  if (UndoSlots == nullptr) return false;
  const bool redo = direction == 1;
  TUndoSlot& step = UndoSlots[redo ? kRedoSlot : 0];
  if (step.size < 1) {
    ShowMessageNumber(42);
    return false;
  }
  const int flags = SnapshotFlags(step);
  // The present state of the same files, so that the step can be reversed.
  TUndoSlot* present = new (std::nothrow) TUndoSlot();
  if (present == nullptr) return false;
  const bool saved = WriteSnapshot(*present, flags);
  if (!saved) {
    // Without the present state the step could not be reversed: refuse.
    ReportUndoUnavailable();
    ClearUndoSlot(*present);
    delete present;
    return false;
  }
  RestoreSnapshot(step);
  if (redo) {
    ClearUndoSlot(UndoSlots[kRedoSlot]);
    ShiftUndoSlotsOlder();
    MoveUndoSlot(*present, UndoSlots[0]);
  } else {
    ClearUndoSlot(UndoSlots[kRedoSlot]);
    MoveUndoSlot(*present, UndoSlots[kRedoSlot]);
    ClearUndoSlot(UndoSlots[0]);
    for (int i = 1; i <= 5; ++i) MoveUndoSlot(UndoSlots[i], UndoSlots[i - 1]);
  }
  ClearUndoSlot(*present);
  delete present;
  RecountAllLayerRecords();
  WaitMouseReleaseHook();
  return true;
}

void ReleaseUndoSlots() {
  if (UndoSlots == nullptr) {
    for (int i = 0; i < 3; ++i) {
      PlayMessageBeep(0);
      DelayMs(200);
    }
    RunMessageBox(GetProgramTitle(), "H3UnDo: Doppelter Aufruf!", 0);
    return;
  }
  for (int i = 0; i < kUndoSlotCount; ++i) ClearUndoSlot(UndoSlots[i]);
  delete[] UndoSlots;
  UndoSlots = nullptr;
}
