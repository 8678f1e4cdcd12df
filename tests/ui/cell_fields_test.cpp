// Cell fields: limits and unreadable entries of the number fields, Esc,
// the choice fields and their keys, the yes/no popup and the step sizes.
#include "ui/cell_fields.h"

#include "platform/system.h"
#include "support/program_runner.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "paced_script.h"
#include "ui_screen.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

constexpr int kColumn = 20, kRow = 10;

struct TRealRun {
  float value = 0;
  uint8_t exitCode = 0;
  int beeps = 0;
};

TRealRun RunReal(TScreen& screen, const std::string& script, float value, float max, float min, int decimals,
                 bool clamped = false) {
  NewScript(screen, script);
  TRealRun r;
  r.value = value;
  const int beeps = plat::BeepCount();
  if (clamped) EditRealFieldClamped(r.value, kColumn, kRow, max, min, decimals, r.exitCode);
  else EditRealField(r.value, kColumn, kRow, max, min, decimals, r.exitCode);
  r.beeps = plat::BeepCount() - beeps;
  return r;
}

// True when the cells of the shot show text as the field draws it (the
// reference is drawn into the frame buffer at the same place). The last
// pixel column is left out: the caret after the text may cover it.
bool ShotShowsCells(const torvtest::TPicture& shot, int column, int row, const std::string& text, int16_t ink,
                    int16_t box) {
  DrawCellButton(column, row, text, false, ink, box);
  for (int y = 16 * row + 4; y <= 16 * row + 15; ++y)
    for (int x = 8 * column; x < 8 * (column + int(text.size())) - 1; ++x)
      if (shot.At(x, y) != (TScreen::PixelAt(x, y) & 0xFFFFFF)) return false;
  return true;
}

TEST(CellFields, AValueAboveTheLimitIsShownClampedBeforeEditing) {
  TScreen screen;
  const std::string shot = (screen.Dir() / "field.png").string();
  const TRealRun r = RunReal(screen, "shot " + shot + "\nkey Enter\n", 12.345f, 10, 0, 2);
  EXPECT_FLOAT_EQ(r.value, 10.0f);
  EXPECT_EQ(r.exitCode, 2);
  const torvtest::TPicture p = torvtest::ReadPng(shot);
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_TRUE(ShotShowsCells(p, kColumn, kRow, "   10.00", 261, 274)) << "white on black while edited";
}

TEST(CellFields, AnEntryOutsideTheLimitsIsAskedAgainWithTheSignal) {
  TScreen screen;
  const std::string shot = (screen.Dir() / "again.png").string();
  const TRealRun r = RunReal(screen, "text 20\nkey Enter\nshot " + shot + "\ntext 5\nkey Enter\n", 12.345f, 10, 0, 2);
  EXPECT_FLOAT_EQ(r.value, 5.0f);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_GE(r.beeps, 1);
  const torvtest::TPicture p = torvtest::ReadPng(shot);
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_TRUE(ShotShowsCells(p, kColumn, kRow, "   10.00", 261, 274)) << "shown again within the limits";
  // Below the lower limit likewise, with a chain and a comma.
  EXPECT_FLOAT_EQ(RunReal(screen, "text -3\nkey Enter\ntext 2,5+1\nkey Tab\n", 1, 10, 0, 2).value, 3.5f);
}

TEST(CellFields, EscKeepsAnEntryOnlyWithinTheLimits) {
  TScreen screen;
  const TRealRun r = RunReal(screen, "text 20\nkey Esc\n", 4, 10, 0, 2);
  EXPECT_FLOAT_EQ(r.value, 10.0f);
  EXPECT_EQ(r.exitCode, 3);
  const TRealRun low = RunReal(screen, "text 0.5\nkey Esc\n", 4, 10, 1, 2);
  EXPECT_FLOAT_EQ(low.value, 1.0f);
}

