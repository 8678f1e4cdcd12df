// Pixel rules of the drawing context: lines, shapes, pens, brushes, clipping,
// raster modes, palette, pixel blocks, PNG output and BMP input.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "platform/draw.h"

using namespace plat;

namespace {

constexpr uint32_t kWhitePx = 0xFFFFFF;
constexpr uint32_t kRedPx = 0xFF0000;
constexpr uint32_t kBluePx = 0x0000FF;

struct TCanvas {
  TFrameBuffer fb;
  TDc dc;
  TCanvas(int w, int h, uint32_t fill = 0) {
    ResizeFrameBuffer(fb, w, h, fill);
    DcReset(dc, &fb);
  }
  uint32_t At(int x, int y) const { return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)]; }
  // A busy background so that xor and raster tests see every bit pattern.
  void Scramble(unsigned seed) {
    std::mt19937 rng(seed);
    for (uint32_t& p : fb.pixels) p = rng() & 0xFFFFFF;
  }
};

struct TChange {
  int count = 0;
  int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;  // inclusive box
};

TChange Changes(const TFrameBuffer& fb, const std::vector<uint32_t>& before) {
  TChange c;
  for (int y = 0; y < fb.height; ++y)
    for (int x = 0; x < fb.width; ++x) {
      size_t i = size_t(y) * size_t(fb.width) + size_t(x);
      if (fb.pixels[i] == before[i]) continue;
      ++c.count;
      c.x0 = std::min(c.x0, x);
      c.y0 = std::min(c.y0, y);
      c.x1 = std::max(c.x1, x);
      c.y1 = std::max(c.y1, y);
    }
  return c;
}

TPen Pen(int style, int width, TColorRef c) { return TPen{style, width, c}; }
TBrush Brush(int style, int hatch, TColorRef c) { return TBrush{style, hatch, c}; }

}  // namespace

TEST(DrawColours, ColorRefAndPixelLayouts) {
  EXPECT_EQ(PixelFromColorRef(Rgb(1, 2, 3)), 0x010203u);
  EXPECT_EQ(ColorRefFromPixel(0x010203u), Rgb(1, 2, 3));
  EXPECT_EQ(RedOf(Rgb(10, 20, 30)), 10);
  EXPECT_EQ(BlueOf(Rgb(10, 20, 30)), 30);
  for (TColorRef c : {Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(12, 200, 77), Rgb(255, 255, 255)})
    EXPECT_EQ(ColorRefFromPixel(PixelFromColorRef(c)), c);
}

TEST(DrawColours, NearestPaletteIndex) {
  TPalette pal;
  pal.count = 4;
  pal.entries[0] = Rgb(0, 0, 0);
  pal.entries[1] = Rgb(255, 255, 255);
  pal.entries[2] = Rgb(255, 0, 0);
  pal.entries[3] = Rgb(250, 0, 0);
  pal.entries[4] = Rgb(100, 100, 100);  // beyond count: never chosen
  struct {
    TColorRef c;
    int index;
  } cases[] = {{Rgb(255, 0, 0), 2}, {Rgb(251, 0, 0), 3}, {Rgb(90, 90, 90), 0},
               {Rgb(200, 200, 200), 1}, {Rgb(100, 100, 100), 0}};
  for (const auto& k : cases) EXPECT_EQ(NearestPaletteIndex(pal, k.c), k.index) << std::hex << k.c;
  pal.count = 0;
  EXPECT_EQ(NearestPaletteIndex(pal, Rgb(255, 0, 0)), 0);
  pal.count = 100000;  // a broken count reads no further than the table
  EXPECT_EQ(NearestPaletteIndex(pal, Rgb(100, 100, 100)), 4);
}

TEST(DrawColours, PaletteIndexReferenceUsesContextPalette) {
  TCanvas cv(8, 8);
  cv.dc.palette.count = 3;
  cv.dc.palette.entries[2] = Rgb(1, 2, 3);
  DcSetPen(cv.dc, Pen(kPenSolid, 1, 0x01000002u));
  DcMoveTo(cv.dc, 0, 0);
  DcLineTo(cv.dc, 4, 0);
  EXPECT_EQ(cv.At(0, 0), 0x010203u);
  EXPECT_EQ(DcGetPixel(cv.dc, 3, 0), Rgb(1, 2, 3));
}

TEST(DrawPixels, SetAndGetPixel) {
  TCanvas cv(10, 10);
  DcSetViewportOrigin(cv.dc, 2, 3);
  DcSetRop2(cv.dc, kRopXor);  // single pixels are set, never mixed
  DcSetPixel(cv.dc, 1, 1, Rgb(9, 8, 7));
  DcSetPixel(cv.dc, 1, 1, Rgb(9, 8, 7));
  EXPECT_EQ(cv.At(3, 4), 0x090807u);
  EXPECT_EQ(DcGetPixel(cv.dc, 1, 1), Rgb(9, 8, 7));
  EXPECT_EQ(DcGetPixel(cv.dc, -3, 0), 0xFFFFFFFFu);
  EXPECT_EQ(DcGetPixel(cv.dc, 8, 0), 0xFFFFFFFFu);
  DcSetPixel(cv.dc, 100, 100, Rgb(1, 1, 1));  // outside: nothing
  TDc none;
  DcSetPixel(none, 0, 0, Rgb(1, 1, 1));
  EXPECT_EQ(DcGetPixel(none, 0, 0), 0xFFFFFFFFu);
}

TEST(DrawRects, FillRectExcludesRightAndBottom) {
  struct {
    TRect r;
    int count;
    TChange box;
  } cases[] = {
      {{5, 5, 6, 6}, 1, {0, 5, 5, 5, 5}},
      {{0, 0, 10, 1}, 10, {0, 0, 0, 9, 0}},
      {{2, 3, 5, 7}, 12, {0, 2, 3, 4, 6}},
      {{3, 4, 3, 9}, 0, {}},
      {{7, 7, 2, 2}, 0, {}},
  };
  for (const auto& k : cases) {
    TCanvas cv(20, 20);
    std::vector<uint32_t> before = cv.fb.pixels;
    DcFillRect(cv.dc, k.r, Brush(kBrushSolid, 0, Rgb(255, 255, 255)));
    TChange c = Changes(cv.fb, before);
    EXPECT_EQ(c.count, k.count) << k.r.left << "," << k.r.top << "," << k.r.right << "," << k.r.bottom;
    if (k.count > 0) {
      EXPECT_EQ(c.x0, k.box.x0);
      EXPECT_EQ(c.y0, k.box.y0);
      EXPECT_EQ(c.x1, k.box.x1);
      EXPECT_EQ(c.y1, k.box.y1);
    }
  }
}

