// The report of the global error code: what each code shows and leaves behind.
#include "paths/path_errors.h"

#include "frame/checked_files.h"
#include "platform/backend.h"
#include "app/program_start.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;

// "caption|text" of a transcript line "msgbox|caption|text|answer", back in
// the bytes the box was given (the transcript writes line breaks as "\n").
std::string BoxOf(const std::string& line) {
  std::string text = line.substr(std::string("msgbox|").size());
  text = text.substr(0, text.rfind('|'));
  for (size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\r\n");
  return plat::wnd::WinFromUtf8(text);
}

// The same bytes after the box's way through the transcript, which keeps only
// what code page 1252 can show.
std::string Shown(const std::string& bytes) { return plat::wnd::WinFromUtf8(plat::wnd::Utf8FromWin(bytes)); }

TEST_F(PathsTest, EachCodeShowsItsBoxAndKeepsOrClearsTheCode) {
  // Expected boxes as "caption|text" with the text in the program's code page.
  const std::string unknown = "Error|wei\xE1-nicht-Fehler";
  const std::string crossing = "Error|HRKORRD : \x9A" "berschneidung in Bahn(en)?";
  const std::string impossible = "Error|KONTBILD : Bahnerzeugung unm\x94glich";
  const std::string reduce = "\r\nReduzieren Sie die Datenmenge und/oder\r\nerh\x94hen Sie den Abrundungswinkel!";
  const std::string message8 = "Error|" + GetMessageText(8, -39);
  ASSERT_NE(message8, "Error|") << "the message file is open";
  const struct { int32_t code; std::string box; int32_t after; } cases[] = {
      {0, "", 0},
      {-1, "", -1},
      {-2, "", -2},
      {23, "", 23},
      {53, "", 53},
      {2, "Error|HRKORRD : zuviele Vektoren pro Bahn", 2},
      {3, "Error|HRKORRD : zuviele Konturen (>20000)", 3},
      {6, crossing, 6},
      {8, crossing, 8},
      {11, crossing, 11},
      {7, "TORV|HRKORRD : zuviele Kontrollvektoren!" + reduce, 7},
      {9, "Error|HRKORRD : Rechentiefe \x81" "berschritten", 9},
      {10, "Error|HRKORRD :\r\nZu viele 3D-Vektoren aus einem Konturvektor!", 10},
      {12, "TORV|HRKORRD Zu viele Punkte." + reduce, 12},
      {40, "Error|HSCHRAFF : falsche Abr\x84umgrenze", 40},
      {45, "Error|HSCHRAFF : falscher Abr\x84umwinkel", 45},
      {50, message8, 50},
      {102, message8, 102},
      {51, "Error|" + GetMessageText(1106, -39), 51},
      {52, "Error|Kein Werkzeugwinkel!", 52},
      {54, "Error|" + GetMessageText(685, -39), 54},
      {60, "Error|" + GetMessageText(59, -39), 60},
      {100, "Error|KONTBILD : keine Daten", 100},
      {101, "Error|KONTBILD : zuviele Teilbahnen", 101},
      {103, impossible, 103},
      {104, impossible, 104},
      {105, "TORV|" + GetMessageText(2330, -39), 105},
      {5, unknown, 5},
      {15, unknown, 15},
      {46, unknown, 46},
      {99, unknown, 99},
      {106, unknown, 106},
      {999, unknown, 999},
      {1101, unknown, 1101},
      {1103, unknown, 1103},
      {1000, "Error| File-Error IOResult=1000", 0},
      {1011, "Error| File-Error IOResult=1011", 0},
      {1100, "Error| File-Error IOResult=1100", 0},
  };
  size_t seen = 0;
  for (const auto& c : cases) {
    ErrorCode = c.code;
    ReportGlobalError();
    EXPECT_EQ(ErrorCode, c.after) << c.code;
    const std::vector<std::string> boxes = TranscriptLines();
    if (c.box.empty()) {
      EXPECT_EQ(boxes.size(), seen) << c.code << " shows nothing";
    } else {
      ASSERT_EQ(boxes.size(), seen + 1) << c.code;
      EXPECT_EQ(BoxOf(boxes.back()), Shown(c.box)) << c.code << ": " << boxes.back();
    }
    seen = boxes.size();
  }
  EXPECT_EQ(pathstest::Lines(Journal()),
            (std::vector<std::string>{"#0000 : IOFehler 1000", "#0000 : IOFehler 1011", "#0000 : IOFehler 1100"}))
      << "only the I/O family is journalled";
}

TEST_F(PathsTest, AbortMarksTheCommandsJournalLineOnce) {
  CommandWord = 700;
  WriteJournalLine(12, "Anderes");
  WriteJournalLine(700, "Fraesbahn");
  for (int pass = 0; pass < 2; ++pass) {
    ErrorCode = 1;
    ReportGlobalError();
    EXPECT_EQ(ErrorCode, 1) << "the code stays set";
  }
  EXPECT_EQ(pathstest::Lines(Journal()),
            (std::vector<std::string>{"#0012 : Anderes", "#0700 : Fraesbahn : AbbruchEsc"}));
  EXPECT_TRUE(TranscriptLines().empty()) << "nothing on screen";
  CommandWord = 0;
}

}  // namespace
