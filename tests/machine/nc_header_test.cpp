// The head of an NC program: comment lines per dialect, the reset of the
// last position, the set-up sections of the G-code dialects and the
// hand-over to the record loop. The date and time come from a fixed clock.
#include "machine/nc_header.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "frame/messages.h"
#include "machine/nc_blocks.h"
#include "machine/nc_fixed_clock.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_program_end.h"
#include "machine/nc_program_writer.h"
#include "machine/nc_setup_blocks.h"
#include "machine/nc_test_support.h"
#include "support/work_folder.h"
#include "machine/nc_settings.h"
#include "ui/common_dialogs.h"
#include "ui/info_window.h"

namespace {

using nctest::Buffered;

// The DOS code page letters of the program's own texts as the NC file
// holds them (Windows code page).
std::string Win(std::string t) {
  for (char& c : t) {
    if (c == '\x81') c = '\xFC';
    else if (c == '\x84') c = '\xE4';
    else if (c == '\x94') c = '\xF6';
  }
  return t;
}

class NcHeaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work_.Entered());
    ASSERT_TRUE(nctest::FixClock());
    setenv("TORV_HOME", TORV_BINARY_DIR, 1);
    OpenMessageFile();
  }
  void TearDown() override { CloseMessageFile(); }

  // A job with two tools, its first contour at (12.5, 7.25), the first tool
  // 1 at 18000 rpm with a clearance of 2 mm; safe height 10, start position
  // (0, 0), no block numbers unless asked.
  std::unique_ptr<TNcWriterState> State(int dialect, int16_t numbering = 0) {
    auto st = nctest::MakeState(dialect, numbering);
    st->Machine.CurrentDialect = static_cast<int16_t>(dialect);
    st->ProgramName = "TEIL1";
    st->OutputFileName = "C:\\NC\\TEIL1.NC";
    st->ToolTable.assign(kNcToolTableSize, TToolRecord{});
    AddTool(*st, 0, 1, "STICHEL 30", 0.5f, 30.0f, 0.0f, 3.0f, 0.2f);
    AddTool(*st, 1, 2, "KUGEL 3  ", 1.5f, 0.0f, 1.5f, 3.0f, 1.0f);
    st->ToolCount = 2;
    st->FirstToolStation = 1;
    st->FirstToolSpeed = 18000.0f;
    st->FirstToolClearance = 2.0f;
    st->FirstToolName = "STICHEL 30";
    st->FirstContourStart = {11, 12.5f, 7.25f, 0.0f};
    return st;
  }

  static void AddTool(TNcWriterState& st, int i, int16_t station, const std::string& name, float tip, float angle,
                      float ball, float shank, float depth) {
    TToolRecord& t = st.ToolTable[static_cast<size_t>(i)];
    t.name[0] = static_cast<uint8_t>(name.size());
    for (size_t k = 0; k < name.size(); ++k) t.name[k + 1] = static_cast<uint8_t>(name[k]);
    t.changeStation = station;
    t.tipRadius = tip;
    t.angle = angle;
    t.ballRadius = ball;
    t.shankRadius = shank;
    t.plungeDepth = depth;
  }

  // The standard comment set (title, version, export line) with the given marks.
  static std::string Set(const std::string& open, const std::string& close, const std::string& dialectName,
                         const std::string& end = "\r\n") {
    return Win(open + FormatProgramTitleLine() + close) + end + Win(open + FormatVersionLine() + close) + end +
           open + "Export \"" + dialectName + "\"  " + nctest::kFixedDateTimeText + close + end;
  }
  static std::string Tools(const std::string& open, const std::string& close, const std::string& end = "\r\n") {
    return open + "T1 FrS=0.5 FWi=30 SnR=3 FEt=0.2  STICHEL 30" + close + end + open +
           "T2 FrS=1.5 FrK=1.5 FWi=0 SnR=3 FEt=1  KUGEL 3" + close + end;
  }

  torvtest::TWorkFolder work_;
};

// --- whole heads ---------------------------------------------------------------------------