TEST(DrawLines, HorizontalLineSetsStartUpToBeforeEnd) {
  TCanvas cv(20, 5);
  DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 255, 255)));
  DcMoveTo(cv.dc, 0, 0);
  DcLineTo(cv.dc, 10, 0);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(cv.At(x, 0), x < 10 ? kWhitePx : 0u) << x;
  EXPECT_EQ(cv.dc.current.x, 10);
  EXPECT_EQ(cv.dc.current.y, 0);
}

TEST(DrawLines, PixelsFollowTheIdealLine) {
  // Start included, end excluded, one pixel per step of the major axis,
  // each within half a pixel of the ideal line.
  const int cases[][4] = {{0, 0, 10, 0},  {10, 0, 0, 0},  {5, 2, 5, 12},  {5, 12, 5, 2}, {0, 0, 7, 7},
                          {7, 7, 0, 0},   {0, 0, 17, 5},  {17, 5, 0, 0},  {3, 0, 8, 19}, {8, 19, 3, 0},
                          {0, 19, 19, 6}, {19, 6, 0, 19}, {2, 2, 2, 2},   {0, 10, 19, 11}};
  for (const auto& k : cases) {
    TCanvas cv(30, 30);
    const int ox = 5, oy = 5;
    DcSetViewportOrigin(cv.dc, ox, oy);
    DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 255, 255)));
    DcMoveTo(cv.dc, k[0], k[1]);
    DcLineTo(cv.dc, k[2], k[3]);
    int dx = k[2] - k[0], dy = k[3] - k[1];
    int steps = std::max(std::abs(dx), std::abs(dy));
    std::vector<uint32_t> blank(cv.fb.pixels.size(), 0);
    TChange c = Changes(cv.fb, blank);
    SCOPED_TRACE(testing::Message() << k[0] << "," << k[1] << " -> " << k[2] << "," << k[3]);
    EXPECT_EQ(c.count, steps);
    if (steps == 0) continue;
    EXPECT_EQ(cv.At(k[0] + ox, k[1] + oy), kWhitePx);
    EXPECT_EQ(cv.At(k[2] + ox, k[3] + oy), 0u);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) {
        if (cv.At(x, y) == 0) continue;
        double t, off;
        if (std::abs(dx) >= std::abs(dy)) {
          t = double(x - ox - k[0]) / dx;
          off = std::abs(k[1] + t * dy - (y - oy));
        } else {
          t = double(y - oy - k[1]) / dy;
          off = std::abs(k[0] + t * dx - (x - ox));
        }
        EXPECT_GE(t, 0.0);
        EXPECT_LT(t, 1.0);
        EXPECT_LE(off, 0.5 + 1e-9) << x << "," << y;
      }
  }
}

TEST(DrawLines, ViewportOriginMovesLogicalZero) {
  TCanvas cv(400, 300);
  std::vector<uint32_t> before = cv.fb.pixels;
  DcSetViewportOrigin(cv.dc, 100, 50);
  DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 0, 0)));
  DcMoveTo(cv.dc, 0, 0);
  DcLineTo(cv.dc, 10, 0);
  TChange c = Changes(cv.fb, before);
  EXPECT_EQ(c.count, 10);
  EXPECT_EQ(c.y0, 50);
  EXPECT_EQ(c.y1, 50);
  EXPECT_EQ(c.x0, 100);
  EXPECT_EQ(c.x1, 109);
  EXPECT_EQ(cv.At(100, 50), kRedPx);
}

TEST(DrawClip, SetClipRectIsClampedAndIntersectUsesLogicalCoordinates) {
  TCanvas cv(50, 40);
  DcSetClipRect(cv.dc, TRect{-5, -5, 1000, 1000});
  EXPECT_EQ(cv.dc.clip.left, 0);
  EXPECT_EQ(cv.dc.clip.top, 0);
  EXPECT_EQ(cv.dc.clip.right, 50);
  EXPECT_EQ(cv.dc.clip.bottom, 40);

  DcSetViewportOrigin(cv.dc, 10, 12);
  DcIntersectClip(cv.dc, TRect{0, 0, 5, 4});
  std::vector<uint32_t> before = cv.fb.pixels;
  DcFillRect(cv.dc, TRect{-100, -100, 100, 100}, Brush(kBrushSolid, 0, Rgb(255, 255, 255)));
  TChange c = Changes(cv.fb, before);
  EXPECT_EQ(c.count, 20);
  EXPECT_EQ(c.x0, 10);
  EXPECT_EQ(c.y0, 12);
  EXPECT_EQ(c.x1, 14);
  EXPECT_EQ(c.y1, 15);

  DcIntersectClip(cv.dc, TRect{20, 20, 30, 30});  // disjoint: nothing left
  before = cv.fb.pixels;
  DcFillRect(cv.dc, TRect{-100, -100, 100, 100}, Brush(kBrushSolid, 0, Rgb(1, 1, 1)));
  EXPECT_EQ(Changes(cv.fb, before).count, 0);

  DcResetClip(cv.dc);
  EXPECT_EQ(cv.dc.clip.right, 50);
}

