// Approach, clearance and axis-index moves of the NC writer.
#include "machine/nc_approach.h"

#include <string>

#include "machine/nc_blocks.h"
#include "machine/nc_feed_moves.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_words.h"

void WriteClearanceMove(TNcWriterState& st) {
  const float a = st.ClearanceHeight;
  if (st.LastPos.z != -a) {
    const int d = st.Dialect;
    std::string w;
    bool write = true;
    switch (d) {
      case 11: w = " Y" + FormatNcNumber(st, a); break;
      case 25: case 31: case 45: case 81: w = " Z" + FormatNcNumber(st, -a); break;
      case 32: w = (st.RotaryIncremental != 0 ? " X" : " Z") + FormatNcNumber(st, a); break;
      case 38: case 93: write = false; break;
      case 39: w = " Z" + FormatNcNumber(st, a) + FormatAngleWords(st, st.ContourAngles); break;
      case 44: w = "Z " + FormatNcNumber(st, a); break;
      case 74: w = " X" + FormatNcNumber(st, a); break;
      case 87: w = " Z" + FormatNcNumber(st, a) + FormatToolOffsetWord(st.ToolStation); break;
      default: w = " Z" + FormatNcNumber(st, a); break;
    }
    if (write) {
      WriteRapidMove(st, w);
      if ((d == 25 || d == 81) && st.ApproachCodeWritten != 0) {
        WriteNcBlock(st, "M22");
        st.ApproachCodeWritten = 0;
      }
    }
    st.LastPos.z = -a;
  }
  st.TargetPos.z = -a;
}

void WriteApproachMove(TNcWriterState& st, float depth) {
  if (st.NeedApproach == 0 && st.After3DPoint == 0) return;
  const int d = st.Dialect;
  if (st.NeedApproach != 0) {
    WriteClearanceMove(st);
    std::string w = FormatPointWords(st, st.TargetPos);
    switch (d) {
      case 5:
        if (st.CompensationSide == 2 || st.CompensationSide == 3) {
          w += st.CompensationSide == 2 ? " G41" : " G42";
          st.CompensationOn = 1;
        }
        WriteRapidMove(st, w);
        break;
      case 12:
        if (st.TipCompensation != 0) {
          w += " G41";
          st.CompensationOn = 1;
        }
        WriteRapidMove(st, w);
        break;
      case 39:
        WriteRapidMove(st, w + FormatAngleWords(st, st.ContourAngles));
        break;
      case 81:
        WriteRapidMove(st, w);
        if (st.CompensationSide == 2 || st.CompensationSide == 3) {
          WriteNcBlock(st, st.CompensationSide == 2 ? "G41" : "G42");
          st.CompensationOn = 1;
        }
        break;
      default:
        WriteRapidMove(st, w);
        break;
    }
  } else {
    st.TargetPos = st.LastPos;  // the cut goes on from where the 3D points ended
  }
  if (depth > st.TargetPos.z || st.After3DPoint != 0) {
    if (d == 25) {
      st.LastFeed = 0.0f;
      if (st.ToolStation <= 1000 && st.ApproachCodeWritten == 0) {
        WriteNcBlock(st, "M12");
        st.ApproachCodeWritten = 1;
      }
    } else if (d == 81) {
      st.LastFeed = 0.0f;
      if (st.ApproachCodeWritten == 0) {
        WriteNcBlock(st, "M12");
        st.ApproachCodeWritten = 1;
      }
    }
    st.TargetPos.z = depth;
    AddPathLength(st, st.TargetPos);
    if (depth > st.SurfaceDepth) {
      st.Plunging = 1;
      WriteFeedMove(st, st.TargetPos, st.ContourAngles, st.FeedZ);
    } else {
      st.Plunging = 0;
      WriteFeedMove(st, st.TargetPos, st.ContourAngles, st.FeedXY);
    }
    CheckToolLife(st);
  }
  st.NeedApproach = 0;
  st.After3DPoint = 0;
  st.ApproachDepth = st.SurfaceDepth;
}

void WriteAxisIndexMove(TNcWriterState& st, const TVectorRecord& record) {
  if (st.RotaryActive == 0) {
    std::string word;
    if (st.RotaryAxis >= 1 && st.RotaryAxis <= 3) {
      word = std::string(" ") + "ABC"[st.RotaryAxis - 1] + FormatNcNumber(st, record.x);
    }
    switch (st.Dialect) {
      case 1: case 42: WriteNcBlock(st, "G00" + word); break;
      case 4: WriteNcBlock(st, "R" + word); break;
      case 5: case 81:
        if (st.CompensationOn != 0) {
          WriteNcBlock(st, "G40");
          st.CompensationOn = 0;
        }
        WriteNcBlock(st, "G0" + word);
        break;
      case 9: WriteNcBlock(st, "FASTABS" + word); break;
      case 12:
        if (st.CoolantPending != 0) WriteNcBlock(st, GetCoolantWord(st));
        if (st.CompensationOn != 0) {
          WriteNcBlock(st, "G0 G40" + word);
          st.CompensationOn = 0;
        } else {
          WriteNcBlock(st, "G0" + word);
        }
        break;
      case 22: case 47: case 54: WriteNcBlock(st, "L" + word + " R FMAX M"); break;
      case 69: case 93: WriteNcBlock(st, "L" + word + " F MAX"); break;
      case 70: case 71: WriteNcBlock(st, "L" + word + " F5000"); break;
      default: WriteNcBlock(st, "G0" + word); break;
    }
  }
  if (st.Dialect == 55 && st.Machine.Dialect55Mode == 1) st.IndexAxisShift = record.y;
}
