// The contour offset engine: corner arcs, inner corners, loop removal in a
// narrow neck, its error codes, and the distance of the traced chain from
// the input on random contours; engine and result writer end to end.
#include <algorithm>
#include <cmath>
#include <random>

#include "frame/quiet_files.h"
#include "paths/contour_offset.h"
#include "paths/offset_loops.h"
#include "paths/offset_results.h"
#include "paths_test_support.h"

namespace {

using pathstest::Rec;

constexpr float kDeg20 = 0.3490658f;
constexpr float kPiF = 3.14159265f;

struct TPoint {
  double x, y;
};
using TContour = std::vector<TPoint>;

// A closed contour: a start record, the points, the first point again.
void AppendContour(std::vector<TVectorRecord>& out, const TContour& c) {
  out.push_back(Rec(11, float(c[0].x), float(c[0].y)));
  for (size_t i = 1; i < c.size(); ++i) out.push_back(Rec(10, float(c[i].x), float(c[i].y)));
  out.push_back(Rec(10, float(c[0].x), float(c[0].y)));
}

double SegmentDistance(double px, double py, const TPoint& a, const TPoint& b) {
  const double vx = b.x - a.x, vy = b.y - a.y, len2 = vx * vx + vy * vy;
  double t = len2 > 0 ? ((px - a.x) * vx + (py - a.y) * vy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * vx - px, a.y + t * vy - py);
}

double ContourDistance(double px, double py, const std::vector<TContour>& contours) {
  double best = 1e300;
  for (const TContour& c : contours)
    for (size_t i = 0; i < c.size(); ++i) best = std::min(best, SegmentDistance(px, py, c[i], c[(i + 1) % c.size()]));
  return best;
}

const TContour kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};  // counter-clockwise

class ContourOffsetTest : public pathstest::PathsTest {
 protected:
  void Offset(const std::vector<TContour>& contours, uint8_t side, float d, float rounding = kDeg20,
              float inner = kPiF) {
    std::vector<TVectorRecord> records;
    for (const TContour& c : contours) AppendContour(records, c);
    WriteVectors("IN.TMP", records);
    OffsetContourFile("IN.TMP", side, d, rounding, inner);
  }
  std::vector<TOffsetRecord> Load(const char* name) {
    std::vector<TOffsetRecord> r;
    LoadOffsetRecordFile(name, r);
    return r;
  }
  // Checks the index against the chain and contour files.
  void ExpectConsistentFiles() {
    const std::vector<TOffsetRecord> contours = Load("VekAR7.TMP"), chain = Load("VekAR6.TMP");
    std::vector<int32_t> index;
    ASSERT_TRUE(LoadOffsetIndexFile("VekAR5.TMP", index));
    ASSERT_EQ(index.size(), contours.size());  // one per segment plus the total; the end marker pairs with it
    for (size_t i = 1; i < index.size(); ++i) EXPECT_LE(index[i - 1], index[i]);
    EXPECT_EQ(size_t(index.back()), chain.size());
  }
};

TEST_F(ContourOffsetTest, OutwardSquareGetsSixArcPointsPerCornerAndStaysAtTheDistance) {
  Offset({kSquare}, 1, 1.0f);  // right of a counter-clockwise contour: outward
  ASSERT_EQ(ErrorCode, 0);
  const std::vector<TOffsetRecord> prepared = Load("VekAR7.TMP");
  ASSERT_EQ(prepared.size(), 4u * 6u + 1u);
  EXPECT_EQ(prepared.back().type, kOffsetContourStart);
  // Every corner became 6 points close to it, 18 degrees apart.
  for (int corner = 0; corner < 4; ++corner) {
    const TPoint& v = kSquare[size_t(corner)];
    double lastAngle = 0;
    for (int k = 0; k < 6; ++k) {
      const TOffsetRecord& r = prepared[size_t(corner * 6 + k)];
      EXPECT_LT(std::hypot(r.x - v.x, r.y - v.y), 0.004) << corner << " " << k;
      if (k > 0) {
        const TOffsetRecord& p = prepared[size_t(corner * 6 + k - 1)];
        const double a = std::atan2(r.y - p.y, r.x - p.x);
        if (k > 1) {
          double step = a - lastAngle;
          if (step < -M_PI) step += 2 * M_PI;
          EXPECT_NEAR(step * 180 / M_PI, 18.0, 0.5);
        }
        lastAngle = a;
      }
    }
  }
  ExpectConsistentFiles();
  // A convex contour outward: every chain point lies on the offset, at d
  // along the sides and at most d / cos(9 deg) at the polygon's arc corners.
  const std::vector<TOffsetRecord> chain = Load("VekAR6.TMP");
  ASSERT_GT(chain.size(), 24u);
  for (const TOffsetRecord& r : chain) {
    const double x = r.x, y = r.y, dist = ContourDistance(x, y, {kSquare});
    EXPECT_GE(dist, 1.0 - 0.004) << x << " " << y;
    EXPECT_LE(dist, 1.0 / std::cos(9 * M_PI / 180) + 0.004) << x << " " << y;
    const double value = r.value;
    EXPECT_NEAR(value, 1.0, 0.001);
  }
}

