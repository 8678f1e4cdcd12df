// TEMPORARY STAND-IN: see relief_machining_standin.h.
#include "relief/machining/relief_machining_standin.h"

#include "frame/not_yet_available.h"
#include "frame/program_state.h"

uint8_t ReliefEntryFlag = 0;

void DispatchReliefCommand(int) {
  ShowNotYetAvailable();
  CommandWord = 9998;
}
