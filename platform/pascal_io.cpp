// Pascal-style files on POSIX descriptors: typed and untyped record files,
// text files, and the operations on files and folders by name.
//
// Sections: result numbers - opening and closing - record transfer and
// position - text files - erase and rename - files and folders by name.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/files.h"

namespace plat {

uint8_t gFileMode = 2;
int gIoResult = 0;
int64_t gDiskBytesLeft = kDiskLimitUnread;

// --- result numbers ------------------------------------------------------------

int IoResult() {
  int r = gIoResult;
  gIoResult = 0;
  return r;
}

namespace {

void Fail(int result) {
  if (result != 0) gIoResult = result;
}

bool IsOpenState(int state) { return state == kFileInput || state == kFileOutput || state == kFileInOut; }

// 0 when f is assigned, else 102 (also for a record that was never set up).
int AssignedCheck(const TPasFile& f) {
  return (f.state == kFileClosed || IsOpenState(f.state)) ? 0 : 102;
}

// 0 when f is an open record (non-text) file.
int RecordFileCheck(const TPasFile& f) {
  if (int r = AssignedCheck(f)) return r;
  if (!IsOpenState(f.state) || f.fd < 0 || f.isText || f.recSize == 0) return 103;
  return 0;
}

bool IsReadOnly(const struct stat& st) { return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0; }

std::string ParentOf(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : hostPath.substr(0, slash);
}

// A folder without the owner write bit takes no new entry and loses none.
// The host lets root through; the program refuses it for every user alike.
bool IsReadOnlyHostFolder(const std::string& folder) {
  struct stat st;
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

// True when the entry hostPath may not be made, renamed or removed.
bool IsEntryRefused(const std::string& hostPath) { return IsReadOnlyHostFolder(ParentOf(hostPath)); }

// --- opening and closing ---------------------------------------------------------

void DropDescriptor(TPasFile& f) {
  if (f.fd >= 0) close(f.fd);
  f.fd = -1;
  f.buf.clear();
  f.bufPos = 0;
}

enum TOpenKind { kOpenExisting, kOpenCreate, kOpenAppend };

// Opens f's file with the access flags (O_RDONLY, O_WRONLY or O_RDWR);
// the result number, 0 on success.
int OpenPasFile(TPasFile& f, int access, TOpenKind kind, int newState, uint32_t recSize, bool isText) {
  if (int r = AssignedCheck(f)) return r;
  if (IsOpenState(f.state)) DropDescriptor(f);  // reopening closes first
  f.state = kFileClosed;
  f.isText = isText;
  f.buf.clear();
  f.bufPos = 0;
  if (recSize == 0) return 106;
  if (f.name.empty()) return 2;
  const std::string host = HostPathOf(f.name);
  struct stat st;
  const bool exists = stat(host.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return 5;
  if (exists && access != O_RDONLY && IsReadOnly(st)) return 5;
  if (!exists && kind == kOpenCreate && IsEntryRefused(host)) return 5;
  int flags = access | O_CLOEXEC;
  if (kind == kOpenCreate) flags |= O_CREAT | O_TRUNC;
  int fd = open(host.c_str(), flags, 0666);
  if (fd < 0) return ResultOfErrno(errno, host);
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    return 5;
  }
  if (kind == kOpenAppend && lseek(fd, 0, SEEK_END) < 0) {
    int err = errno;
    close(fd);
    return ResultOfErrno(err, host);
  }
  f.fd = fd;
  f.recSize = recSize;
  f.state = newState;
  return 0;
}

}  // namespace

void Assign(TPasFile& f, const std::string& dosName) {
  if (IsOpenState(f.state)) DropDescriptor(f);
  f.name = dosName;
  f.state = kFileClosed;
  f.fd = -1;
  f.recSize = 128;
  f.isText = false;
  f.buf.clear();
  f.bufPos = 0;
}

void Reset(TPasFile& f, uint32_t recSize) {
  int access = O_RDWR, state = kFileInOut;
  switch (gFileMode & 3) {
    case 0: access = O_RDONLY; state = kFileInput; break;
    case 1: access = O_WRONLY; state = kFileOutput; break;
    default: break;
  }
  Fail(OpenPasFile(f, access, kOpenExisting, state, recSize, false));
}

void Rewrite(TPasFile& f, uint32_t recSize) { Fail(OpenPasFile(f, O_RDWR, kOpenCreate, kFileInOut, recSize, false)); }

void Close(TPasFile& f) {
  if (int r = AssignedCheck(f)) return Fail(r);
  if (!IsOpenState(f.state)) return Fail(103);
  int fd = f.fd;
  f.fd = -1;
  f.state = kFileClosed;
  f.buf.clear();
  f.bufPos = 0;
  if (fd >= 0 && close(fd) != 0 && errno != EINTR) Fail(ResultOfErrno(errno, std::string()));
}

// --- record transfer and position -------------------------------------------------

namespace {

bool IsShortWriteErrno(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG; }

// write(2) under the simulated disk size: once gDiskBytesLeft is used up the
// disk is full (ENOSPC), as a real one would be mid-write.
ssize_t WriteLimited(int fd, const void* bytes, size_t count) {
  if (gDiskBytesLeft == kDiskLimitUnread) {
    const char* limit = getenv("TORV_DISK_LIMIT");
    gDiskBytesLeft = (limit != nullptr && *limit != 0) ? std::max<int64_t>(0, strtoll(limit, nullptr, 10)) : -1;
  }
  if (gDiskBytesLeft >= 0) {
    if (gDiskBytesLeft == 0 && count > 0) {
      errno = ENOSPC;
      return -1;
    }
    count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), gDiskBytesLeft));
  }
  const ssize_t n = write(fd, bytes, count);
  if (n > 0 && gDiskBytesLeft >= 0) gDiskBytesLeft -= n;
  return n;
}

