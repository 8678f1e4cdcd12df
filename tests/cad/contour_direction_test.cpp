// Contour direction in files: nesting by the strict and the loose rule,
// reversing, dropped records, long contours, Esc, and the orientation and
// area of random nested sets checked with Clipper.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>

#include "cad/contour_direction.h"
#include "frame/main_window.h"
#include "geometry_test_support.h"
#include "frame/quiet_files.h"
#include "support/work_folder.h"

using geomtest::Closed;
using geomtest::Rec;

namespace {

using TContour = std::vector<TVectorRecord>;

std::vector<std::pair<float, float>> Square(float x, float y, float size) {
  return {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

TContour Join(std::initializer_list<TContour> parts) {
  TContour out;
  for (const TContour& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Appends the records (as "SRC.TMP") to an empty "DST.TMP" and gives the
// contours written.
std::vector<TContour> Append(const std::string& folder, const TContour& records, bool strict, bool marks = false) {
  geomtest::WriteRaw(folder + "/SRC.TMP", records);
  geomtest::WriteRaw(folder + "/DST.TMP", {});
  AppendContoursOriented("SRC.TMP", "DST.TMP", marks, false, strict);
  return geomtest::Contours(geomtest::ReadRaw(folder + "/DST.TMP"));
}

// Shoelace area of a contour, positive counter-clockwise (our own check;
// Clipper gives the outside one).
double Area(const TContour& c) {
  double a = 0;
  for (size_t i = 0; i + 1 < c.size(); ++i) a += double(c[i].x) * c[i + 1].y - double(c[i + 1].x) * c[i].y;
  return a / 2;
}

class ContourFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.Entered()); }
  const std::string& Dir() const { return folder_.Path(); }
  torvtest::TWorkFolder folder_;
};

TEST_F(ContourFiles, NestedSquaresAlternateDirection) {
  for (bool strict : {true, false}) {
    // Given with the wrong senses: outer clockwise, hole and island counter.
    const auto out = Append(Dir(), Join({Closed(Square(0, 0, 30), true), Closed(Square(5, 5, 20)),
                                         Closed(Square(10, 10, 10), true)}),
                            strict);
    ASSERT_EQ(out.size(), 3u) << strict;
    EXPECT_GT(Area(out[0]), 0) << strict;
    EXPECT_LT(Area(out[1]), 0) << strict;
    EXPECT_GT(Area(out[2]), 0) << strict;
    EXPECT_NEAR(std::fabs(Area(out[0])), 900, 1e-3);
    for (const TContour& c : out) {
      EXPECT_EQ(c.front().type, kRecContourStart);
      EXPECT_EQ(c.size(), 5u);
    }
  }
}

TEST_F(ContourFiles, StartMarksAndShortContours) {
  const TContour three = {Rec(11, 0, 0, 7), Rec(10, 1, 0), Rec(10, 1, 1)};
  const TContour four = {Rec(11, 5, 5, 7), Rec(10, 6, 5), Rec(10, 6, 6), Rec(10, 5, 5)};
  const auto out = Append(Dir(), Join({three, four, Closed(Square(20, 20, 1), true)}), true, true);
  ASSERT_EQ(out.size(), 2u);  // the start with two points is dropped
  EXPECT_EQ(out[0].size(), 4u);
  EXPECT_EQ(float(out[0][0].z), kOuterStartMark);
  EXPECT_EQ(float(out[1][0].z), kOuterStartMark);
  EXPECT_GT(Area(out[1]), 0);
}

TEST_F(ContourFiles, TouchingSquaresByTheTwoRules) {
  const TContour pair = Join({Closed(Square(0, 0, 1)), Closed(Square(1, 0, 1))});
  const auto strict = Append(Dir(), pair, true);
  ASSERT_EQ(strict.size(), 2u);
  EXPECT_GT(Area(strict[0]), 0);
  EXPECT_LT(Area(strict[1]), 0);  // its left side lies on the first square's right side
  const auto loose = Append(Dir(), pair, false);
  ASSERT_EQ(loose.size(), 2u);
  EXPECT_GT(Area(loose[0]), 0);
  EXPECT_GT(Area(loose[1]), 0);
  // A hole sharing its outer square's left side.
  const TContour shared = Join({Closed(Square(0, 0, 10)), Closed({{0, 2}, {5, 2}, {5, 8}, {0, 8}})});
  const auto strictShared = Append(Dir(), shared, true);
  EXPECT_GT(Area(strictShared[0]), 0);
  EXPECT_GT(Area(strictShared[1]), 0);
  const auto looseShared = Append(Dir(), shared, false);
  EXPECT_LT(Area(looseShared[0]), 0);
  EXPECT_LT(Area(looseShared[1]), 0);
}

TEST_F(ContourFiles, OtherRecordsDroppedAndLeadingPointsStartAtTheFirstPoint) {
  TContour records = {Rec(10, 3, 3), Rec(10, 6, 3), Rec(10, 6, 6), Rec(10, 3, 6), Rec(10, 3, 3)};
  records.push_back(Rec(1, 0, 0));
  records.push_back(Rec(13, 5, 0.5f, 1.0f));  // an arc record: not a point
  const TContour square = Closed(Square(10, 10, 2));
  records.insert(records.end(), square.begin(), square.end());
  records.push_back(Rec(128, 3, 0));
  const auto out = Append(Dir(), records, true);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].size(), 5u);  // no extra start at the origin
  for (const TContour& c : out)
    for (const TVectorRecord& r : c) {
      EXPECT_TRUE(r.type == kRecContourStart || r.type == kRecLinePoint) << int(r.type);
      EXPECT_FALSE(r.x == 0 && r.y == 0);
    }
}

