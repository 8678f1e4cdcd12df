// TEMPORARY STAND-IN for the menus and command input, to be replaced when the
// menu subsystem is built. It offers the least the program frame calls: the
// input wait (which, with no menus yet, only polls until the window closes),
// and empty menu drawing (the empty menu bar leaves room for every state icon).
#pragma once

#include <cstdint>
#include <string>

#include "ui/panels.h"

extern uint8_t ClickTrackingState;  // bit 1: left button held while tracking clicks in the graphic
extern int16_t CurrentSideMenu;
// Menu-bar state flags: bit 0 menu titles active, bit 1 view-bar buttons
// enabled, bit 2 icon panel enabled (7 on the main screen, 0 while suspended).
extern uint8_t MenuBarMode;

// Polls keys and clicks until one yields a command and leaves its code in
// CommandWord. Without menus nothing yields a command.
void WaitForMenuCommand();
void DrawMenuBar(int16_t n);
void ShowSideMenu(int16_t n);
void ReloadSideMenu(int16_t n);
void RedrawSideMenu();
void UpdateGraphicDragState();
void ShowStartButtons();
void ShowStartInfoPanel(const std::string& title);
bool RunProgramOptionsMenu();

// --- services of the main dispatcher ---------------------------------------------------
// The side menu RestoreMainScreen brings back (kept by SuspendMainScreen and
// by the module entries of the dispatcher).
extern int16_t KeptSideMenu;
// Sets the menu-bar state flags.
void SetMenuBarMode(uint8_t flags);
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
// Clears the start-point display flag (32 of the display flags).
void SwitchOffStartPointDisplay();

// --- choice fields of the input form ---------------------------------------------------
// Bit 0 set while the settings window draws its pages itself (input forms
// shown inside it end on a redraw request instead of drawing again).
extern uint8_t SettingsWindowFlags;
