// Rapid and feed moves of the NC program writer, path length and tool life.
#include <gtest/gtest.h>

#include <cmath>

#include "machine/nc_feed_moves.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_test_support.h"
#include "ui/ui_screen.h"

namespace {

using nctest::Buffered;
using nctest::Lines;
using nctest::MakeState;


// Tool 5 at 12000 rpm already called, feed 1.5 written, coolant on and not
// due, the tool at (10, 20) on the clearance level 2, safe height 10.
std::unique_ptr<TNcWriterState> MoveState(int dialect) {
  auto st = MakeState(dialect);
  st->Machine.SafeZ = 10.0f;
  st->Machine.CoolantOn = 1;
  st->LastToolStation = 5;
  st->ToolStation = 5;
  st->SpindleSpeed = 12000.0f;
  st->LastSpindleSpeed = 12000.0f;
  st->TargetPos = {11, 30.0f, 40.0f, -2.0f};
  st->LastPos = {0, 10.0f, 20.0f, -2.0f};
  st->LastFeed = 1.5f;
  st->CoolantPending = 0;
  return st;
}

TEST(NcRapidMove, PlainRapidBlockOfEachDialectFamily) {
  const struct {
    int dialect;
    const char* blocks;
  } cases[] = {
      {0, "G0 X30 Y40|"},           {100, "G0 X30 Y40|"},          {1, "G00 X30 Y40 *|"},
      {24, "G0 X30 Y40;|"},         {33, "G00 X30 Y40|"},          {4, "R X30 Y40|"},
      {9, "FASTABS X30 Y40|"},      {22, "L X30 Y40 R FMAX M|"},   {31, "MOV X30 Y40|"},
      {44, "PTP { X30 Y40}|"},      {68, "L X30 Y40 FMAX|"},       {69, "L X30 Y40 F MAX|"},
      {93, "L X30 Y40 F MAX|"},     {70, "L X30 Y40 F5000|"},      {55, "G0 X30 Y40|"},
      {40, "G0 Z10|G0 X30 Y40|G0 X30 Y40|"},
  };
  for (const auto& c : cases) {
    auto st = MoveState(c.dialect);
    WriteRapidMove(*st, " X30 Y40");
    EXPECT_EQ(Lines(*st), c.blocks) << "dialect " << c.dialect;
  }
}

TEST(NcRapidMove, ModesCancelledBeforeTheRapid) {
  auto d5 = MoveState(5);
  d5->CompensationOn = 1;
  WriteRapidMove(*d5, " X30");
  WriteRapidMove(*d5, " X31");
  EXPECT_EQ(Lines(*d5), "G40|G0 X30|G0 X31|");

  auto d81 = MoveState(81);
  d81->CompensationOn = 1;
  WriteRapidMove(*d81, " X30");
  EXPECT_EQ(Lines(*d81), "G40|G00 X30|");

  auto d12 = MoveState(12);
  d12->CoolantPending = 1;
  d12->CompensationOn = 1;
  WriteRapidMove(*d12, " X30");
  WriteRapidMove(*d12, " X31");
  EXPECT_EQ(Lines(*d12), "M36|G0 G40 X30|G0 X31|");

  auto d31 = MoveState(31);
  d31->CircleModeWritten = 1;
  WriteRapidMove(*d31, " X30");
  WriteRapidMove(*d31, " X31");
  EXPECT_EQ(Lines(*d31), "HCI|MOV X30|MOV X31|");

  for (int d : {20, 39, 56}) {
    auto st = MoveState(d);
    WriteRapidMove(*st, " X30");
    EXPECT_EQ(st->LastFeed, 0.0f) << "dialect " << d << " writes the feed again after a rapid";
  }

  auto d55 = MoveState(55);
  d55->Machine.ApproachBeforeRapid = 1;
  WriteRapidMove(*d55, " Z2");
  EXPECT_EQ(Lines(*d55), "G0 Z10|G0 X30 Y40|G0 Z2|");
  EXPECT_FLOAT_EQ(d55->LastPos.x, 30.0f);
  EXPECT_EQ(d55->LastFeed, 0.0f);
}

// No words and no tool change: nothing, but the next block of numbering
// mode 2 gets its number.
TEST(NcRapidMove, EmptyWordsWriteNothingButNumberTheNextBlock) {
  auto st = MoveState(0);
  st->Machine.BlockNumbering = 2;
  st->NumberNextMove = 0;
  WriteRapidMove(*st, "");
  EXPECT_EQ(Lines(*st), "");
  WriteNcBlock(*st, "M8");
  WriteNcBlock(*st, "M9");
  EXPECT_EQ(Lines(*st), "N1 M8|M9|");
}

// One feed move with everything due (spindle 15000, feed 2, coolant after a
// tool change) and one with nothing due, per dialect family.
TEST(NcFeedMove, FeedBlockOfEachDialectFamily) {
  const struct {
    int dialect;
    const char* due;
    const char* plain;
  } cases[] = {
      {0, "G1 X30 Y40 Z-1 S15000 F2000 M8|", "G1 X30 Y40 Z-1|"},
      {100, "G1 X30 Y40 Z-1 S15000 F2000 M8|", "G1 X30 Y40 Z-1|"},
      {1, "G01 X30 Y40 Z-1 S15000 F2000 M13 *|", "G01 X30 Y40 Z-1 *|"},
      {2, "S15000|M8|G1 X30 Y40 Z-1 F2000|", "G1 X30 Y40 Z-1|"},
      {9, "SPINDLE CW RPM15000 TIME2000|VEL 33333|COOLANT ON|MOVEABS X30000 Y40000 Z-1000|",
       "MOVEABS X30000 Y40000 Z-1000|"},
      {12, "G0 M36|G1 X30 Y40 Z-1 S15000 G27 F2000|", "G1 X30 Y40 Z-1|"},
      {20, "P2000=15000 M03|G1 X30 Y40 Z-1 F2000 M8|", "G1 X30 Y40 Z-1|"},
      {21, "G1 X30 Y40 Z-1 S15000 M3 F2000|", "G1 X30 Y40 Z-1|"},
      {22, "L X30 Y40 Z-1 R F2000 M13S15000|", "L X30 Y40 Z-1 R F M|"},
      {24, "M8;|G1 X30 Y40 Z-1 S15000 F2000;|", "G1 X30 Y40 Z-1;|"},
      {25, "G97 S15000|G01 X30. Y40. Z1. F33|", "G01 X30. Y40. Z1.|"},
      {31, "SCI|SEV VV99 15000|SEO 99|WTT 99|SEO 110|WTT 110|TIM 2500|FED 2000|LIN X30.00 Y40.00 Z1.00|",
       "SCI|LIN X30.00 Y40.00 Z1.00|"},
      {38, "G1 X30. Y40.|", "G1 X30. Y40.|"},
      {44, "LIN {X30, Y 40, Z -1 }|", "LIN {X30, Y 40, Z -1}|"},
      {49, "G1 X30 Y40 Z-1 S15000 F2000|", "G1 X30 Y40 Z-1|"},
      {56, "S15000 M03|M8|G1 X30 Y40 Z-1 F2|", "G1 X30 Y40 Z-1|"},
      {59, "G0  E15000 M3|G1 X30 Y40 Z-1 F2000 M8|", "G1 X30 Y40 Z-1|"},
      {68, "L X30 Y40 Z-1 F2000 M8S15000|", "L X30 Y40 Z-1|"},
      {69, "L X30 Y40 Z-1 F2000 M13S15000|", "L X30 Y40 Z-1|"},
      {70, "L X30 Y40 Z-1 F2000 M8S15000|", "L X30 Y40 Z-1|"},
      {71, "L X30 Y40 Z-1 F2000 M8S15000|", "L X30 Y40 Z-1|"},
      {73, "L X30 Y40 Z-1 F2000 M13S15000|", "L X30 Y40 Z-1|"},
      {74, "G1 Z30 Y-40 X-1 S2=15000 F2000|", "G1 Z30 Y-40 X-1|"},  // coolant stays due
      {75, "G1 X30 Y40 Z-1 S2=15000 F2000|", "G1 X30 Y40 Z-1|"},
      {72, "S15000 M3|G01 X30 Y40 Z-1 F2000 M8|", "G01 X30 Y40 Z-1|"},
      {81, "G97 S15000|G01 X30. Y40. Z1. F33|", "G01 X30. Y40. Z1.|"},
      {83, "M3 S15000|G1 X30 Y40 Z-1 F2000 M8|", "G1 X30 Y40 Z-1|"},
      {93, "L X30 Y40 F2000S15000|", "L X30 Y40|"},
  };
  for (const auto& c : cases) {
    auto st = MoveState(c.dialect);
    st->SpindleSpeed = 15000.0f;
    st->CoolantPending = 1;
    WriteFeedMove(*st, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 2.0f);
    EXPECT_EQ(Lines(*st), c.due) << "dialect " << c.dialect;
    EXPECT_EQ(st->LastSpindleSpeed, 15000.0f);
    EXPECT_EQ(st->LastFeed, 2.0f);
    auto plain = MoveState(c.dialect);
    WriteFeedMove(*plain, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
    EXPECT_EQ(Lines(*plain), c.plain) << "dialect " << c.dialect;
  }
}

// Coolant rows that keep the flag: 24, 43, 56 with coolant off; the
// "nothing" dialects; the dropping dialects clear it.
TEST(NcFeedMove, CoolantFlagAfterTheFirstFeedBlock) {
  const struct {
    int dialect;
    uint8_t coolantOn;
    uint8_t pendingAfter;
  } cases[] = {{24, 0, 1}, {24, 1, 0}, {56, 0, 1}, {21, 1, 1}, {94, 1, 1}, {25, 1, 0}, {45, 1, 0}, {0, 0, 0}};
  for (const auto& c : cases) {
    auto st = MoveState(c.dialect);
    st->Machine.CoolantOn = c.coolantOn;
    st->CoolantPending = 1;
    WriteFeedMove(*st, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
    EXPECT_EQ(st->CoolantPending, c.pendingAfter) << "dialect " << c.dialect << " coolant " << int(c.coolantOn);
  }
}

// A move to where the tool is writes nothing at all; the spindle and feed
// words stay due for the next move.
TEST(NcFeedMove, UnchangedPositionWritesNothingAndKeepsWordsDue) {
  auto st = MoveState(0);
  st->SpindleSpeed = 15000.0f;
  WriteFeedMove(*st, {10, 10.0f, 20.0f, -2.0f}, {0, 0, 0, 0}, 2.0f);
  EXPECT_EQ(Lines(*st), "");
  EXPECT_EQ(st->LastSpindleSpeed, 12000.0f);
  EXPECT_EQ(st->LastFeed, 1.5f);
  WriteFeedMove(*st, {10, 11.0f, 20.0f, -2.0f}, {0, 0, 0, 0}, 2.0f);
  EXPECT_EQ(Lines(*st), "G1 X11 S15000 F2000|");
}

TEST(NcFeedMove, ConversationalPiecesReplaceTheirPlaceholders) {
  auto st = MoveState(47);
  WriteFeedMove(*st, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
  st->CoolantPending = 1;
  WriteFeedMove(*st, {10, 31.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
  WriteFeedMove(*st, {10, 32.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 3.0f);
  EXPECT_EQ(Lines(*st), "L X30 Y40 Z-1 R F M|L X31 R F M13|L X32 R F3000 M|");
}

// Dialect 32 on the cylinder: only the axes that moved, as increments, and
// the last position kept in step by the rounded increments.
TEST(NcFeedMove, CylinderModeWritesIncrements) {
  auto st = MoveState(32);
  st->RotaryIncremental = 1;
  st->RotaryFactor = 2.0f;
  st->LastPos = {0, 10.0f, 20.0f, 0.0f};
  WriteFeedMove(*st, {10, 12.5f, 20.0f, 0.0f}, {0, 0, 0, 0}, 1.5f);
  WriteFeedMove(*st, {10, 12.5f, 21.0f, 1.0004f}, {0, 0, 0, 0}, 1.5f);
  EXPECT_EQ(Lines(*st), "G1 W2.5|G1 H-2. U-1.|");
  EXPECT_FLOAT_EQ(st->LastPos.x, 12.5f);
  EXPECT_FLOAT_EQ(st->LastPos.y, 21.0f);
  EXPECT_FLOAT_EQ(st->LastPos.z, 1.0f);
}

TEST(NcFeedMove, DialectThirtyNineAddsAngleWords) {
  auto st = MoveState(39);
  WriteFeedMove(*st, {10, 30.0f, 20.0f, -2.0f}, {0, 0.0f, 0.0f, static_cast<float>(M_PI / 2)}, 1.5f);
  EXPECT_EQ(Lines(*st), "G1 X30 C90|");
}

// Dialect 31 switches to feed mode at the first feed block after a rapid
// and back at the first rapid after a feed block.
TEST(NcFeedMove, DialectThirtyOneAlternatesSciAndHci) {
  auto st = MoveState(31);
  WriteFeedMove(*st, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
  WriteFeedMove(*st, {10, 31.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
  WriteRapidMove(*st, " Z-2");
  WriteRapidMove(*st, " X0");
  WriteFeedMove(*st, {10, 30.0f, 40.0f, 1.0f}, {0, 0, 0, 0}, 1.5f);
  EXPECT_EQ(Lines(*st),
            "SCI|LIN X30.00 Y40.00 Z1.00|LIN X31.00 Y40.00 Z1.00|HCI|MOV Z-2|MOV X0|SCI|LIN X30.00 Y40.00 Z1.00|");
}

TEST(NcToolLife, PathLengthIsTheThreeDimensionalDistance) {
  auto st = MoveState(0);
  st->LastPos = {0, 0.0f, 0.0f, 0.0f};
  AddPathLength(*st, {10, 3.0f, 4.0f, 12.0f});
  EXPECT_DOUBLE_EQ(st->PathLength, 13.0);
  st->LastPos = {10, 3.0f, 4.0f, 12.0f};
  AddPathLength(*st, {10, 3.0f, 4.0f, 12.0f});
  EXPECT_DOUBLE_EQ(st->PathLength, 13.0);
}

// A tool block with tool life 1 stands for "no life" (1000000000); 1.5 mm
// is reached by the second 1 mm move. With a sister offset of 10, tool 3
// continues as tool 13 from the point where it stopped.
TEST(NcToolLife, SisterToolTakesOverWhereTheLifeRanOut) {
  uitest::TScreen screen;
  for (double life : {1000000000.0, 1.5}) {
    auto st = MoveState(0);
    st->Machine.SisterToolOffset = 10;
    st->ToolStation = 3;
    st->LastToolStation = 3;
    st->ToolLife = life;
    st->LastPos = {0, 0.0f, 0.0f, 1.0f};
    for (float x : {1.0f, 2.0f}) {
      TVectorRecord p = {10, x, 0.0f, 1.0f};
      AddPathLength(*st, p);
      WriteFeedMove(*st, p, {0, 0, 0, 0}, 1.5f);
      CheckToolLife(*st);
      if (x == 1.0f) {
        EXPECT_EQ(st->NeedApproach, 0) << "1 mm is below every life here";
      }
    }
    if (life > 2.0) {
      EXPECT_EQ(st->NeedApproach, 0);
      EXPECT_EQ(st->ToolStation, 3);
      EXPECT_EQ(st->SisterToolUsed, 0);
      continue;
    }
    EXPECT_EQ(st->NeedApproach, 1);
    EXPECT_EQ(st->ToolStation, 13);
    EXPECT_EQ(st->SisterToolUsed, 1);
    EXPECT_FLOAT_EQ(st->TargetPos.x, 2.0f);
    EXPECT_FLOAT_EQ(st->ApproachDepth, 1.0f);
    // Pending approach: no second switch.
    CheckToolLife(*st);
    EXPECT_EQ(st->ToolStation, 13);
    // The next rapid changes to the sister tool and restarts its path length.
    st->OutCount = 0;
    WriteRapidMove(*st, " Z2");
    EXPECT_EQ(Lines(*st), "G0 Z10|T13|S12000 M3|G0 Z2|");
    EXPECT_EQ(st->PathLength, 0.0);
  }
}

TEST(NcToolLife, NoSisterToolNoSwitch) {
  uitest::TScreen screen;
  for (int16_t offset : {0, -3}) {
    auto st = MoveState(0);
    st->Machine.SisterToolOffset = offset;
    st->ToolLife = 1.5;
    st->PathLength = 2.0;
    CheckToolLife(*st);
    EXPECT_EQ(st->NeedApproach, 0);
    EXPECT_EQ(st->ToolStation, 5);
  }
}

}  // namespace
