// The end of an NC program.
#include "machine/nc_program_end.h"

#include <initializer_list>
#include <string>

#include "machine/nc_blocks.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_settings.h"
#include "machine/nc_words.h"

namespace {

bool IsOneOf(int d, std::initializer_list<int> list) {
  for (int v : list)
    if (v == d) return true;
  return false;
}

bool CoolantSwitchedOn(const TNcWriterState& st) { return st.Machine.CoolantOn != 0; }

void Block(TNcWriterState& st, const std::string& text) { WriteNcBlock(st, text); }
void Raw(TNcWriterState& st, const std::string& text) { AppendNcText(st, text); }
void RawWithBlockEnd(TNcWriterState& st, const std::string& text) { AppendNcText(st, text + GetNcLineEnd(st)); }

void CoolantOffIfOn(TNcWriterState& st, const char* word) {
  if (CoolantSwitchedOn(st)) Block(st, word);
}

// A rapid move to a position; the move writers position from TargetPos.
void RapidTo(TNcWriterState& st, const TVectorRecord& target, const std::string& words) {
  st.TargetPos = target;
  WriteRapidMove(st, words);
}

// --- stage 1: coolant and spindle off ---------------------------------------------------

void WriteCoolantSpindleOff(TNcWriterState& st) {
  const int d = st.Dialect;
  if (IsOneOf(d, {0, 13, 14, 15})) {
    Block(st, "M9");
    Block(st, "S0");
  } else if (d == 3) {
    CoolantOffIfOn(st, "M9");
    Block(st, "S0");
  } else if (IsOneOf(d, {4, 6, 7, 24, 33, 34, 36, 40, 41, 43, 51, 52, 65, 72, 77, 83, 85, 86, 89, 98, 99})) {
    CoolantOffIfOn(st, "M9");
  } else if (d == 5) {
    if (st.CompensationOn != 0) {
      Block(st, "G40");
      st.CompensationOn = 0;
    }
    CoolantOffIfOn(st, "M9");
  } else if (IsOneOf(d, {8, 10, 18, 19})) {
    Block(st, "M9");
    Block(st, "M5");
  } else if (d == 9) {
    Block(st, "COOLANT OFF");
  } else if (d == 12) {
    if (st.CompensationOn != 0) {
      Block(st, "G0 G40 Z2");
      st.CompensationOn = 0;
    } else {
      Block(st, "G0 Z2");
    }
    CoolantOffIfOn(st, "M37");
    Block(st, "G79 Z0");
    Block(st, "G0 M05 S0");
    Block(st, "h0");
  } else if (d == 16) {
    Block(st, "M5");
    Block(st, "M9");
  } else if (d == 17) {
    Block(st, "M9");
    Block(st, "M5");
    Block(st, "S0");
  } else if (d == 28) {
    st.LastToolStation = 0;  // the tool is put away
    Block(st, FormatToolWord(st) + GetToolChangeCode(st));
    CoolantOffIfOn(st, "M9");
  } else if (d == 31) {
    if (st.CircleModeWritten != 0) {
      Block(st, "HCI");
      st.CircleModeWritten = 0;
    }
    Block(st, "SEO 111");
  } else if (IsOneOf(d, {37, 58, 59, 60, 61, 62, 63, 64, 66, 68})) {
    CoolantOffIfOn(st, "M9");
    Block(st, "M5");
  } else if (d == 39) {
    CoolantOffIfOn(st, "M9");
    WriteRapidMove(st, " B0 C0");
  } else if (d == 42) {
    Block(st, "G00 G91 G30Z0");
    CoolantOffIfOn(st, "M09");
  } else if (d == 46 || d == 67) {
    Block(st, "M5");
  } else if (d == 48) {
    Block(st, "M10 O6.0");
    Block(st, "M10 O2.0");
  } else if (d == 57) {
    Block(st, FormatCoolantCodes(st, false));
  } else if (d == 76) {
    Block(st, "G53");
  } else if (d == 79) {
    Block(st, "S0");
    Block(st, "G67 P3");
  } else if (d == 80) {
    Block(st, "M21");
  } else if (d == 81) {
    if (st.CompensationOn != 0) {
      Block(st, "G40");
      st.CompensationOn = 0;
    }
  } else if (d == 88) {
    Block(st, "M9");
  } else if (d == 90) {
    CoolantOffIfOn(st, "M09");
  } else if (d == 92) {
    CoolantOffIfOn(st, "M22");
  }
}

// --- stage 2: retract to the safe height -------------------------------------------------

void WriteRetract(TNcWriterState& st) {
  const int d = st.Dialect;
  st.LastToolStation = st.ToolStation;  // no tool change by the end moves
  // Dialects without a retract keep LastPos as it is, so that a later park
  // move still carries its Z word and never travels at the cutting depth.
  if (IsOneOf(d, {12, 23, 35, 40, 50, 93})) return;
  if (d == 62) {
    Block(st, "G0 G53 Z0");
    return;
  }
  if ((d == 55 || d == 88) && st.Machine.ApproachBeforeRapid != 0) return;
  TVectorRecord target = st.LastPos;
  target.z = -st.Machine.SafeZ;
  const TVectorRecord place = target;
  const std::string words = FormatPointWords(st, target);
  if (d == 26) {
    RapidTo(st, place, words + " M9 ");
  } else if (d == 70 || d == 71) {
    Block(st, "L M9");
    RapidTo(st, place, words);
  } else if (d == 73) {
    RapidTo(st, place, words);
    Block(st, "L M09");
  } else if (d == 74 || d == 75) {
    RapidTo(st, place, words + " M27");
  } else {
    RapidTo(st, place, words);
  }
}

// --- stage 3: stop words after the retract -----------------------------------------------

void WriteStopWords(TNcWriterState& st) {
  const int d = st.Dialect;
  if (IsOneOf(d, {7, 27, 65, 77, 85, 86})) {
    Block(st, "M5");
  } else if (d == 20 || d == 39) {
    Block(st, "M05");
    Block(st, "M09");
  } else if (d == 25 || d == 81) {
    if (d == 25 && st.FixtureStation != 0) {
      Block(st, "M48");
      st.FixtureStation = 0;
    }
    if (st.ApproachCodeWritten != 0) {
      Block(st, "M22");
      st.ApproachCodeWritten = 0;
    }
  } else if (d == 32) {
    CoolantOffIfOn(st, "M9");
    Block(st, "M212");
  } else if (d == 42) {
    Block(st, "G30X0Y0 M05");
  } else if (d == 56) {
    Block(st, "M9");
  } else if (d == 76) {
    CoolantOffIfOn(st, "M9");
    Block(st, "M5");
  } else if (d == 83) {
    Block(st, "M5");
    Block(st, "Z_HOCH");
    Block(st, "M12 M47 M20");
    Block(st, "G90 G40");
  } else if (d == 88) {
    Block(st, "M12");
    Block(st, "M101");
  }
}

// --- stage 4: park position ---------------------------------------------------------------

void WriteParkMove(TNcWriterState& st) {
  const int d = st.Dialect;
  const TNcSettings& m = st.Machine;
  if (!(m.EndX >= 0.0f || m.EndY >= 0.0f)) return;
  if (IsOneOf(d, {12, 30, 35, 50, 60, 61, 64, 85, 89, 92})) return;
  if (d == 55 || d == 62) st.LastPos.z = -m.SafeZ;
  TVectorRecord target = st.LastPos;
  target.x = m.EndX;
  target.y = m.EndY;
  target.z = -m.SafeZ;
  const TVectorRecord place = target;
  RapidTo(st, place, FormatPointWords(st, target));
}

// --- stage 5: end words --------------------------------------------------------------------

void WriteHeidenhainEnd(TNcWriterState& st, const char* last) {
  Block(st, last);
  Block(st, "END PGM " + st.ProgramName + " MM");
}

void WriteEndWords(TNcWriterState& st) {
  const int d = st.Dialect;
  const std::string end = GetNcLineEnd(st);
  if (IsOneOf(d, {5, 7, 8, 10, 15, 17, 19, 24, 27, 28, 33, 37, 51, 57, 58, 65, 67, 72, 82, 83, 86, 88})) {
    Block(st, "M30");
    return;
  }
  switch (d) {
    case 0: {
      Block(st, "M30");
      const std::string userLine = ReadNcString(st.Machine.ProgramStartChar, 16);
      if (!userLine.empty()) Block(st, userLine);
      break;
    }
    case 1:
      Block(st, "M30");
      RawWithBlockEnd(st, "N9999 %" + st.ProgramName + " G71");
      break;
    case 2: case 78:
      CopyInsertFile(st, "ErgaenzEnde.PGM");
      Block(st, "M9");
      Block(st, "M30");
      break;
    case 3:
      RawWithBlockEnd(st, "#");
      break;
    case 4:
      Block(st, "M2");
      break;
    case 6: case 41:
      Block(st, "M30");
      RawWithBlockEnd(st, "?");
      RawWithBlockEnd(st, "0000");
      RawWithBlockEnd(st, "\x04");
      break;
    case 9:
      Block(st, "SPINDLE CW RPM0 TIME2000");
      Block(st, "PROGEND");
      break;
    case 11:
      Block(st, "M30");
      Raw(st, "\x04");
      break;
    case 12:
      Block(st, "G79 Y0");
      Block(st, "M30");
      break;
    case 14:
      Block(st, "M02");
      RawWithBlockEnd(st, "!");
      break;
    case 16:
      Raw(st, "%1\r\n");
      break;
    case 18:
      Block(st, "G44");
      Block(st, "M30");
      break;
    case 20: case 39:
      Block(st, "M101");
      Block(st, "M30");
      break;
    case 22:
      WriteHeidenhainEnd(st, "L R F M30");
      Raw(st, "\x03\r\n");
      Raw(st, "\x1A");
      break;
    case 23: case 25: case 29: case 80: case 81:
      Block(st, "M02");
      break;
    case 26:
      Block(st, "G49");
      Block(st, "M01");
      Block(st, "M30");
      break;
    case 31:
      Block(st, "WTT 111");
      Block(st, "@");
      break;
    case 32:
      if (st.RotaryIncremental == 0) Block(st, "G13.1");
      Block(st, "G50 H0.");
      Block(st, "G28 U0.");
      Block(st, "G28 W0.");
      Block(st, "M99");
      break;
    case 34:
      Block(st, "M11");
      Block(st, "M30");
      break;
    case 36:
      Block(st, "L_ENDE");
      Block(st, "M30");
      break;
    case 38: case 85: case 94: case 95:
      Block(st, "M30");
      Raw(st, "%\r\n");
      break;
    case 40:
      Block(st, "Xcall $kontroll");
      Block(st, "EndIf");
      Block(st, "M30");
      break;
    case 42:
      Block(st, "M01");
      Block(st, "M30");
      break;
    case 43:
      Block(st, "M98 P98");
      Block(st, "M2");
      break;
    case 44:
      Raw(st, "\r\n");
      Block(st, "PTP HOME");
      Block(st, "END");
      break;
    case 45:
      Block(st, "M30");
      Block(st, "M02");
      break;
    case 46:
      Block(st, "M30");
      Raw(st, "%%%%\r\n");
      break;
    case 47:
      WriteHeidenhainEnd(st, "L R F M30");
      break;
    case 49:
      Block(st, "G0 G76 Z0 M5 M70");
      Block(st, "G76 Y1100");
      Block(st, "M30");
      Raw(st, "\x03\r\r\n");
      Raw(st, "R\r\n");
      break;
    case 52:
      Block(st, "M30");
      Block(st, "  ");  // one blank is dropped: a block holding a single blank
      break;
    case 53:
      Block(st, "G54");
      Block(st, "T0 M66");
      Block(st, "M30");
      Raw(st, "\x04");
      break;
    case 54:
      WriteHeidenhainEnd(st, "L R F M30 M31");
      break;
    case 55:
      Block(st, "M05");
      Block(st, "M09");
      Block(st, "M101");
      Block(st, "M30");
      break;
    case 56:
      Block(st, "S0 M5");
      Block(st, "M30");
      break;
    case 59:
      if (st.RotaryOn != 0) Block(st, "G115");
      Block(st, "M05");
      Block(st, "M11");
      Block(st, "G0 Z" + FormatNcNumber(st, st.Machine.SafeZ));
      Block(st, "M101");
      Block(st, "M99");
      Block(st, "M30");
      break;
    case 60:
      Block(st, "M30");
      Block(st, "%");
      break;
    case 61:
      Block(st, "G00 G28 G91 Z0 Y0");
      Block(st, "M30");
      Block(st, "%\x14");
      break;
    case 62:
      Block(st, "M5");
      Block(st, "M9");
      Block(st, "M30");
      break;
    case 63:
      Block(st, "M5");
      Block(st, "M99");
      break;
    case 64:
      Block(st, "M17");
      break;
    case 66:
      Block(st, "M30");
      Block(st, "M5");
      Block(st, "M2");
      break;
    case 68:
      Block(st, "TOOL CALL0");
      Block(st, "CYCL DEF 32.0 TOLERANZ");
      Block(st, "CYCL DEF 32.1");
      Block(st, "M30");
      Block(st, "END PGM 9001 MM");
      break;
    case 69: case 70: case 71: case 73: case 93:
      WriteHeidenhainEnd(st, "L M30");
      break;
    case 74: case 75: {
      const char* first[3] = {"DIAMON", "TRANS", "TRAFOOF"};
      if (d == 75) {
        first[0] = "TRAFOOF";
        first[2] = "DIAMON";
      }
      for (const char* text : first) Block(st, text);
      for (const char* text : {"SETMS()", "G54", "G0 G95 X300 D0", "G0 Z150 D0", "M2=5", "M30"}) Block(st, text);
      break;
    }
    case 76:
      Block(st, "M2");
      Raw(st, "\r\n");
      break;
    case 77:
      Block(st, st.Machine.ProgramEndCode == 2 ? "M99" : "M30");
      break;
    case 79:
      Block(st, "M02");
      Raw(st, "]\r\n");
      break;
    case 84:
      Block(st, "M5");
      Block(st, "M30");
      Raw(st, "%\r\n");
      break;
    case 87: case 98:
      Block(st, "M30");
      Raw(st, "?\r\n");
      Raw(st, "0000\r\n");
      break;
    case 89:
      Block(st, "M99");
      break;
    case 90:
      for (const char* text : {"M05", "G91 G28 Z0.", "G49", "M02"}) Block(st, text);
      Raw(st, "%\r\n");
      break;
    case 91:
      for (const char* text : {"G115", "M05", "M09", "M11", "M101", "M99", "M30"}) Block(st, text);
      break;
    case 92:
      for (const char* text : {"M05", "G04 Q9", "M9", "M60", "M30"}) Block(st, text);
      break;
    case 96:
      Block(st, "M30");
      Raw(st, "%1\r\n");
      break;
    case 97:
      Block(st, "T0 M6");
      Block(st, "G51");
      Block(st, "M30");
      Raw(st, "\x04");
      break;
    case 99:
      Block(st, "TOOL CALL0");
      Block(st, "M30");
      Block(st, "END PGM 9001 MM");
      break;
    default:  // 13, 21, 30, 35, 48, 50 and the generic codes: nothing
      break;
  }
}

}  // namespace

void WriteNcProgramEnd(TNcWriterState& st) {
  // After a write failure the program stays visibly cut: no end is added.
  if (st.WriteFailed != 0) return;
  st.RotaryActive = 0;  // the end moves are written without the rotary replacement
  WriteCoolantSpindleOff(st);
  WriteRetract(st);
  WriteStopWords(st);
  WriteParkMove(st);
  WriteEndWords(st);
}