TEST_F(ContourFiles, FlatContourAndVertexOnTheLevel) {
  // All points at one height: no crossing, ascending; alone it is outer, so
  // it is written reversed.
  const TContour flat = {Rec(11, 0, 1), Rec(10, 1, 1), Rec(10, 2, 1), Rec(10, 3, 1)};
  const auto out = Append(Dir(), flat, true);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(float(out[0][0].x), 3.0f);
  // A diamond has vertices on its mid-height line; the level moves past them.
  const auto diamond = Append(Dir(), Closed({{0, 0}, {1, -1}, {2, 0}, {1, 1}}, true), true);
  ASSERT_EQ(diamond.size(), 1u);
  EXPECT_GT(Area(diamond[0]), 0);
}

TEST_F(ContourFiles, ReverseFileContoursTwiceGivesTheSamePoints) {
  TContour records = {Rec(11, 0, 0, 42), Rec(12, 1, 0, 3), Rec(10, 1, 1), Rec(10, 0, 0),
                      Rec(150, 9, 9),    Rec(11, 5, 5, 43), Rec(10, 6, 5), Rec(10, 6, 6)};
  geomtest::WriteRaw(Dir() + "/R.TMP", records);
  ReverseFileContours("R.TMP", -1);
  const auto once = geomtest::ReadRaw(Dir() + "/R.TMP");
  ASSERT_EQ(once.size(), 7u);  // the tool record is dropped
  EXPECT_EQ(once[0].type, kRecContourStart);
  EXPECT_EQ(float(once[0].z), 42.0f);  // the mark stays on the start
  EXPECT_EQ(float(once[1].x), 1.0f);
  EXPECT_EQ(float(once[1].y), 1.0f);
  ReverseFileContours("R.TMP", -1);
  const auto twice = geomtest::ReadRaw(Dir() + "/R.TMP");
  ASSERT_EQ(twice.size(), 7u);
  const TContour expected = {Rec(11, 0, 0, 42), Rec(10, 1, 0, 3), Rec(10, 1, 1), Rec(10, 0, 0, 42),
                             Rec(11, 5, 5, 43), Rec(10, 6, 5),    Rec(10, 6, 6, 43)};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(twice[i].type, expected[i].type) << i;
    EXPECT_EQ(float(twice[i].x), float(expected[i].x)) << i;
    EXPECT_EQ(float(twice[i].y), float(expected[i].y)) << i;
    EXPECT_EQ(float(twice[i].z), float(expected[i].z)) << i;
  }
}

TEST_F(ContourFiles, ReverseWholeFileKeepsEveryRecordAsPoints) {
  geomtest::WriteRaw(Dir() + "/W.TMP", {Rec(1, 0, 0), Rec(11, 1, 1, 5), Rec(10, 2, 2), Rec(150, 3, 3)});
  ReverseWholeVectorFile("W.TMP");
  const auto out = geomtest::ReadRaw(Dir() + "/W.TMP");
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].type, kRecContourStart);
  EXPECT_EQ(float(out[0].x), 3.0f);
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(out[i].type, kRecLinePoint);
  EXPECT_EQ(float(out[2].z), 5.0f);
}

