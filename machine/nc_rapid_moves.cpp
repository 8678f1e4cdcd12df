// Rapid moves of the NC program writer.
#include "machine/nc_rapid_moves.h"

#include "machine/nc_blocks.h"
#include "machine/nc_tool_change.h"
#include "machine/nc_words.h"

namespace {

// The retract and X/Y positioning that dialects 40 and 55 write before
// their rapid block.
void WriteRetractAndTargetXY(TNcWriterState& st) {
  WriteNcBlock(st, "G0 Z" + FormatNcNumber(st, st.Machine.SafeZ));
  WriteRapidXYBlock(st, st.TargetPos);
}

}  // namespace

void WritePlainRapidBlock(TNcWriterState& st, const std::string& w) {
  switch (st.Dialect) {
    case 1: case 25: case 30: case 33: case 36: case 42: case 45: case 51: case 52: case 72: case 87: case 98:
      WriteNcBlock(st, "G00" + w);
      break;
    case 4:
      WriteNcBlock(st, "R" + w);
      break;
    case 5:
    case 81:
      if (st.CompensationOn != 0) {
        WriteNcBlock(st, "G40");
        st.CompensationOn = 0;
      }
      WriteNcBlock(st, (st.Dialect == 5 ? "G0" : "G00") + w);
      break;
    case 9:
      WriteNcBlock(st, "FASTABS" + w);
      break;
    case 12:
      if (st.CoolantPending != 0) WriteNcBlock(st, GetCoolantWord(st));
      if (st.CompensationOn != 0) {
        WriteNcBlock(st, "G0 G40" + w);
        st.CompensationOn = 0;
      } else {
        WriteNcBlock(st, "G0" + w);
      }
      break;
    case 20: case 39: case 56:
      st.LastFeed = 0.0f;
      WriteNcBlock(st, "G0" + w);
      break;
    case 22: case 47: case 54:
      WriteNcBlock(st, "L" + w + " R FMAX M");
      break;
    case 31:
      if (st.CircleModeWritten != 0) {
        WriteNcBlock(st, "HCI");
        st.CircleModeWritten = 0;
      }
      WriteNcBlock(st, "MOV" + w);
      break;
    case 40:
      WriteRetractAndTargetXY(st);
      WriteNcBlock(st, "G0" + w);
      break;
    case 44:
      WriteNcBlock(st, "PTP {" + w + "}");
      break;
    case 55:
      if (st.Machine.ApproachBeforeRapid == 1) WriteRetractAndTargetXY(st);
      st.LastFeed = 0.0f;
      WriteNcBlock(st, "G0" + w);
      break;
    case 68: case 99:
      WriteNcBlock(st, "L" + w + " FMAX");
      break;
    case 69: case 73: case 93:
      WriteNcBlock(st, "L" + w + " F MAX");
      break;
    case 70: case 71:
      WriteNcBlock(st, "L" + w + " F5000");
      break;
    default:
      WriteNcBlock(st, "G0" + w);
      break;
  }
}

void WriteRapidMove(TNcWriterState& st, const std::string& approachWords) {
  st.NumberNextMove = 1;
  if (st.ToolStation != st.LastToolStation) {
    if (st.Dialect == 23 || st.Dialect == 36) {
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
