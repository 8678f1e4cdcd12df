// Cursor tracking: grid snap, wheel zoom, key mapping and coordinates.
#include <gtest/gtest.h>

#include <cmath>

#include "view/view_screen.h"

using namespace viewtest;

namespace {

// Puts the mouse on the screen point of the world point (x, y).
void PointMouseAt(float x, float y) {
  int16_t sx, sy;
  WorldToScreen(x, y, sx, sy);
  MouseX = sx;
  MouseY = sy;
}

TEST(CursorTracking, SnapsToTheGridWhenItIsShown) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 40, 30));  // about 4.6 px per mm: a 5 mm grid shows
  TrackGridX = TrackGridY = 5;
  DrawGridPoints();
  ASSERT_EQ(GridSnapOn, 1);
  CursorMode = 0;
  struct TCase { float x; float snapped; };
  for (const TCase& c : {TCase{12.4f, 10}, TCase{12.6f, 15}, TCase{2.4f, 0}}) {
    PointMouseAt(c.x, 12.4f);
    PollGraphicCursor();
    EXPECT_FLOAT_EQ(float(CursorPoint.x), c.snapped) << c.x;
    EXPECT_FLOAT_EQ(float(CursorPoint.y), 10);
  }
  CursorMode = 4;  // the system arrow: no snapping
  PointMouseAt(12.4f, 12.4f);
  PollGraphicCursor();
  EXPECT_NEAR(float(CursorPoint.x), 12.4, 0.25);
  EXPECT_NE(float(CursorPoint.x), 10.0f);
  CursorMode = 0;
  MouseX = DrawingArea.x2;  // on the right border: not snapped
  PollGraphicCursor();
  EXPECT_NE(std::fmod(float(CursorPoint.x), 5.0f), 0.0f);
}

TEST(CursorTracking, WheelZoomsByOneAndAHalfAroundTheCursor) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  ViewKind = 1;  // the zoom leaves the cleared window
  const double width = WorldXMax - WorldXMin;
  PointMouseAt(30, 40);
  PollGraphicCursor();  // the zoom centres on the cursor point of the step before
  WheelDelta = 120;
  PollGraphicCursor();
  EXPECT_EQ(WheelDelta, 0);
  // The fitted extent is the visible rectangle shrunk by 1.5 round the cursor.
  EXPECT_NEAR(float(CurrentViewExtent.maxCorner.x) - float(CurrentViewExtent.minCorner.x), width / 1.5, 0.05);
  EXPECT_NEAR((float(CurrentViewExtent.maxCorner.x) + float(CurrentViewExtent.minCorner.x)) / 2, 30, 0.3);
  const double before = CurrentViewExtent.maxCorner.x - CurrentViewExtent.minCorner.x;
  const double visible = WorldXMax - WorldXMin;
  PointMouseAt(30, 40);
  WheelDelta = int16_t(0xFF88);
  PollGraphicCursor();
  EXPECT_NEAR(float(CurrentViewExtent.maxCorner.x) - float(CurrentViewExtent.minCorner.x), visible * 1.5, 0.05);
  EXPECT_GT(float(CurrentViewExtent.maxCorner.x) - float(CurrentViewExtent.minCorner.x), before);
  // Zooming in never makes the half width smaller than 0.001 mm.
  for (int i = 0; i < 60; ++i) ZoomAtCursor(true);
  EXPECT_GE(float(CurrentViewExtent.maxCorner.x) - float(CurrentViewExtent.minCorner.x), 0.0019);
  CommandSubMode = 2;
  const TExtentsPair kept = CurrentViewExtent;
  ZoomAtCursor(false);
  EXPECT_EQ(float(CurrentViewExtent.maxCorner.x), float(kept.maxCorner.x)) << "sub-mode 2 refuses zooming";
  CommandSubMode = 0;
}

