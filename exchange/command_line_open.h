// Opening the drawing named on the command line: the program start takes
// the first argument, and once the start is done the drawing is opened as
// the open command would, asking first about unsaved work.
#pragma once

#include <string>

extern std::string CommandLineFileName;  // the first argument as given; empty without one

// The argument as the program names files: a host path "/a/b.sld" becomes
// "Z:\a\b.sld", a relative one is taken from the folder the program was
// started from (plat::StartFolder), a name with a drive letter stays.
std::string ResolveCommandLineName(const std::string& argument);
// Opens CommandLineFileName: only ".SLD", ".LG1" and ".H2R" (in any case)
// of an existing file; another kind or a missing file is said with the
// name. A cancelled save of unsaved work stops the open.
void OpenCommandLineFile();
