// The Esc check of the NC output loop: other keys are dropped, Esc asks and
// the answer (by key from the script) decides.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "frame/main_window.h"
#include "app/program_start.h"
#include "frame/window_draw.h"
#include "machine/nc_blocks.h"
#include "platform/script.h"
#include "platform/window.h"
#include "support/work_folder.h"

namespace {

// A test still waiting when its script ran out fails loudly instead of
// ending the test program.
void ScriptRanOut() {
  std::fputs("the script ran out while the test still waited for input\n", stderr);
  std::abort();
}

class NcEscapeTest : public ::testing::Test {
 protected:
  void Start(const std::string& script) {
    std::ofstream(work_.Path() + "/script.txt") << script;
    setenv("TORV_SCRIPT", (work_.Path() + "/script.txt").c_str(), 1);
    setenv("TORV_VIDEO", "headless", 1);
    plat::ResetScript();
    ClearKeyBuffer();
    CloseRequested = false;
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    ExitProc = ScriptRanOut;
  }
  void TearDown() override {
    ExitProc = nullptr;
    ReleaseWindowDc();
    plat::CloseWindow();
    plat::ResetScript();
  }
  torvtest::TWorkFolder work_;
};

TEST_F(NcEscapeTest, NoKeyOrAnotherKeyGoesOn) {
  Start("wait 10\n");
  EXPECT_FALSE(CheckNcEscapeAbort());
  PushKeyCode('a');
  EXPECT_FALSE(CheckNcEscapeAbort());
  EXPECT_FALSE(PollKeyPressed());  // the key was taken
}

TEST_F(NcEscapeTest, EscAsksAndTheAnswerDecides) {
  Start("key Enter\nwait 10\nkey y\n");  // the error box, then the answer
  PushKeyCode(27);
  EXPECT_TRUE(CheckNcEscapeAbort());
}

TEST_F(NcEscapeTest, EscAnsweredNoGoesOn) {
  Start("key Enter\nwait 10\nkey n\n");
  PushKeyCode(27);
  EXPECT_FALSE(CheckNcEscapeAbort());
}

}  // namespace
