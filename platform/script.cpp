// Scripted input: reading TORV_SCRIPT into steps and playing them at the
// pace of the program's polling. Shared by both backends.
//
// Contents: key tables - line reader - player - message box answers.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/backend.h"
#include "platform/files.h"
#include "platform/script.h"
#include "platform/system.h"

namespace plat {

namespace {
std::string CurrentWorkingFolder() {
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer)) return buffer;
  return std::string();
}
}  // namespace

std::string StartFolder = CurrentWorkingFolder();
TScriptState Script;

namespace {

// --- key tables ----------------------------------------------------------------

struct TNamedKey {
  const char* name;
  int virtualKey;
  int scan;
  bool extended;
};

const TNamedKey kNamedKeys[] = {
    {"Enter", kVkReturn, 0x1C, false}, {"Esc", kVkEscape, 0x01, false},  {"Tab", kVkTab, 0x0F, false},
    {"Backspace", kVkBack, 0x0E, false}, {"Space", kVkSpace, 0x39, false}, {"Del", kVkDelete, 0x53, true},
    {"Ins", kVkInsert, 0x52, true},    {"Up", kVkUp, 0x48, true},        {"Down", kVkDown, 0x50, true},
    {"Left", kVkLeft, 0x4B, true},     {"Right", kVkRight, 0x4D, true},  {"Home", kVkHome, 0x47, true},
    {"End", kVkEnd, 0x4F, true},       {"PgUp", kVkPrior, 0x49, true},   {"PgDn", kVkNext, 0x51, true},
    {"F1", 112, 0x3B, false},          {"F2", 113, 0x3C, false},         {"F3", 114, 0x3D, false},
    {"F4", 115, 0x3E, false},          {"F5", 116, 0x3F, false},         {"F6", 117, 0x40, false},
    {"F7", 118, 0x41, false},          {"F8", 119, 0x42, false},         {"F9", 120, 0x43, false},
    {"F10", 121, 0x44, false},         {"F11", 122, 0x57, false},        {"F12", 123, 0x58, false},
};

constexpr int kScanCtrl = 0x1D, kScanShift = 0x2A, kScanAlt = 0x38;

// The keys of a US keyboard: each row with its characters unshifted and
// shifted, their set-1 scan codes and virtual keys.
struct TKeyRow {
  const char* plain;
  const char* shifted;
  uint8_t scans[13];
  uint8_t virtualKeys[13];
};

const TKeyRow kKeyRows[] = {
    {"`1234567890-=", "~!@#$%^&*()_+",
     {0x29, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D},
     {0xC0, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xBD, 0xBB}},
    {"qwertyuiop[]\\", "QWERTYUIOP{}|",
     {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x2B},
     {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0xDB, 0xDD, 0xDC}},
    {"asdfghjkl;'", "ASDFGHJKL:\"",
     {0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28},
     {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xBA, 0xDE}},
    {"zxcvbnm,./", "ZXCVBNM<>?",
     {0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35},
     {'Z', 'X', 'C', 'V', 'B', 'N', 'M', 0xBC, 0xBE, 0xBF}},
    {" ", " ", {0x39}, {kVkSpace}},
};

struct TCharKey {
  int virtualKey = 0;
  int scan = 0;
  char plain = 0;
  char shifted = 0;
  bool needsShift = false;
};

// The key that types an ASCII character; false for characters without one.
bool KeyOfChar(char c, TCharKey& key) {
  for (const TKeyRow& row : kKeyRows) {
    size_t n = std::strlen(row.plain);
    for (size_t i = 0; i < n; ++i) {
      if (row.plain[i] != c && row.shifted[i] != c) continue;
      key.virtualKey = row.virtualKeys[i];
      key.scan = row.scans[i];
      key.plain = row.plain[i];
      key.shifted = row.shifted[i];
      key.needsShift = row.plain[i] != c;
      return true;
    }
  }
  return false;
}

bool EqualNoCase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t n = std::strlen(prefix);
  return s.size() >= n && EqualNoCase(s.substr(0, n), prefix);
}

// --- line reader -------------------------------------------------------------------

