// Decoder of packed relief files.
#include "ui/packed_relief_decoder.h"

#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "model/relief_header.h"
#include "ui/common_dialogs.h"

namespace {

struct TPackedDecoder {
  TFileRec input;
  TFileRec output;
  uint8_t buffer[kPackedInputBufferSize];
  int32_t position = 0;  // next byte of the buffer
  int32_t fill = 0;      // bytes held
  bool endOfData = false;
  std::vector<uint16_t> row;
  int32_t cell = 0;        // next cell of the row
  int32_t rowLength = 0;   // cells per row
  int32_t rowsLeft = 0;    // rows the header still allows
  int32_t height = 0;      // running height
  bool runSeen = false;
  bool computeRange = false;
  int16_t lowest = 32767;
  int16_t highest = -32767;
  bool writeFailed = false;
};

// Moves the unread tail to the front and reads more.
void Refill(TPackedDecoder& d) {
  if (d.endOfData) return;
  const int32_t tail = d.fill - d.position;
  if (tail > 0) memmove(d.buffer, d.buffer + d.position, tail);
  d.fill = tail;
  d.position = 0;
  int32_t got = ReadBlockLongChecked(d.input, d.buffer + d.fill, kPackedInputBufferSize - d.fill);
  if (got <= 0) d.endOfData = true;
  d.fill += got > 0 ? got : 0;
}

bool TakeByte(TPackedDecoder& d, uint8_t& b) {
  if (d.position >= d.fill) Refill(d);
  if (d.position >= d.fill) return false;
  b = d.buffer[d.position++];
  return true;
}

bool TakeWord(TPackedDecoder& d, uint16_t& w) {
  if (d.fill - d.position < 2) Refill(d);
  if (d.fill - d.position < 2) {
    d.position = d.fill;
    return false;
  }
  w = static_cast<uint16_t>(d.buffer[d.position] | (d.buffer[d.position + 1] << 8));
  d.position += 2;
  return true;
}

// Reads the tags from the first buffer load into the header.
void ReadHeaderTags(TPackedDecoder& d, uint8_t (&header)[kReliefHeaderSize]) {
  auto have = [&](int n) { return d.fill - d.position >= n; };
  while (d.position < d.fill) {
    const uint8_t tag = d.buffer[d.position];
    if (tag > 60) return;
    if (tag == 60) {
      ++d.position;
      return;
    }
    if (tag >= 1 && tag <= 6) {
      if (!have(3)) return;
      uint8_t lo = d.buffer[d.position + 1], hi = d.buffer[d.position + 2];
      if (tag <= 2) {
        header[tag - 1] = lo;
      } else {
        header[(tag - 3) * 2 + 2] = lo;
        header[(tag - 3) * 2 + 3] = hi;
      }
      d.position += 3;
    } else if (tag >= 7 && tag <= 12) {
      if (!have(5)) return;
      memcpy(header + 10 + (tag - 7) * 4, d.buffer + d.position + 1, 4);
      d.position += 5;
    } else if (tag == 13 || tag == 14) {
      if (!have(2)) return;
      const int length = d.buffer[d.position + 1];
      if (!have(2 + length)) return;
      const int keep = tag == 13 ? 8 : 63;
      const int offset = tag == 13 ? 55 : 64;
      const int n = length < keep ? length : keep;
      header[offset] = static_cast<uint8_t>(n);
      memcpy(header + offset + 1, d.buffer + d.position + 2, n);
      d.position += 2 + length;
    } else {
      return;  // 0 and 15..59 end the header and stay in the stream
    }
  }
}

// Writes the full row length of the row buffer.
void WriteRow(TPackedDecoder& d) {
  if (d.rowsLeft <= 0) return;
  --d.rowsLeft;
  if (d.computeRange) {
    for (int32_t i = 0; i < d.rowLength; ++i) {
      int16_t v = static_cast<int16_t>(d.row[i]);
      if (v < d.lowest) d.lowest = v;
      if (v > d.highest) d.highest = v;
    }
  }
  const int32_t bytes = d.rowLength * 2;
  if (WriteBlockLongChecked(d.output, d.row.data(), bytes) != bytes) d.writeFailed = true;
}

void StoreCell(TPackedDecoder& d, int32_t value) {
  if (d.cell < kPackedRowCells) d.row[d.cell] = static_cast<uint16_t>(value & 0xFFFF);
  if (d.cell < kPackedRowCells) ++d.cell;
}

// Finishes the current row before a row command; false stops decoding.
bool FinishRowBeforeCommand(TPackedDecoder& d) {
  if (!d.runSeen) return true;
  if (d.cell < d.rowLength) {
    ShowTitledMessage("Fehler!");
    return false;
  }
  WriteRow(d);
  return !d.writeFailed;
}

void DecodeStream(TPackedDecoder& d) {
  uint8_t b = 0;
  while (TakeByte(d, b)) {
    if (d.writeFailed) return;
    if (b < 64) {
      if (b == 0 || b == 10 || b == 11) {
        if (!FinishRowBeforeCommand(d)) return;
      }
      uint16_t w = 0;
      if (b == 0) {
        if (CheckEscapeAbort() != 0) return;
        std::fill(d.row.begin(), d.row.end(), 0);
        if (!TakeWord(d, w)) return;
        d.height = static_cast<int16_t>(w);
        d.row[0] = w;
        d.cell = 1;
      } else if (b == 10) {
        std::fill(d.row.begin(), d.row.end(), 0);
        for (int32_t i = 0; i < d.rowLength; ++i) {
          if (!TakeWord(d, w)) return;
          d.row[i] = w;
          d.height = static_cast<int16_t>(w);
        }
      } else if (b != 11) {
        if (!TakeWord(d, w)) return;
        d.height = static_cast<int16_t>(w);
        StoreCell(d, d.height);
      }
    } else if (b < 128) {
      d.runSeen = true;
      int count = (b & 63) + 1;
      while (count-- > 0 && d.cell < d.rowLength) {
        uint8_t delta = 0;
        if (!TakeByte(d, delta)) return;
        d.height += static_cast<int8_t>(delta);
        StoreCell(d, d.height);
      }
    } else if (b < 192) {
      d.runSeen = true;
      int count = (b & 63) + 1;
      while (count-- > 0 && d.cell < d.rowLength) StoreCell(d, d.height);
    }
  }
}

}  // namespace

