// The replay of the fuzz targets' seed corpus in ordinary tests: the seeds
// of a target, and a work folder prepared as the targets prepare theirs
// (headless window, settings loaded), put back when the test ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "frame/program_state.h"
#include "fuzz/fuzz_inputs.h"
#include "support/reader_state.h"
#include "support/work_folder.h"

namespace torvtest {

struct TCorpusSeed {
  std::string name;
  std::vector<uint8_t> bytes;
};

// The seeds of fuzz/corpus/<target>, in the order the folder lists them.
inline std::vector<TCorpusSeed> ReadCorpusSeeds(const std::string& target) {
  std::vector<TCorpusSeed> seeds;
  const std::filesystem::path dir = std::filesystem::path(TORV_SOURCE_DIR) / "fuzz" / "corpus" / target;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    seeds.push_back({entry.path().filename().string(),
                     std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
  }
  return seeds;
}

// With programFolder the folder is the program folder too (TORV_HOME), for
// the readers of the files that stand beside the program.
class TFuzzReaderFolder {
 public:
  explicit TFuzzReaderFolder(bool programFolder = false) : programFolder_(programFolder) {
    if (!work_.Entered()) return;
    savedProgramFolder_ = ProgramFolderName;
    savedDataFolder_ = DataFolderName;
    if (programFolder_ && !fuzzinput::EnterScratchProgramFolder(work_.Path())) return;
    fuzzinput::PrepareReaders();
    entered_ = true;
  }
  ~TFuzzReaderFolder() {
    ResetReaderState();
    if (!programFolder_) return;
    unsetenv("TORV_HOME");
    ProgramFolderName = savedProgramFolder_;
    DataFolderName = savedDataFolder_;
  }
  TFuzzReaderFolder(const TFuzzReaderFolder&) = delete;
  TFuzzReaderFolder& operator=(const TFuzzReaderFolder&) = delete;

  bool Entered() const { return entered_; }
  const std::string& Path() const { return work_.Path(); }

 private:
  TWorkFolder work_;
  bool programFolder_;
  bool entered_ = false;
  std::string savedProgramFolder_;
  std::string savedDataFolder_;
};

}  // namespace torvtest
