// Text on a grid of character cells (8 x 16 pixels) over the main window,
// text buttons, the small waits and answers of prompts, and the acoustic
// signal.
//
// Cell (column, row) covers pixels x = 8 column .. 8 column + 7 and
// y = 16 row .. 16 row + 15. Texts are byte strings in the DOS code page;
// a few control codes are drawn as small symbols (arrows, triangles, a
// pause sign) instead of glyphs.
#pragma once

#include <cstdint>
#include <string>

// Writes text from pixel (x, y), one 8-pixel cell per character, y being the
// reference of the text routines (glyphs start 3 pixels above it).
void DrawSymbolText(int x, int y, const std::string& text);
// Sets the pixels x .. x + 7 of row y whose bits are set (bit 7 leftmost),
// in grey level 12.
void DrawBitRow(int y, uint8_t bits, int x);

// A text button: box in colour boxColor, text in colour textColor, the two
// swapped when inverted. Box colour 260 is drawn silver. Empty text: nothing.
void DrawCellButton(int col, int row, const std::string& text, bool inverted, int16_t textColor,
                    int16_t boxColor);
// DrawCellButton not inverted, then copy mode.
void DrawPlainCellButton(int col, int row, const std::string& text, int16_t textColor, int16_t boxColor);
// Text alone in colour c1 (c2 when inverted). Empty text: nothing.
void WriteCellText(int col, int row, const std::string& text, bool inverted, int16_t c1, int16_t c2);
// The same with direct colours (0x00BBGGRR).
void WriteCellTextRgb(int col, int row, const std::string& text, bool inverted, uint32_t rgb1, uint32_t rgb2);
// Fills n cells of a row (the button band, rows 16 row + 4 .. 16 row + 15).
void FillCells(int col, int row, int n, uint32_t rgb);

// Waits (all pump the window messages and end when the window closes).
// Until a key waits or a mouse button is down; then empties the key buffer.
void WaitForKeyOrClick();
// The same, or until ms milliseconds have passed; a waiting key is consumed.
void WaitMsOrInput(uint32_t ms);
// Until no mouse button is down, in 1 ms steps.
void WaitForMouseRelease();
// Pumps and returns the mouse-button state (0 none, 2 left, 4 right, 1 middle).
uint8_t GetMouseButtons();
// 1 for Enter, J, O, Y (either case) or a left click; 0 for a right click or
// any other key. A middle click keeps waiting.
uint8_t AskYesNoKey();

// The acoustic signal by the signal level of the screen settings: silent at
// level 3 and above or when the "Ding" sound plays; else one beep, three at
// levels 0 and 1. The code is not used (callers pass a tone value).
void BeepSignal(int32_t code = 0);
// The "Ding" sound unless the level is 3; BeepSignal when it does not play.
void PlayDingOrBeep();

// Removes the blanks at the end of s.
void TrimTrailingBlanks(std::string& s);
