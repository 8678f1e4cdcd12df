// Drawing on the main window through its one drawing context.
//
// Sections: state; drawing context; colours and modes; lines and shapes;
// text; screen blocks; palette and pixels; mouse cursor.
#include "frame/window_draw.h"

#include <algorithm>
#include <utility>

#include "frame/codepage.h"
#include "frame/program_state.h"
#include "platform/window.h"

// --- state -----------------------------------------------------------------------------

uint8_t DcState = kDcNone;
int16_t CurrentColor = 0;
plat::TPen CurrentPen;
plat::TBrush CurrentBrush;
int16_t HighlightColor = 12;
uint8_t DisplayBitsPerPixel = 0;

plat::TFontSpec DefaultFont{"Courier New", 16, 8, 500, 0, true};
plat::TFontSpec TextFont{"Arial", 14, 6, 600, 0, false};
plat::TFontSpec MenuFont{"Tahoma", 14, 5, 500, 0, false};
plat::TFontSpec ButtonFont{"Tahoma", 14, 5, 600, 0, false};

TBitmapInfoHeader DibHeader32 = {40, 1, 1, 1, 32, 0, 0, 0, 0, 0, 0};
TBitmapInfo8 DibHeader8 = {};

std::map<TBitmapHandle, plat::TPixelBlock> SavedBitmaps;
TBitmapHandle NextBitmapHandle = 1;

uint8_t CursorMode = 0;
uint8_t LastCursorMode = 0;
uint8_t SavedCursorMode = 0;
bool CursorShown = false;
int16_t CursorX = 0;
int16_t CursorY = 0;
int16_t PickBoxHalfWidth = 0;
int16_t PickBoxHalfHeight = 0;
int16_t CatchRadius = 0;
TCirclePoint CursorCircle[40];
int16_t CatchSquareSize = 0;
uint16_t DashPattern = 0xFFFF;

