// Message lookup, message boxes, text helpers, language and menu sets, the
// system class digits, and the build-time message file tool.
#include "frame/messages.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/window.h"
#include "support/host_files.h"
#include "support/program_folder.h"

namespace fs = std::filesystem;

namespace {

using torvtest::ReadHostFile;
using torvtest::WriteHostFile;

// A message file image: record n at n * 42, 40 characters padded, CR LF.
std::string MessageFileImage(const std::map<int, std::string>& texts) {
  int count = texts.empty() ? 0 : texts.rbegin()->first + 1;
  std::string image;
  for (int n = 0; n < count; ++n) {
    std::string record = texts.count(n) ? texts.at(n) : "";
    record.resize(40, ' ');
    image += record + "\r\n";
  }
  return image;
}

// Each test runs in a fresh program folder (TORV_HOME and the current
// folder) with an empty journal, headless, with a transcript.
class MessagesTest : public torvtest::ProgramFolderTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(torvtest::ProgramFolderTest::SetUp());
    plat::IoResult();
    ErrorCode = 0;
    VariantNumber = 12;
    UseScript("");
  }
  void TearDown() override {
    CloseMessageFile();
    CloseMenuTextFile();
    torvtest::ProgramFolderTest::TearDown();
    ChoicePopupHook = nullptr;
    WindowTitleHook = nullptr;
    HelpTopicHook = nullptr;
    VariantNumber = 0;
    ErrorCode = 0;
  }
  void InstallMessages(const std::map<int, std::string>& texts) {
    WriteHostFile(dir / "TORV.TX0", MessageFileImage(texts));
    OpenMessageFile();
    ASSERT_EQ(ErrorCode, 0);
  }
};

// --- lookup ---------------------------------------------------------------------------------

