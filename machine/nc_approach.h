// The moves of the NC writer between cuts: up to the clearance level,
// across to the next contour start (with the dialect's radius compensation
// or angle words) and down to the cutting depth; and the turn of the rotary
// axis to an index angle.
#pragma once

#include "machine/nc_writer_state.h"

// Brings the tool to the pending contour start (NeedApproach) or continues
// after 3D points (After3DPoint), then plunges to depth when it is deeper.
void WriteApproachMove(TNcWriterState& st, float depth);
// The rapid Z move to the clearance level; nothing when already there.
void WriteClearanceMove(TNcWriterState& st);
// The block that turns the rotary axis to the index angle in record.x.
void WriteAxisIndexMove(TNcWriterState& st, const TVectorRecord& record);
