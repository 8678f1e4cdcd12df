// Redraw entry points and zoom commands: the extents they fit and what the
// painter draws by view kind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "frame/file_helpers.h"
#include "ui/graphic_controls.h"
#include "frame/main_window.h"
#include "model/vector_store.h"
#include "platform/script.h"
#include "view/extents.h"
#include "view/view_screen.h"

using namespace viewtest;

namespace {

void WriteRecords(const std::string& name, const std::vector<TVectorRecord>& records) {
  std::ofstream out(plat::HostPathOf(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
}

void ExpectViewExtent(float x1, float y1, float x2, float y2) {
  EXPECT_NEAR(float(CurrentViewExtent.minCorner.x), x1, 1e-3);
  EXPECT_NEAR(float(CurrentViewExtent.minCorner.y), y1, 1e-3);
  EXPECT_NEAR(float(CurrentViewExtent.maxCorner.x), x2, 1e-3);
  EXPECT_NEAR(float(CurrentViewExtent.maxCorner.y), y2, 1e-3);
}

class Redraw : public ::testing::Test {
 protected:
  void SetUp() override {
    StoreHoldsData = false;
    HighestLayer = 1;
    WriteRecords(BuildLayerFileName(0), {Rec(kRecContourStart, 10, 20), Rec(kRecLinePoint, 40, 30)});
    WriteRecords(BuildLayerFileName(1), {});
    LayerRecordCounts[0] = 2;
    WriteRecords(BuildWLayerFileName(0), {Rec(kRecContourStart, -50, -60), Rec(kRecLinePoint, -20, -30)});
    WriteRecords("JOB.TMP", {Rec(kRecMinCorner, 0, 0), Rec(kRecMaxCorner, 7, 8), Rec(kRecContourStart, 100, 100),
                             Rec(kRecLinePoint, 120, 130)});
  }
  void TearDown() override { StoreHoldsData = false; }
  TViewScreen screen_;
};

TEST_F(Redraw, ZoomToAllPicksTheExtentByViewKind) {
  struct TCase { uint8_t kind; float x1, y1, x2, y2; };
  const TCase cases[] = {
      {0, 10, 20, 40, 30},        // drawing layers
      {1, 0, 0, 7, 8},            // the file, head trusted
      {21, 100, 100, 120, 130},   // the file scanned
      {3, -50, -60, -20, -30},    // tool layers
      {2, 0, 0, 100, 75},         // layers with the layout area
      {23, 0, 0, 100, 75},        // the layout area
  };
  for (const TCase& c : cases) {
    ViewSetFlag = 1;
    ZoomToAll("JOB.TMP", c.kind);
    ExpectViewExtent(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(ViewKind, c.kind & 127);
  }
}

TEST_F(Redraw, ZoomToAllWithAnEmptyStoreDrawsNothing) {
  ViewSetFlag = 1;
  FitViewToExtent(Extent(1, 2, 3, 4));
  ViewKind = 99;
  ZoomToAll("", 13);
  ExpectViewExtent(1, 2, 3, 4);
  EXPECT_EQ(ViewKind, 99) << "the painter did not run";
  WriteRecords(kVectorStoreName, {Rec(kRecContourStart, 5, 6), Rec(kRecLinePoint, 9, 16)});
  StoreHoldsData = true;
  ZoomToAll("", 13);
  ExpectViewExtent(5, 6, 9, 16);
}

TEST_F(Redraw, ZoomOutShowsThreeTimesTheRange) {
  ViewSetFlag = 1;
  WorldXMin = 0, WorldXMax = 100, WorldYMin = 10, WorldYMax = 90;
  ZoomOutAroundCentre("", 0);
  ExpectViewExtent(-100, -70, 200, 170);
}

TEST_F(Redraw, ZoomLevelsAroundTheLayoutCentre) {
  LayoutArea = Extent(0, 0, 300, 200);
  ViewSetFlag = 1;
  ZoomToLayoutLevel("", 0, 8);  // 250 %
  ExpectViewExtent(90, 60, 210, 140);
  ZoomToLayoutLevel("", 0, 3);  // 10 %
  ExpectViewExtent(-1350, -900, 1650, 1100);
}

TEST_F(Redraw, ZoomBarPansOneStepBeyondTheLayoutAtMost) {
  ViewSetFlag = 1;
  FitViewToExtent(Extent(0, 0, 50, 37.5f));
  int moves = 0;
  for (int i = 0; i < 6; ++i) {
    const bool inside = !(WorldXMax > LayoutArea.maxCorner.x);
    const double expected = WorldXMin + 0.7 * (double(WorldXMax) - WorldXMin);
    const float before = CurrentViewExtent.minCorner.x;
    ApplyZoomBarChoice("", 0, 6);  // pan right
    const bool moved = CurrentViewExtent.minCorner.x != before;
    EXPECT_EQ(moved, inside) << "step " << i;
    if (moved) EXPECT_NEAR(float(CurrentViewExtent.minCorner.x), expected, 1e-3);
    moves += moved;
  }
  EXPECT_GE(moves, 1);
  EXPECT_LT(moves, 6) << "panning stops beyond the layout area";
}

TEST_F(Redraw, ZoomToWindowShowsTheRectangleGiven) {
  ViewSetFlag = 1;
  FitViewToExtent(Extent(0, 0, 100, 75));
  auto useScript = [](const std::string& text) {
    std::ofstream(std::getenv("TORV_SCRIPT")) << text;
    plat::ResetScript();
  };
  useScript("text 30 20\nkey Enter\ntext 10 5\nkey Enter\n");
  ZoomToWindow("", 0);
  ExpectViewExtent(10, 5, 30, 20);
  // Cancelled at either corner, or no area: the view stays.
  for (const char* script : {"key Esc\n", "text 1 2\nkey Enter\nkey Esc\n", "text 1 2\nkey Enter\ntext 1 9\nkey Enter\n"}) {
    useScript(script);
    ZoomToWindow("", 0);
    ExpectViewExtent(10, 5, 30, 20);
  }
  // The zoom bar's choice 10 is the same command.
  useScript("text 12 6\nkey Enter\ntext 20 10\nkey Enter\n");
  ApplyZoomBarChoice("", 0, 10);
  ExpectViewExtent(12, 6, 20, 10);
}

TEST_F(Redraw, TheZoomPopupOffersAllTheStoreAndFixedLevels) {
  auto pick = [](int entry, int storeChoice) {
    // The list opens 52 pixels down below the zoom-out button of the view
    // bar, or at the mouse while the bar does not show that button.
    MouseX = 20;
    const int x = (ViewBarButtons[3].flag != 0 ? ViewBarButtons[3].x1 : MouseX) + 12;
    const int y = 52 + 4 + (entry - 1) * 21 + 10;
    std::ofstream(std::getenv("TORV_SCRIPT")) << "click " << x << " " << y << "\n";
    plat::ResetScript();
    ShowZoomPopup("", 0, storeChoice);
  };
  ViewSetFlag = 1;
  FitViewToExtent(Extent(0, 0, 100, 75));
  pick(9, 13);  // 500 %: a tenth of the layout area's size either side of its centre
  ExpectViewExtent(40, 30, 60, 45);
  pick(1, 13);  // everything: the drawing layers
  ExpectViewExtent(10, 20, 40, 30);
  WriteRecords(kVectorStoreName, {Rec(kRecContourStart, 2, 3), Rec(kRecLinePoint, 8, 7)});
  StoreHoldsData = true;
  pick(2, 255);  // the store is not offered to this caller
  ExpectViewExtent(10, 20, 40, 30);
  pick(2, 13);
  ExpectViewExtent(2, 3, 8, 7);
}

TEST_F(Redraw, WithoutAViewRedrawsStartFromTheLayoutArea) {
  ViewSetFlag = 0;
  RedrawCurrentView(0);
  ExpectViewExtent(0, 0, 100, 75);
  EXPECT_EQ(ViewSetFlag, 1);
  EXPECT_EQ(ViewKind, 0);
  // Layer 0 is drawn in its colour on the filled layout area.
  int16_t sx, sy;
  WorldToScreen(25, 25, sx, sy);
  EXPECT_EQ(CountPixels(sx - 1, sy - 1, sx + 1, sy + 1, ColourOf(8)) > 0, true);
}

TEST_F(Redraw, DrawModeBitZeroShowsToolLayers) {
  ViewSetFlag = 1;
  FitViewToExtent(Extent(-60, -60, 50, 40));
  uint8_t block7[107] = {};
  block7[54] = 1;  // tool layer 0 on
  PutParamBlock(7, block7, sizeof block7);  // no image in tests: nothing stored
  PaintView("", 0, 129);
  int16_t sx, sy;
  WorldToScreen(25, 25, sx, sy);
  EXPECT_EQ(CountPixels(sx - 2, sy - 2, sx + 2, sy + 2, ColourOf(8)), 0) << "the drawing layers are not drawn";
  EXPECT_EQ(ViewKind, 0);
}

TEST_F(Redraw, BackgroundKindsNeedTheirFiles) {
  DisplayFlags = 4;  // raster on
  std::ofstream(plat::HostPathOf("Scan0.TMP"), std::ios::binary).write("\0\0\0\0", 4);
  uint8_t kind = 35;
  ApplyBackgroundKind(kind);
  EXPECT_EQ(kind, 3) << "a raster of 4 bytes is ignored";
  EXPECT_EQ(BackgroundShown, 0);
  std::ofstream(plat::HostPathOf("Scan0.TMP"), std::ios::binary).write("\0\0\0\0\0\0\0\0", 8);
  kind = 3;
  ApplyBackgroundKind(kind);
  EXPECT_EQ(kind, 12);
  EXPECT_EQ(BackgroundShown, 132);
  DisplayFlags = 0;
}

}  // namespace
