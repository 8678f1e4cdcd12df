// Arcs, circles and curves to points: point counts by the points-per-radian
// rule, halves rounded to even, the buffer limit, constructions from points,
// Bezier and B-spline sampling and the curve pieces of font strokes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "model/arcs_to_points.h"
#include "frame/math_constants.h"
#include "frame/param_file.h"
#include "cad/geometry_test_support.h"

using geomtest::Rec;

namespace {


// The arc settings of the examples: R = 20, maximum 80, minimum 12/pi.
class ArcSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    savedR_ = ArcResolutionWord;
    savedMin_ = ArcPointsPerRadian;
    savedMax_ = ArcStepAngle;
    ArcResolutionWord = 20;
    ArcPointsPerRadian = float(12.0 / kPi);
    ArcStepAngle = 80.0f;
  }
  void TearDown() override {
    ArcResolutionWord = savedR_;
    ArcPointsPerRadian = savedMin_;
    ArcStepAngle = savedMax_;
  }
  uint16_t savedR_ = 0;
  float savedMin_ = 0, savedMax_ = 0;
};

struct TArcCase {
  float radius, sweep;
  uint16_t resolution;
  int points;
  const char* what;
};

TEST_F(ArcSettings, PointCountsByTheRule) {
  const TArcCase cases[] = {
      {10, float(kPi / 2), 20, 79, "f = 50, n = 78.54"},
      {300, float(kPi / 2), 20, 250, "f above the maximum, summed radii above 500: 159"},
      {200, float(kPi / 2), 20, 126, "f above the maximum: 80"},
      {4, 0.5f, 5, 2, "n = 2.5 rounds to 2 (halves to even)"},
      {4, 0.875f, 4, 4, "n = 3.5 rounds to 4 (halves to even)"},
      {4, 0.35f, 5, 2, "1.5 < n = 1.75 <= 2: one middle point"},
      {0.1f, 0.2f, 20, 1, "f raised to 12/pi, n = 0.76: the end point alone"},
  };
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  for (const TArcCase& c : cases) {
    ArcResolutionWord = c.resolution;
    uint16_t count = 0;
    ApproximateArcToPoints(buffer.data(), count, c.radius, 0, 0, c.radius, c.radius, 0, c.sweep);
    EXPECT_EQ(count, c.points) << c.what;
    // The end point is last and exactly on the arc.
    EXPECT_NEAR(buffer[count - 1].x, c.radius * std::cos(c.sweep), 1e-4) << c.what;
    EXPECT_NEAR(buffer[count - 1].y, c.radius * std::sin(c.sweep), 1e-4) << c.what;
  }
}

TEST_F(ArcSettings, NegativeSweepRunsClockwiseAndKeepsZ) {
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  int32_t count = 0;
  SampleEllipticArc(buffer.data(), count, 10, 0, -2.5f, 10, 10, 0, float(-kPi));
  ASSERT_GT(count, 2);
  double previous = 0;
  for (int i = 0; i < count; ++i) {
    const double angle = std::atan2(buffer[size_t(i)].y, buffer[size_t(i)].x);
    const double unwrapped = angle > 0.1 ? angle - 2 * kPi : angle;
    EXPECT_LT(unwrapped, previous) << i;
    previous = unwrapped;
    EXPECT_EQ(buffer[size_t(i)].type, kRecLinePoint);
    EXPECT_EQ(float(buffer[size_t(i)].z), -2.5f);
  }
  EXPECT_NEAR(buffer[size_t(count - 1)].x, -10, 1e-4);
}

TEST_F(ArcSettings, NeverMoreThanTheBufferHolds) {
  // An exactly sized buffer: the sanitizer catches any write beyond it.
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  int32_t count = 0;
  ApproximateArcToPointsPrecise(buffer.data(), count, 1000, 0, 0, 1000, 1000, 0, 100.0);
  EXPECT_EQ(count, kMaxSampledPoints);
  uint16_t bezierCount = kMaxSampledPoints;
  const TVectorRecord control[3] = {Rec(10, 0, 0), Rec(10, 1, 1), Rec(10, 2, 0)};
  SampleQuadraticBezierPoints(control, buffer.data(), bezierCount, 50);
  EXPECT_EQ(bezierCount, kMaxSampledPoints);
}

TEST_F(ArcSettings, GuardedAgainstNonFiniteInput) {
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  uint16_t count = 7;
  ApproximateArcToPoints(buffer.data(), count, 0, 0, 0, std::nanf(""), 1, 0, 1);
  EXPECT_EQ(count, 0);
  ApproximateArcToPoints(buffer.data(), count, 0, 0, 0, 1, 1, 0, INFINITY);
  EXPECT_EQ(count, 0);
}

