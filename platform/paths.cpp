// Windows-style names on the host: code page, path mapping with
// case-insensitive lookup, the current folder, DOS wildcards, attributes,
// directory searches and disk space.
//
// Sections: code page - path mapping - folders - wildcards - attributes and
// searches - existence and disk space.
#include "platform/files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace plat {

std::string gCurrentHostFolder;

// --- code page ----------------------------------------------------------------

namespace {

struct TCodeMap { unsigned char dos; uint32_t code; };
// The German letters of the DOS code page and their Unicode code points.
const TCodeMap kGermanLetters[] = {
    {0x81, 0xFC}, {0x84, 0xE4}, {0x8E, 0xC4}, {0x94, 0xF6}, {0x99, 0xD6}, {0x9A, 0xDC}, {0xE1, 0xDF},
};

unsigned char DosUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x81: return 0x9A;
    case 0x84: return 0x8E;
    case 0x94: return 0x99;
    default: return c;
  }
}

std::string DosUpperString(const std::string& s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(DosUpper(static_cast<unsigned char>(c)));
  return r;
}

}  // namespace

std::string Utf8FromDos(const std::string& dos) {
  std::string out;
  out.reserve(dos.size() + 8);
  for (char ch : dos) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
      continue;
    }
    uint32_t code = c;
    for (const TCodeMap& m : kGermanLetters)
      if (m.dos == c) code = m.code;
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

std::string DosFromUtf8(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  const size_t n = utf8.size();
  auto cont = [&](size_t k) { return k < n && (static_cast<unsigned char>(utf8[k]) & 0xC0) == 0x80; };
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      i++;
      continue;
    }
    uint32_t code = 0;
    size_t len = 0;
    if (c >= 0xC2 && c <= 0xDF && cont(i + 1)) {
      code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF && cont(i + 1) && cont(i + 2)) {
      code = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
             (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
      len = 3;
      if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) len = 0;  // overlong or surrogate
    } else if (c >= 0xF0 && c <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
      code = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 12) |
             ((static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu) << 6) | (static_cast<unsigned char>(utf8[i + 3]) & 0x3Fu);
      len = 4;
      if (code < 0x10000 || code > 0x10FFFF) len = 0;
    }
    if (len == 0) {  // broken sequence: one byte becomes "?"
      out += '?';
      i++;
      continue;
    }
    i += len;
    char dos = '?';
    bool mapped = false;
    for (const TCodeMap& m : kGermanLetters)
      if (m.code == code) {
        dos = static_cast<char>(m.dos);
        mapped = true;
      }
    if (!mapped && code < 0x100) dos = static_cast<char>(code);
    out += dos;
  }
  return out;
}

// --- path mapping ---------------------------------------------------------------

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string JoinHost(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The host folder of a host path ("/" for a top-level name).
std::string HostParentOf(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

const std::string& CurrentHost() {
  if (gCurrentHostFolder.empty()) {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf) != nullptr)
      gCurrentHostFolder = buf;
    else
      gCurrentHostFolder = "/";
  }
  return gCurrentHostFolder;
}

// The entry of folder that is name case-insensitively: the exact spelling
// when it exists, else the first match in sorted order; "" when none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& hostName) {
  struct stat st;
  if (lstat(JoinHost(folder, hostName).c_str(), &st) == 0) return hostName;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::string();
  const std::string key = DosUpperString(DosFromUtf8(hostName));
  std::string best;
  bool found = false;
  while (dirent* e = readdir(dir)) {
    std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    if (DosUpperString(DosFromUtf8(entry)) != key) continue;
    if (!found || entry < best) best = entry;
    found = true;
  }
  closedir(dir);
  return best;
}

}  // namespace

std::string HostPathOf(const std::string& dosPath) {
  size_t pos = 0;
  std::string path;
  if (dosPath.size() >= 2 && dosPath[1] == ':' &&
      ((dosPath[0] >= 'A' && dosPath[0] <= 'Z') || (dosPath[0] >= 'a' && dosPath[0] <= 'z')))
    pos = 2;  // every drive is the host root; "X:name" is relative to the current folder
  if (pos < dosPath.size() && IsSeparator(dosPath[pos]))
    path = "/";
  else
    path = CurrentHost();

  bool missing = false;  // once a component is missing, the rest is taken as spelled
  while (pos <= dosPath.size()) {
    size_t end = pos;
    while (end < dosPath.size() && !IsSeparator(dosPath[end])) end++;
    std::string part = dosPath.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      path = HostParentOf(path);
      continue;
    }
    std::string hostName = Utf8FromDos(part);
    if (!missing) {
      std::string actual = FindEntryIgnoringCase(path, hostName);
      if (actual.empty())
        missing = true;
      else
        hostName = actual;
    }
    path = JoinHost(path, hostName);
  }
  return path;
}

