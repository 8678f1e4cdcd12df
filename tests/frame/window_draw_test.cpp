// Drawing primitives, colours, cursors, screen blocks and pixel blocks on the
// headless window's frame buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/program_state.h"
#include "frame/window_draw.h"
#include "platform/window.h"

namespace {

constexpr plat::TColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::TColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::TColorRef kRed = plat::Rgb(255, 0, 0);
constexpr plat::TColorRef kYellow = plat::Rgb(255, 255, 0);

class WindowDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TORV_VIDEO", "headless", 1);
    unsetenv("TORV_SCRIPT");
    plat::CloseWindow();  // a window left open elsewhere would keep its script
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
    // Palette: 12 red, 14 yellow, 127 grey, 37 a colour of its own.
    std::vector<uint8_t> rgb(256 * 3, 0);
    auto put = [&](int i, int r, int g, int b) {
      rgb[size_t(i) * 3] = uint8_t(r);
      rgb[size_t(i) * 3 + 1] = uint8_t(g);
      rgb[size_t(i) * 3 + 2] = uint8_t(b);
    };
    put(12, 255, 0, 0);
    put(14, 255, 255, 0);
    put(37, 10, 200, 30);
    put(127, 128, 128, 128);
    LoadPaletteEntries(rgb.data(), 0, 256);
    HighlightColor = 12;
    SetPenStyle(0, 0, 1);
    SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
    FillColorRect(0, 0, MaxX, MaxY, kWhite);
  }
  void TearDown() override {
    ReleaseWindowDc();
    plat::CloseWindow();
    CursorMode = 0;
    CursorShown = false;
    CatchRadius = 0;
    CatchSquareSize = 0;
    DashPattern = 0xFFFF;
    DrawingArea = TLayoutRect();
    CodePageConversion = 0;
    HighlightColor = 12;
  }

  const plat::TFrameBuffer& Fb() { return plat::WindowFrameBuffer(); }
  uint32_t Pixel(int x, int y) { return Fb().pixels[size_t(y) * size_t(Fb().width) + size_t(x)]; }
  std::vector<uint32_t> Snapshot() { return Fb().pixels; }
  // Pixels that differ from an earlier snapshot.
  std::vector<std::pair<int, int>> Changed(const std::vector<uint32_t>& before) {
    std::vector<std::pair<int, int>> out;
    for (size_t i = 0; i < before.size(); ++i)
      if (before[i] != Fb().pixels[i]) out.emplace_back(int(i % size_t(Fb().width)), int(i / size_t(Fb().width)));
    return out;
  }
  // A background where every pixel differs from its neighbours, so that a
  // misplaced xor pixel cannot hide.
  void FillPattern() {
    plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    // Never black or white, so a black or white fill always shows.
    for (size_t i = 0; i < fb.pixels.size(); ++i)
      fb.pixels[i] = (uint32_t(i * 2654435761u) & 0xFEFEFE) | 0x010101;
  }
};

// --- rectangles and lines --------------------------------------------------------------

TEST_F(WindowDraw, FillScreenRectIncludesBothCorners) {
  struct TCase {
    int x1, y1, x2, y2;
    int expectedPixels;
  };
  const TCase cases[] = {
      {5, 5, 5, 5, 1}, {0, 0, 9, 0, 10}, {2, 3, 4, 6, 12}, {4, 6, 2, 3, 12}, {20, 20, 20, 29, 10},
  };
  for (const TCase& c : cases) {
    FillColorRect(0, 0, MaxX, MaxY, kWhite);
    SetFillBrush(0, 12);
    std::vector<uint32_t> before = Snapshot();
    FillScreenRect(c.x1, c.y1, c.x2, c.y2);
    auto changed = Changed(before);
    EXPECT_EQ(int(changed.size()), c.expectedPixels) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    for (auto [x, y] : changed) {
      EXPECT_GE(x, std::min(c.x1, c.x2));
      EXPECT_LE(x, std::max(c.x1, c.x2));
      EXPECT_GE(y, std::min(c.y1, c.y2));
      EXPECT_LE(y, std::max(c.y1, c.y2));
      EXPECT_EQ(Pixel(x, y), plat::PixelFromColorRef(kRed));
    }
  }
}

