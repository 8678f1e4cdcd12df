// TEMPORARY STAND-IN: see menu_services_standin.h.
#include "commands/menu_services_standin.h"

#include "frame/not_yet_available.h"

void ShowStartInfoPanel(const std::string&) {}

void RunSettingsDialog() { ShowNotYetAvailable(); }
bool EditPathSwitches(int) {
  ShowNotYetAvailable();
  return false;
}
void RunNavigationPanels(int, int) { ShowNotYetAvailable(); }