bool ParseInt(const std::string& text, long lo, long hi, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || v < lo || v > hi) return false;
  value = v;
  return true;
}

std::vector<std::string> SplitWords(const std::string& s) {
  std::vector<std::string> words;
  std::istringstream in(s);
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

uint32_t ButtonFlag(int button) { return button == 0 ? 1u : button == 1 ? 2u : 16u; }

bool ParseButton(const std::string& word, int& button) {
  if (EqualNoCase(word, "left")) button = 0;
  else if (EqualNoCase(word, "right")) button = 1;
  else if (EqualNoCase(word, "middle")) button = 2;
  else return false;
  return true;
}

TMessage ButtonMessage(int button, bool down, uint32_t flags, int x, int y) {
  static_assert(kMsgRButtonDown - kMsgLButtonDown == 3 && kMsgMButtonDown - kMsgLButtonDown == 6);
  uint32_t id = uint32_t(kMsgLButtonDown) + uint32_t(button) * 3u + (down ? 0u : 1u);
  return TMessage{id, flags, PointLParam(x, y)};
}

// key [ctrl+][alt+][shift+]NAME
bool ParseKeyLine(const std::string& rest, int lineNo, const std::string& source,
                  std::vector<TScriptStep>& steps, std::string& error) {
  std::string name = rest;
  bool ctrl = false, alt = false, shift = false;
  for (bool more = true; more;) {
    more = false;
    if (name.size() > 5 && StartsWithNoCase(name, "ctrl+")) { ctrl = more = true; name.erase(0, 5); }
    else if (name.size() > 4 && StartsWithNoCase(name, "alt+")) { alt = more = true; name.erase(0, 4); }
    else if (name.size() > 6 && StartsWithNoCase(name, "shift+")) { shift = more = true; name.erase(0, 6); }
  }
  if (name.empty()) {
    error = "key without a name";
    return false;
  }

  int virtualKey = 0, scan = 0, ch = -1;
  bool extended = false;
  bool named = false;
  for (const TNamedKey& k : kNamedKeys) {
    if (EqualNoCase(name, k.name)) {
      virtualKey = k.virtualKey;
      scan = k.scan;
      extended = k.extended;
      named = true;
      break;
    }
  }
  if (!named) {
    size_t pos = 0;
    uint32_t cp = 0;
    uint8_t winChar = 0;
    if (!wnd::NextCodePoint(name, pos, cp) || pos != name.size()) {
      error = "unknown key '" + name + "'";
      return false;
    }
    if (!wnd::WinCharOf(cp, winChar)) {
      error = "key '" + name + "' has no character in the Windows code page";
      return false;
    }
    ch = winChar;
    TCharKey key;
    if (ch < 0x80 && KeyOfChar(char(ch), key)) {
      virtualKey = key.virtualKey;
      scan = key.scan;
      if (key.needsShift) shift = true;
      else if (shift) ch = static_cast<unsigned char>(key.shifted);
    }
  }

  // The character the press types, if any.
  uint32_t charMessage = kMsgChar;
  int typed = -1;
  if (alt && !ctrl) {
    charMessage = kMsgSysChar;
    typed = ch >= 0 ? ch : ControlCharForKey(virtualKey, false);
  } else if (ctrl && !alt) {
    typed = ControlCharForKey(virtualKey, true);
  } else if (!ctrl && !alt) {
    typed = ch >= 0 ? ch : ControlCharForKey(virtualKey, false);
  }

  TScriptStep step;
  step.lineNo = lineNo;
  step.source = source;
  if (!ctrl && !alt && !shift) {
    if (virtualKey == kVkReturn || ch == 'y' || ch == 'Y') step.answer = kAnswerYes;
    else if (ch == 'n' || ch == 'N') step.answer = kAnswerNo;
    else if (virtualKey == kVkEscape) step.answer = kAnswerCancel;
  }
  auto& m = step.messages;
  if (ctrl) m.push_back({kMsgKeyDown, uint32_t(kVkControl), KeyLParam(kScanCtrl, false, false, false, false)});
  if (alt)
    m.push_back({KeyMessageId(true, kVkMenu, true, ctrl), uint32_t(kVkMenu),
                 KeyLParam(kScanAlt, false, true, false, false)});
  if (shift)
    m.push_back({KeyMessageId(true, kVkShift, alt, ctrl), uint32_t(kVkShift),
                 KeyLParam(kScanShift, false, alt, false, false)});
  int32_t downParam = KeyLParam(scan, extended, alt, false, false);
  if (virtualKey != 0) m.push_back({KeyMessageId(true, virtualKey, alt, ctrl), uint32_t(virtualKey), downParam});
  if (typed >= 0) m.push_back({charMessage, uint32_t(typed), virtualKey != 0 ? downParam : 1});
  if (virtualKey != 0)
    m.push_back({KeyMessageId(false, virtualKey, alt, ctrl), uint32_t(virtualKey),
                 KeyLParam(scan, extended, alt, true, true)});
  if (shift)
    m.push_back({KeyMessageId(false, kVkShift, alt, ctrl), uint32_t(kVkShift),
                 KeyLParam(kScanShift, false, alt, true, true)});
  // Alt released after another key is an ordinary key up.
  if (alt) m.push_back({kMsgKeyUp, uint32_t(kVkMenu), KeyLParam(kScanAlt, false, false, true, true)});
  if (ctrl) m.push_back({kMsgKeyUp, uint32_t(kVkControl), KeyLParam(kScanCtrl, false, false, true, true)});
  steps.push_back(step);
  return true;
}

}  // namespace

