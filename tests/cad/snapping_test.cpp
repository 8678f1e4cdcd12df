// Snapping to drawing points and guide lines, the guide-line lists and the
// candidate cache.
#include "cad/snapping.h"

#include <gtest/gtest.h>

#include "support/drawing_test_support.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

using drawtest::Bytes;
using drawtest::Rec;

class SnapTest : public drawtest::DrawingFolderTest {
 protected:
  void SetUp() override {
    DrawingFolderTest::SetUp();
    savedScale_ = ViewScaleX;
    ViewScaleX = 2.0f;  // 2 pixels per millimetre: 10 pixels are 5 mm
    SnapRadius = 10;
    SnapLayerSelector = -1;
    InvalidateSnapPointCache();
    ClearGuideLines(lines_);
    lines_.shown = 1;
    lines_.catching = 1;
  }
  void TearDown() override {
    ViewScaleX = savedScale_;
    GuideSnapOn = 0;
    InvalidateSnapPointCache();
    DrawingFolderTest::TearDown();
  }
  void StoreLines() {
    WriteGuideLineBlock(lines_);
    UpdateGuideSnapFlag(lines_);
  }
  static TPointRecord Pt(float x, float y) { return TPointRecord{0, x, y}; }

  TGuideLineBlock lines_{};
  float savedScale_ = 1.0f;
};

TEST_F(SnapTest, VectorSnapNeedsARadiusAndAKnownSelector) {
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 20, 10)}));
  const struct { uint16_t radius; int16_t selector; bool snaps; } cases[] = {
      {10, -1, true}, {10, 0, true}, {0, -1, false}, {10, 51, false}, {10, -3, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "radius " << c.radius << " selector " << c.selector);
    SnapRadius = c.radius;
    TPointRecord p = Pt(11, 11);
    EXPECT_EQ(SnapPoint(p, c.selector), c.snaps ? kRecLinePoint : 0);
    EXPECT_FLOAT_EQ(p.x, c.snaps ? 10.0f : 11.0f);
    EXPECT_FLOAT_EQ(p.y, c.snaps ? 10.0f : 11.0f);
  }
}

TEST_F(SnapTest, BoxSearchTakesOnlyPointRecordsAndTheFirstOfEqualOnes) {
  // r = 5 mm. The arc record and the tool record sit right at the point and
  // must be ignored; the two line points lie equally far.
  WriteFile("Pts.TMP", Bytes({Rec(kRecArc, 0, 0, 1), Rec(150, 0, 0), Rec(kRecLinePoint, 3, 0),
                              Rec(kRec3DPoint, -3, 0, 7), Rec(kRecContourStart, 5, 5)}));
  TPointRecord p = Pt(0, 0);
  ASSERT_TRUE(FindNearestFilePointInBox("Pts.TMP", p, 5.0));
  EXPECT_EQ(p.type, kRecLinePoint);
  EXPECT_FLOAT_EQ(p.x, 3.0f);  // first in the file wins
  // The corner of the box (d² = 2r²) is not taken; just inside it is.
  p = Pt(0, 0);
  WriteFile("Corner.TMP", Bytes({Rec(kRecContourStart, 5, 5)}));
  EXPECT_FALSE(FindNearestFilePointInBox("Corner.TMP", p, 5.0));
  EXPECT_EQ(p.type, 0);
  EXPECT_FLOAT_EQ(p.x, 0.0f);
  p = Pt(0.01f, 0.01f);
  EXPECT_TRUE(FindNearestFilePointInBox("Corner.TMP", p, 5.0));
  // Outside the box in one axis although the distance would be small enough.
  WriteFile("Far.TMP", Bytes({Rec(kRecLinePoint, 5.5f, 0)}));
  p = Pt(0, 0);
  EXPECT_FALSE(FindNearestFilePointInBox("Far.TMP", p, 5.0));
}

TEST_F(SnapTest, MissingOrBrokenFilesSnapToNothing) {
  TPointRecord p = Pt(1, 1);
  EXPECT_FALSE(FindNearestFilePointInBox("Nothing.TMP", p, 5.0));
  WriteFile("Short.TMP", std::string(20, '\x0a'));  // not a whole number of records
  EXPECT_FALSE(FindNearestFilePointInBox("Short.TMP", p, 5.0));
  EXPECT_FLOAT_EQ(p.x, 1.0f);
  ErrorCode = 0;
}

