// World-coordinate line drawing of the geometry file operations: the pen
// mode, a move and a line to a world point, and a small box around one.
// These draw nothing until the view draws geometry previews; the operations
// call them at the points where a preview will show their progress.
#pragma once

#include <cstdint>

void SetLinePenMode(int mode, int16_t colour);
void MovePenToWorldPoint(float x, float y);
void DrawLineToWorldPoint(float x, float y);
void DrawWorldPointBox(int halfSize, float x, float y);