TEST_F(ArcSettings, SpacedPointsDropNeighboursWithinOneHundredth) {
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  uint16_t count = 0;
  ApproximateArcToSpacedPoints(buffer.data(), count, 0.01f, 0, 0, 0.01f, 0.01f, 0, 0.5f);
  EXPECT_EQ(count, 1);
  ApproximateArcToSpacedPoints(buffer.data(), count, 10, 0, 0, 10, 10, 0, 0.2f);
  EXPECT_GE(count, 10);  // at least ten points on a larger arc
}

TEST_F(ArcSettings, EllipseInBoxIsClosedCounterClockwise) {
  REQUIRE_CLIPPER();
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  uint16_t count = 0;
  TExtentsPair box{{1, 0, 0}, {5, 20, 10}};
  ApproximateEllipseInBox(box, buffer.data(), count);
  ASSERT_GT(count, 4);
  EXPECT_EQ(buffer[0].type, kRecContourStart);
  EXPECT_EQ(float(buffer[count - 1u].x), float(buffer[0].x));
  EXPECT_EQ(float(buffer[count - 1u].y), float(buffer[0].y));
  for (int i = 0; i < count; ++i) {
    const double u = (buffer[size_t(i)].x - 10) / 10, v = (buffer[size_t(i)].y - 5) / 5;
    EXPECT_NEAR(u * u + v * v, 1.0, 1e-5);
  }
#ifdef TORV_HAVE_CLIPPER
  std::vector<TVectorRecord> contour(buffer.begin(), buffer.begin() + count);
  EXPECT_TRUE(geomtest::ClipperCounterClockwise(contour));
  EXPECT_NEAR(geomtest::ClipperArea(contour), kPi * 10 * 5, 0.5);  // inscribed polygon, slightly smaller
#endif
}

TEST(CircleThroughPoints, LinesAndTheRaisedFirstPoint) {
  TVectorRecord circle{};
  ComputeCircleThroughPoints(Rec(10, 0, 0), Rec(10, 1, 1), Rec(10, 2, 2), circle);
  EXPECT_EQ(circle.type, 0);
  EXPECT_EQ(float(circle.z), 9999.999f);
  ComputeCircleThroughPoints(Rec(10, 0, 0), Rec(10, 1, 0), Rec(10, 2, 0), circle);
  EXPECT_EQ(circle.type, kRecLinePoint);
  EXPECT_NEAR(circle.x, 1.5, 1e-4);
  EXPECT_NEAR(circle.y, 1000.0005, 1e-3);
  EXPECT_NEAR(circle.z, 1000.0, 0.01);
  TVectorRecord p1 = Rec(10, 0, 0);
  double sweep = 1, start = 1, radius = 0;
  ComputeArcThroughThreePoints(p1, Rec(10, 1, 1), Rec(10, 3, 3), sweep, start, radius);
  EXPECT_EQ(sweep, 0.0);
  EXPECT_FLOAT_EQ(float(radius), 9999.999f);
}

// Random triangles: the centre is as far from all three points, and the arc
// through them sweeps through the middle point.
TEST(CircleThroughPoints, RandomTrianglesInvariant) {
  std::mt19937 random(4711);
  std::uniform_real_distribution<double> coordinate(-100, 100);
  for (int round = 0; round < 300; ++round) {
    const TVectorRecord a = Rec(10, float(coordinate(random)), float(coordinate(random)));
    const TVectorRecord b = Rec(10, float(coordinate(random)), float(coordinate(random)));
    const TVectorRecord c = Rec(10, float(coordinate(random)), float(coordinate(random)));
    const double cross = (double(b.x) - a.x) * (double(c.y) - a.y) - (double(b.y) - a.y) * (double(c.x) - a.x);
    if (std::fabs(cross) < 1.0) continue;
    TVectorRecord circle{};
    ComputeCircleThroughPoints(a, b, c, circle);
    ASSERT_EQ(circle.type, kRecLinePoint);
    for (const TVectorRecord& p : {a, b, c})
      EXPECT_NEAR(std::hypot(double(p.x) - circle.x, double(p.y) - circle.y), circle.z, 1e-3 * (1 + circle.z));
    TVectorRecord start = a;
    double sweep, angle, radius;
    ComputeArcThroughThreePoints(start, b, c, sweep, angle, radius);
    if (radius > 99999) continue;
    EXPECT_EQ(sweep > 0, cross > 0) << round;
    // b lies on the swept part: its angle from the start, taken in the sweep's
    // sense, is below the sweep.
    double toB = std::atan2(double(b.y) - circle.y, double(b.x) - circle.x) - angle;
    if (sweep > 0) toB = std::fmod(toB + 4 * kPi, 2 * kPi);
    else toB = -std::fmod(-toB + 4 * kPi, 2 * kPi);
    EXPECT_LT(std::fabs(toB), std::fabs(sweep) + 1e-3) << round;
  }
}

