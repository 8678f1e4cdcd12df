// A fresh work folder with the default parameter image, the built message
// file and helpers to write and read vector files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "support/work_folder.h"
#include "support/host_files.h"

namespace pathstest {

using torvtest::ReadHostFile;

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

inline TVectorRecord Rec(uint8_t type, float x, float y, float z = 0.0f) { return TVectorRecord{type, x, y, z}; }

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    setenv("TORV_HOME", TORV_BINARY_DIR, 1);
    OpenMessageFile();
    InitDataFileSlots();
    ParamImage = new TParameterImage;
    FillParamDefaults();
    HighestLayer = 3;
    CurrentLayer = 0;
    ErrorCode = 0;
  }
  void TearDown() override {
    CloseOpenDataFileSlots();
    ClearRamFileSlots();
    CloseMessageFile();
    delete ParamImage;
    ParamImage = nullptr;
    unsetenv("TORV_HOME");
    ErrorCode = 0;
    work_.reset();
  }
  std::string Folder() const { return work_->Path(); }
  std::string Journal() const { return ReadHostFile(Folder() + "/MENUREC.TXT"); }
  std::vector<std::string> TranscriptLines() const { return Lines(ReadHostFile(Folder() + "/transcript.txt")); }
  void WriteVectors(const std::string& name, const std::vector<TVectorRecord>& records) const {
    std::ofstream out(Folder() + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  std::vector<TVectorRecord> ReadVectors(const std::string& name) const {
    const std::string bytes = ReadHostFile(Folder() + "/" + name);
    std::vector<TVectorRecord> records(bytes.size() / sizeof(TVectorRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(TVectorRecord));
    return records;
  }
  // The current layer's file, reached by the program's own name.
  static std::vector<TVectorRecord> ReadLayer() {
    std::vector<TVectorRecord> records;
    ReadVectorRecords(GetCurrentLayerFileName(), -1, records);
    return records;
  }
  static void WriteLayer(const std::vector<TVectorRecord>& records) {
    WriteVectorRecords(GetCurrentLayerFileName(), records.data(), records.size(), false);
  }

  std::unique_ptr<torvtest::TWorkFolder> work_;
};

}  // namespace pathstest
