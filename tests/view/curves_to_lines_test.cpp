// The curve engine and the whole-file conversion of curves to line points:
// the merge, contour-start, arc-snapping, curve-through-points, 3D and layer
// rules as one table of record files; an arc and a circle against their
// analytic points; hostile files that must end with whole records; and the
// space curve's resolution limit, its two-point case and a straight line.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "frame/layer_colours.h"
#include "frame/param_file.h"
#include "platform/files.h"
#include "support/record_bytes.h"
#include "support/record_folder.h"
#include "view/curve_through_points.h"
#include "view/curves_to_lines.h"
#include "view/screen_scheme.h"

namespace {

using torvtest::Rec;
constexpr double kPi = std::numbers::pi;

class CurvesToLines : public torvtest::RecordFolderTest {
 protected:
  void SetUp() override {
    RecordFolderTest::SetUp();
    savedCurvePoints_ = CurvePointCount;
    savedHighest_ = HighestLayer;
    savedArcWord_ = ArcResolutionWord;
    savedArcMin_ = ArcPointsPerRadian;
    savedArcMax_ = ArcStepAngle;
    CurvePointCount = 4;
    HighestLayer = 5;
    ArcResolutionWord = 20;
    ArcPointsPerRadian = float(12.0 / kPi);
    ArcStepAngle = 80.0f;
  }
  void TearDown() override {
    CurvePointCount = savedCurvePoints_;
    HighestLayer = savedHighest_;
    ArcResolutionWord = savedArcWord_;
    ArcPointsPerRadian = savedArcMin_;
    ArcStepAngle = savedArcMax_;
    RecordFolderTest::TearDown();
  }
  std::vector<TVectorRecord> Convert(const std::vector<TVectorRecord>& input, uint8_t options) {
    Write("IN.LG1", input);
    const int64_t written = ConvertCurvesToLines("IN.LG1", "OUT.TMP", 7, options);
    std::vector<TVectorRecord> out = Read("OUT.TMP");
    EXPECT_EQ(written, int64_t(out.size()));
    return out;
  }
  uint8_t savedCurvePoints_ = 0;
  int32_t savedHighest_ = 0;
  uint16_t savedArcWord_ = 0;
  float savedArcMin_ = 0, savedArcMax_ = 0;
};

bool Near(const TVectorRecord& a, const TVectorRecord& b, double tolerance = 1e-4) {
  return a.type == b.type && std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
         std::fabs(a.z - b.z) <= tolerance;
}

std::string Show(const TVectorRecord& r) {
  return std::to_string(r.type) + " (" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " +
         std::to_string(r.z) + ")";
}

struct TConversionCase {
  const char* name;
  uint8_t options;
  std::vector<TVectorRecord> input;
  size_t count;                                     // records expected
  std::vector<std::pair<int, TVectorRecord>> at;    // index (-1 the last) and the record there
  std::vector<TVectorRecord> absent;                // points (XY) that must not be written
};

// Radius 5 about (0, 5) from (0, 0): a sweep 0.002 short of the full circle
// ends 0.01 before the start.
const double kShortSweep = 2 * kPi - 0.002;

const std::vector<TConversionCase> kConversionCases = {
    {"PointsHalfAToleranceApartMerge", 0,
     {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1.0005f, 0), Rec(10, 1.0015f, 0)},
     3, {{1, Rec(10, 1, 0)}, {2, Rec(10, 1.0015f, 0)}}, {Rec(10, 1.0005f, 0)}},
    {"PointsOfAnotherZOrTypeStay", 0,
     {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1, 0, 1), Rec(12, 1, 0, 1)},
     4, {{2, Rec(10, 1, 0, 1)}, {3, Rec(12, 1, 0, 1)}}, {}},
    {"ContourStartOnThePenWritesNoMove", 0,
     {Rec(11, 0, 0), Rec(10, 5, 0), Rec(11, 5, 0), Rec(10, 5, 5), Rec(10, 0, 5)},
     4, {{1, Rec(10, 5, 0)}, {2, Rec(10, 5, 5)}, {3, Rec(10, 0, 5)}}, {}},
    {"ContourStartAwayFromThePenIsAMove", 0,
     {Rec(11, 0, 0), Rec(10, 5, 0), Rec(11, 7, 0), Rec(10, 7, 5)},
     4, {{2, Rec(11, 7, 0)}, {3, Rec(10, 7, 5)}}, {}},
    {"ArcEndNearTheStartSnapsOntoIt", kCurvesSnapArcEnds,
     {Rec(11, 0, 0), Rec(13, 5, float(-kPi / 2), float(kShortSweep))},
     0, {{0, Rec(11, 0, 0)}, {-1, Rec(10, 0, 0)}}, {}},
    {"ArcEndStaysWithoutSnapping", 0,
     {Rec(11, 0, 0), Rec(13, 5, float(-kPi / 2), float(kShortSweep))},
     0, {{-1, Rec(10, float(-5 * std::sin(0.002)), float(5 - 5 * std::cos(0.002)))}}, {}},
    {"ArcBeforeItsContourStartLeavesFromTheStart", 0,
     {Rec(11, 10, 0), Rec(13, 1, float(-kPi / 2), float(kPi / 2))},
     0, {{0, Rec(11, 10, 0)}, {-1, Rec(10, 11, 1)}}, {}},
    {"CurveRunsThroughItsPointsNotItsEnds", 0,
     {Rec(11, 0, 0), Rec(17, -3, 0), Rec(18, 5, 5), Rec(18, 10, 0), Rec(17, 13, 0), Rec(10, 10, -4)},
     10, {{4, Rec(10, 5, 5)}, {8, Rec(10, 10, 0)}, {9, Rec(10, 10, -4)}},
     {Rec(10, -3, 0), Rec(10, 13, 0)}},
    {"CurveOfThreePointsHasThreeSpans", 0,
     {Rec(11, 0, 0), Rec(17, 1, 1), Rec(18, 4, 0), Rec(18, 8, 2), Rec(18, 12, 0), Rec(17, 13, -1)},
     13, {{4, Rec(10, 4, 0)}, {8, Rec(10, 8, 2)}, {12, Rec(10, 12, 0)}}, {}},
    {"GeneratedPointsAre3DWithTheCurveStartsZ", kCurvesAs3DPoints,
     {Rec(11, 0, 0), Rec(12, 1, 0, 2.5f), Rec(13, 1, float(-kPi / 2), float(kPi / 2))},
     0, {{1, Rec(12, 1, 0, 2.5f)}, {-1, Rec(12, 2, 1, 2.5f)}}, {}},
    {"CurvePointsAre3DToo", kCurvesAs3DPoints,
     {Rec(11, 0, 0), Rec(12, 0, 0, -1), Rec(17, -1, 0), Rec(18, 2, 2), Rec(18, 4, 0), Rec(17, 5, 0)},
     10, {{5, Rec(12, 2, 2, -1)}, {9, Rec(12, 4, 0, -1)}}, {}},
    {"LayerNumberWrapsToAnExistingLayer", 0,
     {Rec(128, 7, 0), Rec(128, 5, 0), Rec(128, 6.6f, 0), Rec(128, -3, 0), Rec(128, 2.5f, 0)},
     5, {{0, Rec(128, 1, 0)}, {1, Rec(128, 5, 0)}, {2, Rec(128, 1, 0)}, {3, Rec(128, 0, 0)}, {4, Rec(128, 2, 0)}},
     {}},
    {"LayerRecordEndsTheMerge", 0,
     {Rec(11, 0, 0), Rec(10, 1, 0), Rec(128, 1, 0), Rec(10, 1, 0)},
     4, {{3, Rec(10, 1, 0)}}, {}},
    {"HeadersPassAndUnknownRecordsGo", 0,
     {Rec(1, 0, 0), Rec(150, 1, 2, 3), Rec(131, 1, 1, 1), Rec(9, 0, 0), Rec(3, 4, 4)},
     3, {{0, Rec(1, 0, 0)}, {1, Rec(150, 1, 2, 3)}, {2, Rec(9, 0, 0)}}, {}},
    {"EllipticArcNeedsItsRadii", 0,
     {Rec(11, 0, 0), Rec(21, 0, float(kPi)), Rec(20, 2, 1), Rec(21, 0, float(kPi))},
     0, {{0, Rec(11, 0, 0)}, {-1, Rec(10, -4, 0)}}, {}},
    {"BezierEndsAtItsEndPoint", 0,
     {Rec(11, 0, 0), Rec(14, 0, 4), Rec(15, 4, 4), Rec(16, 4, 0)},
     5, {{2, Rec(10, 2, 3)}, {4, Rec(10, 4, 0)}}, {}},
};

