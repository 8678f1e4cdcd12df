// The screen scheme: the palette of the window, the paper colour chosen in
// the settings, the colours and point counts of rubber bands and previews,
// and the colour gradient bar of the start screen.
#pragma once

#include <cstdint>

// --- palette -----------------------------------------------------------------------
// The 16 standard colours in entries 0-15, 16 further base colours, then a
// grey ramp up to the palette size; realised on the window.
void InitScreenPalette();
// The relief ramp in palette entries 32 and above (the grey ramp until
// relief colour settings exist); nothing with fewer than 32 entries.
void SetReliefPalette();
void SetReliefPaletteVariant(uint8_t flag);
// The paper colour from bits 0-2 of byte 52 of parameter block 3 (1 and 2:
// 261, 3: 511, 4: black paper 274); other values leave it unchanged.
void ApplyColourScheme();

// --- rubber bands and previews --------------------------------------------------------
// Colour of rubber bands, previews and markers drawn in xor, and the points
// of a curve preview (settings of the screen scheme, fixed until it exists).
extern int16_t BandColor;
extern uint8_t CurvePointCount;

// --- gradient bar ----------------------------------------------------------------------
// A vertical colour gradient of horizontal lines in the rectangle.
void DrawColourGradientBar(int x1, int y1, int x2, int y2);
