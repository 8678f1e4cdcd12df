// The layers in use, the colours of the layers and of the paper.
#pragma once

#include <cstdint>

constexpr int kMaxLayerNumber = 50;

// --- layers in use -----------------------------------------------------------------
extern uint8_t HighestLayer;  // 0 .. 50; the settings keep HighestLayer + 1
extern uint8_t CurrentLayer;  // the layer that marking, editing and flushing work on

// --- colours -----------------------------------------------------------------------

// Colour index of the drawing background (274 = black paper).
extern int16_t PaperColor;

// The colour index of layer n, repeating every 27 layers: layer 0 grey
// (light grey on black paper), 1..10 a fixed table, 11..26 n + 5; a
// negative n gives 6.
int16_t MapLayerToColorIndex(int32_t n);
// Black (274) on the light layer colours, white (15) on the others.
int16_t ContrastTextColor(int32_t n);