// Puts the position back to the start of a partly transferred record.
void BackToRecordStart(TPasFile& f, uint64_t bytes) {
  uint64_t rest = bytes % f.recSize;
  if (rest != 0) lseek(f.fd, -static_cast<off_t>(rest), SEEK_CUR);
}

}  // namespace

void BlockRead(TPasFile& f, void* buffer, uint32_t count, uint32_t* done) {
  if (done != nullptr) *done = 0;
  int check = RecordFileCheck(f);
  if (check == 0 && f.state == kFileOutput) check = 104;
  if (check != 0) return Fail(check);
  const uint64_t want = buffer == nullptr ? 0 : static_cast<uint64_t>(count) * f.recSize;
  char* p = static_cast<char*>(buffer);
  uint64_t got = 0;
  int err = 0;
  while (got < want) {
    size_t chunk = static_cast<size_t>(std::min<uint64_t>(want - got, 1u << 30));
    ssize_t n = read(f.fd, p + got, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    got += static_cast<uint64_t>(n);
  }
  BackToRecordStart(f, got);
  const uint32_t records = static_cast<uint32_t>(got / f.recSize);
  if (done != nullptr) *done = records;
  if (err != 0)
    Fail(ResultOfErrno(err, std::string()));
  else if (records < count && done == nullptr)
    Fail(100);
}

void BlockWrite(TPasFile& f, const void* buffer, uint32_t count, uint32_t* done) {
  if (done != nullptr) *done = 0;
  int check = RecordFileCheck(f);
  if (check == 0 && f.state == kFileInput) check = 105;
  if (check != 0) return Fail(check);
  const uint64_t want = buffer == nullptr ? 0 : static_cast<uint64_t>(count) * f.recSize;
  const char* p = static_cast<const char*>(buffer);
  uint64_t put = 0;
  int err = 0;
  while (put < want) {
    size_t chunk = static_cast<size_t>(std::min<uint64_t>(want - put, 1u << 30));
    ssize_t n = WriteLimited(f.fd, p + put, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    put += static_cast<uint64_t>(n);
  }
  BackToRecordStart(f, put);
  const uint32_t records = static_cast<uint32_t>(put / f.recSize);
  if (done != nullptr) *done = records;
  if (err != 0 && !IsShortWriteErrno(err))
    Fail(ResultOfErrno(err, std::string()));
  else if (records < count && done == nullptr)
    Fail(101);
}

namespace {

// Size in bytes of the open file, -1 on failure (result number set).
int64_t ByteSize(TPasFile& f) {
  struct stat st;
  if (fstat(f.fd, &st) != 0) {
    Fail(ResultOfErrno(errno, std::string()));
    return -1;
  }
  return static_cast<int64_t>(st.st_size);
}

int64_t BytePos(TPasFile& f) {
  off_t pos = lseek(f.fd, 0, SEEK_CUR);
  if (pos < 0) {
    Fail(ResultOfErrno(errno, std::string()));
    return -1;
  }
  return static_cast<int64_t>(pos);
}

}  // namespace

void Seek(TPasFile& f, int64_t record) {
  if (int r = RecordFileCheck(f)) return Fail(r);
  int64_t size = ByteSize(f);
  if (size < 0) return;
  if (record < 0 || record > size / f.recSize) return Fail(100);
  if (lseek(f.fd, static_cast<off_t>(record * f.recSize), SEEK_SET) < 0) Fail(ResultOfErrno(errno, std::string()));
}

int64_t FilePos(TPasFile& f) {
  if (int r = RecordFileCheck(f)) {
    Fail(r);
    return 0;
  }
  int64_t pos = BytePos(f);
  return pos < 0 ? 0 : pos / f.recSize;
}

int64_t FileSize(TPasFile& f) {
  if (int r = RecordFileCheck(f)) {
    Fail(r);
    return 0;
  }
  int64_t size = ByteSize(f);
  return size < 0 ? 0 : size / f.recSize;
}

bool Eof(TPasFile& f) {
  if (int r = RecordFileCheck(f)) {
    Fail(r);
    return true;
  }
  int64_t pos = BytePos(f), size = ByteSize(f);
  if (pos < 0 || size < 0) return true;
  return pos / f.recSize >= size / f.recSize;
}

void Truncate(TPasFile& f) {
  int check = RecordFileCheck(f);
  if (check == 0 && f.state == kFileInput) check = 105;
  if (check != 0) return Fail(check);
  int64_t pos = BytePos(f);
  if (pos < 0) return;
  if (ftruncate(f.fd, static_cast<off_t>(pos)) != 0) Fail(ResultOfErrno(errno, std::string()));
}

void SyncFile(TPasFile& f) {
  if (int r = AssignedCheck(f)) return Fail(r);
  if (!IsOpenState(f.state) || f.fd < 0) return Fail(103);
  if (fsync(f.fd) == 0) return;
  const int err = errno;
  if (err == EINVAL || err == EROFS) return;  // a device or pipe: nothing waits to be put on a disk
  Fail(IsShortWriteErrno(err) ? 101 : ResultOfErrno(err, std::string()));
}

// --- text files --------------------------------------------------------------------

void ResetText(TPasFile& f) { Fail(OpenPasFile(f, O_RDONLY, kOpenExisting, kFileInput, 1, true)); }

void RewriteText(TPasFile& f) { Fail(OpenPasFile(f, O_WRONLY, kOpenCreate, kFileOutput, 1, true)); }

void AppendText(TPasFile& f) { Fail(OpenPasFile(f, O_WRONLY, kOpenAppend, kFileOutput, 1, true)); }

namespace {

constexpr size_t kTextChunk = 4096;

// 0 when f is a text file open for reading; else its result number.
int TextInputCheck(const TPasFile& f) {
  if (int r = AssignedCheck(f)) return r;
  if (!IsOpenState(f.state) || f.fd < 0) return 103;
  if (!f.isText || f.state != kFileInput) return 104;
  return 0;
}

int TextOutputCheck(const TPasFile& f) {
  if (int r = AssignedCheck(f)) return r;
  if (!IsOpenState(f.state) || f.fd < 0) return 103;
  if (!f.isText || f.state != kFileOutput) return 105;
  return 0;
}

// Makes at least one unread character available; false at end of file.
bool FillText(TPasFile& f) {
  if (f.bufPos < f.buf.size()) return true;
  f.buf.resize(kTextChunk);
  f.bufPos = 0;
  ssize_t n;
  do {
    n = read(f.fd, f.buf.data(), kTextChunk);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    Fail(ResultOfErrno(errno, std::string()));
    n = 0;
  }
  f.buf.resize(static_cast<size_t>(n));
  return n > 0;
}

void WriteBytes(TPasFile& f, const std::string& s) {
  size_t put = 0;
  while (put < s.size()) {
    ssize_t n = WriteLimited(f.fd, s.data() + put, s.size() - put);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(IsShortWriteErrno(errno) ? 101 : ResultOfErrno(errno, std::string()));
    }
    if (n == 0) return Fail(101);
    put += static_cast<size_t>(n);
  }
}

}  // namespace

bool ReadChar(TPasFile& f, char& c) {
  if (int r = TextInputCheck(f)) {
    Fail(r);
    return false;
  }
  if (!FillText(f)) return false;
  c = f.buf[f.bufPos++];
  return true;
}

void ReadLine(TPasFile& f, std::string& s, size_t maxLen) {
  s.clear();
  if (int r = TextInputCheck(f)) return Fail(r);
  while (FillText(f)) {
    char c = f.buf[f.bufPos++];
    if (c == '\n') return;
    if (c == '\r') {
      if (FillText(f) && f.buf[f.bufPos] == '\n') f.bufPos++;
      return;
    }
    if (s.size() < maxLen) s += c;
  }
}

void WriteText(TPasFile& f, const std::string& s) {
  if (int r = TextOutputCheck(f)) return Fail(r);
  WriteBytes(f, s);
}

void WriteLine(TPasFile& f, const std::string& s) {
  if (int r = TextOutputCheck(f)) return Fail(r);
  WriteBytes(f, s + "\r\n");
}

bool EofText(TPasFile& f) {
  if (int r = TextInputCheck(f)) {
    Fail(r);
    return true;
  }
  return !FillText(f);
}

// --- erase and rename ------------------------------------------------------------------

namespace {

// Deletes a plain file: 2/3 when missing, 5 for a folder or a read-only file.
int DeleteHostFile(const std::string& host) {
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return ResultOfErrno(errno, host);
  if (S_ISDIR(st.st_mode) || IsReadOnly(st) || IsEntryRefused(host)) return 5;
  if (unlink(host.c_str()) != 0) return ResultOfErrno(errno, host);
  return 0;
}

// Copies a plain file's bytes, permissions and modification time; a failed
// copy leaves no target behind. The target must not be the source.
int CopyHostFile(const std::string& from, const std::string& to) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return ResultOfErrno(errno, from);
  struct stat st;
  if (fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(in);
    return 5;
  }
  struct stat ts;
  if (stat(to.c_str(), &ts) == 0) {
    if ((ts.st_dev == st.st_dev && ts.st_ino == st.st_ino) || S_ISDIR(ts.st_mode) || IsReadOnly(ts)) {
      close(in);
      return 5;
    }
  } else if (IsEntryRefused(to)) {
    close(in);
    return 5;
  }
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    int err = errno;
    close(in);
    return ResultOfErrno(err, to);
  }
  std::vector<char> buf(65536);
  int result = 0;
  for (;;) {
    ssize_t n = read(in, buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      result = ResultOfErrno(errno, std::string());
      break;
    }
    if (n == 0) break;
    ssize_t put = 0;
    while (put < n) {
      ssize_t w = WriteLimited(out, buf.data() + put, static_cast<size_t>(n - put));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        result = (w == 0 || IsShortWriteErrno(errno)) ? 101 : ResultOfErrno(errno, std::string());
        break;
      }
      put += w;
    }
    if (result != 0) break;
  }
  close(in);
  if (result == 0) {
    fchmod(out, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(out, times);
  }
  if (close(out) != 0 && result == 0) result = IsShortWriteErrno(errno) ? 101 : ResultOfErrno(errno, std::string());
  if (result != 0) unlink(to.c_str());
  return result;
}

