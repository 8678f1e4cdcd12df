// Arc fitting: point chains become arcs within the tolerance.
#include "cad/arc_fitting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "frame/defaults.h"
#include "frame/math_constants.h"
#include "support/work_folder.h"

namespace {

using TRecs = std::vector<TVectorRecord>;
// The output unpacked, so that checks can bind its fields.
struct TOut {
  uint8_t type;
  double x, y, z;
};
using TOuts = std::vector<TOut>;

TVectorRecord P(uint8_t type, double x, double y, double z = 0) {
  return TVectorRecord{type, float(x), float(y), float(z)};
}

// A contour start and n points along an arc about (cx, cy), ccw from a0.
TRecs ArcChain(double cx, double cy, double r, double a0, double sweep, int n, bool closeStart = false) {
  TRecs recs{P(kRecContourStart, cx + r * std::cos(a0), cy + r * std::sin(a0))};
  for (int i = 1; i <= n; ++i) {
    const double a = a0 + sweep * i / n;
    recs.push_back(P(kRecLinePoint, cx + r * std::cos(a), cy + r * std::sin(a)));
  }
  if (closeStart) recs.back() = P(kRecLinePoint, recs.front().x, recs.front().y);
  return recs;
}

TOuts Fit(const TRecs& in, int mode, double largestSweep = 2 * kPi, double tolerance = 0.01,
          double largestRadius = 10000, const TArcFeedSettings* feeds = nullptr) {
  TArcFeedSettings none{};
  TRecs out;
  FitArcsInRecords(in.data(), int32_t(in.size()), out, mode, largestSweep, tolerance, largestRadius,
                   feeds ? *feeds : none);
  TOuts result;
  for (const TVectorRecord& r : out) result.push_back(TOut{r.type, r.x, r.y, r.z});
  return result;
}

int CountType(const TOuts& recs, uint8_t type) {
  int n = 0;
  for (const auto& r : recs) n += r.type == type;
  return n;
}

class ArcFittingTest : public ::testing::Test {
 protected:
  void SetUp() override { ErrorCode = 0; }
  torvtest::TWorkFolder work_;
};

// Walks the output as a pen would and checks every arc record: it starts at
// the current point and its end lies within `slack` of the point after it.
void ExpectArcsJoinTheirEndPoints(const TOuts& out, double slack) {
  double x = 0, y = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const TOut& r = out[i];
    if (r.type == kRecArc) {
      const double cx = x - r.x * std::cos(r.y), cy = y - r.x * std::sin(r.y);
      const double ex = cx + r.x * std::cos(r.y + r.z), ey = cy + r.x * std::sin(r.y + r.z);
      ASSERT_LT(i + 1, out.size());
      ASSERT_EQ(out[i + 1].type, kRecLinePoint) << i;
      EXPECT_NEAR(ex, out[i + 1].x, slack) << i;
      EXPECT_NEAR(ey, out[i + 1].y, slack) << i;
    } else if (r.type == kRecLinePoint || r.type == kRecContourStart) {
      x = r.x;
      y = r.y;
    }
  }
}

// A closed circle: a window ends once the chain turns back toward its start,
// so at least two arcs come out, each followed by its end point. (72 points:
// the chords of 36 points sag 0.038 mm, beyond the midpoint test at 0.01.)
TEST_F(ArcFittingTest, ClosedCircleGivesSeveralArcsEachFollowedByItsEnd) {
  const TRecs in = ArcChain(5, 5, 10, 0, 2 * kPi, 72, true);
  const TOuts out = Fit(in, 0);
  EXPECT_GE(CountType(out, kRecArc), 2);
  ExpectArcsJoinTheirEndPoints(out, 0.01);
  double total = 0;
  for (const auto& r : out)
    if (r.type == kRecArc) {
      EXPECT_NEAR(r.x, 10.0, 0.01);
      EXPECT_GT(r.z, 0.0);  // counter-clockwise
      total += r.z;
    }
  EXPECT_GT(total, 2 * kPi * 0.75);  // the circle is mostly arcs
  EXPECT_EQ(float(out.back().x), float(in.back().x));
  EXPECT_EQ(float(out.back().y), float(in.back().y));
}

// Sharp corners and straight lines stay points; nothing is lost.
TEST_F(ArcFittingTest, CornersAndStraightRunsStayPoints) {
  struct TCase {
    const char* name;
    TRecs in;
  };
  TRecs square{P(kRecContourStart, 0, 0)};
  for (int side = 0; side < 4; ++side)
    for (int i = 1; i <= 5; ++i) {
      const double t = i / 5.0 * 10;
      const double x[] = {t, 10, 10 - t, 0}, y[] = {0, t, 10, 10 - t};
      square.push_back(P(kRecLinePoint, x[side], y[side]));
    }
  const TCase cases[] = {
      {"square", square},
      {"three collinear", {P(kRecContourStart, 0, 0), P(kRecLinePoint, 1, 1), P(kRecLinePoint, 2, 2)}},
  };
  for (const TCase& c : cases) {
    const TOuts out = Fit(c.in, 0);
    EXPECT_EQ(CountType(out, kRecArc), 0) << c.name;
    for (const auto& corner : {P(0, 10, 0), P(0, 10, 10), P(0, 0, 10), P(0, 2, 2)}) {
      bool found = false;
      for (const auto& r : c.in) found |= r.x == corner.x && r.y == corner.y;
      if (!found) continue;
      bool kept = false;
      for (const auto& r : out) kept |= r.x == corner.x && r.y == corner.y;
      EXPECT_TRUE(kept) << c.name << " " << corner.x << "," << corner.y;
    }
  }
}