TEST_F(CurvesToLines, CaseTable) {
  for (const TConversionCase& c : kConversionCases) {
    SCOPED_TRACE(c.name);
    const std::vector<TVectorRecord> out = Convert(c.input, c.options);
    EXPECT_EQ(ErrorCode, 0);
    if (c.count != 0) {
      EXPECT_EQ(out.size(), c.count);
    }
    ASSERT_FALSE(out.empty());
    for (const auto& [index, want] : c.at) {
      const size_t i = index < 0 ? out.size() - 1 : size_t(index);
      ASSERT_LT(i, out.size());
      EXPECT_TRUE(Near(out[i], want)) << "record " << i << " is " << Show(out[i]) << ", want " << Show(want);
    }
    for (const TVectorRecord& gone : c.absent)
      for (const TVectorRecord& r : out) EXPECT_FALSE(Near(r, gone)) << Show(r);
  }
}

// Every point of a circle and of a clockwise quarter arc lies on the circle
// and the points run in the arc's direction to its analytic end.
TEST_F(CurvesToLines, ArcsMatchTheirAnalyticPoints) {
  struct TArc { float x0, y0, radius, start, sweep, cx, cy; };
  for (const TArc& a : {TArc{5, 0, 5, 0, float(2 * kPi), 0, 0}, TArc{0, 3, 3, float(kPi / 2), float(-kPi / 2), 0, 0},
                        TArc{1, 1, 40, float(kPi), float(1.5 * kPi), 41, 1}}) {
    const std::vector<TVectorRecord> out = Convert({Rec(11, a.x0, a.y0), Rec(13, a.radius, a.start, a.sweep)}, 0);
    ASSERT_GT(out.size(), 8u);
    double previous = 0;
    for (size_t i = 1; i < out.size(); ++i) {
      EXPECT_NEAR(std::hypot(out[i].x - a.cx, out[i].y - a.cy), a.radius, 0.001) << i;
      double turned = std::atan2(out[i].y - a.cy, out[i].x - a.cx) - a.start;
      turned = std::remainder(turned, 2 * kPi);
      if (a.sweep > 0 && turned < -0.01) turned += 2 * kPi;
      if (a.sweep < 0 && turned > 0.01) turned -= 2 * kPi;
      if (i + 1 < out.size()) {
        EXPECT_GT(std::fabs(turned), std::fabs(previous)) << i;
      }
      previous = turned;
    }
    const double endX = a.cx + a.radius * std::cos(a.start + a.sweep);
    const double endY = a.cy + a.radius * std::sin(a.start + a.sweep);
    EXPECT_NEAR(double(out.back().x), endX, 0.001);
    EXPECT_NEAR(double(out.back().y), endY, 0.001);
  }
}

