// TEMPORARY STAND-IN: see projection_standin.h.
#include "projection/projection_standin.h"

#include "frame/not_yet_available.h"
#include "frame/param_file.h"

void ShowProjectionView(int) { ShowNotYetAvailable(); }
void SetReliefZeroFlag(uint8_t flag) { ReliefZeroFlag = flag; }
void ResetProjectionSettings() {}
void RunProjectionWindow() { ShowNotYetAvailable(); }
