// PNG output of the frame buffer (screenshots): 8-bit RGB, no interlace.
//
// File layout:
//   8 bytes   signature 89 50 4E 47 0D 0A 1A 0A
//   chunks    length (4, big-endian) | type (4) | data | CRC-32 of type + data
//     IHDR    width 4 | height 4 | bit depth 1 (8) | colour type 1 (2 = RGB) |
//             compression 1 (0) | filter 1 (0) | interlace 1 (0)
//     IDAT    zlib stream: 78 01 | stored deflate blocks | Adler-32 (big-endian)
//             of the rows, each row a filter byte 0 and width * 3 bytes R G B
//     IEND    empty
// Stored blocks: 1 byte (BFINAL, BTYPE 00) | LEN 2 | NLEN 2 (little-endian) | LEN bytes.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/draw.h"

namespace plat {

namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  static uint32_t table[256];
  static bool made = false;
  if (!made) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    made = true;
  }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  size_t i = 0;
  while (i < data.size()) {
    size_t end = std::min(data.size(), i + 5552);  // largest run before the sums can overflow
    for (; i < end; ++i) {
      a += data[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return (b << 16) | a;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(out, uint32_t(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

bool WritePng(const TFrameBuffer& fb, const std::string& hostPath) {
  if (fb.width <= 0 || fb.height <= 0 || fb.pixels.size() < size_t(fb.width) * size_t(fb.height)) return false;
  // A PNG stream holds at most 2^31 - 1 bytes per chunk.
  const size_t rowBytes = size_t(fb.width) * 3 + 1;
  if (rowBytes * size_t(fb.height) > 0x70000000u) return false;

  std::vector<uint8_t> raw;
  raw.reserve(rowBytes * size_t(fb.height));
  for (int y = 0; y < fb.height; ++y) {
    raw.push_back(0);
    const uint32_t* row = fb.pixels.data() + size_t(y) * size_t(fb.width);
    for (int x = 0; x < fb.width; ++x) {
      raw.push_back(uint8_t(row[x] >> 16));
      raw.push_back(uint8_t(row[x] >> 8));
      raw.push_back(uint8_t(row[x]));
    }
  }

  std::vector<uint8_t> z;
  z.reserve(raw.size() + raw.size() / 65535 * 5 + 16);
  z.push_back(0x78);
  z.push_back(0x01);
  size_t pos = 0;
  do {
    size_t len = std::min<size_t>(65535, raw.size() - pos);
    bool last = pos + len == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(uint8_t(len));
    z.push_back(uint8_t(len >> 8));
    z.push_back(uint8_t(~len));
    z.push_back(uint8_t(~len >> 8));
    z.insert(z.end(), raw.begin() + long(pos), raw.begin() + long(pos + len));
    pos += len;
  } while (pos < raw.size());
  PutBe32(z, Adler32(raw));

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  PutBe32(ihdr, uint32_t(fb.width));
  PutBe32(ihdr, uint32_t(fb.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});

  FILE* f = std::fopen(hostPath.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::remove(hostPath.c_str());
  return ok;
}

}  // namespace plat
