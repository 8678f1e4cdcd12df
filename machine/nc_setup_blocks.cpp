// The set-up section of the NC program head for the G-code dialects.
//
// Sections:
//   pieces every set-up uses
//   set-ups shared by several dialects
//   entry points
//   the set-up of each dialect
#include "machine/nc_setup_blocks.h"

#include <initializer_list>

#include "machine/nc_blocks.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_settings.h"
#include "machine/nc_words.h"
#include "view/character_cells.h"

// --- pieces every set-up uses ---------------------------------------------------------------

namespace {

// Helpers named after the pieces of the sequences. Every word is evaluated
// when its line is built, in the order the line reads.
std::string N(const TNcWriterState& st, float v) { return FormatNcNumber(st, v); }
std::string Station(const TNcWriterState& st) { return std::to_string(st.LastToolStation); }
void Block(TNcWriterState& st, const std::string& text) { WriteNcBlock(st, text); }
void Pending(TNcWriterState& st) { st.CoolantPending = 1; }

bool StartPositionSet(const TNcWriterState& st) {
  return st.Machine.StartX > -9999.0f && st.Machine.StartY > -9999.0f;
}

// "tool word + change code" as one block.
void ToolAndChangeBlock(TNcWriterState& st) {
  std::string t = FormatToolWord(st);
  t += GetToolChangeCode(st);
  Block(st, t);
}

void ToolBlock(TNcWriterState& st) { Block(st, FormatToolWord(st)); }

// "spindle word + tail" as one block.
void SpindleBlock(TNcWriterState& st, const char* tail) { Block(st, FormatSpindleWord(st) + tail); }

void CoolantBlock(TNcWriterState& st) { Block(st, GetCoolantWord(st)); }

// prefix + X + " Y" + Y of the start position.
std::string StartXYText(const TNcWriterState& st, const char* prefix) {
  return prefix + N(st, st.Machine.StartX) + " Y" + N(st, st.Machine.StartY);
}

// The start move of the sequences that go to the start position itself:
// prefix + X + " Y" + Y + suffix. A start position that is not set (-10000)
// must not become a move to -9999 mm: then the block keeps only its mode
// words and suffix (withoutXY), or is left out when withoutXY is empty.
void StartMoveBlock(TNcWriterState& st, const char* prefix, const std::string& suffix, const std::string& withoutXY) {
  if (StartPositionSet(st)) Block(st, StartXYText(st, prefix) + suffix);
  else if (!withoutXY.empty()) Block(st, withoutXY);
}

// prefix + X + " Y" + Y of the first contour start; LastPos follows.
void FirstContourStartLine(TNcWriterState& st, const std::string& prefix, const std::string& suffix = "") {
  const TVectorRecord& p = st.FirstContourStart;
  Block(st, prefix + N(st, p.x) + " Y" + N(st, p.y) + suffix);
  st.LastPos.x = RoundedToNcResolution(st, p.x);
  st.LastPos.y = RoundedToNcResolution(st, p.y);
}

void SafeZBlock(TNcWriterState& st, const char* prefix) { Block(st, prefix + N(st, st.Machine.SafeZ)); }

// The move of dialects 51 and 52: "G00" to a set start position, else "G0"
// to the first contour start.
void TwoWayStartMove(TNcWriterState& st) {
  if (StartPositionSet(st)) Block(st, StartXYText(st, "G00 X"));
  else FirstContourStartLine(st, "G0 X");
}

// The tool selection through ToolStation of dialects 25, 81 and 84.
void SelectThroughToolStation(TNcWriterState& st) {
  st.ToolStation = st.FirstToolStation;
  st.LastSpindleSpeed = st.FirstToolSpeed;
}

// --- set-ups shared by several dialects -----------------------------------------------------

// Dialects 25 and 81 (drill heads, tool call by name).
void WriteDrillHeadSetup(TNcWriterState& st) {
  SelectThroughToolStation(st);
  Block(st, "G17");
  Block(st, "G90");
  Block(st, "G75");
  WriteStartApproachLine(st, "G0 X");
  if (st.Dialect == 25 && st.ToolStation > 1000) return;
  st.LastToolStation = st.ToolStation;
  if (GetDialectRecord(st.Machine, st.Machine.CurrentDialect).ToolChangeCode == 2) {
    TrimTrailingBlanks(st.FirstToolName);
    Block(st, "G00 C" + st.FirstToolName);
  } else {
    ToolBlock(st);
  }
  Block(st, "G97 " + FormatSpindleWord(st));
  Pending(st);
}

void WriteSetupOf24(TNcWriterState& st, const char* first) {
  SelectFirstTool(st);
  Block(st, first);
  std::string t = GetToolChangeCode(st) + " ";
  t += FormatToolWord(st);
  Block(st, t);
  Block(st, "G0 G43 H" + Station(st) + " Z" + N(st, st.Machine.SafeZ));
  StartMoveBlock(st, "G0 X", "", "");
  Pending(st);
  SpindleBlock(st, " M3");
}

void WriteSetupOf56(TNcWriterState& st) {
  SelectFirstTool(st);
  if (st.Dialect == 57) Block(st, "G54");
  Block(st, "G17");
  Block(st, "G90");
  ToolAndChangeBlock(st);
  SpindleBlock(st, " M3");
  Pending(st);
  CoolantBlock(st);
  WriteStartApproachLine(st, "G0 X");
  SafeZBlock(st, "G0 Z");
}

void WriteSetupOf94(TNcWriterState& st) {
  Block(st, st.Dialect == 96 ? "G90 G21 G17" : "G90 G17");
  SelectFirstTool(st);
  ToolAndChangeBlock(st);
  SpindleBlock(st, " M03");
  WriteStartPositionXY(st);
  Pending(st);
}

// --- entry points ---------------------------------------------------------------------------

constexpr int kGCodeDialects[] = {0,  2,  3,  6,  7,  8,  10, 13, 14, 15, 16, 17, 18, 19, 21, 23, 24, 25,
                                  26, 27, 28, 29, 30, 35, 36, 38, 41, 42, 43, 45, 46, 48, 49, 50, 51, 52,
                                  53, 56, 57, 58, 60, 61, 62, 63, 64, 65, 66, 67, 72, 76, 77, 78, 79, 80,
                                  81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 92, 94, 95, 96, 97, 98};

}  // namespace

