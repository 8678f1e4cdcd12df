// File helpers: operations on whole files by name.
#include "frame/file_helpers.h"

#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/quiet_files.h"
#include "platform/files.h"

namespace {

size_t BareNameStart(const std::string& path) {
  const size_t separator = path.find_last_of("\\:");
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

// --- file helpers ------------------------------------------------------------------

void CreateEmptyFile(const std::string& name) {
  TFileRec file;
  AssignFileChecked(file, name);
  RewriteFileChecked(file, 1);
  if (file.state >= plat::kFileInput) CloseFileChecked(file);
}

int TestFileExists(const std::string& name) { return TestFileExistsQuiet(name) ? 1 : 0; }

void EnsureFileExists(const std::string& name) {
  if (TestFileExists(name) == 0) CreateEmptyFile(name);
}

bool TestFileFolderExists(const std::string& name) {
  if (name.empty()) return false;
  const std::string folder = name.substr(0, BareNameStart(name));
  if (folder.empty()) return true;  // a bare name lies in the current folder
  return plat::FolderExists(folder);
}

std::string ReplaceFileExtension(const std::string& path, const std::string& extension) {
  const size_t start = BareNameStart(path);
  const size_t point = path.find_last_of('.');
  const std::string stem = (point == std::string::npos || point < start) ? path : path.substr(0, point);
  const std::string result = stem + extension;
  return result.size() > 255 ? result.substr(0, 255) : result;
}

std::string MakeBackupName(const std::string& path) { return ReplaceFileExtension(path, ".BAK"); }

void DeleteFileIfExists(const std::string& name) {
  if (TestFileExists(name) == 0) return;
  TFileRec file;
  AssignFileChecked(file, name);
  EraseFileChecked(file);
}

void RenameFileReplacing(const std::string& oldName, const std::string& newName) { MoveFileChecked(oldName, newName); }

int32_t CountFileRecords(const std::string& name) {
  if (FindRamFileSlot(name) == 0 && !FileExistsPlain(name)) return 0;
  const TDataFileKind kind = GetDataFileKind(name);
  if (kind == 0) return 0;
  int slot = 0;
  OpenDataFileSlot(name, kind, slot, 0);
  if (slot == 0) return 0;
  const int32_t count = DataFileSlotSize(slot);
  CloseDataFileSlot(slot);
  return count;
}

int64_t GetFileByteSize(const std::string& name) { return GetFileByteSizeQuiet(name); }

bool ReadFileBytes(const std::string& name, void* buffer, int32_t count) {
  if (count < 0) return false;
  TFileRec file;
  AssignFileChecked(file, name);
  ResetFileChecked(file, 1, 0);
  if (file.state < plat::kFileInput) return false;
  const int32_t read = count > 0 ? ReadBlockLongChecked(file, buffer, count) : 0;
  CloseFileChecked(file);
  return read == count;
}
