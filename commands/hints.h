// The delayed hint of the menus: once the mouse has rested on the same menu
// item (a menu-bar title, a side-menu item or an icon of the icon panel) for
// longer than the hint delay of the settings, the item's help topic is shown
// as a hint popup near the mouse. Moving to another item or leaving the
// menus closes it.
#pragma once

#include <cstdint>

#include "ui/panels.h"

// Kinds of pointed areas passed to ShowDelayedHint.
constexpr int16_t kHintMenuBar = 1;
constexpr int16_t kHintSideItem = 2;
constexpr int16_t kHintIconPanel = 3;
// Help topic of the menu bar's hint.
constexpr int16_t kMenuBarHintTopic = 7907;

// The hint timer: when the pointed item was first seen, which it is, and the
// popup of the shown hint.
struct THintTimer {
  uint32_t startTick;
  int16_t area;
  int16_t hint;
  int16_t shown;
  TPopupFrame frame;
};
extern THintTimer HintTimer;

// A new area or hint closes a shown hint and restarts the timer; the same
// one shows the hint once the delay (tenths of a second, parameter block 3)
// has passed. A delay of 0 or a hint of 0 never shows anything, so (0, 0)
// closes the hint.
void ShowDelayedHint(int16_t area, int16_t hint);
// Closes a shown hint and restarts the timer with no item.
void CloseHint();
// Closes the hint when the mouse lies over none of the menu areas of the
// current menu style (side text list, icon panel, menu bar).
void CloseHintOutsideMenus();
// The hint delay in milliseconds (0: hints are off).
uint32_t HintDelayMs();
