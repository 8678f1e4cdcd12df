// World-to-screen transform, clipping pen and drawing of vector records.
//
// Sections:
//   transform
//   dashed contours
//   single records
//   whole files
//   markers
//   colours
//   fitting
#include "view/view_transform.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/graphic_window.h"

float ViewScaleX = 1.0f;
float ViewScaleY = 1.0f;
float WorldXMin = 0.0f;
float WorldYMin = 0.0f;
float WorldXMax = 1.0f;
float WorldYMax = 1.0f;
float WorldPenX = 0.0f;
float WorldPenY = 0.0f;
uint8_t PenPendingMove = 1;
uint8_t LastPenOperation = kPenOpMove;
int16_t DashPointCount = 0;
uint8_t DashedContour = 0;
uint16_t CursorCircleRadiusPx = 0;
uint8_t FitMargin = 10;

namespace {
std::vector<TVectorRecord> dashBuffer;  // reserved for kDashBufferRecords while a contour is dashed

int16_t Limit16(int32_t v, int32_t limit) { return int16_t(std::clamp(v, -limit, limit)); }

void StartDashBuffer() {
  dashBuffer.clear();
  dashBuffer.reserve(kDashBufferRecords);
}

void AppendDashPoint(const TVectorRecord& r) {
  if (dashBuffer.size() >= size_t(kDashBufferRecords)) return;
  dashBuffer.push_back(r);
  DashPointCount = int16_t(dashBuffer.size());
}

void ResetScreenClip() { SetClipWindow(0, 0, MaxX + 1, MaxY + 1); }

// Clip rectangle of the graphic window (the origin moves to its corner).
void ClipToGraphicWindow() { SetClipWindow(DrawingArea.x1, DrawingArea.y1, DrawingArea.x2 + 1, DrawingArea.y2 + 1); }

void DotMarkerAfterMove(float x, float y) {
  if (LastPenOperation == kPenOpMove && x == WorldPenX && y == WorldPenY)
    DrawPointMarker(PointDisplayOn < 2 ? 11 : 7, x, y);
}
}  // namespace

int32_t RoundNearest(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return int32_t(std::nearbyint(v));
}

// --- transform -----------------------------------------------------------------------------

void WorldToScreenLong(float x, float y, int32_t& sx, int32_t& sy) {
  const int64_t px = int64_t(RoundNearest((double(x) - WorldXMin) * ViewScaleX)) + DrawingArea.x1;
  const int64_t py = int64_t(DrawingArea.y2) - RoundNearest((double(y) - WorldYMin) * ViewScaleY);
  sx = int32_t(std::clamp<int64_t>(px, -32000, 32000));
  sy = int32_t(std::clamp<int64_t>(py, -32000, 32000));
}

void WorldToScreen(float x, float y, int16_t& sx, int16_t& sy) {
  int32_t lx, ly;
  WorldToScreenLong(x, y, lx, ly);
  sx = int16_t(lx);
  sy = int16_t(ly);
}

uint8_t ComputeOutCode(double x, double y) {
  uint8_t code = 0;
  if (x < WorldXMin) code |= 1;
  else if (x > WorldXMax) code |= 2;
  if (y < WorldYMin) code |= 4;
  else if (y > WorldYMax) code |= 8;
  return code;
}