std::string DosPathOf(const std::string& hostPath) {
  std::string full = hostPath;
  if (full.empty() || full[0] != '/') full = JoinHost(CurrentHost(), full);
  std::string out = "Z:";
  bool lastSep = false;
  for (char c : full) {
    if (c == '/') {
      if (!lastSep) out += '\\';
      lastSep = true;
    } else {
      out += c;
      lastSep = false;
    }
  }
  if (out.size() > 3 && out.back() == '\\') out.pop_back();
  // Convert the names only; the separators and "Z:" are plain ASCII.
  return DosFromUtf8(out);
}

int ResultOfErrno(int err, const std::string& hostPath) {
  switch (err) {
    case 0: return 0;
    case ENOENT: {
      struct stat st;
      std::string parent = HostParentOf(hostPath);
      if (!hostPath.empty() && stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 2;
      return hostPath.empty() ? 2 : 3;
    }
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG: return 3;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    case EMFILE:
    case ENFILE: return 4;
    case EXDEV: return 17;
    default: return 5;
  }
}

// --- folders ------------------------------------------------------------------------

namespace {

std::string WithTrailingBackslash(std::string dos) {
  if (dos.empty() || dos.back() != '\\') dos += '\\';
  return dos;
}

}  // namespace

std::string ExecutableFolder() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return WithTrailingBackslash(DosPathOf(CurrentHost()));
  buf[n] = '\0';
  return WithTrailingBackslash(DosPathOf(HostParentOf(buf)));
}

std::string ProgramFolder() {
  const char* home = getenv("TORV_HOME");
  if (home == nullptr || home[0] == '\0') return ExecutableFolder();
  std::string host = home;
  if (host[0] != '/') {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf) != nullptr) host = JoinHost(buf, host);
  }
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  return WithTrailingBackslash(DosPathOf(host));
}

std::string CurrentFolder() { return WithTrailingBackslash(DosPathOf(CurrentHost())); }

bool SetCurrentFolder(const std::string& dosPath) {
  std::string host = HostPathOf(dosPath);
  struct stat st;
  if (stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (chdir(host.c_str()) != 0) return false;
  gCurrentHostFolder = host;
  return true;
}

// --- wildcards ----------------------------------------------------------------------

namespace {

// "*" any run of characters, "?" one character or none before a point or
// at the end of the name (as DOS), anything else itself ignoring case.
bool MatchPattern(const std::string& p, const std::string& s) {
  const size_t m = p.size(), n = s.size();
  std::vector<char> next(n + 1, 0), cur(n + 1, 0);
  next[n] = 1;  // the empty pattern matches only the empty rest
  for (size_t i = m; i-- > 0;) {
    const char c = p[i];
    for (size_t j = n + 1; j-- > 0;) {
      bool ok;
      if (c == '*') {
        ok = next[j] || (j < n && cur[j + 1]);
      } else if (c == '?') {
        ok = (j < n && next[j + 1]) || ((j == n || s[j] == '.') && next[j]);
      } else {
        ok = j < n && DosUpper(static_cast<unsigned char>(c)) == DosUpper(static_cast<unsigned char>(s[j])) &&
             next[j + 1];
      }
      cur[j] = ok ? 1 : 0;
    }
    next.swap(cur);
  }
  return next[0] != 0;
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (name.empty()) return false;
  if (MatchPattern(pattern, name)) return true;
  // A name without an extension also matches as "NAME." ("*.*", "A.*", "*.").
  return name.find('.') == std::string::npos && MatchPattern(pattern, name + ".");
}

// --- attributes and searches --------------------------------------------------------

namespace {

uint32_t AttrOf(const std::string& hostName, const struct stat& st) {
  uint32_t attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= kAttrDirectory;
  else
    attr |= kAttrArchive;
  if (!S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) == 0) attr |= kAttrReadOnly;
  if (!hostName.empty() && hostName[0] == '.') attr |= kAttrHidden;
  return attr;
}

std::string LastHostName(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

// DOS packed date (high word) and time (low word), clamped to 1980..2107.
int32_t DosDateTime(time_t t) {
  struct tm lt;
  if (localtime_r(&t, &lt) == nullptr) return 0x00210000;
  int year = lt.tm_year + 1900;
  if (year < 1980) return 0x00210000;  // 1.1.1980 0:00
  if (year > 2107) return static_cast<int32_t>(0xFF9FBF7Du);  // 31.12.2107 23:59:58
  uint32_t date = (static_cast<uint32_t>(year - 1980) << 9) | (static_cast<uint32_t>(lt.tm_mon + 1) << 5) |
                  static_cast<uint32_t>(lt.tm_mday);
  int sec = lt.tm_sec > 59 ? 59 : lt.tm_sec;
  uint32_t tod = (static_cast<uint32_t>(lt.tm_hour) << 11) | (static_cast<uint32_t>(lt.tm_min) << 5) |
                 static_cast<uint32_t>(sec / 2);
  return static_cast<int32_t>((date << 16) | tod);
}

}  // namespace

int GetFileAttr(const std::string& dosName, uint32_t& attr) {
  attr = 0;
  if (dosName.empty()) return 2;
  std::string host = HostPathOf(dosName);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) return ResultOfErrno(errno, host);
  attr = AttrOf(LastHostName(host), st);
  return 0;
}

int SetFileAttr(const std::string& dosName, uint32_t attr) {
  if (dosName.empty()) return 2;
  std::string host = HostPathOf(dosName);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) return ResultOfErrno(errno, host);
  mode_t mode = st.st_mode & 07777;
  if (attr & kAttrReadOnly)
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  else
    mode |= S_IWUSR;
  if (mode != (st.st_mode & 07777) && chmod(host.c_str(), mode) != 0) return ResultOfErrno(errno, host);
  return 0;
}

