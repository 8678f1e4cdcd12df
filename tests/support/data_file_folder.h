// A work folder (support/work_folder.h) with the data file slots made ready
// and the error code cleared for the length of one test; at its end the open
// slots are closed and the error code cleared before the folder goes.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "model/vector_records.h"
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

}  // namespace torvtest