// Hostile records end with whole records, a bounded output and finite
// coordinates wherever the input gave finite ones.
TEST_F(CurvesToLines, HostileRecordsEndCleanly) {
  const float nan = std::nanf(""), inf = INFINITY;
  const std::vector<std::vector<TVectorRecord>> files = {
      {Rec(11, 0, 0), Rec(13, nan, 0, 1)},
      {Rec(11, 0, 0), Rec(13, 1e30f, 0, 1)},
      {Rec(11, 0, 0), Rec(13, 1, 0, 1e30f)},
      {Rec(11, 0, 0), Rec(13, inf, inf, -inf)},
      {Rec(11, 0, 0), Rec(20, 1e30f, 1e-30f), Rec(21, 0, 1e30f)},
      {Rec(11, 0, 0), Rec(17, 1, 1), Rec(17, 2, 2), Rec(10, 3, 3)},
      {Rec(11, 0, 0), Rec(17, 1, 1), Rec(18, 2, 2), Rec(17, 3, 3)},
      {Rec(11, 0, 0), Rec(17, 1, 1), Rec(18, 2, 2), Rec(18, 2, 2), Rec(18, 2, 2), Rec(17, 3, 3)},
      {Rec(11, 0, 0), Rec(17, 1, 1), Rec(18, 2, 2), Rec(18, 4, 0), Rec(18, 6, 2)},
      {Rec(18, 2, 2), Rec(18, 3, 3)},
      {Rec(21, 0, 1), Rec(20, 1, 1)},
      {Rec(16, nan, 0), Rec(26, 1, 1), Rec(25, 1, 1), Rec(26, 2, 2)},
      {Rec(128, nan, 0), Rec(128, 3e9f, 0), Rec(128, -inf, 0)},
  };
  for (size_t f = 0; f < files.size(); ++f) {
    SCOPED_TRACE(f);
    const std::vector<TVectorRecord> out = Convert(files[f], kCurvesSnapArcEnds);
    EXPECT_EQ(Bytes("OUT.TMP").size() % 13, 0u);
    EXPECT_LE(out.size(), 3000u);
    bool finiteIn = true;
    for (const TVectorRecord& r : files[f]) finiteIn = finiteIn && std::isfinite(r.x) && std::isfinite(r.y);
    if (finiteIn) {
      for (const TVectorRecord& r : out) EXPECT_TRUE(std::isfinite(r.x) && std::isfinite(r.y)) << Show(r);
    }
  }
  // A repeated curve point keeps the curve finite and on its points.
  const std::vector<TVectorRecord> repeated = Convert(files[7], 0);
  EXPECT_TRUE(Near(repeated.back(), Rec(10, 2, 2), 1e-3)) << Show(repeated.back());
  // A curve left open at the end of the file ends on its last point.
  const std::vector<TVectorRecord> open = Convert(files[8], 0);
  EXPECT_TRUE(Near(open.back(), Rec(10, 6, 2))) << Show(open.back());
}

