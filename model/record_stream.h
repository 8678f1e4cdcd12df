// Buffered sequential record files.
//
// A writer collects records of one fixed size and hands them to the file in
// blocks; a reader fetches blocks and gives the records back one by one.
// The file is opened and closed by the caller, and every block moves
// through the call the caller names (the checked layer, the quiet layer or
// one of its own), so each caller keeps its own error reporting. Counts
// passed to the call are in the file's own record size (TPasFile::recSize),
// which must divide the block.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/files.h"

// One block move: n file records from or to buffer, count the records moved
// (0 after an error). BlockReadQuiet and BlockWriteQuiet have this shape.
using TBlockReadCall = void (*)(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count);
using TBlockWriteCall = void (*)(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count);

// The checked layer in that shape (ReadBlockChecked / WriteBlockChecked;
// n is at most 65535).
void ReadBlockCheckedCall(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count);
void WriteBlockCheckedCall(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count);

// --- writer ----------------------------------------------------------------------------

struct TRecordFileWriter {
  plat::TPasFile* file = nullptr;  // not owned
  TBlockWriteCall write = nullptr;
  uint32_t recordSize = 0;   // bytes
  uint32_t blockRecords = 0;  // records per block
  // After a short block: true drops every later record (the failure is
  // reported once), false still tries every later block.
  bool stopAfterFailure = true;
  std::vector<uint8_t> buffer;
  uint32_t buffered = 0;  // records waiting in the buffer
  int64_t put = 0;        // records handed to the writer
  bool failed = false;    // some block did not arrive whole
};

void StartRecordFileWriter(TRecordFileWriter& w, plat::TPasFile& file, uint32_t recordSize, uint32_t blockRecords,
                           TBlockWriteCall write, bool stopAfterFailure = true);
void PutRecord(TRecordFileWriter& w, const void* record);
void PutRecords(TRecordFileWriter& w, const void* records, int64_t count);
// Writes what waits in the buffer; the caller flushes before it closes.
void FlushRecordFileWriter(TRecordFileWriter& w);

// --- reader ----------------------------------------------------------------------------

struct TRecordFileReader {
  plat::TPasFile* file = nullptr;  // not owned
  TBlockReadCall read = nullptr;
  uint32_t recordSize = 0;
  uint32_t blockRecords = 0;
  std::vector<uint8_t> buffer;
  uint32_t filled = 0;  // records in the buffer
  uint32_t next = 0;    // the next record to give back
  bool ended = false;   // a block came back short: nothing more to fetch
};

void StartRecordFileReader(TRecordFileReader& r, plat::TPasFile& file, uint32_t recordSize, uint32_t blockRecords,
                           TBlockReadCall read);
// The next record into record; false at the end of the file (or after a
// failed read).
bool GetRecord(TRecordFileReader& r, void* record);
