// The generic input form: navigation and exit codes, Esc restoring every
// field, limits and unreadable entries, the kinds of fields, the result
// block, the buttons and the screen given back.
#include "ui/input_form.h"

#include "ui/field_choice_list.h"
#include "ui/panels.h"
#include "frame/messages.h"
#include "paths/machining_services_standin.h"
#include "support/program_runner.h"
#include "paced_script.h"
#include "ui_screen.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

using TFields = TInputField[kInputFieldEntries];

void SetNumber(TInputField& f, const char* caption, char kind, float value, float lower, float upper,
               int decimals = 0) {
  f.caption = caption;
  f.kind = kind;
  f.value = value;
  f.lowerLimit = lower;
  f.upperLimit = upper;
  f.width = 8;
  f.decimals = uint8_t(decimals);
}

// Breite (real 0-100), Anzahl (integer 1-10), Spiegeln (yes/no), Name (text).
void FillStandardForm(TFields& fields) {
  SetNumber(fields[0], "Breite", 'S', 10, 0, 100, 2);
  SetNumber(fields[1], "Anzahl", 'I', 3, 1, 10);
  SetNumber(fields[2], "Spiegeln", 'B', 0, 0, 1);
  fields[3].caption = "Name";
  fields[3].kind = 'T';
  fields[3].valueText = "ABC";
  fields[3].width = 10;
}

struct TFormRun {
  uint8_t exitCode = 0;
  int current = 0;
  int changed = 0;
  bool screenBack = false;
};

TFormRun RunFormOn(TScreen& screen, const std::string& script, TFields& fields, uint8_t count,
                   const std::string& title = "Abmessungen") {
  NewScript(screen, script);
  const auto before = TScreen::Pixels();
  TFormRun r;
  r.exitCode = RunInputForm(title, fields, count);
  r.screenBack = TScreen::Pixels() == before;
  EXPECT_EQ(fields[kInputResultEntry].decimals, r.exitCode);
  r.current = int(fields[kInputResultEntry].lowerLimit);
  r.changed = fields[kInputResultEntry].width;
  return r;
}

// The same on a screen of its own.
TFormRun RunForm(const std::string& script, TFields& fields, uint8_t count) {
  TScreen screen;
  return RunFormOn(screen, script, fields, count);
}

TEST(InputForm, EnterThroughEveryFieldEndsTheForm) {
  TFields f;
  FillStandardForm(f);
  const TFormRun r = RunForm("text 25.5\nkey Enter\ntext 7\nkey Enter\ntext j\nkey Enter\nkey Backspace\n"
                                     "text D\nkey Enter\n",
                             f, 4);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.current, 5) << "n + 1 after Enter on the last field";
  EXPECT_EQ(r.changed, 1);
  EXPECT_TRUE(r.screenBack);
  EXPECT_FLOAT_EQ(f[0].value, 25.5f);
  EXPECT_FLOAT_EQ(f[1].value, 7.0f);
  EXPECT_FLOAT_EQ(f[2].value, 1.0f);
  EXPECT_EQ(f[3].valueText, "ABD");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f[i].decimals, 0) << "the result bytes are cleared";
}

TEST(InputForm, EscRestoresEveryField) {
  TFields f;
  FillStandardForm(f);
  const TFormRun r = RunForm("text 50\nkey Enter\ntext 9\nkey Enter\ntext j\nkey Esc\n", f, 4);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.changed, 0);
  EXPECT_TRUE(r.screenBack);
  EXPECT_FLOAT_EQ(f[0].value, 10.0f);
  EXPECT_FLOAT_EQ(f[1].value, 3.0f);
  EXPECT_FLOAT_EQ(f[2].value, 0.0f);
  EXPECT_EQ(f[3].valueText, "ABC");
  // Esc in the text field, after typing.
  FillStandardForm(f);
  EXPECT_EQ(RunForm("key Up\nkey PgUp\nkey Down\nkey Down\nkey Down\ntext XY\nkey Esc\n", f, 4).exitCode, 3);
  EXPECT_EQ(f[3].valueText, "ABC");
}