TEST_F(ContourOffsetTest, InwardSquareKeepsSharpCorners) {
  Offset({kSquare}, 0, 1.0f);
  ASSERT_EQ(ErrorCode, 0);
  EXPECT_EQ(Load("VekAR7.TMP").size(), 5u);  // no arc points
  ExpectConsistentFiles();
  const std::vector<TOffsetRecord> chain = Load("VekAR6.TMP");
  ASSERT_FALSE(chain.empty());
  for (const TOffsetRecord& r : chain) EXPECT_NEAR(ContourDistance(r.x, r.y, {kSquare}), 1.0, 0.004);
  for (const TPoint corner : {TPoint{1, 1}, TPoint{9, 1}, TPoint{9, 9}, TPoint{1, 9}}) {
    bool found = false;
    for (const TOffsetRecord& r : chain) found |= std::hypot(r.x - corner.x, r.y - corner.y) < 0.003;
    EXPECT_TRUE(found) << corner.x << " " << corner.y;
  }
  // With an inner limit of 36 degrees the right-angled corners are sharp
  // (type 1): the chain runs into every contour vertex, at distance 0.
  Offset({kSquare}, 0, 1.0f, kDeg20, 0.6283185f);
  ASSERT_EQ(ErrorCode, 0);
  const std::vector<TOffsetRecord> stops = Load("VekAR6.TMP");
  for (const TPoint& corner : kSquare) {
    bool found = false;
    for (const TOffsetRecord& r : stops) found |= std::hypot(r.x - corner.x, r.y - corner.y) < 0.003 && r.value < 0.01;
    EXPECT_TRUE(found) << corner.x << " " << corner.y;
  }
}

// A saw tooth of 4000 outer corners with a rounding angle of about 1 degree
// overflows the working table; the arc step grows until the arcs fit.
TEST_F(ContourOffsetTest, CornerArcsThatOverflowAreRetriedCoarser) {
  TContour saw;
  for (int i = 0; i < 4000; ++i) saw.push_back({i * 0.5, (i % 2) * 2.0 + 5.0});
  saw.push_back({2000, 0});
  saw.push_back({0, 0});
  Offset({saw}, 0, 0.1f, 0.02f);  // left of this clockwise contour: outward
  ASSERT_EQ(ErrorCode, 0);
  const size_t vertices = Load("VekAR7.TMP").size() - 1;
  EXPECT_LT(vertices, size_t(kMaxContourVertices));
  // 2000 tooth tips turn by about 152 degrees: at 1.1 degrees they would need
  // 270,000 arc points; the step grows by 5 degrees a try, and the first that
  // fits (about 11 degrees) gives each tip 15 points.
  EXPECT_GT(vertices, 2000u * 15u) << vertices;
  ExpectConsistentFiles();

  // A circle of 20000 points with a zigzag of 0.0002 mm: at a rounding angle
  // of 0.2 degrees its arcs overflow, and thinning removes the zigzag.
  TContour noisy;
  for (int i = 0; i < 20000; ++i) {
    const double a = 2 * M_PI * i / 20000, r = 100 + (i % 2 ? 0.0002 : -0.0002);
    noisy.push_back({r * std::cos(a), r * std::sin(a)});
  }
  Offset({noisy}, 1, 0.5f, 0.0035f);  // outward
  ASSERT_EQ(ErrorCode, 0);
  const size_t thinned = Load("VekAR7.TMP").size() - 1;
  EXPECT_LT(thinned, 10000u);
  ExpectConsistentFiles();
}

