// The computations of the catch modes and how a catch reports its result.
#include "cad/catch_modes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame/param_file.h"
#include "support/drawing_test_support.h"
#include "platform/system.h"
#include "view/cursor_tracking.h"

namespace {

using drawtest::Bytes;
using drawtest::Rec;

class CatchTest : public drawtest::DrawingFolderTest {};

TEST_F(CatchTest, AResultIsAClickAtThePointAndAFailureBeeps) {
  std::string typed = "12 13";
  SetCatchResult(typed, 4.5, -2.0);
  EXPECT_TRUE(typed.empty());
  EXPECT_FLOAT_EQ(CursorPoint.x, 4.5f);
  EXPECT_FLOAT_EQ(CursorPoint.y, -2.0f);
  EXPECT_EQ(MouseButtonState, 2);

  const uint8_t saved = SignalLevel;
  SignalLevel = 2;  // one beep
  const int before = plat::BeepCount();
  FailCatch();
  EXPECT_EQ(MouseButtonState, 4);
  EXPECT_EQ(plat::BeepCount() - before, 1);
  SignalLevel = saved;
  MouseButtonState = 0;
}

TEST_F(CatchTest, LinesCrossOutsideTheSegmentsButSegmentsDoNot) {
  const TVectorRecord a1 = Rec(kRecLinePoint, 0, 0), a2 = Rec(kRecLinePoint, 1, 1);
  const TVectorRecord b1 = Rec(kRecLinePoint, 4, 0), b2 = Rec(kRecLinePoint, 5, -1);
  double x = 0, y = 0;
  ASSERT_TRUE(IntersectLinesChecked(a1, a2, b1, b2, x, y));
  EXPECT_NEAR(x, 2.0, 1e-9);
  EXPECT_NEAR(y, 2.0, 1e-9);
  EXPECT_FALSE(IntersectLineWithSegment(a1, a2, b1, b2, x, y));  // (2, 2) lies off B
  // Parallel lines fail both ways.
  const TVectorRecord c1 = Rec(kRecLinePoint, 0, 1), c2 = Rec(kRecLinePoint, 3, 4);
  EXPECT_FALSE(IntersectLinesChecked(a1, a2, c1, c2, x, y));
  EXPECT_FALSE(IntersectLineWithSegment(a1, a2, c1, c2, x, y));
  // The segment's end counts (parameter 1 inclusive).
  const TVectorRecord d1 = Rec(kRecLinePoint, 0, 4), d2 = Rec(kRecLinePoint, 2, 2);
  ASSERT_TRUE(IntersectLineWithSegment(a1, a2, d1, d2, x, y));
  EXPECT_NEAR(x, 2.0, 1e-9);
}

TEST_F(CatchTest, PerpendicularFootMayLieBeyondTheVector) {
  double x = 0, y = 0;
  ASSERT_TRUE(ComputePerpendicularFoot(Rec(kRecLinePoint, 0, 0), Rec(kRecLinePoint, 10, 0), 25, 7, x, y));
  EXPECT_NEAR(x, 25.0, 1e-9);
  EXPECT_NEAR(y, 0.0, 1e-9);
  EXPECT_FALSE(ComputePerpendicularFoot(Rec(kRecLinePoint, 3, 3), Rec(kRecLinePoint, 3, 3), 0, 0, x, y));
}

TEST_F(CatchTest, LastLayerRecordOfAnEmptyLayerHasTypeZero) {
  TVectorRecord r = Rec(kRecLinePoint, 1, 1);
  ReadLastLayerRecord(r);
  EXPECT_EQ(r.type, 0);
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 1, 2), Rec(kRecLinePoint, 7, 8)}));
  ReadLastLayerRecord(r);
  EXPECT_EQ(r.type, kRecLinePoint);
  EXPECT_FLOAT_EQ(r.x, 7.0f);
}

