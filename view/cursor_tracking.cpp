// Cursor tracking, wheel zoom and edge scrolling.
#include "view/cursor_tracking.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "view/view_transform.h"

TPointRecord CursorPoint = {0, 0.0f, 0.0f};
uint8_t ButtonResult = 0;
uint8_t CursorKeyCode = 255;
uint8_t ExtendedKeyFlag = 0;
uint8_t CommandFromMenu = 0;
TInputHook* InputHook = nullptr;
void (*F9Procedure)() = nullptr;

int CoordinateBoxX() { return SidePanelLeft; }
int StatusRowTop() { return MenuBarHeight; }

namespace {
void UpdateCursorPointFromMouse(int16_t mx, int16_t my) {
  CursorPoint.type = 0;
  CursorPoint.x = float(WorldXMin + (double(mx) - DrawingArea.x1) / ViewScaleX);
  CursorPoint.y = float(WorldYMin + (double(DrawingArea.y2) - my) / ViewScaleY);
}

void SnapCursorPoint(int16_t& mx, int16_t& my) {
  if (!(TrackGridX > 0) || !(TrackGridY > 0)) return;
  CursorPoint.x = float(RoundNearest(CursorPoint.x / double(TrackGridX)) * double(TrackGridX));
  CursorPoint.y = float(RoundNearest(CursorPoint.y / double(TrackGridY)) * double(TrackGridY));
  WorldToScreen(CursorPoint.x, CursorPoint.y, mx, my);
}

// Puts the system pointer on the screen point, limited to the graphic window.
void MovePointerInside(int32_t sx, int32_t sy) {
  sx = std::clamp<int32_t>(sx, DrawingArea.x1, DrawingArea.x2);
  sy = std::clamp<int32_t>(sy, DrawingArea.y1, DrawingArea.y2);
  MoveMouseTo(sx, sy);
}

void MoveCursorTo(int16_t mx, int16_t my) {
  if (mx == CursorX && my == CursorY && CursorShown) return;
  if (CursorShown) EraseMouseCursor();
  CursorX = mx;
  CursorY = my;
  DrawMouseCursor(mx, my);
}

void ShowCoordinates(int16_t mx, int16_t my) {
  if (CursorMode == 4) return;
  const bool shown = CursorShown;
  if (!shown) DrawCoordinateBox(true);
  const plat::TColorRef grey = plat::Rgb(235, 235, 235);
  const int bx = CoordinateBoxX(), top = StatusRowTop();
  const TCoordinateReadout r = LayOutCoordinateReadout();
  if (mx != CursorX || !shown) {
    EraseMouseCursor();
    FillColorRect(bx + r.xValue, top + 1, bx + r.xValue + r.valueWidth - 1, top + 14, grey);
    SetPenColor(274);
    DrawTextInSetFont(bx + r.xValue, top + 4, FormatCursorCoordinate(CursorPoint.x));
  }
  if (my != CursorY || !shown) {
    EraseMouseCursor();
    FillColorRect(bx + r.yValue, top + 1, bx + r.yValue + r.valueWidth - 1, top + 14, grey);
    SetPenColor(274);
    DrawTextInSetFont(bx + r.yValue, top + 4, FormatCursorCoordinate(CursorPoint.y));
  }
  SetRopCopy();
}

// Redraw after a zoom or scroll; false when the zoom ends without moving the pointer.
bool RedrawAfterViewChange(bool scrolling) {
  if (VariantNumber == 21 || VariantNumber == 23 || VariantNumber == 24) {
    if (!CommandFromMenu) CloseRequested = true;
    return true;
  }
  if (scrolling) {
    if (ViewRedrawHook) ViewRedrawHook();
    return true;
  }
  if (VariantNumber == 99) {
    CloseRequested = true;
    return true;
  }
  switch (ViewKind) {
    case 0: case 2: case 3: case 5: case 7: case 8: case 14: case 23:
      if (ViewRedrawHook) ViewRedrawHook();
      return true;
    default: return ViewKind <= 23;
  }
}

void FitAroundCursor(double w, double h) {
  TExtentsPair e;
  e.minCorner = {1, float(CursorPoint.x - w), float(CursorPoint.y - h)};
  e.maxCorner = {5, float(CursorPoint.x + w), float(CursorPoint.y + h)};
  FitViewToExtent(e);
}

// The mouse position, the input hook, a close request and a cursor key: the
// start of every cursor poll.
void ReadMouseAndKey(int16_t& mx, int16_t& my) {
  PollMousePosition(mx, my);
  CallInputHook();
  if (CloseRequested) ButtonResult = 4;
  ExtendedKeyFlag = 0;
  if (PollKeyPressed()) HandleCursorKey(mx, my);
  else CursorKeyCode = 255;
}
}  // namespace

