// The popup list: the program's one choice list. A framed panel with an
// optional title strip, up to 26 entries with optional 16 x 16 icons and an
// optional picture and help lines beside them. The caller resets a record
// with InitPopupList, fills it, runs it with ShowPopupMenu (or RunPopupMenu)
// and reads the result: 1..26 the entry picked, 0 cancelled, -1 left by a
// paging key (only with leaveOnPagingKeys), -2 ended by a redraw request
// (only in mode -1). The screen under the panel is put back afterwards.
//
// Also here: DrawNamedPicture and DrawTablePicture (pictures by file, table
// or resource name).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frame/messages.h"

constexpr int kPopupEntries = 26;
constexpr int kPopupCaptionMax = 49;
constexpr int kPopupIconNameMax = 16;
constexpr int kPopupPictureNameMax = 40;
constexpr int kPopupHelpLines = 11;
constexpr int kPopupHelpLineMax = 39;

// Results of a run besides the entry numbers.
constexpr int16_t kPopupCancelled = 0;
constexpr int16_t kPopupPaged = -1;
constexpr int16_t kPopupRedraw = -2;

struct TPopupList {
  int16_t x = 0;  // requested left edge
  int16_t y = 0;  // requested top edge
  std::string title;                        // empty: no title strip
  std::string captions[kPopupEntries];      // entry 1 first; "\x01" a separator line
  std::string names[kPopupEntries];         // icon (resource picture) name per entry
  uint8_t states[kPopupEntries];            // colour: low nibble text, high nibble background
  int16_t result = -1;
  uint8_t leaveOnPagingKeys = 0;
  uint16_t dragFlags = 1;  // bit 0: the panel may be dragged by its title strip
  uint16_t panelStyle = 8;
  std::string pictureName;  // shown beside the entries; empty: none
  int16_t pictureWidth = 0;
  int16_t pictureHeight = 0;
  const std::string* helpLines = nullptr;  // null or kPopupHelpLines texts
};

// Resets every field (states 1, result -1, drag flags 1, panel style 8).
void InitPopupList(TPopupList& list);
// Sets the colour state of all 26 entries.
void SetPopupItemStates(TPopupList& list, uint8_t state);

// A menu entry by the message number of its caption and its icon name.
struct TPopupEntry {
  int16_t caption;
  const char* key;
};
// Entries 1.. of the list from the table: the captions' message texts (at
// most 39 characters) and the icon names.
void SetPopupEntries(TPopupList& list, std::span<const TPopupEntry> entries);
// RunPopupMenu (list, 21, 0, 2).
void ShowPopupMenu(TPopupList& list);
// mode 0 standard; 1 menu mode (a left click anywhere ends the run, without
// waiting for the release); -1 a redraw request ends the run with -2. A
// redraw request is a RedrawState other than 0 (a repaint rebuilt the screen
// under the panel); in the other modes the panel draws itself again.
// font 4: the menu font; any other value the settable font for measuring
// and the caption font for drawing.
void RunPopupMenu(TPopupList& list, int rowHeight, int mode, int font);

// The panel rectangle a run would use (after the record's X and Y have been
// adjusted as a run adjusts them).
struct TPopupLayout {
  int16_t left = 0, right = 0, top = 0, bottom = 0;
  int count = 0;        // entries shown
  int columns = 0;      // text width in 8-pixel columns
  int indent = 0;       // icon indent
  int sideWidth = 0;
  int sideHeight = 0;
};
TPopupLayout LayOutPopupList(TPopupList& list, int rowHeight, int font);

// Colour code of a state nibble (text: low nibble; background: high nibble).
int16_t PopupTextColorCode(uint8_t state, uint16_t panelStyle);
int16_t PopupBackgroundCode(uint8_t state, uint16_t panelStyle);

// By the last four characters of the name: ".hpx"/".BMP" an 8-bit BMP file,
// ".GIF"/".JPG" a picture of "MVKBild.DAT", else a resource picture.
void DrawNamedPicture(const std::string& name, int x, int y, int width, int height, int transparent);
// Extracts the picture into "_BildDat" + its extension, draws it scaled into
// (x, y)-(x + width, y + height) and deletes the work file.
void DrawTablePicture(const std::string& table, const std::string& name, int x, int y, int width, int height);

// The choice popup the frame's language and menu-set questions use: three
// title lines (the first is the title), the lines at (x, y); the line chosen
// or 0.
int RunChoicePopup(int x, int y, const std::string (&titles)[3], const std::vector<TChoiceLine>& lines);
