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
// Common pieces: {T} tool word, {M6} tool-change code, {S} spindle word,
// {C} coolant word (on), {Coff} coolant words off, {F} feed word,
// {SZ} safe Z, {N} station of the tool, {take} takes the new tool and speed
// over (writes nothing). Common conditions: coolant (coolant switched on),
// numbered (block numbering on).
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

void WriteNcSequence(TNcWriterState& st, std::string_view sequence, std::initializer_list<TNcPiece> pieces = {},
                     std::initializer_list<TNcCondition> conditions = {});

// The standing rule of every tool change: the new tool and speed are taken
// over before the first tool or spindle word, and the coolant word is due.
void TakeNewTool(TNcWriterState& st);
