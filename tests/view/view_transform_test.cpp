// The world-to-screen transform, clipping, fitting, colours and the drawing
// of vector files checked in the headless frame buffer.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "view/view_screen.h"

using namespace viewtest;

namespace {

void WriteRecords(const std::string& name, const std::vector<TVectorRecord>& records, size_t extraBytes = 0) {
  std::ofstream out(plat::HostPathOf(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  for (size_t i = 0; i < extraBytes; ++i) out.put('\x01');
}

TEST(LayerColours, FollowTheTableOnBothPapers) {
  struct TCase { int32_t layer; int16_t paper; int16_t colour; };
  const TCase cases[] = {{0, 261, 8}, {0, 274, 7}, {27, 261, 8}, {1, 261, 6}, {4, 261, 1}, {10, 261, 13},
                         {11, 261, 16}, {26, 261, 31}, {28, 261, 6}, {-3, 261, 6}};
  const int16_t saved = PaperColor;
  for (const TCase& c : cases) {
    PaperColor = c.paper;
    EXPECT_EQ(MapLayerToColorIndex(c.layer), c.colour) << "layer " << c.layer << " paper " << c.paper;
  }
  PaperColor = saved;
  EXPECT_EQ(ContrastTextColor(6), 274);  // yellow
  EXPECT_EQ(ContrastTextColor(1), 15);
  EXPECT_EQ(RgbToColorIndex(0xFF), 12);
  EXPECT_EQ(RgbToColorIndex(0x808080), 8);
  EXPECT_EQ(RgbToColorIndex(0x123456), 15);
  TVectorRecord colour = Rec(kRecToolColour, 0, 0);
  SetRecordZInt(colour, 0xFF00);
  EXPECT_EQ(GetRecordColorIndex(colour), 10);
  colour.type = kRecLinePoint;
  EXPECT_EQ(GetRecordColorIndex(colour), 0);
}

TEST(ViewTransform, FitsAnExtentWithTheMarginAndMapsPoints) {
  TViewScreen screen;
  ASSERT_TRUE(screen.Entered());
  FitViewToExtent(Extent(0, 0, 100, 75));
  // Graphic window 199 x 149 px: the height decides; 10 px margin, 5 px each side.
  EXPECT_NEAR(ViewScaleX, 139.0 / 75.0, 1e-5);
  EXPECT_EQ(ViewScaleX, ViewScaleY);
  EXPECT_NEAR(WorldXMin, -5.0 / (139.0 / 75.0), 1e-4);
  EXPECT_NEAR(WorldYMax - WorldYMin, 149.0 / ViewScaleY, 1e-3);
  int16_t sx, sy;
  WorldToScreen(0, 0, sx, sy);
  EXPECT_EQ(sx, 25);
  EXPECT_EQ(sy, 164);
  WorldToScreen(1e9f, -1e9f, sx, sy);
  EXPECT_EQ(sx, 32000);
  EXPECT_EQ(sy, 32000);
  EXPECT_EQ(float(CurrentViewExtent.maxCorner.x), 100.0f);
}

TEST(ViewTransform, DegenerateExtentsFallBackToScaleOne) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  FitViewToExtent(Extent(5, 5, 5, 5));
  EXPECT_EQ(ViewScaleX, 1.0f);
  EXPECT_EQ(WorldXMax, 40.0f);
  EXPECT_EQ(WorldYMax, 30.0f);
  EXPECT_EQ(float(CurrentViewExtent.maxCorner.x), 100.0f) << "a point extent is not stored";
  DrawingArea = TLayoutRect{1, 0, 0, 5, 100};
  FitViewToExtent(Extent(0, 0, 100, 75));
  EXPECT_EQ(WorldXMax, 1.0f);
  EXPECT_EQ(WorldYMax, 1.0f);
}

TEST(Clipping, CutsSegmentsToTheWorldWindow) {
  WorldXMin = 0, WorldYMin = 0, WorldXMax = 10, WorldYMax = 10;
  EXPECT_EQ(ComputeOutCode(0, 10), 0) << "the border is inside";
  EXPECT_EQ(ComputeOutCode(-1, 11), 1 | 8);
  double x1 = -5, y1 = 5, x2 = 15, y2 = 5;
  PenPendingMove = 0;
  ASSERT_TRUE(ClipSegmentToView(x1, y1, x2, y2));
  EXPECT_DOUBLE_EQ(x1, 0);
  EXPECT_DOUBLE_EQ(x2, 10);
  EXPECT_EQ(PenPendingMove, 1);
  x1 = -5, y1 = -5, x2 = 5, y2 = 15;
  ASSERT_TRUE(ClipSegmentToView(x1, y1, x2, y2));
  EXPECT_NEAR(x1, 0, 1e-12);
  EXPECT_NEAR(y1, 5, 1e-12);
  EXPECT_NEAR(x2, 2.5, 1e-12);
  EXPECT_NEAR(y2, 10, 1e-12);
  x1 = -5, y1 = 1, x2 = -1, y2 = 9;
  EXPECT_FALSE(ClipSegmentToView(x1, y1, x2, y2));
  x1 = -5, y1 = 8, x2 = 8, y2 = 15;  // passes outside the corner
  EXPECT_FALSE(ClipSegmentToView(x1, y1, x2, y2));
}

TEST(WorldPen, InvisibleSegmentMakesTheNextStartWithAMove) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  SetPenColor(12);
  MoveToWorldPoint(-50, 10);
  LineToWorldPoint(-40, 60);  // wholly left of the window
  EXPECT_EQ(PenPendingMove, 1);
  LineToWorldPoint(50, 60);
  EXPECT_EQ(PenPendingMove, 0);
  int16_t sx, sy;
  WorldToScreen(50, 60, sx, sy);
  EXPECT_EQ(PixelAt(sx - 3, sy), ColourOf(12));
  EXPECT_EQ(PixelAt(DrawingArea.x1 + 1, sy), ColourOf(12)) << "the visible part starts at the border";
  EXPECT_EQ(LastPenOperation, kPenOpLine);
}

TEST(DrawVectorFile, ContoursGolden) {
  TViewScreen screen;
  ClearGraphicWindow();
  FitViewToExtent(Extent(0, 0, 100, 75));
  FillLayoutArea();
  WriteRecords("CONT.TMP", {
      // a triangle reaching out of the window: clipped
      Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 130, 40), Rec(kRecLinePoint, 10, 60), Rec(kRecLinePoint, 10, 10),
      // a dashed square
      Rec(kRecContourStart, 50, 5, -0.5f), Rec(kRecLinePoint, 90, 5), Rec(kRecLinePoint, 90, 30), Rec(kRecLinePoint, 50, 30),
      Rec(kRecLinePoint, 50, 5),
      // a pen-up mark inside a contour: no line to (70, 60)
      Rec(kRecContourStart, 40, 60), Rec(kRecLinePoint, 55, 60), Rec(kRecLinePoint, 70, 60, -10000.4f),
      Rec(kRecLinePoint, 85, 60)});
  FastDrawLimit = 0;  // the clipping road
  DrawVectorFile("CONT.TMP", plat::kRopCopy, 12, 0);
  EXPECT_EQ(ErrorCode, 0);
  int16_t sx, sy;
  WorldToScreen(62, 60, sx, sy);
  EXPECT_NE(PixelAt(sx, sy), ColourOf(12)) << "nothing between the pen-up mark and the point before";
  WorldToScreen(77, 60, sx, sy);
  EXPECT_EQ(PixelAt(sx, sy), ColourOf(12));
  WorldToScreen(70, 5, sx, sy);
  const int red = CountPixels(sx - 20, sy, sx + 20, sy, ColourOf(12));
  EXPECT_GT(red, 8);
  EXPECT_LT(red, 35) << "the dashed edge has gaps";
  ExpectMatchesGolden("contours_clipped", 240, 180);
}

