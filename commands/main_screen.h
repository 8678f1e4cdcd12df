// The main screen: its layout (menu bar, icon bar, layer bar, rulers,
// graphic window, side menu) and its suspension around module windows that
// take the whole screen.
#pragma once

#include <cstdint>

// Lays the screen out for ScreenModeWord: the layer bar and rulers of the
// settings (block 3, bytes 86 and 85) in modes 0 and 5, the graphic window
// beside the side menu, the icon bar and the side menu areas.
void LayOutScreen();

// --- module windows ----------------------------------------------------------------
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
