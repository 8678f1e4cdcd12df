// TEMPORARY STAND-IN for the geometry and construction services, to be
// replaced when that subsystem is built: two empty hooks of the screen
// rebuild.
#pragma once

#include <cstdint>
#include <string>

void ShowLayoutLimitsDialog();
void RedrawSelectionHandles();