void DecodePackedReliefFile(const std::string& packedName, const std::string& reliefName) {
  if (!TestPlainFileExists(packedName)) return;
  TPackedDecoder d;
  AssignFileChecked(d.input, packedName);
  ResetFileChecked(d.input, 1, 0);
  if (d.input.state != plat::kFileInput && d.input.state != plat::kFileInOut) return;
  if (GetFileSizeChecked(d.input) <= 1) {
    CloseFileChecked(d.input);
    return;
  }
  AssignFileChecked(d.output, reliefName);
  RewriteFileChecked(d.output, 1);
  if (d.output.state != plat::kFileOutput && d.output.state != plat::kFileInOut) {
    CloseFileChecked(d.input);
    return;
  }
  uint8_t header[kReliefHeaderSize] = {};
  Refill(d);
  ReadHeaderTags(d, header);
  CheckReliefHeaderAndWarn(header);
  if (header[1] == 255) {
    d.computeRange = true;
    header[1] = 0;
    const int16_t low = 32767, high = -32767;
    memcpy(header + 6, &low, 2);
    memcpy(header + 8, &high, 2);
  }
  int16_t rows = 0, cells = 0;
  memcpy(&rows, header + 2, 2);
  memcpy(&cells, header + 4, 2);
  if (WriteBlockLongChecked(d.output, header, kReliefHeaderSize) != kReliefHeaderSize) d.writeFailed = true;
  if (rows > 0 && cells > 0 && !d.writeFailed) {
    d.rowLength = cells;
    d.rowsLeft = rows;
    d.row.assign(kPackedRowCells, 0);
    DecodeStream(d);
    if (!d.writeFailed && (d.runSeen || d.cell > 0)) WriteRow(d);
    if (d.computeRange && !d.writeFailed) {
      if (d.highest < d.lowest) d.lowest = d.highest = 0;  // nothing decoded
      memcpy(header + 6, &d.lowest, 2);
      memcpy(header + 8, &d.highest, 2);
      plat::Seek(d.output, 0);
      CheckIoResult();
      WriteBlockLongChecked(d.output, header, kReliefHeaderSize);
    }
  }
  CloseFileChecked(d.output);
  CloseFileChecked(d.input);
}
