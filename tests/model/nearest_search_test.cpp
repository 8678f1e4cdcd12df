// Nearest-record searches.
#include "model/nearest_search.h"

#include <gtest/gtest.h>

#include "model/layer_files.h"
#include "support/store_test_support.h"

namespace {
using namespace storetest;

class NearestSearchTest : public StoreTest {};

TEST_F(NearestSearchTest, VertexSearchPenalisesStartsUnlessAsked) {
  Put("T.TMP", {Rec(kRecContourStart, 3, 0), Rec(kRecLinePoint, 50, 50), Rec(kRecContourStart, 60, 60),
                Rec(kRecLinePoint, 0, 3)});
  const struct { int flags; uint8_t type; int32_t index; } cases[] = {
      {0, kRecLinePoint, 3},
      {kNearestNoPenalty, kRecContourStart, 0},
  };
  for (const auto& c : cases) {
    TPointRecord p{0, 0, 0};
    int32_t index = -5;
    FindNearestVectorPoint("T.TMP", p, index, c.flags);
    EXPECT_EQ(p.type, c.type) << c.flags;
    EXPECT_EQ(index, c.index) << c.flags;
    TVectorRecord r{0, 0, 0, 0};
    FindNearestRecordInFile("T.TMP", r, index, c.flags);
    EXPECT_EQ(r.type, c.type) << c.flags;
    EXPECT_EQ(index, c.index) << c.flags;
  }
}

TEST_F(NearestSearchTest, SegmentSearchReturnsTheSegmentsEndRecord) {
  Put("T.TMP", {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 30, 10), Rec(kRecLinePoint, 30, 30)});
  TPointRecord p{0, 20, 11};
  int32_t index = 0;
  FindNearestVectorPoint("T.TMP", p, index, kNearestSegment);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(float(p.x), 30.0f);
  EXPECT_EQ(float(p.y), 10.0f);
  double distance = 0;
  FindNearestSegmentInFile("T.TMP", TPointRecord{0, 20, 11}, index, distance);
  EXPECT_EQ(index, 1);
  EXPECT_NEAR(distance, 1.0, 1e-6);
}

TEST_F(NearestSearchTest, EmptyOrMissingFilesFindNothing) {
  Put("E.TMP", {});
  for (const char* name : {"E.TMP", "MISSING.TMP"}) {
    TPointRecord p{10, 1, 1};
    int32_t index = 7;
    FindNearestVectorPoint(name, p, index, 0);
    EXPECT_EQ(p.type, 0) << name;
    EXPECT_EQ(index, 0) << name;
  }
}

TEST_F(NearestSearchTest, LayerSearchSkipsHiddenLayers) {
  Put(Layer(0), {Rec(kRecLinePoint, 100, 100)});
  Put(Layer(1), {Rec(kRecLinePoint, 1, 1)});
  Put(Layer(2), {Rec(kRecLinePoint, 10, 10)});
  std::fill(std::begin(LayerVisible), std::end(LayerVisible), 1);
  LayerVisible[1] = 0;
  TPointRecord p{0, 0, 0};
  FindNearestPointInLayers(p, kNearestVisibleLayers);
  EXPECT_EQ(p.type, kRecLinePoint);
  EXPECT_EQ(float(p.x), 10.0f);
  LayerVisible[1] = 1;
  p = TPointRecord{0, 0, 0};
  FindNearestPointInLayers(p, kNearestVisibleLayers);
  EXPECT_EQ(float(p.x), 1.0f);
  // Tool layer files: visible or not.
  LayerVisible[2] = 0;
  Put(BuildWLayerFileName(2), {Rec(kRecLinePoint, 2, 2)});
  TVectorRecord r{0, 0, 0, 0};
  FindNearestRecordInLayers(r, kNearestToolLayers);
  EXPECT_EQ(float(r.x), 2.0f);
  // Other values of bits 3-4 search nothing.
  p = TPointRecord{0, 0, 0};
  FindNearestPointInLayers(p, kNearestVisibleLayers | kNearestToolLayers);
  EXPECT_EQ(p.type, 0);
  std::fill(std::begin(LayerVisible), std::end(LayerVisible), 0);
}

TEST_F(NearestSearchTest, ContourNearestEndMeasuresBothAxesSummed) {
  const TRecs first = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 10, 0)};
  const TRecs second = {Rec(kRecContourStart, 50, 50), Rec(kRecLinePoint, 20, 0.6f)};
  Put("S.TMP", Join({first, second}));
  // The second contour's end is 0.6 mm off in x and y: 1.2 by the sum.
  const struct { double tolerance; uint8_t type; } cases[] = {{1.0, 0}, {1.5, kRecLinePoint}};
  for (const auto& c : cases) {
    double tolerance = c.tolerance;
    uint8_t type = 99;
    MoveContourNearestEnd("S.TMP", "D.TMP", TPointRecord{0, 20.6f, 0}, type, 0, tolerance);
    EXPECT_EQ(type, c.type) << c.tolerance;
  }
  EXPECT_TRUE(SameRecords(Get("D.TMP"), second));
  // With flag 4 the contour whose start is nearest moves out of the source.
  double tolerance = 5;
  uint8_t type = 0;
  MoveContourNearestEnd("S.TMP", "D.TMP", TPointRecord{0, 0.5f, 0.5f}, type, 4, tolerance);
  EXPECT_EQ(type, kRecContourStart);
  EXPECT_NEAR(tolerance, 1.0, 1e-6);
  EXPECT_TRUE(SameRecords(Get("D.TMP"), first));
  EXPECT_TRUE(SameRecords(Get("S.TMP"), second));
}

TRecs PathBlock(float x, float y) {
  TRecs block = {Rec(kRecMinCorner, x, y), Rec(kRecMaxCorner, x + 10, y + 10), Rec(kRecPathFactor, 1, 0),
                 Rec(kRecPathLayer, 1, 0)};
  for (uint8_t t = kRecTool1; t <= kRecTool8; ++t) block.push_back(Rec(t, x, 0));
  block.push_back(Rec(kRecContourStart, x, y));
  block.push_back(Rec(kRecLinePoint, x + 10, y));
  block.push_back(Rec(kRecLinePoint, x + 10, y + 10));
  block.push_back(Rec(kRecPathEnd, 0, 0));
  return block;
}

TEST_F(NearestSearchTest, PathBlockAtPointTakesTheSecondBlockWhole) {
  const TRecs one = PathBlock(0, 0), two = PathBlock(100, 0), three = PathBlock(200, 0);
  Put("W.TMP", Join({one, two, three}));
  TToolPathHeader header;
  uint8_t found = 0;
  TakePathBlockAtPoint("D.TMP", "W.TMP", TPointRecord{0, 105, 1}, header, found, 4);
  ASSERT_EQ(found, 1);
  EXPECT_EQ(memcmp(header.records, two.data(), 12 * sizeof(TVectorRecord)), 0);
  const TVectorRecord zero{};
  EXPECT_EQ(memcmp(&header.records[12], &zero, sizeof zero), 0);
  EXPECT_TRUE(SameRecords(Get("D.TMP"), TRecs(two.begin() + 12, two.end() - 1)));
  EXPECT_TRUE(SameRecords(Get("W.TMP"), Join({one, three})));
  // Beyond 20 pixels (10 mm) nothing is found.
  TakePathBlockAtPoint("D.TMP", "W.TMP", TPointRecord{0, 150, 30}, header, found, 4);
  EXPECT_EQ(found, 0);
  EXPECT_TRUE(SameRecords(Get("W.TMP"), Join({one, three})));
}

}  // namespace
