// The input wait in a headless main window: scripted clicks and keys become
// the commands of the button map, the graphic window and the menus; the key
// map's help mode swallows one command; the journal names what was returned.
#include "commands/input_wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_names.h"
#include "ui/graphic_controls.h"
#include "commands/hints.h"
#include "commands/icon_panel.h"
#include "commands/menu_bar.h"
#include "commands/side_menu.h"
#include "commands/start_panel.h"
#include "commands/state_icons.h"
#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "commands/main_screen.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "model/vector_records.h"
#include "platform/backend.h"
#include "platform/files.h"
#include "bar_screen.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "support/param_image.h"

namespace {

using uitest::TScreen;

using bartest::WriteMenuFile;
using TMenuSpec = bartest::TMenuLine;

const std::vector<TMenuSpec> kMenu = {
    {0, 1, "Datei", ' ', 9902, 'D'},      {0, 2, "Markieren", ' ', 9903, 'M'},
    {2, 1, "Neue Zeichnung", ' ', 38, 'N'}, {2, 2, "Oeffnen", ' ', 3011, 'F'},
    {2, 3, "Speichern", ' ', 3113, 'S'},  {2, 4, "Speichern unter", ' ', 3114, 'U'},
    {3, 1, "Markieren", ' ', 41, 'M'},    {3, 2, "Kopieren", ' ', 68, 'K'},
};

class InputWait : public bartest::MenuScreenTest {
 protected:
  void SetUp() override {
    bartest::MenuScreenTest::SetUp();
    WriteMenuFile(*screen, kMenu);
    OpenMenuTextFile();
    VariantNumber = 0;
    CommandSubMode = 0;
    StoreHoldsData = 0;
    for (int32_t& count : LayerRecordCounts) count = 0;
    DisplayFlags = 0;
    ClickTracking = 0;
    LeaveWaitFlag = 0;
    MenuBarMode = 7;
    IconBarMode = 1;
    ScreenModeWord = 0;
    LayOutScreen();
    FreeMenuTables();
    LayOutIconPanel();
    DrawMenuBar(0);
    ShowSideMenu(2);
    EnsureMenuTables();
    CommandWord = 0;
    CommandGiven = 0;
  }
  void TearDown() override {
    bartest::MenuScreenTest::TearDown();
    DisplayFlags = 0;
    ClickTracking = 0;
    CommandSubMode = 0;
    CursorMode = 4;
    MenuBarMode = 7;
    LeaveWaitFlag = 0;
    AnimationsOn = 0;
  }

