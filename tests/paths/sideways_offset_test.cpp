// Sideways offset of open paths: lines, corners, closed paths, point squares,
// the stepped offset, point dropping and the removal of parts near a
// reference.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "paths/sideways_offset.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

class SidewaysOffsetTest : public PathsTest {};

struct TPt {
  uint8_t type;
  double x, y;
};

std::vector<TVectorRecord> Offset(const std::vector<TVectorRecord>& records, int flags, double d) {
  TVectorArray input, output;
  EXPECT_TRUE(AllocRecordArray(input, static_cast<int32_t>(records.size())));
  std::copy(records.begin(), records.end(), input.records);
  OffsetOpenPaths(input, output, flags, d);
  std::vector<TVectorRecord> out(output.records, output.records + output.count);
  FreeRecordArray(input);
  FreeRecordArray(output);
  return out;
}

void ExpectPoints(const std::vector<TVectorRecord>& out, const std::vector<TPt>& want) {
  ASSERT_EQ(out.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(out[i].type, want[i].type);
    EXPECT_NEAR(out[i].x, want[i].x, 1e-5);
    EXPECT_NEAR(out[i].y, want[i].y, 1e-5);
    EXPECT_EQ(float(out[i].z), 0.0f);
  }
}

TEST_F(SidewaysOffsetTest, PathsMoveToTheSideOfTheirSign) {
  struct TCase {
    const char* what;
    std::vector<TVectorRecord> input;
    int flags;
    double d;
    std::vector<TPt> want;
  } cases[] = {
      {"line to the left", {Rec(11, 0, 0, 7), Rec(10, 10, 0, 7)}, 0, 1.0, {{11, 0, 1}, {10, 10, 1}}},
      {"line to the right", {Rec(11, 0, 0), Rec(10, 10, 0)}, 0, -1.0, {{11, 0, -1}, {10, 10, -1}}},
      {"L path: the corner", {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10)}, 0, -1.0,
       {{11, 0, -1}, {10, 11, -1}, {10, 11, 10}}},
      {"a path begun by a line point, repeats ignored",
       {Rec(10, 0, 0), Rec(10, 0, 0), Rec(10, 5, 0), Rec(10, 5, 0), Rec(10, 10, 0)}, 0, 2.0,
       {{11, 0, 2}, {10, 5, 2}, {10, 10, 2}}},
      {"closed square outwards starts at its closing corner",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0)}, 0, -1.0,
       {{11, -1, -1}, {10, 11, -1}, {10, 11, 11}, {10, -1, 11}, {10, -1, -1}}},
      {"a point becomes a square", {Rec(11, 3, 4), Rec(10, 3, 4)}, kSidewaysPointSquares, 0.5,
       {{11, 2.5, 3.5}, {10, 3.5, 3.5}, {10, 3.5, 4.5}, {10, 2.5, 4.5}, {10, 2.5, 3.5}}},
      {"a point without the flag gives nothing", {Rec(11, 3, 4), Rec(10, 3, 4)}, 0, 0.5, {}},
      {"other records take no part",
       {Rec(128, 1, 0), Rec(11, 0, 0), Rec(12, 50, 50, 3), Rec(10, 10, 0), Rec(9, 0, 0)}, 0, 1.0,
       {{11, 0, 1}, {10, 10, 1}}},
      {"two paths", {Rec(11, 0, 0), Rec(10, 10, 0), Rec(11, 0, 5), Rec(10, 0, 10)}, 0, 1.0,
       {{11, 0, 1}, {10, 10, 1}, {11, -1, 5}, {10, -1, 10}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectPoints(Offset(c.input, c.flags, c.d), c.want);
  }
}

TEST_F(SidewaysOffsetTest, AHairpinRejectsItsCornerAndCleaningRemovesTheNearPart) {
  // A hairpin 1 wide offset by 1 inwards: the second corner cannot be built
  // and every offset segment comes closer than |d| / 1.01 to the input.
  const std::vector<TVectorRecord> hairpin = {Rec(11, 0, 0), Rec(10, 20, 0), Rec(10, 20, 1), Rec(10, 0, 1)};
  ExpectPoints(Offset(hairpin, 0, 1.0), {{11, 0, 1}, {10, 19, 1}, {10, 0, 0}});
  const size_t before = TranscriptLines().size();
  EXPECT_TRUE(Offset(hairpin, kSidewaysClean | kSidewaysQuietClean, 1.0).empty());
  EXPECT_EQ(TranscriptLines().size(), before);  // quiet: no report
  // Without the quiet flag the count is reported.
  EXPECT_TRUE(Offset(hairpin, kSidewaysClean, 1.0).empty());
  const std::vector<std::string> lines = TranscriptLines();
  ASSERT_GT(lines.size(), before);
  EXPECT_NE(lines.back().find("Ecken nicht erzeugbar"), std::string::npos) << lines.back();
  // A corner that is kept leaves the far part: a U 4 wide offset by 1 inwards.
  const std::vector<TVectorRecord> u = {Rec(11, 0, 10), Rec(10, 0, 0), Rec(10, 4, 0), Rec(10, 4, 10)};
  ExpectPoints(Offset(u, kSidewaysClean, 1.0), {{11, 1, 10}, {10, 1, 1}, {10, 3, 1}, {10, 3, 10}});
}

