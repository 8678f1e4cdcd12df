// World-coordinate line drawing of the geometry file operations (nothing
// drawn yet: see world_lines.h).
#include "view/world_lines.h"

void SetLinePenMode(int, int16_t) {}
void MovePenToWorldPoint(float, float) {}
void DrawLineToWorldPoint(float, float) {}
void DrawWorldPointBox(int, float, float) {}
