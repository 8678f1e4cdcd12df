// Panels, edges, fields and gradients of the program's own dialogs, the
// popup frame that saves the screen under a dialog and puts it back (and lets
// the user drag the dialog by its title), the scrolling strip, and the framed
// sub-view that shows a world extent inside a dialog.
//
// All coordinates are window pixels; colours are colour numbers of the
// drawing layer (260 face grey, 261 white, 274 black) or RGB values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "model/vector_records.h"

#pragma pack(push, 1)
// A box of a button, list line or hit test: flag 1 = live; bounds inclusive.
struct TBox {
  uint8_t flag;
  int16_t x1, y1, x2, y2;
};
static_assert(sizeof(TBox) == 9);

// The screen under a dialog, held from OpenPopupFrame to ClosePopupFrame.
struct TPopupFrame {
  int16_t left;
  int16_t right;
  int16_t top;
  int16_t bottom;
  int16_t textX;  // left + 8 after opening
  int16_t textY;  // top + 38 after opening
  int16_t lines;  // height in 16-pixel text lines
  uint32_t saved;  // saved screen block, 0 when none is held
  uint8_t grid;    // follows the 8 x 16 grid while dragged
};
static_assert(sizeof(TPopupFrame) == 19);
#pragma pack(pop)

// The dark and the light edge colours of every bevel.
constexpr plat::TColorRef kDarkEdge = plat::Rgb(107, 61, 4);
constexpr plat::TColorRef kLightEdge = plat::Rgb(230, 229, 210);

// --- edges and fields -------------------------------------------------------------
void DrawBevelFrame(int x1, int y1, int x2, int y2);
void DrawRaisedEdge(int x1, int y1, int x2, int y2);
void DrawEtchedFrame(int x1, int y1, int x2, int y2);
void DrawHintField(int x1, int y1, int x2, int y2);
void DrawGreyEtchedBox(int x1, int y1, int x2, int y2);
void DrawColorEtchedBox(int x1, int y1, int x2, int y2, plat::TColorRef color);
void DrawEtchedLine(int x1, int y, int x2);
void DrawEtchedVerticalLine(int x, int y1, int y2);
void DrawWhiteField(int x1, int y1, int x2, int y2, int inset);
void DrawCellField(int column, int row, int width);

// --- gradients (one vertical line per column, copy mode) ------------------------------
void DrawTitleGradient(int x1, int y1, int x2, int y2);
void DrawWarmGradient(int x1, int y1, int x2, int y2);
void DrawLightBlueGradient(int xa, int y1, int xb, int y2);
void DrawPaleBlueGradient(int xa, int y1, int xb, int y2);

// --- title bars and panels ------------------------------------------------------------
// style 1 title gradient / white text, 2 grey / colour 1, 3 warm / white, 4 grey / colour 7.
void DrawTitleBar(int x1, int y1, int x2, const std::string& caption, int style, int y2);
void DrawTitleStrip(int x1, int y1, int x2, const std::string& caption, int y2);
void DrawTitleStripAlt(int x1, int y1, int x2, const std::string& caption, int y2);
// Body by style (0 yellow, 1 grey, 2/3 light blue, 4/5 light grey, 6 white,
// 7/8 pale blue), the raised edge and, with a caption, the title bar; a
// caption beginning with "|" gets the grey bar without the "|".
void DrawDialogPanel(int x1, int y1, int x2, int style, const std::string& caption, int y2);
void DrawGreyDialogPanel(int x1, int y1, int x2, const std::string& caption, int y2);
void DrawShadedDialogPanel(int x1, int y1, int x2, const std::string& caption, int y2);

