// Message texts, message boxes, text helpers, language and menu sets.
//
// Sections: files; texts; message boxes; text helpers; language and menu
// sets; system class digits.
#include "frame/messages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"

plat::TPasFile MessageFile;
plat::TPasFile MenuTextFile;

TChoicePopupProc ChoicePopupHook = nullptr;
void (*WindowTitleHook)() = nullptr;
void (*HelpTopicHook)(int16_t topic) = nullptr;

namespace {

constexpr size_t kShortStringMax = 255;

// Waits in 1 ms steps until no mouse button is down.
void WaitForButtonsUp() {
  PollMouseButtons();
  while (GetMouseButtonState() != 0) {
    DelayMs(1);
    PollMouseButtons();
  }
}

void TrimTrailing(std::string& text) {
  size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
}

void CutToShortString(std::string& text) {
  if (text.size() > kShortStringMax) text.resize(kShortStringMax);
}

bool IsOpen(const plat::TPasFile& f) { return f.state >= plat::kFileInput; }

void OpenReadOnly(plat::TPasFile& f, const char* name) {
  AssignFileChecked(f, plat::ProgramFolder() + name);
  ResetFileChecked(f, 1, 0);
}

std::string InProgramFolder(const std::string& name) { return plat::ProgramFolder() + name; }

}  // namespace

// --- files -----------------------------------------------------------------------

void OpenMessageFile() { OpenReadOnly(MessageFile, kMessageFileName); }

void CloseMessageFile() {
  if (IsOpen(MessageFile)) CloseFileChecked(MessageFile);
}

void OpenMenuTextFile() { OpenReadOnly(MenuTextFile, kMenuTextFileName); }

void CloseMenuTextFile() {
  if (IsOpen(MenuTextFile)) CloseFileChecked(MenuTextFile);
}

// --- texts -------------------------------------------------------------------------

namespace {

// Reads count characters of record number into text (blanks where nothing
// was read). A position past the end reads nothing and reports nothing; any
// other failure is reported by the checked read.
void ReadMessageRecord(int64_t number, size_t count, std::string& text) {
  text.assign(count, ' ');
  if (count == 0 || number < 0) return;
  const int64_t position = number * kMessageRecordSize;
  const int64_t size = plat::FileSize(MessageFile);
  const int sizeResult = plat::IoResult();
  if (sizeResult == 0) {
    if (position > size) return;  // short read: nothing to report
    plat::Seek(MessageFile, position);
  }
  ReadBlockChecked(MessageFile, text.data(), static_cast<uint16_t>(count));
}

}  // namespace

void GetMessageText(int16_t number, int16_t length, std::string& text) {
  size_t count = static_cast<size_t>(length < 0 ? -static_cast<int32_t>(length) : length);
  count = std::min(count, kShortStringMax);
  ReadMessageRecord(number, count, text);
  if (length < 0) TrimTrailing(text);
}

std::string GetMessageText(int16_t number, int16_t length) {
  std::string text;
  GetMessageText(number, length, text);
  return text;
}

void GetMessageTextRaw(uint16_t number, std::string& text) { ReadMessageRecord(number, kMessageTextMax, text); }

void GetMessageTextSpaced(int16_t number, int16_t length, std::string& text) {
  GetMessageText(number, length, text);
  text.insert(text.begin(), ' ');
  CutToShortString(text);
}

// --- message boxes -------------------------------------------------------------------

void ShowTitledMessage(const std::string& text) {
  WaitForButtonsUp();
  RunMessageBox(GetProgramTitle(), text, 48);
}

void ShowTitledMessagePChar(const char* text) {
  WaitForButtonsUp();
  RunMessageBoxPChar(GetProgramTitle(), text, 48);
}

uint8_t AskYesNo(const std::string& text) {
  WaitForButtonsUp();
  return RunMessageBox(GetProgramTitle(), text, 52) == 1 ? 1 : 0;
}

uint8_t AskYesNoPChar(const char* text) {
  WaitForButtonsUp();
  return RunMessageBoxPChar(GetProgramTitle(), text, 52) == 1 ? 1 : 0;
}

uint8_t AskYesNoMessage(int16_t number, uint8_t& answer) {
  answer = AskYesNo(GetMessageText(number, -kMessageTextMax));
  return answer;
}

uint8_t AskYesNoMessage(int16_t number) {
  uint8_t answer = 0;
  return AskYesNoMessage(number, answer);
}

uint8_t AskYesNoTwoLines(const std::string& first, const std::string& second, uint8_t& answer) {
  std::string text = first + "\r\n" + second;
  CutToShortString(text);
  answer = AskYesNo(text);
  return answer;
}

