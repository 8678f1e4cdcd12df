// The report of the global error code.
//
// Code families: 1 aborted with Esc (or already told), 2-14 the contour
// offset engine, 40-45 hatching, 50-60 file, tool and disk conditions of the
// milling operations, 100-105 path building, 1000-1100 input/output errors of
// the checked file wrappers. 0 and below are no failure.
#pragma once

// Shows the code that is set: an error box with its text, a numbered message
// or nothing. Code 1 marks the journal line of the current command as
// aborted. Codes 1000-1100 are shown as their I/O result, journalled as
// "IOFehler " and the code, and cleared; every other code stays set for the
// caller to clear.
void ReportGlobalError();
