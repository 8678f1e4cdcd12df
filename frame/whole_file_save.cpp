// Whole-file saves: the temporary, its flush and the one-step replace, and
// the failure in words.
#include "frame/whole_file_save.h"

#include <cassert>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"

void (*SaveStepHook)(TSavePoint point) = nullptr;
int WholeFileWriteResult = 0;

namespace {

// Messages of a failed save (each a first line; the name follows).
constexpr int16_t kMsgFolderReadOnly = 4120;
constexpr int16_t kMsgDiskFull = 4121;
constexpr int16_t kMsgSaveFailed = 4122;
constexpr int16_t kMsgIoError = 4123;

// The checked wrapper's code and journal word for each step.
struct TStepReport {
  TSaveStep step;
  TErrorCode code;
  const char* word;
};
constexpr TStepReport kStepReports[] = {
    {kSaveStepNone, 0, ""},         {kSaveStepCreate, 1008, "Rewrite"}, {kSaveStepWrite, 1011, "BlockWrite"},
    {kSaveStepFlush, 1011, "Flush"}, {kSaveStepClose, 1004, "Close"},    {kSaveStepCheck, 1011, "Check"},
    {kSaveStepReplace, 1006, "ReName"},
};

void CallHook(TSavePoint point) {
  if (SaveStepHook != nullptr) SaveStepHook(point);
}

bool IsOpen(const plat::TPasFile& f) { return f.state >= plat::kFileInput; }

// The folder the temporary lives in, DOS form with its backslash.
std::string FolderOfName(const std::string& name) {
  const size_t cut = name.find_last_of("\\:");
  return cut == std::string::npos ? plat::CurrentFolder() : name.substr(0, cut + 1);
}

}  // namespace

bool BeginWholeFileSave(TWholeFileSave& s, const std::string& target, const std::string& temp) {
  assert(!target.empty() && temp != target);
  s.target = target;
  s.temp = temp;
  s.failedStep = kSaveStepNone;
  s.result = 0;
  WholeFileWriteResult = 0;
  plat::IoResult();
  plat::Assign(s.file, temp);
  plat::Rewrite(s.file, 1);
  const int result = plat::IoResult();
  if (result != 0 || !IsOpen(s.file)) {
    AbandonWholeFileSave(s, kSaveStepCreate, result != 0 ? result : 5);
    return false;
  }
  return true;
}

void WriteWholeFileBlock(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  count = 0;
  plat::BlockWrite(f, buffer, n, &count);
  int result = plat::IoResult();
  if (result == 0 && count < n) result = 101;  // short: the disk is full
  if (result != 0) {
    WholeFileWriteResult = result;
    if (count == n) count = 0;
    return;
  }
  if (n > 0) CallHook(kSavePartWritten);
}

bool PutWholeFileBytes(TWholeFileSave& s, const void* bytes, uint32_t count) {
  if (s.failedStep != kSaveStepNone) return false;
  uint32_t done = 0;
  WriteWholeFileBlock(s.file, bytes, count, done);
  if (done == count) return true;
  AbandonWholeFileSave(s, kSaveStepWrite, WholeFileWriteResult != 0 ? WholeFileWriteResult : 101);
  return false;
}

bool PutWholeFileBytesAt(TWholeFileSave& s, int64_t offset, const void* bytes, uint32_t count) {
  if (s.failedStep != kSaveStepNone) return false;
  plat::Seek(s.file, offset);
  if (const int result = plat::IoResult()) {
    AbandonWholeFileSave(s, kSaveStepWrite, result);
    return false;
  }
  return PutWholeFileBytes(s, bytes, count);
}

bool CloseWholeFileSave(TWholeFileSave& s, bool written) {
  if (s.failedStep != kSaveStepNone) return false;
  if (!written) {
    AbandonWholeFileSave(s, kSaveStepWrite, WholeFileWriteResult);
    return false;
  }
  plat::SyncFile(s.file);
  if (const int result = plat::IoResult()) {
    AbandonWholeFileSave(s, kSaveStepFlush, result);
    return false;
  }
  CallHook(kSaveFlushed);
  plat::Close(s.file);
  if (const int result = plat::IoResult()) {
    AbandonWholeFileSave(s, kSaveStepClose, result);
    return false;
  }
  return true;
}

bool CommitWholeFileSave(TWholeFileSave& s) {
  if (s.failedStep != kSaveStepNone) return false;
  CallHook(kSaveBeforeRename);
  if (const int result = plat::ReplaceFileByName(s.temp, s.target)) {
    AbandonWholeFileSave(s, kSaveStepReplace, result);
    return false;
  }
  CallHook(kSaveAfterRename);
  return true;
}

bool FinishWholeFileSave(TWholeFileSave& s, bool written) {
  return CloseWholeFileSave(s, written) && CommitWholeFileSave(s);
}

void AbandonWholeFileSave(TWholeFileSave& s, TSaveStep step, int result) {
  assert(step != kSaveStepNone);
  if (IsOpen(s.file)) plat::Close(s.file);
  plat::IoResult();
  if (step != kSaveStepCreate) plat::DeleteFileByName(s.temp);
  if (s.failedStep != kSaveStepNone) return;  // the first failure is the one to tell
  s.failedStep = step;
  s.result = result;
  const TStepReport& report = kStepReports[step];
  assert(report.step == step);
  ErrorCode = report.code;
  // In the words of the checked wrapper of the step.
  const std::string call = step == kSaveStepReplace ? "ReNameFile(" + s.temp + "," + s.target + ")"
                                                    : std::string(report.word) + "() " + s.temp;
  WriteJournalLine(0, "\" -> " + call + " IOResult " + std::to_string(result));
}

// --- telling the user ---------------------------------------------------------------

std::string DescribeSaveCause(const TWholeFileSave& s) {
  const std::string folder = FolderOfName(s.temp);
  if (s.result == 5 && plat::IsReadOnlyFolder(folder))
    return GetMessageText(kMsgFolderReadOnly, -39) + "\r\n" + folder;
  if (s.result == 101) return GetMessageText(kMsgDiskFull, -39) + "\r\n" + s.target;
  return std::string();
}

std::string DescribeSaveFailure(const TWholeFileSave& s) {
  const std::string cause = DescribeSaveCause(s);
  if (!cause.empty()) return cause;
  std::string text = GetMessageText(kMsgSaveFailed, -39) + "\r\n" + s.target;
  if (s.result != 0) text += "\r\n" + GetMessageText(kMsgIoError, -39) + " " + std::to_string(s.result);
  return text;
}

void ShowWholeFileSaveFailure(const TWholeFileSave& s) { ShowTitledMessage(DescribeSaveFailure(s)); }