namespace {

// Windows system colours 0-30 of the classic scheme (red, green, blue).
constexpr uint8_t kSystemColors[31][3] = {
    {192, 192, 192},  //  0 scroll bar
    {0, 128, 128},    //  1 desktop
    {0, 0, 128},      //  2 active caption
    {128, 128, 128},  //  3 inactive caption
    {192, 192, 192},  //  4 menu
    {255, 255, 255},  //  5 window
    {0, 0, 0},        //  6 window frame
    {0, 0, 0},        //  7 menu text
    {0, 0, 0},        //  8 window text
    {255, 255, 255},  //  9 caption text
    {192, 192, 192},  // 10 active border
    {192, 192, 192},  // 11 inactive border
    {128, 128, 128},  // 12 application workspace
    {0, 0, 128},      // 13 highlight
    {255, 255, 255},  // 14 highlight text
    {192, 192, 192},  // 15 button face
    {128, 128, 128},  // 16 button shadow
    {128, 128, 128},  // 17 grey text
    {0, 0, 0},        // 18 button text
    {192, 192, 192},  // 19 inactive caption text
    {255, 255, 255},  // 20 button highlight
    {0, 0, 0},        // 21 3D dark shadow
    {223, 223, 223},  // 22 3D light
    {0, 0, 0},        // 23 tooltip text
    {255, 255, 225},  // 24 tooltip background
    {0, 0, 0},        // 25 (unused)
    {0, 0, 255},      // 26 hot-tracked item
    {16, 132, 208},   // 27 active caption gradient
    {181, 181, 181},  // 28 inactive caption gradient
    {0, 0, 128},      // 29 menu highlight
    {192, 192, 192},  // 30 menu bar
};

bool Active() { return DcState == kDcActive; }
plat::TDc& Dc() { return plat::WindowDc(); }

void ApplyPen() {
  if (Active()) plat::DcSetPen(Dc(), CurrentPen);
}

void ApplyBrush() {
  if (Active()) plat::DcSetBrush(Dc(), CurrentBrush);
}

// Copies the palette buffer into the context's palette.
void ApplyPalette() {
  if (!Active()) return;
  plat::TPalette& pal = Dc().palette;
  pal.count = std::clamp<int>(PaletteBuffer.count, 1, 256);
  for (int i = 0; i < 256; ++i) {
    const TPaletteEntry& e = PaletteBuffer.entries[i];
    pal.entries[size_t(i)] = plat::Rgb(e.red, e.green, e.blue);
  }
}

// Text with its reference point at (x, y - 3), already in the Windows code page.
void TextAt(int x, int y, const std::string& winText) {
  if (!Active()) return;
  plat::DcTextOut(Dc(), x, y - 3, winText);
}

std::string WinTextOf(const std::string& text) {
  std::string s = text;
  MakeWinText(s, 255);
  return s;
}

// Width of the text in a font; the selected font is kept.
int MeasureIn(const plat::TFontSpec& font, const std::string& text) {
  if (text.empty() || !Active()) return 0;
  plat::TDc& dc = Dc();
  plat::TFontSpec previous = dc.font;
  plat::DcSelectFont(dc, font);
  int width = plat::DcMeasureText(dc, WinTextOf(text));
  plat::DcSelectFont(dc, previous);
  return width;
}

// Draws a pixel block of 4-byte pixels given bottom row first.
void DrawBottomUp32(int x, int y, int width, int height, const uint8_t* pixels) {
  size_t rowBytes = size_t(width) * 4;
  if (height == 1) {
    plat::DcDrawPixels32(Dc(), x, y, width, height, pixels);
    return;
  }
  std::vector<uint8_t> topDown(rowBytes * size_t(height));
  for (int r = 0; r < height; ++r)
    std::copy_n(pixels + size_t(height - 1 - r) * rowBytes, rowBytes, topDown.begin() + ptrdiff_t(size_t(r) * rowBytes));
  plat::DcDrawPixels32(Dc(), x, y, width, height, topDown.data());
}

// The pen, text colour, mode and position the cursor drawing changes.
struct TSavedDrawState {
  int16_t color;
  plat::TPen pen;
  int rop2;
  plat::TColorRef textColor;
  plat::TPoint current;
};

TSavedDrawState SaveDrawState() {
  plat::TDc& dc = Dc();
  return TSavedDrawState{CurrentColor, CurrentPen, dc.rop2, dc.textColor, dc.current};
}

void RestoreDrawState(const TSavedDrawState& s) {
  plat::TDc& dc = Dc();
  CurrentColor = s.color;
  CurrentPen = s.pen;
  plat::DcSetPen(dc, CurrentPen);
  plat::DcSetRop2(dc, s.rop2);
  plat::DcSetTextColor(dc, s.textColor);
  plat::DcMoveTo(dc, s.current.x, s.current.y);
}

// Pixels x .. x + width - 1 of row y with the current pen and mode.
void Run(int x, int y, int width) {
  if (width <= 0) return;
  plat::DcMoveTo(Dc(), x, y);
  plat::DcLineTo(Dc(), x + width, y);
}

// The small drawn arrow: horizontal runs below and right of the point.
void DrawSmallArrow(int x, int y) {
  Run(x, y + 1, 1);
  for (int i = 0; i < 3; ++i) Run(x, y + 2 + i, 2 + i);
  for (int i = 0; i < 8; ++i) Run(x, y + 5 + i, 4 + i);
  Run(x, y + 13, 7);
  for (int i = 0; i < 4; ++i) Run(x, y + 14 + i, 3 - i);
  for (int i = 0; i < 3; ++i) Run(x + 5, y + 14 + i, 2);
  for (int i = 0; i < 3; ++i) {
    Run(x + 6 + i, y + 17 + 2 * i, 2);
    Run(x + 6 + i, y + 18 + 2 * i, 2);
  }
}

// Four corner marks around the point, each an L from the outside in.
void DrawCornerMarks(int x, int y) {
  for (int sx = -1; sx <= 1; sx += 2) {
    for (int sy = -1; sy <= 1; sy += 2) {
      plat::TPoint pts[3] = {{x + 10 * sx, y + sy}, {x + sx, y + sy}, {x + sx, y + 10 * sy}};
      plat::DcPolyline(Dc(), pts, 3);
    }
  }
}

void DrawCrossHair(int x, int y) {
  // Only inside the graphic window (and across its rulers): never over the
  // menu bar, the icon bar, the side menu or a dropdown beside them.
  const TLayoutRect& a = DrawingArea;
  const bool inside = x >= a.x1 && x <= a.x2 && y >= a.y1 && y <= a.y2;
  if (DashPattern == 0x7070) {
    plat::SetCursorShape(plat::kCursorArrow);
  } else {
    plat::SetCursorShape(plat::kCursorNone);
    if (CursorMode != 0) {
      SetPenStyle(0, 0, 1);
    } else {
      SetPenStyle(4, DashPattern, 1);
    }
    SetDrawColorAndMode(plat::kRopXor, 12);
    if (inside) {
      const int left = LeftRuler.used ? LeftRuler.x1 : a.x1;
      const int top = TopRuler.used ? TopRuler.y1 : a.y1;
      DrawScreenLine(left, y, a.x2 + 1, y);
      DrawScreenLine(x, top, x, a.y2 + 1);
    }
  }
  SetDrawColorAndMode(plat::kRopXor, 12);
  if (inside) DrawCatchMarks(x, y);
}

}  // namespace

