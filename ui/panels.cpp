#include "ui/panels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

void Line(int x1, int y1, int x2, int y2) { DrawScreenLine(x1, y1, x2, y2); }

void PolyTo(std::initializer_list<plat::TPoint> points) {
  auto it = points.begin();
  MoveToScreenPoint(it->x, it->y);
  for (++it; it != points.end(); ++it) LineToScreenPoint(it->x, it->y);
}

// Rounds a colour part as Pascal's Round does (halves to even).
int RoundPart(double v) { return static_cast<int>(std::nearbyint(v)); }

// One vertical line per column from x1 to x2; t(x) from the callback.
template <typename F>
void DrawColumns(int x1, int y1, int x2, int y2, F colorAt) {
  SetRopCopy();
  for (int x = x1; x <= x2; ++x) {
    SetPenRgb(colorAt(x));
    Line(x, y1, x, y2);
  }
}

}  // namespace

// --- edges and fields -------------------------------------------------------------

void DrawBevelFrame(int x1, int y1, int x2, int y2) {
  SetRopCopy();
  SetPenRgb(kDarkEdge);
  PolyTo({{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}, {x1, y1}});
  SetPenColor(274);
  PolyTo({{x1 + 1, y2 - 2}, {x1 + 1, y1 + 1}, {x2 - 1, y1 + 1}});
  SetPenRgb(kLightEdge);
  PolyTo({{x1, y2}, {x2, y2}, {x2, y1}});
}

void DrawRaisedEdge(int x1, int y1, int x2, int y2) {
  SetRopCopy();
  SetPenColor(274);
  PolyTo({{x1, y2}, {x2, y2}, {x2, y1}});
  SetPenRgb(kDarkEdge);
  PolyTo({{x1 + 1, y2 - 1}, {x2 - 1, y2 - 1}, {x2 - 1, y1 + 1}});
  SetPenColor(261);
  PolyTo({{x2 - 2, y1 + 1}, {x1 + 1, y1 + 1}, {x1 + 1, y2 - 2}});
}

void DrawEtchedFrame(int x1, int y1, int x2, int y2) {
  SetRopCopy();
  SetPenRgb(kDarkEdge);
  PolyTo({{x2, y1}, {x1, y1}, {x1, y2 - 1}, {x2 - 1, y2 - 1}, {x2 - 1, y1 + 2}});
  SetPenRgb(kLightEdge);
  PolyTo({{x1, y2}, {x2, y2}, {x2, y1 + 1}, {x1 + 1, y1 + 1}, {x1 + 1, y2 - 2}});
}

void DrawHintField(int x1, int y1, int x2, int y2) {
  FillColorRect(x1 + 2, y1 + 2, x2 - 2, y2 - 2, plat::Rgb(255, 255, 200));
  SetPenColor(7);
  PolyTo({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}});
  DrawBevelFrame(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
}

void DrawGreyEtchedBox(int x1, int y1, int x2, int y2) {
  DrawColorEtchedBox(x1, y1, x2, y2, plat::Rgb(192, 192, 192));
}

void DrawColorEtchedBox(int x1, int y1, int x2, int y2, plat::TColorRef color) {
  FillColorRect(x1, y1, x2, y2, color);
  DrawEtchedFrame(x1, y1, x2, y2);
}

void DrawEtchedLine(int x1, int y, int x2) {
  SetRopCopy();
  SetPenColor(274);
  Line(x1, y, x2, y);
  SetPenColor(261);
  Line(x1 + 1, y + 1, x2 + 1, y + 1);
}

void DrawEtchedVerticalLine(int x, int y1, int y2) {
  SetRopCopy();
  SetPenColor(274);
  Line(x, y1, x, y2);
  SetPenColor(261);
  Line(x - 1, y1 + 1, x - 1, y2 + 1);
}

