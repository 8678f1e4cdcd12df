// Joining open pieces into closed chains, and thinning contour points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "paths/contour_chaining.h"
#include "support/record_folder.h"

namespace {

TVectorRecord R(uint8_t type, float x, float y, float z = 0.0f) { return TVectorRecord{type, x, y, z}; }

class ContourChainingTest : public torvtest::RecordFolderTest {};

void ExpectPoints(const std::vector<TVectorRecord>& out, const std::vector<TVectorRecord>& expected) {
  ASSERT_EQ(out.size(), expected.size());
  for (size_t i = 0; i < out.size(); ++i) {
    EXPECT_EQ(out[i].type, expected[i].type) << i;
    EXPECT_FLOAT_EQ(float(out[i].x), float(expected[i].x)) << i;
    EXPECT_FLOAT_EQ(float(out[i].y), float(expected[i].y)) << i;
    EXPECT_EQ(float(out[i].z), 0.0f) << i;
  }
}

TEST_F(ContourChainingTest, PiecesThatMeetChainWithoutAClosingRecord) {
  // Pieces in the order A, C, B: B is found as the nearest start after A.
  Write("IN.TMP", {R(11, 0, 0, -1), R(10, 10, 0), R(11, 10, 10), R(10, 0, 0), R(11, 10, 0), R(10, 10, 10)});
  ChainContoursIntoFile("IN.TMP", "OUT.TMP", 1.0f);
  EXPECT_EQ(ErrorCode, 0);
  ExpectPoints(Read("OUT.TMP"), {R(11, 0, 0), R(10, 10, 0), R(10, 10, 10), R(10, 0, 0)});
}

TEST_F(ContourChainingTest, GapsWithinTheLimitCloseWithARecordBackToTheStart) {
  Write("IN.TMP", {R(11, 0, 0), R(10, 10, 0), R(11, 10, 0.5f), R(10, 10, 10), R(11, 10, 10.5f), R(10, 0.5f, 0)});
  ChainContoursIntoFile("IN.TMP", "OUT.TMP", 1.0f);
  EXPECT_EQ(ErrorCode, 0);
  ExpectPoints(Read("OUT.TMP"), {R(11, 0, 0), R(10, 10, 0), R(10, 10, 10), R(10, 0.5f, 0), R(10, 0, 0)});
}

TEST_F(ContourChainingTest, ALoneOpenPieceIsClosedInTheSecondPass) {
  Write("IN.TMP", {R(11, 0, 0), R(10, 10, 0), R(10, 10, 10), R(10, 5, 12)});
  ChainContoursIntoFile("IN.TMP", "OUT.TMP", 0.1f);
  EXPECT_EQ(ErrorCode, 0);
  ExpectPoints(Read("OUT.TMP"), {R(11, 0, 0), R(10, 10, 0), R(10, 10, 10), R(10, 5, 12), R(10, 0, 0)});
}

TEST_F(ContourChainingTest, AClosedSquareIsCopiedWithZeroZ) {
  Write("IN.TMP", {R(11, 0, 0, -2), R(10, 10, 0, 3), R(10, 10, 10), R(10, 0, 10), R(10, 0, 0)});
  JoinPiecesIntoContours("IN.TMP", "OUT.TMP", 0.5f, 1);
  EXPECT_EQ(ErrorCode, 0);
  ExpectPoints(Read("OUT.TMP"), {R(11, 0, 0), R(10, 10, 0), R(10, 10, 10), R(10, 0, 10), R(10, 0, 0)});
}

TEST_F(ContourChainingTest, ErrorsForTooLittleInputOrTooManyPieces) {
  Write("IN.TMP", {R(11, 0, 0), R(10, 1, 0), R(10, 1, 1)});
  ChainContoursIntoFile("IN.TMP", "OUT.TMP", 1.0f);
  EXPECT_EQ(ErrorCode, 100);
  ErrorCode = 0;
  ChainContoursIntoFile("MISSING.TMP", "OUT.TMP", 1.0f);
  EXPECT_EQ(ErrorCode, 100);
  ErrorCode = 0;
  // Start records alone are no pieces: only two records of lines are left.
  Write("IN.TMP", {R(11, 0, 0), R(11, 1, 0), R(11, 2, 0), R(10, 3, 0), R(11, 4, 4)});
  ChainContoursIntoFile("IN.TMP", "OUT.TMP", 1.0f);
  EXPECT_EQ(ErrorCode, 100);
  ErrorCode = 0;
  std::vector<TVectorRecord> many;
  for (int i = 0; i <= kMaxChainContours; ++i) {
    many.push_back(R(11, float(i), 0));
    many.push_back(R(10, float(i), 1));
  }
  Write("IN.TMP", many);
  ChainContoursIntoFile("IN.TMP", "OUT.TMP", 1.0f);
  EXPECT_EQ(ErrorCode, 101);
}

TEST(ThinningTolerance, GrowsFastWhileSmall) {
  double t = 0.001;
  GrowThinningTolerance(t, 2.0);
  EXPECT_NEAR(t, 0.003333, 1e-9);
  GrowThinningTolerance(t, 2.0);
  EXPECT_NEAR(t, 0.011108889, 1e-9);
  GrowThinningTolerance(t, 1.5);
  EXPECT_NEAR(t, 0.016663333, 1e-9);
}

TEST_F(ContourChainingTest, SquareKeepsItsCornersAndIsClosed) {
  Write("IN.TMP", {R(11, 0, 0), R(10, 5, 0), R(10, 10, 0), R(10, 10, 5), R(10, 10, 10), R(10, 0, 10), R(10, 0, 0)});
  ThinContoursInFile("IN.TMP", "OUT.TMP", 0, -5.0f, 1.0f, 0.0001f);
  ExpectPoints(Read("OUT.TMP"), {R(11, 0, 0), R(10, 10, 0), R(10, 10, 10), R(10, 0, 10), R(10, 0, 0)});
}

TEST_F(ContourChainingTest, StraightLineThinsAwayAndShortContoursAreDropped) {
  std::vector<TVectorRecord> in{R(11, 0, 0)};
  for (int i = 1; i < 100; ++i) in.push_back(R(10, float(i), 0));
  in.push_back(R(11, 5, 5));
  in.push_back(R(10, 6, 5));
  Write("IN.TMP", in);
  ThinContoursInFile("IN.TMP", "OUT.TMP", 0, -5.0f, 1.0f, 0.0001f);
  EXPECT_TRUE(plat::FileExists("OUT.TMP"));
  EXPECT_TRUE(Read("OUT.TMP").empty());
}

TEST_F(ContourChainingTest, ModeMinusSixCopiesByteForByte) {
  Write("IN.TMP", {R(128, 3, 0), R(11, 0, 0), R(10, 1, 1), R(9, 0, 0)});
  ThinContoursInFile("IN.TMP", "OUT.TMP", 0, -6.0f, 1.0f, 0.01f);
  EXPECT_EQ(Bytes("OUT.TMP"), Bytes("IN.TMP"));
}

TEST_F(ContourChainingTest, StepFollowsTheExtentAndTheFactor) {
  Write("IN.TMP", {R(11, 0, 0), R(10, 200, 0), R(10, 200, 50), R(12, 0, 80)});
  EXPECT_DOUBLE_EQ(ComputeThinningStep("IN.TMP", -2.0f, 1.0f), 2.0);
  EXPECT_DOUBLE_EQ(ComputeThinningStep("IN.TMP", -1.0f, 1.0f), 4.0);
  EXPECT_DOUBLE_EQ(ComputeThinningStep("IN.TMP", -4.0f, 0.5f), 0.4);
  EXPECT_DOUBLE_EQ(ComputeThinningStep("IN.TMP", -3.0f, 2.0f), 2.0);
  EXPECT_DOUBLE_EQ(ComputeThinningStep("IN.TMP", -5.0f, 3.0f), 1.0);
  EXPECT_DOUBLE_EQ(ComputeThinningStep("IN.TMP", 0.0f, 3.0f), 3.0);
}

// Seeded random wobbly closed contours: the thinned polyline stays within a
// small distance of every input point, and it is closed.
TEST_F(ContourChainingTest, ThinnedContourStaysNearEveryInputPoint) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> noise(-0.0002, 0.0002);
  for (int round = 0; round < 5; ++round) {
    std::vector<TVectorRecord> in;
    const int n = 3000 + 1000 * round;
    for (int i = 0; i <= n; ++i) {
      const double a = 2 * M_PI * (i % n) / n;
      const double r = 30 + 5 * std::sin(5 * a + round);
      in.push_back(R(uint8_t(i == 0 ? 11 : 10), float(100 + r * std::cos(a) + (i % n ? noise(rng) : 0)),
                     float(100 + r * std::sin(a) + (i % n ? noise(rng) : 0))));
    }
    Write("IN.TMP", in);
    ThinContoursInFile("IN.TMP", "OUT.TMP", 0, -5.0f, 1.0f, 0.001f);
    const auto out = Read("OUT.TMP");
    ASSERT_GE(out.size(), 4u);
    EXPECT_LT(out.size(), in.size() / 2);
    EXPECT_EQ(float(out.back().x), float(out.front().x));
    EXPECT_EQ(float(out.back().y), float(out.front().y));
    double worst = 0;
    for (const auto& p : in) {
      double best = 1e9;
      for (size_t k = 1; k < out.size(); ++k) {
        const double ax = out[k - 1].x, ay = out[k - 1].y, bx = out[k].x, by = out[k].y;
        const double ux = bx - ax, uy = by - ay, l2 = ux * ux + uy * uy;
        double t = l2 > 0 ? ((p.x - ax) * ux + (p.y - ay) * uy) / l2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(p.x - (ax + t * ux), p.y - (ay + t * uy)));
      }
      worst = std::max(worst, best);
    }
    EXPECT_LT(worst, 0.01) << round;
  }
}

// A contour longer than the in-memory buffer goes through the coarse
// pre-pass and still comes out closed and near the input.
TEST_F(ContourChainingTest, VeryLongContourIsThinnedToo) {
  std::vector<TVectorRecord> in;
  const int n = 60000;
  for (int i = 0; i <= n; ++i) {
    const double a = 2 * M_PI * (i % n) / n;
    in.push_back(R(uint8_t(i == 0 ? 11 : 10), float(50 * std::cos(a)), float(50 * std::sin(a))));
  }
  Write("IN.TMP", in);
  ThinContoursInFile("IN.TMP", "OUT.TMP", 0, -5.0f, 1.0f, 0.0001f);
  const auto out = Read("OUT.TMP");
  ASSERT_GE(out.size(), 4u);
  EXPECT_LE(out.size(), size_t(kMaxThinnedPoints));
  for (const auto& r : out) EXPECT_NEAR(std::hypot(r.x, r.y), 50.0, 1e-3);
  EXPECT_EQ(float(out.back().x), float(out.front().x));
}

}  // namespace