// --- drawing context -----------------------------------------------------------------------

void SetUpWindowDC() {
  if (Active()) return;
  plat::TDc& dc = Dc();
  plat::DcReset(dc, &plat::WindowFrameBuffer());
  DcState = kDcActive;
  ApplyPalette();
  plat::DcSetPen(dc, CurrentPen);
  plat::DcSetBrush(dc, CurrentBrush);
  plat::DcSetRop2(dc, plat::kRopCopy);
  plat::DcSelectFont(dc, DefaultFont);
  plat::DcSetBkColor(dc, GetColorRef(260));
  plat::DcSetBkMode(dc, plat::kBkTransparent);
  // The window's frame buffer holds 32-bit pixels.
  DisplayBitsPerPixel = 32;
}

void ReleaseWindowDc() {
  if (!Active()) return;
  plat::DcReset(Dc(), &plat::WindowFrameBuffer());
  DcState = kDcReleased;
}

void GetClientMaxXY(int16_t& x, int16_t& y) {
  int width = 0, height = 0;
  plat::GetClientSize(width, height);
  x = static_cast<int16_t>(width - 1);
  y = static_cast<int16_t>(height - 1);
}

void SetClipWindow(int x1, int y1, int x2, int y2) {
  if (!Active()) return;
  plat::TDc& dc = Dc();
  plat::DcSetViewportOrigin(dc, 0, 0);
  plat::DcResetClip(dc);
  plat::DcSetClipRect(dc, plat::TRect{x1, y1, x2, y2});
  plat::DcSetViewportOrigin(dc, x1, y1);
}

void IntersectClip(int x1, int y1, int x2, int y2) {
  if (!Active()) return;
  plat::DcIntersectClip(Dc(), plat::TRect{x1, y1, x2, y2});
}

void SetMainWindowCaption(const std::string& text) { plat::SetWindowCaption(WinTextOf(text)); }

// --- colours and modes -----------------------------------------------------------------------