TEST_F(MessagesTest, NegativeLengthTrimsTheBlanksAndPositiveLengthKeepsThem) {
  InstallMessages({{3, "Datei fehlt"}, {7, "  Mit Einzug  "}});
  EXPECT_EQ(GetMessageText(3, -39), "Datei fehlt");
  std::string kept = GetMessageText(3, 39);
  EXPECT_EQ(kept.size(), 39u);
  EXPECT_EQ(kept, "Datei fehlt" + std::string(28, ' '));
  EXPECT_EQ(GetMessageText(3, -5), "Datei");
  EXPECT_EQ(GetMessageText(7, -39), "  Mit Einzug");
  std::string raw;
  GetMessageTextRaw(7, raw);
  EXPECT_EQ(raw, "  Mit Einzug" + std::string(27, ' '));
  std::string spaced;
  GetMessageTextSpaced(3, -39, spaced);
  EXPECT_EQ(spaced, " Datei fehlt");
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(MessagesTest, ANumberPastTheEndGivesBlanksAndReportsNothing) {
  InstallMessages({{2, "Zwei"}});
  EXPECT_EQ(GetMessageText(500, 10), std::string(10, ' '));
  EXPECT_EQ(GetMessageText(500, -39), "");
  EXPECT_EQ(GetMessageText(-4, 6), std::string(6, ' '));
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(ReadHostFile(dir / "MENUREC.TXT"), "");
  // The file is still usable afterwards.
  EXPECT_EQ(GetMessageText(2, -39), "Zwei");
}

TEST_F(MessagesTest, AMissingMessageFileIsReportedByTheCheckedRead) {
  CloseMessageFile();
  EXPECT_EQ(GetMessageText(10, -39), "");
  EXPECT_EQ(ErrorCode, 1011);
  EXPECT_NE(ReadHostFile(dir / "MENUREC.TXT").find("BlockRead"), std::string::npos);
}

TEST_F(MessagesTest, LanguageSwapReopensTheMessageFile) {
  InstallMessages({{5, "Alt"}});
  WriteHostFile(dir / "TORV_EN.TX0", MessageFileImage({{5, "New"}}));
  ApplyLanguageSet("EN");
  EXPECT_EQ(GetMessageText(5, -39), "New");
  EXPECT_EQ(ReadHostFile(dir / "TORV.TX0"), ReadHostFile(dir / "TORV_EN.TX0"));
}

// --- message boxes ---------------------------------------------------------------------------

TEST_F(MessagesTest, InputOutputResultsAboveTenThousandAreBuiltNotLookedUp) {
  struct {
    int32_t n;
    const char* text;
  } cases[] = {
      {10003, " File-Error IOResult=  3"},
      {10100, " File-Error IOResult=100"},
      {11011, " File-Error IOResult=1011"},
      {10000 + 1234567, " File-Error IOResult=12345"},  // the number keeps 5 characters
  };
  for (const auto& c : cases) EXPECT_EQ(MessageNumberText(c.n), c.text) << c.n;
}

TEST_F(MessagesTest, ShowMessageNumberShowsTheTextInAnErrorBox) {
  InstallMessages({{59, "Zu wenig Platz"}});
  UseScript("key Enter\nkey Enter\n");
  ShowMessageNumber(59);
  ShowMessageNumber(10003);
  std::string t = Transcript();
  EXPECT_NE(t.find("msgbox|Error|Zu wenig Platz|"), std::string::npos) << t;
  EXPECT_NE(t.find("msgbox|Error| File-Error IOResult=  3|"), std::string::npos) << t;
}

TEST_F(MessagesTest, QuestionsAreCaptionedWithTheProgramTitleAndGiveTheAnswer) {
  InstallMessages({{10, "Programm beenden?"}});
  UseScript("key y\nkey n\nkey Enter\n");
  uint8_t answer = 7;
  EXPECT_EQ(AskYesNoMessage(10, answer), 1);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(AskYesNoMessage(10, answer), 0);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(AskYesNoTwoLines("Erste", "Zweite", answer), 1);
  std::string t = Transcript();
  EXPECT_NE(t.find("msgbox|TORV|Programm beenden?|"), std::string::npos) << t;
  EXPECT_NE(t.find("Erste"), std::string::npos);
  EXPECT_NE(t.find("Zweite"), std::string::npos);
}

TEST_F(MessagesTest, TitledMessageOfAnotherVariantHasAnEmptyCaption) {
  VariantNumber = 7;
  UseScript("key Enter\n");
  ShowTitledMessage("Hallo");
  EXPECT_NE(Transcript().find("msgbox||Hallo|"), std::string::npos) << Transcript();
}

// --- text helpers ------------------------------------------------------------------------------

TEST(MessageTextHelpers, PaddingCuttingAndCase) {
  EXPECT_EQ(PadStringRight("abc", 2), "abc");
  EXPECT_EQ(PadStringRight("abc", 5), "abc  ");
  EXPECT_EQ(PadStringLeft("abc", 5), "  abc");
  EXPECT_EQ(PadStringLeft("abc", 3), "abc");
  EXPECT_EQ(MakeBlankString(4), "    ");
  EXPECT_EQ(MakeBlankString(-3), "");
  EXPECT_EQ(MakeBlankString(300).size(), 255u);

  struct {
    const char* text;
    int position;
    const char* kept;
  } cuts[] = {{"ab   cd", 6, "ab"}, {"   cd", 4, ""}, {"abc", 10, "abc"}, {"abc", 1, ""}, {"a b c", 4, "a b"}};
  for (const auto& c : cuts) {
    std::string s = c.text;
    CutAndTrimString(s, c.position);
    EXPECT_EQ(s, c.kept) << c.text << " at " << c.position;
  }

  std::string s = "  x y ";
  TrimLeadingBlanks(s);
  EXPECT_EQ(s, "x y ");
  s = "   ";
  TrimLeadingBlanks(s);
  EXPECT_EQ(s, "");

  s = "abz-\x84\x81m";
  UpperCaseString(s);
  EXPECT_EQ(s, "ABZ-\x84\x81M");
}

TEST(MessageTextHelpers, TheTextBufferKeepsAtMost1023Characters) {
  char buffer[kTextBufferSize];
  uint16_t length = 0;
  buffer[0] = '\0';
  AppendToTextBuffer(buffer, length, std::string(1020, 'a'));
  EXPECT_EQ(length, 1020);
  AppendToTextBuffer(buffer, length, "bcdef");
  EXPECT_EQ(length, 1023);
  EXPECT_EQ(std::string(buffer), std::string(1020, 'a') + "bcd");
  AppendToTextBuffer(buffer, length, "zz");
  EXPECT_EQ(length, 1023);
  EXPECT_EQ(buffer[1023], '\0');
}

TEST(MessageTextHelpers, CuttingToAPixelWidth) {
  setenv("TORV_VIDEO", "headless", 1);
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  const int width = MeasureTextWidth("Wand");
  ASSERT_GT(width, 0);
  std::string s = "Wandtafel";
  CutTextToWidth(s, width);
  EXPECT_EQ(s, "Wand");
  s = "tafelWand";
  CutTextToWidthFromLeft(s, MeasureTextWidth("Wand"));
  EXPECT_EQ(s, "Wand");
  s = "abc";
  CutTextToWidth(s, 0);
  EXPECT_EQ(s, "");
  ReleaseWindowDc();
  plat::CloseWindow();
}

// --- language and menu sets --------------------------------------------------------------------

TEST_F(MessagesTest, ASetFileOf10BytesOrLessDoesNotCount) {
  WriteHostFile(dir / "TORV_FR.TX0", "12345678");
  EXPECT_FALSE(IsLanguageSetPresent("FR"));
  WriteHostFile(dir / "TORV_FR.TX0", "1234567890");
  EXPECT_FALSE(IsLanguageSetPresent("FR"));
  WriteHostFile(dir / "TORV_FR.TX0", "12345678901");
  EXPECT_TRUE(IsLanguageSetPresent("FR"));
  // The menu file or the help file alone also make a set present.
  WriteHostFile(dir / "TORVMEIT.TXT", std::string(20, 'm'));
  EXPECT_TRUE(IsLanguageSetPresent("IT"));
  WriteHostFile(dir / "TORVHILFNL.TXT", std::string(20, 'h'));
  EXPECT_TRUE(IsLanguageSetPresent("NL"));
  EXPECT_FALSE(IsLanguageSetPresent("RU"));
}

TEST_F(MessagesTest, AShortLanguageFileIsNotCopied) {
  InstallMessages({{1, "Eins"}});
  const std::string before = ReadHostFile(dir / "TORV.TX0");
  WriteHostFile(dir / "TORV_RU.TX0", "8 bytes!");
  ApplyLanguageSet("RU");
  EXPECT_EQ(ReadHostFile(dir / "TORV.TX0"), before);
  EXPECT_EQ(GetMessageText(1, -39), "Eins");
}

TEST_F(MessagesTest, ApplyingALanguageReplacesMessageMenuAndHelpFiles) {
  InstallMessages({{1, "Eins"}});
  WriteHostFile(dir / "TORV.TXT", "old menu");
  WriteHostFile(dir / "TORVHILF.TXT", "old help");
  WriteHostFile(dir / "TORV_EN.TX0", MessageFileImage({{1, "One"}}));
  WriteHostFile(dir / "TORVMEEN.TXT", "english menu texts");
  WriteHostFile(dir / "TORVHILFEN.TXT", "english help texts");
  int rebuilds = 0;
  static int* counter = nullptr;
  counter = &rebuilds;
  RepaintHook = [] { ++*counter; };
  RedrawState = 2;
  ApplyLanguageSet("EN");
  RepaintHook = nullptr;
  EXPECT_EQ(GetMessageText(1, -39), "One");
  EXPECT_EQ(ReadHostFile(dir / "TORV.TXT"), "english menu texts");
  EXPECT_EQ(ReadHostFile(dir / "TORVHILF.TXT"), "english help texts");
  EXPECT_EQ(rebuilds, 1);
  EXPECT_EQ(RedrawState, 0);
  EXPECT_EQ(MenuTextFile.state, plat::kFileInput);
}

TEST_F(MessagesTest, ChoosingNewAppliesGermanFirst) {
  InstallMessages({{1, "Eins"}});
  WriteHostFile(dir / "TORVMEDE.TXT", "german menus");
  WriteHostFile(dir / "TORV_00.TX0", MessageFileImage({{1, "Neu"}}));
  ApplyChosenLanguage(12);  // "00"
  // German menus from "DE", messages from "00".
  EXPECT_EQ(ReadHostFile(dir / "TORV.TXT"), "german menus");
  EXPECT_EQ(GetMessageText(1, -39), "Neu");
}

namespace {
std::vector<TChoiceLine> PopupLines;
std::string PopupTitles[3];
int PopupAnswer = 0;
int PopupY = 0;
int FakePopup(int x, int y, const std::string (&titles)[3], const std::vector<TChoiceLine>& lines) {
  PopupLines = lines;
  for (int i = 0; i < 3; ++i) PopupTitles[i] = titles[i];
  PopupY = y;
  return PopupAnswer;
}
int16_t HelpTopicShown = 0;
void RecordHelpTopic(int16_t topic) { HelpTopicShown = topic; }
}  // namespace

TEST_F(MessagesTest, TheLanguagePopupListsThePresentSetsInOrder) {
  InstallMessages({{1716, "Sprache"}, {2188, "T1"}, {3185, "T2"}, {3186, "T3"}, {2819, "Deutsch"}, {2820, "Englisch"}});
  WriteHostFile(dir / "TORV_E1.TX0", MessageFileImage({{1, "E1"}}));
  WriteHostFile(dir / "TORV_DE.TX0", MessageFileImage({{1, "DE"}}));
  WriteHostFile(dir / "TORV_TY.TX0", MessageFileImage({{1, "TY"}}));
  ChoicePopupHook = FakePopup;
  PopupLines.clear();
  PopupAnswer = 3;  // the second set
  MouseY = 100;
  ChooseLanguage();
  ASSERT_EQ(PopupLines.size(), 4u);
  EXPECT_EQ(PopupLines[0].caption, "Sprache");
  EXPECT_EQ(PopupLines[1].caption, "Deutsch");
  EXPECT_EQ(PopupLines[1].picture, "NatDeutsch");
  EXPECT_EQ(PopupLines[2].caption, "Englisch 1");
  EXPECT_EQ(PopupLines[3].caption, "t\x81rkisch");
  EXPECT_EQ(PopupTitles[0], "T1");
  EXPECT_EQ(PopupTitles[2], "T3");
  EXPECT_EQ(PopupY, 68);
  EXPECT_EQ(GetMessageText(1, -39), "E1");
}

TEST_F(MessagesTest, OnlySetsOutsideTheOfferedListShowNoPopup) {
  WriteHostFile(dir / "TORV_ES.TX0", MessageFileImage({{1, "ES"}}));
  ChoicePopupHook = FakePopup;
  PopupLines.clear();
  ChooseLanguage();
  EXPECT_TRUE(PopupLines.empty());
}

TEST_F(MessagesTest, MenuSetsAreFoundByEitherCode) {
  InstallMessages({{3531, "Standard"}, {3532, "Etiketten"}, {3538, "Relief"}});
  WriteHostFile(dir / "TORVME_S.TXT", "labels underscore");
  WriteHostFile(dir / "TORVME-R.TXT", "relief dash");
  TMenuSetEntry list[kMenuSetCount];
  ListMenuSets(list);
  for (int n = 0; n < kMenuSetCount; ++n) EXPECT_EQ(list[n].present, n == 1 || n == 7) << n;
  EXPECT_EQ(list[1].caption, "Etiketten");
  EXPECT_EQ(list[7].picture, "Relief");
  // The "-" file is taken when both exist.
  WriteHostFile(dir / "TORVME-S.TXT", "labels dash");
  ApplyChosenMenuSet(1);
  EXPECT_EQ(ReadHostFile(dir / "TORV.TXT"), "labels dash");
}

TEST_F(MessagesTest, TheMenuSetNumberIsStoredInParameterBlock3) {
  LoadParamFile();
  ASSERT_NE(ParamImage, nullptr);
  int titles = 0;
  static int* counter = nullptr;
  counter = &titles;
  WindowTitleHook = [] { ++*counter; };
  SetMenuSetNumber(5);
  uint8_t block[121] = {};
  GetParamBlock(3, block, sizeof block);
  EXPECT_EQ(block[109], 5);
  EXPECT_EQ(block[110], 0);
  EXPECT_EQ(titles, 1);
  OpenParamImage(0);
}

TEST_F(MessagesTest, TheMenuSetPopupAppliesTheChoiceOrOpensHelp) {
  InstallMessages({{3530, "Menues"}, {3533, "Schilder"}, {1154, "Hilfe"}});
  WriteHostFile(dir / "TORVME_E.TXT", "plate menu texts");
  ChoicePopupHook = FakePopup;
  HelpTopicHook = RecordHelpTopic;
  PopupAnswer = 2;
  ChooseMenuSet();
  ASSERT_EQ(PopupLines.size(), 3u);
  EXPECT_EQ(PopupLines[1].caption, "Schilder");
  EXPECT_EQ(PopupLines[2].picture, "HILFE_W");
  EXPECT_EQ(ReadHostFile(dir / "TORV.TXT"), "plate menu texts");

  HelpTopicShown = 0;
  PopupAnswer = 3;
  ChooseMenuSet();
  EXPECT_EQ(HelpTopicShown, 7913);
}

TEST_F(MessagesTest, NoMenuSetForAnyWorkSaysSo) {
  InstallMessages({{3542, "Keine Menues"}});
  WriteHostFile(dir / "TORVMEDE.TXT", "german menus");  // set 0 alone does not count
  UseScript("key Enter\n");
  ChoicePopupHook = FakePopup;
  PopupLines.clear();
  ChooseMenuSet();
  EXPECT_TRUE(PopupLines.empty());
  EXPECT_NE(Transcript().find("msgbox|TORV|Keine Menues|"), std::string::npos) << Transcript();
}

TEST_F(MessagesTest, BlockwiseCopyHandlesBlockBoundariesAndKeepsTheTargetWithoutSource) {
  for (size_t size : {size_t(0), size_t(65000), size_t(130017)}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 7 + 3);
    WriteHostFile(dir / "SRC.BIN", bytes);
    CopyFileBlockwise("SRC.BIN", "DST.BIN");
    EXPECT_EQ(ReadHostFile(dir / "DST.BIN"), bytes) << size;
  }
  WriteHostFile(dir / "KEEP.BIN", "precious");
  CopyFileBlockwise("MISSING.BIN", "KEEP.BIN");
  EXPECT_EQ(ReadHostFile(dir / "KEEP.BIN"), "precious");
  EXPECT_EQ(ErrorCode, 1001);  // the failed open is reported
}

