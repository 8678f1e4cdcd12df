// Tool-change sequences of the NC dialects. The sequences themselves are the
// rows of machine/nc_dialect_tool_change.cpp; this file supplies the pieces
// and conditions they use beyond the common ones and writes what follows a
// sequence (the plain rapid to the target, the feed word due again).
#include "machine/nc_tool_change.h"

#include <cmath>

#include "machine/nc_blocks.h"
#include "machine/nc_dialect_tool_change.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_sequences.h"
#include "machine/nc_settings.h"
#include "machine/nc_words.h"
#include "ui/common_dialogs.h"

namespace {

std::string Fmt(const TNcWriterState& st, float v) { return FormatNcNumber(st, v); }

// " X.. Y.. Z.." of the target with X, Y and Z rounded; the target is then
// the last position. The Z is written in the dialect's sense (height above
// the work) and never lower than the clearance level: a rapid after a tool
// change must not end inside the material.
std::string TargetXYZWords(TNcWriterState& st) {
  TVectorRecord& t = st.TargetPos;
  t.x = RoundedToNcResolution(st, t.x);
  t.y = RoundedToNcResolution(st, t.y);
  if (t.z > -st.ClearanceHeight) t.z = -st.ClearanceHeight;
  t.z = RoundedToNcResolution(st, t.z);
  st.LastPos = t;
  return FormatXWord(st, t.x) + FormatYWord(st, t.y) + " Z" + Fmt(st, -t.z);
}

void WriteMeasuringBlocks(TNcWriterState& st) {
  const char* g59 = st.Machine.ZeroOffsetG59 == 1 ? "G59 P3" : ";G59 P3";
  if (st.Machine.ToolMeasuring == 1) {
    WriteNcBlock(st, "G383");
    WriteNcBlock(st, "G79");
    WriteNcBlock(st, g59);
  } else if (st.Machine.ToolMeasuring == 2) {
    WriteNcBlock(st, "G188");
    WriteNcBlock(st, "G79");
    WriteNcBlock(st, g59);
  }
}

// The approach words w of a sequence that moved in X/Y itself: w was formed
// against the position before the change, so a word the old position made
// unnecessary may be missing. When w moves in X/Y, both X and Y of the
// target are written and become the last X and Y; otherwise w stays.
std::string ApproachAfterOwnMoves(TNcWriterState& st, const std::string& w) {
  const std::string x = FormatXWord(st, st.TargetPos.x);
  const std::string y = FormatYWord(st, st.TargetPos.y);
  std::string rest = w;
  bool moves = false;
  for (const std::string& word : {x, y}) {
    const bool whole = rest.size() == word.size() || (rest.size() > word.size() && rest[word.size()] == ' ');
    if (!word.empty() && rest.compare(0, word.size(), word) == 0 && whole) {
      rest.erase(0, word.size());
      moves = true;
    }
  }
  if (!moves) return w;
  st.LastPos.x = st.TargetPos.x;
  st.LastPos.y = st.TargetPos.y;
  return x + y + rest;
}

// The last Z is off the safe Z by more than the tolerance.
bool OffSafeZ(const TNcWriterState& st, float tolerance) {
  return std::fabs(st.LastPos.z + st.Machine.SafeZ) > tolerance;
}

void WriteSequence(TNcWriterState& st, const char* sequence, const std::string& w) {
  std::string xyzSplitZ;  // the Z word of {XYZ:xy}, written by {XYZ:z}
  WriteNcSequence(
      st, sequence,
      {
          {"w", [&] { return w; }},
          {"wXY", [&] { return ApproachAfterOwnMoves(st, w); }},
          {"W*", [&] { return st.RotaryActive != 0 ? " Y" + Fmt(st, st.Machine.StartY) + w : w; }},
          {"XY", [&] { return FormatXYWords(st, st.TargetPos); }},
          {"XYZ", [&] { return TargetXYZWords(st); }},
          {"XYZ:xy",
           [&] {
             const std::string xyz = TargetXYZWords(st);
             const size_t zAt = xyz.rfind(" Z");
             xyzSplitZ = xyz.substr(zAt);
             return xyz.substr(0, zAt);
           }},
          {"XYZ:z", [&] { return xyzSplitZ; }},
          {"TX", [&] { return Fmt(st, st.TargetPos.x); }},
          {"TY", [&] { return Fmt(st, st.TargetPos.y); }},
          {"TXY", [&] { return FormatXWord(st, st.TargetPos.x) + FormatYWord(st, st.TargetPos.y); }},
          NcAction("atTXY", [&] {
             st.LastPos.x = st.TargetPos.x;
             st.LastPos.y = st.TargetPos.y;
           }),
          NcAction("atSXY", [&] {
             st.LastPos.x = RoundedToNcResolution(st, st.Machine.StartX);
             st.LastPos.y = RoundedToNcResolution(st, st.Machine.StartY);
           }),
          NcAction("atEXY", [&] {
             st.LastPos.x = RoundedToNcResolution(st, st.Machine.EndX);
             st.LastPos.y = RoundedToNcResolution(st, st.Machine.EndY);
           }),
          NcAction("atSZ", [&] { st.LastPos.z = -st.Machine.SafeZ; }),
          {"SX", [&] { return Fmt(st, st.Machine.StartX); }},
          {"SY", [&] { return Fmt(st, st.Machine.StartY); }},
          {"EX", [&] { return Fmt(st, st.Machine.EndX); }},
          {"EY", [&] { return Fmt(st, st.Machine.EndY); }},
          {"RD", [&] { return Fmt(st, st.Machine.RotaryDiameter); }},
          {"RD3", [&] { return FormatRealText(0, 3, st.Machine.RotaryDiameter); }},
          {"RR3", [&] { return FormatRealText(0, 3, st.Machine.RotaryDiameter / 2.0f); }},
          {"Npre", [&] { return st.Machine.BlockNumbering == 0 ? "N" + std::to_string(st.LastToolStation) + " " : ""; }},
          {"Hold", [&] { return FormatToolOffsetWord(st.LastToolStation); }},
          {"ptp", [&] { return "PTP {" + w + "}"; }},
          NcAction("take:coolantKept", [&] {
             const uint8_t pending = st.CoolantPending;
             TakeNewTool(st);
             st.CoolantPending = pending;
           }),
          NcAction("take:speed", [&] { st.LastSpindleSpeed = st.SpindleSpeed; }),
          NcAction("compOn", [&] { st.CompensationOn = 1; }),
          NcAction("coolantDone", [&] { st.CoolantPending = 0; }),
          NcAction("firstMoveDone", [&] { st.FirstMovePending = 0; }),
          NcAction("dwellDialect", [&] { WriteDialectDwell(st); }),
          NcAction("axisDecl", [&] { WriteRotaryAxisDeclaration(st); }),
          NcAction("measuring", [&] { WriteMeasuringBlocks(st); }),
          NcAction("toolUse", [&] { WriteToolUseCondition(st); }),
          NcAction("macroVars", [&] { WriteToolMacroVariables(st); }),
      },
      {
          {"w", [&] { return !w.empty(); }},
          {"m6", [&] { return !GetToolChangeCode(st).empty(); }},
          {"offSZ", [&] { return OffSafeZ(st, 0.001f); }},
          {"farOffSZ", [&] { return OffSafeZ(st, 0.01f); }},
          {"notFirstMove", [&] { return st.FirstMovePending == 0; }},
          {"splitCall", [&] { return GetDialectRecord(st.Machine, st.Dialect).ToolChangeCode == 4; }},
          {"axisDecl55", [&] { return st.Machine.Dialect55Mode != 1; }},
      });
}

}  // namespace

// --- entry points ------------------------------------------------------------------------

bool HasGCodeToolChange(int dialect) {
  if (dialect < 0 || dialect > kNcGenericDialect) return false;
  const TNcToolChangeRow& row = NcToolChangeRow(dialect);
  return row.GCode && row.Sequence != nullptr;
}

bool WriteToolChangeSequence(TNcWriterState& st, const std::string& w) {
  if (st.Dialect > kNcGenericDialect) return false;
  const TNcToolChangeRow& row = NcToolChangeRow(st.Dialect);
  if (row.Sequence == nullptr) return false;
  WriteSequence(st, row.Sequence, w);
  // Sequences that leave the approach out would let the next move start
  // (and plunge) at the old X/Y; they position with the plain rapid block.
  if (row.ApproachAfter && !w.empty()) WritePlainRapidBlock(st, w);
  if (row.FeedReset) st.LastFeed = 0.0f;
  return true;
}