TEST_F(WindowDraw, FillColorRectIncludesBothCorners) {
  std::vector<uint32_t> before = Snapshot();
  FillColorRect(3, 3, 5, 4, kBlack);
  EXPECT_EQ(Changed(before).size(), 6u);
  EXPECT_EQ(Pixel(5, 4), plat::PixelFromColorRef(kBlack));
}

TEST_F(WindowDraw, ClipWindowMovesTheOriginAndCuts) {
  SetPenColor(274);
  SetClipWindow(100, 50, 300, 200);
  std::vector<uint32_t> before = Snapshot();
  DrawScreenLine(0, 0, 10, 0);
  auto changed = Changed(before);
  ASSERT_EQ(changed.size(), 10u);
  for (int x = 100; x < 110; ++x) EXPECT_EQ(Pixel(x, 50), plat::PixelFromColorRef(kBlack)) << x;
  EXPECT_EQ(Pixel(110, 50), plat::PixelFromColorRef(kWhite));
  EXPECT_EQ(Pixel(99, 50), plat::PixelFromColorRef(kWhite));

  // Outside the rectangle nothing is drawn; the right edge is excluded.
  before = Snapshot();
  DrawScreenLine(-20, 10, 5, 10);
  DrawScreenLine(195, 20, 260, 20);
  changed = Changed(before);
  EXPECT_EQ(changed.size(), 5u + 5u);
  EXPECT_EQ(Pixel(100, 60), plat::PixelFromColorRef(kBlack));
  EXPECT_EQ(Pixel(299, 70), plat::PixelFromColorRef(kBlack));
  EXPECT_EQ(Pixel(300, 70), plat::PixelFromColorRef(kWhite));

  IntersectClip(0, 0, 50, 50);
  before = Snapshot();
  DrawScreenLine(0, 100, 150, 100);
  EXPECT_EQ(Changed(before).size(), 0u);  // row 100 of the window lies below the narrowed clip
  DrawScreenLine(0, 30, 150, 30);
  EXPECT_EQ(Changed(before).size(), 50u);
}

TEST_F(WindowDraw, FrameRectKeepsTheCurrentPosition) {
  SetPenColor(274);
  MoveToScreenPoint(7, 7);
  std::vector<uint32_t> before = Snapshot();
  DrawFrameRect(20, 20, 30, 25);
  EXPECT_EQ(Changed(before).size(), size_t(2 * 10 + 2 * 5));
  LineToScreenPoint(7, 12);  // starts at (7, 7)
  EXPECT_EQ(Pixel(7, 7), plat::PixelFromColorRef(kBlack));
  EXPECT_EQ(Pixel(7, 11), plat::PixelFromColorRef(kBlack));
}

TEST_F(WindowDraw, NothingIsDrawnWhileTheContextIsReleased) {
  ReleaseWindowDc();
  std::vector<uint32_t> before = Snapshot();
  FillColorRect(0, 0, 20, 20, kBlack);
  FillScreenRect(0, 0, 20, 20);
  DrawScreenLine(0, 0, 20, 20);
  DrawGrayPixel(3, 3, 7);
  CursorMode = 127;
  DrawMouseCursor(50, 50);
  EXPECT_EQ(Changed(before).size(), 0u);
  EXPECT_FALSE(CursorShown);
  SetUpWindowDC();
  SetPenColor(274);
  FillScreenRect(1, 1, 1, 1);
  EXPECT_EQ(Changed(before).size(), 1u);
}

// --- colours ----------------------------------------------------------------------------

