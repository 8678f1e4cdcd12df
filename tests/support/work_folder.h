// A fresh temporary folder that is the current folder for the length of one
// test, with the headless window set to an empty script and a transcript in
// the folder. The previous folder comes back and the folder goes when it ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"

namespace torvtest {

class TWorkFolder {
 public:
  TWorkFolder() {
    char pattern[] = "/tmp/torv_work_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    path_ = pattern;
    std::ofstream(path_ + "/script.txt").close();
    setenv("TORV_VIDEO", "headless", 1);
    setenv("TORV_SCRIPT", (path_ + "/script.txt").c_str(), 1);
    setenv("TORV_TRANSCRIPT", (path_ + "/transcript.txt").c_str(), 1);
    previous_ = plat::CurrentFolder();
    entered_ = plat::SetCurrentFolder(plat::DosPathOf(path_));
  }
  ~TWorkFolder() {
    if (path_.empty()) return;
    plat::SetCurrentFolder(previous_);
    unsetenv("TORV_TRANSCRIPT");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TWorkFolder(const TWorkFolder&) = delete;
  TWorkFolder& operator=(const TWorkFolder&) = delete;

  bool Entered() const { return entered_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
  bool entered_ = false;
};

}  // namespace torvtest
