// Number texts, the Esc abort check with its journal line, box hit tests and
// the question with picture buttons.
#include "ui/common_dialogs.h"

#include "frame/checked_files.h"
#include "app/program_start.h"
#include "platform/script.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

TEST(FormatRealText, WidthsDecimalsAndValues) {
  const struct {
    int w, d;
    float x;
    const char* text;
  } cases[] = {
      {8, 3, 123456.789f, "123456.7"},  // cut to the first 8 of 10 characters
      {8, 3, 1.5f, "   1.500"},
      {0, 3, 2.0f, "2"},
      {0, 3, 2.5f, "2.5"},
      {0, 3, 2.25f, "2.25"},
      {0, 3, 0.0f, "0"},
      {0, 3, -0.125f, "-0.125"},
      {0, 3, 12.0f, "12"},
      {0, 2, 2.5f, "2.50"},  // trimming only for 3 decimals
      {3, 3, 12.5f, "12.500"},
      {10, 2, -3.14159f, "     -3.14"},
      {4, 1, 12345.6f, "12345.6"},  // longer than the field
      {5, 0, 42.0f, "   42"},
      {2, 2, 1.0f, "1.00"},
      {25, 2, 1.0f, "                    "},  // at most 20 characters
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "," + std::to_string(c.d) + "," + std::to_string(c.x));
    EXPECT_EQ(FormatRealText(c.w, c.d, c.x), c.text);
  }
}

TEST(NumberTexts, IntegerLongTimeAndBits) {
  EXPECT_EQ(FormatIntegerText(-12, 5), "  -12");
  EXPECT_EQ(FormatIntegerText(345, 0), "345");
  EXPECT_EQ(FormatLongText(-2147483647 - 1, 0), "-214748364");
  EXPECT_EQ(FormatLongText(77, 4), "  77");
  EXPECT_EQ(FormatHoursMinutesSeconds(3909), "01:05:09");
  EXPECT_EQ(FormatHoursMinutesSeconds(100 * 3600), "100:00:00");
  EXPECT_EQ(FormatByteBits(18), "(00010010)B");
  EXPECT_EQ(FormatNibbleBits(5), "0101");
  EXPECT_EQ(FormatNibbleBits(16), "0000");
  EXPECT_EQ(FormatNibbleBits(0), "0000");
  float x = 2.345678f;
  RoundToDecimals(x, 2);
  EXPECT_FLOAT_EQ(x, 2.35f);
  x = 2.6f;
  RoundToDecimals(x, 7);
  EXPECT_FLOAT_EQ(x, 3.0f);
  EXPECT_EQ(YesKeyToReal('O'), 1.0f);
  EXPECT_EQ(YesKeyToReal('N'), 0.0f);
}

TEST(NumberTexts, WorkingTimeBorrowsAndWrapsAtMidnight) {
  WorkStartHours = 23;
  WorkStartMinutes = 59;
  WorkStartSeconds = 58;
  WorkStartHundredths = 90;
  EXPECT_EQ(FormatWorkingTime(0, 0, 1, 5), "ArbZeit= 0: 2:15");
  EXPECT_EQ(FormatWorkingTime(1, 0, 0, 0), "ArbZeit= 1: 0: 1:10");
}

TEST(EscapeCheck, ConfirmedEscSetsErrorOneAndJournals) {
  // The Esc waits in the key buffer; the script answers the question.
  TScreen screen("key Enter\nkey z\n");
  CommandWord = 411;
  // Without the window nothing pumps the script before the question takes its answer.
  plat::CloseWindow();
  plat::ResetScript();
  PushKeyCode(27);
  EXPECT_EQ(CheckEscapeAbort(), 1);
  EXPECT_EQ(ErrorCode, 1);
  const std::string journal = screen.ReadFile(kJournalFileName);
  EXPECT_NE(journal.find("#0411 : "), std::string::npos) << journal;
  EXPECT_NE(journal.find(" h  Abbruch mit Esc-Taste\r\n"), std::string::npos) << journal;
  CommandWord = 0;
}

TEST(EscapeCheck, DeniedEscChangesNothing) {
  TScreen screen("key n\nkey z\n");
  plat::CloseWindow();
  plat::ResetScript();
  PushKeyCode(27);
  ErrorCode = 0;
  EXPECT_EQ(CheckEscapeAbort(), 0);
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(screen.ReadFile(kJournalFileName).find("Abbruch mit Esc-Taste"), std::string::npos);
  EXPECT_NE(screen.ReadFile("transcript.txt").find("msgbox|"), std::string::npos) << "the question was asked";
}

TEST(EscapeCheck, AnotherKeyIsConsumed) {
  TScreen screen;
  PushKeyCode('a');
  EXPECT_EQ(CheckEscapeAbort(), 0);
  EXPECT_FALSE(PollKeyPressed());
  EXPECT_EQ(ErrorCode, 0);
}