TEST_F(CatchTest, NearestPointOnTheVectorsFindsSegmentInteriors) {
  // A 3D point between two contours is a vertex too; a contour start opens
  // no segment from the point before it.
  WriteFile("V.TMP", Bytes({Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 100, 0), Rec(kRecContourStart, 0, 50),
                            Rec(kRec3DPoint, 100, 50, -2)}));
  double x = 0, y = 0;
  ASSERT_TRUE(FindNearestPointOnFileVectors("V.TMP", 40, 3, x, y));
  EXPECT_NEAR(x, 40.0, 1e-6);
  EXPECT_NEAR(y, 0.0, 1e-6);
  ASSERT_TRUE(FindNearestPointOnFileVectors("V.TMP", 60, 49, x, y));
  EXPECT_NEAR(y, 50.0, 1e-6);
  // The gap between (100, 0) and (0, 50) is no segment.
  ASSERT_TRUE(FindNearestPointOnFileVectors("V.TMP", 50, 26, x, y));
  EXPECT_NEAR(x, 50.0, 1e-6);
  EXPECT_NEAR(y, 50.0, 1e-6);
  EXPECT_FALSE(FindNearestPointOnFileVectors("Missing.TMP", 0, 0, x, y));
}

TEST_F(CatchTest, CurrentLineCrossesTheObjectNearestTheReference) {
  // A square from (10, -5) to (20, 5); the line runs along y = 0 from the left.
  WriteFile("O.TMP", Bytes({Rec(kRecContourStart, 10, -5), Rec(kRecLinePoint, 20, -5), Rec(kRecLinePoint, 20, 5),
                            Rec(kRecLinePoint, 10, 5), Rec(kRecLinePoint, 10, -5)}));
  double x = 0, y = 0;
  const TVectorRecord start = Rec(kRecLinePoint, 0, 0), through = Rec(kRecLinePoint, 1, 0);
  ASSERT_TRUE(FindLineCrossingInFile("O.TMP", start, through, 0, 0, x, y));
  EXPECT_NEAR(x, 10.0, 1e-6);
  ASSERT_TRUE(FindLineCrossingInFile("O.TMP", start, through, 30, 0, x, y));
  EXPECT_NEAR(x, 20.0, 1e-6);
  EXPECT_FALSE(FindLineCrossingInFile("O.TMP", Rec(kRecLinePoint, 0, 40), Rec(kRecLinePoint, 1, 40), 0, 0, x, y));
}

TEST_F(CatchTest, ExtremePointsAndTheEarlierOneOnATie) {
  const std::vector<TVectorRecord> object = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 0, 0),
                                             Rec(kRecLinePoint, 10, 10), Rec(kRecLinePoint, 20, 0),
                                             Rec(kRecLinePoint, 10, -10)};
  TVectorRecord e[4];
  ASSERT_TRUE(FindExtremePoints(object.data(), int32_t(object.size()), e));
  EXPECT_FLOAT_EQ(e[0].x, 0.0f);   // leftmost
  EXPECT_FLOAT_EQ(e[1].y, 10.0f);  // top
  EXPECT_FLOAT_EQ(e[2].y, -10.0f); // bottom
  EXPECT_FLOAT_EQ(e[3].x, 20.0f);  // rightmost
  // Exactly between the leftmost and the top point.
  EXPECT_EQ(ChooseNearestExtreme(e, 5.0, 5.0), 0);
  EXPECT_EQ(ChooseNearestExtreme(e, 19.0, 1.0), 3);
  const TVectorRecord onlyStart = Rec(kRecContourStart, 1, 1);
  EXPECT_FALSE(FindExtremePoints(&onlyStart, 1, e));
}

TEST_F(CatchTest, MainDirectionCandidatesComeFromTheLastContour) {
  const std::vector<TVectorRecord> drawing = {
      Rec(kRecContourStart, -50, -50), Rec(kRecLinePoint, -40, -50),  // an earlier contour
      Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 10, 0), Rec(kRecLinePoint, 10, 20),
      Rec(kRecContourStart, 99, 99)};  // a trailing start is skipped
  TVectorRecord c[kMainDirectionCandidates];
  ASSERT_EQ(CollectMainDirectionCandidates(drawing.data(), int32_t(drawing.size()), c), kMainDirectionCandidates);
  EXPECT_FLOAT_EQ(c[0].x, 10.0f);  // end point
  EXPECT_FLOAT_EQ(c[0].y, 20.0f);
  EXPECT_FLOAT_EQ(c[1].y, 10.0f);  // middle of the last segment
  EXPECT_FLOAT_EQ(c[2].y, 0.0f);   // the point before
  EXPECT_FLOAT_EQ(c[3].x, 10.0f);  // centre of the points 10, 12, 18: (10, 0)-(10, 20)
  EXPECT_FLOAT_EQ(c[3].y, 10.0f);
  const TVectorRecord single[] = {Rec(kRecContourStart, 3, 4)};
  EXPECT_EQ(CollectMainDirectionCandidates(single, 1, c), 1);
  EXPECT_EQ(CollectMainDirectionCandidates(nullptr, 0, c), 0);
}