TEST_F(NcHeaderTest, DialectZeroWithDefaultSettings) {
  auto st = State(0, 4);
  WriteNcProgramHeader(*st);
  EXPECT_EQ(Buffered(*st), Set("(", ")", "DIN / ISO") + Tools("(", ")") +
                               "G90 G40 G17\r\n"
                               "N1 T1\r\n"
                               "S18000 M3\r\n"
                               "G0 Z10\r\n"
                               "G0 X0 Y0\r\n");
  EXPECT_EQ(st->ToolStation, 1);
  EXPECT_EQ(st->LastSpindleSpeed, 18000.0f);
  EXPECT_EQ(st->ClearanceHeight, 10.0f);
  EXPECT_EQ(+st->LastPos.x, 0.0f);
  EXPECT_EQ(+st->LastPos.y, 0.0f);
  EXPECT_EQ(+st->LastPos.z, -10.0f);
}

TEST_F(NcHeaderTest, Dialect58WithoutStartPosition) {
  auto st = State(58, 4);
  st->Machine.StartX = -9999.0f;
  st->Machine.StartY = -9999.0f;
  WriteNcProgramHeader(*st);
  EXPECT_EQ(Buffered(*st), Set("(", ")", "WinPC-NC / PC-NC") + Tools("(", ")") +
                               "%12345*%\r\n"
                               "G64 G17 G90 \r\n"
                               "N1 T1 M6\r\n"
                               "S18000 M3\r\n"
                               "M8\r\n"
                               "G0 Z10\r\n"
                               "G0 X12.5 Y7.25\r\n");
  EXPECT_EQ(+st->LastPos.x, 12.5f);
  EXPECT_EQ(+st->LastPos.y, 7.25f);
  EXPECT_EQ(+st->LastPos.z, -10.0f);
  EXPECT_EQ(st->CoolantPending, 0);
  EXPECT_EQ(st->ToolStation, 1);
}

TEST_F(NcHeaderTest, GenericDialectWritesNothingButHandsOver) {
  auto st = State(100, 1);
  st->Machine.StartX = 3.0f;
  st->Machine.StartY = 4.0f;
  st->LastToolStation = 0;
  WriteNcProgramHeader(*st);
  EXPECT_EQ(Buffered(*st), "");
  EXPECT_EQ(st->BlockNumber, 1);
  EXPECT_EQ(+st->LastPos.x, 3.0f);
  EXPECT_EQ(+st->LastPos.y, 4.0f);
  EXPECT_EQ(+st->LastPos.z, -10.0f);
  EXPECT_EQ(st->ToolStation, 0);
  EXPECT_EQ(st->ClearanceHeight, 10.0f);
}


// --- comment lines --------------------------------------------------------------------------

// {T}, {V} and {D} stand for the title line, the version line and the date
// and time of the export line, {R} for the text before the rotary diameter.
std::string Expand(std::string t) {
  const std::pair<std::string, std::string> keys[] = {
      {"{T}", Win(FormatProgramTitleLine())}, {"{V}", Win(FormatVersionLine())}, {"{D}", nctest::kFixedDateTimeText},
      {"{R}", Win(GetMessageText(kMsgNcRotaryDiameter, -29))}};
  for (const auto& [key, text] : keys)
    for (size_t at = t.find(key); at != std::string::npos; at = t.find(key, at + text.size()))
      t.replace(at, key.size(), text);
  return t;
}

