// A work folder (support/work_folder.h) for one test with the error code
// cleared before and after, and the 13-byte vector files in it written and
// read by name.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "model/vector_records.h"
#include "support/data_file_folder.h"
#include "support/host_files.h"
#include "support/work_folder.h"

namespace torvtest {

class RecordFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    ErrorCode = 0;
  }
  void TearDown() override {
    ErrorCode = 0;
    work_.reset();
  }
  std::string Host(const std::string& name) const { return work_->Path() + "/" + name; }
  void Write(const std::string& name, const std::vector<TVectorRecord>& records) const {
    WriteVectorFile(Host(name), records);
  }
  std::string Bytes(const std::string& name) const { return ReadHostFile(Host(name)); }
  std::vector<TVectorRecord> Read(const std::string& name) const {
    const std::string bytes = Bytes(name);
    std::vector<TVectorRecord> records(bytes.size() / 13);
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * 13);
    return records;
  }
  std::unique_ptr<TWorkFolder> work_;
};

}  // namespace torvtest