TEST_F(SnapTest, GuideLinesSnapBelowTenPixels) {
  AddGuideLine(lines_, true, 50.0f);
  AddGuideLine(lines_, false, 20.0f);
  StoreLines();
  const struct { float x, y; uint8_t type; float rx, ry; } cases[] = {
      {50.0f, 0.0f, kRecLinePoint, 50.0f, 0.0f},     // on the line: distance 0 < r
      {55.0f, 0.0f, 0, 55.0f, 0.0f},                 // exactly r = 5 mm away
      {54.9f, 0.0f, kRecLinePoint, 50.0f, 0.0f},
      {48.0f, 22.0f, kRecLinePoint, 50.0f, 20.0f},   // near the crossing: the crossing
      {0.0f, 17.0f, kRecLinePoint, 0.0f, 20.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    TPointRecord p = Pt(c.x, c.y);
    EXPECT_EQ(SnapPoint(p, 51), c.type);
    EXPECT_FLOAT_EQ(p.x, c.rx);
    EXPECT_FLOAT_EQ(p.y, c.ry);
  }
  // Switched off: no guide snapping.
  lines_.catching = 0;
  StoreLines();
  TPointRecord p = Pt(49, 0);
  EXPECT_EQ(SnapPoint(p, 51), 0);
}

TEST_F(SnapTest, NearerResultWinsAndTheDrawingOnEqualDistances) {
  // Guide line at x = 0; drawing points placed at pixel distances from the
  // click at (0, 100) + offset: 3 px from the line and 2 px from the point.
  AddGuideLine(lines_, true, 0.0f);
  StoreLines();
  const struct { float clickX; float wantX; float wantY; } cases[] = {
      {1.5f, 1.5f, 101.0f},   // point 1 mm (2 px) away, line 1.5 mm (3 px): the point
      {1.0f, 1.0f, 101.0f},   // both 1 mm away: the drawing point
      {0.5f, 0.0f, 100.0f},   // line 0.5 mm, point 1 mm: the line
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "click x " << c.clickX);
    WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, c.clickX, 101.0f)}));
    InvalidateSnapPointCache();
    TPointRecord p = Pt(c.clickX, 100.0f);
    EXPECT_EQ(SnapPoint(p, -1), kRecLinePoint);
    EXPECT_FLOAT_EQ(p.x, c.wantX);
    EXPECT_FLOAT_EQ(p.y, c.wantY);
  }
}

TEST_F(SnapTest, NegativeSelectorsForALayerMeanTheVectorStore) {
  WriteFile("VekAR1.TMP", Bytes({Rec(kRecContourStart, 30, 30)}));
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 31, 31)}));
  TPointRecord p = Pt(30.5f, 30.5f);
  EXPECT_EQ(SnapPointForLayer(p, -1), kRecLinePoint);
  EXPECT_FLOAT_EQ(p.x, 30.0f);
  p = Pt(30.5f, 30.5f);
  EXPECT_EQ(SnapPoint(p, -1), kRecLinePoint);
  EXPECT_FLOAT_EQ(p.x, 31.0f);
  // The cursor point, snapped with the configured selector.
  CursorPoint = Pt(30.8f, 30.8f);
  TPointRecord q{};
  EXPECT_EQ(SnapCursorPoint(q), kRecLinePoint);
  EXPECT_FLOAT_EQ(q.x, 31.0f);
}

TEST_F(SnapTest, CandidatesAreReadOncePerContent) {
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 10, 10)}));
  const uint32_t before = SnapFileReads;
  for (int i = 0; i < 20; ++i) {
    TPointRecord p = Pt(10.5f + i * 0.01f, 10.5f);
    SnapPoint(p, 0);
    EXPECT_FLOAT_EQ(p.x, 10.0f);
  }
  EXPECT_EQ(SnapFileReads - before, 1u);
  // A changed size is a changed content.
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 40, 40), Rec(kRecLinePoint, 60, 60)}));
  TPointRecord p = Pt(40.5f, 40.5f);
  SnapPoint(p, 0);
  EXPECT_FLOAT_EQ(p.x, 40.0f);
  EXPECT_EQ(SnapFileReads - before, 2u);
  // A file rewritten in place at the same size (as a move does).
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 70, 70), Rec(kRecLinePoint, 60, 60)}));
  p = Pt(70.5f, 70.5f);
  SnapPoint(p, 0);
  EXPECT_FLOAT_EQ(p.x, 70.0f);
  EXPECT_EQ(SnapFileReads - before, 3u);
  // A change its writer announces.
  InvalidateSnapPointCache();
  p = Pt(70.5f, 70.5f);
  SnapPoint(p, 0);
  EXPECT_EQ(SnapFileReads - before, 4u);
}