bool ClipSegmentToView(double& x1, double& y1, double& x2, double& y2) {
  uint8_t c1 = ComputeOutCode(x1, y1);
  uint8_t c2 = ComputeOutCode(x2, y2);
  if (c1 != 0) PenPendingMove = 1;
  // Each pass puts one end onto a boundary, so four passes per end suffice.
  for (int pass = 0; pass < 8 && (c1 | c2) != 0; ++pass) {
    if (c1 & c2) return false;
    const bool first = c1 != 0;
    const uint8_t code = first ? c1 : c2;
    double x = 0, y = 0;
    if (code & 1) {
      x = WorldXMin;
      y = y1 + (y2 - y1) * (x - x1) / (x2 - x1);
    } else if (code & 2) {
      x = WorldXMax;
      y = y1 + (y2 - y1) * (x - x1) / (x2 - x1);
    } else if (code & 4) {
      y = WorldYMin;
      x = x1 + (x2 - x1) * (y - y1) / (y2 - y1);
    } else {
      y = WorldYMax;
      x = x1 + (x2 - x1) * (y - y1) / (y2 - y1);
    }
    if (first) {
      x1 = x, y1 = y;
      c1 = ComputeOutCode(x1, y1);
    } else {
      x2 = x, y2 = y;
      c2 = ComputeOutCode(x2, y2);
    }
  }
  return (c1 | c2) == 0;
}

void MoveToWorldPoint(float x, float y) {
  WorldPenX = x;
  WorldPenY = y;
  PenPendingMove = 1;
  LastPenOperation = kPenOpMove;
}

void LineToWorldPoint(float x, float y) {
  double x1 = WorldPenX, y1 = WorldPenY, x2 = x, y2 = y;
  WorldPenX = x;
  WorldPenY = y;
  LastPenOperation = kPenOpLine;
  if (!ClipSegmentToView(x1, y1, x2, y2)) return;
  int32_t sx, sy;
  if (PenPendingMove) {
    WorldToScreenLong(float(x1), float(y1), sx, sy);
    MoveToScreenPoint(sx, sy);
    PenPendingMove = 0;
  }
  WorldToScreenLong(float(x2), float(y2), sx, sy);
  LineToScreenPoint(sx, sy);
}

void LineOrDotToWorldPoint(float x, float y) {
  if (LastPenOperation == kPenOpMove && x == WorldPenX && y == WorldPenY) {
    if (PointDisplayOn) DrawPointMarker(DashPointCount > 0 ? 10 : 7, x, y);
    MoveToWorldPoint(x, y);
    LastPenOperation = kPenOpLine;
    return;
  }
  LineToWorldPoint(x, y);
}

// --- dashed contours -------------------------------------------------------------------------

void DrawDashedPolyline(const TVectorRecord* points, int n) {
  if (n < 2 || points == nullptr) return;
  const double h = double(DrawingArea.y2) - DrawingArea.y1;
  std::vector<plat::TPoint> pts(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double px = (double(points[i].x) - WorldXMin) * ViewScaleX;
    const double py = h - (double(points[i].y) - WorldYMin) * ViewScaleY;
    pts[size_t(i)].x = Limit16(RoundNearest(px), 32767);
    pts[size_t(i)].y = Limit16(RoundNearest(py), 32767);
  }
  const int16_t colour = GetCurrentColorIndex();
  ClipToGraphicWindow();
  if (colour != PaperColor) {
    SetPenStyle(4, 0x3333, 1);
    SetPenColorOnly(PaperColor);
    DrawPolyline(n, pts.data());
  }
  SetPenStyle(0, 0xFFFF, 1);
  SetPenColorOnly(colour);
  ResetScreenClip();
}

void FlushDashedContour() {
  if (dashBuffer.size() >= 2) DrawDashedPolyline(dashBuffer.data(), int(dashBuffer.size()));
  FreeDashedContour();
}

void FreeDashedContour() {
  dashBuffer.clear();
  dashBuffer.shrink_to_fit();
  DashPointCount = 0;
}

// --- single records --------------------------------------------------------------------------