// Two arms joined by a bar 2 high; offset inward by 1.5 the bar vanishes: the
// points at the full distance form two runs, one per arm, and the chain
// crosses the bar only below the full distance.
TEST_F(ContourOffsetTest, NarrowNeckSplitsTheOffsetInTwo) {
  const TContour u = {{0, 0}, {24, 0}, {24, 10}, {14, 10}, {14, 2}, {10, 2}, {10, 10}, {0, 10}};
  Offset({u}, 0, 1.5f);
  ASSERT_EQ(ErrorCode, 0);
  ExpectConsistentFiles();
  std::vector<TOffsetRecord> chain = Load("VekAR6.TMP");
  ASSERT_GT(chain.size(), 3u);
  chain.pop_back();  // end marker
  chain.pop_back();  // closing point
  int runs = 0;
  for (size_t i = 0; i < chain.size(); ++i) {
    const bool full = chain[i].value >= 0.99;
    const bool prevFull = chain[(i + chain.size() - 1) % chain.size()].value >= 0.99;
    if (full && !prevFull) ++runs;
    if (full) {
      const double x = chain[i].x, y = chain[i].y;
      EXPECT_GE(ContourDistance(x, y, {u}), 1.5 - 0.005) << x << " " << y;
      EXPECT_TRUE(x < 9.0 || x > 15.0) << x << " " << y;
    }
  }
  EXPECT_EQ(runs, 2);
}

TEST_F(ContourOffsetTest, ErrorsOfTheEngine) {
  // Fewer than 4 records: error 100 and no work files.
  WriteVectors("IN.TMP", {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1, 1)});
  OffsetContourFile("IN.TMP", 0, 1.0f, kDeg20, kPiF);
  EXPECT_EQ(ErrorCode, 100);
  EXPECT_FALSE(FileExistsPlain("VekAR7.TMP"));
  EXPECT_FALSE(FileExistsPlain("VekAR6.TMP"));

  // A contour of 32766 points: error 2.
  ErrorCode = 0;
  TContour circle;
  for (int i = 0; i < 32800; ++i) {
    const double a = 2 * M_PI * i / 32800;
    circle.push_back({300 * std::cos(a), 300 * std::sin(a)});
  }
  Offset({circle}, 0, 1.0f);
  EXPECT_EQ(ErrorCode, 2);

  // 20000 contours: error 3.
  ErrorCode = 0;
  std::vector<TContour> many;
  for (int i = 0; i < 20000; ++i) {
    const double x = (i % 200) * 3.0, y = (i / 200) * 3.0;
    many.push_back({{x, y}, {x + 1, y}, {x, y + 1}});
  }
  Offset(many, 1, 0.1f);
  EXPECT_EQ(ErrorCode, 3);

  // A caller's quiet code survives a successful run.
  ErrorCode = -2;
  Offset({kSquare}, 1, 1.0f);
  EXPECT_EQ(ErrorCode, -2);
}

