// Freehand paths drawn with the button held.
#include "cad/freehand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cad/construction_screen.h"
#include "platform/system.h"

namespace {

using cadtest::Rec;
using cadtest::TLineScreen;

std::string At(double x, double y) {
  return std::to_string(TLineScreen::ScreenX(x)) + " " + std::to_string(TLineScreen::ScreenY(y));
}

// The button goes down at the first point, the mouse visits the others and
// the button comes up at the last.
std::string Stroke(const std::vector<std::pair<double, double>>& points) {
  std::string s = "press " + At(points.front().first, points.front().second) + " left\n";
  for (size_t i = 1; i < points.size(); ++i) s += "move " + At(points[i].first, points[i].second) + "\n";
  s += "release " + At(points.back().first, points.back().second) + " left\n";
  return s;
}

// A square stroke that comes back within the catch zone closes on its start
// exactly, keeps its corners and flashes; the store is left empty.
TEST(Freehand, StrokeBackToTheStartClosesTheContour) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 5, 0)});
  std::vector<std::pair<double, double>> path;
  for (int i = 0; i <= 8; ++i) path.push_back({20 + 5 * i, 20});
  for (int i = 1; i <= 8; ++i) path.push_back({60, 20 + 5 * i});
  for (int i = 1; i <= 8; ++i) path.push_back({60 - 5 * i, 60});
  for (int i = 1; i <= 7; ++i) path.push_back({20, 60 - 5 * i});
  path.push_back({20.5, 21});  // inside the zone: caught on the start
  path.push_back({30, 30});    // never reached: the path closed
  screen.UseScript(Stroke(path));
  const int beeps = plat::BeepCount();
  screen.Run(107);
  EXPECT_GT(plat::BeepCount(), beeps);
  const std::vector<TVectorRecord> layer = screen.Layer();
  ASSERT_GE(layer.size(), 6u);
  // The older contour stays; the new one starts at (20, 20) and ends there.
  EXPECT_EQ(layer[2].type, kRecContourStart);
  EXPECT_NEAR(float(layer[2].x), 20, 0.01);
  EXPECT_NEAR(float(layer[2].y), 20, 0.01);
  EXPECT_EQ(float(layer.back().x), float(layer[2].x));
  EXPECT_EQ(float(layer.back().y), float(layer[2].y));
  for (const auto& corner : {std::pair{60.0, 20.0}, {60.0, 60.0}, {20.0, 60.0}}) {
    bool kept = false;
    for (const TVectorRecord& r : layer) kept |= std::fabs(r.x - corner.first) < 0.01 && std::fabs(r.y - corner.second) < 0.01;
    EXPECT_TRUE(kept) << corner.first << "," << corner.second;
  }
  for (size_t i = 3; i < layer.size(); ++i) EXPECT_EQ(layer[i].type, kRecLinePoint) << i;
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_TRUE(screen.Read(kVectorStoreName).empty());
}

// An open arc stroke: the smoothing keeps every point near the stroke's
// circle (within the 2-pixel tolerance) and the path ends where the button
// came up.
TEST(Freehand, OpenStrokeIsSmoothedWithinTwoPixels) {
  TLineScreen screen;
  std::vector<std::pair<double, double>> path;
  for (int i = 0; i <= 30; ++i) {
    const double a = 3.14159265358979 / 2 * i / 30;
    path.push_back({50 + 40 * std::cos(a), 10 + 40 * std::sin(a)});
  }
  screen.UseScript(Stroke(path));
  screen.Run(107);
  const std::vector<TVectorRecord> layer = screen.Layer();
  ASSERT_GE(layer.size(), 3u);
  EXPECT_EQ(layer[0].type, kRecContourStart);
  for (const TVectorRecord& r : layer) EXPECT_NEAR(std::hypot(r.x - 50, r.y - 10), 40, 1.0 + 0.5) << float(r.x) << "," << float(r.y);
  EXPECT_NEAR(float(layer.back().x), TLineScreen::WorldX(path.back().first), 0.01);
  EXPECT_NEAR(float(layer.back().y), TLineScreen::WorldY(path.back().second), 0.01);
}

}  // namespace