TEST_F(CatchTest, MainDirectionCapturesAndResolvesTypedDistances) {
  const TVectorRecord c[] = {Rec(kRecLinePoint, 0, 0)};
  TDirectionCapture cap;
  double x = 0, y = 0;
  bool beep = false;
  const double one[] = {7.0}, two[] = {3.0, 4.0};

  CaptureMainDirection(c, 1, 1.0, 30.0, 5.0, cap);  // |dx| 1 below 5: vertical
  ASSERT_EQ(cap.direction, kDirectionVertical);
  EXPECT_DOUBLE_EQ(cap.trackedX, 0.0);
  EXPECT_DOUBLE_EQ(cap.trackedY, 30.0);
  EXPECT_EQ(FormatDirectionOffsets(cap), "dx=0 dy=30");
  ASSERT_TRUE(ResolveMainDirectionInput(c, cap, one, 1, x, y, beep));
  EXPECT_FALSE(beep);
  EXPECT_DOUBLE_EQ(x, 0.0);
  EXPECT_DOUBLE_EQ(y, 7.0);

  CaptureMainDirection(c, 1, -30.0, 2.0, 5.0, cap);  // horizontal
  ASSERT_EQ(cap.direction, kDirectionHorizontal);
  ASSERT_TRUE(ResolveMainDirectionInput(c, cap, one, 1, x, y, beep));
  EXPECT_DOUBLE_EQ(x, 7.0);
  EXPECT_DOUBLE_EQ(y, 0.0);

  CaptureMainDirection(c, 1, -20.0, -21.0, 5.0, cap);  // diagonal
  ASSERT_EQ(cap.direction, kDirectionDiagonal);
  const double h = std::hypot(20.0, 21.0) / std::sqrt(2.0);
  EXPECT_NEAR(cap.trackedX, -h, 1e-9);
  EXPECT_NEAR(cap.trackedY, -h, 1e-9);
  ASSERT_TRUE(ResolveMainDirectionInput(c, cap, one, 1, x, y, beep));
  EXPECT_TRUE(beep);  // a distance along a diagonal is refused with the signal
  EXPECT_NEAR(x, -h, 1e-9);
  ASSERT_TRUE(ResolveMainDirectionInput(c, cap, two, 2, x, y, beep));
  EXPECT_DOUBLE_EQ(x, 3.0);
  EXPECT_DOUBLE_EQ(y, 4.0);
  const double three[] = {1, 2, 3};
  EXPECT_FALSE(ResolveMainDirectionInput(c, cap, three, 3, x, y, beep));

  CaptureMainDirection(c, 1, 30.0, 50.0, 5.0, cap);  // nothing within 5
  EXPECT_EQ(cap.direction, kDirectionNone);
  EXPECT_FALSE(ResolveMainDirectionInput(c, cap, nullptr, 0, x, y, beep));
}

TEST_F(CatchTest, LaterCandidatesReplaceOnlyWhenNearer) {
  const TVectorRecord c[] = {Rec(kRecLinePoint, 0, 0), Rec(kRecLinePoint, 10, 3)};
  TDirectionCapture cap;
  CaptureMainDirection(c, 2, 9.0, 50.0, 20.0, cap);  // |dx| 9 for the first, 1 for the second
  EXPECT_EQ(cap.candidate, 1);
  EXPECT_EQ(cap.direction, kDirectionVertical);
  CaptureMainDirection(c, 2, 5.0, 50.0, 20.0, cap);  // 5 and 5: the first stays
  EXPECT_EQ(cap.candidate, 0);
}

TEST_F(CatchTest, SelectorNamesTheSearchedFile) {
  EXPECT_EQ(CatchFileForSelector(-2), "VekAR1.TMP");
  EXPECT_EQ(CatchFileForSelector(2), BuildLayerFileName(2));
  EXPECT_EQ(CatchFileForSelector(-1), GetCurrentLayerFileName());
  EXPECT_EQ(CatchFileForSelector(77), GetCurrentLayerFileName());
}

}  // namespace
