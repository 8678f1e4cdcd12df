// The choice list of a list field: dropped, it is left by the arrow keys at
// its ends, by a click on an option or elsewhere, by the form's keys and by a
// redraw request; in place it only waits for a key or button; the screen
// under the dropped list comes back.
#include "ui/field_choice_list.h"

#include <memory>

#include "frame/main_window.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"

namespace {

using uitest::TScreen;

// Field at cell (10, 5), 8 characters wide; option j's cell row is 5 + j.
std::string ClickOption(int j) { return "click 84 " + std::to_string((5 + j) * 16 + 8) + "\n"; }

struct TRun {
  uint8_t exitCode;
  int16_t chosen;
};

TRun RunList(const std::string& script, bool drop, int16_t chosen = 2,
             std::initializer_list<const char*> options = {"Eins", "Zwei", "Drei"}) {
  TScreen screen(script);
  plat::ResetScript();
  RedrawState = 0;
  std::unique_ptr<TFieldChoiceList> list(new TFieldChoiceList);
  list->Column = 10;
  list->Row = 5;
  list->Width = 8;
  list->Chosen = chosen;
  int i = 0;
  for (const char* option : options) list->Options[i++] = option;
  const auto before = TScreen::Pixels();
  RunFieldChoiceList(*list, drop);
  if (drop) { EXPECT_TRUE(TScreen::Pixels() == before) << "screen given back"; }
  return TRun{list->ExitCode, list->Chosen};
}

TEST(FieldChoiceList, ANewListHasItsDefaults) {
  TFieldChoiceList* list = nullptr;
  NewFieldChoiceList(list);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Width, 1);
  EXPECT_EQ(list->Chosen, 1);
  EXPECT_EQ(list->ExitCode, 0);
  EXPECT_EQ(CountChoiceOptions(*list), 0);
  SetFieldChoiceOption(*list, 2, "Eine sehr lange Option");
  SetFieldChoiceOption(*list, 12, "keine");
  EXPECT_EQ(FieldChoiceOption(*list, 2), "Eine sehr lange Opti");
  EXPECT_EQ(FieldChoiceOption(*list, 0), "");
  EXPECT_EQ(CountChoiceOptions(*list), 0) << "option 1 is still empty";
  SetFieldChoiceOption(*list, 1, "Eins");
  EXPECT_EQ(CountChoiceOptions(*list), 2);
  NewFieldChoiceList(list);  // the old list is freed
  EXPECT_EQ(CountChoiceOptions(*list), 0);
  delete list;
}

