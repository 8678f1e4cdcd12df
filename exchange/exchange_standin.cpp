// TEMPORARY STAND-IN: see exchange_standin.h.
#include "exchange/exchange_standin.h"

#include "frame/checked_files.h"
#include "frame/not_yet_available.h"
#include "ui/prompt_line.h"

std::string CommandLineFileName;

void OpenCommandLineFile() {
  if (!CommandLineFileName.empty()) WriteJournalLine(0, "Datei nicht geladen: " + CommandLineFileName);
}

void RunImportFormatMenu(int) { ShowNotYetAvailable(); }
