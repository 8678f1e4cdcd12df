// Hatching inside the last offset, unjoined paths, corner stops and depth
// paths: each on a small chain fixture, and the commands on a real offset.
#include "paths/offset_variants.h"

#include <algorithm>
#include <cmath>

#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "paths/offset_results.h"
#include "paths/offset_tolerances.h"
#include "platform/backend.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

TOffsetRecord Chain(uint8_t type, double x, double y, double value) { return TOffsetRecord{type, x, y, value}; }

// A closed chain around the axis-parallel rectangle, counter-clockwise, in
// the layout of "VekAR6.TMP" (first point repeated, then the end marker).
std::vector<TOffsetRecord> RectangleChain(double x1, double y1, double x2, double y2, double value = 1.0) {
  return {Chain(11, x1, y1, value), Chain(10, x2, y1, value), Chain(10, x2, y2, value), Chain(10, x1, y2, value),
          Chain(10, x1, y1, value), Chain(11, x1, y1, 0)};
}

struct TSegment {
  float x1, y1, x2, y2;
};

// The hatch lines of a vector file: each type-11 record with its type-10 successor.
std::vector<TSegment> Segments(const std::vector<TVectorRecord>& records) {
  std::vector<TSegment> out;
  for (size_t i = 0; i + 1 < records.size(); ++i) {
    if (records[i].type == 11 && records[i + 1].type == 10) {
      out.push_back({records[i].x, records[i].y, records[i + 1].x, records[i + 1].y});
    }
  }
  return out;
}

class OffsetVariantsTest : public PathsTest {
 protected:
  void WriteSquare(const std::string& name, float x, float y, float size) {
    WriteVectors(name, {Rec(11, x, y), Rec(10, x + size, y), Rec(10, x + size, y + size), Rec(10, x, y + size),
                        Rec(10, x, y)});
  }
  const TExtentsPair tiny_ = {{1, 5, 5}, {5, 5, 5}};
};

TEST_F(OffsetVariantsTest, HatchesInsideTheLastOffset) {
  ASSERT_TRUE(SaveOffsetRecordFile(kOffsetChainFile, RectangleChain(0, 0, 10, 10)));
  HatchInsideLastOffset("HATCH.TMP", "", 1, -1, tiny_, 0.0f, 0.0f, 1.0f);
  EXPECT_EQ(ErrorCode, 0);
  // Joined into one zig-zag chain: lines at 9.885, 8.885 ... 0.885 and 0.115,
  // each from x 0.5 to 9.5, linked at their ends.
  const std::vector<TVectorRecord> out = ReadVectors("HATCH.TMP");
  ASSERT_EQ(out.size(), 22u);
  EXPECT_EQ(out[0].type, 11);
  for (size_t i = 0; i < out.size(); ++i) {
    const float x = out[i].x, y = out[i].y;
    if (i > 0) {
      EXPECT_EQ(out[i].type, 10) << i;
    }
    const float level = i / 2 < 10 ? 9.885f - float(i / 2) : 0.115f;
    EXPECT_NEAR(y, level, 1e-4) << i;
    const bool left = (i / 2) % 2 == 0 ? i % 2 == 0 : i % 2 == 1;
    EXPECT_NEAR(x, left ? 0.5f : 9.5f, 1e-4) << i;
  }
  EXPECT_FALSE(plat::FileExists("VekH2R0.H2R"));
  EXPECT_FALSE(plat::FileExists("VekH2R1.H2R"));
}

TEST_F(OffsetVariantsTest, FrameWithInsideFlagZeroHatchesTheRing) {
  ASSERT_TRUE(SaveOffsetRecordFile(kOffsetChainFile, RectangleChain(5, 5, 15, 15)));
  WriteSquare("FRAME.TMP", 0, 0, 20);
  HatchInsideLastOffsetToLayer("LAYER.TMP", "FRAME.TMP", 0, -1, tiny_, 0.0f, 0.0f, 1.0f);
  EXPECT_EQ(ErrorCode, 0);
  const std::vector<TSegment> lines = Segments(ReadVectors("LAYER.TMP"));
  ASSERT_GE(lines.size(), 25u);
  int besideTheHole = 0;
  for (const TSegment& s : lines) {
    EXPECT_LT(s.x1, s.x2) << "one way";
    EXPECT_GE(s.x1, 0.5f - 1e-4f);
    EXPECT_LE(s.x2, 19.5f + 1e-4f);
    // Nothing crosses into the offset contour.
    const bool throughHole = s.y1 > 5 && s.y1 < 15 && s.x1 < 10 && s.x2 > 10;
    EXPECT_FALSE(throughHole) << s.x1 << ".." << s.x2 << " at " << s.y1;
    besideTheHole += s.y1 > 5.5f && s.y1 < 14.5f;
  }
  EXPECT_GT(besideTheHole, 0);
}

