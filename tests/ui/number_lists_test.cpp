// Number lists: which numbers a list selects, which lists are wrong, and the
// popup that asks for a list.
#include "ui/number_lists.h"

#include <cstring>
#include <set>

#include "paced_script.h"
#include "ui_screen.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

std::set<int> Selected(const uint8_t (&flags)[kNumberListSize]) {
  std::set<int> s;
  for (int i = 0; i < kNumberListSize; ++i)
    if (flags[i] == 1) s.insert(i);
    else EXPECT_EQ(flags[i], 0) << i;
  return s;
}

std::set<int> Range(int a, int b) {
  std::set<int> s;
  for (int i = a; i <= b; ++i) s.insert(i);
  return s;
}

TEST(NumberLists, GoodListsSelectTheirNumbers) {
  struct {
    const char* text;
    std::set<int> numbers;
  } cases[] = {
      {"1,3,7-11 15", {1, 3, 7, 8, 9, 10, 11, 15}},
      {"3 - 7", Range(3, 7)},
      {"  2", {2}},
      {"5-", {}},  // the range never ends
      {"1,5-", {1}},
      {"0,199", {0, 199}},
      {"0-199", Range(0, 199)},
      {"1-3-5", Range(1, 5)},
      {"4 4,4", {4}},
      {"", {}},
      {",, ,", {}},
  };
  for (const auto& c : cases) {
    uint8_t flags[kNumberListSize];
    std::memset(flags, 7, sizeof flags);  // every flag is cleared first
    EXPECT_TRUE(ReadNumberList(c.text, flags)) << c.text;
    EXPECT_EQ(Selected(flags), c.numbers) << c.text;
  }
}

TEST(NumberLists, WrongListsAreReportedAndKeepWhatWasReadCorrectly) {
  struct {
    const char* text;
    std::set<int> numbers;
  } cases[] = {
      {"7-3", {}},
      {"250", {}},
      {"1,7-3,9", {1, 9}},
      {"190-250", Range(190, 199)},
      {"99999999999999", {}},
      {"2,99999999999999-5,8", {2, 5, 8}},  // the bad number starts no range
      {"1a", {1}},
  };
  for (const auto& c : cases) {
    uint8_t flags[kNumberListSize] = {};
    EXPECT_FALSE(ReadNumberList(c.text, flags)) << c.text;
    EXPECT_EQ(Selected(flags), c.numbers) << c.text;
  }
}

TEST(NumberLists, ThePopupFillsTheFlags) {
  TScreen screen;
  NewScript(screen, "text 1,3,7-11 15\nkey F1\n");
  const auto before = TScreen::Pixels();
  uint8_t flags[kNumberListSize];
  std::memset(flags, 1, sizeof flags);
  uint8_t exitCode = 0;
  EditNumberList("Werkzeuge", "Nummern", flags, exitCode, 30, 5);
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(Selected(flags), (std::set<int>{1, 3, 7, 8, 9, 10, 11, 15}));
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the popup comes back";
}

TEST(NumberLists, AWrongListIsShownAndGivesExitCodeThree) {
  TScreen screen;
  NewScript(screen, "text 7-3\nkey F1\nkey Enter\n");
  uint8_t flags[kNumberListSize] = {};
  uint8_t exitCode = 0;
  EditNumberList("Werkzeuge", "Nummern", flags, exitCode, 30, 5);
  EXPECT_EQ(exitCode, 3);
  EXPECT_NE(screen.ReadFile("transcript.txt").find("Fehler in der Zahleneingabe!"), std::string::npos)
      << screen.ReadFile("transcript.txt");
}

TEST(NumberLists, ACancelClearsEveryFlag) {
  TScreen screen;
  NewScript(screen, "text 4,5\nkey Esc\n");
  uint8_t flags[kNumberListSize];
  std::memset(flags, 1, sizeof flags);
  uint8_t exitCode = 0;
  EditNumberList("Werkzeuge", "Nummern", flags, exitCode, 30, 5);
  EXPECT_EQ(exitCode, 3);
  EXPECT_TRUE(Selected(flags).empty());
}

TEST(NumberLists, ALetterIsRefusedAndThePopupStaysOpen) {
  TScreen screen;
  NewScript(screen, "text 4x\nkey F1\nkey Backspace\nkey F1\n");
  uint8_t flags[kNumberListSize] = {};
  uint8_t exitCode = 0;
  EditNumberList("Werkzeuge", "Nummern", flags, exitCode, 30, 5);
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(Selected(flags), (std::set<int>{4}));
}

}  // namespace
