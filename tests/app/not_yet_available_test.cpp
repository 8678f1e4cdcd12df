// Commands whose subsystem is not built yet: every command code the menus
// offer either reaches real code or shows the one "not yet available" box
// (message 4110) with its menu text as title and changes nothing; the
// modules that leave the main screen come back to a whole one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/dispatcher.h"
#include "commands/icon_panel.h"
#include "commands/input_wait.h"
#include "commands/menu_pages.h"
#include "commands/side_menu.h"
#include "frame/codepage.h"
#include "frame/messages.h"
#include "frame/not_yet_available.h"
#include "frame/program_state.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "support/app_hooks.h"
#include "support/param_image.h"
#include "support/program_runner.h"
#include "support/record_bytes.h"
#include "tests/ui/ui_screen.h"
#include "ui/graphic_controls.h"

namespace {

namespace fs = std::filesystem;
using torvtest::Rec;
using torvtest::Records;
using uitest::TScreen;

// The codes the menus and the icon bar offer that reach no built code yet. A
// code leaves the list when its subsystem lands (the walk fails while it
// stays listed).
// What the entry around the missing command still does:
enum TAround : uint8_t {
  kNothing,         // the screen and every file stay as they were
  kRedraws,         // the screen is drawn again (mark-mode button, the main
                    // screen after a module window); files stay
  kMergesSelection  // the selection goes back into the layer first (the
                    // drawing stays, the selection does not)
};
struct TNotBuilt {
  uint16_t code;
  TAround around;
};
const TNotBuilt kNotBuilt[] = {
    {30, kNothing}, {31, kNothing}, {32, kNothing}, {34, kNothing}, {36, kNothing}, {37, kNothing}, {41, kNothing},
    {51, kNothing}, {52, kNothing}, {53, kNothing}, {54, kNothing}, {55, kNothing}, {57, kNothing}, {61, kNothing},
    {62, kNothing}, {63, kNothing}, {66, kNothing}, {67, kNothing}, {68, kNothing}, {70, kNothing}, {71, kNothing},
    {73, kNothing}, {75, kNothing}, {76, kNothing}, {78, kNothing}, {81, kNothing}, {82, kNothing}, {83, kNothing},
    {84, kNothing}, {96, kNothing}, {97, kNothing}, {98, kNothing}, {99, kNothing}, {100, kNothing},
    {101, kNothing}, {118, kNothing}, {119, kNothing}, {120, kNothing}, {121, kNothing}, {132, kNothing},
    {133, kNothing}, {134, kNothing}, {600, kNothing}, {601, kNothing}, {606, kNothing}, {607, kNothing},
    {611, kNothing}, {612, kNothing}, {613, kNothing}, {614, kNothing}, {615, kNothing}, {616, kNothing},
    {617, kNothing}, {618, kNothing}, {619, kNothing}, {620, kNothing}, {621, kNothing}, {623, kNothing},
    {625, kNothing}, {626, kNothing}, {628, kNothing}, {629, kNothing}, {630, kNothing}, {631, kNothing},
    {633, kNothing}, {634, kNothing}, {635, kNothing}, {637, kNothing}, {638, kNothing}, {639, kNothing},
    {641, kNothing}, {642, kNothing}, {645, kNothing}, {649, kNothing}, {660, kNothing}, {698, kNothing},
    {699, kNothing}, {700, kNothing}, {707, kNothing}, {801, kNothing}, {853, kNothing}, {854, kNothing},
    {855, kNothing}, {856, kNothing}, {858, kNothing}, {946, kNothing}, {1003, kMergesSelection}, {1092, kRedraws},
    {1094, kNothing}, {1109, kNothing}, {1110, kNothing}, {1112, kNothing}, {1113, kRedraws}, {1306, kNothing},
    {1318, kNothing}, {1383, kNothing}, {3095, kNothing}, {3096, kNothing}, {3098, kNothing}, {3186, kNothing},
    {3189, kNothing}, {3190, kNothing}, {3192, kNothing}, {3194, kNothing}, {3195, kNothing}, {3196, kNothing},
    {3197, kNothing}, {3198, kNothing}, {3199, kNothing}, {3232, kNothing}, {6001, kNothing}, {7926, kRedraws},
    {7937, kNothing}, {7940, kNothing}, {8795, kRedraws}, {8801, kNothing}, {8802, kNothing}, {8804, kNothing},
    {8916, kNothing}, {8917, kNothing}, {9911, kNothing}, {9912, kNothing}, {9915, kRedraws}, {9917, kRedraws},
    {9920, kNothing}, {9923, kRedraws}, {9925, kNothing}, {9929, kNothing}, {9944, kNothing},
};

const TNotBuilt* FindNotBuilt(uint16_t code) {
  for (const TNotBuilt& n : kNotBuilt)
    if (n.code == code) return &n;
  return nullptr;
}

const char kBoxText[] = "Diese Funktion ist noch nicht verf\xC3\xBC" "gbar";

// The transcript lines of boxes with the text.
std::vector<std::string> BoxLines(const std::string& transcript) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < transcript.size()) {
    size_t end = transcript.find('\n', start);
    if (end == std::string::npos) end = transcript.size();
    const std::string line = transcript.substr(start, end - start);
    if (line.rfind("msgbox|", 0) == 0 && line.find(kBoxText) != std::string::npos) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

const std::string kSquare = Records({Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0)});
const std::string kLine = Records({Rec(11, 20, 20), Rec(10, 30, 25)});