void DrawVectorRecord(const TVectorRecord& r) {
  switch (r.type) {
    case kRecContourStart:
      FlushDashedContour();
      MoveToWorldPoint(r.x, r.y);
      if (r.z >= 0) {
        DashedContour = 0;
      } else {
        StartDashBuffer();
        AppendDashPoint(r);
        DashedContour = 1;
      }
      break;
    case kRecLinePoint: {
      const int32_t z = RoundNearest(r.z);
      if (z == -10000 || z == -10001) {
        if (dashBuffer.size() > 1) {
          DrawDashedPolyline(dashBuffer.data(), int(dashBuffer.size()));
          StartDashBuffer();
          AppendDashPoint(r);
        }
        MoveToWorldPoint(r.x, r.y);
        break;
      }
      LineOrDotToWorldPoint(r.x, r.y);
      if (DashPointCount > 0) {
        if (DashPointCount > 7999) {
          FlushDashedContour();
          StartDashBuffer();
        }
        AppendDashPoint(r);
      }
      break;
    }
    case kRec3DPoint:
      if (LastPenOperation == kPenOpMove) DrawPointMarker(11, r.x, r.y);
      LastPenOperation = kPenOp3DPoint;
      LineToWorldPoint(r.x, r.y);
      break;
    case kRecArc:
    case kRecAltContourStart:
      FlushDashedContour();
      MoveToWorldPoint(r.x, r.y);
      DashedContour = 0;
      break;
    default: break;
  }
}

void DrawVectorRecordPlain(const TVectorRecord& r) {
  switch (r.type) {
    case kRecLinePoint:
    case kRec3DPoint: LineToWorldPoint(r.x, r.y); break;
    case kRecContourStart:
    case kRecAltContourStart:
      MoveToWorldPoint(r.x, r.y);
      FreeDashedContour();
      break;
    default: break;
  }
}

// --- whole files ---------------------------------------------------------------------------------

