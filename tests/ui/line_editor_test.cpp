// The line editor: how typed keys change the text in each mode, how every
// key and click ends an edit, the calculator on Alt+R, and the drawn field.
#include "ui/line_editor.h"

#include "frame/main_window.h"
#include "ui/calculator.h"
#include "support/program_runner.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

using uitest::Script;

struct TEditResult {
  std::string text;
  uint8_t exitCode = 0;
  int position = 0;
};

TEditResult RunEdit(TScreen& screen, const std::string& script, int mode, int width, const std::string& start,
                    int position = -1) {
  Script(screen, script);
  TEditResult r;
  r.text = start;
  if (position < 0) {
    EditTextField(10, 12, width, mode, r.text, 261, 274, r.exitCode);
    r.position = -1;
  } else {
    r.position = position;
    EditTextFieldAt(10, 12, width, mode, r.text, 261, 274, r.exitCode, r.position);
  }
  return r;
}

TEST(LineEditor, TheFirstKeyOfANumberFieldReplacesTheValue) {
  TScreen screen;
  struct {
    int mode;
    const char* script;
    const char* start;
    const char* text;
  } cases[] = {
      {2, "text 5\nkey Enter\n", "12.500", "5"},
      {3, "text -\nkey Enter\n", "12.500", "-"},
      {4, "text .5\nkey Enter\n", "12.500", ".5"},
      {0, "text 5\nkey Enter\n", "12.500", "12.5005"},  // free text inserts at the end
      {5, "text 5\nkey Enter\n", "12.500", "5"},  // number lists too
      {6, "text 5\nkey Enter\n", "12", "5"},
      {1, "text 5\nkey Enter\n", "12", "125"},
      {2, "key Left\ntext 5\nkey Enter\n", "12", "152"},  // not the first key: inserted
      {2, "text x\nkey Enter\n", "12", "12x"},            // not a number key: inserted
      {2, "text 12,5\nkey Enter\n", "0", "12.5"},         // a comma becomes the point
      {5, "text 1,3,7-11\nkey Enter\n", "", "1,3,7-11"},  // plain text keeps commas
  };
  for (const auto& c : cases) {
    const TEditResult r = RunEdit(screen, c.script, c.mode, 20, c.start);
    EXPECT_EQ(r.text, c.text) << c.script << " mode " << c.mode;
    EXPECT_EQ(r.exitCode, 2) << c.script;
  }
}

TEST(LineEditor, AFieldOfWidthOneHoldsTheLastCharacterTyped) {
  TScreen screen;
  EXPECT_EQ(RunEdit(screen, "text abc\nkey Enter\n", 0, 1, "x").text, "c");
  EXPECT_EQ(RunEdit(screen, "text 7\nkey Enter\n", 2, 1, "1").text, "7");
}

TEST(LineEditor, TypingBeyondTheWidthChangesNothing) {
  TScreen screen;
  const TEditResult r = RunEdit(screen, "text abcdef\nkey Enter\n", 0, 4, "");
  EXPECT_EQ(r.text, "abcd");
}

TEST(LineEditor, CursorKeysBackspaceAndDel) {
  TScreen screen;
  struct {
    const char* script;
    const char* start;
    const char* text;
    int position;  // final cursor position
  } cases[] = {
      {"key Home\nkey Del\nkey Enter\n", "abc", "bc", 1},
      {"key Backspace\nkey Backspace\nkey Enter\n", "abc", "a", 2},
      {"key Home\nkey Right\ntext X\nkey End\ntext Y\nkey Enter\n", "abc", "aXbcY", 6},
      {"key Home\nkey Backspace\nkey Left\nkey Enter\n", "abc", "abc", 1},
      {"key End\nkey Del\nkey Right\nkey Enter\n", "abc", "abc", 4},
      {"key ctrl+y\ntext q\nkey Enter\n", "abc", "q", 2},  // Ctrl+Y empties a text field
  };
  for (const auto& c : cases) {
    const TEditResult r = RunEdit(screen, c.script, 5, 20, c.start, 99);
    EXPECT_EQ(r.text, c.text) << c.script;
    EXPECT_EQ(r.position, c.position) << c.script;
  }
  // The start position is clamped and reported back.
  EXPECT_EQ(RunEdit(screen, "key Enter\n", 0, 20, "abc", 0).position, 1);
  EXPECT_EQ(RunEdit(screen, "text Q\nkey Enter\n", 0, 20, "abc", 2).text, "aQbc");
}

