// Record checks and the edit question.
#include "model/record_checks.h"

#include <gtest/gtest.h>

#include "support/store_test_support.h"

namespace {
using namespace storetest;

class RecordChecksTest : public StoreTest {};

TRecs Padded(int before, TVectorRecord record) {
  TRecs r(static_cast<size_t>(before), Rec(kRecLinePoint, 1, 1));
  r.push_back(record);
  return r;
}

TEST_F(RecordChecksTest, ToolRecordScanLooksAtTheFirst500RecordsOnly) {
  const struct { TRecs records; bool tools; int scan; } cases[] = {
      {Padded(3, Rec(kRecToolFeed, 0, 0)), true, 2},
      {Padded(3, Rec(kRecToolName1, 0, 0)), false, 2},  // 152 is not one of the looked-for types
      {Padded(499, Rec(kRecTool8, 0, 0)), true, 2},
      {Padded(600, Rec(kRecToolFeed, 0, 0)), false, 2},
      {Padded(5, Rec(kRec3DPoint, 0, 0, 4)), false, 1},
      {Padded(5, Rec(kRecAltContourStart, 0, 0)), false, 1},
      {Join({Padded(5, Rec(kRec3DPoint, 0, 0)), Padded(700, Rec(kRecTool1, 0, 0))}), false, 3},
      {{}, false, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Put("T.TMP", cases[i].records);
    EXPECT_EQ(CheckFileHasToolRecords("T.TMP"), cases[i].tools) << i;
    EXPECT_EQ(ScanFileFor3DAndToolRecords("T.TMP"), cases[i].scan) << i;
  }
  EXPECT_FALSE(CheckFileHasToolRecords("MISSING.TMP"));
  EXPECT_EQ(ScanFileFor3DAndToolRecords("MISSING.TMP"), 0);
}

TEST_F(RecordChecksTest, ObjectNumbersAndAngleRecords) {
  Put("T.TMP", Padded(10, Rec(kRecContourStart, 0, 0, -1005)));
  EXPECT_TRUE(CheckFileHasObjectNumbers("T.TMP"));
  Put("T.TMP", Padded(10, Rec(kRecContourStart, 0, 0, -1000)));
  EXPECT_FALSE(CheckFileHasObjectNumbers("T.TMP"));
  Put("T.TMP", Padded(4999, Rec(kRecAngles, 0, 0)));
  EXPECT_TRUE(CheckFileHasAngleRecords("T.TMP"));
  Put("T.TMP", Padded(5000, Rec(kRecAngles, 0, 0)));
  EXPECT_FALSE(CheckFileHasAngleRecords("T.TMP"));
}

TEST_F(RecordChecksTest, CheckedRecordKindFollowsTheSwitches) {
  Put("T.TMP", Join({Padded(2, Rec(kRecPathFactor, 1, 0)), Padded(2, Rec(kRec3DPoint, 0, 0)),
                     Padded(2, Rec(kRecTool1, 0, 0))}));
  const struct { uint8_t tools, points3d; int flags, kind; } cases[] = {
      {1, 1, 11, 8}, {1, 1, 3, 2}, {1, 0, 3, 1}, {0, 1, 11, 2}, {0, 0, 11, 0}, {1, 1, 1, 1}, {1, 1, 0, 0},
  };
  for (const auto& c : cases) {
    CheckToolRecords = c.tools;
    Check3DPoints = c.points3d;
    EXPECT_EQ(FindCheckedRecordKind("T.TMP", c.flags), c.kind) << int(c.tools) << int(c.points3d) << c.flags;
  }
  CheckToolRecords = 0;
  Check3DPoints = 1;
  EXPECT_TRUE(CheckFileHas3DPoints("T.TMP"));
  Check3DPoints = 0;
  EXPECT_FALSE(CheckFileHas3DPoints("T.TMP"));
}

TEST_F(RecordChecksTest, LowestHeightAndPathDepth) {
  double height = 1;
  Put("T.TMP", {Rec(kRec3DPoint, 0, 0, -2), Rec(kRec3DPoint, 0, 0, -7.5f), Rec(kRecLinePoint, 0, 0, -20)});
  GetLowest3DHeight("T.TMP", 1.0, height);
  EXPECT_DOUBLE_EQ(height, -8.5);
  Put("T.TMP", {Rec(kRecLinePoint, 0, 0)});
  GetLowest3DHeight("T.TMP", 1.0, height);
  EXPECT_DOUBLE_EQ(height, -1.0);

  // Two tool blocks: plunge depths 2 and 3.5 (y of the type-156 records).
  Put("P.TMP", {Rec(kRecToolFeed, 100, 2, 5), Rec(kRecTool8, 0, 0), Rec(kRecContourStart, 0, 0),
                Rec(kRecLinePoint, 1, 0), Rec(kRecPathEnd, 0, 0), Rec(kRecToolFeed, 100, 3.5f, 5),
                Rec(kRecTool8, 0, 0), Rec(kRecLinePoint, 2, 0), Rec(kRecPathEnd, 0, 0)});
  double depth = 0;
  EXPECT_EQ(GetPathDepthAndToolCount("P.TMP", depth), 2);
  EXPECT_DOUBLE_EQ(depth, 3.5);
}

TEST_F(RecordChecksTest, ClosedContours) {
  const TRecs triangle = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0), Rec(kRecLinePoint, 0, 5),
                          Rec(kRecLinePoint, 0.0005f, 0)};
  const TRecs twoPoints = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 0, 0)};
  const TRecs open = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0), Rec(kRecLinePoint, 0, 5)};
  const struct { TRecs records; bool closed; } cases[] = {
      {triangle, true}, {twoPoints, false}, {open, false}, {Join({triangle, open}), false},
      {Join({triangle, triangle}), true}, {{}, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Put("T.TMP", cases[i].records);
    EXPECT_EQ(CheckAllContoursClosed("T.TMP"), cases[i].closed) << i;
  }
}

