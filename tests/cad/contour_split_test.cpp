// Splitting contours at their crossings: the figure eight, crossing
// rectangles, closed contours, cleaning, the crossing limit and Esc (the
// target stays as it was), command 59, and random sets that must come out
// without any crossing left and with their length unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "cad/contour_split.h"
#include "frame/main_window.h"
#include "app/program_start.h"
#include "geometry_test_support.h"
#include "frame/quiet_files.h"
#include "support/work_folder.h"

using geomtest::Closed;
using geomtest::Rec;

namespace {

using TRecords = std::vector<TVectorRecord>;

class SplitFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.Entered()); }
  TRecords Split(const TRecords& in, uint8_t& status) {
    geomtest::WriteRaw(folder_.Path() + "/IN.TMP", in);
    SplitContoursAtCrossingsWithStatus("IN.TMP", "OUT.TMP", status);
    return geomtest::ReadRaw(folder_.Path() + "/OUT.TMP");
  }
  const std::string& Dir() const { return folder_.Path(); }
  torvtest::TWorkFolder folder_;
};

int StartsAt(const TRecords& records, float x, float y) {
  int n = 0;
  for (const TVectorRecord& r : records)
    if (r.type == kRecContourStart && std::fabs(r.x - x) < 1e-4 && std::fabs(r.y - y) < 1e-4) ++n;
  return n;
}

struct TSegment {
  double x1, y1, x2, y2;
};

std::vector<TSegment> Segments(const TRecords& records) {
  std::vector<TSegment> out;
  for (size_t i = 1; i < records.size(); ++i)
    if (records[i].type == kRecLinePoint || records[i].type == kRec3DPoint)
      out.push_back({records[i - 1].x, records[i - 1].y, records[i].x, records[i].y});
  return out;
}

double Length(const TRecords& records) {
  double total = 0;
  for (const TSegment& s : Segments(records)) total += std::hypot(s.x2 - s.x1, s.y2 - s.y1);
  return total;
}

// Pairs of segments that still cross away from their ends (more than 0.001
// from every end point), found by brute force.
int InteriorCrossings(const TRecords& records) {
  const std::vector<TSegment> s = Segments(records);
  int found = 0;
  for (size_t i = 0; i < s.size(); ++i)
    for (size_t j = i + 1; j < s.size(); ++j) {
      const double d1x = s[i].x2 - s[i].x1, d1y = s[i].y2 - s[i].y1;
      const double d2x = s[j].x2 - s[j].x1, d2y = s[j].y2 - s[j].y1;
      const double den = d1x * d2y - d1y * d2x;
      if (den == 0) continue;
      const double ex = s[j].x1 - s[i].x1, ey = s[j].y1 - s[i].y1;
      const double t = (ex * d2y - ey * d2x) / den, u = (ex * d1y - ey * d1x) / den;
      if (t <= 0 || t >= 1 || u <= 0 || u >= 1) continue;
      const double cx = s[i].x1 + t * d1x, cy = s[i].y1 + t * d1y;
      const double ends = std::min({std::hypot(cx - s[i].x1, cy - s[i].y1), std::hypot(cx - s[i].x2, cy - s[i].y2),
                                    std::hypot(cx - s[j].x1, cy - s[j].y1), std::hypot(cx - s[j].x2, cy - s[j].y2)});
      if (ends > 0.001) ++found;
    }
  return found;
}