TEST(HitTests, BoxesCountTheirBoundsAsInside) {
  const TBox box{1, 10, 20, 30, 40};
  MouseX = 10;
  MouseY = 40;
  EXPECT_TRUE(IsMouseInBox(box));
  MouseX = 31;
  EXPECT_FALSE(IsMouseInBox(box));
  MouseX = 30;
  MouseButtonState = 2;
  EXPECT_TRUE(IsClickInBox(box));
  MouseButtonState = 0;
  EXPECT_FALSE(IsClickInBox(box));
}

TEST(Question, MessageLinesSplitAtLineEnds) {
  std::string lines[6];
  EXPECT_EQ(SplitMessageLines("ab\nc", lines), 2);
  EXPECT_EQ(lines[0], "ab");
  EXPECT_EQ(lines[1], "c");
  EXPECT_EQ(SplitMessageLines("eins\r\n\r\nzwei\r", lines), 2);
  EXPECT_EQ(lines[1], "zwei");
  EXPECT_EQ(SplitMessageLines("1\n2\n3\n4\n5\n6\n7\n8", lines), 6);
  EXPECT_EQ(SplitMessageLines(std::string(100, 'x'), lines), 1);
  EXPECT_EQ(lines[0].size(), 80u);
  EXPECT_EQ(SplitMessageLines("", lines), 0);
}

TEST(Question, EmptyMessageShowsNothingAndLeavesTheResult) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  int16_t result = 77;
  AskWithPictureButtons("Titel", "", "Ja", "OK", "Nein", "", "Abbruch", "Abbruch", 5, 6, result);
  EXPECT_EQ(result, 77);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

// The buttons of a one-line question on the default 1024 x 768 screen with
// the graphic area (0, 51)-(854, 767): centre (427, 409), height 110.
int16_t Ask(const std::string& script) {
  TScreen screen(script);
  plat::ResetScript();  // the script starts with this dialog
  const auto before = TScreen::Pixels();
  int16_t result = 77;
  AskWithPictureButtons("Frage", "Speichern?", "Eins", "OK", "Zwei", "", "", "Abbruch", 5, 6, result);
  EXPECT_TRUE(TScreen::Pixels() == before);
  return result;
}

TEST(Question, AnswersByButtonKeyAndCancel) {
  // Buttons sit from y2 - 32 to y2 - 8 with y2 = 409 + 55 - 1.
  const int y = 463 - 20;
  EXPECT_EQ(Ask("click 340 " + std::to_string(y) + "\n"), 1) << "first button from x1 + 8";
  EXPECT_EQ(Ask("click 427 " + std::to_string(y) + "\n"), 2) << "second button centred";
  EXPECT_EQ(Ask("click 510 " + std::to_string(y) + "\n"), 3) << "third button, picture only";
  EXPECT_EQ(Ask("click 427 300\nkey Esc\n"), 0) << "a click outside is ignored, Esc cancels";
  EXPECT_EQ(Ask("click 427 400 right\n"), 0);
}

TEST(Question, FunctionKeysGiveTheirResults) {
  for (const auto& [scan, expected] : {std::pair<uint8_t, int16_t>{59, 5}, {60, 6}}) {
    TScreen screen("key z\n");
    PushKeyCode(0);
    PushKeyCode(scan);
    int16_t result = 77;
    AskWithPictureButtons("Frage", "Speichern?", "Eins", "OK", "Zwei", "", "", "Abbruch", 5, 6, result);
    EXPECT_EQ(result, expected);
  }
}

}  // namespace

namespace {

TEST(InfoBoxes, PairsBoxGrowsWithTheFilledPairs) {
  uitest::TScreen screen;
  const auto before = uitest::TScreen::Pixels();
  std::string pairs[7][2] = {{"Breite", "10"}, {"", ""}, {"Hoehe", ""}};
  ShowInfoPairsBox(pairs);
  // Two filled pairs: (4 + 2) x 16 - 11 = 85 pixels high from the graphic area's top.
  const int top = DrawingArea.y1;
  EXPECT_GT(uitest::TScreen::CountChanged(before, uitest::TScreen::Pixels(), 0, top, 320, top + 85), 1000);
  EXPECT_EQ(uitest::TScreen::CountChanged(before, uitest::TScreen::Pixels(), 0, top + 87, 320, top + 120), 0);
  EXPECT_EQ(uitest::TScreen::CountChanged(before, uitest::TScreen::Pixels(), 322, top, 400, top + 85), 0);
}

TEST(InfoBoxes, TablePictureBoxShowsThePictureAndLeavesNoWorkFile) {
  uitest::TScreen screen;
  const std::string texts[6] = {"Erste Zeile", "", "Dritte"};
  ShowTablePictureBox("Bild", texts, "_MarvekG.BMP", 97, 60);
  EXPECT_FALSE(std::filesystem::exists(screen.Dir() / "_BildDat.BMP"));
  // The logo's blue gradient stands in the middle of the box.
  const int cx = (DrawingArea.x1 + DrawingArea.x2) / 2;
  const int cy = (DrawingArea.y1 + DrawingArea.y2) / 2;
  const int top = cy - (60 + 64 + 32) / 2 + 36;
  const uint32_t pixel = uitest::TScreen::PixelAt(cx - 40, top + 5);
  EXPECT_GT(pixel & 0xFF, 150u) << std::hex << pixel;  // blue part
}

}  // namespace
