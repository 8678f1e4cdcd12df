// The program end of every NC dialect as data: one row per dialect holds the
// whole end (coolant and spindle off, retract, stop words, park move, end
// words and trailing characters) as a sequence for WriteNcSequence
// (machine/nc_sequences.h), written by WriteNcProgramEnd.
//
// Pieces of the end besides the common ones:
//   {retract}  rapid to the safe height above the last position in the
//              dialect's rapid form, carrying RetractWords; the end moves
//              make no tool change from here on
//   {keep}     the same without the move (dialects that retract otherwise)
//   {park}     rapid to the park position EndX/EndY at the safe height when
//              one is set; {parkXY} the same in X/Y only (the Z is known)
//   {put}      the tool is put away: the next {T}{M6} call station 0
//   {HCI}      "HCI" while the circle mode is written, and ends it
//   {M48}      "M48" while a fixture station is called, and clears it
//   {M22}      "M22" while the approach code is written, and clears it
//   {B0C0}     rapid of the rotary axes to B0 C0
//   {userline} the user's program end line of the settings
//   {insert}   copies the insert file ErgaenzEnde.PGM
//   {end}      M99 or M30 as the settings' program end code says
// Conditions besides the common ones (coolantAny, rotaryOn, cylinder):
// direct (no approach before the rapid).
#pragma once

struct TNcEndRow {
  const char* Sequence;      // the end, blocks separated by '|'
  const char* RetractWords;  // words the retract move carries after its axis words
};

// The row of a dialect; a dialect outside 0..100 gets the generic row.
const TNcEndRow& NcEndRow(int dialect);