TEST(DrawVectorFile, FastRoadDrawsTheSameLines) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  const std::vector<TVectorRecord> recs = {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 90, 10),
                                           Rec(kRecLinePoint, 90, 70), Rec(kRecContourStart, 20, 20, -1),
                                           Rec(kRecLinePoint, 80, 20)};
  WriteRecords("FAST.TMP", recs);
  FastDrawLimit = 30000;
  DrawVectorFile("FAST.TMP", plat::kRopCopy, 12, 0);
  std::vector<uint32_t> fast = plat::WindowFrameBuffer().pixels;
  FitViewToExtent(Extent(0, 0, 100, 75));
  FastDrawLimit = 0;
  DrawVectorFile("FAST.TMP", plat::kRopCopy, 12, 0);
  EXPECT_EQ(fast, plat::WindowFrameBuffer().pixels);
}

TEST(DrawVectorFile, LayerRecordsChooseColoursOnWhiteAndBlackPaper) {
  for (int16_t paper : {int16_t(261), int16_t(274)}) {
    TViewScreen screen;
    PaperColor = paper;
    HighestLayer = 12;
    FitViewToExtent(Extent(0, 0, 100, 75));
    FillLayoutArea();
    std::vector<TVectorRecord> recs;
    for (int layer = 0; layer <= 4; ++layer) {
      recs.push_back(Rec(kRecLayer, float(layer), 0));
      recs.push_back(Rec(kRecContourStart, 10, 10.0f + 12 * layer));
      recs.push_back(Rec(kRecLinePoint, 90, 10.0f + 12 * layer));
    }
    recs.push_back(Rec(kRecLayer, 60, 0));  // out of range: no change
    recs.push_back(Rec(kRecContourStart, 10, 70));
    recs.push_back(Rec(kRecLinePoint, 40, 70));
    recs.push_back(Rec(kRecLayer, 30, 0));  // above the highest layer: layer 12
    recs.push_back(Rec(kRecContourStart, 60, 70));
    recs.push_back(Rec(kRecLinePoint, 90, 70));
    WriteRecords("LAYERS.TMP", recs);
    DrawVectorFile("LAYERS.TMP", plat::kRopCopy, 12, 0);
    int16_t sx, sy;
    WorldToScreen(50, 10, sx, sy);
    EXPECT_EQ(PixelAt(sx, sy), ColourOf(paper == 274 ? 7 : 8));
    WorldToScreen(50, 22, sx, sy);
    EXPECT_EQ(PixelAt(sx, sy), ColourOf(6));
    WorldToScreen(25, 70, sx, sy);
    EXPECT_EQ(PixelAt(sx, sy), ColourOf(1)) << "layer 60 keeps the colour of layer 4";
    WorldToScreen(75, 70, sx, sy);
    EXPECT_EQ(PixelAt(sx, sy), ColourOf(17)) << "layer 30 is cut to layer 12";
    ExpectMatchesGolden(paper == 274 ? "layers_black_paper" : "layers_white_paper", 240, 180);
  }
}

