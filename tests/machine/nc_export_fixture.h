// The set-up of the whole-job DIN/ISO export tests: a headless program
// folder with a fixed clock, default NC settings without start position and
// park move, the NC folder pointing into the program folder, a fixture job
// written as JOB.TMP, and the export through ExportDinIso with the file
// dialog answered from the script. Goldens are compared byte for byte;
// TORV_RECORD_GOLDENS=1 writes them instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "fixtures/nc/nc_job_fixture.h"
#include "frame/param_file.h"
#include "machine/nc_export_commands.h"
#include "machine/nc_fixed_clock.h"
#include "machine/nc_settings.h"
#include "platform/files.h"
#include "tests/ui/ui_screen.h"

namespace nctest {

namespace fs = std::filesystem;

inline const fs::path kGoldenDir = fs::path(TORV_FIXTURES_DIR) / "nc";

inline std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool IsRecordingGoldens() {
  const char* record = std::getenv("TORV_RECORD_GOLDENS");
  return record != nullptr && std::string(record) == "1";
}

// Compares text with the golden file, or writes it when recording.
inline void CheckGoldenFile(const fs::path& golden, const std::string& text, const std::string& what) {
  if (IsRecordingGoldens()) {
    fs::create_directories(golden.parent_path());
    std::ofstream(golden, std::ios::binary) << text;
    return;
  }
  ASSERT_TRUE(fs::exists(golden)) << golden << " is missing (record with TORV_RECORD_GOLDENS=1)";
  EXPECT_EQ(text, ReadAll(golden)) << what << " differs from " << golden;
}

class NcExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The export line carries the date and time of the run.
    ASSERT_TRUE(FixClock());
    delete ParamImage;
    ParamImage = new TParameterImage{};
    settings_ = std::make_unique<TNcSettings>();
    MakeNcSettingsDefaults(*settings_, "C:\\");
    // No start position (the first contour start is taken) and no park
    // move: every move of the program goes to a point of the job.
    settings_->StartX = settings_->StartY = -10000.0f;
    settings_->EndX = settings_->EndY = -1.0f;
    uint8_t folder[256] = {};
    const std::string dir = plat::DosPathOf(screen_.Dir().string()) + "\\";
    folder[0] = static_cast<uint8_t>(dir.size());
    std::memcpy(folder + 1, dir.data(), dir.size());
    PutParamBlock(11, folder, sizeof folder);
    UseJob(ncfixture::BuildJob());
  }
  void TearDown() override {
    ErrorCode = 0;
    delete ParamImage;
    ParamImage = nullptr;
  }

  // Writes the job as JOB.TMP, the input of Export.
  void UseJob(const ncfixture::TJob& job) {
    job_ = job;
    ncfixture::WriteJob((screen_.Dir() / "JOB.TMP").string(), job_.records);
  }

  // Exports JOB.TMP with ExportDinIso for the dialect, the file dialog
  // answered with name and the script lines of answers taking whatever the
  // run asks next; returns the program's path (empty when none was written).
  fs::path Export(int dialect, const std::string& name = "PROG", const std::string& answers = "") {
    settings_->CurrentDialect = static_cast<int16_t>(dialect);
    StoreNcSettings(*settings_);
    CloseRequested = false;  // the close that ended the last script is over
    screen_.UseScript("text " + name + "\nkey Enter\nwait 100\n" + answers + "wait 1\n");
    ExportDinIso("JOB.TMP");
    for (const auto& e : fs::directory_iterator(screen_.Dir()))
      if (e.path().stem() == name) return e.path();
    return {};
  }

  uitest::TScreen screen_;
  std::unique_ptr<TNcSettings> settings_;
  ncfixture::TJob job_;
};

}  // namespace nctest
