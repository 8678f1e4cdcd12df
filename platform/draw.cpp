// Drawing context: colours, state, clipping, lines and filled shapes.
//
// Sections:
//   colours, frame buffer and palette
//   context state and clipping
//   raster operations and the painter
//   pens: dash patterns, thin lines, wide strokes
//   brushes
//   lines, polylines and polygons
//   rectangles, ellipses, filled rectangles and pixels
//
// All coordinates become 64-bit device coordinates before any arithmetic,
// and every primitive narrows its work to the clip rectangle first, so
// coordinates far outside the frame buffer cost nothing and never write
// outside it.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/draw.h"
#include "platform/draw_internal.h"

namespace plat {

// ---------------------------------------------------------------------------
// colours, frame buffer and palette

uint32_t PixelFromColorRef(TColorRef c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

TColorRef ColorRefFromPixel(uint32_t pixel) {
  return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

void ResizeFrameBuffer(TFrameBuffer& fb, int width, int height, uint32_t fill) {
  if (width <= 0 || height <= 0) {
    width = 0;
    height = 0;
  }
  fb.width = width;
  fb.height = height;
  fb.pixels.assign(size_t(width) * size_t(height), fill & kPixelMask);
}

int NearestPaletteIndex(const TPalette& pal, TColorRef c) {
  int count = std::clamp(pal.count, 0, 256);
  int best = 0;
  long bestDist = std::numeric_limits<long>::max();
  for (int i = 0; i < count; ++i) {
    TColorRef e = pal.entries[size_t(i)];
    long dr = RedOf(e) - RedOf(c), dg = GreenOf(e) - GreenOf(c), db = BlueOf(e) - BlueOf(c);
    long d = dr * dr + dg * dg + db * db;
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

uint32_t DcPixelOf(const TDc& dc, TColorRef c) {
  if ((c >> 24) == 1) {  // palette index reference
    int index = int(c & 0xFFFF);
    if (index < std::clamp(dc.palette.count, 0, 256)) return PixelFromColorRef(dc.palette.entries[size_t(index)]);
    return 0;
  }
  return PixelFromColorRef(c);
}

// ---------------------------------------------------------------------------
// context state and clipping

bool DcHasTarget(const TDc& dc) {
  const TFrameBuffer* fb = dc.target;
  return fb && fb->width > 0 && fb->height > 0 &&
         fb->pixels.size() >= size_t(fb->width) * size_t(fb->height);
}

TDevClip DcDeviceClip(const TDc& dc) {
  TDevClip c;
  if (!DcHasTarget(dc)) return c;
  c.left = std::max<int64_t>(dc.clip.left, 0);
  c.top = std::max<int64_t>(dc.clip.top, 0);
  c.right = std::min<int64_t>(dc.clip.right, dc.target->width);
  c.bottom = std::min<int64_t>(dc.clip.bottom, dc.target->height);
  if (c.Empty()) c = TDevClip{};
  return c;
}

void DcReset(TDc& dc, TFrameBuffer* target) {
  TPalette palette = dc.palette;  // the palette belongs to the window, not to the drawing state
  dc = TDc{};
  dc.palette = palette;
  dc.target = target;
  DcResetClip(dc);
}

void DcSetPen(TDc& dc, const TPen& pen) { dc.pen = pen; }
void DcSetBrush(TDc& dc, const TBrush& brush) { dc.brush = brush; }
void DcSetRop2(TDc& dc, int rop2) { dc.rop2 = rop2; }
void DcSetTextColor(TDc& dc, TColorRef c) { dc.textColor = c; }
void DcSetBkColor(TDc& dc, TColorRef c) { dc.bkColor = c; }
void DcSetBkMode(TDc& dc, int mode) { dc.bkMode = mode; }
void DcSetTextAlign(TDc& dc, int align) { dc.textAlign = align; }
void DcSelectFont(TDc& dc, const TFontSpec& font) { dc.font = font; }

static int ClampToInt(int64_t v) {
  return int(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void DcSetClipRect(TDc& dc, const TRect& r) {
  int w = dc.target ? std::max(dc.target->width, 0) : 0;
  int h = dc.target ? std::max(dc.target->height, 0) : 0;
  TRect c;
  c.left = std::clamp(r.left, 0, w);
  c.top = std::clamp(r.top, 0, h);
  c.right = std::clamp(r.right, c.left, w);
  c.bottom = std::clamp(r.bottom, c.top, h);
  dc.clip = c;
}

void DcResetClip(TDc& dc) {
  int w = dc.target ? std::max(dc.target->width, 0) : 0;
  int h = dc.target ? std::max(dc.target->height, 0) : 0;
  dc.clip = TRect{0, 0, w, h};
}

void DcIntersectClip(TDc& dc, const TRect& r) {
  int64_t ox = dc.viewportOrigin.x, oy = dc.viewportOrigin.y;
  TRect c = dc.clip;
  c.left = ClampToInt(std::max<int64_t>(c.left, r.left + ox));
  c.top = ClampToInt(std::max<int64_t>(c.top, r.top + oy));
  c.right = ClampToInt(std::min<int64_t>(c.right, r.right + ox));
  c.bottom = ClampToInt(std::min<int64_t>(c.bottom, r.bottom + oy));
  if (c.right < c.left) c.right = c.left;
  if (c.bottom < c.top) c.bottom = c.top;
  dc.clip = c;
}

void DcSetViewportOrigin(TDc& dc, int x, int y) { dc.viewportOrigin = TPoint{x, y}; }

// ---------------------------------------------------------------------------
// raster operations and the painter

uint32_t ApplyRop2(int rop2, uint32_t src, uint32_t dst) {
  if (rop2 == kRopCopy || rop2 < 1 || rop2 > 16) return src & kPixelMask;
  // The code minus one is a truth table over (source bit, destination bit).
  unsigned table = unsigned(rop2 - 1);
  uint32_t r = 0;
  if (table & 1) r |= ~src & ~dst;
  if (table & 2) r |= ~src & dst;
  if (table & 4) r |= src & ~dst;
  if (table & 8) r |= src & dst;
  return r & kPixelMask;
}

void TPainter::Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel) const {
  if (y < clip.top || y >= clip.bottom) return;
  x0 = std::max(x0, clip.left);
  x1 = std::min(x1, clip.right);
  if (x0 >= x1) return;
  uint32_t* row = fb->pixels.data() + size_t(y) * size_t(fb->width);
  if (rop2 == kRopCopy) {
    std::fill(row + x0, row + x1, pixel & kPixelMask);
    return;
  }
  for (int64_t x = x0; x < x1; ++x) row[x] = ApplyRop2(rop2, pixel, row[x]);
}

TPainter DcPainter(TDc& dc, int rop2) {
  TPainter p;
  p.fb = dc.target;
  p.clip = DcDeviceClip(dc);
  p.rop2 = rop2;
  return p;
}

namespace {

struct TDevPoint {
  int64_t x = 0, y = 0;
};

TDevPoint ToDevice(const TDc& dc, int x, int y) {
  return TDevPoint{int64_t(x) + dc.viewportOrigin.x, int64_t(y) + dc.viewportOrigin.y};
}

// A run of pixels x0 .. x1 - 1 on row y, to be written in one colour.
struct TRun {
  int64_t y = 0, x0 = 0, x1 = 0;
  uint32_t pixel = 0;
};

void SortRuns(std::vector<TRun>& runs) {
  std::sort(runs.begin(), runs.end(), [](const TRun& a, const TRun& b) {
    return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
  });
  // A pixel reached twice (crossing edges) is written once, so xor shapes keep it.
  size_t out = 0;
  for (size_t i = 0; i < runs.size(); ++i) {
    if (out > 0 && runs[out - 1].y == runs[i].y && runs[i].x0 < runs[out - 1].x1) {
      runs[i].x0 = runs[out - 1].x1;
      if (runs[i].x0 >= runs[i].x1) continue;
    }
    runs[out++] = runs[i];
  }
  runs.resize(out);
}

void PaintRuns(const TPainter& p, const std::vector<TRun>& runs) {
  for (const TRun& r : runs) p.Span(r.y, r.x0, r.x1, r.pixel);
}

// ---------------------------------------------------------------------------
// pens: dash patterns, thin lines, wide strokes

// On/off lengths in pixels of the cosmetic pen styles; every period divides 24.
struct TDashPattern {
  int count;
  int lengths[6];
  int period;
};
constexpr TDashPattern kDashPatterns[4] = {
    {2, {18, 6}, 24},             // dashed
    {2, {3, 3}, 6},               // dotted
    {4, {9, 6, 3, 6}, 24},        // dash-dot
    {6, {9, 3, 3, 3, 3, 3}, 24},  // dash-dot-dot
};
constexpr int kStylePeriod = 24;

bool PatternOn(int style, int64_t pos) {
  if (style < kPenDash || style > kPenDashDotDot) return true;
  const TDashPattern& d = kDashPatterns[style - kPenDash];
  int64_t at = pos % d.period;
  for (int i = 0; i < d.count; ++i) {
    if (at < d.lengths[i]) return (i % 2) == 0;
    at -= d.lengths[i];
  }
  return true;
}

struct TPenInk {
  bool visible = false;
  bool wide = false;
  int width = 1;
  int style = kPenSolid;
  uint32_t pen = 0;
  uint32_t bk = 0;
  bool gapsInBk = false;  // dash gaps drawn in the background colour
};

TPenInk PenInk(const TDc& dc) {
  TPenInk ink;
  ink.visible = dc.pen.style != kPenNull;
  ink.width = std::clamp(dc.pen.width, 1, 4096);
  ink.wide = ink.width > 1;
  ink.style = ink.wide ? int(kPenSolid) : dc.pen.style;
  ink.pen = DcPixelOf(dc, dc.pen.color);
  ink.bk = DcPixelOf(dc, dc.bkColor);
  ink.gapsInBk = dc.bkMode == kBkOpaque;
  return ink;
}

// Visits the pixels of the one-pixel line from (x0, y0) up to but excluding
// (x1, y1) that lie inside the clip rectangle, as (step index, x, y). The
// pixel of step i is fixed by i alone (closed-form Bresenham, halves rounded
// toward the start), so clipping never moves a pixel and only the steps
// inside the clip rectangle are visited.
template <class F>
void VisitThinLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const TDevClip& clip, F&& visit) {
  int64_t dx = x1 - x0, dy = y1 - y0;
  int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  if ((adx == 0 && ady == 0) || clip.Empty()) return;
  bool xMajor = adx >= ady;
  int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  int64_t sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  int64_t sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  int64_t majorStart = xMajor ? x0 : y0, minorStart = xMajor ? y0 : x0;
  int64_t lo = xMajor ? clip.left : clip.top, hi = xMajor ? clip.right : clip.bottom;
  int64_t first, last;
  if (sMajor > 0) {
    first = lo - majorStart;
    last = hi - 1 - majorStart;
  } else {
    first = majorStart - (hi - 1);
    last = majorStart - lo;
  }
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, major - 1);
  if (first > last) return;
  // Minor offset of step i: floor((2 i minor + major - 1) / (2 major)),
  // exact for the first visited step, then kept as quotient and remainder.
  const int64_t den = 2 * major, inc = 2 * minor;
  __int128 num = __int128(inc) * first + major - 1;
  int64_t m = int64_t(num / den), rem = int64_t(num % den);
  for (int64_t i = first; i <= last; ++i) {
    int64_t a = majorStart + sMajor * i, b = minorStart + sMinor * m;
    int64_t x = xMajor ? a : b, y = xMajor ? b : a;
    if (clip.Contains(x, y)) visit(i, x, y);
    rem += inc;
    if (rem >= den) {
      rem -= den;
      ++m;
    }
  }
}

// Number of pattern steps a thin line takes (its pixel count before clipping).
int64_t ThinLineSteps(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  int64_t adx = x1 > x0 ? x1 - x0 : x0 - x1, ady = y1 > y0 ? y1 - y0 : y0 - y1;
  return std::max(adx, ady);
}

// Draws (or collects, when runs is given) a thin styled line; pos is the
// pattern position, advanced by the line's length.
void ThinLine(const TPainter& p, const TPenInk& ink, TDevPoint a, TDevPoint b, int64_t& pos,
              std::vector<TRun>* runs) {
  int64_t start = pos;
  VisitThinLine(a.x, a.y, b.x, b.y, p.clip, [&](int64_t i, int64_t x, int64_t y) {
    uint32_t pixel;
    if (PatternOn(ink.style, start + i)) pixel = ink.pen;
    else if (ink.gapsInBk) pixel = ink.bk;
    else return;
    if (runs) runs->push_back(TRun{y, x, x + 1, pixel});
    else p.Plot(x, y, pixel);
  });
  pos = (start + ThinLineSteps(a.x, a.y, b.x, b.y)) % kStylePeriod;
}

struct TSegment {
  double ax, ay, bx, by;
};

// The open interval of x on row y within distance r of the segment (a
// capsule); false when the row misses it.
bool CapsuleRow(const TSegment& s, double r, double y, double& lo, double& hi) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  lo = kInf;
  hi = -kInf;
  auto cap = [&](double cx, double cy) {
    double dy = y - cy, d2 = r * r - dy * dy;
    if (d2 <= 0) return;
    double h = std::sqrt(d2);
    lo = std::min(lo, cx - h);
    hi = std::max(hi, cx + h);
  };
  cap(s.ax, s.ay);
  cap(s.bx, s.by);
  double ex = s.bx - s.ax, ey = s.by - s.ay, len = std::hypot(ex, ey);
  if (len > 0) {
    double ux = ex / len, uy = ey / len, ry = y - s.ay;
    // Along the segment: 0 <= (x - ax) ux + ry uy <= len.
    double tLo = -kInf, tHi = kInf;
    if (ux != 0) {
      double p = s.ax - ry * uy / ux, q = s.ax + (len - ry * uy) / ux;
      tLo = std::min(p, q);
      tHi = std::max(p, q);
    } else if (ry * uy < 0 || ry * uy > len) {
      tLo = kInf;
      tHi = -kInf;
    }
    // Across: |ry ux - (x - ax) uy| < r.
    double sLo = -kInf, sHi = kInf;
    if (uy != 0) {
      double p = s.ax + (ry * ux - r) / uy, q = s.ax + (ry * ux + r) / uy;
      sLo = std::min(p, q);
      sHi = std::max(p, q);
    } else if (std::fabs(ry * ux) >= r) {
      sLo = kInf;
      sHi = -kInf;
    }
    double bLo = std::max(tLo, sLo), bHi = std::min(tHi, sHi);
    if (bLo < bHi) {
      lo = std::min(lo, bLo);
      hi = std::max(hi, bHi);
    }
  }
  return lo < hi;
}

// The pixels (centres) within width / 2 of a chain of segments, as runs of
// one colour; overlapping parts are merged so each pixel appears once.
void WideStrokeRuns(const std::vector<TSegment>& segs, int width, const TDevClip& clip, uint32_t pixel,
                    std::vector<TRun>& out) {
  if (segs.empty() || clip.Empty()) return;
  double r = width / 2.0;
  double minY = std::numeric_limits<double>::infinity(), maxY = -minY;
  for (const TSegment& s : segs) {
    minY = std::min({minY, s.ay, s.by});
    maxY = std::max({maxY, s.ay, s.by});
  }
  // Clamped in floating point first: the points may lie far outside.
  int64_t y0 = int64_t(std::floor(std::clamp(minY - r, double(clip.top), double(clip.bottom))));
  int64_t y1 = int64_t(std::ceil(std::clamp(maxY + r, double(clip.top) - 1, double(clip.bottom) - 1)));
  std::vector<std::pair<int64_t, int64_t>> spans;
  for (int64_t y = y0; y <= y1; ++y) {
    spans.clear();
    for (const TSegment& s : segs) {
      double lo, hi;
      if (!CapsuleRow(s, r, double(y), lo, hi)) continue;
      lo = std::max(lo, double(clip.left) - 1);
      hi = std::min(hi, double(clip.right) + 1);
      int64_t xa = int64_t(std::floor(lo)) + 1, xb = int64_t(std::ceil(hi)) - 1;
      if (xa <= xb) spans.emplace_back(xa, xb + 1);
    }
    std::sort(spans.begin(), spans.end());
    size_t i = 0;
    while (i < spans.size()) {
      int64_t a = spans[i].first, b = spans[i].second;
      for (++i; i < spans.size() && spans[i].first <= b; ++i) b = std::max(b, spans[i].second);
      a = std::max(a, clip.left);
      b = std::min(b, clip.right);
      if (a < b) out.push_back(TRun{y, a, b, pixel});
    }
  }
}

// Wide strokes of an even width run half a pixel up and left of the given
// points, so that the stroke covers exactly `width` rows or columns.
TSegment WideSegment(TDevPoint a, TDevPoint b, int width) {
  double off = (width % 2 == 0) ? 0.5 : 0.0;
  return TSegment{double(a.x) - off, double(a.y) - off, double(b.x) - off, double(b.y) - off};
}

// Outline of a chain of points with the pen (closed: back to the first).
// Collects into runs when given, else draws directly.
void PenChain(const TPainter& p, const TPenInk& ink, const std::vector<TDevPoint>& pts, bool closed,
              int64_t& pos, std::vector<TRun>* runs) {
  if (!ink.visible || pts.size() < 2) return;
  size_t n = pts.size(), segCount = closed ? n : n - 1;
  if (ink.wide) {
    std::vector<TSegment> segs;
    for (size_t i = 0; i < segCount; ++i) {
      TDevPoint a = pts[i], b = pts[(i + 1) % n];
      if (a.x != b.x || a.y != b.y) segs.push_back(WideSegment(a, b, ink.width));
    }
    std::vector<TRun> local;
    WideStrokeRuns(segs, ink.width, p.clip, ink.pen, runs ? *runs : local);
    if (!runs) PaintRuns(p, local);
    return;
  }
  for (size_t i = 0; i < segCount; ++i) ThinLine(p, ink, pts[i], pts[(i + 1) % n], pos, runs);
}

// ---------------------------------------------------------------------------
// brushes

bool HatchSet(int hatch, int64_t x, int64_t y) {
  int mx = int(x & 7), my = int(y & 7);
  switch (hatch) {
    case kHatchHorizontal: return my == 3;
    case kHatchVertical: return mx == 3;
    case kHatchFDiagonal: return mx == my;
    case kHatchBDiagonal: return mx + my == 7;
    case kHatchCross: return mx == 3 || my == 3;
    case kHatchDiagCross: return mx == my || mx + my == 7;
    default: return true;
  }
}

// Fills x0 .. x1 - 1 of row y with the brush. Hatch lines are aligned to
// device pixels (an 8 x 8 grid from the frame buffer's corner); between
// them the background colour is written in opaque mode only.
void BrushSpan(const TDc& dc, const TPainter& p, const TBrush& brush, int64_t y, int64_t x0, int64_t x1) {
  if (brush.style == kBrushHollow) return;
  if (y < p.clip.top || y >= p.clip.bottom) return;
  x0 = std::max(x0, p.clip.left);
  x1 = std::min(x1, p.clip.right);
  if (x0 >= x1) return;
  uint32_t color = DcPixelOf(dc, brush.color);
  if (brush.style != kBrushHatched) {
    p.Span(y, x0, x1, color);
    return;
  }
  uint32_t bk = DcPixelOf(dc, dc.bkColor);
  bool opaque = dc.bkMode == kBkOpaque;
  for (int64_t x = x0; x < x1; ++x) {
    if (HatchSet(brush.hatch, x, y)) p.Plot(x, y, color);
    else if (opaque) p.Plot(x, y, bk);
  }
}

// Brush fill of [x0, x1) on row y, leaving out the pixels of the outline runs
// (sorted) so that no pixel is written twice.
void BrushSpanExcept(const TDc& dc, const TPainter& p, int64_t y, int64_t x0, int64_t x1,
                     const std::vector<TRun>& outline) {
  auto it = std::lower_bound(outline.begin(), outline.end(), y,
                             [](const TRun& r, int64_t row) { return r.y < row; });
  int64_t x = x0;
  for (; it != outline.end() && it->y == y && x < x1; ++it) {
    if (it->x1 <= x) continue;
    if (it->x0 >= x1) break;
    if (it->x0 > x) BrushSpan(dc, p, dc.brush, y, x, it->x0);
    x = std::max(x, it->x1);
  }
  if (x < x1) BrushSpan(dc, p, dc.brush, y, x, x1);
}

// Smallest integer >= num / den (den != 0).
int64_t CeilDiv(__int128 num, __int128 den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  __int128 q = num / den;
  if (num % den != 0 && num > 0) ++q;
  return int64_t(q);
}

}  // namespace

// ---------------------------------------------------------------------------
// lines, polylines and polygons

void DcMoveTo(TDc& dc, int x, int y) {
  dc.current = TPoint{x, y};
  dc.stylePos = 0;
}

void DcLineTo(TDc& dc, int x, int y) {
  TPoint from = dc.current;
  dc.current = TPoint{x, y};
  if (!DcHasTarget(dc)) return;
  TPenInk ink = PenInk(dc);
  if (!ink.visible) return;
  TPainter p = DcPainter(dc, dc.rop2);
  int64_t pos = dc.stylePos;
  TDevPoint a = ToDevice(dc, from.x, from.y), b = ToDevice(dc, x, y);
  if (ink.wide) PenChain(p, ink, {a, b}, false, pos, nullptr);
  else ThinLine(p, ink, a, b, pos, nullptr);
  dc.stylePos = int(pos);
}

void DcPolyline(TDc& dc, const TPoint* pts, int n) {
  if (!pts || n < 2 || !DcHasTarget(dc)) return;
  TPenInk ink = PenInk(dc);
  if (!ink.visible) return;
  std::vector<TDevPoint> dev;
  dev.reserve(size_t(n));
  for (int i = 0; i < n; ++i) dev.push_back(ToDevice(dc, pts[i].x, pts[i].y));
  int64_t pos = 0;
  PenChain(DcPainter(dc, dc.rop2), ink, dev, false, pos, nullptr);
}

void DcPolygon(TDc& dc, const TPoint* pts, int n) {
  if (!pts || n < 2 || !DcHasTarget(dc)) return;
  TPainter p = DcPainter(dc, dc.rop2);
  if (p.clip.Empty()) return;
  std::vector<TDevPoint> dev;
  dev.reserve(size_t(n));
  for (int i = 0; i < n; ++i) dev.push_back(ToDevice(dc, pts[i].x, pts[i].y));

  TPenInk ink = PenInk(dc);
  std::vector<TRun> outline;
  int64_t pos = 0;
  PenChain(p, ink, dev, true, pos, &outline);
  SortRuns(outline);

  if (dc.brush.style != kBrushHollow) {
    // Alternate fill: a pixel is inside when its centre lies between an odd
    // and the following even crossing of its row; edges include their upper
    // end and exclude their lower end, crossings include the left pixel.
    int64_t minY = dev[0].y, maxY = dev[0].y;
    for (const TDevPoint& d : dev) {
      minY = std::min(minY, d.y);
      maxY = std::max(maxY, d.y);
    }
    int64_t y0 = std::max(minY, p.clip.top), y1 = std::min(maxY, p.clip.bottom);
    std::vector<int64_t> xs;
    for (int64_t y = y0; y < y1; ++y) {
      xs.clear();
      for (size_t i = 0; i < dev.size(); ++i) {
        TDevPoint a = dev[i], b = dev[(i + 1) % dev.size()];
        if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
        xs.push_back(a.x + CeilDiv(__int128(y - a.y) * (b.x - a.x), b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t k = 0; k + 1 < xs.size(); k += 2) {
        int64_t xa = std::max(xs[k], p.clip.left), xb = std::min(xs[k + 1], p.clip.right);
        if (xa < xb) BrushSpanExcept(dc, p, y, xa, xb, outline);
      }
    }
  }
  PaintRuns(p, outline);
}

// ---------------------------------------------------------------------------
// rectangles, ellipses, filled rectangles and pixels

namespace {

void Normalise(int64_t& a, int64_t& b) {
  if (a > b) std::swap(a, b);
}

// A straight run of n pixels from (x, y) stepping (sx, sy), drawn with the
// pen pattern starting at pos; only the clipped part is visited.
void StyledRun(const TPainter& p, const TPenInk& ink, int64_t x, int64_t y, int sx, int sy, int64_t n,
               int64_t& pos) {
  int64_t start = pos;
  pos = (pos + n) % kStylePeriod;
  if (n <= 0) return;
  int64_t first = 0, last = n - 1;
  auto narrow = [&](int64_t c, int s, int64_t lo, int64_t hi) {  // c + s*i in [lo, hi)
    if (s > 0) {
      first = std::max(first, lo - c);
      last = std::min(last, hi - 1 - c);
    } else if (s < 0) {
      first = std::max(first, c - (hi - 1));
      last = std::min(last, c - lo);
    } else if (c < lo || c >= hi) {
      last = first - 1;
    }
  };
  narrow(x, sx, p.clip.left, p.clip.right);
  narrow(y, sy, p.clip.top, p.clip.bottom);
  if (first > last) return;
  if (ink.style == kPenSolid || ink.style < kPenDash || ink.style > kPenDashDotDot) {
    if (sy == 0) {
      int64_t xa = x + sx * first, xb = x + sx * last;
      p.Span(y, std::min(xa, xb), std::max(xa, xb) + 1, ink.pen);
    } else {
      for (int64_t i = first; i <= last; ++i) p.Plot(x + sx * i, y + sy * i, ink.pen);
    }
    return;
  }
  for (int64_t i = first; i <= last; ++i) {
    if (PatternOn(ink.style, start + i)) p.Plot(x + sx * i, y + sy * i, ink.pen);
    else if (ink.gapsInBk) p.Plot(x + sx * i, y + sy * i, ink.bk);
  }
}

// Columns of row y (pixel centres at integers) inside the ellipse with the
// given centre and radii; false when the row misses it.
bool EllipseRow(double cx, double cy, double rx, double ry, int64_t y, int64_t& x0, int64_t& x1) {
  if (rx <= 0 || ry <= 0) return false;
  double v = (double(y) - cy) / ry;
  if (v * v > 1) return false;
  double u = rx * std::sqrt(std::max(0.0, 1 - v * v));
  x0 = int64_t(std::ceil(cx - u - 1e-9));
  x1 = int64_t(std::floor(cx + u + 1e-9));
  return x0 <= x1;
}

}  // namespace

void DcRectangle(TDc& dc, int left, int top, int right, int bottom) {
  if (!DcHasTarget(dc)) return;
  TDevPoint a = ToDevice(dc, left, top), b = ToDevice(dc, right, bottom);
  int64_t l = a.x, t = a.y, r = b.x, btm = b.y;
  Normalise(l, r);
  Normalise(t, btm);
  if (r <= l || btm <= t) return;
  TPainter p = DcPainter(dc, dc.rop2);
  if (p.clip.Empty()) return;
  TPenInk ink = PenInk(dc);

  // The inside: the pen's pixels are left out; without a pen the filled
  // area still ends one pixel before right and bottom.
  int64_t il = l, it = t, ir = r - 1, ib = btm - 1;
  if (ink.visible) {
    il = l + (ink.width + 1) / 2;
    it = t + (ink.width + 1) / 2;
    ir = r - 1 - ink.width / 2;
    ib = btm - 1 - ink.width / 2;
  }
  for (int64_t y = std::max(it, p.clip.top); y < std::min(ib, p.clip.bottom); ++y)
    BrushSpan(dc, p, dc.brush, y, il, ir);

  if (!ink.visible) return;
  int64_t x2 = r - 1, y2 = btm - 1;
  if (ink.wide) {
    int64_t pos = 0;
    PenChain(p, ink, {{l, t}, {x2, t}, {x2, y2}, {l, y2}}, true, pos, nullptr);
    return;
  }
  int64_t pos = 0;
  if (x2 == l) {
    StyledRun(p, ink, l, t, 0, 1, y2 - t + 1, pos);
  } else if (y2 == t) {
    StyledRun(p, ink, l, t, 1, 0, x2 - l + 1, pos);
  } else {
    StyledRun(p, ink, l, t, 1, 0, x2 - l + 1, pos);       // top, left to right
    StyledRun(p, ink, x2, t + 1, 0, 1, y2 - t, pos);      // right, downwards
    StyledRun(p, ink, x2 - 1, y2, -1, 0, x2 - l, pos);    // bottom, right to left
    StyledRun(p, ink, l, y2 - 1, 0, -1, y2 - t - 1, pos); // left, upwards
  }
}

void DcEllipse(TDc& dc, int left, int top, int right, int bottom) {
  if (!DcHasTarget(dc)) return;
  TDevPoint a = ToDevice(dc, left, top), b = ToDevice(dc, right, bottom);
  int64_t l = a.x, t = a.y, r = b.x, btm = b.y;
  Normalise(l, r);
  Normalise(t, btm);
  if (r <= l || btm <= t) return;
  TPainter p = DcPainter(dc, dc.rop2);
  if (p.clip.Empty()) return;
  TPenInk ink = PenInk(dc);

  // Pixel centres are integers: the ellipse fills the pixels l .. r - 1 and t .. btm - 1.
  double cx = (double(l) + double(r) - 1) / 2, cy = (double(t) + double(btm) - 1) / 2;
  double rx = (double(r) - double(l)) / 2, ry = (double(btm) - double(t)) / 2;
  int64_t y0 = std::max(t, p.clip.top), y1 = std::min(btm, p.clip.bottom);

  if (ink.visible && ink.wide) {
    double h = ink.width / 2.0;
    double orx = rx - 0.5 + h, ory = ry - 0.5 + h, irx = rx - 0.5 - h, iry = ry - 0.5 - h;
    int64_t oy0 = std::max<int64_t>(p.clip.top, int64_t(std::floor(cy - ory)));
    int64_t oy1 = std::min<int64_t>(p.clip.bottom, int64_t(std::ceil(cy + ory)) + 1);
    for (int64_t y = oy0; y < oy1; ++y) {
      int64_t ox0, ox1, ix0, ix1;
      if (!EllipseRow(cx, cy, orx, ory, y, ox0, ox1)) continue;
      if (EllipseRow(cx, cy, irx, iry, y, ix0, ix1)) {
        BrushSpan(dc, p, dc.brush, y, ix0, ix1 + 1);
        p.Span(y, ox0, ix0, ink.pen);
        p.Span(y, ix1 + 1, ox1 + 1, ink.pen);
      } else {
        p.Span(y, ox0, ox1 + 1, ink.pen);
      }
    }
    return;
  }

  bool styled = ink.visible && ink.style >= kPenDash && ink.style <= kPenDashDotDot;
  std::vector<TDevPoint> styledPixels;
  for (int64_t y = y0; y < y1; ++y) {
    int64_t x0, x1;
    if (!EllipseRow(cx, cy, rx, ry, y, x0, x1)) continue;
    if (!ink.visible) {
      BrushSpan(dc, p, dc.brush, y, x0, x1 + 1);
      continue;
    }
    // A pixel belongs to the outline when one of its four neighbours is outside.
    int64_t ia = x0 + 1, ib = x1 - 1, ux0, ux1, dx0, dx1;
    if (EllipseRow(cx, cy, rx, ry, y - 1, ux0, ux1) && EllipseRow(cx, cy, rx, ry, y + 1, dx0, dx1)) {
      ia = std::max({ia, ux0, dx0});
      ib = std::min({ib, ux1, dx1});
    } else {
      ia = x1 + 1;
      ib = x1;
    }
    std::pair<int64_t, int64_t> outline[2];
    int nOutline = 0;
    if (ia <= ib) {
      BrushSpan(dc, p, dc.brush, y, ia, ib + 1);
      outline[nOutline++] = {x0, ia};
      outline[nOutline++] = {ib + 1, x1 + 1};
    } else {
      outline[nOutline++] = {x0, x1 + 1};
    }
    for (int k = 0; k < nOutline; ++k) {
      if (!styled) {
        p.Span(y, outline[k].first, outline[k].second, ink.pen);
        continue;
      }
      int64_t xa = std::max(outline[k].first, p.clip.left), xb = std::min(outline[k].second, p.clip.right);
      for (int64_t x = xa; x < xb; ++x) styledPixels.push_back({x, y});
    }
  }
  if (styled) {
    // The pattern runs counter-clockwise from the rightmost point, in the
    // order of the pixels' angles around the centre.
    auto angle = [&](const TDevPoint& q) {
      double an = std::atan2(cy - double(q.y), double(q.x) - cx);
      return an < 0 ? an + 2 * std::numbers::pi : an;
    };
    std::vector<std::pair<double, TDevPoint>> order;
    order.reserve(styledPixels.size());
    for (const TDevPoint& q : styledPixels) order.emplace_back(angle(q), q);
    std::sort(order.begin(), order.end(), [](const auto& u, const auto& v) {
      if (u.first != v.first) return u.first < v.first;
      return u.second.y != v.second.y ? u.second.y < v.second.y : u.second.x < v.second.x;
    });
    for (size_t i = 0; i < order.size(); ++i) {
      if (PatternOn(ink.style, int64_t(i))) p.Plot(order[i].second.x, order[i].second.y, ink.pen);
      else if (ink.gapsInBk) p.Plot(order[i].second.x, order[i].second.y, ink.bk);
    }
  }
}

void DcFillRect(TDc& dc, const TRect& r, const TBrush& brush) {
  if (!DcHasTarget(dc)) return;
  TDevPoint a = ToDevice(dc, r.left, r.top), b = ToDevice(dc, r.right, r.bottom);
  TPainter p = DcPainter(dc, kRopCopy);
  for (int64_t y = std::max(a.y, p.clip.top); y < std::min(b.y, p.clip.bottom); ++y)
    BrushSpan(dc, p, brush, y, a.x, b.x);
}

void DcSetPixel(TDc& dc, int x, int y, TColorRef c) {
  if (!DcHasTarget(dc)) return;
  TDevPoint d = ToDevice(dc, x, y);
  DcPainter(dc, kRopCopy).Plot(d.x, d.y, DcPixelOf(dc, c));
}

TColorRef DcGetPixel(const TDc& dc, int x, int y) {
  if (!DcHasTarget(dc)) return 0xFFFFFFFFu;
  TDevPoint d = ToDevice(dc, x, y);
  if (d.x < 0 || d.y < 0 || d.x >= dc.target->width || d.y >= dc.target->height) return 0xFFFFFFFFu;
  return ColorRefFromPixel(dc.target->pixels[size_t(d.y) * size_t(dc.target->width) + size_t(d.x)]);
}

}  // namespace plat
