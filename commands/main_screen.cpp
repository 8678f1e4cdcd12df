// The main screen's layout and its suspension around module windows.
#include "commands/main_screen.h"

#include <algorithm>

#include "commands/menu_bar.h"
#include "commands/side_menu.h"
#include "commands/state_icons.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/window_draw.h"
#include "model/vector_store.h"
#include "ui/graphic_controls.h"
#include "ui/panels.h"
#include "view/redraw.h"
#include "view/screen_scheme.h"

namespace {
constexpr int kBlock3Size = 121;  // parameter block 3 as a raw image
}  // namespace

void LayOutScreen() {
  InitScreenPalette();
  SetPenStyle(0, 0xFFFF, 1);
  SetTextAlignment(1, 0);
  GetClientMaxXY(MaxX, MaxY);
  FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(220, 220, 220));
  MenuBarHeight = 51;
  SidePanelLeft = int16_t(MaxX - 168);
  DrawingAreaLastX = int16_t(MaxX - 169);
  SelectDefaultFont(0);

  bool layerBar = false, rulers = false;
  if (ScreenModeWord == 0 || ScreenModeWord == 5) {
    uint8_t block3[kBlock3Size] = {};
    GetParamBlock(3, block3, uint16_t(kBlock3Size));
    layerBar = block3[86] != 0;
    rulers = block3[85] != 0;
  }
  int16_t left = 0;
  LayerBar = TLayoutRect{};
  if (layerBar) {
    LayerBar = TLayoutRect{1, 0, MenuBarHeight, 21, MaxY};
    left = 21;
  }
  int16_t top = MenuBarHeight;
  TopRuler = TLayoutRect{};
  LeftRuler = TLayoutRect{};
  if (rulers) {
    TopRuler = TLayoutRect{1, int16_t(left + 14), top, DrawingAreaLastX, int16_t(top + 14)};
    LeftRuler = TLayoutRect{1, left, int16_t(top + 14), int16_t(left + 14), MaxY};
    left = int16_t(left + 14);
    top = int16_t(top + 14);
  }
  DrawingArea = TLayoutRect{1, left, top, int16_t(SidePanelLeft - 1), MaxY};

  FillColorRect(0, 0, MaxX, 49, plat::Rgb(220, 220, 220));
  DrawGraphicIconBar();

  MenuTitleBar = TLayoutRect{1, 0, 0, MaxX, 24};
  SideMenuTextArea = TLayoutRect{1, SidePanelLeft, 51, MaxX, int16_t(std::min<int>(51 + 478, MaxY))};
  ClearSideMenuArea();
  int y1 = MaxY - 544;
  if (y1 <= SideMenuTextArea.y1 + 16) y1 = SideMenuTextArea.y1 + 17;
  int y2 = MaxY;
  if (SideMenuTextArea.y2 < y1) {
    y1 = SideMenuTextArea.y2;
    y2 = 544 + SideMenuTextArea.y2;
  }
  if (MenuBarStyle == 2) {
    y1 = SideMenuTextArea.y1 + 16;
    y2 = MaxY;
  }
  SideMenuIconArea = TLayoutRect{1, SidePanelLeft, int16_t(y1), MaxX, int16_t(y2)};

  SetPenColor(274);
  DrawScreenLine(0, 50, MaxX + 1, 50);
  LayoutDone = true;
  StatusBaseline = int16_t(MaxY - 48);
  ScrollRange = MaxY - 48;
  SetScrollRangeToLayout();
}

// --- module windows ----------------------------------------------------------------

int16_t KeptSideMenu = 2;

namespace {
TViewState keptView;
bool viewKept = false;
}  // namespace


void SuspendMainScreen() {
  SaveViewState(keptView);
  viewKept = true;
  KeptSideMenu = SideMenuNumber;
  FlushVectorStoreToCurrentLayer();
  SetMenuBarMode(0);
  LayerBar.used = 0;
  TopRuler.used = 0;
  LeftRuler.used = 0;
}

void RestoreMainScreen(uint8_t flag) {
  if (viewKept) RestoreViewState(keptView);
  viewKept = false;
  ShowSideMenu(KeptSideMenu);
  SetMenuBarMode(7);
  ScreenModeWord = 0;
  ViewKind = 2;
  LayOutScreen();
  if (flag == 1) RedrawCurrentView(2);
}