  static int Centre(const TButtonRect& b) { return (b.x1 + b.x2) / 2; }
  static std::string Click(int x, int y, const char* button = "left") {
    return "click " + std::to_string(x) + " " + std::to_string(y) + " " + button + "\n";
  }
  std::string Journal() const { return screen->ReadFile(kJournalFileName); }

};

TEST_F(InputWait, TheSaveIconGivesSaveAndAMiddleClickSaveAs) {
  EXPECT_EQ(Wait(Click(Centre(SaveIconButton), 38)), 3113);
  EXPECT_EQ(CommandGiven, 1);
  EXPECT_EQ(Wait(Click(Centre(SaveIconButton), 38, "middle")), 3114);
}

TEST_F(InputWait, ARightClickInTheDrawingMarksOnlyWhenThereIsSomethingToMark) {
  const int x = (DrawingArea.x1 + DrawingArea.x2) / 2, y = (DrawingArea.y1 + DrawingArea.y2) / 2;
  EXPECT_EQ(Wait(Click(x, y, "right")), 0) << "an empty drawing gives no command";
  StoreHoldsData = 1;
  EXPECT_EQ(Wait(Click(x, y, "right")), 45);
  StoreHoldsData = 0;
  LayerRecordCounts[0] = 12;
  EXPECT_EQ(Wait(Click(x, y, "right")), 45) << "records in a layer count as well";
  CommandSubMode = 1;
  EXPECT_EQ(Wait(Click(x, y, "right")), 0) << "only the main drawing window marks on a right click";
}

TEST_F(InputWait, ALeftClickInTheDrawingMarksOrRepeatsTheDragCommand) {
  const int x = (DrawingArea.x1 + DrawingArea.x2) / 2, y = (DrawingArea.y1 + DrawingArea.y2) / 2;
  CommandWord = 0;
  EXPECT_EQ(Wait(Click(x, y)), 41);
  EXPECT_EQ(ClickTracking & 1, 0);
  EXPECT_EQ(DisplayFlags & 16, 16) << "the marking-mode button shows pressed";

  CommandWord = 116;  // a line, still standing from the last pass
  EXPECT_EQ(Wait(Click(x, y)), 116);
  EXPECT_EQ(ClickTracking & 1, 1);
  EXPECT_EQ(DisplayFlags & 16, 0) << "a command other than 41 raises the marking button";
}

TEST_F(InputWait, AMiddleClickInTheDrawingGivesTheGuideLineCommand) {
  const int x = (DrawingArea.x1 + DrawingArea.x2) / 2, y = (DrawingArea.y1 + DrawingArea.y2) / 2;
  EXPECT_EQ(Wait(Click(x, y, "middle")), 1698);
}

TEST_F(InputWait, HotKeysClickTheSideItemAndAltOpensTheTitle) {
  ASSERT_EQ(SideMenuNumber, 2);
  EXPECT_EQ(Wait("key s\n"), 3113) << "S is the hot key of side item 2";
  EXPECT_EQ(Wait("key u\n"), 3114);

  EXPECT_EQ(Wait("key alt+m\n"), 0) << "a title opens its page, no command";
  EXPECT_EQ(SideMenuNumber, 3);
  EXPECT_EQ(Wait("key alt+d\n"), 0);
  EXPECT_EQ(SideMenuNumber, 2);
  EXPECT_EQ(Wait("key q\n"), 0) << "a letter without an item is dropped";
}

TEST_F(InputWait, EscWithTheMouseOnAnIconStartsNothing) {
  struct TCase {
    const char* name;
    const TButtonRect* button;
  } const kCases[] = {
      {"save", &SaveIconButton},         {"undo", &UndoIconButton},         {"zoom all", &ZoomAllIconButton},
      {"new graphic", &NewGraphicIconButton}, {"normal view", &ViewBarButtons[2]}, {"parameters", &ParameterIconButton},
  };
  for (const TCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const TButtonRect b = *c.button;  // a packed record: read it whole
    ASSERT_GT(int(b.x2), int(b.x1));
    const std::string on = "move " + std::to_string(Centre(b)) + " " + std::to_string((b.y1 + b.y2) / 2) + "\n";
    CommandWord = 0;
    EXPECT_EQ(Wait(on + "key Esc\n"), 0);
    EXPECT_EQ(CommandGiven, 0);
  }
}

TEST_F(InputWait, F9ShowsTheHelpOfTheNextCommandInsteadOfRunningIt) {
  const std::string script =
      "key F9\n" + Click(Centre(UndoIconButton), 38) + "key Enter\n" + Click(Centre(SaveIconButton), 38);
  // The help viewer is not built yet: its box is answered.
  EXPECT_EQ(Wait(script), 3113) << "undo was swallowed by help mode, the wait went on";
  const std::string journal = Journal();
  EXPECT_EQ(journal.find("0632 : "), std::string::npos) << journal;
  EXPECT_EQ(CursorMode == 254, false) << "help mode ends with the swallowed command";
}

TEST_F(InputWait, TheStartPointButtonTogglesAndTheSecondClickRedraws) {
  const int x = Centre(ViewBarButtons[5]);
  EXPECT_EQ(Wait(Click(x, 38)), 40);
  EXPECT_EQ(DisplayFlags & 32, 32);
  EXPECT_EQ(ViewBarButtons[5].flag, 1);
  EXPECT_EQ(Wait(Click(x, 38)), 1102);
  EXPECT_EQ(DisplayFlags & 32, 0);
}

TEST_F(InputWait, PlusZoomsAndLeavesAnInteractiveWaitWithoutACommand) {
  MenuBarMode = 0;
  CommandWord = 116;
  EXPECT_EQ(Wait("key +\n"), 0);
  EXPECT_EQ(LeaveWaitFlag, 1);
  LeaveWaitFlag = 0;
}

TEST_F(InputWait, TheJournalNamesEachReturnedCommand) {
  Wait(Click(Centre(SaveIconButton), 38));
  Wait(Click(Centre(UndoIconButton), 38));
  Wait(Click(Centre(ViewBarButtons[0]), 38));  // the layer button: 7926, not journalled
  const std::string journal = Journal();
  EXPECT_NE(journal.find("3113 : "), std::string::npos) << journal;
  EXPECT_NE(journal.find(" Speichern\r\n"), std::string::npos) << journal;
  EXPECT_NE(journal.find("0632 : "), std::string::npos) << journal;
  EXPECT_NE(journal.find(" UnDo\r\n"), std::string::npos) << journal;
  EXPECT_EQ(journal.find("7926 : "), std::string::npos) << journal;
}

// --- the editing keys of the key map --------------------------------------------------

class InputWaitKeys : public InputWait {
 protected:
  void SetUp() override {
    InputWait::SetUp();
    CurrentLayer = 0;
    PutRecords(BuildLayerFileName(0), 3);
    LayerRecordCounts[0] = 3;
    ClearVectorStore();
    ClearClipboardFile();
  }
  void PutRecords(const std::string& name, int n) {
    std::vector<TVectorRecord> records;
    for (int i = 0; i < n; ++i) records.push_back(TVectorRecord{uint8_t(i == 0 ? 11 : 10), float(i), float(2 * i), 0});
    ASSERT_TRUE(WriteVectorRecords(name, records.data(), records.size(), false));
  }
  static size_t Records(const std::string& name) {
    const int64_t bytes = plat::FileSizeBytes(name);
    return bytes > 0 ? size_t(bytes) / sizeof(TVectorRecord) : 0;
  }
  // The mouse rests in the drawing, away from every button.
  static std::string Rest() {
    return "move " + std::to_string((DrawingArea.x1 + DrawingArea.x2) / 2) + " " +
           std::to_string((DrawingArea.y1 + DrawingArea.y2) / 2) + "\n";
  }
};

TEST_F(InputWaitKeys, EachEditingKeyDoesWhatTheKeyMapSays) {
  struct TCase {
    const char* key;
    int16_t context;
    uint8_t menuBarMode;
    int store, clipboard;             // records before the key (the layer holds 3)
    size_t layerAfter, storeAfter, clipboardAfter;
  } const kCases[] = {
      {"ctrl+a", 0, 7, 0, 0, 0, 3, 0},  // the whole current layer is marked
      {"ctrl+a", 1, 7, 0, 0, 3, 0, 0},  // only in the main drawing window
      {"Esc", 0, 7, 2, 0, 5, 0, 0},     // the marking goes back into the layer
      {"Esc", 1, 7, 2, 0, 3, 2, 0},
      {"ctrl+c", 0, 7, 2, 0, 3, 2, 2},  // copy keeps the marking
      {"ctrl+x", 0, 7, 2, 0, 3, 0, 2},  // cut takes it away
      {"ctrl+v", 0, 7, 0, 4, 3, 4, 4},  // paste appends the clipboard to the store
      {"Del", 0, 7, 2, 0, 3, 0, 0},     // delete drops the marking
      {"Del", 0, 0, 2, 0, 3, 2, 0},     // not inside an interactive operation
      {"Del", 0, 5, 0, 0, 3, 0, 0},     // titles inactive: deleting an empty store
  };
  for (const TCase& c : kCases) {
    SCOPED_TRACE(std::string(c.key) + " context " + std::to_string(c.context) + " bar mode " +
                 std::to_string(c.menuBarMode));
    PutRecords(BuildLayerFileName(0), 3);
    LayerRecordCounts[0] = 3;
    ClearVectorStore();
    if (c.store > 0) {
      PutRecords(kVectorStoreName, c.store);
      StoreHoldsData = 1;
    }
    ClearClipboardFile();
    if (c.clipboard > 0) PutRecords(kClipboardFileName, c.clipboard);
    CommandSubMode = c.context;
    MenuBarMode = c.menuBarMode;
    EXPECT_EQ(Wait(Rest() + "key " + c.key + "\n"), 0) << "an editing key gives no command";
    EXPECT_EQ(Records(BuildLayerFileName(0)), c.layerAfter);
    EXPECT_EQ(Records(kVectorStoreName), c.storeAfter);
    EXPECT_EQ(StoreHoldsData != 0, c.storeAfter > 0);
    EXPECT_EQ(Records(kClipboardFileName), c.clipboardAfter);
  }
}

TEST_F(InputWaitKeys, DelInTextObjectModeGivesTheDeleteCommand) {
  CommandSubMode = 261;
  EXPECT_EQ(Wait(Rest() + "key Del\n"), 1356);
}

TEST_F(InputWaitKeys, CtrlSSavesUnderTheCurrentNameOnlyWithAMenuBar) {
  uint8_t name[256] = {};
  const std::string drawing = ".\\K.SLD";
  name[0] = uint8_t(drawing.size());
  std::memcpy(name + 1, drawing.data(), drawing.size());
  PutParamBlock(26, name, sizeof name);
  MenuBarMode = 0;
  Wait(Rest() + "key ctrl+s\n");
  EXPECT_TRUE(screen->ReadFile("K.SLD").empty()) << "no save inside an interactive operation";
  MenuBarMode = 7;
  Wait(Rest() + "key ctrl+s\n");
  EXPECT_GT(screen->ReadFile("K.SLD").size(), 379u) << "the drawing was saved without asking";
}

TEST_F(InputWaitKeys, TabRunsTheHandleTransformAndTheWaitGoesOn) {
  // The mouse rests on the bar right of the titles, where nothing happens.
  const std::string onBar = "move " + std::to_string(MenuBarTitles[24].startPixel + 4) + " 8\n";
  // (The space bar does the same; the script's named Space key types no
  // character, so only Tab is scripted here.)
  for (const char* key : {"Tab"}) {
    SCOPED_TRACE(key);
    Wait(onBar);  // the mouse is on the bar from the first pass on
    DisplayFlags = 0;
    MenuBarMode = 0;
    Wait(onBar + "key " + key + "\n");
    EXPECT_EQ(DisplayFlags & 16, 0) << "not inside an interactive operation";
    MenuBarMode = 7;
    DisplayFlags = 0;
    Wait(onBar + "key " + key + "\n");
    EXPECT_EQ(DisplayFlags & 16, 16) << "the transform ends in the marking mode";
    EXPECT_EQ(Wait(onBar + "key " + key + "\n" + Click(Centre(SaveIconButton), 38)), 3113)
        << "the wait continues after the transform";
    EXPECT_EQ(DisplayFlags & 16, 0) << "the saved command raised the marking button again";
    EXPECT_EQ(Journal().find("0643 : "), std::string::npos) << "the transform is not journalled";
  }
}

TEST_F(InputWaitKeys, ArrowKeysAreNoHotKeys) {
  // Up, Left, Right and Down carry the scan codes of H, K, M and P.
  ASSERT_EQ(SideMenuNumber, 2);
  SideItems[0].hotKey = 'H';
  SideItems[1].hotKey = 'K';
  SideItems[2].hotKey = 'M';
  SideItems[3].hotKey = 'P';
  for (const char* key : {"Up", "Left", "Right", "Down"}) EXPECT_EQ(Wait(Rest() + "key " + key + "\n"), 0) << key;
  EXPECT_EQ(Wait(Rest() + "key m\n"), 3113) << "the letter itself still clicks its item";
}

// --- the command cursor -----------------------------------------------------------

TEST_F(InputWait, TheCommandCursorComesBackAfterTheMenus) {
  SavedCursorMode = 1;
  CursorMode = 1;
  const int x = (DrawingArea.x1 + DrawingArea.x2) / 2, y = (DrawingArea.y1 + DrawingArea.y2) / 2;
  const std::string overMenus = "move " + std::to_string(SidePanelX1() + 30) + " " + std::to_string(SideItemTop(1) + 4) + "\n";
  CommandWord = 116;
  EXPECT_EQ(Wait(overMenus + "move " + std::to_string(x) + " " + std::to_string(y) + "\n" + Click(x, y)), 116);
  EXPECT_EQ(CursorMode, 1) << "the graphic window shows the command's cursor";
  EXPECT_EQ(Wait(overMenus + Click(Centre(SaveIconButton), 38)), 3113);
  EXPECT_EQ(CursorMode, 1) << "the end of the wait restores it as well";
  SavedCursorMode = 0;
}

// --- delayed hints ---------------------------------------------------------------------

// What the input hook saw during a wait: the hint drawn near (x, y), and
// the screen whole again once the mouse rested at (farX, farY).
struct THintWatch {
  const std::vector<uint32_t>* before;
  int x, y, farX, farY;
  int16_t topic;
  bool drawn, closedAtFar;
  TPopupFrame box;
};
THintWatch hintWatch{};

class InputWaitHints : public InputWait {
 protected:
  void SetUp() override {
    InputWait::SetUp();
    std::ofstream(screen->Dir() / kHelpTextFileName, std::ios::binary)
        << "#7907 Menueleiste\r\nDie Titel oeffnen die Seiten des Seitenmenues.\r\nZweite Zeile\r\n\r\n"
        << "#3113 Speichern\r\nSpeichert die Zeichnung.\r\n|\r\n";
    SetHintDelay(5);  // half a second
  }
  void TearDown() override {
    CloseHint();
    InputWait::TearDown();
  }
  void SetHintDelay(int tenths) {
    uint8_t block[103] = {};
    GetParamBlock(3, block, sizeof block);
    block[101] = uint8_t(tenths & 255);
    block[102] = uint8_t(tenths >> 8);
    PutParamBlock(3, block, sizeof block);
  }
  static std::string Move(int x, int y) { return "move " + std::to_string(x) + " " + std::to_string(y) + "\n"; }
  // Pixels of the hint's box that changed, left of the side panel (the
  // side items under it change their highlight on their own).
  static int ChangedInHintBox(const std::vector<uint32_t>& before, const TPopupFrame& box) {
    int changed = 0;
    const std::vector<uint32_t> now = TScreen::Pixels();
    const int w = int(plat::WindowFrameBuffer().width), h = int(now.size()) / w;
    const int right = std::min<int>(box.right, SidePanelX1() - 1);
    for (int py = std::max<int>(box.top, 0); py <= std::min<int>(box.bottom, h - 1); ++py)
      for (int px = std::max<int>(box.left, 0); px <= std::min(right, w - 1); ++px)
        changed += (before[size_t(py * w + px)] & 0xFFFFFF) != (now[size_t(py * w + px)] & 0xFFFFFF);
    return changed;
  }
};

TEST_F(InputWaitHints, TheTimerShowsOnlyTheSameItemAfterTheDelay) {
  MouseX = 300;
  MouseY = 100;
  ShowDelayedHint(kHintMenuBar, kMenuBarHintTopic);  // a new item starts the timer
  plat::AdvanceVirtualClock(400 * 1000);
  ShowDelayedHint(kHintMenuBar, kMenuBarHintTopic);
  EXPECT_EQ(HintTimer.shown, 0) << "400 ms are less than the delay";
  plat::AdvanceVirtualClock(200 * 1000);
  ShowDelayedHint(kHintMenuBar, kMenuBarHintTopic);
  EXPECT_EQ(HintTimer.shown, 1);
  EXPECT_GT(HintTimer.frame.lines, 0) << "the popup is open";
  ShowDelayedHint(kHintSideItem, 3113);
  EXPECT_EQ(HintTimer.shown, 0) << "another item closes it and starts again";
  EXPECT_EQ(HintTimer.frame.lines, 0);

  plat::AdvanceVirtualClock(600 * 1000);
  ShowDelayedHint(kHintSideItem, 4711);  // a topic the help file lacks
  plat::AdvanceVirtualClock(600 * 1000);
  ShowDelayedHint(kHintSideItem, 4711);
  EXPECT_EQ(HintTimer.frame.lines, 0) << "nothing is drawn for a missing topic";

  SetHintDelay(0);
  ShowDelayedHint(kHintMenuBar, kMenuBarHintTopic);
  plat::AdvanceVirtualClock(5000 * 1000);
  ShowDelayedHint(kHintMenuBar, kMenuBarHintTopic);
  EXPECT_EQ(HintTimer.shown, 0) << "a delay of 0 switches the hints off";
}

TEST_F(InputWaitHints, AHintOpensAfterTheDelayAndClosesWhenTheMouseLeavesTheMenus) {
  struct TCase {
    const char* where;
    int x, y;
    int16_t topic;
  } const kCases[] = {
      {"menu bar", MenuBarTitles[0].startPixel + 12, 8, kMenuBarHintTopic},
      {"side item 2 (Speichern)", SidePanelX1() + 40, SideItemTop(2) + 6, 3113},
  };
  ASSERT_LT(kCases[0].x, MenuBarTitles[24].startPixel);
  const int farX = (DrawingArea.x1 + DrawingArea.x2) / 2, farY = (DrawingArea.y1 + DrawingArea.y2) / 2;
  TInputHook hook;
  hook.poll = [](TInputHook&) {
    THintWatch& w = hintWatch;
    if (HintTimer.shown && HintTimer.hint == w.topic && HintTimer.frame.lines > 0 &&
        ChangedInHintBox(*w.before, HintTimer.frame) > 200) {
      w.drawn = true;
      w.box = HintTimer.frame;
    }
    if (w.drawn && MouseX == w.farX && MouseY == w.farY && !HintTimer.shown && ChangedInHintBox(*w.before, w.box) == 0)
      w.closedAtFar = true;
  };
  for (const TCase& c : kCases) {
    SCOPED_TRACE(c.where);
    Wait(Move(farX, farY));
    const std::vector<uint32_t> before = TScreen::Pixels();
    InputHook = &hook;
    hintWatch = THintWatch{&before, c.x, c.y, farX, farY, c.topic, false, false, {}};
    Wait(Move(c.x, c.y) + "wait 200\n" + Move(c.x, c.y) + Move(c.x, c.y + 1) + Move(farX, farY) + "wait 50\n" +
         Move(farX, farY));
    EXPECT_FALSE(hintWatch.drawn) << "no hint before the delay";

    hintWatch = THintWatch{&before, c.x, c.y, farX, farY, c.topic, false, false, {}};
    EXPECT_EQ(Wait(Move(c.x, c.y) + "wait 700\n" + Move(c.x, c.y) + Move(c.x, c.y + 1) + Move(farX, farY) +
                   "wait 50\n" + Move(farX, farY) + "wait 50\n" + Click(Centre(SaveIconButton), 38)),
              3113);
    InputHook = nullptr;
    EXPECT_TRUE(hintWatch.drawn) << "the hint box was drawn after the delay";
    EXPECT_TRUE(hintWatch.closedAtFar) << "the hint closed when the mouse left the menus, inside the wait";
  }
}

// --- the variant logo ------------------------------------------------------------------

// The logo strip, column by column (120 columns of 26 pixels).
std::vector<uint32_t> LogoColumns() {
  std::vector<uint32_t> columns;
  for (int x = VariantLogoX; x < VariantLogoX + 120; ++x)
    for (int y = 0; y < 26; ++y) columns.push_back(TScreen::PixelAt(x, y) & 0xFFFFFF);
  return columns;
}

// The phase p (1..119) by which the strip is the drawn one scrolled, 0 none.
int ScrollPhase(const std::vector<uint32_t>& drawn, const std::vector<uint32_t>& now) {
  for (int p = 1; p < 120; ++p) {
    bool same = true;
    for (int j = 0; j < 120 && same; ++j)
      for (int y = 0; y < 26 && same; ++y) same = now[size_t(j * 26 + y)] == drawn[size_t(((j + p) % 120) * 26 + y)];
    if (same) return p;
  }
  return 0;
}

std::string Put32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// An 8-bit BMP of w x h pixels whose columns run through the grey levels.
std::string ColumnStripeBmp(int w, int h) {
  const int row = (w + 3) / 4 * 4;
  std::string b = "BM" + Put32(uint32_t(1078 + row * h)) + Put32(0) + Put32(1078) + Put32(40) + Put32(uint32_t(w)) +
                  Put32(uint32_t(h));
  b += std::string("\x01\x00\x08\x00", 4) + Put32(0) + Put32(uint32_t(row * h)) + Put32(0) + Put32(0) + Put32(256) +
       Put32(0);
  for (int i = 0; i < 256; ++i) b += std::string{char(i), char(i), char(i), 0};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b += char((x * 37 + y) % 256);
    b += std::string(size_t(row - w), '\0');
  }
  return b;
}

