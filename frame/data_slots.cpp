// Data-file slots and in-memory block files.
#include "frame/data_slots.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"

TDiskSlot DiskFileSlots[kDiskSlotCount + 1];
TRamSlot RamFileSlots[kLastRamSlot + 1];

static uint8_t* AllocRamBlockFromHeap(uint32_t bytes) { return new (std::nothrow) uint8_t[bytes]; }
uint8_t* (*AllocRamBlockMemory)(uint32_t bytes) = AllocRamBlockFromHeap;

// --- in-memory block files ------------------------------------------------------

void FreeRamFile(TRamFile& file) {
  for (uint8_t*& block : file.blocks) {
    delete[] block;
    block = nullptr;
  }
  file.recordCount = 0;
  file.position = 0;
  file.status = 0;
}

void InitRamFile(TRamFile& file) { FreeRamFile(file); }

void TruncateRamFile(TRamFile& file) {
  if (file.position < 0) return;
  const int32_t keep = file.position / kRamBlockRecords;
  for (int i = keep + 1; i < kRamBlockCount; ++i) {
    delete[] file.blocks[i];
    file.blocks[i] = nullptr;
  }
  file.recordCount = file.position;
}

void SeekRamFile(TRamFile& file, int32_t record) {
  if (record < 0) {
    file.status = kRamLogicalError;
    return;
  }
  file.position = record;
  if (record > file.recordCount) file.recordCount = record;
}

void AllocRamFileBlock(TRamFile& file, int32_t index) {
  if (index < 0 || index >= kRamBlockCount) {
    file.status = kRamBlockRange;
    return;
  }
  if (file.blocks[index] != nullptr) {
    file.status = kRamLogicalError;
    return;
  }
  uint8_t* block = AllocRamBlockMemory(kRamBlockBytes);
  if (block == nullptr) {
    file.status = kRamNoMemory;
    return;
  }
  std::memset(block, 0, kRamBlockBytes);
  file.blocks[index] = block;
}

void ShowRamFileError(int16_t status) {
  switch (status) {
    case kRamLogicalError: ShowErrorText("RamFile:logischer Fehler"); break;
    case kRamNoMemory: ShowErrorText("RamFile:Write kein Speicher"); break;
    case kRamBlockRange: ShowErrorText("RamFile:Read RamBlk >= MaxBlk"); break;
    default: break;
  }
}

void WriteRamFile(TRamFile& file, const void* records, int32_t count, int32_t& written) {
  written = 0;
  if (file.status < 0) {
    ShowRamFileError(file.status);
    return;
  }
  if (count <= 0) return;
  const uint8_t* source = static_cast<const uint8_t*>(records);
  int32_t block = file.position / kRamBlockRecords;
  int32_t index = file.position % kRamBlockRecords;
  if (block >= kRamBlockCount) {
    file.status = kRamBlockRange;
    ShowRamFileError(file.status);
    return;
  }
  if (file.blocks[block] == nullptr) AllocRamFileBlock(file, block);
  for (int32_t i = 0; i < count && file.status >= 0; ++i) {
    if (index >= kRamBlockRecords) {
      ++block;
      index = 0;
      if (block >= kRamBlockCount) {
        file.status = kRamBlockRange;
        break;
      }
      if (file.blocks[block] == nullptr) AllocRamFileBlock(file, block);
      if (file.status < 0) break;
    }
    std::memcpy(file.blocks[block] + static_cast<size_t>(index) * 13, source + static_cast<size_t>(i) * 13, 13);
    ++index;
    ++file.position;
  }
  if (file.recordCount < file.position) file.recordCount = file.position;
  if (file.status < 0) {
    ShowRamFileError(file.status);
    return;
  }
  written = count;
}

