// Hatching of closed contours: the lines of a plain square, the results of
// bad input, and the lines of several shapes against Clipper's clipping of
// the same scan lines by the even-odd region.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "paths/hatching.h"
#include "paths_test_support.h"

#ifdef TORV_HAVE_CLIPPER
#include <polyclipping/clipper.hpp>
#endif

namespace {

using pathstest::PathsTest;

using TContour = std::vector<std::pair<double, double>>;

struct TSeg {
  double x1, y1, x2, y2;
};

class HatchingTest : public PathsTest {
 protected:
  // Contours as a point file: a type-11 start, type-10 points, closed.
  void WriteContours(const std::string& name, const std::vector<TContour>& contours) const {
    std::vector<TPointRecord> records;
    for (const TContour& c : contours) {
      for (size_t i = 0; i <= c.size(); ++i) {
        const auto& p = c[i % c.size()];
        records.push_back(TPointRecord{static_cast<uint8_t>(i == 0 ? 11 : 10), static_cast<float>(p.first),
                                       static_cast<float>(p.second)});
      }
    }
    WritePoints(name, records);
  }
  void WritePoints(const std::string& name, const std::vector<TPointRecord>& records) const {
    std::ofstream out(Folder() + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TPointRecord)));
  }
  std::vector<TPointRecord> ReadPoints(const std::string& name) const {
    const std::string bytes = pathstest::ReadHostFile(Folder() + "/" + name);
    std::vector<TPointRecord> records(bytes.size() / sizeof(TPointRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(TPointRecord));
    return records;
  }
  // Every segment of a point file (within chains: consecutive points).
  std::vector<TSeg> Segments(const std::vector<TPointRecord>& records) const {
    std::vector<TSeg> segments;
    for (size_t i = 1; i < records.size(); ++i)
      if (records[i].type == 10) segments.push_back({records[i - 1].x, records[i - 1].y, records[i].x, records[i].y});
    return segments;
  }
  uint8_t Hatch(const std::vector<TContour>& contours, THatchParams& params) {
    WriteContours("SRC.H2R", contours);
    uint8_t result = 99;
    HatchContourFile("SRC.H2R", "OUT.H2R", -1, params, 0, result);
    return result;
  }
};

TContour Rect(double x1, double y1, double x2, double y2) { return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}; }

