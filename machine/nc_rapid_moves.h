// The rapid (positioning) moves of the NC program writer. A rapid move is
// also the place where a change of the path's tool is written: when the
// path's tool differs from the tool last called, the dialect's tool-change
// sequence replaces the plain rapid block.
#pragma once

#include <string>

#include "machine/nc_writer_state.h"

// Writes one rapid move to the target whose axis words (each beginning with
// a blank, already formed against LastPos) are approachWords; may be empty.
// Uses st.TargetPos for the sequences that position in X/Y themselves.
void WriteRapidMove(TNcWriterState& st, const std::string& approachWords);

// The plain rapid block of the dialect for the words w, with the blocks some
// dialects write before it (G40, HCI, the retract of dialects 40 and 55 ...).
void WritePlainRapidBlock(TNcWriterState& st, const std::string& w);

// Writes a rapid or index form of machine/nc_dialect_rapids.h with the axis
// words w.
void WriteNcRapidSequence(TNcWriterState& st, const char* sequence, const std::string& w);
