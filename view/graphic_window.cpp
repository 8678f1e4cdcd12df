// Graphic window background, rulers, layer colour bar, layout area and grid.
#include "view/graphic_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

uint8_t GridLinesOn = 0;

namespace {
constexpr plat::TColorRef kRulerBand = plat::Rgb(190, 210, 210);

void Line(int x1, int y1, int x2, int y2) {
  MoveToScreenPoint(x1, y1);
  LineToScreenPoint(x2, y2);
}

// Switch byte and margins of the layout details record.
uint8_t LayoutSwitches() { return reinterpret_cast<const uint8_t*>(&LayoutDetails)[0]; }
void SetLayoutSwitches(uint8_t v) { reinterpret_cast<uint8_t*>(&LayoutDetails)[0] = v; }
float LayoutMarginSetting(int i) {
  float v;
  std::memcpy(&v, reinterpret_cast<const uint8_t*>(&LayoutDetails) + 1 + 4 * i, 4);
  return std::isfinite(v) ? v : 0.0f;
}

// Rough steps for the rulers and grid lines: b millimetres for about 96 px.
void NiceStep(double s, double& step, int& decimals) {
  decimals = 0;
  if (!(s > 0) || !std::isfinite(s)) {
    step = 1;
    return;
  }
  double b = 96.0 / s;
  if (b > 10000) b = 120.0 / s;
  double c = b, a;
  if (b > 1) {
    while (c / 10 > 1) c /= 10;
    a = c / 5 > 1 ? c / 5 : (c / 2 > 1 ? c / 2 : c);
  } else {
    decimals = 1;
    while (c * 10 < 1 && decimals < 40) {
      c *= 10;
      ++decimals;
    }
    a = c * 5 < 1 ? c * 5 : (c * 2 < 1 ? c * 2 : c);
  }
  step = b / a;
}
}  // namespace

void GetRulerStep(double scale, double& step, int& decimals) { NiceStep(scale, step, decimals); }

double GetGridLineStep(double scale) {
  double step;
  int decimals;
  NiceStep(scale, step, decimals);
  return step;
}