TEST(CellFields, AnUnreadableEntryIsAskedAgainAndEscGivesTheValueBack) {
  TScreen screen;
  // A division by zero gives no number: asked again, never an infinity.
  const TRealRun again = RunReal(screen, "text 5/0\nkey Enter\ntext 4\nkey Enter\n", 7, 100, -100, 3);
  EXPECT_FLOAT_EQ(again.value, 4.0f);
  const TRealRun esc = RunReal(screen, "text 5/0\nkey Esc\n", 7, 100, -100, 3);
  EXPECT_FLOAT_EQ(esc.value, 7.0f);
  EXPECT_EQ(esc.exitCode, 3);
  const TRealRun empty = RunReal(screen, "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n"
                                         "key Backspace\nkey Backspace\nkey Backspace\nkey Esc\n",
                                 7, 100, -100, 3);
  EXPECT_FLOAT_EQ(empty.value, 7.0f);
  const TRealRun huge = RunReal(screen, "text 9e30*1e9\nkey Enter\nkey Esc\n", 7, 100, -100, 3);
  EXPECT_FLOAT_EQ(huge.value, 7.0f);
}

TEST(CellFields, TheClampedFieldTakesAnEntryOutsideTheLimitsAtTheLimit) {
  TScreen screen;
  const TRealRun r = RunReal(screen, "text 20\nkey Enter\n", 4, 10, 0, 2, true);
  EXPECT_FLOAT_EQ(r.value, 10.0f);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_GE(r.beeps, 1);
  EXPECT_FLOAT_EQ(RunReal(screen, "text 1.23456\nkey Up\n", 0, 10, 0, 3).value, 1.23456f);
  EXPECT_EQ(RunReal(screen, "key PgDn\n", 0, 10, 0, 3).exitCode, 6);
  EXPECT_EQ(RunReal(screen, "key F3\n", 0, 10, 0, 3).exitCode, 10);
}

TEST(CellFields, IntegerFields) {
  TScreen screen;
  NewScript(screen, "text 123456\nkey Enter\ntext 12.5\nkey Enter\ntext 99999\nkey Enter\n");
  int32_t n = 5;
  uint8_t exitCode = 0;
  EditLongField(n, 100000, -5, kColumn, kRow, exitCode);
  EXPECT_EQ(n, 99999);
  EXPECT_EQ(exitCode, 2);

  NewScript(screen, "text 300\nkey Tab\ntext 200\nkey Down\n");
  int16_t s = -5;
  EditIntegerField(s, 255, -10, 4, kColumn, kRow, exitCode);
  EXPECT_EQ(s, 200);
  EXPECT_EQ(exitCode, 5);

  NewScript(screen, "text 7x\nkey Esc\n");
  s = 42;
  EditIntegerField(s, 255, -10, 4, kColumn, kRow, exitCode);
  EXPECT_EQ(s, 42) << "Esc on an unreadable entry";
  EXPECT_EQ(exitCode, 3);
}

TEST(CellFields, ValuesInThePromptLine) {
  TScreen screen;
  NewScript(screen, "text 3.5\nkey Enter\n");
  float v = 1;
  EXPECT_TRUE(PromptRealValue("Radius", v, 2, 10, 0));
  EXPECT_FLOAT_EQ(v, 3.5f);
  NewScript(screen, "text 4\nkey Esc\n");
  EXPECT_FALSE(PromptRealValue("Radius", v, 2, 10, 0));

  NewScript(screen, "text 999\nkey Enter\ntext 50\nkey Enter\n");
  int16_t n = 1;
  uint8_t exitCode = 0;
  const int beeps = plat::BeepCount();
  PromptIntegerValue("Anzahl", n, 100, 0, exitCode);
  EXPECT_EQ(n, 50);
  EXPECT_EQ(exitCode, 2);
  EXPECT_GT(plat::BeepCount(), beeps);
  NewScript(screen, "text 70\nkey Esc\n");
  PromptIntegerValue("Anzahl", n, 100, 0, exitCode);
  EXPECT_EQ(n, 50) << "Esc gives the value back";
  EXPECT_EQ(exitCode, 3);
  NewScript(screen, "text 999\nkey Up\n");
  PromptIntegerValue("Anzahl", n, 100, 0, exitCode);
  EXPECT_EQ(n, 100) << "other exits keep the entry within the limits";
}

const TChoicePair kYesNo[] = {{'J', "Ja"}, {'N', "Nein"}, {'Y', "Ja"}};

struct TChoiceRun {
  char value;
  uint8_t exitCode;
};

TChoiceRun RunYesNo(TScreen& screen, const std::string& script, char value) {
  NewScript(screen, script);
  TChoiceRun r{value, 0};
  EditYesNoField(r.value, kYesNo, 3, kColumn, kRow, r.exitCode);
  return r;
}

