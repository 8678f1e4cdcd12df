// Straight-line constructions of the construction procedure: new contour
// starts, single lines, polylines, point objects, lines given by typed
// values (offsets, length and angle, 15-degree steps) and 3D line points.
// Each runs inside one run of RunConstructionCommand, starts at the last
// point of the layer file and writes line points (type 10) or contour
// starts (type 11).
#pragma once

#include <cstdint>

#include "model/vector_records.h"

// Modes of LineByValues.
enum TLineValueMode : int {
  kLineByOffsets = 1,       // dx, dy
  kLineByLengthAngle = 2,   // length, angle in degrees
  kLineBy15Degrees = 3,     // length, angle rounded to 15 degrees
  kLineByLengthDx = 4,      // length, dx; dy by the cursor's side
  kLineByLengthDy = 5,      // length, dy; dx by the cursor's side
  kLineByAngleDx = 6,       // angle, dx
  kLineByAngleDy = 7,       // angle, dy
};

constexpr double k15DegreeStep = 0.2617994;

// The end point of a line by values from the last point; side is the sign
// (+1 or -1) of the cursor's offset used by modes 4 and 5. False when the
// values give no point (modes 4 and 5 with R not above the offset, modes 6
// and 7 with an angle whose tangent leaves the offset undefined).
bool ComputeLineByValues(int mode, const TPointRecord& last, double a, double b, double side, TPointRecord& end);
// The band end moved so that the line from last runs horizontally,
// vertically or at a multiple of 15 degrees.
void SnapBandTo15Degrees(const TPointRecord& last, TPointRecord& end);
// The angle in degrees (-90 .. 270) shown for the offset dx, dy.
double LineValuesAngle(double dx, double dy);

// --- constructions (act on the run state) ---------------------------------------------------
void LineOrNewStart();      // 93
void MoveToNewStart();      // 104
void LineToWithKeys();      // 105
void PlaceSinglePoint();    // 94
void DrawSingleLine();      // 106
void EnterPolyline();       // 123
void LineByValues(int mode, uint8_t type);  // 113-117
void Enter3DPoint();        // 131
// The line popup at the mouse, then the line by values of the chosen entry.
void ChooseLineKind();      // 135
