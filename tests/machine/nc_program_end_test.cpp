// The end of an NC program per dialect family: coolant and spindle off,
// retract, stop words, park move and end words.
#include "machine/nc_program_end.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "machine/nc_test_support.h"
#include "support/work_folder.h"

namespace {

using nctest::Buffered;
using nctest::MakeState;

// A run that stopped at (10, 20) at depth 3 with tool 1, coolant on, safe
// height 5, no park position and no block numbers.
std::unique_ptr<TNcWriterState> EndState(int dialect, int16_t numbering = 0) {
  auto st = MakeState(dialect, numbering);
  st->Machine.SafeZ = 5.0f;
  st->Machine.CoolantOn = 1;
  st->Machine.EndX = -1.0f;
  st->Machine.EndY = -1.0f;
  st->LastPos = {10, 10.0f, 20.0f, 3.0f};
  st->ToolStation = 1;
  st->LastToolStation = 1;
  st->ProgramName = "TEIL1";
  return st;
}

std::string EndOf(TNcWriterState& st) {
  WriteNcProgramEnd(st);
  return Buffered(st);
}

TEST(NcProgramEndTest, EndPerDialect) {
  struct TCase {
    int dialect;
    const char* expected;
  };
  const TCase cases[] = {
      {0, "G0 Z5\r\n"
          "M9\r\n"
          "S0\r\n"
          "M30\r\n"
          "%\r\n"},
      {1, "G00 Z5 *\r\n"
          "M30 *\r\n"
          "N9999 %TEIL1 G71 *\r\n"},
      {2, "G0 Z5\r\n"
          "M9\r\n"
          "M30\r\n"},
      {3, "G0 Z5\r\n"
          "M9\r\n"
          "S0\r\n"
          "#\r\n"},
      {4, "M9\r\n"
          "R Z5.\r\n"
          "M2\r\n"},
      {5, "M9\r\n"
          "G0 Z5\r\n"
          "M30\r\n"},
      {6, "M9\r\n"
          "G0 Z5\r\n"
          "M30\r\n"
          "?\r\n"
          "0000\r\n"
          "\x04\r\n"},
      {7, "M9\r\n"
          "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"},
      {8, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"},
      {9, "COOLANT OFF\r\n"
          "FASTABS X10000 Y20000 Z5000\r\n"
          "SPINDLE CW RPM0 TIME2000\r\n"
          "PROGEND\r\n"},
      {10, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"},
      {11, "G0 Y5\r\n"
          "M30\r\n"
          "\x04"},
      {12, "G0 Z5\r\n"
          "M37\r\n"
          "G79 Z0\r\n"
          "G0 M05 S0\r\n"
          "h0\r\n"
          "G79 Y0\r\n"
          "M30\r\n"},
      {13, "G0 Z5\r\n"
          "M9\r\n"
          "S0\r\n"},
      {14, "G0 Z5\r\n"
          "M9\r\n"
          "S0\r\n"
          "M02\r\n"
          "!\r\n"},
      {15, "G0 Z5\r\n"
          "M9\r\n"
          "S0\r\n"
          "M30\r\n"},
      {16, "G0 Z5\r\n"
          "M5\r\n"
          "M9\r\n"
          "%1\r\n"},
      {17, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "S0\r\n"
          "M30\r\n"},
      {18, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "G44\r\n"
          "M30\r\n"},
      {19, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"},
      {20, "G0 Z5\r\n"
          "M05\r\n"
          "M09\r\n"
          "M101\r\n"
          "M30\r\n"},
      {21, "G0 Z5\r\n"},
      {22, "L Z5 R FMAX M\r\n"
          "L R F M30\r\n"
          "END PGM TEIL1 MM\r\n"
          "\x03\r\n"
          "\x1A"},
      {23, "G0 Z5.0\r\n"
          "M02\r\n"},
      {24, "M9;\r\n"
          "G0 Z5;\r\n"
          "M30;\r\n"},
      {25, "G00 Z-5.\r\n"
          "M02\r\n"},
      {26, "G0 Z5.0 M9 \r\n"
          "G49\r\n"
          "M01\r\n"
          "M30\r\n"},
      {27, "G0 Z5.\r\n"
          "M5\r\n"
          "M30\r\n"},
      {28, "G0 Z5.\r\n"
          "T0 M6\r\n"
          "M9\r\n"
          "M30\r\n"},
      {29, "G0 Z5\r\n"
          "M02\r\n"},
      {30, "G00 Z5.\r\n"},
      {31, "SEO 111\r\n"
          "MOV X10.00 Y20.00 Z-5.00\r\n"
          "WTT 111\r\n"
          "@\r\n"},
      {32, "G0 Z5.\r\n"
          "M9\r\n"
          "M212\r\n"
          "G13.1\r\n"
          "G50 H0.\r\n"
          "G28 U0.\r\n"
          "G28 W0.\r\n"
          "M99\r\n"},
      {33, "M9\r\n"
          "G00 Z5.\r\n"
          "M30\r\n"},
      {34, "M9\r\n"
          "G0 Z5\r\n"
          "M11\r\n"
          "M30\r\n"},
      {35, "G0 Z5\r\n"},
      {36, "M9\r\n"
          "G00 Z5\r\n"
          "L_ENDE\r\n"
          "M30\r\n"},
      {37, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"},
      {38, "M30\r\n"
          "%\r\n"},
      {39, "M9\r\n"
          "G0 B0 C0\r\n"
          "G0 Z5\r\n"
          "M05\r\n"
          "M09\r\n"
          "M101\r\n"
          "M30\r\n"},
      {40, "M9\r\n"
          "G0 Z5\r\n"
          "Xcall $kontroll\r\n"
          "EndIf\r\n"
          "M30\r\n"},
      {41, "M9\r\n"
          "G0 Z5\r\n"
          "M30\r\n"
          "?\r\n"
          "0000\r\n"
          "\x04\r\n"},
      {42, "G91 G30Z0\r\n"
          "M09\r\n"
          "G30X0Y0 M05\r\n"
          "G90\r\n"
          "M01\r\n"
          "M30\r\n"},
      {43, "M9\r\n"
          "G0 Z5.\r\n"
          "M98 P98\r\n"
          "M2\r\n"},
      {44, "PTP {Z 5}\r\n"
          "\r\n"
          "PTP HOME\r\n"
          "END\r\n"},
      {45, "G00 Z-5.\r\n"
          "M30\r\n"
          "M02\r\n"},
      {46, "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"
          "%%%%\r\n"},
      {47, "L Z5 R FMAX M\r\n"
          "L R F M30\r\n"
          "END PGM TEIL1 MM\r\n"},
      {48, "M10 O6.0\r\n"
          "M10 O2.0\r\n"
          "G0 Z5\r\n"},
      {49, "G0 Z5\r\n"
          "G0 G76 Z0 M5 M70\r\n"
          "G76 Y1100\r\n"
          "M30\r\n"
          "\x03\r\r\n"
          "R\r\n"},
      {50, "G0 Z5\r\n"},
      {51, "M9\r\n"
          "G00 Z5\r\n"
          "M30\r\n"},
      {52, "M9\r\n"
          "G00 Z5\r\n"
          "M30\r\n"
          " \r\n"},
      {53, "G0 Z5\r\n"
          "G54\r\n"
          "T0 M66\r\n"
          "M30\r\n"
          "\x04"},
      {54, "L Z5 R FMAX M\r\n"
          "L R F M30 M31\r\n"
          "END PGM TEIL1 MM\r\n"},
      {55, "G0 Z5\r\n"
          "M05\r\n"
          "M09\r\n"
          "M101\r\n"
          "M30\r\n"},
      {56, "G0 Z5\r\n"
          "M9\r\n"
          "S0 M5\r\n"
          "M30\r\n"},
      {57, "M9\r\n"
          "G0 Z5\r\n"
          "M30\r\n"},
      {58, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"},
      {59, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M05\r\n"
          "M11\r\n"
          "G0 Z5\r\n"
          "M101\r\n"
          "M99\r\n"
          "M30\r\n"},
      {60, "G0 Z5.\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"
          "%\r\n"},
      {61, "G0 Z5.\r\n"
          "M9\r\n"
          "M5\r\n"
          "G00 G28 G91 Z0 Y0\r\n"
          "M30\r\n"
          "%\x14\r\n"},
      {62, "G0 G53 Z0\r\n"
          "M9\r\n"
          "M5\r\n"
          "M5\r\n"
          "M9\r\n"
          "M30\r\n"},
      {63, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M5\r\n"
          "M99\r\n"},
      {64, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M17\r\n"},
      {65, "M9\r\n"
          "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"},
      {66, "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M30\r\n"
          "M5\r\n"
          "M2\r\n"},
      {67, "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"},
      {68, "L Z5 FMAX\r\n"
          "M9\r\n"
          "M5\r\n"
          "TOOL CALL0\r\n"
          "CYCL DEF 32.0 TOLERANZ\r\n"
          "CYCL DEF 32.1\r\n"
          "M30\r\n"
          "END PGM 9001 MM\r\n"},
      {69, "L Z5 F MAX\r\n"
          "L M30\r\n"
          "END PGM TEIL1 MM\r\n"},
      {70, "L M9\r\n"
          "L Z5 F5000\r\n"
          "L M30\r\n"
          "END PGM TEIL1 MM\r\n"},
      {71, "L M9\r\n"
          "L Z5 F5000\r\n"
          "L M30\r\n"
          "END PGM TEIL1 MM\r\n"},
      {72, "M9\r\n"
          "G00 Z5\r\n"
          "M30\r\n"},
      {73, "L Z5 F MAX\r\n"
          "L M09\r\n"
          "L M30\r\n"
          "END PGM TEIL1 MM\r\n"},
      {74, "G0 X5 M27\r\n"
          "DIAMON\r\n"
          "TRANS\r\n"
          "TRAFOOF\r\n"
          "SETMS()\r\n"
          "G54\r\n"
          "G0 G95 X300 D0\r\n"
          "G0 Z150 D0\r\n"
          "M2=5\r\n"
          "M30\r\n"},
      {75, "G0 Z5 M27\r\n"
          "TRAFOOF\r\n"
          "TRANS\r\n"
          "DIAMON\r\n"
          "SETMS()\r\n"
          "G54\r\n"
          "G0 G95 X300 D0\r\n"
          "G0 Z150 D0\r\n"
          "M2=5\r\n"
          "M30\r\n"},
      {76, "G53\r\n"
          "G0 Z5\r\n"
          "M9\r\n"
          "M5\r\n"
          "M2\r\n"
          "\r\n"},
      {77, "M9\r\n"
          "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"},
      {78, "G0 Z5\r\n"
          "M9\r\n"
          "M30\r\n"},
      {79, "G0 Z5\r\n"
          "S0\r\n"
          "G67 P3\r\n"
          "M02\r\n"
          "]\r\n"},
      {80, "M21\r\n"
          "G0 Z0.1969\r\n"
          "M02\r\n"},
      {81, "G00 Z-5.\r\n"
          "M02\r\n"},
      {82, "G0 Z5\r\n"
          "M30\r\n"},
      {83, "M9\r\n"
          "G0 Z5\r\n"
          "M5\r\n"
          "Z_HOCH\r\n"
          "M12 M47 M20\r\n"
          "G90 G40\r\n"
          "M30\r\n"},
      {84, "G0 Z5.\r\n"
          "M5\r\n"
          "M30\r\n"
          "%\r\n"},
      {85, "M9\r\n"
          "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"
          "%\r\n"},
      {86, "M9\r\n"
          "G0 Z5\r\n"
          "M5\r\n"
          "M30\r\n"},
      {87, "G00 Z+5000 D+01\r\n"
          "M30\r\n"
          "?\r\n"
          "0000\r\n"},
      {88, "M9\r\n"
          "G0 Z5\r\n"
          "M12\r\n"
          "M101\r\n"
          "M30\r\n"},
      {89, "M9\r\n"
          "G0 Z5.\r\n"
          "M99\r\n"},
      {90, "M09\r\n"
          "G0 Z5.\r\n"
          "M05\r\n"
          "G91 G28 Z0.\r\n"
          "G49\r\n"
          "M02\r\n"
          "%\r\n"},
      {91, "G0 Z5\r\n"
          "G115\r\n"
          "M05\r\n"
          "M09\r\n"
          "M11\r\n"
          "M101\r\n"
          "M99\r\n"
          "M30\r\n"},
      {92, "M22\r\n"
          "G0 Z5\r\n"
          "M05\r\n"
          "G04 Q9\r\n"
          "M9\r\n"
          "M60\r\n"
          "M30\r\n"},
      {93, "L M30\r\n"
          "END PGM TEIL1 MM\r\n"},
      {94, "G0 Z5\r\n"
          "M30\r\n"
          "%\r\n"},
      {95, "G0 Z5\r\n"
          "M30\r\n"
          "%\r\n"},
      {96, "G0 Z5\r\n"
          "M30\r\n"
          "%1\r\n"},
      {97, "G0 Z5\r\n"
          "T0 M6\r\n"
          "G51\r\n"
          "M30\r\n"
          "\x04"},
      {98, "M9\r\n"
          "G00 Z5\r\n"
          "M30\r\n"
          "?\r\n"
          "0000\r\n"},
      {99, "M9\r\n"
          "L Z5 FMAX\r\n"
          "TOOL CALL0\r\n"
          "M30\r\n"
          "END PGM 9001 MM\r\n"},
      {100, "G0 Z5\r\n"},
  };
  for (const TCase& c : cases) {
    auto st = EndState(c.dialect);
    EXPECT_EQ(EndOf(*st), c.expected) << "dialect " << c.dialect;
  }
}

TEST(NcProgramEndTest, DialectZeroWritesTheStoredLastLineAfterM30) {
  auto st = EndState(0);
  WriteNcString(st->Machine.ProgramStartChar, 16, "");
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM9\r\nS0\r\nM30\r\n");
  st = EndState(0);
  WriteNcString(st->Machine.ProgramStartChar, 16, "M02");
  const std::string text = EndOf(*st);
  EXPECT_EQ(text.substr(text.size() - 10), "M30\r\nM02\r\n");
}

TEST(NcProgramEndTest, DialectOneEndsWithAnUnnumberedLine) {
  auto st = EndState(1, 1);
  st->BlockNumber = 7;
  EXPECT_EQ(EndOf(*st), "N7 G00 Z5 *\r\nN8 M30 *\r\nN9999 %TEIL1 G71 *\r\n");
}

// Every end leaves the work at the safe height, also where the dialect has
// no retract of its own; 23 goes up before its park move.
TEST(NcProgramEndTest, EndsLeaveTheWorkAtTheSafeHeight) {
  for (int d : {12, 23, 35, 40, 50}) {
    auto st = EndState(d);
    EXPECT_NE(EndOf(*st).find("G0 Z5"), std::string::npos) << "dialect " << d;
  }
  auto st = EndState(93);  // its programs carry no Z words
  EXPECT_EQ(EndOf(*st).find("Z5"), std::string::npos);
  st = EndState(23);
  st->Machine.EndX = 0.0f;
  st->Machine.EndY = 0.0f;
  EXPECT_EQ(EndOf(*st), "G0 Z5.0\r\nG0 X0.0 Y0.0\r\nM02\r\n");
}

TEST(NcProgramEndTest, ParkPositionWhenOneCoordinateIsSet) {
  auto st = EndState(0);
  st->Machine.EndX = -1.0f;
  st->Machine.EndY = 5.0f;
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM9\r\nS0\r\nG0 X-1 Y5\r\nM30\r\n%\r\n");
  EXPECT_EQ(+st->LastPos.x, -1.0f);
  st = EndState(0);
  EXPECT_EQ(EndOf(*st).find("X-1"), std::string::npos);
}

TEST(NcProgramEndTest, ParkMoveOfDialects55And62HasNoZWord) {
  auto st = EndState(62);
  st->Machine.EndX = 0.0f;
  st->Machine.EndY = 0.0f;
  EXPECT_EQ(EndOf(*st), "G0 G53 Z0\r\nM9\r\nM5\r\nG0 X0 Y0\r\nM5\r\nM9\r\nM30\r\n");
  st = EndState(55);
  st->Machine.EndX = 0.0f;
  st->Machine.EndY = 0.0f;
  st->Machine.ApproachBeforeRapid = 0;
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nG0 X0 Y0\r\nM05\r\nM09\r\nM101\r\nM30\r\n");
}

TEST(NcProgramEndTest, NoEndRetractOfDialects55And88) {
  auto st = EndState(88);
  st->Machine.ApproachBeforeRapid = 1;
  EXPECT_EQ(EndOf(*st), "M9\r\nM12\r\nM101\r\nM30\r\n");
}

TEST(NcProgramEndTest, ToolAtSafeHeightGetsNoZWord) {
  auto st = EndState(0);
  st->LastPos.z = -5.0f;
  EXPECT_EQ(EndOf(*st), "M9\r\nS0\r\nM30\r\n%\r\n");
}

TEST(NcProgramEndTest, Dialect77EndCodeChoice) {
  for (int choice : {0, 1, 2}) {
    auto st = EndState(77);
    st->Machine.ProgramEndCode = static_cast<uint8_t>(choice);
    const std::string text = EndOf(*st);
    EXPECT_EQ(text.substr(text.size() - 5), choice == 2 ? "M99\r\n" : "M30\r\n") << choice;
  }
}

TEST(NcProgramEndTest, CoolantSwitchedOffLeavesOnlyUnconditionalWords) {
  struct TCase {
    int dialect;
    const char* expected;
  };
  const TCase cases[] = {
      {0, "G0 Z5\r\nM9\r\nS0\r\nM30\r\n%\r\n"},
      {3, "G0 Z5\r\nS0\r\n#\r\n"},
      {58, "G0 Z5\r\nM5\r\nM30\r\n"},
      {17, "G0 Z5\r\nM9\r\nM5\r\nS0\r\nM30\r\n"},
      {32, "G0 Z5.\r\nM212\r\nG13.1\r\nG50 H0.\r\nG28 U0.\r\nG28 W0.\r\nM99\r\n"},
      {56, "G0 Z5\r\nM9\r\nS0 M5\r\nM30\r\n"},
      {76, "G53\r\nG0 Z5\r\nM5\r\nM2\r\n\r\n"},
      {88, "M9\r\nG0 Z5\r\nM12\r\nM101\r\nM30\r\n"},
  };
  for (const TCase& c : cases) {
    auto st = EndState(c.dialect);
    st->Machine.CoolantOn = 0;
    EXPECT_EQ(EndOf(*st), c.expected) << "dialect " << c.dialect;
  }
}

TEST(NcProgramEndTest, ClosingWordsClearTheirFlags) {
  auto st = EndState(5);
  st->CompensationOn = 1;
  EXPECT_EQ(EndOf(*st), "G40\r\nM9\r\nG0 Z5\r\nM30\r\n");
  EXPECT_EQ(st->CompensationOn, 0);

  st = EndState(25);
  st->FixtureStation = 3;
  st->ApproachCodeWritten = 1;
  EXPECT_EQ(EndOf(*st), "G00 Z-5.\r\nM48\r\nM22\r\nM02\r\n");
  EXPECT_EQ(st->FixtureStation, 0);
  EXPECT_EQ(st->ApproachCodeWritten, 0);

  st = EndState(31);
  st->CircleModeWritten = 1;
  EXPECT_EQ(EndOf(*st).substr(0, 14), "HCI\r\nSEO 111\r\n");
  EXPECT_EQ(st->CircleModeWritten, 0);
}

TEST(NcProgramEndTest, EndMovesTriggerNoToolChange) {
  auto st = EndState(0);
  st->ToolStation = 4;  // a tool header the run never reached a move for
  st->LastToolStation = 1;
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM9\r\nS0\r\nM30\r\n%\r\n");
  EXPECT_EQ(st->LastToolStation, 4);
}

TEST(NcProgramEndTest, RotaryReplacementIsOffForTheEndMoves) {
  auto st = EndState(0);
  st->RotaryActive = 1;
  st->RotaryOn = 1;
  st->RotaryMode = 2;
  st->RotaryAxis = 1;
  st->RotaryFactor = 3.0f;
  st->Machine.EndX = 0.0f;
  st->Machine.EndY = 4.0f;
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM9\r\nS0\r\nG0 X0 Y4\r\nM30\r\n%\r\n");
  EXPECT_EQ(st->RotaryActive, 0);
}

TEST(NcProgramEndTest, AbortedRunBeforeAnyMoveStillEndsProperly) {
  // Esc during the first block: nothing was positioned yet.
  auto st = EndState(0);
  st->LastPos = {0, kNcUnsetCoordinate, kNcUnsetCoordinate, 0.0f};
  st->NeedApproach = 1;
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM9\r\nS0\r\nM30\r\n%\r\n");
}

TEST(NcProgramEndTest, WriteFailureWritesNoEnd) {
  auto st = EndState(0);
  st->WriteFailed = 1;
  EXPECT_EQ(EndOf(*st), "");
}

TEST(NcProgramEndTest, Dialect2CopiesTheUserEndFile) {
  torvtest::TWorkFolder work;
  ASSERT_TRUE(work.Entered());
  std::ofstream(work.Path() + "/ErgaenzEnde.PGM") << "M5\r\n G53\r\n";
  auto st = EndState(2);
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM5\r\nG53\r\nM9\r\nM30\r\n");
  std::remove((work.Path() + "/ErgaenzEnde.PGM").c_str());
  st = EndState(78);
  EXPECT_EQ(EndOf(*st), "G0 Z5\r\nM9\r\nM30\r\n");
}

}  // namespace
