// The prompt line: the one-line instruction text that interactive commands
// write above the graphic area.
#pragma once

#include <cstdint>
#include <string>

// Prompt state of the screen: bit 0 the panel background is drawn, bit 1 a
// prompt text is written. 0 at start; whoever redraws the panel clears it.
extern uint8_t PromptFlags;

// Writes text on prompt line |line| (x 8, y 16 |line| + 21), cut to the window
// width / 8 - 1 characters. A line of 0 or below first redraws the panel
// background (clearing the prompt area). Line 1 with a background other than
// 261 (white) is a filled text cell at column 1, row 2.
void ShowPromptLine(int16_t line, const std::string& text, int16_t background, int16_t textColor);
