// Tool, spindle, feed, coolant and dwell words.
#include "machine/nc_words.h"

#include <initializer_list>

#include "model/geometry_2d.h"
#include "frame/messages.h"
#include "machine/nc_blocks.h"
#include "ui/common_dialogs.h"

namespace {

bool IsOneOf(int d, std::initializer_list<int> list) {
  for (int v : list)
    if (v == d) return true;
  return false;
}

std::string IntText(int64_t n) { return std::to_string(n); }
std::string RoundedText(double v) { return IntText(RoundHalfEven(v)); }

std::string ZeroPadded(int64_t n, int width) {
  std::string t = IntText(n);
  if (static_cast<int>(t.size()) < width) t.insert(0, static_cast<size_t>(width) - t.size(), '0');
  return t;
}

const TNcDialectRecord& OwnRecord(const TNcWriterState& st) { return GetDialectRecord(st.Machine, st.Dialect); }
const TNcDialectRecord& CurrentRecord(const TNcWriterState& st) {
  return GetDialectRecord(st.Machine, st.Machine.CurrentDialect);
}

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string MazakToolNumber(const TNcWriterState& st, int32_t n) {
  const uint8_t bits = st.ToolChangerBits;
  const bool repeat = (bits & 0x0C) != 0;
  std::string t;
  switch (bits & 3) {
    case 0:
    case 2: {
      const std::string digits = ZeroPadded(n, 2);
      t = digits + (repeat ? digits : "00");
      break;
    }
    case 1: {
      const std::string digits = ZeroPadded(n, 3);
      t = digits + (repeat && n < 256 ? digits : "000");
      break;
    }
    default:
      break;
  }
  switch ((bits >> 4) & 3) {
    case 1: t += ".0"; break;
    case 2: t += ".1"; break;
    default: break;
  }
  return t;
}

// The name of the current tool for the dialects that call tools by name.
std::string ToolNameWord(TNcWriterState& st, int32_t n) {
  st.FirstToolName = TrimRight(st.FirstToolName);
  std::string name = st.FirstToolName;
  if (name.empty()) {
    name = "Werkzeug" + IntText(n);
    if (st.ToolNameWarned == 0) {
      st.ToolNameWarned = 1;
      ShowTitledMessage(GetMessageText(kMsgNcToolNameMissing1, -39) + "= " + name + "\r\n" +
                        GetMessageText(kMsgNcToolNameMissing2, -39));
    }
  }
  return "T=\"" + name + "\"";
}

std::string DrillHeadToolWord(TNcWriterState& st, int32_t n) {
  std::string t;
  if (n <= 1000) {
    if (st.FixtureStation != 0) t = "M48\r\n";
    st.FixtureStation = 0;
    return t + "G00 T" + IntText(n);
  }
  if (st.FixtureStation == 0) t = "M38";
  if (n != st.FixtureStation + 1000) {
    st.FixtureStation = static_cast<int16_t>(n - 1000);
    t += "\r\nG98 P300 D" + IntText(n - 1000);
  }
  return t;
}

}  // namespace

std::string GetToolChangeCode(const TNcWriterState& st) {
  const int d = st.Dialect;
  const uint8_t code = OwnRecord(st).ToolChangeCode;
  if (d == 48 || d == 93) return "";
  const bool longForm = IsOneOf(d, {1, 22, 42, 47, 54, 69, 70, 71, 90});
  switch (code) {
    case 1: return longForm ? " M06" : " M6";
    case 2: return " M66";
    case 3: return IsOneOf(d, {22, 47, 54, 69, 70, 71}) ? " M" : "";
    case 4: return " M00";
    default: return "";
  }
}

std::string FormatToolWord(TNcWriterState& st) {
  st.NumberNextToolBlock = 1;
  const int d = st.Dialect;
  const int32_t n = st.LastToolStation;
  const std::string tn = IntText(n);
  std::string t;
  switch (d) {
    case 2: case 78:
      t = GetDialectRecord(st.Machine, 2).ToolChangeCode == 2 ? "T0" : "T" + tn;
      break;
    case 6: t = n < 1000 ? "T" + tn : "TT" + IntText(n - 1000); break;
    case 9: t = "GETTOOL " + tn; break;
    case 12:
      t = "T" + tn;
      st.ToolCallFeedPending = 1;
      break;
    case 18: t = "T" + tn + " D" + tn; break;
    case 22: case 54: case 68: case 99: t = "TOOL CALL " + tn + " Z"; break;
    case 47: case 69: case 70: case 71: case 73: case 93: t = "TOOL CALL " + tn + " W"; break;
    case 25: t = DrillHeadToolWord(st, n); break;
    case 32: t = "T" + MazakToolNumber(st, n); break;
    case 36: case 51: t = ToolNameWord(st, n); break;
    case 40: t = "TT=" + tn; break;
    case 42: t = "T" + (n >= 0 && n < 10 ? "0" + tn : tn); break;
    case 60: t = "(Werkzeug: T" + tn + ")"; break;
    case 74: case 75: case 87: t = "T" + ZeroPadded(n, 2); break;
    case 80: t = "G0 C" + tn; break;
    case 81: t = "G00 T" + tn; break;
    case 98: t = "G17 T" + tn; break;
    case 23: case 29: case 30: case 31: case 35: case 38: case 44: case 82: t = ""; break;
    default: t = "T" + tn; break;
  }
  st.PathLength = 0.0;
  return t;
}

