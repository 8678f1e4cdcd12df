// Dialect sequences as text. Where dialects differ only in which blocks they
// write and in what order (tool change, set-up, program end), each keeps its
// sequence as one string in its row, and WriteNcSequence writes it.
//
// A sequence is a list of blocks separated by '|'. Each block is written
// through WriteNcBlock (numbered, with the dialect's line end; a block that
// comes out empty is left out). Inside a block:
//   {name}   the text of the piece `name`, evaluated when the block is built,
//            left to right, so the side effects of the word writers (tool
//            taken over, coolant due, last position) happen in block order
//   ?name:   at the start of a block: the block is written only while the
//            condition `name` holds (checked when the block is reached)
//   ~        at the start of a block: the text is appended as it is, with
//            the line end but without a block number
//   ^        at the start of a block: the text is appended as it is, without
//            line end or block number (trailing control characters)
// A name is looked up first in the caller's pieces, then in the common
// pieces below. An unknown name is a fault of the table and throws
// std::logic_error; the dialect tests reach every sequence.
//
// A condition written ?!name: holds where name does not.
//
// Common pieces: {T} tool word, {M6} tool-change code, {S} spindle word,
// {C} coolant word (on), {Coff} coolant words off, {F} feed word,
// {SZ} safe Z, {-SZ} safe Z where Z grows into the work, {N} station of the tool, {N2} the station in two digits,
// {next} the next-tool word, {toolName} the tool call by name or number,
// {name} the program name, {G40} " G40" once while compensation is on
// (which ends it), {lb} "{", {rb} "}", {dwell} the spindle ramp dwell
// block, {cycleCall} the cycle call block. Pieces that only act: {take}
// takes the new tool and speed over, {take:station} the new station only,
// {coolantDue} makes the coolant word due, {feed85} makes feed 0.85 the
// last one written, {at00} makes X0 Y0 the last position, {compOff} and
// {circleOff} forget the compensation and circle modes.
// Common conditions: coolant (coolant switched on, kind 1), coolantAny (any
// kind), numbered (block numbering on), startSet, parkSet (start and park
// positions set), comp (compensation on), circle (circle mode written),
// rotaryOn (a rotary diameter set), rotaryActive (the rotary axis replaces
// X or Y), cylinder (the rotary axis winds the mantle), station1000 (the
// tool station is a tool, not a drill head).
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "machine/nc_writer_state.h"

struct TNcPiece {
  std::string_view Name;
  std::function<std::string()> Text;
};

struct TNcCondition {
  std::string_view Name;
  std::function<bool()> Holds;
};

// A piece that only acts: it runs act and writes nothing.
TNcPiece NcAction(std::string_view name, std::function<void()> act);

void WriteNcSequence(TNcWriterState& st, std::string_view sequence, std::initializer_list<TNcPiece> pieces = {},
                     std::initializer_list<TNcCondition> conditions = {});

// The standing rule of every tool change: the new tool and speed are taken
// over before the first tool or spindle word, and the coolant word is due.
void TakeNewTool(TNcWriterState& st);
