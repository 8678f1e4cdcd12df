// The pages of the menu text file "TORV.TXT" (MenuTextFile, frame/messages.h)
// and the two readers not tied to a screen element: the popup of a whole
// page and the search for a command's menu text.
//
// The file is headerless text of fixed lines:
//   OFFSET                    SIZE DESCRIPTION
//   n * 1092                  1092 page n: 26 lines
//   n * 1092 + (k - 1) * 42     42 line k of page n: 40 characters, CR LF
// Columns of a line (from 1):
//   1-18   caption (trailing blanks dropped; empty = separator or gap)
//   1-15   title on menu-bar pages; 1-19 the text FindMenuTextOfCommand gives
//   29     icon-panel kind: "0" not in the panel, "2" starts a new icon row,
//          "3" starts a new row that heads a group
//   36     hot-key letter (blank: none)
//   37-40  command number in decimal; on menu-bar pages 9900 + the page the
//          title opens
// Page 0 is the main menu bar, 44 the relief mode's bar, 15 the relief work
// guide's bar and side menu; the icon panel reads pages 1-10, 43 and 45-50.
// A line with fewer than 40 characters left before the end of the file (or
// a file that is not open) reads as 40 blanks.
#pragma once

#include <cstdint>
#include <string>

#include "ui/popup_list.h"

constexpr int kMenuPageLines = 26;
constexpr int kMenuLineSize = 42;
constexpr int kMenuLineText = 40;
constexpr int kMenuPageSize = kMenuPageLines * kMenuLineSize;  // 1092
constexpr int kMenuTextOfCommandMax = 19;

struct TMenuLine {
  char text[kMenuLineText];  // columns 1-40
};
struct TMenuPage {
  TMenuLine lines[kMenuPageLines];  // line k at index k - 1
};

// --- one line ------------------------------------------------------------------
// Columns 37-40: blanks before the number are skipped, a sign is accepted,
// reading stops at the first character that is not a digit ("12a4" is 12,
// four blanks 0).
int32_t DecodeMenuLineNumber(const TMenuLine& line);
// Columns 1-18 without trailing blanks.
std::string MenuLineCaption(const TMenuLine& line);
// Columns 1-15 without trailing blanks (menu-bar titles).
std::string MenuLineTitle(const TMenuLine& line);
// Column 36 in upper case (blank: none).
char MenuLineHotKey(const TMenuLine& line);
// Column 29.
char MenuLineIconKind(const TMenuLine& line);

// --- reading --------------------------------------------------------------------
// Byte offset of line k (1..26) of page n.
int64_t MenuLineOffset(int32_t page, int line);
// Reads line k (1..26) of page n; blanks where the file holds no full line.
void ReadMenuLine(int32_t page, int line, TMenuLine& out);
void ReadMenuPage(int32_t page, TMenuPage& out);

// --- page popups ------------------------------------------------------------------
// Clears a popup list for a menu page: as InitPopupList, but every state 129
// (background 8, text colour 1) and panel style 5.
void InitMenuPagePopupList(TPopupList& list);
// When the last non-empty caption is entry 2 or later, every empty caption
// before it becomes the one-character separator "\x01".
void MarkPopupSeparators(TPopupList& list);
// Shows page `page` as a popup under the menu bar at (x, 16), each page line
// one entry with the picture of its command. A chosen line puts its number
// into CommandWord and sets CommandGiven; a cancelled popup or a negative
// page sets CommandWord to 0 (CommandGiven unchanged).
void RunMenuPagePopup(int16_t x, int32_t page);

// --- menu texts ----------------------------------------------------------------------
// Columns 1-19 (blanks kept) of the first line of the whole file whose
// number equals code; empty when none has it.
void FindMenuTextOfCommand(uint16_t code, std::string& text);
// The caption (columns 1-18, trailing blanks dropped) of the first line off
// the menu bars (pages 0 and 44) whose number equals code: the entry the
// user chose rather than a bar title sharing its number; empty when none.
void FindMenuEntryCaption(uint16_t code, std::string& text);
