// The status-row progress display checked in the headless frame buffer, with
// the virtual clock standing in for time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/program_start.h"
#include "app/program_start.h"
#include "frame/window_draw.h"
#include "platform/system.h"
#include "platform/window.h"
#include "frame/progress_bar.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kFaceGrey = 0xD0D0D0;  // colour 260

class ProgressBar : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("TORV_SCRIPT");
    setenv("TORV_VIDEO", "headless", 1);
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
    MenuBarHeight = 51;
    // Distinct colours for the palette entries the bar uses.
    std::vector<uint8_t> rgb(16 * 3, 0);
    auto set = [&](int i, int r, int g, int b) {
      rgb[3 * i] = uint8_t(r);
      rgb[3 * i + 1] = uint8_t(g);
      rgb[3 * i + 2] = uint8_t(b);
    };
    set(10, 60, 250, 60);
    set(12, 250, 60, 60);
    set(14, 255, 255, 80);
    LoadPaletteEntries(rgb.data(), 0, 16);
    HighlightColor = 14;
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
    ProgressDisplayOn = 1;
    ResetProgressBar();
    // The two-level throttle compares with the last redraw: start well past 0.
    plat::SleepMs(1000);
  }
  void TearDown() override {
    EndProgressSubRanges();
    ProgressDisplayOn = 1;
    ReleaseWindowDc();
    plat::CloseWindow();
  }

  static uint32_t PixelAt(int x, int y) {
    const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)];
  }
  static uint32_t Red() { return plat::PixelFromColorRef(GetColorRef(12)); }
  static uint32_t Green() { return plat::PixelFromColorRef(GetColorRef(10)); }

  int Left() const { return MaxX - 167; }
  int Top() const { return 51; }
  int Bottom() const { return 51 + 15; }
  // The bar's last row: below the percentage text.
  int ProbeRow() const { return Bottom(); }

  // Colour runs of the probe row from the left edge to the right edge.
  std::string RowSignature(int y) const {
    std::string s;
    for (int x = Left(); x <= MaxX; ++x) {
      uint32_t p = PixelAt(x, y);
      s += p == Red() ? 'r' : p == Green() ? 'g' : p == kFaceGrey ? '.' : p == kWhite ? 'w' : '?';
    }
    return s;
  }
  // Last column of the red run from the left edge on the probe row, -1 when
  // none (the red outline on the right edge does not count).
  int LastRedColumn() const {
    int last = -1;
    for (int x = Left(); x <= MaxX && PixelAt(x, ProbeRow()) == Red(); ++x) last = x;
    return last;
  }
  std::vector<uint32_t> Snapshot() const { return plat::WindowFrameBuffer().pixels; }

  // Black pixels of the box: the percentage text.
  int TextPixels() const {
    int n = 0;
    for (int y = Top(); y <= Top() + 16; ++y)
      for (int x = Left(); x <= MaxX; ++x)
        if (PixelAt(x, y) == 0) ++n;
    return n;
  }
  std::vector<uint32_t> BoxPixels() const {
    std::vector<uint32_t> box;
    for (int y = Top(); y <= Top() + 16; ++y)
      for (int x = Left(); x <= MaxX; ++x) box.push_back(PixelAt(x, y));
    return box;
  }
  // True when the box shows the bar with exactly this text: the bar is
  // painted again from its last row (the text does not reach it), the text
  // written over it, centred as the bar writes it, and the two compared.
  bool ShowsText(const std::string& text) const {
    const std::vector<uint32_t> shown = BoxPixels();
    for (int x = Left(); x <= MaxX; ++x)
      FillColorRect(x, Top() + 1, x, Bottom(), plat::ColorRefFromPixel(PixelAt(x, Bottom())));
    SetPenColor(274);
    SetTextAlignment(1, 2);
    DrawScreenText(Left() + 83, Bottom() - 11, text);
    SetTextAlignment(0, 2);
    return TextPixels() > 0 && BoxPixels() == shown;
  }
};

