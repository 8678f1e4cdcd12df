// The real torv in a program folder of its own (TORV_HOME): started in an
// empty folder it finds the data files that ship with it, a folder's own
// files stay as they are, and a plain click after a wait line reaches the
// start panel in both backends.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "support/program_runner.h"

namespace {

using namespace torvtest;

constexpr size_t kRecordSize = 42;  // one message: 40 text bytes, CR LF
constexpr int kFontNotice = 289;    // shown at every start without a font file

std::string RecordText(const std::string& messageFile, int number) {
  std::string text = messageFile.substr(size_t(number) * kRecordSize, 40);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Answers the font notice, waits out the start screen's pause, closes the
// start panel, then "Datei" > "Programmende" in the menu bar and "Yes".
const char* const kQuitThroughTheMenu =
    "key Enter\nwait 10000\nclick 4 300 right\nwait 500\n"
    "click 20 8\nwait 500\nclick 70 341\nwait 500\nkey Enter\n";

TEST(FreshHomeRun, AnEmptyProgramFolderGetsTheShippedFilesAndWorks) {
  TempFolder home(TFolderStart::kEmpty);
  ASSERT_FALSE(home.Path().empty());
  ASSERT_TRUE(fs::is_empty(home.Path()));
  TRunResult run = RunHeadless(home, kQuitThroughTheMenu);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  // The message box shows its text from the message file.
  const std::string shipped = ReadFile(fs::path(TORV_BINARY_DIR) / "TORV.TX0");
  const std::string notice = RecordText(shipped, kFontNotice);
  ASSERT_FALSE(notice.empty());
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("msgbox|Error|" + notice + "|OK"), std::string::npos) << transcript;
  // The menu bar was there to end the program with.
  EXPECT_NE(ReadFile(home.Path() / "MENUREC.TXT").find("Programmende"), std::string::npos);
  for (const char* name : {"TORV.TX0", "TORV.TXT", "MVKBild.DAT", "MVKBiPrg.DAT", "Resourc1.DAT"})
    EXPECT_EQ(ReadFile(home.Path() / name), ReadFile(fs::path(TORV_BINARY_DIR) / name)) << name;
  EXPECT_FALSE(fs::exists(home.Path() / "FehlerDatei.TXT"));
}

// A message file the folder has already, in any case of its name, is the
// user's: it is used and neither replaced nor joined by a second copy.
TEST(FreshHomeRun, TheFoldersOwnFilesAreKept) {
  const std::string shipped = ReadFile(fs::path(TORV_BINARY_DIR) / "TORV.TX0");
  ASSERT_GT(shipped.size(), (kFontNotice + 1) * kRecordSize);
  std::string own = shipped;
  const std::string text = "Eigene Meldung ohne Schrift";
  own.replace(kFontNotice * kRecordSize, 40, text + std::string(40 - text.size(), ' '));
  for (const char* name : {"TORV.TX0", "torv.tx0"}) {
    SCOPED_TRACE(name);
    TempFolder home(TFolderStart::kEmpty);
    ASSERT_FALSE(home.Path().empty());
    WriteFile(home.Path() / name, own);
    TRunResult run = RunHeadless(home, kQuitThroughTheMenu);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadFile(home.Path() / name), own);
    int messageFiles = 0;
    for (const auto& entry : fs::directory_iterator(home.Path())) {
      std::string upper = entry.path().filename().string();
      for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
      messageFiles += upper == "TORV.TX0";
    }
    EXPECT_EQ(messageFiles, 1);
    const std::string transcript = ReadFile(home.Path() / "transcript.txt");
    EXPECT_NE(transcript.find("msgbox|Error|" + text + "|OK"), std::string::npos) << transcript;
    // The files the folder lacked were still copied.
    EXPECT_TRUE(fs::exists(home.Path() / "TORV.TXT"));
  }
}

// Once the start screen's pause has run out, "wait 500" and a plain click
// on "Neue Zeichnung beginnen" open the layout dialog, whose title bar runs
// across the top left of the drawing area.
TEST(FreshHomeRun, AClickAfterAWaitReachesTheStartPanel) {
  const struct {
    const char* backend;
    int x, y;  // the button in the backend's client area
  } cases[] = {
      {"headless", 340, 332},  // 1024 x 768
      {"xvfb", 212, 236},      // 768 x 596, the first size without a window manager
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.backend);
    const bool xvfb = std::string(c.backend) == "xvfb";
    if (xvfb) {
      ASSERT_EQ(std::system("command -v xvfb-run >/dev/null 2>&1"), 0) << "xvfb-run is missing";
    }
    TempFolder home;
    ASSERT_FALSE(home.Path().empty());
    const fs::path before = home.Path() / "panel.png", after = home.Path() / "dialog.png";
    const std::string script = "key Enter\nwait 10000\nshot " + before.string() + "\nwait 500\nclick " +
                               std::to_string(c.x) + " " + std::to_string(c.y) + "\nwait 500\nshot " +
                               after.string() + "\nkey Esc\nwait 500\n";
    TRunResult run = xvfb ? RunUnderXvfb(home, script, 180) : RunHeadless(home, script);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    TPicture panel = ReadPng(before), dialog = ReadPng(after);
    ASSERT_TRUE(panel.error.empty()) << panel.error;
    ASSERT_TRUE(dialog.error.empty()) << dialog.error;
    const int area = (200 - 10 + 1) * (66 - 56 + 1);
    EXPECT_LT(CountDark(panel, 10, 56, 200, 66, 300), area / 3) << "no dialog before the click";
    EXPECT_GT(CountDark(dialog, 10, 56, 200, 66, 300), area * 2 / 3) << "the layout dialog's title bar";
  }
}

}  // namespace
