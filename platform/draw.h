// Software drawing context with the pixel rules of the Windows graphics
// interface that the program was written against.
//
// One device context (TDc) draws into one 32-bit frame buffer. Coordinates
// are logical pixels; the viewport origin maps logical (0, 0) to a device
// pixel, and every primitive is clipped to the clip rectangle (device pixels).
//
// Pixel rules the program relies on:
//   - LineTo draws from the current position up to but excluding the end point.
//   - Rectangle/Ellipse take (left, top, right, bottom) with right and bottom
//     excluded; the outline is drawn with the pen, the inside with the brush.
//   - FillRect excludes right and bottom as well.
//   - Raster mode 13 (copy) writes the pen colour; mode 7 (xor) xors it into
//     the pixel, so drawing the same thing twice restores the pixels exactly.
//   - Pen styles: solid, dotted, dashed, dash-dot, dash-dot-dot and none;
//     widths above 1 draw solid round-ended strokes.
//   - Text is drawn in the Windows code page (1252) through FreeType.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// Colour reference as Windows keeps it: 0x00BBGGRR.
using TColorRef = uint32_t;
constexpr TColorRef Rgb(int r, int g, int b) {
  return (uint32_t(r) & 0xFF) | ((uint32_t(g) & 0xFF) << 8) | ((uint32_t(b) & 0xFF) << 16);
}
constexpr int RedOf(TColorRef c) { return c & 0xFF; }
constexpr int GreenOf(TColorRef c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColorRef c) { return (c >> 16) & 0xFF; }

// Frame buffer pixels are 0x00RRGGBB (the SDL ARGB8888 layout), rows top-down.
uint32_t PixelFromColorRef(TColorRef c);
TColorRef ColorRefFromPixel(uint32_t pixel);

struct TFrameBuffer {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height
};
void ResizeFrameBuffer(TFrameBuffer& fb, int width, int height, uint32_t fill = 0);
// Writes the frame buffer (or a part of it) as a PNG file; false on failure.
bool WritePng(const TFrameBuffer& fb, const std::string& hostPath);

struct TPoint { int x = 0, y = 0; };
struct TRect { int left = 0, top = 0, right = 0, bottom = 0; };  // right, bottom excluded

enum TPenStyle : int { kPenSolid = 0, kPenDash = 1, kPenDot = 2, kPenDashDot = 3, kPenDashDotDot = 4, kPenNull = 5 };
enum TBrushStyle : int { kBrushSolid = 0, kBrushHollow = 1, kBrushHatched = 2 };
enum THatchStyle : int { kHatchHorizontal = 0, kHatchVertical = 1, kHatchFDiagonal = 2, kHatchBDiagonal = 3,
                         kHatchCross = 4, kHatchDiagCross = 5 };
enum TRop2 : int { kRopBlack = 1, kRopNot = 6, kRopXor = 7, kRopCopy = 13, kRopWhite = 16 };
enum TBkMode : int { kBkTransparent = 1, kBkOpaque = 2 };
// Text alignment flags as Windows combines them.
enum TTextAlign : int { kAlignLeft = 0, kAlignRight = 2, kAlignCenter = 6, kAlignTop = 0, kAlignBottom = 8,
                        kAlignBaseline = 24 };

struct TPen { int style = kPenSolid; int width = 1; TColorRef color = 0; };
struct TBrush { int style = kBrushSolid; int hatch = 0; TColorRef color = Rgb(255, 255, 255); };

// A font request: face names are the Windows ones ("Courier New", "Arial",
// "Tahoma"); platform/ maps them to installed fonts. Height and width are
// the cell height and average character width in pixels (0 = natural),
// escapement in tenths of a degree counter-clockwise.
struct TFontSpec {
  std::string face = "Courier New";
  int height = 16;
  int width = 8;
  int weight = 400;
  int escapement = 0;
  bool fixedPitch = false;
};

// 256-entry logical palette.
struct TPalette {
  int count = 0;
  std::array<TColorRef, 256> entries{};
};
// Index of the palette entry nearest (squared RGB distance) to the colour.
int NearestPaletteIndex(const TPalette& pal, TColorRef c);

