// The 2D primitives: coincidence, crossings, feet, corners, contour
// direction (against Clipper), descent, the tool radius at depth, guarded
// angle functions and the tool header file.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "model/geometry_2d.h"
#include "cad/geometry_test_support.h"
#include "support/work_folder.h"

using geomtest::Rec;

namespace {

TVectorRecord P(float x, float y) { return Rec(kRecLinePoint, x, y); }

struct TCoincideCase {
  float dx, dy;
  bool coincide, near;
};

TEST(PointCoincidence, ToleranceBoundaries) {
  const TCoincideCase cases[] = {
      {0.0009f, 0.0f, true, true},
      {0.001f, 0.0f, false, false},
      {0.0f, 0.0011f, false, false},
      {0.0009f, 0.0009f, false, true},  // distance 0.00127
      {0.0f, 0.0f, true, true},
  };
  for (const TCoincideCase& c : cases) {
    const TVectorRecord a = P(5.0f, 5.0f), b = P(5.0f + c.dx, 5.0f + c.dy);
    // Offsets are taken from 0 so that float rounding of 5 + dx cannot decide.
    const TVectorRecord a0 = P(0.0f, 0.0f), b0 = P(c.dx, c.dy);
    EXPECT_EQ(TestPointsCoincide(a0, b0), c.coincide) << c.dx << " " << c.dy;
    EXPECT_EQ(TestPointsNearXY(a0, b0), c.near) << c.dx << " " << c.dy;
    (void)a;
    (void)b;
  }
  TPointRecord p1{10, 0.0f, 0.0f}, p2{10, 0.0009f, 0.0f};
  EXPECT_TRUE(TestPointsCoincide(p1, p2));
  EXPECT_FLOAT_EQ(ComputePointDistanceXY(P(0, 0), P(3, 4)), 5.0f);
}

TEST(SegmentCrossing, TouchAtEndCollinearAndUntouchedOutputs) {
  float x = -7.0f, y = -7.0f;
  EXPECT_TRUE(IntersectSegments(P(0, 0), P(2, 2), P(2, 2), P(4, 0), x, y));
  EXPECT_FLOAT_EQ(x, 2.0f);
  EXPECT_FLOAT_EQ(y, 2.0f);
  x = y = -7.0f;
  EXPECT_FALSE(IntersectSegments(P(0, 0), P(2, 0), P(1, 0), P(3, 0), x, y));  // collinear
  EXPECT_FALSE(IntersectSegments(P(0, 0), P(1, 1), P(3, 0), P(2, 1), x, y));  // lines cross beyond
  EXPECT_EQ(x, -7.0f);
  EXPECT_EQ(y, -7.0f);
  IntersectLines(P(0, 0), P(1, 1), P(3, 0), P(2, 1), x, y);  // the infinite lines do
  EXPECT_FLOAT_EQ(x, 1.5f);
  EXPECT_FLOAT_EQ(y, 1.5f);
}

TEST(SegmentFoot, NearestPointAndProjection) {
  double nx = 0, ny = 0;
  EXPECT_TRUE(FindNearestPointOnSegment(P(0, 0), P(10, 0), 15, 3, nx, ny));
  EXPECT_DOUBLE_EQ(nx, 10.0);
  EXPECT_DOUBLE_EQ(ny, 0.0);
  EXPECT_TRUE(FindNearestPointOnSegment(P(0, 0), P(10, 0), 4, 3, nx, ny));
  EXPECT_DOUBLE_EQ(nx, 4.0);
  EXPECT_FALSE(FindNearestPointOnSegment(P(1, 1), P(1, 1), 4, 3, nx, ny));
  bool found = true;
  double d2 = -1;
  ProjectPointOntoSegment(P(0, 0), P(10, 0), 4, 3, found, d2);
  EXPECT_TRUE(found);
  EXPECT_DOUBLE_EQ(d2, 9.0);
  d2 = -1;
  ProjectPointOntoSegment(P(0, 0), P(10, 0), 11, 3, found, d2);
  EXPECT_FALSE(found);
  EXPECT_EQ(d2, -1);
  double ox, oy;
  ComputeNormalOffset(0, 0, 3, 0, 2, ox, oy);
  EXPECT_DOUBLE_EQ(ox, 0.0);
  EXPECT_DOUBLE_EQ(oy, 2.0);
  EXPECT_TRUE(TestPointLeftOfLine(1, 1, 0, 0, 3, 0));
  EXPECT_TRUE(TestPointRightOfLine(1, 0, 0, 0, 3, 0));  // on the line counts as right
}

struct TCornerCase {
  TVectorRecord p0, p1, p2;
  bool sharp;
  const char* what;
};

TEST(SharpCorner, ThresholdLengthRatioAndZeroSegments) {
  const double fifty = ComputeCornerThreshold(50.0);
  EXPECT_NEAR(fifty, 3.2855752, 1e-6);
  const float c60 = float(std::cos(60 * std::numbers::pi / 180)), s60 = float(std::sin(60 * std::numbers::pi / 180));
  const float c40 = float(std::cos(40 * std::numbers::pi / 180)), s40 = float(std::sin(40 * std::numbers::pi / 180));
  const TCornerCase cases[] = {
      {P(0, 0), P(1, 0), P(1, 1), true, "right angle"},
      {P(0, 0), P(1, 0), P(12, 0), true, "straight, lengths 1 and 11"},
      {P(0, 0), P(1, 0), P(3, 0), false, "straight, lengths 1 and 2"},
      {P(0, 0), P(0, 0), P(1, 1), false, "zero-length segment"},
      {P(0, 0), P(1, 0), P(1 + c60, s60), true, "turn of 60 degrees"},
      {P(0, 0), P(1, 0), P(1 + c40, s40), false, "turn of 40 degrees"},
  };
  for (const TCornerCase& c : cases) EXPECT_EQ(TestSharpCorner(c.p0, c.p1, c.p2, fifty), c.sharp) << c.what;
}

TEST(ContourDirection, SquaresSpikesAndShortContours) {
  // A spike at the leftmost point whose neighbours both lie below it.
  const auto spike = geomtest::Closed({{220, 311.8f}, {187.8f, 314.6f}, {195, 313.3f}, {230, 300}, {240, 330}});
  EXPECT_TRUE(TestContourCounterClockwise(spike.data(), int32_t(spike.size())));
  const auto ccw = geomtest::Closed({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  const auto cw = geomtest::Closed({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);
  EXPECT_TRUE(TestContourCounterClockwise(ccw.data(), int32_t(ccw.size())));
  EXPECT_FALSE(TestContourCounterClockwise(cw.data(), int32_t(cw.size())));
  EXPECT_FALSE(TestContourCounterClockwise(ccw.data(), 3));
}

// Random star-shaped polygons in either direction: the direction test agrees
// with Clipper's orientation.
TEST(ContourDirection, AgreesWithClipperOnRandomPolygons) {
  REQUIRE_CLIPPER();
#ifdef TORV_HAVE_CLIPPER
  std::mt19937 random(20261210);
  std::uniform_real_distribution<double> radius(1.0, 50.0), centre(-500.0, 500.0), jitter(0.0, 0.9);
  std::uniform_int_distribution<int> corners(4, 40);
  for (int round = 0; round < 500; ++round) {
    // Rising angles with gaps below pi: a simple polygon about its centre.
    const int n = corners(random);
    std::vector<double> angles(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) angles[size_t(i)] = 2 * std::numbers::pi * (i + jitter(random)) / n;
    const double cx = centre(random), cy = centre(random);
    std::vector<std::pair<float, float>> points;
    for (double a : angles) {
      const double r = radius(random);
      points.push_back({float(cx + r * std::cos(a)), float(cy + r * std::sin(a))});
    }
    const auto contour = geomtest::Closed(points, round % 2 == 1);
    if (std::fabs(geomtest::ClipperArea(contour)) < 1e-3) continue;  // degenerate
    EXPECT_EQ(TestContourCounterClockwise(contour.data(), int32_t(contour.size())),
              geomtest::ClipperCounterClockwise(contour))
        << "round " << round;
  }
#endif
}

TEST(SteepDescent, HeightsAndSlope) {
  EXPECT_FALSE(CheckSteepDescent(Rec(10, 0, 0, 0.0005f), Rec(10, 0, 0, -50)));
  EXPECT_TRUE(CheckSteepDescent(Rec(10, 0, 0, 10), Rec(10, 1, 0, 0)));   // 10 > 1 / 0.2
  EXPECT_FALSE(CheckSteepDescent(Rec(10, 0, 0, 10), Rec(10, 3, 0, 0)));  // 10 < 15
  EXPECT_FALSE(CheckSteepDescent(Rec(10, 0, 0, 1), Rec(10, 0, 0, 1.0005f)));
}

TToolRecord Tool(float depth, float tip, float angle, float ball, float shank) {
  TToolRecord t{};
  t.plungeDepth = depth;
  t.tipRadius = tip;
  t.angle = angle;
  t.ballRadius = ball;
  t.shankRadius = shank;
  t.radiusLimited = 7;
  return t;
}

TEST(ToolRadius, CylinderConeBallAndVerticalFlank) {
  for (float depth : {0.0f, 1.0f, 25.0f}) {
    TToolRecord t = Tool(depth, 0, 0, 0, 3);
    EXPECT_EQ(ComputeToolRadiusAtDepth(t), 0.0f);
    EXPECT_EQ(t.radiusLimited, 0);
  }
  TToolRecord cone = Tool(10, 0, 45, 0, 3);  // the cone would be 10 wide
  EXPECT_FLOAT_EQ(ComputeToolRadiusAtDepth(cone), 3.0f);
  EXPECT_EQ(cone.radiusLimited, 1);
  TToolRecord shallow = Tool(1, 0.1f, 45, 0, 3);
  EXPECT_NEAR(ComputeToolRadiusAtDepth(shallow), 1.1f, 1e-6);
  TToolRecord negative = Tool(-2, 0.5f, 30, 0, 3);
  EXPECT_FLOAT_EQ(ComputeToolRadiusAtDepth(negative), 0.5f);
  const float storedDepth = negative.plungeDepth;
  EXPECT_EQ(storedDepth, 0.0f);
  TToolRecord ball = Tool(1, 0, 0, 2, 3);  // inside the ball zone
  EXPECT_NEAR(ComputeToolRadiusAtDepth(ball), std::sqrt(3.0), 1e-6);
  TToolRecord flat = Tool(2, 0.5f, 90, 0, 3);  // a flank of 90 degrees has no cone
  const float r = ComputeToolRadiusAtDepth(flat);
  EXPECT_TRUE(std::isfinite(r));
  EXPECT_FLOAT_EQ(r, 3.0f);
  EXPECT_EQ(flat.radiusLimited, 1);
}

TEST(AngleFunctions, GuardedArcSineAndTangent) {
  bool ok = false;
  EXPECT_DOUBLE_EQ(ComputeArcSineOrHalfPi(1.0, ok), std::numbers::pi / 2);
  EXPECT_TRUE(ok);
  EXPECT_NEAR(ComputeArcSineOrHalfPi(0.5, ok), std::numbers::pi / 6, 1e-12);
  for (double s : {1.0000001, -1.0000001, 2.0, std::nan("")}) {
    const double a = ComputeArcSineOrHalfPi(s, ok);
    EXPECT_FALSE(ok) << s;
    EXPECT_TRUE(std::isfinite(a)) << s;
  }
  EXPECT_FLOAT_EQ(ComputeArcSine(1.0000001), float(std::numbers::pi / 2));
  EXPECT_EQ(ComputeTangentOrZero(0.0, ok), 0.0f);
  EXPECT_TRUE(ok);
  const float t = ComputeTangentOrZero(std::numbers::pi / 2, ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(std::isfinite(t));
  EXPECT_NEAR(ComputeTangentOrZero(std::numbers::pi / 4, ok), 1.0f, 1e-6);
}

TEST(Rotation, AboutPivotAndOrigin) {
  float x = 2, y = 1;
  RotatePointAroundCentre(x, y, P(1, 1), std::numbers::pi / 2);
  EXPECT_NEAR(x, 1.0f, 1e-6);
  EXPECT_NEAR(y, 2.0f, 1e-6);
  x = -1;
  y = 0;
  RotateVectorAboutOrigin(x, y, std::numbers::pi / 2);
  EXPECT_NEAR(x, 0.0f, 1e-6);
  EXPECT_NEAR(y, -1.0f, 1e-6);
}

TEST(LineMeasures, DeviationAndInverseSlope) {
  EXPECT_FLOAT_EQ(MeasureAxisDeviationFromLine(P(0, 0), P(5, 3), P(10, 0)), 3.0f);  // flat: vertical distance
  EXPECT_FLOAT_EQ(MeasureAxisDeviationFromLine(P(0, 0), P(2, 5), P(0, 10)), 2.0f);  // steep: horizontal
  EXPECT_FLOAT_EQ(MeasureAxisDeviationFromLine(P(1, 1), P(2, 5), P(1, 1)), 0.0f);
  EXPECT_FLOAT_EQ(ComputeInverseSlope(P(0, 0), P(4, 2)), 2.0f);
  EXPECT_FLOAT_EQ(ComputeInverseSlope(P(0, 0), P(4, 0.00005f)), 0.0f);
  EXPECT_TRUE(TestPointCloserOnBothAxes(P(0, 0), P(1, 1), P(2, 2)));
  EXPECT_FALSE(TestPointCloserOnBothAxes(P(0, 0), P(1, 3), P(2, 2)));
}

TEST(ToolHeaderFile, TwelveHeaderRecordsWithoutTheEnd) {
  torvtest::TWorkFolder folder;
  ASSERT_TRUE(folder.Entered());
  TToolRecord tool = Tool(2, 0.5f, 30, 0, 3);
  WriteToolHeaderFile(tool, 1, "PLAYER0.TMP");
  const auto records = geomtest::ReadRaw(folder.Path() + "/PLAYER0.TMP");
  ASSERT_EQ(records.size(), 12u);
  const uint8_t types[12] = {1, 5, 6, 7, 150, 151, 152, 153, 154, 155, 156, 157};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(records[size_t(i)].type, types[i]) << i;
}

}  // namespace