TEST_F(RecordChecksTest, PenUpMarksAreFoundAndTurnedIntoStarts) {
  const TRecs file = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 1, 0), Rec(kRecLinePoint, 5, 5, -10000),
                      Rec(kRecLinePoint, 6, 5)};
  Put("T.TMP", file);
  EXPECT_TRUE(ScanPenUpMarks("T.TMP", 0));
  EXPECT_TRUE(SameRecords(Get("T.TMP"), file));
  EXPECT_TRUE(ScanPenUpMarks("T.TMP", 2));
  TRecs expected = file;
  expected[2] = Rec(kRecContourStart, 5, 5, 0);
  EXPECT_TRUE(SameRecords(Get("T.TMP"), expected));
  EXPECT_FALSE(ScanPenUpMarks("T.TMP", 0));
}

TEST_F(RecordChecksTest, StripAndFlattenWorkInPlaceWithAnUndoStepForTheLayer) {
  const TRecs file = {Rec(kRecMinCorner, 0, 0), Rec(kRecTool1, 1, 1), Rec(kRecContourStart, 0, 0, -3),
                      Rec(kRec3DPoint, 1, 1, -2), Rec(kRecLinePoint, 2, 2, 4), Rec(kRecPathEnd, 0, 0),
                      Rec(kRecArc, 3, 0, 1)};
  Put(Layer(0), file);
  StripToolRecords(Layer(0));
  const TRecs stripped = {file[2], file[3], file[4], file[6]};
  EXPECT_TRUE(SameRecords(Get(Layer(0)), stripped));
  Flatten3DPoints(Layer(0));
  const TRecs flat = {file[2], Rec(kRecLinePoint, 1, 1, 0), Rec(kRecLinePoint, 2, 2, 0), file[6]};
  EXPECT_TRUE(SameRecords(Get(Layer(0)), flat));
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), stripped));
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), file));
}

// Known marks are cleared silently; the question comes once, at the first
// other negative start, and a yes clears it and every later one.
TEST_F(RecordChecksTest, ContourMarksAskOnceForUnknownMarks) {
  const TRecs file = {Rec(kRecContourStart, 0, 0, -3), Rec(kRecLinePoint, 1, 0), Rec(kRecContourStart, 0, 0, -1),
                      Rec(kRecLinePoint, 1, 0), Rec(kRecContourStart, 0, 0, -1005), Rec(kRecLinePoint, 1, 0)};
  Answer("key y\n");
  Put("T.TMP", file);
  EXPECT_TRUE(ClearContourMarks("T.TMP", 7));
  for (const TVectorRecord& r : Get("T.TMP")) {
    if (r.type == kRecContourStart) {
      EXPECT_EQ(float(r.z), 0.0f);
    }
  }
  EXPECT_EQ(Transcript().find("msgbox"), Transcript().rfind("msgbox"));  // one question

  Answer("key n\n");
  Put("T.TMP", file);
  EXPECT_FALSE(ClearContourMarks("T.TMP", 7));
  const TRecs after = Get("T.TMP");
  ASSERT_EQ(after.size(), file.size());
  EXPECT_EQ(float(after[0].z), 0.0f);
  EXPECT_EQ(float(after[2].z), -1.0f);
  EXPECT_EQ(float(after[4].z), -1005.0f);
}

TEST_F(RecordChecksTest, QuestionsStayQuietWhenTheChecksAreOff) {
  const TRecs file = {Rec(kRecTool1, 0, 0), Rec(kRecContourStart, 0, 0), Rec(kRec3DPoint, 1, 1, 3)};
  Put("T.TMP", file);
  EXPECT_TRUE(AskStripToolAnd3DRecords("T.TMP", 7, 3));
  EXPECT_EQ(AskStripToolRecords("T.TMP"), 4);
  EXPECT_EQ(AskDelete3DPoints("T.TMP"), 3);
  EXPECT_TRUE(SameRecords(Get("T.TMP"), file));
  EXPECT_EQ(MouseButtonState, 0);
  // With the checks on but nothing to ask about, no question either.
  CheckToolRecords = 1;
  Check3DPoints = 1;
  Put("T.TMP", Square(0, 0, 1));
  EXPECT_TRUE(AskStripToolAnd3DRecords("T.TMP", 7, 3));
  EXPECT_EQ(AskStripToolRecords("T.TMP"), 4);
  EXPECT_EQ(AskDelete3DPoints("T.TMP"), 3);
}

}  // namespace
