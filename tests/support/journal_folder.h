// A work folder (support/work_folder.h) for one test holding an empty
// command journal; the journal is read back by Journal().
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/host_files.h"
#include "support/work_folder.h"

namespace torvtest {

class JournalFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    dir_ = work_->Path();
    WriteHostFile(dir_ / "MENUREC.TXT", "");
  }
  void TearDown() override { work_.reset(); }
  std::string Journal() const { return ReadHostFile(dir_ / "MENUREC.TXT"); }

  std::unique_ptr<TWorkFolder> work_;
  std::filesystem::path dir_;
};

}  // namespace torvtest
