// The icon panel: the picture form of the side menu, a grid of 16 rows of 6
// icon buttons in the side panel under a label strip. Row 1 holds the group
// tabs (file, drawing, tool paths, relief, relief vector tools); the rows
// below hold the commands of the chosen group, read from fixed pages of the
// menu text file (commands/menu_pages.h) with separator lines between the
// pages of a group. A command stored negative in the command-name table is
// active only while the vector store holds data; the panel draws it dimmed
// otherwise and ignores clicks on it.
//
// Geometry (x1, y1, x2, y2 of IconPanelBox): the item in row r, column c has
// its left edge at x1 + 5 + 26(c - 1), its top at y1 + 29 + 32(r - 1) and is
// 26 x 26; the label strip spans (x1 + 4, y1 + 4)-(x2 - 4, y1 + 24); the
// line above row r lies at y1 + 26 + 32(r - 1).
#pragma once

#include <cstdint>
#include <string>

#include "ui/buttons_controls.h"

constexpr int kIconPanelItems = 96;
constexpr int kIconPanelColumns = 6;
constexpr int kIconPanelRows = 16;
constexpr int kIconCaptionMax = 20;
constexpr int kIconLabelMax = 19;

struct TIconPanelItem {
  std::string caption;  // at most 20 characters; shown in the label strip
  int16_t code = 0;     // negative: active only with data in the store; 0 blank
  std::string picture;  // at most 16 characters
};

// The item table (item i at index i - 1), allocated by EnsureMenuTables;
// null while the menu tables are not built.
extern TIconPanelItem* IconPanelItems;
extern TButtonRect IconPanelBoxes[kIconPanelItems];
// Per row boundary: 0 none, 1 etched separator, 2 a line in palette colour 7
// (group head); byte r - 1 belongs to the line above row r.
extern uint8_t IconPanelRowMarks[kIconPanelRows];
extern std::string IconPanelLabel;
extern uint8_t SelectedIconTab;     // 0 no tab picture; 1-5 the selected tab
extern int16_t IconPanelPage;       // menu page whose group the panel shows
extern int16_t CurrentMenuGroup;    // side menu last shown through a tab
extern uint8_t StoreFlagAtDraw;     // complement of StoreHoldsData when drawn
extern uint8_t IconPanelRedrawRequest;
extern uint8_t ParameterMarkerFlag;  // 1: corner marker on the parameter icon
extern uint8_t ReliefGuideActive;
extern TButtonRect IconPanelBox;
extern int16_t RaisedIconItem;       // item drawn raised under the mouse, 0 none

// Allocates the item table (all blank) when it does not exist; false when it
// already existed.
bool AllocateIconPanelItems();
void FreeIconPanelItems();

// Computes the 96 boxes from the side panel's icon area; the panel is no
// longer in front and its items count as never drawn.
void LayOutIconPanel();
// Fills the items for a group (a side-menu number); nothing unless bit 2 of
// MenuBarMode is set. selectTitle 1 also shows the side menu of the group's
// menu-bar title.
void FillIconPanel(int16_t group, uint8_t selectTitle);
// Maps side menu n to its group (2, 3, 10 to 2; 4, 5, 6, 9 to 4; 7, 8 to 7;
// -1 changes nothing) and fills the panel for it.
void FillIconPanelForMenu(int16_t n);
// Reads one page into the items from the running index on (see the .cpp).
void ReadIconPanelPage(int32_t page);
void SetIconPanelItem(int i, int16_t code, const std::string& caption, const std::string& picture);

// An item is dimmed when its code is 0 or negative and the store is empty.
bool IsIconItemActive(int i);
// Item under (x, y), 0 none.
int IconPanelItemAt(int x, int y);

void DrawIconPanel();
// look 0 flat, 1 pressed, 2 raised.
void DrawIconPanelItem(int i, uint8_t look, bool dimmed);
void DrawIconPanelLabel(const std::string& text, bool active, bool bright);
// Redraws only the items with negative codes for the current store flag.
void RefreshSelectionItems();
// The raised item drawn flat, the label inactive, RaisedIconItem 0.
void EndIconPanelHighlight();
// Mouse inside the panel: raise the item under it, or run a click on it.
void TrackIconPanel();
// The side text list and the icon panel share the side panel; decides which
// has the mouse. listBottom and overlap are the input wait's copy of the
// text list rectangle's bottom and of the overlap flag. True when the pass
// was taken.
bool HandleSideMenuArea(int16_t& listBottom, bool& overlap);
// Bottom y of the side text list for the current side menu.
int16_t SideTextListBottom();
