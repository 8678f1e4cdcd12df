// The head of an NC program.
#include "machine/nc_header.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "machine/nc_blocks.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_settings.h"
#include "machine/nc_setup_blocks.h"
#include "ui/common_dialogs.h"
#include "ui/info_window.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

bool IsOneOf(int d, std::initializer_list<int> list) {
  for (int v : list)
    if (v == d) return true;
  return false;
}

// Texts of the program are kept in the DOS code page; NC programs are
// written in the Windows code page.
std::string WinText(std::string text) {
  static uint8_t table[256];
  static bool built = false;
  if (!built) {
    for (int c = 0; c < 256; ++c) table[c] = static_cast<uint8_t>(c);
    for (int w = 128; w < 256; ++w) {
      const uint8_t dos = MapAnsiCharToOem(static_cast<uint8_t>(w));
      if (dos != w) table[dos] = static_cast<uint8_t>(w);
    }
    built = true;
  }
  for (char& c : text) c = static_cast<char>(table[static_cast<uint8_t>(c)]);
  return text;
}

void Raw(TNcWriterState& st, const std::string& text) { AppendNcText(st, text + kLineEnd); }

void Line(TNcWriterState& st, bool asBlock, const std::string& text) {
  if (asBlock) WriteNcBlock(st, text);
  else Raw(st, text);
}

// The standard set: title, version and export line between the marks.
void WriteStandardSet(TNcWriterState& st, bool asBlocks, const std::string& open, const std::string& close) {
  Line(st, asBlocks, WinText(open + FormatProgramTitleLine() + close));
  Line(st, asBlocks, WinText(open + FormatVersionLine() + close));
  Line(st, asBlocks,
       WinText(open + "Export " + FormatDialectNameQuoted(st) + FormatDateTimeText() + close));
}

// The most common row: the set, the rotary diameter comment and the tool
// list, all with the same marks.
void WriteFullSet(TNcWriterState& st, bool setBlocks, const std::string& open, const std::string& close,
                  bool toolBlocks) {
  WriteStandardSet(st, setBlocks, open, close);
  WriteRotaryDiameterComment(st, open, close);
  WriteToolListComments(st, open, close, toolBlocks);
}

void WriteRawSet(TNcWriterState& st, const std::string& open, const std::string& close) {
  WriteFullSet(st, false, open, close, false);
}

void WriteBlockSet(TNcWriterState& st, const std::string& open, const std::string& close) {
  WriteFullSet(st, true, open, close, true);
}

// "(" + message 222 + diameter + ")" as a block, only with the rotary axis on.
void WriteRotaryDiameterBlock(TNcWriterState& st) {
  if (st.RotaryActive == 0) return;
  std::string diameter = FormatRealText(8, 3, st.Machine.RotaryDiameter);
  diameter.erase(0, std::min(diameter.find_first_not_of(' '), diameter.size()));
  WriteNcBlock(st, WinText("(" + GetMessageText(kMsgNcRotaryDiameter, -29) + diameter + ")"));
}

bool CommentHeaderWanted(const TNcWriterState& st) {
  return GetDialectRecord(st.Machine, st.Machine.CurrentDialect).CommentHeaderOn == 1;
}

std::string ProgramNumber3(const TNcWriterState& st) {
  return FormatZeroPaddedInteger(st.Machine.Dialect55Count, 3);
}

// Dialects 53 and 97: the comment blocks are numbered from 9001 on.
void WriteMahoComments(TNcWriterState& st) {
  st.BlockNumber = 9001;
  WriteStandardSet(st, true, "(", ")");
  WriteRotaryDiameterComment(st, "[", "]");
  WriteRotaryDiameterBlock(st);
  WriteToolListComments(st, "(", ")", true);
  st.BlockNumber = 1;
}

}  // namespace