bool IsGCodeSetupDialect(int dialect) {
  for (int d : kGCodeDialects)
    if (d == dialect) return true;
  return false;
}

void SelectFirstTool(TNcWriterState& st) {
  st.LastToolStation = st.FirstToolStation;
  st.LastSpindleSpeed = st.FirstToolSpeed;
}

void WriteStartApproachLine(TNcWriterState& st, const std::string& prefix, const std::string& suffix) {
  if (StartPositionSet(st)) {
    Block(st, prefix + N(st, st.Machine.StartX) + " Y" + N(st, st.Machine.StartY) + suffix);
    return;
  }
  FirstContourStartLine(st, prefix, suffix);
}

// --- the set-up of each dialect -------------------------------------------------------------

bool WriteGCodeSetupBlocks(TNcWriterState& st) {
  const int d = st.Dialect;
  if (!IsGCodeSetupDialect(d)) return false;
  const TNcSettings& m = st.Machine;
  switch (d) {
    case 0: {
      const std::string userLine = ReadNcString(m.StartBlockText, 16);
      if (!userLine.empty()) Block(st, userLine);
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      WriteStartPosition(st, true);
      break;
    }
    case 2: case 78:
      Block(st, "G90");
      CopyInsertFile(st, "ErgaenzKopf.PGM");
      Block(st, "G52");
      SelectFirstTool(st);
      ToolBlock(st);
      Block(st, FormatSpindleWord(st));
      Pending(st);
      WriteStartApproachLine(st, "G0 X");
      st.LastFeed = 0.85f;
      SafeZBlock(st, "G0 Z");
      Block(st, "G1 Z" + N(st, st.FirstToolClearance) + FormatFeedWord(st));
      st.LastPos.z = -st.FirstToolClearance;
      break;
    case 3:
      AppendNcText(st, "%" + GetNcLineEnd(st));
      WriteFirstToolBlock(st, " ", "");
      WriteStartPosition(st, true);
      st.LastFeed = 0.0f;
      break;
    case 6: case 41: {
      AppendNcText(st, "%12345*%" + GetNcLineEnd(st));
      SelectFirstTool(st);
      std::string t = d == 6 ? "G64 G17 G90" : "G64 G17 G90 ";
      t += FormatSpindleWord(st);
      t += " M3 ";
      t += FormatToolWord(st);
      Block(st, t);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    }
    case 58:
      AppendNcText(st, "%12345*%" + GetNcLineEnd(st));
      SelectFirstTool(st);
      Block(st, "G64 G17 G90 ");
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      CoolantBlock(st);
      WriteStartApproachLine(st, "G0 X");
      break;
    case 7:
      AppendNcText(st, ";" + st.ProgramName + GetNcLineEnd(st));
      Block(st, "G90 G17");
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      WriteCycleCallBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 8: case 10:
      AppendNcText(st, "%1" + GetNcLineEnd(st));
      StartMoveBlock(st, "G0 G90 X", " Z" + N(st, m.SafeZ), "G0 G90 Z" + N(st, m.SafeZ));
      SafeZBlock(st, "G0 Z");
      break;
    case 13:
      WriteFirstToolBlock(st, " G17 ", GetToolChangeCode(st));
      WriteStartPosition(st, true);
      break;
    case 14:
      SelectFirstTool(st);
      Block(st, FormatToolWord(st) + " L31");
      Block(st, "M3 " + FormatSpindleWord(st));
      Block(st, "M41");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 15: case 17:
      SelectFirstTool(st);
      ToolBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 16:
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      Block(st, FormatSpindleWord(st));
      Pending(st);
      WriteStartPosition(st, true);
      CoolantBlock(st);
      break;
    case 18:
      AppendNcText(st, "%" + st.ProgramName + ",MX,\r\n");
      SelectFirstTool(st);
      for (const char* text : {"G90", "G94", "G54", "G17"}) Block(st, text);
      WriteStartPosition(st, true);
      ToolBlock(st);
      Block(st, GetToolChangeCode(st));
      Block(st, "G43");
      SpindleBlock(st, " M3");
      Pending(st);
      break;
    case 19: {
      AppendNcText(st, "%1" + GetNcLineEnd(st));
      StartMoveBlock(st, "G0 G90 X", " Z" + N(st, m.SafeZ), "G0 G90 Z" + N(st, m.SafeZ));
      SelectFirstTool(st);
      std::string t = GetToolChangeCode(st) + " ";
      t += FormatToolWord(st);
      Block(st, t);
      Block(st, "M100 " + FormatToolWord(st));
      Block(st, FormatSpindleWord(st));
      Pending(st);
      break;
    }
    case 21:
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      StartMoveBlock(st, "G0 X", "", "");
      SafeZBlock(st, "G0 Z");
      Pending(st);
      SpindleBlock(st, " M3");
      break;
    case 23:
      SelectFirstTool(st);
      Block(st, "G90");
      Block(st, "G01 G42");
      Pending(st);
      break;
    case 24:
      WriteSetupOf24(st, "G90 G40 G49 G17");
      break;
    case 27:
      WriteSetupOf24(st, "G90 G54 G40 G49 G17");
      break;
    case 25: case 81:
      WriteDrillHeadSetup(st);
      break;
    case 26:
      SelectFirstTool(st);
      Block(st, "G90 G80 G40 G00 G21");
      ToolAndChangeBlock(st);
      Block(st, "G43H" + Station(st));
      SpindleBlock(st, " M3");
      WriteStartApproachLine(st, "G0 X");
      SafeZBlock(st, "G0 Z");
      Pending(st);
      break;
    case 28: case 89:
      SelectFirstTool(st);
      Block(st, "G17 G40 G80 G90 G94 G98");
      ToolAndChangeBlock(st);
      WriteStartPositionXY(st);
      Pending(st);
      SpindleBlock(st, " M3");
      break;
    case 29:
      SelectFirstTool(st);
      StartMoveBlock(st, "G90 G00 X", "", "G90");
      Pending(st);
      break;
    case 30:
      SelectFirstTool(st);
      FirstContourStartLine(st, "G00 X");
      SafeZBlock(st, "G00 Z");
      Pending(st);
      break;
    case 35:
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      Block(st, FormatSpindleWord(st));
      Pending(st);
      break;
    case 36:
      SelectFirstTool(st);
      Block(st, "L_KOPF");
      SafeZBlock(st, "G00 Z");
      Block(st, "G54");
      StartMoveBlock(st, "G00 G40 G90 X", "", "G40 G90");
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      break;
    case 38:
      st.LastToolStation = st.FirstToolStation;  // the speed stays
      AppendNcText(st, "%\r\n");
      StartMoveBlock(st, "G92 X", "", "");
      Block(st, "(G41 D01 S1)");
      Block(st, "M22M23");
      break;
    case 42: {
      SelectFirstTool(st);
      for (const char* text : {"G17 G21 G90 G40 G80 G98", "G00 G91 G30Z0", "G30X0Y0", "M01"}) Block(st, text);
      ToolAndChangeBlock(st);
      Block(st, "G90 G54");
      {
        const std::string spindle = FormatSpindleWord(st) + " M03";
        StartMoveBlock(st, "G00 X", " " + spindle, spindle);
      }
      const int32_t n = st.LastToolStation;
      const std::string station = n >= 0 && n < 10 ? "0" + Station(st) : Station(st);
      Block(st, "G43 H" + station + " Z" + N(st, m.SafeZ));
      Pending(st);
      break;
    }
    case 43:
      SelectFirstTool(st);
      Block(st, "G90 G80 G40 G17");
      ToolAndChangeBlock(st);
      Block(st, "M3 " + FormatSpindleWord(st));
      Block(st, "H" + Station(st) + " Z" + N(st, m.SafeZ));
      StartMoveBlock(st, "E1 G0 X", "", "");
      Pending(st);
      break;
    case 45:
      SelectFirstTool(st);
      Block(st, "G17");
      Block(st, "G90");
      Block(st, "G75");
      Block(st, FormatSpindleWord(st));
      Block(st, "G00 " + FormatToolWord(st));
      StartMoveBlock(st, "G00 X", "", "");
      break;
    case 46: {
      SelectFirstTool(st);
      std::string t = FormatToolWord(st) + " ";
      t += FormatSpindleWord(st);
      Block(st, t + " M3");
      Pending(st);
      WriteStartApproachLine(st, "G0 G40 G90 X");
      break;
    }
    case 48:
      Block(st, "G74");
      SelectFirstTool(st);
      Block(st, "M06 " + FormatToolWord(st));
      Block(st, "M25 " + FormatSpindleWord(st));
      Block(st, "M10 O6.1");
      Block(st, "M10 O2.1");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 49:
      for (const char* text : {"G0 G76 Z0 M5 M70", "G22 V1", "G54", "G60 X0 Y0 Z0"}) Block(st, text);
      SelectFirstTool(st);
      ToolBlock(st);
      Block(st, GetToolChangeCode(st));
      SpindleBlock(st, " M3");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 50:
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      // The one sequence that moves only when a start position is set.
      if (StartPositionSet(st)) FirstContourStartLine(st, "G0 X");
      break;
    case 51:
      SelectFirstTool(st);
      SafeZBlock(st, "G55 G00 Z");
      TwoWayStartMove(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      break;
    case 52:
      Block(st, "O1");
      SelectFirstTool(st);
      SafeZBlock(st, "G00 Z");
      TwoWayStartMove(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      CoolantBlock(st);
      break;
    case 53:
      for (const char* text : {"G17", "G51", "G54"}) Block(st, text);
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      Block(st, "G40 " + FormatSpindleWord(st) + " M3");
      Pending(st);
      WriteStartApproachLine(st, "G0 X");
      break;
    case 97:
      Block(st, "G17");
      Block(st, "G52");
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      Block(st, "G40 " + FormatSpindleWord(st) + " M3");
      Pending(st);
      WriteStartPositionXY(st);
      break;
    case 56: case 57:
      WriteSetupOf56(st);
      break;
    case 60:
      Block(st, "O0200");
      SelectFirstTool(st);
      Block(st, "G17 G40 G80 G90 G94 G98");
      Pending(st);
      SpindleBlock(st, " M3");
      break;
    case 61: {
      Block(st, "G17 G40 G49 G80 G90");
      SelectFirstTool(st);
      ToolBlock(st);
      Block(st, GetToolChangeCode(st));
      SpindleBlock(st, " M3");
      Pending(st);
      std::string tail = " Z" + N(st, m.SafeZ) + " H" + Station(st) + " ";
      tail += FormatNextToolWord(st);
      tail += " ";
      tail += GetCoolantWord(st);
      WriteStartApproachLine(st, "G0 G58 G43 X", tail);
      break;
    }
    case 62:
      SelectFirstTool(st);
      for (const char* text : {"G90", "G94", "G17", "G0 G53 Z0", "G0 X0 Y0"}) Block(st, text);
      st.LastPos.x = 0.0f;
      st.LastPos.y = 0.0f;
      Block(st, "M5");
      ToolBlock(st);
      Block(st, GetToolChangeCode(st));
      SpindleBlock(st, " M3");
      Pending(st);
      break;
    case 63:
      Block(st, "G55");
      Block(st, "G92 X0 Y0 Z" + N(st, st.LastRecord158Z));
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Block(st, "M62");
      Pending(st);
      WriteStartApproachLine(st, "G0 X");
      break;
    case 64:
      SelectFirstTool(st);
      Block(st, "TRANS Z" + N(st, st.LastRecord158Z));
      Block(st, FormatToolWord(st) + " D1");
      Block(st, "L06");
      SpindleBlock(st, " M3");
      Pending(st);
      FirstContourStartLine(st, "G0 X");
      break;
    case 65:
      SelectFirstTool(st);
      for (const char* text : {"G54", "G17", "G90", "G61.1"}) Block(st, text);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Block(st, "G0 X0 Y0");
      Block(st, "G43 Z3 H" + Station(st));
      Pending(st);
      CoolantBlock(st);
      WriteStartApproachLine(st, "G0 X");
      SafeZBlock(st, "G0 Z");
      break;
    case 66:
      SelectFirstTool(st);
      Block(st, "G17");
      Block(st, "G90");
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      WriteSpindleRampDwell(st);
      WriteStartApproachLine(st, "G0 X");
      SafeZBlock(st, "G0 Z");
      Pending(st);
      CoolantBlock(st);
      break;
    case 67:
      Block(st, "G17");
      Block(st, "G52");
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Pending(st);
      CoolantBlock(st);
      WriteStartApproachLine(st, "G0 X");
      break;
    case 72:
      SelectFirstTool(st);
      ToolBlock(st);
      Block(st, GetToolChangeCode(st));
      SpindleBlock(st, " M3");
      Block(st, "G54");
      Block(st, "TRANS Z1000");
      SafeZBlock(st, "G00 Z");
      Pending(st);
      CoolantBlock(st);
      WriteStartApproachLine(st, "G00 G40 G90 X");
      break;
    case 76:
      AppendNcText(st, "%\r\n");
      Block(st, "G55");
      WriteStartApproachLine(st, "G0 X");
      SafeZBlock(st, "G0 Z");
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      Block(st, "G54");
      Block(st, FormatSpindleWord(st));
      Pending(st);
      if (m.CoolantOn != 0) CoolantBlock(st);
      break;
    case 77:
      AppendNcText(st, ";" + st.ProgramName + GetNcLineEnd(st));
      Block(st, "G90 G17");
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      if (m.ToolMeasuring == 1 || m.ToolMeasuring == 2) {
        Block(st, m.ToolMeasuring == 1 ? "G383" : "G188");
        Block(st, "G79");
        Block(st, m.ZeroOffsetG59 == 1 ? "G59 P3" : ";G59 P3");
      }
      SpindleBlock(st, " M3");
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 79:
      WriteStartApproachLine(st, "G0 X");
      WriteFirstToolBlock(st, " G17 ", GetToolChangeCode(st));
      Block(st, "G68 P3");
      WriteStartPosition(st, true);
      break;
    case 80:
      for (const char* text : {"M90", "G75", "G0 G40 G90 X0 Y0", "G0 G40 G90 X1 Y1 C01"}) Block(st, text);
      WriteStartApproachLine(st, "G0 X");
      SelectFirstTool(st);
      ToolBlock(st);
      Block(st, "M11");
      WriteStartPosition(st, true);
      break;
    case 82:
      Block(st, "G71 //in mm");
      SelectFirstTool(st);
      Block(st, FormatSpindleWord(st));
      Pending(st);
      WriteStartPosition(st, true);
      break;
    case 83:
      SelectFirstTool(st);
      for (const char* text : {"Z_HOCH", "G501", "G90 G40 G17", "HSCCFG(1,0.030,3,0.30)", "FFWON", "SOFT"})
        Block(st, text);
      ToolBlock(st);
      Block(st, GetToolChangeCode(st));
      Block(st, "D1");
      Block(st, "M13 M46 M21");
      Block(st, "M3 " + FormatSpindleWord(st));
      SafeZBlock(st, "G0 Z");
      WriteStartApproachLine(st, "G0 X");
      Pending(st);
      CoolantBlock(st);
      break;
    case 84:
      SelectThroughToolStation(st);
      Block(st, "G15 H01");
      Block(st, "G53 Z100. M5");
      st.LastToolStation = st.ToolStation;
      ToolAndChangeBlock(st);
      StartMoveBlock(st, "G90 G0 X", " Z" + N(st, m.SafeZ), "G90 G0 Z" + N(st, m.SafeZ));
      SpindleBlock(st, " M3");
      break;
    case 85:
      SelectFirstTool(st);
      for (const char* text : {"G54", "G17", "G90"}) Block(st, text);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      WriteStartApproachLine(st, "G0 X");
      Block(st, "G43 Z3 H" + Station(st));
      Pending(st);
      CoolantBlock(st);
      break;
    case 86:
      SelectFirstTool(st);
      Block(st, "G17");
      Block(st, "G40 G50 G80 G90 G91.1");
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      WriteStartApproachLine(st, "G0 X");
      Pending(st);
      CoolantBlock(st);
      break;
    case 87:
      SelectFirstTool(st);
      Block(st, "G90");
      ToolAndChangeBlock(st);
      Block(st, FormatSpindleWord(st));
      WriteStartApproachLine(st, "G00 X");
      Pending(st);
      CoolantBlock(st);
      break;
    case 88:
      SelectFirstTool(st);
      for (const char* text : {"G90", "G40", "G17", "G60 X0"}) Block(st, text);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M3");
      Block(st, "M13");
      WriteStartApproachLine(st, "G0 X");
      SafeZBlock(st, "G0 Z");
      Pending(st);
      CoolantBlock(st);
      break;
    case 90:
      SelectFirstTool(st);
      Block(st, "G90 G0 G17 G40");
      Block(st, "G49");
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M03");
      WriteStartApproachLine(st, "G0 X");
      Block(st, "G0 G43 Z" + N(st, m.SafeZ) + " H" + Station(st));
      Pending(st);
      CoolantBlock(st);
      break;
    case 92:
      Block(st, "G17");
      SelectFirstTool(st);
      ToolAndChangeBlock(st);
      SpindleBlock(st, " M03");
      Block(st, "M8");
      Block(st, "G04 Q8");
      WriteStartApproachLine(st, "G0 X");
      Pending(st);
      if (m.CoolantOn != 0) CoolantBlock(st);
      break;
    case 94: case 95: case 96:
      WriteSetupOf94(st);
      break;
    case 98: {
      SelectFirstTool(st);
      Block(st, "G90");
      ToolAndChangeBlock(st);
      Block(st, "G00 Z" + N(st, m.SafeZ) + " " + FormatSpindleWord(st));
      WriteStartApproachLine(st, "G00 X");
      Pending(st);
      CoolantBlock(st);
      break;
    }
    default:
      return false;
  }
  return true;
}