TEST_F(ContourFiles, LongContoursAreHandledWhole) {
  // A circle of 150,000 points, clockwise.
  const int n = 150000;
  std::vector<std::pair<float, float>> points;
  for (int i = 0; i < n; ++i) {
    const double a = -2 * std::numbers::pi * i / n;
    points.push_back({float(100 * std::cos(a)), float(100 * std::sin(a))});
  }
  const TContour circle = Closed(points);
  const auto out = Append(Dir(), circle, true);
  QuietIoError = 0;
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].size(), circle.size());
  EXPECT_GT(Area(out[0]), 0);
  geomtest::WriteRaw(Dir() + "/L.TMP", circle);
  ReverseFileContours("L.TMP", -1);
  EXPECT_EQ(QuietIoError, 0);
  const auto reversed = geomtest::ReadRaw(Dir() + "/L.TMP");
  ASSERT_EQ(reversed.size(), circle.size());
  EXPECT_EQ(float(reversed[1].x), float(circle[circle.size() - 2].x));
  EXPECT_EQ(float(reversed[1].y), float(circle[circle.size() - 2].y));
}

TEST_F(ContourFiles, EscapeStopsAfterTheContourInHand) {
  ClearKeyBuffer();
  PushKeyCode(27);
  const auto out = Append(Dir(), Join({Closed(Square(0, 0, 1)), Closed(Square(5, 0, 1)), Closed(Square(9, 0, 1))}),
                          true);
  EXPECT_EQ(QuietIoError, 1);
  EXPECT_EQ(out.size(), 1u);
  ClearKeyBuffer();
}

TEST_F(ContourFiles, BrokenFilesAreLeftAlone) {
  const std::string broken(40, '\x0a');  // three records and a piece
  std::ofstream(Dir() + "/B.TMP", std::ios::binary) << broken;
  ReverseFileContours("B.TMP", -1);
  ReverseWholeVectorFile("B.TMP");
  EXPECT_EQ(std::filesystem::file_size(Dir() + "/B.TMP"), 40u);
  geomtest::WriteRaw(Dir() + "/DST.TMP", {Rec(1, 7, 7)});
  AppendContoursOriented("B.TMP", "DST.TMP", false, false, true);
  EXPECT_EQ(geomtest::ReadRaw(Dir() + "/DST.TMP").size(), 1u);
}

TEST_F(ContourFiles, AppendKeepsWhatTheTargetHeld) {
  geomtest::WriteRaw(Dir() + "/SRC.TMP", Closed(Square(0, 0, 1)));
  geomtest::WriteRaw(Dir() + "/DST.TMP", {Rec(1, 7, 7)});
  AppendContoursOriented("SRC.TMP", "DST.TMP", false, false, true);
  const auto out = geomtest::ReadRaw(Dir() + "/DST.TMP");
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[0].type, 1);
}

// Random sets of non-overlapping discs, each with rings nested inside, given
// in random senses: every contour comes out counter-clockwise at even depth
// and clockwise at odd depth, by Clipper, with its area unchanged.
TEST_F(ContourFiles, RandomNestingAgreesWithClipper) {
  REQUIRE_CLIPPER();
#ifdef TORV_HAVE_CLIPPER
  std::mt19937 random(99);
  std::uniform_int_distribution<int> corners(5, 30), depthOf(1, 4), coin(0, 1);
  std::uniform_real_distribution<double> wobble(0.9, 1.0);
  for (int round = 0; round < 20; ++round) {
    TContour records;
    std::vector<int> depths;
    std::vector<double> areas;
    for (int gx = 0; gx < 4; ++gx)
      for (int gy = 0; gy < 3; ++gy) {
        const int depth = depthOf(random);
        for (int d = 0; d < depth; ++d) {
          const double r = 40.0 - 9.0 * d;
          const int n = corners(random);
          std::vector<std::pair<float, float>> points;
          for (int i = 0; i < n; ++i) {
            const double a = 2 * std::numbers::pi * i / n;
            const double rr = r * wobble(random);
            points.push_back({float(100 * gx + rr * std::cos(a)), float(100 * gy + rr * std::sin(a))});
          }
          const TContour ring = Closed(points, coin(random) == 1);
          records.insert(records.end(), ring.begin(), ring.end());
          depths.push_back(d);
          areas.push_back(std::fabs(geomtest::ClipperArea(ring)));
        }
      }
    const auto out = Append(Dir(), records, round % 2 == 0);
    ASSERT_EQ(out.size(), depths.size());
    for (size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(geomtest::ClipperCounterClockwise(out[i]), depths[i] % 2 == 0) << round << " " << i;
      EXPECT_NEAR(std::fabs(geomtest::ClipperArea(out[i])), areas[i], 1e-3) << round << " " << i;
    }
  }
#endif
}

}  // namespace