// Renames the host file (or folder) to the DOS name; an existing target is
// refused (5) unless it is the same entry in another case. With allowCopy a
// plain file is copied and deleted when the target is on another device.
int RenameHost(const std::string& from, const std::string& newDosName, bool allowCopy) {
  struct stat st;
  if (lstat(from.c_str(), &st) != 0) return ResultOfErrno(errno, from);
  if (newDosName.empty()) return 2;
  std::string to = HostPathOf(newDosName);
  struct stat ts;
  if (lstat(to.c_str(), &ts) == 0) {
    if (ts.st_dev != st.st_dev || ts.st_ino != st.st_ino) return 5;
    // The same entry under another case: rename to the name as spelled.
    size_t cut = newDosName.find_last_of("\\/");
    std::string spelled = Utf8FromDos(cut == std::string::npos ? newDosName : newDosName.substr(cut + 1));
    if (spelled.empty() || spelled == "." || spelled == "..") return 5;
    const std::string folder = ParentOf(to);
    to = folder + (folder == "/" ? "" : "/") + spelled;
    if (to == from) return 0;
    if (lstat(to.c_str(), &ts) == 0) return 5;  // another link of the same file
  }
  if (IsEntryRefused(from) || IsEntryRefused(to)) return 5;
  if (rename(from.c_str(), to.c_str()) == 0) return 0;
  int err = errno;
  if (err != EXDEV || !allowCopy || !S_ISREG(st.st_mode)) return ResultOfErrno(err, to);
  if (int r = CopyHostFile(from, to)) return r;
  if (unlink(from.c_str()) != 0) {
    int uerr = errno;
    unlink(to.c_str());  // keep one file, never two
    return ResultOfErrno(uerr, from);
  }
  return 0;
}

}  // namespace

