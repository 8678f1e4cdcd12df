// The tabbed window: its place on large and small screens, the tabs that can
// be clicked (up to the last one with a caption), the ways to close it, and
// the screen given back.
#include "ui/tab_window.h"

#include "commands/bar_screen.h"
#include "frame/main_window.h"

namespace {

using uitest::TScreen;

TTabWindow NewWindow(std::initializer_list<const char*> captions) {
  TTabWindow window;
  window.Title = "Einstellungen";
  int i = 0;
  for (const char* caption : captions) window.TabCaptions[i++] = caption;
  return window;
}

TEST(TabWindow, ItStandsInTheMiddleOfALargeScreen) {
  TScreen screen;  // 1024 x 768
  TTabWindow window = NewWindow({"Anzeige", "Maschine"});
  const auto before = TScreen::Pixels();
  OpenTabWindow(window);
  EXPECT_EQ(int(window.Frame.left), 224);
  EXPECT_EQ(int(window.Frame.right), 800);
  EXPECT_EQ(int(window.Frame.top), 136);
  EXPECT_EQ(int(window.Frame.bottom), 564);
  EXPECT_EQ(int(window.Tabs[0].x1), 233);
  EXPECT_EQ(int(window.Tabs[0].y1), 167);
  EXPECT_EQ(int(window.Tabs[5].x2), 233 + 6 * 93);
  EXPECT_EQ(window.PageArea.Left, 233);
  EXPECT_EQ(window.PageArea.Right, 791);
  EXPECT_EQ(window.PageArea.Top, 199);
  EXPECT_EQ(window.PageArea.Bottom, 558);
  EXPECT_EQ(int(window.CloseButton.x1), 774);
  EXPECT_EQ(window.TabCount, 1);
  EXPECT_EQ(window.SelectedTab, 0);
  EXPECT_EQ(bartest::PictureDiffers("Abbruch", 777, 143), 0);
  const uint32_t page = plat::PixelFromColorRef(plat::Rgb(230, 208, 97)) & 0xFFFFFF;
  EXPECT_EQ(TScreen::PixelAt(500, 400) & 0xFFFFFF, page);
  // The maker's logo, faded, 15 pixels from the window's right and bottom edges.
  int logo = 0, outside = 0;
  for (int y = window.PageArea.Top + 2; y < window.PageArea.Bottom - 1; ++y)
    for (int x = window.PageArea.Left + 2; x < window.PageArea.Right - 1; ++x) {
      if ((TScreen::PixelAt(x, y) & 0xFFFFFF) == page) continue;
      (x >= 800 - 15 - 97 && x < 800 - 15 && y >= 564 - 15 - 60 && y < 564 - 15 ? logo : outside) += 1;
    }
  EXPECT_GT(logo, 300);
  EXPECT_EQ(outside, 0);
  CloseTabWindow(window);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(TabWindow, OnASmallScreenItStartsAtTheTopLeft) {
  TScreen screen("", "500x300");
  TTabWindow window = NewWindow({"Anzeige"});
  OpenTabWindow(window);
  EXPECT_EQ(int(window.Frame.left), 0);
  EXPECT_EQ(int(window.Frame.top), 0);
  EXPECT_EQ(int(window.Tabs[0].y1), 31);
  EXPECT_EQ(window.TabCount, 0);
  CloseTabWindow(window);
}

// Clicks on the window opened on the 1024 x 768 screen; tab i's centre is
// (233 + 93 i + 46, 183).
// The captions of the click tests: tabs 0, 1 and 3 (TabCount 3).
int8_t RunOnce(const std::string& script, std::initializer_list<const char*> captions) {
  TScreen screen(script);
  plat::ResetScript();
  TTabWindow window = NewWindow(captions);
  const auto before = TScreen::Pixels();
  OpenTabWindow(window);
  RunTabWindow(window);
  EXPECT_EQ(window.TabCount, 3);
  const int8_t selected = window.SelectedTab;
  CloseTabWindow(window);
  EXPECT_TRUE(TScreen::Pixels() == before);
  return selected;
}

std::string ClickTab(int i) { return "click " + std::to_string(233 + 93 * i + 46) + " 183\n"; }

TEST(TabWindow, ClicksChooseTabsOrCloseIt) {
  const std::initializer_list<const char*> kCaptions = {"Anzeige", "Maschine", "", "Dateien"};
  const struct {
    std::string script;
    int8_t selected;
  } kCases[] = {
      {ClickTab(1), 1},
      {ClickTab(3), 3},
      {ClickTab(2), 2},                             // an empty caption below the last one can be clicked
      {ClickTab(4) + ClickTab(0), 0},               // beyond the last caption nothing is hit
      {"click 500 400\n" + ClickTab(3), 3},         // a click on the page is ignored
      {"click 786 154\n", -1},                      // the close button
      {"click 500 400 right\n", -1},
      {"key Esc\n", -1},
      {"key F1\n", -1},
  };
  for (const auto& c : kCases) EXPECT_EQ(RunOnce(c.script, kCaptions), c.selected) << c.script;
}

}  // namespace
