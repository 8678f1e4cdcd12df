// Menu text file pages: the line layout and its decoding, reading pages from
// the file, page popups run by script, the search for a command's menu text,
// and the menu text file the build writes beside the program.
#include "commands/menu_pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>

#include "commands/command_names.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "app/program_start.h"
#include "platform/picture_codecs.h"
#include "platform/script.h"
#include "support/program_runner.h"
#include "ui/ui_screen.h"

namespace {

using uitest::TScreen;

TMenuLine LineOf(const std::string& text) {
  TMenuLine line;
  std::memset(line.text, ' ', sizeof line.text);
  std::memcpy(line.text, text.data(), std::min(text.size(), sizeof line.text));
  return line;
}

// One 42-byte file line: caption in columns 1-18, kind in 29, key in 36 and
// the number field (four characters) in 37-40.
std::string FileLine(const std::string& caption, const std::string& number, char key = ' ', char kind = ' ') {
  std::string text(40, ' ');
  text.replace(0, caption.size(), caption);
  text[28] = kind;
  text[35] = key;
  text.replace(36, 4, number);
  return text + "\r\n";
}

std::string BlankPage() {
  std::string page;
  for (int k = 0; k < kMenuPageLines; ++k) page += FileLine("", "    ");
  return page;
}

// A page with captions on lines 1-4 and 6 (line 5 empty) and numbers 101..106.
std::string GappedPage() {
  std::string page;
  for (int k = 1; k <= kMenuPageLines; ++k) {
    if (k <= 6 && k != 5)
      page += FileLine("Eintrag " + std::to_string(k), " " + std::to_string(100 + k), char('A' + k));
    else if (k == 5)
      page += FileLine("", " 105");
    else
      page += FileLine("", "    ");
  }
  return page;
}

// Writes TORV.TXT into the screen's program folder and opens it.
void UseMenuFile(const TScreen& screen, const std::string& bytes) {
  std::ofstream(screen.Dir() / "TORV.TXT", std::ios::binary) << bytes;
  OpenMenuTextFile();
}

TEST(MenuLines, NumberDecoding) {
  const struct {
    const char* field;
    int32_t number;
  } cases[] = {{"  20", 20}, {"20  ", 20}, {"0020", 20}, {"    ", 0}, {"12a4", 12},
               {"-5  ", -5}, {"+7  ", 7},  {"a123", 0},  {"9999", 9999}, {" 1 2", 1}};
  for (const auto& c : cases) {
    const TMenuLine line = LineOf(std::string(36, ' ') + c.field);
    EXPECT_EQ(DecodeMenuLineNumber(line), c.number) << '"' << c.field << '"';
  }
}

TEST(MenuLines, ColumnsOfALine) {
  const TMenuLine line = LineOf(FileLine("Kreis Mitte Radius", " 100", 'k', '2').substr(0, 40));
  EXPECT_EQ(MenuLineCaption(line), "Kreis Mitte Radius");
  EXPECT_EQ(MenuLineTitle(line), "Kreis Mitte Rad");
  EXPECT_EQ(MenuLineHotKey(line), 'K');
  EXPECT_EQ(MenuLineIconKind(line), '2');
  EXPECT_EQ(DecodeMenuLineNumber(line), 100);
  EXPECT_EQ(MenuLineCaption(LineOf("Datei   ")), "Datei");
}

TEST(MenuLines, OffsetsOfPagesAndLines) {
  EXPECT_EQ(kMenuPageSize, 1092);
  EXPECT_EQ(MenuLineOffset(3, 1), 3276);
  EXPECT_EQ(MenuLineOffset(3, 5), 3444);
  EXPECT_EQ(MenuLineOffset(3, 5) + 36, 3480) << "the number of line 5 of page 3 lies in bytes 3480-3483";
}

TEST(MenuFile, PagesAreReadAtTheirOffsetsAndShortLinesAreBlank) {
  TScreen screen;
  // Page 0 blank, page 1 gapped, then one full line and a cut one of page 2.
  const std::string bytes = BlankPage() + GappedPage() + FileLine("Voll", "  77") + FileLine("Halb", "  88").substr(0, 39);
  UseMenuFile(screen, bytes);
  TMenuPage page;
  ReadMenuPage(1, page);
  EXPECT_EQ(MenuLineCaption(page.lines[5]), "Eintrag 6");
  EXPECT_EQ(DecodeMenuLineNumber(page.lines[5]), 106);
  EXPECT_EQ(MenuLineHotKey(page.lines[0]), 'B');
  ReadMenuPage(2, page);
  EXPECT_EQ(DecodeMenuLineNumber(page.lines[0]), 77);
  EXPECT_EQ(std::string(page.lines[1].text, 40), std::string(40, ' ')) << "fewer than 40 characters left";
  TMenuLine line;
  ReadMenuLine(9, 1, line);
  EXPECT_EQ(std::string(line.text, 40), std::string(40, ' ')) << "a page beyond the end is blank";
  ReadMenuLine(-1, 1, line);
  EXPECT_EQ(std::string(line.text, 40), std::string(40, ' '));
  EXPECT_EQ(ErrorCode, 0);
  CloseMenuTextFile();
}

TEST(MenuFile, WithoutAnOpenFileEveryLineIsBlankAndNothingIsReported) {
  TScreen screen;
  CloseMenuTextFile();
  TMenuLine line;
  ReadMenuLine(0, 1, line);
  EXPECT_EQ(std::string(line.text, 40), std::string(40, ' '));
  std::string text = "stale";
  FindMenuTextOfCommand(20, text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(ErrorCode, 0);
}

TEST(PagePopups, ResetDiffersFromThePlainListInStatesAndStyle) {
  TPopupList list;
  list.captions[2] = "x";
  list.dragFlags = 0;
  InitMenuPagePopupList(list);
  for (uint8_t state : list.states) EXPECT_EQ(state, 129);
  EXPECT_EQ(list.panelStyle, 5);
  EXPECT_EQ(list.dragFlags, 1);
  EXPECT_EQ(list.result, -1);
  EXPECT_TRUE(list.captions[2].empty());
  EXPECT_EQ(list.x, 0);
  EXPECT_TRUE(list.title.empty());
}

TEST(PagePopups, GapsBeforeTheLastCaptionBecomeSeparators) {
  TPopupList list;
  InitMenuPagePopupList(list);
  for (int k : {1, 2, 3, 4, 6}) list.captions[k - 1] = "Eintrag";
  MarkPopupSeparators(list);
  EXPECT_EQ(list.captions[4], "\x01");
  for (int k = 7; k <= kPopupEntries; ++k) EXPECT_TRUE(list.captions[k - 1].empty()) << k;
  // A lone first caption: nothing to separate; the same for an empty page.
  TPopupList single;
  InitMenuPagePopupList(single);
  single.captions[0] = "Eintrag";
  MarkPopupSeparators(single);
  for (int k = 2; k <= kPopupEntries; ++k) EXPECT_TRUE(single.captions[k - 1].empty()) << k;
  // A gap at the start also becomes a separator.
  TPopupList gapFirst;
  InitMenuPagePopupList(gapFirst);
  gapFirst.captions[1] = "Eintrag";
  MarkPopupSeparators(gapFirst);
  EXPECT_EQ(gapFirst.captions[0], "\x01");
}

// Runs the popup of page 1 of the gapped file at x = 200 with a script.
struct TPopupRun {
  TCommandCode word = 0;
  uint8_t given = 0;
  bool screenKept = false;
};
TPopupRun RunGappedPopup(const std::string& script, int32_t page = 1) {
  TScreen screen(script);
  plat::ResetScript();
  UseMenuFile(screen, BlankPage() + GappedPage());
  const auto before = TScreen::Pixels();
  CommandWord = 4711;
  CommandGiven = 0;
  RunMenuPagePopup(200, page);
  TPopupRun run;
  run.word = CommandWord;
  run.given = CommandGiven;
  run.screenKept = TScreen::Pixels() == before;
  CloseMenuTextFile();
  return run;
}

// The entry boxes of the page's popup: entry k from y = 16 + 4 + (k - 1) x 17.
std::string ClickLine(int k) { return "click 230 " + std::to_string(16 + 4 + (k - 1) * 17 + 8) + "\n"; }

TEST(PagePopups, AChosenLineGivesItsNumber) {
  const TPopupRun run = RunGappedPopup(ClickLine(6));
  EXPECT_EQ(run.word, 106);
  EXPECT_EQ(run.given, 1);
  EXPECT_TRUE(run.screenKept);
  EXPECT_EQ(RunGappedPopup(ClickLine(2)).word, 102);
}

TEST(PagePopups, CancellingGivesNoCommand) {
  const TPopupRun run = RunGappedPopup("key Esc\n");
  EXPECT_EQ(run.word, 0);
  EXPECT_EQ(run.given, 0) << "a cancel leaves CommandGiven alone";
  EXPECT_TRUE(run.screenKept);
}

TEST(PagePopups, ANegativePageShowsNothing) {
  TScreen screen;
  const std::string shot = (screen.Dir() / "negative.png").string();
  screen.UseScript("shot " + shot + "\nkey Esc\n");
  UseMenuFile(screen, BlankPage() + GappedPage());
  CommandWord = 4711;
  CommandGiven = 0;
  RunMenuPagePopup(200, -1);
  EXPECT_EQ(CommandWord, 0);
  EXPECT_EQ(CommandGiven, 0);
  EXPECT_FALSE(std::filesystem::exists(shot)) << "no popup waited for input";
  CloseMenuTextFile();
}

TEST(PagePopups, EntriesCarryTheCommandPictures) {
  TScreen screen;
  FreeMenuTables();
  // Line 1 opens (3011, "OEFFNEN"), line 2 copies (68, stored -68, "KOPIEREN").
  std::string page = FileLine("Öffnen", "3011") + FileLine("Kopieren", "  68");
  for (int k = 3; k <= kMenuPageLines; ++k) page += FileLine("", "    ");
  const std::string shot = (screen.Dir() / "popup.png").string();
  screen.UseScript("shot " + shot + "\nclick 230 " + std::to_string(16 + 4 + 17 + 8) + "\n");
  UseMenuFile(screen, page);
  RunMenuPagePopup(200, 0);
  EXPECT_EQ(CommandWord, 68) << "the command word takes the number as the file gives it";
  EXPECT_EQ(CommandGiven, 1);
  const torvtest::TPicture picture = torvtest::ReadPng(shot);
  ASSERT_TRUE(picture.error.empty()) << picture.error;
  plat::TPixelBlock icon;
  ASSERT_TRUE(plat::LoadResourcePicture("KOPIEREN", icon));
  // Somewhere in the second entry's row the icon's pixels stand as drawn.
  const int rowTop = 16 + 4 + 17;
  bool found = false;
  for (int y = rowTop - 1; y <= rowTop + 2 && !found; ++y)
    for (int x = 200; x < 260 && !found; ++x) {
      bool same = true;
      for (int dy = 0; dy < 16 && same; ++dy)
        for (int dx = 0; dx < 16 && same; ++dx)
          same = picture.At(x + dx, y + dy) == (icon.pixels[size_t(dy) * 16 + size_t(dx)] & 0xFFFFFFu);
      found = same;
    }
  EXPECT_TRUE(found) << "the KOPIEREN picture is drawn in the second entry";
  CloseMenuTextFile();
  FreeMenuTables();
}

TEST(MenuTexts, TheFirstLineWithTheNumberInFileOrder) {
  TScreen screen;
  std::string pageA = FileLine("Erster Treffer", "  55") + FileLine("Leere Nummer", "    ");
  std::string pageB = FileLine("Zweiter Treffer", "  55");
  for (int k = 3; k <= kMenuPageLines; ++k) pageA += FileLine("", "  12");
  for (int k = 2; k < kMenuPageLines; ++k) pageB += FileLine("", "  12");
  // The very last line of the file, without a line end.
  pageB += FileLine("Letzte Zeile", "  66").substr(0, 40);
  UseMenuFile(screen, pageA + pageB);
  std::string text;
  FindMenuTextOfCommand(55, text);
  EXPECT_EQ(text, "Erster Treffer     ") << "19 columns, blanks kept";
  FindMenuTextOfCommand(0, text);
  EXPECT_EQ(text, "Leere Nummer       ");
  FindMenuTextOfCommand(66, text);
  EXPECT_EQ(text, "Letzte Zeile       ");
  FindMenuTextOfCommand(4242, text);
  EXPECT_EQ(text, "");
  CloseMenuTextFile();
}

// --- the menu text file beside the program ----------------------------------------

class BuiltMenuFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(TORV_BINARY_DIR) / "TORV.TXT", screen_.Dir() / "TORV.TXT", ec);
    ASSERT_FALSE(ec) << "TORV.TXT is built beside the program";
    OpenMenuTextFile();
    FreeMenuTables();
    EnsureMenuTables();
    pages_ = int32_t(std::filesystem::file_size(screen_.Dir() / "TORV.TXT") / kMenuPageSize);
  }
  void TearDown() override {
    CloseMenuTextFile();
    FreeMenuTables();
  }
  bool PageHasCaptions(int32_t n) {
    TMenuPage page;
    ReadMenuPage(n, page);
    for (const TMenuLine& line : page.lines)
      if (!MenuLineCaption(line).empty()) return true;
    return false;
  }
  TScreen screen_;
  int32_t pages_ = 0;
};

