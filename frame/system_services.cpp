// Small system services.
//
// Sections: state; sounds; message boxes; outside programs and help; title,
// mouse capture and resource pictures; system information; files and
// folders by name; strings and numbers; clipboard picture.
#include "frame/system_services.h"

#include "platform/picture_codecs.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "frame/checked_files.h"
#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/window_draw.h"
#include "platform/draw.h"
#include "platform/system.h"
#include "platform/window.h"

// --- state ----------------------------------------------------------------------

int16_t VariantNumber = 0;
float AngleInputDiameter = 0.0f;
int32_t ScanRasterWidth = 0;
int32_t ScanRasterHeight = 0;

void LoadAngleInputSetting() {
  uint8_t head[12] = {};
  GetParamBlock(14, head, sizeof head);
  std::memcpy(&AngleInputDiameter, head + 8, sizeof AngleInputDiameter);
}

// --- sounds -----------------------------------------------------------------------

uint8_t PlayEventSound(int16_t code) {
  switch (code) {
    case 0:
      return plat::PlaySoundAlias("SystemStart") ? 1 : 0;
    case 99:
      return plat::PlaySoundAlias("Ding") ? 1 : 0;
    case -1:
      return plat::StopSound() ? 1 : 0;
    default:
      // 10, 20, 21 and 22 name sound files of their own; nothing is played
      // for them, so callers fall back to the system sound.
      return 0;
  }
}

void PlayMessageBeep(int type) { plat::MessageBeep(type); }

// --- message boxes ------------------------------------------------------------------

namespace {

constexpr uint32_t kBoxSystemModalExclamation = 0x1030;

uint8_t BoxAnswer(int result) {
  return (result == plat::kIdOk || result == plat::kIdAbort || result == plat::kIdIgnore || result == plat::kIdYes)
             ? 1
             : 0;
}

}  // namespace

uint8_t RunMessageBox(const std::string& caption, const std::string& text, uint32_t style) {
  std::string winCaption = caption;
  std::string winText = text;
  MakeWinText(winCaption, 255);
  MakeWinText(winText, 255);
  return BoxAnswer(plat::MessageBox(winCaption, winText, style | kBoxSystemModalExclamation));
}

uint8_t RunMessageBoxPChar(const std::string& caption, const char* text, uint32_t style) {
  std::string winCaption = caption;
  MakeWinText(winCaption, 255);
  return BoxAnswer(plat::MessageBox(winCaption, text ? text : "", style | kBoxSystemModalExclamation));
}

// --- outside programs and help --------------------------------------------------------

void RunProgram(const std::string& commandLine) {
  std::string winCommand = commandLine;
  MakeWinText(winCommand, 255);
  plat::RunCommandLine(winCommand);
}

// Waits until the user is back in the program's window: 6 polls in a row,
// 20 ms apart, with no mouse button down after the window was repainted or
// the mouse moved inside it. (A window that was never covered is not
// repainted on every desktop, so the mouse counts as well.)
void RunProgramAndWait(const std::string& commandLine, int16_t wait) {
  ReleaseMouseCapture();
  RunProgram(commandLine);
  PumpWindowMessages();
  RedrawState = 0;
  // The data folder; before the start sequence has stored it, the program folder.
  ChangeDirectory(DataFolderName.empty() ? plat::ProgramFolder() : DataFolderName);
  if (wait > 0) {
    const int16_t startX = MouseX;
    const int16_t startY = MouseY;
    int goodPolls = 0;
    while (goodPolls < 6) {
      DelayMs(20);
      PollMouseButtons();
      bool back = RedrawState != 0 || MouseX != startX || MouseY != startY;
      goodPolls = (back && GetMouseButtonState() == 0) ? goodPolls + 1 : 0;
    }
  }
  RedrawState = 0;
  CaptureMouse();
}

void ShowWinHelp(uint8_t openFlag) {
  if (openFlag == 0) return;  // no viewer window is kept open
  const std::string folder = plat::ProgramFolder() + "help\\";
  std::vector<std::string> pages;
  std::string title = GetProgramTitle();
  if (!title.empty()) pages.push_back(title + ".htm");
  pages.push_back("index.htm");
  for (const std::string& page : pages) {
    if (plat::FileExists(folder + page)) {
      plat::OpenWithDesktop(plat::HostPathOf(folder + page));
      return;
    }
  }
}

