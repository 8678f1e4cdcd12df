// The comment head of every NC dialect as data: one row per dialect 0..100
// with the marks of its comment lines, whether they are written as numbered
// blocks, and the head itself as a sequence (machine/nc_sequences.h): the
// program number forms, the lines before and after the comments and which
// comment set the dialect writes.
//
// Pieces of a head sequence besides the common ones:
//   {comments}   the whole set: title, version and export line (Set marks),
//                the rotary diameter comment (Rotary marks) and the tool
//                list (Tools marks); writes its own lines, yields nothing
//   {title}      title, version and export line alone
//   {rotary}     the rotary diameter comment alone (raw line)
//   {tools}      the tool list alone
//   {diameter}   the text of the rotary diameter (message and number)
//   {commentname} the program name inside a parenthesised comment; {P3}
//                the program number, three digits
//   {date}       the date of the run
//   {notes}      asks for the note lines and writes them
//   {paths}      the two workpiece path lines
// Conditions besides the common ones (rotaryActive, cylinder): wanted (the
// comment header is switched on in the dialect record), laser / probe /
// nomeasuring (tool measuring 1, 2, 3).
#pragma once

#include <cstdint>
#include <string>

// Comments never nest: what a text inside a comment must not hold, because
// it would open or close a comment of the same marks, and what stands for it.
enum TNcCommentGuard : uint8_t {
  kNcGuardNone,      // the comment runs to the line end: any text may stand in it
  kNcGuardParens,    // "(" and ")" of the text are written "[" and "]"
  kNcGuardBrackets,  // "[" and "]" of the text are written "(" and ")"
};

// The marks around the text of a comment line.
struct TNcCommentMarks {
  const char* Open;
  const char* Close;
  TNcCommentGuard Guard;
};

struct TNcHeaderRow {
  TNcCommentMarks Set;        // title, version and export line
  TNcCommentMarks Rotary;     // rotary diameter comment
  TNcCommentMarks Tools;      // one line per tool of the run
  bool SetBlocks;             // title, version and export line as numbered blocks
  bool ToolBlocks;            // the tool list as numbered blocks
  int16_t CommentBlocksFrom;  // 0, or the block number the comments count from (1 again after)
  const char* Head;           // the head sequence
};

// The text with the characters the guard keeps out of a comment replaced.
std::string GuardNcCommentText(TNcCommentGuard guard, std::string text);

// The row of a dialect; codes outside 0..100 get the generic row, which
// writes nothing.
const TNcHeaderRow& NcHeaderRow(int dialect);
