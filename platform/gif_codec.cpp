// GIF reading and writing through giflib, and the BMP codec.
#include <algorithm>
#include <cstring>
#include <fstream>

#include <gif_lib.h>

#include "platform/picture_codecs.h"

namespace plat {

bool ReadFileBytes(const std::string& hostPath, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > (std::streamoff(1) << 30)) return false;
  in.seekg(0);
  bytes.resize(size_t(size));
  if (size > 0) in.read(reinterpret_cast<char*>(bytes.data()), size);
  return bool(in) || size == 0;
}

// --- GIF ------------------------------------------------------------------------------

bool ReadGifPicture(const std::string& hostPath, TDecodedPicture& out) {
  out = TDecodedPicture{};
  int error = 0;
  GifFileType* gif = DGifOpenFileName(hostPath.c_str(), &error);
  if (gif == nullptr) return false;
  bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && gif->SWidth > 0 && gif->SHeight > 0 &&
            gif->SWidth <= kMaxPictureSide && gif->SHeight <= kMaxPictureSide;
  if (ok) {
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& d = image.ImageDesc;
    ok = map != nullptr && map->ColorCount > 0 && map->ColorCount <= 256 && image.RasterBits != nullptr &&
         d.Width > 0 && d.Height > 0;
    if (ok) {
      out.width = gif->SWidth;
      out.height = gif->SHeight;
      out.sourceBits = 8;
      out.indexed = true;
      for (int i = 0; i < map->ColorCount; ++i) {
        out.palette[size_t(3 * i)] = map->Colors[i].Red;
        out.palette[size_t(3 * i + 1)] = map->Colors[i].Green;
        out.palette[size_t(3 * i + 2)] = map->Colors[i].Blue;
      }
      const uint8_t background = uint8_t(gif->SBackGroundColor < map->ColorCount ? gif->SBackGroundColor : 0);
      out.pixels.assign(size_t(out.width) * size_t(out.height), background);
      // The first image, clipped to the logical screen.
      for (int y = 0; y < d.Height; ++y) {
        const int sy = d.Top + y;
        if (sy < 0 || sy >= out.height) continue;
        for (int x = 0; x < d.Width; ++x) {
          const int sx = d.Left + x;
          if (sx < 0 || sx >= out.width) continue;
          out.pixels[size_t(sy) * size_t(out.width) + size_t(sx)] = image.RasterBits[size_t(y) * size_t(d.Width) + size_t(x)];
        }
      }
    }
  }
  DGifCloseFile(gif, &error);
  if (!ok) out = TDecodedPicture{};
  return ok;
}

bool WriteGifPicture(const std::string& hostPath, int width, int height, const uint8_t* rgb) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || rgb == nullptr) return false;
  GifColorType colors[256]{};
  for (int i = 0; i < 216; ++i) {
    colors[i].Red = GifByteType(i / 36 * 51);
    colors[i].Green = GifByteType(i / 6 % 6 * 51);
    colors[i].Blue = GifByteType(i % 6 * 51);
  }
  ColorMapObject* map = GifMakeMapObject(256, colors);
  if (map == nullptr) return false;
  int error = 0;
  GifFileType* gif = EGifOpenFileName(hostPath.c_str(), false, &error);
  if (gif == nullptr) {
    GifFreeMapObject(map);
    return false;
  }
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> line(size_t(width), 0);
  auto level = [](uint8_t c) { return (c * 5 + 127) / 255; };
  for (int y = 0; ok && y < height; ++y) {
    const uint8_t* p = rgb + size_t(y) * size_t(width) * 3;
    for (int x = 0; x < width; ++x)
      line[size_t(x)] = GifPixelType(level(p[3 * x]) * 36 + level(p[3 * x + 1]) * 6 + level(p[3 * x + 2]));
    ok = EGifPutLine(gif, line.data(), width) == GIF_OK;
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  GifFreeMapObject(map);
  return ok;
}

// --- BMP ------------------------------------------------------------------------------

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, uint16_t(v));
  Put16(b, uint16_t(v >> 16));
}

bool WriteBytes(const std::string& hostPath, const std::vector<uint8_t>& bytes) {
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  return bool(out);
}

std::vector<uint8_t> BmpHead(int width, int height, int bits, int paletteEntries, size_t rowBytes) {
  std::vector<uint8_t> b;
  const uint32_t dataOffset = 54 + 4 * uint32_t(paletteEntries);
  const uint32_t dataSize = uint32_t(rowBytes * size_t(height));
  b.push_back('B');
  b.push_back('M');
  Put32(b, dataOffset + dataSize);
  Put32(b, 0);
  Put32(b, dataOffset);
  Put32(b, 40);
  Put32(b, uint32_t(width));
  Put32(b, uint32_t(height));
  Put16(b, 1);
  Put16(b, uint16_t(bits));
  Put32(b, 0);
  Put32(b, dataSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, uint32_t(paletteEntries));
  Put32(b, 0);
  return b;
}

}  // namespace

