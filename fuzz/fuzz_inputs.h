// One input of each file reader of outside data, shared by the libFuzzer
// targets and the corpus replay test: the bytes are written to a file of the
// reader's kind and handed to the reader. The scratch folder a target works
// in is both the current folder and the program folder (TORV_HOME), so that
// the files the program looks for beside itself are the fuzzer's too. Each
// input function returns whether the reader took in the bytes given (what it
// loaded came from them), so that the replay test can prove each seed reaches
// its reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <stdlib.h>  // atexit, mkdtemp, setenv

#include "app/program_start.h"
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
#include "platform/picture_codecs.h"
#include "platform/script.h"
#include "ui/packed_relief_decoder.h"
#include "ui/pictures.h"

namespace fuzzinput {

inline void WriteInput(const std::string& name, const uint8_t* data, size_t size) {
  std::ofstream(plat::HostPathOf(name), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// A file the program reads from its program folder.
inline void WriteProgramFile(const std::string& name, const uint8_t* data, size_t size) {
  WriteInput(plat::ProgramFolder() + name, data, size);
}

inline std::string TextOf(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

// The headless window and the settings the readers use; the folder must be
// the current folder already.
inline void PrepareReaders() {
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  CommandRunning = true;  // a used-up script only raises the close request
  if (ParamImage == nullptr) LoadParamFile();
}

// Makes the host folder the current folder and the program folder, as the
// program's start does with TORV_HOME.
inline bool EnterScratchProgramFolder(const std::string& hostFolder) {
  setenv("TORV_HOME", hostFolder.c_str(), 1);
  if (!plat::SetCurrentFolder(plat::DosPathOf(hostFolder))) return false;
  StoreProgramFolder();
  return true;
}

// The scratch folder of this fuzz target, removed at exit.
inline std::string& FuzzScratchFolder() {
  static std::string folder;
  return folder;
}

inline void RemoveFuzzScratchFolder() {
  if (FuzzScratchFolder().empty()) return;
  std::error_code ec;
  std::filesystem::current_path("/", ec);
  std::filesystem::remove_all(FuzzScratchFolder(), ec);
}

// Path arguments of libFuzzer (corpus folders, input files and the
// path-valued flags) made absolute, because the target leaves the folder it
// was started in. The strings live as long as the process.
inline void MakeFuzzerPathsAbsolute(int* argc, char*** argv) {
  if (argc == nullptr || argv == nullptr || *argv == nullptr) return;
  static const char* const kPathFlags[] = {"-artifact_prefix=", "-exact_artifact_path=", "-dict=",
                                          "-merge_control_file=", "-features_dir=", "-data_flow_trace=",
                                          "-focus_function_file="};
  static std::vector<std::string> texts;
  static std::vector<char*> pointers;
  texts.assign(*argv, *argv + *argc);
  for (size_t i = 1; i < texts.size(); ++i) {
    std::string& arg = texts[i];
    size_t at = std::string::npos;
    if (arg.empty()) continue;
    if (arg[0] != '-') {
      at = 0;
    } else {
      for (const char* flag : kPathFlags)
        if (arg.rfind(flag, 0) == 0) at = std::strlen(flag);
    }
    if (at == std::string::npos || at >= arg.size() || arg[at] == '/' || arg[at] == '@') continue;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(arg.substr(at), ec);
    if (!ec) arg = arg.substr(0, at) + absolute.string();
  }
  pointers.clear();
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  *argv = pointers.data();
}

// The start of every fuzz target: the path arguments are made absolute, a
// fresh folder under /tmp becomes the current and the program folder, the
// window runs headless and the readers are prepared.
inline void StartFuzzTarget(int* argc, char*** argv) {
  MakeFuzzerPathsAbsolute(argc, argv);
  char pattern[] = "/tmp/torv_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr) return;
  FuzzScratchFolder() = pattern;
  atexit(RemoveFuzzScratchFolder);
  setenv("TORV_VIDEO", "headless", 1);
  if (!EnterScratchProgramFolder(pattern)) return;
  PrepareReaders();
}

// Each input starts with a fresh headless script: the harness gives up ten
// minutes after its script has ended, which a long run would reach.
inline void StartFuzzInput() { plat::ResetScript(); }

// True when records of the input were loaded (a damaged drawing is loaded
// as far as it is whole).
inline bool ReadDrawing(const uint8_t* data, size_t size) {
  WriteInput("FUZZ.SLD", data, size);
  const bool loaded = LoadSldDrawing("FUZZ.SLD", 0) || LastDrawingLoad.recordsLoaded > 0;
  LoadSldDrawing("FUZZ.SLD", 1);
  ErrorCode = 0;
  return loaded;
}

// True when the replacing load put records of the input into layer 0.
inline bool ReadVectorFile(const uint8_t* data, size_t size) {
  WriteInput("FUZZ.LG1", data, size);
  LoadVectorDrawing("FUZZ.LG1", kLoadReplace);
  const bool loaded = plat::FileSizeBytes(BuildLayerFileName(0)) > 0;
  WriteInput("FUZZ.H2R", data, size);
  LoadVectorDrawing("FUZZ.H2R", 0);
  if (HighestLayer > 3) HighestLayer = 3;  // keep the layer files few between inputs
  ErrorCode = 0;
  return loaded;
}

// True when rows of the input were decoded behind the relief header.
inline bool ReadPackedRelief(const uint8_t* data, size_t size) {
  plat::DeleteFileByName("FUZZ.TMR");
  WriteInput("FUZZ.HRP", data, size);
  DecodePackedReliefFile("FUZZ.HRP", "FUZZ.TMR");
  ErrorCode = 0;
  return plat::FileSizeBytes("FUZZ.TMR") > kReliefHeaderSize;
}

// True when the store's object numbers came from the input (an empty or
// missing store starts at 1).
inline bool ReadPropertyStore(const uint8_t* data, size_t size) {
  WriteInput(kPropertyStoreName, data, size);
  const bool read = GetNextObjectNumber() > 1;
  GetObjectPropertyKind(1);
  TPropertyLines lines;
  SetPropertyLine(lines, "BOHRUN", "1");
  WriteObjectProperties(2, lines);
  DeleteObjectProperties(1);
  ErrorCode = 0;
  return read;
}

// The menu text file of the program folder: every page the menus open, each
// line decoded, the side menu loaded from it and a command's menu text looked
// up. True when a line read holds text of the input at its place.
inline bool ReadMenuFile(const uint8_t* data, size_t size) {
  WriteProgramFile(kMenuTextFileName, data, size);
  OpenMenuTextFile();
  bool read = false;
  TMenuPage page;
  for (int32_t n = -1; n <= 60; ++n) {
    ReadMenuPage(n, page);
    for (int k = 1; k <= kMenuPageLines; ++k) {
      const TMenuLine& line = page.lines[k - 1];
      const int64_t at = MenuLineOffset(n, k);
      if (at >= 0 && uint64_t(at) + kMenuLineText <= size && !MenuLineCaption(line).empty())
        read = read || std::memcmp(line.text, data + at, kMenuLineText) == 0;
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
  return read;
}

// The message file of the program folder and the text lookups on it. True
// when the first record read holds the input's first 39 bytes.
inline bool ReadMessageFile(const uint8_t* data, size_t size) {
  WriteProgramFile(kMessageFileName, data, size);
  OpenMessageFile();
  std::string text;
  GetMessageTextRaw(0, text);
  const bool read = size >= size_t(kMessageTextMax) && text == TextOf(data, kMessageTextMax);
  const int64_t records = int64_t(size / kMessageRecordSize);
  for (int64_t n : {int64_t(-1), int64_t(1), records - 1, records, records + 1, int64_t(32767)}) {
    GetMessageText(int16_t(n), -39, text);
    GetMessageText(int16_t(n), 255, text);
    GetMessageTextSpaced(int16_t(n), 20, text);
    GetMessageTextRaw(uint16_t(n), text);
  }
  for (int i = 0; i < kLanguageSetCount; ++i) LanguageSetCaption(i);
  MessageNumberText(1);
  MessageNumberText(10007);
  CloseMessageFile();
  ErrorCode = 0;
  return read;
}

// --- pictures ----------------------------------------------------------------------

// One picture file through its codec, the cell matrices and the framed
// drawing. True when the codec decoded the input.
inline bool ReadPictureFile(const char* extension, const uint8_t* data, size_t size) {
  const std::string name = std::string("FUZZ") + extension;
  WriteInput(name, data, size);
  const std::string host = plat::HostPathOf(name);
  const std::string ext = extension;
  plat::TDecodedPicture picture;
  bool decoded = false;
  TCellMatrix matrix;
  TPicturePalette palette{};
  if (ext == ".BMP") {
    decoded = plat::ReadBmpPicture(host, picture);
    LoadBmpGreyMatrix(name, true, matrix);
    LoadBmpIndexMatrix(name, palette, matrix);
    DrawBmp8File(name, 256, 10, 60, 100, 10, 0.5f);
  } else if (ext == ".GIF") {
    decoded = plat::ReadGifPicture(host, picture);
    LoadGifGreyMatrix(name, false, matrix);
    LoadGifIndexMatrix(name, palette, matrix);
    ConvertGifToBmpFile("FUZZOUT.BMP", name);
  } else {
    decoded = plat::ReadJpegPicture(host, picture);
    LoadJpegGreyMatrix(name, true, matrix);
  }
  DrawPictureFileInFrame(name, TBox{1, 10, 10, 120, 100}, 2);
  ErrorCode = 0;
  return decoded && picture.width > 0 && picture.height > 0;
}

inline bool ReadBmpFile(const uint8_t* data, size_t size) { return ReadPictureFile(".BMP", data, size); }
inline bool ReadGifFile(const uint8_t* data, size_t size) { return ReadPictureFile(".GIF", data, size); }
inline bool ReadJpegFile(const uint8_t* data, size_t size) { return ReadPictureFile(".JPG", data, size); }

// The picture tables and the resource picture file of the program folder,
// all three given the input. The resource table is cached by size and time
// of writing, so the time is set from the bytes: another input of the same
// size is read afresh. True when a picture named in the input was found.
inline bool ReadPictureTables(const uint8_t* data, size_t size) {
  for (const char* table : {kPictureTableName, kProgramPictureTableName, plat::kResourceFileName})
    WriteProgramFile(table, data, size);
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
  std::error_code ec;
  std::filesystem::last_write_time(plat::HostPathOf(plat::ProgramFolder() + plat::kResourceFileName),
                                   std::filesystem::file_time_type(std::chrono::nanoseconds(hash >> 8)), ec);
  const std::string table = plat::ProgramFolder() + kPictureTableName;
  bool found = false;
  for (const char* name : {"FUZZ.BMP", "FUZZ.GIF", "FUZZ.JPG"})
    found = ExtractTablePicture(table, name, "FUZZOUT.TMP") || found;
  DrawPictureFromTable(table, "FUZZ.BMP", 10, 1.0f, 60, 100, 10);
  DrawPictureFromTable(table, "FUZZ.GIF", 10, 0.5f, 60, 100, 10);
  DrawTablePictureInFrame(table, "FUZZ.JPG", 10, 10, 120, 100, 2);
  DrawTablePictureInFrame(table, "FUZZ.GIF", 10, 10, 120, 100, 2);
  DrawProgramPictureInCorner(0, 0, 400, 300, "FUZZ.BMP", 40, 40, 1.0f);
  DrawProgramTablePicture(0, 0, 400, -1, 40, 40, 1.0f, "FUZZ.GIF", 300);
  plat::TPixelBlock block;
  found = plat::LoadResourcePicture("FUZZ", block) || found;
  DrawResourcePictureFitted(10, 10, 20, 20, "FUZZ");
  DrawResourcePictureFitted(10, 10, 200, 200, "FUZZ");
  ErrorCode = 0;
  return found;
}

// --- font index --------------------------------------------------------------------

// The font index of the current folder, whole and cut short. True when names
// were loaded from it.
inline bool ReadFontIndex(const uint8_t* data, size_t size) {
  WriteInput(kFontIndexName, data, size);
  std::vector<std::string> names(kFontIndexMaxNames);
  const int loaded = LoadFontIndexNames(names.data(), kFontIndexMaxNames);
  LoadFontIndexNames(names.data(), 1);
  LoadFontIndexNames(names.data(), 0);
  ErrorCode = 0;
  return loaded > 0;
}

}  // namespace fuzzinput