int FindFirst(const std::string& dosPattern, uint32_t attrMask, TSearchRec& rec) {
  rec.time = -1;
  rec.size = 0;
  rec.attr = 0;
  rec.name.clear();
  rec.pending.clear();
  rec.folderHost.clear();
  rec.mask = attrMask;

  size_t cut = dosPattern.find_last_of("\\/");
  std::string folderPart, namePart;
  if (cut != std::string::npos) {
    folderPart = dosPattern.substr(0, cut + 1);
    namePart = dosPattern.substr(cut + 1);
  } else if (dosPattern.size() >= 2 && dosPattern[1] == ':') {
    folderPart = dosPattern.substr(0, 2);
    namePart = dosPattern.substr(2);
  } else {
    namePart = dosPattern;
  }
  std::string folder = HostPathOf(folderPart);
  struct stat st;
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 3;
  if (namePart.empty()) return 18;

  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return ResultOfErrno(errno, folder);
  struct TFound { std::string key, host; };
  std::vector<TFound> found;
  while (dirent* e = readdir(dir)) {
    std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    std::string dos = DosFromUtf8(entry);
    if (!WildcardMatch(namePart, dos)) continue;
    struct stat es;
    if (stat(JoinHost(folder, entry).c_str(), &es) != 0) continue;
    if (!S_ISDIR(es.st_mode) && !S_ISREG(es.st_mode)) continue;  // devices, pipes, sockets
    uint32_t attr = AttrOf(entry, es);
    if ((attr & kAttrDirectory) && !(attrMask & kAttrDirectory)) continue;
    if ((attr & kAttrHidden) && !(attrMask & kAttrHidden)) continue;
    found.push_back({DosUpperString(dos) + '\0' + entry, entry});
  }
  closedir(dir);
  // Sorted by name; kept in reverse so that FindNext takes from the back.
  std::sort(found.begin(), found.end(), [](const TFound& a, const TFound& b) { return a.key > b.key; });
  for (TFound& f : found) rec.pending.push_back(std::move(f.host));
  rec.folderHost = folder;
  return FindNext(rec);
}

int FindNext(TSearchRec& rec) {
  while (!rec.pending.empty()) {
    std::string entry = std::move(rec.pending.back());
    rec.pending.pop_back();
    struct stat st;
    if (stat(JoinHost(rec.folderHost, entry).c_str(), &st) != 0) continue;  // gone meanwhile
    rec.name = DosFromUtf8(entry);
    rec.attr = AttrOf(entry, st);
    rec.size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
    rec.time = DosDateTime(st.st_mtime);
    return 0;
  }
  return 18;
}

void FindClose(TSearchRec& rec) {
  rec.pending.clear();
  rec.pending.shrink_to_fit();
  rec.folderHost.clear();
}

// --- existence and disk space ---------------------------------------------------------

bool FileExists(const std::string& dosName) {
  if (dosName.empty()) return false;
  struct stat st;
  return stat(HostPathOf(dosName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& dosName) {
  if (dosName.empty()) return false;
  struct stat st;
  return stat(HostPathOf(dosName).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t FileSizeBytes(const std::string& dosName) {
  if (dosName.empty()) return -1;
  struct stat st;
  if (stat(HostPathOf(dosName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

namespace {

bool DiskStats(int drive, struct statvfs& vs) {
  if (drive < 0 || drive > 26) return false;
  const std::string where = drive == 0 ? CurrentHost() : std::string("/");
  return statvfs(where.c_str(), &vs) == 0;
}

}  // namespace

int64_t DiskFreeBytes(int drive) {
  struct statvfs vs;
  if (!DiskStats(drive, vs)) return -1;
  return static_cast<int64_t>(vs.f_bavail) * static_cast<int64_t>(vs.f_frsize);
}

int64_t DiskTotalBytes(int drive) {
  struct statvfs vs;
  if (!DiskStats(drive, vs)) return -1;
  return static_cast<int64_t>(vs.f_blocks) * static_cast<int64_t>(vs.f_frsize);
}

}  // namespace plat