void DrawWhiteField(int x1, int y1, int x2, int y2, int inset) {
  FillColorRect(x1, y1, x2, y2, GetColorRef(261));
  DrawBevelFrame(x1, y1, x2, y2);
  if (inset > 0) DrawEtchedFrame(x1 - inset, y1 - inset, x2 + inset, y2 + inset);
}

void DrawCellField(int column, int row, int width) {
  DrawWhiteField(column * 8 - 2, row * 16 + 2, column * 8 + width * 8 + 2, row * 16 + 17, 0);
}

// --- gradients ------------------------------------------------------------------------

void DrawTitleGradient(int x1, int y1, int x2, int y2) {
  const int span = x2 - x1;
  DrawColumns(x1, y1, x2, y2, [&](int x) {
    const double t = span > 0 ? 0.65 * (x - x1) / span : 0.0;
    return plat::Rgb(RoundPart(10 + 245 * t), RoundPart(36 + 219 * t), RoundPart(106 + 149 * t));
  });
}

void DrawWarmGradient(int x1, int y1, int x2, int y2) {
  const int span = x2 - x1;
  DrawColumns(x1, y1, x2, y2, [&](int x) {
    const double t = span > 0 ? 0.65 * (x - x1) / span : 0.0;
    return plat::Rgb(255, RoundPart(36 + 219 * t), RoundPart(10 + 245 * t));
  });
}

namespace {

// t rises from 0 at xa towards xb; with xb left of xa the run starts at xb
// with t falling from 1 to 0.
template <typename F>
void DrawBlueRun(int xa, int y1, int xb, int y2, double scale, F colorOf) {
  const int span = std::abs(xb - xa);
  if (xa < xb) {
    DrawColumns(xa, y1, xb, y2, [&](int x) { return colorOf(span > 0 ? scale * (x - xa) / span : 0.0); });
  } else {
    DrawColumns(xb, y1, xa, y2, [&](int x) { return colorOf(span > 0 ? scale * (1.0 - double(x - xb) / span) : 0.0); });
  }
}

}  // namespace

void DrawLightBlueGradient(int xa, int y1, int xb, int y2) {
  DrawBlueRun(xa, y1, xb, y2, 1.0,
              [](double t) { return plat::Rgb(RoundPart(60 + 195 * t), RoundPart(110 + 145 * t), 255); });
}

void DrawPaleBlueGradient(int xa, int y1, int xb, int y2) {
  DrawBlueRun(xa, y1, xb, y2, 0.9,
              [](double t) { return plat::Rgb(RoundPart(90 + 165 * t), RoundPart(150 + 105 * t), 255); });
}

// --- title bars and panels ----------------------------------------------------------------

void DrawTitleBar(int x1, int y1, int x2, const std::string& caption, int style, int y2) {
  int textColor = 261;
  switch (style) {
    case 1: DrawTitleGradient(x1 + 4, y1 + 4, x2 - 4, y2); break;
    case 2: FillColorRect(x1 + 4, y1 + 4, x2 - 4, y2, plat::Rgb(192, 192, 192)); textColor = 1; break;
    case 3: DrawWarmGradient(x1 + 4, y1 + 4, x2 - 4, y2); break;
    case 4: FillColorRect(x1 + 4, y1 + 4, x2 - 4, y2, plat::Rgb(192, 192, 192)); textColor = 7; break;
    default: break;
  }
  SetPenColor(textColor);
  DrawTextAltFont(x1 + 8, (y1 + y2) / 2 - 2, caption);
}

void DrawTitleStrip(int x1, int y1, int x2, const std::string& caption, int y2) {
  DrawTitleBar(x1, y1, x2, caption, 1, y2);
}

void DrawTitleStripAlt(int x1, int y1, int x2, const std::string& caption, int y2) {
  DrawTitleBar(x1, y1, x2, caption, 3, y2);
}