// A headless screen with the program's message and menu files, layer 0
// current holding a square and a line in the selection.
class NotYetAvailable : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code ec;
    fs::copy_file(fs::path(TORV_BINARY_DIR) / kMenuTextFileName, screen_.Dir() / kMenuTextFileName, ec);
    OpenMenuTextFile();
    // As after the start: texts reach the system in the Windows code page.
    keptConversion_ = CodePageConversion;
    CodePageConversion = 1;
    paramImage_.Install();
    HighestLayer = 3;
    CurrentLayer = 0;
    for (uint8_t& v : LayerVisible) v = 1;
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
  }
  void TearDown() override {
    CloseMenuTextFile();
    CodePageConversion = keptConversion_;
    StoreHoldsData = 0;
    paramImage_.Restore();
  }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(screen_.Dir() / name, std::ios::binary) << bytes;
  }
  std::string File(const std::string& name) { return screen_.ReadFile(name); }
  void PrepareFiles() {
    for (int n = 0; n <= HighestLayer; ++n) Put(BuildLayerBareName(n), "");
    Put("Layer0.TMP", kSquare);
    Put(kVectorStoreName, kLine);
    Put(kScratchStoreName, "");
    StoreHoldsData = 1;
    RecountAllLayerRecords();
  }
  // Dispatches the code as the main loop does; dialogs a built command opens
  // are ended with Esc.
  void Run(uint16_t code) {
    std::string script;
    for (int i = 0; i < 40; ++i) script += "key Esc\n";
    uitest::Script(screen_, script);
    MouseButtonState = 0;
    CommandWord = code;
    DispatchMainCommand(kBuildVariantCode);
  }

  TScreen screen_;
  torvtest::TZeroedParamImage paramImage_;
  uint8_t keptConversion_ = 0;
};

// Every command number of the pages the menu-bar titles open (dropdowns,
// side menus and page popups show these pages), of the icon panel groups of
// those side menus and of the graphic icon bar, as the program reads them.
std::vector<uint16_t> MenuCodes() {
  std::set<uint16_t> codes;
  TMenuPage bar;
  ReadMenuPage(0, bar);
  MenuBarMode = uint8_t(MenuBarMode | 4);
  AllocateIconPanelItems();
  for (const TMenuLine& title : bar.lines) {
    const int32_t opens = DecodeMenuLineNumber(title);
    if (opens < 9900) continue;
    TMenuPage page;
    ReadMenuPage(opens - 9900, page);
    for (const TMenuLine& line : page.lines) {
      const int32_t code = DecodeMenuLineNumber(line);
      if (code > 0 && code < 0x10000) codes.insert(uint16_t(code));
    }
    FillIconPanelForMenu(int16_t(opens - 9900));
    // Items 1-6 are the group tabs.
    for (int i = 7; i <= kIconPanelItems; ++i) {
      const int code = std::abs(int(IconPanelItems[i - 1].code));
      if (code > 0) codes.insert(uint16_t(code));
    }
  }
  FreeIconPanelItems();
  // The graphic icon bar of the main window, as a user finds it: every
  // pixel of its row and of the layer icon's row clicked with the left and
  // the middle button.
  const uint8_t keptBarMode = IconBarMode;
  IconBarMode = 1;
  DrawGraphicIconBar();
  for (int x = 0; x <= MaxX; ++x) {
    for (int y : {12, 38}) {
      for (uint8_t buttons : {uint8_t(2), uint8_t(1)}) {
        CommandWord = 0;
        CommandGiven = 0;
        const TBarClick click = ClickGraphicControls(x, y, buttons);
        if (click.given && CommandWord != 0) codes.insert(CommandWord);
      }
    }
  }
  IconBarMode = keptBarMode;
  CommandWord = 0;
  CommandGiven = 0;
  CursorMode = 4;
  return {codes.begin(), codes.end()};
}