// --- title, mouse capture and resource pictures ----------------------------------------

std::string GetProgramTitle() {
  switch (VariantNumber) {
    case 0:
    case 1:
    case 12:
      return "TORV";
    default:
      return "";
  }
}

void CaptureMouse() { plat::SetMouseCapture(true); }

void ReleaseMouseCapture() { plat::SetMouseCapture(false); }

namespace {

// Raster operations of picture copies as the drawing layer's pixel modes.
int PixelModeOfRop(uint32_t rop) {
  switch (rop) {
    case kRopSrcInvert:
      return plat::kRopXor;
    case kRopSrcAnd:
      return 9;  // source and destination
    case kRopSrcPaint:
      return 15;  // source or destination
    case kRopNotSrcCopy:
      return 4;  // inverted source
    default:
      return plat::kRopCopy;
  }
}

}  // namespace

uint8_t DrawResourceBitmap(int x, int y, int width, int height, uint32_t rop, const std::string& name) {
  plat::TPixelBlock picture;
  if (!plat::LoadResourcePicture(name, picture)) return 0;
  const int w = std::min(width, picture.width);
  const int h = std::min(height, picture.height);
  if (w <= 0 || h <= 0 || DcState != kDcActive) return 1;
  plat::TPixelBlock part;
  part.width = w;
  part.height = h;
  part.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int row = 0; row < h; ++row) {
    const uint32_t* source = picture.pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(picture.width);
    std::copy(source, source + w, part.pixels.begin() + static_cast<ptrdiff_t>(row) * w);
  }
  plat::DcDrawBlock(plat::WindowDc(), x, y, part, PixelModeOfRop(rop));
  return 1;
}

// --- system information -------------------------------------------------------------

uint32_t GetTickMs() { return plat::TickMs(); }

uint64_t GetTotalPhysMemory() { return plat::TotalPhysicalMemory(); }

uint64_t ReadPhysicalMemorySize() { return GetTotalPhysMemory(); }

void GetWindowsVersion(uint32_t& major, uint32_t& minor, uint32_t& platformId) {
  major = 6;
  minor = 1;
  platformId = 2;
}

std::string GetWindowsFolder() { return "C:\\WINDOWS"; }

void GetProgramFileName(std::string& name, int maxLength) {
  name = plat::DosPathOf(plat::ExecutableHostPath());
  if (maxLength >= 0 && name.size() > static_cast<size_t>(maxLength)) name.resize(static_cast<size_t>(maxLength));
}

bool ChangeDirectory(const std::string& path) { return plat::SetCurrentFolder(path); }

void FreeLibraryHandle(uintptr_t handle) {}

// --- files and folders by name -------------------------------------------------------

bool TestPlainFileExists(const std::string& name) { return !name.empty() && plat::FileExists(name); }

int FindFirstEntry(const std::string& pattern, uint32_t attrMask, plat::TSearchRec& rec) {
  rec.time = -1;
  int result = plat::FindFirst(pattern, attrMask, rec);
  if (result != 0) rec.time = -1;
  return result;
}

int FindNextEntry(plat::TSearchRec& rec) {
  if (rec.time == -1) return -1;
  return plat::FindNext(rec);
}

void FindCloseEntry(plat::TSearchRec& rec) {
  if (rec.time == -1) return;
  plat::FindClose(rec);
}

bool TestFolderExists(const std::string& path) { return !path.empty() && plat::FolderExists(path); }

