// TEMPORARY STAND-IN for the import and export filters, to be replaced when
// they are built. Opening a file named on the command line needs the drawing
// loader; until then the name is only noted in the journal. Callers:
// app/program_start.cpp and app/dispatcher.cpp.
#pragma once

#include <cstdint>
#include <string>

extern std::string CommandLineFileName;  // set by the program body from its argument

void OpenCommandLineFile();

// The import format menu; no import filter exists yet, so nothing is imported.
void RunImportFormatMenu(int mode);

// The import/export dispatcher for the command word (frame/program_start.h):
// so far only the DIN/ISO exports, 3107 (automatic 1: the last machine type,
// 0: the machine type asked) and 3112 (automatic export). Every export code
// 3100-3249 first clears the graphic area; a pending error is reported last.
// True when the code was handled.
bool DispatchImportExport(const std::string& fileName, uint8_t automatic);
