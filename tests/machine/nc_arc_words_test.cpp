// The words of arc blocks: the feed word of the dialects that write it in a
// block of its own or not at all, which the fixture jobs leave aside, and
// the unit of the centre words.
#include <gtest/gtest.h>

#include "machine/nc_arcs.h"
#include "machine/nc_test_support.h"

namespace {

// From (10, 0) around (0, 0) clockwise to (0, -10), the feed changed from
// 1 to 2 m/min.
std::string ArcWithNewFeed(int dialect) {
  auto st = nctest::MakeState(dialect);
  st->CircleModeWritten = 1;
  st->LastPos = {10, 10.0f, 0.0f, 2.0f};
  st->LastFeed = 1.0f;
  TVectorRecord end{10, 0.0f, -10.0f, 0.0f};
  WriteNcArc(*st, {19, 0.0f, 0.0f, 0.0f}, end, 2.0f);
  EXPECT_EQ(st->LastFeed, 2.0f) << dialect;
  return nctest::Lines(*st);
}

TEST(NcArcWords, FeedWordOfTheArcBlock) {
  const struct {
    int dialect;
    const char* blocks;
  } cases[] = {
      {0, "G2 X0 Y-10 I-10.0000 J0.0000 F2000|"},
      {9, "VEL 33333|CWABS I0 J0 X0 Y-10000|"},
      {12, "G2 I0.0000 J0.0000 X0 Y-10 F2000|"},
      {31, "FED 2000|CIR X0.00 0.00 Y-10.00 0.00 Z2.00|"},
      {38, "G2 X0. Y-10. I-10. J0.|"},  // wire EDM: the generator sets the feed
  };
  for (const auto& c : cases) EXPECT_EQ(ArcWithNewFeed(c.dialect), c.blocks) << "dialect " << c.dialect;
}

// An inch dialect writes the centre in inch like the end point: a control
// reading 25.4 there would cut an arc of another radius.
TEST(NcArcWords, InchDialectWritesTheCentreInInch) {
  auto st = nctest::MakeState(80);
  st->LastPos = {10, 50.8f, 25.4f, 0.0f};
  st->LastFeed = 1.0f;
  TVectorRecord end{10, 25.4f, 0.0f, 0.0f};
  WriteNcArc(*st, {19, 25.4f, 25.4f, 0.0f}, end, 1.0f);
  EXPECT_EQ(nctest::Lines(*st), "G2 I1.0000 J1.0000 X1 Y0|");
}

}  // namespace
