// The report of the global error code.
#include "paths/path_errors.h"

#include <string>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "ui/info_window.h"

namespace {

// Texts in the DOS code page: \x81 ü, \x84 ä, \x94 ö, \x9A Ü, \xE1 ß.
constexpr const char* kUnknownError = "wei\xE1-nicht-Fehler";
constexpr const char* kReduceData = "Reduzieren Sie die Datenmenge und/oder";
constexpr const char* kRaiseAngle = "erh\x94hen Sie den Abrundungswinkel!";

const char* ErrorBoxText(int32_t code) {
  switch (code) {
    case 2: return "HRKORRD : zuviele Vektoren pro Bahn";
    case 3: return "HRKORRD : zuviele Konturen (>20000)";
    case 4: return "HRKORRD : Disketten/Plattenfehler";
    case 6: case 8: case 11: return "HRKORRD : \x9A" "berschneidung in Bahn(en)?";
    case 9: return "HRKORRD : Rechentiefe \x81" "berschritten";
    case 10: return "HRKORRD :\r\nZu viele 3D-Vektoren aus einem Konturvektor!";
    case 13: return "HRKORRD : Fehler in der Kontur!";
    case 14: return "HRKORRD : Zu wenig Speicher!";
    case 40: return "HSCHRAFF : falsche Abr\x84umgrenze";
    case 41: return "HSCHRAFF : keine Daten - leeres Feld";
    case 42: return "HSCHRAFF : falsche Abr\x84umdaten";
    case 43: return "HSCHRAFF : Fehler 23";
    case 44: return "HSCHRAFF : zuviele Abr\x84umbahnen";
    case 45: return "HSCHRAFF : falscher Abr\x84umwinkel";
    case 52: return "Kein Werkzeugwinkel!";
    case 100: return "KONTBILD : keine Daten";
    case 101: return "KONTBILD : zuviele Teilbahnen";
    case 103: case 104: return "KONTBILD : Bahnerzeugung unm\x94glich";
    default: return nullptr;
  }
}

}  // namespace

void ReportGlobalError() {
  const int32_t code = ErrorCode;
  if (code <= 0) return;
  if (code >= 1000 && code <= 1100) {
    ShowMessageNumber(code + 10000);
    WriteJournalLine(0, ("IOFehler " + std::to_string(code).substr(0, 10)).substr(0, 19));
    ErrorCode = 0;
    return;
  }
  switch (code) {
    case 1:
      // A failure of the marking itself is not kept.
      ErrorCode = 0;
      MarkLastJournalLineAborted(CommandWord);
      ErrorCode = 1;
      return;
    case 7:
      ShowTitledMessage(std::string("HRKORRD : zuviele Kontrollvektoren!\r\n") + kReduceData + "\r\n" + kRaiseAngle);
      return;
    case 12:
      ShowTitledMessage(std::string("HRKORRD Zu viele Punkte.\r\n") + kReduceData + "\r\n" + kRaiseAngle);
      return;
    case 23:
    case 53:
      return;
    case 50:
    case 102:
      ShowMessageNumber(8);
      return;
    case 51:
      ShowErrorText(GetMessageText(1106, -39));
      return;
    case 54:
      ShowErrorText(GetMessageText(685, -39));
      return;
    case 60:
      ShowMessageNumber(59);
      return;
    case 105:
      ShowTitledMessage(GetMessageText(2330, -39));
      return;
    default:
      break;
  }
  const char* text = ErrorBoxText(code);
  ShowErrorText(text != nullptr ? text : kUnknownError);
}