// --- popup frames -----------------------------------------------------------------------
// Saves (x1 - 1, y1 - 1) .. (x2, y1 - 1 + 16 lines); a coordinate 0 is not moved.
void SaveScreenBlock(int x1, int x2, int y1, uint32_t& handle, int lines);
// Draws the block back at (x - 1, y - 1) (0 stays 0) and deletes it.
void RestoreScreenBlock(int x, int y, uint32_t& handle);
void OpenPopupFrame(TPopupFrame& frame);
void ClosePopupFrame(TPopupFrame& frame);
// Closes the popup frame when it holds lines and sets its line count to 0.
void ClosePopupFrameIfOpen(TPopupFrame& frame);
void OpenTopLeftPopup(TPopupFrame& frame, int width, const std::string& caption);
void OpenTenLinePopup(TPopupFrame& frame);
// From the graphic area's left edge to the window's right edge, 16 pixels
// below the graphic area's top, over the frame's line count.
void OpenWidePopup(TPopupFrame& frame, const std::string& caption);
// One frame for modules that take over the whole graphic area.
extern TPopupFrame* GraphicAreaPopup;  // null while none is allocated
void OpenGraphicAreaPopup();
void CloseGraphicAreaPopup();
void FreeGraphicAreaPopup();
// Lets the user move an open frame by its title while the left button is down.
void DragPopupFrame(TPopupFrame& frame);
// Number of 16-pixel lines that cover the height.
int LinesForHeight(int pixels);
void GetWindowCentreCell(int16_t& x, int16_t& y);
// Top-left corner of a popup of width x height pixels by a position code:
// 1-3 top, 4-6 middle, 7-9 bottom row of the graphic area; 1, 4, 7 left,
// 2, 5, 8 centre, 3, 6, 9 right; any other code centres. left rounded down to
// a multiple of 8, top to a multiple of 16.
void PlacePopupByPosition(int code, int width, int height, int& top, int& left);
void ShowArrowCursor();
// The dialog arrow without grid snapping (4 with bit 7), also as the mode
// the running command returns to.
void SetCursorModes132();

// --- scrolling strip ----------------------------------------------------------------------
struct TScrollStrip {
  std::vector<uint32_t> columns;  // n + 1 saved one-pixel columns
  int16_t phase = 0;
  uint32_t lastTick = 0;
};
// The strip works only while AnimationsOn (parameter block 3) is set.
void SaveScrollStrip(int x, int n, int y, TScrollStrip& strip, int height);
void StepScrollStrip(int x, int n, int y, TScrollStrip& strip, int speed);
void RestoreScrollStrip(int x, int n, int y, TScrollStrip& strip);

// --- view geometry ----------------------------------------------------------------------
// What a framed sub-view, printing or a picture export changes of the view:
// the world-to-screen transform, the extent last fitted, the window and
// drawing-area sizes and the cursor circle that follows the scale.
struct TViewState {
  float scaleX = 0, scaleY = 0;
  float worldXMin = 0, worldYMin = 0, worldXMax = 0, worldYMax = 0;
  TExtentsPair extent{};
  int16_t maxX = 0, maxY = 0;
  TLayoutRect drawingArea{};
  uint16_t cursorCircleRadius = 0;
};
void SaveViewState(TViewState& state);
// Puts the state back and rebuilds the cursor circle for its scale.
void RestoreViewState(const TViewState& state);

// A framed view of a world extent inside a dialog.
struct TSubViewFrame {
  int16_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  TViewState main;      // the main view while the sub-view is open
  int16_t lines = 0;    // height in 16-pixel lines of the saved block
  uint32_t saved = 0;   // screen under the frame, 0 when none is held
  uint8_t open = 0;     // set from OpenSubViewFrame to CloseSubViewFrame
  uint8_t inside = 0;   // drawing goes to the sub-view
};
// Saves the screen under (x1, y1)-(x2, y2), draws the frame and fits the view
// to the extent inside it; drawing then goes to the inner area, with
// coordinates relative to its top-left corner.
void OpenSubViewFrame(TSubViewFrame& frame, int x1, int y1, const TExtentsPair& extent, int y2, int x2);
// Brings back the main view and the screen under the frame; harmless when
// the frame is not open.
void CloseSubViewFrame(TSubViewFrame& frame);
// Draws into the open sub-view again (after RestoreScreenGeometry); with
// clear set, the inner area is cleared to the face colour.
void EnterSubViewFrame(TSubViewFrame& frame, bool clear);
// Drawing to the whole window again with the main sizes; the transform of the
// sub-view stays until CloseSubViewFrame.
void RestoreScreenGeometry(TSubViewFrame& frame);