void ReadRamFile(TRamFile& file, void* records, int32_t count, int32_t& read) {
  read = 0;
  if (file.status < 0) {
    ShowRamFileError(file.status);
    return;
  }
  if (count <= 0 || file.position >= file.recordCount) return;
  uint8_t* target = static_cast<uint8_t*>(records);
  int32_t block = file.position / kRamBlockRecords;
  int32_t index = file.position % kRamBlockRecords;
  int32_t done = 0;
  if (block >= kRamBlockCount) {
    file.status = kRamBlockRange;
  } else if (file.blocks[block] == nullptr) {
    file.status = kRamLogicalError;
  }
  while (file.status >= 0 && done < count && file.position < file.recordCount) {
    if (index >= kRamBlockRecords) {
      ++block;
      index = 0;
      if (block >= kRamBlockCount) {
        file.status = kRamBlockRange;
        break;
      }
      if (file.blocks[block] == nullptr) {
        file.status = kRamLogicalError;
        break;
      }
    }
    std::memcpy(target + static_cast<size_t>(done) * 13, file.blocks[block] + static_cast<size_t>(index) * 13, 13);
    ++index;
    ++file.position;
    ++done;
  }
  if (file.status < 0) {
    ShowRamFileError(file.status);
    return;
  }
  read = done;
}

// --- buffers, kinds and tables -------------------------------------------------------

void AllocRecordBuffer(TDataFileKind kind, TRecordBuffer& buffer, int flag) {
  uint32_t bytes = 0;
  if (kind == 1 || kind == 2 || kind == 13) bytes = kVectorBufferBytes;
  else if (kind == 3 || kind == 4) bytes = kPointBufferBytes;
  else return;
  if (flag == 1) buffer.bytes.assign(bytes, 0);
  else std::vector<uint8_t>().swap(buffer.bytes);
}

uint32_t DataFileRecordSize(TDataFileKind kind) {
  switch (kind) {
    case 1: case 2: case 13: return 13;
    case 3: case 4: return 9;
    case 9: case 10: case 11: case 12: return 2;
    default: return 0;
  }
}

static std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

TDataFileKind GetDataFileKind(const std::string& name) {
  static const struct { const char* text; TDataFileKind kind; } kKindTexts[] = {
      {".LG1", 1}, {".H2R", 3}, {".TMP", 1}, {".RLF", 9}, {".HRL", 11}, {".TMR", 9}, {".SLD", 5}, {".PLI", 3},
  };
  const std::string upper = UpperAscii(name);
  for (const auto& entry : kKindTexts)
    if (upper.find(entry.text) != std::string::npos) return entry.kind;
  ShowMessageNumber(1);
  return 0;
}

void ClearRamFileSlots() {
  for (int slot = kFirstRamSlot; slot <= kLastRamSlot; ++slot) {
    if (RamFileSlots[slot].file != nullptr) {
      FreeRamFile(*RamFileSlots[slot].file);
      delete RamFileSlots[slot].file;
      RamFileSlots[slot].file = nullptr;
    }
    RamFileSlots[slot].name.clear();
  }
}

void InitDataFileSlots() {
  for (int slot = 1; slot <= kDiskSlotCount; ++slot) {
    DiskFileSlots[slot].file = plat::TPasFile{};
    DiskFileSlots[slot].kind = 0;
  }
  ClearRamFileSlots();
}

void CloseOpenDataFileSlots() {
  for (int slot = 1; slot <= kDiskSlotCount; ++slot)
    if (DiskFileSlots[slot].kind != 0) CloseDataFileSlot(slot);
}

static std::string RamSlotName(const std::string& name) { return name.substr(0, std::min<size_t>(name.size(), 80)); }

int FindRamFileSlot(const std::string& name) {
  const std::string wanted = UpperAscii(RamSlotName(name));
  if (wanted.empty()) return 0;
  for (int slot = kFirstRamSlot; slot <= kLastRamSlot; ++slot)
    if (!RamFileSlots[slot].name.empty() && UpperAscii(RamFileSlots[slot].name) == wanted) return slot;
  return 0;
}

static bool IsRamSlot(int slot) { return slot >= kFirstRamSlot && slot <= kLastRamSlot; }
static bool IsDiskSlot(int slot) { return slot >= 1 && slot <= kDiskSlotCount; }
static bool IsOpen(const plat::TPasFile& file) { return file.state >= plat::kFileInput; }

