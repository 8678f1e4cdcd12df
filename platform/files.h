// Files as the program sees them: Windows-style paths mapped onto the host,
// and Pascal-style typed, untyped and text file I/O with result numbers.
//
// Paths: backslashes separate; a bare or relative name is relative to the
// current folder; "X:\a\b" is absolute (every drive letter is the host root,
// and a host path /a/b is shown as "Z:\a\b"). Every existing component is
// found case-insensitively ("LAYER3.tmp" opens "Layer3.TMP"); a new file is
// created as spelled. Wildcards "*" and "?" match case-insensitively.
//
// I/O results (IoResult): 0 ok, 2 file not found, 3 path not found,
// 5 access denied, 100 read past end, 101 disk full / short write,
// 102 file not assigned, 103 file not open, 104 not open for input,
// 105 not open for output, 106 bad number. Operations on a file whose
// previous result was not yet fetched still run (no sticky error state);
// a failure replaces the pending number, a success leaves it in place.
// The functions "by name" below return their number and leave IoResult alone.
//
// Read-only files (no owner write bit) cannot be opened for writing,
// truncated or deleted (5), for every user including root. Likewise a
// read-only folder (no owner write bit) takes no new entry and loses none:
// creating, renaming or deleting a file or folder in it gives 5, also for
// root; its existing files can still be written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// --- paths and folders (names in the DOS code page) -----------------------
std::string HostPathOf(const std::string& dosPath);  // resolved host path
std::string DosPathOf(const std::string& hostPath);  // "/a/b" -> "Z:\a\b"
// The executable's folder, where the build puts the data files that ship
// with the program; DOS form with a trailing backslash.
std::string ExecutableFolder();
// The program folder: TORV_HOME, else the executable's folder; DOS form
// with a trailing backslash.
std::string ProgramFolder();
std::string CurrentFolder();  // DOS form with a trailing backslash
// Host path of the current folder (no trailing slash except "/"); empty until
// first used, then taken from the process. SetCurrentFolder also changes the
// process's folder so that outside programs start there.
extern std::string gCurrentHostFolder;
bool SetCurrentFolder(const std::string& dosPath);
bool WildcardMatch(const std::string& pattern, const std::string& name);
// Names between the DOS code page and the host's UTF-8: the German letters
// map to their own characters, other bytes as Latin-1; a host character
// without a DOS byte (or a broken UTF-8 sequence) becomes "?".
std::string Utf8FromDos(const std::string& dos);
std::string DosFromUtf8(const std::string& utf8);
// The result number for an errno of a call on hostPath (ENOENT gives 3 when
// the parent folder is missing, else 2).
int ResultOfErrno(int err, const std::string& hostPath);

// --- Pascal-style files ----------------------------------------------------
extern uint8_t gFileMode;  // 0 read only, 1 write only, 2 read/write (default 2)
int IoResult();            // the last result number, then reset to 0
extern int gIoResult;      // the pending result number
// The simulated free space of the disk in bytes: every write takes from it,
// and a write beyond it fails as on a full disk (101). -1 means no limit. It
// starts from the environment variable TORV_DISK_LIMIT (bytes) at the first
// write, so that scripted sessions and tests can fill the disk.
constexpr int64_t kDiskLimitUnread = -2;
extern int64_t gDiskBytesLeft;

enum TFileState : int { kFileUnassigned = 0, kFileClosed = 1, kFileInput = 2, kFileOutput = 3, kFileInOut = 4 };

struct TPasFile {
  std::string name;  // as assigned
  int state = kFileUnassigned;
  int fd = -1;
  uint32_t recSize = 128;
  bool isText = false;
  // text input buffer
  std::vector<char> buf;
  size_t bufPos = 0;
};