// A copied rectangle of pixels (a saved screen block or a loaded bitmap).
struct TPixelBlock {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // frame buffer pixel layout
};

struct TDc {
  TFrameBuffer* target = nullptr;
  TPen pen;
  TBrush brush;
  int rop2 = kRopCopy;
  TPoint current;              // current position (logical)
  TPoint viewportOrigin;       // device pixel of logical (0, 0)
  TRect clip;                  // device pixels; set to the whole target by DcReset
  TColorRef textColor = 0;
  TColorRef bkColor = Rgb(255, 255, 255);
  int bkMode = kBkOpaque;
  int textAlign = kAlignLeft | kAlignTop;
  TFontSpec font;
  TPalette palette;
  // Position in the pen's dash pattern: consecutive LineTo calls continue
  // the pattern, MoveTo starts it again (so redrawing a dashed line in xor
  // mode hits the same pixels).
  int stylePos = 0;
};

// Binds the context to a frame buffer and resets pen, brush, modes, font,
// origin and clip; the palette is kept.
void DcReset(TDc& dc, TFrameBuffer* target);

void DcSetPen(TDc& dc, const TPen& pen);
void DcSetBrush(TDc& dc, const TBrush& brush);
void DcSetRop2(TDc& dc, int rop2);
void DcSetTextColor(TDc& dc, TColorRef c);
void DcSetBkColor(TDc& dc, TColorRef c);
void DcSetBkMode(TDc& dc, int mode);
void DcSetTextAlign(TDc& dc, int align);
void DcSelectFont(TDc& dc, const TFontSpec& font);

// Clipping and origin. DcSetClipRect replaces the clip rectangle (device
// pixels, clamped to the target); DcIntersectClip narrows it by a logical
// rectangle; DcSetViewportOrigin moves logical (0, 0) to device (x, y).
void DcSetClipRect(TDc& dc, const TRect& deviceRect);
void DcResetClip(TDc& dc);
void DcIntersectClip(TDc& dc, const TRect& logicalRect);
void DcSetViewportOrigin(TDc& dc, int x, int y);

void DcMoveTo(TDc& dc, int x, int y);
void DcLineTo(TDc& dc, int x, int y);
void DcPolyline(TDc& dc, const TPoint* pts, int n);
void DcPolygon(TDc& dc, const TPoint* pts, int n);  // alternate fill with the brush, outline with the pen
void DcRectangle(TDc& dc, int left, int top, int right, int bottom);
void DcEllipse(TDc& dc, int left, int top, int right, int bottom);
void DcFillRect(TDc& dc, const TRect& r, const TBrush& brush);  // copy mode, no pen
void DcSetPixel(TDc& dc, int x, int y, TColorRef c);
TColorRef DcGetPixel(const TDc& dc, int x, int y);  // logical point; 0xFFFFFFFF outside the target

// Text in the Windows code page. Returns nothing; measuring gives the pixel
// width and the cell height of the selected font.
void DcTextOut(TDc& dc, int x, int y, const std::string& winText);
int DcMeasureText(const TDc& dc, const std::string& winText);
int DcFontHeight(const TDc& dc);

// Screen blocks: copy a logical rectangle (right/bottom excluded) out, draw a block back.
TPixelBlock DcSaveBlock(const TDc& dc, const TRect& r);
void DcDrawBlock(TDc& dc, int x, int y, const TPixelBlock& block, int rop = kRopCopy);
// Draws a block scaled to (width, height) (nearest neighbour).
void DcStretchBlock(TDc& dc, int x, int y, int width, int height, const TPixelBlock& block);
// Device-independent pixel blocks: 32-bit (blue, green, red, reserved per pixel)
// or 8-bit indices through a colour table of (blue, green, red, reserved)
// entries; rows top-down.
void DcDrawPixels32(TDc& dc, int x, int y, int width, int height, const uint8_t* bgra);
void DcDrawPixels8(TDc& dc, int x, int y, int width, int height, const uint8_t* indices,
                   const uint8_t (*colorTable)[4], int tableSize);

// Pictures stored as Windows bitmap files (BMP). false and an empty block
// when the file is missing or malformed.
bool LoadBmpFile(const std::string& hostPath, TPixelBlock& out);

}  // namespace plat