void PollGraphicCursor() {
  int16_t mx, my;
  ReadMouseAndKey(mx, my);
  HandleWheelZoom();
  UpdateCursorPointFromMouse(mx, my);
  if (GridSnapOn && CursorMode != 4 && mx < DrawingArea.x2 && my >= DrawingArea.y1) SnapCursorPoint(mx, my);
  if (MouseKeyFlags & 4) {
    const TExtentsPair& l = LayoutArea;
    if ((mx <= DrawingArea.x1 + 2 && l.minCorner.x < WorldXMax) ||
        (mx >= DrawingArea.x2 - 2 && l.maxCorner.x > WorldXMin) ||
        (my >= DrawingArea.y2 - 2 && l.minCorner.y < WorldYMax) || (my <= DrawingArea.y1 + 2 && l.maxCorner.y > WorldYMin))
      ScrollViewToCursor();
  }
  ShowCoordinates(mx, my);
  MoveCursorTo(mx, my);
}

void PollMouseCursor() {
  int16_t mx, my;
  ReadMouseAndKey(mx, my);
  UpdateCursorPointFromMouse(mx, my);
  if (GridSnapOn && (CursorMode & 127) != 4 && mx < CoordinateBoxX() && my <= MenuBarHeight) SnapCursorPoint(mx, my);
  MoveCursorTo(mx, my);
}

void HandleCursorKey(int16_t& x, int16_t& y) {
  uint8_t key = uint8_t(std::toupper(ReadNextKey()));
  CursorKeyCode = key;
  if (key == 0) {
    ExtendedKeyFlag = 1;
    // Scan codes are taken as they come: 120-122 are Alt+1..3, not letters.
    const uint8_t scan = ReadNextKey();
    uint8_t code = 255;
    switch (scan) {
      case 8: case 59: case 61: case 62: case 64: case 71: case 72: case 73: case 75: case 77:
      case 79: case 80: case 81: case 83: code = scan; break;
      case 60: ButtonResult = 1; break;
      case 63: ButtonResult = 8; break;
      case 65: ZoomAtCursor(true); break;
      case 66: ZoomAtCursor(false); break;
      case 67: CallF9Procedure(); break;
      default: {
        static const char kRow1[] = "QWERTYUIOP", kRow2[] = "ASDFGHJKL", kRow3[] = "ZXCVBNM";
        if (scan >= 16 && scan <= 25) code = uint8_t(kRow1[scan - 16] + 128);
        else if (scan >= 30 && scan <= 38) code = uint8_t(kRow2[scan - 30] + 128);
        else if (scan >= 44 && scan <= 50) code = uint8_t(kRow3[scan - 44] + 128);
        else if (scan >= 120 && scan <= 128) code = uint8_t(177 + scan - 120);
        else if (scan == 129) code = 176;
        break;
      }
    }
    CursorKeyCode = code;
  } else if (key == 2) {
    std::string date, time;
    FormatDate(date);
    FormatTimeOfDay(time);
    WriteJournalLine(0, "***MARKE*** " + date + time);
  } else if (key == 13 || key == 'J' || key == 'O' || key == 'Y') {
    ButtonResult = 2;
  } else if (key == 27 || key == 'N') {
    ButtonResult = 4;
    ErrorCode = 1;
  }
  const int16_t nx = std::clamp<int16_t>(x, -5, MaxX);
  const int16_t ny = std::clamp<int16_t>(y, -5, int16_t(DrawingArea.y2 + 5));
  if (nx != x || ny != y) {
    x = nx;
    y = ny;
    MoveMouseTo(x, y);
  }
}

void HandleWheelZoom() {
  if (WheelDelta == 0) return;
  ZoomAtCursor(WheelDelta > 0);
  WheelDelta = 0;
}