// --- opening and closing ----------------------------------------------------------------

// A record file whose length is no whole number of records has lost or
// gained bytes; readers use its whole records but report the damage.
bool CheckRecordFileLength(const std::string& name, uint32_t recordSize, bool journal) {
  if (recordSize <= 1) return true;
  const int64_t bytes = plat::FileSizeBytes(name);
  if (bytes <= 0 || bytes % recordSize == 0) return true;
  if (journal) WriteJournalLine(0, "\"" + name + " -> FileSize()");
  ErrorCode = 1010;
  return false;
}

void OpenDataFileSlot(const std::string& name, TDataFileKind kind, int& slot, uint8_t fileMode) {
  slot = 0;
  if (kind == 0 || kind > 13) {
    ShowMessageNumber(3);
    return;
  }
  if (kind == 1 || kind == 13) {
    const int found = FindRamFileSlot(name);
    if (found != 0) {
      // Kind 1 reads the in-memory file from its start; kind 13 starts it anew.
      if (kind == 1) SeekRamFile(*RamFileSlots[found].file, 0);
      else InitRamFile(*RamFileSlots[found].file);
      slot = found;
      return;
    }
  }
  if (kind == 13) {
    if (RamSlotName(name).empty()) return;
    for (int ram = kFirstRamSlot; ram <= kLastRamSlot; ++ram) {
      if (!RamFileSlots[ram].name.empty()) continue;
      TRamFile* file = new (std::nothrow) TRamFile;
      if (file == nullptr) return;
      InitRamFile(*file);
      RamFileSlots[ram].file = file;
      RamFileSlots[ram].name = RamSlotName(name);
      slot = ram;
      return;
    }
    return;
  }
  int disk = 0;
  for (int candidate = 1; candidate <= kDiskSlotCount && disk == 0; ++candidate)
    if (DiskFileSlots[candidate].kind == 0) disk = candidate;
  if (disk == 0) return;

  TDiskSlot& entry = DiskFileSlots[disk];
  entry.kind = kind;
  entry.file = plat::TPasFile{};
  const TErrorCode before = ErrorCode;
  ErrorCode = 0;
  AssignFileChecked(entry.file, name);
  if (ErrorCode == 0) {
    switch (kind) {
      case 1: ResetFileChecked(entry.file, 13, fileMode); break;
      case 2: RewriteFileChecked(entry.file, 13); break;
      case 3: ResetFileChecked(entry.file, 9, fileMode); break;
      case 4: RewriteFileChecked(entry.file, 9); break;
      case 5: ResetFileChecked(entry.file, 1, fileMode); break;
      case 6: RewriteFileChecked(entry.file, 1); break;
      case 9: case 11: ResetFileChecked(entry.file, 2, fileMode); break;
      case 10: case 12: RewriteFileChecked(entry.file, 2); break;
      default: break;  // 7, 8: assigned only
    }
  }
  const TErrorCode failure = ErrorCode;
  if (failure != 0) {
    ShowMessageNumber(10000 + failure);
    entry.kind = 0;
    WriteJournalLine(0, "IOFehler(1) " + std::to_string(failure));
    ErrorCode = 1;
    return;
  }
  ErrorCode = before;
  slot = disk;
  if (kind == 1 || kind == 3 || kind == 9 || kind == 11) CheckRecordFileLength(name, DataFileRecordSize(kind), true);
}

void CloseDataFileSlot(int slot) {
  if (IsDiskSlot(slot) && DiskFileSlots[slot].kind != 0) {
    if (IsOpen(DiskFileSlots[slot].file)) CloseFileChecked(DiskFileSlots[slot].file);
    DiskFileSlots[slot].kind = 0;
    return;
  }
  // An in-memory file stays open until the program ends.
  if (IsRamSlot(slot) && RamFileSlots[slot].file != nullptr) return;
  WriteJournalLine(0, "Fehler CloseFile " + std::to_string(slot));
}

plat::TPasFile& DataFileSlotFile(int slot) {
  if (IsDiskSlot(slot)) return DiskFileSlots[slot].file;
  return DiskFileSlots[0].file;  // never opened: every access fails cleanly
}

