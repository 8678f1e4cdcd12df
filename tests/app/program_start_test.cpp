// The roads to the end of the program, run in a child process each: the quit
// command after its question, the quit message, and a close while a command
// runs. Each must run the exit procedure exactly once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/dispatcher.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "app/program_start.h"
#include "platform/window.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class ProgramRoads : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/torv_roadsXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    home_ = tmpl;
    fs::copy_file(fs::path(TORV_BINARY_DIR) / "TORV.TX0", home_ / "TORV.TX0");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(home_, ec);
  }
  // Prepares the child: headless window, the script, the program folder.
  void StartChild(const std::string& script) {
    std::ofstream(home_ / "script.txt") << script;
    setenv("TORV_VIDEO", "headless", 1);
    setenv("TORV_SCRIPT", (home_ / "script.txt").c_str(), 1);
    setenv("TORV_TRANSCRIPT", (home_ / "transcript.txt").c_str(), 1);
    setenv("TORV_HOME", home_.c_str(), 1);
    SetUpVariant("TORV", kBuildVariantCode);
    EnterProgramFolder();
    RunStartSequence();
  }
  std::string Journal() { return ReadAll(home_ / "MENUREC.TXT"); }
  fs::path home_;
};

// The font notice is answered; the start pause and the polls of the start
// take script lines as they go, so the answers that follow stand behind
// enough pauses (a message box skips the pauses left over).
std::string StartScript() {
  std::string script = "key Enter\n";
  for (int i = 0; i < 1500; ++i) script += "wait 1\n";
  return script;
}
const std::string kStartScript = StartScript();

TEST_F(ProgramRoads, QuitCommandEndsAfterYesAndRunsTheExitOnce) {
  EXPECT_EXIT(
      {
        StartChild(kStartScript + "key y\n");
        CommandWord = kQuitCommand;
        DispatchMainCommand(VariantCode);
        if (CommandWord != kQuitCommand) std::_Exit(7);
        RunMainCommandLoop(VariantCode);
        HaltProgram(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(CountOf(Journal(), "Ende: "), 1) << Journal();
  EXPECT_NE(ReadAll(home_ / "transcript.txt").find("msgbox|TORV|Programm beenden?|Yes"), std::string::npos);
}

TEST_F(ProgramRoads, QuitCommandAnsweredNoKeepsRunning) {
  EXPECT_EXIT(
      {
        StartChild(kStartScript + "key n\n");
        CommandWord = kQuitCommand;
        DispatchMainCommand(VariantCode);
        std::_Exit(CommandWord == 0 ? 42 : 7);
      },
      ::testing::ExitedWithCode(42), "");
  EXPECT_EQ(CountOf(Journal(), "Ende: "), 0) << Journal();
}

TEST_F(ProgramRoads, QuitMessageEndsWith255AndRunsTheExitOnce) {
  EXPECT_EXIT(
      {
        StartChild(kStartScript);
        plat::PostWindowMessage(plat::kMsgQuit, 0, 0);
        PumpWindowMessages();
        std::_Exit(7);
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(CountOf(Journal(), "Ende: "), 1) << Journal();
}

TEST_F(ProgramRoads, CloseMessageEndsWithZeroAndRunsTheExitOnce) {
  EXPECT_EXIT(
      {
        StartChild(kStartScript);
        plat::PostWindowMessage(plat::kMsgClose, 0, 0);
        PumpWindowMessages();
        std::_Exit(7);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(CountOf(Journal(), "Ende: "), 1) << Journal();
}

// A close while a command writes its work file waits until the command has
// returned: the file is complete and the exit runs once, from the main loop.
TEST_F(ProgramRoads, CloseDuringACommandWaitsForTheCommand) {
  EXPECT_EXIT(
      {
        StartChild(kStartScript);
        CommandRunning = true;
        std::ofstream work(home_ / "VekAR2.TMP", std::ios::binary);
        work << std::string(13, '\x0B');
        plat::PostWindowMessage(plat::kMsgClose, 0, 0);
        PumpWindowMessages();  // the close arrives in the middle of the write
        work << std::string(13, '\x0A');
        work.close();
        CommandRunning = false;
        if (!CloseRequested) std::_Exit(8);
        RunMainCommandLoop(VariantCode);
        std::_Exit(7);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(fs::file_size(home_ / "VekAR2.TMP"), 26u);
  EXPECT_EQ(CountOf(Journal(), "Ende: "), 1) << Journal();
}

}  // namespace

namespace {

// The low-disk warning compares bytes with bytes: 100 records need 1300.
TEST(LowDiskWarning, ComparesFreeBytesWithTheLayerSizeInBytes) {
  struct TCase {
    int64_t freeBytes;
    int32_t records;
    bool warn;
  };
  const TCase cases[] = {{1000, 100, true}, {1300, 100, true}, {1301, 100, false}, {0, 0, true}, {5000, 0, false}};
  for (const TCase& c : cases)
    EXPECT_EQ(IsDiskTooFullForLayer(c.freeBytes, c.records), c.warn) << c.freeBytes << " " << c.records;
}

}  // namespace

#include <fstream>

#include "support/work_folder.h"
#include "model/text_job.h"

namespace {

// Clearing the text lines but keeping the head leaves exactly the head.
TEST(TextLineClearing, KeepingTheHeadLeavesTheHeadWithNoLines) {
  torvtest::TWorkFolder work;
  ASSERT_TRUE(work.Entered());
  std::ofstream(work.Path() + "/script.txt") << "key y\n";
  std::string head(kTextJobHeadSize, '\x01');
  head[35] = 1;
  head[36] = 0;
  std::ofstream(work.Path() + "/HS01.TMP", std::ios::binary) << head << std::string(219, 'T');
  LoadTextJobHead();
  ASSERT_EQ(TextLineCount, 1);
  ConfirmClearTextLinesKeepHead();
  EXPECT_EQ(TextLineCount, 0);
  ASSERT_EQ(std::filesystem::file_size(work.Path() + "/HS01.TMP"), size_t(kTextJobHeadSize));
  LoadTextJobHead();
  EXPECT_EQ(TextLineCount, 0);
  EXPECT_EQ(TextJobHead[0], 1);
}

}  // namespace

namespace {

// Texts are kept in the DOS code page; after the start the system gets them
// in the Windows code page, so an umlaut reaches a message box whole.
TEST_F(ProgramRoads, MessagesReachTheSystemWithTheirUmlauts) {
  EXPECT_EXIT(
      {
        StartChild(kStartScript + "key Enter\n");
        ShowMessageNumber(44);
        std::_Exit(42);
      },
      ::testing::ExitedWithCode(42), "");
  EXPECT_NE(ReadAll(home_ / "transcript.txt").find("\xC3\x9C" "bernehmen"), std::string::npos)
      << ReadAll(home_ / "transcript.txt");
}

}  // namespace