// --- system class digits -------------------------------------------------------------------------

TEST(SystemClassDigits, WindowsVersionClasses) {
  struct {
    uint32_t platformId, major, minor;
    uint8_t cls;
  } cases[] = {{0, 3, 1, 0},  {1, 3, 0, 4},  {1, 4, 0, 1},  {1, 4, 8, 1}, {1, 4, 9, 2},
               {1, 4, 89, 2}, {1, 4, 90, 3}, {2, 3, 51, 5}, {2, 4, 0, 6}, {2, 5, 0, 7},
               {2, 5, 1, 8},  {2, 5, 2, 9},  {2, 6, 1, 9},  {3, 1, 0, 9}};
  for (const auto& c : cases)
    EXPECT_EQ(WindowsVersionClassOf(c.platformId, c.major, c.minor), c.cls)
        << c.platformId << " " << c.major << "." << c.minor;
}

TEST(SystemClassDigits, DriveSizeClasses) {
  struct {
    int64_t gigabytes;
    uint8_t cls;
  } cases[] = {{0, 0}, {1, 0}, {2, 1}, {5, 2}, {6, 3}, {11, 3}, {21, 4}, {51, 5},
               {110, 6}, {210, 7}, {500, 8}, {510, 8}, {511, 9}, {2048, 9}};
  for (const auto& c : cases) EXPECT_EQ(DriveSizeClassOf(c.gigabytes * 1024), c.cls) << c.gigabytes << " GB";
  EXPECT_EQ(DriveSizeClassOf(2047), 0);  // 1 GB and a bit
  EXPECT_EQ(DriveSizeClassOf(-1), 0);
}