TEST_F(CurvesToLines, TornFileConvertsItsWholeRecordsAndSays1010) {
  std::string bytes = torvtest::Records({Rec(11, 0, 0), Rec(10, 4, 0), Rec(10, 4, 4)});
  bytes += std::string(5, '\x0a');
  torvtest::WriteHostFile(Host("IN.LG1"), bytes);
  EXPECT_EQ(ConvertCurvesToLines("IN.LG1", "OUT.TMP", 7, 0), 3);
  EXPECT_EQ(ErrorCode, 1010);
  EXPECT_EQ(Bytes("OUT.TMP").size(), 3u * 13);
}

TEST_F(CurvesToLines, MissingInputWritesNothing) {
  EXPECT_EQ(ConvertCurvesToLines("NONE.LG1", "OUT.TMP", 7, 0), 0);
  EXPECT_NE(ErrorCode, 0);
  EXPECT_FALSE(plat::FileExists("OUT.TMP"));
}

// More than one block of records: the merge and the blocks agree across the
// block border.
TEST_F(CurvesToLines, BlocksJoinWithoutLosingRecords) {
  std::vector<TVectorRecord> input{Rec(11, 0, 0)};
  for (int i = 1; i <= 12000; ++i) input.push_back(Rec(10, float(i % 2 == 0 ? i : i - 1) * 0.01f, 0));
  const std::vector<TVectorRecord> out = Convert(input, 0);
  ASSERT_EQ(out.size(), 6002u);
  for (size_t i = 1; i < out.size(); ++i) EXPECT_NEAR(double(out[i].x), 0.02 * double(i - 1), 1e-3) << i;
}

