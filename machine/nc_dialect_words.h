// The words of the NC dialects as data: one row per dialect (0..100) says
// how its numbers are written, how its blocks are numbered and ended, which
// letters and signs its axis words take, and how it writes the tool, the
// tool-change code, the spindle speed, the feed and the coolant. The block
// and word writers (nc_blocks.cpp, nc_words.cpp) read the row of st.Dialect;
// the few forms no column can say are kinds whose code stands there.
#pragma once

#include <cstdint>

// How a number (mm in, as the writer holds it) is written.
enum TNcNumberForm : uint8_t {
  kNcMm3,          // 3 decimals, trailing zeros and a bare point dropped ("12", "12.5")
  kNcMm3Point,     // 3 decimals, at least one kept ("12.0")
  kNcMm3Short,     // as kNcMm3, cut to 8 characters where only zeros go (0.01 mm steps)
  kNcMm2,          // always 2 decimals ("12.00")
  kNcMm4Point,     // 4 decimals, trailing zeros dropped down to the point ("12.")
  kNcMm4,          // 4 decimals, at least one kept ("12.0")
  kNcInch4,        // inch with 4 decimals, trailing zeros dropped ("0.4724", "1")
  kNcMicrometre,   // whole micrometres ("12000")
  kNcMicrometreSigned,  // whole micrometres with a sign ("+12000", "-500")
};

// How a block number is put before the block.
enum TNcNumbering : uint8_t {
  kNcNumberN,       // "N12 "
  kNcNumberBare,    // "12 " (plain-language controls)
  kNcNumberByControl,  // never written; the control numbers its blocks itself
  kNcNumberColon,   // ":120 ", in tens; ":12 " when the mode already counts in tens
};

// Which point words a move writes.
enum TNcPointWords : uint8_t {
  kNcModalWords,        // only the words whose value changed
  kNcAllWords,          // X, Y and Z in every move
  kNcAllWordsWhenMoved, // X, Y and Z in every move that moves; none when it stays
  kNcKukaWords,         // "X 1, Y 2, Z 3": blank after the letter, comma between words
};

// How the tool word is made.
enum TNcToolWord : uint8_t {
  kNcToolNone,       // no tool word: the tool is changed by hand
  kNcToolNumber,     // prefix, station (zero padded to ToolDigits), suffix
  kNcToolCallFeed,   // as kNcToolNumber; the next feed block also writes G27
  kNcToolOffset,     // as kNcToolNumber and the length offset " D" of the same number
  kNcToolZeroOnM66,  // "T0" when dialect 2's tool-change code is M66, else as kNcToolNumber
  kNcToolTurrets,    // stations from 1000 on are the second turret, "TT" and station - 1000
  kNcToolDrillHead,  // stations from 1000 on are spindles of the drill head
  kNcToolMazak,      // the Mazak tool number of the tool-format bits
  kNcToolName,       // T="name" of the tool
};

// How the spindle speed is written.
enum TNcSpeedWord : uint8_t {
  kNcSpeedNone,      // no spindle word: the speed is set at the machine
  kNcSpeedInteger,   // whole turns per minute
  kNcSpeedNumber,    // whole turns per minute in the dialect's number form
  kNcSpeedPercent,   // percent of 54000 turns per minute
  kNcSpeedCapped,    // number form, at most 127 turns per minute (with a warning once)
  kNcSpeedKosy,      // U and tenths of 240 turns per minute, 4800..60000
};

// The unit of the feed word (the writer holds feeds in m/min).
enum TNcFeedUnit : uint8_t {
  kNcFeedNone,           // no feed word: the feed is the control's
  kNcFeedMPerMin,        // m/min
  kNcFeedMmPerMin,       // mm/min
  kNcFeedMmPerSec,       // mm/s
  kNcFeedTenthMmPerSec,  // 0.1 mm/s
  kNcFeedUmPerSec,       // micrometres per second
};

struct TNcWordsRow {
  // Numbers and blocks.
  TNcNumberForm Number;
  const char* WholeSuffix;   // added to a number written without a point
  const char* LineEnd;
  int32_t FirstBlock;        // first block number
  int32_t BlockLimit;        // highest block number; numbering starts again at 1
  TNcNumbering Numbering;
  uint8_t NumberDigits;      // zero-padded digits when every block is numbered, 0 plain
  uint8_t SparseDigits;      // the same when only tool blocks or moves are numbered
  // Axis words: letter and sign of the program's X, Y and Z; ZWord "" writes
  // no Z (the program's Z is the depth negated, sign -1).
  const char* XWord;
  int8_t XSign;
  const char* YWord;
  int8_t YSign;
  const char* ZWord;
  int8_t ZSign;
  TNcPointWords Points;
  const char* WoundZWord;   // the Z word while the rotary axis is wound incrementally
  bool ZToolOffset;         // the Z word carries the tool's length offset D+nn
  bool RotaryZFirst;        // with a rotary axis, Z is written before Y
  bool RotaryEveryY;        // with a rotary axis, Y is written in every move
  bool AngleWords;          // writes the A, B, C angles of the tool
  // Tool word and tool-change code.
  TNcToolWord Tool;
  const char* ToolPrefix;
  const char* ToolSuffix;
  uint8_t ToolDigits;
  bool NextToolWord;        // the block of a tool change also names the next tool
  bool ChangeCodes;         // false: no tool-change code at all
  const char* ChangeM6;     // the code for tool-change code 1
  const char* ChangeNone;   // the code for tool-change code 3 (none)
  // Spindle, feed and coolant.
  TNcSpeedWord Speed;
  const char* SpeedPrefix;
  const char* SpeedSuffix;
  TNcFeedUnit Feed;
  bool FeedWhole;           // the feed as a whole number, not in the number form
  const char* FeedPrefix;
  bool MacroWords;          // speed and feed as macro variables when the record asks
  const char* CoolantOn;
  const char* CoolantOff;
  const char* CoolantOnM7;  // coolant kind 2; nullptr: CoolantOn
  const char* CoolantOnM50; // coolant kind 3; nullptr: CoolantOn
  bool CoolantCodes;        // M8/M9 with the M50/M52 pairs of the dialect's record
};

// The row of a dialect; codes outside 0..100 get the generic dialect's row.
const TNcWordsRow& NcWordsRow(int dialect);

// The output resolution of a number form, steps per mm.
double NcNumberSteps(TNcNumberForm form);