// --- block moves ---------------------------------------------------------------------------

// Records that fit the buffer, limited to the 16-bit count of a block move.
static int32_t FittingCount(int32_t count, const TRecordBuffer& buffer, uint32_t recordSize) {
  if (count <= 0 || recordSize == 0) return 0;
  const int64_t room = static_cast<int64_t>(buffer.bytes.size() / recordSize);
  return static_cast<int32_t>(std::min<int64_t>({count, room, 65535}));
}

// Where a block move on a slot goes, with the records that fit the buffer.
enum TBlockMoveTarget {
  kMoveUntouched,  // slot 0, or a byte or assigned kind: the count is left as it is
  kMoveNowhere,    // nothing open: the count is 0
  kMoveRam,
  kMoveDisk,
};

static TBlockMoveTarget FindBlockMoveTarget(int slot, const TRecordBuffer& buffer, int32_t count, int32_t& n) {
  n = 0;
  if (slot == 0) return kMoveUntouched;
  if (IsRamSlot(slot)) {
    if (RamFileSlots[slot].file == nullptr) return kMoveNowhere;
    n = FittingCount(count, buffer, 13);
    return kMoveRam;
  }
  if (!IsDiskSlot(slot) || DiskFileSlots[slot].kind == 0) return kMoveNowhere;
  const uint32_t recordSize = DataFileRecordSize(DiskFileSlots[slot].kind);
  if (recordSize == 0) return kMoveUntouched;  // byte and assigned kinds: the caller uses the file
  n = FittingCount(count, buffer, recordSize);
  return kMoveDisk;
}

void ReadDataFileSlot(int slot, TRecordBuffer& buffer, int32_t count, int32_t& countRead) {
  int32_t n = 0;
  switch (FindBlockMoveTarget(slot, buffer, count, n)) {
    case kMoveUntouched: return;
    case kMoveNowhere: countRead = 0; return;
    case kMoveRam:
      countRead = 0;
      if (n > 0) ReadRamFile(*RamFileSlots[slot].file, buffer.bytes.data(), n, countRead);
      return;
    case kMoveDisk:
      countRead =
          n > 0 ? ReadBlockChecked(DiskFileSlots[slot].file, buffer.bytes.data(), static_cast<uint16_t>(n)) : 0;
      return;
  }
}

void WriteDataFileSlot(int slot, const TRecordBuffer& buffer, int32_t count, int32_t& countWritten) {
  int32_t n = 0;
  switch (FindBlockMoveTarget(slot, buffer, count, n)) {
    case kMoveUntouched: return;
    case kMoveNowhere: countWritten = 0; return;
    case kMoveRam:
      countWritten = 0;
      if (n > 0) WriteRamFile(*RamFileSlots[slot].file, buffer.bytes.data(), n, countWritten);
      return;
    case kMoveDisk:
      countWritten =
          n > 0 ? WriteBlockChecked(DiskFileSlots[slot].file, buffer.bytes.data(), static_cast<uint16_t>(n)) : 0;
      return;
  }
}

void SeekDataFileSlot(int slot, int32_t record) {
  if (IsRamSlot(slot)) {
    if (RamFileSlots[slot].file != nullptr) SeekRamFile(*RamFileSlots[slot].file, record);
    return;
  }
  if (IsDiskSlot(slot) && DiskFileSlots[slot].kind != 0 && IsOpen(DiskFileSlots[slot].file))
    plat::Seek(DiskFileSlots[slot].file, record);
}

int32_t DataFileSlotSize(int slot) {
  if (IsRamSlot(slot)) return RamFileSlots[slot].file != nullptr ? RamFileSlots[slot].file->recordCount : 0;
  if (IsDiskSlot(slot) && DiskFileSlots[slot].kind != 0 && IsOpen(DiskFileSlots[slot].file))
    return static_cast<int32_t>(GetFileSizeChecked(DiskFileSlots[slot].file));
  return 0;
}

void SeekSlotEnd(int slot) { SeekDataFileSlot(slot, DataFileSlotSize(slot)); }
