// The set-up section of each G-code dialect as data: one row per dialect
// (0..100) holding the sequence WriteGCodeSetupBlocks writes, as text for
// WriteNcSequence (machine/nc_sequences.h). The start approach goes up to
// the safe height before its first X/Y move: the tool stands at a height
// nobody knows when the program starts.
//
// Pieces of the set-up besides the common ones (machine/nc_sequences.h:
// {name}, {toolName}, {N2}, {next}, {-SZ}, {take:station}, {coolantDue},
// {feed85}, {at00}, {cycleCall}, {dwell} and the rest):
//   {first}      takes the first tool and its speed over (writes nothing)
//   {station}    takes only the first tool's station over (the speed stays)
//   {viastation} makes the first tool the current tool and takes its speed
//   {XY}         "X.. Y.." of the start position, or of the first contour
//                start when none is set (the last position follows it)
//   {SXY}        "X.. Y.." of the start position (only under ?startSet)
//   {FXY}        "X.. Y.." of the first contour start (the last position
//                follows it)
//   {user}       the user's start block text
//   {insert}     copies the user's head insert file ErgaenzKopf.PGM
//   {shiftz}     the Z of the zero shift found in the job
//   {clearance}  the first tool's clearance height
//   {atclearance} the last Z becomes that clearance (writes nothing)
//   {nofeed}     no feed written yet (writes nothing)
//   {measure}    the tool measuring cycle, {g59} its zero offset block
// Conditions besides the common ones (startSet, station1000, coolantAny):
// measuring (tool measuring 1 or 2).
#pragma once

struct TNcSetupRow {
  const char* Sequence;  // nullptr: the dialect writes no G-code set-up
};

// The row of the dialect; a dialect outside 0..100 gets the row of
// kNcGenericDialect, which writes no set-up.
const TNcSetupRow& NcSetupRow(int dialect);
