// TEMPORARY STAND-IN for the contour offset and path core services, to be
// replaced when that subsystem is built: the error report of every command
// loop and the compensation journal lines.
#pragma once

// Reports the global error code at the start of a loop pass. File errors
// (1000-1100) are shown as their I/O text, journalled as "IOFehler " and
// cleared; every other code is shown and left for the next command.
void ReportGlobalError();
// Writes the compensation settings to the journal (none until the path core exists).
void LogCompensationParameters();
