// TEMPORARY STAND-IN: see menu_services_standin.h.
#include "commands/menu_services_standin.h"

void ShowStartInfoPanel(const std::string&) {}

void RunSettingsDialog() {}
bool EditPathSwitches(int) { return false; }
void RunNavigationPanels(int, int) {}
