// TEMPORARY STAND-IN for projection and rotary axes, to be replaced when that
// subsystem is built.
#pragma once

#include <cstdint>

// Kind 6 or 7; no projection view exists yet: not yet available.
void ShowProjectionView(int kind);
// Sets the relief Z-zero flag (block 3 @81 as a working value).
void SetReliefZeroFlag(uint8_t flag);
// Resets four values of parameter block 5; where they lie belongs to the
// projection subsystem, so until it is built nothing changes.
void ResetProjectionSettings();
// The projection window with its own popup loop; not yet available.
void RunProjectionWindow();
