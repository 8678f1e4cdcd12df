// Buffered sequential record files (see record_stream.h).
#include "model/record_stream.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "frame/checked_files.h"

void ReadBlockCheckedCall(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count) {
  assert(n <= UINT16_MAX);
  count = ReadBlockChecked(f, buffer, static_cast<uint16_t>(n));
}

void WriteBlockCheckedCall(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  assert(n <= UINT16_MAX);
  count = WriteBlockChecked(f, buffer, static_cast<uint16_t>(n));
}

namespace {

// Records of recordSize bytes as a count of the file's own records.
uint32_t FileUnits(const plat::TPasFile& file, uint32_t records, uint32_t recordSize) {
  const uint64_t bytes = uint64_t(records) * recordSize;
  assert(file.recSize > 0 && bytes % file.recSize == 0);
  return static_cast<uint32_t>(bytes / file.recSize);
}

}  // namespace

// --- writer ---

void StartRecordFileWriter(TRecordFileWriter& w, plat::TPasFile& file, uint32_t recordSize, uint32_t blockRecords,
                           TBlockWriteCall write, bool stopAfterFailure) {
  assert(recordSize > 0 && blockRecords > 0 && write != nullptr);
  w.file = &file;
  w.write = write;
  w.recordSize = recordSize;
  w.blockRecords = blockRecords;
  w.stopAfterFailure = stopAfterFailure;
  w.buffer.assign(size_t(blockRecords) * recordSize, 0);
  w.buffered = 0;
  w.put = 0;
  w.failed = false;
}

void FlushRecordFileWriter(TRecordFileWriter& w) {
  if (w.buffered == 0) return;
  if (!w.failed || !w.stopAfterFailure) {
    const uint32_t n = FileUnits(*w.file, w.buffered, w.recordSize);
    uint32_t written = 0;
    w.write(*w.file, w.buffer.data(), n, written);
    if (written != n) w.failed = true;
  }
  w.buffered = 0;
}

void PutRecord(TRecordFileWriter& w, const void* record) {
  assert(w.buffered < w.blockRecords);
  memcpy(w.buffer.data() + size_t(w.buffered) * w.recordSize, record, w.recordSize);
  ++w.buffered;
  ++w.put;
  if (w.buffered == w.blockRecords) FlushRecordFileWriter(w);
}

void PutRecords(TRecordFileWriter& w, const void* records, int64_t count) {
  const uint8_t* at = static_cast<const uint8_t*>(records);
  while (count > 0) {
    const uint32_t n = static_cast<uint32_t>(std::min<int64_t>(count, w.blockRecords - w.buffered));
    memcpy(w.buffer.data() + size_t(w.buffered) * w.recordSize, at, size_t(n) * w.recordSize);
    w.buffered += n;
    w.put += n;
    at += size_t(n) * w.recordSize;
    count -= n;
    if (w.buffered == w.blockRecords) FlushRecordFileWriter(w);
  }
}

// --- reader ---

void StartRecordFileReader(TRecordFileReader& r, plat::TPasFile& file, uint32_t recordSize, uint32_t blockRecords,
                           TBlockReadCall read) {
  assert(recordSize > 0 && blockRecords > 0 && read != nullptr);
  r.file = &file;
  r.read = read;
  r.recordSize = recordSize;
  r.blockRecords = blockRecords;
  r.buffer.assign(size_t(blockRecords) * recordSize, 0);
  r.filled = 0;
  r.next = 0;
  r.ended = false;
}

bool GetRecord(TRecordFileReader& r, void* record) {
  if (r.next == r.filled) {
    if (r.ended) return false;
    const uint32_t n = FileUnits(*r.file, r.blockRecords, r.recordSize);
    uint32_t got = 0;
    r.read(*r.file, r.buffer.data(), n, got);
    if (got < n) r.ended = true;
    r.filled = static_cast<uint32_t>(uint64_t(got) * r.file->recSize / r.recordSize);  // whole records only
    r.next = 0;
    if (r.filled == 0) return false;
  }
  memcpy(record, r.buffer.data() + size_t(r.next) * r.recordSize, r.recordSize);
  ++r.next;
  return true;
}