std::string MessageNumberText(int32_t n) {
  if (n <= 10000) {
    if (n < INT16_MIN) return "";
    return GetMessageText(static_cast<int16_t>(n), -kMessageTextMax);
  }
  char number[24];
  std::snprintf(number, sizeof number, "%3lld", static_cast<long long>(n) - 10000);
  std::string text = std::string(" File-Error IOResult=") + std::string(number).substr(0, 5);
  if (text.size() > 40) text.resize(40);
  return text;
}

void ShowMessageNumber(int32_t n) { RunMessageBox("Error", MessageNumberText(n), 48); }

void ShowErrorText(const std::string& text) { RunMessageBox("Error", text, 48); }

// --- text helpers ------------------------------------------------------------------------

std::string MakeBlankString(int n) {
  return std::string(static_cast<size_t>(std::clamp(n, 0, static_cast<int>(kShortStringMax))), ' ');
}

std::string PadStringRight(const std::string& text, int n) {
  size_t target = static_cast<size_t>(std::clamp(n, 0, static_cast<int>(kShortStringMax)));
  if (text.size() >= target) return text;
  return text + std::string(target - text.size(), ' ');
}

std::string PadStringLeft(const std::string& text, int n) {
  size_t target = static_cast<size_t>(std::clamp(n, 0, static_cast<int>(kShortStringMax)));
  if (text.size() >= target) return text;
  return std::string(target - text.size(), ' ') + text;
}

void TrimLeadingBlanks(std::string& text) {
  size_t first = text.find_first_not_of(' ');
  text.erase(0, first == std::string::npos ? text.size() : first);
}

