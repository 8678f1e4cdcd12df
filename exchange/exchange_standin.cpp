// TEMPORARY STAND-IN: see exchange_standin.h.
#include "exchange/exchange_standin.h"

#include "frame/not_yet_available.h"
#include "ui/prompt_line.h"

void RunImportFormatMenu(int) { ShowNotYetAvailable(); }
