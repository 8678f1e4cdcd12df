// TEMPORARY STAND-IN for the menu services not built yet, to be replaced when
// the menu subsystem is complete: the least the program frame and the main
// dispatcher call (the input wait is built: commands/input_wait.h).
#pragma once

#include <cstdint>
#include <string>

#include "commands/menu_bar.h"
#include "commands/side_menu.h"
#include "commands/start_panel.h"
#include "ui/panels.h"

void ShowStartInfoPanel(const std::string& title);

// --- services of the main dispatcher ---------------------------------------------------
// The side menu RestoreMainScreen brings back (kept by SuspendMainScreen and
// by the module entries of the dispatcher).
extern int16_t KeptSideMenu;
// Before a module window: keeps the view and the side menu, puts the vector
// store back into the current layer, switches the menu bar off and lays the
// screen out without layer bar and rulers.
void SuspendMainScreen();
// After a module window: the kept view and side menu come back, menu bar
// state 7, screen mode 0, view kind 2, the layout of the settings; flag 1
// also redraws the current view.
void RestoreMainScreen(uint8_t flag);
// The settings window and the path display switches; no form exists yet, so
// nothing changes (EditPathSwitches reports no change).
void RunSettingsDialog();
bool EditPathSwitches(int mode);
void RunNavigationPanels(int first, int kind);

// --- choice fields of the input form ---------------------------------------------------
// Bit 0 set while the settings window draws its pages itself (input forms
// shown inside it end on a redraw request instead of drawing again).
extern uint8_t SettingsWindowFlags;
