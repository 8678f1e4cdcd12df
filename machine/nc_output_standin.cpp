// TEMPORARY STAND-IN: see nc_output_standin.h.
#include "machine/nc_output_standin.h"

void CloseMachineConnection() {}

void RunControllerHandOver() {}