TEST(ShortArc, FullCircleAndHalfCircle) {
  double sweep, start, radius;
  ComputeShortArcSweep(Rec(10, 10, 0), Rec(10, 10, 0), Rec(10, 0, 0), sweep, start, radius);
  EXPECT_DOUBLE_EQ(sweep, 2 * kPi);
  EXPECT_DOUBLE_EQ(radius, 10.0);
  ComputeShortArcSweep(Rec(10, 10, 0), Rec(10, -10, 0), Rec(10, 0, 0), sweep, start, radius);
  EXPECT_NEAR(sweep, kPi, 1e-9);
  ComputeShortArcSweep(Rec(10, 10, 0), Rec(10, 0, -10), Rec(10, 0, 0), sweep, start, radius);
  EXPECT_NEAR(sweep, -kPi / 2, 1e-6);
  EXPECT_NEAR(ComputePointAngleOnCircle(0, -1, 0, 0, 1), 1.5 * kPi, 1e-9);
  EXPECT_EQ(ComputePointAngleOnCircle(1, 1, 0, 0, 0), 0.0);  // no circle: no NaN
}

TEST(Overshoot, OneDegreeBeyondAndAtLeastTheGap) {
  TVectorRecord out{};
  // Quarter circle of radius 100 about the origin, counter-clockwise.
  const double h = 100 / std::sqrt(2.0);
  ComputeArcOvershootPoint(Rec(10, 100, 0), Rec(10, float(h), float(h)), Rec(10, 0, 100), out, false);
  EXPECT_NEAR(std::atan2(out.y, out.x), kPi / 2 + kPi / 180, 1e-4);
  ComputeArcOvershootPoint(Rec(10, 100, 0), Rec(10, float(h), float(h)), Rec(10, 0, 100), out, true);
  EXPECT_NEAR(std::atan2(out.y, out.x), -kPi / 180, 1e-4);
  // On a tiny arc one degree is less than 0.02: the gap is enforced.
  const double s = 0.1 / std::sqrt(2.0);
  ComputeArcOvershootPoint(Rec(10, 0.1f, 0), Rec(10, float(s), float(s)), Rec(10, 0, 0.1f), out, false);
  EXPECT_NEAR(std::max(std::fabs(out.x - 0.0), std::fabs(out.y - 0.1)), 0.02, 1e-6);
}

TEST(Bezier, EndsOnLastControlPointAndNothingForNoPoints) {
  std::vector<TVectorRecord> buffer(kMaxSampledPoints);
  const TVectorRecord cubic[4] = {Rec(10, 0, 0), Rec(10, 0, 1), Rec(10, 1, 1), Rec(10, 1, 0)};
  uint16_t count = 0;
  SampleCubicBezierPoints(cubic, buffer.data(), count, 0);
  EXPECT_EQ(count, 0);
  SampleCubicBezierPoints(cubic, buffer.data(), count, 4);
  ASSERT_EQ(count, 4);
  EXPECT_FLOAT_EQ(buffer[1].y, 0.75f);  // t = 1/2
  EXPECT_FLOAT_EQ(buffer[3].x, 1.0f);
  EXPECT_FLOAT_EQ(buffer[3].y, 0.0f);
  const TVectorRecord quad3d[3] = {Rec(12, 0, 0, 0), Rec(12, 1, 1, 2), Rec(12, 2, 0, 4)};
  count = 0;
  SampleQuadraticBezierPoints3D(quad3d, buffer.data(), count, 2);
  EXPECT_EQ(buffer[0].type, kRec3DPoint);
  EXPECT_FLOAT_EQ(buffer[0].z, 2.0f);
  const TVectorRecord quartic[5] = {Rec(10, 0, 0), Rec(10, 1, 0), Rec(10, 2, 0), Rec(10, 3, 0), Rec(10, 4, 0)};
  count = 0;
  SampleQuarticBezierPoints(quartic, buffer.data(), count, 4);
  EXPECT_FLOAT_EQ(buffer[1].x, 2.0f);
}

