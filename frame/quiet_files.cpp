// File-name helpers and quiet file helpers.
#include "frame/quiet_files.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/system.h"

namespace {

constexpr size_t kNameMax = 255;
constexpr uint32_t kCopyPiece = 65535;

std::string Cut(const std::string& text, size_t max) { return text.size() > max ? text.substr(0, max) : text; }

// Index just after the folder part (after the last "\" or ":").
size_t BareNameStart(const std::string& path) {
  const size_t separator = path.find_last_of("\\:");
  return separator == std::string::npos ? 0 : separator + 1;
}

std::string FolderPart(const std::string& path) { return path.substr(0, BareNameStart(path)); }

std::string ExtensionPart(const std::string& path) {
  const size_t start = BareNameStart(path);
  const size_t point = path.find_last_of('.');
  if (point == std::string::npos || point < start) return "";
  return path.substr(point);
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

}  // namespace

// --- names ----------------------------------------------------------------------------

std::string GetFileBaseName(const std::string& path) {
  const std::string bare = Cut(path, kNameMax).substr(BareNameStart(Cut(path, kNameMax)));
  return bare.substr(0, bare.find('.'));
}

void ExtractFileNamePart(const std::string& path, char letter, std::string& result) {
  const std::string name = Cut(path, kNameMax);
  switch (letter) {
    case 'D': case 'd': result = FolderPart(name); break;
    case 'E': case 'e': result = ExtensionPart(name); break;
    case 'N': case 'n': result = GetFileBaseName(name); break;
    default: break;
  }
}

void SplitPathParts(const std::string& path, std::string& folder, std::string& extension, std::string& name,
                    int maxFolder, int maxExtension, int maxName) {
  const std::string full = Cut(path, kNameMax);
  folder = Cut(FolderPart(full), static_cast<size_t>(std::max(0, maxFolder)));
  extension = Cut(ExtensionPart(full), static_cast<size_t>(std::max(0, maxExtension)));
  name = Cut(GetFileBaseName(full), static_cast<size_t>(std::max(0, maxName)));
}

std::string MakeBakFileName(const std::string& path) {
  const std::string full = Cut(path, kNameMax);
  return Cut(FolderPart(full) + GetFileBaseName(full) + ".BAK", kNameMax);
}

// --- files ----------------------------------------------------------------------------

bool FileExistsPlain(const std::string& name) {
  if (name.empty() || HasWildcard(name)) return false;
  return plat::FileExists(name);
}

bool TestFileExistsQuiet(const std::string& name) {
  plat::IoResult();
  if (name.empty()) return false;
  if (GetFileBaseName(name) == "*" || ExtensionPart(name) == ".*") {
    plat::TSearchRec search;
    const bool found = plat::FindFirst(name, plat::kAttrAnyFile, search) == 0;
    plat::FindClose(search);
    return found;
  }
  return FileExistsPlain(name);
}

int64_t GetFileByteSizeQuiet(const std::string& name) {
  if (name.empty()) return 0;
  plat::TSearchRec search;
  int64_t size = 0;
  if (plat::FindFirst(name, plat::kAttrAnyFile, search) == 0) size = search.size;
  plat::FindClose(search);
  return size;
}

void DeleteFileQuiet(const std::string& name) {
  if (TestFileExistsQuiet(name)) plat::DeleteFileByName(name);
  plat::IoResult();
}

void CreateEmptyFileQuiet(const std::string& name) {
  plat::TPasFile file;
  plat::Assign(file, name);
  RewriteFileQuiet(file, 1);
  if (file.state >= plat::kFileInput) CloseFileQuiet(file);
}

void CopyFileBytes(const std::string& source, const std::string& target, bool append) {
  if (source.empty() || target.empty()) return;
  const bool sameFile = plat::HostPathOf(source) == plat::HostPathOf(target);
  if (sameFile && !append) return;  // creating the target would empty the source

  plat::TPasFile in;
  plat::Assign(in, source);
  ResetFileQuiet(in, 1, 0);
  if (in.state < plat::kFileInput) return;
  // The copy ends at the source's length as found now, so that a file
  // appended to itself cannot grow without end.
  int64_t remaining = plat::FileSize(in);

  plat::TPasFile out;
  plat::Assign(out, target);
  if (append) {
    ResetFileQuiet(out, 1, 2);
    if (out.state >= plat::kFileInput) plat::Seek(out, plat::FileSize(out));
  } else {
    RewriteFileQuiet(out, 1);
  }
  if (out.state < plat::kFileInput) {
    CloseFileQuiet(in);
    return;
  }

  std::vector<uint8_t> piece(kCopyPiece);
  for (;;) {
    uint32_t read = 0, written = 0;
    const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(kCopyPiece, std::max<int64_t>(remaining, 0)));
    if (want > 0) BlockReadQuiet(in, piece.data(), want, read);
    if (read > 0) BlockWriteQuiet(out, piece.data(), read, written);
    remaining -= read;
    if (read < kCopyPiece || written != read || remaining <= 0) break;
  }
  CloseFileQuiet(out);
  CloseFileQuiet(in);
}

