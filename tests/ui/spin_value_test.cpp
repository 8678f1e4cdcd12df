// The spin-value popup: placement (also on a low row), typing, the minus and
// plus buttons with their auto-repeat and limits, the wheel, OK and cancel,
// and the prompt-strip variant.
#include "ui/spin_value.h"

#include "platform/system.h"
#include "ui/prompt_strip.h"
#include "view/cursor_tracking.h"
#include "paced_script.h"
#include "ui_screen.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

// A popup at cell column 30, row 5 of the 1024 x 768 window (not menu
// aligned): x1 240, x2 404, y1 81, value row 7, controls from y 108 to 132.
const std::string kPlus = "386 120";
const std::string kMinus = "258 120";
const std::string kOk = "367 96";
const std::string kCancel = "389 96";

struct TSpinRun {
  float value = 0;
  uint8_t exitCode = 0;
  int beeps = 0;
  bool screenBack = false;
};

TSpinRun RunSpin(const std::string& script, float value, float min = 0, float max = 100, float step = 0.5f) {
  TScreen screen;
  NewScript(screen, script);
  const auto before = TScreen::Pixels();
  TSpinRun r;
  r.value = value;
  const int beeps = plat::BeepCount();
  RunSpinValuePopup("Wert", 30, 5, false, r.value, min, max, step, 2, r.exitCode);
  r.beeps = plat::BeepCount() - beeps;
  r.screenBack = TScreen::Pixels() == before;
  return r;
}

std::string Click(const std::string& at, const char* button = "left") {
  return "click " + at + " " + button + "\n";
}

TEST(SpinValue, TheValueTypedInTheField) {
  const TSpinRun r = RunSpin("text 7.5\nkey Enter\n", 5);
  EXPECT_FLOAT_EQ(r.value, 7.5f);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.screenBack);
  const TSpinRun esc = RunSpin("text 7.5\nkey Esc\n", 5);
  EXPECT_FLOAT_EQ(esc.value, 5.0f);
  EXPECT_EQ(esc.exitCode, 3);
}

TEST(SpinValue, PlusMinusAndOk) {
  EXPECT_FLOAT_EQ(RunSpin("wait 100\n" + Click(kPlus) + Click(kOk), 5).value, 5.5f);
  EXPECT_FLOAT_EQ(RunSpin("wait 100\n" + Click(kMinus) + Click(kOk), 5).value, 4.5f);
  const TSpinRun f1 = RunSpin("wait 100\n" + Click(kPlus) + "key F1\n", 5);
  EXPECT_FLOAT_EQ(f1.value, 5.5f);
  EXPECT_EQ(f1.exitCode, 2);
}

TEST(SpinValue, EscAndCancelGiveTheValueBack) {
  for (const std::string& end : {std::string("key Esc\n"), Click(kCancel), Click("10 600", "right")}) {
    const TSpinRun r = RunSpin("wait 100\n" + Click(kPlus) + Click(kPlus) + end, 5);
    EXPECT_FLOAT_EQ(r.value, 5.0f) << end;
    EXPECT_EQ(r.exitCode, 3) << end;
    EXPECT_TRUE(r.screenBack) << end;
  }
}

TEST(SpinValue, AStepStopsAtTheLimitWithTheSignal) {
  const TSpinRun r = RunSpin("wait 100\n" + Click(kPlus) + Click(kOk), 9.8f, 0, 10);
  EXPECT_FLOAT_EQ(r.value, 10.0f);
  EXPECT_GE(r.beeps, 1);
  EXPECT_FLOAT_EQ(RunSpin("wait 100\n" + Click(kMinus) + Click(kOk), 0.2f, 0, 10).value, 0.0f);
}

TEST(SpinValue, AHeldButtonRepeats) {
  // Held for 0.6 s: one step, a pause of 0.40 s, then a step every 0.05 s.
  std::string held = "wait 100\npress " + kPlus + " left\n";
  for (int i = 0; i < 20; ++i) held += "wait 30\n";
  held += "release " + kPlus + " left\n" + Click(kOk);
  const TSpinRun r = RunSpin(held, 5, 0, 100, 1);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_GE(r.value, 5 + 3) << "repeats after the pause";
  EXPECT_LE(r.value, 5 + 8) << "not before the pause, not faster than every 0.05 s";
}

