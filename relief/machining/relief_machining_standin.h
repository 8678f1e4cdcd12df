// TEMPORARY STAND-IN for relief machining and relief exchange, to be replaced
// when that subsystem is built: the entry of the relief module.
#pragma once

#include <cstdint>

// Cleared by the dispatcher before the relief module is entered.
extern uint8_t ReliefEntryFlag;

// The relief command loop for entry 44, 45 or 48. Until it is built it is
// left at once with its leave code 9998 in the command word.
void DispatchReliefCommand(int entry);
