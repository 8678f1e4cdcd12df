// A work folder (support/work_folder.h) that is also the program folder
// (TORV_HOME) for one test, with an empty journal; message boxes are
// answered by a script in the folder. At the end the window is closed before
// the folder goes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/window.h"
#include "support/host_files.h"
#include "support/work_folder.h"

namespace torvtest {

class ProgramFolderTest : public ::testing::Test {
 protected:
  std::unique_ptr<TWorkFolder> work_;
  std::filesystem::path dir;

  void SetUp() override {
    work_ = std::make_unique<TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    dir = work_->Path();
    setenv("TORV_HOME", dir.c_str(), 1);
    WriteHostFile(dir / "MENUREC.TXT", "");
  }
  void TearDown() override {
    plat::CloseWindow();
    work_.reset();
    unsetenv("TORV_HOME");
    unsetenv("TORV_SCRIPT");
  }
  // Answers for the message boxes; the script is read afresh.
  void UseScript(const std::string& script) {
    WriteHostFile(dir / "input.txt", script);
    setenv("TORV_SCRIPT", (dir / "input.txt").c_str(), 1);
    plat::CloseWindow();
  }
  std::string Transcript() { return ReadHostFile(dir / "transcript.txt"); }
};

}  // namespace torvtest
