// Tool-change sequences of the NC dialects.
//
// Sections:
//   pieces every sequence uses
//   sequences of the special dialects
//   entry points
#include "machine/nc_tool_change.h"

#include <cmath>

#include "machine/nc_blocks.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_sequences.h"
#include "machine/nc_words.h"
#include "ui/common_dialogs.h"

// --- pieces every sequence uses ----------------------------------------------------------

namespace {

void Block(TNcWriterState& st, const std::string& text) { WriteNcBlock(st, text); }

std::string Fmt(const TNcWriterState& st, float v) { return FormatNcNumber(st, v); }
std::string Zs(const TNcWriterState& st) { return FormatNcNumber(st, st.Machine.SafeZ); }
bool CoolantOn(const TNcWriterState& st) { return st.Machine.CoolantOn == 1; }

std::string T(TNcWriterState& st) { return FormatToolWord(st); }
std::string M6(const TNcWriterState& st) { return GetToolChangeCode(st); }
std::string S(TNcWriterState& st) { return FormatSpindleWord(st); }
std::string C(TNcWriterState& st) { return GetCoolantWord(st); }
std::string N(const TNcWriterState& st) { return std::to_string(st.LastToolStation); }

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// W with the Y of the start position in front while the rotary axis is in use.
std::string WStar(const TNcWriterState& st, const std::string& w) {
  return st.RotaryActive != 0 ? " Y" + Fmt(st, st.Machine.StartY) + w : w;
}

// Rapid to the X and Y of the target, recorded as the last position.
void TargetXY(TNcWriterState& st) { WriteRapidXYBlock(st, st.TargetPos); }

void ZeroedXY(TNcWriterState& st) {
  Block(st, "G0 X0 Y0");
  st.LastPos.x = 0.0f;
  st.LastPos.y = 0.0f;
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

// "N" + tool number in front of the tool call while block numbering is off.
std::string ToolNumberPrefix(const TNcWriterState& st) {
  return st.Machine.BlockNumbering == 0 ? "N" + N(st) + " " : "";
}

void WriteToolNameOrWord(TNcWriterState& st) {
  if (GetDialectRecord(st.Machine, st.Machine.CurrentDialect).ToolChangeCode == 2)
    Block(st, "G00 C" + TrimRight(st.FirstToolName));
  else
    Block(st, T(st));
}

void WriteMeasuringBlocks(TNcWriterState& st) {
  const std::string g59 = st.Machine.ZeroOffsetG59 == 1 ? "G59 P3" : ";G59 P3";
  if (st.Machine.ToolMeasuring == 1) {
    Block(st, "G383");
    Block(st, "G79");
    Block(st, g59);
  } else if (st.Machine.ToolMeasuring == 2) {
    Block(st, "G188");
    Block(st, "G79");
    Block(st, g59);
  }
}

// --- sequences of the special dialects ---------------------------------------------------

// The sequence of dialect 24 and 27: length compensation and a full X Y Z
// approach block.
void WriteLengthCompensatedChange(TNcWriterState& st, bool splitToolCall) {
  Block(st, "G0 Z" + Zs(st) + " M5");
  if (CoolantOn(st)) Block(st, "M9");
  TakeNewTool(st);
  if (splitToolCall) {
    Block(st, "G49" + M6(st));
    Block(st, T(st));
  } else {
    const std::string m6 = M6(st);
    Block(st, "G49" + m6 + " " + T(st));
  }
  Block(st, "G43 H" + N(st) + " Z" + Zs(st));
  if (CoolantOn(st)) Block(st, C(st));
  Block(st, S(st) + " M3");
  Block(st, "G0" + TargetXYZWords(st));
}

// Dialects 2 and 78: the first plunge after the change runs at feed 0.85.
void WriteFeedApproachChange(TNcWriterState& st, const std::string& w) {
  Block(st, "G0 Z" + Zs(st));
  TakeNewTool(st);
  Block(st, T(st));
  Block(st, S(st));
  const float tx = st.TargetPos.x;
  const float ty = st.TargetPos.y;
  if (st.RotaryActive != 0) {
    Block(st, "G0 X" + Fmt(st, tx) + " Y" + Fmt(st, st.Machine.StartY));
    Block(st, "G0" + FormatXWord(st, tx) + FormatYWord(st, ty));
  } else {
    Block(st, "G0 X" + Fmt(st, tx) + " Y" + Fmt(st, ty));
  }
  st.LastPos.x = tx;
  st.LastPos.y = ty;
  st.LastFeed = 0.85f;
  Block(st, "G1" + w + FormatFeedWord(st));
}


// Dialect 73: X and Y of the target
// rounded and recorded.
std::string TargetXYWordsRecorded(TNcWriterState& st) {
  TVectorRecord& t = st.TargetPos;
  t.x = RoundedToNcResolution(st, t.x);
  t.y = RoundedToNcResolution(st, t.y);
  st.LastPos.x = t.x;
  st.LastPos.y = t.y;
  return FormatXWord(st, t.x) + FormatYWord(st, t.y);
}

std::string Real3(float v) { return FormatRealText(0, 3, v); }

// The turn-mill dialect 32: on the cylinder (incremental words) or on the
// face with polar interpolation.
void WriteTurnMillChange(TNcWriterState& st) {
  const bool cylinder = st.RotaryIncremental != 0;
  Block(st, (cylinder ? "G0 X" : "G0 Z") + Zs(st));
  TakeNewTool(st);
  Block(st, "M212");
  if (cylinder) {
    Block(st, "G50 W0. H0. U0.");
    Block(st, "G0 C0.");
  } else {
    Block(st, "G13.1");
  }
  Block(st, "G28 U0.");
  Block(st, "G28 W0.");
  const std::string t = T(st);
  Block(st, t + " " + S(st) + " M203");
  if (cylinder) {
    Block(st, "G50 W0. H0. U-" + Fmt(st, st.Machine.RotaryDiameter));
    Block(st, "G0 C0.");
    Block(st, "G0 X" + Zs(st));
  } else {
    Block(st, "G0 Z" + Zs(st));
    Block(st, "G50 H0.");
    Block(st, "G0 C0.");
    Block(st, "G12.1");
    Block(st, "M211");
  }
}

void WriteTransformationChange(TNcWriterState& st, const std::string& w) {
  const float diameter = st.Machine.RotaryDiameter;
  TakeNewTool(st);
  if (st.Dialect == 74) {
    Block(st, "G0 X" + Zs(st));
    Block(st, "DIAMON");
    Block(st, "TRANS");
    Block(st, "TRAFOOF");
  } else {
    Block(st, "G0 Z" + Zs(st));
    Block(st, "TRAFOOF");
    Block(st, "TRANS");
    Block(st, "DIAMON");
  }
  Block(st, "SETMS()");
  Block(st, "G54");
  Block(st, "G0 G95 X300 D0");
  Block(st, "G0 Z150 D0");
  Block(st, (st.Dialect == 74 ? "G19 " : "G17 ") + T(st) + " D1 M7");
  Block(st, "SPOS[1]=0");
  if (st.Dialect == 74) {
    Block(st, "TRACYL(" + Real3(diameter) + ")");
    Block(st, "G54");
    Block(st, "TRANS X" + Real3(diameter / 2.0f));
    Block(st, "DIAMOF");
    Block(st, "G0 G40 G90 G94 Z0 Y0 " + S(st) + " M2=3");
  } else {
    Block(st, "DIAMOF");
    Block(st, "TRANSMIT");
    Block(st, "G54");
    Block(st, "G0 G40 G90 G94 Z5 " + S(st) + " M2=3");
  }
  Block(st, C(st));
  Block(st, "G0" + w);
}

void WriteMacroLanguageChange(TNcWriterState& st, const std::string& w) {
  Block(st, "G0 Z" + Zs(st));
  if (CoolantOn(st)) Block(st, "M9");
  Block(st, "Xcall $kontroll");
  Block(st, "EndIf");
  WriteToolUseCondition(st);
  TakeNewTool(st);
  const std::string t = T(st);
  Block(st, t + M6(st));
  Block(st, S(st) + " M3");
  WriteToolMacroVariables(st);
  Block(st, "IF (( $Dia_Diff_d1 != 0 ) or ($rad_Diff_l1 != 0 ))");
  Block(st, "  Xcall $laenge");
  Block(st, "ENDIF");
  Block(st, "SH");
  TargetXY(st);
  Block(st, "G0" + w);
}

// The sequences of the conversational, transformation, turn-mill, macro
// and motion-language dialects; false for the G-code dialects.
bool WriteSpecialToolChange(TNcWriterState& st, const std::string& w) {
  const int d = st.Dialect;
  bool approachAfter = false;
  bool feedReset = false;
  switch (d) {
    case 22: case 47: case 54: {
      Block(st, "L Z" + Zs(st) + " R FMAX M");
      TakeNewTool(st);
      if (d == 47) Block(st, "TOOL DEF " + N(st) + " L0 R0");
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      if (d != 54) Block(st, "L R F" + M6(st));
      Block(st, "L" + WStar(st, w) + (d == 22 ? " R FMAX M" : " R FMAX M03"));
      feedReset = true;
      break;
    }
    case 68: case 99: {
      Block(st, "L Z" + Zs(st) + " FMAX");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      Block(st, "M3");
      if (d == 99) {
        Block(st, C(st));
        st.CoolantPending = 1;
      }
      WriteRapidXYBlockFmax(st, st.TargetPos);
      Block(st, "L" + WStar(st, w) + " FMAX");
      if (d == 68) Block(st, C(st));
      feedReset = true;
      break;
    }
    case 69: {
      Block(st, "L Z" + Zs(st) + " F MAX");
      TakeNewTool(st);
      Block(st, "TOOL DEF " + N(st) + " L0 R0");
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      Block(st, "L" + M6(st));
      Block(st, "L" + WStar(st, w) + " F MAX M03");
      Block(st, C(st));
      feedReset = true;
      break;
    }
    case 70: case 71: {
      Block(st, "L Z" + Zs(st) + " F5000 M9");
      TakeNewTool(st);
      Block(st, "TOOL DEF " + N(st) + " L0 R0");
      Block(st, "L" + M6(st));
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      Block(st, "L" + WStar(st, w) + " F5000 M03");
      Block(st, C(st));
      feedReset = true;
      break;
    }
    case 73: {
      Block(st, "L Z" + Zs(st) + " F MAX");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      const std::string m6 = M6(st);
      if (!m6.empty()) Block(st, "L" + m6);
      Block(st, "L" + TargetXYWordsRecorded(st) + " M13");
      Block(st, "L" + WStar(st, w) + " F MAX M03");
      st.CoolantPending = 0;
      feedReset = true;
      break;
    }
    case 93: {
      TakeNewTool(st);
      Block(st, "TOOL DEF " + N(st) + " L0 R0");
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      Block(st, "L M06");
      Block(st, C(st));
      approachAfter = true;
      feedReset = true;
      break;
    }
    case 74: case 75:
      WriteTransformationChange(st, w);
      break;
    case 32:
      WriteTurnMillChange(st);
      approachAfter = true;
      break;
    case 40:
      WriteMacroLanguageChange(st, w);
      break;
    case 4: {
      Block(st, "R Z10.");
      Block(st, "M05");
      Block(st, "G49 R");
      TakeNewTool(st);
      Block(st, T(st) + " M06");
      Block(st, "G48 R");
      Block(st, "M03" + S(st) + " R" + w);
      break;
    }
    case 9:
      if (std::fabs(st.Machine.SafeZ + st.LastPos.z) > 0.01f) {
        Block(st, "FASTABS Z" + Zs(st));
        st.LastPos.z = -st.Machine.SafeZ;
      }
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, S(st));
      {
        // The target's Z goes out in the dialect's sense (height above the
        // work), never below the clearance level.
        const std::string xyz = TargetXYZWords(st);
        const size_t zAt = xyz.rfind(" Z");
        Block(st, "FASTABS" + xyz.substr(0, zAt));
        Block(st, "FASTABS" + xyz.substr(zAt));
      }
      feedReset = true;
      break;
    case 12: {
      if (st.CompensationOn != 0) {
        Block(st, "G0 G40 Z" + Zs(st));
        st.CompensationOn = 0;
      } else {
        Block(st, "G0 Z" + Zs(st));
      }
      if (CoolantOn(st)) Block(st, "M37");
      Block(st, "M5 S0");
      Block(st, "h0");
      Block(st, "G79 Z0");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "h" + N(st));
      Block(st, "M3 " + S(st));
      Block(st, C(st));
      Block(st, "G0" + w);
      break;
    }
    case 29: case 30:
      st.LastToolStation = st.ToolStation;
      Block(st, "G00" + w);
      break;
    case 31:
      st.LastToolStation = st.ToolStation;
      if (st.CircleModeWritten != 0) {
        Block(st, "HCI");
        st.CircleModeWritten = 0;
      }
      Block(st, "MOV" + w);
      break;
    case 38:
      Block(st, "M21M24");
      Block(st, "G0" + w);
      break;
    case 44:
      Block(st, "PTP {" + w + "}");
      break;
    default:
      return false;
  }
  if (approachAfter && !w.empty()) WritePlainRapidBlock(st, w);
  if (feedReset) st.LastFeed = 0.0f;
  return true;
}

}  // namespace