void DrawDialogPanel(int x1, int y1, int x2, int style, const std::string& caption, int y2) {
  switch (style) {
    case 0: FillColorRect(x1, y1, x2, y2, plat::Rgb(230, 208, 97)); break;
    case 1: FillColorRect(x1, y1, x2, y2, plat::Rgb(192, 192, 192)); break;
    case 2: DrawLightBlueGradient(x1, y1, x2, y2); break;
    case 3: DrawLightBlueGradient(x2, y1, x1, y2); break;
    case 4:
    case 5: FillColorRect(x1, y1, x2, y2, plat::Rgb(220, 220, 220)); break;
    case 6: FillColorRect(x1, y1, x2, y2, plat::Rgb(255, 255, 255)); break;
    case 7: DrawPaleBlueGradient(x1, y1, x2, y2); break;
    case 8: DrawPaleBlueGradient(x2, y1, x1, y2); break;
    default: break;
  }
  DrawRaisedEdge(x1, y1, x2, y2);
  if (caption.empty()) return;
  if (caption[0] == '|') {
    DrawTitleBar(x1, y1, x2, caption.substr(1), 2, y1 + 25);
  } else {
    DrawTitleBar(x1, y1, x2, caption, 1, y1 + 25);
  }
}

void DrawGreyDialogPanel(int x1, int y1, int x2, const std::string& caption, int y2) {
  DrawDialogPanel(x1, y1, x2, 1, caption, y2);
}

void DrawShadedDialogPanel(int x1, int y1, int x2, const std::string& caption, int y2) {
  DrawDialogPanel(x1, y1, x2, 2, caption, y2);
}

// --- popup frames -----------------------------------------------------------------------------

void SaveScreenBlock(int x1, int x2, int y1, uint32_t& handle, int lines) {
  const int left = x1 == 0 ? 0 : x1 - 1;
  const int top = y1 == 0 ? 0 : y1 - 1;
  TBitmapHandle saved = 0;
  SaveScreenRectBitmap(left, top, x2, y1 - 1 + 16 * lines, saved);
  handle = saved;
}

void RestoreScreenBlock(int x, int y, uint32_t& handle) {
  if (handle == 0) return;
  RestoreScreenRectBitmap(x == 0 ? 0 : x - 1, y == 0 ? 0 : y - 1, handle);
  handle = 0;
}

void OpenPopupFrame(TPopupFrame& frame) {
  // Copies: the packed fields must not be bound to references.
  frame.left = int16_t(std::max(int(frame.left), 0));
  frame.top = int16_t(std::max(int(frame.top), 0));
  frame.right = int16_t(std::min(int(frame.right), MaxX + 1));
  frame.bottom = int16_t(std::min(int(frame.bottom), MaxY + 1));
  uint32_t handle = 0;
  SaveScreenBlock(frame.left, frame.right, frame.top, handle, frame.lines);
  frame.saved = handle;
  frame.textX = int16_t(frame.left + 8);
  frame.textY = int16_t(frame.top + 38);
}

void ClosePopupFrame(TPopupFrame& frame) {
  if (frame.saved == 0) return;
  if (CursorShown) EraseMouseCursor();
  uint32_t handle = frame.saved;
  RestoreScreenBlock(frame.left, frame.top, handle);
  frame.saved = 0;
}

void ClosePopupFrameIfOpen(TPopupFrame& frame) {
  if (frame.lines <= 0) return;
  ClosePopupFrame(frame);
  frame.lines = 0;
}

void OpenTopLeftPopup(TPopupFrame& frame, int width, const std::string& caption) {
  frame.left = 0;
  frame.top = 0;
  frame.right = int16_t(width);
  frame.bottom = int16_t(16 * frame.lines - 1);
  frame.grid = 1;
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(frame.left, frame.top, frame.right, caption, frame.bottom);
  const int fieldTop = caption.empty() ? frame.top + 4 : frame.top + 28;
  DrawWhiteField(frame.left + 4, fieldTop, frame.right - 4, frame.bottom - 4, 0);
}

void OpenTenLinePopup(TPopupFrame& frame) {
  frame.lines = 10;
  OpenTopLeftPopup(frame, 416, "");
}