void WriteNcCommentHeader(TNcWriterState& st) {
  const int d = st.Dialect;
  const std::string& name = st.ProgramName;
  if (IsOneOf(d, {3, 5, 7, 8, 10, 13, 14, 15, 17, 18, 19, 23, 24, 26, 33, 37, 38, 43, 58, 63, 66, 76, 80, 94,
                  95, 96})) {
    WriteRawSet(st, "(", ")");
    return;
  }
  switch (d) {
    case 0:
      if (CommentHeaderWanted(st)) WriteRawSet(st, "(", ")");
      break;
    case 20: case 39: case 59: case 91:
      Raw(st, "%0001");
      WriteRawSet(st, "(", ")");
      break;
    case 28:
      Raw(st, "O0001;");
      WriteRawSet(st, "(", ")");
      break;
    case 42:
      Raw(st, "O0001");
      WriteRawSet(st, "(", ")");
      break;
    case 89:
      Raw(st, "O0001");
      break;
    case 34: case 92:
      Raw(st, "%");
      WriteRawSet(st, "(", ")");
      break;
    case 61:
      Raw(st, "\x12%");
      WriteRawSet(st, "(", ")");
      break;
    case 57: case 65:
      Raw(st, "O1233");
      WriteRawSet(st, "(", ")");
      break;
    case 85:
      Raw(st, "%");
      Raw(st, "O1233");
      WriteRawSet(st, "(", ")");
      break;
    case 86:
      Raw(st, "%1");
      WriteRawSet(st, "(", ")");
      break;
    case 16:
      Raw(st, "%1");
      break;
    case 29:
      Raw(st, "%10");
      break;
    case 67:
      Raw(st, "%PM");
      Raw(st, "N9001");
      WriteRawSet(st, "(", ")");
      break;
    case 55:
      Raw(st, "%" + ProgramNumber3(st) + " (" + name + ")");
      WriteRawSet(st, "(", ")");
      break;
    case 88:
      Raw(st, "%1234 (" + name + ")");
      WriteRawSet(st, "(", ")");
      break;
    case 90:
      Raw(st, "00001 (" + name + ")");
      WriteRawSet(st, "(", ")");
      break;
    case 32:
      Raw(st, "O00000001");
      WriteStandardSet(st, false, "(", ")");
      Raw(st, st.RotaryIncremental != 0 ? "(Mantelfl\xE4" "che Z/W[X], C/H[Y], X/U[Z], T32-Betrieb A-Code )"
                                        : "(Planseite, kartesisch, T32-Betrieb A-Code )");
      WriteRotaryDiameterComment(st, "(", ")");
      WriteToolListComments(st, "(", ")", false);
      break;
    case 46:
      WriteRawSet(st, "(", ")");
      Raw(st, "%%%%");
      break;
    case 56:
      WriteRawSet(st, "(", ")");
      Raw(st, "%1000");
      break;
    case 87:
      WriteRawSet(st, "(", ")");
      Raw(st, "%");
      Raw(st, "(&P01/0000)");
      break;
    case 77:
      WriteRawSet(st, "(", ")");
      switch (st.Machine.ToolMeasuring) {
        case 1: Raw(st, "(Werkzeugvermessung mit Laser)"); break;
        case 2: Raw(st, "(Werkzeugvermessung mit Me\xDF" "dose)"); break;
        case 3: Raw(st, "(keine Werkzeugvermessung)"); break;
        default: break;
      }
      break;
    case 1:
      WriteStandardSet(st, false, "(", ")");
      WriteRotaryDiameterComment(st, ";(", ")");
      WriteToolListComments(st, ";(", ")", false);
      break;
    case 4:
      WriteRawSet(st, "%(", ")");
      break;
    case 11:
      WriteStandardSet(st, false, "(", "");
      WriteRotaryDiameterComment(st, "(", ")");
      WriteToolListComments(st, "(", ")", false);
      break;
    case 12:
      WriteRawSet(st, ";", "");
      break;
    case 40:
      WriteRawSet(st, "//", "");
      break;
    case 25: case 81:
      WriteNcBlock(st, "M90");
      if (CommentHeaderWanted(st)) WriteRawSet(st, "//", "");
      break;
    case 82:
      WriteNcBlock(st, "% //Programmstart");
      WriteRawSet(st, "//", "");
      break;
    case 48: {
      std::string date;
      FormatDate(date);
      Raw(st, date);
      Raw(st, "Marvek");
      WriteRawSet(st, ";", "");
      break;
    }
    case 49:
      Raw(st, "\x02\r");
      Raw(st, "(DFS,P 1234, Marvek,RWED)");
      WriteRawSet(st, "(* ", " *)");
      break;
    case 50:
      WriteRawSet(st, "( ", " )");
      break;
    case 52:
      WriteRawSet(st, "[", "]");
      break;
    case 62:
      WriteRawSet(st, "/*", "*/");
      break;
    case 51:
      WriteWorkpiecePathHeader(st);
      WriteFullSet(st, false, ";", "", true);
      break;
    case 2: case 78:
      WriteStandardSet(st, true, "(", ")");
      WriteRotaryDiameterBlock(st);
      WriteToolListComments(st, "(", ")", true);
      break;
    case 9:
      WriteNcBlock(st, "IMF_PBL");
      WriteBlockSet(st, ";", "");
      break;
    case 22:
      WriteStandardSet(st, true, ";", "");
      WriteRotaryDiameterComment(st, ";(", ")");
      WriteToolListComments(st, ";(", ")", true);
      break;
    case 36:
      WriteBlockSet(st, ";", "");
      break;
    case 64:
      WriteFullSet(st, true, ";", "", false);
      break;
    case 68: case 99:
      WriteNcBlock(st, "BEGIN PGM 9001 MM");
      WriteBlockSet(st, ";", "");
      break;
    case 69: case 73: case 93:
      WriteNcBlock(st, "BEGIN PGM " + name + " MM");
      WriteBlockSet(st, ";", "");
      break;
    case 70: case 71:
      WriteNcBlock(st, "BEGIN PGM " + name + " MM");
      break;
    case 72: case 83:
      Raw(st, "%_N_" + name + "_MPF");
      WriteBlockSet(st, ";", "");
      break;
    case 74: case 75:
      WriteNcBlock(st, "%_N_" + name + "_MPF");
      WriteStandardSet(st, true, ";", "");
      WriteNcBlock(st, d == 74 ? ";Gravur auf Mantelflaeche" : ";Gravur auf Stirnflaeche");
      WriteRotaryDiameterComment(st, ";", "");
      WriteToolListComments(st, ";", "", true);
      for (const char* text : {"GETD(AX5)", "TRANS", "TRAFOOF", "DIAMON", "M48", "SETMS()", "SYNC_OFF", "G0 Q1=20",
                               "G54"})
        WriteNcBlock(st, text);
      break;
    case 84:
      Raw(st, "%");
      Raw(st, "O1");
      WriteBlockSet(st, "/", "");
      break;
    case 53:
      Raw(st, "%PM");
      WriteMahoComments(st);
      break;
    case 97:
      Raw(st, "%PM9" + ProgramNumber3(st));
      Raw(st, "N9" + ProgramNumber3(st));
      WriteMahoComments(st);
      break;
    case 35:
      Raw(st, "%");
      WriteProgramNoteLines(st);
      break;
    case 44:
      Raw(st, "DEF TEST ( )");
      Raw(st, "");
      WriteStandardSet(st, false, "(", ")");
      Raw(st, "");
      break;
    case 79:
      Raw(st, "[");
      Raw(st, "\"" + name + "\"");
      break;
    case 98:
      Raw(st, "&%" + name);
      Raw(st, "%");
      Raw(st, "(&%" + name + "/000000\")");
      break;
    default:  // 6, 21, 27, 30, 31, 41, 45, 47, 54, 60 and the generic codes: none
      break;
  }
}

void WriteNcProgramHeader(TNcWriterState& st) {
  const bool known = st.Dialect <= 99;
  // Stage 1: the comment lines.
  if (known) WriteNcCommentHeader(st);

  // Stage 2: the last written position.
  st.LastPos.x = st.Machine.StartX;
  st.LastPos.y = st.Machine.StartY;
  st.LastPos.z = -st.Machine.SafeZ;
  if (st.RotaryActive != 0) {
    if (st.RotaryMode == 1) st.LastPos.x = kNcUnsetCoordinate;
    else if (st.RotaryMode == 2) st.LastPos.y = kNcUnsetCoordinate;
  }

  // Stage 3: the set-up section.
  if (known) WriteGCodeSetupBlocks(st);

  // Stage 4: hand-over to the record loop.
  st.ToolStation = st.LastToolStation;
  st.ClearanceHeight = st.Machine.SafeZ;
}
