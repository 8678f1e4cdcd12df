// Tool, spindle, feed, coolant and dwell words.
#include "machine/nc_words.h"

#include <algorithm>

#include "model/geometry_2d.h"
#include "frame/messages.h"
#include "machine/nc_blocks.h"
#include "machine/nc_dialect_words.h"
#include "ui/common_dialogs.h"
#include "view/character_cells.h"

namespace {

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
  TrimTrailingBlanks(st.FirstToolName);
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
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  if (!row.ChangeCodes) return "";
  switch (OwnRecord(st).ToolChangeCode) {
    case 1: return row.ChangeM6;
    case 2: return " M66";
    case 3: return row.ChangeNone;
    case 4: return " M00";
    default: return "";
  }
}

std::string FormatToolWord(TNcWriterState& st) {
  st.NumberNextToolBlock = 1;
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  const int32_t n = st.LastToolStation;
  const std::string number = row.ToolPrefix + ZeroPadded(n, row.ToolDigits) + row.ToolSuffix;
  std::string t;
  switch (row.Tool) {
    case kNcToolNone: break;
    case kNcToolNumber: t = number; break;
    case kNcToolCallFeed:
      t = number;
      st.ToolCallFeedPending = 1;
      break;
    case kNcToolOffset: t = number + " D" + IntText(n); break;
    // The code of the first of these dialects decides for both.
    case kNcToolZeroOnM66: t = GetDialectRecord(st.Machine, 2).ToolChangeCode == 2 ? "T0" : number; break;
    case kNcToolTurrets: t = n < 1000 ? number : "TT" + IntText(n - 1000); break;
    case kNcToolDrillHead: t = DrillHeadToolWord(st, n); break;
    case kNcToolMazak: t = row.ToolPrefix + MazakToolNumber(st, n); break;
    case kNcToolName: t = ToolNameWord(st, n); break;
  }
  st.PathLength = 0.0;
  return t;
}

std::string FormatNextToolWord(TNcWriterState& st) {
  st.NumberNextToolBlock = 1;
  st.PathLength = 0.0;
  if (!NcWordsRow(st.Dialect).NextToolWord || st.ToolTable.empty() || st.ToolCount <= 0) return "";
  int next = st.ToolHeaderCount + 1;
  if (next >= st.ToolCount || next < 0) next = 0;
  if (next >= static_cast<int>(st.ToolTable.size())) return "";
  return "T" + IntText(st.ToolTable[static_cast<size_t>(next)].changeStation);
}

std::string FormatSpindleWord(TNcWriterState& st) {
  if (st.LastSpindleSpeed > 100000.0f) st.LastSpindleSpeed = 100000.0f;
  if (st.LastSpindleSpeed == 0.0f) return "";
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  float& s = st.LastSpindleSpeed;
  std::string speed;
  switch (row.Speed) {
    case kNcSpeedNone:
      return "";
    case kNcSpeedInteger:
      if (row.MacroWords && CurrentRecord(st).MacroVariables == 1)
        return "S[SpdDrehz__" + IntText(st.ToolHeaderCount + 1) + "]";
      speed = RoundedText(s);
      break;
    case kNcSpeedNumber:
      speed = FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
      break;
    case kNcSpeedPercent:
      if (s > 54000.0f) s = 54000.0f;
      speed = RoundedText(static_cast<double>(s) * 100.0 / 54000.0);
      break;
    case kNcSpeedCapped:
      if (s > 127.0f) {
        if (st.SpeedCapWarned == 0) {
          st.SpeedCapWarned = 1;
          ShowTitledMessage(GetMessageText(kMsgNcSpeedCapped1, -39) + "\r\n" + GetMessageText(kMsgNcSpeedCapped2, -39));
        }
        s = 127.0f;
        st.SpindleSpeed = 127.0f;
      }
      speed = FormatNcNumber(st, static_cast<float>(RoundHalfEven(s)));
      break;
    case kNcSpeedKosy:
      if (s < 4800.0f) s = 4800.0f;
      if (s > 60000.0f) s = 60000.0f;
      speed = FormatNcNumber(st, static_cast<float>(static_cast<double>(RoundHalfEven(s / 240.0)) / 10.0));
      break;
  }
  return row.SpeedPrefix + speed + row.SpeedSuffix;
}

std::string FormatFeedWord(const TNcWriterState& st) {
  const double f = st.LastFeed;
  if (f <= 0.01) return "";
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  if (row.MacroWords && CurrentRecord(st).MacroVariables == 1)
    return (st.Plunging == 0 ? " F[VorschubXY" : " F[VorschubZ_") + IntText(st.ToolHeaderCount + 1) + "]";
  double v = 0.0;
  switch (row.Feed) {
    case kNcFeedNone: return "";
    case kNcFeedMPerMin: v = f; break;
    case kNcFeedMmPerMin: v = f * 1000.0; break;
    case kNcFeedMmPerSec: v = f / 0.06; break;
    case kNcFeedTenthMmPerSec: v = f / 0.06 * 10.0; break;
    case kNcFeedUmPerSec: v = f * 1000000.0 / 60.0; break;
  }
  if (!row.FeedWhole) return row.FeedPrefix + FormatNcNumber(st, static_cast<float>(v));
  // A slow feed that rounds to 0 is written as the smallest feed the word holds, never F0.
  return row.FeedPrefix + IntText(std::max<int64_t>(RoundHalfEven(v), 1));
}

std::string FormatCoolantCodes(const TNcWriterState& st, bool on) {
  const TNcDialectRecord& r = OwnRecord(st);
  std::string t = on ? "M8" : "M9";
  if (r.CoolantM50 == 1) t += on ? " M50" : " M51";
  if (r.CoolantM52 == 1) t += on ? " M52" : " M53";
  return t;
}

std::string GetCoolantWord(TNcWriterState& st) {
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  const bool on = st.Machine.CoolantOn == 1;
  const uint8_t kind = st.Machine.CoolantKind;
  std::string t;
  if (row.CoolantCodes) t = FormatCoolantCodes(st, on);
  else if (!on) t = row.CoolantOff;
  else if (kind == 2 && row.CoolantOnM7 != nullptr) t = row.CoolantOnM7;
  else if (kind == 3 && row.CoolantOnM50 != nullptr) t = row.CoolantOnM50;
  else t = row.CoolantOn;
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

std::string FormatToolCallOrName(TNcWriterState& st) {
  if (CurrentRecord(st).ToolChangeCode != 2) return FormatToolWord(st);
  TrimTrailingBlanks(st.FirstToolName);
  return "G00 C" + st.FirstToolName;
}