// --- entry points ------------------------------------------------------------------------

bool HasGCodeToolChange(int dialect) {
  switch (dialect) {
    case 4: case 9: case 12: case 22: case 23: case 29: case 30: case 31: case 32: case 36: case 38:
    case 40: case 44: case 47: case 54: case 68: case 69: case 70: case 71: case 73: case 74: case 75:
    case 93: case 99:
      return false;
    default:
      return dialect >= 0 && dialect <= kNcGenericDialect;
  }
}

bool WriteToolChangeSequence(TNcWriterState& st, const std::string& w) {
  const int d = st.Dialect;
  if (d == 23 || d == 36) return false;
  if (!HasGCodeToolChange(d)) return WriteSpecialToolChange(st, w);
  // Sequences that leave the approach out would let the next move start
  // (and plunge) at the old X/Y although the approach words were already
  // taken as the last position; they position with the plain rapid block.
  bool approachAfter = false;
  bool feedReset = false;
  switch (d) {
    case 0: case 15: case 94: case 95: case 96: case kNcGenericDialect:
    case 37: {
      if (d == 37) Block(st, "M5");
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M3");
      Block(st, "G0" + w);
      break;
    }
    case 49: case 50:
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, M6(st));
      Block(st, S(st) + " M3");
      if (d == 50) TargetXY(st);
      Block(st, "G0" + w);
      break;
    case 3: case 13: {
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      Block(st, "G0" + w);
      break;
    }
    case 8: {
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + S(st) + " M3");
      Block(st, "G0" + w);
      break;
    }
    case 6: case 41: {
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      const std::string s = S(st);
      Block(st, t + (d == 41 ? " " : "") + s + M6(st));
      Block(st, "G0" + w + " M3");
      break;
    }
    case 46: {
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + " " + S(st) + " M3");
      Block(st, "G0" + w);
      break;
    }
    case 53: case 97: case 28: case 89: case 58: case 11: {
      Block(st, (d == 11 ? "G0 Y" : "G0 Z") + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      const std::string s = S(st);
      Block(st, t + " " + s + M6(st));
      if (d == 53 || d == 97) {
        TargetXY(st);
        Block(st, "G0" + w);
      } else if (d == 28 || d == 89) {
        Block(st, "G0 G90" + WStar(st, w));
      } else if (d == 58) {
        Block(st, "G0" + w + " M3");
        Block(st, C(st));
      } else {
        Block(st, "G0" + w);
      }
      break;
    }
    case 60: {
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string s = S(st);
      Block(st, s + M6(st));
      Block(st, "G0 G90" + WStar(st, w));
      Block(st, C(st));
      break;
    }
    case 14: {
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, T(st) + " L31");
      Block(st, "M3 " + S(st));
      Block(st, "G0" + w);
      break;
    }
    case 16: case 17:
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, S(st));
      Block(st, "G0" + w);
      Block(st, C(st));
      break;
    case 18:
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, M6(st));
      Block(st, "G43");
      Block(st, "G0" + w);
      Block(st, S(st) + " M3");
      break;
    case 21: case 33: case 34: case 35: case 51: case 52: {
      if (d == 21) Block(st, "G0 Z" + Zs(st));
      else if (d != 35) Block(st, "G00 Z" + Zs(st));
      if (d == 51) Block(st, "S0");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, C(st));
      Block(st, S(st) + (d == 21 || d == 52 ? " M3" : ""));
      approachAfter = true;
      break;
    }
    case 45: {
      const uint8_t pending = st.CoolantPending;
      Block(st, "G00 Z" + Zs(st));
      TakeNewTool(st);
      st.CoolantPending = pending;
      Block(st, "G00 " + T(st));
      Block(st, S(st));
      approachAfter = true;
      break;
    }
    case 72:
      Block(st, "M9");
      Block(st, "G00 Z" + Zs(st));
      Block(st, "S0");
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, M6(st));
      Block(st, C(st));
      Block(st, S(st) + " M3");
      Block(st, "G00" + w);
      break;
    case 82:
      Block(st, "G00 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, S(st));
      Block(st, C(st));
      Block(st, "G0" + w);
      break;
    case 1: {
      Block(st, "G00 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      const std::string s = S(st);
      Block(st, t + " G17" + s + M6(st));
      Block(st, "G00 G40 G90" + WStar(st, w));
      feedReset = true;
      break;
    }
    case 56: case 57: case 67: case 86: case 63: case 64: {
      Block(st, "G0 Z" + Zs(st));
      if (d == 56) Block(st, "M9");
      else if (d == 57) Block(st, FormatCoolantCodes(st, false));
      else if (d == 67) Block(st, "M5");
      else if (CoolantOn(st)) Block(st, "M9");
      TakeNewTool(st);
      const std::string t = T(st);
      if (d == 64) {
        Block(st, t + " D1");
        Block(st, "L06");
      } else {
        Block(st, t + M6(st));
      }
      Block(st, S(st) + " M3");
      if (d == 86) {
        Block(st, C(st));
        Block(st, "G0" + w);
      } else {
        if (d == 67 || d == 63 || d == 64) TargetXY(st);
        Block(st, "G0" + w);
        Block(st, C(st));
        if (d == 63) Block(st, "M62");
      }
      feedReset = true;
      break;
    }
    case 76: {
      if (CoolantOn(st)) Block(st, "M9");
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st));
      Block(st, "G0" + w);
      if (CoolantOn(st)) Block(st, C(st));
      break;
    }
    case 83:
      if (CoolantOn(st)) Block(st, "M9");
      Block(st, "G0 Z" + Zs(st));
      Block(st, "M20");
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, M6(st));
      Block(st, "D1");
      Block(st, "M46 M21");
      Block(st, "M3 " + S(st));
      Block(st, "G0" + w);
      if (CoolantOn(st)) Block(st, C(st));
      break;
    case 92: {
      Block(st, "G0 Z" + Zs(st));
      if (CoolantOn(st)) Block(st, "M22");
      Block(st, "M05");
      Block(st, "G04 Q9");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M03");
      Block(st, "G04 Q8");
      Block(st, "G0" + w);
      if (CoolantOn(st)) Block(st, C(st));
      break;
    }
    case 98: {
      if (CoolantOn(st)) Block(st, "M9");
      Block(st, "G00 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "G00 Z" + Zs(st) + " " + S(st));
      Block(st, C(st));
      Block(st, "G00" + w);
      feedReset = true;
      break;
    }
    case 48:
      Block(st, "M10 O6.0");
      Block(st, "M10 O2.0");
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, "M06 " + T(st));
      Block(st, "M25 " + S(st));
      Block(st, "M10 O6.1");
      Block(st, "M10 O2.1");
      Block(st, "G0" + w);
      break;
    case 79: {
      Block(st, "G0 Z" + Zs(st));
      Block(st, "G67 P3");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + " " + S(st));
      Block(st, "G68 P3");
      Block(st, "G0" + w);
      break;
    }
    case 80:
      Block(st, "G0 Z" + Zs(st));
      Block(st, "M21");
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, "M11");
      Block(st, "G0" + w);
      break;
    case 84: {
      const uint8_t pending = st.CoolantPending;
      Block(st, "G53 Z100. M5");
      TakeNewTool(st);
      st.CoolantPending = pending;
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M3");
      Block(st, "G90 G0 X" + Fmt(st, st.Machine.StartX) + " Y" + Fmt(st, st.Machine.StartY) + " Z" + Zs(st));
      Block(st, "G0" + w);
      break;
    }
    case 24:
      WriteLengthCompensatedChange(st, false);
      break;
    case 27:
      WriteLengthCompensatedChange(st, GetDialectRecord(st.Machine, 27).ToolChangeCode == 4);
      break;
    case 26: {
      Block(st, "G0 Z" + Zs(st) + " G49 M9");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "G43H" + N(st));
      Block(st, S(st) + " M3");
      Block(st, "G0" + w + " " + C(st));
      feedReset = true;
      break;
    }
    case 42: {
      Block(st, "G00 G91 G30Z0");
      if (CoolantOn(st)) Block(st, "M09");
      Block(st, "G30X0Y0");
      Block(st, "G00 Z" + Zs(st) + " M05");
      Block(st, "M01");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "G90 G54");
      const std::string xyz = TargetXYZWords(st);
      Block(st, "G00" + xyz + " " + S(st) + " M03");
      const std::string n = N(st);
      Block(st, "G43 H" + (n.size() == 1 ? "0" + n : n) + " Z" + Zs(st));
      if (CoolantOn(st)) Block(st, C(st));
      break;
    }
    case 43: {
      Block(st, "G0 Z" + Zs(st));
      if (CoolantOn(st)) Block(st, "M9");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "M3 " + S(st));
      Block(st, "H" + N(st) + " Z" + Zs(st));
      Block(st, "E1 G0" + TargetXYZWords(st));
      if (CoolantOn(st)) Block(st, C(st));
      break;
    }
    case 61: {
      Block(st, "G0 Z" + Zs(st));
      Block(st, "M9");
      Block(st, "G00 G28 G91 Z0");
      TakeNewTool(st);
      Block(st, M6(st));
      Block(st, "G40 G49 G80 G90");
      Block(st, S(st) + " M3");
      Block(st, C(st));
      const std::string next = FormatNextToolWord(st);
      Block(st, "G00 G58 G43 H" + N(st) + " " + next + " " + C(st));
      feedReset = true;
      break;
    }
    case 65: case 85: {
      Block(st, "G0 Z" + Zs(st));
      if (CoolantOn(st)) Block(st, "M9");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M3");
      if (d == 65) {
        Block(st, "G0 X0 Y0");
        Block(st, "G43 Z3 H" + N(st));
        Block(st, C(st));
        TargetXY(st);
      } else {
        TargetXY(st);
        Block(st, "G43 Z3 H" + N(st));
        Block(st, C(st));
      }
      Block(st, "G0" + w);
      feedReset = true;
      break;
    }
    case 90: {
      Block(st, "G0 Z" + Zs(st));
      Block(st, "M05");
      Block(st, "M09");
      Block(st, "G91 G28 Z0.");
      Block(st, "G49");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M03");
      Block(st, "G0 G43 G90 Z" + Zs(st) + " H" + N(st));
      Block(st, "G0" + WStar(st, w));
      break;
    }
    case 20: case 39: case 55: {
      if (d != 39 || std::fabs(st.LastPos.z + st.Machine.SafeZ) > 0.001f) Block(st, "G0 Z" + Zs(st));
      Block(st, "M05");
      Block(st, "M09");
      TakeNewTool(st);
      const std::string p = d == 55 ? "" : ToolNumberPrefix(st);
      const std::string t = T(st);
      Block(st, p + t + M6(st));
      if (d == 39) Block(st, "M114");
      Block(st, S(st) + " M03");
      if (d == 39) {
        WriteSpindleRampDwell(st);
        Block(st, "G0 X" + Fmt(st, st.Machine.StartX) + " Y" + Fmt(st, st.Machine.StartY) + " C0");
        Block(st, "G0 Z" + Zs(st) + " B0");
        if (!w.empty()) Block(st, "G0" + w);
      } else {
        if (d == 20) WriteSpindleRampDwell(st);
        if (st.RotaryOn != 0) Block(st, "G0 X0 Y0");
        if (d == 20 || st.Machine.Dialect55Mode != 1) WriteRotaryAxisDeclaration(st);
        TargetXY(st);
        Block(st, "G0" + w);
      }
      Block(st, C(st));
      feedReset = true;
      break;
    }
    case 59: case 66: {
      Block(st, "G0 Z" + Zs(st));
      if (d == 59) {
        Block(st, "G115");
        Block(st, "M05");
        Block(st, "M09");
        Block(st, "M11");
      }
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "G0" + S(st) + " M3");
      WriteSpindleRampDwell(st);
      if (st.RotaryOn != 0) ZeroedXY(st);
      if (d == 59) WriteRotaryAxisDeclaration(st);
      TargetXY(st);
      Block(st, "G0" + w);
      Block(st, C(st));
      if (d == 59) Block(st, "M10");
      feedReset = true;
      break;
    }
    case 88: {
      Block(st, "G0 Z" + Zs(st));
      Block(st, "M9");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M3");
      Block(st, "M13");
      if (st.RotaryOn != 0) Block(st, "G0 X0 Y0");
      TargetXY(st);
      Block(st, "G0" + w);
      Block(st, C(st));
      feedReset = true;
      break;
    }
    case 91: {
      Block(st, "G0 Z" + Zs(st));
      Block(st, "G0 X" + Fmt(st, st.Machine.EndX) + " Y" + Fmt(st, st.Machine.EndY));
      Block(st, "G115");
      Block(st, "M05");
      Block(st, "M09");
      Block(st, "M11");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, "G17");
      Block(st, "G60 X0");
      Block(st, "G40");
      Block(st, "G90");
      Block(st, "G0" + S(st) + " M3");
      Block(st, C(st));
      WriteSpindleRampDwell(st);
      Block(st, "G0 X" + Fmt(st, st.Machine.StartX) + " Y" + Fmt(st, st.Machine.StartY));
      Block(st, "M10");
      Block(st, "G0 Z" + Zs(st));
      if (st.RotaryOn != 0) ZeroedXY(st);
      WriteRotaryAxisDeclaration(st);
      Block(st, "G0" + w);
      feedReset = true;
      break;
    }
    case 62:
      Block(st, "G0 G53 Z0");
      if (CoolantOn(st)) Block(st, "M9");
      ZeroedXY(st);
      Block(st, "M5");
      TakeNewTool(st);
      Block(st, T(st));
      Block(st, M6(st));
      Block(st, S(st) + " M3");
      Block(st, "G0" + w);
      Block(st, C(st));
      feedReset = true;
      break;
    case 5: {
      if (st.CompensationOn != 0) {
        Block(st, "G40");
        st.CompensationOn = 0;
      }
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st) + " M3");
      WriteDialectDwell(st);
      Block(st, "G0" + w);
      break;
    }
    case 7: case 77: {
      if (d == 77 && CoolantOn(st)) Block(st, "M9");
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      if (d == 7) WriteCycleCallBlock(st);
      else WriteMeasuringBlocks(st);
      Block(st, S(st) + " M3");
      if (st.RotaryActive != 0) Block(st, "G0 Y" + Fmt(st, st.Machine.StartY));
      TargetXY(st);
      Block(st, "G0" + w);
      break;
    }
    case 10: {
      Block(st, "G0 Z" + Zs(st));
      if (st.FirstMovePending != 0) st.FirstMovePending = 0;
      else Block(st, M6(st));
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + S(st) + " M3");
      Block(st, "G0" + w);
      break;
    }
    case 19: {
      const std::string told = T(st);
      Block(st, M6(st) + " " + told);
      Block(st, "G0 Z" + Zs(st));
      TakeNewTool(st);
      Block(st, M6(st) + " " + T(st));
      Block(st, "M101 " + T(st));
      st.CompensationOn = 1;
      Block(st, "G56");
      Block(st, S(st));
      Block(st, "G0" + w);
      break;
    }
    case 87: {
      Block(st, "G00 Z" + Zs(st) + FormatToolOffsetWord(st.LastToolStation));
      if (CoolantOn(st)) Block(st, "M9");
      TakeNewTool(st);
      const std::string t = T(st);
      Block(st, t + M6(st));
      Block(st, S(st));
      Block(st, C(st));
      Block(st, "G00" + w);
      feedReset = true;
      break;
    }
    case 2: case 78:
      WriteFeedApproachChange(st, w);
      break;
    case 25:
      st.LastSpindleSpeed = st.SpindleSpeed;
      if (st.ToolStation <= 1000) {
        TakeNewTool(st);
        Block(st, "G00 Z" + Zs(st));
        WriteToolNameOrWord(st);
        Block(st, "G97 " + S(st));
        Block(st, C(st));
      }
      Block(st, "G0" + w);
      break;
    case 81:
      if (st.CompensationOn != 0) {
        Block(st, "G40");
        st.CompensationOn = 0;
      }
      Block(st, "G00 Z" + Zs(st));
      TakeNewTool(st);
      WriteToolNameOrWord(st);
      Block(st, "G97 " + S(st));
      Block(st, C(st));
      Block(st, "G0" + w);
      break;
    default:
      return false;
  }
  if (approachAfter && !w.empty()) WritePlainRapidBlock(st, w);
  if (feedReset) st.LastFeed = 0.0f;
  return true;
}
