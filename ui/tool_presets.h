// The grid of twenty preset tool shapes from which the user picks one for
// the tool table, and the picture key of a tool's usage code.
#pragma once

#include <cstdint>
#include <string>

#include "frame/defaults.h"

constexpr int kPresetRows = 4;
constexpr int kPresetColumns = 5;
constexpr int kPresetCount = kPresetRows * kPresetColumns;

// The preset tools, row by row (row 1 columns 1-5 first): flat cutters,
// engraving cutters, pointed cutters and ball-nosed cutters.
void FillToolPresets(TToolRecord (&presets)[kPresetCount]);

// Shows the presets in a grid panel whose frame starts at (x + 1, y + 1);
// a left click on a preset copies it into tool. "Abbruch", the right button
// or Esc leave tool unchanged.
void ShowToolPresetGrid(int x, int y, TToolRecord& tool);

// The picture key of a tool usage code (byte 132 of the tool record);
// "leer" for every code without a picture of its own.
void GetToolTypePicture(uint8_t code, std::string& key);