TEST_F(NotYetAvailable, BoxShowsMessage4110WithTheMenuTextAsTitle) {
  CommandTitleHook = [](uint16_t code) { return code == 4242 ? std::string("Probe") : std::string(); };
  uitest::Script(screen_, "key Enter\n");
  const auto before = TScreen::Pixels();
  CommandWord = 4242;
  ShowNotYetAvailable();
  EXPECT_EQ(BoxLines(screen_.ReadFile("transcript.txt")), std::vector<std::string>{std::string("msgbox|Probe|") + kBoxText + "|OK"});
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the box comes back";
  EXPECT_EQ(CommandWord, 4242);
}

TEST_F(NotYetAvailable, TheProgramTitlesTheBoxWithTheMenuText) {
  InstallCommandHooks();
  PrepareFiles();
  Run(3192);  // "Projekt neu"
  const std::vector<std::string> boxes = BoxLines(screen_.ReadFile("transcript.txt"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("msgbox|Projekt neu|", 0), 0u) << boxes[0];
}

TEST_F(NotYetAvailable, ACodeWithoutAnEntryShowsTheBoxAndZeroStaysQuiet) {
  PrepareFiles();
  for (uint16_t code : {2, 42, 5000}) {
    const size_t before = BoxLines(File("transcript.txt")).size();
    Run(code);
    EXPECT_EQ(BoxLines(File("transcript.txt")).size(), before + 1) << code;
    EXPECT_EQ(File("Layer0.TMP"), kSquare) << code;
    EXPECT_EQ(File(kVectorStoreName), kLine) << code;
  }
  const size_t before = BoxLines(File("transcript.txt")).size();
  Run(0);
  EXPECT_EQ(BoxLines(File("transcript.txt")).size(), before) << "no command, no box";
}

// In the menu file code 9911 is both the "Module" title of the menu bar
// (the page it opens) and the font editor on that page; the journal names
// the command after the font editor's line, not the title.
TEST_F(NotYetAvailable, TheFontEditorHasAJournalNameOfItsOwn) {
  constexpr uint16_t kCode = 9911;
  std::string title, editor;
  TMenuPage page;
  ReadMenuPage(0, page);
  for (const TMenuLine& line : page.lines)
    if (DecodeMenuLineNumber(line) == kCode) title = MenuLineTitle(line);
  ReadMenuPage(kCode - 9900, page);
  for (const TMenuLine& line : page.lines)
    if (DecodeMenuLineNumber(line) == kCode) editor = MenuLineCaption(line);
  ASSERT_EQ(title, "Module");
  ASSERT_EQ(editor, "Schrift-Editor");
  std::string name;
  EXPECT_TRUE(CommandJournalName(kCode, name));
  EXPECT_EQ(name, editor);
}

// The walk: each code of the menus dispatched on the same files.
TEST_F(NotYetAvailable, EveryMenuCodeReachesRealCodeOrSaysItIsNotYetAvailable) {
  const std::vector<uint16_t> codes = MenuCodes();
  ASSERT_GT(codes.size(), 100u) << "the menu pages were read";
  for (const TNotBuilt& n : kNotBuilt) {
    EXPECT_TRUE(std::find(codes.begin(), codes.end(), n.code) != codes.end()) << n.code << " is offered by no menu";
  }
  for (uint16_t code : codes) {
    if (code == kQuitCommand) continue;  // the quit question has its own tests
    PrepareFiles();
    const size_t boxesBefore = BoxLines(File("transcript.txt")).size();
    const auto screenBefore = TScreen::Pixels();
    Run(code);
    const int boxes = int(BoxLines(File("transcript.txt")).size() - boxesBefore);
    const TNotBuilt* notBuilt = FindNotBuilt(code);
    if (notBuilt == nullptr) {
      EXPECT_EQ(boxes, 0) << code << " reaches real code";
      continue;
    }
    EXPECT_EQ(boxes, 1) << code << " shows the box once";
    if (notBuilt->around == kMergesSelection) {
      EXPECT_EQ(File("Layer0.TMP") + File(kVectorStoreName), kSquare + kLine) << code;
    } else {
      EXPECT_EQ(File("Layer0.TMP"), kSquare) << code;
      EXPECT_EQ(File(kVectorStoreName), kLine) << code;
      EXPECT_EQ(StoreHoldsData, 1) << code;
    }
    EXPECT_EQ(File(kScratchStoreName), "") << code;
    if (notBuilt->around == kNothing) {
      EXPECT_TRUE(TScreen::Pixels() == screenBefore) << code << ": the screen under the box comes back";
    }
  }
}

// --- the modules that leave the main screen ----------------------------------------------

// Module -> Relief, Reliefassistent and Scanner in the real program: each
// says it is not yet available and the main screen comes back whole: menu
// bar, rulers and drawing as after the start, the side menu of "Module" as
// before the command.
TEST(NotYetAvailableModules, TheMainScreenComesBackWhole) {
  torvtest::TempFolder home;
  torvtest::CopyShippedFiles(home.Path());
  auto shot = [&](const std::string& name) { return "shot " + (home.Path() / name).string() + "\n"; };
  // The "Module" title opens its page as a dropdown (Esc closes it) and as
  // the side menu.
  const std::string openModules = "click 415 8\n";
  std::string script = torvtest::StartScript() + "wait 10\n" + shot("start.png");
  script += openModules + "key Esc\nwait 10\n" + shot("modules.png");
  const struct {
    const char* title;
    int y;  // of the dropdown line
  } kModules[] = {{"Relief", 34}, {"Reliefassistent", 51}, {"Scanner", 85}};
  for (const auto& m : kModules) {
    script += openModules + "click 436 " + std::to_string(m.y) + "\nkey Enter\nwait 10\n" + shot(std::string(m.title) + ".png");
  }
  const torvtest::TRunResult run = torvtest::RunHeadless(home, script);
  ASSERT_TRUE(run.finished);
  const std::string transcript = torvtest::ReadFile(home.Path() / "transcript.txt");
  const torvtest::TPicture start = torvtest::ReadPng(home.Path() / "start.png");
  const torvtest::TPicture modules = torvtest::ReadPng(home.Path() / "modules.png");
  ASSERT_EQ(start.error, "");
  ASSERT_EQ(modules.error, "");
  for (const auto& m : kModules) {
    EXPECT_NE(transcript.find(std::string("msgbox|") + m.title + "|" + kBoxText + "|OK"), std::string::npos)
        << m.title << "\n" << transcript;
    const torvtest::TPicture after = torvtest::ReadPng(home.Path() / (std::string(m.title) + ".png"));
    ASSERT_EQ(after.error, "") << m.title;
    EXPECT_EQ(torvtest::CountChanged(after, start, 0, 0, 440, 16), 0) << m.title << ": menu bar";
    EXPECT_EQ(torvtest::CountChanged(after, start, 36, 52, 854, 66), 0) << m.title << ": top ruler";
    EXPECT_EQ(torvtest::CountChanged(after, start, 22, 67, 36, 767), 0) << m.title << ": left ruler";
    EXPECT_EQ(torvtest::CountChanged(after, start, 37, 67, 854, 767), 0) << m.title << ": drawing area";
    EXPECT_EQ(torvtest::CountChanged(after, modules, 856, 72, 1023, 212), 0) << m.title << ": side menu";
  }
}

// A left click in the drawing arrives as the marking command after every
// other one: it stays quiet, while the same command chosen from the
// "Markieren" dropdown says it is not yet available.
TEST(NotYetAvailableModules, ClicksInTheDrawingStayQuietTheMenuEntryAnswers) {
  torvtest::TempFolder home;
  std::string script = torvtest::StartScript() + "wait 10\n";
  script += "click 400 400\nwait 10\nclick 500 300\nwait 10\n";
  script += "click 62 8\nwait 10\nclick 80 34\nkey Enter\nwait 10\n";  // "Markieren" -> "Markieren"
  const torvtest::TRunResult run = torvtest::RunHeadless(home, script);
  ASSERT_TRUE(run.finished);
  const std::vector<std::string> boxes = BoxLines(torvtest::ReadFile(home.Path() / "transcript.txt"));
  EXPECT_EQ(boxes, std::vector<std::string>{std::string("msgbox|Markieren|") + kBoxText + "|OK"});
}

}  // namespace
