// Rapid moves of the NC program writer. The form of a dialect's rapid and
// index blocks is its row in machine/nc_dialect_rapids.cpp.
#include "machine/nc_rapid_moves.h"

#include "machine/nc_blocks.h"
#include "machine/nc_dialect_rapids.h"
#include "machine/nc_sequences.h"
#include "machine/nc_tool_change.h"
#include "machine/nc_words.h"

void WriteNcRapidSequence(TNcWriterState& st, const char* sequence, const std::string& w) {
  WriteNcSequence(
      st, sequence,
      {{"w", [&] { return w; }}, {"xy", [&] { return FormatXYWords(st, st.TargetPos); }}},
      {{"coolantdue", [&] { return st.CoolantPending != 0; }},
       {"approach", [&] { return st.Machine.ApproachBeforeRapid == 1; }}});
}

void WritePlainRapidBlock(TNcWriterState& st, const std::string& w) {
  if (NcRapidsTrait(st.Dialect, kNcRapidForgetsFeed)) st.LastFeed = 0.0f;
  WriteNcRapidSequence(st, NcRapidsRow(st.Dialect).Rapid, w);
}

void WriteRapidMove(TNcWriterState& st, const std::string& approachWords) {
  st.NumberNextMove = 1;
  if (st.ToolStation != st.LastToolStation) {
    if (NcRapidsTrait(st.Dialect, kNcNoToolChangeBlocks)) {
      // These controllers get no tool-change blocks. The new tool is taken
      // over so that the moves of the program are not dropped from here on.
      st.LastToolStation = st.ToolStation;
      st.LastSpindleSpeed = st.SpindleSpeed;
      if (!approachWords.empty()) WritePlainRapidBlock(st, approachWords);
      return;
    }
    if (WriteToolChangeSequence(st, approachWords)) return;
  }
  if (approachWords.empty()) return;
  WritePlainRapidBlock(st, approachWords);
}
