// Dash patterns: fitting to the contour length, unfitted patterns, single
// elements, isolated points, dropped records, outputs beyond the old fixed
// buffer, refused patterns, and random contours whose drawn length must
// match the pattern's share.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "cad/dash_patterns.h"
#include "dash_test_support.h"
#include "geometry_test_support.h"
#include "frame/quiet_files.h"
#include "support/work_folder.h"

using geomtest::Rec;

namespace {

using TRecords = std::vector<TVectorRecord>;

using dashtest::Pattern;

TRecords Dash(const TRecords& in, const TDashPattern& pattern, bool fit = true) {
  TRecords out;
  int32_t count = -1;
  EXPECT_TRUE(ApplyDashPattern(in.data(), int32_t(in.size()), out, fit, pattern, count));
  EXPECT_EQ(size_t(count), out.size());
  return out;
}

// Lengths of the drawn runs (a start followed by points).
std::vector<double> Dashes(const TRecords& out) {
  std::vector<double> dashes;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i].type == kRecContourStart) {
      dashes.push_back(0);
      continue;
    }
    if (dashes.empty()) dashes.push_back(0);
    dashes.back() += std::hypot(double(out[i].x) - out[i - 1].x, double(out[i].y) - out[i - 1].y);
  }
  return dashes;
}

TEST(DashPattern, FittedToWholePeriods) {
  // 98 mm along a bent line: 10 periods of 4.9 drawn and 4.9 gap.
  const TRecords line = {Rec(11, 0, 0), Rec(10, 50, 0), Rec(10, 50, 48)};
  const auto dashes = Dashes(Dash(line, Pattern({5, -5})));
  ASSERT_EQ(dashes.size(), 10u);
  for (double d : dashes) EXPECT_NEAR(d, 4.9, 1e-4);
  const TRecords out = Dash(line, Pattern({5, -5}));
  // The gaps: each dash begins 4.9 after the previous one ended.
  std::vector<TVectorRecord> starts;
  for (const TVectorRecord& r : out)
    if (r.type == kRecContourStart) starts.push_back(r);
  EXPECT_NEAR(starts[1].x, 9.8, 1e-4);
  EXPECT_EQ(float(starts[1].z), 0.0f);
}

TEST(DashPattern, ShortContourStaysUnfitted) {
  const TRecords out = Dash({Rec(11, 0, 0, 8), Rec(10, 14, 0, 2)}, Pattern({5, -5}));
  ASSERT_EQ(out.size(), 4u);
  const TRecords expected = {Rec(11, 0, 0, 8), Rec(10, 5, 0, 2), Rec(11, 10, 0), Rec(10, 14, 0, 2)};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(out[i].type, expected[i].type) << i;
    EXPECT_NEAR(out[i].x, expected[i].x, 1e-5) << i;
    EXPECT_EQ(float(out[i].z), float(expected[i].z)) << i;
  }
}

TEST(DashPattern, SingleElementKeepsContoursAndOthersAreDropped) {
  const TRecords in = {Rec(1, 0, 0), Rec(11, 0, 0), Rec(10, 3, 0), Rec(13, 2, 0, 1), Rec(12, 3, 3, -1),
                       Rec(150, 0, 0)};
  const TRecords out = Dash(in, Pattern({2}));
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].type, kRecContourStart);
  EXPECT_EQ(out[2].type, kRec3DPoint);
  EXPECT_EQ(float(out[2].z), -1.0f);
}

TEST(DashPattern, ZeroAndGapGiveIsolatedPoints) {
  const TRecords out = Dash({Rec(11, 0, 0), Rec(10, 9, 0)}, Pattern({0, -3}), false);
  // Pairs of a start and a line point at the same place, 3 apart.
  ASSERT_GE(out.size(), 6u);
  for (size_t i = 0; i + 1 < out.size(); i += 2) {
    EXPECT_EQ(out[i].type, kRecContourStart) << i;
    EXPECT_EQ(out[i + 1].type, kRecLinePoint) << i;
    EXPECT_NEAR(out[i].x, out[i + 1].x, 1e-6) << i;
    EXPECT_NEAR(out[i].x, 3.0 * double(i / 2), 1e-5) << i;
  }
}

TEST(DashPattern, OutputGrowsBeyondTheOldBufferAndBadPatternsAreRefused) {
  const TRecords in = {Rec(11, 0, 0), Rec(10, 1000, 0)};
  const TRecords out = Dash(in, Pattern({0.1f, -0.1f}));
  EXPECT_GT(out.size(), 2 * in.size() + 1000);
  EXPECT_EQ(Dashes(out).size(), 5000u);
  TRecords refused;
  int32_t count = 7;
  EXPECT_FALSE(ApplyDashPattern(in.data(), 2, refused, true, Pattern({0, 0}), count));
  EXPECT_EQ(count, 0);
  TDashPattern tooMany = Pattern({1, -1});
  tooMany.count = 13;
  EXPECT_FALSE(ApplyDashPattern(in.data(), 2, refused, true, tooMany, count));
}

TEST(DashPattern, PointsBeforeTheFirstStartFormTheirOwnContour) {
  const TRecords out = Dash({Rec(10, 0, 0), Rec(10, 14, 0), Rec(11, 0, 5), Rec(10, 14, 5)}, Pattern({5, -5}));
  const auto dashes = Dashes(out);
  ASSERT_EQ(dashes.size(), 4u);
  EXPECT_NEAR(dashes[0], 5, 1e-5);
  EXPECT_NEAR(dashes[1], 4, 1e-5);
  EXPECT_EQ(out[0].type, kRecContourStart);
}

// Random polylines with a fitted pattern: the drawn share of every contour
// is the pattern's drawn share, and each dash stays on the contour.
TEST(DashPattern, RandomContoursKeepTheDrawnShare) {
  std::mt19937 random(77);
  std::uniform_real_distribution<double> step(-10, 10), part(0.5, 3);
  for (int round = 0; round < 50; ++round) {
    TRecords in = {Rec(11, 0, 0)};
    double x = 0, y = 0, length = 0;
    for (int i = 0; i < 20; ++i) {
      const double nx = x + step(random), ny = y + step(random);
      length += std::hypot(nx - x, ny - y);
      x = nx;
      y = ny;
      in.push_back(Rec(10, float(x), float(y)));
    }
    const float a = float(part(random)), b = float(part(random)), c = float(part(random));
    const TDashPattern pattern = Pattern({a, -b, c, -b});
    const auto dashes = Dashes(Dash(in, pattern));
    double drawn = 0;
    for (double d : dashes) drawn += d;
    EXPECT_NEAR(drawn, length * (a + c) / pattern.total, 1e-3 * length) << round;
  }
}

TEST(DashPattern, FileToFile) {
  torvtest::TWorkFolder folder;
  ASSERT_TRUE(folder.Entered());
  geomtest::WriteRaw(folder.Path() + "/A.TMP", {Rec(11, 0, 0), Rec(10, 14, 0)});
  DashVectorFile("A.TMP", "B.TMP", Pattern({5, -5}), true);
  EXPECT_EQ(QuietIoError, 0);
  EXPECT_EQ(geomtest::ReadRaw(folder.Path() + "/B.TMP").size(), 4u);
}

}  // namespace