TEST(CursorTracking, KeysMapToCodesAndButtons) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  struct TCase { std::vector<uint8_t> keys; uint8_t code; uint8_t extended; };
  const TCase cases[] = {{{0, 16}, 209, 1}, {{0, 129}, 176, 1}, {{0, 120}, 177, 1}, {{0, 64}, 64, 1},
                         {{0, 90}, 255, 1}, {{'a'}, 'A', 0}};
  for (const TCase& c : cases) {
    ClearKeyBuffer();
    for (uint8_t k : c.keys) PushKeyCode(k);
    PollGraphicCursor();
    EXPECT_EQ(CursorKeyCode, c.code) << int(c.keys.back());
    EXPECT_EQ(ExtendedKeyFlag, c.extended);
  }
  ClearKeyBuffer();
  PushKeyCode(13);
  ButtonResult = 0;
  PollGraphicCursor();
  EXPECT_EQ(ButtonResult, 2);
  PushKeyCode(27);
  ErrorCode = 0;
  PollGraphicCursor();
  EXPECT_EQ(ButtonResult, 4);
  EXPECT_EQ(ErrorCode, 1);
  ErrorCode = 0;
  PushKeyCode(0);
  PushKeyCode(60);  // F2: middle button
  PollGraphicCursor();
  EXPECT_EQ(ButtonResult, 1);
}

TEST(CursorTracking, CoordinateTextsByMagnitude) {
  EXPECT_EQ(FormatCursorCoordinate(1.5), " 1.50000");
  EXPECT_EQ(FormatCursorCoordinate(-12.5), "-12.50000");
  EXPECT_EQ(FormatCursorCoordinate(12.5), " 12.5000");
  EXPECT_EQ(FormatCursorCoordinate(123.25), " 123.250");
  EXPECT_EQ(FormatCursorCoordinate(12345.678), "12345.68");
  EXPECT_LE(FormatCursorCoordinate(-99999999.0).size(), 10u);
}

TEST(CursorTracking, CoordinateReadoutHoldsEveryValueApart) {
  TViewScreen screen;
  const TCoordinateReadout r = LayOutCoordinateReadout();
  const int boxWidth = MaxX - CoordinateBoxX();
  // Each text the readout can show fits its field, measured in the font it is drawn in.
  for (double v : {-3.84615, 111.923, -111.923, 12345.678, -12345.678, -99999999.0, 3.0e38, -3.0e38}) {
    const std::string text = FormatCursorCoordinate(v);
    EXPECT_LE(MeasureTextWidth(text), r.valueWidth) << text;
  }
  EXPECT_GT(r.xValue, r.xLabel + MeasureTextWidth("X")) << "X and its value apart";
  EXPECT_GT(r.yLabel, r.xValue + r.valueWidth) << "the x value and Y apart";
  EXPECT_GT(r.yValue, r.yLabel + MeasureTextWidth("Y")) << "Y and its value apart";
  EXPECT_LT(r.yValue + r.valueWidth, boxWidth) << "the y value inside the box";

  // On the screen: the readout of (-3.84615, 111.923) shows four parts
  // ("X", x value, "Y", y value), each a blank's width or more apart.
  CursorShown = false;
  CursorMode = 0;
  GridSnapOn = 0;
  MouseX = int16_t((DrawingArea.x1 + DrawingArea.x2) / 2);
  MouseY = int16_t((DrawingArea.y1 + DrawingArea.y2) / 2);
  ViewScaleX = ViewScaleY = 2;
  WorldXMin = float(-3.84615 - (MouseX - DrawingArea.x1) / 2.0);
  WorldYMin = float(111.923 - (DrawingArea.y2 - MouseY) / 2.0);
  PollGraphicCursor();
  ASSERT_NEAR(CursorPoint.x, -3.85, 0.5);
  ASSERT_NEAR(CursorPoint.y, 111.9, 0.5);
  const int x1 = CoordinateBoxX(), top = StatusRowTop();
  const uint32_t ink = ColourOf(274);
  const int blank = MeasureTextWidth(" ");
  int parts = 0, gap = 1000, lastInk = -1;
  for (int x = x1 + 1; x < MaxX; ++x) {
    if (CountPixels(x, top + 1, x, top + 14, ink) == 0) {
      ++gap;
      continue;
    }
    if (gap >= blank) ++parts;
    gap = 0;
    lastInk = x;
  }
  EXPECT_EQ(parts, 4) << "the parts of the readout run together";
  EXPECT_LT(lastInk, MaxX - 1) << "the readout reaches the box's right edge";
}

TEST(CursorTracking, CircleOffsets) {
  CursorCircleRadiusPx = 10;
  BuildCursorCircle();
  EXPECT_EQ(CursorCircle[0].x, 10);
  EXPECT_EQ(CursorCircle[0].y, 0);
  EXPECT_EQ(CursorCircle[10].x, 0);
  EXPECT_EQ(CursorCircle[10].y, 10);
  EXPECT_EQ(CursorCircle[20].x, -10);
}

}  // namespace