TEST_F(WindowDraw, ColorNumbersMapToPaletteFixedAndSystemColours) {
  struct TCase {
    int number;
    plat::TColorRef expected;
  };
  const TCase cases[] = {
      {12, kRed},
      {37, plat::Rgb(10, 200, 30)},
      {260, plat::Rgb(208, 208, 208)},
      {261, kWhite},
      {272, plat::Rgb(127, 127, 127)},
      {274, kBlack},
      {509, plat::Rgb(220, 220, 220)},
      {510, plat::Rgb(192, 192, 192)},
      {511, plat::Rgb(235, 235, 235)},
      {512, plat::Rgb(24, 160, 238)},
      {271, plat::Rgb(192, 192, 192)},  // system colour 15, the button face
      {256 + 1, plat::Rgb(0, 128, 128)},  // desktop
      {256 + 8, kBlack},                // window text
      {256 + 13, plat::Rgb(0, 0, 128)}, // selection highlight
      {256 + 200, kBlack},              // no such system colour
      {-3, kBlack},
  };
  for (const TCase& c : cases) EXPECT_EQ(GetColorRef(c.number), c.expected) << c.number;
}

TEST_F(WindowDraw, XorWithColourTwelveUsesTheHighlightColour) {
  FillColorRect(0, 0, MaxX, MaxY, kBlack);
  HighlightColor = 14;
  SetDrawColorAndMode(7, 12);
  EXPECT_EQ(GetCurrentColorIndex(), 14);
  DrawScreenLine(10, 10, 20, 10);
  EXPECT_EQ(Pixel(10, 10), plat::PixelFromColorRef(kYellow));
  DrawScreenLine(10, 10, 20, 10);
  EXPECT_EQ(Pixel(10, 10), plat::PixelFromColorRef(kBlack));

  SetDrawColorAndMode(13, 12);
  EXPECT_EQ(GetCurrentColorIndex(), 12);
  DrawScreenLine(10, 20, 20, 20);
  EXPECT_EQ(Pixel(10, 20), plat::PixelFromColorRef(kRed));
  DrawScreenLine(10, 20, 20, 20);
  EXPECT_EQ(Pixel(10, 20), plat::PixelFromColorRef(kRed));

  SetDrawColorAndMode(7, 37);  // other colours keep their own number in xor
  EXPECT_EQ(GetCurrentColorIndex(), 37);
}

TEST_F(WindowDraw, PaletteEntriesReachColourNumbersPixelBlocksAndPixelIndex) {
  std::vector<uint8_t> rgb(256 * 3, 0);
  rgb[200 * 3] = 1;
  rgb[200 * 3 + 1] = 2;
  rgb[200 * 3 + 2] = 3;
  LoadPaletteEntries(rgb.data(), 200, 1);
  EXPECT_EQ(GetColorRef(200), plat::Rgb(1, 2, 3));
  EXPECT_EQ(GetColorRef(12), kRed);  // entries outside first .. first + n - 1 stay
  TPaletteEntry entries[3];
  ASSERT_EQ(GetScreenPaletteEntries(199, 3, entries), 3);
  EXPECT_EQ(entries[1].red, 1);
  EXPECT_EQ(entries[1].blue, 3);
  EXPECT_EQ(entries[1].flags, 1);
  EXPECT_EQ(GetScreenPaletteEntries(255, 4, entries), 1);  // clipped at the palette's end

  FillColorRect(40, 40, 40, 40, GetColorRef(37));
  EXPECT_EQ(GetScreenPixelIndex(40, 40), 37);
}

// --- cursors -----------------------------------------------------------------------------

void BuildCircle(int radius) {
  CatchRadius = int16_t(radius);
  for (int k = 0; k < 40; ++k) {
    double a = k * 0.15707964;
    CursorCircle[k].x = int32_t(std::lround(std::cos(a) * radius));
    CursorCircle[k].y = int32_t(std::lround(std::sin(a) * radius));
  }
}

