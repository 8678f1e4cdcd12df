// A headless main window for the dialog tests: a fresh program folder
// (TORV_HOME, also the current folder) holding the message file and picture
// tables of the build, an optional input script, the drawing context, and
// helpers to read the frame buffer.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/script.h"
#include "platform/window.h"
#include "view/view_transform.h"

namespace uitest {

namespace fs = std::filesystem;

inline void ScriptRanOut() {
  std::fputs("the script ran out while the test still waited for input\n", stderr);
  std::abort();
}

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm: the
// view of the drawing-command tests.
inline void UseTwoPixelWorldView() {
  WorldXMin = 0;
  WorldYMin = 0;
  ViewScaleX = 2;
  ViewScaleY = 2;
  WorldXMax = float(DrawingArea.x2 - DrawingArea.x1) / 2;
  WorldYMax = float(DrawingArea.y2 - DrawingArea.y1) / 2;
}

class TScreen {
 public:
  explicit TScreen(const std::string& script = "", const char* size = nullptr) {
    char pattern[] = "/tmp/torv_ui_XXXXXX";
    if (mkdtemp(pattern) != nullptr) dir_ = pattern;
    for (const char* name : {"TORV.TX0", "MVKBild.DAT", "MVKBiPrg.DAT", "Resourc1.DAT"}) {
      std::error_code ec;
      fs::copy_file(fs::path(TORV_BINARY_DIR) / name, dir_ / name, ec);
    }
    setenv("TORV_HOME", dir_.c_str(), 1);
    setenv("TORV_VIDEO", "headless", 1);
    setenv("TORV_TRANSCRIPT", (dir_ / "transcript.txt").c_str(), 1);
    if (size) setenv("TORV_SCREEN", size, 1); else unsetenv("TORV_SCREEN");
    std::ofstream(dir_ / "script.txt") << script;
    setenv("TORV_SCRIPT", (dir_ / "script.txt").c_str(), 1);
    previous_ = plat::CurrentFolder();
    plat::SetCurrentFolder(plat::DosPathOf(dir_.string()));
    ErrorCode = 0;
    ClearKeyBuffer();
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    CloseRequested = false;
    RedrawState = 0;  // as under the main loop while a command runs: no repaint pending
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
    DrawingArea = TLayoutRect{1, 0, 51, int16_t(MaxX - 169), MaxY};
    ExitProc = ScriptRanOut;
    // As under the main loop: a close message at the end of the script only
    // sets CloseRequested, which ends every waiting loop.
    CommandRunning = true;
    OpenMessageFile();
    // A screen that is not uniform, so that a restore that misses shows.
    for (int y = 0; y <= MaxY; y += 8)
      FillColorRect(0, y, MaxX, y + 7, plat::Rgb((y * 7) & 0xFF, (y * 3) & 0xFF, 255 - (y & 0xFF)));
  }
  ~TScreen() {
    CloseMessageFile();
    ExitProc = nullptr;
    CommandRunning = false;
    CloseRequested = false;
    ReleaseWindowDc();
    plat::CloseWindow();
    plat::SetCurrentFolder(previous_);
    unsetenv("TORV_SCRIPT");
    unsetenv("TORV_TRANSCRIPT");
    unsetenv("TORV_SCREEN");
    unsetenv("TORV_HOME");
    ClearKeyBuffer();
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  const fs::path& Dir() const { return dir_; }
  // Replaces the script; its first line is taken by the next waiting loop.
  void UseScript(const std::string& script) {
    std::ofstream(dir_ / "script.txt") << script;
    plat::ResetScript();
  }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::vector<uint32_t> Pixels() { return plat::WindowFrameBuffer().pixels; }
  static uint32_t PixelAt(int x, int y) {
    const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)];
  }
  // Pixels of the rectangle (both corners included) that differ between two screens.
  static int CountChanged(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int x1, int y1, int x2,
                          int y2) {
    const int w = plat::WindowFrameBuffer().width;
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += a[size_t(y) * size_t(w) + size_t(x)] != b[size_t(y) * size_t(w) + size_t(x)];
    return n;
  }

 private:
  fs::path dir_;
  std::string previous_;
};

// A new script for the screen; the close sent at the end of the previous one
// and keys left over are gone.
inline void Script(TScreen& screen, const std::string& text) {
  for (int i = 0; i < 8; ++i) PumpWindowMessages();  // the close sent at the end of the previous script
  CloseRequested = false;
  ClearKeyBuffer();
  MouseButtonState = 0;  // a click that ended a run is not released by its script
  MouseKeyFlags = 0;
  screen.UseScript(text);
}

}  // namespace uitest