namespace {
bool IsBreakPoint(const TVectorRecord& r) {
  if (r.type != kRecLinePoint) return false;
  const int32_t z = RoundNearest(r.z);
  return z == -10000 || z == -10001;
}

bool EscStopAsked() {
  if (!PollKeyPressed() || KeyCount <= 0 || KeyBuffer[0] != 27) return false;
  ReadNextKey();
  PlayDingOrBeep();
  return AskExitDrawing();
}

int16_t LayerRecordColour(const TVectorRecord& r) {
  int32_t n = RoundNearest(r.x);
  n = std::min<int32_t>(n, HighestLayer);
  return MapLayerToColorIndex(n);
}

bool LayoutFitsFastLimit() {
  const double s = ViewScaleX;
  const double h = double(DrawingArea.y2) - DrawingArea.y1;
  const double lim = FastDrawLimit;
  return std::fabs((double(LayoutArea.minCorner.x) - WorldXMin) * s) < lim &&
         std::fabs((double(LayoutArea.maxCorner.x) - WorldXMin) * s) < lim &&
         std::fabs(h - (double(LayoutArea.minCorner.y) - WorldYMin) * s) < lim &&
         std::fabs(h - (double(LayoutArea.maxCorner.y) - WorldYMin) * s) < lim;
}

// Reads the file in blocks and hands each block to fn; fn returns false to
// stop. Between blocks an Esc may stop the drawing.
template <typename TFn>
bool ForEachDrawBlock(const std::string& name, TFn fn) {
  TFileRec f;
  AssignFileChecked(f, name);
  if (f.state == plat::kFileUnassigned) return false;
  ResetFileChecked(f, kVectorRecordSize, 0);
  if (f.state < plat::kFileInput) return false;
  std::vector<TVectorRecord> block(size_t(kDrawBlockRecords) + 1);
  bool stopped = false;
  for (;;) {
    const int32_t n = ReadBlockLongChecked(f, block.data(), kDrawBlockRecords);
    fn(block.data(), n);
    if (EscStopAsked()) {
      stopped = true;
      break;
    }
    if (n <= kDrawBlockRecords - 1) break;
  }
  CloseFileChecked(f);
  return stopped;
}

struct TFastPolyline {
  std::vector<plat::TPoint> pts;
  bool dashed = false;
};

void FlushFastPolyline(TFastPolyline& line) {
  if (line.pts.size() > 1) {
    ClipToGraphicWindow();
    DrawPolyline(int(line.pts.size()), line.pts.data());
    const int16_t colour = GetCurrentColorIndex();
    if (line.dashed && colour != PaperColor) {
      SetPenStyle(4, 0x3333, 1);
      SetPenColorOnly(PaperColor);
      DrawPolyline(int(line.pts.size()), line.pts.data());
      SetPenStyle(0, 0xFFFF, 1);
      SetPenColorOnly(colour);
    }
    ResetScreenClip();
  }
  line.pts.clear();
}

plat::TPoint FastPoint(const TVectorRecord& r) {
  const double h = double(DrawingArea.y2) - DrawingArea.y1;
  return plat::TPoint{RoundNearest(double(ViewScaleX) * (double(r.x) - WorldXMin)),
                      RoundNearest(h - (double(r.y) - WorldYMin) * ViewScaleY)};
}

bool DrawVectorFileFast(const std::string& name, uint8_t flags) {
  TFastPolyline line;
  line.pts.reserve(kFastPolylinePoints);
  auto startAt = [&](const TVectorRecord& r) {
    FlushFastPolyline(line);
    line.pts.push_back(FastPoint(r));
    WorldPenX = r.x;
    WorldPenY = r.y;
    LastPenOperation = kPenOpMove;
  };
  const bool stopped = ForEachDrawBlock(name, [&](const TVectorRecord* recs, int32_t n) {
    for (int32_t i = 0; i < n; ++i) {
      const TVectorRecord& r = recs[i];
      switch (r.type) {
        case kRecContourStart:
          startAt(r);
          line.dashed = r.z < 0;
          break;
        case kRecAltContourStart:
          startAt(r);
          line.dashed = false;
          break;
        case kRecLinePoint:
        case kRec3DPoint:
          if (IsBreakPoint(r)) {
            startAt(r);
            break;
          }
          DotMarkerAfterMove(r.x, r.y);
          line.pts.push_back(FastPoint(r));
          WorldPenX = r.x;
          WorldPenY = r.y;
          LastPenOperation = r.type == kRecLinePoint ? kPenOpLine : kPenOp3DPoint;
          if (line.pts.size() >= size_t(kFastPolylinePoints)) {
            const plat::TPoint last = line.pts.back();
            FlushFastPolyline(line);
            line.pts.push_back(last);
          }
          break;
        case kRecLayer:
          if ((flags & kDrawIgnoreLayers) || r.x < 0 || r.x > 50) break;
          FlushFastPolyline(line);
          SetPenColor(LayerRecordColour(r));
          break;
        case kRecToolColour:
          if (flags & kDrawIgnoreColours) break;
          FlushFastPolyline(line);
          SetPenColor(GetRecordColorIndex(r));
          break;
        default: break;
      }
    }
  });
  FlushFastPolyline(line);
  return stopped;
}
}  // namespace

