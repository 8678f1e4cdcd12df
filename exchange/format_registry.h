// The import and export formats by command code: one row per format with its
// reader, writer and preview (nullptr where not built yet), and the
// dispatcher that runs the row of the command word.
#pragma once

#include <cstdint>
#include <string>

#include "frame/program_state.h"

// Every command code of the export range first clears the graphic area.
constexpr TCommandCode kFirstExportCode = 3100;
constexpr TCommandCode kLastExportCode = 3249;

// A reader or writer takes the work file and the automatic switch of the
// dispatcher (1: repeat with the last settings, 0: ask them).
using TFormatAction = void (*)(const std::string& file, uint8_t automatic);
// A preview draws the file into the preview box of the file dialogs.
using TFormatPreview = void (*)(const std::string& file);

struct TExchangeFormat {
  TCommandCode code;
  const char* extension;   // default extension without the dot, "" when the user names it
  TFormatAction reader;    // import; nullptr when the code exports
  TFormatAction writer;    // export; nullptr when the code imports
  TFormatPreview preview;  // nullptr when the format has none
  const char* fuzzTarget;  // the libFuzzer target of the reader, nullptr without one
};

// The row of a command code, nullptr when no format is built for it.
const TExchangeFormat* FindExchangeFormat(TCommandCode code);

// The writers of the DIN/ISO rows: 3107 writes with the last machine type
// (automatic 1) or asks it (0); 3112 is the automatic export.
void WriteDinIsoProgram(const std::string& file, uint8_t automatic);
void WriteDinIsoAutoProgram(const std::string& file, uint8_t automatic);

// The import/export dispatcher for the command word (frame/program_state.h):
// every code of the export range first clears the graphic area; the row of
// the code runs its reader or writer; a pending error is reported last.
// True when a row handled the code.
bool DispatchImportExport(const std::string& fileName, uint8_t automatic);
