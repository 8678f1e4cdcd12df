// The start panel and the program options menu: the start switch in
// parameter block 0 (byte 103, bit 1) toggled and written to "TORV.PAR" at
// once, the panel's buttons and the options entries.
#include "commands/start_panel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "commands/command_names.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "platform/picture_codecs.h"
#include "app/program_start.h"
#include "frame/window_draw.h"
#include "support/program_runner.h"
#include "ui/ui_screen.h"

namespace {

using torvtest::ReadPng;
using torvtest::TPicture;
using uitest::TScreen;

class StartPanel : public testing::Test {
 protected:
  void SetUp() override {
    keepImage = ParamImage;
    ParamImage = nullptr;
    LoadParamFile();  // a fresh "TORV.PAR" with defaults in the screen's folder
    RedrawState = 0;
    CursorMode = 0;
  }
  void TearDown() override {
    delete ParamImage;
    ParamImage = keepImage;
    RedrawState = 0;
  }
  void SetSwitch(bool on) {
    if (IsStartPanelSwitchOn() != on) ToggleStartFlags(kShowStartPanel);
  }
  // Byte 103 of block 0 as the file on disk holds it.
  int FileStartFlags() const {
    const std::string bytes = screen.ReadFile(kParamFileName);
    const size_t at = size_t(GetParamBlockOffset(0) + kStartFlagsByte);
    return bytes.size() > at ? uint8_t(bytes[at]) : -1;
  }
  std::string ClickButton(int k, const char* button = "left") const {
    const TButtonRect r = StartButtonRect(LayOutStartPanel(), k);
    return "click " + std::to_string(r.x1 + 10) + " " + std::to_string(r.y1 + 10) + " " + button + "\n";
  }
  TScreen screen;
  TParameterImage* keepImage = nullptr;
};

TEST_F(StartPanel, ToggleWritesBlockZeroToTheFileAtOnce) {
  SetSwitch(false);
  ASSERT_EQ(FileStartFlags() & kShowStartPanel, 0);
  const int others = FileStartFlags() & ~kShowStartPanel;
  ToggleStartFlags(kShowStartPanel);
  EXPECT_TRUE(IsStartPanelSwitchOn());
  EXPECT_EQ(FileStartFlags(), others | kShowStartPanel);
  ToggleStartFlags(kShowStartPanel);
  EXPECT_FALSE(IsStartPanelSwitchOn());
  EXPECT_EQ(FileStartFlags(), others);
}

TEST_F(StartPanel, ButtonPicturesAndLayout) {
  SetSwitch(true);
  EXPECT_EQ(StartButtonPicture(4), "AUSWAHL");
  SetSwitch(false);
  EXPECT_EQ(StartButtonPicture(4), "NOTAUSW");
  EXPECT_EQ(StartButtonPicture(1), "NEUGRAF");
  EXPECT_EQ(StartButtonPicture(5), "FlaggeDeut");
  EXPECT_EQ(StartButtonPicture(0), "");
  EXPECT_EQ(StartButtonPicture(6), "");
  // Short labels leave the panel at 320 + 80 pixels, 224 high, centred.
  const TStartPanelLayout p = LayOutStartPanel();
  EXPECT_EQ(p.x2 - p.x1, 400);
  EXPECT_EQ(p.y2 - p.y1, 223);
  EXPECT_EQ(p.x1, (MaxX + 1) / 2 - 200);
  const TButtonRect b5 = StartButtonRect(p, 5);
  const int x1 = b5.x1, y1 = b5.y1, y2 = b5.y2;  // copies of the packed fields
  EXPECT_EQ(x1, p.x1 + 16);
  EXPECT_EQ(y1, p.y1 + 48 + 128);
  EXPECT_EQ(y2, y1 + 24);
}

TEST_F(StartPanel, SwitchedOffOrPendingRedrawShowsNothing) {
  SetSwitch(false);
  const auto before = TScreen::Pixels();
  RunStartScreen();
  EXPECT_TRUE(TScreen::Pixels() == before);
  SetSwitch(true);
  RedrawState = 2;
  RunStartScreen();
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST_F(StartPanel, SwitchButtonTwiceThenRightClickKeepsEverything) {
  SetSwitch(true);
  const int flags = FileStartFlags();
  screen.UseScript(ClickButton(4) + ClickButton(4) + ClickButton(1, "right"));
  const auto before = TScreen::Pixels();
  RunStartScreen();
  EXPECT_TRUE(IsStartPanelSwitchOn());
  EXPECT_EQ(FileStartFlags(), flags);
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the panel comes back";
  EXPECT_FALSE(CloseRequested) << "the right click ended the panel, not the end of the script";
}

TEST_F(StartPanel, SwitchButtonOnceTurnsThePanelOffForNextTime) {
  SetSwitch(true);
  const std::string shot = (screen.Dir() / "panel.png").string();
  screen.UseScript(ClickButton(4) + ClickButton(3));
  RunStartScreen();
  EXPECT_FALSE(IsStartPanelSwitchOn());
  EXPECT_EQ(FileStartFlags() & kShowStartPanel, 0);
  EXPECT_FALSE(CloseRequested) << "button 3 ended the panel";
}

TEST_F(StartPanel, PanelShowsItsButtonsWhileOpen) {
  SetSwitch(true);
  const std::string shot = (screen.Dir() / "panel.png").string();
  screen.UseScript("shot " + shot + "\n" + ClickButton(3));
  RunStartScreen();
  std::ifstream in(shot, std::ios::binary);
  EXPECT_TRUE(in.good()) << "a screenshot was taken while the panel was open";
}

// The open panel as a screenshot (taken by the script, then a right click
// ends the panel).
TPicture ShotOfOpenPanel(TScreen& screen) {
  const std::string shot = (screen.Dir() / "panel.png").string();
  const TButtonRect r = StartButtonRect(LayOutStartPanel(), 1);
  screen.UseScript("shot " + shot + "\nclick " + std::to_string(r.x1 + 10) + " " + std::to_string(r.y1 + 10) +
                   " right\n");
  RunStartScreen();
  return ReadPng(shot);
}

TEST_F(StartPanel, ButtonPicturesAreDrawnWhole) {
  SetSwitch(true);
  const TPicture shot = ShotOfOpenPanel(screen);
  ASSERT_EQ(shot.error, "");
  // Every picture (the stand-in tiles) has a one-pixel frame in one colour:
  // a whole picture shows it closed on all four sides inside the button face.
  for (int k = 1; k <= kStartButtons; ++k) {
    plat::TPixelBlock picture;
    ASSERT_TRUE(plat::LoadResourcePicture(StartButtonPicture(k), picture)) << k;
    const uint32_t edge = picture.pixels[0] & 0xFFFFFF;
    const TButtonRect r = StartButtonRect(LayOutStartPanel(), k);
    int left = 10000, right = -1, top = 10000, bottom = -1;
    for (int y = r.y1 + 2; y <= r.y2 - 2; ++y) {
      for (int x = r.x1 + 2; x <= r.x2 - 2; ++x) {
        if (shot.At(x, y) != edge) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right - left, 8) << "button " << k << ": no picture ";
    ASSERT_GE(bottom - top, 4) << "button " << k << ": no picture";
    for (int x = left; x <= right; ++x) {
      EXPECT_EQ(shot.At(x, top), edge) << "button " << k << " top edge at x " << x;
      EXPECT_EQ(shot.At(x, bottom), edge) << "button " << k << " bottom edge at x " << x;
    }
    for (int y = top; y <= bottom; ++y) {
      EXPECT_EQ(shot.At(left, y), edge) << "button " << k << " left edge at y " << y;
      EXPECT_EQ(shot.At(right, y), edge) << "button " << k << " right edge at y " << y;
    }
  }
}

TEST_F(StartPanel, TitleIsWelcomeAndVariantNameWithoutAGap) {
  SetSwitch(true);
  EXPECT_EQ(StartPanelTitle(), GetMessageText(1153, -39) + " " + GetProgramTitle());
  const TPicture shot = ShotOfOpenPanel(screen);
  ASSERT_EQ(shot.error, "");
  // The title's letters are white on the title bar; between its first and
  // last letter no run of letterless columns is wider than a word gap.
  const TStartPanelLayout p = LayOutStartPanel();
  const uint32_t white = 0xFFFFFF;
  int first = -1, last = -1, widestGap = 0, gap = 0;
  for (int x = p.x1 + 4; x <= p.x2 - 4; ++x) {
    bool ink = false;
    for (int y = p.y1 + 5; y <= p.y1 + 24 && !ink; ++y) ink = shot.At(x, y) == white;
    if (!ink) {
      ++gap;
      continue;
    }
    if (first < 0) first = x;
    else widestGap = std::max(widestGap, gap);
    last = x;
    gap = 0;
  }
  ASSERT_GT(last - first, 40) << "no title drawn";
  EXPECT_LT(widestGap, 12) << "a gap inside the title";
}

TEST_F(StartPanel, OnOffTextIsCutToEightCharacters) {
  EXPECT_EQ(GetOnOffText(true), GetMessageText(363, 8));
  EXPECT_EQ(GetOnOffText(false), GetMessageText(364, 8));
  EXPECT_NE(GetOnOffText(true), GetOnOffText(false));
  EXPECT_LE(GetOnOffText(true).size(), 8u);
}

// The options popup opens at the mouse: entries start 28 pixels below its
// top (mouse y - 32), 21 pixels apart; x 250 lies right of its picture
// column.
std::string ClickOption(int k) { return "click 250 " + std::to_string(100 - 32 + 28 + (k - 1) * 21 + 10) + "\n"; }

TEST_F(StartPanel, OptionsEntryOneTogglesTheSwitchAndReportsNoChange) {
  SetSwitch(false);
  MouseX = 20;
  MouseY = 100;
  screen.UseScript(ClickOption(1) + "key Esc\n");
  EXPECT_EQ(RunProgramOptionsMenu(), 0);
  EXPECT_TRUE(IsStartPanelSwitchOn());
  EXPECT_NE(FileStartFlags() & kShowStartPanel, 0);
  EXPECT_FALSE(CloseRequested) << "Esc left the menu";
}

TEST_F(StartPanel, OptionsLanguageEntryReportsAChange) {
  MouseX = 20;
  MouseY = 100;
  screen.UseScript(ClickOption(5) + "key Esc\n");
  EXPECT_EQ(RunProgramOptionsMenu(), 1);
  MouseX = 20;
  MouseY = 100;
  screen.UseScript("key Esc\n");
  EXPECT_EQ(RunProgramOptionsMenu(), 0);
}

// The captions of the start panel and the options popup, each measured in
// the font it is drawn in, stand whole inside their boxes: the panel's labels
// (menu font) between the buttons and the inset frame, the popup's entries
// (button font) in their rows and its help lines (text font) whole in the
// column left of the entries.
TEST_F(StartPanel, CaptionsFitTheirBoxes) {
  const int labels[] = {1148, 1149, 1150, 1152, 3530};
  const TStartPanelLayout p = LayOutStartPanel();
  for (int k = 1; k <= kStartButtons; ++k) {
    const std::string label = GetMessageText(int16_t(labels[k - 1]), 39);
    EXPECT_LE(p.x1 + 48 + MeasureMenuTextWidth(label), p.x2 - 8 - 4) << label;
  }
  for (const bool on : {false, true}) {
    SetSwitch(on);
    TPopupList list;
    InitPopupList(list);
    list.x = 300;
    list.y = 68;
    std::string helpLines[kPopupHelpLines];
    SetProgramOptionsTexts(list, helpLines);
    const TPopupLayout l = LayOutPopupList(list, 21, 2);
    EXPECT_EQ(helpLines[0], GetMessageText(2188, -39));
    EXPECT_EQ(helpLines[1], GetMessageText(2189, -39));
    for (int i = 0; i < 2; ++i) {
      ASSERT_FALSE(helpLines[i].empty());
      EXPECT_LE(12 + MeasureTextWidth(helpLines[i]) + 2, l.sideWidth - 2) << helpLines[i];
    }
    const int boxRight = l.right - 5, boxLeft = boxRight - (l.columns + 1) * 8;
    for (int i = 0; i < l.count; ++i) {
      const std::string& caption = list.captions[i];
      ASSERT_FALSE(caption.empty()) << i;
      EXPECT_LE(boxLeft + l.indent + 6 + MeasureButtonTextWidth(caption), boxRight - 2) << caption;
    }
    EXPECT_LE(MeasureButtonTextWidth(list.title) + 8 + 26, l.right - l.left) << list.title;
  }
}

}  // namespace
