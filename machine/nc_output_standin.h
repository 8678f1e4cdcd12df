// TEMPORARY STAND-IN for the NC program output, to be replaced when it is
// built. No machine connection can be opened yet, so there is nothing to close.
// Callers: app/program_start.cpp and app/dispatcher.cpp.
#pragma once

void CloseMachineConnection();

// The popup of outside controller programs; none can be chosen yet.
void RunControllerHandOver();
