// Runs the real torv in a fresh program folder and reads what it leaves:
// files, the transcript and PNG screenshots.
#pragma once

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace torvtest {

namespace fs = std::filesystem;


// --- running the program ------------------------------------------------------------

struct TRunResult {
  bool finished = false;  // false: killed after the time limit
  int exitCode = -1;      // -1 when it did not exit normally
};

// Starts argv in folder with the environment changes (an empty value removes
// the variable) and waits at most limitSeconds; the process group is killed
// when the time is up.
inline TRunResult RunProgram(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                      const fs::path& folder, int limitSeconds) {
  TRunResult result;
  pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) {
    setpgid(0, 0);
    for (const auto& [name, value] : env) {
      if (value.empty()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value.c_str(), 1);
      }
    }
    if (chdir(folder.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  setpgid(pid, pid);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
  int status = 0;
  for (;;) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  result.finished = true;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

// What a fresh program folder holds: the message file, or nothing at all.
enum class TFolderStart { kMessageFile, kEmpty };

class TempFolder {
 public:
  explicit TempFolder(TFolderStart start = TFolderStart::kMessageFile) {
    char tmpl[] = "/tmp/torv_runXXXXXX";
    char* made = mkdtemp(tmpl);
    if (!made) return;
    path_ = made;
    if (start == TFolderStart::kEmpty) return;
    // The data files that stand beside an installed program.
    std::error_code ec;
    fs::copy_file(fs::path(TORV_BINARY_DIR) / "TORV.TX0", path_ / "TORV.TX0", ec);
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

inline const std::string kTorv = std::string(TORV_BINARY_DIR) + "/torv";

// Runs torv headless in a fresh program folder with the script.
inline TRunResult RunHeadless(const TempFolder& home, const std::string& script) {
  WriteFile(home.Path() / "script.txt", script);
  return RunProgram({kTorv},
                    {{"TORV_VIDEO", "headless"},
                     {"TORV_SCREEN", ""},
                     {"TORV_SCRIPT", (home.Path() / "script.txt").string()},
                     {"TORV_TRANSCRIPT", (home.Path() / "transcript.txt").string()},
                     {"TORV_HOME", home.Path().string()}},
                    home.Path(), 60);
}

// Runs torv headless in the program folder home with the arguments after the
// program name, started from the folder start (home when empty).
inline TRunResult RunHeadlessWithArguments(const TempFolder& home, const std::string& script,
                                           const std::vector<std::string>& arguments, const fs::path& start = {}) {
  WriteFile(home.Path() / "script.txt", script);
  std::vector<std::string> argv = {kTorv};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunProgram(argv,
                    {{"TORV_VIDEO", "headless"},
                     {"TORV_SCREEN", ""},
                     {"TORV_SCRIPT", (home.Path() / "script.txt").string()},
                     {"TORV_TRANSCRIPT", (home.Path() / "transcript.txt").string()},
                     {"TORV_HOME", home.Path().string()}},
                    start.empty() ? home.Path() : start, 60);
}

// Runs torv headless with a client area of the given size ("1024x768") in the
// program folder, which keeps what earlier runs left; the script is left in
// it as "script.txt", the transcript goes on in "transcript.txt".
inline TRunResult RunHeadlessIn(const fs::path& folder, const std::string& script, const std::string& screen) {
  WriteFile(folder / "script.txt", script);
  return RunProgram({kTorv},
                    {{"TORV_VIDEO", "headless"},
                     {"TORV_SCREEN", screen},
                     {"TORV_SCRIPT", (folder / "script.txt").string()},
                     {"TORV_TRANSCRIPT", (folder / "transcript.txt").string()},
                     {"TORV_HOME", folder.string()}},
                    folder, 60);
}

// Runs torv in a real SDL window under Xvfb in the program folder with the
// script (left in the folder as "script.txt"); limitSeconds as RunProgram.
inline TRunResult RunUnderXvfb(const TempFolder& home, const std::string& script, int limitSeconds) {
  WriteFile(home.Path() / "script.txt", script);
  // The desktop bus library that SDL loads keeps a block at exit, which the
  // leak checker of sanitized builds would report; the headless runs keep
  // checking the program's own memory.
  const char* asan = std::getenv("ASAN_OPTIONS");
  std::string asanOptions = std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "detect_leaks=0";
  return RunProgram({"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", kTorv},
                    {{"TORV_VIDEO", ""},
                     {"TORV_SCREEN", ""},
                     {"TORV_SCRIPT", (home.Path() / "script.txt").string()},
                     {"TORV_TRANSCRIPT", ""},
                     {"TORV_HOME", home.Path().string()},
                     {"SDL_AUDIODRIVER", "dummy"},
                     {"ASAN_OPTIONS", asanOptions}},
                    home.Path(), limitSeconds);
}

// --- reading the screenshot -----------------------------------------------------------

// An 8-bit RGB picture read from a PNG file; empty on any fault.
struct TPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  std::string error;
  uint32_t At(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
};

inline uint32_t Be32(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
         uint8_t(s[at + 3]);
}

// Decodes through the system's zlib, loaded at run time.
inline TPicture ReadPng(const fs::path& file) {
  TPicture pic;
  std::string data = ReadFile(file);
  if (data.size() < 8 || data.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0) {
    pic.error = "no PNG signature";
    return pic;
  }
  std::string idat;
  int depth = 0, colourType = -1, interlace = -1;
  for (size_t at = 8; at + 12 <= data.size();) {
    uint32_t len = Be32(data, at);
    if (len > data.size() - at - 12) {
      pic.error = "chunk runs past the end";
      return pic;
    }
    std::string type = data.substr(at + 4, 4);
    if (type == "IHDR" && len >= 13) {
      pic.width = int(Be32(data, at + 8));
      pic.height = int(Be32(data, at + 12));
      depth = uint8_t(data[at + 16]);
      colourType = uint8_t(data[at + 17]);
      interlace = uint8_t(data[at + 20]);
    } else if (type == "IDAT") {
      idat.append(data, at + 8, len);
    }
    at += 12 + size_t(len);
  }
  if (pic.width <= 0 || pic.height <= 0 || pic.width > 16384 || pic.height > 16384 || depth != 8 ||
      colourType != 2 || interlace != 0) {
    pic.error = "not an 8-bit RGB picture";
    return pic;
  }
  using TUncompress = int (*)(uint8_t*, unsigned long*, const uint8_t*, unsigned long);
  void* zlib = dlopen("libz.so.1", RTLD_NOW);
  auto uncompress = zlib ? reinterpret_cast<TUncompress>(dlsym(zlib, "uncompress")) : nullptr;
  if (!uncompress) {
    pic.error = "zlib (libz.so.1) is missing";
    return pic;
  }
  size_t stride = size_t(pic.width) * 3;
  std::vector<uint8_t> raw((stride + 1) * size_t(pic.height));
  unsigned long rawLen = raw.size();
  int rc = uncompress(raw.data(), &rawLen, reinterpret_cast<const uint8_t*>(idat.data()), idat.size());
  dlclose(zlib);
  if (rc != 0 || rawLen != raw.size()) {
    pic.error = "picture data does not inflate to its size";
    return pic;
  }
  pic.rgb.assign(stride * size_t(pic.height), 0);
  for (int y = 0; y < pic.height; ++y) {
    uint8_t filter = raw[size_t(y) * (stride + 1)];
    const uint8_t* in = &raw[size_t(y) * (stride + 1) + 1];
    uint8_t* out = &pic.rgb[size_t(y) * stride];
    const uint8_t* up = y > 0 ? out - stride : nullptr;
    for (size_t i = 0; i < stride; ++i) {
      int a = i >= 3 ? out[i - 3] : 0, b = up ? up[i] : 0, c = (up && i >= 3) ? up[i - 3] : 0;
      int pred = 0;
      switch (filter) {
        case 0: pred = 0; break;
        case 1: pred = a; break;
        case 2: pred = b; break;
        case 3: pred = (a + b) / 2; break;
        case 4: {
          int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
          pred = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
          break;
        }
        default:
          pic.error = "unknown row filter";
          pic.rgb.clear();
          return pic;
      }
      out[i] = uint8_t(in[i] + pred);
    }
  }
  return pic;
}

// --- records in files the program writes -----------------------------------------------

// A 13-byte vector record as the layer and drawing files hold it.
struct TFileRecord {
  uint8_t type;
  float x, y, z;
};

// The whole records between the byte offsets from and to (to is cut to the
// bytes there are).
inline std::vector<TFileRecord> ParseRecords(const std::string& bytes, size_t from, size_t to) {
  std::vector<TFileRecord> out;
  to = std::min(to, bytes.size());
  for (size_t i = from; i + 13 <= to; i += 13) {
    TFileRecord r{};
    r.type = uint8_t(bytes[i]);
    std::memcpy(&r.x, bytes.data() + i + 1, 4);
    std::memcpy(&r.y, bytes.data() + i + 5, 4);
    std::memcpy(&r.z, bytes.data() + i + 9, 4);
    out.push_back(r);
  }
  return out;
}

// --- script lines and picture regions -------------------------------------------------

// Lets the program take n polls of its input wait: pacing by the program's
// own waits, not by the clock, so that a slow machine loses no click.
inline std::string Pause(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "wait 1\n";
  return s;
}

// The mouse rests on the point, clicks there and the program acts on it.
inline std::string Click(int x, int y, const char* button = "left") {
  const std::string at = std::to_string(x) + " " + std::to_string(y);
  return "move " + at + "\n" + Pause(20) + "click " + at + " " + button + "\n" + Pause(300);
}

// Pixels of the rectangle (corners included) darker than the sum of their
// three channels: text, lines, a dialog's title bar.
inline int CountDark(const TPicture& pic, int x1, int y1, int x2, int y2, int darkerThan = 200) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) {
      const uint32_t c = pic.At(x, y);
      n += int((c >> 16) & 0xFF) + int((c >> 8) & 0xFF) + int(c & 0xFF) < darkerThan;
    }
  return n;
}

// Pixels of the rectangle that are not white.
inline int CountInked(const TPicture& pic, int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += pic.At(x, y) != 0xFFFFFFu;
  return n;
}

// Pixels of the rectangle that differ between two pictures; -1 when the
// pictures differ in size or the rectangle leaves them.
inline int CountChanged(const TPicture& a, const TPicture& b, int x1, int y1, int x2, int y2) {
  if (a.width != b.width || a.height != b.height || x2 >= a.width || y2 >= a.height) return -1;
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

// The data files of the build that stand beside an installed program,
// copied over older ones.
inline void CopyShippedFiles(const fs::path& folder) {
  for (const char* name : {"TORV.TX0", "TORV.TXT", "Resourc1.DAT", "MVKBiPrg.DAT", "MVKBild.DAT"}) {
    std::error_code ec;
    fs::copy_file(fs::path(TORV_BINARY_DIR) / name, folder / name, fs::copy_options::overwrite_existing, ec);
  }
}

// The start of a fresh program folder shows a notice that no font exists;
// the script answers it. The start sequence and its pause take script lines
// as they poll, so pauses follow that let the start finish before whatever
// the test scripts next (a message box skips the pauses left over).
inline std::string StartScript() {
  std::string script = "key Enter\n";
  for (int i = 0; i < 1500; ++i) script += "wait 1\n";
  // The start panel is offered once after the start: a right click closes it.
  script += "click 4 300 right\nwait 10\n";
  return script;
}

}  // namespace torvtest