TEST(InputForm, NavigationAndFunctionKeys) {
  struct {
    const char* script;
    uint8_t exitCode;
    int current;
  } cases[] = {
      {"key F1\n", 8, 1},
      {"key Down\nkey Down\nkey F1\n", 8, 3},
      {"key PgDn\nkey PgDn\nkey Up\nkey F1\n", 8, 2},
      {"key Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey F1\n", 8, 4},  // Down on the last field keeps it
      {"key Up\nkey PgUp\nkey F1\n", 8, 1},
      {"key Enter\nkey Enter\nkey Tab\nkey F1\n", 8, 4},  // Tab in a yes/no field moves on
      {"key F5\nkey F10\nkey F1\n", 8, 1},  // F5 and F10 keep the form running
      {"key Down\nkey Down\nkey F2\n", 9, 3},
      {"click 5 5 right\n", 3, 1},
  };
  for (const auto& c : cases) {
    TFields f;
    FillStandardForm(f);
    const TFormRun r = RunForm(c.script, f, 4);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.script;
    EXPECT_EQ(r.current, c.current) << c.script;
    if (c.exitCode == 9) { EXPECT_EQ(f[2].decimals, 9) << "codes above 8 stay with the current field"; }
  }
}

TEST(InputForm, ValuesOutsideTheLimitsAreAskedAgain) {
  TFields f;
  FillStandardForm(f);
  const TFormRun r = RunForm("text 150\nkey Enter\ntext -1\nkey Enter\ntext 99\nkey Enter\n"
                                     "text 11\nkey Down\ntext 0\nkey Up\ntext 10\nkey F1\n",
                             f, 4);
  EXPECT_EQ(r.exitCode, 8);
  EXPECT_FLOAT_EQ(f[0].value, 99.0f);
  EXPECT_FLOAT_EQ(f[1].value, 10.0f);
  EXPECT_EQ(r.current, 2);
}

TEST(InputForm, UnreadableEntriesAreAskedAgainAndEscAlwaysLeaves) {
  TFields f;
  FillStandardForm(f);
  // A division by zero gives no number.
  RunForm("text 5/0\nkey Enter\ntext 4\nkey Enter\nkey F1\n", f, 4);
  EXPECT_FLOAT_EQ(f[0].value, 4.0f);
  FillStandardForm(f);
  const TFormRun esc = RunForm("text 5/0\nkey Esc\n", f, 4);
  EXPECT_EQ(esc.exitCode, 3);
  EXPECT_FLOAT_EQ(f[0].value, 10.0f);
  FillStandardForm(f);
  const TFormRun outside = RunForm("text 500\nkey Esc\n", f, 4);
  EXPECT_EQ(outside.exitCode, 3);
  EXPECT_FLOAT_EQ(f[0].value, 10.0f);
}

TEST(InputForm, ShownOnlyFieldsArePassedOver) {
  TFields f;
  f[0].caption = "Datei";
  f[0].kind = 'F';
  f[0].valueText = "TEST.SLD";
  SetNumber(f[1], "Tiefe", 'S', 1, 0, 10, 3);
  f[2].caption = "Hinweis";
  f[2].kind = 'F';
  f[2].valueText = "nur Anzeige";
  SetNumber(f[3], "Zustellung", 'S', 2, 0, 10, 3);
  f[4].caption = "Ende";
  f[4].kind = 'F';
  const TFormRun r = RunForm("text 3\nkey Enter\ntext 4\nkey Enter\n", f, 5);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.current, 6);
  EXPECT_FLOAT_EQ(f[1].value, 3.0f);
  EXPECT_FLOAT_EQ(f[3].value, 4.0f);
  EXPECT_EQ(f[0].valueText, "TEST.SLD");
  // Up from the second number field goes back over the shown one.
  const TFormRun back = RunForm("key Enter\nkey Up\nkey F1\n", f, 5);
  EXPECT_EQ(back.current, 2);
  // A form of shown fields only waits for an answer.
  TFields shown;
  shown[0].caption = "Datei";
  shown[0].kind = 'F';
  shown[0].valueText = "A";
  EXPECT_EQ(RunForm("key Esc\n", shown, 1).exitCode, 3);
  EXPECT_EQ(RunForm("key F1\n", shown, 1).exitCode, 8);
}

TEST(InputForm, AYesFieldThatEndsTheForm) {
  TFields f;
  SetNumber(f[0], "Weiter", 'D', 0, 0, 1);
  const TFormRun r = RunForm("text j\n", f, 1);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FLOAT_EQ(f[0].value, 1.0f);
  EXPECT_EQ(r.changed, 1);
}

