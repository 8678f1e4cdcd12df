// Rulers, grid, layout area and margins of the graphic window.
#include <gtest/gtest.h>

#include <cstring>

#include "view/view_screen.h"

using namespace viewtest;

namespace {

TEST(RulerStep, PicksOneTwoOrFiveTimesAPowerOfTen) {
  struct TCase { double millimetresFor96; double step; int decimals; };
  const TCase cases[] = {{48, 20, 0}, {100, 50, 0}, {12, 10, 0}, {0.48, 0.5, 1}, {0.15, 0.2, 1}, {0.05, 0.1, 2}};
  for (const TCase& c : cases) {
    double step;
    int decimals;
    GetRulerStep(96.0 / c.millimetresFor96, step, decimals);
    EXPECT_NEAR(step, c.step, 1e-9) << c.millimetresFor96;
    EXPECT_EQ(decimals, c.decimals) << c.millimetresFor96;
    EXPECT_NEAR(GetGridLineStep(96.0 / c.millimetresFor96), c.step, 1e-9);
  }
  double step;
  int decimals;
  GetRulerStep(96.0 / 20000.0, step, decimals);  // 96 / s above 10000: 120 / s = 25000
  EXPECT_NEAR(step, 20000, 1e-6);
}

TEST(RulerStep, NumbersLoseTrailingZeros) {
  EXPECT_EQ(FormatRulerNumber(20, 0), "20");
  EXPECT_EQ(FormatRulerNumber(0.5, 1), "0.5");
  EXPECT_EQ(FormatRulerNumber(2.0, 1), "2");
  EXPECT_EQ(FormatRulerNumber(0.25, 3), "0.25");
}

TEST(Rulers, Golden) {
  TViewScreen screen;
  DrawingArea = TLayoutRect{1, 14, 14, 219, 169};
  TopRuler = TLayoutRect{1, 14, 0, 219, 14};
  FitViewToExtent(Extent(0, 0, 90, 72.5f));  // 2 px per mm: 96 px are 48 mm
  double step;
  int decimals;
  GetRulerStep(ViewScaleX, step, decimals);
  EXPECT_NEAR(step, 20, 1e-9);
  // The tick of 0 is blue, the others black.
  int16_t sx, sy;
  WorldToScreen(0, 0, sx, sy);
  EXPECT_EQ(PixelAt(sx, 10), ColourOf(1));
  WorldToScreen(20, 0, sx, sy);
  EXPECT_EQ(PixelAt(sx, 10), 0u);
  ExpectMatchesGolden("rulers", 240, 180, 60);
}

TEST(Grid, ShownAndSnappableOnlyWhenCoarseEnough) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));  // about 1.85 px per mm
  struct TCase { float grid; uint8_t snap; };
  const TCase cases[] = {{0.0001f, 0}, {1, 0}, {5, 1}};
  for (const TCase& c : cases) {
    TrackGridX = TrackGridY = c.grid;
    GridSnapOn = 1 - c.snap;
    DrawGridPoints();
    EXPECT_EQ(GridSnapOn, c.snap) << c.grid;
  }
}

TEST(Grid, LayoutFrameAndGridGolden) {
  TViewScreen screen;
  TrackGridX = TrackGridY = 10;
  GridLinesOn = 1;
  uint8_t details[18] = {};
  details[0] = 12;  // cut to 7 when drawn
  const float margins[4] = {10, 10, -5, -5};
  std::memcpy(details + 1, margins, sizeof margins);
  std::memcpy(&LayoutDetails, details, 18);
  LayoutArea = Extent(-10, -10, 90, 65);
  ClearGraphicWindow();
  FitViewToExtent(Extent(-10, -10, 90, 65));
  DrawLayoutArea(true);
  DrawGridPoints();
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&LayoutDetails)[0], 7);
  EXPECT_EQ(GridSnapOn, 1);
  ExpectMatchesGolden("layout_grid", 240, 180);
}

TEST(LayoutMargins, PercentagesMillimetresAndOverlargeMargins) {
  LayoutArea = Extent(0, 0, 200, 100);
  uint8_t details[18] = {};
  float m[4] = {10, 0, 95, 0};
  std::memcpy(details + 1, m, sizeof m);
  std::memcpy(&LayoutDetails, details, 18);
  TLayoutMargins got = GetLayoutMargins();
  EXPECT_NEAR(got.left, 199.0 * 20 / 210, 1e-9);
  EXPECT_NEAR(got.right, 199.0 * 190 / 210, 1e-9);
  m[0] = -7, m[1] = 10, m[2] = 0, m[3] = -3;
  std::memcpy(details + 1, m, sizeof m);
  std::memcpy(&LayoutDetails, details, 18);
  got = GetLayoutMargins();
  EXPECT_NEAR(got.left, 7, 1e-9);
  EXPECT_NEAR(got.bottom, 10, 1e-9);
  EXPECT_NEAR(got.right, 0, 1e-9);
  EXPECT_NEAR(got.top, 3, 1e-9);
  std::memset(&LayoutDetails, 0, sizeof LayoutDetails);
}

}  // namespace
