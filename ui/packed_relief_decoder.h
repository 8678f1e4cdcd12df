// Decoder of packed relief files (".HRP") into 16-bit relief data files.
//
// Packed file: a tagged header (each tag byte followed by its value,
// little-endian), then a byte stream of rows.
//   tag  value                     relief header field (128 bytes)
//     1  16-bit, kept as a byte    byte 0, kind
//     2  16-bit, kept as a byte    byte 1, cell format (255: compute the range)
//     3  16-bit                    bytes 2-3, row count
//     4  16-bit                    bytes 4-5, cells per row
//     5  16-bit                    bytes 6-7, lowest cell
//     6  16-bit                    bytes 8-9, highest cell
//   7-12 float                     bytes 10-33, X/Y step, Z unit, X/Y/Z origin
//    13  length-prefixed string    bytes 55.., up to 8 characters
//    14  length-prefixed string    bytes 64.., comment, up to 63 characters
//    60  none                      end of the header
// A tag above 60 or any other byte ends the header and stays in the stream.
//
// Stream byte b:
//   0..63    row command: 0 new row (16-bit start height), 10 raw row (one
//            16-bit height per cell), 11 repeat the previous row, other
//            values one 16-bit height for the next cell
//   64..127  delta run: (b and 63) + 1 signed bytes added to the height
//   128..191 repeat run: the height stored (b and 63) + 1 times
//   192..255 ignored
// Output: the 128-byte header followed by the rows (cells per row 16-bit
// cells each).
#pragma once

#include <cstdint>
#include <string>

constexpr int kReliefHeaderSize = 128;
constexpr int kPackedInputBufferSize = 1000;
constexpr int32_t kPackedRowCells = 65535;

// The output exists afterwards when the input held more than one byte and the
// output could be created. A header whose row count or row length is not
// positive gives an output of the header alone; no more rows than the header
// counts are written.
void DecodePackedReliefFile(const std::string& packedName, const std::string& reliefName);