// --- values ---------------------------------------------------------------------------

long double ParseExtendedValue(const std::string& text, int& errorPosition) {
  const size_t length = text.size();
  size_t i = 0;
  while (i < length && text[i] == ' ') ++i;
  const size_t numberStart = i;
  if (i < length && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < length && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < length && text[i] == '.') {
    ++i;
    while (i < length && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits > 0 && i < length && (text[i] == 'E' || text[i] == 'e')) {
    size_t j = i + 1;
    if (j < length && (text[j] == '+' || text[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < length && text[j] >= '0' && text[j] <= '9') ++j, ++expDigits;
    if (expDigits == 0) {  // an exponent without digits fails where its digits should be
      errorPosition = static_cast<int>(j) + 1;
      return 0.0L;
    }
    i = j;
  }
  if (digits == 0) {
    errorPosition = static_cast<int>(std::min(i, length)) + 1;
    return 0.0L;
  }
  if (i < length) {
    errorPosition = static_cast<int>(i) + 1;
    return 0.0L;
  }
  errorPosition = 0;
  return std::strtold(text.c_str() + numberStart, nullptr);
}

int64_t GetDriveFreeBytes(int drive) {
  if (drive < 0 || drive > 26) return -1;
  const int64_t free = plat::DiskFreeBytes(drive);
  if (free < 0) return -1;
  return std::min<int64_t>(free, 2147483647);
}


// --- quiet file layer ----------------------------------------------------------------

uint16_t QuietIoError = 0;

// Fetches the pending result; on failure records it and sets the code.
static bool QuietFailed(TErrorCode code) {
  const int result = plat::IoResult();
  if (result == 0) return false;
  QuietIoError = static_cast<uint16_t>(result);
  ErrorCode = code;
  return true;
}

void ResetFileQuiet(plat::TPasFile& f, uint32_t recSize, uint8_t fileMode) {
  plat::IoResult();
  plat::gFileMode = fileMode;
  plat::Reset(f, recSize);
  plat::gFileMode = 2;
  QuietFailed(1001);
}

void RewriteFileQuiet(plat::TPasFile& f, uint32_t recSize) {
  plat::IoResult();
  plat::Rewrite(f, recSize);
  QuietFailed(1008);
}

void CloseFileQuiet(plat::TPasFile& f) {
  plat::IoResult();
  plat::Close(f);
  QuietFailed(1004);
}

void BlockReadQuiet(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count) {
  plat::IoResult();
  count = 0;
  uint32_t done = 0;
  plat::BlockRead(f, buffer, n, &done);
  count = QuietFailed(1011) ? 0 : done;
}

void BlockWriteQuiet(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  plat::IoResult();
  count = 0;
  uint32_t done = 0;
  plat::BlockWrite(f, buffer, n, &done);
  count = QuietFailed(1011) ? 0 : done;
}

// --- Esc poll --------------------------------------------------------------------------

bool PollEscapeAbort() {
  if (!PollKeyPressed() || KeyBuffer[0] != 27) return false;
  ReadNextKey();
  return true;
}

// --- icon painter ---------------------------------------------------------------------

void DrawArrowIcon16(const uint8_t (&pattern)[16][16], int columnStep, int rowStep, bool show, bool transpose,
                     int x, int y) {
  for (int row = 0; row < 16; ++row) {
    TDibBlock line;
    line.width = 16;
    line.height = 1;
    line.pixels.assign(16 * 4, 0);
    const int patternRow = rowStep > 0 ? row : 15 - row;
    for (int column = 0; column < 16; ++column) {
      const int patternColumn = columnStep > 0 ? column : 15 - column;
      const uint8_t value = transpose ? pattern[patternColumn][patternRow] : pattern[patternRow][patternColumn];
      const uint8_t level = (show && value < 15) ? 0 : 192;
      uint8_t* pixel = &line.pixels[static_cast<size_t>(column) * 4];
      pixel[0] = level;  // blue
      pixel[1] = level;  // green
      pixel[2] = level;  // red
    }
    DrawDibBlock(x, y + row, line);
  }
}
