// Files in the test screen's program folder for the file list and file
// dialog tests: vector records as bytes, writing a file, the folder's
// program name and a script click on a point or a box.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "ui/panels.h"
#include "ui_screen.h"

namespace uitest {

// One 13-byte vector record with z left at 0.
inline std::string Rec(uint8_t type, float x, float y) {
  std::string r(13, '\0');
  r[0] = char(type);
  memcpy(&r[1], &x, 4);
  memcpy(&r[5], &y, 4);
  return r;
}

inline void Write(const TScreen& screen, const std::string& name, const std::string& bytes) {
  std::ofstream(screen.Dir() / name, std::ios::binary) << bytes;
}

// The program folder as the program names it, with the closing backslash.
inline std::string Folder(const TScreen& screen) { return plat::DosPathOf(screen.Dir().string()) + "\\"; }

inline std::string Click(int x, int y) { return "click " + std::to_string(x) + " " + std::to_string(y) + "\n"; }
inline std::string Click(const TBox& b) { return Click((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2); }

}  // namespace uitest
