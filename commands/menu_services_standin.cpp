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

void ShowStartInfoPanel(const std::string&) {}


// --- services of the main dispatcher ---------------------------------------------------
#include "frame/param_file.h"
#include "app/program_start.h"
#include "model/vector_store.h"
#include "view/redraw.h"

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

void RunSettingsDialog() {}
bool EditPathSwitches(int) { return false; }
void RunNavigationPanels(int, int) {}

// --- choice fields of the input form ---------------------------------------------------

uint8_t SettingsWindowFlags = 0;