TEST(DrawClip, NothingOutsideTheClipEvenForExtremeCoordinates) {
  TCanvas cv(40, 30);
  cv.Scramble(7);
  DcSetClipRect(cv.dc, TRect{10, 8, 30, 20});
  std::vector<uint32_t> before = cv.fb.pixels;
  const int big = 1000000;
  auto start = std::chrono::steady_clock::now();
  for (int rop : {int(kRopCopy), int(kRopXor)}) {
    for (int width : {1, 5}) {
      TDc& dc = cv.dc;
      DcSetRop2(dc, rop);
      DcSetBkMode(dc, kBkOpaque);
      DcSetPen(dc, Pen(width == 1 ? kPenDash : kPenSolid, width, Rgb(255, 255, 255)));
      DcSetBrush(dc, Brush(kBrushHatched, kHatchDiagCross, Rgb(0, 255, 0)));
      DcMoveTo(dc, -big, -big);
      DcLineTo(dc, big, big);
      DcMoveTo(dc, INT_MIN, INT_MAX);
      DcLineTo(dc, INT_MAX, INT_MIN);
      DcMoveTo(dc, INT_MIN, 15);
      DcLineTo(dc, INT_MAX, 15);
      DcRectangle(dc, -big, -big, big, big);
      DcRectangle(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
      DcEllipse(dc, -big, -big, big, big);
      DcEllipse(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
      TPoint poly[] = {{-big, -big}, {big, 0}, {-big, big}, {20, 14}};
      DcPolygon(dc, poly, 4);
      TPoint extreme[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
      DcPolygon(dc, extreme, 4);
      DcPolyline(dc, extreme, 4);
      DcFillRect(dc, TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, Brush(kBrushSolid, 0, Rgb(1, 2, 3)));
      DcSetViewportOrigin(dc, INT_MAX, INT_MIN);
      DcMoveTo(dc, INT_MAX, INT_MIN);
      DcLineTo(dc, INT_MIN, INT_MAX);
      DcRectangle(dc, INT_MIN, INT_MAX, INT_MAX, INT_MIN);
      DcSetViewportOrigin(dc, 0, 0);
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
  int changedInside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      size_t i = size_t(y) * 40 + size_t(x);
      bool inside = x >= 10 && x < 30 && y >= 8 && y < 20;
      if (!inside) EXPECT_EQ(cv.fb.pixels[i], before[i]) << x << "," << y;
      else if (cv.fb.pixels[i] != before[i]) ++changedInside;
    }
  EXPECT_GT(changedInside, 0);
}

TEST(DrawClip, FarLineIsClippedWithoutMovingItsPixels) {
  TCanvas cv(64, 48);
  DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 255, 255)));
  DcMoveTo(cv.dc, -1000000, -1000000);
  DcLineTo(cv.dc, 1000000, 1000000);
  for (int i = 0; i < 48; ++i) EXPECT_EQ(cv.At(i, i), kWhitePx) << i;
  std::vector<uint32_t> blank(cv.fb.pixels.size(), 0);
  EXPECT_EQ(Changes(cv.fb, blank).count, 48);
}

TEST(DrawPens, DashPatterns) {
  struct {
    int style;
    std::function<bool(int)> on;
  } cases[] = {
      {kPenSolid, [](int) { return true; }},
      {kPenDot, [](int x) { return x % 6 < 3; }},
      {kPenDash, [](int x) { return x % 24 < 18; }},
      {kPenDashDot, [](int x) { int m = x % 24; return m < 9 || (m >= 15 && m < 18); }},
      {kPenDashDotDot, [](int x) { int m = x % 24; return m < 9 || (m >= 12 && m < 15) || (m >= 18 && m < 21); }},
      {kPenNull, [](int) { return false; }},
  };
  for (const auto& k : cases) {
    for (int mode : {int(kBkTransparent), int(kBkOpaque)}) {
      TCanvas cv(60, 3);
      DcSetBkMode(cv.dc, mode);
      DcSetBkColor(cv.dc, Rgb(0, 0, 255));
      DcSetPen(cv.dc, Pen(k.style, 1, Rgb(255, 255, 255)));
      DcMoveTo(cv.dc, 0, 1);
      DcLineTo(cv.dc, 48, 1);
      for (int x = 0; x < 48; ++x) {
        uint32_t want = k.on(x) ? kWhitePx : (mode == kBkOpaque && k.style != kPenNull ? kBluePx : 0u);
        EXPECT_EQ(cv.At(x, 1), want) << "style " << k.style << " mode " << mode << " x " << x;
      }
      EXPECT_EQ(cv.At(48, 1), 0u);
    }
  }
}

TEST(DrawPens, PatternContinuesAlongPolylineAndLineToChain) {
  // Four pixels along x, then down: pattern positions 4, 5 are gaps, 6-8 dots.
  const bool wantDown[10] = {false, false, true, true, true, false, false, false, true, true};
  for (int variant = 0; variant < 2; ++variant) {
    TCanvas cv(20, 20);
    DcSetBkMode(cv.dc, kBkTransparent);
    DcSetPen(cv.dc, Pen(kPenDot, 1, Rgb(255, 255, 255)));
    if (variant == 0) {
      TPoint pts[] = {{0, 5}, {4, 5}, {4, 15}};
      DcPolyline(cv.dc, pts, 3);
    } else {
      DcMoveTo(cv.dc, 0, 5);
      DcLineTo(cv.dc, 4, 5);
      DcLineTo(cv.dc, 4, 15);
    }
    SCOPED_TRACE(variant);
    EXPECT_EQ(cv.At(0, 5), kWhitePx);
    EXPECT_EQ(cv.At(2, 5), kWhitePx);
    EXPECT_EQ(cv.At(3, 5), 0u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(cv.At(4, 5 + i), wantDown[i] ? kWhitePx : 0u) << i;
    EXPECT_EQ(cv.At(4, 15), 0u);
  }
  // MoveTo starts the pattern again.
  TCanvas cv(30, 3);
  DcSetBkMode(cv.dc, kBkTransparent);
  DcSetPen(cv.dc, Pen(kPenDot, 1, Rgb(255, 255, 255)));
  DcMoveTo(cv.dc, 0, 0);
  DcLineTo(cv.dc, 4, 0);
  DcMoveTo(cv.dc, 10, 1);
  DcLineTo(cv.dc, 20, 1);
  EXPECT_EQ(cv.At(10, 1), kWhitePx);
  EXPECT_EQ(cv.At(12, 1), kWhitePx);
  EXPECT_EQ(cv.At(13, 1), 0u);
}

TEST(DrawPens, WidePensCoverTheirWidthWithRoundEnds) {
  for (int width : {2, 3, 4, 7}) {
    TCanvas cv(50, 40);
    DcSetPen(cv.dc, Pen(kPenDot, width, Rgb(255, 255, 255)));  // wide pens are solid
    DcMoveTo(cv.dc, 10, 20);
    DcLineTo(cv.dc, 30, 20);
    int rows = 0;
    for (int y = 0; y < 40; ++y) rows += cv.At(20, y) == kWhitePx;
    EXPECT_EQ(rows, width) << width;
    for (int x = 10; x < 30; ++x) EXPECT_EQ(cv.At(x, 20), kWhitePx) << width << " " << x;
    // The ends are rounded: the caps reach past both points on the axis
    // but not at the corners of a square cap.
    int half = width / 2;
    if (width >= 3) {
      EXPECT_EQ(cv.At(30, 20), kWhitePx);
      EXPECT_EQ(cv.At(9, 20), kWhitePx);
    }
    if (width >= 4) {
      EXPECT_EQ(cv.At(30 + half, 20 + half), 0u) << width;
    }
    EXPECT_EQ(cv.At(30 + half + 1, 20), 0u);
  }
}

TEST(DrawShapes, RectangleOutlineAndInside) {
  TCanvas cv(20, 12);
  DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 0, 0)));
  DcSetBrush(cv.dc, Brush(kBrushSolid, 0, Rgb(0, 0, 255)));
  DcRectangle(cv.dc, 2, 2, 12, 8);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) {
      bool in = x >= 2 && x <= 11 && y >= 2 && y <= 7;
      bool edge = in && (x == 2 || x == 11 || y == 2 || y == 7);
      EXPECT_EQ(cv.At(x, y), edge ? kRedPx : in ? kBluePx : 0u) << x << "," << y;
    }
  // Without a pen the filled area ends one pixel earlier.
  TCanvas np(20, 12);
  DcSetPen(np.dc, Pen(kPenNull, 1, 0));
  DcSetBrush(np.dc, Brush(kBrushSolid, 0, Rgb(0, 0, 255)));
  DcRectangle(np.dc, 2, 2, 12, 8);
  std::vector<uint32_t> blank(np.fb.pixels.size(), 0);
  TChange c = Changes(np.fb, blank);
  EXPECT_EQ(c.x0, 2);
  EXPECT_EQ(c.y0, 2);
  EXPECT_EQ(c.x1, 10);
  EXPECT_EQ(c.y1, 6);
  EXPECT_EQ(c.count, 9 * 5);
  // A hollow brush leaves the inside alone; swapped corners give the same frame.
  TCanvas hb(20, 12);
  DcSetBrush(hb.dc, Brush(kBrushHollow, 0, 0));
  DcSetPen(hb.dc, Pen(kPenSolid, 1, Rgb(255, 255, 255)));
  DcRectangle(hb.dc, 12, 8, 2, 2);
  EXPECT_EQ(Changes(hb.fb, blank).count, 2 * 10 + 2 * 4);
  EXPECT_EQ(hb.At(5, 5), 0u);
}

