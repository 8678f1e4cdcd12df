// The view kinds with a relief, a raster or a background picture, the text
// lines of the annotated view and the extents zoom all takes for them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "frame/file_helpers.h"
#include "frame/param_file.h"
#include "model/vector_store.h"
#include "model/text_job.h"
#include "view/screen_scheme.h"
#include "view/relief_view.h"
#include "view/extents.h"
#include "view/view_screen.h"

using namespace viewtest;

namespace {

void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream(plat::HostPathOf(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

template <typename T>
void Put(std::vector<uint8_t>& bytes, size_t at, T v) {
  std::memcpy(bytes.data() + at, &v, sizeof v);
}

// A 16-bit relief: rows x cells of cell(r, c), lowest 0 and highest 100,
// 10 mm cells from the origin; keep < 0 keeps the whole file, else its
// first keep bytes.
std::vector<uint8_t> Relief(int16_t rows, int16_t cells, float ox, float oy, int (*cell)(int, int)) {
  std::vector<uint8_t> b(128, 0);
  Put<int16_t>(b, 2, rows);
  Put<int16_t>(b, 4, cells);
  Put<int16_t>(b, 6, 0);
  Put<int16_t>(b, 8, 100);
  Put<float>(b, 10, 10);
  Put<float>(b, 14, 10);
  Put<float>(b, 18, 1);
  Put<float>(b, 22, ox);
  Put<float>(b, 26, oy);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cells; ++c) {
      const int16_t v = int16_t(cell(r, c));
      b.push_back(uint8_t(v));
      b.push_back(uint8_t(v >> 8));
    }
  return b;
}

// The current relief: (10, 10) .. (70, 40), heights 40 + 2 x column.
std::vector<uint8_t> CurrentRelief() {
  return Relief(3, 6, 10, 10, [](int, int c) { return 40 + 2 * c; });
}

// The raster: 64 x 32 pixels of 0.2 mm, the upper half ink.
std::vector<uint8_t> Raster(int rows) {
  std::vector<uint8_t> b;
  for (int r = 0; r < rows; ++r)
    for (int i = 0; i < 8; ++i) b.push_back(r < 16 ? 0xFF : 0x00);
  return b;
}

// One text line of the job file.
std::vector<uint8_t> TextLine(float x, float y, float height, uint16_t layer, const std::string& text) {
  std::vector<uint8_t> b(kTextLineSize, 0);
  Put<float>(b, 0, x);
  Put<float>(b, 4, y);
  Put<float>(b, 22, height);
  b[26] = 'V';
  Put<float>(b, 27, 1.0f);
  b[57] = uint8_t(text.size());
  std::memcpy(b.data() + 58, text.data(), text.size());
  Put<uint16_t>(b, 158, layer);
  return b;
}

void WriteTextJob(const std::vector<std::vector<uint8_t>>& lines) {
  std::vector<uint8_t> job(kTextJobHeadSize, 0);
  Put<int16_t>(job, 35, int16_t(lines.size()));
  for (const auto& l : lines) job.insert(job.end(), l.begin(), l.end());
  WriteBytes("HS01.TMP", job);
}

bool LinePixelNear(float x, float y, int colour) {
  int16_t sx, sy;
  WorldToScreen(x, y, sx, sy);
  return CountPixels(sx - 1, sy - 1, sx + 1, sy + 1, ColourOf(colour)) > 0;
}

// The grey of a relief height share t on the palette ramp, -1 when the pixel is no grey.
int GreyAt(float x, float y) {
  int16_t sx, sy;
  WorldToScreen(x, y, sx, sy);
  const uint32_t p = PixelAt(sx, sy);
  const int r = int(p >> 16 & 255), g = int(p >> 8 & 255), b = int(p & 255);
  return r == g && g == b ? r : -1;
}

// Layer 0: (10, 60) .. (40, 60); tool layer 0: (10, 5) .. (40, 5); the
// file "JOB.TMP" (head (55, 45) .. (95, 55)): (60, 50) .. (90, 50); the
// background picture: (75, 5) .. (95, 25) at height 80; the raster from
// (0, 0) to (12.8, 6.4).
class RedrawKinds : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenParamImage(1);
    FillParamDefaults();
    LayoutArea = {{1, 0, 0}, {5, 100, 75}};
    uint8_t block7[107] = {};
    block7[54] = 1;
    PutParamBlock(7, block7, sizeof block7);
    uint8_t block8[31] = {};
    const int32_t raster[3] = {64, 32, 127};
    std::memcpy(block8, raster, sizeof raster);
    PutParamBlock(8, block8, sizeof block8);
    InitScreenPalette();
    StoreHoldsData = false;
    HighestLayer = 0;
    CurrentLayer = 0;
    WriteRecordFile(BuildLayerFileName(0), {Rec(kRecContourStart, 10, 60), Rec(kRecLinePoint, 40, 60)});
    LayerRecordCounts[0] = 2;
    WriteRecordFile(BuildWLayerFileName(0), {Rec(kRecContourStart, 10, 5), Rec(kRecLinePoint, 40, 5)});
    WriteRecordFile("JOB.TMP", {Rec(kRecMinCorner, 55, 45), Rec(kRecMaxCorner, 95, 55), Rec(kRecContourStart, 60, 50),
                                Rec(kRecLinePoint, 90, 50)});
    WriteBytes(kCurrentReliefName, CurrentRelief());
    WriteBytes(kBackgroundPictureName, Relief(2, 2, 75, 5, [](int, int) { return 80; }));
    WriteBytes("Scan0.TMP", Raster(32));
    ErrorCode = 0;  // the missing parameter file
  }
  void TearDown() override {
    StoreHoldsData = false;
    OpenParamImage(0);
  }
  void Paint(uint8_t kind) {
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
    ViewSetFlag = 1;
    FitViewToExtent(Extent(0, 0, 100, 75));
    ErrorCode = 0;  // as the command loop leaves it (the test folder has no message file)
    PaintView("JOB.TMP", kind, 0);
  }
  TViewScreen screen_;
};

