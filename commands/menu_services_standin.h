// TEMPORARY STAND-IN for the menu services not built yet, to be replaced when
// the menu subsystem is complete: the start info panel, the settings window,
// the path display switches and the navigation panels. Callers:
// app/program_start.cpp and app/dispatcher.cpp.
#pragma once

#include <string>

void ShowStartInfoPanel(const std::string& title);

// The settings window and the path display switches; no form exists yet, so
// nothing changes (EditPathSwitches reports no change).
void RunSettingsDialog();
bool EditPathSwitches(int mode);
void RunNavigationPanels(int first, int kind);