plat::TColorRef GetColorRef(int colorNumber) {
  if (colorNumber >= 0 && colorNumber <= 255) {
    const TPaletteEntry& e = PaletteBuffer.entries[colorNumber];
    return plat::Rgb(e.red, e.green, e.blue);
  }
  switch (colorNumber) {
    case 260: return plat::Rgb(208, 208, 208);
    case 261: return plat::Rgb(255, 255, 255);
    case 272: return plat::Rgb(127, 127, 127);
    case 274: return plat::Rgb(0, 0, 0);
    case 509: return plat::Rgb(220, 220, 220);
    case 510: return plat::Rgb(192, 192, 192);
    case 511: return plat::Rgb(235, 235, 235);
    case 512: return plat::Rgb(24, 160, 238);
    default: break;
  }
  int system = colorNumber - 256;
  if (system < 0 || system > 30) return plat::Rgb(0, 0, 0);
  return plat::Rgb(kSystemColors[system][0], kSystemColors[system][1], kSystemColors[system][2]);
}

void SetPenColor(int colorNumber) {
  if (!Active()) return;
  CurrentColor = static_cast<int16_t>(colorNumber);
  CurrentPen.color = GetColorRef(colorNumber);
  ApplyPen();
  plat::DcSetTextColor(Dc(), CurrentPen.color);
}

void SetPenColorOnly(int colorNumber) {
  if (!Active()) return;
  CurrentColor = static_cast<int16_t>(colorNumber);
  CurrentPen.color = GetColorRef(colorNumber);
  ApplyPen();
}

void SetPenRgb(plat::TColorRef color) {
  CurrentPen.color = color;
  ApplyPen();
}

void SetPenAndTextRgb(plat::TColorRef color) {
  if (!Active()) return;
  SetPenRgb(color);
  plat::DcSetTextColor(Dc(), color);
}

int16_t GetCurrentColorIndex() { return CurrentColor; }

void SetRop2Mode(int mode) {
  if (Active()) plat::DcSetRop2(Dc(), mode);
}

void SetRopCopy() { SetRop2Mode(plat::kRopCopy); }

void SetDrawColorAndMode(int mode, int colorNumber) {
  int n = colorNumber;
  if (mode == plat::kRopXor && colorNumber == 12) n = HighlightColor;
  SetPenColor(n);
  SetRop2Mode(mode);
}

void SetFillBrush(int type, int colorNumber) {
  SetPenColor(colorNumber);
  SetRopCopy();
  CurrentBrush.color = GetColorRef(colorNumber);
  CurrentBrush.hatch = 0;
  if (type == 3) {
    CurrentBrush.style = plat::kBrushHatched;
    CurrentBrush.hatch = plat::kHatchBDiagonal;
  } else if (type == 8) {
    CurrentBrush.style = plat::kBrushHatched;
    CurrentBrush.hatch = plat::kHatchDiagCross;
  } else {
    CurrentBrush.style = plat::kBrushSolid;
  }
  ApplyBrush();
}

void SetFillBrushRgb(plat::TColorRef color) {
  SetPenAndTextRgb(color);
  CurrentBrush = plat::TBrush{plat::kBrushSolid, 0, color};
  ApplyBrush();
  SetRopCopy();
}

void SetPenStyle(int type, uint16_t pattern, int width) {
  int style = plat::kPenSolid;
  if (type == 0) {
    style = plat::kPenSolid;
  } else if (type == 1) {
    style = plat::kPenDot;
  } else if (type == 4) {
    switch (pattern) {
      case 0x3333:
      case 0x7777: style = plat::kPenDot; break;
      case 0x7070: style = plat::kPenDash; break;
      case 0xF18F: style = plat::kPenDashDot; break;
      default: style = plat::kPenSolid; break;
    }
  } else {
    // The pattern is the style number itself; numbers without a style of
    // their own (inside frame and above) draw solid.
    style = pattern <= plat::kPenNull ? int(pattern) : int(plat::kPenSolid);
  }
  CurrentPen.style = style;
  CurrentPen.width = std::max(1, width);
  ApplyPen();
}

void SetTextAlignment(int horizontal, int vertical) {
  int align = horizontal == 1 ? plat::kAlignCenter : horizontal == 2 ? plat::kAlignRight : plat::kAlignLeft;
  align |= vertical == 0 ? plat::kAlignBottom : vertical == 1 ? plat::kAlignBaseline : plat::kAlignTop;
  if (Active()) plat::DcSetTextAlign(Dc(), align);
}

