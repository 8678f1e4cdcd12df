// The side text menu: a page loaded as items, drawn in the side panel by the
// colour rules, value captions, the mouse highlight and the command a click
// gives.
#include "commands/side_menu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "commands/command_names.h"
#include "commands/menu_pages.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "commands/main_screen.h"
#include "frame/window_draw.h"
#include "bar_screen.h"
#include "ui/ui_screen.h"
#include "support/param_image.h"

namespace {

using uitest::TScreen;

using bartest::FileLine;
using bartest::Page;

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }
uint32_t Px(plat::TColorRef color) { return plat::PixelFromColorRef(color) & 0xFFFFFF; }

class SideMenu : public testing::Test {
 protected:
  void SetUp() override {
    // A zeroed parameter image: menu style 1 (text list).
    paramImage.Install();
    LayOutScreen();
    // Page 1: a heading, a command, a separator, a page link and a last item.
    const std::string page1 = Page({FileLine("Zeichnen", 0), FileLine("Linie", 101, 'L'), FileLine("", 0),
                                    FileLine("Kreise", 9905, 'K'), FileLine("Breite:   10", 38)});
    std::ofstream(screen.Dir() / "TORV.TXT", std::ios::binary) << Page({}) + page1;
    OpenMenuTextFile();
    EnsureMenuTables();
  }
  void TearDown() override {
    paramImage.Restore();
    CloseMenuTextFile();
    LoadSideMenu(-1);
    SideMenuNumber = 0;
  }
  uint32_t FaceAt(int i) const { return Rgb(TScreen::PixelAt(SidePanelX1() + 30, SideItemTop(i) + 1)); }
  TScreen screen;
  torvtest::TZeroedParamImage paramImage;
};

TEST_F(SideMenu, PageBecomesItemsAndIsDrawnByTheColourRules) {
  ShowSideMenu(1);
  EXPECT_EQ(SideMenuNumber, 1);
  EXPECT_EQ(LastSideItem, 4);
  EXPECT_EQ(SideItems[1].code, 101);
  EXPECT_EQ(SideItems[1].hotKey, 'L');
  EXPECT_EQ(SideItems[1].enabled, 1);
  EXPECT_EQ(SideItems[2].caption, "");
  EXPECT_EQ(SideItems[4].caption, "Breite:   10");
  EXPECT_EQ(HighlightedSideItem, -1);
  EXPECT_EQ(FaceAt(0), Px(GetColorRef(1))) << "heading";
  EXPECT_EQ(FaceAt(1), Px(GetColorRef(260))) << "command";
  EXPECT_EQ(FaceAt(3), Px(GetColorRef(260))) << "page link";
  // Separator: the etched line.
  EXPECT_EQ(Rgb(TScreen::PixelAt(SidePanelX1() + 30, SideItemTop(2) + 8)), Px(GetColorRef(8)));
  EXPECT_EQ(Rgb(TScreen::PixelAt(SidePanelX1() + 30, SideItemTop(2) + 9)), Px(GetColorRef(261)));
  // A page link's caption in palette colour 1 somewhere in its text.
  int linkText = 0;
  for (int y = SideItemTop(3); y <= SideItemTop(3) + 16; ++y)
    for (int x = SidePanelX1() + 26; x < SidePanelX1() + 80; ++x)
      linkText += Rgb(TScreen::PixelAt(x, y)) == Px(GetColorRef(1));
  EXPECT_GT(linkText, 5);
}

TEST_F(SideMenu, EmptySideMenu) {
  ShowSideMenu(1);
  ShowSideMenu(-1);
  EXPECT_EQ(LastSideItem, -1);
  for (const TSideItem& item : SideItems) {
    EXPECT_EQ(item.code, 0);
    EXPECT_TRUE(item.caption.empty());
  }
  EXPECT_FALSE(IsOverSideTextList(SidePanelX1() + 30, SideItemTop(0) + 4));
}

TEST_F(SideMenu, ValueCaptions) {
  ShowSideMenu(1);
  const struct {
    const char* caption;
    const char* value;
    const char* result;
  } cases[] = {
      {"Tiefe:", "2.5", "Tiefe:2.5"},
      {"Abstandswert", "7", "Abstandsw7"},
      {"Zustellungsweg: x", "1", "Zustellun1"},  // ":" after position 9
      {"Breite:", "123456789012345", "Breite:1234567890123"},
  };
  for (const auto& c : cases) {
    SideItems[1].caption = c.caption;
    SetMenuItemValueText(1, c.value);
    EXPECT_EQ(SideItems[1].caption, c.result) << c.caption;
  }
  // A value box shortens the face to W - 52.
  SideItems[1].caption = "Farbe:";
  SetMenuItemColourValue(1, "rot", 4);
  EXPECT_EQ(SideItems[1].caption, std::string("Farbe:") + '\0');
  EXPECT_EQ(Rgb(TScreen::PixelAt(MaxX + 1 - 53, SideItemTop(1) + 1)), Px(GetColorRef(260)));
  EXPECT_EQ(Rgb(TScreen::PixelAt(SidePanelX2() - 9, SideItemTop(1) + 4)), Px(plat::Rgb(192, 192, 192)));
}

TEST_F(SideMenu, MouseHighlightsTheItemUnderIt) {
  ShowSideMenu(1);
  const int x = SidePanelX1() + 30;
  TrackSideTextList(x, SideItemTop(1) + 5);
  EXPECT_EQ(HighlightedSideItem, 1);
  EXPECT_EQ(FaceAt(1), Px(GetColorRef(274)));
  TrackSideTextList(x, SideItemTop(3) + 5);
  EXPECT_EQ(HighlightedSideItem, 3);
  EXPECT_EQ(FaceAt(1), Px(GetColorRef(260)));
  EXPECT_EQ(FaceAt(3), Px(GetColorRef(274)));
  // Below the last item the list ends.
  EXPECT_FALSE(IsOverSideTextList(x, SideItemTop(LastSideItem + 1) + 17));
}

TEST_F(SideMenu, ClickCodes) {
  ShowSideMenu(1);
  SideItems[3].code = 618;
  const struct {
    int item;
    uint8_t button;
    uint16_t code;
  } cases[] = {
      {0, 2, 0},   {1, 2, 101}, {1, 1, 0},   {4, 2, 38}, {4, 1, 39},
      {3, 1, 627}, {5, 2, 0},   {-1, 2, 0},  {1, 4, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(SideItemClickCode(c.item, c.button), c.code) << c.item << " " << int(c.button);
  SetSideMenuItemEnabled(1, false);
  EXPECT_EQ(SideItemClickCode(1, 2), 0);
  EXPECT_EQ(SideItems[1].enabled, 0);
}

}  // namespace