void Assign(TPasFile& f, const std::string& dosName);
// Typed and untyped files: open existing (mode gFileMode) / create or truncate
// (read/write). Opening an open file closes it first. Record operations on a
// text file give 103; a record size of 0 gives 106.
void Reset(TPasFile& f, uint32_t recSize);
void Rewrite(TPasFile& f, uint32_t recSize);
void Close(TPasFile& f);
// done == nullptr: a short transfer is error 100 (read) or 101 (write);
// with done it is only a smaller count. A trailing partial record is not
// counted and the position stays at the start of that record.
void BlockRead(TPasFile& f, void* buffer, uint32_t count, uint32_t* done);
void BlockWrite(TPasFile& f, const void* buffer, uint32_t count, uint32_t* done);
void Seek(TPasFile& f, int64_t record);  // 0..FileSize, else 100
int64_t FilePos(TPasFile& f);
int64_t FileSize(TPasFile& f);  // in records
bool Eof(TPasFile& f);
// Puts what was written to an open file onto the disk (fsync), so that a
// crash after it cannot lose the bytes; 103 when not open.
void SyncFile(TPasFile& f);
void Truncate(TPasFile& f);     // cuts the file at the current position
void Erase(TPasFile& f);        // assigned, closed file
// Assigned, closed file; 5 when newDosName exists (a change of case only is
// allowed). The record takes the new name.
void Rename(TPasFile& f, const std::string& newDosName);

// Text files: lines end in CR LF when written; reading accepts CR LF or LF.
void ResetText(TPasFile& f);
void RewriteText(TPasFile& f);
void AppendText(TPasFile& f);
bool ReadChar(TPasFile& f, char& c);  // false at end of file (no result number)
// Reads the rest of the line (at most maxLen characters kept) and skips the line end.
void ReadLine(TPasFile& f, std::string& s, size_t maxLen = 255);
void WriteText(TPasFile& f, const std::string& s);
void WriteLine(TPasFile& f, const std::string& s);
bool EofText(TPasFile& f);

// --- files and folders by name ----------------------------------------------
enum TFileAttr : uint32_t { kAttrReadOnly = 0x01, kAttrHidden = 0x02, kAttrSysFile = 0x04, kAttrVolumeId = 0x08,
                            kAttrDirectory = 0x10, kAttrArchive = 0x20, kAttrAnyFile = 0x3F };
struct TSearchRec {
  int32_t time = -1;  // -1 marks an empty record
  int64_t size = 0;
  uint32_t attr = 0;
  std::string name;  // DOS code page
  // search state
  std::vector<std::string> pending;
  std::string folderHost;
  uint32_t mask = 0;
};
// A search of "folder\pattern", sorted by name, without "." and "..". Plain
// files are always found, folders only with kAttrDirectory in the mask,
// hidden entries only with kAttrHidden. FindFirst marks rec empty (time -1)
// first; time is the DOS packed date and time of the last change.
int FindFirst(const std::string& dosPattern, uint32_t attrMask, TSearchRec& rec);  // 0 found, 3 no folder, else 18
int FindNext(TSearchRec& rec);  // 0 found, else 18
void FindClose(TSearchRec& rec);

bool FileExists(const std::string& dosName);
bool FolderExists(const std::string& dosName);
int64_t FileSizeBytes(const std::string& dosName);  // -1 when missing
int GetFileAttr(const std::string& dosName, uint32_t& attr);  // result number
int SetFileAttr(const std::string& dosName, uint32_t attr);   // result number
// One level: 3 when the parent is missing, 5 when the name exists.
int CreateFolder(const std::string& dosName);                 // result number
int RemoveFolder(const std::string& dosName);  // empty folder; 16 for the current one
int DeleteFileByName(const std::string& dosName);
// 5 when the new name exists (a change of case only is allowed); across
// devices a file is copied and the original deleted.
int MoveFileByName(const std::string& oldDosName, const std::string& newDosName);
// Puts the file in the place of the target in one step (rename over it):
// at every moment the target name holds either the old or the new file,
// never neither. A read-only target or a target folder is refused (5); both
// names must be in the same folder tree of one device (17 otherwise). The
// folder entry is put on the disk afterwards.
int ReplaceFileByName(const std::string& fromDosName, const std::string& toDosName);
// True when the folder exists and is read-only (no owner write bit).
bool IsReadOnlyFolder(const std::string& dosName);
// Replaces an existing target (not a read-only one, 5); keeps permissions and
// the modification time; a failed copy leaves no target.
int CopyFileByName(const std::string& fromDosName, const std::string& toDosName);
// Free and total bytes of the drive holding the current folder (drive 0) or
// of the host root (any other drive); -1 on failure.
int64_t DiskFreeBytes(int drive);
int64_t DiskTotalBytes(int drive);

}  // namespace plat
