// The set-up section of the NC program head for the G-code dialects: the
// sequences are the rows of machine/nc_dialect_setup.cpp, the pieces they
// name are here.
#include "machine/nc_setup_blocks.h"

#include "machine/nc_blocks.h"
#include "machine/nc_dialect_setup.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_sequences.h"
#include "machine/nc_settings.h"
#include "machine/nc_words.h"
#include "view/character_cells.h"

namespace {

std::string XYText(const TNcWriterState& st, float x, float y) {
  return "X" + FormatNcNumber(st, x) + " Y" + FormatNcNumber(st, y);
}

// X and Y of the first contour start; the last position follows, rounded
// to the output resolution.
std::string FirstContourStartXY(TNcWriterState& st) {
  const TVectorRecord& p = st.FirstContourStart;
  st.LastPos.x = RoundedToNcResolution(st, p.x);
  st.LastPos.y = RoundedToNcResolution(st, p.y);
  return XYText(st, p.x, p.y);
}

// A start position that is not set (-10000) must never become a move to
// -9999 mm: the start move then goes to the first contour start.
std::string StartApproachXY(TNcWriterState& st) {
  if (IsNcStartPositionSet(st.Machine)) return XYText(st, st.Machine.StartX, st.Machine.StartY);
  return FirstContourStartXY(st);
}

// The tool call of the drill heads: by name when the tool change code says
// so, else the tool word.
std::string DrillHeadToolCall(TNcWriterState& st) {
  if (GetDialectRecord(st.Machine, st.Machine.CurrentDialect).ToolChangeCode != 2) return FormatToolWord(st);
  TrimTrailingBlanks(st.FirstToolName);
  return "G00 C" + st.FirstToolName;
}

void SelectFirstTool(TNcWriterState& st) {
  st.LastToolStation = st.FirstToolStation;
  st.LastSpindleSpeed = st.FirstToolSpeed;
}

// Runs a side effect inside a sequence; the piece writes nothing.
std::string Silently(const std::function<void()>& action) {
  action();
  return "";
}

}  // namespace

bool IsGCodeSetupDialect(int dialect) { return NcSetupRow(dialect).Sequence != nullptr; }

bool WriteGCodeSetupBlocks(TNcWriterState& st) {
  const char* sequence = NcSetupRow(st.Dialect).Sequence;
  if (sequence == nullptr) return false;
  const TNcSettings& m = st.Machine;
  WriteNcSequence(
      st, sequence,
      {
          {"first", [&] { return Silently([&] { SelectFirstTool(st); }); }},
          {"station", [&] { return Silently([&] { st.LastToolStation = st.FirstToolStation; }); }},
          {"viastation", [&] { return Silently([&] {
                                st.ToolStation = st.FirstToolStation;
                                st.LastSpindleSpeed = st.FirstToolSpeed;
                              }); }},
          {"takestation", [&] { return Silently([&] { st.LastToolStation = st.ToolStation; }); }},
          {"pending", [&] { return Silently([&] { st.CoolantPending = 1; }); }},
          {"XY", [&] { return StartApproachXY(st); }},
          {"SXY", [&] { return XYText(st, m.StartX, m.StartY); }},
          {"FXY", [&] { return FirstContourStartXY(st); }},
          {"SZdown", [&] { return FormatNcNumber(st, -m.SafeZ); }},
          {"user", [&] { return ReadNcString(m.StartBlockText, 16); }},
          {"prog", [&] { return st.ProgramName; }},
          {"insert", [&] { return Silently([&] { CopyInsertFile(st, "ErgaenzKopf.PGM"); }); }},
          {"headtool", [&] { return DrillHeadToolCall(st); }},
          {"H2", [&] {
             const int32_t n = st.LastToolStation;
             return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n);
           }},
          {"next", [&] { return FormatNextToolWord(st); }},
          {"shiftz", [&] { return FormatNcNumber(st, st.LastRecord158Z); }},
          {"clearance", [&] { return FormatNcNumber(st, st.FirstToolClearance); }},
          {"atclearance", [&] { return Silently([&] { st.LastPos.z = -st.FirstToolClearance; }); }},
          {"feed850", [&] { return Silently([&] { st.LastFeed = 0.85f; }); }},
          {"nofeed", [&] { return Silently([&] { st.LastFeed = 0.0f; }); }},
          {"atorigin", [&] { return Silently([&] { st.LastPos.x = st.LastPos.y = 0.0f; }); }},
          {"cycle", [&] { return Silently([&] { WriteCycleCallBlock(st); }); }},
          {"ramp", [&] { return Silently([&] { WriteSpindleRampDwell(st); }); }},
          {"measure", [&] { return std::string(m.ToolMeasuring == 1 ? "G383" : "G188"); }},
          {"g59", [&] { return std::string(m.ZeroOffsetG59 == 1 ? "G59 P3" : ";G59 P3"); }},
      },
      {
          {"startset", [&] { return IsNcStartPositionSet(st.Machine); }},
          {"nostart", [&] { return !IsNcStartPositionSet(st.Machine); }},
          {"stationcall", [&] { return st.ToolStation <= 1000; }},
          {"anycoolant", [&] { return m.CoolantOn != 0; }},
          {"measuring", [&] { return m.ToolMeasuring == 1 || m.ToolMeasuring == 2; }},
      });
  return true;
}
