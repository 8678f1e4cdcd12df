// The contour offset engine and its result writer, end to end, against
// Clipper on the same reduced contours: contour and hole counts, the area of
// the symmetric difference, the densified Hausdorff distance, and the least
// distance of the path from its contours.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "frame/defaults.h"
#include "offset_reference.h"
#include "support/record_folder.h"

namespace {

using namespace offsetref;

constexpr double kTwentyDegrees = 0.3490658;
// The engine's own perturbations: the hair shift, the jitter of sharp
// vertices, the micro-arc radius and the nudge of axis-parallel segments.
constexpr double kPerturbation = 0.004;

class OffsetComparisonTest : public torvtest::RecordFolderTest {
 protected:
  // Offsets by the engine and by Clipper and checks they agree. The engine's
  // corner polygons lie outside the arc, Clipper's on it: the two differ by up
  // to two chord errors.
  TOffsetComparison Check(const TShape& shape, double b, uint8_t side, double maxRelativeXor) {
    TEngineRun run;
    RunEngineOffset(shape, b, side, kTwentyDegrees, run);
    EXPECT_EQ(run.errorCode, 0);
    const TShape reference = ClipperOffsetShape(run.reduced, side == 1 ? b : -b, kTwentyDegrees);
    const TOffsetComparison c = CompareOffsets(run.result, reference, run.reduced, std::max(b / 4, 0.01));
    const double tolerance = 2 * ArcChordError(b, kTwentyDegrees) + kPerturbation;
    RecordProperty("comparison", DescribeComparison(c));
    EXPECT_EQ(c.contoursOurs, c.contoursReference) << DescribeComparison(c);
    EXPECT_EQ(c.holesOurs, c.holesReference) << DescribeComparison(c);
    EXPECT_LE(c.relativeXor, maxRelativeXor) << DescribeComparison(c);
    EXPECT_LE(c.hausdorff, tolerance) << DescribeComparison(c);
    EXPECT_GE(c.leastInputDistance, b - kPerturbation) << DescribeComparison(c);
    return c;
  }
};

// The measures themselves: Clipper's rounded square against itself and
// against a copy moved by 0.1 mm.
TEST_F(OffsetComparisonTest, MeasuresSeeAMovedPath) {
  const TShape square = MakeSquare(0, 0, 10);
  const TShape grown = ClipperOffsetShape(square, 1.0, kTwentyDegrees);
  ASSERT_EQ(grown.size(), 1u);
  // The round corners are 18-gons inscribed in the unit circle.
  EXPECT_NEAR(SignedArea(grown[0]), 140 + 9 * std::sin(M_PI / 9), 0.01);
  TOffsetComparison same = CompareOffsets(grown, grown, square, 0.05);
  EXPECT_EQ(same.contoursOurs, 1);
  EXPECT_EQ(same.holesOurs, 0);
  EXPECT_LT(same.relativeXor, 1e-9);
  EXPECT_LT(same.hausdorff, 1e-9);
  EXPECT_NEAR(same.leastInputDistance, 1.0, ArcChordError(1.0, kTwentyDegrees) + 1e-4);

  TShape moved = grown;
  for (TPt& p : moved[0]) p.x += 0.1;
  const TOffsetComparison c = CompareOffsets(moved, grown, square, 0.05);
  EXPECT_NEAR(c.hausdorff, 0.1, 1e-3);
  EXPECT_NEAR(c.xorArea, 2 * 0.1 * 12, 0.05);
  EXPECT_LT(c.leastInputDistance, 0.91);
  const TOffsetComparison none = CompareOffsets({}, grown, square, 0.05);
  EXPECT_TRUE(std::isinf(none.hausdorff));
}

TEST_F(OffsetComparisonTest, InputsHaveTheirSizes) {
  const TShape a = MakeSquareWithHole(1000);
  EXPECT_EQ(a.size(), 2u);
  EXPECT_NEAR(double(PointCount(a)), 1000, 10);
  EXPECT_GT(SignedArea(a[0]), 0);
  EXPECT_LT(SignedArea(a[1]), 0);
  const TShape b = MakeLetterContours(2000, 200000, 1);
  EXPECT_EQ(b.size(), 2000u);
  EXPECT_NEAR(double(PointCount(b)), 200000, 4000);
  const TShape d = MakeLayoutShapes(4);
  double holes = 0;
  for (const auto& c : d) holes += SignedArea(c) < 0;
  EXPECT_GT(holes, 10);
}

TEST_F(OffsetComparisonTest, SquareWithHoleOutward) { Check(MakeSquareWithHole(1000), 2.0, 1, 2e-3); }

TEST_F(OffsetComparisonTest, SquareWithHoleInward) { Check(MakeSquareWithHole(1000), 2.0, 0, 2e-3); }

TEST_F(OffsetComparisonTest, SmallOffsetOnALargeLayout) {
  Check(MakeLayoutShapes(4), 0.05, 1, 1e-3);
  Check(MakeLayoutShapes(4), 0.05, 0, 1e-3);
}

TEST_F(OffsetComparisonTest, OutwardSquareIsRounded) {
  const TOffsetComparison c = Check(MakeSquare(0, 0, 10), 1.0, 1, 1e-3);
  EXPECT_NEAR(c.areaOurs, 100 + 40 + M_PI, 0.1);
}

TEST_F(OffsetComparisonTest, InwardSquareKeepsSharpCorners) {
  const TOffsetComparison c = Check(MakeSquare(0, 0, 10), 1.0, 0, 1e-3);
  EXPECT_NEAR(c.areaOurs, 64, 0.05);
}

// A neck narrower than twice the offset: the inward path splits in two.
TEST_F(OffsetComparisonTest, NarrowNeckSplitsTheInwardPath) {
  const TOffsetComparison c = Check(MakeDumbbell(1.0), 1.0, 0, 2e-3);
  EXPECT_EQ(c.contoursOurs, 2);
}

// Sharp outer and inner corners, small letters with holes.
TEST_F(OffsetComparisonTest, StarsAndLetters) {
  Check(MakeLetterContours(40, 4000, 3), 0.3, 1, 5e-3);
  Check(MakeLetterContours(40, 4000, 3), 0.2, 0, 5e-3);
}

}  // namespace