TEST(DrawShapes, EllipseStaysInItsBoxAndIsSymmetric) {
  for (auto box : {TRect{0, 0, 20, 12}, TRect{3, 4, 14, 15}, TRect{0, 0, 1, 1}, TRect{0, 0, 2, 7}}) {
    TCanvas cv(30, 30);
    DcSetViewportOrigin(cv.dc, 5, 5);
    DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 0, 0)));
    DcSetBrush(cv.dc, Brush(kBrushSolid, 0, Rgb(0, 0, 255)));
    DcEllipse(cv.dc, box.left, box.top, box.right, box.bottom);
    int l = box.left + 5, t = box.top + 5, r = box.right + 5, b = box.bottom + 5;
    std::vector<uint32_t> blank(cv.fb.pixels.size(), 0);
    TChange c = Changes(cv.fb, blank);
    SCOPED_TRACE(testing::Message() << box.left << "," << box.top << "," << box.right << "," << box.bottom);
    EXPECT_EQ(c.x0, l);
    EXPECT_EQ(c.y0, t);
    EXPECT_EQ(c.x1, r - 1);
    EXPECT_EQ(c.y1, b - 1);
    for (int y = t; y < b; ++y) {
      int first = -1, last = -1;
      for (int x = l; x < r; ++x) {
        EXPECT_EQ(cv.At(x, y), cv.At(l + r - 1 - x, y)) << "left-right " << x << "," << y;
        EXPECT_EQ(cv.At(x, y), cv.At(x, t + b - 1 - y)) << "up-down " << x << "," << y;
        if (cv.At(x, y) != 0) {
          if (first < 0) first = x;
          last = x;
        }
      }
      ASSERT_GE(first, 0) << "every row has pixels";
      EXPECT_EQ(cv.At(first, y), kRedPx);
      for (int x = first; x <= last; ++x) EXPECT_NE(cv.At(x, y), 0u) << "rows are solid " << x << "," << y;
    }
    if (r - l >= 5 && b - t >= 5) {
      EXPECT_EQ(cv.At((l + r) / 2, (t + b) / 2), kBluePx);
    }
  }
}

TEST(DrawBrushes, HatchesLieOnAnEightPixelDeviceGrid) {
  struct {
    int hatch;
    std::function<bool(int, int)> set;
  } cases[] = {
      {kHatchBDiagonal, [](int x, int y) { return (x + y) % 8 == 7; }},
      {kHatchFDiagonal, [](int x, int y) { return (x - y + 64) % 8 == 0; }},
      {kHatchDiagCross, [](int x, int y) { return (x + y) % 8 == 7 || (x - y + 64) % 8 == 0; }},
      {kHatchHorizontal, [](int, int y) { return y % 8 == 3; }},
      {kHatchVertical, [](int x, int) { return x % 8 == 3; }},
      {kHatchCross, [](int x, int y) { return x % 8 == 3 || y % 8 == 3; }},
  };
  for (const auto& k : cases) {
    for (int mode : {int(kBkTransparent), int(kBkOpaque)}) {
      TCanvas cv(24, 24, 0x123456);
      // The pattern belongs to the device: a moved origin does not move it.
      DcSetViewportOrigin(cv.dc, 3, 5);
      DcSetBkMode(cv.dc, mode);
      DcSetBkColor(cv.dc, Rgb(0, 0, 255));
      DcFillRect(cv.dc, TRect{-3, -5, 13, 11}, Brush(kBrushHatched, k.hatch, Rgb(0, 255, 0)));
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
          uint32_t want = 0x123456;
          if (x < 16 && y < 16) want = k.set(x, y) ? 0x00FF00u : (mode == kBkOpaque ? kBluePx : 0x123456u);
          ASSERT_EQ(cv.At(x, y), want) << "hatch " << k.hatch << " mode " << mode << " at " << x << "," << y;
        }
    }
  }
}

TEST(DrawShapes, ConcavePolygonFillsItsAreaExactly) {
  // A "U": 30 x 30 with a 10 x 20 notch from below.
  TPoint u[] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  TCanvas cv(40, 40);
  DcSetPen(cv.dc, Pen(kPenNull, 1, 0));
  DcSetBrush(cv.dc, Brush(kBrushSolid, 0, Rgb(255, 255, 255)));
  DcPolygon(cv.dc, u, 8);
  std::vector<uint32_t> blank(cv.fb.pixels.size(), 0);
  EXPECT_EQ(Changes(cv.fb, blank).count, 30 * 30 - 10 * 20);
  EXPECT_EQ(cv.At(5, 20), kWhitePx);
  EXPECT_EQ(cv.At(15, 20), 0u);
  EXPECT_EQ(cv.At(25, 20), kWhitePx);
  EXPECT_EQ(cv.At(15, 5), kWhitePx);
  EXPECT_EQ(cv.At(29, 29), kWhitePx);
  EXPECT_EQ(cv.At(30, 5), 0u);
  EXPECT_EQ(cv.At(5, 30), 0u);

  // Alternate fill: the middle of a five-pointed star stays empty.
  TPoint star[5];
  for (int i = 0; i < 5; ++i) {
    double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
    star[i] = TPoint{int(std::lround(20 + 18 * std::cos(a))), int(std::lround(20 + 18 * std::sin(a)))};
  }
  TCanvas st(40, 40);
  DcSetPen(st.dc, Pen(kPenNull, 1, 0));
  DcSetBrush(st.dc, Brush(kBrushSolid, 0, Rgb(255, 255, 255)));
  DcPolygon(st.dc, star, 5);
  EXPECT_EQ(st.At(20, 21), 0u);
  EXPECT_EQ(st.At(20, 6), kWhitePx);  // in the top point
}

