// Scripts for the dialog tests, paced: a short wait follows every line, so
// a dialog takes each key before the next one arrives and the close that
// ends a used-up script never overtakes keys still waiting in the buffer.
#pragma once

#include <sstream>
#include <string>

#include "frame/main_window.h"
#include "ui_screen.h"

namespace uitest {

inline std::string Paced(const std::string& script) {
  std::istringstream in(script);
  std::string out = "wait 20\n", line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    out += line + "\n";
    if (line.rfind("wait", 0) != 0) out += "wait 20\n";
  }
  return out + "wait 100\n";
}

// Replaces the script of the screen with the paced one; the close that
// ended the last script is over.
inline void NewScript(TScreen& screen, const std::string& script) {
  screen.UseScript(Paced(script));
  CloseRequested = false;
}

}  // namespace uitest