TEST(InputForm, DisplayTexts) {
  TScreen screen;  // the yes/no texts come from the message file
  TInputField f;
  struct {
    char kind;
    int width, decimals;
    float value;
    const char* text;
  } cases[] = {
      {'L', 5, 0, 12, "#  12"}, {'L', 2, 0, 12, "#2"},       {'W', 3, 0, 7, "# 7"},
      {'I', 4, 0, 2.6f, "   3"}, {'S', 8, 3, 1.5f, "   1.500"}, {'S', 6, 1, -2.5f, "  -2.5"},
  };
  for (const auto& c : cases) {
    f.kind = c.kind;
    f.width = uint8_t(c.width);
    f.decimals = uint8_t(c.decimals);
    f.value = c.value;
    EXPECT_EQ(FormatInputFieldText(f, 16), c.text) << c.kind << c.value;
  }
  f.kind = 'B';
  f.value = 1;
  EXPECT_EQ(FormatInputFieldText(f, 16), GetMessageText(100, 5));
  f.value = 0;
  EXPECT_EQ(FormatInputFieldText(f, 16), GetMessageText(101, 5));
  f.kind = 'T';
  f.valueText = "ABCDEFGHIJ";
  EXPECT_EQ(FormatInputFieldText(f, 4), "ABCD") << "cut to the form's value width";
}

TEST(InputForm, OkButtonFieldLinesAndTheScreen) {
  TScreen screen;
  TFields f;
  FillStandardForm(f);
  // Centred: caption width 15, value width 10: 28 cells = 224 x 104 pixels
  // (7 rows), left 504 - 112 = 392, top (368 - 56) rounded down to 304; the
  // field lines from row 21, OK from (568, 308) to (590, 330).
  const std::string shot = (screen.Dir() / "form.png").string();
  const TFormRun r = RunFormOn(screen, "shot " + shot + "\nclick 420 375 left\nclick 579 319 left\n", f, 4);
  EXPECT_EQ(r.exitCode, 8) << "the OK button";
  EXPECT_EQ(r.current, 3) << "a click on the third line made it current";
  EXPECT_TRUE(r.screenBack);
  const torvtest::TPicture p = torvtest::ReadPng(shot);
  ASSERT_TRUE(p.error.empty()) << p.error;
  // Inside the frame the shot differs from the screen behind it; beside it, it does not.
  int inside = 0, outside = 0;
  for (int y = 300; y < 430; ++y)
    for (int x = 380; x < 630; ++x) {
      const bool differs = p.At(x, y) != (TScreen::PixelAt(x, y) & 0xFFFFFF);
      if (x >= 392 && x <= 616 && y >= 304 && y <= 408) inside += differs;
      else outside += differs;
    }
  EXPECT_GT(inside, 224 * 104 / 2);
  EXPECT_EQ(outside, 0);
  // The first value, "   10.00", right-aligned in the value column (66 + 10 - 8 = 68): "10.00" in cells 71-75.
  int dark = 0;
  for (int y = 21 * 16 + 4; y <= 21 * 16 + 15; ++y)
    for (int x = 71 * 8; x < 76 * 8; ++x) dark += p.At(x, y) == 0;
  EXPECT_GT(dark, 10);
}

