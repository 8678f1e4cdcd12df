// Line constructions run by scripted clicks and typed values: the records
// they leave in the layer file, the closing of a polyline on its start and
// the right-button end that selects the contour.
#include "cad/lines_polylines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "cad/construction_frame.h"
#include "cad/snapping.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "platform/system.h"
#include "cad/construction_screen.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {
using namespace cadtest;


// --- plain geometry --------------------------------------------------------------------------

TEST(LineValues, EndPointByMode) {
  const TPointRecord last{kRecLinePoint, 10, 10};
  const struct { int mode; double a, b, side; bool ok; double x, y; } cases[] = {
      {kLineByOffsets, 3, -4, 1, true, 13, 6},
      {kLineByLengthAngle, 10, 90, 1, true, 10, 20},
      {kLineBy15Degrees, 10, 40, 1, true, 10 + 7.0710678, 10 + 7.0710678},  // 40 degrees become 45
      {kLineByLengthDx, 5, 3, 1, true, 13, 14},
      {kLineByLengthDx, 5, 3, -1, true, 13, 6},
      {kLineByLengthDx, 5, 5, 1, false, 0, 0},  // R not above dx: no point
      {kLineByLengthDy, 5, -4, -1, true, 7, 6},
      {kLineByAngleDx, 135, 2, 1, true, 8, 12},   // x part negative between 90 and 270 degrees
      {kLineByAngleDx, 90, 2, 1, false, 0, 0},    // tangent infinite
      {kLineByAngleDy, -45, 3, 1, true, 13, 7},   // -45 is 315: y part negative
      {kLineByAngleDy, 180, 3, 1, false, 0, 0},   // tangent zero
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " " << c.a << " " << c.b);
    TPointRecord end{kRecLinePoint, -1, -1};
    EXPECT_EQ(ComputeLineByValues(c.mode, last, c.a, c.b, c.side, end), c.ok);
    if (!c.ok) continue;
    EXPECT_NEAR(end.x, c.x, 0.001);
    EXPECT_NEAR(end.y, c.y, 0.001);
  }
}

TEST(LineValues, BandSnapsTo15DegreeSteps) {
  const TPointRecord last{kRecLinePoint, 0, 0};
  const struct { float x, y, ex, ey; } cases[] = {
      {30, 25.2f, 30, 30},                 // 40 degrees: 45
      {20, 5, 20, 5.3589838f},             // 14 degrees: 15, y follows x
      {-12, 40, -10.717968f, 40},          // 107 degrees: 105, x follows y
      {0.005f, 33, 0, 33},                 // nearly vertical: exactly vertical
      {-12, 0.009f, -12, 0},               // nearly horizontal
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    TPointRecord end{0, c.x, c.y};
    SnapBandTo15Degrees(last, end);
    EXPECT_NEAR(end.x, c.ex, 0.001);
    EXPECT_NEAR(end.y, c.ey, 0.001);
  }
  EXPECT_DOUBLE_EQ(LineValuesAngle(-1, 1), 135.0);
  EXPECT_DOUBLE_EQ(LineValuesAngle(0, -2), -90.0);
  EXPECT_DOUBLE_EQ(LineValuesAngle(-1, -1), 225.0);
}

// --- scripted constructions ----------------------------------------------------------------------

TEST(LineCommands, SingleLineByClicksOnAnEmptyLayer) {
  TLineScreen screen;
  screen.UseScript(TLineScreen::Click(10, 10) + TLineScreen::Click(50, 20));
  screen.Run(106);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 50, 20)});
  EXPECT_EQ(StoreHoldsData, 0);
}

TEST(LineCommands, SingleLineCancelledAtTheSecondPointKeepsItsStartAndSelectsNothing) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0)});
  screen.UseScript(TLineScreen::Typed("30 30") + TLineScreen::Click(60, 60, "right"));
  screen.Run(106);
  ExpectRecords(screen.Layer(),
                {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0), Rec(kRecContourStart, 30, 30)});
  EXPECT_EQ(StoreHoldsData, 0);
}

TEST(LineCommands, PolylineClosedOnItsStartFlashesAndTheRightButtonSelectsIt) {
  TLineScreen screen;
  // An older contour stays in the layer file.
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0)});
  // The last click lies 1 mm (under 3 pixels) from the start: the cursor is
  // caught there and the point takes the start's exact place.
  screen.UseScript(TLineScreen::Click(20, 20) + TLineScreen::Click(60, 20) + TLineScreen::Click(60, 50) +
                   TLineScreen::Click(20.5, 20.5) + TLineScreen::Click(90, 90, "right"));
  const int beeps = plat::BeepCount();
  screen.Run(123);
  EXPECT_GT(plat::BeepCount(), beeps);
  // The polyline went into the vector store, the older contour stayed.
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0)});
  EXPECT_EQ(StoreHoldsData, 1);
  ExpectRecords(screen.Read(kVectorStoreName),
                {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 60, 20), Rec(kRecLinePoint, 60, 50),
                 Rec(kRecLinePoint, 20, 20)});
  const std::vector<TVectorRecord> store = screen.Read(kVectorStoreName);
  ASSERT_EQ(store.size(), 4u);
  EXPECT_EQ(float(store[3].x), float(store[0].x));  // exactly on the start
  EXPECT_EQ(float(store[3].y), float(store[0].y));
}

