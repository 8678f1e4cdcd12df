// Helpers of the bar, menu and button tests: scripted clicks taken
// in-process, resource pictures compared with the frame buffer, menu text
// files written for a test, and the screen of the input wait tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_names.h"
#include "commands/input_wait.h"
#include "commands/menu_pages.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "model/vector_store.h"
#include "platform/picture_codecs.h"
#include "support/param_image.h"
#include "ui/ui_screen.h"

namespace bartest {

// Feeds one click through the script and polls until its button is down; the
// mouse state then holds the click.
inline void TakeScriptedPress(uitest::TScreen& screen, int x, int y, const char* button = "left") {
  CloseRequested = false;
  MouseButtonState = 0;
  MouseKeyFlags = 0;
  screen.UseScript("click " + std::to_string(x) + " " + std::to_string(y) + " " + button + "\n");
  for (int guard = 0; guard < 1000 && MouseButtonState == 0 && !CloseRequested; ++guard) {
    int16_t mx = 0, my = 0;
    PollMousePosition(mx, my);
    if (MouseButtonState == 0) WaitForWindowMessage();
  }
}

// Pixels of the picture that differ from the screen at (x, y).
inline int PictureDiffers(const std::string& name, int x, int y) {
  plat::TPixelBlock picture;
  if (!plat::LoadResourcePicture(name, picture)) return -1;
  int differ = 0;
  for (int py = 0; py < picture.height; ++py)
    for (int px = 0; px < picture.width; ++px)
      differ += (uitest::TScreen::PixelAt(x + px, y + py) & 0xFFFFFF) !=
                (picture.pixels[size_t(py * picture.width + px)] & 0xFFFFFF);
  return differ;
}

// One 42-byte line of the menu text file: caption (up to 18 characters),
// kind at 28, hot key at 35, the command right-aligned in 36-39.
inline std::string FileLine(const std::string& caption, int number, char key = ' ') {
  std::string text(40, ' ');
  text.replace(0, std::min<size_t>(caption.size(), 18), caption.substr(0, 18));
  text[35] = key;
  if (number != 0) {
    const std::string digits = std::to_string(number);
    text.replace(40 - digits.size(), digits.size(), digits);
  }
  return text + "\r\n";
}

// A page of the menu text file: the lines given, blank lines after them.
inline std::string Page(const std::vector<std::string>& lines) {
  std::string page;
  for (int k = 0; k < kMenuPageLines; ++k) page += k < int(lines.size()) ? lines[size_t(k)] : FileLine("", 0);
  return page;
}

// A line placed on a page of a test's menu text file.
struct TMenuLine {
  int page;
  int line;  // 1..26
  std::string caption;
  char kind;
  int number;
  char hotKey = ' ';
};

// Writes "TORV.TXT" into the screen's folder: the given lines, blanks elsewhere.
inline void WriteMenuFile(const uitest::TScreen& screen, const std::vector<TMenuLine>& lines) {
  int lastPage = 0;
  for (const TMenuLine& l : lines) lastPage = std::max(lastPage, l.page);
  std::string file(size_t(lastPage + 1) * 1092, ' ');
  for (size_t i = 40; i < file.size(); i += 42) {
    file[i] = '\r';
    file[i + 1] = '\n';
  }
  for (const TMenuLine& l : lines) {
    const size_t at = size_t(l.page) * 1092 + size_t(l.line - 1) * 42;
    file.replace(at, l.caption.size(), l.caption);
    file[at + 28] = l.kind;
    file[at + 35] = l.hotKey;
    char number[8];
    std::snprintf(number, sizeof number, "%4d", l.number);
    file.replace(at + 36, 4, number);
  }
  std::ofstream(screen.Dir() / "TORV.TXT", std::ios::binary) << file;
}

// A zeroed parameter image and a fresh screen for one test of the input
// wait; at the end the menu text file and the menu tables go before the
// screen, and the store and the command are cleared.
class MenuScreenTest : public testing::Test {
 protected:
  void SetUp() override {
    paramImage.Install();
    screen = std::make_unique<uitest::TScreen>();
  }
  void TearDown() override {
    CloseMenuTextFile();
    FreeMenuTables();
    screen.reset();
    paramImage.Restore();
    StoreHoldsData = 0;
    CommandWord = 0;
    CommandGiven = 0;
  }
  // Runs one wait over the script; the script's end closes the window,
  // which ends a wait that got no command.
  uint16_t Wait(const std::string& script) {
    CloseRequested = false;
    MouseButtonState = 0;
    screen->UseScript(script);
    WaitForMenuCommand();
    return CommandWord;
  }

  torvtest::TZeroedParamImage paramImage;
  std::unique_ptr<uitest::TScreen> screen;
};

}  // namespace bartest
