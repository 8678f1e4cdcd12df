// Windows bitmap files (BMP), uncompressed: 1, 4, 8, 24 and 32 bits per
// pixel, rows bottom-up or top-down. Every size, offset and count is checked
// against the file before it is used; a malformed file gives false.
//
// File layout (little-endian):
//   offset size  meaning
//    0      2    "BM"
//    2      4    file size (not trusted)
//    6      4    reserved
//   10      4    offset of the pixel rows from the start of the file
//   14      4    size of the information header: 12, or 40 and more
//  core header (12):
//   18      2    width            20  2  height (rows bottom-up)
//   22      2    planes (1)       24  2  bits per pixel
//  information header (40 and more):
//   18      4    width            22  4  height (negative: rows top-down)
//   26      2    planes (1)       28  2  bits per pixel
//   30      4    compression: 0 none, 3 bit fields (32 bits per pixel)
//   34      4    image size       38  8  resolution
//   46      4    colours used (0: all 2^bits for 8 bits and less)
//   50      4    important colours
//   54     12    red, green, blue masks for bit fields (after a 40-byte
//                header, else inside the larger header)
//  colour table: after the header (and the masks after a 40-byte header),
//   entries blue, green, red, reserved (4 bytes; 3 with the core header)
//  pixel rows: each padded to a multiple of 4 bytes; for 1, 4 and 8 bits
//   the highest bits hold the leftmost pixel
#include <cstdio>
#include <vector>

#include "platform/draw.h"

namespace plat {

namespace {

constexpr long kMaxFileBytes = 256L << 20;
constexpr int64_t kMaxSide = 65535;
constexpr int64_t kMaxPixels = int64_t(1) << 26;

struct TBytes {
  const std::vector<uint8_t>& d;
  bool Has(uint64_t off, uint64_t n) const { return off <= d.size() && n <= d.size() - off; }
  uint32_t U16(size_t off) const { return uint32_t(d[off]) | (uint32_t(d[off + 1]) << 8); }
  uint32_t U32(size_t off) const { return U16(off) | (U16(off + 2) << 16); }
};

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(size_t(size));
    ok = std::fread(out.data(), 1, out.size(), f) == out.size();
  }
  std::fclose(f);
  return ok;
}

// One channel of a bit-field pixel scaled to 0..255.
struct TField {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  bool Set(uint32_t m) {
    mask = m;
    if (m == 0) return false;
    shift = 0;
    while (((m >> shift) & 1) == 0) ++shift;
    max = m >> shift;
    return true;
  }
  uint32_t Of(uint32_t px) const { return uint32_t((uint64_t((px & mask) >> shift) * 255 + max / 2) / max); }
};

bool DecodeBmp(const std::vector<uint8_t>& data, TPixelBlock& out) {
  TBytes b{data};
  if (!b.Has(0, 18) || data[0] != 'B' || data[1] != 'M') return false;
  uint32_t pixelOffset = b.U32(10);
  uint32_t headerSize = b.U32(14);
  if (headerSize != 12 && headerSize < 40) return false;
  if (!b.Has(14, headerSize)) return false;

  int64_t width, height;
  uint32_t planes, bits, compression = 0, coloursUsed = 0;
  bool topDown = false;
  size_t entrySize = 4;
  if (headerSize == 12) {
    width = b.U16(18);
    height = b.U16(20);
    planes = b.U16(22);
    bits = b.U16(24);
    entrySize = 3;
  } else {
    width = int32_t(b.U32(18));
    int32_t h = int32_t(b.U32(22));
    if (h == INT32_MIN) return false;
    topDown = h < 0;
    height = topDown ? -int64_t(h) : h;
    planes = b.U16(26);
    bits = b.U16(28);
    compression = b.U32(30);
    coloursUsed = b.U32(46);
  }
  if (planes != 1 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      width * height > kMaxPixels)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;

  uint64_t tableOffset = 14 + uint64_t(headerSize);
  TField red, green, blue;
  if (compression == 3) {
    if (bits != 32) return false;
    uint64_t maskOffset = 14 + 40;
    if (headerSize == 40) tableOffset += 12;
    if (!b.Has(maskOffset, 12)) return false;
    if (!red.Set(b.U32(size_t(maskOffset))) || !green.Set(b.U32(size_t(maskOffset + 4))) ||
        !blue.Set(b.U32(size_t(maskOffset + 8))))
      return false;
  } else if (compression != 0) {
    return false;
  }

  std::vector<uint32_t> palette;
  if (bits <= 8) {
    uint64_t count = coloursUsed == 0 ? (uint64_t(1) << bits) : coloursUsed;
    if (count > (uint64_t(1) << bits)) count = uint64_t(1) << bits;
    if (!b.Has(tableOffset, count * entrySize)) return false;
    for (uint64_t i = 0; i < count; ++i) {
      size_t e = size_t(tableOffset + i * entrySize);
      palette.push_back((uint32_t(data[e + 2]) << 16) | (uint32_t(data[e + 1]) << 8) | data[e]);
    }
  }

  uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
  uint64_t usedBytes = (uint64_t(width) * bits + 7) / 8;
  // The last row may lack its padding.
  if (!b.Has(pixelOffset, stride * uint64_t(height - 1) + usedBytes)) return false;

  out.width = int(width);
  out.height = int(height);
  out.pixels.assign(size_t(width * height), 0);
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* row = data.data() + pixelOffset + stride * uint64_t(y);
    uint32_t* dst = out.pixels.data() + size_t((topDown ? y : height - 1 - y) * width);
    for (int64_t x = 0; x < width; ++x) {
      uint32_t px = 0;
      if (bits <= 8) {
        uint64_t bit = uint64_t(x) * bits;
        uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        px = index < palette.size() ? palette[index] : 0;
      } else if (bits == 24) {
        const uint8_t* p = row + x * 3;
        px = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
      } else {
        const uint8_t* p = row + x * 4;
        uint32_t v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
        if (compression == 3) px = (red.Of(v) << 16) | (green.Of(v) << 8) | blue.Of(v);
        else px = v & 0x00FFFFFF;
      }
      dst[x] = px;
    }
  }
  return true;
}

}  // namespace

bool LoadBmpFile(const std::string& hostPath, TPixelBlock& out) {
  out = TPixelBlock{};
  std::vector<uint8_t> data;
  if (!ReadWholeFile(hostPath, data)) return false;
  if (!DecodeBmp(data, out)) {
    out = TPixelBlock{};
    return false;
  }
  return true;
}

}  // namespace plat