TEST(CellFields, YesNoFieldKeys) {
  TScreen screen;
  struct {
    const char* script;
    char start;
    char value;
    uint8_t exitCode;
  } cases[] = {
      {"text o\nkey Enter\n", 'N', 'J', 2},  // "O" counts as "J"
      {"text n\nkey Enter\n", 'J', 'N', 2},
      {"text y\nkey Tab\n", 'N', 'Y', 5},
      {"text x\nkey Esc\n", 'J', 'J', 3},    // not a key of the field
      {"text  \nkey Enter\n", 'J', ' ', 2},  // a blank empties it
      {"key PgUp\n", 'N', 'N', 7},
      {"key F2\n", 'N', 'N', 9},
      {"key Esc\n", 'Q', '\0', 3},  // a value that matches no key
      {"click 3 3 middle\n", 'N', 'N', 9},
      {"click 3 3 right\n", 'N', 'N', 3},  // last: the script that follows would lose its release
  };
  for (const auto& c : cases) {
    const TChoiceRun r = RunYesNo(screen, c.script, c.start);
    EXPECT_EQ(r.value, c.value) << c.script;
    EXPECT_EQ(r.exitCode, c.exitCode) << c.script;
  }
}

TEST(CellFields, TheYesNoTextIsShownInverted) {
  TScreen screen;
  const std::string shot = (screen.Dir() / "yes.png").string();
  RunYesNo(screen, "text n\nshot " + shot + "\nkey Enter\n", 'J');
  const torvtest::TPicture p = torvtest::ReadPng(shot);
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_TRUE(ShotShowsCells(p, kColumn, kRow, "Nein", 261, 274));
}

TEST(CellFields, CharacterFromASet) {
  TScreen screen;
  struct {
    const char* allowed;
    const char* script;
    char value;
    uint8_t exitCode;
  } cases[] = {
      {"ABC", "text b\n", 'B', 2},  // taken in capitals
      {"abc", "text b\n", 'b', 2},
      {"ABC", "text x\nkey Esc\n", 'A', 3},
      {"ABC", "key Tab\n", 'A', 5},
      {"ABC", "key Down\n", 'A', 5},
      {"ABC", "click 3 3 left\n", 'A', 2},
  };
  for (const auto& c : cases) {
    NewScript(screen, std::string(c.script));
    char v = 'A';
    uint8_t exitCode = 0;
    EditCharFromSetField(v, c.allowed, kColumn, kRow, exitCode);
    EXPECT_EQ(v, c.value) << c.script;
    EXPECT_EQ(exitCode, c.exitCode) << c.script;
  }
}

TEST(CellFields, ResolvingAYesNoChoice) {
  TScreen screen;
  char answer = 'N';
  uint8_t exitCode = 7;
  ResolveYesNoChoice(answer, exitCode, 100, 10);
  EXPECT_EQ(answer, 'J');
  exitCode = 6;
  ResolveYesNoChoice(answer, exitCode, 100, 10);
  EXPECT_EQ(answer, 'N');
  NewScript(screen, "key Esc\n");
  exitCode = 9;
  ResolveYesNoChoice(answer, exitCode, 100, 10);
  EXPECT_EQ(answer, 'N') << "a cancelled popup changes nothing";
  EXPECT_EQ(exitCode, 0);
}

TEST(CellFields, TheYesNoPopupSetsTheAnswer) {
  TScreen screen;
  // With a title, entry k's box starts at y = 100 + 28 + (k - 1) x 21.
  NewScript(screen, "click 140 159 left\n");
  char answer = 'J';
  AskYesNoPopup(100, 100, "Frage", answer);
  EXPECT_EQ(answer, 'N');
  NewScript(screen, "click 140 138 left\n");
  AskYesNoPopup(100, 100, "Frage", answer);
  EXPECT_EQ(answer, 'J');
}

TEST(CellFields, StepSizes) {
  const struct {
    float x, step;
  } cases[] = {{-15, 0.2f}, {0.5f, 0.05f}, {0, 0.05f},  {1, 0.05f},  {1.5f, 0.1f}, {10, 0.1f},  {10.5f, 0.2f},
               {20, 0.2f},  {-50, 0.5f},   {100, 1},    {150, 2},    {200, 2},     {500, 5},    {501, 10},
               {-1e6f, 10}};
  for (const auto& c : cases) EXPECT_FLOAT_EQ(ChooseStepForValue(c.x), c.step) << c.x;
}

}  // namespace