void SelectDefaultFont(int angle) {
  DefaultFont.escapement = angle;
  if (Active()) plat::DcSelectFont(Dc(), DefaultFont);
}

// --- lines and shapes --------------------------------------------------------------------------

void MoveToScreenPoint(int x, int y) {
  if (Active()) plat::DcMoveTo(Dc(), x, y);
}

void LineToScreenPoint(int x, int y) {
  if (Active()) plat::DcLineTo(Dc(), x, y);
}

void DrawScreenLine(int x1, int y1, int x2, int y2) {
  MoveToScreenPoint(x1, y1);
  LineToScreenPoint(x2, y2);
}

void DrawFrameRect(int x1, int y1, int x2, int y2) {
  if (!Active()) return;
  plat::TDc& dc = Dc();
  plat::TPoint keep = dc.current;
  plat::DcMoveTo(dc, x1, y1);
  plat::DcLineTo(dc, x2, y1);
  plat::DcLineTo(dc, x2, y2);
  plat::DcLineTo(dc, x1, y2);
  plat::DcLineTo(dc, x1, y1);
  plat::DcMoveTo(dc, keep.x, keep.y);
}

void DrawPolyline(int n, const plat::TPoint* points) {
  if (Active() && points != nullptr && n > 1) plat::DcPolyline(Dc(), points, n);
}

void DrawPolygon(int n, const plat::TPoint* points) {
  if (Active() && points != nullptr && n > 1) plat::DcPolygon(Dc(), points, n);
}

void DrawEllipseOutline(int left, int bottom, int right, int top) {
  CurrentBrush.style = plat::kBrushHollow;
  ApplyBrush();
  if (!Active()) return;
  plat::DcEllipse(Dc(), std::min(left, right), std::min(top, bottom), std::max(left, right),
                  std::max(top, bottom));
}

void FillScreenRect(int x1, int y1, int x2, int y2) {
  if (!Active()) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (x1 == x2 && y1 == y2) {
    plat::DcSetPixel(Dc(), x1, y1, CurrentPen.color);
    return;
  }
  plat::DcRectangle(Dc(), x1, y1, x2 + 1, y2 + 1);
}

void FillColorRect(int x1, int y1, int x2, int y2, plat::TColorRef color) {
  if (!Active()) return;
  CurrentPen.color = color;
  CurrentBrush = plat::TBrush{plat::kBrushSolid, 0, color};
  ApplyPen();
  ApplyBrush();
  SetRopCopy();
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  plat::DcRectangle(Dc(), x1, y1, x2 + 1, y2 + 1);
}

// --- text ------------------------------------------------------------------------------------------

void DrawScreenChar(int x, int y, char character) {
  char c = character;
  ConvertOemCharToAnsi(c);
  TextAt(x, y, std::string(1, c));
}

void DrawScreenText(int x, int y, const std::string& text) { TextAt(x, y, WinTextOf(text)); }

void DrawScreenTextRaw(int x, int y, const std::string& text) { TextAt(x, y, text); }

void DrawTextInSetFont(int x, int y, const std::string& text) {
  if (!Active()) return;
  plat::DcSelectFont(Dc(), TextFont);
  TextAt(x, y, WinTextOf(text));
  plat::DcSelectFont(Dc(), DefaultFont);
}

void DrawMenuFontText(int x, int y, const std::string& text) {
  if (!Active()) return;
  plat::DcSelectFont(Dc(), MenuFont);
  TextAt(x, y, WinTextOf(text));
  plat::DcSelectFont(Dc(), DefaultFont);
}

void DrawTextAltFont(int x, int y, const std::string& text) {
  if (!Active()) return;
  plat::DcSelectFont(Dc(), ButtonFont);
  TextAt(x, y, WinTextOf(text));
  plat::DcSelectFont(Dc(), DefaultFont);
}

