// Runs the real torv with a script: headless and, once, through the SDL
// backend under Xvfb. Checks the exit code, the screenshot and the transcript.
#include <gtest/gtest.h>

#include "support/program_runner.h"

namespace {

using namespace torvtest;

// The main screen: a light grey menu band and side panel, a black line
// across at y 50 and the empty layout area in the graphic window.
void ExpectStartScreen(const TPicture& pic) {
  ASSERT_TRUE(pic.error.empty()) << pic.error;
  ASSERT_GT(pic.width, 300);
  ASSERT_GT(pic.height, 100);
  const uint32_t grey = 0xDCDCDC, black = 0;
  EXPECT_EQ(pic.At(pic.width / 2, 10), grey);
  EXPECT_EQ(pic.At(pic.width - 1, pic.height - 1), grey);
  EXPECT_EQ(pic.At(pic.width - 100, 49), grey);
  EXPECT_EQ(pic.At(pic.width - 100, 51), grey);
  for (int x : {pic.width - 160, pic.width - 1}) EXPECT_EQ(pic.At(x, 50), black) << "x " << x;
  // The main loop's view shows the empty layout area on white paper.
  EXPECT_EQ(pic.At(pic.width / 3, pic.height / 2), 0xFFFFFFu);
}


// --- tests ---------------------------------------------------------------------------------

TEST(ProgramRun, HeadlessShowsTheStartScreenAndEndsOnClose) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  fs::path shot = home.Path() / "shot.png";
  TRunResult run = RunHeadless(home, StartScript() + "wait 10\nshot " + shot.string() + "\nclose\n");
  ASSERT_TRUE(run.finished) << "torv did not end within 60 s";
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_TRUE(fs::exists(shot));
  TPicture pic = ReadPng(shot);
  EXPECT_EQ(pic.width, 1024);
  EXPECT_EQ(pic.height, 768);
  ExpectStartScreen(pic);
  std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("caption|TORV 7.020 - ["), std::string::npos) << transcript;
}

TEST(ProgramRun, HeadlessEndsWithZeroWhenTheScriptRunsOut) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  TRunResult run = RunHeadless(home, "# nothing but a pause\nwait 10\n");
  ASSERT_TRUE(run.finished) << "torv did not end within 60 s";
  EXPECT_EQ(run.exitCode, 0);
  std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("caption|TORV 7.020 - ["), std::string::npos) << transcript;
}

TEST(ProgramRun, ClientSizeFollowsTheScreenSetting) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  fs::path shot = home.Path() / "small.png";
  WriteFile(home.Path() / "script.txt", StartScript() + "shot " + shot.string() + "\nclose\n");
  TRunResult run = RunProgram({kTorv},
                              {{"TORV_VIDEO", "headless"},
                               {"TORV_SCREEN", "640x480"},
                               {"TORV_SCRIPT", (home.Path() / "script.txt").string()},
                               {"TORV_TRANSCRIPT", ""},
                               {"TORV_HOME", home.Path().string()}},
                              home.Path(), 60);
  ASSERT_TRUE(run.finished) << "torv did not end within 60 s";
  EXPECT_EQ(run.exitCode, 0);
  TPicture pic = ReadPng(shot);
  EXPECT_EQ(pic.width, 640);
  EXPECT_EQ(pic.height, 480);
  ExpectStartScreen(pic);
}

TEST(ProgramRun, SdlWindowUnderXvfb) {
  int found = std::system("command -v xvfb-run >/dev/null 2>&1");
  ASSERT_EQ(found, 0) << "xvfb-run is missing: run scripts/install-deps.sh";
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  fs::path shot = home.Path() / "x.png";
  TRunResult run = RunUnderXvfb(home, StartScript() + "wait 100\nshot " + shot.string() + "\nclose\n", 60);
  ASSERT_TRUE(run.finished) << "torv under Xvfb did not end within 60 s";
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_TRUE(fs::exists(shot));
  ExpectStartScreen(ReadPng(shot));
}

}  // namespace