TEST_F(NcHeaderTest, CommentLinesPerDialect) {
  struct TCase {
    int dialect;
    const char* expected;
  };
  // One tool "A" (tip radius 0.5); no rotary axis; no block numbers.
  const TCase cases[] = {
      {0, "({T})\r\n"
          "({V})\r\n"
          "(Export \"DIN / ISO\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {1, "({T})\r\n"
          "({V})\r\n"
          "(Export \"HEIDENHAIN DIN/ISO\"  {D})\r\n"
          ";(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {2, "({T})\r\n"
          "({V})\r\n"
          "(Export \"K\xD6RNER\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {3, "({T})\r\n"
          "({V})\r\n"
          "(Export \"EBERLE\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {4, "%({T})\r\n"
          "%({V})\r\n"
          "%(Export \"BOSTOMATIC\"  {D})\r\n"
          "%(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {5, "({T})\r\n"
          "({V})\r\n"
          "(Export \"Kuhlmann FDIN\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {6, ""},
      {7, "({T})\r\n"
          "({V})\r\n"
          "(Export \"ANDRONIC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {8, "({T})\r\n"
          "({V})\r\n"
          "(Export \"HEIDENHAIN Cont12\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {9, "IMF_PBL\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"isel-Zwischenformat\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {10, "({T})\r\n"
          "({V})\r\n"
          "(Export \"DIGMA-PC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {11, "({T})\r\n"
          "({V})\r\n"
          "(Export \"MAHO-PHILIPS 432\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {12, ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"ALLEN BRADLEY\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {13, "({T})\r\n"
          "({V})\r\n"
          "(Export \"MOVTEC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {14, "({T})\r\n"
          "({V})\r\n"
          "(Export \"HECKERT\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {15, "({T})\r\n"
          "({V})\r\n"
          "(Export \"BENCHMAN 4000\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {16, "%1\r\n"},
      {17, "({T})\r\n"
          "({V})\r\n"
          "(Export \"WABECO\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {18, "({T})\r\n"
          "({V})\r\n"
          "(Export \"Proteo FAGOR 8050M\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {19, "({T})\r\n"
          "({V})\r\n"
          "(Export \"DIGMA PC HSM4\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {20, "%0001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Eckelmann [ME]\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {21, ""},
      {22, ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"HEIDENHAIN Dialog\"  {D}\r\n"
          ";(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {23, "({T})\r\n"
          "({V})\r\n"
          "(Export \"Walter-Seibu\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {24, "({T})\r\n"
          "({V})\r\n"
          "(Export \"FANUC O-MD\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {25, "M90\r\n"
          "//{T}\r\n"
          "//{V}\r\n"
          "//Export \"MultiCam\"  {D}\r\n"
          "//T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {26, "({T})\r\n"
          "({V})\r\n"
          "(Export \"MaxNC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {27, ""},
      {28, "O0001;\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Mazak Bearbeitungsz.\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {29, "%10\r\n"},
      {30, ""},
      {31, ""},
      {32, "O00000001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Mazak Drehm.Mark 1-3\"  {D})\r\n"
          "(Planseite, kartesisch, T32-Betrieb A-Code )\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {33, "({T})\r\n"
          "({V})\r\n"
          "(Export \"FIDIA\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {34, "%\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Siemens 8M\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {36, ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Siemens 840D-LANG\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {37, "({T})\r\n"
          "({V})\r\n"
          "(Export \"BES-Grav\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {38, "({T})\r\n"
          "({V})\r\n"
          "(Export \"FANUC O-MA Drahterod.\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {39, "%0001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Eckelmann MAchsen[ME]\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {40, "//{T}\r\n"
          "//{V}\r\n"
          "//Export \"R\xF6" "ders RMS6 Gravur\"  {D}\r\n"
          "//T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {41, ""},
      {42, "O0001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"FANUC / HITACHI SEIKI\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {43, "({T})\r\n"
          "({V})\r\n"
          "(Export \"FADAL VMC4020HT\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {44, "DEF TEST ( )\r\n"
          "\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"KUKA Roboter\"  {D})\r\n"
          "\r\n"},
      {45, ""},
      {46, "({T})\r\n"
          "({V})\r\n"
          "(Export \"Graviersteuerung V4\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"
          "%%%%\r\n"},
      {47, ""},
      {48, "11.12.26  \r\n"
          "Marvek\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"KOSY - MAX Computer\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {49, "\x02\r\r\n"
          "(DFS,P 1234, Marvek,RWED)\r\n"
          "(* {T} *)\r\n"
          "(* {V} *)\r\n"
          "(* Export \"BOSCH CC220\"  {D} *)\r\n"
          "(* T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A *)\r\n"},
      {50, "( {T} )\r\n"
          "( {V} )\r\n"
          "( Export \"CHARLYROBOT GPilote\"  {D} )\r\n"
          "( T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A )\r\n"},
      {51, "%_N_TEIL1_NC\r\n"
          ";$PATH=/_N_WKS_DIR/_N_C:\\NC\\_WPD\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Siemens 810\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {52, "[{T}]\r\n"
          "[{V}]\r\n"
          "[Export \"SELCA ISPER\"  {D}]\r\n"
          "[T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A]\r\n"},
      {53, "%PM\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"MAHO MH600\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {54, ""},
      {55, "%001 (TEIL1)\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Eckelmann-NCMind\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {56, "({T})\r\n"
          "({V})\r\n"
          "(Export \"isel-Knotenpkt.MM2000\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"
          "%1000\r\n"},
      {57, "O1233\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"MACH 2/3/4 Mitsubishi\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {58, "({T})\r\n"
          "({V})\r\n"
          "(Export \"WinPC-NC / PC-NC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {59, "%0001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Eckelmann PASO\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {60, ""},
      {61, "\x12%\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Kitamura Mycenter-5x\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {62, "/*{T}*/\r\n"
          "/*{V}*/\r\n"
          "/*Export \"FAGOR LNC500 Ch.Liang\"  {D}*/\r\n"
          "/*T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A*/\r\n"},
      {63, "({T})\r\n"
          "({V})\r\n"
          "(Export \"Andronic/8V Mikromat\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {64, ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Siemens 840D-Unterpr.\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {65, "O1233\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"MACH 8 - Mitsubishi\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {66, "({T})\r\n"
          "({V})\r\n"
          "(Export \"Eckelmann FLEXICAM C.\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {67, "%PM\r\n"
          "N9001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Philips 3000\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {68, "BEGIN PGM 9001 MM\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Heidenh.Dial. iTNC530\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {69, "BEGIN PGM TEIL1 MM\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Heidenh.Dial. TNC426\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {70, "BEGIN PGM TEIL1 MM\r\n"},
      {71, "BEGIN PGM TEIL1 MM\r\n"},
      {72, "%_N_TEIL1_MPF\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Siemens 840D-Standard\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {73, "BEGIN PGM TEIL1 MM\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Heid.Dia.T426 Auto.WW\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {74, "%_N_TEIL1_MPF\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Spinner PD Umfang840D\"  {D}\r\n"
          ";Gravur auf Mantelflaeche\r\n"
          ";{R}0.000\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"
          "GETD(AX5)\r\n"
          "TRANS\r\n"
          "TRAFOOF\r\n"
          "DIAMON\r\n"
          "M48\r\n"
          "SETMS()\r\n"
          "SYNC_OFF\r\n"
          "G0 Q1=20\r\n"
          "G54\r\n"},
      {75, "%_N_TEIL1_MPF\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Spinner PD Stirn 840D\"  {D}\r\n"
          ";Gravur auf Stirnflaeche\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"
          "GETD(AX5)\r\n"
          "TRANS\r\n"
          "TRAFOOF\r\n"
          "DIAMON\r\n"
          "M48\r\n"
          "SETMS()\r\n"
          "SYNC_OFF\r\n"
          "G0 Q1=20\r\n"
          "G54\r\n"},
      {76, "({T})\r\n"
          "({V})\r\n"
          "(Export \"BEAMICON\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {77, "({T})\r\n"
          "({V})\r\n"
          "(Export \"ANDRONIC KM2060\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"
          "(Werkzeugvermessung mit Laser)\r\n"},
      {78, "({T})\r\n"
          "({V})\r\n"
          "(Export \"K\xD6RNER [Bohrzyklen]\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {79, "[\r\n"
          "\"TEIL1\"\r\n"},
      {80, "({T})\r\n"
          "({V})\r\n"
          "(Export \"XENETECH [INCH]\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {81, "M90\r\n"
          "//{T}\r\n"
          "//{V}\r\n"
          "//Export \"Multicam G41/42\"  {D}\r\n"
          "//T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {82, "% //Programmstart\r\n"
          "//{T}\r\n"
          "//{V}\r\n"
          "//Export \"Step Four\"  {D}\r\n"
          "//T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {83, "%_N_TEIL1_MPF\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Portatec-S840D\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {84, "%\r\n"
          "O1\r\n"
          "/{T}\r\n"
          "/{V}\r\n"
          "/Export \"OKUMA OSP-U100M\"  {D}\r\n"
          "/T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {85, "%\r\n"
          "O1233\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"ME HAAS\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {86, "%1\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Mach3 Fr\xE4smaschine\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {87, "({T})\r\n"
          "({V})\r\n"
          "(Export \"DECKEL FP3NC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"
          "%\r\n"
          "(&P01/0000)\r\n"},
      {88, "%1234 (TEIL1)\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Portatec Eckelmann EC\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {89, "O0001\r\n"},
      {90, "00001 (TEIL1)\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"FANUC Ser.31i Mod.A5\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {91, "%0001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Eckelm.PASO ECCPU 502\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {92, "%\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"PNC1 / Sicom 3000\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {93, "BEGIN PGM TEIL1 MM\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"HEIDENHAIN TNC320 o.Z\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {94, "({T})\r\n"
          "({V})\r\n"
          "(Export \"PowerCut\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {95, "({T})\r\n"
          "({V})\r\n"
          "(Export \"VicCam\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {96, "({T})\r\n"
          "({V})\r\n"
          "(Export \"AXYZ\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {97, "%PM9001\r\n"
          "N9001\r\n"
          "({T})\r\n"
          "({V})\r\n"
          "(Export \"Maho MH600-432\"  {D})\r\n"
          "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A)\r\n"},
      {98, "&%TEIL1\r\n"
          "%\r\n"
          "(&%TEIL1/000000\")\r\n"},
      {99, "BEGIN PGM 9001 MM\r\n"
          ";{T}\r\n"
          ";{V}\r\n"
          ";Export \"Heidenh.iTNC530-DMU50\"  {D}\r\n"
          ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  A\r\n"},
      {100, ""},
  };
  for (const TCase& c : cases) {
    auto st = nctest::MakeState(c.dialect, 0);
    st->Machine.CurrentDialect = static_cast<int16_t>(c.dialect);
    st->ProgramName = "TEIL1";
    st->OutputFileName = "C:\\NC\\TEIL1.NC";
    st->ToolTable.assign(kNcToolTableSize, TToolRecord{});
    AddTool(*st, 0, 1, "A", 0.5f, 0.0f, 0.0f, 0.0f, 0.0f);
    st->ToolCount = 1;
    WriteNcCommentHeader(*st);
    EXPECT_EQ(Buffered(*st), Expand(c.expected)) << "dialect " << c.dialect;
  }
}

TEST_F(NcHeaderTest, CommentHeaderSwitchOfDialects0_25_81) {
  auto st = State(0);
  st->Machine.DialectRecords[0].CommentHeaderOn = 2;
  WriteNcCommentHeader(*st);
  EXPECT_EQ(Buffered(*st), "");
  for (int d : {25, 81}) {
    st = State(d);
    st->Machine.DialectRecords[d].CommentHeaderOn = 2;
    WriteNcCommentHeader(*st);
    EXPECT_EQ(Buffered(*st), "M90\r\n") << d;
  }
}

// Comments never nest: a tool name or program name holding the marks of the
// comment it stands in has them written as the other kind of bracket; a
// comment after ";" keeps them, as do lines that are no comments.
TEST_F(NcHeaderTest, NamesInCommentsNeverNestOrCloseThem) {
  struct TCase {
    int dialect;
    const char* line;
  };
  const TCase cases[] = {
      {0, "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser [R1] [K])"},
      {4, "%(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser [R1] [K])"},
      {11, "(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser [R1] [K])"},
      {49, "(* T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser [R1] [K] *)"},
      {50, "( T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser [R1] [K] )"},
      {52, "[T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser (R1) (K)]"},
      {1, ";(T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser (R1) [K])"},
      {12, ";T1 FrS=0.5 FWi=0 SnR=0 FEt=0  Fraeser (R1) [K]"},
      {55, "%001 (TEIL[2])"},
      {88, "%1234 (TEIL[2])"},
      {90, "00001 (TEIL[2])"},
      {98, "&%TEIL(2)"},
      {98, "(&%TEIL[2]/000000\")"},
      {69, "BEGIN PGM TEIL(2) MM"},
  };
  for (const TCase& c : cases) {
    auto st = nctest::MakeState(c.dialect, 0);
    st->Machine.CurrentDialect = static_cast<int16_t>(c.dialect);
    st->ProgramName = "TEIL(2)";
    st->ToolTable.assign(kNcToolTableSize, TToolRecord{});
    AddTool(*st, 0, 1, "Fraeser (R1) [K]", 0.5f, 0.0f, 0.0f, 0.0f, 0.0f);
    st->ToolCount = 1;
    WriteNcCommentHeader(*st);
    const std::string text = "\r\n" + Buffered(*st);
    EXPECT_NE(text.find("\r\n" + std::string(c.line) + "\r\n"), std::string::npos)
        << "dialect " << c.dialect << ":\n" << text;
  }
}

// A dialect caption holding parentheses stands in brackets in the export line.
TEST_F(NcHeaderTest, CaptionInTheExportLineNeverNests) {
  auto st = State(0);
  WriteNcString(st->Machine.DialectNames[0], kNcCaptionLength, "Fr\x84se (3 Achsen)");
  WriteNcCommentHeader(*st);
  EXPECT_NE(Buffered(*st).find("\r\n(Export \"Fr\xE4se [3 Achsen]\"  " + std::string(nctest::kFixedDateTimeText) +
                               ")\r\n"),
            std::string::npos)
      << Buffered(*st);
}

// Codes above the generic dialect write no comment lines, as the generic one.
TEST_F(NcHeaderTest, CodesAboveTheGenericDialectWriteNoComments) {
  for (int d : {100, 101, 200, 255}) {
    auto st = State(d);
    st->RotaryActive = 1;
    WriteNcCommentHeader(*st);
    EXPECT_EQ(Buffered(*st), "") << d;
  }
}

TEST_F(NcHeaderTest, RotaryDiameterCommentOnlyWithTheRotaryAxis) {
  for (int d = 0; d < 100; ++d) {
    if (d == 35) continue;  // its header asks for note lines on the screen
    auto st = State(d);
    st->Machine.RotaryDiameter = 40.0f;
    st->RotaryActive = 0;
    WriteNcCommentHeader(*st);
    const bool written = Buffered(*st).find("40.000") != std::string::npos;
    EXPECT_EQ(written, d == 74) << "dialect " << d;
  }
  const std::string message = Win(GetMessageText(kMsgNcRotaryDiameter, -29));
  auto st = State(0);
  st->Machine.RotaryDiameter = 40.0f;
  st->RotaryActive = 1;
  WriteNcCommentHeader(*st);
  EXPECT_EQ(Buffered(*st), Set("(", ")", "DIN / ISO") + "(" + message + "40.000)\r\n" + Tools("(", ")"));
}

TEST_F(NcHeaderTest, RotaryDiameterOfOneThousandthIsNoRotaryAxis) {
  for (float diameter : {0.001f, -0.001f, 0.0011f}) {
    auto st = State(0);
    st->Machine.RotaryDiameter = diameter;
    InitNcWriterState(*st);
    WriteNcCommentHeader(*st);
    EXPECT_EQ(st->RotaryActive, diameter > 0.001f ? 1 : 0) << diameter;
    EXPECT_EQ(Buffered(*st).find("0.001)") != std::string::npos, diameter > 0.001f) << diameter;
  }
}

TEST_F(NcHeaderTest, Dialects2And78WriteTheDiameterAsABlock) {
  const std::string message = Win(GetMessageText(kMsgNcRotaryDiameter, -29));
  for (int d : {2, 78}) {
    auto st = State(d, 1);
    st->Machine.RotaryDiameter = 25.5f;
    st->RotaryActive = 1;
    WriteNcCommentHeader(*st);
    EXPECT_NE(Buffered(*st).find("N4 (" + message + "25.500)\r\nN5 (T1 "), std::string::npos) << Buffered(*st);
  }
}

TEST_F(NcHeaderTest, Dialects53And97NumberTheirCommentsFrom9001) {
  const std::string message = Win(GetMessageText(kMsgNcRotaryDiameter, -29));
  auto st = State(53, 1);
  st->Machine.RotaryDiameter = 30.0f;
  st->RotaryActive = 1;
  WriteNcCommentHeader(*st);
  EXPECT_EQ(Buffered(*st), "%PM\r\n"
                           "N9001 " + Win("(" + FormatProgramTitleLine() + ")") + "\r\n" +
                               "N9002 " + Win("(" + FormatVersionLine() + ")") + "\r\n" +
                               "N9003 (Export \"MAHO MH600\"  " + nctest::kFixedDateTimeText + ")\r\n" +
                               "[" + message + "30.000]\r\n" +
                               "N9004 (" + message + "30.000)\r\n" +
                               "N9005 (T1 FrS=0.5 FWi=30 SnR=3 FEt=0.2  STICHEL 30)\r\n"
                               "N9006 (T2 FrS=1.5 FrK=1.5 FWi=0 SnR=3 FEt=1  KUGEL 3)\r\n");
  EXPECT_EQ(st->BlockNumber, 1);

  st = State(97, 1);
  st->Machine.Dialect55Count = 7;
  WriteNcCommentHeader(*st);
  EXPECT_EQ(Buffered(*st).substr(0, 23), "%PM9007\r\nN9007\r\nN9001 (");
  EXPECT_EQ(st->BlockNumber, 1);
}

TEST_F(NcHeaderTest, ProgramNumberOfDialect55) {
  for (int16_t number : {int16_t(7), int16_t(42), int16_t(1234)}) {
    auto st = State(55);
    st->Machine.Dialect55Count = number;
    WriteNcCommentHeader(*st);
    const std::string first = Buffered(*st).substr(0, Buffered(*st).find("\r\n"));
    EXPECT_EQ(first, number == 7 ? "%007 (TEIL1)" : number == 42 ? "%042 (TEIL1)" : "%1234 (TEIL1)");
  }
}

TEST_F(NcHeaderTest, Dialect32CommentFollowsTheRotaryMode) {
  auto st = State(32);
  st->RotaryIncremental = 1;
  WriteNcCommentHeader(*st);
  const std::string text = Buffered(*st);
  EXPECT_NE(text.find("(Mantelfl\xE4" "che Z/W[X], C/H[Y], X/U[Z], T32-Betrieb A-Code )\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Planseite"), std::string::npos);
}

TEST_F(NcHeaderTest, Dialect77MeasuringComment) {
  const char* lines[] = {"", "(Werkzeugvermessung mit Laser)\r\n", "(Werkzeugvermessung mit Me\xDF" "dose)\r\n",
                         "(keine Werkzeugvermessung)\r\n", ""};
  for (int16_t m = 0; m <= 4; ++m) {
    auto st = State(77);
    st->Machine.ToolMeasuring = m;
    WriteNcCommentHeader(*st);
    EXPECT_EQ(Buffered(*st), Set("(", ")", "ANDRONIC KM2060") + Tools("(", ")") + lines[m]) << m;
  }
}

TEST_F(NcHeaderTest, EmptyToolTableAndProgramName) {
  auto st = State(88);
  st->ToolCount = 0;
  st->ProgramName = "";
  WriteNcCommentHeader(*st);
  EXPECT_EQ(Buffered(*st), "%1234 ()\r\n" + Set("(", ")", "Portatec Eckelmann EC"));
}

// --- reset and hand-over ------------------------------------------------------------------

TEST_F(NcHeaderTest, RotaryModeMarksTheReplacedAxisAsUnwritten) {
  for (uint8_t mode : {uint8_t(1), uint8_t(2)}) {
    auto st = State(23);  // its set-up moves nowhere
    st->Machine.StartX = 5.0f;
    st->Machine.StartY = 6.0f;
    st->RotaryActive = 1;
    st->RotaryMode = mode;
    WriteNcProgramHeader(*st);
    EXPECT_EQ(+st->LastPos.x, mode == 1 ? -9999.9990234375f : 5.0f);
    EXPECT_EQ(+st->LastPos.y, mode == 2 ? -9999.9990234375f : 6.0f);
  }
}

TEST_F(NcHeaderTest, Dialect44WritesNoBlockNumbers) {
  auto st = State(44, 1);
  InitNcWriterState(*st);
  st->LastPos = {0, 1.0f, 2.0f, 3.0f};
  st->Machine.SafeZ = 5.0f;
  WriteNcProgramHeader(*st);
  WriteNcProgramEnd(*st);
  const std::string text = Buffered(*st);
  EXPECT_EQ(text.find("\nN"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nPTP HOME\r\nEND\r\n"), std::string::npos) << text;
}

}  // namespace
