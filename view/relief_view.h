// The relief in the view: the least the redraw needs until the relief core's
// own display exists. A relief file here is a 128-byte header (rows at 2,
// cells per row at 4, lowest and highest cell at 6 and 8, cell format at 1
// with 10 = float cells whose lowest and highest heights are the floats at
// 34 and 38; X and Y step at 10 and 14, X and Y origin at 22 and 26), then
// the rows of cells from the origin upwards. Cell (row r, column c) covers x
// from origin + c * step to origin + (c + 1) * step, likewise y. A missing,
// short or damaged file shows nothing and has no box.
#pragma once

#include <string>

struct TExtentsPair;
constexpr const char* kCurrentReliefName = "RELAR0.TMR";
constexpr const char* kBackgroundPictureName = "Hintergr.TMH";
// The box of the current relief from its header; the empty extent (100000,
// -100000) without a sound relief. The corners carry no z here, so withZ
// changes nothing yet.
void GetCurrentReliefBox(TExtentsPair& extent, bool withZ);
// The current relief as a picture in the view: heights on the relief ramp of
// the palette (entries 32 and above). No display modes and no overlay
// vectors yet.
void DrawCurrentRelief();
// A relief-format file (the current relief or "Hintergr.TMH") as a
// background picture in the view, drawn like DrawCurrentRelief.
void DrawReliefBackground(const std::string& fileName);
// The current relief shaded by its slope (light from the lower left).
void DrawReliefShaded();
// Two small rectangles on the lower left and upper right corners of the
// current relief's box.
void DrawReliefBoxMarks();
