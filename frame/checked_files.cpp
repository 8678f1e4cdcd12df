// Checked file access and the command journal.
//
// Sections: reporting - the wrappers - text lines - the journal.
#include "frame/checked_files.h"

#include "frame/defaults.h"
#include "frame/window_draw.h"

namespace {

// Set while the journal itself is being opened and written: failures there
// are reported on screen only, never journalled again.
bool JournalBusy = false;

// The wrapper's own failure: its code and its journal line.
void FailWrapper(TErrorCode code, const std::string& text) {
  ErrorCode = code;
  WriteJournalLine(0, "\"" + text);
}

// Screen and journal report of a non-zero result number.
void ReportIoResult(int result) {
  SetDrawColorAndMode(13, 12);
  DrawScreenText(8, 20, "IOResult:" + std::to_string(result));
  WriteJournalLine(0, "IOResult " + std::to_string(result));
}

// Result of an operation by name that returns its number; a number left
// pending by it counts as well.
int CheckByNameResult(int result) {
  int pending = plat::IoResult();
  if (result == 0) result = pending;
  if (result != 0) ReportIoResult(result);
  return result;
}

}  // namespace

// --- reporting ----------------------------------------------------------------------

int CheckIoResult() {
  int result = plat::IoResult();
  if (result != 0) ReportIoResult(result);
  return result;
}

// --- the wrappers ---------------------------------------------------------------------

void AssignFileChecked(TFileRec& f, const std::string& name) {
  if (name.empty()) {
    ErrorCode = 1007;
    WriteJournalLine(0, "Assign(\"leer\")");
    return;
  }
  const std::string cut = name.size() > 255 ? name.substr(0, 255) : name;
  plat::Assign(f, cut);
  if (CheckIoResult() != 0) FailWrapper(1004, " -> Assign() " + cut);
}

void ResetFileChecked(TFileRec& f, uint32_t recSize, uint8_t fileMode) {
  plat::gFileMode = fileMode;
  plat::Reset(f, recSize);
  plat::gFileMode = 2;
  if (CheckIoResult() != 0) FailWrapper(1001, " -> Reset()");
}

void RewriteFileChecked(TFileRec& f, uint32_t recSize) {
  plat::Rewrite(f, recSize);
  if (CheckIoResult() != 0) FailWrapper(1008, " -> Rewrite()");
}

int ResetTextChecked(TFileRec& f) {
  plat::gFileMode = 0;
  plat::ResetText(f);
  plat::gFileMode = 2;
  if (CheckIoResult() != 0) {
    FailWrapper(1003, " -> ResetTX()");
    return 0;
  }
  return 1;
}

void RewriteTextChecked(TFileRec& f) {
  plat::RewriteText(f);
  if (CheckIoResult() != 0) FailWrapper(1002, " -> RewriteT()");
}

void CloseFileChecked(TFileRec& f) {
  plat::Close(f);
  if (CheckIoResult() != 0) FailWrapper(1004, " -> Close()");
}

void EraseFileChecked(TFileRec& f) {
  plat::Erase(f);
  if (CheckIoResult() != 0) FailWrapper(1005, " -> Erase()");
}

void RenameFileChecked(TFileRec& f, const std::string& newName) {
  plat::Rename(f, newName);
  if (CheckIoResult() != 0) FailWrapper(1006, " -> ReName(" + newName + ")");
}

void MoveFileChecked(const std::string& oldName, const std::string& newName) {
  if (plat::FileExists(newName)) {
    TFileRec old;
    AssignFileChecked(old, newName);
    EraseFileChecked(old);
  }
  if (CheckByNameResult(plat::MoveFileByName(oldName, newName)) != 0)
    FailWrapper(1006, " -> ReNameFile(" + oldName + "," + newName + ")");
}

void SetFileAttrChecked(const std::string& name, uint32_t attr) {
  if (CheckByNameResult(plat::SetFileAttr(name, attr)) != 0) FailWrapper(1009, " -> SetFAttr()");
}

int32_t GetFilePosChecked(TFileRec& f) {
  int64_t pos = plat::FilePos(f);
  if (CheckIoResult() != 0) {
    FailWrapper(1010, " -> FilePos()");
    return 0;
  }
  return static_cast<int32_t>(pos);
}

int32_t GetFileSizeChecked(TFileRec& f) {
  int64_t size = plat::FileSize(f);
  if (CheckIoResult() != 0) {
    FailWrapper(1010, " -> FileSize()");
    return 0;
  }
  return static_cast<int32_t>(size);
}

