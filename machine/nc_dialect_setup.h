// The set-up section of each G-code dialect as data: one row per dialect
// (0..100) holding the sequence WriteGCodeSetupBlocks writes, as text for
// WriteNcSequence (machine/nc_sequences.h). The start approach goes up to
// the safe height before its first X/Y move: the tool stands at a height
// nobody knows when the program starts.
//
// Pieces of the set-up besides the common ones:
//   {first}      takes the first tool and its speed over (writes nothing)
//   {station}    takes only the first tool's station over (the speed stays)
//   {viastation} makes the first tool the current tool and takes its speed
//   {takestation} takes the current tool over as the last written one
//   {pending}    makes the coolant word due (writes nothing)
//   {XY}         "X.. Y.." of the start position, or of the first contour
//                start when none is set (the last position follows it)
//   {SXY}        "X.. Y.." of the start position (only under ?startset)
//   {FXY}        "X.. Y.." of the first contour start (the last position
//                follows it)
//   {SZdown}     the safe height for controls whose Z grows into the work
//   {user}       the user's start block text
//   {prog}       the program name
//   {insert}     copies the user's head insert file ErgaenzKopf.PGM
//   {headtool}   the tool call of the drill heads: "G00 C" + tool name when
//                the tool change code calls by name, else the tool word
//   {H2}         the station as at least two digits
//   {next}       the next tool word
//   {shiftz}     the Z of the zero shift found in the job
//   {clearance}  the first tool's clearance height
//   {atclearance} the last Z becomes that clearance (writes nothing)
//   {feed850}    the feed of the first plunge, 850 mm/min (writes nothing)
//   {nofeed}     no feed written yet (writes nothing)
//   {atorigin}   the last X and Y become 0 (writes nothing)
//   {cycle}      the cycle call block
//   {ramp}       the dwell of the spindle ramp
//   {measure}    the tool measuring cycle, {g59} its zero offset block
// Conditions: startset / nostart (a start position is set or not),
// stationcall (the first tool is called by its station, not above 1000),
// anycoolant (the coolant setting is not off), measuring (tool measuring
// 1 or 2).
#pragma once

struct TNcSetupRow {
  const char* Sequence;  // nullptr: the dialect writes no G-code set-up
};

// The row of the dialect; a dialect outside 0..100 gets the row of
// kNcGenericDialect, which writes no set-up.
const TNcSetupRow& NcSetupRow(int dialect);