void OpenWidePopup(TPopupFrame& frame, const std::string& caption) {
  frame.left = DrawingArea.x1;
  frame.right = int16_t(MaxX);
  frame.top = int16_t(DrawingArea.y1 + 16);
  frame.bottom = int16_t(frame.top + 16 * frame.lines - 1);
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(frame.left, frame.top, frame.right, caption, frame.bottom);
  const int fieldTop = caption.empty() ? frame.top + 4 : frame.top + 28;
  DrawWhiteField(frame.left + 4, fieldTop, frame.right - 4, frame.bottom - 4, 0);
}

TPopupFrame* GraphicAreaPopup = nullptr;

void OpenGraphicAreaPopup() {
  if (CursorShown) EraseMouseCursor();
  if (GraphicAreaPopup == nullptr) GraphicAreaPopup = new TPopupFrame{};
  TPopupFrame& frame = *GraphicAreaPopup;
  ClosePopupFrame(frame);
  frame.left = 0;
  frame.right = DrawingArea.x2;
  frame.top = DrawingArea.y1;
  frame.bottom = DrawingArea.y2;
  frame.lines = int16_t(LinesForHeight(DrawingArea.y2 - DrawingArea.y1 + 1));
  OpenPopupFrame(frame);
}

void CloseGraphicAreaPopup() {
  if (GraphicAreaPopup != nullptr) ClosePopupFrame(*GraphicAreaPopup);
}

void FreeGraphicAreaPopup() {
  if (GraphicAreaPopup == nullptr) return;
  if (GraphicAreaPopup->saved != 0) DeleteSavedBitmap(GraphicAreaPopup->saved);
  delete GraphicAreaPopup;
  GraphicAreaPopup = nullptr;
}

int LinesForHeight(int pixels) { return pixels <= 0 ? 0 : (pixels + 15) / 16; }

void GetWindowCentreCell(int16_t& x, int16_t& y) {
  x = int16_t((MaxX / 2) / 8 * 8);
  y = int16_t((MaxY / 2) / 16 * 16);
}

void PlacePopupByPosition(int code, int width, int height, int& top, int& left) {
  int16_t centreX = 0, centreY = 0;
  GetWindowCentreCell(centreX, centreY);
  if (code < 1 || code > 9) code = 5;
  const int rowOf = (code - 1) / 3, columnOf = (code - 1) % 3;
  top = rowOf == 0 ? DrawingArea.y1 : rowOf == 1 ? centreY - height / 2 : DrawingArea.y2 - height;
  left = columnOf == 0 ? DrawingArea.x1 : columnOf == 1 ? centreX - width / 2 : DrawingArea.x2 - width;
  left = left / 8 * 8;
  top = top / 16 * 16;
}

void ShowArrowCursor() {
  CursorMode = 4;
  DrawMouseCursor(MouseX, MouseY);
}

void SetCursorModes132() {
  CursorMode = 132;
  SavedCursorMode = 132;
}

namespace {

void XorOutline(int x1, int y1, int x2, int y2) {
  SetPenStyle(1, 0, 1);
  SetDrawColorAndMode(plat::kRopXor, 7);
  DrawFrameRect(x1, y1, x2, y2);
  SetPenStyle(0, 0, 1);
  SetRopCopy();
}

}  // namespace