TEST(LineCommands, PolylinePointOutsideTheCatchZoneDoesNotClose) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0)});
  // 6 mm from the start are 12 pixels: beyond the 8 pixels that catch.
  screen.UseScript(TLineScreen::Click(20, 20) + TLineScreen::Click(60, 20) + TLineScreen::Click(26, 20) +
                   "key Esc\n");
  const int beeps = plat::BeepCount();
  screen.Run(123);
  EXPECT_EQ(plat::BeepCount(), beeps);
  ExpectRecords(screen.Read(kVectorStoreName),
                {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 60, 20), Rec(kRecLinePoint, 26, 20)});
}

TEST(LineCommands, PolylineNeedsALastPoint) {
  TLineScreen screen;
  screen.UseScript("key Enter\n" + TLineScreen::Click(20, 20) + TLineScreen::Click(60, 20) + "key Esc\n");
  screen.Run(123);
  EXPECT_TRUE(screen.Layer().empty());
  EXPECT_EQ(StoreHoldsData, 0);
}

TEST(LineCommands, FifteenDegreeLineByClickAndByTypedValues) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 10, 10)});
  // The cursor at about 40 degrees from (10, 10): the line runs at 45.
  const double cx = TLineScreen::WorldX(40.5), cy = TLineScreen::WorldY(35.5);
  screen.UseScript(TLineScreen::Click(40.5, 35.5) + TLineScreen::Typed("10 40"));
  screen.Run(117);
  const double ex = cx, ey = 10 + (cx - 10);
  ASSERT_NEAR(std::atan2(cy - 10, cx - 10) * 180 / 3.14159265, 40, 1);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, float(ex), float(ey))});
  // The next run continues from that point: 10 mm at 45 degrees.
  screen.Run(117);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, float(ex), float(ey)),
                                 Rec(kRecLinePoint, float(ex + 7.0710678), float(ey + 7.0710678))});
}

TEST(LineCommands, LinesByValuesAndTheirCancels) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 10, 10)});
  // 114 dx dy; 116 length and angle; 113 a new start at dx dy; a right click
  // in 114 writes nothing and selects the last contour.
  screen.UseScript(TLineScreen::Typed("5 -2") + TLineScreen::Typed("10 90") + TLineScreen::Typed("100 0") +
                   TLineScreen::Click(90, 90, "right"));
  screen.Run(114);
  screen.Run(116);
  screen.Run(113);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 15, 8),
                                 Rec(kRecLinePoint, 15, 18), Rec(kRecContourStart, 115, 18)});
  screen.Run(114);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 15, 8),
                                 Rec(kRecLinePoint, 15, 18)});
  EXPECT_EQ(StoreHoldsData, 1);
  ExpectRecords(screen.Read(kVectorStoreName), {Rec(kRecContourStart, 115, 18)});
}

TEST(LineCommands, PointObjectAndNewStart) {
  TLineScreen screen;
  screen.UseScript(TLineScreen::Typed("7 8") + TLineScreen::Typed("20 30"));
  screen.Run(94);
  screen.Run(104);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 7, 8), Rec(kRecLinePoint, 7, 8),
                                 Rec(kRecContourStart, 20, 30)});
}

TEST(LineCommands, KeysEndAtTheCursorStartAnewOrCloseOnTheStart) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 40, 10)});
  const double cx = TLineScreen::WorldX(40), cy = TLineScreen::WorldY(40);
  // "E" ends at the cursor with a line, "S" closes on the start, "A" starts
  // a new contour at the cursor.
  screen.UseScript("move " + std::to_string(TLineScreen::ScreenX(40)) + " " + std::to_string(TLineScreen::ScreenY(40)) +
                   "\nwait 1\ntext E\nwait 1\ntext S\n" +
                   TLineScreen::Typed("70 70") + "wait 1\ntext A\n");
  const int beeps = plat::BeepCount();
  screen.Run(105);
  screen.Run(105);
  EXPECT_GT(plat::BeepCount(), beeps);
  // The contour is closed: the next run only asks a new start.
  screen.Run(105);
  screen.Run(105);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 40, 10),
                                 Rec(kRecLinePoint, float(cx), float(cy)), Rec(kRecLinePoint, 10, 10),
                                 Rec(kRecContourStart, 70, 70), Rec(kRecContourStart, float(cx), float(cy))});
}

TEST(LineCommands, ThreeDPointWithTypedHeight) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 10, 10)});
  screen.UseScript(TLineScreen::Typed("20 10 -1.5") + TLineScreen::Typed("30 10"));
  screen.Run(131);
  screen.Run(131);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), TVectorRecord{kRec3DPoint, 20, 10, -1.5f},
                                 Rec(kRecLinePoint, 30, 10)});
}

TEST(LineCommands, LeftButtonDrawsRightButtonStartsAnewEscWritesNothing) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 10, 10)});
  screen.UseScript(TLineScreen::Click(30, 10) + TLineScreen::Click(50, 40, "right") + "wait 1\nkey Esc\n");
  screen.Run(93);
  screen.Run(93);
  screen.Run(93);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 30, 10)});
  // Esc ended the run: the new start went into the vector store.
  ExpectRecords(screen.Read(kVectorStoreName), {Rec(kRecContourStart, 50, 40)});
}

TEST(LineCommands, LinePopupRunsTheChosenKind) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 10, 10)});
  // The popup opens 32 pixels above the mouse (at 300, 300); its first
  // entry, a new start at dx, dy, is picked.
  MouseX = 300;
  MouseY = 300;
  screen.UseScript("wait 1\nclick 340 306\n" + TLineScreen::Typed("3 4"));
  screen.Run(135);
  ExpectRecords(screen.Layer(), {Rec(kRecContourStart, 10, 10), Rec(kRecContourStart, 13, 14)});
}

}  // namespace