TEST(DrawVectorFile, EmptyTruncatedAndMissingFilesDrawWithoutHarm) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  WriteRecords("EMPTY.TMP", {});
  WriteRecords("TRUNC.TMP", {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 90, 60)}, 7);
  for (int limit : {0, 30000}) {
    FastDrawLimit = limit;
    DrawVectorFile("EMPTY.TMP", plat::kRopCopy, 12, 0);
    DrawVectorFile("TRUNC.TMP", plat::kRopCopy, 12, 0);
    DrawVectorFile("", plat::kRopCopy, 12, 0);
  }
  int16_t sx, sy;
  WorldToScreen(50, 35, sx, sy);
  EXPECT_EQ(CountPixels(sx - 2, sy - 2, sx + 2, sy + 2, ColourOf(12)) > 0, true) << "the whole records are drawn";
  EXPECT_EQ(DashPointCount, 0);
}

TEST(DrawVectorFile, EscAnsweredWithYesStopsAfterTheBlock) {
  TViewScreen screen("key Enter\n");  // the answer to the question
  FitViewToExtent(Extent(0, 0, 100, 75));
  // Three blocks: the first draws a line at y = 10, the third one at y = 60.
  std::vector<TVectorRecord> recs(12000, Rec(kRecLinePoint, 90, 10));
  recs[0] = Rec(kRecContourStart, 10, 10);
  recs[10000] = Rec(kRecContourStart, 10, 60);
  for (size_t i = 10001; i < recs.size(); ++i) recs[i] = Rec(kRecLinePoint, 90, 60);
  WriteRecords("BIG.TMP", recs);
  for (int limit : {0, 30000}) {
    FastDrawLimit = limit;
    ErrorCode = 0;
    if (limit == 0) PushKeyCode(27);  // Esc waits when the first block ends
    DrawVectorFile("BIG.TMP", plat::kRopCopy, 12, 0);
    if (limit == 0) {
      EXPECT_EQ(ErrorCode, 1) << "the stop is reported";
      int16_t sx, sy;
      WorldToScreen(50, 10, sx, sy);
      EXPECT_EQ(PixelAt(sx, sy), ColourOf(12));
      WorldToScreen(50, 60, sx, sy);
      EXPECT_NE(PixelAt(sx, sy), ColourOf(12)) << "the third block was not drawn";
    } else {
      EXPECT_EQ(ErrorCode, 0) << "without a key the drawing runs to its end";
    }
  }
  ErrorCode = 0;
}

TEST(Markers, DrawnOnlyInsideTheGraphicWindow) {
  TViewScreen screen;
  FitViewToExtent(Extent(0, 0, 100, 75));
  FillLayoutArea();
  SetPenColor(12);
  DrawPointMarker(9, 50, 40);
  int16_t sx, sy;
  WorldToScreen(50, 40, sx, sy);
  EXPECT_EQ(CountPixels(sx - 4, sy - 4, sx + 4, sy + 4, ColourOf(12)), 49);
  DrawPointMarker(9, 500, 40);
  EXPECT_EQ(CountPixels(DrawingArea.x2 - 4, 0, DrawingArea.x2 + 4, MaxY, ColourOf(12)), 0);
  DrawPointMarker(13, 20, 20);
  WorldToScreen(20, 20, sx, sy);
  EXPECT_EQ(CountPixels(sx - 3, sy - 3, sx + 3, sy + 3, ColourOf(12)), 24);
}

}  // namespace
