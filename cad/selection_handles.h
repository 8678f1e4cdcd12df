// The mouse handles round the selection (the vector store "VekAR1.TMP").
//
// Ten boxes in main-window pixels: 1-9 the handles in a 3 x 3 grid row by
// row from the top left (1 top-left corner, 2 top middle, 3 top-right, 4
// left middle, 5 centre, 6 right middle, 7 bottom-left, 8 bottom middle, 9
// bottom-right), 10 the selection's extent on screen. The flag of box 10 is
// the valid flag of the whole set. The handles are an xor overlay: showing
// and hiding must be paired.
//
// Dragging an outer handle scales the store about the opposite side or
// corner (corner handles keep the aspect ratio), dragging the centre or the
// inside of the box moves it; the moved box snaps to the guide lines.
// Records change by their meaning (MapRecordAxes): points move, arcs keep
// their shape, headers, tool blocks and layer records stay.
#pragma once

#include <cstdint>
#include <functional>

#include "model/vector_records.h"
#include "ui/panels.h"

constexpr int kHandleBoxCount = 10;
constexpr int kHandleExtentBox = 10;
constexpr double kHandleThinExtent = 0.0001;  // thinner than this: moving only
constexpr int kStoreBlockRecords = 5000;

struct THandleSet {
  TBox boxes[kHandleExtentBox];  // box n is boxes[n - 1]
};

// The handle set of the main window (its rebuild request,
// SelectionHandlesRebuild, is the input wait's: commands/input_wait.h).
extern THandleSet SelectionHandles;
extern TExtentsPair SelectionHandleExtent;

// The point of reference number n (1..9, keypad numbering from the top);
// other numbers leave x and y as they are.
void GetReferencePoint(const TExtentsPair& extent, int n, float& x, float& y);

// The ten boxes for an extent (no drawing).
void ComputeHandleBoxes(const TExtentsPair& extent, THandleSet& handles);
// The extent as a screen box clamped to the graphic window.
void ExtentToScreenBox(const TExtentsPair& extent, TBox& box);
// Computes the boxes and, with the handles switch on, draws the eight
// outer handles in xor (a second call erases them).
void ToggleSelectionHandles(const TExtentsPair& extent, THandleSet& handles);
// When the store holds records: its extent and the handles drawn; else
// every box free.
void ShowSelectionHandles(THandleSet& handles, TExtentsPair& extent);
void HideSelectionHandles(THandleSet& handles, const TExtentsPair& extent);
// Full screen rebuild: the global set is erased and marked invalid.
void ForgetSelectionHandles();
// The global set shown afresh (after a rebuild of the screen).
void RedrawSelectionHandles();
// The same on the global set and extent, as the input wait uses them (a
// shown set is taken off before it is shown again; a click in the drawing
// area, undo snapshots of moves on, is true on a hit).
void ShowSelectionHandles();
void HideSelectionHandles();
bool HandleSelectionHandleClick();

// Number of the first in-use box (1..10) that holds the pixel; 0 none.
int HitSelectionHandle(const THandleSet& handles, int x, int y);
// A click in the drawing area: true on a hit of the set; with the handles
// switch on the hit drags (scale or move). undo: snapshot before a move.
bool HandleSelectionHandleClick(THandleSet& handles, TExtentsPair& extent, bool undo);

// The factors of a scale drag for the cursor point: per active axis
// (cursor - anchor) / (far side - anchor); both axes active take the one
// of smaller magnitude (y on ties) for both. A zero-width axis keeps 1.
void ComputeHandleScaleFactors(const TExtentsPair& extent, float cursorX, float cursorY, bool rightMoves,
                               bool xActive, bool yActive, bool topMoves, double& fx, double& fy);
// The drags; both update the extent and the set in place.
void DragScaleHandle(TExtentsPair& extent, THandleSet& handles, bool rightMoves, bool xActive, bool yActive,
                     bool topMoves);
void DragMoveSelection(TExtentsPair& extent, THandleSet& handles, bool undo);

// Every record of the store after an extent head passed through change and
// drawn in colour 12, the store written back; paintOver first paints the old
// picture in the background colour.
void RewriteStoreRecords(bool paintOver, const std::function<void(TVectorRecord&)>& change);
// Every record of the store shifted by (dx, dy) and drawn in colour 12;
// paintOver first paints the old picture in the background colour.
void ShiftStoreRecords(bool paintOver, double dx, double dy);
// Every record of the store scaled about (ax, ay).
void ScaleStoreRecords(bool paintOver, double ax, double ay, double fx, double fy);

// Shifts a dragged extent onto the guide lines (both guide switches on):
// per axis the nearest of first corner, centre and second corner within 10
// pixels lands on its line.
void SnapMovedBoxToGuideLines(TExtentsPair& extent);

// The interactive choice of a rectangle: the first corner by a click or two
// typed numbers (message 6), then either a drag with the button held or, for
// a click, the second corner by the next click or two typed numbers
// (message 7); corners snap to the guide lines. Success: the rectangle
// sorted (minimum corner first), wider and taller than 0.001, left drawn
// in xor. A right click or Esc fails.
void PickRectangle(TExtentsPair& rectangle, bool& success);
