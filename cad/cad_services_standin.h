// TEMPORARY STAND-IN for the geometry and construction services, to be
// replaced when that subsystem is built: the prompt line and two empty hooks
// of the screen rebuild.
#pragma once

#include <cstdint>
#include <string>

// Writes text on prompt line n above the graphic area (x 8, y 16n + 21), cut
// to the window width / 8 - 1 characters; a negative line first clears the
// prompt area and writes on line -n.
void ShowPromptLine(int16_t line, const std::string& text, int16_t background, int16_t textColor);
void ShowLayoutLimitsDialog();
void RedrawSelectionHandles();