TEST(LineEditor, CapitalsAndHiddenEntry) {
  TScreen screen;
  // ü, ä, ö become Ü, Ä, Ö (DOS code page 129, 132, 148 -> 154, 142, 153).
  EXPECT_EQ(RunEdit(screen, "text aüäöz\nkey Enter\n", 1, 20, "").text, "A\x9a\x8e\x99Z");
  EXPECT_EQ(RunEdit(screen, "text geheim\nkey Enter\n", 6, 20, "").text, "GEHEIM");
  EXPECT_EQ(RunEdit(screen, "text ü\nkey Enter\n", 0, 20, "").text, "\x81");
}

TEST(LineEditor, EveryWayToEndAnEdit) {
  TScreen screen;
  struct {
    const char* script;
    int mode;
    int exitCode;
  } cases[] = {
      {"key Enter\n", 0, 2},      {"key Tab\n", 0, 2},       {"key Esc\n", 0, 3},       {"key Up\n", 2, 4},
      {"key Down\n", 2, 5},       {"key PgDn\n", 0, 6},      {"key PgUp\n", 0, 7},      {"key F1\n", 0, 8},
      {"key F2\n", 0, 9},         {"key F8\n", 0, 15},       {"key alt+e\n", 0, 44},    {"key alt+e\n", 2, 44},
      {"key Left\n", 3, 45},      {"key Right\n", 3, 46},    {"key Del\n", 3, 47},      {"key Del\n", 4, 47},
      {"key ctrl+k\nkey c\n", 0, 21}, {"key ctrl+k\nkey z\n", 0, 44}, {"key ctrl+k\nkey a\n", 0, 19},
      {"key ctrl+y\n", 0, 18},    {"key ctrl+l\n", 0, 125},  {"key ctrl+e\n", 0, 126},  {"key ctrl+s\n", 0, 127},
      {"key ctrl+Home\n", 0, 123}, {"key ctrl+End\n", 0, 124},
      {"click 500 400 left\n", 0, 2}, {"click 500 400 right\n", 0, 3}, {"click 500 400 middle\n", 0, 9},
      // Keys that end nothing in this mode; Enter ends the edit afterwards.
      {"key Left\nkey Right\nkey Enter\n", 2, 2}, {"key ctrl+l\nkey Enter\n", 2, 2},
      {"key ctrl+k\nkey c\nkey Enter\n", 5, 2}, {"key Del\nkey Enter\n", 2, 2},
  };
  for (const auto& c : cases) {
    const TEditResult r = RunEdit(screen, c.script, c.mode, 10, "ab");
    EXPECT_EQ(int(r.exitCode), c.exitCode) << c.script << " mode " << c.mode;
  }
  // Ctrl+B reports the cursor position in the code.
  EXPECT_EQ(int(RunEdit(screen, "key ctrl+b\n", 0, 10, "abcd", 3).exitCode), 155 + 3);
  // Ctrl+Y in free-text mode empties the text before it ends.
  EXPECT_EQ(RunEdit(screen, "key ctrl+y\n", 0, 10, "abcd").text, "");
}

TEST(LineEditor, ARedrawRequestOrACloseCancels) {
  TScreen screen;
  Script(screen, "");
  // A repaint leaves 2 (the screen was rebuilt under the field); 1 also counts.
  for (uint8_t state : {1, 2}) {
    RedrawState = state;
    std::string text = "abc";
    uint8_t exitCode = 0;
    EditTextField(2, 5, 10, 0, text, 261, 274, exitCode);
    EXPECT_EQ(exitCode, 3) << int(state);
  }
  RedrawState = 0;
  // The script runs out: the close request ends the edit.
  const TEditResult r = RunEdit(screen, "text x\n", 0, 10, "abc");
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.text, "abcx") << "the text holds the edited value also on a cancel";
}

TEST(LineEditor, F9CallsTheHelpHookAndGoesOn) {
  TScreen screen;
  static int calls = 0;
  calls = 0;
  HelpHook = [] { ++calls; };
  const TEditResult r = RunEdit(screen, "key F9\ntext 1\nkey Enter\n", 0, 10, "");
  HelpHook = nullptr;
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(r.text, "1");
  EXPECT_EQ(r.exitCode, 2);
}

TEST(LineEditor, AltKeysInsertSymbolsInFreeTextOnly) {
  TScreen screen;
  EXPECT_EQ(RunEdit(screen, "key alt+p\nkey alt+f\nkey alt+t\nkey Enter\n", 0, 10, "").text, "\x04\xdb\x1f");
  EXPECT_EQ(RunEdit(screen, "key alt+p\nkey alt+f\nkey Enter\n", 5, 10, "").text, "");
  // Full field: the symbol is left out silently.
  EXPECT_EQ(RunEdit(screen, "key alt+z\nkey Enter\n", 0, 2, "ab").text, "ab");
}

