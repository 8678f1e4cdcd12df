// Redraw entry points and zoom steps: the extents they fit and what the
// painter draws by view kind.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "model/vector_store.h"
#include "view/extents.h"
#include "view/view_screen.h"

using namespace viewtest;

namespace {

class Redraw : public LayerFilesScreenTest {};

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
  WriteRecordFile(kVectorStoreName, {Rec(kRecContourStart, 5, 6), Rec(kRecLinePoint, 9, 16)});
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