// --- the space curve -------------------------------------------------------------------

struct TFitCase {
  const char* name;
  std::vector<TVectorRecord> points;
  int resolution;
  int32_t count;
};

const std::vector<TFitCase> kFitCases = {
    {"ResolutionAbove80IsLimited", {Rec(12, 0, 0, 0), Rec(12, 3, 1, 1), Rec(12, 6, 0, 2), Rec(12, 9, -2, 1)}, 100,
     1 + 3 * 80},
    {"ThreePointsTwoSpans", {Rec(12, 0, 0, 0), Rec(12, 3, 1, 1), Rec(12, 6, 0, 2)}, 5, 11},
    {"TwoPointsGiveTheFirst", {Rec(12, 1, 2, 3), Rec(12, 4, 5, 6)}, 10, 1},
    {"ZeroResolutionIsOne", {Rec(12, 0, 0, 0), Rec(12, 3, 1, 1), Rec(12, 6, 0, 2)}, 0, 3},
};

TEST(FitCurveThroughPoints, CaseTable) {
  for (const TFitCase& c : kFitCases) {
    SCOPED_TRACE(c.name);
    std::vector<TVectorRecord> out(1000);
    int32_t count = -1;
    EXPECT_EQ(FitCurveThroughPoints(c.points.data(), int32_t(c.points.size()), c.resolution, count, out.data(),
                                    int32_t(out.size())),
              c.count);
    ASSERT_EQ(count, c.count);
    EXPECT_TRUE(Near(out[0], c.points[0]));
    const int per = c.points.size() < 3 ? 0 : (count - 1) / int(c.points.size() - 1);
    for (size_t k = 1; per > 0 && k < c.points.size(); ++k)
      EXPECT_TRUE(Near(out[k * per], c.points[k], 1e-4)) << k << ": " << Show(out[k * per]);
    for (int32_t i = 1; i < count; ++i) EXPECT_EQ(int(out[i].type), int(kRec3DPoint));
  }
}

TEST(FitCurveThroughPoints, CollinearPointsGiveAStraightCurve) {
  const std::vector<TVectorRecord> points = {Rec(12, 0, 0, 0), Rec(12, 1, 1, 1), Rec(12, 3, 3, 3), Rec(12, 4, 4, 4),
                                             Rec(12, 7, 7, 7)};
  std::vector<TVectorRecord> out(200);
  int32_t count = 0;
  FitCurveThroughPoints(points.data(), 5, 10, count, out.data(), 200);
  ASSERT_EQ(count, 41);
  for (int32_t i = 1; i < count; ++i) {
    EXPECT_NEAR(double(out[i].x), double(out[i].y), 1e-5) << i;
    EXPECT_NEAR(double(out[i].y), double(out[i].z), 1e-5) << i;
    EXPECT_GT(double(out[i].x), double(out[i - 1].x)) << i;
  }
  TVectorRecord extra{};
  ComputeEndExtraPoint(points[0], points[1], points[2], extra, true);
  EXPECT_NEAR(double(extra.x), double(extra.y), 1e-6);
  EXPECT_LT(double(extra.x), 0.0);
  ComputeEndExtraPoint(points[2], points[3], points[4], extra, false);
  EXPECT_GT(double(extra.x), 7.0);
}

TEST(FitCurveThroughPoints, NeverWritesPastTheBuffer) {
  const std::vector<TVectorRecord> points = {Rec(12, 0, 0, 0), Rec(12, 3, 1, 1), Rec(12, 6, 0, 2), Rec(12, 9, 1, 0)};
  std::vector<TVectorRecord> out(12, Rec(99, 0, 0));
  int32_t count = 0;
  EXPECT_EQ(FitCurveThroughPoints(points.data(), 4, 80, count, out.data(), 10), 10);
  EXPECT_EQ(int(out[10].type), 99);
}

}  // namespace