std::string FormatNextToolWord(TNcWriterState& st) {
  st.NumberNextToolBlock = 1;
  st.PathLength = 0.0;
  if (st.Dialect != 61 || st.ToolTable.empty() || st.ToolCount <= 0) return "";
  int next = st.ToolHeaderCount + 1;
  if (next >= st.ToolCount || next < 0) next = 0;
  if (next >= static_cast<int>(st.ToolTable.size())) return "";
  return "T" + IntText(st.ToolTable[static_cast<size_t>(next)].changeStation);
}

std::string FormatSpindleWord(TNcWriterState& st) {
  if (st.LastSpindleSpeed > 100000.0f) st.LastSpindleSpeed = 100000.0f;
  if (st.LastSpindleSpeed == 0.0f) return "";
  const int d = st.Dialect;
  float& s = st.LastSpindleSpeed;
  switch (d) {
    case 4:
      if (s > 54000.0f) s = 54000.0f;
      return " S" + RoundedText(static_cast<double>(s) * 100.0 / 54000.0);
    case 5:
      if (s > 127.0f) {
        if (st.SpeedCapWarned == 0) {
          st.SpeedCapWarned = 1;
          ShowTitledMessage(GetMessageText(kMsgNcSpeedCapped1, -39) + "\r\n" + GetMessageText(kMsgNcSpeedCapped2, -39));
        }
        s = 127.0f;
        st.SpindleSpeed = 127.0f;
      }
      return " S" + FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
    case 6: case 8: case 10: case 19:
      return " S" + FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
    case 9:
      return " SPINDLE CW RPM" + RoundedText(s) + " TIME2000";
    case 20: case 39: case 55: case 88:
      return " P2000=" + FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
    case 31:
      return "SEV VV99 " + RoundedText(s) + "\r\nSEO 99\r\nWTT 99\r\nSEO 110\r\nWTT 110\r\nTIM 2500";
    case 37:
      if (CurrentRecord(st).MacroVariables == 1) return "S[SpdDrehz__" + IntText(st.ToolHeaderCount + 1) + "]";
      return "S" + RoundedText(s);
    case 48:
      if (s < 4800.0f) s = 4800.0f;
      if (s > 60000.0f) s = 60000.0f;
      return "U" + FormatNcNumber(st, static_cast<float>(static_cast<double>(RoundHalfEven(s / 240.0)) / 10.0));
    case 59: case 66: case 91:
      return " E" + FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
    case 74: case 75:
      return "S2=" + RoundedText(s);
    case 76:
      return "M3 S" + FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
    case 87: case 98:
      return "S+" + RoundedText(s);
    case 25: case 26: case 27: case 28: case 32: case 33: case 34: case 36: case 40: case 41: case 42:
    case 43: case 45: case 46: case 49: case 50: case 51: case 52: case 60: case 61: case 72: case 81:
    case 84: case 89: case 90:
      return "S" + RoundedText(s);
    case 23: case 29: case 30: case 35: case 38: case 44:
      return "";
    default:
      return "S" + FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
  }
}

std::string FormatFeedWord(const TNcWriterState& st) {
  const double f = st.LastFeed;
  if (f <= 0.01) return "";
  switch (st.Dialect) {
    case 9: return " VEL " + RoundedText(f * 1000000.0 / 60.0);
    case 31: return " FED " + RoundedText(f * 1000.0);
    case 37:
      if (CurrentRecord(st).MacroVariables == 1)
        return (st.Plunging == 0 ? " F[VorschubXY" : " F[VorschubZ_") + IntText(st.ToolHeaderCount + 1) + "]";
      return " F" + RoundedText(f * 1000.0);
    case 3: case 56: return " F" + FormatNcNumber(st, static_cast<float>(f));
    case 13: return " F" + FormatNcNumber(st, static_cast<float>(f / 0.06));
    case 25: case 41: case 58: case 81: return " F" + RoundedText(f / 0.06);
    case 48: return " F" + RoundedText(f / 0.06 * 10.0);
    case 4: case 26: case 27: case 28: case 30: case 32: case 33: case 34: case 36: case 49: case 50:
    case 51: case 52: case 60: case 61: case 72: case 87: case 89: case 98:
      return " F" + RoundedText(f * 1000.0);
    case 29: case 35: case 38: case 44: return "";
    default: return " F" + FormatNcNumber(st, static_cast<float>(f * 1000.0));
  }
}

std::string FormatCoolantCodes(const TNcWriterState& st, bool on) {
  const TNcDialectRecord& r = OwnRecord(st);
  std::string t = on ? "M8" : "M9";
  if (r.CoolantM50 == 1) t += on ? " M50" : " M51";
  if (r.CoolantM52 == 1) t += on ? " M52" : " M53";
  return t;
}