namespace {

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Position after the folder part of a path (after its last "\" or ":").
size_t NamePartStart(const std::string& path) {
  size_t sep = path.find_last_of("\\:");
  return sep == std::string::npos ? 0 : sep + 1;
}

}  // namespace

std::string GetFullPath(const std::string& name) {
  std::string current = plat::CurrentFolder();
  if (current.empty() || current.back() != '\\') current += '\\';
  if (name.empty()) return current;
  std::string path = name;
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.compare(0, 2, "\\\\") == 0) return path;  // network name: as given
  std::string drive;
  std::string rest;
  if (HasDrive(path)) {
    drive = path.substr(0, 2);
    rest = path.substr(2);
    if (rest.empty() || rest[0] != '\\') {
      // Relative to the current folder when that is on the same drive.
      bool sameDrive = HasDrive(current) && std::toupper(static_cast<unsigned char>(current[0])) ==
                                                std::toupper(static_cast<unsigned char>(drive[0]));
      rest = (sameDrive ? current.substr(2) : std::string("\\")) + rest;
    }
  } else if (path[0] == '\\') {
    drive = current.substr(0, 2);
    rest = path;
  } else {
    drive = current.substr(0, 2);
    rest = current.substr(2) + path;
  }
  // Resolve "." and ".." components.
  std::vector<std::string> parts;
  bool folderName = false;  // the name ends in "\", "." or ".."
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    std::string part = rest.substr(start, end - start);
    folderName = part.empty() || part == "." || part == "..";
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string full = drive + "\\";
  for (size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  if (folderName && full.back() != '\\') full += '\\';
  return full;
}

bool CreateFolderPath(const std::string& path) {
  if (path.empty()) return false;
  std::string full = GetFullPath(path);
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  // Create every missing folder from the drive root down.
  size_t pos = 3;
  while (pos <= full.size()) {
    size_t end = full.find('\\', pos);
    if (end == std::string::npos) end = full.size();
    std::string prefix = full.substr(0, end);
    if (!plat::FolderExists(prefix) && plat::CreateFolder(prefix) != 0) return false;
    pos = end + 1;
  }
  return plat::FolderExists(full);
}

int FindLastChar(char ch, const std::string& s) {
  if (s.empty()) return 0;
  for (size_t i = s.size(); i >= 2; --i)
    if (s[i - 1] == ch) return static_cast<int>(i);
  return 1;
}

std::string GetNameWithoutExt(const std::string& path) {
  std::string name = path.substr(NamePartStart(path));
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {

std::string FolderPart(const std::string& path) { return path.substr(0, NamePartStart(path)); }

std::string ExtensionPart(const std::string& path) {
  std::string name = path.substr(NamePartStart(path));
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot);
}

std::string CutTo(const std::string& s, int maxLength) {
  if (maxLength < 0) return "";
  return s.size() > static_cast<size_t>(maxLength) ? s.substr(0, static_cast<size_t>(maxLength)) : s;
}

}  // namespace

void SplitFileName(const std::string& path, std::string& folder, int folderMax, std::string& extension,
                   int extensionMax, std::string& name, int nameMax) {
  folder = CutTo(FolderPart(path), folderMax);
  extension = CutTo(ExtensionPart(path), extensionMax);
  name = CutTo(GetNameWithoutExt(path), nameMax);
}

void GetFileNamePart(const std::string& path, char letter, std::string& out) {
  switch (letter) {
    case 'D':
      out = FolderPart(path);
      break;
    case 'E':
      out = ExtensionPart(path);
      break;
    case 'N':
      out = GetNameWithoutExt(path);
      break;
    default:
      break;
  }
}

// --- strings and numbers ----------------------------------------------------------------

void SetShortStringLength(std::string& s, int n) { s.resize(static_cast<size_t>(std::clamp(n, 0, 255)), ' '); }

std::string CopySubString(const std::string& s, int start, int count) {
  if (start < 1) start = 1;
  if (count <= 0 || static_cast<size_t>(start) > s.size()) return "";
  return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(std::min(count, 255)));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int32_t ParseIntegerValue(const std::string& text, int16_t& code) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  size_t firstDigit = i;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) break;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + (negative ? 1 : 0)) break;  // too large: this digit is bad
  }
  if (i == firstDigit || i < text.size()) {
    code = static_cast<int16_t>(std::min<size_t>(i + 1, INT16_MAX));
    return 0;
  }
  code = 0;
  return static_cast<int32_t>(negative ? -value : value);
}

