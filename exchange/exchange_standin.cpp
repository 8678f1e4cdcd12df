// TEMPORARY STAND-IN: see exchange_standin.h.
#include "exchange/exchange_standin.h"

#include "ui/prompt_line.h"
#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "machine/nc_export_commands.h"
#include "paths/path_errors.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"

std::string CommandLineFileName;

void OpenCommandLineFile() {
  if (!CommandLineFileName.empty()) WriteJournalLine(0, "Datei nicht geladen: " + CommandLineFileName);
}

void RunImportFormatMenu(int) {}

bool DispatchImportExport(const std::string& fileName, uint8_t automatic) {
  const std::string file = fileName;
  const TCommandCode code = CommandWord;
  bool handled = false;
  if (code >= 3100 && code <= 3249) {
    DrawPanelBackground();
    if (code == 3107) {
      if (automatic == 1) ExportDinIso(file);
      else ExportDinIsoChoose(file);
      handled = true;
    } else if (code == 3112) {
      std::string prompt = GetMessageText(193, 8);
      TrimTrailingBlanks(prompt);
      ShowPromptLine(1, prompt + " DIN/ISO auto", 260, 274);
      ExportDinIsoAuto(file);
      handled = true;
    }
  }
  ReportGlobalError();
  return handled;
}