TEST_F(WindowDraw, CursorShapesDrawnTwiceLeaveTheScreenAsBefore) {
  FillPattern();
  DrawingArea = TLayoutRect{1, 21, 65, 800, 760};
  PickBoxHalfWidth = 6;
  PickBoxHalfHeight = 4;
  BuildCircle(12);
  CatchSquareSize = 5;
  struct TCase {
    uint8_t mode;
    uint16_t dash;
  };
  const TCase cases[] = {{0, 0xFFFF}, {0, 0x3333}, {0, 0xF18F}, {1, 0x3333}, {0, 0x7070},
                         {3, 0xFFFF}, {5, 0xFFFF}, {13, 0xFFFF}, {127, 0xFFFF}, {128 + 1, 0xFFFF}};
  for (const TCase& c : cases) {
    CursorMode = c.mode;
    DashPattern = c.dash;
    std::vector<uint32_t> before = Snapshot();
    DrawMouseCursor(300, 200);
    EXPECT_FALSE(Changed(before).empty()) << int(c.mode);
    EXPECT_TRUE(CursorShown);
    DrawMouseCursor(300, 200);
    EXPECT_TRUE(Changed(before).empty()) << int(c.mode) << " dash " << c.dash;
  }
}

TEST_F(WindowDraw, CrossHairStaysInsideTheDrawingArea) {
  DrawingArea = TLayoutRect{1, 21, 65, 800, 760};
  TopRuler = TLayoutRect{};
  LeftRuler = TLayoutRect{};
  CursorMode = 1;
  std::vector<uint32_t> before = Snapshot();
  CursorX = 300;
  CursorY = 200;
  DrawMouseCursor(300, 200);
  auto changed = Changed(before);
  // Horizontal 21 .. 800 and vertical 65 .. 760; their crossing is xored twice.
  EXPECT_EQ(changed.size(), size_t(800 - 21 + 1) + size_t(760 - 65 + 1) - 2);
  const uint32_t white = plat::PixelFromColorRef(kWhite);
  EXPECT_NE(Pixel(21, 200), white);
  EXPECT_EQ(Pixel(20, 200), white) << "not over the layer bar";
  EXPECT_NE(Pixel(800, 200), white);
  EXPECT_EQ(Pixel(801, 200), white) << "not over the side menu";
  EXPECT_NE(Pixel(300, 65), white);
  EXPECT_EQ(Pixel(300, 64), white) << "not over the bars at the top";
  EXPECT_NE(Pixel(300, 760), white);
  EXPECT_EQ(Pixel(300, 761), white);
  EraseMouseCursor();
  EXPECT_TRUE(Changed(before).empty());
}

TEST_F(WindowDraw, CrossHairCrossesTheRulersWhenTheyAreShown) {
  DrawingArea = TLayoutRect{1, 35, 65, 800, 760};
  TopRuler = TLayoutRect{1, 35, 51, 800, 65};
  LeftRuler = TLayoutRect{1, 21, 65, 35, 760};
  CursorMode = 1;
  std::vector<uint32_t> before = Snapshot();
  CursorX = 300;
  CursorY = 200;
  DrawMouseCursor(300, 200);
  const uint32_t white = plat::PixelFromColorRef(kWhite);
  EXPECT_NE(Pixel(21, 200), white);
  EXPECT_EQ(Pixel(20, 200), white);
  EXPECT_NE(Pixel(300, 51), white);
  EXPECT_EQ(Pixel(300, 50), white) << "not over the menu bar's bottom line";
  EraseMouseCursor();
  EXPECT_TRUE(Changed(before).empty());
  TopRuler = TLayoutRect{};
  LeftRuler = TLayoutRect{};
}

TEST_F(WindowDraw, CrossHairOutsideTheDrawingAreaDrawsNothing) {
  DrawingArea = TLayoutRect{1, 21, 65, 800, 760};
  CursorMode = 1;
  // On the menu bar, on the icon bar and on the side menu.
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{40, 8}, {300, 40}, {900, 300}, {10, 300}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    std::vector<uint32_t> before = Snapshot();
    CursorX = int16_t(x);
    CursorY = int16_t(y);
    DrawMouseCursor(x, y);
    EXPECT_TRUE(Changed(before).empty());
    EraseMouseCursor();
  }
}

