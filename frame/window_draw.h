// Drawing on the main window: the one drawing context of the window (taken at
// start, kept to the exit), its palette, pen, brush and four fonts, and the
// primitives every view and dialog draws with, in window pixels.
//
// Colour numbers: 0-255 palette entries; 260 RGB 208,208,208; 261 white;
// 272 RGB 127,127,127; 274 black; 509 RGB 220,220,220; 510 RGB 192,192,192;
// 511 RGB 235,235,235; 512 RGB 24,160,238; any other number n the system
// colour n - 256 (classic Windows colours: 15 button face 192,192,192).
//
// Texts are in the DOS code page and converted for drawing (MakeWinText);
// they are drawn with their reference point at (x, y - 3).
//
// Primitives do nothing while the context is not active.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "frame/main_window.h"
#include "platform/draw.h"

// --- drawing context state ---------------------------------------------------
enum TDcState : uint8_t { kDcNone = 0, kDcReleased = 1, kDcActive = 2 };
extern uint8_t DcState;
extern int16_t CurrentColor;       // current colour number
extern plat::TPen CurrentPen;      // style, width, colour reference
extern plat::TBrush CurrentBrush;  // style, colour, hatch
extern int16_t HighlightColor;     // colour number used when xor drawing asks for colour 12
extern uint8_t DisplayBitsPerPixel;

// Fonts: default (character cell, escapement settable), text (settable),
// menu and button font.
extern plat::TFontSpec DefaultFont;
extern plat::TFontSpec TextFont;
extern plat::TFontSpec MenuFont;
extern plat::TFontSpec ButtonFont;

// --- pixel blocks ------------------------------------------------------------
#pragma pack(push, 1)
// Device-independent bitmap header (40 bytes).
struct TBitmapInfoHeader {
  uint32_t size;  // 40
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t clrUsed;
  uint32_t clrImportant;
};
static_assert(sizeof(TBitmapInfoHeader) == 40);
// Header with a 256-entry colour table of (blue, green, red, reserved).
struct TBitmapInfo8 {
  TBitmapInfoHeader header;
  uint8_t colors[256][4];
};
static_assert(sizeof(TBitmapInfo8) == 1064);
#pragma pack(pop)
// First header: 32-bit pixels (width 1, height 1 until a block sets them).
extern TBitmapInfoHeader DibHeader32;
// Second header: 8-bit palette pixels; colour table entry i = grey i until
// LoadPaletteEntries writes palette colours into it.
extern TBitmapInfo8 DibHeader8;

// A pixel block: width, height, then the pixels row by row, bottom row first
// (as a bitmap of positive height): 4 bytes (blue, green, red, reserved) per
// pixel for DrawDibBlock, one palette index per pixel for DrawPaletteDibBlock.
struct TDibBlock {
  uint16_t width = 0;
  uint16_t height = 0;
  std::vector<uint8_t> pixels;
};

// Saved screen blocks are kept by handle (0 = none); a deleted or unknown
// handle draws nothing.
using TBitmapHandle = uint32_t;
extern std::map<TBitmapHandle, plat::TPixelBlock> SavedBitmaps;
extern TBitmapHandle NextBitmapHandle;

// --- mouse cursor state ------------------------------------------------------
extern uint8_t CursorMode;        // shape by the mode without bit 7 (see DrawMouseCursor)
extern uint8_t LastCursorMode;    // mode drawn last
extern uint8_t SavedCursorMode;   // the mode a command returns to (set by the main loop)
extern bool CursorShown;
extern int16_t CursorX;           // position the cursor was drawn at; set before drawing
extern int16_t CursorY;
extern int16_t PickBoxHalfWidth;
extern int16_t PickBoxHalfHeight;
extern int16_t CatchRadius;       // pixels; the catch circle is drawn above 4
struct TCirclePoint { int32_t x = 0, y = 0; };
extern TCirclePoint CursorCircle[40];  // start offset, then 39 offsets around the point
extern int16_t CatchSquareSize;   // half size of the catch square; 0 none
extern uint16_t DashPattern;      // line style of the cross-hair: 0xFFFF, 0x3333, 0x7070 ...

// --- drawing context -----------------------------------------------------------
void SetUpWindowDC();
void ReleaseWindowDc();
void GetClientMaxXY(int16_t& x, int16_t& y);
// Drawing limited to x1, y1 .. x2, y2 (right and bottom excluded); afterwards
// coordinates are relative to (x1, y1).
void SetClipWindow(int x1, int y1, int x2, int y2);
void IntersectClip(int x1, int y1, int x2, int y2);
void SetMainWindowCaption(const std::string& text);

