// Approach, clearance and axis-index moves of the NC writer.
#include "machine/nc_approach.h"

#include <string>

#include "machine/nc_blocks.h"
#include "machine/nc_dialect_rapids.h"
#include "machine/nc_feed_moves.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_words.h"

void WriteClearanceMove(TNcWriterState& st) {
  const float a = st.ClearanceHeight;
  if (st.LastPos.z != -a) {
    const TNcRapidsRow& row = NcRapidsRow(st.Dialect);
    if (row.ClearanceWord != nullptr) {
      const bool onX = (row.Traits & kNcRotaryIncremental) != 0 && st.RotaryIncremental != 0;
      std::string w = (onX ? " X" : row.ClearanceWord) + FormatNcNumber(st, a * row.ZUp);
      if ((row.Traits & kNcAngleWords) != 0) w += FormatAngleWords(st, st.ContourAngles);
      if ((row.Traits & kNcClearanceToolOffset) != 0) w += FormatToolOffsetWord(st.ToolStation);
      WriteRapidMove(st, w);
      if (row.RetractCode != nullptr && st.ApproachCodeWritten != 0) {
        WriteNcBlock(st, row.RetractCode);
        st.ApproachCodeWritten = 0;
      }
    }
    st.LastPos.z = -a;
  }
  st.TargetPos.z = -a;
}

void WriteApproachMove(TNcWriterState& st, float depth) {
  if (st.NeedApproach == 0 && st.After3DPoint == 0) return;
  const TNcRapidsRow& row = NcRapidsRow(st.Dialect);
  if (st.NeedApproach != 0) {
    WriteClearanceMove(st);
    std::string w = FormatPointWords(st, st.TargetPos);
    const bool sideChosen = st.CompensationSide == 2 || st.CompensationSide == 3;
    if (row.Comp == kNcCompWords && sideChosen) {
      w += st.CompensationSide == 2 ? " G41" : " G42";
      st.CompensationOn = 1;
    } else if (row.Comp == kNcCompTip && st.TipCompensation != 0) {
      w += " G41";
      st.CompensationOn = 1;
    }
    if ((row.Traits & kNcAngleWords) != 0) w += FormatAngleWords(st, st.ContourAngles);
    WriteRapidMove(st, w);
    if (row.Comp == kNcCompBlock && sideChosen) {
      WriteNcBlock(st, st.CompensationSide == 2 ? "G41" : "G42");
      st.CompensationOn = 1;
    }
  } else {
    st.TargetPos = st.LastPos;  // the cut goes on from where the 3D points ended
  }
  if (depth > st.TargetPos.z || st.After3DPoint != 0) {
    if (row.PlungeCode != nullptr) {
      st.LastFeed = 0.0f;
      const bool fixture = (row.Traits & kNcFixtureStations) != 0 && st.ToolStation > 1000;
      if (!fixture && st.ApproachCodeWritten == 0) {
        WriteNcBlock(st, row.PlungeCode);
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
    WriteNcRapidSequence(st, NcRapidsRow(st.Dialect).Index, word);
  }
  if (NcRapidsTrait(st.Dialect, kNcIndexedAxisMode) && st.Machine.Dialect55Mode == 1) st.IndexAxisShift = record.y;
}
