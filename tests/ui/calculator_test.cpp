// The calculator: left-to-right chains, the functions and their tape texts,
// the number format, cancelling, division by zero, and where it is drawn.
#include "ui/calculator.h"

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "support/program_runner.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

using uitest::Script;

// Runs the calculator on the script; result and tape afterwards.
struct TRun {
  std::string result;
  std::string tape;
};

TRun Calculate(TScreen& screen, const std::string& script) {
  Script(screen, script);
  TRun r;
  RunCalculator(r.result);
  r.tape = CalculatorTape;
  return r;
}

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

TEST(Calculator, NumbersAreWrittenByMagnitude) {
  struct {
    float value;
    const char* text;
  } cases[] = {
      {20.0f, "20.00000"},        {9.0f, "9.000000"},          {3.0f, "3.000000"},
      {0.5f, "0.5000000"},        {0.0001f, "0.00010000"},     {0.0f, "0.00000000"},
      {-3.0f, "-3.000000"},       {12345.6f, "12345.60"},      {1234567.0f, " 1234567"},
      {123.25f, "123.2500"},      {1e7f, " 1.0000000E+0007"},  {-1.5e12f, "-1.5000000E+0012"},
      {-2.5e-9f, "-0.00000000"},  // below 0.001 the fixed form with 8 decimals, however small
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatCalculatorNumber(c.value), c.text) << c.value;
  }
  EXPECT_EQ(FormatCalculatorNumber(1e7f).size(), 16u);
}

TEST(Calculator, ComputesStrictlyFromLeftToRight) {
  TScreen screen;
  const TRun r = Calculate(screen, "text 2+3*4=\nkey alt+r\n");
  EXPECT_EQ(r.tape.size(), 46u);
  EXPECT_TRUE(EndsWith(r.tape, "2 + 3 * 4 = 20.00000")) << "[" << r.tape << "]";
  EXPECT_EQ(r.result, "20.00000");
  // Subtraction and division, keys "/" and ":" alike; F1 and ";" are OK too.
  EXPECT_EQ(Calculate(screen, "text 9-3/4=;\n").result, "1.500000");
  EXPECT_EQ(Calculate(screen, "text 9:2=\nkey F1\n").result, "4.500000");
  // A comma is a decimal point; OK without "=" hands the number just typed.
  EXPECT_EQ(Calculate(screen, "text 1,25\nkey alt+r\n").result, "1.25");
}

TEST(Calculator, TheBannerAndLoneZeros) {
  TScreen screen;
  const TRun start = Calculate(screen, "key Esc\n");
  EXPECT_EQ(start.tape, " Mar-vek" + std::string(37, ' ') + "0");
  EXPECT_EQ(start.result, "");
  const TRun zeros = Calculate(screen, "text 00\nkey alt+r\n");
  EXPECT_EQ(zeros.tape, std::string(45, ' ') + "0");
  EXPECT_EQ(zeros.result, "0");
  EXPECT_EQ(Calculate(screen, "text 07\nkey alt+r\n").result, "7");
  // One point per number; Backspace gives the point back.
  EXPECT_EQ(Calculate(screen, "text 1.2.3\nkey alt+r\n").result, "1.23");
  EXPECT_EQ(Calculate(screen, "text 1.2\nkey Backspace\nkey Backspace\ntext .5\nkey alt+r\n").result, "1.5");
  // Del and the letter S delete too.
  EXPECT_EQ(Calculate(screen, "text 123s\nkey Del\nkey alt+r\n").result, "1");
}