void UpperCaseString(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void CutTextToWidth(std::string& text, int width) {
  while (!text.empty() && MeasureTextWidth(text) > width) text.pop_back();
}

void CutTextToWidthFromLeft(std::string& text, int width) {
  while (!text.empty() && MeasureTextWidth(text) > width) text.erase(text.begin());
}

void CutAndTrimString(std::string& text, int position) {
  size_t keep = position <= 1 ? 0 : static_cast<size_t>(position - 1);
  if (keep < text.size()) text.resize(keep);
  TrimTrailing(text);
}

void AppendToTextBuffer(char (&buffer)[kTextBufferSize], uint16_t& length, const std::string& text) {
  constexpr uint16_t kKept = kTextBufferSize - 1;
  if (length > kKept) length = kKept;
  size_t room = kKept - length;
  size_t n = std::min(room, text.size());
  std::memcpy(buffer + length, text.data(), n);
  length = static_cast<uint16_t>(length + n);
  buffer[length] = '\0';
}

// --- language and menu sets ------------------------------------------------------------------

const TLanguageSet LanguageSets[kLanguageSetCount] = {
    {"DE", 2819, "", "", "NatDeutsch"},
    {"D1", 2819, " 1", "", "NatDeutsch"},
    {"EN", 2820, "", "", "NatEnglisch"},
    {"E1", 2820, " 1", "", "NatEnglisch"},
    {"IT", 2823, "", "", "NatItalien"},
    {"FR", 2821, "", "", "NatFrankr"},
    {"NL", 2822, "", "", "NatNetherland"},
    {"TY", 0, "", "t\x81rkisch", "NatTurkey"},
    {"RU", 0, "", "russisch", "_NatRussland"},
    {"PL", 0, "", "polnisch", "_NatPoland"},
    {"Pt", 0, "", "portugis.", "_NATPORTUGAL"},
    {"ES", 0, "", "spanisch", "_NATSPANIEN"},
    {"00", 0, "", "Neu", "NEUGRAF"},
};

namespace {

// Menu sets: the "-" code first, the "_" code second (set 0 has one code).
struct TMenuSet {
  const char* codes[2];
  const char* picture;
};
constexpr TMenuSet kMenuSets[kMenuSetCount] = {
    {{"DE", nullptr}, "NatDeutsch"}, {{"-S", "_S"}, "_NeuSchild"}, {{"-E", "_E"}, "_NeuSchild"},
    {{"-M", "_M"}, "SchErzeug"},     {{"-F", "_F"}, "AUTOSATZ"},   {{"-2", "_2"}, "SCHRAUSS"},
    {{"-3", "_3"}, "Stempel"},       {{"-R", "_R"}, "Relief"},
};
constexpr int16_t kMenuSetCaptionFirst = 3531;

// Menu-file prefixes by variant number; variants not listed have none.
struct TMenuPrefix {
  int16_t variant;
  const char* prefix;
};
constexpr TMenuPrefix kMenuPrefixes[] = {{0, "TORVME"}, {1, "TORVME"}, {12, "TORVME"}};

std::string HelpFileForCode(const std::string& code) {
  std::string name = kHelpTextFileName;
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return name + code;
  return name.substr(0, dot) + code + name.substr(dot);
}

std::string MenuFileForCode(const std::string& code) {
  std::string prefix;
  GetMenuFilePrefix(prefix);
  if (prefix.empty()) return "";
  return prefix + code + ".TXT";
}

void RebuildScreenAfterSwap() {
  if (RepaintHook) RepaintHook();
  RedrawState = 0;
  WaitForButtonsUp();
}

void ReplaceMenuTextFile(const std::string& menuFile) {
  CloseMenuTextFile();
  if (IsSetFilePresent(menuFile)) CopyFileBlockwise(InProgramFolder(menuFile), InProgramFolder(kMenuTextFileName));
  OpenMenuTextFile();
}

int ShowChoicePopup(int dy, int16_t t1, int16_t t2, int16_t t3, const std::vector<TChoiceLine>& lines) {
  if (!ChoicePopupHook) return 0;
  const std::string titles[3] = {GetMessageText(t1, -kMessageTextMax), GetMessageText(t2, -kMessageTextMax),
                                 GetMessageText(t3, -kMessageTextMax)};
  return ChoicePopupHook(MouseX, MouseY - dy, titles, lines);
}

}  // namespace

bool IsSetFilePresent(const std::string& name) {
  if (name.empty()) return false;
  return plat::FileSizeBytes(InProgramFolder(name)) > 10;
}

std::string LanguageSetCaption(int i) {
  if (i < 0 || i >= kLanguageSetCount) return "";
  const TLanguageSet& set = LanguageSets[i];
  if (set.captionMessage == 0) return set.fixedCaption;
  return GetMessageText(set.captionMessage, -kMessageTextMax) + set.captionSuffix;
}

bool IsLanguageSetPresent(const std::string& code) {
  return IsSetFilePresent("TORV_" + code + ".TX0") || IsSetFilePresent(MenuFileForCode(code)) ||
         IsSetFilePresent(HelpFileForCode(code));
}

void ApplyLanguageSet(const std::string& code) {
  std::string menuFile = MenuFileForCode(code);
  if (!menuFile.empty()) ReplaceMenuTextFile(menuFile);
  std::string messageFile = "TORV_" + code + ".TX0";
  if (IsSetFilePresent(messageFile)) {
    CloseMessageFile();
    CopyFileBlockwise(InProgramFolder(messageFile), InProgramFolder(kMessageFileName));
    OpenMessageFile();
  }
  std::string helpFile = HelpFileForCode(code);
  if (IsSetFilePresent(helpFile)) CopyFileBlockwise(InProgramFolder(helpFile), InProgramFolder(kHelpTextFileName));
  RebuildScreenAfterSwap();
}

void ApplyChosenLanguage(int i) {
  if (i < 0 || i >= kLanguageSetCount) return;
  std::string code = LanguageSets[i].code;
  if (code == "00") ApplyLanguageSet("DE");
  ApplyLanguageSet(code);
  SetMenuSetNumber(0);
}

void ChooseLanguage() {
  std::vector<int> present;
  bool anyOffered = false;
  for (int i = 0; i < kLanguageSetCount; ++i) {
    if (!IsLanguageSetPresent(LanguageSets[i].code)) continue;
    present.push_back(i);
    std::string code = LanguageSets[i].code;
    if (code != "E1" && code != "Pt" && code != "ES") anyOffered = true;
  }
  if (!anyOffered) return;
  std::vector<TChoiceLine> lines;
  lines.push_back({GetMessageText(1716, -kMessageTextMax), ""});
  for (int i : present) lines.push_back({LanguageSetCaption(i), LanguageSets[i].picture});
  int chosen = ShowChoicePopup(32, 2188, 3185, 3186, lines);
  if (chosen >= 2 && chosen - 2 < static_cast<int>(present.size())) ApplyChosenLanguage(present[chosen - 2]);
}

bool IsMenuSetPresent(const std::string& code) { return IsSetFilePresent(MenuFileForCode(code)); }

void ApplyMenuSet(const std::string& code) {
  std::string menuFile = MenuFileForCode(code);
  if (menuFile.empty()) return;
  ReplaceMenuTextFile(menuFile);
  RedrawState = 201;
  RebuildScreenAfterSwap();
}

void ListMenuSets(TMenuSetEntry (&list)[kMenuSetCount]) {
  for (int n = 0; n < kMenuSetCount; ++n) {
    TMenuSetEntry& entry = list[n];
    entry.present = false;
    for (const char* code : kMenuSets[n].codes)
      if (code && IsMenuSetPresent(code)) entry.present = true;
    entry.caption = GetMessageText(static_cast<int16_t>(kMenuSetCaptionFirst + n), -40);
    entry.picture = kMenuSets[n].picture;
  }
}

void SetMenuSetNumber(int16_t n) {
  uint8_t block[121] = {};
  GetParamBlock(3, block, sizeof block);
  std::memcpy(block + kMenuSetParamOffset, &n, sizeof n);
  PutParamBlock(3, block, sizeof block);
  if (WindowTitleHook) WindowTitleHook();
}

void ApplyChosenMenuSet(int n) {
  if (n < 0 || n >= kMenuSetCount) return;
  if (n == 0) {
    ApplyMenuSet("DE");
  } else {
    const TMenuSet& set = kMenuSets[n];
    ApplyMenuSet(IsMenuSetPresent(set.codes[0]) ? set.codes[0] : set.codes[1]);
  }
  SetMenuSetNumber(static_cast<int16_t>(n));
}

void ChooseMenuSet() {
  TMenuSetEntry list[kMenuSetCount];
  ListMenuSets(list);
  bool anyWork = false;
  for (int n = 1; n < kMenuSetCount; ++n) anyWork = anyWork || list[n].present;
  if (!anyWork) {
    ShowTitledMessage(GetMessageText(3542, -kMessageTextMax));
    return;
  }
  std::vector<TChoiceLine> lines;
  std::vector<int> setOfLine;
  lines.push_back({GetMessageText(3530, -kMessageTextMax), ""});
  for (int n = 0; n < kMenuSetCount; ++n) {
    if (!list[n].present) continue;
    lines.push_back({list[n].caption, list[n].picture});
    setOfLine.push_back(n);
  }
  lines.push_back({GetMessageText(1154, -kMessageTextMax), "HILFE_W"});
  int chosen = ShowChoicePopup(48, 3539, 3540, 3541, lines);
  if (chosen >= 2 && chosen - 2 < static_cast<int>(setOfLine.size())) {
    ApplyChosenMenuSet(setOfLine[chosen - 2]);
  } else if (chosen == static_cast<int>(lines.size()) && HelpTopicHook) {
    HelpTopicHook(7913);
  }
}

void GetMenuFilePrefix(std::string& prefix) {
  prefix.clear();
  for (const TMenuPrefix& p : kMenuPrefixes)
    if (p.variant == VariantNumber) prefix = p.prefix;
}

void CopyFileBlockwise(const std::string& source, const std::string& target) {
  constexpr uint16_t kBlock = 65000;
  plat::TPasFile in;
  plat::TPasFile out;
  AssignFileChecked(in, source);
  ResetFileChecked(in, 1, 0);
  if (!IsOpen(in)) return;  // nothing to copy: the target stays as it is
  AssignFileChecked(out, target);
  RewriteFileChecked(out, 1);
  if (!IsOpen(out)) {
    CloseFileChecked(in);
    return;
  }
  std::vector<uint8_t> buffer(kBlock);
  for (;;) {
    uint16_t got = ReadBlockChecked(in, buffer.data(), kBlock);
    if (got > 0 && WriteBlockChecked(out, buffer.data(), got) < got) break;
    if (got < kBlock) break;
  }
  CloseFileChecked(in);
  CloseFileChecked(out);
}

// --- system class digits ----------------------------------------------------------------------

uint8_t WindowsVersionClassOf(uint32_t platformId, uint32_t major, uint32_t minor) {
  switch (platformId) {
    case 0:
      return 0;
    case 1:
      if (major != 4) return 4;
      if (minor < 9) return 1;
      if (minor > 89) return 3;
      return 2;
    case 2:
      if (major < 4) return 5;
      if (major == 4) return 6;
      if (major == 5 && minor == 0) return 7;
      if (major == 5 && minor == 1) return 8;
      return 9;
    default:
      return 9;
  }
}

uint8_t GetWindowsVersionClass() {
  uint32_t major = 0, minor = 0, platformId = 0;
  GetWindowsVersion(major, minor, platformId);
  return WindowsVersionClassOf(platformId, major, minor);
}

uint8_t DriveSizeClassOf(int64_t sizeMb) {
  const int64_t s = sizeMb / 1024;
  constexpr int64_t kLimits[] = {1, 2, 5, 11, 21, 51, 110, 210, 510};
  for (uint8_t i = 0; i < 9; ++i)
    if (s <= kLimits[i]) return i;
  return 9;
}

uint8_t GetDriveSizeClass() { return DriveSizeClassOf(GetDriveCSizeMb()); }

std::string FormatSystemClassText() {
  std::string text = "1";
  text += static_cast<char>('0' + GetWindowsVersionClass());
  text += static_cast<char>('0' + GetDriveSizeClass());
  return text;
}