TEST(LineEditor, AltRInAFreeTextFieldOpensNoCalculator) {
  TScreen screen;
  CalculatorTape.clear();
  const TEditResult r = RunEdit(screen, "key alt+r\nkey Enter\n", 0, 10, "ab");
  EXPECT_EQ(r.text, "ab");
  EXPECT_TRUE(CalculatorTape.empty()) << "the calculator did not run";
}

TEST(LineEditor, AltRHandsTheCalculatorResultToANumberField) {
  TScreen screen;
  const TEditResult r = RunEdit(screen, "key alt+r\ntext 2+3*4=\nkey alt+r\nmove 500 400\nmove 501 400\nkey Enter\n", 2, 12, "7");
  EXPECT_EQ(r.text, "20.00000");
  EXPECT_EQ(r.exitCode, 2);
  // Cut to the width of the field.
  EXPECT_EQ(RunEdit(screen, "key alt+r\ntext 2+3*4=\nkey alt+r\nmove 500 400\nmove 501 400\nkey Enter\n", 3, 4, "7").text, "20.0");
  // Cancelled: the field keeps its text.
  EXPECT_EQ(RunEdit(screen, "key alt+r\ntext 5\nkey n\nmove 500 400\nmove 501 400\nkey Enter\n", 2, 12, "7").text, "7");
}

TEST(LineEditor, TheFieldIsDrawnInItsCellsWithTheCaret) {
  TScreen screen;
  Script(screen, "shot " + (screen.Dir() / "edit.png").string() + "\nkey Enter\n");
  std::string text = "abc";
  uint8_t exitCode = 0;
  const auto before = TScreen::Pixels();
  EditTextField(10, 12, 6, 0, text, 14, 274, exitCode);
  ASSERT_EQ(exitCode, 2);
  const auto after = TScreen::Pixels();
  // The band of the field: x 80 .. 127, y 196 .. 207, filled and written; nothing beside it.
  EXPECT_EQ(TScreen::CountChanged(before, after, 0, 0, MaxX, 195), 0);
  EXPECT_EQ(TScreen::CountChanged(before, after, 0, 208, MaxX, MaxY), 0);
  EXPECT_EQ(TScreen::CountChanged(before, after, 0, 196, 79, 207), 0);
  EXPECT_EQ(TScreen::CountChanged(before, after, 128, 196, MaxX, 207), 0);
  const uint32_t yellow = TScreen::PixelAt(120, 200) & 0xFFFFFF;
  EXPECT_EQ(yellow, GetColorRef(14) & 0xFFFFFF) << "background colour fills the empty cells";
  int dark = 0;
  for (int y = 196; y <= 207; ++y)
    for (int x = 80; x < 104; ++x) dark += (TScreen::PixelAt(x, y) & 0xFFFFFF) == 0;
  EXPECT_GT(dark, 10) << "the text is written in black";
  // While editing, the caret stood after the text at x = 8 (10 + 4) - 7 = 105.
  const torvtest::TPicture shot = torvtest::ReadPng(screen.Dir() / "edit.png");
  ASSERT_TRUE(shot.error.empty()) << shot.error;
  EXPECT_NE(shot.At(105, 202), TScreen::PixelAt(105, 202) & 0xFFFFFF) << "caret drawn";
  EXPECT_NE(shot.At(106, 202), TScreen::PixelAt(106, 202) & 0xFFFFFF) << "double line";
  EXPECT_EQ(shot.At(108, 202), TScreen::PixelAt(108, 202) & 0xFFFFFF);
}

TEST(LineEditor, MapExtendedKeyToExitCode) {
  TScreen screen;
  struct {
    uint8_t scan;
    int code;
  } cases[] = {{59, 8}, {66, 15}, {68, 17}, {72, 4}, {80, 5}, {81, 6}, {73, 7}, {71, 99}, {67, 99}};
  for (const auto& c : cases) {
    ClearKeyBuffer();
    PushKeyCode(c.scan);
    uint8_t code = 99;
    MapExtendedKeyToExitCode(code);
    EXPECT_EQ(int(code), c.code) << int(c.scan);
    EXPECT_EQ(KeyCount, 0);
  }
}

TEST(LineEditor, CheckTimerElapsedCountsHundredthsModulo100) {
  uint16_t now = 0;
  GetTimeHundredths(now);
  uint8_t stamp = uint8_t((now % 100 + 70) % 100);  // 30 hundredths ago
  EXPECT_FALSE(CheckTimerElapsed(stamp, 90));
  EXPECT_EQ(stamp, uint8_t((now % 100 + 70) % 100)) << "kept while not elapsed";
  EXPECT_TRUE(CheckTimerElapsed(stamp, 20));
  uint16_t later = 0;
  GetTimeHundredths(later);
  EXPECT_LE((later % 100 - stamp + 100) % 100, 5) << "the current value is stored";
}

}  // namespace
