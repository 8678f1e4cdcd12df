// The set-up section of the NC program head for the dialects that write
// ISO G-code blocks: work plane and modes, the first tool call, spindle
// start, coolant and the rapid approach to the start position, one fixed
// sequence per dialect.
#pragma once

#include <string>

#include "machine/nc_writer_state.h"

// True when the dialect's set-up section is one of the G-code sequences.
bool IsGCodeSetupDialect(int dialect);

// Writes the dialect's set-up sequence. Returns false (and writes nothing)
// when the dialect has no G-code sequence.
bool WriteGCodeSetupBlocks(TNcWriterState& st);

// Shared building blocks of the set-up sequences.
// The first tool selection: LastToolStation := FirstToolStation,
// LastSpindleSpeed := FirstToolSpeed.
void SelectFirstTool(TNcWriterState& st);
// The start approach: prefix + X + " Y" + Y + suffix as one block, with
// StartX/StartY when both are above -9999, else with the first contour
// start, after which LastPos X and Y take those values (rounded to the
// output resolution).
void WriteStartApproachLine(TNcWriterState& st, const std::string& prefix, const std::string& suffix = "");