TEST_F(SnapTest, GuideListsHoldFiftyLinesOfEachKind) {
  for (int i = 0; i < kGuideLinesManaged; ++i) ASSERT_TRUE(AddGuideLine(lines_, true, float(i)));
  EXPECT_FALSE(AddGuideLine(lines_, true, 99.0f));
  EXPECT_FLOAT_EQ(lines_.xLines[kGuideLinesManaged], kFreeGuideLine);
  EXPECT_TRUE(AddGuideLine(lines_, false, 99.0f));
}

TEST_F(SnapTest, MovingALineOutOfViewDeletesItAndClosesTheGap) {
  for (int i = 0; i < 3; ++i) AddGuideLine(lines_, true, 10.0f * (i + 1));  // 10, 20, 30
  TGuideLineHit hit;
  ASSERT_TRUE(FindNearestGuideLine(lines_, 19.0f, 500.0f, hit));
  EXPECT_TRUE(hit.vertical);
  EXPECT_EQ(hit.index, 1);
  EXPECT_TRUE(MoveGuideLine(lines_, hit, 25.0f, 0.0f, 100.0f));
  EXPECT_FLOAT_EQ(lines_.xLines[1], 25.0f);
  EXPECT_TRUE(MoveGuideLine(lines_, hit, 100.0f, 0.0f, 100.0f));  // the edge is inside
  EXPECT_FALSE(MoveGuideLine(lines_, hit, kFreeGuideLine, 0.0f, 100.0f));  // Delete
  EXPECT_FLOAT_EQ(lines_.xLines[0], 10.0f);
  EXPECT_FLOAT_EQ(lines_.xLines[1], 30.0f);
  EXPECT_FLOAT_EQ(lines_.xLines[2], kFreeGuideLine);
  // The 50th line is just cleared.
  ClearGuideLines(lines_);
  for (int i = 0; i < kGuideLinesManaged; ++i) AddGuideLine(lines_, false, float(i));
  DeleteGuideLine(lines_, false, kGuideLinesManaged - 1);
  EXPECT_FLOAT_EQ(lines_.yLines[kGuideLinesManaged - 2], float(kGuideLinesManaged - 2));
  EXPECT_FLOAT_EQ(lines_.yLines[kGuideLinesManaged - 1], kFreeGuideLine);
}

TEST_F(SnapTest, NearestLinePrefersTheHorizontalOnEqualDistance) {
  AddGuideLine(lines_, true, 10.0f);
  AddGuideLine(lines_, false, 10.0f);
  TGuideLineHit hit;
  ASSERT_TRUE(FindNearestGuideLine(lines_, 12.0f, 12.0f, hit));
  EXPECT_FALSE(hit.vertical);
  ASSERT_TRUE(FindNearestGuideLine(lines_, 11.0f, 12.0f, hit));
  EXPECT_TRUE(hit.vertical);
  ClearGuideLines(lines_);
  EXPECT_FALSE(FindNearestGuideLine(lines_, 0.0f, 0.0f, hit));
}

TEST_F(SnapTest, FrameAndCentreLinesOfTheLayoutArea) {
  const TExtentsPair area{{1, 0, 0}, {5, 200, 100}};
  ASSERT_TRUE(AddFrameGuideLines(lines_, area));
  ASSERT_TRUE(AddCentreGuideLines(lines_, area));
  EXPECT_FLOAT_EQ(lines_.xLines[0], 0.0f);
  EXPECT_FLOAT_EQ(lines_.xLines[1], 200.0f);
  EXPECT_FLOAT_EQ(lines_.xLines[2], 100.0f);
  EXPECT_FLOAT_EQ(lines_.yLines[0], 0.0f);
  EXPECT_FLOAT_EQ(lines_.yLines[1], 100.0f);
  EXPECT_FLOAT_EQ(lines_.yLines[2], 50.0f);
}

TEST_F(SnapTest, CursorNearGuideLineReadsTheBlockAfresh) {
  AddGuideLine(lines_, false, 40.0f);
  StoreLines();
  CursorPoint = Pt(0.0f, 44.0f);  // 8 pixels away
  EXPECT_TRUE(TestCursorNearGuideLine());
  CursorPoint = Pt(0.0f, 45.0f);  // 10 pixels away
  EXPECT_FALSE(TestCursorNearGuideLine());
  lines_.shown = 0;
  WriteGuideLineBlock(lines_);  // the flag is left as it was
  CursorPoint = Pt(0.0f, 40.0f);
  EXPECT_FALSE(TestCursorNearGuideLine());
}

}  // namespace