bool ParseScriptLine(TScriptParser& parser, const std::string& rawLine, int lineNo,
                     std::vector<TScriptStep>& steps, std::string& error) {
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return true;
  line.erase(0, start);
  if (line[0] == '#') return true;

  size_t wordEnd = line.find_first_of(" \t");
  std::string command = line.substr(0, wordEnd);
  // The text of `text` keeps its blanks: everything after one separator.
  std::string rawRest = wordEnd == std::string::npos ? std::string() : line.substr(wordEnd + 1);
  std::vector<std::string> args = SplitWords(rawRest);
  size_t lastNonBlank = line.find_last_not_of(" \t");
  std::string source = line.substr(0, lastNonBlank + 1);

  TScriptStep step;
  step.lineNo = lineNo;
  step.source = source;

  if (EqualNoCase(command, "key")) {
    if (args.size() != 1) {
      error = "key needs one key name";
      return false;
    }
    return ParseKeyLine(args[0], lineNo, source, steps, error);
  }
  if (EqualNoCase(command, "text")) {
    std::string win = wnd::WinFromUtf8(rawRest);
    bool first = true;
    for (unsigned char c : win) {
      TScriptStep s = step;
      s.continuation = !first;
      s.messages.push_back({kMsgChar, c, 1});
      steps.push_back(s);
      first = false;
    }
    return true;
  }
  if (EqualNoCase(command, "move") || EqualNoCase(command, "click") || EqualNoCase(command, "press") ||
      EqualNoCase(command, "release")) {
    bool isMove = EqualNoCase(command, "move");
    bool isClick = EqualNoCase(command, "click");
    long x = 0, y = 0;
    int button = 0;
    size_t maxArgs = isMove ? 2 : 3;
    if (args.size() < 2 || args.size() > maxArgs || !ParseInt(args[0], -32768, 32767, x) ||
        !ParseInt(args[1], -32768, 32767, y) || (args.size() == 3 && !ParseButton(args[2], button))) {
      error = command + (isMove ? " needs X Y" : " needs X Y [left|right|middle]");
      return false;
    }
    parser.mouseX = int(x);
    parser.mouseY = int(y);
    step.messages.push_back({kMsgMouseMove, parser.buttonFlags, PointLParam(int(x), int(y))});
    if (isMove) {
      steps.push_back(step);
      return true;
    }
    bool press = !EqualNoCase(command, "release");
    if (press) parser.buttonFlags |= ButtonFlag(button);
    else parser.buttonFlags &= ~ButtonFlag(button);
    step.messages.push_back(ButtonMessage(button, press, parser.buttonFlags, int(x), int(y)));
    steps.push_back(step);
    if (isClick) {
      // The button comes up in a step of its own, so it is seen held.
      parser.buttonFlags &= ~ButtonFlag(button);
      TScriptStep up;
      up.lineNo = lineNo;
      up.source = source;
      up.continuation = true;
      up.messages.push_back(ButtonMessage(button, false, parser.buttonFlags, int(x), int(y)));
      steps.push_back(up);
    }
    return true;
  }
  if (EqualNoCase(command, "wheel")) {
    long delta = 0;
    if (args.size() != 1 || !ParseInt(args[0], -32768, 32767, delta)) {
      error = "wheel needs a delta (-32768 to 32767)";
      return false;
    }
    uint32_t wParam = (uint32_t(uint16_t(int16_t(delta))) << 16) | parser.buttonFlags;
    step.messages.push_back({kMsgMouseWheel, wParam, PointLParam(parser.mouseX, parser.mouseY)});
    steps.push_back(step);
    return true;
  }
  if (EqualNoCase(command, "wait")) {
    long ms = 0;
    if (args.size() != 1 || !ParseInt(args[0], 0, 86400000L, ms)) {
      error = "wait needs milliseconds";
      return false;
    }
    step.kind = kStepWait;
    step.waitMs = uint32_t(ms);
    steps.push_back(step);
    return true;
  }
  if (EqualNoCase(command, "disk")) {
    long bytes = 0;
    if (args.size() != 1 || !ParseInt(args[0], -1, 2147483647L, bytes)) {
      error = "disk needs the free bytes (-1 for no limit)";
      return false;
    }
    step.kind = kStepDisk;
    step.diskBytes = bytes;
    steps.push_back(step);
    return true;
  }
  if (EqualNoCase(command, "shot")) {
    size_t first = rawRest.find_first_not_of(" \t");
    size_t last = rawRest.find_last_not_of(" \t");
    if (first == std::string::npos) {
      error = "shot needs a file name";
      return false;
    }
    std::string path = rawRest.substr(first, last - first + 1);
    if (path[0] != '/' && !parser.baseFolder.empty()) path = parser.baseFolder + "/" + path;
    step.kind = kStepShot;
    step.shotPath = path;
    steps.push_back(step);
    return true;
  }
  if (EqualNoCase(command, "close")) {
    if (!args.empty()) {
      error = "close takes no arguments";
      return false;
    }
    step.messages.push_back({kMsgClose, 0, 0});
    steps.push_back(step);
    return true;
  }
  error = "unknown command '" + command + "'";
  return false;
}

