// Small system services: clock (virtual when headless), sounds, outside
// programs, clipboard, the desktop opener and machine facts.
//
// Contents: clock - sounds - outside programs - clipboard - machine facts.
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <SDL.h>

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/backend.h"
#include "platform/system.h"

extern char** environ;

namespace plat {

namespace {

int64_t MonotonicUs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

int64_t WallUs() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

TSystemState StartSystemState() {
  TSystemState s;
  s.startMonotonicUs = MonotonicUs();
  s.startWallUs = WallUs();
  return s;
}

// Every clock read of a headless run moves the virtual clock on a little, so
// a loop that waits for the clock always ends.
constexpr uint64_t kClockReadUs = 5;

}  // namespace

TSystemState SystemState = StartSystemState();

// --- clock ---------------------------------------------------------------------------

void AdvanceVirtualClock(uint64_t microseconds) { SystemState.virtualUs += microseconds; }

uint32_t TickMs() {
  if (IsHeadless()) {
    SystemState.virtualUs += kClockReadUs;
    return uint32_t(SystemState.virtualUs / 1000);
  }
  return uint32_t((MonotonicUs() - SystemState.startMonotonicUs) / 1000);
}

TLocalTime LocalTimeNow() {
  int64_t us;
  if (IsHeadless()) {
    SystemState.virtualUs += kClockReadUs;
    us = SystemState.startWallUs + int64_t(SystemState.virtualUs);
  } else {
    us = WallUs();
  }
  time_t seconds = time_t(us / 1000000);
  tm parts{};
  localtime_r(&seconds, &parts);
  TLocalTime t{};
  t.year = parts.tm_year + 1900;
  t.month = parts.tm_mon + 1;
  t.day = parts.tm_mday;
  t.weekday = parts.tm_wday;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  t.second = parts.tm_sec;
  t.millisecond = int((us / 1000) % 1000);
  return t;
}

void SleepMs(uint32_t ms) {
  if (IsHeadless()) {
    AdvanceVirtualClock(uint64_t(ms) * 1000);
    return;
  }
  timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

// --- sounds --------------------------------------------------------------------------------

namespace {

// Opens the audio device once; false without one (and always when headless).
bool AudioReady() {
  if (IsHeadless()) return false;
  if (SystemState.audioTried) return SystemState.audioDevice != 0;
  SystemState.audioTried = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 1024;
  SDL_AudioSpec have{};
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SystemState.audioDevice = device;
  SystemState.audioRate = have.freq;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

// Appends a sine tone that fades out, so notes do not click.
void AppendTone(std::vector<int16_t>& samples, double frequency, int ms, double volume) {
  int rate = SystemState.audioRate > 0 ? SystemState.audioRate : 44100;
  int n = rate * ms / 1000;
  for (int i = 0; i < n; ++i) {
    double t = double(i) / rate;
    double attack = std::min(1.0, i / (rate * 0.005));
    double decay = std::exp(-4.0 * i / n);
    samples.push_back(int16_t(32767.0 * volume * attack * decay * std::sin(2.0 * M_PI * frequency * t)));
  }
}

bool PlaySamples(const std::vector<int16_t>& samples) {
  if (!AudioReady()) return false;
  SDL_ClearQueuedAudio(SystemState.audioDevice);
  return SDL_QueueAudio(SystemState.audioDevice, samples.data(), uint32_t(samples.size() * sizeof(int16_t))) == 0;
}

bool SameNoCase(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

bool PlaySoundAlias(const std::string& alias) {
  std::vector<int16_t> samples;
  if (SameNoCase(alias, "SystemStart")) {
    AppendTone(samples, 523.25, 140, 0.35);
    AppendTone(samples, 659.25, 140, 0.35);
    AppendTone(samples, 783.99, 320, 0.35);
  } else if (SameNoCase(alias, "Ding")) {
    AppendTone(samples, 1046.5, 350, 0.4);
  } else {
    return false;
  }
  return PlaySamples(samples);
}

bool StopSound() {
  if (IsHeadless() || SystemState.audioDevice == 0) return false;
  SDL_ClearQueuedAudio(SystemState.audioDevice);
  return true;
}

void MessageBeep(int type) {
  ++SystemState.beepCount;
  if (IsHeadless()) return;
  std::vector<int16_t> samples;
  AppendTone(samples, type == -1 ? 750.0 : 880.0, 160, 0.35);
  if (!PlaySamples(samples)) {
    std::fputs("\a", stderr);
    std::fflush(stderr);
  }
}

int BeepCount() { return SystemState.beepCount; }

// --- outside programs ------------------------------------------------------------------

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false, quoted = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inArgument) args.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) args.push_back(current);
  return args;
}

namespace {

void ReapStartedPrograms() {
  std::vector<int>& pids = SystemState.startedPrograms;
  for (size_t i = 0; i < pids.size();) {
    int status = 0;
    pid_t r = waitpid(pid_t(pids[i]), &status, WNOHANG);
    if (r == pid_t(pids[i]) || (r < 0 && errno == ECHILD)) pids.erase(pids.begin() + long(i));
    else ++i;
  }
}

// Starts the arguments (Windows code page) without a shell; -1 when the
// program cannot be started.
pid_t SpawnArguments(const std::vector<std::string>& winArgs) {
  if (winArgs.empty() || winArgs[0].empty()) return -1;
  std::vector<std::string> hostArgs;
  for (const std::string& a : winArgs) hostArgs.push_back(wnd::Utf8FromWin(a));
  std::vector<char*> argv;
  for (std::string& a : hostArgs) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (rc != 0) {
    std::fprintf(stderr, "torv: cannot start %s: %s\n", argv[0], std::strerror(rc));
    return -1;
  }
  return pid;
}

}  // namespace

bool RunCommandLine(const std::string& commandLine) {
  ReapStartedPrograms();
  pid_t pid = SpawnArguments(SplitCommandLine(commandLine));
  if (pid < 0) return false;
  SystemState.startedPrograms.push_back(int(pid));
  return true;
}

int RunCommandLineAndWait(const std::string& commandLine) {
  pid_t pid = SpawnArguments(SplitCommandLine(commandLine));
  if (pid < 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool OpenWithDesktop(const std::string& target) {
  if (IsHeadless()) {
    TranscriptLine("open|" + wnd::Utf8FromWin(target));
    return true;
  }
  ReapStartedPrograms();
  // The target is one argument, whatever blanks it holds.
  pid_t pid = SpawnArguments({"xdg-open", target});
  if (pid < 0) return false;
  SystemState.startedPrograms.push_back(int(pid));
  return true;
}

// --- clipboard -------------------------------------------------------------------------------

namespace {
// The system clipboard is used when an SDL window system is running.
bool SystemClipboard() { return !IsHeadless() && SDL_WasInit(SDL_INIT_VIDEO) != 0; }
}  // namespace

bool SetClipboardText(const std::string& winText) {
  SystemState.clipboardHasPicture = false;
  SystemState.clipboardPicture = TPixelBlock();
  if (SystemClipboard()) return SDL_SetClipboardText(wnd::Utf8FromWin(winText).c_str()) == 0;
  SystemState.clipboardText = winText;
  SystemState.clipboardHasText = true;
  return true;
}

bool GetClipboardText(std::string& winText) {
  winText.clear();
  if (SystemClipboard()) {
    if (!SDL_HasClipboardText()) return false;
    char* utf8 = SDL_GetClipboardText();
    if (!utf8) return false;
    winText = wnd::WinFromUtf8(utf8);
    bool any = utf8[0] != '\0';
    SDL_free(utf8);
    return any;
  }
  if (!SystemState.clipboardHasText) return false;
  winText = SystemState.clipboardText;
  return true;
}

bool ClipboardHasPicture() { return SystemState.clipboardHasPicture; }

bool GetClipboardPicture(TPixelBlock& out) {
  if (!SystemState.clipboardHasPicture) {
    out = TPixelBlock();
    return false;
  }
  out = SystemState.clipboardPicture;
  return true;
}

bool SetClipboardPicture(const TPixelBlock& block) {
  if (block.width <= 0 || block.height <= 0 ||
      block.pixels.size() != size_t(block.width) * size_t(block.height))
    return false;
  SystemState.clipboardPicture = block;
  SystemState.clipboardHasPicture = true;
  SystemState.clipboardHasText = false;
  SystemState.clipboardText.clear();
  if (SystemClipboard()) SDL_SetClipboardText("");
  return true;
}

// --- machine facts ----------------------------------------------------------------------------

uint64_t TotalPhysicalMemory() {
  long pages = sysconf(_SC_PHYS_PAGES);
  long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return uint64_t(pages) * uint64_t(pageSize);
}

std::string ExecutableHostPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (size_t(n) < buffer.size()) return std::string(buffer.data(), size_t(n));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace plat