TEST_F(WindowDraw, SmallArrowCursorCoversItsRuns) {
  CursorMode = 127;
  std::vector<uint32_t> before = Snapshot();
  DrawMouseCursor(100, 100);
  // 1 + (2 + 3 + 4) + (4 + ... + 11) + 7 + (3 + 2 + 1) + 3 x 2 + 6 x 2
  EXPECT_EQ(Changed(before).size(), 101u);
  uint32_t white = plat::PixelFromColorRef(kWhite);
  EXPECT_NE(Pixel(100, 101), white);
  EXPECT_EQ(Pixel(101, 101), white);
  EXPECT_NE(Pixel(110, 112), white);
  EXPECT_EQ(Pixel(111, 112), white);
  EXPECT_NE(Pixel(105, 114), white);
  EXPECT_NE(Pixel(109, 122), white);
  EXPECT_EQ(Pixel(110, 122), white);
  EXPECT_EQ(Pixel(100, 100), white);
}

TEST_F(WindowDraw, EraseUsesTheShapeDrawnLastAndLeavesThePenAlone) {
  FillPattern();
  SetDrawColorAndMode(13, 37);
  std::vector<uint32_t> before = Snapshot();
  CursorMode = 5;
  CursorX = 400;
  CursorY = 300;
  DrawMouseCursor(CursorX, CursorY);
  EXPECT_EQ(Changed(before).size(), 4u * 18u);
  EXPECT_EQ(GetCurrentColorIndex(), 37);
  CursorMode = 4;  // changed before the erase
  EraseMouseCursor();
  EXPECT_TRUE(Changed(before).empty());
  EXPECT_FALSE(CursorShown);
  // Drawing after the cursor is in the colour and mode set before it.
  DrawScreenLine(0, 0, 5, 0);
  EXPECT_EQ(Pixel(0, 0), plat::PixelFromColorRef(GetColorRef(37)));
}

// --- blocks ---------------------------------------------------------------------------------

TEST_F(WindowDraw, SavedScreenBlockPutsThePixelsBack) {
  FillPattern();
  std::vector<uint32_t> before = Snapshot();
  TBitmapHandle saved = 0;
  SaveScreenRectBitmap(10, 10, 19, 14, saved);
  ASSERT_NE(saved, 0u);
  FillColorRect(0, 0, 40, 40, kBlack);
  RestoreScreenRectBitmap(10, 10, saved);
  auto changed = Changed(before);
  for (auto [x, y] : changed) EXPECT_FALSE(x >= 10 && x <= 19 && y >= 10 && y <= 14) << x << "," << y;
  EXPECT_EQ(changed.size(), size_t(41 * 41 - 50));
  // The handle is gone: drawing it again changes nothing.
  FillColorRect(0, 0, 40, 40, kBlack);
  std::vector<uint32_t> black = Snapshot();
  DrawSavedBitmap(10, 10, saved);
  EXPECT_TRUE(Changed(black).empty());
}

TEST_F(WindowDraw, PixelBlocksAreDrawnBottomRowFirst) {
  TDibBlock block;
  block.width = 2;
  block.height = 2;
  // Stored first: the bottom row (red), then the top row (green).
  block.pixels = {0, 0, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0};
  DrawDibBlock(50, 60, block);
  EXPECT_EQ(Pixel(50, 60), plat::PixelFromColorRef(plat::Rgb(0, 255, 0)));
  EXPECT_EQ(Pixel(51, 61), plat::PixelFromColorRef(kRed));

  TDibBlock broken;  // claims more pixels than it holds
  broken.width = 10;
  broken.height = 3;
  broken.pixels.assign(7, 0);
  std::vector<uint32_t> before = Snapshot();
  DrawDibBlock(0, 0, broken);
  DrawPaletteDibBlock(0, 0, broken);
  EXPECT_TRUE(Changed(before).empty());
}

