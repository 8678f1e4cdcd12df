// TEMPORARY STAND-IN: see relief_core_services_standin.h.
#include "relief/core/relief_core_services_standin.h"

#include "frame/not_yet_available.h"

void ApplyReliefPalette(int16_t) {}

bool SaveReliefWithFileDialog() { return false; }

void ShowReliefVolumeView() { ShowNotYetAvailable(); }
void ShowReliefVolumeViewWithPalette() { ShowNotYetAvailable(); }

constexpr uint16_t kReliefGuideCommand = 9915;

// The guide lays out its own screen before its loop, so the command word no
// longer holds the code that entered it.
void RunReliefGuideLoop() { ShowNotYetAvailable(kReliefGuideCommand); }
