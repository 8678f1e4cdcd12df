// TEMPORARY STAND-IN for the relief core services the program frame calls,
// to be replaced when the relief core is built: the screen palette, the
// colour bar of the start screen and the relief save at exit.
#pragma once

#include <cstdint>

// The 16 standard colours in entries 0-15, 16 further base colours, then a
// grey ramp up to the palette size; realised on the window.
void InitScreenPalette();
void ApplyReliefPalette(int16_t code);
// A vertical colour gradient of horizontal lines in the rectangle.
void DrawColourGradientBar(int x1, int y1, int x2, int y2);
// The relief cannot be saved before the relief core exists: false (not saved).
bool SaveReliefWithFileDialog();
