// The tool-change sequences of the NC dialects as data: one row per dialect
// with its sequence as text for WriteNcSequence (machine/nc_sequences.h) and
// the two things that happen after it.
//
// Besides the common pieces and conditions of nc_sequences.h a tool-change
// sequence may use these, supplied by WriteToolChangeSequence:
//   {w}      the approach words of the target, as the caller formed them
//   {wXY}    {w} for a sequence that moved in X/Y itself: when {w} moves in
//            X/Y, with both X and Y of the target (they become the last X, Y)
//   {W*}     {w} with " Y" + start Y in front while the rotary axis is in use
//   {XY}     X and Y of the target, rounded; they become the last X and Y
//   {XYZ}    X, Y and Z of the target, Z as height above the work and never
//            below the clearance level; the target becomes the last position
//   {XYZ:xy} {XYZ:z}  the same, split in its X Y part and its Z word
//   {TX} {TY} X and Y of the target as numbers; {TXY} their axis words
//   {atTXY}  the target's X and Y become the last X and Y (writes nothing)
//   {atSXY} {atEXY}  the start or end position becomes the last X and Y
//   {atSZ}   the safe Z becomes the last Z (writes nothing)
//   {SX} {SY} {EX} {EY} start and end position; {RD} rotary diameter;
//   {RD3} {RR3} rotary diameter and radius with three decimals
//   {Npre}   "N" + station in front of the tool call while block numbering
//            is off
//   {Hold}   the length-offset word of the tool before the change
//   {ptp}    the point-to-point block
//   {take:coolantKept}  takes the new tool over, the coolant due stays
//   {take:speed}        takes the new speed over (not the station)
//   {compOn}            radius compensation on (writes nothing)
//   {coolantDone}       the coolant word is not due
//   {firstMoveDone}     the first move is no longer pending
//   {dwellDialect} {axisDecl} {measuring} {toolUse}
//   {macroVars}         write the blocks of those writers (machine/nc_words.h)
// and, besides the common conditions (comp, circle, rotaryOn, rotaryActive,
// cylinder, startSet, parkSet, station1000), the conditions w (approach
// words given), m6 (the change code is not empty), offSZ and farOffSZ (the
// last Z is more than 0.001 or 0.01 away from the safe Z), notFirstMove,
// splitCall (tool call split from its change code), axisDecl55 (dialect 55
// declares its rotary axis).
#pragma once

struct TNcToolChangeRow {
  bool GCode;              // the sequence is one of the G-code family
  const char* Sequence;    // the blocks; nullptr: no tool-change blocks
  bool ApproachAfter;      // the plain rapid block to the target follows
  bool FeedReset;          // the next feed block writes its feed word again
};

// The row of a dialect; a dialect outside 0..100 gets the row of 0.
const TNcToolChangeRow& NcToolChangeRow(int dialect);
