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

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

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

// The tool name (tool-change code 2: the control calls tools by name) or
// the tool word.
std::string ToolNameOrWord(TNcWriterState& st) {
  if (GetDialectRecord(st.Machine, st.Machine.CurrentDialect).ToolChangeCode == 2)
    return "G00 C" + TrimRight(st.FirstToolName);
  return FormatToolWord(st);
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
  auto none = [](auto&& act) {
    return [act]() {
      act();
      return std::string();
    };
  };
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
          {"atTXY", none([&] {
             st.LastPos.x = st.TargetPos.x;
             st.LastPos.y = st.TargetPos.y;
           })},
          {"at00", none([&] {
             st.LastPos.x = 0.0f;
             st.LastPos.y = 0.0f;
           })},
          {"atSXY", none([&] {
             st.LastPos.x = RoundedToNcResolution(st, st.Machine.StartX);
             st.LastPos.y = RoundedToNcResolution(st, st.Machine.StartY);
           })},
          {"atEXY", none([&] {
             st.LastPos.x = RoundedToNcResolution(st, st.Machine.EndX);
             st.LastPos.y = RoundedToNcResolution(st, st.Machine.EndY);
           })},
          {"atSZ", none([&] { st.LastPos.z = -st.Machine.SafeZ; })},
          {"-SZ", [&] { return Fmt(st, -st.Machine.SafeZ); }},
          {"SX", [&] { return Fmt(st, st.Machine.StartX); }},
          {"SY", [&] { return Fmt(st, st.Machine.StartY); }},
          {"EX", [&] { return Fmt(st, st.Machine.EndX); }},
          {"EY", [&] { return Fmt(st, st.Machine.EndY); }},
          {"RD", [&] { return Fmt(st, st.Machine.RotaryDiameter); }},
          {"RD3", [&] { return FormatRealText(0, 3, st.Machine.RotaryDiameter); }},
          {"RR3", [&] { return FormatRealText(0, 3, st.Machine.RotaryDiameter / 2.0f); }},
          {"N2",
           [&] {
             const std::string n = std::to_string(st.LastToolStation);
             return n.size() == 1 ? "0" + n : n;
           }},
          {"Npre", [&] { return st.Machine.BlockNumbering == 0 ? "N" + std::to_string(st.LastToolStation) + " " : ""; }},
          {"Hold", [&] { return FormatToolOffsetWord(st.LastToolStation); }},
          {"next", [&] { return FormatNextToolWord(st); }},
          {"toolName", [&] { return ToolNameOrWord(st); }},
          {"ptp", [&] { return "PTP {" + w + "}"; }},
          {"take:coolantKept", none([&] {
             const uint8_t pending = st.CoolantPending;
             TakeNewTool(st);
             st.CoolantPending = pending;
           })},
          {"take:station", none([&] { st.LastToolStation = st.ToolStation; })},
          {"take:speed", none([&] { st.LastSpindleSpeed = st.SpindleSpeed; })},
          {"compOff", none([&] { st.CompensationOn = 0; })},
          {"compOn", none([&] { st.CompensationOn = 1; })},
          {"circleOff", none([&] { st.CircleModeWritten = 0; })},
          {"coolantDue", none([&] { st.CoolantPending = 1; })},
          {"coolantDone", none([&] { st.CoolantPending = 0; })},
          {"firstMoveDone", none([&] { st.FirstMovePending = 0; })},
          {"feed85", none([&] { st.LastFeed = 0.85f; })},
          {"dwell", none([&] { WriteSpindleRampDwell(st); })},
          {"dwellDialect", none([&] { WriteDialectDwell(st); })},
          {"axisDecl", none([&] { WriteRotaryAxisDeclaration(st); })},
          {"cycleCall", none([&] { WriteCycleCallBlock(st); })},
          {"measuring", none([&] { WriteMeasuringBlocks(st); })},
          {"toolUse", none([&] { WriteToolUseCondition(st); })},
          {"macroVars", none([&] { WriteToolMacroVariables(st); })},
      },
      {
          {"comp", [&] { return st.CompensationOn != 0; }},
          {"noComp", [&] { return st.CompensationOn == 0; }},
          {"circle", [&] { return st.CircleModeWritten != 0; }},
          {"rotaryOn", [&] { return st.RotaryOn != 0; }},
          {"rotaryActive", [&] { return st.RotaryActive != 0; }},
          {"rotaryInactive", [&] { return st.RotaryActive == 0; }},
          {"cylinder", [&] { return st.RotaryIncremental != 0; }},
          {"face", [&] { return st.RotaryIncremental == 0; }},
          {"w", [&] { return !w.empty(); }},
          {"startSet", [&] { return IsNcStartPositionSet(st.Machine); }},
          {"parkSet", [&] { return IsNcParkPositionSet(st.Machine); }},
          {"noStart", [&] { return !IsNcStartPositionSet(st.Machine); }},
          {"m6", [&] { return !GetToolChangeCode(st).empty(); }},
          {"offSZ", [&] { return OffSafeZ(st, 0.001f); }},
          {"farOffSZ", [&] { return OffSafeZ(st, 0.01f); }},
          {"notFirstMove", [&] { return st.FirstMovePending == 0; }},
          {"splitCall", [&] { return GetDialectRecord(st.Machine, st.Dialect).ToolChangeCode == 4; }},
          {"wholeCall", [&] { return GetDialectRecord(st.Machine, st.Dialect).ToolChangeCode != 4; }},
          {"station1000", [&] { return st.ToolStation <= 1000; }},
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
