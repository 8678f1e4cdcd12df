// Shared set-up of the drawing file tests: a work folder with the headless
// window, the parameter image and a few file helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_records.h"
#include "platform/window.h"
#include "support/app_hooks.h"
#include "support/reader_state.h"
#include "support/work_folder.h"

namespace drawtest {

class DrawingFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    // The empty script closes the window once used up: as during a command,
    // the close only raises the request.
    CommandRunning = true;
    InitDataFileSlots();
    LoadParamFile();
    ASSERT_NE(ParamImage, nullptr);
    ErrorCode = 0;
    HighestLayer = 3;
    CurrentLayer = 0;
    for (int n = 0; n <= HighestLayer; ++n) WriteFile(BuildLayerFileName(n), "");
  }
  void TearDown() override {
    CloseOpenDataFileSlots();
    torvtest::ResetReaderState();
    work_.reset();
  }
  // Program names may carry the folder ("Z:\\...\\Layer0.TMP"): the bare name is used.
  std::string Host(const std::string& name) const {
    const size_t slash = name.find_last_of('\\');
    return work_->Path() + "/" + (slash == std::string::npos ? name : name.substr(slash + 1));
  }
  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(Host(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(Host(name)); }

  std::unique_ptr<torvtest::TWorkFolder> work_;
};

inline TVectorRecord Rec(uint8_t type, float x, float y, float z = 0) { return TVectorRecord{type, x, y, z}; }

inline std::string Bytes(const std::vector<TVectorRecord>& records) {
  return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(TVectorRecord));
}

inline std::vector<TVectorRecord> Records(const std::string& bytes) {
  std::vector<TVectorRecord> out(bytes.size() / sizeof(TVectorRecord));
  if (!out.empty()) memcpy(out.data(), bytes.data(), out.size() * sizeof(TVectorRecord));
  return out;
}

}  // namespace drawtest
