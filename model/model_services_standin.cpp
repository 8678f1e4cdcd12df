// TEMPORARY STAND-IN: see model_services_standin.h.
#include "model/model_services_standin.h"

#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/system_services.h"

bool StoreHoldsData = false;
bool StoreParked = false;

namespace {
void EmptyFile(const std::string& name) {
  TFileRec f;
  AssignFileChecked(f, name);
  RewriteFileChecked(f, 1);
  CloseFileChecked(f);
}

// Appends the bytes of source to target; false when anything failed.
bool AppendFileBytes(const std::string& source, const std::string& target) {
  TFileRec in, out;
  AssignFileChecked(in, source);
  ResetFileChecked(in, 1, 0);
  if (ErrorCode != 0) return false;
  AssignFileChecked(out, target);
  if (TestPlainFileExists(target)) ResetFileChecked(out, 1, 2);
  else RewriteFileChecked(out, 1);
  if (ErrorCode != 0) {
    CloseFileChecked(in);
    return false;
  }
  plat::Seek(out, plat::FileSize(out));
  std::vector<uint8_t> buffer(65000);
  bool ok = true;
  for (;;) {
    uint16_t n = ReadBlockChecked(in, buffer.data(), uint16_t(buffer.size()));
    if (n == 0) break;
    if (WriteBlockChecked(out, buffer.data(), n) != n) {
      ok = false;
      break;
    }
  }
  CloseFileChecked(out);
  CloseFileChecked(in);
  return ok && ErrorCode == 0;
}
}  // namespace

void ClearVectorStore() {
  EmptyFile(kVectorStoreName);
  StoreHoldsData = false;
}

void FlushVectorStoreIntoFile(const std::string& name) {
  if (plat::FileSizeBytes(kVectorStoreName) <= 0) return;
  // Empty the store only when its records reached the file.
  if (AppendFileBytes(kVectorStoreName, name)) ClearVectorStore();
}

void LoadStoreFromScratchFile() {
  TFileRec f;
  AssignFileChecked(f, kVectorStoreName);
  RewriteFileChecked(f, 1);
  CloseFileChecked(f);
  if (AppendFileBytes(kScratchStoreName, kVectorStoreName)) {
    StoreParked = false;
    StoreHoldsData = plat::FileSizeBytes(kVectorStoreName) >= 13;
  }
}

void ReleaseUndoSlots() {}

void TakeUndoSnapshot(int) {}

void CreateClipboardFile() { EmptyFile(kClipboardFileName); }

