// Picture codecs: BMP (1, 8, 24 and 32 bits, uncompressed), JPEG through
// libjpeg and GIF through giflib. Pictures come out as rows from the top:
// 8-bit pictures as palette indices with their palette, all others as RGB
// triplets. Every reader checks the sizes in the file against what is there
// and refuses a file that claims more than it holds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw.h"

namespace plat {

struct TDecodedPicture {
  int width = 0;
  int height = 0;
  int sourceBits = 0;  // bits per pixel of the file (1, 8, 24, 32; JPEG 24, GIF 8)
  bool indexed = false;                   // pixels are palette indices
  std::array<uint8_t, 256 * 3> palette{};  // red, green, blue
  std::vector<uint8_t> pixels;            // indexed: width * height; else width * height * 3 (RGB)
};

// Largest picture side the readers accept.
constexpr int kMaxPictureSide = 16384;

bool DecodeBmp(const std::vector<uint8_t>& bytes, TDecodedPicture& out);
bool ReadBmpPicture(const std::string& hostPath, TDecodedPicture& out);
bool ReadJpegPicture(const std::string& hostPath, TDecodedPicture& out);
bool ReadGifPicture(const std::string& hostPath, TDecodedPicture& out);

// rgb: width * height * 3 bytes, rows from the top.
bool WriteBmp24Picture(const std::string& hostPath, int width, int height, const uint8_t* rgb);
// indices with a 256-entry palette (red, green, blue).
bool WriteBmp8Picture(const std::string& hostPath, int width, int height, const uint8_t* indices,
                      const uint8_t* palette);
bool WriteJpegPicture(const std::string& hostPath, int width, int height, const uint8_t* rgb, int quality);
// Colours are reduced to a 6 x 6 x 6 colour cube.
bool WriteGifPicture(const std::string& hostPath, int width, int height, const uint8_t* rgb);

bool ReadFileBytes(const std::string& hostPath, std::vector<uint8_t>& bytes);

// Picture tables: an 11-byte head (picture count n as int32 at byte 7), n + 1
// directory entries of 44 bytes (name as length byte + up to 39 capitals,
// int32 data offset at byte 40; the last entry holds only the end offset),
// then the pictures. Finds the bytes of the named picture (compared in
// capitals); false when the name is missing or the directory points outside
// the table.
bool FindTablePicture(const std::vector<uint8_t>& table, const std::string& name, size_t& begin, size_t& end);

// The resource pictures stand in the picture table "Resourc1.DAT" of the
// program folder, one BMP file per name. False (and an empty block) when the
// name is missing or its picture unreadable.
constexpr const char* kResourceFileName = "Resourc1.DAT";
bool LoadResourcePicture(const std::string& name, TPixelBlock& out);

}  // namespace plat
