// The menu bar: titles read from a page of the menu text file, joined into
// one text, the state icons and the variant logo placed by the free width,
// and a click on a title opening its side page.
#include "commands/menu_bar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "commands/command_names.h"
#include "commands/menu_pages.h"
#include "commands/side_menu.h"
#include "commands/start_panel.h"
#include "commands/state_icons.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "commands/main_screen.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "bar_screen.h"
#include "ui/ui_screen.h"
#include "support/param_image.h"

namespace {

using uitest::TScreen;

using bartest::FileLine;
using bartest::Page;

class MenuBar : public testing::Test {
 protected:
  void UseMenuFile(const std::string& bytes) {
    std::ofstream(screen.Dir() / "TORV.TXT", std::ios::binary) << bytes;
    OpenMenuTextFile();
  }
  void SetUp() override {
    // A zeroed parameter image: menu style 1 (text list).
    paramImage.Install();
    LayOutScreen();
    keepVariant = VariantNumber;
    MenuBarMode = 7;
    StateIconFlags = 0;
    VariantLogoX = 0;
  }
  void TearDown() override {
    paramImage.Restore();
    CloseMenuTextFile();
    VariantNumber = keepVariant;
    MenuBarMode = 7;
    LoadSideMenu(-1);
    SideMenuNumber = 0;
  }
  TScreen screen{"", "640x480"};
  torvtest::TZeroedParamImage paramImage;
  int16_t keepVariant = 0;
};

TEST_F(MenuBar, TitlesAreJoinedWithTwoBlanksAndEmptyLinesSkipped) {
  UseMenuFile(Page({FileLine("Datei", 9902, 'D'), FileLine("Zeichnen", 9903, 'Z'), FileLine("", 0),
                    FileLine("", 0)}));
  DrawMenuBar(0);
  EXPECT_EQ(MenuBarText, "Datei  Zeichnen");
  EXPECT_EQ(MenuBarTitles[0].startPos, 0);
  EXPECT_EQ(MenuBarTitles[1].startPos, 7);
  EXPECT_EQ(MenuBarTitles[1].code, 9903);
  EXPECT_EQ(MenuBarTitles[1].hotKey, 'Z');
  EXPECT_EQ(MenuBarTitles[1].startPixel, MeasureMenuTextWidth("Datei  "));
  // Titles 3 to 25 start after the last title and its two blanks.
  EXPECT_EQ(MenuBarTitles[2].startPos, 17);
  EXPECT_EQ(MenuBarActiveWidth(), MeasureMenuTextWidth("Datei  Zeichnen  "));
  EXPECT_EQ(HighlightedTitle, 0);
}

TEST_F(MenuBar, TitleUnderTheMouse) {
  UseMenuFile(Page({FileLine("Datei", 9902), FileLine("Zeichnen", 9903), FileLine("Werkzeug", 9904)}));
  DrawMenuBar(0);
  const int second = MenuBarTitles[1].startPixel, third = MenuBarTitles[2].startPixel;
  const struct {
    int x, title;
  } cases[] = {{0, 1}, {second - 1, 1}, {second, 1}, {second + 1, 2}, {third, 2}, {third + 1, 3}};
  for (const auto& c : cases) EXPECT_EQ(MenuBarTitleAt(c.x), c.title) << "x " << c.x;
}

TEST_F(MenuBar, WideTextLeavesNoRoomForIconsOrLogo) {
  VariantNumber = 1;
  std::vector<std::string> wide;
  for (int k = 0; k < 24; ++k) wide.push_back(FileLine("WWWWWWWWWWWWWWW", 9902));
  UseMenuFile(Page(wide) + Page({FileLine("Datei", 9902)}));
  DrawMenuBar(0);
  EXPECT_EQ(StateIconFlags & (kStateShowAction | kStateShowCurrentLayer | kStateShowToolLayers |
                              kStateShowPathLayers), 0);
  EXPECT_EQ(VariantLogoX, 0);
  // A narrow bar brings every icon back and the logo left of them.
  DrawMenuBar(1);
  EXPECT_NE(StateIconFlags & kStateShowAction, 0);
  EXPECT_NE(StateIconFlags & kStateShowCurrentLayer, 0);
  EXPECT_NE(StateIconFlags & kStateShowToolLayers, 0);
  EXPECT_NE(StateIconFlags & kStateShowPathLayers, 0);
  EXPECT_EQ(VariantLogoX, MaxX + 1 - 100 - 123);
  EXPECT_EQ(ColourScaleX, MaxX + 1 - 100 - 142);
}

TEST_F(MenuBar, PathIconOnlyForTheReliefVariants) {
  UseMenuFile(Page({FileLine("Datei", 9902)}));
  VariantNumber = 2;
  DrawMenuBar(0);
  EXPECT_EQ(StateIconFlags & kStateShowPathLayers, 0);
  EXPECT_NE(StateIconFlags & kStateShowToolLayers, 0);
  EXPECT_EQ(VariantLogoX, MaxX + 1 - 75 - 123);
}

TEST_F(MenuBar, TitlesAreDrawnBlackAndGreyedWhenInactive) {
  UseMenuFile(Page({FileLine("MMMM", 9902, 'M'), FileLine("Ende", 9903)}));
  DrawMenuBar(0);
  const plat::TColorRef black = plat::PixelFromColorRef(GetColorRef(274)) & 0xFFFFFF;
  auto countIn = [](int x1, int y1, int x2, int y2, plat::TColorRef c) {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += (TScreen::PixelAt(x, y) & 0xFFFFFF) == c;
    return n;
  };
  const int w = MenuBarActiveWidth();
  EXPECT_GT(countIn(8, 1, w, 15, black), 20) << "title text";
  // The hot-key underline of "M" at y 15 under the first letter (the line
  // ends before its last point).
  const int mw = MeasureMenuTextWidth("M");
  EXPECT_EQ(countIn(7, 15, 7 + mw - 2, 15, black), mw - 1);
  // Greyed: no black left in the strip.
  SetMenuBarMode(6);
  EXPECT_EQ(countIn(0, 0, w, 15, black), 0);
  EXPECT_GT(countIn(8, 1, w, 15, plat::PixelFromColorRef(GetColorRef(261)) & 0xFFFFFF), 20);
  // The same mode again draws nothing.
  FillColorRect(0, 0, w, 16, plat::Rgb(1, 2, 3));
  SetMenuBarMode(6);
  EXPECT_EQ(countIn(0, 0, w, 16, plat::PixelFromColorRef(plat::Rgb(1, 2, 3)) & 0xFFFFFF), (w + 1) * 17);
}

TEST_F(MenuBar, ClickOnATitleHighlightsItAndOpensItsSidePage) {
  UseMenuFile(Page({FileLine("Datei", 9902, 'D'), FileLine("Zeichnen", 9903, 'Z')}) + Page({}) +
              Page({FileLine("Neu", 100, 'N')}) + Page({FileLine("Linie", 101), FileLine("Kreis", 102)}));
  EnsureMenuTables();
  DrawMenuBar(0);
  MouseX = int16_t(MenuBarTitles[1].startPixel + 10);
  MouseY = 8;
  MouseButtonState = 2;
  CommandWord = 55;
  HandleMenuBarClick();
  EXPECT_EQ(HighlightedTitle, 2);
  EXPECT_EQ(SideMenuNumber, 3);
  EXPECT_EQ(LastSideItem, 1);
  EXPECT_EQ(SideItems[1].caption, "Kreis");
  EXPECT_EQ(CommandWord, 0);
  // Highlighted: white on black under the title.
  EXPECT_EQ(TScreen::PixelAt(MenuBarTitles[1].startPixel + 7, 2) & 0xFFFFFF, plat::PixelFromColorRef(GetColorRef(274)) & 0xFFFFFF);
  // Inactive bar: the click does nothing.
  MenuBarMode = 0;
  MouseX = 10;
  MouseButtonState = 2;
  HandleMenuBarClick();
  EXPECT_EQ(SideMenuNumber, 3);
  MouseButtonState = 0;
}

}  // namespace
