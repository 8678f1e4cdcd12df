// Pixel helpers shared by the drawing context's source files (shapes, text,
// blocks). Not for use outside platform/.
#pragma once

#include <cstdint>

#include "platform/draw.h"

namespace plat {

constexpr uint32_t kPixelMask = 0x00FFFFFF;

// A clip rectangle in device pixels, already narrowed to the target.
struct TDevClip {
  int64_t left = 0, top = 0, right = 0, bottom = 0;  // right, bottom excluded
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int64_t x, int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// True when the context has a frame buffer whose pixel vector matches its size.
bool DcHasTarget(const TDc& dc);
// The clip rectangle of the context within its target; empty without a target.
TDevClip DcDeviceClip(const TDc& dc);
// Frame buffer pixel of a colour reference; a palette-index reference
// (high byte 1) takes the entry from the context's palette.
uint32_t DcPixelOf(const TDc& dc, TColorRef c);
// One of the 16 binary raster operations (1 black ... 13 copy ... 16 white)
// applied to a source pixel and the destination pixel; other codes copy.
uint32_t ApplyRop2(int rop2, uint32_t src, uint32_t dst);

// Writes pixels through a raster operation, clipped.
struct TPainter {
  TFrameBuffer* fb = nullptr;
  TDevClip clip;
  int rop2 = kRopCopy;

  void Plot(int64_t x, int64_t y, uint32_t pixel) const {
    if (!clip.Contains(x, y)) return;
    uint32_t& d = fb->pixels[size_t(y) * size_t(fb->width) + size_t(x)];
    d = ApplyRop2(rop2, pixel, d);
  }
  // Pixels x0 .. x1 - 1 of row y.
  void Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel) const;
};
TPainter DcPainter(TDc& dc, int rop2);

}  // namespace plat
