// TEMPORARY STAND-IN for the import and export filters, to be replaced when
// they are built. Opening a file named on the command line needs the drawing
// loader; until then the name is only noted in the journal. Callers:
// app/program_start.cpp and app/dispatcher.cpp.
#pragma once

#include <cstdint>
#include <string>

extern std::string CommandLineFileName;  // set by the program body from its argument

void OpenCommandLineFile();

// The import format menu; no import filter exists yet, so it is not yet available.
void RunImportFormatMenu(int mode);
