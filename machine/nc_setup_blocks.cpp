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

void SelectFirstTool(TNcWriterState& st) {
  st.LastToolStation = st.FirstToolStation;
  st.LastSpindleSpeed = st.FirstToolSpeed;
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
          NcAction("first", [&] { SelectFirstTool(st); }),
          NcAction("station", [&] { st.LastToolStation = st.FirstToolStation; }),
          NcAction("viastation", [&] {
            st.ToolStation = st.FirstToolStation;
            st.LastSpindleSpeed = st.FirstToolSpeed;
          }),
          {"XY", [&] { return StartApproachXY(st); }},
          {"SXY", [&] { return XYText(st, m.StartX, m.StartY); }},
          {"FXY", [&] { return FirstContourStartXY(st); }},
          {"user", [&] { return ReadNcString(m.StartBlockText, 16); }},
          NcAction("insert", [&] { CopyInsertFile(st, "ErgaenzKopf.PGM"); }),
          {"shiftz", [&] { return FormatNcNumber(st, st.LastRecord158Z); }},
          {"clearance", [&] { return FormatNcNumber(st, st.FirstToolClearance); }},
          NcAction("atclearance", [&] { st.LastPos.z = -st.FirstToolClearance; }),
          NcAction("nofeed", [&] { st.LastFeed = 0.0f; }),
          {"measure", [&] { return std::string(m.ToolMeasuring == 1 ? "G383" : "G188"); }},
          {"g59", [&] { return std::string(m.ZeroOffsetG59 == 1 ? "G59 P3" : ";G59 P3"); }},
      },
      {
          {"measuring", [&] { return m.ToolMeasuring == 1 || m.ToolMeasuring == 2; }},
      });
  return true;
}
