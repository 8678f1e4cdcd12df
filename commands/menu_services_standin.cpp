// TEMPORARY STAND-IN: see menu_services_standin.h.
#include "commands/menu_services_standin.h"

#include "commands/state_icons.h"

#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/input_form.h"
#include "ui/line_editor.h"
#include "view/character_cells.h"

#include <cstring>

uint8_t ClickTrackingState = 0;
uint8_t MenuBarMode = 7;
int16_t CurrentSideMenu = 2;

void WaitForMenuCommand() {
  DrawActionIcon(0);
  // No menu, icon or key yields a command yet; keep the input state fresh so
  // the close and quit messages are seen.
  for (;;) {
    int16_t x, y;
    PollMousePosition(x, y);
    while (PollKeyPressed()) ReadNextKey();
    WaitForWindowMessage();
  }
}

// With no menu titles every state icon fits; the path-layer icon belongs to
// the variants with relief milling (1, 4, 6).
void DrawMenuBar(int16_t) {
  StateIconFlags = uint8_t(StateIconFlags | kStateShowCurrentLayer | kStateShowAction | kStateShowToolLayers);
  const bool pathIcon = VariantNumber == 1 || VariantNumber == 4 || VariantNumber == 6;
  StateIconFlags = uint8_t(pathIcon ? (StateIconFlags | kStateShowPathLayers) : (StateIconFlags & ~kStateShowPathLayers));
}
void ShowSideMenu(int16_t n) {
  if (n >= 0) CurrentSideMenu = n;
}
void ReloadSideMenu(int16_t n) { CurrentSideMenu = n; }
void RedrawSideMenu() {}
void UpdateGraphicDragState() {}
void ShowStartButtons() {}
void ShowStartInfoPanel(const std::string&) {}
bool RunProgramOptionsMenu() { return false; }


// --- services of the main dispatcher ---------------------------------------------------
#include "frame/param_file.h"
#include "frame/program_start.h"
#include "model/vector_store.h"
#include "view/redraw.h"

int16_t KeptSideMenu = 2;

namespace {
TViewState keptView;
bool viewKept = false;
}  // namespace

void SetMenuBarMode(uint8_t flags) { MenuBarMode = flags; }

void SuspendMainScreen() {
  SaveViewState(keptView);
  viewKept = true;
  KeptSideMenu = CurrentSideMenu;
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

void RunSettingsDialog() {}
bool EditPathSwitches(int) { return false; }
void RunNavigationPanels(int, int) {}
void SwitchOffStartPointDisplay() { DisplayFlags = uint8_t(DisplayFlags & ~32); }

// --- choice fields of the input form ---------------------------------------------------

uint8_t SettingsWindowFlags = 0;