void DragPopupFrame(TPopupFrame& frame) {
  if ((MouseButtonState & 2) == 0) return;
  if (MouseX < frame.left || MouseX > frame.right || MouseY < frame.top || MouseY > frame.top + 22) return;
  if (CursorShown) EraseMouseCursor();
  int areaRight = MaxX, areaBottom = MaxY;
  if (frame.grid) {
    areaRight = (MaxX + 1) / 8 * 8 - 1;
    areaBottom = (MaxY + 1) / 16 * 16 - 1;
  }
  auto snap = [&](int16_t& x, int16_t& y) {
    if (frame.grid) {
      x = int16_t(x / 8 * 8);
      y = int16_t(y / 16 * 16);
    }
  };
  int16_t startX = MouseX, startY = MouseY;
  snap(startX, startY);
  int dx = 0, dy = 0;
  XorOutline(frame.left, frame.top, frame.right, frame.bottom);
  int16_t lastX = startX, lastY = startY;
  while ((MouseButtonState & 2) != 0 && !CloseRequested) {
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    snap(x, y);
    if (x == lastX && y == lastY) {
      WaitForWindowMessage();
      continue;
    }
    lastX = x;
    lastY = y;
    XorOutline(frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy);
    // A frame larger than the area may only move towards its top-left corner.
    const int loX = -int(frame.left), loY = -int(frame.top);
    dx = std::clamp(x - startX, loX, std::max(loX, areaRight - int(frame.right)));
    dy = std::clamp(y - startY, loY, std::max(loY, areaBottom - int(frame.bottom)));
    XorOutline(frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy);
  }
  XorOutline(frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy);
  if (dx == 0 && dy == 0) return;
  // The dialog as it stands, then the old place back, then the dialog at its new place.
  TBitmapHandle picture = 0;
  SaveScreenRectBitmap(frame.left, frame.top, frame.right, frame.bottom, picture);
  uint32_t handle = frame.saved;
  RestoreScreenBlock(frame.left, frame.top, handle);
  frame.left = int16_t(frame.left + dx);
  frame.right = int16_t(frame.right + dx);
  frame.top = int16_t(frame.top + dy);
  frame.bottom = int16_t(frame.bottom + dy);
  SaveScreenBlock(frame.left, frame.right, frame.top, handle, frame.lines);
  frame.saved = handle;
  if (picture != 0) RestoreScreenRectBitmap(frame.left, frame.top, picture);
  frame.textX = int16_t(frame.left + 8);
  frame.textY = int16_t(frame.top + 38);
}

// --- scrolling strip ----------------------------------------------------------------------------

void SaveScrollStrip(int x, int n, int y, TScrollStrip& strip, int height) {
  strip.columns.clear();
  if (!(AnimationsOn != 0) || n < 0) return;
  for (int i = 0; i <= n; ++i) {
    TBitmapHandle h = 0;
    SaveScreenRectBitmap(x + i, y, x + i, y + height, h);
    strip.columns.push_back(h);
  }
  strip.phase = 0;
  strip.lastTick = GetTickMs();
}

void StepScrollStrip(int x, int n, int y, TScrollStrip& strip, int speed) {
  if (!(AnimationsOn != 0) || strip.columns.size() != size_t(n + 1) || n < 0) return;
  const uint32_t now = GetTickMs();
  if (now - strip.lastTick <= uint32_t(std::abs(speed))) return;
  strip.lastTick = now;
  if (speed < 1) {
    strip.phase = int16_t(strip.phase >= n ? 0 : strip.phase + 1);
  } else {
    strip.phase = int16_t(strip.phase <= 0 ? n : strip.phase - 1);
  }
  for (int i = 0; i <= n; ++i) DrawSavedBitmap(x + (i + strip.phase) % (n + 1), y, strip.columns[size_t(i)]);
}

void RestoreScrollStrip(int x, int n, int y, TScrollStrip& strip) {
  if (!(AnimationsOn != 0) || strip.columns.empty()) return;
  for (size_t i = 0; i < strip.columns.size(); ++i) {
    DrawSavedBitmap(x + int(i), y, strip.columns[i]);
    DeleteSavedBitmap(strip.columns[i]);
  }
  strip.columns.clear();
}

// --- view geometry ----------------------------------------------------------------------

void SaveViewState(TViewState& state) {
  state.scaleX = ViewScaleX;
  state.scaleY = ViewScaleY;
  state.worldXMin = WorldXMin;
  state.worldYMin = WorldYMin;
  state.worldXMax = WorldXMax;
  state.worldYMax = WorldYMax;
  state.extent = CurrentViewExtent;
  state.maxX = MaxX;
  state.maxY = MaxY;
  state.drawingArea = DrawingArea;
  state.cursorCircleRadius = CursorCircleRadiusPx;
}