TEST(DrawModes, XorDrawingTwiceRestoresThePixels) {
  TPoint zig[] = {{2, 2}, {40, 30}, {5, 30}, {44, 3}, {20, 40}};
  TPoint star[] = {{24, 2}, {36, 40}, {4, 14}, {44, 14}, {12, 40}};
  struct {
    const char* name;
    std::function<void(TDc&)> draw;
  } cases[] = {
      {"line", [](TDc& dc) { DcMoveTo(dc, 1, 3); DcLineTo(dc, 45, 37); }},
      {"dashed chain, opaque gaps",
       [](TDc& dc) {
         DcSetPen(dc, Pen(kPenDashDot, 1, Rgb(255, 128, 0)));
         DcSetBkMode(dc, kBkOpaque);
         DcMoveTo(dc, 0, 20);
         DcLineTo(dc, 47, 20);
         DcLineTo(dc, 10, 0);
       }},
      {"dotted polyline", [&](TDc& dc) { DcSetPen(dc, Pen(kPenDot, 1, Rgb(9, 9, 9))); DcPolyline(dc, zig, 5); }},
      {"wide polyline", [&](TDc& dc) { DcSetPen(dc, Pen(kPenSolid, 5, Rgb(200, 0, 9))); DcPolyline(dc, zig, 5); }},
      {"hatched rectangle",
       [](TDc& dc) {
         DcSetBrush(dc, Brush(kBrushHatched, kHatchBDiagonal, Rgb(1, 200, 3)));
         DcSetBkMode(dc, kBkOpaque);
         DcRectangle(dc, 3, 4, 40, 30);
       }},
      {"wide rectangle", [](TDc& dc) { DcSetPen(dc, Pen(kPenSolid, 4, Rgb(7, 7, 7))); DcRectangle(dc, 3, 4, 40, 30); }},
      {"ellipse", [](TDc& dc) { DcEllipse(dc, 2, 3, 41, 33); }},
      {"dotted ellipse", [](TDc& dc) { DcSetPen(dc, Pen(kPenDot, 1, Rgb(255, 255, 255))); DcEllipse(dc, 2, 3, 41, 33); }},
      {"wide ellipse", [](TDc& dc) { DcSetPen(dc, Pen(kPenSolid, 3, Rgb(255, 0, 255))); DcEllipse(dc, 2, 3, 41, 33); }},
      {"star polygon", [&](TDc& dc) { DcPolygon(dc, star, 5); }},
      {"wide star polygon", [&](TDc& dc) { DcSetPen(dc, Pen(kPenSolid, 3, Rgb(90, 1, 2))); DcPolygon(dc, star, 5); }},
  };
  for (const auto& k : cases) {
    TCanvas cv(48, 44);
    cv.Scramble(11);
    std::vector<uint32_t> before = cv.fb.pixels;
    DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(255, 255, 0)));
    DcSetBrush(cv.dc, Brush(kBrushSolid, 0, Rgb(0, 128, 255)));
    DcSetRop2(cv.dc, kRopXor);
    k.draw(cv.dc);
    EXPECT_GT(Changes(cv.fb, before).count, 20) << k.name;
    k.draw(cv.dc);
    EXPECT_EQ(Changes(cv.fb, before).count, 0) << k.name;
  }
}

TEST(DrawModes, XorShapesWriteEachPixelOnce) {
  // On black with pen and brush both white, xor must give exactly what copy
  // gives: a pixel written twice by one shape would turn black again.
  TPoint zig[] = {{2, 2}, {40, 30}, {5, 30}, {44, 3}, {20, 40}};
  TPoint star[] = {{24, 2}, {36, 40}, {4, 14}, {44, 14}, {12, 40}};
  TPoint u[] = {{4, 4}, {40, 4}, {40, 40}, {30, 40}, {30, 14}, {14, 14}, {14, 40}, {4, 40}};
  struct {
    const char* name;
    int penWidth;
    std::function<void(TDc&)> draw;
  } cases[] = {
      {"polygon", 1, [&](TDc& dc) { DcPolygon(dc, u, 8); }},
      {"wide polygon", 4, [&](TDc& dc) { DcPolygon(dc, u, 8); }},
      {"star", 1, [&](TDc& dc) { DcPolygon(dc, star, 5); }},
      {"wide polyline", 6, [&](TDc& dc) { DcPolyline(dc, zig, 5); }},
      {"rectangle", 1, [](TDc& dc) { DcRectangle(dc, 3, 3, 30, 20); }},
      {"wide rectangle", 5, [](TDc& dc) { DcRectangle(dc, 3, 3, 30, 20); }},
      {"ellipse", 1, [](TDc& dc) { DcEllipse(dc, 1, 2, 45, 41); }},
      {"wide ellipse", 5, [](TDc& dc) { DcEllipse(dc, 1, 2, 45, 41); }},
  };
  for (const auto& k : cases) {
    TCanvas copy(48, 44), xr(48, 44);
    for (TCanvas* cv : {&copy, &xr}) {
      DcSetPen(cv->dc, Pen(kPenSolid, k.penWidth, Rgb(255, 255, 255)));
      DcSetBrush(cv->dc, Brush(kBrushSolid, 0, Rgb(255, 255, 255)));
    }
    DcSetRop2(xr.dc, kRopXor);
    k.draw(copy.dc);
    k.draw(xr.dc);
    EXPECT_EQ(Changes(xr.fb, copy.fb.pixels).count, 0) << k.name;
  }
}

TEST(DrawModes, NotBlackAndWhite) {
  TCanvas cv(20, 4);
  cv.Scramble(3);
  std::vector<uint32_t> before = cv.fb.pixels;
  DcSetRop2(cv.dc, kRopNot);
  DcMoveTo(cv.dc, 0, 1);
  DcLineTo(cv.dc, 20, 1);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(cv.At(x, 1), ~before[20 + size_t(x)] & 0xFFFFFF);
  DcMoveTo(cv.dc, 0, 1);
  DcLineTo(cv.dc, 20, 1);
  EXPECT_EQ(Changes(cv.fb, before).count, 0);
  DcSetPen(cv.dc, Pen(kPenSolid, 1, Rgb(12, 34, 56)));
  DcSetRop2(cv.dc, kRopBlack);
  DcMoveTo(cv.dc, 0, 2);
  DcLineTo(cv.dc, 20, 2);
  DcSetRop2(cv.dc, kRopWhite);
  DcMoveTo(cv.dc, 0, 3);
  DcLineTo(cv.dc, 20, 3);
  for (int x = 0; x < 20; ++x) {
    EXPECT_EQ(cv.At(x, 2), 0u);
    EXPECT_EQ(cv.At(x, 3), kWhitePx);
  }
}

