// The set-up sections of the G-code dialects: every sequence as a table of
// the blocks it writes, and the rules around the start position, the first
// tool and the coolant word.
#include "machine/nc_setup_blocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "machine/nc_test_support.h"
#include "support/work_folder.h"

namespace {

using nctest::Buffered;

// Start position (5, 6), safe height 10, first contour at (12.5, 7.25),
// first tool 1 at 18000 rpm with a clearance of 2 mm, coolant on, type-158
// value 1.5, two tools (stations 1 and 2), no block numbers.
std::unique_ptr<TNcWriterState> SetupState(int dialect) {
  auto st = nctest::MakeState(dialect, 0);
  st->Machine.CurrentDialect = static_cast<int16_t>(dialect);
  st->Machine.StartX = 5.0f;
  st->Machine.StartY = 6.0f;
  st->ProgramName = "TEIL1";
  st->FirstToolStation = 1;
  st->FirstToolSpeed = 18000.0f;
  st->FirstToolClearance = 2.0f;
  st->FirstToolName = "STICHEL 30  ";
  st->FirstContourStart = {11, 12.5f, 7.25f, 0.0f};
  st->LastRecord158Z = 1.5f;
  st->ToolTable.assign(kNcToolTableSize, TToolRecord{});
  st->ToolTable[0].changeStation = 1;
  st->ToolTable[1].changeStation = 2;
  st->ToolCount = 2;
  return st;
}

std::string SetupOf(TNcWriterState& st) {
  EXPECT_TRUE(WriteGCodeSetupBlocks(st)) << "dialect " << int(st.Dialect);
  return Buffered(st);
}

TEST(NcSetupBlocksTest, SequencePerGCodeDialect) {
  struct TCase {
    int dialect;
    const char* expected;
  };
  const TCase cases[] = {
      {0, "G90 G40 G17\r\n"
          "T1\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {2, "G90\r\n"
          "G52\r\n"
          "T1\r\n"
          "S18000\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "G1 Z2 F850\r\n"},
      {3, "%\r\n"
          "T1 S18000\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {6, "%12345*%\r\n"
          "G64 G17 G90 S18000 M3 T1\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {7, ";TEIL1\r\n"
          "G90 G17\r\n"
          "T1 M6\r\n"
          "G188 G79\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {8, "%1\r\n"
          "G0 G90 Z10\r\n"
          "G0 X5 Y6\r\n"
          "G0 Z10\r\n"},
      {10, "%1\r\n"
          "G0 G90 Z10\r\n"
          "G0 X5 Y6\r\n"
          "G0 Z10\r\n"},
      {13, "T1 G17 S18000 M6\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {14, "T1 L31\r\n"
          "M3 S18000\r\n"
          "M41\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {15, "T1\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {16, "T1 M6\r\n"
          "S18000\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M8\r\n"},
      {17, "T1\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {18, "%TEIL1,MX,\r\n"
          "G90\r\n"
          "G94\r\n"
          "G54\r\n"
          "G17\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "T1 D1\r\n"
          "M6\r\n"
          "G43\r\n"
          "S18000 M3\r\n"},
      {19, "%1\r\n"
          "G0 G90 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M6 T1\r\n"
          "M100 T1\r\n"
          "S18000\r\n"},
      {21, "T1 M6\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "S18000 M3\r\n"},
      {23, "G90\r\n"
          "G01 G42\r\n"},
      {24, "G90 G40 G49 G17;\r\n"
          "M6 T1;\r\n"
          "G0 G43 H1 Z10;\r\n"
          "G0 X5 Y6;\r\n"
          "S18000 M3;\r\n"},
      {25, "G17\r\n"
          "G90\r\n"
          "G75\r\n"
          "G0 Z-10.\r\n"
          "G0 X5. Y6.\r\n"
          "G00 T1\r\n"
          "G97 S18000\r\n"},
      {26, "G90 G80 G40 G00 G21\r\n"
          "T1 M6\r\n"
          "G43H1\r\n"
          "S18000 M3\r\n"
          "G0 Z10.0\r\n"
          "G0 X5.0 Y6.0\r\n"},
      {27, "G90 G54 G40 G49 G17\r\n"
          "M6 T1\r\n"
          "G0 G43 H1 Z10.\r\n"
          "G0 X5. Y6.\r\n"
          "S18000 M3\r\n"},
      {28, "G17 G40 G80 G90 G94 G98\r\n"
          "T1 M6\r\n"
          "G0 Z10.\r\n"
          "G0 X5. Y6.\r\n"
          "S18000 M3\r\n"},
      {29, "G90 G00 Z10\r\n"
          "G90 G00 X5 Y6\r\n"},
      {30, "G00 Z10.\r\n"
          "G00 X12.5 Y7.25\r\n"},
      {35, "M6\r\n"},
      {36, "L_KOPF\r\n"
          "G00 Z10\r\n"
          "G54\r\n"
          "G00 G40 G90 X5 Y6\r\n"
          "T=\"STICHEL 30\" M6\r\n"
          "S18000 M3\r\n"},
      {38, "%\r\n"
          "G92 X5. Y6.\r\n"
          "(G41 D01 S1)\r\n"
          "M22M23\r\n"},
      {41, "%12345*%\r\n"
          "G64 G17 G90 S18000 M3 T1\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {42, "G17 G21 G90 G40 G80 G98\r\n"
          "G91 G30Z0\r\n"
          "G30X0Y0\r\n"
          "M01\r\n"
          "T01 M06\r\n"
          "G90 G54\r\n"
          "G00 X5.0 Y6.0 S18000 M03\r\n"
          "G43 H01 Z10.0\r\n"},
      {43, "G90 G80 G40 G17\r\n"
          "T1 M6\r\n"
          "M3 S18000\r\n"
          "G0 H1 Z10.\r\n"
          "E1 G0 X5. Y6.\r\n"},
      {45, "G17\r\n"
          "G90\r\n"
          "G75\r\n"
          "S18000\r\n"
          "G00 T1\r\n"
          "G00 Z-10.\r\n"
          "G00 X5. Y6.\r\n"},
      {46, "T1 S18000 M3\r\n"
          "G0 G90 Z10\r\n"
          "G0 G40 G90 X5 Y6\r\n"},
      {48, "G74\r\n"
          "M06 T1\r\n"
          "M25 U7.5\r\n"
          "M10 O6.1\r\n"
          "M10 O2.1\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {49, "G0 G76 Z0 M5 M70\r\n"
          "G22 V1\r\n"
          "G54\r\n"
          "G60 X0 Y0 Z0\r\n"
          "T1\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {50, "T1\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X12.5 Y7.25\r\n"},
      {51, "G55 G00 Z10\r\n"
          "G00 X5 Y6\r\n"
          "T=\"STICHEL 30\"\r\n"
          "S18000 M3\r\n"},
      {52, "O1\r\n"
          "G00 Z10\r\n"
          "G00 X5 Y6\r\n"
          "T1\r\n"
          "S18000 M3\r\n"
          "M8\r\n"},
      {53, "G17\r\n"
          "G51\r\n"
          "G54\r\n"
          "T1 M6\r\n"
          "G40 S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {56, "G17\r\n"
          "G90\r\n"
          "T1\r\n"
          "S18000 M3\r\n"
          "M8\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {57, "G54\r\n"
          "G17\r\n"
          "G90\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "M8\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {58, "%12345*%\r\n"
          "G64 G17 G90 \r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "M8\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {60, "O0200\r\n"
          "G17 G40 G80 G90 G94 G98\r\n"
          "S18000 M3\r\n"},
      {61, "G17 G40 G49 G80 G90\r\n"
          "T1\r\n"
          "M6\r\n"
          "S18000 M3\r\n"
          "G0 G58 G43 Z10. H1\r\n"
          "G0 X5. Y6. T2 M8\r\n"},
      {62, "G90\r\n"
          "G94\r\n"
          "G17\r\n"
          "G0 G53 Z0\r\n"
          "G0 X0 Y0\r\n"
          "M5\r\n"
          "T1\r\n"
          "M6\r\n"
          "S18000 M3\r\n"},
      {63, "G55\r\n"
          "G92 X0 Y0 Z1.5\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "M62\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {64, "TRANS Z1.5\r\n"
          "T1 D1\r\n"
          "L06\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X12.5 Y7.25\r\n"},
      {65, "G54\r\n"
          "G17\r\n"
          "G90\r\n"
          "G61.1\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "G0 G43 Z10 H1\r\n"
          "G0 X0 Y0\r\n"
          "M8\r\n"
          "G0 X5 Y6\r\n"
          "G0 Z10\r\n"},
      {66, "G17\r\n"
          "G90\r\n"
          "T1 M6\r\n"
          "E18000 M3\r\n"
          "G4 X3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M8\r\n"},
      {67, "G17\r\n"
          "G52\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "M8\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {72, "T1\r\n"
          "M6\r\n"
          "S18000 M3\r\n"
          "G54\r\n"
          "TRANS Z1000\r\n"
          "G00 Z10\r\n"
          "M8\r\n"
          "G00 G40 G90 X5 Y6\r\n"},
      {76, "%\r\n"
          "G55\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "T1 M6\r\n"
          "G54\r\n"
          "M3 S18000\r\n"
          "M8\r\n"},
      {77, ";TEIL1\r\n"
          "G90 G17\r\n"
          "T1 M6\r\n"
          "G383\r\n"
          "G79\r\n"
          "G59 P3\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {78, "G90\r\n"
          "G52\r\n"
          "T1\r\n"
          "S18000\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "G1 Z2 F850\r\n"},
      {79, "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "T1 G17 S18000\r\n"
          "G68 P3\r\n"
          "G0 X5 Y6\r\n"
          "G0 Z10\r\n"},
      {80, "M90\r\n"
          "G75\r\n"
          "G0 G90 Z0.3937\r\n"
          "G0 G40 G90 X0 Y0\r\n"
          "G0 G40 G90 X1 Y1 C01\r\n"
          "G0 X0.1969 Y0.2362\r\n"
          "G0 C1\r\n"
          "M11\r\n"
          "G0 X0.1969 Y0.2362\r\n"
          "G0 Z0.3937\r\n"},
      {81, "G17\r\n"
          "G90\r\n"
          "G75\r\n"
          "G0 Z-10.\r\n"
          "G0 X5. Y6.\r\n"
          "G00 T1\r\n"
          "G97 S18000\r\n"},
      {82, "G71 //in mm\r\n"
          "S18000\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {83, "Z_HOCH\r\n"
          "G501\r\n"
          "G90 G40 G17\r\n"
          "HSCCFG(1,0.030,3,0.30)\r\n"
          "FFWON\r\n"
          "SOFT\r\n"
          "T1\r\n"
          "M6\r\n"
          "D1\r\n"
          "M13 M46 M21\r\n"
          "M3 S18000\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M8\r\n"},
      {84, "G15 H01\r\n"
          "G53 Z100. M5\r\n"
          "T1 M6\r\n"
          "G90 G0 Z10.\r\n"
          "G0 X5. Y6.\r\n"
          "S18000 M3\r\n"},
      {85, "G54\r\n"
          "G17\r\n"
          "G90\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "G0 G43 Z10 H1\r\n"
          "G0 X5 Y6\r\n"
          "M8\r\n"},
      {86, "G17\r\n"
          "G40 G50 G80 G90 G91.1\r\n"
          "T1 M6\r\n"
          "S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M8\r\n"},
      {87, "G90\r\n"
          "T01\r\n"
          "S+18000\r\n"
          "G00 Z+10000\r\n"
          "G00 X+5000 Y+6000\r\n"
          "M8\r\n"},
      {88, "G90\r\n"
          "G40\r\n"
          "G17\r\n"
          "G60 X0\r\n"
          "T1 M6\r\n"
          "P2000=18000 M3\r\n"
          "M13\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M8\r\n"},
      {89, "G17 G40 G80 G90 G94 G98\r\n"
          "T1 M6\r\n"
          "G0 Z10.\r\n"
          "G0 X5. Y6.\r\n"
          "S18000 M3\r\n"},
      {90, "G90 G0 G17 G40\r\n"
          "G49\r\n"
          "T1 M06\r\n"
          "S18000 M03\r\n"
          "G0 G43 Z10. H1\r\n"
          "G0 X5. Y6.\r\n"
          "M08\r\n"},
      {92, "G17\r\n"
          "T1 M6\r\n"
          "S18000 M03\r\n"
          "M8\r\n"
          "G04 Q8\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"
          "M12\r\n"},
      {94, "G90 G17\r\n"
          "T1 M6\r\n"
          "S18000 M03\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {95, "G90 G17\r\n"
          "T1 M6\r\n"
          "S18000 M03\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {96, "G90 G21 G17\r\n"
          "T1 M6\r\n"
          "S18000 M03\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {97, "G17\r\n"
          "G52\r\n"
          "T1 M6\r\n"
          "G40 S18000 M3\r\n"
          "G0 Z10\r\n"
          "G0 X5 Y6\r\n"},
      {98, "G90\r\n"
          "G17 T1\r\n"
          "G00 Z10 S+18000\r\n"
          "G00 X5 Y6\r\n"
          "M8 G4 F4\r\n"},
  };
  int count = 0;
  for (const TCase& c : cases) {
    auto st = SetupState(c.dialect);
    EXPECT_EQ(SetupOf(*st), c.expected) << "dialect " << c.dialect;
    ++count;
  }
  // Every G-code dialect has its row above.
  for (int d = 0; d <= 100; ++d) {
    bool listed = false;
    for (const TCase& c : cases) listed = listed || c.dialect == d;
    EXPECT_EQ(listed, IsGCodeSetupDialect(d)) << "dialect " << d;
  }
}

TEST(NcSetupBlocksTest, OtherDialectsWriteNothingHere) {
  for (int d : {1, 4, 5, 9, 11, 12, 20, 22, 31, 32, 33, 37, 39, 44, 47, 55, 68, 74, 99, 100}) {
    auto st = SetupState(d);
    EXPECT_FALSE(WriteGCodeSetupBlocks(*st)) << "dialect " << d;
    EXPECT_EQ(Buffered(*st), "") << "dialect " << d;
  }
}

TEST(NcSetupBlocksTest, WithoutStartPositionTheFirstContourStartIsApproached) {
  auto st = SetupState(58);
  st->Machine.StartX = -9999.0f;
  const std::string text = SetupOf(*st);
  EXPECT_EQ(text.substr(text.rfind("G0 X")), "G0 X12.5 Y7.25\r\n");
  EXPECT_EQ(+st->LastPos.x, 12.5f);
  EXPECT_EQ(+st->LastPos.y, 7.25f);

  // A set start position leaves the last position as it was.
  st = SetupState(58);
  st->LastPos = {0, 1.0f, 2.0f, -10.0f};
  SetupOf(*st);
  EXPECT_EQ(+st->LastPos.x, 1.0f);
  EXPECT_EQ(+st->LastPos.y, 2.0f);
}

TEST(NcSetupBlocksTest, ApproachRoundsTheLastPositionToTheResolution) {
  auto st = SetupState(25);
  st->Machine.StartY = -10000.0f;
  st->FirstContourStart = {11, 1.23456f, 2.00004f, 0.0f};
  const std::string text = SetupOf(*st);
  EXPECT_NE(text.find("G0 X1.2346 Y2.\r\n"), std::string::npos) << text;
  EXPECT_EQ(+st->LastPos.x, RoundedToNcResolution(*st, 1.2346f));
  EXPECT_EQ(+st->LastPos.y, 2.0f);
}

// The dialects that go to the start position itself: an unset position
// (-9999) must never become a move to -9999 mm. The start block keeps only
// its mode words and the words that do not belong to the move, or goes; the
// rest of the sequence stays as it is with a start position.
TEST(NcSetupBlocksTest, UnsetStartPositionWritesNoStartMove) {
  struct TCase {
    int dialect;
    const char* withStart;     // the start blocks with the position (5, 6), no last line end
    const char* withoutStart;  // what stands in its place ("" = nothing)
  };
  const TCase cases[] = {
      {8, "G0 X5 Y6", ""},
      {10, "G0 X5 Y6", ""},
      {19, "G0 X5 Y6", ""},
      {21, "G0 X5 Y6", ""},
      {24, "G0 X5 Y6", ""},
      {27, "G0 X5. Y6.", ""},
      {29, "G90 G00 Z10\r\nG90 G00 X5 Y6", "G90"},
      {36, "G00 G40 G90 X5 Y6", "G40 G90"},
      {38, "G92 X5. Y6.", ""},
      {42, "G00 X5.0 Y6.0 S18000 M03", "S18000 M03"},
      {43, "E1 G0 X5. Y6.", ""},
      {45, "G00 Z-10.\r\nG00 X5. Y6.", ""},
      {84, "G0 X5. Y6.", ""},
  };
  for (const TCase& c : cases) {
    auto st = SetupState(c.dialect);
    const std::string withStart = SetupOf(*st);
    const size_t at = withStart.find(c.withStart);
    ASSERT_NE(at, std::string::npos) << "dialect " << c.dialect << ": " << withStart;
    // The block with its line end (which differs between dialects).
    const size_t end = withStart.find('\n', at + std::strlen(c.withStart)) + 1;
    const std::string lineEnd = withStart.substr(at + std::strlen(c.withStart), end - at - std::strlen(c.withStart));
    std::string expected = withStart;
    expected.replace(at, end - at, *c.withoutStart != '\0' ? c.withoutStart + lineEnd : std::string());
    for (float unset : {-9999.0f, -10000.0f}) {
      st = SetupState(c.dialect);
      st->Machine.StartX = unset;
      st->Machine.StartY = unset;
      const std::string text = SetupOf(*st);
      EXPECT_EQ(text, expected) << "dialect " << c.dialect;
      EXPECT_EQ(text.find("-999"), std::string::npos) << "dialect " << c.dialect << ": " << text;
      EXPECT_EQ(text.find("X12.5"), std::string::npos) << "dialect " << c.dialect;
    }
    // One coordinate unset is no start position either.
    st = SetupState(c.dialect);
    st->Machine.StartY = -10000.0f;
    EXPECT_EQ(SetupOf(*st), expected) << "dialect " << c.dialect;
  }
}

TEST(NcSetupBlocksTest, Dialect50MovesOnlyWithAStartPosition) {
  auto st = SetupState(50);
  st->Machine.StartX = -9999.0f;
  st->LastPos = {0, 3.0f, 4.0f, 0.0f};
  EXPECT_EQ(SetupOf(*st), "T1\r\nS18000 M3\r\n");
  EXPECT_EQ(+st->LastPos.x, 3.0f);
}

TEST(NcSetupBlocksTest, Dialects51And52MoveTwoWays) {
  auto st = SetupState(51);
  st->Machine.StartX = -9999.0f;
  EXPECT_EQ(SetupOf(*st), "G55 G00 Z10\r\nG0 X12.5 Y7.25\r\nT=\"STICHEL 30\"\r\nS18000 M3\r\n");
  EXPECT_EQ(+st->LastPos.x, 12.5f);
  st = SetupState(52);
  st->Machine.StartY = -9999.5f;
  EXPECT_EQ(SetupOf(*st), "O1\r\nG00 Z10\r\nG0 X12.5 Y7.25\r\nT1\r\nS18000 M3\r\nM8\r\n");
}

TEST(NcSetupBlocksTest, Dialect25StopsBeforeTheToolCallAbove1000) {
  auto st = SetupState(25);
  st->FirstToolStation = 1001;
  EXPECT_EQ(SetupOf(*st), "G17\r\nG90\r\nG75\r\nG0 Z-10.\r\nG0 X5. Y6.\r\n");
  EXPECT_EQ(st->ToolStation, 1001);
  EXPECT_EQ(st->LastToolStation, 0);
  EXPECT_EQ(st->LastSpindleSpeed, 18000.0f);

  // Dialect 81 has no such limit.
  st = SetupState(81);
  st->FirstToolStation = 1001;
  EXPECT_EQ(SetupOf(*st), "G17\r\nG90\r\nG75\r\nG0 Z-10.\r\nG0 X5. Y6.\r\nG00 T1001\r\nG97 S18000\r\n");
  EXPECT_EQ(st->LastToolStation, 1001);
}

TEST(NcSetupBlocksTest, Dialects25And81CallToolsByNameWithChangeKindTwo) {
  for (int d : {25, 81}) {
    auto st = SetupState(d);
    st->Machine.DialectRecords[d].ToolChangeCode = 2;
    const std::string text = SetupOf(*st);
    EXPECT_NE(text.find("G00 CSTICHEL 30\r\nG97 S18000\r\n"), std::string::npos) << text;
    EXPECT_EQ(st->FirstToolName, "STICHEL 30");
    EXPECT_EQ(st->CoolantPending, 1);
  }
}

TEST(NcSetupBlocksTest, Dialect42WritesTwoDigitStations) {
  auto st = SetupState(42);
  st->FirstToolStation = 7;
  EXPECT_NE(SetupOf(*st).find("G43 H07 Z10.0\r\n"), std::string::npos);
  st = SetupState(42);
  st->FirstToolStation = 12;
  EXPECT_NE(SetupOf(*st).find("G43 H12 Z10.0\r\n"), std::string::npos);
}

TEST(NcSetupBlocksTest, CoolantWordWithCoolantOff) {
  // 76 and 92 write the coolant block only when the coolant is on; the
  // others always ask for the word (an off word or nothing).
  struct TCase {
    int dialect;
    const char* tail;
  };
  const TCase cases[] = {
      {76, "G54\r\nM3 S18000\r\n"},
      {92, "G04 Q8\r\nG0 Z10\r\nG0 X5 Y6\r\n"},
      {56, "S18000 M3\r\nM9\r\nG0 Z10\r\nG0 X5 Y6\r\n"},
      {58, "S18000 M3\r\nM9\r\nG0 Z10\r\nG0 X5 Y6\r\n"},
      {16, "G0 X5 Y6\r\nM9\r\n"},
  };
  for (const TCase& c : cases) {
    auto st = SetupState(c.dialect);
    st->Machine.CoolantOn = 0;
    const std::string text = SetupOf(*st);
    const std::string tail = c.tail;
    ASSERT_GE(text.size(), tail.size()) << c.dialect;
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << "dialect " << c.dialect << ": " << text;
    EXPECT_EQ(st->CoolantPending, c.dialect == 76 || c.dialect == 92 ? 1 : 0) << c.dialect;
  }
}

TEST(NcSetupBlocksTest, FirstToolBlockTakesTheFirstTool) {
  auto st = SetupState(13);
  st->FirstToolStation = 4;
  st->FirstToolSpeed = 16000.0f;
  st->CoolantPending = 0;
  st->PathLength = 5.0;
  const std::string text = SetupOf(*st);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1), "T4 G17 S16000 M6\r\n");
  EXPECT_EQ(st->LastToolStation, 4);
  EXPECT_EQ(st->LastSpindleSpeed, 16000.0f);
  EXPECT_EQ(st->CoolantPending, 1);
  EXPECT_EQ(st->PathLength, 0.0);
}

TEST(NcSetupBlocksTest, StartPositionOrFirstContourStart) {
  auto st = SetupState(0);
  WriteNcString(st->Machine.StartBlockText, 16, "");
  st->Machine.StartY = 6.5f;
  st->FirstContourStart = {11, 12.34567f, 8.0f, 0.0f};
  EXPECT_EQ(SetupOf(*st), "T1\r\nS18000 M3\r\nG0 Z10\r\nG0 X5 Y6.5\r\n");
  EXPECT_FLOAT_EQ(st->LastPos.x, kNcUnsetCoordinate) << "the next move writes its X and Y";

  for (float unset : {-9999.0f, -12000.0f}) {
    auto first = SetupState(0);
    WriteNcString(first->Machine.StartBlockText, 16, "");
    first->Machine.StartY = unset;
    first->FirstContourStart = {11, 12.34567f, 8.0f, 0.0f};
    EXPECT_EQ(SetupOf(*first), "T1\r\nS18000 M3\r\nG0 Z10\r\nG0 X12.346 Y8\r\n");
    EXPECT_FLOAT_EQ(first->LastPos.x, 12.346f);
    EXPECT_FLOAT_EQ(first->LastPos.y, 8.0f);
  }
}

TEST(NcSetupBlocksTest, DialectZeroWithoutUserStartLine) {
  auto st = SetupState(0);
  WriteNcString(st->Machine.StartBlockText, 16, "");
  EXPECT_EQ(SetupOf(*st), "T1\r\nS18000 M3\r\nG0 Z10\r\nG0 X5 Y6\r\n");
}

TEST(NcSetupBlocksTest, Dialect77MeasuringCycles) {
  struct TCase {
    int16_t measuring;
    uint8_t offsetP3;
    const char* cycle;
  };
  const TCase cases[] = {
      {1, 1, "G383\r\nG79\r\nG59 P3\r\n"}, {2, 1, "G188\r\nG79\r\nG59 P3\r\n"},
      {2, 0, "G188\r\nG79\r\n;G59 P3\r\n"}, {3, 1, ""}, {0, 1, ""},
  };
  for (const TCase& c : cases) {
    auto st = SetupState(77);
    st->Machine.ToolMeasuring = c.measuring;
    st->Machine.ZeroOffsetG59 = c.offsetP3;
    EXPECT_EQ(SetupOf(*st), std::string(";TEIL1\r\nG90 G17\r\nT1 M6\r\n") + c.cycle +
                                "S18000 M3\r\nG0 Z10\r\nG0 X5 Y6\r\n")
        << c.measuring;
  }
}

TEST(NcSetupBlocksTest, StateLeftBehind) {
  auto st = SetupState(2);
  SetupOf(*st);
  EXPECT_EQ(st->LastFeed, 0.85f);
  EXPECT_EQ(+st->LastPos.z, -2.0f);
  EXPECT_EQ(st->CoolantPending, 1);

  st = SetupState(3);
  st->LastFeed = 2.0f;
  SetupOf(*st);
  EXPECT_EQ(st->LastFeed, 0.0f);

  st = SetupState(62);
  st->LastPos = {0, 5.0f, 6.0f, -10.0f};
  SetupOf(*st);
  EXPECT_EQ(+st->LastPos.x, 0.0f);
  EXPECT_EQ(+st->LastPos.y, 0.0f);

  st = SetupState(84);
  SetupOf(*st);
  EXPECT_EQ(st->ToolStation, 1);
  EXPECT_EQ(st->LastToolStation, 1);

  st = SetupState(38);
  st->LastSpindleSpeed = 1000.0f;
  SetupOf(*st);
  EXPECT_EQ(st->LastToolStation, 1);
  EXPECT_EQ(st->LastSpindleSpeed, 1000.0f);
}

TEST(NcSetupBlocksTest, ToolBlocksAreNumberedInToolBlockMode) {
  auto st = SetupState(58);
  st->Machine.BlockNumbering = 4;
  EXPECT_EQ(SetupOf(*st), "%12345*%\r\nG64 G17 G90 \r\nN1 T1 M6\r\nS18000 M3\r\nM8\r\nG0 Z10\r\nG0 X5 Y6\r\n");
  st = SetupState(58);
  st->Machine.BlockNumbering = 1;
  EXPECT_EQ(SetupOf(*st),
            "%12345*%\r\nN1 G64 G17 G90 \r\nN2 T1 M6\r\nN3 S18000 M3\r\nN4 M8\r\nN5 G0 Z10\r\nN6 G0 X5 Y6\r\n");
}

TEST(NcSetupBlocksTest, Dialects2And78CopyTheUserHeadFile) {
  torvtest::TWorkFolder work;
  ASSERT_TRUE(work.Entered());
  std::ofstream(work.Path() + "/ErgaenzKopf.PGM") << "G71\r\n\r\n M98 P10\r\n";
  for (int d : {2, 78}) {
    auto st = SetupState(d);
    const std::string text = SetupOf(*st);
    EXPECT_EQ(text.substr(0, 28), "G90\r\nG71\r\nM98 P10\r\nG52\r\nT1\r\n") << d;
  }
}

}  // namespace
