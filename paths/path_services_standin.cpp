// TEMPORARY STAND-IN: see path_services_standin.h.
#include "paths/path_services_standin.h"

#include <string>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"

void ReportGlobalError() {
  if (ErrorCode == 0) return;
  if (ErrorCode >= 1000 && ErrorCode <= 1100) {
    int32_t code = ErrorCode;
    ShowMessageNumber(code + 10000);
    WriteJournalLine(0, "IOFehler " + std::to_string(code));
    ErrorCode = 0;
    return;
  }
  if (ErrorCode == 50 || ErrorCode == 102) {
    ShowMessageNumber(8);
    return;
  }
  // The path core gives these codes texts of their own.
  ShowErrorText(GetMessageText(4000, -39) + " " + std::to_string(ErrorCode));
}

void LogCompensationParameters() {}
