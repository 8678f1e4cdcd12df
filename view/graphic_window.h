// Furniture of the graphic window: the cleared background, the rulers, the
// layer colour bar, the layout area (work sheet) with its frame, margins,
// centre lines and origin mark, the frame file, grid lines and grid points.
//
// Settings used: LayoutArea and LayoutDetails (switch byte at 0, then the
// margins left, bottom, right, top as floats), TrackGridX/Y and GridSnapOn
// (param_file.h), PaperColor (view_transform.h).
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

extern uint8_t GridLinesOn;  // grid lines inside the layout area

constexpr const char* kFrameFileName = "RAHMEN.TMP";

struct TLayoutMargins {
  double left = 0, bottom = 0, right = 0, top = 0;  // mm
};

void ClearGraphicWindow();
void DrawRulersAndLayerBar();
void DrawHorizontalRuler();
void DrawVerticalRuler();
void DrawLayerColourBar();
void DrawLayerColourBox(int fill, int textColour, const std::string& text, int& y);
void DrawBevelEdge(int x1, int y1, int x2, int y2);

void DrawLayoutArea(bool fill);
void FillLayoutArea();
void DrawLayoutFrame(bool details);
TLayoutMargins GetLayoutMargins();
void DrawFrameFile();

// Sets GridSnapOn when the grid is coarse enough to show, and draws it.
void DrawGridPoints();
// Dotted grid lines inside the given pixel rectangle of the layout area.
void DrawGridLines(int left, int top, int right, int bottom);
double GetGridLineStep(double scale);
// A step of 1, 2 or 5 times a power of ten for about 96 pixels.
void GetRulerStep(double scale, double& step, int& decimals);
std::string FormatRulerNumber(double v, int decimals);
