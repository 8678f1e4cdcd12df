// TEMPORARY STAND-IN for the NC program output, to be replaced when it is
// built. No machine connection can be opened yet, so there is nothing to close.
#pragma once

void CloseMachineConnection();

// The popup of outside controller programs; none can be chosen yet.
void RunControllerHandOver();

#include <cstdint>
// The choice of the machine type: one number field (0-100) in the generic
// input form, the last type as default; stored in block 14; -1 when cancelled.
void ChooseNcDialect(int16_t& dialect);
