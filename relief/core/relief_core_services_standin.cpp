// TEMPORARY STAND-IN: see relief_core_services_standin.h.
#include "relief/core/relief_core_services_standin.h"

void ApplyReliefPalette(int16_t) {}

bool SaveReliefWithFileDialog() { return false; }

void ShowReliefVolumeView() {}
void ShowReliefVolumeViewWithPalette() {}
void RunReliefGuideLoop() {}
