// TEMPORARY STAND-IN: see cad_services_standin.h.
#include "cad/cad_services_standin.h"

void ShowLayoutLimitsDialog() {}
void RedrawSelectionHandles() {}