void RestoreViewState(const TViewState& state) {
  ViewScaleX = state.scaleX;
  ViewScaleY = state.scaleY;
  WorldXMin = state.worldXMin;
  WorldYMin = state.worldYMin;
  WorldXMax = state.worldXMax;
  WorldYMax = state.worldYMax;
  CurrentViewExtent = state.extent;
  MaxX = state.maxX;
  MaxY = state.maxY;
  DrawingArea = state.drawingArea;
  CursorCircleRadiusPx = state.cursorCircleRadius;
  BuildCursorCircle();
  PenPendingMove = 1;
}

namespace {

// Sizes of the inner area: the part inside the etched frame that drawing may
// reach. The drawing area is exactly that part, so a fitted extent is seen
// whole and not cut at the right and bottom edges.
int SubViewWidth(const TSubViewFrame& f) { return std::max(1, f.x2 - f.x1 - 12); }
int SubViewHeight(const TSubViewFrame& f) { return std::max(1, f.y2 - f.y1 - 12); }

void KeepMainSizes(TSubViewFrame& frame) {
  frame.main.maxX = MaxX;
  frame.main.maxY = MaxY;
  frame.main.drawingArea = DrawingArea;
}

void ClearSubViewArea(const TSubViewFrame& frame) {
  FillColorRect(0, 0, SubViewWidth(frame) - 1, SubViewHeight(frame) - 1, GetColorRef(260));
}

// Coordinates relative to the inner area from here on.
void UseSubViewGeometry(const TSubViewFrame& frame) {
  const int w = SubViewWidth(frame), h = SubViewHeight(frame);
  MaxX = int16_t(w - 1);
  MaxY = int16_t(h - 1);
  DrawingArea = TLayoutRect{1, 0, 0, int16_t(w - 1), int16_t(h - 1)};
  SetClipWindow(frame.x1 + 6, frame.y1 + 6, frame.x2 - 6, frame.y2 - 6);
}

}  // namespace

void OpenSubViewFrame(TSubViewFrame& frame, int x1, int y1, const TExtentsPair& extent, int y2, int x2) {
  if (frame.open) CloseSubViewFrame(frame);
  if (CursorShown) EraseMouseCursor();
  SaveViewState(frame.main);
  frame.x1 = int16_t(x1);
  frame.x2 = int16_t(x2);
  frame.y1 = int16_t(y1);
  frame.y2 = int16_t(y2);
  frame.lines = int16_t(std::max(0, (y2 - y1) / 16 + 1));
  uint32_t handle = 0;
  SaveScreenBlock(x1, x2, y1, handle, frame.lines);
  frame.saved = handle;
  frame.open = 1;
  DrawGreyDialogPanel(x1, y1, x2, "", y2);
  DrawEtchedFrame(x1 + 4, y1 + 4, x2 - 4, y2 - 4);
  UseSubViewGeometry(frame);
  frame.inside = 1;
  FitViewToExtent(extent);
  ClearSubViewArea(frame);
}

void CloseSubViewFrame(TSubViewFrame& frame) {
  if (!frame.open) return;
  RestoreScreenGeometry(frame);
  RestoreViewState(frame.main);
  uint32_t handle = frame.saved;
  RestoreScreenBlock(frame.x1, frame.y1, handle);
  frame.saved = 0;
  frame.open = 0;
}

void EnterSubViewFrame(TSubViewFrame& frame, bool clear) {
  if (!frame.open) return;
  if (!frame.inside) KeepMainSizes(frame);
  UseSubViewGeometry(frame);
  frame.inside = 1;
  if (clear) ClearSubViewArea(frame);
}

void RestoreScreenGeometry(TSubViewFrame& frame) {
  if (!frame.inside) return;
  frame.inside = 0;
  MaxX = frame.main.maxX;
  MaxY = frame.main.maxY;
  DrawingArea = frame.main.drawingArea;
  SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
}
