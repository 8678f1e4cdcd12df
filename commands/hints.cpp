// The delayed hint of the menus.
#include "commands/hints.h"

#include "commands/icon_panel.h"
#include "commands/menu_bar.h"
#include "commands/side_menu.h"
#include "commands/state_icons.h"
#include "ui/buttons_controls.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "ui/panels.h"
#include "ui/hint_popup.h"

THintTimer HintTimer{};

namespace {

constexpr int kHintDelayOffset = 101;  // block 3, 16-bit, tenths of a second

void CloseShownHint() {
  if (HintTimer.shown) ClosePopupFrameIfOpen(HintTimer.frame);
  HintTimer.shown = 0;
}

bool MouseOverMenus() {
  const int x = MouseX, y = MouseY;
  if (IsPointInButton(MenuBarBox, x, y)) return true;
  const uint8_t style = CurrentMenuStyle();
  if (style != 2 || !IconPanelShown) {
    if (IsOverSideTextList(x, y)) return true;
  }
  if (style != 1 && IconPanelShown && IsPointInButton(IconPanelBox, x, y)) return true;
  return false;
}

}  // namespace

uint32_t HintDelayMs() {
  uint8_t block[kHintDelayOffset + 2] = {};
  GetParamBlock(3, block, sizeof block);
  const int16_t tenths = int16_t(block[kHintDelayOffset] | (block[kHintDelayOffset + 1] << 8));
  return tenths > 0 ? uint32_t(tenths) * 100u : 0u;
}

void ShowDelayedHint(int16_t area, int16_t hint) {
  if (area != HintTimer.area || hint != HintTimer.hint) {
    CloseShownHint();
    HintTimer.startTick = GetTickMs();
    HintTimer.area = area;
    HintTimer.hint = hint;
    return;
  }
  if (HintTimer.shown) return;
  const uint32_t delay = HintDelayMs();
  if (delay == 0 || hint <= 0) return;
  if (GetTickMs() - HintTimer.startTick <= delay) return;
  ShowHintPopup(hint, HintTimer.frame);
  // Set even when the topic was missing, so that the help file is not read
  // again on every pass over the same item.
  HintTimer.shown = 1;
}

void CloseHint() {
  CloseShownHint();
  HintTimer.startTick = GetTickMs();
  HintTimer.area = 0;
  HintTimer.hint = 0;
}

void CloseHintOutsideMenus() {
  if (!MouseOverMenus()) ShowDelayedHint(0, 0);
}