TEST_F(WindowDraw, PixelRowsAndPaletteBlocks) {
  TDibBlock row;
  AllocPixelRow(row, 4);
  SetPixelRowGray(row, 0, 100);
  SetPixelRowValue(row, 3, 0x00112233);
  SetPixelRowGray(row, 4, 9);   // outside the row: ignored
  SetPixelRowGray(row, -1, 9);
  DrawPixelRow(row, 5, 5);
  EXPECT_EQ(Pixel(5, 5), plat::PixelFromColorRef(plat::Rgb(100, 100, 100)));
  EXPECT_EQ(Pixel(8, 5), plat::PixelFromColorRef(plat::Rgb(0x11, 0x22, 0x33)));
  FreePixelRow(row);
  EXPECT_EQ(row.width, 0);

  InitGrayBitmapHeader();
  TDibBlock indices;
  indices.width = 3;
  indices.height = 1;
  indices.pixels = {100, 37, 255};
  DrawPaletteDibBlock(10, 20, indices);
  EXPECT_EQ(Pixel(10, 20), plat::PixelFromColorRef(plat::Rgb(100, 100, 100)));
  EXPECT_EQ(Pixel(11, 20), plat::PixelFromColorRef(plat::Rgb(37, 37, 37)));
  std::vector<uint8_t> rgb(256 * 3, 0);
  rgb[37 * 3] = 10;
  rgb[37 * 3 + 1] = 200;
  rgb[37 * 3 + 2] = 30;
  LoadPaletteEntries(rgb.data(), 37, 1);
  DrawPaletteDibBlock(10, 20, indices);
  EXPECT_EQ(Pixel(11, 20), plat::PixelFromColorRef(plat::Rgb(10, 200, 30)));
  EXPECT_EQ(Pixel(10, 20), plat::PixelFromColorRef(plat::Rgb(100, 100, 100)));

  DrawGrayPixel(30, 30, 77);
  EXPECT_EQ(Pixel(30, 30), plat::PixelFromColorRef(plat::Rgb(77, 77, 77)));
}

// --- text ------------------------------------------------------------------------------------

TEST_F(WindowDraw, TextIsConvertedOnlyWhileTheSwitchIsOn) {
  SetPenColor(274);
  auto drawn = [&](auto draw) {
    FillColorRect(0, 0, 100, 100, kWhite);
    draw();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) pixels.push_back(Pixel(x, y));
    return pixels;
  };
  auto windowsUmlaut = drawn([] { DrawScreenTextRaw(20, 30, "\xE4"); });
  auto windows132 = drawn([] { DrawScreenTextRaw(20, 30, "\x84"); });
  ASSERT_NE(windowsUmlaut, windows132);
  CodePageConversion = 1;
  EXPECT_EQ(drawn([] { DrawScreenChar(20, 30, '\x84'); }), windowsUmlaut);
  EXPECT_EQ(drawn([] { DrawScreenText(20, 30, "\x84"); }), windowsUmlaut);
  CodePageConversion = 0;
  EXPECT_EQ(drawn([] { DrawScreenChar(20, 30, '\x84'); }), windows132);
}

TEST_F(WindowDraw, TextWidthsAndFontsComeBack) {
  EXPECT_EQ(MeasureTextWidth(""), 0);
  EXPECT_EQ(MeasureMenuTextWidth(""), 0);
  int normal = MeasureTextWidth("Werkzeug");
  EXPECT_GT(normal, 0);
  EXPECT_GT(MeasureTextWidthSized("Werkzeug", 12, 28), normal);
  EXPECT_EQ(MeasureTextWidth("Werkzeug"), normal);  // the text font is back at its size
  DrawTextSized(10, 40, "Abc", 30, 14);
  EXPECT_EQ(TextFont.height, 14);
  EXPECT_EQ(TextFont.width, 6);
  EXPECT_EQ(plat::WindowDc().font.face, DefaultFont.face);
}

TEST_F(WindowDraw, CaptionIsConverted) {
  CodePageConversion = 1;
  SetMainWindowCaption("Gr\x94\xE1" "e");
  EXPECT_EQ(plat::GetWindowCaption(), "Gr\xF6\xDF" "e");
}

}  // namespace