std::vector<TScriptStep> ParseScriptText(const std::string& text, const std::string& baseFolder) {
  std::vector<TScriptStep> steps;
  TScriptParser parser;
  parser.baseFolder = baseFolder;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    std::string error;
    if (!ParseScriptLine(parser, line, lineNo, steps, error))
      std::fprintf(stderr, "torv: script line %d: %s; line skipped\n", lineNo, error.c_str());
  }
  return steps;
}

// --- player -------------------------------------------------------------------------

namespace {

constexpr uint32_t kCloseAgainMs = 60000;   // close message repeated after a minute
constexpr uint32_t kGiveUpMs = 600000;      // exit code 3 ten minutes after the end

void RunStep(const TScriptStep& step) {
  switch (step.kind) {
    case kStepMessages:
      for (const TMessage& m : step.messages) PostWindowMessage(m.message, m.wParam, m.lParam);
      break;
    case kStepWait:
      // The program runs on for the time (virtual when headless) before the
      // next line comes, so a wait lets it reach its next input wait.
      Script.waiting = true;
      Script.waitUntil = TickMs() + step.waitMs;
      break;
    case kStepShot:
      if (!WriteScreenshot(step.shotPath))
        std::fprintf(stderr, "torv: script line %d: cannot write the screenshot %s\n", step.lineNo,
                     step.shotPath.c_str());
      break;
    case kStepDisk:
      gDiskBytesLeft = step.diskBytes;
      break;
    default:
      break;
  }
}

// Takes the next step; after the end, the close message and the time limits.
void TakeNextStep() {
  if (Script.next < Script.steps.size()) {
    RunStep(Script.steps[Script.next++]);
    return;
  }
  uint32_t now = TickMs();
  if (!Script.ended) {
    Script.ended = true;
    Script.endedAt = Script.lastCloseAt = now;
    PostWindowMessage(kMsgClose, 0, 0);
    return;
  }
  if (now - Script.endedAt >= kGiveUpMs) {
    std::fprintf(stderr, "torv: the script ended 10 minutes ago and the program still runs; exit code 3\n");
    std::fflush(stderr);
    std::exit(3);
  }
  if (now - Script.lastCloseAt >= kCloseAgainMs) {
    Script.lastCloseAt = now;
    PostWindowMessage(kMsgClose, 0, 0);
  }
}

// Milliseconds left of a wait line; 0 when none is running.
uint32_t WaitLeft() {
  if (!Script.waiting) return 0;
  int32_t left = int32_t(Script.waitUntil - TickMs());
  if (left > 0) return uint32_t(left);
  Script.waiting = false;
  return 0;
}

}  // namespace