float ParseRealValue(const std::string& text, int16_t& code) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const size_t numberStart = i;
  auto fail = [&](size_t at) {
    code = static_cast<int16_t>(std::min<size_t>(at + 1, INT16_MAX));
    return 0.0f;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return fail(i);
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return fail(i);
  }
  if (i < text.size()) return fail(i);
  // from_chars takes no leading "+".
  size_t from = numberStart + (text[numberStart] == '+' ? 1 : 0);
  double value = 0.0;
  auto result = std::from_chars(text.data() + from, text.data() + text.size(), value);
  if (result.ec != std::errc() || !std::isfinite(value) || std::fabs(value) > FLT_MAX) return fail(text.size());
  code = 0;
  return static_cast<float>(value);
}

float ParseNumberExpression(const std::string& text, int16_t& code) {
  enum TOperator { kPlus, kMinus, kTimes, kDivide };
  double accumulator = 0.0;
  TOperator pending = kPlus;
  bool angle = false;
  bool seen = false;
  bool stopped = false;
  int16_t lastCode = 255;
  std::string number;
  const double angleFactor = std::numbers::pi / 360.0 * std::fabs(static_cast<double>(AngleInputDiameter));

  auto evaluate = [&]() {
    if (number.empty() || stopped) {
      number.clear();
      return;
    }
    int16_t c = 0;
    double value = ParseRealValue(number, c);
    number.clear();
    lastCode = c;
    if (c != 0) return;
    double result = accumulator;
    switch (pending) {
      case kPlus:
        result = accumulator + value;
        break;
      case kMinus:
        result = accumulator - value;
        break;
      case kTimes:
        result = seen ? accumulator * value : value;
        break;
      case kDivide:
        if (!seen) {
          result = value;
        } else if (value == 0.0) {
          stopped = true;  // a division by zero gives no number
          return;
        } else {
          result = accumulator / value;
        }
        break;
    }
    if (angle) result *= angleFactor;
    if (!std::isfinite(result) || std::fabs(result) > FLT_MAX) {
      stopped = true;
      return;
    }
    accumulator = result;
    seen = true;
  };

  for (char c : text) {
    switch (c) {
      case '+':
        evaluate();
        pending = kPlus;
        break;
      case '-':
        evaluate();
        pending = kMinus;
        break;
      case '*':
      case 'x':
        evaluate();
        pending = kTimes;
        break;
      case '/':
      case ':':
        evaluate();
        pending = kDivide;
        break;
      case 'W':
      case 'w':
        evaluate();
        angle = true;
        break;
      case ',':
        number += '.';
        break;
      default:
        if (IsDigit(c) || c == '.' || c == 'E' || c == 'e') number += c;
        // Any other character is skipped; the number collected so far stays.
        break;
    }
  }
  evaluate();
  code = stopped ? 255 : lastCode;
  return static_cast<float>(accumulator);
}

// --- clipboard picture -----------------------------------------------------------------

bool ClipboardHasBitmap() { return plat::ClipboardHasPicture(); }

uint8_t PasteClipboardToRaster() {
  if (!plat::ClipboardHasPicture()) return 0;
  plat::TPixelBlock picture;
  if (!plat::GetClipboardPicture(picture) || picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
    return 0;
  const int32_t rowBytes = (picture.width + 7) / 8;
  TFileRec raster;
  AssignFileChecked(raster, "Scan0.TMP");
  RewriteFileChecked(raster, 1);
  if (raster.state < plat::kFileOutput) return 0;
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  int32_t rowsWritten = 0;
  for (int y = 0; y < picture.height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    const uint32_t* pixels = picture.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(picture.width);
    for (int x = 0; x < picture.width; ++x)
      if ((pixels[x] & 0x00FFFFFF) == 0) row[static_cast<size_t>(x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
    if (WriteBlockLongChecked(raster, row.data(), rowBytes) < rowBytes) break;
    ++rowsWritten;
  }
  CloseFileChecked(raster);
  ScanRasterWidth = rowBytes * 8;
  ScanRasterHeight = rowsWritten;
  return rowsWritten == picture.height ? 1 : 0;
}
