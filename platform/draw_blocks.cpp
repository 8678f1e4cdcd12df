// Pixel blocks: saved screen rectangles, scaled blocks and device-independent
// 32-bit and 8-bit pixel rows drawn into the frame buffer.
#include <algorithm>

#include "platform/draw.h"
#include "platform/draw_internal.h"

namespace plat {

namespace {

// Larger blocks are refused: a screen block never comes near this.
constexpr int64_t kMaxBlockSide = 65535;
constexpr int64_t kMaxBlockPixels = int64_t(1) << 26;

bool BlockValid(const TPixelBlock& b) {
  return b.width > 0 && b.height > 0 && b.pixels.size() >= size_t(b.width) * size_t(b.height);
}

// The device rectangle [x0, x1) x [y0, y1) of a destination at logical
// (x, y) of the given size, narrowed to the clip; false when nothing is left.
struct TDest {
  int64_t dx = 0, dy = 0;            // device position of the block's corner
  int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
bool Destination(const TDc& dc, int x, int y, int64_t width, int64_t height, TDest& d) {
  TDevClip clip = DcDeviceClip(dc);
  if (clip.Empty() || width <= 0 || height <= 0) return false;
  d.dx = int64_t(x) + dc.viewportOrigin.x;
  d.dy = int64_t(y) + dc.viewportOrigin.y;
  d.x0 = std::max(d.dx, clip.left);
  d.y0 = std::max(d.dy, clip.top);
  d.x1 = std::min(d.dx + width, clip.right);
  d.y1 = std::min(d.dy + height, clip.bottom);
  return d.x0 < d.x1 && d.y0 < d.y1;
}

uint32_t* Row(const TDc& dc, int64_t y) { return dc.target->pixels.data() + size_t(y) * size_t(dc.target->width); }

}  // namespace

TPixelBlock DcSaveBlock(const TDc& dc, const TRect& r) {
  TPixelBlock block;
  int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
  if (w <= 0 || h <= 0 || w > kMaxBlockSide || h > kMaxBlockSide || w * h > kMaxBlockPixels) return block;
  block.width = int(w);
  block.height = int(h);
  block.pixels.assign(size_t(w * h), 0);
  if (!DcHasTarget(dc)) return block;
  // The source is read from the whole target (the clip does not apply);
  // parts outside the frame buffer stay black.
  int64_t sx = int64_t(r.left) + dc.viewportOrigin.x, sy = int64_t(r.top) + dc.viewportOrigin.y;
  int64_t x0 = std::max<int64_t>(sx, 0), x1 = std::min<int64_t>(sx + w, dc.target->width);
  int64_t y0 = std::max<int64_t>(sy, 0), y1 = std::min<int64_t>(sy + h, dc.target->height);
  for (int64_t y = y0; y < y1 && x0 < x1; ++y) {
    const uint32_t* src = Row(dc, y);
    std::copy(src + x0, src + x1, block.pixels.begin() + size_t((y - sy) * w + (x0 - sx)));
  }
  return block;
}

void DcDrawBlock(TDc& dc, int x, int y, const TPixelBlock& block, int rop) {
  TDest d;
  if (!BlockValid(block) || !Destination(dc, x, y, block.width, block.height, d)) return;
  for (int64_t py = d.y0; py < d.y1; ++py) {
    uint32_t* dst = Row(dc, py);
    const uint32_t* src = block.pixels.data() + size_t(py - d.dy) * size_t(block.width);
    for (int64_t px = d.x0; px < d.x1; ++px) dst[px] = ApplyRop2(rop, src[px - d.dx], dst[px]);
  }
}

void DcStretchBlock(TDc& dc, int x, int y, int width, int height, const TPixelBlock& block) {
  TDest d;
  if (!BlockValid(block) || !Destination(dc, x, y, width, height, d)) return;
  for (int64_t py = d.y0; py < d.y1; ++py) {
    uint32_t* dst = Row(dc, py);
    int64_t sy = (py - d.dy) * block.height / height;
    const uint32_t* src = block.pixels.data() + size_t(sy) * size_t(block.width);
    for (int64_t px = d.x0; px < d.x1; ++px) dst[px] = src[(px - d.dx) * block.width / width] & kPixelMask;
  }
}

void DcDrawPixels32(TDc& dc, int x, int y, int width, int height, const uint8_t* bgra) {
  TDest d;
  if (!bgra || !Destination(dc, x, y, width, height, d)) return;
  for (int64_t py = d.y0; py < d.y1; ++py) {
    uint32_t* dst = Row(dc, py);
    const uint8_t* src = bgra + size_t(py - d.dy) * size_t(width) * 4;
    for (int64_t px = d.x0; px < d.x1; ++px) {
      const uint8_t* s = src + size_t(px - d.dx) * 4;
      dst[px] = (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
    }
  }
}

void DcDrawPixels8(TDc& dc, int x, int y, int width, int height, const uint8_t* indices,
                   const uint8_t (*colorTable)[4], int tableSize) {
  TDest d;
  if (!indices || !colorTable || !Destination(dc, x, y, width, height, d)) return;
  for (int64_t py = d.y0; py < d.y1; ++py) {
    uint32_t* dst = Row(dc, py);
    const uint8_t* src = indices + size_t(py - d.dy) * size_t(width);
    for (int64_t px = d.x0; px < d.x1; ++px) {
      int i = src[px - d.dx];
      if (i >= tableSize) {  // no colour for this index
        dst[px] = 0;
        continue;
      }
      const uint8_t* e = colorTable[i];
      dst[px] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
    }
  }
}

}  // namespace plat
