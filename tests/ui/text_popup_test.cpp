// The one-line text popup: which keys and buttons end it, the character-set
// variant, placement and the screen given back.
#include "ui/text_popup.h"

#include "platform/system.h"
#include "ui/panels.h"
#include "paced_script.h"
#include "ui_screen.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

struct TPopupRun {
  std::string text;
  uint8_t exitCode = 0;
  bool screenBack = false;
};

TPopupRun RunPopup(const std::string& script, const std::string& start, int width = 20, int position = 5,
                   int maxLength = 255) {
  TScreen screen;
  NewScript(screen, script);
  const auto before = TScreen::Pixels();
  TPopupRun r;
  r.text = start;
  EditTextPopup("Titel", "Name", r.text, r.exitCode, width, position, 0, maxLength);
  r.screenBack = TScreen::Pixels() == before;
  return r;
}

// The centre of the OK (dx 37) or cancel (dx 15) button of a centred popup of width 20.
std::string ClickButton(int dx) {
  int top = 0, left = 0;
  PlacePopupByPosition(5, 22 * 8, 70, top, left);
  return "click " + std::to_string(left + 22 * 8 - dx) + " " + std::to_string(top + 15) + "\n";
}

TEST(TextPopup, EnterKeepsThePopupOpenAndF1Accepts) {
  const TPopupRun r = RunPopup("text abc\nkey Enter\nkey Tab\nkey Up\ntext d\nkey F1\n", "");
  EXPECT_EQ(r.exitCode, 8);
  EXPECT_EQ(r.text, "abcd");
  EXPECT_TRUE(r.screenBack);
}

TEST(TextPopup, TheButtonsOfTheTitleStrip) {
  std::string ok, cancel;
  {
    TScreen probe;  // the screen the popup is placed on
    ok = ClickButton(37);
    cancel = ClickButton(15);
  }
  EXPECT_EQ(RunPopup("text x\n" + ok, "").exitCode, 8);
  const TPopupRun c = RunPopup("text x\n" + cancel, "");
  EXPECT_EQ(c.exitCode, 3);
  EXPECT_EQ(c.text, "x") << "the popup leaves restoring to its callers";
  EXPECT_EQ(RunPopup("key Esc\n", "a").exitCode, 3);
  EXPECT_EQ(RunPopup("click 5 5 right\n", "a").exitCode, 3);
}

TEST(TextPopup, TheTextIsCutToItsMaximumLength) {
  EXPECT_EQ(RunPopup("text abcdef\nkey F1\n", "", 20, 5, 4).text, "abcd");
  EXPECT_EQ(RunPopup("key F1\n", "123456", 20, 5, 3).text, "123");
}

TEST(TextPopup, PositionCodesPlaceThePopupOverTheGraphicArea) {
  TScreen screen;
  int top = 0, left = 0;
  PlacePopupByPosition(1, 176, 70, top, left);
  EXPECT_EQ(left, DrawingArea.x1 / 8 * 8);
  EXPECT_EQ(top, DrawingArea.y1 / 16 * 16);
  PlacePopupByPosition(9, 176, 70, top, left);
  EXPECT_EQ(left, (DrawingArea.x2 - 176) / 8 * 8);
  EXPECT_EQ(top, (DrawingArea.y2 - 70) / 16 * 16);
  int top0 = 0, left0 = 0;
  PlacePopupByPosition(0, 176, 70, top0, left0);
  PlacePopupByPosition(5, 176, 70, top, left);
  EXPECT_EQ(left0, left);
  EXPECT_EQ(top0, top);
  EXPECT_EQ(left % 8, 0);
  EXPECT_EQ(top % 16, 0);
}

TEST(TextPopup, ACharacterOutsideTheSetIsEditedAgain) {
  TScreen screen;
  NewScript(screen, "text 12a\nkey F1\nkey Backspace\nkey F1\n");
  std::string text;
  uint8_t exitCode = 0;
  EditTextFromCharSet("Titel", "Zahl", text, exitCode, 20, 5, "0123456789", 0, 255);
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(text, "12");
}

TEST(TextPopup, ACancelGivesTheTextBack) {
  TScreen screen;
  NewScript(screen, "text 99\nkey Esc\n");
  std::string text = "abcdef";
  uint8_t exitCode = 0;
  EditTextFromCharSet("Titel", "Zahl", text, exitCode, 20, 5, "", 0, 4);
  EXPECT_EQ(exitCode, 3);
  EXPECT_EQ(text, "abcd") << "restored, at most the maximum length";
}

TEST(TextPopup, AnEmptySetAllowsEverything) {
  TScreen screen;
  NewScript(screen, "text a;b\nkey F1\n");
  std::string text;
  uint8_t exitCode = 0;
  EditTextFromCharSet("Titel", "Text", text, exitCode, 20, 5, "", 0, 255);
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(text, "a;b");
}

}  // namespace