TEST_F(BuiltMenuFile, IsWholePagesOfFixedLines) {
  const auto size = std::filesystem::file_size(screen_.Dir() / "TORV.TXT");
  EXPECT_EQ(size % kMenuPageSize, 0u);
  std::ifstream in(screen_.Dir() / "TORV.TXT", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  for (size_t at = 0; at + kMenuLineSize <= bytes.size(); at += kMenuLineSize)
    ASSERT_EQ(bytes.substr(at + 40, 2), "\r\n") << "line at byte " << at;
}

TEST_F(BuiltMenuFile, HoldsEveryPageTheMenusOpen) {
  for (int32_t n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 23, 24, 43, 44, 45, 46, 47, 48, 49, 50})
    EXPECT_TRUE(PageHasCaptions(n)) << "page " << n;
}

TEST_F(BuiltMenuFile, MenuBarTitlesOpenPagesThatExist) {
  for (int32_t bar : {0, 44}) {
    TMenuPage page;
    ReadMenuPage(bar, page);
    std::string barText;
    for (int k = 1; k <= 25; ++k) {
      const TMenuLine& line = page.lines[k - 1];
      const std::string title = MenuLineTitle(line);
      if (title.empty()) continue;
      barText += title + "  ";
      const int32_t code = DecodeMenuLineNumber(line);
      ASSERT_GE(code, 9901) << "title " << title << " of page " << bar;
      EXPECT_TRUE(PageHasCaptions(code - 9900)) << "title " << title << " opens an empty page";
      EXPECT_NE(MenuLineHotKey(line), ' ') << title;
    }
    EXPECT_LE(barText.size(), 112u) << "the bar text holds at most 110 characters";
  }
}

