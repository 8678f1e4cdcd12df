// The side menu: a column of up to 26 items in the side panel at the right
// edge, loaded from one page of the menu text file. Each item carries a
// command code (9900 + n opens page n). The side menu is shown as a text
// list, as the icon panel or both, by the menu style of parameter block 3.
//
// Item i (0..25) occupies y from y1 + 17(i + 1) + 1 to that + 16 (y1 the top
// of the side panel); its face runs from x1 + 24 to W - 3, or to W - 52 when
// the caption ends in the character of code 0 (a value box or picture takes
// the free end).
#pragma once

#include <cstdint>
#include <string>

constexpr int kSideItems = 26;
constexpr int kSideCaptionMax = 20;
constexpr int kSideItemHeight = 17;
constexpr int kMenuStyleParamByte = 63;  // byte of parameter block 3

struct TSideItem {
  uint16_t code = 0;
  uint8_t enabled = 0;  // 1 enabled
  char hotKey = ' ';    // upper case; blank = none
  std::string caption;  // at most 20 characters
};

extern int16_t SideMenuNumber;  // page of the side menu last loaded
extern TSideItem SideItems[kSideItems];
extern int8_t LastSideItem;         // last item with a caption; -1 no side menu
extern int8_t HighlightedSideItem;  // item under the mouse, -1 none
extern int8_t PreviousSideItem;     // item drawn highlighted last, -1 none
extern uint8_t IconPanelShown;      // the icon panel is switched on for the window
extern uint8_t IconPanelInFront;    // 1 when the icon panel was drawn last
extern uint8_t SideMenuRedrawRequest;

// Menu style of parameter block 3 (1 text list, 2 icon panel, 3 both); 1
// for any other value.
uint8_t CurrentMenuStyle();
// Side panel bounds: x1, y1 its top left, x2 its right edge, y2 its bottom.
int SidePanelX1();
int SidePanelY1();
int SidePanelX2();
int SideItemTop(int i);

// Loads page n (n <= 0 empties the side menu, LastSideItem -1) and clears
// the old list from the screen.
void LoadSideMenu(int16_t n);
// LoadSideMenu, then draws by the menu style; CommandWord := 0.
void ShowSideMenu(int16_t n);
// Draws the loaded side menu by the menu style (as ShowSideMenu, without
// loading).
void DrawSideMenuByStyle();
// The grey panel and items 0..LastSideItem, the highlighted one highlighted.
void DrawSideTextList();
void DrawSideItem(int i, bool highlighted);
void SetSideMenuItemEnabled(int i, bool on);
void SetMenuItemValueText(int i, const std::string& text);
void SetMenuItemColourValue(int i, const std::string& text, int16_t colour);
void SetMenuItemPicture(int i, const std::string& pictureName, int width, int height);
// Redraws the side menu when SideMenuRedrawRequest is set and clears it.
void RedrawSideMenuIfRequested();

// True when (x, y) lies over the text list's items.
bool IsOverSideTextList(int x, int y);
// The item at window y over the text list, limited to 0..LastSideItem.
int SideItemAt(int y);
// Mouse over the list: highlights the item under (x, y) and redraws the
// previous one normally.
void TrackSideTextList(int x, int y);
// The command a click on item i gives: button 2 (left) the item's code when
// it is non-zero; button 1 (middle) on codes 38, 618, 3187, 8992 their
// variants 39, 627, 3188, 8993; 0 for a disabled item or anything else.
uint16_t SideItemClickCode(int i, uint8_t button);