std::string FormatRulerNumber(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%10.*f", std::clamp(decimals, 0, 20), v);
  std::string s = buf;
  if (decimals > 0) {
    while (s.size() >= 2 && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  const size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : s.substr(first);
}

// --- background ----------------------------------------------------------------------------

void ClearGraphicWindow() {
  EraseMouseCursor();
  const TLayoutRect& g = DrawingArea;
  FillColorRect(g.x1, g.y1, g.x2, g.y2, PaperColor == 274 ? plat::Rgb(0, 0, 0) : plat::Rgb(200, 200, 215));
  SetPenColor(8);
  SetRopCopy();
  Line(g.x2, g.y1, g.x2, g.y2);
  DrawRulersAndLayerBar();
}

void DrawRulersAndLayerBar() {
  if (DrawingArea.used && TopRuler.used && DrawingArea.x1 > 0) {
    DrawHorizontalRuler();
    DrawVerticalRuler();
  }
  if (LayerBar.used) {
    FillColorRect(LayerBar.x1, LayerBar.y1, LayerBar.x2, LayerBar.y2, GetColorRef(21));
    DrawLayerColourBar();
  }
}

void DrawHorizontalRuler() {
  const int left = DrawingArea.x1, top = DrawingArea.y1, right = DrawingArea.x2;
  FillColorRect(left - 14, top - 14, right, top, kRulerBand);
  SetRopCopy();
  SetPenColor(261);
  Line(left - 14, top - 14, right, top - 14);
  SetPenColor(274);
  Line(left - 14, top, right, top);
  double step;
  int d;
  GetRulerStep(ViewScaleX, step, d);
  if (!(step > 0)) return;
  SetTextAlignment(0, 2);
  double v = std::trunc(WorldXMin / step) * step;
  for (int guard = 0; v <= WorldXMax && guard < 4096; ++guard, v += step) {
    const int sx = RoundNearest((v - WorldXMin) * ViewScaleX) + left;
    if (sx > left) {
      SetPenColor(std::fabs(v) < step * 1e-9 ? 1 : 274);
      Line(sx, top, sx, top - 8);
      const std::string label = FormatRulerNumber(std::fabs(v), d);
      if (sx + 8 * int(label.size()) + 4 <= right) DrawTextSized(sx + 4, top - 10, label, 12, 6);
    }
    const double hv = v + step / 2;
    if (hv <= WorldXMax) {
      const int hx = RoundNearest((hv - WorldXMin) * ViewScaleX) + left;
      if (hx > left) {
        SetPenColor(274);
        Line(hx, top, hx, top - 4);
      }
    }
  }
}

void DrawVerticalRuler() {
  const int left = DrawingArea.x1, top = DrawingArea.y1, bottom = DrawingArea.y2;
  FillColorRect(left - 14, top - 13, left, bottom, kRulerBand);
  SetRopCopy();
  SetPenColor(261);
  Line(left - 14, top - 13, left - 14, bottom);
  SetPenColor(274);
  Line(left, top - 13, left, bottom);
  double step;
  int d;
  GetRulerStep(ViewScaleY, step, d);
  if (!(step > 0)) return;
  SetTextAlignment(0, 2);
  double v = std::trunc(WorldYMin / step) * step;
  for (int guard = 0; v <= WorldYMax && guard < 4096; ++guard, v += step) {
    const int sy = bottom - RoundNearest((v - WorldYMin) * ViewScaleY);
    if (sy < bottom) {
      SetPenColor(std::fabs(v) < step * 1e-9 ? 1 : 274);
      Line(left, sy, left - 8, sy);
      const std::string label = FormatRulerNumber(std::fabs(v), d);
      if (top < sy - 8 * int(label.size()) - 2) {
        int y = sy - 10;
        for (size_t i = label.size(); i-- > 0;) {
          DrawTextSized(left - 10, y, std::string(1, label[i]), 12, 6);
          y -= label[i] == '.' ? 4 : 9;
        }
      }
    }
    const double hv = v + step / 2;
    if (hv <= WorldYMax) {
      const int hy = bottom - RoundNearest((hv - WorldYMin) * ViewScaleY);
      if (hy < bottom) {
        SetPenColor(274);
        Line(left, hy, left - 4, hy);
      }
    }
  }
}

// --- layer colour bar -----------------------------------------------------------------------

void DrawBevelEdge(int x1, int y1, int x2, int y2) {
  SetPenRgb(plat::Rgb(107, 61, 4));
  MoveToScreenPoint(x1, y2);
  LineToScreenPoint(x2, y2);
  LineToScreenPoint(x2, y1);
}

void DrawLayerColourBox(int fill, int textColour, const std::string& text, int& y) {
  FillColorRect(0, y, 20, y + 20, GetColorRef(fill));
  SetPenColor(261);
  DrawFrameRect(0, y, 21, y + 21);
  DrawBevelEdge(1, y + 1, 19, y + 19);
  SetPenColor(textColour);
  DrawTextInSetFont(10, y + 6, text.substr(0, 2));
  y += 20;
}

void DrawLayerColourBar() {
  SetTextAlignment(1, 2);
  int y = LayerBar.y1;
  for (int n = 0; n <= HighestLayer && y + 20 < DrawingArea.y2; ++n) {
    const std::string text = std::to_string(n);
    if (LayerVisible[n]) DrawLayerColourBox(MapLayerToColorIndex(n), ContrastTextColor(n), text, y);
    else DrawLayerColourBox(15, 7, text, y);
  }
  SetTextAlignment(0, 2);
}

// --- layout area ----------------------------------------------------------------------------

TLayoutMargins GetLayoutMargins() {
  TLayoutMargins m;
  const double set[4] = {LayoutMarginSetting(0), LayoutMarginSetting(1), LayoutMarginSetting(2),
                         LayoutMarginSetting(3)};
  if (set[0] == 0 && set[1] == 0 && set[2] == 0 && set[3] == 0) return m;
  const double w = double(LayoutArea.maxCorner.x) - LayoutArea.minCorner.x;
  const double h = double(LayoutArea.maxCorner.y) - LayoutArea.minCorner.y;
  auto margin = [](double v, double size) { return v > 0 ? v * size / 100.0 : -v; };
  m.left = margin(set[0], w);
  m.bottom = margin(set[1], h);
  m.right = margin(set[2], w);
  m.top = margin(set[3], h);
  if (m.left + m.right > w && m.left + m.right > 0) {
    const double sum = m.left + m.right;
    m.left = m.left / sum * (w - 1);
    m.right = m.right / sum * (w - 1);
  }
  if (m.bottom + m.top > h && m.bottom + m.top > 0) {
    const double sum = m.bottom + m.top;
    m.bottom = m.bottom / sum * (h - 1);
    m.top = m.top / sum * (h - 1);
  }
  return m;
}

void FillLayoutArea() {
  int32_t x1, y1, x2, y2;
  WorldToScreenLong(LayoutArea.minCorner.x, LayoutArea.maxCorner.y, x1, y1);
  WorldToScreenLong(LayoutArea.maxCorner.x, LayoutArea.minCorner.y, x2, y2);
  x1 = std::max<int32_t>(x1, DrawingArea.x1 + 1);
  y1 = std::max<int32_t>(y1, DrawingArea.y1 + 1);
  x2 = std::min<int32_t>(x2, DrawingArea.x2 - 1);
  y2 = std::min<int32_t>(y2, DrawingArea.y2 - 1);
  if (x1 > x2 || y1 > y2) return;
  FillColorRect(x1, y1, x2, y2, GetColorRef(PaperColor == 257 ? 261 : PaperColor));
  DrawGridLines(x1, y1, x2, y2);
}

void DrawLayoutFrame(bool details) {
  SetDrawColorAndMode(plat::kRopCopy, 4);
  DrawExtentFrame(LayoutArea);
  if (details) {
    const TLayoutMargins m = GetLayoutMargins();
    if (LayoutSwitches() > 7) SetLayoutSwitches(7);
    const uint8_t sw = LayoutSwitches();
    const float x1 = LayoutArea.minCorner.x, y1 = LayoutArea.minCorner.y;
    const float x2 = LayoutArea.maxCorner.x, y2 = LayoutArea.maxCorner.y;
    if (sw & 1) {
      SetPenStyle(4, 0x7070, 1);
      TExtentsPair inner = LayoutArea;
      inner.minCorner.x = float(x1 + m.left);
      inner.minCorner.y = float(y1 + m.bottom);
      inner.maxCorner.x = float(x2 - m.right);
      inner.maxCorner.y = float(y2 - m.top);
      DrawExtentFrame(inner);
    }
    if (sw & 2) {
      SetPenStyle(4, 0xF18F, 1);
      const float cy = (y1 + y2) / 2, cx = (x1 + x2) / 2;
      MoveToWorldPoint(x1, cy);
      LineToWorldPoint(x2, cy);
      MoveToWorldPoint(cx, y1);
      LineToWorldPoint(cx, y2);
    }
    SetPenStyle(0, 0xFFFF, 1);
    if (sw & 4) {
      int32_t sx, sy;
      WorldToScreenLong(0, 0, sx, sy);
      if (sx >= DrawingArea.x1 && sx <= DrawingArea.x2 && sy >= DrawingArea.y1 && sy <= DrawingArea.y2)
        DrawFlagMarker(sx, sy, 14);
      SetPenColor(4);
    }
  }
  if ((DisplayFlags & 64) && (CommandSubMode == 0 || CommandSubMode == 3)) DrawFrameFile();
}

void DrawLayoutArea(bool fill) {
  if (fill) FillLayoutArea();
  DrawLayoutFrame(fill);
}

void DrawFrameFile() {
  if (!TestPlainFileExists(kFrameFileName)) return;
  TFileRec f;
  AssignFileChecked(f, kFrameFileName);
  if (f.state == plat::kFileUnassigned) return;
  ResetFileChecked(f, kVectorRecordSize, 0);
  if (f.state < plat::kFileInput) return;
  std::vector<TVectorRecord> block(5001);
  std::vector<TVectorRecord> contour;
  bool collecting = false;
  auto flush = [&]() {
    if (contour.size() >= 2) DrawDashedPolyline(contour.data(), int(contour.size()));
    contour.clear();
  };
  MoveToWorldPoint(0, 0);
  for (;;) {
    const int32_t n = ReadBlockLongChecked(f, block.data(), 5000);
    for (int32_t i = 0; i < n; ++i) {
      const TVectorRecord& r = block[size_t(i)];
      if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
        LineOrDotToWorldPoint(r.x, r.y);
        if (collecting && contour.size() < 4999) contour.push_back(r);
      } else if (r.type == kRecContourStart || r.type == kRecAltContourStart) {
        flush();
        collecting = true;
        contour.push_back(r);
        MoveToWorldPoint(r.x, r.y);
      }
    }
    if (n < 5000) break;
  }
  CloseFileChecked(f);
  flush();
}

// --- grid -----------------------------------------------------------------------------------

void DrawGridPoints() {
  const double gx = TrackGridX, gy = TrackGridY;
  if (!(gx > 0.00011 && gy > 0.00011 && gx * ViewScaleX > 4 && gy * ViewScaleY > 4)) {
    GridSnapOn = 0;
    return;
  }
  GridSnapOn = 1;
  const int left = DrawingArea.x1, right = DrawingArea.x2, top = DrawingArea.y1, bottom = DrawingArea.y2;
  std::vector<int> columns;
  double x = RoundNearest(WorldXMin / gx) * gx;
  for (int i = 0; i < 4096 && columns.size() < 1024; ++i) {
    // 64 bits: a huge grid step from a damaged settings file maps far off screen.
    const int64_t sx = left + int64_t(RoundNearest((x - WorldXMin) * ViewScaleX));
    if (sx > left) {
      if (sx >= right) break;
      columns.push_back(int(sx));
    }
    x = RoundNearest((x + gx) / gx) * gx;
  }
  double y = RoundNearest(WorldYMin / gy) * gy;
  for (int i = 0; i < 4096; ++i) {
    const int64_t sy = bottom - int64_t(RoundNearest((y - WorldYMin) * ViewScaleY));
    if (sy <= top) break;
    if (sy <= bottom)
      for (int sx : columns) DrawGrayPixel(sx, int(sy), 8);
    y = RoundNearest((y + gy) / gy) * gy;
  }
}

void DrawGridLines(int left, int top, int right, int bottom) {
  if (!GridLinesOn) return;
  SetDrawColorAndMode(plat::kRopCopy, 7);
  SetPenStyle(4, 0x3333, 1);
  const double sx = GetGridLineStep(ViewScaleX), sy = GetGridLineStep(ViewScaleY);
  if (sx > 0) {
    const double start = std::trunc(WorldXMin / sx) * sx;
    for (int k = 0; k < 4096; ++k) {
      const double v = start + k * sx;
      if (v > LayoutArea.maxCorner.x) break;
      const int px = RoundNearest((v - WorldXMin) * ViewScaleX) + DrawingArea.x1;
      if (px > left && px < right) Line(px, top, px, bottom);
    }
  }
  if (sy > 0) {
    const double start = std::trunc(WorldYMin / sy) * sy;
    for (int k = 0; k < 4096; ++k) {
      const double v = start + k * sy;
      if (v > LayoutArea.maxCorner.y) break;
      const int py = DrawingArea.y2 - RoundNearest((v - WorldYMin) * ViewScaleY);
      if (py > top && py < bottom) Line(left, py, right, py);
    }
  }
  SetPenStyle(0, 0xFFFF, 1);
}
