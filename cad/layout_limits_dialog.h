// The layout limits dialog: the rectangle of the work sheet (LayoutArea,
// its first corner's type byte the frame switch) with its display switches
// and four margins (LayoutDetails), edited freely by the corners or as a
// width and height with the origin at one of nine positions, and the
// actions that fit the layout area to the drawing or the drawing to it.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"
#include "ui/panels.h"

// Bits of the dialog mode.
constexpr int kLayoutRowsMask = 3;       // 0 frame switch row, 1 no frame row, 2/3 no rows from the margin frame on
constexpr int kLayoutNoActions = 4;
constexpr int kLayoutOriginGrid = 8;
constexpr int kLayoutNoRedraw = 128;

// Origin codes: 'L', 'Z', 'R' for x at the left, middle, right, plus 64 for
// y in the middle and 128 for y at the top; 0 when the origin lies at none
// of the nine positions.
uint8_t GetLayoutOriginCodeOf(const TExtentsPair& area);
uint8_t GetLayoutOriginCode();
// Origin position 1..9 (keypad numbering from the top left) of a code; 0 for 0.
int OriginPositionOfCode(uint8_t code);
// The corners for a width and height with the origin at position 1..9.
void PlaceLayoutAtOrigin(int position, float width, float height, TExtentsPair& area);

// Sorts the corners and, when width and height are 0.001 or more, stores
// the layout (display flags with the frame switch, block 3); else the old
// values come back with an error text and false.
bool StoreLayoutArea(const TExtentsPair& previousArea, const TExtentsPair& previousDetails);

void FitLayoutAreaToDrawing(bool allLayers);
void CentreDrawingInLayoutArea(bool allLayers);
void CentreLayoutAreaOnOrigin();
// The drawing's frame follows the cursor; a left click moves the drawing there.
void MoveDrawingInteractively(bool allLayers);

// The panel's hit boxes (box n is boxes[n - 1]): 1 cancel, 2 OK, 3-6 the
// actions (not live with kLayoutNoActions), 7-18 the value rows (live up to
// the last row of the mode), 19-27 the origin positions row by row from the
// top left and 28 the free corners (live with kLayoutOriginGrid; a click
// within 3 pixels around them counts).
constexpr int kLayoutPanelBoxes = 28;
struct TLayoutPanelLayout {
  int left = 0, top = 0, right = 0, bottom = 0;
  int labelColumn = 0, fieldColumn = 0;
  int firstRowLine = 0;  // 16-pixel line of row 7; row n stands n - 7 lines below
  TBox boxes[kLayoutPanelBoxes];
  TBox heading;      // the line above the value rows, in the cell font
  TBox originFrame;  // the frame around the origin boxes (flag 0 without the grid)
};
// "Grenzen des Layoutbereichs (Werte in mm)": the heading above the value rows.
std::string LayoutLimitsHeading();
void LayOutLayoutLimitsPanel(TLayoutPanelLayout& layout, int mode);

// The dialog: fields run one after the other (Enter, Tab and the arrows
// move, a click makes a box the current field); OK, an action, F1 or cancel
// end it. Mode bits as above.
void RunLayoutLimitsDialog(int mode);
void ShowLayoutLimitsDialog();