void EnsureScriptLoaded() {
  if (Script.loaded) return;
  Script.loaded = true;
  const char* path = std::getenv("TORV_SCRIPT");
  if (!path || !*path) {
    Script.active = IsHeadless();
    return;
  }
  Script.active = true;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torv: cannot read the script %s: %s; going on without input\n", path,
                 std::strerror(errno));
    return;
  }
  std::ostringstream text;
  text << in.rdbuf();
  Script.steps = ParseScriptText(text.str(), StartFolder);
}

void ResetScript() { Script = TScriptState(); }

bool ScriptIsActive() {
  EnsureScriptLoaded();
  return Script.active;
}

void ScriptOnEmptyPeek() {
  if (!ScriptIsActive()) return;
  if (WaitLeft() > 0) return;
  if (++Script.emptyPeeks < 3) return;
  Script.emptyPeeks = 0;
  TakeNextStep();
}

void ScriptOnWait() {
  if (!ScriptIsActive()) return;
  Script.emptyPeeks = 0;
  if (uint32_t left = WaitLeft()) {
    if (IsHeadless()) {
      // The program waits for input: nothing happens before the wait is over.
      AdvanceVirtualClock(uint64_t(left) * 1000u);
      Script.waiting = false;
    } else {
      MainWindow.ops->present(false);
      MainWindow.ops->waitEvent(int(std::min<uint32_t>(left, 50)));
      return;
    }
  }
  if (!Script.ended || Script.next < Script.steps.size()) {
    TakeNextStep();
    return;
  }
  if (IsHeadless()) {
    // Nothing can happen until the next close message: jump there.
    uint32_t now = TickMs();
    uint32_t due = std::min(Script.lastCloseAt + kCloseAgainMs, Script.endedAt + kGiveUpMs);
    if (int32_t(due - now) > 0) AdvanceVirtualClock(uint64_t(due - now) * 1000u);
  } else {
    MainWindow.ops->present(false);
    MainWindow.ops->waitEvent(50);
  }
  TakeNextStep();
}

// --- message box answers ---------------------------------------------------------------

int TakeScriptedAnswerKind() {
  if (!ScriptIsActive()) return kAnswerNone;
  while (Script.next < Script.steps.size()) {
    const TScriptStep& step = Script.steps[Script.next++];
    if (step.continuation || step.kind != kStepMessages) {
      RunStep(step);
      // The box waits for its answer: a wait before it is over by then.
      if (step.kind == kStepWait && IsHeadless()) {
        if (uint32_t left = WaitLeft()) AdvanceVirtualClock(uint64_t(left) * 1000u);
        Script.waiting = false;
      }
      continue;
    }
    if (step.answer != kAnswerNone) return step.answer;
    std::fprintf(stderr, "torv: script line %d: '%s' does not answer the message box; taken as cancel\n",
                 step.lineNo, step.source.c_str());
    return kAnswerNone;
  }
  std::fprintf(stderr, "torv: the script has no answer for a message box; taken as cancel\n");
  return kAnswerNone;
}

}  // namespace plat