TEST_F(BuiltMenuFile, EveryCommandOfAMenuPageHasANameAndAPicture) {
  std::vector<uint8_t> resources;
  ASSERT_TRUE(plat::ReadFileBytes(std::string(TORV_BINARY_DIR) + "/" + plat::kResourceFileName, resources));
  int commands = 0;
  for (int32_t n = 0; n < pages_; ++n) {
    if (n == 0 || n == 44) continue;  // menu-bar pages name pages, not commands
    TMenuPage page;
    ReadMenuPage(n, page);
    for (int k = 1; k <= kMenuPageLines; ++k) {
      const int32_t number = DecodeMenuLineNumber(page.lines[k - 1]);
      if (number == 0) continue;
      ++commands;
      int16_t code = int16_t(number);
      std::string name;
      LookupCommandName(code, name);
      ASSERT_FALSE(name.empty()) << "page " << n << " line " << k << ": command " << number << " has no name";
      size_t begin = 0, end = 0;
      EXPECT_TRUE(plat::FindTablePicture(resources, name, begin, end)) << name;
    }
  }
  EXPECT_GT(commands, 100);
}

TEST_F(BuiltMenuFile, TheCommandsTheProgramRunsTodayAreOnAPage) {
  for (uint16_t code : {9999, 1091}) {
    std::string text;
    FindMenuTextOfCommand(code, text);
    EXPECT_FALSE(text.empty()) << "command " << code;
  }
}

}  // namespace
