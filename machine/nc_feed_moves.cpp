// Feed moves of the NC program writer and the tool-life bookkeeping.
#include "machine/nc_feed_moves.h"

#include <cmath>

#include "frame/messages.h"
#include "frame/window_draw.h"
#include "machine/nc_blocks.h"
#include "machine/nc_dialect_moves.h"
#include "machine/nc_sequences.h"
#include "machine/nc_words.h"
#include "ui/common_dialogs.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

namespace {

constexpr size_t kFeedWordsMax = 80;
constexpr size_t kPieceMax = 19;

std::string Piece(std::string text) {
  if (text.size() > kPieceMax) text.resize(kPieceMax);
  return text;
}

// The spindle word of a feed block where the path's speed changed; the
// block form is written here, the in-block forms go into words or piece.
void WriteSpindleChange(TNcWriterState& st, const TNcMovesRow& row, std::string& words, std::string& spindlePiece) {
  st.LastSpindleSpeed = st.SpindleSpeed;
  const std::string s = FormatSpindleWord(st);
  switch (row.Spindle) {
    case kSpindleBlock:
      WriteNcSequence(st, row.SpindleBlock, {{"S", [&] { return s; }}});
      break;
    case kSpindleAppendM3:
      words += " " + s + " M3";
      break;
    case kSpindlePiece:
      spindlePiece = Piece(s);
      break;
    case kSpindleNone:
      break;
    case kSpindleAppend:
      words += " " + s;
      break;
  }
}

}  // namespace

void WriteFeedMove(TNcWriterState& st, const TVectorRecord& target, const TVectorRecord& angles, float feed) {
  std::string words;
  if (st.RotaryIncremental != 0) {
    TVectorRecord& last = st.LastPos;
    float dx = target.x - last.x;
    float dy = target.y - last.y;
    float dz = target.z - last.z;
    RoundToNcResolution(st, dx);
    RoundToNcResolution(st, dy);
    RoundToNcResolution(st, dz);
    if (dx != 0.0f) {
      words += " W" + FormatNcNumber(st, dx);
      last.x += dx;
    }
    if (dy != 0.0f) {
      words += " H" + FormatNcNumber(st, -st.RotaryFactor * dy);
      last.y += dy;
    }
    if (dz != 0.0f) {
      words += " U" + FormatNcNumber(st, -dz);
      last.z += dz;
    }
  } else {
    TVectorRecord point = target;
    words = FormatPointWords(st, point);
    if ((NcMovesRow(st.Dialect).Traits & kMovesAngleWords) != 0) words += FormatAngleWords(st, angles);
    else if (words.size() > kFeedWordsMax) words.resize(kFeedWordsMax);
  }
  WriteFeedBlock(st, words, feed);
}

void WriteFeedBlock(TNcWriterState& st, const std::string& wordsIn, float feed) {
  if (wordsIn.empty()) return;
  const TNcMovesRow& row = NcMovesRow(st.Dialect);
  const bool rWords = (row.Traits & kMovesRWords) != 0;
  std::string words = wordsIn;
  std::string feedPiece;
  std::string mPiece;
  std::string spindlePiece;

  if ((row.Traits & kMovesCircleMode) != 0 && st.CircleModeWritten == 0) {
    WriteNcBlock(st, kNcCircleModeWord);
    st.CircleModeWritten = 1;
  }

  if (st.LastSpindleSpeed != st.SpindleSpeed) WriteSpindleChange(st, row, words, spindlePiece);

  if (st.LastFeed != feed) {
    st.LastFeed = feed;
    const std::string f = FormatFeedWord(st);
    switch (row.Feed) {
      case kFeedBlock:
        WriteNcBlock(st, f);
        break;
      case kFeedToolCall:
        if (st.ToolCallFeedPending != 0) {
          words += " G27";
          st.ToolCallFeedPending = 0;
        }
        words += f;
        break;
      case kFeedPiece:
        feedPiece = Piece(f);
        break;
      case kFeedNone:
        break;
      case kFeedAppend:
        words += f;
        break;
    }
  } else if (rWords) {
    feedPiece = " F";
  }

  if (st.CoolantPending != 0) {
    switch (row.Coolant) {
      case kCoolBlock:
        WriteNcBlock(st, GetCoolantWord(st));
        break;
      case kCoolBlockIfOn:
        if (st.Machine.CoolantOn == 1) WriteNcBlock(st, GetCoolantWord(st));
        break;
      case kCoolG0Block: {
        const std::string c = GetCoolantWord(st);
        if (!c.empty()) WriteNcBlock(st, "G0 " + c);
        WriteNcBlock(st, "G1" + words);
        words.clear();
        break;
      }
      case kCoolPiece:
        mPiece = Piece(" " + GetCoolantWord(st));
        break;
      case kCoolDrop:
        st.CoolantPending = 0;
        break;
      case kCoolAppend:
        words += " " + GetCoolantWord(st);
        break;
      case kCoolNone:
        break;
    }
  } else if (rWords) {
    mPiece = " M";
  }

  if ((row.Traits & kMovesHeadChange) != 0 && st.ToolStation != st.LastToolStation && st.ToolStation > 1000) {
    st.LastToolStation = st.ToolStation;
    std::string t = FormatToolWord(st);
    // A head change without a head switch-on starts with the line break
    // that would otherwise follow it: no empty block.
    if (t.compare(0, 2, "\r\n") == 0) t.erase(0, 2);
    WriteNcBlock(st, t);
  }
  WriteNcSequence(st, row.Linear,
                  {{"w", [&] { return words; }},
                   {"fp", [&] { return feedPiece; }},
                   {"mp", [&] { return mPiece; }},
                   {"sp", [&] { return spindlePiece; }}},
                  {{"moved", [&] { return !words.empty(); }}});
}

void AddPathLength(TNcWriterState& st, const TVectorRecord& point) {
  const long double dx = static_cast<long double>(point.x) - st.LastPos.x;
  const long double dy = static_cast<long double>(point.y) - st.LastPos.y;
  const long double dz = static_cast<long double>(point.z) - st.LastPos.z;
  st.PathLength += static_cast<double>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

void CheckToolLife(TNcWriterState& st) {
  if (st.NeedApproach != 0 || st.PathLength < st.ToolLife) return;
  if (st.Machine.SisterToolOffset <= 0) return;
  st.NeedApproach = 1;
  st.TargetPos = st.LastPos;
  st.ApproachDepth = st.LastPos.z;
  st.ToolStation += st.Machine.SisterToolOffset;
  DrawPlainCellButton(1, 1, GetMessageText(kMsgNcToolLifeReached, -39) + FormatIntegerText(static_cast<int16_t>(st.ToolStation), 4),
                      12, 261);
  st.SisterToolUsed = 1;
  SetDrawColorAndMode(13, 14);
  DrawPointMarker(6, st.TargetPos.x, st.TargetPos.y);
  SetDrawColorAndMode(13, 13);
  MoveToWorldPoint(st.TargetPos.x, st.TargetPos.y);
}
