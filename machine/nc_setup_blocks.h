// The set-up section of the NC program head for the dialects that write
// ISO G-code blocks: work plane and modes, the first tool call, spindle
// start, coolant and the rapid approach to the start position, one sequence
// per dialect (the rows of machine/nc_dialect_setup.h).
#pragma once

#include "machine/nc_writer_state.h"

// True when the dialect's set-up section is one of the G-code sequences.
bool IsGCodeSetupDialect(int dialect);

// Writes the dialect's set-up sequence. Returns false (and writes nothing)
// when the dialect has no G-code sequence.
bool WriteGCodeSetupBlocks(TNcWriterState& st);
