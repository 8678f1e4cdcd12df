// The icon panel: the items a group's pages give (rows, gaps, kinds, the
// 96-item end), the tabs and their commands, dimmed items that come alive
// after a marking, and clicks through the input wait.
#include "commands/icon_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_names.h"
#include "ui/graphic_controls.h"
#include "commands/hints.h"
#include "commands/input_wait.h"
#include "commands/menu_bar.h"
#include "commands/side_menu.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "commands/main_screen.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "bar_screen.h"
#include "ui/ui_screen.h"
#include "support/param_image.h"

namespace {

using uitest::TScreen;

using bartest::WriteMenuFile;
using TLine = bartest::TMenuLine;

// A whole page of captions, each with its own command.
void AddFullPage(std::vector<TLine>& lines, int page) {
  for (int k = 1; k <= 26; ++k) lines.push_back({page, k, "Eintrag " + std::to_string(k), ' ', 3011});
}

class IconPanel : public bartest::MenuScreenTest {
 protected:
  void SetUp() override {
    bartest::MenuScreenTest::SetUp();
    VariantNumber = 0;
    MenuBarMode = 7;
    StoreHoldsData = 0;
    ReliefGuideActive = 0;
    ParameterMarkerFlag = 0;
    for (int32_t& count : LayerRecordCounts) count = 0;
  }
  void TearDown() override {
    bartest::MenuScreenTest::TearDown();
    IconPanelShown = 0;
    IconPanelInFront = 0;
    IconPanelPage = 0;
    DisplayFlags = 0;
  }
  void SetMenuStyle(uint8_t style) {
    uint8_t block3[kMenuStyleParamByte + 1] = {};
    GetParamBlock(3, block3, sizeof block3);
    block3[kMenuStyleParamByte] = style;
    PutParamBlock(3, block3, sizeof block3);
  }
  // Opens the menu file and lays the screen and the panel out.
  void Start(const std::vector<TLine>& lines) {
    WriteMenuFile(*screen, lines);
    OpenMenuTextFile();
    IconBarMode = 1;
    ScreenModeWord = 0;
    LayOutScreen();
    FreeMenuTables();
    LayOutIconPanel();
    EnsureMenuTables();
    CommandWord = 0;
    CommandGiven = 0;
  }
  static const TIconPanelItem& Item(int i) { return IconPanelItems[i - 1]; }
  static int ItemCentreX(int i) { return (IconPanelBoxes[i - 1].x1 + IconPanelBoxes[i - 1].x2) / 2; }
  static int ItemCentreY(int i) { return (IconPanelBoxes[i - 1].y1 + IconPanelBoxes[i - 1].y2) / 2; }
  static std::string ClickItem(int i) {
    return "click " + std::to_string(ItemCentreX(i)) + " " + std::to_string(ItemCentreY(i)) + " left\n";
  }

};

TEST_F(IconPanel, AnEmptyLineLeavesOneGapAndKindsStartRows) {
  Start({{2, 1, "Eins", ' ', 3011}, {2, 2, "Zwei", ' ', 3113}, {2, 3, "Drei", ' ', 20}, {2, 4, "", ' ', 0},
         {2, 5, "", ' ', 0}, {2, 6, "Vier", ' ', 38}, {2, 7, "Fuenf", ' ', 3114},
         {2, 8, "Nie", '0', 9999}, {2, 9, "Sechs", '2', 102}, {2, 10, "Sieben", '3', 105}});
  FillIconPanel(11, 0);  // a group of its own: page 2 alone
  // 7-9 the first three, 10 the gap, 11-12; kind 0 takes nothing; kind 2 at
  // a row's first item changes nothing (13); kind 3 pads to row 4 (19).
  const int16_t expected[] = {3011, 3113, 20, 0, 38, 3114, 102, 0, 0, 0, 0, 0, 105};
  for (int k = 0; k < int(sizeof expected / sizeof expected[0]); ++k)
    EXPECT_EQ(Item(7 + k).code, expected[k]) << "item " << 7 + k;
  EXPECT_EQ(Item(7).picture, "OEFFNEN");
  EXPECT_EQ(Item(7).caption, "Eins");
  EXPECT_EQ(Item(10).picture, "");
  EXPECT_EQ(IconPanelRowMarks[4 - 1], 2) << "kind 3 heads row 4 with the coloured line";
  EXPECT_EQ(IconPanelRowMarks[3 - 1], 0) << "kind 2 starts a row without a line";
  for (int i = 26; i <= kIconPanelItems; ++i) EXPECT_EQ(Item(i).code, 0) << i;
}

TEST_F(IconPanel, TheDrawingGroupReadsFourPagesWithSeparatorsAndTabs) {
  Start({{4, 1, "Linie", ' ', 106}, {4, 2, "Kopieren", ' ', 68}, {4, 3, "Punkt", ' ', 102},
         {9, 1, "Kreis", ' ', 98}, {5, 1, "Drehen", ' ', 62}, {6, 1, "Text", ' ', 9920}});
  FillIconPanel(4, 0);
  EXPECT_EQ(IconPanelPage, 4);
  EXPECT_EQ(SelectedIconTab, 2);
  EXPECT_EQ(Item(2).picture, "_MenZeichnen3A");
  EXPECT_EQ(Item(1).picture, "MenDatei1");
  EXPECT_EQ(Item(4).code, 45);
  EXPECT_EQ(Item(6).code, 0);
  EXPECT_EQ(IconPanelLabel, "[" + GetMessageText(693, -19) + "]");
  EXPECT_EQ(Item(8).code, -68) << "a command on the marking keeps its negative code";
  EXPECT_EQ(Item(8).picture, "KOPIEREN");
  EXPECT_EQ(Item(13).code, 98) << "page 9 starts a new row";
  EXPECT_EQ(Item(19).code, -62);
  EXPECT_EQ(Item(25).code, 9920);
  EXPECT_EQ(IconPanelRowMarks[3 - 1], 1);
  EXPECT_EQ(IconPanelRowMarks[4 - 1], 1);
  EXPECT_EQ(IconPanelRowMarks[5 - 1], 1);
  EXPECT_EQ(CommandWord, 41) << "the group ends in the marking mode";
  EXPECT_EQ(CommandGiven, 0);
}

TEST_F(IconPanel, AGroupOfMoreThanNinetyItemsStopsAtTheLastItem) {
  std::vector<TLine> lines;
  for (int page : {4, 9}) AddFullPage(lines, page);
  for (int k = 1; k <= 20; ++k) lines.push_back({5, k, "Mehr " + std::to_string(k), ' ', 3011});
  for (int k = 1; k <= 26; ++k) lines.push_back({6, k, "Letzte " + std::to_string(k), ' ', 3113});
  Start(lines);
  FillIconPanel(4, 0);
  // Pages 4 and 9 fill items 7-32 and 37-62, page 5 items 67-86; page 6
  // starts at 91 and stops after item 96.
  EXPECT_EQ(Item(86).code, 3011);
  EXPECT_EQ(Item(87).code, 0);
  EXPECT_EQ(Item(91).code, 3113);
  EXPECT_EQ(Item(96).code, 3113);
  EXPECT_EQ(Item(96).caption, "Letzte 6");
}

TEST_F(IconPanel, ReliefTabsGiveTheirLoopCommandsAtOnce) {
  Start({{45, 1, "Relief", ' ', 1731}, {48, 1, "Malen", ' ', 9949}});
  FillIconPanel(45, 0);
  EXPECT_EQ(CommandWord, 9944);
  EXPECT_EQ(CommandGiven, 1);
  EXPECT_EQ(ParameterMarkerFlag, 2);
  EXPECT_EQ(IconPanelPage, 44);
  CommandGiven = 0;
  FillIconPanel(48, 0);
  EXPECT_EQ(CommandWord, 9948);
  EXPECT_EQ(SelectedIconTab, 5);
}

TEST_F(IconPanel, NothingIsFilledWithoutThePanelBitOrForVariant23) {
  Start({{2, 1, "Eins", ' ', 3011}});
  FillIconPanel(2, 0);
  ASSERT_EQ(Item(7).code, 3011);
  MenuBarMode = 3;
  Start({{2, 1, "Zwei", ' ', 3113}});
  FillIconPanel(2, 0);
  EXPECT_EQ(Item(7).code, 0) << "the table was built blank and never filled";
  MenuBarMode = 7;
  VariantNumber = 23;
  FillIconPanel(2, 0);
  EXPECT_EQ(Item(7).code, 0);
  VariantNumber = 0;
}

TEST_F(IconPanel, MenuNumbersMapToTheirGroups) {
  Start({{4, 1, "Linie", ' ', 106}, {7, 1, "Bahn", ' ', 700}, {2, 1, "Datei", ' ', 3011}});
  const struct {
    int16_t menu;
    int16_t page;
  } kCases[] = {{10, 3}, {3, 3}, {9, 4}, {5, 4}, {8, 7}};
  for (const auto& c : kCases) {
    IconPanelPage = 0;
    FillIconPanelForMenu(c.menu);
    EXPECT_EQ(IconPanelPage, c.page) << c.menu;
  }
  IconPanelPage = 77;
  FillIconPanelForMenu(-1);
  EXPECT_EQ(IconPanelPage, 77) << "-1 changes nothing";
}

class IconPanelShownStyle2 : public IconPanel {
 protected:
  void StartShown(const std::vector<TLine>& lines) {
    SetMenuStyle(2);
    IconPanelShown = 1;
    Start(lines);
    FillIconPanel(4, 0);
    DrawIconPanel();
  }
};

TEST_F(IconPanelShownStyle2, DimmedItemsComeAliveAfterAMarkingWithoutAFullRedraw) {
  StartShown({{4, 1, "Linie", ' ', 106}, {4, 2, "Kopieren", ' ', 68}});
  ASSERT_EQ(Item(8).code, -68);
  const std::vector<uint32_t> before = TScreen::Pixels();
  StoreHoldsData = 1;
  RefreshSelectionItems();
  const std::vector<uint32_t> after = TScreen::Pixels();
  const TButtonRect& copy = IconPanelBoxes[8 - 1];
  const TButtonRect& line = IconPanelBoxes[7 - 1];
  EXPECT_GT(TScreen::CountChanged(before, after, copy.x1, copy.y1, copy.x2, copy.y2), 50)
      << "the copy icon is drawn active";
  EXPECT_EQ(TScreen::CountChanged(before, after, line.x1, line.y1, line.x2, line.y2), 0)
      << "a command that needs no marking is not redrawn";
  EXPECT_EQ(StoreFlagAtDraw, 0);
}

TEST_F(IconPanelShownStyle2, ThePointedItemArmsTheDelayedHintWithItsCode) {
  StartShown({{4, 1, "Linie", ' ', 106}, {4, 2, "Kopieren", ' ', 68}});
  Wait("move " + std::to_string(ItemCentreX(7)) + " " + std::to_string(ItemCentreY(7)) + "\n");
  ASSERT_EQ(WaitButtonState(), 0);
  const int16_t keepX = MouseX, keepY = MouseY;
  const struct {
    int item;
    int16_t hint;
  } kCases[] = {{8, 68}, {7, 106}, {2, 4 + 9900}, {6, 0}};  // dimmed copy: its absolute code; a tab: + 9900
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.item);
    MouseX = int16_t(ItemCentreX(c.item));
    MouseY = int16_t(ItemCentreY(c.item));
    TrackIconPanel();
    EXPECT_EQ(HintTimer.area, kHintIconPanel);
    EXPECT_EQ(HintTimer.hint, c.hint);
  }
  MouseX = int16_t(IconPanelBox.x1 + 2);  // the margin left of the first column
  TrackIconPanel();
  EXPECT_EQ(HintTimer.area, 0) << "no item: the hint is closed";
  EXPECT_EQ(HintTimer.hint, 0);
  MouseX = keepX;
  MouseY = keepY;
}

TEST_F(IconPanelShownStyle2, ADimmedItemTakesNoClickUntilTheStoreHoldsData) {
  StartShown({{4, 1, "Linie", ' ', 106}, {4, 2, "Kopieren", ' ', 68}});
  EXPECT_EQ(Wait(ClickItem(8)), 0) << "copy is dimmed: the click is ignored";
  StoreHoldsData = 1;
  EXPECT_EQ(Wait(ClickItem(8)), 68) << "the click gives the absolute code";
  EXPECT_EQ(Wait(ClickItem(7)), 106);
}

TEST_F(IconPanelShownStyle2, TabClicksSwitchGroupsOrGiveTheReliefLoop) {
  StartShown({{4, 1, "Linie", ' ', 106}, {2, 1, "Oeffnen", ' ', 3011}, {45, 1, "Relief", ' ', 1731}});
  EXPECT_EQ(Wait(ClickItem(4)), 9944) << "the relief tab returns at once";
  FillIconPanel(4, 0);
  DrawIconPanel();
  EXPECT_EQ(Wait(ClickItem(1)), 0) << "the file tab refills the panel without a command";
  EXPECT_EQ(IconPanelPage, 3);
  EXPECT_EQ(Item(7).code, 3011);
}

}  // namespace
