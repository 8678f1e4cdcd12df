// TEMPORARY STAND-IN: see relief_machining_standin.h.
#include "relief/machining/relief_machining_standin.h"

#include "app/program_start.h"

uint8_t ReliefEntryFlag = 0;

void DispatchReliefCommand(int) { CommandWord = 9998; }