uint16_t ReadBlockChecked(TFileRec& f, void* buffer, uint16_t count) {
  uint32_t done = 0;
  plat::BlockRead(f, buffer, count, &done);
  if (CheckIoResult() != 0) {
    FailWrapper(1011, " -> BlockRead()");
    return 0;
  }
  return static_cast<uint16_t>(done);
}

int32_t ReadBlockLongChecked(TFileRec& f, void* buffer, int32_t count) {
  uint32_t done = 0;
  if (count > 0) plat::BlockRead(f, buffer, static_cast<uint32_t>(count), &done);
  if (CheckIoResult() != 0) {
    FailWrapper(1011, " -> BlockRdL()");
    return 0;
  }
  return static_cast<int32_t>(done);
}

uint16_t WriteBlockChecked(TFileRec& f, const void* buffer, uint16_t count) {
  uint32_t done = 0;
  plat::BlockWrite(f, buffer, count, &done);
  if (CheckIoResult() != 0) {
    FailWrapper(1011, " -> BlockWrite()");
    return 0;
  }
  return static_cast<uint16_t>(done);
}

int32_t WriteBlockLongChecked(TFileRec& f, const void* buffer, int32_t count) {
  uint32_t done = 0;
  if (count > 0) plat::BlockWrite(f, buffer, static_cast<uint32_t>(count), &done);
  if (CheckIoResult() != 0) {
    FailWrapper(1011, " -> BlockWrL()");
    return 0;
  }
  return static_cast<int32_t>(done);
}

// --- text lines -----------------------------------------------------------------------

void ReadLineChecked(TFileRec& f, std::string& s, int maxLen) {
  const int kept = maxLen < 0 ? 0 : (maxLen > 255 ? 255 : maxLen);  // a line is a string of at most 255
  plat::ReadLine(f, s, static_cast<size_t>(kept));
  if (CheckIoResult() != 0) FailWrapper(1007, " -> ReadLn()");
}

namespace {

// Reads one line that ends at lineEnd; the other line-end character is
// dropped. Stops at the end of the file, after 255 characters, or when no
// character can be read at all (a closed file would never reach its end).
void ReadLineEndingWith(TFileRec& f, std::string& s, int maxLen, char lineEnd, char dropped) {
  s.clear();
  while (s.size() < 255) {
    if (plat::EofText(f)) {
      if (CheckIoResult() != 0) FailWrapper(1007, " -> ReadLnU()");
      break;
    }
    char c = 0;
    bool got = plat::ReadChar(f, c);
    if (CheckIoResult() != 0) FailWrapper(1007, " -> ReadLnU()");
    if (!got || c == lineEnd) break;
    if (c == dropped) continue;
    if (static_cast<int>(s.size()) < maxLen) s += c;
  }
}

}  // namespace

void ReadLfLineChecked(TFileRec& f, std::string& s, int maxLen) { ReadLineEndingWith(f, s, maxLen, '\n', '\r'); }

void ReadCrLineChecked(TFileRec& f, std::string& s, int maxLen) { ReadLineEndingWith(f, s, maxLen, '\r', '\n'); }

void ReadLineByMode(TFileRec& f, int mode, std::string& s, int maxLen) {
  if (mode == 1)
    ReadCrLineChecked(f, s, maxLen);
  else if (mode == 2)
    ReadLfLineChecked(f, s, maxLen);
  else
    ReadLineChecked(f, s, maxLen);
}

// --- the journal ------------------------------------------------------------------------

namespace {

std::string FormatJournalLine(uint16_t code, const std::string& text) {
  std::string number = std::to_string(code);
  if (number.size() < 4) number.insert(0, 4 - number.size(), '0');
  std::string line = "#" + number + " : " + text;
  if (line.size() > kJournalLineMax - 2) line.resize(kJournalLineMax - 2);
  return line + "\r\n";
}

}  // namespace

void WriteJournalLine(uint16_t code, const std::string& text) {
  if (JournalBusy) return;
  const std::string line = FormatJournalLine(code, text);
  const TErrorCode remembered = ErrorCode;
  ErrorCode = 0;
  JournalBusy = true;
  TFileRec journal;
  AssignFileChecked(journal, kJournalFileName);
  if (plat::FileExists(kJournalFileName) || plat::FolderExists(kJournalFileName))
    ResetFileChecked(journal, 1, 2);
  else
    RewriteFileChecked(journal, 1);  // a missing journal is started afresh
  if (ErrorCode == 0) {
    plat::Seek(journal, plat::FileSize(journal));
    CheckIoResult();
    WriteBlockChecked(journal, line.data(), static_cast<uint16_t>(line.size()));
    CloseFileChecked(journal);
  }
  JournalBusy = false;
  ErrorCode = remembered;
}
