// TEMPORARY STAND-IN: see model_services_standin.h.
#include "model/model_services_standin.h"

#include "frame/file_helpers.h"
#include "frame/quiet_files.h"
#include "platform/files.h"

bool StoreHoldsData = false;
bool StoreParked = false;

namespace {
// Appends the bytes of source to target; true when all of them arrived.
bool AppendFileBytes(const std::string& source, const std::string& target) {
  EnsureFileExists(target);
  int64_t before = plat::FileSizeBytes(target);
  int64_t adding = plat::FileSizeBytes(source);
  if (before < 0 || adding < 0) return false;
  CopyFileBytes(source, target, true);
  return plat::FileSizeBytes(target) == before + adding;
}
}  // namespace

void ClearVectorStore() {
  CreateEmptyFile(kVectorStoreName);
  StoreHoldsData = false;
}

void FlushVectorStoreIntoFile(const std::string& name) {
  if (plat::FileSizeBytes(kVectorStoreName) <= 0) return;
  // Empty the store only when its records reached the file.
  if (AppendFileBytes(kVectorStoreName, name)) ClearVectorStore();
}

void LoadStoreFromScratchFile() {
  CreateEmptyFile(kVectorStoreName);
  if (AppendFileBytes(kScratchStoreName, kVectorStoreName)) {
    StoreParked = false;
    StoreHoldsData = plat::FileSizeBytes(kVectorStoreName) >= 13;
  }
}

void ReleaseUndoSlots() {}

void TakeUndoSnapshot(int) {}

void CreateClipboardFile() { CreateEmptyFile(kClipboardFileName); }