void DrawVectorFile(const std::string& name, int mode, int colour, uint8_t flags) {
  FreeDashedContour();
  DashedContour = 0;
  if (name.empty() || name == ProgramFolderName) return;
  SetDrawColorAndMode(mode, colour);
  SetFillBrush(8, colour);
  int16_t currentColour = int16_t(colour);
  bool stopped = false;
  if ((flags & ~(kDrawIgnoreColours | kDrawIgnoreLayers)) == 0 && LayoutFitsFastLimit()) {
    stopped = DrawVectorFileFast(name, flags);
  } else {
    MoveToWorldPoint(0, 0);
    bool firstContour = true;
    stopped = ForEachDrawBlock(name, [&](const TVectorRecord* recs, int32_t n) {
      for (int32_t i = 0; i < n; ++i) {
        const TVectorRecord& r = recs[i];
        const bool isBreak = IsBreakPoint(r);
        if (r.type == kRecLinePoint && !isBreak) {
          if (flags & kDrawDotBeforeLine) DrawPointMarker(11, WorldPenX, WorldPenY);
          LineOrDotToWorldPoint(r.x, r.y);
          if (DashPointCount > 0 && DashPointCount < 8000) AppendDashPoint(r);
        } else if (r.type == kRecContourStart || r.type == kRecAltContourStart || isBreak) {
          if (!(flags & kDrawTravelMoves)) {
            DrawVectorRecord(r);
          } else if (firstContour) {
            MoveToWorldPoint(r.x, r.y);
          } else {
            SetPenColor(7);
            LineToWorldPoint(r.x, r.y);
            SetPenColor(currentColour);
            LastPenOperation = kPenOpMove;
          }
          firstContour = false;
        } else if (r.type == kRec3DPoint) {
          DotMarkerAfterMove(r.x, r.y);
          LineToWorldPoint(r.x, r.y);
        } else if (r.type == kRecLayer) {
          if ((flags & kDrawIgnoreLayers) || r.x < 0 || r.x > 50) continue;
          currentColour = LayerRecordColour(r);
          SetPenColor(currentColour);
        } else if (r.type == kRecToolColour) {
          if (flags & kDrawIgnoreColours) continue;
          currentColour = GetRecordColorIndex(r);
          SetPenColor(currentColour);
        }
      }
    });
  }
  FlushDashedContour();
  if (stopped && ErrorCode < 1) ErrorCode = 1;
}

bool AskExitDrawing() { return RunMessageBox(GetProgramTitle(), "Exit J/N?", 0x1004) == 1; }

// --- markers ---------------------------------------------------------------------------------

namespace {
void ScreenLine(int x1, int y1, int x2, int y2) {
  MoveToScreenPoint(x1, y1);
  LineToScreenPoint(x2, y2);
}

void SquareOutline(int sx, int sy, int s) {
  MoveToScreenPoint(sx - s, sy - s);
  LineToScreenPoint(sx + s, sy - s);
  LineToScreenPoint(sx + s, sy + s);
  LineToScreenPoint(sx - s, sy + s);
  LineToScreenPoint(sx - s, sy - s);
}

void FilledRows(int sx, int sy, int s) {
  for (int y = sy - s; y <= sy + s; ++y) {
    if (y < -32768 || y > 32767) continue;
    FillColorRect(sx - s, y, sx + s, y, CurrentPen.color);
  }
}

void Octagon(int sx, int sy, int a, int b) {
  const int px[9] = {sx + a, sx + b, sx - b, sx - a, sx - a, sx - b, sx + b, sx + a, sx + a};
  const int py[9] = {sy - b, sy - a, sy - a, sy - b, sy + b, sy + a, sy + a, sy + b, sy - b};
  MoveToScreenPoint(px[0], py[0]);
  for (int i = 1; i < 9; ++i) LineToScreenPoint(px[i], py[i]);
}

void FlagAt(int sx, int sy, plat::TColorRef colour) {
  ScreenLine(sx - 10, sy, sx + 11, sy);
  ScreenLine(sx, sy - 10, sx, sy + 11);
  if (sy + 6 > 32767 || sx + 7 > 32767) return;
  for (int k = 1; k <= 6; ++k) FillColorRect(sx + 1, sy + k, sx + 7 - k, sy + k, colour);
}

bool InsideGraphicWindow(int sx, int sy) {
  return sx >= DrawingArea.x1 && sx <= DrawingArea.x2 && sy >= DrawingArea.y1 && sy <= DrawingArea.y2;
}
}  // namespace

