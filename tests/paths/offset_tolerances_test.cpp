// Computing distances of the offset engine and the point reduction before it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "paths/offset_tolerances.h"
#include "support/record_folder.h"

namespace {

TEST(OffsetTolerances, BasicTolerance) {
  const struct {
    float t, expected;
  } cases[] = {{0.0f, 0.03f}, {0.1f, 0.11f}, {1.0f, 1.05f}, {3.0f, 3.15f}, {0.01f, 0.03f}, {0.5f, 0.525f}};
  for (const auto& c : cases) EXPECT_NEAR(ComputeBasicTolerance(c.t), c.expected, 1e-6) << c.t;
}

TEST(OffsetTolerances, OffsetToleranceGrowsWithTheDrawing) {
  const TExtentsPair big{{1, 0, 0}, {5, 400, 300}};
  EXPECT_NEAR(ComputeOffsetTolerance(big, 0.1f), 0.2f, 1e-6);  // the width term
  const TExtentsPair tall{{1, 0, -100}, {5, 10, 500}};
  EXPECT_NEAR(ComputeOffsetTolerance(tall, 0.1f), 0.3f, 1e-6);  // the height term
  const TExtentsPair small{{1, 0, 0}, {5, 20, 20}};
  EXPECT_NEAR(ComputeOffsetTolerance(small, 0.0f), 0.03f, 1e-6);
  EXPECT_NEAR(ComputeOffsetTolerance(small, 2.0f), 2.1f, 1e-6);
}

class ReduceContourPointsTest : public torvtest::RecordFolderTest {};

// A circle sampled at 2000 points plus a layer record and a path header
// record: mode -6 copies all, other modes keep only the thinned contour.
TEST_F(ReduceContourPointsTest, OnlyContoursSurviveUnlessCopied) {
  std::vector<TVectorRecord> in;
  in.push_back({kRecLayer, 2, 0, 0});
  for (int i = 0; i <= 2000; ++i) {
    const double a = 2 * M_PI * i / 2000;
    in.push_back({uint8_t(i == 0 ? 11 : 10), float(50 + 20 * std::cos(a)), float(50 + 20 * std::sin(a)), 0});
  }
  in.push_back({kRecMinCorner, 0, 0, 0});
  Write("SRC.TMP", in);
  ReduceContourPoints("SRC.TMP", "COPY.TMP", 0, 0.0001f, -6.0f, 1.0f, 0.0f);
  EXPECT_EQ(Read("COPY.TMP").size(), in.size());

  ReduceContourPoints("SRC.TMP", "DST.TMP", 0, 0.0f, -1.0f, 0.5f, 0.0f);
  const auto out = Read("DST.TMP");
  ASSERT_GE(out.size(), 4u);
  EXPECT_LT(out.size(), in.size());
  EXPECT_EQ(out.front().type, kRecContourStart);
  for (size_t i = 1; i < out.size(); ++i) EXPECT_EQ(out[i].type, kRecLinePoint);
  EXPECT_EQ(float(out.back().x), float(out.front().x));
  EXPECT_EQ(float(out.back().y), float(out.front().y));
  // Every kept point lies on the circle; the step (40 / 50 mm) keeps the
  // chords small.
  for (const auto& r : out) EXPECT_NEAR(std::hypot(r.x - 50.0, r.y - 50.0), 20.0, 1e-3);

  // A tolerance of 0 behaves as 0.0001; drawing changes nothing in the file.
  ReduceContourPoints("SRC.TMP", "LEAST.TMP", 3, 0.0001f, -1.0f, 0.5f, 0.0f);
  const auto least = Read("LEAST.TMP");
  ASSERT_EQ(least.size(), out.size());
  EXPECT_EQ(std::memcmp(least.data(), out.data(), out.size() * 13), 0);
}

TEST_F(ReduceContourPointsTest, MissingSourceDoesNothingAndTinySourceGivesEmptyTarget) {
  ReduceContourPoints("NONE.TMP", "DST.TMP", 0, 0.001f, -1.0f, 1.0f, 0.0f);
  EXPECT_FALSE(plat::FileExists("DST.TMP"));
  Write("SRC.TMP", {{11, 0, 0, 0}, {10, 1, 0, 0}});
  ReduceContourPoints("SRC.TMP", "DST.TMP", 0, 0.001f, -1.0f, 1.0f, 0.0f);
  EXPECT_TRUE(plat::FileExists("DST.TMP"));
  EXPECT_TRUE(Read("DST.TMP").empty());
}

}  // namespace
