// One input of each file reader of the drawing files, shared by the libFuzzer
// targets and the corpus replay test: the bytes are written to a file of the
// reader's kind in the current folder and handed to the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <stdlib.h>  // mkdtemp, setenv

#include "commands/menu_pages.h"
#include "commands/side_menu.h"
#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/drawing_load.h"
#include "model/layer_files.h"
#include "model/property_store.h"
#include "platform/files.h"
#include "ui/packed_relief_decoder.h"

namespace fuzzinput {

inline void WriteInput(const std::string& name, const uint8_t* data, size_t size) {
  std::ofstream(plat::HostPathOf(name), std::ios::binary).write(reinterpret_cast<const char*>(data), size);
}

// The headless window and the settings the readers use; the folder must be
// the current folder already.
inline void PrepareReaders() {
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  CommandRunning = true;  // a used-up script only raises the close request
  if (ParamImage == nullptr) LoadParamFile();
}

// The start of every fuzz target: a fresh folder under /tmp becomes the
// current folder, the window runs headless and the readers are prepared.
inline void StartFuzzTarget() {
  char pattern[] = "/tmp/torv_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr) return;
  setenv("TORV_VIDEO", "headless", 1);
  plat::SetCurrentFolder(plat::DosPathOf(pattern));
  PrepareReaders();
}

inline void ReadDrawing(const uint8_t* data, size_t size) {
  WriteInput("FUZZ.SLD", data, size);
  LoadSldDrawing("FUZZ.SLD", 0);
  LoadSldDrawing("FUZZ.SLD", 1);
  ErrorCode = 0;
}

inline void ReadVectorFile(const uint8_t* data, size_t size) {
  WriteInput("FUZZ.LG1", data, size);
  LoadVectorDrawing("FUZZ.LG1", kLoadReplace);
  WriteInput("FUZZ.H2R", data, size);
  LoadVectorDrawing("FUZZ.H2R", 0);
  if (HighestLayer > 3) HighestLayer = 3;  // keep the layer files few between inputs
  ErrorCode = 0;
}

inline void ReadPackedRelief(const uint8_t* data, size_t size) {
  WriteInput("FUZZ.HRP", data, size);
  DecodePackedReliefFile("FUZZ.HRP", "FUZZ.TMR");
  ErrorCode = 0;
}

inline void ReadPropertyStore(const uint8_t* data, size_t size) {
  WriteInput(kPropertyStoreName, data, size);
  GetNextObjectNumber();
  GetObjectPropertyKind(1);
  TPropertyLines lines;
  SetPropertyLine(lines, "BOHRUN", "1");
  WriteObjectProperties(2, lines);
  DeleteObjectProperties(1);
  ErrorCode = 0;
}

// The menu text file: every page the menus open, each line decoded, the
// side menu loaded from it and a command's menu text looked up.
inline void ReadMenuFile(const uint8_t* data, size_t size) {
  WriteInput("TORV.TXT", data, size);
  OpenMenuTextFile();
  TMenuPage page;
  for (int32_t n = -1; n <= 60; ++n) {
    ReadMenuPage(n, page);
    for (const TMenuLine& line : page.lines) {
      DecodeMenuLineNumber(line);
      MenuLineCaption(line);
      MenuLineTitle(line);
      MenuLineHotKey(line);
      MenuLineIconKind(line);
    }
  }
  LoadSideMenu(2);
  std::string text;
  FindMenuTextOfCommand(3113, text);
  CloseMenuTextFile();
  ErrorCode = 0;
}

}  // namespace fuzzinput