void DrawPointMarker(int kind, float x, float y) {
  int32_t sx, sy;
  WorldToScreenLong(x, y, sx, sy);
  if (!InsideGraphicWindow(sx, sy)) return;
  switch (kind) {
    case 0: SquareOutline(sx, sy, 2); break;
    case 1:
      SquareOutline(sx, sy, 2);
      SquareOutline(sx, sy, 3);
      break;
    case 2:
      ScreenLine(sx - 2, sy, sx + 3, sy);
      ScreenLine(sx, sy - 2, sx, sy + 3);
      break;
    case 3: FlagAt(sx, sy, CurrentPen.color); break;
    case 4:
      MoveToScreenPoint(sx, sy - 3);
      LineToScreenPoint(sx + 3, sy + 2);
      LineToScreenPoint(sx - 3, sy + 2);
      LineToScreenPoint(sx, sy - 3);
      break;
    case 5: DrawGrayPixel(sx, sy, 9); break;
    case 6:
      ScreenLine(sx - 3, sy - 3, sx + 4, sy + 4);
      ScreenLine(sx - 3, sy + 3, sx + 4, sy - 4);
      break;
    case 7:
      Octagon(sx, sy, 3, 1);
      ScreenLine(sx - 3, sy, sx + 4, sy);
      ScreenLine(sx, sy - 3, sx, sy + 4);
      break;
    case 8:
      ScreenLine(sx - 3, sy, sx + 4, sy);
      ScreenLine(sx, sy - 3, sx, sy + 4);
      ScreenLine(sx - 3, sy - 3, sx + 4, sy + 4);
      ScreenLine(sx - 3, sy + 3, sx + 4, sy - 4);
      break;
    case 9: FilledRows(sx, sy, 3); break;
    case 10:
      Octagon(sx, sy, 3, 1);
      ScreenLine(sx - 3, sy, sx + 4, sy);
      ScreenLine(sx, sy - 3, sx, sy + 4);
      Octagon(sx, sy, 5, 2);
      break;
    case 11: FillColorRect(sx, sy, sx, sy, CurrentPen.color); break;
    case 12: FilledRows(sx, sy, 4); break;
    case 13: SquareOutline(sx, sy, 3); break;
    case 14: SquareOutline(sx, sy, 1); break;
    default: break;
  }
}

void DrawSquareMark(int s, float x, float y) {
  int32_t sx, sy;
  WorldToScreenLong(x, y, sx, sy);
  if (sx < -32766) return;
  SquareOutline(sx, sy, s);
  if (s >= 1) SquareOutline(sx, sy, s - 1);
}

void DrawSquareMarkAtRecord(const TVectorRecord& record, int s) { DrawSquareMark(s, record.x, record.y); }

void DrawFlagMarker(int sx, int sy, int colour) {
  SetDrawColorAndMode(plat::kRopCopy, colour);
  FlagAt(sx, sy, GetColorRef(colour));
}

void DrawContourEndMark(const TVectorRecord& r) {
  if (!(r.x > WorldXMin && r.x < WorldXMax && r.y > WorldYMin && r.y < WorldYMax)) return;
  int32_t sx, sy;
  WorldToScreenLong(r.x, r.y, sx, sy);
  if (r.type == kRecContourStart || r.type == kRecAltContourStart) {
    SetPenColor(2);
    SquareOutline(sx, sy, 3);
  } else {
    SetPenColor(4);
    MoveToScreenPoint(sx, sy - 3);
    LineToScreenPoint(sx + 3, sy + 2);
    LineToScreenPoint(sx - 3, sy + 2);
    LineToScreenPoint(sx, sy - 3);
  }
}

void DrawDirectionArrow(const TVectorRecord& a, const TVectorRecord& b) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double d = std::hypot(dx, dy);
  if (d == 0) return;
  const double t = (double(WorldYMax) - WorldYMin) / 180.0;
  const double ux = dx / d, uy = dy / d;
  const double bx = b.x - 2 * t * ux, by = b.y - 2 * t * uy;
  MoveToWorldPoint(float(bx - t * uy), float(by + t * ux));
  LineToWorldPoint(b.x, b.y);
  LineToWorldPoint(float(bx + t * uy), float(by - t * ux));
  MoveToWorldPoint(b.x, b.y);
}

