// The prompt strip above the drawing (y 17 to the menu bar height - 1, over
// the graphic area's width), the text at the right end of the top bar, and
// the prompt line: the user types coordinates or clicks in the drawing.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// --- prompt line state (one prompt line at a time) ---------------------------------
extern int16_t PromptInputColumn;   // cell column where the typed text starts (1)
extern int16_t PromptWidth;         // cells the typed text may take (at least 1)
extern int16_t PromptPosition;      // cursor position, 1-based
extern uint8_t PromptCaretShown;    // 1 while the caret is drawn
extern uint8_t PromptCaretStamp;    // hundredths stamp of the caret blink
extern uint8_t PromptActive;        // 1 while a prompt is shown
extern uint8_t PromptStripShown;    // 1 while the strip is open
extern int16_t TopBarTextWidth;     // pixel width of the text last written into the top bar

// Row of the typed text in character cells.
constexpr int kPromptRow = 2;

// --- the strip and the top bar -------------------------------------------------------------
void DrawPanelBackground();
void ClearDrawingArea();
void ResetDrawingArea();
void RestoreGraphicArea();
// Writes text right-aligned at the right end of the top bar, with the 16 x 16
// picture of that name in front of it (ShowTopBarText: no picture).
void ShowTopBarIconText(const std::string& picture, const std::string& text);
void ShowTopBarText(const std::string& text);

// --- the prompt line --------------------------------------------------------------------
// Opens the strip, writes the prompt and resets the prompt line state.
void ShowInputPrompt(const std::string& prompt);
// One step of the prompt line editor on text; the caller loops until
// ButtonResult (the button state of the step) is not 0: 2 Enter or a left
// click, 1 a middle click, 4 Esc, a right click or a redraw request. While
// the text is empty the step polls the graphic cursor once (CursorPoint
// follows the mouse); CursorKeyCode and ExtendedKeyFlag tell the key of the
// step (255: none). Alt+R opens the calculator; its result replaces the text.
void EditPromptLine(std::string& text);
// Waits for the mouse release, then polls the graphic cursor until a button state.
void WaitForInputEvent();

#pragma pack(push, 1)
// Up to six numbers read from a prompt line: the type byte of the first
// point holds the count (0 also after a number that cannot be read).
struct TCoordinateList {
  TPointRecord points[3];
};
static_assert(sizeof(TCoordinateList) == 27);
#pragma pack(pop)
// The i-th number (1..6) of a list.
float CoordinateListValue(const TCoordinateList& list, int i);

// Reads up to six numbers into list and returns their count. With expected
// above 0 and a different count the user is asked whether to see the help.
int ParseCoordinateList(const std::string& text, TCoordinateList& list, int expected, int& count);

// Asks for one point: type 0 cancelled, 10 taken, 255 the cursor left for the
// menu (only when entered with type 255).
void PromptPoint(const std::string& prompt, TPointRecord& point);
// Like PromptPoint, but also ends on F1, F3, F4 or ";", "=", ">" with the
// cursor position and type 8, 10 or 11; else 0 cancel or the button state of a click.
void PromptPointOrSeparator(const std::string& prompt, TPointRecord& point);
// Asks for two corners (ordered: the first the smaller in x and y); result 1
// taken, 0 cancelled or degenerate.
void PromptRectangle(TPointRecord (&rectangle)[2], uint8_t& result);
