// Circular arcs of the tool path in the form of the run's dialect: G2/G3
// with centre words, the controllers' own circle forms and the two-block
// conversational form. The arc runs from LastPos to the end point around
// the centre of the pending type-19 record, at the current depth.
#pragma once

#include "machine/nc_writer_state.h"

// Writes one arc; centre.z != 0 means counter-clockwise. The end point is
// rounded to the dialect's arc resolution and stored back into end.
void WriteNcArc(TNcWriterState& st, const TVectorRecord& centre, TVectorRecord& end, float feed);

// The length of the arc from (startX, startY) to end around centre; an arc
// whose end is its start is a full circle.
float ComputeArcLength(const TVectorRecord& centre, float startX, float startY,
                       const TVectorRecord& end, bool ccw);
// The point of the arc at half its sweep.
TVectorRecord ComputeArcMidPoint(const TVectorRecord& centre, float startX, float startY,
                                 const TVectorRecord& end, bool ccw);
void RoundArcCoordinate(const TNcWriterState& st, float& v);
// " X"/" Y" words of the arc end (rounded in place) that changed.
void FormatArcEndWords(TNcWriterState& st, TVectorRecord& end, std::string& text);