void DrawTextSized(int x, int y, const std::string& text, int height, int width) {
  if (!Active()) return;
  TextFont.height = height;
  TextFont.width = width;
  plat::DcSelectFont(Dc(), TextFont);
  TextAt(x, y, WinTextOf(text));
  TextFont.height = 14;
  TextFont.width = 6;
  plat::DcSelectFont(Dc(), DefaultFont);
}

void DrawTextOnPanel(int x, int y, const std::string& text) {
  if (!Active()) return;
  plat::TDc& dc = Dc();
  plat::DcSelectFont(dc, MenuFont);
  plat::DcSetBkColor(dc, plat::Rgb(235, 235, 235));
  plat::DcSetBkMode(dc, plat::kBkOpaque);
  TextAt(x, y, WinTextOf(text));
  plat::DcSelectFont(dc, DefaultFont);
  plat::DcSetBkMode(dc, plat::kBkTransparent);
}

void DrawTextCentredOnRow(const plat::TFontSpec& font, int x, int middleY, const std::string& text) {
  if (!Active()) return;
  plat::TDc& dc = Dc();
  const int keptAlign = dc.textAlign;
  plat::DcSelectFont(dc, font);
  plat::DcSetTextAlign(dc, plat::kAlignLeft | plat::kAlignTop);
  const int cellTop = middleY - plat::DcFontHeight(dc) / 2;
  TextAt(x, cellTop + 3, WinTextOf(text));
  plat::DcSetTextAlign(dc, keptAlign);
  plat::DcSelectFont(dc, DefaultFont);
}

int MeasureTextWidth(const std::string& text) { return MeasureIn(TextFont, text); }

int MeasureScreenTextWidth(const std::string& text) { return MeasureIn(DefaultFont, text); }

int MeasureButtonTextWidth(const std::string& text) { return MeasureIn(ButtonFont, text); }

int MeasureMenuTextWidth(const std::string& text) { return MeasureIn(MenuFont, text); }

int MeasureTextWidthSized(const std::string& text, int width, int height) {
  plat::TFontSpec sized = TextFont;
  sized.width = width;
  sized.height = height;
  int result = MeasureIn(sized, text);
  TextFont.height = 14;
  TextFont.width = 6;
  return result;
}

// --- screen blocks -------------------------------------------------------------------------------------

void SaveScreenRectBitmap(int x1, int y1, int x2, int y2, TBitmapHandle& bitmap) {
  bitmap = 0;
  if (!Active()) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  plat::TPixelBlock block = plat::DcSaveBlock(Dc(), plat::TRect{x1, y1, x2 + 1, y2 + 1});
  if (block.width <= 0 || block.height <= 0) return;
  bitmap = NextBitmapHandle++;
  if (NextBitmapHandle == 0) NextBitmapHandle = 1;
  SavedBitmaps[bitmap] = std::move(block);
}

void DrawSavedBitmap(int x, int y, TBitmapHandle bitmap) {
  if (!Active()) return;
  auto it = SavedBitmaps.find(bitmap);
  if (it != SavedBitmaps.end()) plat::DcDrawBlock(Dc(), x, y, it->second);
}

void DeleteSavedBitmap(TBitmapHandle bitmap) { SavedBitmaps.erase(bitmap); }

void RestoreScreenRectBitmap(int x, int y, TBitmapHandle bitmap) {
  DrawSavedBitmap(x, y, bitmap);
  DeleteSavedBitmap(bitmap);
}

// --- palette and pixels ----------------------------------------------------------------------------------

void LoadPaletteEntries(const uint8_t* rgb, int first, int n) {
  if (rgb == nullptr || n <= 0) return;
  int from = std::max(first, 0);
  int to = std::min(first + n, 256);
  for (int i = from; i < to; ++i) {
    uint8_t r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
    PaletteBuffer.entries[i] = TPaletteEntry{r, g, b, 1};
    DibHeader8.colors[i][0] = b;
    DibHeader8.colors[i][1] = g;
    DibHeader8.colors[i][2] = r;
    DibHeader8.colors[i][3] = 0;
  }
  ApplyPalette();
}