TContour Polygon(double cx, double cy, double r, int n, double phase = 0.1) {
  TContour c;
  for (int k = 0; k < n; ++k) {
    const double a = phase + 2.0 * M_PI * k / n;
    c.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return c;
}

// A star with 7 points: deep notches the scan lines enter and leave.
TContour Star(double cx, double cy, double r1, double r2) {
  TContour c;
  for (int k = 0; k < 14; ++k) {
    const double a = 0.05 + M_PI * k / 7.0;
    const double r = k % 2 ? r2 : r1;
    c.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return c;
}

// Proper crossing of two segments (touching ends do not count).
bool SegmentsCross(const TSeg& a, const TSeg& b) {
  auto side = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  const double d1 = side(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1), d2 = side(a.x1, a.y1, a.x2, a.y2, b.x2, b.y2);
  const double d3 = side(b.x1, b.y1, b.x2, b.y2, a.x1, a.y1), d4 = side(b.x1, b.y1, b.x2, b.y2, a.x2, a.y2);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

std::vector<TSeg> ContourEdges(const std::vector<TContour>& contours) {
  std::vector<TSeg> edges;
  for (const TContour& c : contours)
    for (size_t i = 0; i < c.size(); ++i) {
      const auto& p = c[i];
      const auto& q = c[(i + 1) % c.size()];
      edges.push_back({p.first, p.second, q.first, q.second});
    }
  return edges;
}

size_t CountCrossings(const std::vector<TSeg>& hatch, const std::vector<TContour>& contours) {
  const std::vector<TSeg> edges = ContourEdges(contours);
  size_t crossings = 0;
  for (const TSeg& h : hatch)
    for (const TSeg& e : edges)
      if (SegmentsCross(h, e)) ++crossings;
  return crossings;
}

TEST_F(HatchingTest, ASquareGivesItsLinesFromTheTopDown) {
  THatchParams params;
  params.spacing = 1.0f;
  params.safety = 0.5f;
  params.inside = 1;
  ASSERT_EQ(Hatch({Rect(0, 0, 10, 10)}, params), kHatchOk);
  EXPECT_FLOAT_EQ(float(params.leftX), -0.01f);
  EXPECT_FLOAT_EQ(float(params.upperY), 10.01f);
  const std::vector<TPointRecord> out = ReadPoints("OUT.H2R");
  ASSERT_EQ(out.size(), 22u);  // 9.885 ... 0.885 and 0.115: eleven lines
  for (size_t k = 0; k < 11; ++k) {
    const double y = k < 10 ? 9.885 - static_cast<double>(k) : 0.115;
    const bool increasing = k % 2 == 0;
    SCOPED_TRACE(k);
    EXPECT_EQ(out[2 * k].type, 11);
    EXPECT_EQ(out[2 * k + 1].type, 10);
    EXPECT_NEAR(out[2 * k].y, y, 1e-5);
    EXPECT_NEAR(out[2 * k + 1].y, y, 1e-5);
    EXPECT_NEAR(out[2 * k].x, increasing ? 0.5 : 9.5, 1e-5);
    EXPECT_NEAR(out[2 * k + 1].x, increasing ? 9.5 : 0.5, 1e-5);
  }
}

TEST_F(HatchingTest, TheOutsideOfASquareRunsFromTheRectangleEdges) {
  THatchParams params;
  params.spacing = 1.0f;
  params.safety = 0.5f;
  params.inside = 0;
  params.oneWay = 1;
  params.leftX = -5;
  params.rightX = 15;
  params.upperY = 15;
  params.lowerY = -5;
  ASSERT_EQ(Hatch({Rect(0, 0, 10, 10)}, params), kHatchOk);
  const std::vector<TSeg> lines = Segments(ReadPoints("OUT.H2R"));
  ASSERT_FALSE(lines.empty());
  size_t split = 0;
  for (const TSeg& s : lines) {
    EXPECT_LT(s.x1, s.x2);  // one-way: all towards increasing x
    if (s.y1 > 0 && s.y1 < 10) {
      ++split;
      EXPECT_TRUE((s.x1 == -5 && std::fabs(s.x2 + 0.5) < 1e-5) || (std::fabs(s.x1 - 10.5) < 1e-5 && s.x2 == 15))
          << s.x1 << " " << s.x2 << " at " << s.y1;
    } else {
      EXPECT_EQ(s.x1, -5);
      EXPECT_EQ(s.x2, 15);
    }
  }
  EXPECT_EQ(split, 20u);  // ten lines across the square, two pieces each
}

TEST_F(HatchingTest, BadInputEndsWithItsResult) {
  struct TCase {
    const char* what;
    float spacing, angle;
    uint8_t inside;
    float left, right, upper, lower;
    bool empty;
    uint8_t result;
  } cases[] = {
      {"angle of a full turn", 1.0f, 6.2831855f, 1, 0, 0, 0, 0, false, kHatchBadAngle},
      {"angle below minus a full turn", 1.0f, -7.0f, 1, 0, 0, 0, 0, false, kHatchBadAngle},
      {"empty source", 1.0f, 0.0f, 1, 0, 0, 0, 0, true, kHatchEmptySource},
      {"rectangle inside the contours", 1.0f, 0.0f, 0, 2, 8, 8, 2, false, kHatchRectangleTooSmall},
      {"spacing 0 (tip radius 0)", 0.0f, 0.0f, 1, 0, 0, 0, 0, false, kHatchTooDense},
      {"spacing below 0.001", 0.0009f, 0.0f, 1, 0, 0, 0, 0, false, kHatchTooDense},
      {"negative spacing", -1.0f, 0.0f, 1, 0, 0, 0, 0, false, kHatchTooDense},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.empty)
      WritePoints("SRC.H2R", {});
    else
      WriteContours("SRC.H2R", {Rect(0, 0, 10, 10)});
    THatchParams params;
    params.spacing = c.spacing;
    params.angle = c.angle;
    params.inside = c.inside;
    params.leftX = c.left;
    params.rightX = c.right;
    params.upperY = c.upper;
    params.lowerY = c.lower;
    uint8_t result = 99;
    HatchContourFile("SRC.H2R", "OUT.H2R", -1, params, 0, result);
    EXPECT_EQ(result, c.result);
    EXPECT_TRUE(ReadPoints("OUT.H2R").empty());
    std::remove((Folder() + "/OUT.H2R").c_str());
  }
}

TEST_F(HatchingTest, BrokenCoordinatesAreRefused) {
  WritePoints("SRC.H2R", {{11, 0, 0}, {10, INFINITY, 0}, {10, 5, 5}, {10, 0, 0}});
  THatchParams params;
  uint8_t result = 99;
  HatchContourFile("SRC.H2R", "OUT.H2R", -1, params, 0, result);
  EXPECT_EQ(result, kHatchBadData);
}

TEST_F(HatchingTest, AScanLineThroughAVertexIsMovedAndStaysEven) {
  // Vertices at y = 5.885, exactly on the sixth scan line of a 10-high
  // extents box (10.01 - 0.125 - 4).
  const float v = 5.885f;
  const TContour diamond = {{5, 0}, {10, v}, {5, 10}, {0, v}};
  THatchParams params;
  params.spacing = 1.0f;
  params.safety = 0.01f;
  ASSERT_EQ(Hatch({diamond}, params), kHatchOk);
  const std::vector<TSeg> lines = Segments(ReadPoints("OUT.H2R"));
  ASSERT_EQ(lines.size(), 11u);
  bool moved = false;
  for (const TSeg& s : lines)
    if (std::fabs(s.y1 - v) < 0.3) {
      moved = true;
      EXPECT_NE(s.y1, v);
      EXPECT_NEAR(std::fabs(s.y1 - v), 0.05, 1e-5);
    }
  EXPECT_TRUE(moved);
  EXPECT_EQ(CountCrossings(lines, {diamond}), 0u);
}

TEST_F(HatchingTest, TurnedHatchLinesRunAtTheAngleInsideTheRegion) {
  const std::vector<TContour> shape = {Rect(0, 0, 30, 20), Rect(10, 5, 20, 15)};
  THatchParams params;
  params.spacing = 0.7f;
  params.safety = 0.2f;
  params.angle = 0.5235988f;  // 30 degrees
  ASSERT_EQ(Hatch(shape, params), kHatchOk);
  const std::vector<TSeg> lines = Segments(ReadPoints("OUT.H2R"));
  ASSERT_GT(lines.size(), 40u);
  for (const TSeg& s : lines) {
    EXPECT_NEAR(std::atan2(s.y2 - s.y1, s.x2 - s.x1), s.x2 > s.x1 ? 0.5235988 : 0.5235988 - M_PI, 1e-3);
    const double mx = (s.x1 + s.x2) / 2, my = (s.y1 + s.y2) / 2;
    const bool inOuter = mx > 0 && mx < 30 && my > 0 && my < 20;
    const bool inHole = mx > 10 && mx < 20 && my > 5 && my < 15;
    EXPECT_TRUE(inOuter && !inHole) << mx << " " << my;
  }
  EXPECT_EQ(CountCrossings(lines, shape), 0u);
}

TEST_F(HatchingTest, JoinedChainsNeverCrossAContour) {
  // A U shape: the two arms are separated by a slot 1 wide, so lines of the
  // arms at the same height must not be joined across it.
  const TContour u = {{0, 0}, {21, 0}, {21, 20}, {11, 20}, {11, 4}, {10, 4}, {10, 20}, {0, 20}};
  const std::vector<TContour> shapes[] = {{u}, {Rect(0, 0, 40, 40), Rect(10, 10, 30, 30), Rect(15, 15, 25, 25)}};
  for (const std::vector<TContour>& shape : shapes) {
    THatchParams params;
    params.spacing = 0.8f;
    params.safety = 0.3f;
    params.join = 1;
    ASSERT_EQ(Hatch(shape, params), kHatchOk);
    const std::vector<TPointRecord> out = ReadPoints("OUT.H2R");
    const std::vector<TSeg> segments = Segments(out);
    EXPECT_EQ(CountCrossings(segments, shape), 0u);
    size_t chains = 0;
    for (const TPointRecord& r : out) chains += r.type == 11;
    EXPECT_LT(chains * 4, segments.size());  // mostly joined
  }
  // The slot: no segment of the U's hatch passes through x 10..11 above y 4.
  THatchParams params;
  params.spacing = 0.8f;
  params.safety = 0.3f;
  params.join = 1;
  ASSERT_EQ(Hatch({u}, params), kHatchOk);
  for (const TSeg& s : Segments(ReadPoints("OUT.H2R")))
    if (std::min(s.y1, s.y2) > 4.5) { EXPECT_FALSE(std::min(s.x1, s.x2) < 10.5 && std::max(s.x1, s.x2) > 10.5); }
}

TEST_F(HatchingTest, HatchingInPlacePutsTheLinesBeforeTheContours) {
  const std::vector<TVectorRecord> square = {
      {11, 0, 0, 0}, {10, 10, 0, 0}, {10, 10, 10, 0}, {10, 0, 10, 0}, {10, 0, 0, 0}};
  WriteVectors("SQ.TMP", square);
  HatchContoursInPlace("SQ.TMP", -1, 1.0f);
  const std::vector<TVectorRecord> out = ReadVectors("SQ.TMP");
  ASSERT_GT(out.size(), square.size() + 2);
  const size_t lines = out.size() - square.size();
  EXPECT_EQ(out[0].type, 11);
  for (size_t i = 0; i < lines; ++i) {
    EXPECT_EQ(float(out[i].z), 0.0f);
    EXPECT_GE(float(out[i].x), 0.5f - 1e-5f);
    EXPECT_LE(float(out[i].x), 9.5f + 1e-5f);
  }
  for (size_t i = 0; i < square.size(); ++i) EXPECT_EQ(std::memcmp(&out[lines + i], &square[i], 13), 0);
  EXPECT_FALSE(std::ifstream(Folder() + "/VekH2R0.H2R").good());
  EXPECT_FALSE(std::ifstream(Folder() + "/VekAR12.TMP").good());
}

#ifdef TORV_HAVE_CLIPPER

constexpr double kClipperScale = 1e6;

// The segments of the scan line y inside the even-odd region, each
// shortened by g at both ends, by Clipper's open-path clipping.
std::vector<std::pair<double, double>> ClipScanLine(const std::vector<TContour>& contours, double y, double left,
                                                    double right, double g) {
  ClipperLib::Clipper clipper;
  ClipperLib::Path line = {{static_cast<ClipperLib::cInt>(std::llround((left - 1) * kClipperScale)),
                            static_cast<ClipperLib::cInt>(std::llround(y * kClipperScale))},
                           {static_cast<ClipperLib::cInt>(std::llround((right + 1) * kClipperScale)),
                            static_cast<ClipperLib::cInt>(std::llround(y * kClipperScale))}};
  clipper.AddPath(line, ClipperLib::ptSubject, false);
  for (const TContour& c : contours) {
    ClipperLib::Path path;
    // The contours as the hatching sees them: float coordinates.
    for (const auto& p : c)
      path.push_back({static_cast<ClipperLib::cInt>(std::llround(static_cast<float>(p.first) * kClipperScale)),
                      static_cast<ClipperLib::cInt>(std::llround(static_cast<float>(p.second) * kClipperScale))});
    clipper.AddPath(path, ClipperLib::ptClip, true);
  }
  ClipperLib::PolyTree tree;
  clipper.Execute(ClipperLib::ctIntersection, tree, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
  ClipperLib::Paths open;
  ClipperLib::OpenPathsFromPolyTree(tree, open);
  std::vector<std::pair<double, double>> pieces;
  for (const ClipperLib::Path& p : open) {
    if (p.size() < 2) continue;
    double a = p.front().X / kClipperScale, b = p.back().X / kClipperScale;
    if (a > b) std::swap(a, b);
    a += g;
    b -= g;
    if (b > a) pieces.push_back({a, b});
  }
  std::sort(pieces.begin(), pieces.end());
  return pieces;
}

TEST_F(HatchingTest, LinesMatchClippersClippingOfTheSameScanLines) {
  std::vector<TContour> many;  // over 15000 records: hatched in bands
  for (int i = 0; i < 20; ++i)
    for (int j = 0; j < 20; ++j) many.push_back(Polygon(-95.0 + 10 * i, -95.0 + 10 * j, 4.0 - 0.05 * ((i + j) % 7), 41));
  // Seeded random star-shaped outlines that overlap each other.
  std::mt19937 random(11);
  std::uniform_real_distribution<double> centre(0.0, 50.0), radius(2.0, 9.0);
  std::vector<TContour> overlapping;
  for (int n = 0; n < 30; ++n) {
    const double cx = centre(random), cy = centre(random);
    TContour c;
    for (int k = 0; k < 23; ++k) {
      const double a = 2.0 * M_PI * k / 23;
      const double r = radius(random);
      c.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    overlapping.push_back(c);
  }
  struct TCase {
    const char* what;
    std::vector<TContour> contours;
    float spacing, safety;
  } cases[] = {
      {"thirty random outlines overlapping", overlapping, 0.45f, 0.05f},
      {"square", {Rect(0, 0, 10, 10)}, 1.0f, 0.5f},
      {"square with a hole", {Rect(0, 0, 30, 20), Rect(10, 5, 20, 15)}, 0.9f, 0.25f},
      {"hole with islands",
       {Rect(0, 0, 40, 40), Polygon(20, 20, 15, 33), Rect(14, 14, 19, 19), Star(25, 25, 4, 1.5)},
       0.37f,
       0.1f},
      {"star and overlapping circles", {Star(0, 0, 12, 4), Polygon(3, 3, 5, 50), Polygon(-4, 2, 5, 47)}, 0.5f, 0.05f},
      {"four hundred circles in bands", many, 1.4f, 0.2f},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    THatchParams params;
    params.spacing = c.spacing;
    params.safety = c.safety;
    params.oneWay = 1;
    ASSERT_EQ(Hatch(c.contours, params), kHatchOk);
    const std::vector<TSeg> lines = Segments(ReadPoints("OUT.H2R"));
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(CountCrossings(lines, c.contours), 0u);
    std::map<float, std::vector<std::pair<double, double>>> ours;
    for (const TSeg& s : lines) {
      ASSERT_EQ(s.y1, s.y2);
      ASSERT_LT(s.x1, s.x2);
      ours[static_cast<float>(s.y1)].push_back({s.x1, s.x2});
    }
    // Where neighbouring lines lie farther apart than a nudged spacing, the
    // scan lines between them have nothing to hatch.
    for (auto it = std::next(ours.begin()); it != ours.end(); ++it) {
      const double upper = it->first, lower = std::prev(it)->first;
      for (double y = upper - c.spacing; y > lower + 0.6 * c.spacing; y -= c.spacing)
        EXPECT_TRUE(ClipScanLine(c.contours, y, params.leftX, params.rightX, c.safety).empty()) << "missing line " << y;
    }
    size_t compared = 0;
    for (auto& [y, pieces] : ours) {
      std::sort(pieces.begin(), pieces.end());
      const auto reference = ClipScanLine(c.contours, y, params.leftX, params.rightX, c.safety);
      ASSERT_EQ(pieces.size(), reference.size()) << "scan line " << y;
      for (size_t k = 0; k < pieces.size(); ++k) {
        EXPECT_NEAR(pieces[k].first, reference[k].first, 1e-4) << "scan line " << y;
        EXPECT_NEAR(pieces[k].second, reference[k].second, 1e-4) << "scan line " << y;
        ++compared;
      }
    }
    EXPECT_GT(compared, 8u);
  }
}

#endif

}  // namespace