// Seeded random star-shaped contours, some with a hole, offset by up to 3 mm
// so that narrow parts vanish: every chain point at the full distance lies
// at least d from every input contour (within the hair the preparation moves
// the vertices), and the work files agree.
TEST_F(ContourOffsetTest, RandomContoursKeepTheirDistance) {
  for (int seed = 60; seed < 100; ++seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<TContour> contours;
    for (int c = 0; c < 1 + seed % 3; ++c) {
      const double cx = 26 * c;
      const int n = 12 + int(unit(rng) * 80);
      TContour star;
      for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * (i + 0.8 * unit(rng)) / n, r = 3 + 9 * unit(rng);
        star.push_back({cx + r * std::cos(a), r * std::sin(a)});
      }
      contours.push_back(star);
      if (unit(rng) < 0.5) {  // a clockwise hole inside the star
        TContour hole;
        const int m = 3 + int(unit(rng) * 30);
        const double r = 1 + 1.5 * unit(rng);
        for (int i = 0; i < m; ++i) {
          const double a = -2 * M_PI * i / m;
          hole.push_back({cx + r * std::cos(a), r * std::sin(a)});
        }
        contours.push_back(hole);
      }
    }
    const float d = float(0.05 + 3 * unit(rng));
    const float rounding = unit(rng) < 0.5 ? kDeg20 : float(0.05 + unit(rng));
    const float inner = unit(rng) < 0.7 ? kPiF : 0.6283185f;
    ErrorCode = 0;
    Offset(contours, uint8_t(seed & 1), d, rounding, inner);
    ASSERT_EQ(ErrorCode, 0) << "seed " << seed;
    ExpectConsistentFiles();
    for (const TOffsetRecord& r : Load("VekAR6.TMP")) {
      if (r.value < 0.999) continue;
      const double x = r.x, y = r.y;
      EXPECT_GE(ContourDistance(x, y, contours), d - 0.008) << "seed " << seed << " at " << x << " " << y;
    }
  }
}

// Degenerate input never crashes or hangs: the engine ends with a result or
// one of its codes, and a result has consistent work files.
TEST_F(ContourOffsetTest, DegenerateInputEndsWithResultOrCode) {
  std::mt19937 rng(777);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double scales[] = {1e-3, 1.0, 1e4, 1e7};
  for (int run = 0; run < 16; ++run) {
    std::vector<TContour> contours;
    const double scale = scales[run % 4];
    for (int c = 0; c < 1 + run % 3; ++c) {
      TContour p;  // random, self-crossing, with spikes and repeats
      const int n = 3 + int(unit(rng) * 30);
      for (int i = 0; i < n; ++i) {
        p.push_back({scale * unit(rng), scale * unit(rng)});
        if (i % 7 == 3) p.push_back(p.back());
        if (i % 11 == 5) p.push_back(p[p.size() - 2]);  // back along the same line
      }
      contours.push_back(p);
    }
    contours.push_back({{0, 0}, {5, 0}, {5, 5}, {0, 5}});  // two squares sharing an edge
    contours.push_back({{5, 0}, {10, 0}, {10, 5}, {5, 5}});
    contours.push_back({{20, 0}, {20.0005, 0}, {20.0005, 0.0005}});  // below the duplicate gap
    ErrorCode = 0;
    Offset(contours, uint8_t(run % 2), float(0.05 + unit(rng) * scale * 0.05), float(0.05 + unit(rng)));
    const TErrorCode code = ErrorCode;
    EXPECT_TRUE(code == 0 || code == 2 || code == 6 || code == 7 || code == 8 || code == 10 || code == 13)
        << "run " << run << " code " << code;
    if (code == 0) ExpectConsistentFiles();
  }
}

// Engine and result writer: the pieces on the exact offset at b lie at b from
// the contour (within the chord error of the corner arcs).
TEST_F(ContourOffsetTest, EngineAndResultWriterEndToEnd) {
  const TContour u = {{0, 0}, {24, 0}, {24, 10}, {14, 10}, {14, 2}, {10, 2}, {10, 10}, {0, 10}};
  const float b = 1.5f, c = 1.575f;
  Offset({u, {{30, 0}, {40, 0}, {35, 8}}}, 1, c);
  ASSERT_EQ(ErrorCode, 0);
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, c, b, 0.0f, 1, -1, 1);
  const std::vector<TVectorRecord> out = ReadVectors("MAIN.TMP");
  ASSERT_GT(out.size(), 10u);
  int pieces = 0;
  for (const TVectorRecord& r : out) {
    pieces += r.type == 11;
    const double x = r.x, y = r.y;
    const double dist = ContourDistance(x, y, {u, {{30, 0}, {40, 0}, {35, 8}}});
    EXPECT_GE(dist, b - 0.005) << x << " " << y;
    EXPECT_LE(dist, b / std::cos(9 * M_PI / 180) + 0.005) << x << " " << y;
  }
  EXPECT_GE(pieces, 2);
}

}  // namespace
