// The head of an NC program: the dialect's comment lines (title, version,
// export line, rotary diameter, tool list and the dialect's own lines), the
// reset of the last written position, the dialect's set-up section and the
// hand-over of the first tool to the record loop.
//
// Written once per run, after the job scan and before the record loop. The
// date and time of the export line come from the program clock (headless
// runs: the virtual clock of the platform layer, which tests can fix).
#pragma once

#include "machine/nc_writer_state.h"

// The whole head, stages 1 to 4. Codes above 99 write neither comment lines
// nor a set-up section; the position reset and the hand-over still run.
void WriteNcProgramHeader(TNcWriterState& st);

// Stage 1 alone: the comment lines of the dialect (nothing above 99).
void WriteNcCommentHeader(TNcWriterState& st);
