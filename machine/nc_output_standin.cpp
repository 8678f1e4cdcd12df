// TEMPORARY STAND-IN: see nc_output_standin.h.
#include "machine/nc_output_standin.h"

#include "frame/not_yet_available.h"

void CloseMachineConnection() {}

void RunControllerHandOver() { ShowNotYetAvailable(); }
