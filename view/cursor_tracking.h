// Cursor tracking for interactive loops: one polling step reads the mouse
// and keys, turns the mouse position into a world point (snapped to the grid
// when the grid is shown), zooms on the wheel and F7/F8, scrolls at the
// window edges with Shift, shows the coordinates and moves the drawn cursor.
// The results are left in the globals below for the calling loop.
#pragma once

#include <cstdint>
#include <string>

#include "frame/program_state.h"  // CommandSubMode
#include "model/vector_records.h"

extern TPointRecord CursorPoint;  // world point under the cursor (type 0)
extern uint8_t ButtonResult;      // 0 none, 2 left, 4 right, 1 middle, 8 F5
extern uint8_t CursorKeyCode;     // mapped key of the step, 255 none
extern uint8_t ExtendedKeyFlag;   // 1: the key came as 0 and a scan code
// Set when the command word came from a menu.
extern uint8_t CommandFromMenu;

// An input source of another subsystem, polled in every step.
struct TInputHook {
  uint8_t state = 0;
  void (*poll)(TInputHook& hook) = nullptr;
};
extern TInputHook* InputHook;           // null: none
extern void (*F9Procedure)();           // null: none

void PollGraphicCursor();
void PollMouseCursor();
void HandleCursorKey(int16_t& x, int16_t& y);
void HandleWheelZoom();
void ZoomAtCursor(bool zoomIn);
void ScrollViewToCursor();
void DrawCoordinateBox(bool labels);
std::string FormatCursorCoordinate(double v);
void TestCursorOverMenu(uint8_t& state);
bool GetCursorOverMenu();
void BuildCursorCircle();
void CallInputHook();
void CallF9Procedure();

// Left edge and top of the coordinate box in the status row.
int CoordinateBoxX();
int StatusRowTop();

// The coordinate readout: "X", the x value, "Y", the y value, in the text
// font, columns relative to the box's left edge. Each value field is as wide
// as the widest text FormatCursorCoordinate gives (ten characters), with a
// blank's width between a value and the next label.
struct TCoordinateReadout {
  int xLabel, xValue, yLabel, yValue;  // left columns
  int valueWidth;                      // pixels of one value field
};
TCoordinateReadout LayOutCoordinateReadout();
// The widest text a value field must hold: ten digits (FormatCursorCoordinate
// keeps at most ten characters, and a digit is the widest of them).
constexpr const char* kWidestCoordinateText = "8888888888";
