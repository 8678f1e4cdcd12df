// The end of an NC program: coolant and spindle off, retract to the safe
// height, the controller's stop words, the optional park move and the end
// words with the trailing characters the controller expects.
//
// Written once after the record loop, also after a run stopped with Esc.
// After a write failure it writes nothing (the program stays visibly cut).
// The caller flushes the buffer and closes the file afterwards.
#pragma once

#include "machine/nc_writer_state.h"

void WriteNcProgramEnd(TNcWriterState& st);
