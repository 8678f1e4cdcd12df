// TEMPORARY STAND-IN for the import and export filters, to be replaced when
// they are built. Caller: app/dispatcher.cpp.
#pragma once

#include <cstdint>
#include <string>

// The import format menu; no import filter exists yet, so it is not yet available.
void RunImportFormatMenu(int mode);