TEST(SpinValue, TheWheelMovesTheValue) {
  const TSpinRun r = RunSpin("wait 100\n" + Click(kPlus) + "wheel 240\nwheel -120\n" + Click(kOk), 5);
  EXPECT_FLOAT_EQ(r.value, 6.0f);  // one click and one net notch up
}

TEST(SpinValue, APopupOnARowTooLowMovesUp) {
  TScreen screen;
  TSpinValue spin;
  spin.value = 5;
  spin.max = 10;
  spin.step = 1;
  spin.decimals = 2;
  const auto before = TScreen::Pixels();
  OpenSpinValuePopup(spin, "Wert", 30, 60, false);
  // (row + 5) x 16 + 4 must fit into the 767 pixels: row (767 - 4) / 16 - 5 = 42.
  EXPECT_EQ(spin.frame.top, 16 * 42 + 1);
  EXPECT_LE(spin.frame.bottom, DrawingArea.y2);
  EXPECT_GT(TScreen::CountChanged(before, TScreen::Pixels(), 240, 673, 404, spin.frame.bottom), 1000);
  ClosePopupFrame(spin.frame);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(SpinValue, EscOnALowRowGivesTheValueBack) {
  TScreen screen("", "640x480");
  NewScript(screen, "text 9\nkey Esc\n");
  const auto before = TScreen::Pixels();
  float value = 2.5f;
  uint8_t exitCode = 0;
  RunSpinValuePopup("Wert", 10, 40, false, value, 0, 10, 0.5f, 2, exitCode);
  EXPECT_EQ(exitCode, 3);
  EXPECT_FLOAT_EQ(value, 2.5f);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(SpinValue, WholeNumbersAreRounded) {
  TScreen screen;
  NewScript(screen, "text 7.6\nkey Enter\n");
  int32_t n = 3;
  uint8_t exitCode = 0;
  AskSpinInteger("Anzahl", 1, n, 0, 20, 2, exitCode);
  EXPECT_EQ(n, 8);
  EXPECT_EQ(exitCode, 2);
  NewScript(screen, "text 12\nkey Esc\n");
  AskSpinInteger("Anzahl", 1, n, 0, 20, 2, exitCode);
  EXPECT_EQ(n, 8);
  EXPECT_EQ(exitCode, 3);
}

// The prompt strip on the 1024 x 768 window: controls at column 90, the
// plus button from x 816 to 844, y 26 to 50.
void RunPromptSpin(TSpinValue& spin) {
  ShowSpinPromptLine("Wert", spin);
  do EditSpinPromptValue(spin);
  while (ButtonResult == 0);
}

TEST(SpinValue, ThePromptStripVariantStepsWithoutEndingThePrompt) {
  TScreen screen;
  TSpinValue spin;
  spin.value = 5;
  spin.max = 10;
  spin.step = 1;
  NewScript(screen, "wait 100\nclick 830 38 left\nwait 100\nclick 830 38 left\nkey Enter\n");
  RunPromptSpin(spin);
  EXPECT_EQ(ButtonResult, 2);
  EXPECT_FLOAT_EQ(spin.value, 7.0f);
  EXPECT_TRUE(spin.text.empty());

  // At the limit the value stays, without the signal.
  spin.value = 10;
  const int beeps = plat::BeepCount();
  NewScript(screen, "wait 100\nclick 830 38 left\nkey Enter\n");
  RunPromptSpin(spin);
  EXPECT_FLOAT_EQ(spin.value, 10.0f);
  EXPECT_EQ(plat::BeepCount(), beeps);
}

TEST(SpinValue, ThePromptStripVariantTakesTypedText) {
  for (const char* button : {"left", "right", "middle"}) {
    TScreen screen;
    TSpinValue spin;
    spin.value = 5;
    spin.max = 10;
    spin.step = 1;
    NewScript(screen, std::string("text 12\nclick 300 300 ") + button + "\n");
    RunPromptSpin(spin);
    EXPECT_EQ(ButtonResult, std::string(button) == "left" ? 2 : 4) << button;
    EXPECT_EQ(spin.text, "12");
    EXPECT_FLOAT_EQ(spin.value, 5.0f) << "typed text is the caller's to read";
  }
}

}  // namespace