TEST_F(InputWait, TheVariantLogoScrollsOnlyWhileTheAnimationSettingIsOn) {
  ASSERT_GT(VariantLogoX, 0) << "the short bar leaves room for the logo";
  const std::string keepFolder = ProgramFolderName;
  ProgramFolderName = plat::DosPathOf(screen->Dir().string()) + "\\";
  std::ofstream(screen->Dir() / "_TORV.BMP", std::ios::binary) << ColumnStripeBmp(104, 24);
  AnimationsOn = 0;
  DrawVariantLogo();
  const std::vector<uint32_t> drawn = LogoColumns();
  ASSERT_EQ(ScrollPhase(drawn, drawn), 0) << "a logo whose scroll could not be seen";
  // n passes 50 ms apart.
  const auto idle = [](int n) {
    std::string script;
    for (int i = 0; i < n; ++i) script += "wait 50\nmove " + std::to_string(300 + i % 2) + " 300\n";
    return script;
  };
  Wait(idle(3));
  EXPECT_EQ(LogoColumns(), drawn) << "the setting is off: the logo stands";

  AnimationsOn = 1;
  Wait(idle(3));
  const std::vector<uint32_t> first = LogoColumns();
  const int phase = ScrollPhase(drawn, first);
  EXPECT_GT(phase, 0) << "the logo scrolled cyclically";
  // Each wait starts the logo afresh; a longer wait scrolls it farther.
  Wait(idle(8));
  EXPECT_NE(LogoColumns(), first) << "the columns differ from those of the first wait";
  EXPECT_GT(ScrollPhase(drawn, LogoColumns()), phase);
  AnimationsOn = 0;
  ProgramFolderName = keepFolder;
}

TEST(InputWaitNames, FixedNamesMenuTextsAndSilentCodes) {
  std::string name;
  const struct {
    uint16_t code;
    const char* name;
  } kFixed[] = {{40, "MarkPos"},          {41, "markieren"},   {45, "markieren-SecMenu"},
                {1093, "CAD-Parameter"},  {1306, "Fr\x84serSpur"}, {7927, "SetAktLayer"},
                {9948, "Relief VTR:"}};
  for (const auto& f : kFixed) {
    EXPECT_TRUE(CommandJournalName(f.code, name));
    EXPECT_EQ(name, f.name) << f.code;
  }
  EXPECT_FALSE(CommandJournalName(0, name));
  EXPECT_FALSE(CommandJournalName(7926, name));
}

TEST(InputWaitNames, DragCommands) {
  for (uint16_t code : {44, 69, 93, 101, 105, 107, 114, 116, 121, 611, 613, 618, 633, 635, 651, 653, 1112})
    EXPECT_TRUE(IsDragCommand(code)) << code;
  for (uint16_t code : {0, 41, 92, 102, 108, 115, 122, 612, 619, 632, 636, 650, 654, 1111, 1113})
    EXPECT_FALSE(IsDragCommand(code)) << code;
}

}  // namespace
