// The rapid moves of the NC dialects as data: one row per dialect with the
// form of its rapid and index blocks, its clearance word and Z direction,
// how it switches radius compensation on at the approach, and what the
// record loop and the preparation of a run do differently for it.
//
// The rapid and index forms are sequences for WriteNcSequence
// (machine/nc_sequences.h). Pieces of these sequences besides the common
// ones ({G40}, {compOff}, {circleOff}, {lb} {rb} for dialect 44's PTP block):
//   {w}        the axis words of the move (each with its leading blank)
//   {xy}       the X/Y words of the target (the retract-and-position blocks)
// Conditions besides the common ones (comp, circle): coolantdue (the
// coolant word is still due), approach (the settings ask for a retract
// before every rapid).
#pragma once

#include <cstdint>

// How a dialect switches radius compensation on at the approach.
enum TNcApproachComp : uint8_t {
  kNcCompNone,   // not at all
  kNcCompWords,  // G41/G42 (compensation side 2/3) on the rapid to the start
  kNcCompTip,    // G41 on the rapid while the tip compensation was chosen
  kNcCompBlock,  // G41/G42 (compensation side 2/3) as a block after the rapid
};

// Traits of a dialect (bits of TNcRapidsRow::Traits).
constexpr uint32_t kNcAngleWords = 1u << 0;            // A/B/C tool-angle words on the contour moves
constexpr uint32_t kNcClearanceToolOffset = 1u << 1;   // the tool offset word on the clearance move
constexpr uint32_t kNcRotaryIncremental = 1u << 2;     // the rotary axis is written incrementally (on X)
constexpr uint32_t kNcRapidForgetsFeed = 1u << 3;      // the feed word is due again after a rapid
constexpr uint32_t kNcDepthOffset = 1u << 6;           // depths less the control's Z offset, never above 0
constexpr uint32_t kNcFixtureStations = 1u << 7;       // stations over 1000 are fixture positions
constexpr uint32_t kNcIndexedAxisMode = 1u << 8;       // with Dialect55Mode 1: indexed axis, centres, DIN inserts
constexpr uint32_t kNcSkipsStandingPoints = 1u << 9;   // a line point where the tool stands is left out
constexpr uint32_t kNcContourCycleFile = 1u << 10;     // Zyklus.PGM is copied in at each contour start
constexpr uint32_t kNcTurnedJob = 1u << 11;            // the job is turned before output
constexpr uint32_t kNcNoToolChangeBlocks = 1u << 12;   // a new tool is taken over without any block
constexpr uint32_t kNcNoRotaryOutput = 1u << 13;       // the rotary axis is never written
constexpr uint32_t kNcAskToolChanger = 1u << 14;       // asks for the tool changer (not in auto mode)
constexpr uint32_t kNcQuarterArcs = 1u << 15;          // fitted arcs stay below a quarter circle
constexpr uint32_t kNcFineArcGrid = 1u << 16;          // the arc fitting snaps to 0.0001 mm
constexpr uint32_t kNcNeverNumbered = 1u << 17;        // blocks are never numbered
constexpr uint32_t kNcAlwaysNumbered = 1u << 18;       // blocks are numbered even when numbering is off
constexpr uint32_t kNcAskTipCompensation = 1u << 19;   // asks whether G41 at the tool tip is written
constexpr uint32_t kNcAskZeroPoint = 1u << 20;         // asks whether the zero point comes from VV30/VV31

struct TNcRapidsRow {
  const char* Rapid;           // sequence of a rapid move
  const char* Index;           // sequence of the turn of the rotary axis to an index angle
  const char* ClearanceWord;   // word before the clearance number; nullptr: no clearance move
  int8_t ZUp;                  // 1: a larger Z is higher; -1: a larger Z goes into the work
  TNcApproachComp Comp;        // radius compensation at the approach
  const char* PlungeCode;      // block before the first plunge of a contour (with the feed due again)
  const char* RetractCode;     // block after the retract that ends it
  uint32_t Traits;             // kNc... bits above
};

// The row of a dialect; a dialect outside 0..100 gets the row of dialect 0.
const TNcRapidsRow& NcRapidsRow(int dialect);
// Whether the dialect has the trait (one of the kNc... bits).
bool NcRapidsTrait(int dialect, uint32_t trait);
