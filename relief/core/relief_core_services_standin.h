// TEMPORARY STAND-IN for the relief core services the program calls, to be
// replaced when the relief core is built: the relief palette of a colour
// code, the relief save at exit, the relief volume views and the relief work
// guide. Callers: app/program_start.cpp and app/dispatcher.cpp.
#pragma once

#include <cstdint>

// The relief palette of a colour code; no relief colours exist yet, so the
// palette stays as it is.
void ApplyReliefPalette(int16_t code);
// The relief cannot be saved before the relief core exists: false (not saved).
bool SaveReliefWithFileDialog();

// The relief volume views of the dispatcher and the relief work guide with
// its own command loop; without a relief core each says it is not yet
// available.
void ShowReliefVolumeView();
void ShowReliefVolumeViewWithPalette();
void RunReliefGuideLoop();