void DrawWorldLabel(const std::string& text, int colour, int placement, float x, float y) {
  int32_t sx, sy;
  WorldToScreenLong(x, y, sx, sy);
  if (sx < -32766) return;
  sy -= placement == 1 ? 2 : 14;
  if (sx >= DrawingArea.x2 || sy >= DrawingArea.y2) return;
  const int w = MeasureTextWidth(text);
  sx = sx + w > DrawingArea.x2 ? sx - w - 4 : sx + 4;
  sy = sy + 10 > DrawingArea.y2 ? sy - 12 : sy + 4;
  if (sx + w < DrawingArea.x1 || sy < DrawingArea.y1) return;
  FillColorRect(sx - 1, sy - 1, sx + w, sy + 9, GetColorRef(261));
  SetPenColor(colour);
  DrawTextInSetFont(sx, sy, text);
}

void DrawWorldLabelAbove(const std::string& text, int colour, float x, float y) {
  DrawWorldLabel(text, colour, 1, x, y);
}

void DrawExtentFrame(const TExtentsPair& e) {
  MoveToWorldPoint(e.minCorner.x, e.minCorner.y);
  LineToWorldPoint(e.maxCorner.x, e.minCorner.y);
  LineToWorldPoint(e.maxCorner.x, e.maxCorner.y);
  LineToWorldPoint(e.minCorner.x, e.maxCorner.y);
  LineToWorldPoint(e.minCorner.x, e.minCorner.y);
}

// --- colours -----------------------------------------------------------------------------------

int16_t RgbToColorIndex(uint32_t rgb) {
  switch (rgb) {
    case 0: return 0;
    case 0x800000: return 1;
    case 0x8000: return 2;
    case 0x808000: return 3;
    case 0x800080: return 5;
    case 0x80: return 6;
    case 0xC0C0C0: return 7;
    case 0x808080: return 8;
    case 0xFF0000: return 9;
    case 0xFF00: return 10;
    case 0xFFFF00: return 11;
    case 0xFF: return 12;
    case 0xFF00FF: return 13;
    case 0xFFFF: return 14;
    default: return 15;
  }
}

int16_t GetRecordColorIndex(const TVectorRecord& record) {
  if (record.type != kRecToolColour) return 0;
  return RgbToColorIndex(uint32_t(GetRecordZInt(record)));
}

// --- fitting ----------------------------------------------------------------------------------

void FitViewToExtent(const TExtentsPair& extent) {
  const double w = double(DrawingArea.x2) - DrawingArea.x1;
  const double h = double(DrawingArea.y2) - DrawingArea.y1;
  if (w < 10 || h < 10) {
    ViewScaleX = ViewScaleY = 1;
    WorldXMin = WorldYMin = 0;
    WorldXMax = WorldYMax = 1;
  } else {
    const double a = (double(extent.maxCorner.x) - extent.minCorner.x) * h / w;
    const double b = double(extent.maxCorner.y) - extent.minCorner.y;
    const double m = std::max(a, b);
    if (!(m > 0.001) || !std::isfinite(m)) {
      ViewScaleX = ViewScaleY = 1;
      WorldXMin = WorldYMin = 0;
      WorldXMax = 40;
      WorldYMax = 30;
    } else {
      const double scale = (h - FitMargin) / m;
      ViewScaleX = ViewScaleY = float(scale);
      const double half = double(FitMargin / 2) / scale;
      WorldXMin = float(extent.minCorner.x - half);
      WorldYMin = float(extent.minCorner.y - half);
      WorldXMax = float(w / scale + WorldXMin);
      WorldYMax = float(h / scale + WorldYMin);
      CurrentViewExtent = extent;
    }
  }
  WorldPenX = WorldPenY = 0;
  PenPendingMove = 1;
  CursorCircleRadiusPx = uint16_t(std::clamp<int32_t>(RoundNearest(double(CursorCircleRadius) * ViewScaleX), 0, 65535));
  BuildCursorCircle();
  ClearGraphicWindow();
}
