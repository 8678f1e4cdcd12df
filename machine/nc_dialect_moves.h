// The feed moves and arcs of every NC dialect as data: one row per dialect
// (0..100) says how a feed block is built (its linear block, where the feed,
// coolant and spindle words go), how an arc is written (its codes, the order
// and form of its centre words, the rounding of its end) and which file
// names the control takes. The canonical calls WriteFeedBlock, WriteFeedMove
// and WriteNcArc read the row of the run's dialect.
#pragma once

#include <cstdint>

// Where the feed word of a feed block goes when the feed changed.
enum TNcFeedWordForm : uint8_t {
  kFeedAppend,    // behind the axis words
  kFeedBlock,     // a block of its own before the move
  kFeedToolCall,  // behind the axis words, after " G27" on the first feed of a tool call
  kFeedPiece,     // the {fp} piece of the linear block
  kFeedNone,      // no feed words at all (the generator sets the feed)
};

// How the due coolant word is written with the first feed block.
enum TNcCoolantForm : uint8_t {
  kCoolAppend,     // behind the axis words
  kCoolBlock,      // a block of its own before the move
  kCoolBlockIfOn,  // a block of its own while the coolant is switched on
  kCoolG0Block,    // "G0" block with the word, then the move as a "G1" block of its own
  kCoolPiece,      // the {mp} piece of the linear block
  kCoolDrop,       // no word; the coolant is no longer due
  kCoolNone,       // no word; stays due
};

// How a changed spindle speed is written with a feed block.
enum TNcSpindleForm : uint8_t {
  kSpindleAppend,    // the word behind the axis words
  kSpindleAppendM3,  // the word and M3 behind the axis words
  kSpindleBlock,     // the row's SpindleBlock sequence before the move ({S} the word)
  kSpindlePiece,     // the {sp} piece of the linear block
  kSpindleNone,      // nothing
};

// The order and form of the words of an arc block.
enum TNcArcForm : uint8_t {
  kArcCentreFirst,   // code, centre words, end words
  kArcEndFirst,      // code, end words, centre words
  kArcNegatedIK,     // end words, then I (negated centre X) and K (centre Y)
  kArcSplitWords,    // X, I, Y, J interleaved, the end at the move resolution
  kArcSwappedAc,     // K=AC(x) J=AC(-y) before the end words (cylinder surface)
  kArcAc,            // I=AC(x) J=AC(y) before the end words
  kArcCobalm,        // X, centre X, Y, centre Y and Z as plain numbers
  kArcKuka,          // CIRC {mid point},{end point}
  kArcCircleCentre,  // a CC block with the centre, then a C block with the end and DR+/DR-
};

// The centre words of kArcCentreFirst and kArcEndFirst: absolute (the
// centre) or incremental (from the arc start), in the dialect's number
// format (N) or with three or four fixed decimals (D3, D4).
enum TNcCentreForm : uint8_t {
  kCentreAbsN,
  kCentreAbsD3,
  kCentreAbsD4,
  kCentreIncN,
  kCentreIncD3,
  kCentreIncD4,
  kCentreOwn,  // the arc form writes its centre itself
};

// The names of the NC file the control takes.
enum TNcNameRule : uint8_t {
  kNameAny,
  kNameDigits,   // digits only
  kNameONumber,  // "O" and up to four digits
};

// Traits of a row, or-ed.
enum TNcMovesTraits : uint16_t {
  kMovesRWords = 1,               // " F" and " M" stand in the L block when nothing is due
  kMovesAngleWords = 2,           // the angle words of the tool follow the axis words
  kMovesHeadChange = 4,           // a change of the tool head (station > 1000) before a feed block
  kMovesCircleMode = 8,           // "SCI" before the first move block of the run
  kMovesBothEndWords = 16,        // the arc end writes X and Y even where unchanged
  kMovesFormat1Absolute = 32,     // arc format 1 makes the centres absolute (kCentreAbsD4, centre first)
  kMovesCoarseArcs = 64,          // arc ends rounded to 0.001 mm, else 0.0001 mm
  kMovesCentreModeUnmarked = 128, // with centre records (Dialect55Mode 1) the arc ends are not drawn
  kMovesInchCentres = 256,        // fixed-decimal centre words in inch, as the dialect writes its axis words
};

constexpr float kNcMmPerInch = 25.4f;

// The block of kMovesCircleMode.
constexpr const char* kNcCircleModeWord = "SCI";

struct TNcArcCodes {
  const char* Cw;
  const char* Ccw;
};

struct TNcMovesRow {
  int Dialect;
  // The linear block as a sequence (machine/nc_sequences.h): pieces {w} the
  // axis words with what was appended to them, {fp} {mp} {sp} the feed,
  // coolant and spindle pieces, the common {lb} {rb} the braces; condition ?moved: the
  // words are not empty.
  const char* Linear;
  TNcFeedWordForm Feed;
  TNcCoolantForm Coolant;
  TNcSpindleForm Spindle;
  const char* SpindleBlock;  // kSpindleBlock: the sequence of the spindle change
  TNcArcCodes ArcCodes;      // the code of a clockwise and a counter-clockwise arc
  TNcArcForm Arc;
  TNcCentreForm Centre;
  TNcNameRule NameRule;
  uint16_t Traits;  // TNcMovesTraits
};

// The row of a dialect; a dialect outside 0..100 gets the generic dialect's row.
const TNcMovesRow& NcMovesRow(int dialect);