TEST(InputForm, ACountWithTheOutsideBitEndsOnAClickOutside) {
  TFields f;
  FillStandardForm(f);
  {
    TScreen screen;
    NewScript(screen, "click 20 100 left\n");
    uint8_t exitCode = 0;
    EditInputForm("Abmessungen", f, uint8_t(4 | kFormEndsOnOutsideClick), 5, 0, exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(int(f[kInputResultEntry].lowerLimit), 1);
  }
  // Without the bit the click only moves to the next field.
  FillStandardForm(f);
  EXPECT_EQ(RunForm("click 20 100 left\nkey F1\n", f, 4).current, 2);
}

TEST(InputForm, NothingToAsk) {
  TScreen screen;
  TFields f;
  FillStandardForm(f);
  uint8_t exitCode = 0;
  EXPECT_EQ(EditInputForm("Leer", f, 0, 5, 0, exitCode), 3);
  EXPECT_EQ(EditInputForm("Leer", f, 0x80, 5, 0, exitCode), 3);
  EXPECT_FLOAT_EQ(f[0].value, 10.0f);
}

int16_t chosenTool = 0;
void ChooseToolForTest() {
  chosenTool = ToolChooserNumber;
  ToolChooserNumber = 42;
}

TEST(InputForm, TheToolChooserOnF2) {
  TFields f;
  SetNumber(f[0], "Werkzeug", 'W', 5, 0, 199);
  SetNumber(f[1], "Tiefe", 'S', 1, 0, 10, 2);
  ToolChooserHook = ChooseToolForTest;
  const TFormRun r = RunForm("key F2\nkey F1\n", f, 2);
  ToolChooserHook = nullptr;
  EXPECT_EQ(r.exitCode, 8);
  EXPECT_EQ(chosenTool, 5);
  EXPECT_FLOAT_EQ(f[0].value, 42.0f);
  EXPECT_EQ(r.current, 1) << "the tool field stays current";
  // A tool number outside the limits is held at them.
  SetNumber(f[0], "Werkzeug", 'W', 5, 0, 199);
  RunForm("text 300\nkey Enter\nkey Enter\nkey Enter\n", f, 2);
  EXPECT_FLOAT_EQ(f[0].value, 199.0f);
}

TEST(InputForm, AChoiceFieldAndItsList) {
  TFields f;
  SetNumber(f[0], "Tiefe", 'S', 1, 0, 10, 2);
  SetNumber(f[1], "Art", 'A', 1, 1, 3);
  NewFieldChoiceList(f[1].choiceList);
  SetFieldChoiceOption(*f[1].choiceList, 1, "Linie");
  SetFieldChoiceOption(*f[1].choiceList, 2, "Bogen");
  SetFieldChoiceOption(*f[1].choiceList, 3, "Kreis");
  TScreen screen;
  RedrawState = 0;  // the dropped list runs while this state shows no pending rebuild
  const TFormRun r = RunFormOn(screen, "key Enter\nkey Down\nkey Down\nkey Enter\n", f, 2);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FLOAT_EQ(f[1].value, 3.0f);
  EXPECT_EQ(f[1].choiceList, nullptr) << "the form frees the list";
}

TEST(InputForm, FourValues) {
  TScreen screen;
  NewScript(screen, "text 1.25\nkey Enter\ntext 2\nkey Enter\n");
  const std::string captions[4] = {"X", "Y", "", ""};
  float values[4] = {0, 0, 7, 8};
  uint8_t exitCode = 0;
  EditFourValues("Punkt", 2, captions, values, exitCode);
  EXPECT_EQ(exitCode, 2);
  EXPECT_FLOAT_EQ(values[0], 1.25f);
  EXPECT_FLOAT_EQ(values[1], 2.0f);
  EXPECT_FLOAT_EQ(values[2], 7.0f);
}

TEST(InputForm, ThePictureCardStaysOpenUntilClosed) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  TPopupFrame frame{};
  ShowPictureCard(100, 100, "OK", frame, "Oben", "Unten", 64, 48);
  EXPECT_EQ(frame.right, 100 + 64 + 28);
  EXPECT_EQ(frame.bottom, 100 + 48 + 28 + 32);
  EXPECT_GT(TScreen::CountChanged(before, TScreen::Pixels(), 100, 100, frame.right, frame.bottom), 5000);
  EXPECT_EQ(TScreen::PixelAt(100 + 10, 100 + 40) & 0xFFFFFF, 0xFFFFFFu) << "white inside";
  ClosePopupFrame(frame);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

}  // namespace

namespace {

TEST(InputForm, ThePictureAreaAboveTheLines) {
  TScreen screen;
  TFields f;
  FillStandardForm(f);
  // 64 x 48 pixels: 3 picture rows, 10 rows in all: 224 x 152 pixels at
  // (392, 288); the grey area from (398, 317) to (610, 365), the picture at its
  // bottom left from (398, 317).
  const std::string shot = (screen.Dir() / "picture.png").string();
  NewScript(screen, "shot " + shot + "\nkey F1\n");
  const auto before = TScreen::Pixels();
  EXPECT_EQ(RunInputFormWithPicture("Abmessungen", f, 4, 64, 48, "OK"), 8);
  EXPECT_TRUE(TScreen::Pixels() == before);
  const torvtest::TPicture p = torvtest::ReadPng(shot);
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.At(500, 330), 0xC0C0C0u) << std::hex << p.At(500, 330);
  EXPECT_EQ(p.At(500, 365), 0x000000u) << "the black line along its bottom";
  int picture = 0;
  for (int y = 318; y < 364; ++y)
    for (int x = 399; x < 461; ++x) picture += p.At(x, y) != 0xC0C0C0u;
  EXPECT_GT(picture, 100) << "the picture of the current field";
  // The first field line is row 23.
  int dark = 0;
  for (int y = 23 * 16 + 4; y <= 23 * 16 + 15; ++y)
    for (int x = 71 * 8; x < 76 * 8; ++x) dark += p.At(x, y) == 0;
  EXPECT_GT(dark, 10);
}

}  // namespace
