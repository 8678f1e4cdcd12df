// The feed (cutting) moves of the NC program writer and the tool-life
// bookkeeping: path length per tool and the change to a sister tool when
// a tool's life is used up.
#pragma once

#include <string>

#include "machine/nc_writer_state.h"

// Message shown when a sister tool is taken.
constexpr int16_t kMsgNcToolLifeReached = 3213;

// Forms the axis words of a move to target (dialect 39 adds the angle words
// of angles) and writes its feed block with the given feed (m/min).
void WriteFeedMove(TNcWriterState& st, const TVectorRecord& target,
                   const TVectorRecord& angles, float feed);
// Writes the blocks of one feed move: spindle, feed and coolant words where
// due and the dialect's linear block. Empty words write nothing.
void WriteFeedBlock(TNcWriterState& st, const std::string& words, float feed);
// Adds the distance from LastPos to point to the tool's path length.
void AddPathLength(TNcWriterState& st, const TVectorRecord& point);
// Takes the sister tool when the path length reached the tool life.
void CheckToolLife(TNcWriterState& st);