TEST(Calculator, FunctionsWriteTheirFormulaOnTheTape) {
  TScreen screen;
  const TRun root = Calculate(screen, "text 9\nkey alt+w\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(root.tape, "\xfb" "9.000000=3.000000")) << root.tape;
  EXPECT_EQ(root.result, "3.000000");
  const TRun square = Calculate(screen, "text 3\nkey alt+q\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(square.tape, "3.000000\xfd=9.000000")) << square.tape;
  // 1/X of 0 divides by 0.0000001; ten million comes in exponent form and
  // the whole number is handed back.
  const TRun reciprocal = Calculate(screen, "text 0\nkey alt+1\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(reciprocal.tape, "1/0.00000010= 1.0000000E+0007")) << reciprocal.tape;
  EXPECT_EQ(reciprocal.result, "1.0000000E+0007");
  const TRun tan45 = Calculate(screen, "text 45t\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(tan45.tape, "tan(45.00000)=1.000000")) << tan45.tape;
  // Single precision: tan 90 is a large negative number, not 0.
  const TRun tan90 = Calculate(screen, "text 90t\nkey alt+r\n");
  ASSERT_FALSE(tan90.result.empty()) << tan90.tape;
  EXPECT_LT(std::stod(tan90.result), -1e6) << tan90.result;
  // Radians after G; sin, cos, asin, acos, atan.
  EXPECT_EQ(Calculate(screen, "text 0c\nkey alt+r\n").result, "1.000000");
  EXPECT_EQ(Calculate(screen, "text g0c\nkey alt+r\n").result, "1.000000");
  auto near = [&](const std::string& script, double value) {
    const TRun r = Calculate(screen, script);
    ASSERT_FALSE(r.result.empty()) << script << r.tape;
    EXPECT_NEAR(std::stod(r.result), value, 1e-4) << script << r.tape;
  };
  near("text .5\nkey alt+s\nkey alt+r\n", 30);
  near("text .5\nkey alt+c\nkey alt+r\n", 60);
  near("text 1\nkey alt+t\nkey alt+r\n", 45);
  near("text 2.5\nkey alt+s\nkey alt+r\n", 30);  // beyond 1: the fractional part
  near("text 1\nkey alt+s\nkey alt+r\n", 90);     // the root 0 counts as 0.0000001
  near("text g1\nkey alt+t\nkey alt+r\n", 0.7853982);  // radians
  const TRun negate = Calculate(screen, "text 5\nkey alt+v\nkey alt+r\n");
  EXPECT_EQ(negate.result, "-5.000000");
  // The function result starts a fresh chain.
  EXPECT_EQ(Calculate(screen, "text 9\nkey alt+w\ntext +1=\nkey alt+r\n").result, "4.000000");
}

TEST(Calculator, ADigitAfterAResultStartsANewCalculation) {
  TScreen screen;
  const TRun r = Calculate(screen, "text 2+3=7+1=\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(r.tape, "= 5.000000 \xba 7 + 1 = 8.000000")) << r.tape;
  EXPECT_EQ(r.result, "8.000000");
  // An operator after "=" goes on with the result.
  EXPECT_EQ(Calculate(screen, "text 2+3=*2=\nkey alt+r\n").result, "10.00000");
  // A second "=" repeats nothing.
  EXPECT_EQ(Calculate(screen, "text 2+3==\nkey alt+r\n").result, "5.000000");
}

TEST(Calculator, DivisionByZeroGivesNoNumber) {
  TScreen screen;
  const TRun equals = Calculate(screen, "text 5:0=\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(equals.tape, "5 : 0")) << "\"=\" did nothing: [" << equals.tape << "]";
  EXPECT_EQ(equals.result, "0");
  const TRun chain = Calculate(screen, "text 5/0+\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(chain.tape, "5 : 0")) << "the operator was refused: [" << chain.tape << "]";
  EXPECT_EQ(chain.result, "0");
  // After correcting the divisor the chain goes on.
  EXPECT_EQ(Calculate(screen, "text 5/0\nkey Backspace\ntext 2=\nkey alt+r\n").result, "2.500000");
}

TEST(Calculator, MemoryPiBlankAndClear) {
  TScreen screen;
  EXPECT_EQ(Calculate(screen, "text 7m+r=\nkey alt+r\n").result, "14.00000");
  const TRun pi = Calculate(screen, "key alt+p\nkey alt+r\n");
  EXPECT_TRUE(EndsWith(pi.tape, std::string(34, ' ') + "3.1415926536")) << pi.tape;
  EXPECT_EQ(pi.result, "3.1415926536");
  // Clr (Ctrl+Y) clears the memory too.
  EXPECT_EQ(Calculate(screen, "text 7m\nkey ctrl+y\ntext r\nkey alt+r\n").result, "0.00000000");
}

TEST(Calculator, CancellingGivesAnEmptyResultAndNoAbort) {
  TScreen screen;
  for (const char* script : {"text 5n\n", "text 5\nkey Esc\n", "text 5\nclick 500 400 right\n"}) {
    ErrorCode = 0;
    EXPECT_EQ(Calculate(screen, script).result, "") << script;
    EXPECT_EQ(ErrorCode, 0) << script;
  }
}

TEST(Calculator, ButtonsAreClickedOnThePanel) {
  TScreen screen;
  // Button centres: column x + 10 (narrow) or + 26 (wide), row y + 11.
  const std::string script =
      "click 44 112 left\n"    // "8" (row 2, column 1)
      "click 100 54 left\n"    // "+"
      "click 16 54 left\n"     // "1"
      "click 144 141 left\n"   // "="
      "click 384 141 left\n";  // OK
  const TRun r = Calculate(screen, script);
  EXPECT_EQ(r.result, "9.000000") << r.tape;
  // Esc button and a click beside every button.
  EXPECT_EQ(Calculate(screen, "text 4\nclick 300 5 left\nclick 384 112 left\n").result, "");
}

TEST(Calculator, ThePanelStandsAtTheTopLeftAndGoesAgain) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  const std::string shot = (screen.Dir() / "calc.png").string();
  const TRun r = Calculate(screen, "text 12\nshot " + shot + "\nkey Esc\n");
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the calculator comes back";
  const torvtest::TPicture p = torvtest::ReadPng(shot);
  ASSERT_TRUE(p.error.empty()) << p.error;
  const int w = plat::WindowFrameBuffer().width;
  auto was = [&](int x, int y) { return before[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF; };
  // The display is white between (6, 14) and (410, 34), the tape's "12" in black at its right end.
  EXPECT_EQ(p.At(30, 17), 0xFFFFFFu);
  EXPECT_EQ(p.At(400, 31), 0xFFFFFFu);
  int dark = 0;
  for (int y = 18; y <= 30; ++y)
    for (int x = 392; x < 408; ++x) dark += p.At(x, y) == 0;
  EXPECT_GT(dark, 5) << "the last tape characters";
  // A button face (grey) in the OK button away from its caption; the panel is grey between buttons.
  EXPECT_EQ(p.At(360, 132), 0xC0C0C0u) << std::hex << p.At(360, 132);
  int changed = 0, outside = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 500; ++x) {
      const bool differs = p.At(x, y) != was(x, y);
      if (x <= 416 && y <= 159) changed += differs;
      else outside += differs;
    }
  EXPECT_GT(changed, 416 * 159 * 3 / 4);
  EXPECT_EQ(outside, 0) << "nothing beside the 416 x 159 panel";
  EXPECT_EQ(r.result, "");
}

}  // namespace