TEST_F(ProgressBar, EmptyBoxSitsAtTheRightEndOfTheStatusRow) {
  StartProgressBar(100);
  const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  for (int y = 0; y < fb.height; ++y)
    for (int x = 0; x < fb.width; ++x) {
      const bool inBox = x >= Left() && x <= MaxX && y >= Top() && y <= Top() + 16;
      if (!inBox) {
        ASSERT_EQ(PixelAt(x, y), kWhite) << x << "," << y;
      }
    }
  // Red outline on the left and top edges, grey inside.
  EXPECT_EQ(PixelAt(Left(), Top() + 8), Red());
  EXPECT_EQ(PixelAt(Left() + 50, Top()), Red());
  EXPECT_EQ(PixelAt(Left() + 50, Top() + 8), kFaceGrey);
  EXPECT_EQ(TextPixels(), 0);
}

TEST_F(ProgressBar, ZeroTotalCountsAsOneStepAndAStepFillsTheWholeBox) {
  const int32_t totals[] = {0, -7};
  for (int32_t total : totals) {
    SCOPED_TRACE(total);
    StartProgressBar(total);
    EXPECT_EQ(ProgressTotal, 1);
    const std::vector<uint32_t> empty = Snapshot();
    ShowProgressStep(0);  // no advance: draws nothing
    EXPECT_EQ(Snapshot(), empty);
    ShowProgressStep(1);
    EXPECT_EQ(RowSignature(ProbeRow()), std::string(168, 'r'));
    EXPECT_TRUE(ShowsText("100%"));
  }
}

TEST_F(ProgressBar, StepsFillByTheNearestPixelAndShowTheirPercentage) {
  const struct { int32_t total, step, filled; const char* text; } cases[] = {
      {200, 50, 42, "25%"},     // 41.75 pixels
      {3, 1, 56, "33%"},        // 55.67 pixels
      {1000, 5, 1, "0%"},       // 0.835 pixels; 0.5 percent rounds to even
      {200, 900, 167, "100%"},  // beyond the total: cut at the right edge
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
    StartProgressBar(c.total);
    ShowProgressStep(c.step);
    EXPECT_EQ(LastRedColumn(), Left() + c.filled);
    EXPECT_EQ(RowSignature(ProbeRow()), std::string(c.filled + 1, 'r') + std::string(167 - c.filled, '.'));
    EXPECT_TRUE(ShowsText(c.text));
  }
}

TEST_F(ProgressBar, SingleLevelNeverMovesBack) {
  StartProgressBar(100);
  ShowProgressStep(60);
  const std::vector<uint32_t> before = Snapshot();
  ShowProgressStep(30);
  ShowProgressStep(60);
  AdvanceProgressBar(10);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProgressBar, AdvanceFillsWithoutText) {
  StartProgressBar(10);
  AdvanceProgressBar(5);
  EXPECT_EQ(LastRedColumn(), Left() + 84);  // 83.5 rounds to even
  AdvanceProgressBar(10);
  EXPECT_EQ(LastRedColumn(), MaxX);
  EXPECT_EQ(TextPixels(), 0);
}

TEST_F(ProgressBar, SwitchedOffTheSingleLevelBarDrawsNothingButSubRangesDo) {
  ProgressDisplayOn = 0;
  const std::vector<uint32_t> before = Snapshot();
  StartProgressBar(10);
  ShowProgressStep(5);
  AdvanceProgressBar(7);
  StepBusyIndicator();
  EXPECT_EQ(Snapshot(), before);
  StartProgressSubRange(2, 5, 10);
  EXPECT_EQ(RowSignature(ProbeRow()).substr(0, 34), std::string(34, 'r'));  // 2 of 10 = 33.4 pixels
}

TEST_F(ProgressBar, TwoLevelRedrawsAtMostEvery500Milliseconds) {
  StartProgressSubRange(0, 60, 100);
  // Sub-range end 60 of 100: nearest 100.2 pixels.
  EXPECT_EQ(RowSignature(ProbeRow()), "r" + std::string(100, 'g') + std::string(67, '.'));
  UpdateProgressBar(25);  // right after the start: drawn at once
  EXPECT_EQ(LastRedColumn(), Left() + 42);
  const std::vector<uint32_t> drawn = Snapshot();
  plat::SleepMs(490);
  UpdateProgressBar(50);
  EXPECT_EQ(Snapshot(), drawn);
  plat::SleepMs(10);
  UpdateProgressBar(50);
  EXPECT_EQ(LastRedColumn(), Left() + 84);
  EXPECT_EQ(RowSignature(ProbeRow()), std::string(85, 'r') + std::string(16, 'g') + std::string(67, '.'));
  EXPECT_TRUE(ShowsText("50%"));
}

