// The end of an NC program. The dialects' ends are rows of
// machine/nc_dialect_end.cpp; this file holds the pieces they name.
#include "machine/nc_program_end.h"

#include <string>

#include "machine/nc_blocks.h"
#include "machine/nc_dialect_end.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_sequences.h"
#include "machine/nc_settings.h"
#include "machine/nc_words.h"

namespace {

// A rapid move to a position; the move writers position from TargetPos.
void RapidTo(TNcWriterState& st, const TVectorRecord& target, const std::string& words) {
  st.TargetPos = target;
  WriteRapidMove(st, words);
}

// No tool change by the end moves.
void KeepTool(TNcWriterState& st) { st.LastToolStation = st.ToolStation; }

void WriteRetract(TNcWriterState& st, const char* extraWords) {
  KeepTool(st);
  TVectorRecord target = st.LastPos;
  target.z = -st.Machine.SafeZ;
  const TVectorRecord place = target;
  const std::string words = FormatPointWords(st, target);
  RapidTo(st, place, words + extraWords);
}

// Dialects without a retract keep LastPos as it is, so that the park move
// still carries its Z word and never travels at the cutting depth.
void WriteParkMove(TNcWriterState& st, bool zKnown) {
  const TNcSettings& m = st.Machine;
  if (!IsNcParkPositionSet(m)) return;
  if (zKnown) st.LastPos.z = -m.SafeZ;
  TVectorRecord target = st.LastPos;
  target.x = m.EndX;
  target.y = m.EndY;
  target.z = -m.SafeZ;
  const TVectorRecord place = target;
  RapidTo(st, place, FormatPointWords(st, target));
}

// A word written once while a mode is on; writing it ends the mode.
template <typename TMode>
std::string EndMode(TMode& mode, const char* word) {
  if (mode == 0) return "";
  mode = 0;
  return word;
}

}  // namespace

void WriteNcProgramEnd(TNcWriterState& st) {
  // After a write failure the program stays visibly cut: no end is added.
  if (st.WriteFailed != 0) return;
  st.RotaryActive = 0;  // the end moves are written without the rotary replacement
  const TNcEndRow& row = NcEndRow(st.Dialect);
  WriteNcSequence(
      st, row.Sequence,
      {
          NcAction("retract", [&] { WriteRetract(st, row.RetractWords); }),
          NcAction("keep", [&] { KeepTool(st); }),
          NcAction("park", [&] { WriteParkMove(st, false); }),
          NcAction("parkXY", [&] { WriteParkMove(st, true); }),
          NcAction("put", [&] { st.LastToolStation = 0; }),
          {"HCI", [&] { return EndMode(st.CircleModeWritten, "HCI"); }},
          {"M48", [&] { return EndMode(st.FixtureStation, "M48"); }},
          {"M22", [&] { return EndMode(st.ApproachCodeWritten, "M22"); }},
          NcAction("B0C0", [&] { WriteRapidMove(st, " B0 C0"); }),
          {"userline", [&] { return ReadNcString(st.Machine.ProgramStartChar, 16); }},
          NcAction("insert", [&] { CopyInsertFile(st, "ErgaenzEnde.PGM"); }),
          {"end", [&] { return std::string(st.Machine.ProgramEndCode == 2 ? "M99" : "M30"); }},
      },
      {
          {"direct", [&] { return st.Machine.ApproachBeforeRapid == 0; }},
      });
}