TEST(DrawBlocks, SaveAndDrawBack) {
  TCanvas cv(30, 20);
  cv.Scramble(5);
  TPixelBlock b = DcSaveBlock(cv.dc, TRect{2, 3, 6, 5});
  ASSERT_EQ(b.width, 4);
  ASSERT_EQ(b.height, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.pixels[size_t(y * 4 + x)], cv.At(2 + x, 3 + y));
  DcDrawBlock(cv.dc, 20, 10, b);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(cv.At(20 + x, 10 + y), cv.At(2 + x, 3 + y));

  std::vector<uint32_t> before = cv.fb.pixels;
  DcDrawBlock(cv.dc, 1, 1, b, kRopXor);
  EXPECT_GT(Changes(cv.fb, before).count, 0);
  DcDrawBlock(cv.dc, 1, 1, b, kRopXor);
  EXPECT_EQ(Changes(cv.fb, before).count, 0);

  // Reading past the frame buffer gives black; drawing past it is clipped.
  TPixelBlock edge = DcSaveBlock(cv.dc, TRect{-2, -1, 2, 1});
  ASSERT_EQ(edge.width, 4);
  EXPECT_EQ(edge.pixels[0], 0u);
  EXPECT_EQ(edge.pixels[4 + 2], cv.At(0, 0));
  DcDrawBlock(cv.dc, 28, 19, b);
  DcDrawBlock(cv.dc, INT_MAX, INT_MIN, b);

  EXPECT_EQ(DcSaveBlock(cv.dc, TRect{0, 0, 1000000, 1000000}).pixels.size(), 0u);
  EXPECT_EQ(DcSaveBlock(cv.dc, TRect{5, 5, 5, 9}).width, 0);
  TPixelBlock broken;
  broken.width = 100;
  broken.height = 100;  // and no pixels
  before = cv.fb.pixels;
  DcDrawBlock(cv.dc, 0, 0, broken);
  DcStretchBlock(cv.dc, 0, 0, 30, 20, broken);
  EXPECT_EQ(Changes(cv.fb, before).count, 0);
}

TEST(DrawBlocks, StretchIsNearestNeighbour) {
  TCanvas cv(10, 10);
  TPixelBlock b;
  b.width = 2;
  b.height = 2;
  b.pixels = {1, 2, 3, 4};
  DcStretchBlock(cv.dc, 1, 1, 4, 6, b);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(cv.At(1 + x, 1 + y), uint32_t(1 + (x / 2) + 2 * (y / 3))) << x << "," << y;
  EXPECT_EQ(cv.At(5, 1), 0u);
  EXPECT_EQ(cv.At(1, 7), 0u);
}

TEST(DrawBlocks, DeviceIndependentPixels) {
  TCanvas cv(10, 6);
  DcSetViewportOrigin(cv.dc, 1, 1);
  const uint8_t bgra[] = {0x10, 0x20, 0x30, 0x99, 0x01, 0x02, 0x03, 0x00, 0xAA, 0xBB, 0xCC, 0xFF,
                          0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00};
  DcDrawPixels32(cv.dc, 0, 0, 3, 2, bgra);
  EXPECT_EQ(cv.At(1, 1), 0x302010u);
  EXPECT_EQ(cv.At(2, 1), 0x030201u);
  EXPECT_EQ(cv.At(3, 1), 0xCCBBAAu);
  EXPECT_EQ(cv.At(1, 2), 0xFF0000u);
  EXPECT_EQ(cv.At(2, 2), 0x00FF00u);
  EXPECT_EQ(cv.At(3, 2), 0x0000FFu);

  // 8-bit: indices through a colour table; an index past the table is black.
  const uint8_t table[3][4] = {{0x00, 0x00, 0x80, 0}, {0x40, 0x41, 0x42, 0}, {0xFF, 0xFF, 0xFF, 0}};
  const uint8_t idx[] = {0, 1, 2, 7, 1, 0};
  cv.fb.pixels.assign(cv.fb.pixels.size(), 0x777777);
  DcDrawPixels8(cv.dc, 5, 3, 3, 2, idx, table, 3);
  EXPECT_EQ(cv.At(6, 4), 0x800000u);
  EXPECT_EQ(cv.At(7, 4), 0x424140u);
  EXPECT_EQ(cv.At(8, 4), 0xFFFFFFu);
  EXPECT_EQ(cv.At(6, 5), 0u);
  EXPECT_EQ(cv.At(7, 5), 0x424140u);
  EXPECT_EQ(cv.At(9, 4), 0x777777u);

  // Clipped at the frame buffer's edges, and null data draws nothing.
  std::vector<uint32_t> before = cv.fb.pixels;
  DcDrawPixels8(cv.dc, -2, -2, 3, 2, idx, table, 3);  // device (-1, -1): only the second row's end shows
  EXPECT_EQ(cv.At(0, 0), 0x424140u);
  EXPECT_EQ(cv.At(1, 0), 0x800000u);
  EXPECT_EQ(Changes(cv.fb, before).count, 2);
  DcDrawPixels32(cv.dc, 0, 0, 3, 2, nullptr);
  DcDrawPixels8(cv.dc, 0, 0, 3, 2, idx, nullptr, 3);
  EXPECT_EQ(Changes(cv.fb, before).count, 2);
}

// ---------------------------------------------------------------------------
// PNG output, checked by an independent reader of the stored format

namespace {

uint32_t Be32(const std::vector<uint8_t>& d, size_t o) {
  return (uint32_t(d[o]) << 24) | (uint32_t(d[o + 1]) << 16) | (uint32_t(d[o + 2]) << 8) | d[o + 3];
}

uint32_t BitwiseCrc(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFF;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> d;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return d;
  int ch;
  while ((ch = std::fgetc(f)) != EOF) d.push_back(uint8_t(ch));
  std::fclose(f);
  return d;
}

std::string TempPath(const std::string& name) {
  return std::string(testing::TempDir()) + "/draw_test_" + std::to_string(::getpid()) + "_" + name;
}

// Unpacks a PNG written with stored deflate blocks into RGB rows.
bool ReadStoredPng(const std::vector<uint8_t>& d, int& w, int& h, std::vector<uint8_t>& rgb) {
  static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (d.size() < 8 || !std::equal(sig, sig + 8, d.begin())) return false;
  std::vector<uint8_t> z;
  bool sawEnd = false;
  size_t o = 8;
  while (o + 12 <= d.size()) {
    uint32_t len = Be32(d, o);
    if (o + 12 + len > d.size()) return false;
    std::string type(d.begin() + long(o + 4), d.begin() + long(o + 8));
    EXPECT_EQ(Be32(d, o + 8 + len), BitwiseCrc(d.data() + o + 4, len + 4)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(len, 13u);
      w = int(Be32(d, o + 8));
      h = int(Be32(d, o + 12));
      EXPECT_EQ(d[o + 16], 8);  // bit depth
      EXPECT_EQ(d[o + 17], 2);  // RGB
    } else if (type == "IDAT") {
      z.insert(z.end(), d.begin() + long(o + 8), d.begin() + long(o + 8 + len));
    } else if (type == "IEND") {
      sawEnd = true;
    }
    o += 12 + len;
  }
  if (!sawEnd || o != d.size() || z.size() < 6) return false;
  EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
  EXPECT_EQ(z[0] & 0x0F, 8);  // deflate
  std::vector<uint8_t> raw;
  size_t p = 2;
  for (;;) {
    if (p + 5 > z.size()) return false;
    uint8_t head = z[p];
    if ((head >> 1) != 0) return false;  // only stored blocks expected
    uint16_t len = uint16_t(z[p + 1] | (z[p + 2] << 8)), nlen = uint16_t(z[p + 3] | (z[p + 4] << 8));
    if (uint16_t(~len) != nlen || p + 5 + len > z.size()) return false;
    raw.insert(raw.end(), z.begin() + long(p + 5), z.begin() + long(p + 5 + len));
    p += 5 + len;
    if (head & 1) break;
  }
  if (p + 4 != z.size()) return false;
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(Be32(z, p), (b << 16) | a);
  if (raw.size() != size_t(h) * (size_t(w) * 3 + 1)) return false;
  rgb.clear();
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = raw.data() + size_t(y) * (size_t(w) * 3 + 1);
    EXPECT_EQ(row[0], 0);  // no filter
    rgb.insert(rgb.end(), row + 1, row + 1 + size_t(w) * 3);
  }
  return true;
}

}  // namespace