TEST_F(ProgressBar, TwoLevelBarMayMoveBack) {
  StartProgressSubRange(0, 100, 100);
  UpdateProgressBar(80);
  plat::SleepMs(500);
  UpdateProgressBar(20);
  EXPECT_EQ(LastRedColumn(), Left() + 33);
  EXPECT_EQ(RowSignature(ProbeRow()), std::string(34, 'r') + std::string(134, 'g'));
}

TEST_F(ProgressBar, SubRangeLimitsAreCutToTheTotal) {
  const struct { int32_t a, b, c; std::string row; } cases[] = {
      // start past the end: the sub-range 3..3, shown at 3 of 10 (50.1 pixels)
      {5, 3, 10, std::string(51, 'r') + std::string(117, '.')},
      // end past the total: the sub-range 0..10, all of it still to do
      {0, 20, 10, "r" + std::string(167, 'g')},
      // negative start and total: 0..1 of 1
      {-4, 0, -3, "r" + std::string(167, 'g')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << "," << c.b << "," << c.c);
    StartProgressSubRange(c.a, c.b, c.c);
    EXPECT_EQ(RowSignature(ProbeRow()), c.row);
  }
}

TEST_F(ProgressBar, SubRangeStepsRunFromItsStartToItsEnd) {
  StartProgressSubRange(30, 70, 100);
  SetProgressSubRangeSteps(4);
  const struct { int32_t step, filled; } cases[] = {
      {0, 50},    // 30 of 100: 50.1 pixels
      {2, 84},    // 50 of 100: 83.5
      {4, 117},   // 70 of 100: 116.9
      {1, 67},    // 40 of 100: 66.8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    plat::SleepMs(500);
    UpdateProgressBar(c.step);
    EXPECT_EQ(LastRedColumn(), Left() + c.filled);
  }
  // Steps beyond the sub-range are cut at the box.
  plat::SleepMs(500);
  UpdateProgressBar(1000);
  EXPECT_EQ(LastRedColumn(), MaxX);
  EXPECT_TRUE(ShowsText("100%"));
}

TEST_F(ProgressBar, EndingSubRangesMakesUpdatesSingleLevelAgain) {
  StartProgressSubRange(0, 10, 10);
  EndProgressSubRanges();
  SetProgressSubRangeSteps(10);  // outside two-level mode: a fresh single-level bar
  UpdateProgressBar(5);
  UpdateProgressBar(6);  // not throttled
  EXPECT_EQ(LastRedColumn(), Left() + 100);
}

TEST_F(ProgressBar, BusyIndicatorMovesAnXorLineEveryTotalCallsAndWraps) {
  StartProgressBar(3);
  const std::vector<uint32_t> empty = Snapshot();
  auto columnChanged = [&](int x) {
    for (int y = Bottom() - 13; y <= Bottom(); ++y)
      if (PixelAt(x, y) == empty[size_t(y) * plat::WindowFrameBuffer().width + x]) return false;
    return PixelAt(x, Bottom() - 14) == empty[size_t(Bottom() - 14) * plat::WindowFrameBuffer().width + x];
  };
  StepBusyIndicator();
  StepBusyIndicator();
  EXPECT_EQ(Snapshot(), empty);
  StepBusyIndicator();
  EXPECT_TRUE(columnChanged(Left() + 1));
  for (int i = 0; i < 3; ++i) StepBusyIndicator();
  EXPECT_TRUE(columnChanged(Left() + 2));

  // One line per column up to the right edge, then back to the first column,
  // where the second pass erases the line.
  StartProgressBar(1);
  for (int i = 0; i < 166; ++i) StepBusyIndicator();
  for (int x = Left() + 1; x < MaxX; ++x) ASSERT_TRUE(columnChanged(x)) << x;
  EXPECT_FALSE(columnChanged(MaxX));
  StepBusyIndicator();
  EXPECT_FALSE(columnChanged(Left() + 1));
  EXPECT_TRUE(columnChanged(Left() + 2));
}

TEST_F(ProgressBar, ClearingEmptiesTheBox) {
  StartProgressBar(4);
  ShowProgressStep(3);
  ClearProgressBox();
  for (int y = Top(); y <= Top() + 16; ++y)
    for (int x = Left(); x <= MaxX; ++x) ASSERT_EQ(PixelAt(x, y), kFaceGrey) << x << "," << y;
}

}  // namespace
