// TEMPORARY STAND-IN: see projection_standin.h.
#include "projection/projection_standin.h"

#include "frame/param_file.h"

void ShowProjectionView(int) {}
void SetReliefZeroFlag(uint8_t flag) { ReliefZeroFlag = flag; }
void ResetProjectionSettings() {}
void RunProjectionWindow() {}
