// The guide-line command run with scripted input: new lines, the full list,
// moving and deleting a line, and the menu's switches.
#include <gtest/gtest.h>

#include "cad/snapping.h"
#include "param_world_screen.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

constexpr uint16_t kNoRedraw = 256;

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm, the
// parameter image loaded; the menu opens at (100, 100).
class TGuideScreen : public cadtest::TParamWorldScreen {
 public:
  TGuideScreen() {
    MouseX = 100;
    MouseY = 132;
    InvalidateSnapPointCache();
  }
  static std::string Click(double x, double y) {
    const std::string at =
        std::to_string(DrawingArea.x1 + int(x * 2 + 0.5)) + " " + std::to_string(DrawingArea.y2 - int(y * 2 + 0.5));
    return "move " + at + "\nclick " + at + " left\n";
  }
  static std::string Entry(int k) { return "click 140 " + std::to_string(100 + 28 + (k - 1) * 21 + 10) + "\n"; }
  static TGuideLineBlock Block() {
    TGuideLineBlock block;
    ReadGuideLineBlock(block);
    return block;
  }
};

TEST(GuideLineCommand, NewLineAtTheClickSwitchesTheLinesOn) {
  TGuideScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  WriteGuideLineBlock(block);
  screen.UseScript(TGuideScreen::Click(30, 40));
  RunGuideLineCommand(1 + kNoRedraw);  // horizontal
  block = TGuideScreen::Block();
  EXPECT_FLOAT_EQ(block.yLines[0], 40.0f);
  EXPECT_FLOAT_EQ(block.xLines[0], kFreeGuideLine);
  EXPECT_EQ(block.shown, 1);
  EXPECT_EQ(block.catching, 1);
  EXPECT_EQ(GuideSnapOn, 1);
}

TEST(GuideLineCommand, TheFiftyFirstLineIsRefused) {
  TGuideScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  for (int i = 0; i < kGuideLinesManaged; ++i) AddGuideLine(block, true, float(i));
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);
  screen.UseScript(TGuideScreen::Click(100, 40) + "key Enter\n");
  RunGuideLineCommand(2 + kNoRedraw);  // vertical
  block = TGuideScreen::Block();
  EXPECT_FLOAT_EQ(block.xLines[kGuideLinesManaged - 1], float(kGuideLinesManaged - 1));
  EXPECT_FLOAT_EQ(block.xLines[kGuideLinesManaged], kFreeGuideLine);
  EXPECT_NE(screen.ReadFile("transcript.txt").find("Keine weitere Hilfslinie"), std::string::npos)
      << screen.ReadFile("transcript.txt");
}

TEST(GuideLineCommand, MovingAndDeletingTheNearestLine) {
  TGuideScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  AddGuideLine(block, false, 40.0f);
  AddGuideLine(block, false, 60.0f);
  AddGuideLine(block, false, 80.0f);
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);

  CursorPoint = TPointRecord{0, 10.0f, 58.0f};
  screen.UseScript(TGuideScreen::Click(10, 66));
  RunGuideLineCommand(3 + kNoRedraw);
  block = TGuideScreen::Block();
  EXPECT_FLOAT_EQ(block.yLines[1], 66.0f);

  // Delete: the line goes and the gap closes.
  CursorPoint = TPointRecord{0, 10.0f, 41.0f};
  screen.UseScript("move 300 300\nkey Del\n");
  RunGuideLineCommand(3 + kNoRedraw);
  block = TGuideScreen::Block();
  EXPECT_FLOAT_EQ(block.yLines[0], 66.0f);
  EXPECT_FLOAT_EQ(block.yLines[1], 80.0f);
  EXPECT_FLOAT_EQ(block.yLines[2], kFreeGuideLine);
}

TEST(GuideLineCommand, CatchingSwitchedOnWhileHiddenShowsTheLines) {
  TGuideScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  AddGuideLine(block, true, 20.0f);
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);
  // Catching off, lines hidden (catching stays off), catching on.
  screen.UseScript(TGuideScreen::Entry(8) + TGuideScreen::Entry(7) + TGuideScreen::Entry(8) + "key Esc\n");
  RunGuideLineCommand(0 + kNoRedraw);
  block = TGuideScreen::Block();
  EXPECT_EQ(block.shown, 1);
  EXPECT_EQ(block.catching, 1);
  EXPECT_EQ(GuideSnapOn, 1);
  EXPECT_FLOAT_EQ(block.xLines[0], 20.0f);
}

TEST(GuideLineCommand, MenuDeletesAllLines) {
  TGuideScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  AddGuideLine(block, true, 20.0f);
  AddGuideLine(block, false, 30.0f);
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);
  screen.UseScript(TGuideScreen::Entry(6) + "key Esc\n");
  RunGuideLineCommand(0 + kNoRedraw);
  block = TGuideScreen::Block();
  EXPECT_FLOAT_EQ(block.xLines[0], kFreeGuideLine);
  EXPECT_FLOAT_EQ(block.yLines[0], kFreeGuideLine);
  EXPECT_EQ(block.shown, 0);
  EXPECT_EQ(GuideSnapOn, 0);
}

}  // namespace
