// A fresh temporary folder for one test with the headless window writing its
// transcript there and no script or screen size given; the window is closed
// before and after, and the folder goes at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/window.h"
#include "support/host_files.h"

namespace torvtest {

class HeadlessFolderTest : public ::testing::Test {
 protected:
  std::filesystem::path dir;

  void SetUp() override {
    char pattern[] = "/tmp/torv_headless_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    plat::CloseWindow();
    setenv("TORV_VIDEO", "headless", 1);
    unsetenv("TORV_SCREEN");
    unsetenv("TORV_SCRIPT");
    setenv("TORV_TRANSCRIPT", (dir / "transcript.txt").c_str(), 1);
  }
  void TearDown() override {
    plat::CloseWindow();
    unsetenv("TORV_SCRIPT");
    unsetenv("TORV_TRANSCRIPT");
    unsetenv("TORV_SCREEN");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  // The script the next window reads; the window open now is closed.
  void UseScript(const std::string& script) {
    plat::CloseWindow();
    WriteHostFile(dir / "input.txt", script);
    setenv("TORV_SCRIPT", (dir / "input.txt").c_str(), 1);
  }
  std::string Transcript() const { return ReadHostFile(dir / "transcript.txt"); }
};

}  // namespace torvtest
