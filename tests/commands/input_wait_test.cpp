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
#include "commands/graphic_controls.h"
#include "commands/icon_panel.h"
#include "commands/menu_bar.h"
#include "commands/side_menu.h"
#include "commands/state_icons.h"
#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_start.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"

namespace {

using uitest::TScreen;

struct TMenuSpec {
  int page;
  int line;  // 1..26
  const char* caption;
  char kind;
  char hotKey;
  int number;
};

// Writes "TORV.TXT" of fixed 42-byte lines holding the given lines, blanks
// elsewhere.
void WriteMenuFile(const TScreen& screen, const std::vector<TMenuSpec>& specs) {
  int lastPage = 0;
  for (const TMenuSpec& s : specs) lastPage = std::max(lastPage, s.page);
  std::string file(size_t(lastPage + 1) * 1092, ' ');
  for (size_t i = 40; i < file.size(); i += 42) {
    file[i] = '\r';
    file[i + 1] = '\n';
  }
  for (const TMenuSpec& s : specs) {
    const size_t at = size_t(s.page) * 1092 + size_t(s.line - 1) * 42;
    const std::string caption(s.caption);
    file.replace(at, caption.size(), caption);
    file[at + 28] = s.kind;
    file[at + 35] = s.hotKey;
    char number[8];
    std::snprintf(number, sizeof number, "%4d", s.number);
    file.replace(at + 36, 4, number);
  }
  std::ofstream(screen.Dir() / "TORV.TXT", std::ios::binary) << file;
}

const std::vector<TMenuSpec> kMenu = {
    {0, 1, "Datei", ' ', 'D', 9902},      {0, 2, "Markieren", ' ', 'M', 9903},
    {2, 1, "Neue Zeichnung", ' ', 'N', 38}, {2, 2, "Oeffnen", ' ', 'F', 3011},
    {2, 3, "Speichern", ' ', 'S', 3113},  {2, 4, "Speichern unter", ' ', 'U', 3114},
    {3, 1, "Markieren", ' ', 'M', 41},    {3, 2, "Kopieren", ' ', 'K', 68},
};

class InputWait : public testing::Test {
 protected:
  void SetUp() override {
    keepImage = ParamImage;
    image = std::make_unique<TParameterImage>();
    std::memset(image.get(), 0, sizeof(TParameterImage));
    ParamImage = image.get();
    screen = std::make_unique<TScreen>();
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
    CloseMenuTextFile();
    FreeMenuTables();
    screen.reset();
    ParamImage = keepImage;
    StoreHoldsData = 0;
    CommandWord = 0;
    CommandGiven = 0;
    DisplayFlags = 0;
    ClickTracking = 0;
    CommandSubMode = 0;
    CursorMode = 4;
    MenuBarMode = 7;
    LeaveWaitFlag = 0;
  }

  // Runs one wait over the script; the script's end closes the window,
  // which ends a wait that got no command.
  uint16_t Wait(const std::string& script) {
    CloseRequested = false;
    MouseButtonState = 0;
    screen->UseScript(script);
    WaitForMenuCommand();
    return CommandWord;
  }
  static int Centre(const TButtonRect& b) { return (b.x1 + b.x2) / 2; }
  static std::string Click(int x, int y, const char* button = "left") {
    return "click " + std::to_string(x) + " " + std::to_string(y) + " " + button + "\n";
  }
  std::string Journal() const { return screen->ReadFile(kJournalFileName); }

  TParameterImage* keepImage = nullptr;
  std::unique_ptr<TParameterImage> image;
  std::unique_ptr<TScreen> screen;
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

TEST_F(InputWait, F9ShowsTheHelpOfTheNextCommandInsteadOfRunningIt) {
  const std::string script =
      "key F9\n" + Click(Centre(UndoIconButton), 38) + Click(Centre(SaveIconButton), 38);
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