int GetPaletteEntriesOf(const TLogPalette& palette, int first, int n, TPaletteEntry* entries) {
  if (entries == nullptr || n <= 0) return 0;
  int from = std::max(first, 0);
  int to = std::min(first + n, 256);
  int copied = 0;
  for (int i = from; i < to; ++i, ++copied) entries[i - first] = palette.entries[i];
  return copied;
}

int GetScreenPaletteEntries(int first, int n, TPaletteEntry* entries) {
  return GetPaletteEntriesOf(PaletteBuffer, first, n, entries);
}

int GetScreenPixelIndex(int x, int y) {
  if (!Active()) return 0;
  plat::TColorRef c = plat::DcGetPixel(Dc(), x, y);
  if (c == 0xFFFFFFFFu) return 0;
  return plat::NearestPaletteIndex(Dc().palette, c);
}

void DrawDibBlock(int x, int y, const TDibBlock& block) {
  if (!Active() || block.width == 0 || block.height == 0) return;
  if (block.pixels.size() < size_t(block.width) * block.height * 4) return;
  DibHeader32.width = block.width;
  DibHeader32.height = block.height;
  DrawBottomUp32(x, y, block.width, block.height, block.pixels.data());
}

void DrawPaletteDibBlock(int x, int y, const TDibBlock& block) {
  if (!Active() || block.width == 0 || block.height == 0) return;
  size_t rowBytes = block.width;
  if (block.pixels.size() < rowBytes * block.height) return;
  DibHeader8.header.width = block.width;
  DibHeader8.header.height = block.height;
  const uint8_t* rows = block.pixels.data();
  std::vector<uint8_t> topDown;
  if (block.height > 1) {
    topDown.resize(rowBytes * block.height);
    for (int r = 0; r < block.height; ++r)
      std::copy_n(rows + size_t(block.height - 1 - r) * rowBytes, rowBytes,
                  topDown.begin() + ptrdiff_t(size_t(r) * rowBytes));
    rows = topDown.data();
  }
  plat::DcDrawPixels8(Dc(), x, y, block.width, block.height, rows, DibHeader8.colors, 256);
}

void DrawPixelColor(int x, int y, uint32_t pixel) {
  if (!Active()) return;
  uint8_t bgra[4] = {uint8_t(pixel), uint8_t(pixel >> 8), uint8_t(pixel >> 16), uint8_t(pixel >> 24)};
  DibHeader32.width = 1;
  DibHeader32.height = 1;
  plat::DcDrawPixels32(Dc(), x, y, 1, 1, bgra);
}

void DrawGrayPixel(int x, int y, uint8_t gray) {
  DrawPixelColor(x, y, uint32_t(gray) | uint32_t(gray) << 8 | uint32_t(gray) << 16 | 1u << 24);
}

void AllocPixelRow(TDibBlock& block, int n) {
  int width = std::clamp(n, 0, 65535);
  block.width = static_cast<uint16_t>(width);
  block.height = 1;
  block.pixels.assign(size_t(width) * 4, 0);
}

void FreePixelRow(TDibBlock& block) {
  block.width = 0;
  block.height = 0;
  block.pixels.clear();
  block.pixels.shrink_to_fit();
}

void SetPixelRowValue(TDibBlock& block, int i, uint32_t pixel) {
  if (i < 0 || i >= block.width || block.pixels.size() < size_t(i + 1) * 4) return;
  uint8_t* p = &block.pixels[size_t(i) * 4];
  p[0] = uint8_t(pixel);
  p[1] = uint8_t(pixel >> 8);
  p[2] = uint8_t(pixel >> 16);
  p[3] = uint8_t(pixel >> 24);
}