// --- colours and modes -----------------------------------------------------------
// The two drawing modes of the program: copy, and xor for rubber bands and
// marks drawn twice to vanish.
constexpr int kCopyMode = plat::kRopCopy;  // 13
constexpr int kXorMode = plat::kRopXor;    // 7
plat::TColorRef GetColorRef(int colorNumber);
void SetPenColor(int colorNumber);
void SetPenColorOnly(int colorNumber);
void SetPenRgb(plat::TColorRef color);
void SetPenAndTextRgb(plat::TColorRef color);
int16_t GetCurrentColorIndex();
void SetRop2Mode(int mode);
void SetRopCopy();
// mode 13 copy or 7 xor; xor with colour 12 uses HighlightColor.
void SetDrawColorAndMode(int mode, int colorNumber);
// type 3 backward diagonals, 8 diagonal cross, else solid.
void SetFillBrush(int type, int colorNumber);
void SetFillBrushRgb(plat::TColorRef color);
// type 0 solid, 1 dotted, 4 by the dash pattern; other types pass the pattern
// on as the style number.
void SetPenStyle(int type, uint16_t pattern, int width);
// horizontal 1 centre, 2 right, else left; vertical 0 bottom, 1 baseline, else top.
void SetTextAlignment(int horizontal, int vertical);
void SelectDefaultFont(int angle);  // escapement in tenths of a degree

// --- lines and shapes ------------------------------------------------------------
void MoveToScreenPoint(int x, int y);
void LineToScreenPoint(int x, int y);
void DrawScreenLine(int x1, int y1, int x2, int y2);
void DrawFrameRect(int x1, int y1, int x2, int y2);  // keeps the current position
void DrawPolyline(int n, const plat::TPoint* points);
void DrawPolygon(int n, const plat::TPoint* points);
void DrawEllipseOutline(int left, int bottom, int right, int top);
void FillScreenRect(int x1, int y1, int x2, int y2);  // both corners included
void FillColorRect(int x1, int y1, int x2, int y2, plat::TColorRef color);

// --- text -------------------------------------------------------------------------
void DrawScreenChar(int x, int y, char character);
void DrawScreenText(int x, int y, const std::string& text);
void DrawScreenTextRaw(int x, int y, const std::string& text);
void DrawTextInSetFont(int x, int y, const std::string& text);
void DrawMenuFontText(int x, int y, const std::string& text);
void DrawTextAltFont(int x, int y, const std::string& text);
void DrawTextSized(int x, int y, const std::string& text, int height, int width);
void DrawTextOnPanel(int x, int y, const std::string& text);
// Left-aligned text in the font whose cell (ascent and descent of the real
// font) is centred on the row middle y, whatever the current text alignment;
// the alignment is kept. For list rows that must hold their whole caption.
void DrawTextCentredOnRow(const plat::TFontSpec& font, int x, int middleY, const std::string& text);
int MeasureTextWidth(const std::string& text);
// Width of the text as DrawScreenText draws it (the character-cell font).
int MeasureScreenTextWidth(const std::string& text);
// Width of the text as DrawTextAltFont draws it (the button captions).
int MeasureButtonTextWidth(const std::string& text);
int MeasureMenuTextWidth(const std::string& text);
int MeasureTextWidthSized(const std::string& text, int width, int height);

// --- screen blocks ---------------------------------------------------------------
// Copies x1, y1 .. x2, y2 (both corners included); 0 when nothing was copied.
void SaveScreenRectBitmap(int x1, int y1, int x2, int y2, TBitmapHandle& bitmap);
void DrawSavedBitmap(int x, int y, TBitmapHandle bitmap);
void DeleteSavedBitmap(TBitmapHandle bitmap);
void RestoreScreenRectBitmap(int x, int y, TBitmapHandle bitmap);  // draws and deletes

// --- palette and pixels ------------------------------------------------------------
// Entries first .. first + n - 1 from rgb[3 * first ...] (red, green, blue).
void LoadPaletteEntries(const uint8_t* rgb, int first, int n);
// Copies entries (clipped to 0..255); returns the number copied.
int GetPaletteEntriesOf(const TLogPalette& palette, int first, int n, TPaletteEntry* entries);
int GetScreenPaletteEntries(int first, int n, TPaletteEntry* entries);
int GetScreenPixelIndex(int x, int y);
void DrawDibBlock(int x, int y, const TDibBlock& block);
void DrawPaletteDibBlock(int x, int y, const TDibBlock& block);
// pixel: blue in bits 0-7, green 8-15, red 16-23, reserved 24-31.
void DrawPixelColor(int x, int y, uint32_t pixel);
void DrawGrayPixel(int x, int y, uint8_t gray);
void AllocPixelRow(TDibBlock& block, int n);
void FreePixelRow(TDibBlock& block);
void SetPixelRowValue(TDibBlock& block, int i, uint32_t pixel);
void SetPixelRowGray(TDibBlock& block, int i, uint8_t gray);
void DrawPixelRow(const TDibBlock& block, int x, int y);
void InitGrayBitmapHeader();

// --- mouse cursor ----------------------------------------------------------------
// Shapes by CursorMode without bit 7: 2 no system cursor; 3 pick box; 4 system
// arrow; 5-13 system cross with four corner marks; 14 relief cursor; 126 help
// cursor; 127 small drawn arrow; 15-125 nothing; 0 and 1 the full-screen
// cross-hair (dashed by DashPattern in mode 0) with the catch marks. Drawn
// shapes are xor: drawing again at the same point erases them.
void DrawMouseCursor(int x, int y);
void EraseMouseCursor();  // draws the last shape again at (CursorX, CursorY)
void ShowSystemPointer();
void SetArrowCursor();
void DrawPickBox(int x, int y);
void DrawCatchMarks(int x, int y);
