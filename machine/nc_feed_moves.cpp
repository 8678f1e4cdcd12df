// Feed moves of the NC program writer and the tool-life bookkeeping.
#include "machine/nc_feed_moves.h"

#include <cmath>

#include "frame/messages.h"
#include "frame/window_draw.h"
#include "machine/nc_blocks.h"
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

bool IsLBlockDialect(int d) {
  switch (d) {
    case 22: case 47: case 54: case 69: case 70: case 71: case 73: case 93: return true;
    default: return false;
  }
}

bool IsRBlockDialect(int d) { return d == 22 || d == 47 || d == 54; }

enum class TCoolantOutput { Block, BlockIfOn, Dialect12, MPiece, Drop, Append, Nothing };

TCoolantOutput CoolantOutputOf(int d) {
  switch (d) {
    case 2: case 9: case 78: return TCoolantOutput::Block;
    case 24: case 43: case 56: return TCoolantOutput::BlockIfOn;
    case 12: return TCoolantOutput::Dialect12;
    case 22: case 47: case 54: case 69: case 70: case 71: case 73: return TCoolantOutput::MPiece;
    case 25: case 27: case 29: case 30: case 31: case 44: case 45: case 81: case 82: return TCoolantOutput::Drop;
    case 21: case 23: case 38: case 48: case 49: case 50: case 74: case 75: case 76: case 92: case 93:
    case 94: case 95: case 96:
      return TCoolantOutput::Nothing;
    default: return TCoolantOutput::Append;  // 0, 1, 3-8 ... and the generic dialect as dialect 0
  }
}

// The spindle word of a feed block where the path's speed changed; the
// block forms are written here, the in-block forms go into words or piece.
void WriteSpindleChange(TNcWriterState& st, std::string& words, std::string& spindlePiece) {
  st.LastSpindleSpeed = st.SpindleSpeed;
  const std::string s = FormatSpindleWord(st);
  switch (st.Dialect) {
    case 2: case 9: case 31: case 36: case 51: case 52: case 78: case 84:
      WriteNcBlock(st, s);
      break;
    case 20: case 39: case 55: case 56: case 57:
      WriteNcBlock(st, s + " M03");
      break;
    case 61: case 62: case 63: case 64: case 65: case 66: case 67: case 72: case 85: case 86: case 88:
      WriteNcBlock(st, s + " M3");
      break;
    case 25: case 81:
      WriteNcBlock(st, "G97 " + s);
      break;
    case 59: case 91:
      WriteNcBlock(st, "G0 " + s + " M3");
      break;
    case 83:
      WriteNcBlock(st, "M3 " + s);
      break;
    case 21:
      words += " " + s + " M3";
      break;
    case 22: case 47: case 54: case 68: case 69: case 70: case 71: case 73: case 93: case 99:
      spindlePiece = Piece(s);
      break;
    case 38:
      break;
    default:
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
    if (st.Dialect == 39) words += FormatAngleWords(st, angles);
    else if (words.size() > kFeedWordsMax) words.resize(kFeedWordsMax);
  }
  WriteFeedBlock(st, words, feed);
}

void WriteFeedBlock(TNcWriterState& st, const std::string& wordsIn, float feed) {
  if (wordsIn.empty()) return;
  const int d = st.Dialect;
  std::string words = wordsIn;
  std::string feedPiece;
  std::string mPiece;
  std::string spindlePiece;

  if (d == 31 && st.CircleModeWritten == 0) {
    WriteNcBlock(st, "SCI");
    st.CircleModeWritten = 1;
  }

  if (st.LastSpindleSpeed != st.SpindleSpeed) WriteSpindleChange(st, words, spindlePiece);

  if (st.LastFeed != feed) {
    st.LastFeed = feed;
    const std::string f = FormatFeedWord(st);
    if (d == 9 || d == 31) {
      WriteNcBlock(st, f);
    } else if (d == 12) {
      if (st.ToolCallFeedPending != 0) {
        words += " G27";
        st.ToolCallFeedPending = 0;
      }
      words += f;
    } else if (IsLBlockDialect(d)) {
      feedPiece = Piece(f);
    } else if (d != 38) {
      words += f;
    }
  } else if (IsRBlockDialect(d)) {
    feedPiece = " F";
  }

  if (st.CoolantPending != 0) {
    switch (CoolantOutputOf(d)) {
      case TCoolantOutput::Block:
        WriteNcBlock(st, GetCoolantWord(st));
        break;
      case TCoolantOutput::BlockIfOn:
        if (st.Machine.CoolantOn == 1) WriteNcBlock(st, GetCoolantWord(st));
        break;
      case TCoolantOutput::Dialect12: {
        const std::string c = GetCoolantWord(st);
        if (!c.empty()) WriteNcBlock(st, "G0 " + c);
        WriteNcBlock(st, "G1" + words);
        words.clear();
        break;
      }
      case TCoolantOutput::MPiece:
        mPiece = Piece(" " + GetCoolantWord(st));
        break;
      case TCoolantOutput::Drop:
        st.CoolantPending = 0;
        break;
      case TCoolantOutput::Append:
        words += " " + GetCoolantWord(st);
        break;
      case TCoolantOutput::Nothing:
        break;
    }
  } else if (IsRBlockDialect(d)) {
    mPiece = " M";
  }

  switch (d) {
    case 1: case 30: case 33: case 36: case 42: case 45: case 51: case 52: case 72: case 81: case 87:
      if (!words.empty()) WriteNcBlock(st, "G01" + words);
      break;
    case 25:
      if (st.ToolStation != st.LastToolStation && st.ToolStation > 1000) {
        st.LastToolStation = st.ToolStation;
        std::string t = FormatToolWord(st);
        // A head change without a head switch-on starts with the line break
        // that would otherwise follow it: no empty block.
        if (t.compare(0, 2, "\r\n") == 0) t.erase(0, 2);
        WriteNcBlock(st, t);
      }
      if (!words.empty()) WriteNcBlock(st, "G01" + words);
      break;
    case 9:
      WriteNcBlock(st, "MOVEABS" + words);
      break;
    case 22: case 47: case 54:
      WriteNcBlock(st, "L" + words + " R" + feedPiece + mPiece + spindlePiece);
      break;
    case 69: case 70: case 71: case 73: case 93:
      WriteNcBlock(st, "L" + words + feedPiece + mPiece + spindlePiece);
      break;
    case 68: case 99:
      WriteNcBlock(st, "L" + words + spindlePiece);
      break;
    case 31:
      if (!words.empty()) WriteNcBlock(st, "LIN" + words);
      break;
    case 44:
      if (!words.empty()) WriteNcBlock(st, "LIN {" + words + "}");
      break;
    default:
      if (!words.empty()) WriteNcBlock(st, "G1" + words);
      break;
  }
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