// Form 1 splits a half circle at the largest sweep: two centre records with
// the point between them; form 2 gives one centre record with the sweep.
TEST_F(ArcFittingTest, CentreFormsSplitAtTheLargestSweep) {
  const TRecs in = ArcChain(0, 0, 20, 0, kPi, 60);
  const TOuts split = Fit(in, 1, kPi / 2);
  ASSERT_EQ(CountType(split, kRecArcCentre), 2);
  size_t first = 0;
  while (split[first].type != kRecArcCentre) ++first;
  EXPECT_NEAR(split[first].x, 0, 0.01);
  EXPECT_NEAR(split[first].y, 0, 0.01);
  EXPECT_EQ(float(split[first].z), 1.0f);
  ASSERT_EQ(split[first + 1].type, kRecLinePoint);
  EXPECT_NEAR(split[first + 1].x, 0, 0.01);  // the quarter point (0, 20)
  EXPECT_NEAR(split[first + 1].y, 20, 0.01);
  EXPECT_EQ(split[first + 2].type, kRecArcCentre);
  EXPECT_EQ(float(split[first + 3].x), float(in.back().x));

  const TOuts whole = Fit(in, 2);
  ASSERT_EQ(CountType(whole, kRecArcCentre), 1);
  for (const auto& r : whole) {
    if (r.type == kRecArcCentre) {
      EXPECT_NEAR(r.z, kPi, 0.01);
    }
  }

  // Clockwise: direction 0.
  const TOuts cw = Fit(ArcChain(0, 0, 20, kPi, -kPi, 60), 1, kPi / 2);
  for (const auto& r : cw) {
    if (r.type == kRecArcCentre) {
      EXPECT_EQ(r.z, 0.0);
    }
  }
}

// Form 7 gives points on the circle; 3D chains stay 3D.
TEST_F(ArcFittingTest, PolygonFormKeepsPointsOnTheCircle) {
  TRecs in = ArcChain(0, 0, 15, 0, kPi / 2, 12);
  for (size_t i = 1; i < in.size(); ++i) in[i] = P(kRec3DPoint, in[i].x, in[i].y, -2);
  const TOuts out = Fit(in, 7);
  EXPECT_GT(out.size(), 4u);
  for (size_t i = 1; i < out.size(); ++i) {
    EXPECT_EQ(out[i].type, kRec3DPoint) << i;
    EXPECT_NEAR(std::hypot(out[i].x, out[i].y), 15.0, 0.02) << i;
  }
}

// Feed records: off adds none; on puts the programmed feed before the first
// point; the feed form sets the window's feed from its radius.
TEST_F(ArcFittingTest, FeedRecords) {
  const TRecs in = ArcChain(0, 0, 30, 0, kPi / 2, 60);
  EXPECT_EQ(CountType(Fit(in, 0), kRecToolFeed), 0);

  TArcFeedSettings feeds{};
  feeds.baseFeed = 1000;
  for (int i = 0; i < 14; ++i) {
    feeds.radii[i] = float(10 * (i + 1));  // 10, 20, ... 140 mm
    feeds.percentages[i] = float(20 + 5 * i);
  }
  feeds.feedRecordsOn = 1;
  const TOuts withFeed = Fit(in, 0, 2 * kPi, 0.01, 10000, &feeds);
  // The first line point comes right after the programmed feed.
  size_t firstPoint = 1;
  while (firstPoint < withFeed.size() && withFeed[firstPoint].type != kRecLinePoint) ++firstPoint;
  ASSERT_LT(firstPoint, withFeed.size());
  EXPECT_EQ(withFeed[firstPoint - 1].type, kRecToolFeed);
  EXPECT_EQ(withFeed[firstPoint - 1].x, 1000.0);
  EXPECT_EQ(CountType(withFeed, kRecToolFeed), 1);

  // Radius 30: between R2 = 30 ... at R2 exactly: P2 = 30 percent.
  const TOuts byRadius = Fit(in, 8, 2 * kPi, 0.01, 10000, &feeds);
  bool found = false;
  for (const auto& r : byRadius)
    if (r.type == kRecToolFeed && std::fabs(r.x - 300.0) < 6.0) found = true;
  EXPECT_TRUE(found);
  EXPECT_EQ(CountType(byRadius, kRecArc), 0);
  // The feed form keeps every point.
  EXPECT_EQ(int(byRadius.size()) - CountType(byRadius, kRecToolFeed), int(in.size()));
}

// Headers pass unchanged and split the windows; empty input gives nothing.
TEST_F(ArcFittingTest, OtherRecordsPassAndEmptyInputGivesNothing) {
  TRecs in = ArcChain(0, 0, 10, 0, kPi / 2, 10);
  in.insert(in.begin(), P(kRecLayer, 3, 0));
  in.push_back(P(kRecToolFeed, 500, 2, 3));
  const TOuts out = Fit(in, 0);
  EXPECT_EQ(out.front().type, kRecLayer);
  EXPECT_EQ(out.back().type, kRecToolFeed);
  EXPECT_EQ(float(out.back().x), 500.0f);
  EXPECT_TRUE(Fit({}, 0).empty());
}

}  // namespace