TEST(FieldChoiceList, DroppedListEndsAsTheFormExpects) {
  const struct {
    const char* what;
    std::string script;
    uint8_t exitCode;
    int16_t chosen;
  } kCases[] = {
      {"Down to the last, then past it", "key Down\nkey Down\n", 5, 3},
      {"Up to the first, then past it", "key Up\nkey Up\n", 4, 1},
      {"a click on an option", ClickOption(3), 1, 3},
      {"a click elsewhere", "click 400 400\n", 2, 2},
      {"Enter", "key Enter\n", 2, 2},
      {"the right button", "click 84 104 right\n", 3, 2},
      {"Esc", "key Esc\n", 3, 2},
      {"Tab", "key Tab\n", 5, 2},
      {"PgDn", "key PgDn\n", 6, 2},
      {"PgUp", "key PgUp\n", 7, 2},
      {"F1", "key F1\n", 8, 2},
      {"F3", "key F3\n", 10, 2},
      {"F6", "key F6\n", 13, 2},
      {"a typed P is no arrow key", "key P\nkey Esc\n", 3, 2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const TRun run = RunList(c.script, true);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
    EXPECT_EQ(run.chosen, c.chosen) << c.what;
  }
}

TEST(FieldChoiceList, OptionsAfterTheFirstEmptyOneAreNotOffered) {
  const TRun run = RunList("key Down\n", true, 2, {"Eins", "Zwei", "", "Vier", "Fuenf"});
  EXPECT_EQ(run.exitCode, 5) << "option 2 is the last one";
  EXPECT_EQ(run.chosen, 2);
  EXPECT_EQ(RunList(ClickOption(4), true, 1, {"Eins", "Zwei", "", "Vier"}).exitCode, 2) << "no option 4 to click";
}

// An option longer than the field drops whole: the list widens to it, keeps
// the option's text, and a click on its tail picks it.
TEST(FieldChoiceList, LongOptionsDropWhole) {
  TScreen screen("click 140 72\n");
  plat::ResetScript();
  RedrawState = 0;
  TFieldChoiceList list;
  list.Column = 2;
  list.Row = 3;
  list.Width = 8;
  list.Chosen = 2;
  list.Options[0] = "Sehr langer Eintrag";
  list.Options[1] = "kurz";
  RunFieldChoiceList(list, true);
  EXPECT_EQ(list.Options[0], "Sehr langer Eintrag");
  EXPECT_EQ(list.Options[1], "kurz");
  EXPECT_EQ(list.ExitCode, kChoicePicked);
  EXPECT_EQ(list.Chosen, 1);
}

// In place the chosen option shows in the field only, cut as the form cuts
// its value: the screen right of the field stays as it was.
TEST(FieldChoiceList, InPlaceALongOptionStaysInsideTheField) {
  TScreen screen("key Tab\n");
  plat::ResetScript();
  RedrawState = 0;
  TFieldChoiceList list;
  list.Column = 10;
  list.Row = 5;
  list.Width = 8;
  list.Chosen = 1;
  list.Options[0] = "Sehr langer Eintrag";
  const auto before = TScreen::Pixels();
  RunFieldChoiceList(list, false);
  const auto after = TScreen::Pixels();
  const int inside = TScreen::CountChanged(before, after, 10 * 8, 5 * 16, 18 * 8 - 1, 6 * 16 - 1);
  const int outside = TScreen::CountChanged(before, after, 18 * 8, 5 * 16, 40 * 8, 6 * 16 - 1);
  EXPECT_GT(inside, 0) << "the option is shown";
  EXPECT_EQ(outside, 0) << "nothing painted past the field";
  EXPECT_EQ(list.Options[0], "Sehr langer Eintrag");
}

TEST(FieldChoiceList, WithoutOptionsNothingHappens) {
  TScreen screen("key Esc\n");
  plat::ResetScript();
  TFieldChoiceList list;
  list.ExitCode = 9;
  list.Chosen = 4;
  const auto before = TScreen::Pixels();
  RunFieldChoiceList(list, true);
  RunFieldChoiceList(list, false);
  EXPECT_EQ(list.ExitCode, 9);
  EXPECT_EQ(list.Chosen, 4);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

// A repaint under the list: the redraw state is set at the first poll.
void RequestRedraw(TInputHook&) { RedrawState = 2; }

TEST(FieldChoiceList, ARedrawRequestEndsTheDroppedList) {
  TInputHook hook;
  hook.poll = RequestRedraw;
  InputHook = &hook;
  const TRun run = RunList("wait 10\nkey Down\nkey Down\n", true);
  InputHook = nullptr;
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.chosen, 2);
}

TEST(FieldChoiceList, InPlaceTheListOnlyWaitsToBeLeft) {
  const struct {
    std::string script;
    uint8_t exitCode;
  } kCases[] = {{"key Down\n", 5}, {"key Up\n", 4}, {"key Tab\n", 5}, {"click 400 400\n", 5},
                {"click 400 400 middle\n", 5}, {"click 400 400 right\n", 3}, {"key F4\n", 11}, {"key PgDn\n", 6}};
  for (const auto& c : kCases) {
    const TRun run = RunList(c.script, false);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.script;
    EXPECT_EQ(run.chosen, 2) << c.script;
  }
}

}  // namespace