TEST(DrawPng, WrittenFileHoldsThePixels) {
  for (auto size : {std::pair{3, 2}, std::pair{300, 200}}) {  // the second needs several blocks
    TFrameBuffer fb;
    ResizeFrameBuffer(fb, size.first, size.second);
    for (size_t i = 0; i < fb.pixels.size(); ++i) fb.pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    std::string path = TempPath("shot.png");
    ASSERT_TRUE(WritePng(fb, path));
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(ReadStoredPng(ReadAll(path), w, h, rgb));
    EXPECT_EQ(w, fb.width);
    EXPECT_EQ(h, fb.height);
    for (size_t i = 0; i < fb.pixels.size(); ++i) {
      uint32_t px = (uint32_t(rgb[i * 3]) << 16) | (uint32_t(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
      ASSERT_EQ(px, fb.pixels[i]) << i;
    }
    std::remove(path.c_str());
  }
}

TEST(DrawPng, FailuresReturnFalse) {
  TFrameBuffer fb;
  EXPECT_FALSE(WritePng(fb, TempPath("empty.png")));
  ResizeFrameBuffer(fb, 4, 4);
  EXPECT_FALSE(WritePng(fb, "/nonexistent-folder/x/shot.png"));
  fb.pixels.resize(3);  // inconsistent with its size
  EXPECT_FALSE(WritePng(fb, TempPath("short.png")));
}

// ---------------------------------------------------------------------------
// BMP input on files made here

namespace {

void Put16(std::vector<uint8_t>& d, size_t o, uint32_t v) {
  d[o] = uint8_t(v);
  d[o + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& d, size_t o, uint32_t v) {
  Put16(d, o, v & 0xFFFF);
  Put16(d, o + 2, v >> 16);
}

// A BMP with a 40-byte header. The expected pixels come from `color`;
// paletted files use a palette of `colors` entries and index = value % colors.
struct TBmpSpec {
  int width, height, bits;
  bool topDown = false;
  int colors = 0;  // palette entries for 8 bits and less
};
uint32_t TestColor(int x, int y) { return uint32_t((x * 37 + y * 101) * 2654435761u) & 0xFFFFFF; }
uint32_t PaletteColor(int i) { return uint32_t(i * 0x010305 + 0x102030) & 0xFFFFFF; }
int TestIndex(int x, int y, int colors) { return (x * 3 + y * 5) % colors; }

std::vector<uint8_t> MakeBmp(const TBmpSpec& s) {
  size_t stride = ((size_t(s.width) * s.bits + 31) / 32) * 4;
  size_t table = s.bits <= 8 ? size_t(s.colors) * 4 : 0;
  size_t off = 14 + 40 + table;
  std::vector<uint8_t> d(off + stride * size_t(s.height), 0);
  d[0] = 'B';
  d[1] = 'M';
  Put32(d, 2, uint32_t(d.size()));
  Put32(d, 10, uint32_t(off));
  Put32(d, 14, 40);
  Put32(d, 18, uint32_t(s.width));
  Put32(d, 22, uint32_t(s.topDown ? -s.height : s.height));
  Put16(d, 26, 1);
  Put16(d, 28, uint32_t(s.bits));
  Put32(d, 46, uint32_t(s.bits <= 8 ? s.colors : 0));
  for (int i = 0; i < (s.bits <= 8 ? s.colors : 0); ++i) {
    uint32_t c = PaletteColor(i);
    d[54 + size_t(i) * 4] = uint8_t(c);
    d[55 + size_t(i) * 4] = uint8_t(c >> 8);
    d[56 + size_t(i) * 4] = uint8_t(c >> 16);
  }
  for (int y = 0; y < s.height; ++y) {
    size_t row = off + stride * size_t(s.topDown ? y : s.height - 1 - y);
    for (int x = 0; x < s.width; ++x) {
      if (s.bits <= 8) {
        size_t bit = size_t(x) * s.bits;
        d[row + bit / 8] |= uint8_t(TestIndex(x, y, s.colors) << (8 - s.bits - bit % 8));
      } else {
        uint32_t c = TestColor(x, y);
        size_t p = row + size_t(x) * size_t(s.bits / 8);
        d[p] = uint8_t(c);
        d[p + 1] = uint8_t(c >> 8);
        d[p + 2] = uint8_t(c >> 16);
        if (s.bits == 32) d[p + 3] = 0xEE;  // ignored
      }
    }
  }
  return d;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& d) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = d.empty() || std::fwrite(d.data(), 1, d.size(), f) == d.size();
  return std::fclose(f) == 0 && ok;
}

bool LoadBytes(const std::vector<uint8_t>& d, TPixelBlock& out) {
  std::string path = TempPath("pic.bmp");
  EXPECT_TRUE(WriteFile(path, d));
  bool ok = LoadBmpFile(path, out);
  std::remove(path.c_str());
  return ok;
}

}  // namespace

TEST(DrawBmp, ReadsUncompressedDepthsAndRowOrders) {
  const TBmpSpec specs[] = {
      {3, 2, 24}, {3, 2, 24, true}, {5, 3, 32}, {4, 3, 32, true}, {7, 3, 8, false, 3},
      {5, 2, 4, false, 16}, {9, 2, 1, false, 2}, {17, 3, 1, true, 2}, {1, 1, 8, false, 256},
  };
  for (const TBmpSpec& s : specs) {
    SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << " " << s.bits << " bits"
                                    << (s.topDown ? " top-down" : ""));
    TPixelBlock b;
    ASSERT_TRUE(LoadBytes(MakeBmp(s), b));
    ASSERT_EQ(b.width, s.width);
    ASSERT_EQ(b.height, s.height);
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        uint32_t want = s.bits <= 8 ? PaletteColor(TestIndex(x, y, s.colors)) : TestColor(x, y);
        ASSERT_EQ(b.pixels[size_t(y * s.width + x)], want) << x << "," << y;
      }
  }
}