std::string GetCoolantWord(TNcWriterState& st) {
  const bool on = st.Machine.CoolantOn == 1;
  const uint8_t kind = st.Machine.CoolantKind;
  std::string t;
  const int d = st.Dialect;
  if (IsOneOf(d, {1, 22, 47, 54, 69, 73, 93})) t = on ? "M13" : "M03";
  else if (IsOneOf(d, {7, 55, 77})) t = on ? (kind == 2 ? "M7" : "M8") : "M9";
  else if (d == 88) t = on ? (kind == 2 ? "M7" : kind == 3 ? "M50" : "M8") : "M9";
  else if (IsOneOf(d, {8, 10, 19})) t = on ? "M3 M8" : "M3";
  else if (d == 9) t = on ? "COOLANT ON" : "COOLANT OFF";
  else if (d == 12) t = on ? "M36" : "";
  else if (d == 42 || d == 90) t = on ? "M08" : "M09";
  else if (d == 48) t = on ? "M10 O4.1" : "M10 O4.0";
  else if (d == 57) t = FormatCoolantCodes(st, on);
  else if (d == 74 || d == 75) t = on ? "M7" : "M27";
  else if (d == 92) t = on ? "M12" : "M22";
  else if (d == 98) t = on ? "M8 G4 F4" : "M9";
  else if (IsOneOf(d, {0, 2, 3, 4, 5, 13, 24, 78})) t = on ? "M8" : "";
  else if (IsOneOf(d, {21, 23, 25, 27, 29, 30, 31, 35, 38, 44, 45, 46, 79, 81, 82, 84, 94, 95})) t = "";
  else t = on ? "M8" : "M9";
  st.CoolantPending = 0;
  return t;
}

void WriteRotaryAxisDeclaration(TNcWriterState& st) {
  if (st.RotaryOn != 1) return;
  std::string letter = "  ";
  if (st.RotaryAxis == 1) letter = " A";
  else if (st.RotaryAxis == 2) letter = " B";
  else if (st.RotaryAxis == 3) letter = " C";
  const std::string radius = FormatNcNumber(st, st.Machine.RotaryDiameter / 2.0f);
  WriteNcBlock(st, (st.RotaryMode == 1 ? "G115 Y0" : "G115 X0") + letter + radius);
}

void WriteSpindleRampDwell(TNcWriterState& st) {
  const int64_t r = RoundHalfEven(st.LastSpindleSpeed);
  WriteNcBlock(st, r < 15001 ? "G4 X2" : r <= 30000 ? "G4 X3" : "G4 X4");
}

void WriteDialectDwell(TNcWriterState& st) {
  const float t = CurrentRecord(st).DwellTime;
  if (t > 0.0f) WriteNcBlock(st, "G04 X" + FormatRealText(0, 3, t));
}

void WriteToolUseCondition(TNcWriterState& st) {
  st.ToolUseCounter += 1;
  WriteNcBlock(st, "if $nutze" + IntText(st.ToolUseCounter) + "==1");
}

void WriteToolMacroVariables(TNcWriterState& st) {
  const int i = st.ToolHeaderCount;
  if (i < 0 || i > st.ToolCount || i >= static_cast<int>(st.ToolTable.size())) return;
  TToolRecord& tool = st.ToolTable[static_cast<size_t>(i)];
  if (tool.changeStation != st.LastToolStation) return;
  WriteNcBlock(st, "//");
  WriteNcBlock(st, "$Tooldia=" + FormatRealText(0, 3, 2.0f * tool.tipRadius));
  WriteNcBlock(st, "$Tooltip=" + FormatRealText(0, 3, tool.ballRadius));
  WriteNcBlock(st, "$Toolangle=" + FormatRealText(0, 3, tool.angle));
  WriteNcBlock(st, "$Tooldia2=" + FormatRealText(0, 3, 2.0f * ComputeToolRadiusAtDepth(tool)));
  WriteNcBlock(st, "$ZTIEFE=" + FormatRealText(0, 3, tool.plungeDepth));
}

void WriteCycleCallBlock(TNcWriterState& st) {
  const float f = st.Machine.CycleFeed;
  if (f <= 0.01f) WriteNcBlock(st, "G188 G79");
  else WriteNcBlock(st, "F" + FormatNcNumber(st, static_cast<float>(f * 1000.0)) + " G188 G79");
}

std::string FormatXYWords(TNcWriterState& st, TVectorRecord& point) {
  point.x = RoundedToNcResolution(st, point.x);
  st.LastPos.x = point.x;
  std::string t = FormatXWord(st, point.x);
  point.y = RoundedToNcResolution(st, point.y);
  st.LastPos.y = point.y;
  return t + FormatYWord(st, point.y);
}

void WriteRapidXYBlock(TNcWriterState& st, TVectorRecord& point) { WriteNcBlock(st, "G0" + FormatXYWords(st, point)); }

void WriteRapidXYBlockFmax(TNcWriterState& st, TVectorRecord& point) {
  WriteNcBlock(st, "L" + FormatXYWords(st, point) + " FMAX");
}
