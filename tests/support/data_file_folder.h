// A work folder (support/work_folder.h) with the data file slots made ready
// and the error code cleared for the length of one test; at its end the open
// slots are closed and the error code cleared before the folder goes. The
// test fixture DataFileFolderTest also empties the in-memory slots at the end
// and reads and writes the vector and point files in the folder by name.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/point_records.h"
#include "model/vector_records.h"
#include "support/host_files.h"
#include "support/work_folder.h"

namespace torvtest {

class TDataFileFolder {
 public:
  TDataFileFolder() {
    InitDataFileSlots();
    ErrorCode = 0;
  }
  ~TDataFileFolder() {
    CloseOpenDataFileSlots();
    ErrorCode = 0;
  }
  TDataFileFolder(const TDataFileFolder&) = delete;
  TDataFileFolder& operator=(const TDataFileFolder&) = delete;

  bool Entered() const { return work_.Entered(); }
  const std::string& Path() const { return work_.Path(); }

 private:
  TWorkFolder work_;
};

// Writes the 13-byte vector records to a host file.
inline void WriteVectorFile(const std::string& hostPath, const std::vector<TVectorRecord>& records) {
  std::ofstream(hostPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), static_cast<std::streamsize>(records.size() * 13));
}

class DataFileFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<TDataFileFolder>();
    folder_ = work_->Path();
    ASSERT_TRUE(work_->Entered());
  }
  void TearDown() override {
    ClearRamFileSlots();
    work_.reset();
  }
  std::string Host(const std::string& name) const { return folder_ + "/" + name; }
  std::string Journal() const { return ReadHostFile(Host("MENUREC.TXT")); }
  std::string Transcript() const { return ReadHostFile(Host("transcript.txt")); }

  void WriteVectors(const std::string& name, const std::vector<TVectorRecord>& records) const {
    WriteVectorFile(Host(name), records);
  }
  // Writes the 9-byte point records.
  void WritePoints(const std::string& name, const std::vector<TPointRecord>& records) const {
    std::ofstream(Host(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), static_cast<std::streamsize>(records.size() * 9));
  }
  std::vector<TVectorRecord> ReadVectors(const std::string& name) const {
    const std::string bytes = ReadHostFile(Host(name));
    std::vector<TVectorRecord> records(bytes.size() / 13);
    std::memcpy(records.data(), bytes.data(), records.size() * 13);
    return records;
  }
  std::vector<TPointRecord> ReadPoints(const std::string& name) const {
    const std::string bytes = ReadHostFile(Host(name));
    std::vector<TPointRecord> records(bytes.size() / 9);
    std::memcpy(records.data(), bytes.data(), records.size() * 9);
    return records;
  }

  std::string folder_;
  std::unique_ptr<TDataFileFolder> work_;
};

}  // namespace torvtest