TEST(DrawBmp, CoreHeaderAndBitFields) {
  // 12-byte header: 2 x 2, 8 bits, a 3-byte colour table of two entries.
  std::vector<uint8_t> core(14 + 12 + 6 + 8, 0);
  core[0] = 'B';
  core[1] = 'M';
  Put32(core, 10, 14 + 12 + 6);
  Put32(core, 14, 12);
  Put16(core, 18, 2);
  Put16(core, 20, 2);
  Put16(core, 22, 1);
  Put16(core, 24, 1);
  core[26] = 0x10, core[27] = 0x20, core[28] = 0x30;  // entry 0
  core[29] = 0xA0, core[30] = 0xB0, core[31] = 0xC0;  // entry 1
  core[32] = 0x40;  // bottom row: 0 1
  core[36] = 0x80;  // top row: 1 0
  TPixelBlock b;
  ASSERT_TRUE(LoadBytes(core, b));
  ASSERT_EQ(b.width, 2);
  EXPECT_EQ(b.pixels[0], 0xC0B0A0u);
  EXPECT_EQ(b.pixels[1], 0x302010u);
  EXPECT_EQ(b.pixels[2], 0x302010u);
  EXPECT_EQ(b.pixels[3], 0xC0B0A0u);

  // 32 bits with bit fields: red in the low byte, blue in the third.
  std::vector<uint8_t> bf(14 + 40 + 12 + 4, 0);
  bf[0] = 'B';
  bf[1] = 'M';
  Put32(bf, 10, 14 + 40 + 12);
  Put32(bf, 14, 40);
  Put32(bf, 18, 1);
  Put32(bf, 22, 1);
  Put16(bf, 26, 1);
  Put16(bf, 28, 32);
  Put32(bf, 30, 3);
  Put32(bf, 54, 0x000000FF);
  Put32(bf, 58, 0x0000FF00);
  Put32(bf, 62, 0x00FF0000);
  Put32(bf, 66, 0x00332211);
  ASSERT_TRUE(LoadBytes(bf, b));
  EXPECT_EQ(b.pixels[0], 0x112233u);
}

TEST(DrawBmp, MalformedFilesAreRefused) {
  const std::vector<uint8_t> good = MakeBmp({7, 3, 8, false, 3});
  TPixelBlock b;
  // Every truncation short of the last row's padding fails cleanly.
  size_t needed = good.size() - 1;  // the last row of 7 bytes has one padding byte
  for (size_t n = 0; n < needed; ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
    b.width = 5;
    EXPECT_FALSE(LoadBytes(cut, b)) << n;
    EXPECT_EQ(b.width, 0);
    EXPECT_TRUE(b.pixels.empty());
  }
  EXPECT_TRUE(LoadBytes(std::vector<uint8_t>(good.begin(), good.begin() + long(needed)), b));

  struct {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> spoil;
  } cases[] = {
      {"magic", [](std::vector<uint8_t>& d) { d[0] = 'X'; }},
      {"pixel offset past the end", [](std::vector<uint8_t>& d) { Put32(d, 10, 0xFFFFFFF0u); }},
      {"header size 20", [](std::vector<uint8_t>& d) { Put32(d, 14, 20); }},
      {"header size huge", [](std::vector<uint8_t>& d) { Put32(d, 14, 0x7FFFFFFF); }},
      {"width 0", [](std::vector<uint8_t>& d) { Put32(d, 18, 0); }},
      {"width negative", [](std::vector<uint8_t>& d) { Put32(d, 18, uint32_t(-3)); }},
      {"width huge", [](std::vector<uint8_t>& d) { Put32(d, 18, 0x40000000); }},
      {"height most negative", [](std::vector<uint8_t>& d) { Put32(d, 22, 0x80000000u); }},
      {"height past the data", [](std::vector<uint8_t>& d) { Put32(d, 22, 4); }},
      {"planes 2", [](std::vector<uint8_t>& d) { Put16(d, 26, 2); }},
      {"7 bits", [](std::vector<uint8_t>& d) { Put16(d, 28, 7); }},
      {"16 bits", [](std::vector<uint8_t>& d) { Put16(d, 28, 16); }},
      {"run-length compression", [](std::vector<uint8_t>& d) { Put32(d, 30, 1); }},
      {"bit fields on 8 bits", [](std::vector<uint8_t>& d) { Put32(d, 30, 3); }},
      {"colour count past the file",
       [](std::vector<uint8_t>& d) { Put32(d, 46, 0xFFFFFFFFu); Put32(d, 10, 14 + 40 + 1024 + 8); }},
  };
  for (const auto& k : cases) {
    std::vector<uint8_t> d = good;
    k.spoil(d);
    EXPECT_FALSE(LoadBytes(d, b)) << k.name;
    EXPECT_TRUE(b.pixels.empty()) << k.name;
  }
  EXPECT_FALSE(LoadBmpFile("/nonexistent-folder/none.bmp", b));
  EXPECT_FALSE(LoadBmpFile(testing::TempDir(), b));  // a folder
}

TEST(DrawBmp, RandomDamageNeverReadsOutOfBounds) {
  std::mt19937 rng(1234);
  const std::vector<uint8_t> goods[] = {MakeBmp({6, 4, 4, true, 16}), MakeBmp({5, 3, 24}), MakeBmp({3, 3, 32})};
  std::string path = TempPath("fuzz.bmp");
  for (int round = 0; round < 600; ++round) {
    std::vector<uint8_t> d = goods[round % 3];
    int hits = 1 + int(rng() % 4);
    for (int i = 0; i < hits; ++i) d[rng() % std::min<size_t>(d.size(), 70)] = uint8_t(rng());
    if (rng() % 3 == 0) d.resize(rng() % d.size());
    ASSERT_TRUE(WriteFile(path, d));
    TPixelBlock b;
    if (LoadBmpFile(path, b)) {
      ASSERT_GT(b.width, 0);
      ASSERT_EQ(b.pixels.size(), size_t(b.width) * size_t(b.height));
    } else {
      ASSERT_TRUE(b.pixels.empty());
    }
  }
  std::remove(path.c_str());
}
