// Offset chain points as a point file, the point and vector file converters,
// and moving a closed contour's start to its topmost point.
#include <gtest/gtest.h>

#include <vector>

#include "paths/offset_results.h"
#include "paths/point_files.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

class PointFilesTest : public PathsTest {};

TEST_F(PointFilesTest, PointAndVectorFilesConvertBothWays) {
  const TPointRecord points[3] = {{11, 1.5f, 2.5f}, {10, -3, 4}, {12, 5, 6.25f}};
  std::ofstream(Folder() + "/P.H2R", std::ios::binary).write(reinterpret_cast<const char*>(points), 27);
  ConvertPointFileToVectorFile("P.H2R", "V.TMP", false);
  const std::vector<TVectorRecord> vectors = ReadVectors("V.TMP");
  ASSERT_EQ(vectors.size(), 3u);
  for (const TVectorRecord& r : vectors) EXPECT_EQ(float(r.z), 0.0f);
  ConvertVectorFileToPointFile("V.TMP", "Q.H2R", false);
  EXPECT_EQ(pathstest::ReadHostFile(Folder() + "/Q.H2R"),
            std::string(reinterpret_cast<const char*>(points), 27));
  // Appending to a missing target writes nothing.
  ConvertPointFileToVectorFile("P.H2R", "MISSING.TMP", true);
  EXPECT_FALSE(std::ifstream(Folder() + "/MISSING.TMP").good());
}

TEST_F(PointFilesTest, ChainPointsBecomeAPointFileWithTheirExtents) {
  const TOffsetRecord chain[] = {{11, -50.0, 70.0, 1.0}, {10, 1.25, 2.5, 0.5}, {10, 3.0, -4.0, 1.0},
                                 {12, -2.0, 1.0, 1.0}, {11, -50.0, 70.0, 0.0}};
  std::ofstream out(Folder() + "/VekAR6.TMP", std::ios::binary);
  out.write(reinterpret_cast<const char*>(chain), sizeof chain);
  out.write("\x0a\x01", 2);  // a torn last record is not read
  out.close();
  float minX, minY, maxX, maxY;
  ConvertOffsetPointsWithBounds(minX, minY, maxX, maxY);
  EXPECT_EQ(minX, -2.0f);
  EXPECT_EQ(minY, -4.0f);
  EXPECT_EQ(maxX, 3.0f);
  EXPECT_EQ(maxY, 2.5f);
  const std::string bytes = pathstest::ReadHostFile(Folder() + "/VekH2R0.H2R");
  ASSERT_EQ(bytes.size(), 5u * 9);
  std::vector<TPointRecord> points(5);
  std::memcpy(points.data(), bytes.data(), bytes.size());
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(points[i].type, chain[i].type);
    EXPECT_EQ(float(points[i].x), static_cast<float>(chain[i].x));
    EXPECT_EQ(float(points[i].y), static_cast<float>(chain[i].y));
  }
  // Without a chain file: an empty point file and the empty extents.
  std::remove((Folder() + "/VekAR6.TMP").c_str());
  ConvertOffsetPointsWithBounds(minX, minY, maxX, maxY);
  EXPECT_EQ(minX, 10000.0f);
  EXPECT_EQ(maxY, -10000.0f);
  EXPECT_TRUE(pathstest::ReadHostFile(Folder() + "/VekH2R0.H2R").empty());
}

TEST_F(PointFilesTest, ClosedContoursStartAtTheirTopmostPoint) {
  struct TCase {
    const char* what;
    std::vector<TVectorRecord> input;
    std::vector<TVectorRecord> want;
  } cases[] = {
      {"counter-clockwise square from the origin",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0)},
       {Rec(11, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10)}},
      {"equal heights: the larger x",
       {Rec(11, 0, 0), Rec(10, 0, 10, 2), Rec(10, 10, 10, 3), Rec(10, 10, 0), Rec(10, 0, 0)},
       {Rec(11, 10, 10, 3), Rec(10, 10, 0), Rec(10, 0, 0), Rec(10, 0, 10, 2), Rec(10, 10, 10, 3)}},
      {"already at the top",
       {Rec(11, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0), Rec(10, 10, 10)},
       {Rec(11, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0), Rec(10, 10, 10)}},
      {"an open contour keeps its points",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10)},
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteVectors("C.TMP", c.input);
    RotateContourStartToTop("C.TMP");
    const std::vector<TVectorRecord> got = ReadVectors("C.TMP");
    ASSERT_EQ(got.size(), c.want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(std::memcmp(&got[i], &c.want[i], 13), 0) << "record " << i;
    EXPECT_FALSE(std::ifstream(Folder() + "/C.BAK").good());
  }
}

}  // namespace