TEST_F(SplitFiles, FigureEightBecomesTwoLoopsMeetingAtTheCrossing) {
  uint8_t status = 9;
  const TRecords out = Split(Closed({{0, 0}, {2, 2}, {2, 0}, {0, 2}}), status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(QuietIoError, 0);
  EXPECT_EQ(StartsAt(out, 1, 1), 2);
  const auto contours = geomtest::Contours(out);
  ASSERT_EQ(contours.size(), 3u);
  // The right loop is closed at the crossing; the left one runs from the
  // crossing through the old start back to it.
  EXPECT_FLOAT_EQ(contours[1].back().x, 1.0f);
  EXPECT_FLOAT_EQ(contours[1].back().y, 1.0f);
  EXPECT_FLOAT_EQ(contours[0].back().x, 1.0f);
  EXPECT_FLOAT_EQ(contours[2].back().x, 0.0f);
  EXPECT_EQ(InteriorCrossings(out), 0);
  EXPECT_NEAR(Length(out), 4 * 2 * std::sqrt(2.0) / 2 + 4, 1e-4);
}

TEST_F(SplitFiles, CrossingRectanglesBecomeEightPieces) {
  uint8_t status = 9;
  TRecords in = Closed({{-2, -1}, {2, -1}, {2, 1}, {-2, 1}});
  const TRecords tall = Closed({{-1, -2}, {1, -2}, {1, 2}, {-1, 2}});
  in.insert(in.end(), tall.begin(), tall.end());
  const TRecords out = Split(in, status);
  EXPECT_EQ(status, 0);
  int atCrossings = 0;
  for (float x : {-1.0f, 1.0f})
    for (float y : {-1.0f, 1.0f}) {
      EXPECT_EQ(StartsAt(out, x, y), 2) << x << " " << y;
      atCrossings += StartsAt(out, x, y);
    }
  EXPECT_EQ(atCrossings, 8);
  EXPECT_EQ(InteriorCrossings(out), 0);
  EXPECT_NEAR(Length(out), Length(in), 1e-4);
}

TEST_F(SplitFiles, ClosedContourAndSmallFilesAreOnlyCleaned) {
  uint8_t status = 9;
  const TRecords square = Closed({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  TRecords out = Split(square, status);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(out.size(), square.size());
  for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i].type, square[i].type);
  // A point 0.001 after its predecessor goes; so do stray records and a
  // start without points.
  out = Split({Rec(1, 9, 9), Rec(11, 0, 0), Rec(10, 0.001f, 0), Rec(10, 5, 0), Rec(11, 7, 7), Rec(11, 8, 8),
               Rec(150, 1, 1), Rec(10, 8, 9)},
              status);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_FLOAT_EQ(out[1].x, 5.0f);
  EXPECT_FLOAT_EQ(out[2].x, 8.0f);
  out = Split({Rec(11, 0, 0), Rec(10, 1, 1), Rec(10, 2, 0)}, status);  // three records: written back
  EXPECT_EQ(out.size(), 3u);
  EXPECT_EQ(status, 0);
}

TEST_F(SplitFiles, TooManyCrossingsLeavesTheTargetAsItWas) {
  TRecords grid;
  for (int i = 0; i < 150; ++i) {
    grid.push_back(Rec(11, 0, float(i) + 0.5f));
    grid.push_back(Rec(10, 150, float(i) + 0.5f));
    grid.push_back(Rec(11, float(i) + 0.5f, 0));
    grid.push_back(Rec(10, float(i) + 0.5f, 150));
  }
  geomtest::WriteRaw(Dir() + "/OUT.TMP", {Rec(11, 1, 2, 3)});
  uint8_t status = 0;
  const TRecords out = Split(grid, status);  // 22500 crossings
  EXPECT_EQ(status, 3);
  EXPECT_EQ(QuietIoError, 1101);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_FLOAT_EQ(out[0].z, 3.0f);
  // In place, the file keeps its records.
  geomtest::WriteRaw(Dir() + "/GRID.TMP", grid);
  SplitContoursAtCrossingsWithStatus("GRID.TMP", "GRID.TMP", status);
  EXPECT_EQ(status, 3);
  EXPECT_EQ(geomtest::ReadRaw(Dir() + "/GRID.TMP").size(), grid.size());
}

TEST_F(SplitFiles, EscapeLeavesTheTargetAsItWas) {
  geomtest::WriteRaw(Dir() + "/OUT.TMP", {Rec(11, 1, 2, 3)});
  ClearKeyBuffer();
  PushKeyCode(27);
  uint8_t status = 0;
  const TRecords out = Split(Closed({{0, 0}, {2, 2}, {2, 0}, {0, 2}}), status);
  ClearKeyBuffer();
  EXPECT_EQ(status, 3);
  EXPECT_EQ(QuietIoError, 1);
  EXPECT_EQ(out.size(), 1u);
}

TEST_F(SplitFiles, CommandStoppedEarlyKeepsTheStore) {
  TRecords grid;
  for (int i = 0; i < 150; ++i) {
    grid.push_back(Rec(11, 0, float(i)));
    grid.push_back(Rec(10, 150, float(i) + 0.25f));
    grid.push_back(Rec(11, float(i), 0));
    grid.push_back(Rec(10, float(i) + 0.25f, 150));
  }
  geomtest::WriteRaw(Dir() + "/VekAR1.TMP", grid);
  CommandWord = 59;
  RunSplitAtCrossingsCommand();
  EXPECT_EQ(QuietIoError, 1101);
  EXPECT_EQ(geomtest::ReadRaw(Dir() + "/VekAR1.TMP").size(), grid.size());
  EXPECT_EQ(CommandWord, 41);  // mark mode
  // A run that works splits the store in place.
  geomtest::WriteRaw(Dir() + "/VekAR1.TMP", Closed({{0, 0}, {2, 2}, {2, 0}, {0, 2}}));
  RunSplitAtCrossingsCommand();
  EXPECT_EQ(QuietIoError, 0);
  EXPECT_EQ(StartsAt(geomtest::ReadRaw(Dir() + "/VekAR1.TMP"), 1, 1), 2);
}

TEST_F(SplitFiles, BrokenSourceWritesNothing) {
  std::ofstream(Dir() + "/IN.TMP", std::ios::binary) << std::string(30, '\x0b');  // not whole records
  geomtest::WriteRaw(Dir() + "/OUT.TMP", {Rec(11, 1, 2, 3)});
  uint8_t status = 0;
  SplitContoursAtCrossingsWithStatus("IN.TMP", "OUT.TMP", status);
  EXPECT_EQ(status, 3);
  EXPECT_EQ(geomtest::ReadRaw(Dir() + "/OUT.TMP").size(), 1u);
}

TEST_F(SplitFiles, DamagedCoordinatesDoNotUpsetTheGrid) {
  TRecords in;
  for (int i = 0; i < 200; ++i) {
    in.push_back(Rec(11, float(i), 0));
    in.push_back(Rec(10, float(i) + 0.5f, 10));
    in.push_back(Rec(10, i % 7 == 0 ? std::nanf("") : float(i), i % 11 == 0 ? INFINITY : 20.0f));
  }
  uint8_t status = 9;
  const TRecords out = Split(in, status);
  EXPECT_EQ(status, 0);
  for (const TVectorRecord& r : out) EXPECT_TRUE(std::isfinite(r.x) && std::isfinite(r.y));
}

TEST_F(SplitFiles, OneSegmentWithThousandsOfCrossings) {
  TRecords in = {Rec(11, 0, 0), Rec(10, 6001, 0)};
  for (int i = 1; i <= 6000; ++i) {
    in.push_back(Rec(11, float(i) + 0.25f, -1));
    in.push_back(Rec(10, float(i) + 0.25f, 1));
  }
  uint8_t status = 9;
  const TRecords out = Split(in, status);
  EXPECT_EQ(status, 0);
  int startsOnTheLine = 0;
  for (const TVectorRecord& r : out)
    if (r.type == kRecContourStart && r.y == 0.0f && r.x > 0.0f) ++startsOnTheLine;
  EXPECT_GE(startsOnTheLine, 12000);  // every crossing on the long line and on its vertical
  EXPECT_NEAR(Length(out), Length(in), 1e-2);
}

TEST_F(SplitFiles, CollinearSetHasNoGridAndFinishes) {
  TRecords in;
  for (int i = 0; i < 500; ++i) {
    in.push_back(Rec(11, float(i), 0));
    in.push_back(Rec(10, float(i) + 1.5f, 0));
  }
  uint8_t status = 9;
  const TRecords out = Split(in, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.size(), in.size());
}

// Random polylines and polygons, small (one cell) and large (a grid of
// cells): nothing crosses afterwards and the drawn length stays.
TEST_F(SplitFiles, RandomSetsHaveNoCrossingLeft) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<double> coordinate(0, 100), step(-4, 4);
  for (int round = 0; round < 6; ++round) {
    const int contours = round < 3 ? 12 : 300;
    TRecords in;
    for (int c = 0; c < contours; ++c) {
      double x = coordinate(random), y = coordinate(random);
      in.push_back(Rec(11, float(x), float(y)));
      for (int p = 0; p < 6; ++p) {
        x += step(random);
        y += step(random);
        in.push_back(Rec(10, float(x), float(y)));
      }
      if (c % 3 == 0) in.push_back(Rec(10, in[in.size() - 7].x, in[in.size() - 7].y));  // closed
    }
    uint8_t status = 9;
    const TRecords out = Split(in, status);
    ASSERT_EQ(status, 0) << round;
    EXPECT_EQ(InteriorCrossings(out), 0) << round;
    EXPECT_NEAR(Length(out), Length(in), 1e-3 * Length(in)) << round;
    EXPECT_GT(out.size(), in.size()) << round;
  }
}

}  // namespace