bool DecodeBmp(const std::vector<uint8_t>& b, TDecodedPicture& out) {
  out = TDecodedPicture{};
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t dataOffset = U32(b, 10);
  const uint32_t infoSize = U32(b, 14);
  if (infoSize < 40 || 14 + uint64_t(infoSize) > b.size()) return false;
  const int32_t width = int32_t(U32(b, 18));
  int32_t height = int32_t(U32(b, 22));
  const uint16_t planes = U16(b, 26);
  const uint16_t bits = U16(b, 28);
  const uint32_t compression = U32(b, 30);
  uint32_t colorsUsed = U32(b, 46);
  const bool topDown = height < 0;
  if (topDown) height = height == INT32_MIN ? 0 : -height;
  if (planes != 1 || compression != 0 || width <= 0 || height <= 0 || width > kMaxPictureSide ||
      height > kMaxPictureSide)
    return false;
  if (bits != 1 && bits != 8 && bits != 24 && bits != 32) return false;
  const size_t rowBytes = (size_t(width) * bits + 31) / 32 * 4;
  if (uint64_t(dataOffset) + uint64_t(rowBytes) * uint64_t(height) > b.size()) return false;
  out.width = width;
  out.height = height;
  out.sourceBits = bits;
  if (bits <= 8) {
    const uint32_t maxColors = 1u << bits;
    if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
    const size_t paletteAt = 14 + infoSize;
    if (paletteAt + 4 * size_t(colorsUsed) > dataOffset) colorsUsed = uint32_t((dataOffset > paletteAt ? dataOffset - paletteAt : 0) / 4);
    for (uint32_t i = 0; i < colorsUsed && i < 256; ++i) {
      out.palette[3 * i] = b[paletteAt + 4 * i + 2];
      out.palette[3 * i + 1] = b[paletteAt + 4 * i + 1];
      out.palette[3 * i + 2] = b[paletteAt + 4 * i];
    }
  }
  out.indexed = bits == 8;
  out.pixels.resize(size_t(width) * size_t(height) * (out.indexed ? 1 : 3));
  for (int y = 0; y < height; ++y) {
    const size_t fileRow = topDown ? size_t(y) : size_t(height - 1 - y);
    const uint8_t* row = b.data() + dataOffset + fileRow * rowBytes;
    for (int x = 0; x < width; ++x) {
      const size_t o = size_t(y) * size_t(width) + size_t(x);
      switch (bits) {
        case 1: {
          // A set bit takes palette entry 1; the cells keep the bit as 0 / 255.
          const int index = (row[x / 8] >> (7 - x % 8)) & 1;
          for (int c = 0; c < 3; ++c) out.pixels[3 * o + size_t(c)] = out.palette[size_t(3 * index + c)];
          break;
        }
        case 8: out.pixels[o] = row[x]; break;
        case 24:
        case 32: {
          const uint8_t* p = row + size_t(x) * (bits / 8);
          out.pixels[3 * o] = p[2];
          out.pixels[3 * o + 1] = p[1];
          out.pixels[3 * o + 2] = p[0];
          break;
        }
        default: break;
      }
    }
  }
  return true;
}

bool ReadBmpPicture(const std::string& hostPath, TDecodedPicture& out) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(hostPath, bytes)) {
    out = TDecodedPicture{};
    return false;
  }
  return DecodeBmp(bytes, out);
}

bool WriteBmp24Picture(const std::string& hostPath, int width, int height, const uint8_t* rgb) {
  if (width <= 0 || height <= 0 || rgb == nullptr) return false;
  const size_t rowBytes = (size_t(width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b = BmpHead(width, height, 24, 0, rowBytes);
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* p = rgb + size_t(y) * size_t(width) * 3;
    for (int x = 0; x < width; ++x) {
      b.push_back(p[3 * x + 2]);
      b.push_back(p[3 * x + 1]);
      b.push_back(p[3 * x]);
    }
    b.resize(b.size() + rowBytes - size_t(width) * 3, 0);
  }
  return WriteBytes(hostPath, b);
}

bool WriteBmp8Picture(const std::string& hostPath, int width, int height, const uint8_t* indices,
                      const uint8_t* palette) {
  if (width <= 0 || height <= 0 || indices == nullptr || palette == nullptr) return false;
  const size_t rowBytes = (size_t(width) + 3) / 4 * 4;
  std::vector<uint8_t> b = BmpHead(width, height, 8, 256, rowBytes);
  for (int i = 0; i < 256; ++i) {
    b.push_back(palette[3 * i + 2]);
    b.push_back(palette[3 * i + 1]);
    b.push_back(palette[3 * i]);
    b.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* p = indices + size_t(y) * size_t(width);
    b.insert(b.end(), p, p + width);
    b.resize(b.size() + rowBytes - size_t(width), 0);
  }
  return WriteBytes(hostPath, b);
}

}  // namespace plat