void Erase(TPasFile& f) {
  if (int r = AssignedCheck(f)) return Fail(r);
  if (IsOpenState(f.state)) return Fail(5);
  if (f.name.empty()) return Fail(2);
  Fail(DeleteHostFile(HostPathOf(f.name)));
}

void Rename(TPasFile& f, const std::string& newDosName) {
  if (int r = AssignedCheck(f)) return Fail(r);
  if (IsOpenState(f.state)) return Fail(5);
  if (f.name.empty()) return Fail(2);
  int r = RenameHost(HostPathOf(f.name), newDosName, false);
  if (r == 0)
    f.name = newDosName;
  else
    Fail(r);
}

// --- files and folders by name -------------------------------------------------------------

int CreateFolder(const std::string& dosName) {
  if (dosName.empty()) return 3;
  const std::string host = HostPathOf(dosName);
  struct stat st;
  if (lstat(host.c_str(), &st) == 0) return 5;
  if (stat(ParentOf(host).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 3;
  if (IsEntryRefused(host)) return 5;
  if (mkdir(host.c_str(), 0777) != 0) return ResultOfErrno(errno, host);
  return 0;
}

int RemoveFolder(const std::string& dosName) {
  if (dosName.empty()) return 3;
  const std::string host = HostPathOf(dosName);
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return 3;
  if (!S_ISDIR(st.st_mode)) return 5;
  struct stat cur;
  const char* current = gCurrentHostFolder.empty() ? "." : gCurrentHostFolder.c_str();
  if (stat(current, &cur) == 0 && cur.st_dev == st.st_dev && cur.st_ino == st.st_ino) return 16;  // it stays
  if (IsEntryRefused(host)) return 5;
  if (rmdir(host.c_str()) != 0) return ResultOfErrno(errno, host);
  return 0;
}

int DeleteFileByName(const std::string& dosName) {
  if (dosName.empty()) return 2;
  return DeleteHostFile(HostPathOf(dosName));
}

int MoveFileByName(const std::string& oldDosName, const std::string& newDosName) {
  if (oldDosName.empty()) return 2;
  return RenameHost(HostPathOf(oldDosName), newDosName, true);
}

namespace {

// Puts a folder's entries on the disk; a file system that cannot (EINVAL)
// has nothing waiting.
void SyncHostFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int ReplaceFileByName(const std::string& fromDosName, const std::string& toDosName) {
  if (fromDosName.empty()) return 2;
  if (toDosName.empty()) return 3;
  const std::string from = HostPathOf(fromDosName);
  const std::string to = HostPathOf(toDosName);
  struct stat st;
  if (lstat(from.c_str(), &st) != 0) return ResultOfErrno(errno, from);
  if (!S_ISREG(st.st_mode)) return 5;
  struct stat ts;
  if (lstat(to.c_str(), &ts) == 0) {
    if (S_ISDIR(ts.st_mode) || IsReadOnly(ts)) return 5;
    if (ts.st_dev == st.st_dev && ts.st_ino == st.st_ino) return 5;  // two names of one file
  }
  if (IsEntryRefused(from) || IsEntryRefused(to)) return 5;
  // rename(2) swaps the entry in one step; the target is never deleted first.
  if (rename(from.c_str(), to.c_str()) != 0) return ResultOfErrno(errno, to);
  SyncHostFolder(ParentOf(to));
  if (ParentOf(from) != ParentOf(to)) SyncHostFolder(ParentOf(from));
  return 0;
}

bool IsReadOnlyFolder(const std::string& dosName) {
  if (dosName.empty()) return false;
  return IsReadOnlyHostFolder(HostPathOf(dosName));
}

int CopyFileByName(const std::string& fromDosName, const std::string& toDosName) {
  if (fromDosName.empty()) return 2;
  if (toDosName.empty()) return 3;
  return CopyHostFile(HostPathOf(fromDosName), HostPathOf(toDosName));
}

}  // namespace plat