TEST_F(OffsetVariantsTest, HatchRefusesTinyChainsAndSpacing) {
  const struct {
    const char* what;
    std::vector<TOffsetRecord> chain;
    float spacing;
    int32_t code;
  } cases[] = {
      {"no chain", {}, 1.0f, 0},
      {"three records", {Chain(11, 0, 0, 1), Chain(10, 10, 0, 1), Chain(10, 10, 10, 1)}, 1.0f, 0},
      {"spacing 0", RectangleChain(0, 0, 10, 10), 0.0f, 43},
      {"spacing below 0.001", RectangleChain(0, 0, 10, 10), 0.0009f, 43},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    plat::DeleteFileByName(kOffsetChainFile);
    if (!c.chain.empty()) {
      ASSERT_TRUE(SaveOffsetRecordFile(kOffsetChainFile, c.chain));
    }
    ErrorCode = 0;
    HatchInsideLastOffset("HATCH.TMP", "", 1, -1, tiny_, 0.0f, 0.0f, c.spacing);
    EXPECT_EQ(ErrorCode, c.code);
    EXPECT_FALSE(plat::FileExists("HATCH.TMP"));
  }
}

TEST_F(OffsetVariantsTest, UnjoinedPointsDropRepeatsAndDepth) {
  WriteVectors("SRC.TMP", {Rec(11, 1, 1, 7), Rec(12, 2, 1, 5), Rec(10, 2.00005f, 1.00005f, 0), Rec(13, 4, 4, 4),
                           Rec(10, 3, 1, 2), Rec(12, 3, 1.0002f, 1), Rec(11, 3, 1.0002f, 9), Rec(10, 3, 1.0002f)});
  WriteVectors("DST.TMP", {Rec(11, 0, 0)});
  ASSERT_TRUE(AppendPointsWithoutRepeats("SRC.TMP", "DST.TMP", -1));
  const std::vector<TVectorRecord> out = ReadVectors("DST.TMP");
  const float expected[][3] = {{11, 0, 0}, {11, 1, 1}, {10, 2, 1}, {10, 3, 1}, {10, 3, 1.0002f}, {11, 3, 1.0002f}};
  ASSERT_EQ(out.size(), 6u);
  for (size_t i = 0; i < out.size(); ++i) {
    const float x = out[i].x, y = out[i].y, z = out[i].z;
    EXPECT_EQ(float(out[i].type), expected[i][0]) << i;
    EXPECT_EQ(x, expected[i][1]) << i;
    EXPECT_EQ(y, expected[i][2]) << i;
    EXPECT_EQ(z, 0.0f) << i;
  }
}

TEST_F(OffsetVariantsTest, UnjoinedCompensationAppendsTracedPoints) {
  WriteSquare("VekAR1.TMP", 0, 0, 10);
  WriteLayer({});
  LayoutArea = {{1, 0, 0}, {5, 20, 20}};
  ASSERT_TRUE(CompensateSelectionUnjoined(1.0f)) << ErrorCode;
  const std::vector<TVectorRecord> layer = ReadLayer();
  ASSERT_GE(layer.size(), 5u);
  for (size_t i = 0; i < layer.size(); ++i) {
    const TVectorRecord r = layer[i];
    const float x = r.x, y = r.y, z = r.z;
    EXPECT_TRUE(r.type == 10 || r.type == 11);
    EXPECT_EQ(z, 0.0f);
      const double dx = std::max({0.0 - x, 0.0, x - 10.0}), dy = std::max({0.0 - y, 0.0, y - 10.0});
    const double d = dx > 0 || dy > 0 ? std::hypot(dx, dy) : std::min({double(x), 10.0 - x, double(y), 10.0 - y});
    // Traced points lie between the wanted and the computing distance.
    EXPECT_GE(d, 0.99) << x << " " << y;
    EXPECT_LE(d, ComputeOffsetTolerance(LayoutArea, 1.0f) + 0.01) << x << " " << y;
    if (i > 0 && r.type == 10) {
      const float px = layer[i - 1].x, py = layer[i - 1].y;
      EXPECT_FALSE(std::fabs(px - x) <= 0.0001f && std::fabs(py - y) <= 0.0001f) << "repeat at " << i;
    }
  }
}