TEST(SystemClassDigits, TheClassTextIsOneAndTwoDigits) {
  std::string text = FormatSystemClassText();
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0], '1');
  EXPECT_EQ(text[1], char('0' + GetWindowsVersionClass()));
  EXPECT_EQ(text[2], char('0' + GetDriveSizeClass()));
}

// --- the message file tool ---------------------------------------------------------------------------

class MessageFileTool : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    char pattern[] = "/tmp/torv_msgtool_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  // Runs the tool on a source text; the exit status.
  int Run(const std::string& source) {
    WriteHostFile(dir / "in.tsv", source);
    std::string command = std::string("'") + TORV_BINARY_DIR + "/data/make_messages' '" + (dir / "in.tsv").string() +
                          "' '" + (dir / "OUT.TX0").string() + "' 2>/dev/null";
    return std::system(command.c_str());
  }
};

TEST_F(MessageFileTool, BadSourcesFailWithoutWritingAFile) {
  struct {
    const char* why;
    std::string source;
  } cases[] = {
      {"no tab", "12 Text\n"},
      {"number used twice", "5\tEins\n5\tZwei\n"},
      {"40 characters", "5\t" + std::string(40, 'x') + "\n"},
      {"40 characters with umlauts", "5\t" + std::string(38, 'x') + "\xC3\xA4\xC3\xB6\n"},
      {"empty text", "5\t\n"},
      {"no number", "\tText\n"},
      {"number too large", "40000\tText\n"},
      {"sign", "-5\tText\n"},
      {"character outside the code page", "5\t\xE2\x82\xAC\n"},
      {"malformed UTF-8", "5\tab\xC3\n"},
      {"control character", "5\ta\tb\n"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(Run(c.source), 0) << c.why;
    EXPECT_FALSE(fs::exists(dir / "OUT.TX0")) << c.why;
  }
}

TEST_F(MessageFileTool, RecordsAreFortyTwoBytesInTheDosCodePage) {
  std::string source =
      "# comment\n"
      "\n"
      "2\tGr\xC3\xB6\xC3\x9F" "e \xC3\x84\xC3\x96\xC3\x9C \xC3\xA4\xC3\xBC 90\xC2\xB0\r\n"
      "4\t" + std::string(39, 'y') + "\n";
  ASSERT_EQ(Run(source), 0);
  std::string image = ReadHostFile(dir / "OUT.TX0");
  ASSERT_EQ(image.size(), 5u * 42u);
  auto record = [&](int n) { return image.substr(size_t(n) * 42, 42); };
  std::string expected2 = "Gr\x94\xE1" "e \x8E\x99\x9A \x84\x81 90\xF8";
  EXPECT_EQ(record(2), expected2 + std::string(40 - expected2.size(), ' ') + "\r\n");
  EXPECT_EQ(record(4), std::string(39, 'y') + " \r\n");
  EXPECT_EQ(record(0), std::string(40, ' ') + "\r\n");
  EXPECT_EQ(record(3), std::string(40, ' ') + "\r\n");
}

}  // namespace
