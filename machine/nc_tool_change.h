// The tool-change sequences of the NC dialects: retract, tool call with its
// change code, length compensation, spindle start, coolant and the approach
// to the target, one fixed block list per dialect. The G-code dialects share
// one family of sequences; the conversational (L block), transformation,
// turn-mill, macro and motion-language dialects have their own.
#pragma once

#include <string>

#include "machine/nc_writer_state.h"

// True when the dialect's sequence is one of the G-code family.
bool HasGCodeToolChange(int dialect);

// Writes the dialect's tool-change sequence for the change from
// st.LastToolStation to st.ToolStation, ending with (or replacing) the
// approach to st.TargetPos whose axis words are approachWords. Returns false
// and writes nothing for the dialects that have no sequence (23 and 36).
bool WriteToolChangeSequence(TNcWriterState& st, const std::string& approachWords);