TEST_F(RedrawKinds, EachReliefAndRasterKindReachesItsPainters) {
  const double plain = 0.46, shaded = 0.66;  // column 3: height 46; its slope 2 of the range 100 x 8
  const int layer = MapLayerToColorIndex(0);
  struct TCase {
    uint8_t kind;
    double relief;  // height share shown at (45, 25); < 0 none
    bool marks, picture, raster, layers, tools;
    int file;  // colour of the file; -1 not drawn
  };
  const TCase cases[] = {
      {4, -1, false, false, false, false, true, GetPathDrawColor()},   // tool layers with tool width
      {13, -1, false, false, false, false, false, GetPathDrawColor()}, // the file with tool width
      {5, plain, false, false, false, true, false, -1},
      {7, plain, true, false, false, false, false, -1},
      {8, shaded, false, false, false, false, false, -1},
      {9, plain, false, false, false, false, false, GetCurrentLayerColour()},
      {12, -1, false, false, true, true, false, -1},
      {14, -1, false, true, false, true, false, -1},
      {15, plain, true, false, false, false, true, GetPathDrawColor()},
      {16, plain, true, false, false, false, false, GetCurrentLayerColour()},
      {17, plain, true, false, false, false, false, -1},
      {18, plain, false, false, false, false, false, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.kind));
    Paint(c.kind);
    EXPECT_EQ(ViewKind, c.kind);
    const int grey = GreyAt(45, 25);
    if (c.relief >= 0) EXPECT_NEAR(grey, 255 * c.relief, 2);
    else EXPECT_TRUE(grey < 40 || grey > 240) << "no relief: " << grey;
    int16_t sx, sy;
    WorldToScreen(10, 10, sx, sy);
    EXPECT_EQ(CountPixels(sx - 4, sy - 4, sx + 4, sy + 4, ColourOf(12)) > 0, c.marks);
    EXPECT_EQ(GreyAt(85, 15) == 204, c.picture);
    EXPECT_EQ(LinePixelNear(6, 5, 18) && LinePixelNear(6, 1, 25), c.raster);
    EXPECT_EQ(LinePixelNear(25, 60, layer), c.layers);
    EXPECT_EQ(LinePixelNear(25, 5, layer), c.tools);
    if (c.file >= 0) EXPECT_TRUE(LinePixelNear(75, 50, c.file));
    else EXPECT_FALSE(LinePixelNear(75, 50, GetCurrentLayerColour()) || LinePixelNear(75, 50, GetPathDrawColor()));
  }
}

