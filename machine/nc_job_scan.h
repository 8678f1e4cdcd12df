// The scan of a job before its NC program is written: extents, the tool
// table of the job, the values of the first tool and the first contour start.
#pragma once

#include "machine/nc_writer_state.h"

// Reads st.InputFileName once and fills ToolTable (200 entries), ToolCount,
// ExtentMin/ExtentMax, ApproachDepth, FirstToolClearance, FirstToolSpeed,
// FirstToolStation, FirstToolName, FirstContourStart and LastRecord158Z.
// A file that cannot be read leaves the start values (extent 10000..-10000).
void ScanNcJob(TNcWriterState& st);
