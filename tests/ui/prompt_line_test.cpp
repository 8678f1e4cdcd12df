// The prompt line in the headless frame buffer: texts cut to the window
// width, a negative line clearing the prompt area, line 1 as a text cell.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ui/prompt_line.h"
#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/draw.h"
#include "platform/window.h"

namespace {

class PromptScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("TORV_SCRIPT");
    setenv("TORV_VIDEO", "headless", 1);
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
    savedArea_ = DrawingArea;
    DrawingArea.used = 1;
    DrawingArea.x1 = 0;
    DrawingArea.y1 = 17;
    DrawingArea.x2 = MaxX;
    DrawingArea.y2 = MaxY;
    PromptFlags = 0;
    Clear();
  }
  void TearDown() override {
    DrawingArea = savedArea_;
    ReleaseWindowDc();
    plat::CloseWindow();
  }
  static void Clear() { FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255)); }
  static std::vector<uint32_t> Pixels() {
    const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    return std::vector<uint32_t>(fb.pixels.begin(), fb.pixels.end());
  }
  static uint32_t PixelAt(int x, int y) {
    const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)];
  }
  TLayoutRect savedArea_;
};

TEST_F(PromptScreen, TextIsCutToTheWindowWidth) {
  const int16_t savedMaxX = MaxX;
  MaxX = 47;  // (47 + 1) / 8 - 1 = 5 characters
  ShowPromptLine(3, "ABCDE", 261, 274);
  const std::vector<uint32_t> shortText = Pixels();
  Clear();
  PromptFlags = 0;
  ShowPromptLine(3, "ABCDEFGHIJKLMNOP", 261, 274);
  const std::vector<uint32_t> longText = Pixels();
  MaxX = savedMaxX;
  int drawn = 0;
  for (uint32_t pixel : shortText) drawn += pixel != shortText[0];
  EXPECT_GT(drawn, 0);  // the text is there at all
  EXPECT_TRUE(shortText == longText);
  EXPECT_EQ(PromptFlags & 3, 3);
}

TEST_F(PromptScreen, NegativeLineClearsThePromptAreaFirst) {
  ShowPromptLine(2, "first", 261, 274);
  FillColorRect(600, 30, 610, 40, plat::Rgb(255, 0, 0));
  const uint32_t red = PixelAt(605, 35);
  ShowPromptLine(-2, "again", 261, 274);
  EXPECT_NE(PixelAt(605, 35), red);
  // The text stands on line 2: something is drawn at y 16 * 2 + 21 = 53 or
  // just above it (glyphs start above the reference).
  int drawn = 0;
  const uint32_t background = PixelAt(700, 40);
  for (int y = 38; y < 60; ++y)
    for (int x = 8; x < 60; ++x)
      if (PixelAt(x, y) != background && PixelAt(x, y) != PixelAt(700, y)) ++drawn;
  EXPECT_GT(drawn, 0);
}

TEST_F(PromptScreen, LineOneWithColouredBackgroundIsATextCell) {
  ShowPromptLine(1, "Punkt", 12, 274);
  const uint32_t cell = plat::PixelFromColorRef(GetColorRef(12));
  int found = 0;
  for (int y = 32; y < 48; ++y)
    for (int x = 8; x < 56; ++x)
      if (PixelAt(x, y) == cell) ++found;
  EXPECT_GT(found, 0);
}

}  // namespace