TEST_F(RedrawKinds, MissingOrTruncatedReliefAndRasterFilesShowNothingOfThem) {
  std::vector<uint8_t> half = CurrentRelief();
  half.resize(128 + 3 * 6);  // the header promises 18 cells, half of them are there
  std::vector<uint8_t> badHeader = CurrentRelief();
  Put<int16_t>(badHeader, 2, -3);  // negative row count
  std::vector<uint8_t> nanStep = CurrentRelief();
  Put<float>(nanStep, 10, NAN);
  const std::vector<std::vector<uint8_t>> reliefs = {{}, std::vector<uint8_t>(100, 7), half, badHeader, nanStep};
  for (size_t i = 0; i <= reliefs.size(); ++i) {
    SCOPED_TRACE(i);
    if (i < reliefs.size()) WriteBytes(kCurrentReliefName, reliefs[i]);
    else DeleteFileIfExists(kCurrentReliefName);
    WriteBytes("Scan0.TMP", Raster(10));  // 10 of the 32 rows
    for (uint8_t kind = 5; kind <= 18; ++kind) {
      Paint(kind);
      const int grey = GreyAt(45, 25);
      EXPECT_TRUE(grey < 40 || grey > 240) << "kind " << int(kind) << ": " << grey;
    }
    TExtentsPair box;
    GetCurrentReliefBox(box, false);
    EXPECT_GT(float(box.minCorner.x), float(box.maxCorner.x)) << "no box";
    // The rows present are shown, the missing ones are not.
    Paint(12);
    EXPECT_TRUE(LinePixelNear(6, 5, 18));
    EXPECT_FALSE(LinePixelNear(6, 1, 25));
    ViewKind = 99;
    ZoomToAll("", 7);
    EXPECT_EQ(ViewKind, 99) << "an absent relief gives no extent to zoom to";
  }
}

TEST_F(RedrawKinds, ZoomToAllTakesReliefRasterAndTextExtents) {
  WriteTextJob({TextLine(-30, 80, 10, 0, "AB")});  // its box: (-30, 80) .. (-10, 90)
  struct TCase { uint8_t kind; float x1, y1, x2, y2; };
  const TCase cases[] = {
      {7, 10, 10, 70, 40},  {8, 10, 10, 70, 40},    {17, 10, 10, 70, 40},  // the relief
      {9, 10, 10, 95, 55},  {16, 10, 10, 95, 55},   // the file and the relief
      {15, 10, 5, 70, 40},                           // the relief and the tool layers
      {12, 0, 0, 40, 60},                            // the layers and the raster
      {2, -30, 0, 100, 90}, {5, -30, 0, 100, 90},    // layers, texts and the layout area
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.kind));
    ViewSetFlag = 1;
    ZoomToAll("JOB.TMP", c.kind);
    ExpectViewExtent(c.x1, c.y1, c.x2, c.y2);
  }
}

TEST_F(RedrawKinds, TheAnnotatedViewDrawsTheTextLinesOfVisibleLayers) {
  HighestLayer = 2;
  LayerVisible[2] = 0;
  WriteTextJob({TextLine(20, 40, 10, 1, "ABC"),      // box (20, 40) .. (50, 50)
                TextLine(60, 40, 10, 2, "ABC"),      // a hidden layer
                TextLine(20, 20, 0, 1, "ABC"),       // no height: the job ends here
                TextLine(60, 20, 10, 1, "ABC")});
  Paint(2);
  const int colour = MapLayerToColorIndex(1);
  EXPECT_TRUE(LinePixelNear(35, 40, colour));
  EXPECT_TRUE(LinePixelNear(50, 45, colour));
  EXPECT_FALSE(LinePixelNear(75, 40, colour));
  EXPECT_FALSE(LinePixelNear(75, 40, MapLayerToColorIndex(2)));
  EXPECT_FALSE(LinePixelNear(75, 20, colour));
  // A job cut inside its second line draws the first and stops.
  std::vector<uint8_t> job(kTextJobHeadSize, 0);
  Put<int16_t>(job, 35, 2);
  const std::vector<uint8_t> line = TextLine(20, 40, 10, 1, "ABC");
  job.insert(job.end(), line.begin(), line.end());
  job.insert(job.end(), line.begin(), line.begin() + 100);
  WriteBytes("HS01.TMP", job);
  Paint(2);
  EXPECT_TRUE(LinePixelNear(35, 40, colour));
  LayerVisible[2] = 1;
}

TEST_F(RedrawKinds, WithoutABackgroundTheColourSchemeSetsThePaper) {
  uint8_t block3[121] = {};
  GetParamBlock(3, block3, sizeof block3);
  block3[52] = 4;
  PutParamBlock(3, block3, sizeof block3);
  DisplayFlags = 2;  // the relief background, present
  uint8_t kind = 3;
  ApplyBackgroundKind(kind);
  EXPECT_EQ(kind, 5);
  EXPECT_EQ(PaperColor, 261) << "a background leaves the paper alone";
  DisplayFlags = 0;
  ApplyBackgroundKind(kind);
  EXPECT_EQ(kind, 5);
  EXPECT_EQ(PaperColor, 274);
  PaperColor = 261;
}

}  // namespace