void ZoomAtCursor(bool zoomIn) {
  if (CommandSubMode == 2 || CommandSubMode == 4 || ViewKind == 6) return;
  double w = (double(WorldXMax) - WorldXMin) / 2, h = (double(WorldYMax) - WorldYMin) / 2;
  if (zoomIn) {
    w = std::max(w / 1.5, 0.001);
    h = std::max(h / 1.5, 0.001);
  } else {
    w *= 1.5;
    h *= 1.5;
  }
  FitAroundCursor(w, h);
  if (!RedrawAfterViewChange(false)) return;
  int32_t sx, sy;
  WorldToScreenLong(CursorPoint.x, CursorPoint.y, sx, sy);
  MovePointerInside(sx, sy + FitMargin / 2 + 1);
}

void ScrollViewToCursor() {
  const double w = (double(WorldXMax) - WorldXMin) / 2, h = (double(WorldYMax) - WorldYMin) / 2;
  EraseMouseCursor();
  FitAroundCursor(w, h);
  RedrawAfterViewChange(true);
  int32_t sx, sy;
  WorldToScreenLong(CursorPoint.x, CursorPoint.y, sx, sy);
  MovePointerInside(sx, sy);
  DelayMs(100);
}

void DrawCoordinateBox(bool labels) {
  const int x1 = CoordinateBoxX(), y1 = StatusRowTop(), x2 = MaxX, y2 = y1 + 16;
  FillColorRect(x1, y1, x2, y2, plat::Rgb(235, 235, 235));
  SetRopCopy();
  SetPenColor(261);
  MoveToScreenPoint(x1, y2);
  LineToScreenPoint(x1, y1);
  LineToScreenPoint(x2, y1);
  SetPenColor(274);
  MoveToScreenPoint(x1, y2 + 2);
  LineToScreenPoint(x2, y2 + 2);
  MoveToScreenPoint(x2, y1);
  LineToScreenPoint(x2, y2 + 2);
  if (labels) {
    const TCoordinateReadout r = LayOutCoordinateReadout();
    DrawTextInSetFont(x1 + r.xLabel, y1 + 4, "X");
    DrawTextInSetFont(x1 + r.yLabel, y1 + 4, "Y");
  }
}

TCoordinateReadout LayOutCoordinateReadout() {
  // The text font rather than the 8-pixel cell font: two ten-character
  // values and their labels must fit the 168 pixels beside the side menu.
  const int blank = MeasureTextWidth(" ");
  TCoordinateReadout r{};
  r.valueWidth = MeasureTextWidth(kWidestCoordinateText);
  r.xLabel = 4;
  r.xValue = r.xLabel + MeasureTextWidth("X") + blank;
  r.yLabel = r.xValue + r.valueWidth + blank;
  r.yValue = r.yLabel + MeasureTextWidth("Y") + blank;
  return r;
}

std::string FormatCursorCoordinate(double v) {
  if (!std::isfinite(v)) v = 0;
  const int32_t n = RoundNearest(v);
  const int decimals = n < 10 ? 5 : n < 100 ? 4 : n < 1000 ? 3 : 2;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%8.*f", decimals, v);
  return std::string(buf).substr(0, 10);
}

bool GetCursorOverMenu() {
  auto inside = [](const TLayoutRect& r) {
    return r.used && CursorX >= r.x1 + 10 && CursorX <= r.x2 && CursorY >= r.y1 && CursorY <= r.y2;
  };
  switch (MenuBarStyle) {
    case 1: return inside(SideMenuTextArea);
    case 2: return inside(SideMenuIconArea);
    case 3: return inside(SideMenuTextArea) || inside(SideMenuIconArea);
    default: return false;
  }
}

void TestCursorOverMenu(uint8_t& state) {
  if (!GetCursorOverMenu()) state = 0;
  else if (state == 0) state = 2;
}

void BuildCursorCircle() {
  const double r = CursorCircleRadiusPx;
  CursorCircle[0] = TCirclePoint{int32_t(r), 0};
  for (int k = 1; k < 40; ++k) {
    const double a = k * 0.15707964;
    CursorCircle[k] = TCirclePoint{RoundNearest(std::cos(a) * r), RoundNearest(std::sin(a) * r)};
  }
}

void CallInputHook() {
  if (InputHook == nullptr) return;
  if (InputHook->poll) InputHook->poll(*InputHook);
  if (InputHook->state > 1) ButtonResult = InputHook->state & 6;
}

void CallF9Procedure() {
  if (F9Procedure) F9Procedure();
}
