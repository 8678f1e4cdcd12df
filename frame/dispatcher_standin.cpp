// TEMPORARY STAND-IN: see dispatcher_standin.h.
#include "frame/dispatcher_standin.h"

#include "frame/program_start.h"

void DispatchMainCommand(int32_t) {
  switch (CommandWord) {
    case 1: RebuildScreen(); break;
    case kQuitCommand: AskQuitProgram(); break;
    default: break;
  }
}