TEST(Spline, KindFourEndsOnLastControlPointAndMatchesTheClampedSpline) {
  TCurveBuilder builder;
  for (int order = 3; order <= 6; ++order) {
    InitSplineBuilder(builder, order, 5);
    std::vector<TVectorRecord> control;
    for (int i = 0; i < order + 2; ++i) control.push_back(Rec(10, float(i * 3), float((i * 7) % 5)));
    std::copy(control.begin(), control.end(), builder.control);
    builder.kind = 4;
    EvaluateSplineSpans(builder);
    ASSERT_EQ(builder.splineCount, 15);
    EXPECT_NEAR(builder.splineOutput[14].x, control.back().x, 1e-4) << order;
    EXPECT_NEAR(builder.splineOutput[14].y, control.back().y, 1e-4) << order;
    EXPECT_GT(std::hypot(builder.splineOutput[0].x - control[0].x, builder.splineOutput[0].y - control[0].y), 0.01);
    // The textbook clamped B-spline gives the same points.
    std::vector<TVectorRecord> reference(kMaxSampledPoints);
    int16_t count = 0;
    EvaluateClampedSpline(control.data(), order + 2, order, 5, reference.data(), count);
    ASSERT_EQ(count, 15);
    for (int i = 0; i < 15; ++i) {
      EXPECT_NEAR(builder.splineOutput[i].x, reference[size_t(i)].x, 1e-3) << order << " " << i;
      EXPECT_NEAR(builder.splineOutput[i].y, reference[size_t(i)].y, 1e-3) << order << " " << i;
    }
  }
}

TEST(Spline, SlidingWindowStates) {
  TCurveBuilder builder;
  InitSplineBuilder(builder, 3, 5);
  const int16_t expected[] = {1, 2, 254, 255, 255};
  for (int i = 0; i < 5; ++i) {
    AddSplineWindowPoint(Rec(10, float(i), 0), builder);
    EXPECT_EQ(builder.windowCount, expected[i]) << i;
  }
  EXPECT_EQ(builder.splineCount, 5);  // kind 1: one span
  EXPECT_EQ(float(builder.control[4].x), 4.0f);
}

TEST(CurvePiece, StrokesOfEveryLength) {
  TCurveBuilder builder;
  InitSplineBuilder(builder, 3, 4);
  const TVectorRecord current = Rec(10, 0, 0), end = Rec(10, 20, 0);
  FinishCurvePiece(builder, current, end);  // no control point
  ASSERT_EQ(builder.pieceCount, 1);
  EXPECT_FLOAT_EQ(builder.pieceOutput[0].x, 20.0f);
  for (int controls = 1; controls <= 12; ++controls) {
    for (int i = 0; i < controls; ++i) AddCurveListPoint(builder, Rec(10, float(2 + i), float(5 + (i % 3))));
    FinishCurvePiece(builder, current, end);
    ASSERT_GT(builder.pieceCount, 0) << controls;  // seven and more no longer vanish
    EXPECT_NEAR(builder.pieceOutput[builder.pieceCount - 1].x, 20.0f, 1e-3) << controls;
    EXPECT_NEAR(builder.pieceOutput[builder.pieceCount - 1].y, 0.0f, 1e-3) << controls;
    EXPECT_EQ(builder.listLength, 1);
  }
}

TEST(CellPlane, ChangesOfALinearValue) {
  // v = 2x + 3y sampled at three points; the cell (0,0)-(1,1).
  auto v = [](float x, float y) { return 2 * x + 3 * y; };
  const TVectorRecord p1 = Rec(10, 0, 0), p2 = Rec(10, 4, 1), p3 = Rec(10, 1, 5);
  TExtentsPair cell{{1, 0, 0}, {5, 1, 1}};
  float dx = 0, dy = 0;
  ASSERT_TRUE(InterpolateTriangleAcrossCell(p1, v(0, 0), p2, v(4, 1), p3, v(1, 5), cell, dx, dy));
  EXPECT_NEAR(dx, 2.0f, 1e-3);
  EXPECT_NEAR(dy, 3.0f, 1e-3);
  EXPECT_FALSE(InterpolateTriangleAcrossCell(p1, 0, Rec(10, 1, 1), 0, Rec(10, 2, 2), 0, cell, dx, dy));
}

TEST(KerningClass, PositionOfTheSecondCharacter) {
  int32_t index = -1;
  FindPairCharInKerningClass(100, "AVW", 'V', index);
  EXPECT_EQ(index, 102);
  index = -1;
  FindPairCharInKerningClass(100, "AVW", 'x', index);
  EXPECT_EQ(index, -1);
}

}  // namespace
