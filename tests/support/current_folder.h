// A fresh temporary folder that is the current folder for the length of one
// test, with the file mode and the result of the last transfer reset; the
// previous folder comes back and the folder goes at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/files.h"

namespace torvtest {

class CurrentFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFolder_ = plat::CurrentFolder();
    char templ[] = "/tmp/torv_files_XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    root_ = templ;
    ASSERT_TRUE(plat::SetCurrentFolder(plat::DosPathOf(root_)));
    plat::gFileMode = 2;
    plat::IoResult();
  }
  void TearDown() override {
    EXPECT_TRUE(plat::SetCurrentFolder(savedFolder_));
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
    plat::gFileMode = 2;
    plat::IoResult();
  }
  // The host path of a name relative to the folder.
  std::string Host(const std::string& rel) const { return root_ + "/" + rel; }

  std::string savedFolder_;
  std::string root_;
};

}  // namespace torvtest
