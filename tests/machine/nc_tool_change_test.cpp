// Tool-change sequences of the NC dialects, written by the rapid move when
// the path's tool differs from the tool last called.
#include "machine/nc_tool_change.h"

#include <gtest/gtest.h>

#include "machine/nc_blocks.h"
#include "machine/nc_feed_moves.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_test_support.h"

namespace {

using nctest::Buffered;
using nctest::Lines;
using nctest::MakeState;


// A change from tool 1 to tool 5 at 12000 rpm: safe height 10, clearance 2,
// coolant on, start (1, 2), end (3, 4), rotary diameter 50 (no rotary axis in
// use), the target at (30, 40) on the clearance level, feed 1.5 written.
std::unique_ptr<TNcWriterState> ChangeState(int dialect) {
  auto st = MakeState(dialect);
  st->Machine.SafeZ = 10.0f;
  st->Machine.CoolantOn = 1;
  st->Machine.StartX = 1.0f;
  st->Machine.StartY = 2.0f;
  st->Machine.EndX = 3.0f;
  st->Machine.EndY = 4.0f;
  st->Machine.RotaryDiameter = 50.0f;
  st->LastToolStation = 1;
  st->ToolStation = 5;
  st->SpindleSpeed = 12000.0f;
  st->LastSpindleSpeed = 1000.0f;
  st->ClearanceHeight = 2.0f;
  st->TargetPos = {11, 30.0f, 40.0f, -2.0f};
  st->LastPos = {0, 30.0f, 40.0f, -2.0f};
  st->LastFeed = 1.5f;
  st->CoolantPending = 0;
  st->FirstMovePending = 0;
  st->FirstToolName = "Fraeser 3mm  ";
  return st;
}

// Every dialect's sequence for the change above, the coolant flag it leaves
// and whether it resets the feed (the first feed block then writes it again).
TEST(NcToolChange, SequenceOfEveryDialect) {
  struct TCase {
    int dialect;
    const char* blocks;
    int coolantPending;
    bool feedReset;
  };
  const TCase cases[] = {
      {0, "G0 Z10|T5|S12000 M3|G0 X30 Y40|", 1, false},
      {1, "G00 Z10 *|T5 G17S12000 M06 *|G00 G40 G90 X30 Y40 *|", 1, true},
      {2, "G0 Z10|T5|S12000|G0 X30 Y40|G1 X30 Y40 F850|", 1, false},
      {3, "G0 Z10|T5 S12000|G0 X30 Y40|", 1, false},
      {4, "R Z10.|M05|G49 R|T5 M06|G48 R|M03 S22 R X30 Y40|", 1, false},
      {5, "G0 Z10|T5 M66|S127 M3|G0 X30 Y40|", 1, false},
      {6, "G0 Z10|T5 S12000 M6|G0 X30 Y40 M3|", 1, false},
      {7, "G0 Z10|T5 M6|G188 G79|S12000 M3|G0 X30 Y40|G0 X30 Y40|", 1, false},
      {8, "G0 Z10|T5 S12000 M3|G0 X30 Y40|", 1, false},
      {9, "FASTABS Z10000|GETTOOL 5|SPINDLE CW RPM12000 TIME2000|FASTABS X30000 Y40000|FASTABS Z2000|", 1, true},
      {10, "G0 Z10|M6|T5 S12000 M3|G0 X30 Y40|", 1, false},
      {11, "G0 Y10|T5 S12000 M6|G0 X30 Y40|", 1, false},
      {12, "G0 Z10|M37|M5 S0|h0|G79 Z0|T5 M6|h5|M3 S12000|M36|G0 X30 Y40|", 0, false},
      {13, "G0 Z10|T5 S12000|G0 X30 Y40|", 1, false},
      {14, "G0 Z10|T5 L31|M3 S12000|G0 X30 Y40|", 1, false},
      {15, "G0 Z10|T5 M6|S12000 M3|G0 X30 Y40|", 1, false},
      {16, "G0 Z10|T5|S12000|G0 X30 Y40|M8|", 0, false},
      {17, "G0 Z10|T5|S12000|G0 X30 Y40|M8|", 0, false},
      {18, "G0 Z10|T5 D5|M6|G43|G0 X30 Y40|S12000 M3|", 1, false},
      {19, "G0 Z10|M6 T1|M6 T5|M101 T5|G56|S12000|G0 X30 Y40|", 1, false},
      {20, "G0 Z10|M05|M09|N5 T5 M6|P2000=12000 M03|G4 X2|G0 X30 Y40|G0 X30 Y40|M8|", 0, true},
      {21, "G0 Z10|T5 M6|S12000 M3|G0 X30 Y40|", 0, false},
      {22, "L Z10 R FMAX M|TOOL CALL 5 Z S12000|L R F M06|L X30 Y40 R FMAX M|", 1, true},
      {23, "G0 X30 Y40|", 0, false},
      {24, "G0 Z10;|M5;|M9;|G49 M6 T5;|G43 H5 Z10;|M8;|S12000 M3;|G0 X30 Y40 Z2;|", 0, false},
      {25, "G00 Z-10.|G00 T5|G97 S12000|G0 X30 Y40|", 0, false},
      {26, "G0 Z10.0 G49 M9|T5 M6|G43H5|S12000 M3|G0 X30 Y40 M8|", 0, true},
      {27, "G0 Z10.|M5|M9|G49 M6 T5|G43 H5 Z10.|S12000 M3|G0 X30. Y40. Z2.|", 0, false},
      {28, "G0 Z10.|T5 S12000 M6|M3|G0 G90 X30 Y40|", 1, false},
      {29, "G00 X30 Y40|", 0, false},
      {30, "G00 X30 Y40|", 0, false},
      {31, "MOV X30 Y40|", 0, false},
      {32, "G0 Z10.|M212|G13.1|G28 U0.|G28 W0.|T0500 S12000 M203|G0 Z10.|G50 H0.|G0 C0.|G12.1|M211|G0 X30 Y40|", 1, false},
      {33, "G00 Z10.|T5 M6|M8|S12000|G00 X30 Y40|", 0, false},
      {34, "G00 Z10|T5 M6|M8|S12000|G0 X30 Y40|", 0, false},
      {35, "M6|G0 X30 Y40|", 0, false},
      {36, "G00 X30 Y40|", 0, false},
      {37, "G0 Z10|M5|T5 M6|S12000 M3|G0 X30 Y40|", 1, false},
      {38, "M21M24|G0 X30 Y40|", 0, false},
      {39, "G0 Z10|M05|M09|N5 T5 M6|M114|P2000=12000 M03|G4 X2|G0 Z10 B0|G0 X1 Y2 C0|G0 X30 Y40|M8|", 0, true},
      {40, "G0 Z10|M9|Xcall $kontroll|EndIf|if $nutze1==1|TT=5|S12000 M3|IF (( $Dia_Diff_d1 != 0 ) or ($rad_Diff_l1 != 0 ))| Xcall $laenge|ENDIF|SH|G0 X30 Y40|G0 X30 Y40|", 1, false},
      {41, "G0 Z10|T5 S12000 M6|G0 X30 Y40 M3|", 1, false},
      {42, "G91 G30Z0|M09|G30X0Y0|M05|M01|T05 M06|G90 G54|G43 H05 Z10.0|G00 X30.0 Y40.0 Z2.0 S12000 M03|M08|", 0, false},
      {43, "G0 Z10.|M9|T5 M6|M3 S12000|H5 Z10.|E1 G0 X30. Y40. Z2.|M8|", 0, false},
      {44, "PTP { X30 Y40}|", 0, false},
      {45, "G00 Z-10.|G00 T5|S12000|G00 X30 Y40|", 0, false},
      {46, "G0 Z10|T5 S12000 M3|G0 X30 Y40|", 1, false},
      {47, "L Z10 R FMAX M|TOOL DEF 5 L0 R0|TOOL CALL 5 W S12000|L R F M06|L X30 Y40 R FMAX M03|", 1, true},
      {48, "M10 O6.0|M10 O2.0|G0 Z10|M06 T5|M25 U5|M10 O6.1|M10 O2.1|G0 X30 Y40|", 1, false},
      {49, "G0 Z10|T5|S12000 M3|G0 X30 Y40|", 1, false},
      {50, "G0 Z10|T5|S12000 M3|G0 X30 Y40|G0 X30 Y40|", 1, false},
      {51, "G00 Z10|S0|T=\"Fraeser 3mm\"|M8|S12000|G00 X30 Y40|", 0, false},
      {52, "G00 Z10|T5|M8|S12000 M3|G00 X30 Y40|", 0, false},
      {53, "G0 Z10|T5 S12000 M6|M3|G0 X30 Y40|G0 X30 Y40|", 1, false},
      {54, "L Z10 R FMAX M|TOOL CALL 5 Z S12000|L X30 Y40 R FMAX M03|", 1, true},
      {55, "G0 Z10|M05|M09|T5 M6|P2000=12000 M03|G0 X30 Y40|G0 X30 Y40|M8|", 0, true},
      {56, "G0 Z10|M9|T5|S12000 M3|G0 X30 Y40|M8|", 0, true},
      {57, "G0 Z10|M9|T5 M6|S12000 M3|G0 X30 Y40|M8|", 0, true},
      {58, "G0 Z10|T5 S12000 M6|G0 X30 Y40 M3|M8|", 0, false},
      {59, "G0 Z10|G115|M05|M09|M11|T5 M6|G0 E12000 M3|G4 X2|G0 X30 Y40|G0 X30 Y40|M8|M10|", 0, true},
      {60, "G0 Z10.|S12000|G0 G90 X30 Y40|M8|", 0, false},
      {61, "G0 Z10.|M9|G00 G28 G91 Z0|M6|G40 G49 G80 G90|S12000 M3|M8|G00 G58 G43 H5  M8|", 0, true},
      {62, "G0 G53 Z0|M9|G0 X0 Y0|M5|T5|M6|S12000 M3|G0 X30 Y40|M8|", 0, true},
      {63, "G0 Z10|M9|T5 M6|S12000 M3|G0 X30 Y40|G0 X30 Y40|M8|M62|", 0, true},
      {64, "G0 Z10|M9|T5 D1|L06|S12000 M3|G0 X30 Y40|G0 X30 Y40|M8|", 0, true},
      {65, "G0 Z10|M9|T5 M6|S12000 M3|G0 X0 Y0|G43 Z3 H5|M8|G0 X30 Y40|G0 X30 Y40|", 0, true},
      {66, "G0 Z10|T5 M6|G0 E12000 M3|G4 X2|G0 X30 Y40|G0 X30 Y40|M8|", 0, true},
      {67, "G0 Z10|M5|T5 M6|S12000 M3|G0 X30 Y40|G0 X30 Y40|M8|", 0, true},
      {68, "L Z10 FMAX|TOOL CALL 5 Z S12000|M3|L X30 Y40 FMAX|L X30 Y40 FMAX|M8|", 0, true},
      {69, "L Z10 F MAX|TOOL DEF 5 L0 R0|TOOL CALL 5 W S12000|L M06|L X30 Y40 F MAX M03|M13|", 0, true},
      {70, "L Z10 F5000 M9|TOOL DEF 5 L0 R0|L M06|TOOL CALL 5 W S12000|L X30 Y40 F5000 M03|M8|", 0, true},
      {71, "L Z10 F5000 M9|TOOL DEF 5 L0 R0|L M06|TOOL CALL 5 W S12000|L X30 Y40 F5000 M03|M8|", 0, true},
      {72, "M9|G00 Z10|S0|T5|M6|M8|S12000 M3|G00 X30 Y40|", 0, false},
      {73, "L Z10 F MAX|TOOL CALL 5 W S12000|L M6|L X30 Y40 M13|L X30 Y40 F MAX M03|", 0, true},
      {74, "G0 X10|DIAMON|TRANS|TRAFOOF|SETMS()|G54|G0 G95 X300 D0|G0 Z150 D0|G19 T05 D1 M7|SPOS[1]=0|TRACYL(50)|G54|TRANS X25|DIAMOF|G0 G40 G90 G94 Z0 Y0 S2=12000 M2=3|M7|G0 X30 Y40|", 0, false},
      {75, "G0 Z10|TRAFOOF|TRANS|DIAMON|SETMS()|G54|G0 G95 X300 D0|G0 Z150 D0|G17 T05 D1 M7|SPOS[1]=0|DIAMOF|TRANSMIT|G54|G0 G40 G90 G94 Z5 S2=12000 M2=3|M7|G0 X30 Y40|", 0, false},
      {76, "M9|G0 Z10|T5 M6|M3 S12000|G0 X30 Y40|M8|", 0, false},
      {77, "M9|G0 Z10|T5 M6|G383|G79|G59 P3|S12000 M3|G0 X30 Y40|G0 X30 Y40|", 1, false},
      {78, "G0 Z10|T5|S12000|G0 X30 Y40|G1 X30 Y40 F850|", 1, false},
      {79, "G0 Z10|G67 P3|T5 S12000|G68 P3|G0 X30 Y40|", 1, false},
      {80, "G0 Z0.3937|M21|G0 C5|M11|G0 X30 Y40|", 1, false},
      {81, "G00 Z-10.|G00 T5|G97 S12000|G0 X30 Y40|", 0, false},
      {82, "G00 Z10|S12000|G0 X30 Y40|", 0, false},
      {83, "M9|G0 Z10|M20|T5|M6|D1|M46 M21|M3 S12000|G0 X30 Y40|M8|", 0, false},
      {84, "G0 G53 Z100.|M5|T5 M6|S12000 M3|G90 G0 X1. Y2. Z10.|G0 X30 Y40|", 0, false},
      {85, "G0 Z10|M9|T5 M6|S12000 M3|G0 X30 Y40|G43 Z3 H5|M8|G0 X30 Y40|", 0, true},
      {86, "G0 Z10|M9|T5 M6|S12000 M3|M8|G0 X30 Y40|", 0, true},
      {87, "G00 Z+10000 D+01|M9|T05|S+12000|M8|G00 X30 Y40|", 0, true},
      {88, "G0 Z10|M9|T5 M6|P2000=12000 M3|M13|G0 X30 Y40|G0 X30 Y40|M8|", 0, true},
      {89, "G0 Z10.|T5 S12000 M6|M3|G0 G90 X30 Y40|", 1, false},
      {90, "G0 Z10.|M05|M09|G91 G28 Z0.|G49|T5 M06|S12000 M03|G0 G43 G90 Z10. H5|G0 X30 Y40|", 1, false},
      {91, "G0 Z10|G0 X3 Y4|G115|M05|M09|M11|T5 M6|G17|G60 X0|G40|G90|G0 E12000 M3|M8|G4 X2|G0 X1 Y2|M10|G0 Z10|G0 X30 Y40|", 0, true},
      {92, "G0 Z10|M22|M05|G04 Q9|T5 M6|S12000 M03|G04 Q8|G0 X30 Y40|M12|", 0, false},
      {93, "TOOL DEF 5 L0 R0|TOOL CALL 5 W S12000|L M06|M13|L X30 Y40 F MAX|", 0, true},
      {94, "G0 Z10|T5 M6|S12000 M3|G0 X30 Y40|", 1, false},
      {95, "G0 Z10|T5 M6|S12000 M3|G0 X30 Y40|", 1, false},
      {96, "G0 Z10|T5 M6|S12000 M3|G0 X30 Y40|", 1, false},
      {97, "G0 Z10|T5 S12000 M6|M3|G0 X30 Y40|G0 X30 Y40|", 1, false},
      {98, "M9|G00 Z10|G17 T5|G00 Z10 S+12000|M8 G4 F4|G00 X30 Y40|", 0, true},
      {99, "L Z10 FMAX|TOOL CALL 5 Z S12000|M3|M8|L X30 Y40 FMAX|L X30 Y40 FMAX|", 1, true},
      {100, "G0 Z10|T5|S12000 M3|G0 X30 Y40|", 1, false},
  };
  for (const TCase& c : cases) {
    auto st = ChangeState(c.dialect);
    WriteRapidMove(*st, " X30 Y40");
    EXPECT_EQ(Lines(*st), c.blocks) << "dialect " << c.dialect;
    EXPECT_EQ(st->CoolantPending, c.coolantPending) << "dialect " << c.dialect;
    EXPECT_EQ(st->LastFeed == 0.0f, c.feedReset) << "dialect " << c.dialect;
    // 38 and 44 record nothing; 23 and 36 have no sequence but take the tool.
    const int32_t recorded = c.dialect == 38 || c.dialect == 44 ? 1 : 5;
    EXPECT_EQ(st->LastToolStation, recorded) << "dialect " << c.dialect;
  }
}

// The dialects whose sequence has no approach block position at the new
// contour start with their rapid block, so that the next feed move (the
// plunge) happens there and not at the X/Y the tool was changed at.
TEST(NcToolChange, ChangeWithoutApproachBlockStillReachesTheNewStart) {
  const struct {
    int dialect;
    const char* rapid;
  } cases[] = {{21, "G0 X30 Y40"}, {32, "G0 X30 Y40"},  {33, "G00 X30 Y40"}, {34, "G0 X30 Y40"},
               {35, "G0 X30 Y40"}, {45, "G00 X30 Y40"}, {51, "G00 X30 Y40"}, {52, "G00 X30 Y40"},
               {93, "L X30 Y40 F MAX"}};
  for (const auto& c : cases) {
    auto st = ChangeState(c.dialect);
    st->LastPos = {0, 7.0f, 8.0f, -2.0f};
    TVectorRecord target = st->TargetPos;
    WriteRapidMove(*st, " X30 Y40");  // the words were formed against LastPos
    st->LastPos.x = 30.0f;
    st->LastPos.y = 40.0f;
    const std::string change = Lines(*st);
    ASSERT_GE(change.size(), std::string(c.rapid).size() + 1) << c.dialect;
    EXPECT_EQ(change.substr(change.size() - std::string(c.rapid).size() - 1), std::string(c.rapid) + "|")
        << "dialect " << c.dialect;
    target.z = 1.0f;
    st->OutCount = 0;
    WriteFeedMove(*st, target, {0, 0, 0, 0}, 1.5f);
    EXPECT_EQ(Lines(*st).find(" X"), std::string::npos) << "the plunge stays at the new start, dialect " << c.dialect;
  }
}

// Dialects 23 and 36 write no tool change; the moves after a change of the
// path's tool are written all the same.
TEST(NcToolChange, DialectsWithoutSequenceKeepTheirRapidMoves) {
  for (int d : {23, 36}) {
    auto st = ChangeState(d);
    WriteRapidMove(*st, " X30 Y40");
    WriteRapidMove(*st, " Z2");
    const std::string g = d == 23 ? "G0" : "G00";
    EXPECT_EQ(Lines(*st), g + " X30 Y40|" + g + " Z2|") << "dialect " << d;
  }
}

// A rapid after a tool change never ends inside the material: the full
// X Y Z approach of the length-compensation dialects (and dialect 9) writes
// the height above the work, and at least the clearance level even when the
// target is the point where a worn tool stopped.
TEST(NcToolChange, FullApproachGoesToTheClearanceLevel) {
  const struct {
    int dialect;
    const char* approach;
  } cases[] = {{24, "G0 X30 Y40 Z2;"}, {27, "G0 X30. Y40. Z2."}, {42, "G00 X30.0 Y40.0 Z2.0 S12000 M03"},
               {43, "E1 G0 X30. Y40. Z2."}, {9, "FASTABS Z2000"}};
  for (const auto& c : cases) {
    for (float depth : {-2.0f, 3.0f}) {
      auto st = ChangeState(c.dialect);
      st->TargetPos.z = depth;
      WriteRapidMove(*st, " Z2");
      EXPECT_NE(Lines(*st).find(std::string(c.approach) + "|"), std::string::npos)
          << "dialect " << c.dialect << " depth " << depth << ": " << Lines(*st);
      EXPECT_FLOAT_EQ(st->LastPos.z, -2.0f) << c.dialect;
    }
  }
}

// Dialect 27 with the change code M00 (a stop for a change by hand) calls
// the tool in its own block after the stop; dialect 24 never splits.
TEST(NcToolChange, StopCodeSplitsTheToolCallOfDialect27) {
  const struct {
    int dialect;
    uint8_t code;
    const char* call;
  } cases[] = {{27, 4, "G49 M00|T5|"}, {27, 1, "G49 M6 T5|"}, {24, 4, "G49 M00 T5;"}};
  for (const auto& c : cases) {
    auto st = ChangeState(c.dialect);
    st->Machine.DialectRecords[c.dialect].ToolChangeCode = c.code;
    WriteRapidMove(*st, " X30 Y40");
    EXPECT_NE(Lines(*st).find(c.call), std::string::npos) << "dialect " << c.dialect << ": " << Lines(*st);
  }
}

// Dialects 39, 84 and 91 move to the start position inside the sequence:
// the target is then approached from there with both X and Y, although the
// caller formed its words against the old position (same X, so no X word).
// Without a start position (-10000) nothing moves to it.
TEST(NcToolChange, SequenceMovesToTheStartThenToTheTarget) {
  const struct {
    int dialect;
    const char* approach;  // the block after the sequence's last own move
  } cases[] = {{39, "G0 X30 Y40|"}, {84, "G0 X30. Y40.|"}, {91, "G0 X30 Y40|"}};
  for (const auto& c : cases) {
    for (bool start : {true, false}) {
      auto st = ChangeState(c.dialect);
      if (!start) st->Machine.StartX = st->Machine.StartY = -10000.0f;
      WriteRapidMove(*st, FormatYWord(*st, 40.0f));  // formed against X30 Y0
      const std::string out = Lines(*st);
      EXPECT_EQ(out.find("10000"), std::string::npos) << c.dialect << ": " << out;
      EXPECT_NE(out.find(c.approach), std::string::npos) << c.dialect << ": " << out;
      EXPECT_FLOAT_EQ(st->LastPos.x, 30.0f) << c.dialect;
      EXPECT_FLOAT_EQ(st->LastPos.y, 40.0f) << c.dialect;
    }
  }
  // A change at the clearance move (no X/Y words) leaves the start as the
  // last position, so that the approach that follows is formed against it.
  auto st = ChangeState(84);
  WriteRapidMove(*st, " Z2.");
  EXPECT_FLOAT_EQ(st->LastPos.x, 1.0f);
  EXPECT_FLOAT_EQ(st->LastPos.y, 2.0f);
}

// Dialect 91 goes to the park position before the change; with the park
// position switched off (both coordinates negative) it stays where it is.
TEST(NcToolChange, ChangeGoesToTheParkPositionOnlyWhenOneIsSet) {
  for (bool park : {true, false}) {
    auto st = ChangeState(91);
    if (!park) st->Machine.EndX = st->Machine.EndY = -1.0f;
    WriteRapidMove(*st, " X30 Y40");
    const std::string out = Lines(*st);
    EXPECT_EQ(out.find("G0 X3 Y4|") != std::string::npos, park) << out;
    EXPECT_EQ(out.find("X-1"), std::string::npos) << out;
  }
}

TEST(NcToolChange, DialectTenWritesNoChangeCodeOnTheFirstChange) {
  auto st = ChangeState(10);
  st->FirstMovePending = 1;
  WriteRapidMove(*st, " X30 Y40");
  EXPECT_EQ(Lines(*st), "G0 Z10|T5 S12000 M3|G0 X30 Y40|");
  EXPECT_EQ(st->FirstMovePending, 0);
  st->OutCount = 0;
  st->ToolStation = 6;
  WriteRapidMove(*st, " X30 Y40");
  EXPECT_EQ(Lines(*st), "G0 Z10|M6|T6 S12000 M3|G0 X30 Y40|");
}

TEST(NcToolChange, DialectThirtyNineRetractsOnlyWhenNotAtSafeHeight) {
  auto st = ChangeState(39);
  st->LastPos.z = -10.0005f;
  WriteRapidMove(*st, "");
  EXPECT_EQ(Lines(*st), "M05|M09|N5 T5 M6|M114|P2000=12000 M03|G4 X2|G0 Z10 B0|G0 X1 Y2 C0|M8|");
  EXPECT_FLOAT_EQ(st->LastPos.z, -10.0005f);
  // With block numbering the "N" + tool prefix is left out.
  auto numbered = ChangeState(20);
  numbered->Machine.BlockNumbering = 1;
  WriteRapidMove(*numbered, " X30 Y40");
  EXPECT_NE(Lines(*numbered).find("N4 T5 M6|"), std::string::npos) << Lines(*numbered);
}

TEST(NcToolChange, DialectFortyTwoPadsTheLengthOffset) {
  for (int32_t tool : {5, 12}) {
    auto st = ChangeState(42);
    st->ToolStation = tool;
    WriteRapidMove(*st, " Z2");
    const std::string h = tool == 5 ? "G43 H05 Z10.0|" : "G43 H12 Z10.0|";
    EXPECT_NE(Lines(*st).find(h), std::string::npos) << Lines(*st);
  }
}

// Dialects 38 and 44 record no tool: every rapid repeats their blocks while
// the path's tool differs.
TEST(NcToolChange, UnrecordedChangesRepeat) {
  auto st = ChangeState(38);
  WriteRapidMove(*st, " X1");
  WriteRapidMove(*st, " X2");
  EXPECT_EQ(Lines(*st), "M21M24|G0 X1|M21M24|G0 X2|");
}

// An empty approach with a changed tool still writes the whole sequence;
// its approach block is the motion code alone.
TEST(NcToolChange, EmptyApproachStillChangesTheTool) {
  auto st = ChangeState(0);
  WriteRapidMove(*st, "");
  EXPECT_EQ(Lines(*st), "G0 Z10|T5|S12000 M3|G0|");
  st->OutCount = 0;
  WriteRapidMove(*st, "");
  EXPECT_EQ(Lines(*st), "") << "same tool, no words: nothing";
}

TEST(NcToolChange, CompensationIsCancelledOnce) {
  auto st = ChangeState(5);
  st->CompensationOn = 1;
  WriteRapidMove(*st, " X30 Y40");
  EXPECT_EQ(Lines(*st), "G40|G0 Z10|T5 M66|S127 M3|G0 X30 Y40|");
  EXPECT_EQ(st->CompensationOn, 0);
  auto d12 = ChangeState(12);
  d12->CompensationOn = 1;
  WriteRapidMove(*d12, " X30 Y40");
  EXPECT_EQ(Lines(*d12).substr(0, 13), "G0 G40 Z10|M3");
  EXPECT_EQ(d12->CompensationOn, 0);
}

// Dialect 25: stations up to 1000 are tools changed by the rapid move,
// stations above 1000 drilling heads called from the feed block, once per
// change, with no tool-change sequence.
TEST(NcToolChange, DialectTwentyFiveStations) {
  auto st = ChangeState(25);
  st->LastToolStation = 0;
  struct TStep {
    int32_t station;
    const char* rapid;
    const char* feed;
  };
  const TStep steps[] = {
      {1000, "G00 Z-10.|G00 T1000|G97 S12000|G0 X30 Y40|", "G01 X30. Y40. Z1. F33|"},
      {1001, "G0 X30 Y40|", "M38|G98 P300 D1|G01 X30. Y40. Z1. F33|"},
      {1002, "G0 X30 Y40|", "G98 P300 D2|G01 X30. Y40. Z1. F33|"},
      {1512, "G0 X30 Y40|", "G98 P300 D512|G01 X30. Y40. Z1. F33|"},
      {1512, "G00 X30 Y40|", "G01 X30. Y40. Z1. F33|"},
      {7, "G00 Z-10.|M48|G00 T7|G97 S12000|G0 X30 Y40|", "G01 X30. Y40. Z1. F33|"},
  };
  for (const TStep& s : steps) {
    st->ToolStation = s.station;
    st->OutCount = 0;
    st->LastPos = {0, 0.0f, 0.0f, -2.0f};
    st->LastFeed = 0.0f;
    WriteRapidMove(*st, " X30 Y40");
    EXPECT_EQ(Lines(*st), s.rapid) << "station " << s.station;
    st->OutCount = 0;
    WriteFeedMove(*st, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 2.0f);
    EXPECT_EQ(Lines(*st), s.feed) << "station " << s.station;
    EXPECT_EQ(st->LastToolStation, s.station);
  }
}

// The tool-changer bits of dialect 32 shape the tool word of its sequence;
// the cylinder mode retracts along X and resets the incremental axes.
TEST(NcToolChange, TurnMillToolChangerFlags) {
  const struct {
    uint8_t bits;
    uint8_t cylinder;
    const char* blocks;
  } cases[] = {
      {0x00, 0, "G0 Z10.|M212|G13.1|G28 U0.|G28 W0.|T0500 S12000 M203|G0 Z10.|G50 H0.|G0 C0.|G12.1|M211|G0 X30 Y40|"},
      {0x01, 0, "G0 Z10.|M212|G13.1|G28 U0.|G28 W0.|T005000 S12000 M203|G0 Z10.|G50 H0.|G0 C0.|G12.1|M211|G0 X30 Y40|"},
      {0x04, 0, "G0 Z10.|M212|G13.1|G28 U0.|G28 W0.|T0505 S12000 M203|G0 Z10.|G50 H0.|G0 C0.|G12.1|M211|G0 X30 Y40|"},
      {0x15, 0, "G0 Z10.|M212|G13.1|G28 U0.|G28 W0.|T005005.0 S12000 M203|G0 Z10.|G50 H0.|G0 C0.|G12.1|M211|G0 X30 Y40|"},
      {0x20, 1, "G0 X10.|M212|G50 W0. H0. U0.|G0 C0.|G28 U0.|G28 W0.|T0500.1 S12000 M203|G50 W0. H0. U-50.|G0 C0.|G0 X10.|G0 X30 Y40|"},
  };
  for (const auto& c : cases) {
    auto st = ChangeState(32);
    st->ToolChangerBits = c.bits;
    st->RotaryIncremental = c.cylinder;
    WriteRapidMove(*st, " X30 Y40");
    EXPECT_EQ(Lines(*st), c.blocks) << "bits " << int(c.bits);
  }
}

}  // namespace