void SetPixelRowGray(TDibBlock& block, int i, uint8_t gray) {
  SetPixelRowValue(block, i, uint32_t(gray) | uint32_t(gray) << 8 | uint32_t(gray) << 16 | 1u << 24);
}

void DrawPixelRow(const TDibBlock& block, int x, int y) { DrawDibBlock(x, y, block); }

void InitGrayBitmapHeader() {
  DibHeader8.header = TBitmapInfoHeader{40, 200, 1, 1, 8, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 256; ++i) {
    DibHeader8.colors[i][0] = uint8_t(i);
    DibHeader8.colors[i][1] = uint8_t(i);
    DibHeader8.colors[i][2] = uint8_t(i);
    DibHeader8.colors[i][3] = 0;
  }
}

// --- mouse cursor -------------------------------------------------------------------------------------------

void DrawMouseCursor(int x, int y) {
  uint8_t mode = CursorMode & 0x7F;
  if (mode == 4 || mode == 126) {
    plat::SetCursorShape(plat::kCursorArrow);
  } else if (mode == 14) {
    plat::SetCursorShape(plat::kCursorCross);
  } else if (mode <= 13 || mode == 127) {
    // Drawn shapes need the context; without it nothing is shown.
    if (!Active()) return;
    TSavedDrawState saved = SaveDrawState();
    if (mode == 2) {
      plat::SetCursorShape(plat::kCursorNone);
    } else if (mode == 3) {
      plat::SetCursorShape(plat::kCursorNone);
      DrawPickBox(x, y);
    } else if (mode >= 5) {
      if (mode == 127) {
        plat::SetCursorShape(plat::kCursorNone);
        SetPenStyle(0, 0, 1);
        SetDrawColorAndMode(plat::kRopXor, 12);
        DrawSmallArrow(x, y);
      } else {
        plat::SetCursorShape(plat::kCursorCross);
        SetPenStyle(0, 0, 1);
        SetDrawColorAndMode(plat::kRopXor, 127);
        DrawCornerMarks(x, y);
      }
    } else {
      DrawCrossHair(x, y);
    }
    RestoreDrawState(saved);
  }
  CursorShown = true;
  LastCursorMode = CursorMode;
}

void EraseMouseCursor() {
  if (!CursorShown) return;
  if ((LastCursorMode & 0x7F) != 4) {
    // Drawn again with the shape it was drawn with, which erases it.
    uint8_t mode = CursorMode;
    CursorMode = LastCursorMode;
    DrawMouseCursor(CursorX, CursorY);
    CursorMode = mode;
  }
  CursorShown = false;
}

void ShowSystemPointer() { plat::SetSystemCursorVisible(true); }

void SetArrowCursor() { plat::SetCursorShape(plat::kCursorArrow); }

void DrawPickBox(int x, int y) {
  if (!Active()) return;
  TSavedDrawState saved = SaveDrawState();
  SetPenStyle(0, 0, 1);
  SetDrawColorAndMode(plat::kRopXor, 12);
  DrawFrameRect(x - PickBoxHalfWidth, y - PickBoxHalfHeight, x + PickBoxHalfWidth, y + PickBoxHalfHeight);
  RestoreDrawState(saved);
}

void DrawCatchMarks(int x, int y) {
  if (!Active()) return;
  SetPenStyle(0, 0, 1);
  if (CatchRadius > 4) {
    plat::TDc& dc = Dc();
    plat::DcMoveTo(dc, x + CursorCircle[0].x, y + CursorCircle[0].y);
    for (int k = 1; k < 40; ++k) plat::DcLineTo(dc, x + CursorCircle[k].x, y + CursorCircle[k].y);
    plat::DcLineTo(dc, x + CursorCircle[0].x, y + CursorCircle[0].y);
  }
  if (CatchSquareSize != 0) {
    SetRop2Mode(plat::kRopXor);
    DrawFrameRect(x - CatchSquareSize, y - CatchSquareSize, x + CatchSquareSize, y + CatchSquareSize);
  }
}
