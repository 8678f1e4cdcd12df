// The import and export formats by command code and their dispatcher.
#include "exchange/format_registry.h"

#include <cassert>

#include "ui/prompt_line.h"
#include "frame/messages.h"
#include "machine/nc_export_commands.h"
#include "paths/path_errors.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"

// --- writers of the rows -------------------------------------------------------------

void WriteDinIsoProgram(const std::string& file, uint8_t automatic) {
  if (automatic == 1) {
    ExportDinIso(file);
  } else {
    ExportDinIsoChoose(file);
  }
}

void WriteDinIsoAutoProgram(const std::string& file, uint8_t) {
  std::string prompt = GetMessageText(kMsgNcExportPrompt, 8);
  TrimTrailingBlanks(prompt);
  ShowPromptLine(1, prompt + " DIN/ISO auto", 260, 274);
  ExportDinIsoAuto(file);
}

// --- the table -----------------------------------------------------------------------

namespace {

// The NC programs take their extension from the machine type's settings.
constexpr TExchangeFormat kExchangeFormats[] = {
    // code  extension reader   writer                   preview  fuzz target
    {3107, "", nullptr, WriteDinIsoProgram, nullptr, nullptr},
    {3112, "", nullptr, WriteDinIsoAutoProgram, nullptr, nullptr},
};

}  // namespace

const TExchangeFormat* FindExchangeFormat(TCommandCode code) {
  for (const TExchangeFormat& row : kExchangeFormats) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

// --- the dispatcher ------------------------------------------------------------------

bool DispatchImportExport(const std::string& fileName, uint8_t automatic) {
  const std::string file = fileName;
  const TCommandCode code = CommandWord;
  bool handled = false;
  if (code >= kFirstExportCode && code <= kLastExportCode) DrawPanelBackground();
  if (const TExchangeFormat* row = FindExchangeFormat(code)) {
    const TFormatAction action = row->writer != nullptr ? row->writer : row->reader;
    assert(action != nullptr && "every row has a reader or a writer");
    action(file, automatic);
    handled = true;
  }
  ReportGlobalError();
  return handled;
}