TEST_F(OffsetVariantsTest, CornerStopPathStopsShortOfNearPoints) {
  const struct {
    const char* what;
    std::vector<TOffsetRecord> chain;
    std::vector<std::vector<float>> expected;  // type, x, y
  } cases[] = {
      {"near corner cut",
       {Chain(11, 0, 0, 1), Chain(10, 10, 0, 1), Chain(10, 10, 10, 0.01), Chain(10, 0, 10, 1), Chain(10, 0, 0, 1)},
       {{11, 0, 0}, {10, 10, 0}, {10, 10, 9}, {10, 0, 10}, {10, 0, 0}}},
      {"segment of 1.005 to a near point writes nothing",
       {Chain(11, 0, 0, 1), Chain(10, 5, 0, 1), Chain(10, 6.005, 0, 0.01), Chain(10, 6.005, 5, 1)},
       {{11, 0, 0}, {10, 5, 0}, {10, 6.005f, 5}}},
      {"near start begins at the first far point",
       {Chain(11, 0, 0, 0.01), Chain(10, 10, 0, 1), Chain(10, 10, 10, 1), Chain(10, 10, 10, 1)},
       {{11, 10, 0}, {10, 10, 10}}},
      {"first piece ending at a near point gets its start",
       {Chain(11, 0, 0, 1), Chain(10, 5, 0, 0.0), Chain(10, 9, 0, 0.02)},
       {{11, 0, 0}, {10, 4, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(SaveOffsetRecordFile("CHAIN.TMP", c.chain));
    ASSERT_TRUE(WriteCornerStopPath("CHAIN.TMP", "STOPS.TMP", 1.0f, -1));
    const std::vector<TVectorRecord> out = ReadVectors("STOPS.TMP");
    ASSERT_EQ(out.size(), c.expected.size());
    for (size_t i = 0; i < out.size(); ++i) {
      const float x = out[i].x, y = out[i].y;
      EXPECT_EQ(float(out[i].type), c.expected[i][0]) << i;
      EXPECT_NEAR(x, c.expected[i][1], 1e-5) << i;
      EXPECT_NEAR(y, c.expected[i][2], 1e-5) << i;
    }
  }
}

TEST_F(OffsetVariantsTest, CornerStopCommandAsksBeforeAppending) {
  WriteSquare("VekAR1.TMP", 0, 0, 10);
  WriteLayer({});
  // The script has no answer: the question counts as no.
  EXPECT_FALSE(CompensateWithCornerStops(1.0f));
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_TRUE(ReadLayer().empty());
  const std::vector<std::string> lines = TranscriptLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(plat::wnd::Utf8FromWin(GetMessageText(44, -39))), std::string::npos) << lines[0];
  EXPECT_GE(ReadVectors("VekAR2.TMP").size(), 2u) << "the path was built";
}

TEST_F(OffsetVariantsTest, DepthPointsFollowTheValueScaledToOne) {
  ASSERT_TRUE(SaveOffsetRecordFile(
      "CHAIN.TMP", {Chain(11, 0, 0, 0.1), Chain(10, 4, 0, 0.5), Chain(10, 4.00005, 0, 0.4), Chain(12, 4, 3, 0.25),
                    Chain(10, 0, 0, 0.1), Chain(11, 0, 0, 0)}));
  double largest = 0;
  ASSERT_TRUE(WriteDepthPoints("CHAIN.TMP", "DEPTH.TMP", -1, largest));
  EXPECT_DOUBLE_EQ(largest, 0.5);
  const std::vector<TVectorRecord> out = ReadVectors("DEPTH.TMP");
  const float expected[][4] = {{11, 0, 0, 0.2f}, {12, 0, 0, 0.2f}, {12, 4, 0, 1.0f}, {12, 4, 3, 0.5f},
                               {12, 0, 0, 0.2f}, {11, 0, 0, 0.0f}, {12, 0, 0, 0.0f}};
  ASSERT_EQ(out.size(), 7u);
  for (size_t i = 0; i < out.size(); ++i) {
    const float x = out[i].x, y = out[i].y, z = out[i].z;
    EXPECT_EQ(float(out[i].type), expected[i][0]) << i;
    EXPECT_EQ(x, expected[i][1]) << i;
    EXPECT_EQ(y, expected[i][2]) << i;
    EXPECT_NEAR(z, expected[i][3], 1e-6) << i;
  }
}

TEST_F(OffsetVariantsTest, DepthEngravingReplacesTheSelection) {
  WriteSquare("VekAR1.TMP", 0, 0, 10);
  WriteLayer({});
  LayoutArea = {{1, 0, 0}, {5, 20, 20}};
  StoreHoldsData = 1;
  EngraveDepthFromOffset(1, 2.0f, 3.1415927f);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(ReadLayer().size(), 5u) << "the marked square is back in the layer";
  const std::vector<TVectorRecord> store = ReadVectors("VekAR1.TMP");
  ASSERT_GE(store.size(), 5u);
  EXPECT_EQ(store[0].type, 11);
  float deepest = 0;
  for (const TVectorRecord& r : store) {
    const float z = r.z;
    EXPECT_TRUE(r.type == 11 || r.type == 12);
    EXPECT_GE(z, 0.0f);
    EXPECT_LE(z, 1.0f + 1e-5f);
    deepest = std::max(deepest, z);
  }
  EXPECT_GT(deepest, 0.0f);
  // A width below the least does nothing.
  const std::vector<TVectorRecord> before = ReadVectors("VekAR1.TMP");
  EngraveDepthFromOffset(1, 0.0009f, 3.1415927f);
  EXPECT_EQ(ReadVectors("VekAR1.TMP").size(), before.size());
  EXPECT_TRUE(TranscriptLines().empty());
}

}  // namespace
