// Data-file slots and in-memory block files.
//
// Record files (vector files of 13-byte records, point files of 9-byte
// records, relief files of 2-byte cells, byte files) are opened by name and
// kind into numbered slots and moved in blocks of at most 5000 records.
// Slots 1-8 are files on disk, slots 9-16 in-memory block files (TRamFile);
// slot 0 means "no slot".
//
// Block buffers belong to the operation that moves the records: it
// allocates its own TRecordBuffer (AllocRecordBuffer) and passes it to every
// read and write, so that operations that nest never share or free each
// other's buffer.
//
// Kinds (TDataFileKind): odd kinds read, even kinds write (write = read + 1).
//   0        refused (message 3)
//   1, 2     vector records (13): open existing / create
//   3, 4     point records (9):   open existing / create
//   5, 6     bytes (1):           open existing / create; no block transfer
//   7, 8     only assigned; the caller opens the slot's file itself
//   9-12     relief cells (2):    9, 11 open existing; 10, 12 create
//   13       a new in-memory file in slots 9-16
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

using TDataFileKind = uint8_t;

constexpr int kDiskSlotCount = 8;       // slots 1-8
constexpr int kFirstRamSlot = 9;        // slots 9-16
constexpr int kLastRamSlot = 16;
constexpr int32_t kSlotBlockRecords = 5000;  // records per block move
constexpr int32_t kBufferRecords = 5001;     // one record of room is spare
constexpr uint32_t kVectorBufferBytes = 65013;  // 5001 x 13
constexpr uint32_t kPointBufferBytes = 45009;   // 5001 x 9

// --- in-memory block files ------------------------------------------------------
constexpr int32_t kRamBlockRecords = 4096;
constexpr uint32_t kRamBlockBytes = 53248;  // 4096 x 13
constexpr int kRamBlockCount = 256;         // capacity 1,048,576 records
// Status values: 0 good; negative values stay until freed or initialised.
constexpr int16_t kRamLogicalError = -1;   // a block is missing or allocated twice
constexpr int16_t kRamNoMemory = -2;       // a block could not be allocated
constexpr int16_t kRamBlockRange = -3;     // block index 256 or more

struct TRamFile {
  int32_t recordCount = 0;  // highest position reached by a write or seek
  int32_t position = 0;     // next record to read or write
  uint8_t* blocks[kRamBlockCount] = {};
  int16_t status = 0;
};

// Memory for one block of an in-memory file; nullptr when none is left.
// Replaceable so that a shortage can be produced on purpose.
extern uint8_t* (*AllocRamBlockMemory)(uint32_t bytes);

void InitRamFile(TRamFile& file);   // empty; frees blocks left from earlier use
void FreeRamFile(TRamFile& file);   // frees every block; empty
void TruncateRamFile(TRamFile& file);  // cut at the position
void SeekRamFile(TRamFile& file, int32_t record);
void AllocRamFileBlock(TRamFile& file, int32_t index);
// Records are 13 bytes each; the out count is 0 whenever the status is negative.
void WriteRamFile(TRamFile& file, const void* records, int32_t count, int32_t& written);
void ReadRamFile(TRamFile& file, void* records, int32_t count, int32_t& read);
void ShowRamFileError(int16_t status);

// --- slots ----------------------------------------------------------------------------
struct TDiskSlot {
  plat::TPasFile file;
  TDataFileKind kind = 0;  // 0 = free
};
struct TRamSlot {
  TRamFile* file = nullptr;
  std::string name;  // empty = free; at most 80 characters
};

// Slot tables; index 0 of DiskFileSlots and indices 0-8 of RamFileSlots are unused.
extern TDiskSlot DiskFileSlots[kDiskSlotCount + 1];
extern TRamSlot RamFileSlots[kLastRamSlot + 1];

// A block buffer owned by one operation.
struct TRecordBuffer {
  std::vector<uint8_t> bytes;
};
// flag 1 allocates, 0 frees: kinds 1, 2 and 13 the vector buffer (65013
// bytes), kinds 3 and 4 the point buffer (45009 bytes); other kinds leave
// the buffer alone (relief callers size their own).
void AllocRecordBuffer(TDataFileKind kind, TRecordBuffer& buffer, int flag);

// Start-up and exit: clear both tables / close every open disk slot.
void InitDataFileSlots();
void CloseOpenDataFileSlots();
void ClearRamFileSlots();  // frees every in-memory slot
int FindRamFileSlot(const std::string& name);  // 9-16, 0 when none

// Read kind of a file from its name; 0 (and message 1) when unknown.
TDataFileKind GetDataFileKind(const std::string& name);
// Record size of a kind (0 for kinds without block transfer).
uint32_t DataFileRecordSize(TDataFileKind kind);
// False, with error code 1010, when the file's length is no whole number of
// records (journal gives the journal line with the file name).
bool CheckRecordFileLength(const std::string& name, uint32_t recordSize, bool journal);

// Opens name into a free slot; slot is 0 on failure. fileMode 0 read only,
// 2 read/write, for the kinds that open an existing file.
void OpenDataFileSlot(const std::string& name, TDataFileKind kind, int& slot, uint8_t fileMode);
// Block moves between a slot and the caller's buffer (at most what the
// buffer holds). Slot 0 and kinds 5-8 leave the out count untouched; a free
// or unknown slot gives 0.
void ReadDataFileSlot(int slot, TRecordBuffer& buffer, int32_t count, int32_t& countRead);
void WriteDataFileSlot(int slot, const TRecordBuffer& buffer, int32_t count, int32_t& countWritten);
void SeekDataFileSlot(int slot, int32_t record);
void SeekSlotEnd(int slot);
// Size in records of a disk or in-memory slot; 0 for a free slot.
int32_t DataFileSlotSize(int slot);
void CloseDataFileSlot(int slot);
// The file record of a disk slot, for byte-level access of kinds 5-12.
plat::TPasFile& DataFileSlotFile(int slot);