TEST_F(SidewaysOffsetTest, SteppedOffsetReachesTheFullDistance) {
  TVectorArray input, output;
  ASSERT_TRUE(AllocRecordArray(input, 3));
  input.records[0] = Rec(11, 0, 0);
  input.records[1] = Rec(10, 10, 0);
  input.records[2] = Rec(10, 10, 10);
  OffsetPathsInSteps(input, output, 0, -1.0);
  std::vector<TVectorRecord> out(output.records, output.records + output.count);
  ExpectPoints(out, {{11, 0, -1}, {10, 11, -1}, {10, 11, 10}});
  FreeRecordArray(input);
  FreeRecordArray(output);
}

TEST_F(SidewaysOffsetTest, DropClosePointsKeepsStartsAndPathEnds) {
  struct TCase {
    const char* what;
    std::vector<TVectorRecord> input;
    std::vector<TPt> want;
  } cases[] = {
      {"close points dropped, the end kept",
       {Rec(11, 0, 0), Rec(10, 5, 0), Rec(10, 5.0005f, 0), Rec(10, 5.0009f, 0)},
       {{11, 0, 0}, {10, 5.0009, 0}}},
      {"the first point after a start stays", {Rec(11, 0, 0), Rec(10, 0, 0), Rec(10, 0.0002f, 0)},
       {{11, 0, 0}, {10, 0.0002, 0}}},
      {"other types go, a start on the last end stays",
       {Rec(11, 0, 0), Rec(10, 5, 0), Rec(150, 1, 1), Rec(11, 5, 0), Rec(10, 9, 0)},
       {{11, 0, 0}, {10, 5, 0}, {11, 5, 0}, {10, 9, 0}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TVectorArray array;
    ASSERT_TRUE(AllocRecordArray(array, static_cast<int32_t>(c.input.size())));
    std::copy(c.input.begin(), c.input.end(), array.records);
    DropClosePoints(array, 0.001);
    std::vector<TVectorRecord> out(array.records, array.records + array.count);
    ASSERT_EQ(out.size(), c.want.size());
    for (size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].type, c.want[i].type);
      EXPECT_NEAR(out[i].x, c.want[i].x, 1e-6);
    }
    FreeRecordArray(array);
  }
}

TEST_F(SidewaysOffsetTest, FilesAreOffsetAndCleanedAgainstAReference) {
  WriteVectors("SRC.TMP", {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10)});
  OffsetPathsSideways("SRC.TMP", "OUT.TMP", 0, -1.0);
  const std::vector<TVectorRecord> out = ReadVectors("OUT.TMP");
  ASSERT_EQ(out.size(), 3u);
  EXPECT_FLOAT_EQ(float(out[1].x), 11.0f);
  EXPECT_FLOAT_EQ(float(out[1].y), -1.0f);

  // A line from x 0 to 30; the reference covers x 10..20 just below it:
  // the middle part goes and the rest falls into two paths.
  WriteVectors("LINE.TMP", {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 20, 0), Rec(10, 30, 0)});
  WriteVectors("REF.TMP", {Rec(11, 10, -0.5f), Rec(10, 20, -0.5f)});
  RemovePathPartsNearReference("LINE.TMP", "PART.TMP", "REF.TMP", 1.0);
  const std::vector<TVectorRecord> part = ReadVectors("PART.TMP");
  ASSERT_EQ(part.size(), 4u);
  EXPECT_EQ(part[0].type, 11);
  EXPECT_EQ(float(part[1].x), 10.0f);
  EXPECT_EQ(part[2].type, 11);
  EXPECT_EQ(float(part[2].x), 20.0f);
  EXPECT_EQ(float(part[3].x), 30.0f);
  WriteVectors("EMPTY.TMP", {});
  RemovePathPartsNearReference("EMPTY.TMP", "PART.TMP", "REF.TMP", 1.0);
  EXPECT_TRUE(ReadVectors("PART.TMP").empty());
}

}  // namespace
