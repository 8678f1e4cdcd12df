// The menu bar: one line of up to 25 titles read from a page of the menu text
// file (commands/menu_pages.h), drawn across the top strip of the window. A
// title's code is 9900 + the page it opens as the side menu. The free width
// right of the titles takes the state icons (commands/state_icons.h), the
// variant logo (commands/start_panel.h) and the relief colour legend.
//
// The bar's active width is the start pixel of title 25 (the width of titles
// 1 to 24 with their separators); the mouse counts as on a title only left
// of it.
#pragma once

#include <cstdint>
#include <string>

#include "frame/program_state.h"

constexpr int kMenuBarTitles = 25;
constexpr int kMenuBarTextMax = 110;
constexpr int kMenuBarTitleMax = 16;
constexpr int kMenuBarHintNumber = 7907;

struct TMenuBarTitle {
  std::string title;       // columns 1-15 without trailing blanks
  uint8_t startPos = 0;    // length of MenuBarText before the title
  int16_t startPixel = 0;  // width of MenuBarText before it in the menu font
  int16_t code = 0;        // columns 37-40
  char hotKey = ' ';       // column 36 in upper case; blank = none
};

// The titles joined, each followed by two blanks, trailing blanks removed.
extern std::string MenuBarText;
extern TMenuBarTitle MenuBarTitles[kMenuBarTitles];  // title k at index k - 1
extern uint8_t HighlightedTitle;                     // 0 none
extern int16_t ColourScaleX;                         // left x of the relief colour legend, 0 none
// The menu-bar state flags are MenuBarMode (frame/program_state.h).

// Start pixel of title 25.
int MenuBarActiveWidth();
// Reads the 25 title lines of page `page`, lays the bar out (state icons,
// variant logo, colour legend by the free width) and draws the titles.
void DrawMenuBar(int16_t page);
// Clears the title strip and draws MenuBarText (black with hot-key
// underlines while bit 0 of MenuBarMode is set, else white); no title stays
// highlighted.
void DrawMenuBarTitles();
// Title k (1..24) highlighted (white on black) or normal (black on 260).
void HighlightMenuTitle(int k, bool on);
// A different mode is stored, the titles are redrawn and the drawing area
// is reset; an equal mode does nothing.
void SetMenuBarMode(uint8_t mode);
// Title under window x: the first k whose following title starts at or right
// of x; 25 when none.
int MenuBarTitleAt(int x);
// Mouse handling of the bar (only while bit 0 of MenuBarMode is set): a left
// press on a title highlights it and opens its page as the side menu (with
// menu style 2 as a popup under the title).
void HandleMenuBarClick();
