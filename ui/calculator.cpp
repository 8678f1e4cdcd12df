// The pocket calculator: a one-line tape, strictly left to right.
#include "ui/calculator.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/buttons_controls.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/panels.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"

std::string CalculatorTape;

namespace {

constexpr int kTapeLength = 46;
constexpr char kDoubleBar = char(186);
constexpr char kRootSign = char(251);
constexpr char kSquareSign = char(253);
constexpr char kDegreeSign = char(248);

// Operation codes (also the button numbers).
enum : int {
  kOpNone = 0, kOpNegate = 12, kOpPlus = 13, kOpMinus = 14, kOpTimes = 15, kOpDivide = 16, kOpSquare = 17,
  kOpRoot = 18, kOpReciprocal = 19, kOpEquals = 20, kOpSin = 21, kOpCos = 22, kOpTan = 23, kOpAngleMode = 24,
  kOpAsin = 25, kOpAcos = 26, kOpAtan = 27, kOpPi = 28, kOpStore = 29, kOpRecall = 30, kOpClear = 34,
  kOpEsc = 35, kOpOk = 36
};

const char* const kCaptions[4][9] = {
    {"1", "2", "3", "+", "x\xfd", "sin", "asin", "STO", " "},
    {"4", "5", "6", "-", "sqr(x)", "cos", "acos", "RCL", "Clr"},
    {"7", "8", "9", "*", "1/X", "tan", "atan", " ", "Esc"},
    {"0", ".", "\xf1", ":", "=", "\xf8/rad", "\xe3", " ", "OK"},
};
constexpr int kColumnX[9] = {6, 34, 62, 90, 118, 178, 238, 298, 358};
constexpr int kRowY[4] = {43, 72, 101, 130};

int ButtonNumber(int row, int column) { return column < 3 ? row * 3 + column + 1 : 13 + (column - 3) * 4 + row; }

TBox ButtonBox(int row, int column) {
  const int width = column < 4 ? 20 : 52;
  return TBox{1, int16_t(kColumnX[column]), int16_t(kRowY[row]), int16_t(kColumnX[column] + width - 1),
              int16_t(kRowY[row] + 21)};
}

struct TCalculator {
  std::string tape;
  bool degrees = true;
  float accumulator = 0;
  float number = 0;
  int pending = kOpNone;
  float memory = 0;
  bool banner = false;
  bool resultShown = false;
  bool newCalculation = true;
  bool pointTyped = false;
};

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'E'; }

// Length of the number at the right end of the tape. The sign of an
// exponent ("E+0007") belongs to the number.
int NumberRunLength(const std::string& tape) {
  int i = int(tape.size());
  while (i > 0) {
    const char c = tape[size_t(i - 1)];
    if (IsNumberChar(c) || (c == '+' && i >= 2 && tape[size_t(i - 2)] == 'E')) --i;
    else break;
  }
  return int(tape.size()) - i;
}

std::string CurrentNumberText(const TCalculator& calc) {
  const int n = NumberRunLength(calc.tape);
  return calc.tape.substr(calc.tape.size() - size_t(n));
}

// The number at the end of the tape; false when there is none or it cannot be read.
bool ReadCurrentNumber(const TCalculator& calc, float& value) {
  const std::string run = CurrentNumberText(calc);
  if (run.empty()) return false;
  int16_t code = 0;
  // A plain number (exponent form included) reads directly; anything else
  // goes through the expression reader.
  float v = ParseRealValue(run, code);
  if (code != 0) v = ParseNumberExpression(run, code);
  if (code != 0 || !std::isfinite(v)) return false;
  value = v;
  return true;
}

void AppendToTape(TCalculator& calc, const std::string& text) {
  for (char c : text) {
    calc.tape.erase(0, 1);
    calc.tape += c;
  }
}

// Replaces the number at the end of the tape by text, right-aligned.
void ReplaceCurrentNumber(TCalculator& calc, const std::string& text) {
  const int n = NumberRunLength(calc.tape);
  std::string s = calc.tape.substr(0, calc.tape.size() - size_t(n)) + text;
  if (int(s.size()) < kTapeLength) s.insert(0, size_t(kTapeLength) - s.size(), ' ');
  calc.tape = s.substr(s.size() - size_t(kTapeLength));
}

void ResetCalculator(TCalculator& calc) {
  calc.memory = 0;
  calc.accumulator = 0;
  calc.number = 0;
  calc.newCalculation = true;
  calc.resultShown = false;
  calc.pointTyped = false;
  calc.tape = " Mar-vek" + std::string(37, ' ') + "0";
  calc.banner = true;
}

void DrawDisplay(const TCalculator& calc) {
  CalculatorTape = calc.tape;
  if (CursorShown) EraseMouseCursor();
  FillColorRect(6, 14, 410, 34, GetColorRef(261));
  SetPenColor(274);
  DrawFrameRect(6, 14, 411, 35);
  DrawScreenText(8, 20, calc.degrees ? std::string(1, kDegreeSign) + "  |" : std::string("rad|"));
  DrawScreenText(40, 20, calc.tape);
  SetRopCopy();
}

void DrawButtons() {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 9; ++column)
      DrawCaptionButton(kCaptions[row][column], ButtonBox(row, column), 260, 0, 274);
  SetRopCopy();
}

int ButtonAt(int x, int y) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 9; ++column) {
      const TBox b = ButtonBox(row, column);
      if (x >= b.x1 && x <= b.x2 && y >= b.y1 && y <= b.y2) return ButtonNumber(row, column);
    }
  return 0;
}

// The operation of a key code; 0 for none. Typing keys come back as themselves (negative).
int OperationOfKey(uint8_t key, bool extended) {
  if (!extended) {
    if ((key >= '0' && key <= '9') || key == '.') return -int(key);
    if (key == ',') return -int('.');
  }
  switch (key) {
    case 8: case 83: return -8;
    case 25: return kOpClear;
    case 42: return kOpTimes;
    case 43: return kOpPlus;
    case 45: return kOpMinus;
    case 47: case 58: return kOpDivide;
    case 61: return kOpEquals;
    case 59: case 210: return kOpOk;
    case 67: return kOpCos;
    case 84: return kOpTan;
    case 71: case 248: return kOpAngleMode;
    case 77: return kOpStore;
    case 82: return kOpRecall;
    case 214: return kOpNegate;
    case 209: return kOpSquare;
    case 215: return kOpRoot;
    case 177: return kOpReciprocal;
    case 211: return kOpAsin;
    case 195: return kOpAcos;
    case 212: return kOpAtan;
    case 208: return kOpPi;
    default: return 0;
  }
}

// A new calculation after a shown result: a separator on the tape.
void StartAfterResult(TCalculator& calc) {
  AppendToTape(calc, std::string(" ") + kDoubleBar + " ");
  calc.accumulator = 0;
  calc.pending = kOpNone;
  calc.pointTyped = false;
  calc.resultShown = false;
  calc.newCalculation = true;
}

void TypeCharacter(TCalculator& calc, char c) {
  if (calc.banner) {
    calc.tape.assign(kTapeLength, ' ');
    calc.banner = false;
  }
  if (calc.resultShown) StartAfterResult(calc);
  if (c == '.') {
    if (calc.pointTyped) return;
    calc.pointTyped = true;
    AppendToTape(calc, ".");
    return;
  }
  const std::string run = CurrentNumberText(calc);
  if (run == "0") calc.tape.back() = c;
  else AppendToTape(calc, std::string(1, c));
}

void DeleteLastCharacter(TCalculator& calc) {
  const char last = calc.tape.back();
  if (!IsNumberChar(last)) return;
  if (last == '.') calc.pointTyped = false;
  calc.tape = " " + calc.tape.substr(0, size_t(kTapeLength - 1));
}

// accumulator op value; false when the result is no finite number (a
// division by zero or an overflow), which leaves everything unchanged.
bool ApplyOperator(int op, float accumulator, float value, float& result) {
  switch (op) {
    case kOpPlus: result = accumulator + value; break;
    case kOpMinus: result = accumulator - value; break;
    case kOpTimes: result = accumulator * value; break;
    case kOpDivide:
      if (value == 0.0f) return false;
      result = accumulator / value;
      break;
    default: result = accumulator; break;
  }
  return std::isfinite(result);
}

void Operator(TCalculator& calc, int op) {
  float value = 0;
  if (!ReadCurrentNumber(calc, value)) return;
  float result = value;
  if (!calc.newCalculation && !ApplyOperator(calc.pending, calc.accumulator, value, result)) return;
  calc.number = value;
  calc.accumulator = result;
  static const char* const kSigns[] = {" + ", " - ", " * ", " : "};
  AppendToTape(calc, kSigns[op - kOpPlus]);
  calc.banner = false;
  calc.pending = op;
  calc.newCalculation = false;
  calc.resultShown = false;
  calc.pointTyped = false;
}

void Equals(TCalculator& calc) {
  float value = 0;
  if (!ReadCurrentNumber(calc, value) || calc.pending == kOpNone) return;
  float result = calc.accumulator;
  if (calc.newCalculation) result = value;  // a function's result after a fresh start
  else if (calc.pending >= kOpPlus && calc.pending <= kOpDivide &&
           !ApplyOperator(calc.pending, calc.accumulator, value, result))
    return;
  calc.number = value;
  calc.accumulator = result;
  AppendToTape(calc, " = " + FormatCalculatorNumber(result));
  calc.banner = false;
  calc.resultShown = true;
  calc.newCalculation = true;
  calc.pending = kOpNone;  // a second "=" repeats nothing
  calc.pointTyped = false;
}

constexpr double kDegreeToRadian = 0.017453292519943295769;
constexpr float kPiFloat = 3.14159265358979f;

void Function(TCalculator& calc, int op) {
  float x = 0;
  if (!ReadCurrentNumber(calc, x)) return;
  const std::string xt = FormatCalculatorNumber(x);
  float y = 0;
  std::string text;
  auto angleIn = [&](float v) { return calc.degrees ? float(double(v) * kDegreeToRadian) : v; };
  auto angleOut = [&](float v) { return calc.degrees ? float(double(v) / kDegreeToRadian) : v; };
  auto inverseArgument = [&](float v, float& c) {
    if (std::fabs(v) > 1.0f) v -= std::trunc(v);
    c = std::sqrt(1.0f - v * v);
    if (c == 0.0f) c = 0.0000001f;
    return v;
  };
  switch (op) {
    case kOpNegate:
      y = -x;
      text = FormatCalculatorNumber(y);
      break;
    case kOpSquare:
      y = x * x;
      text = xt + kSquareSign + "=" + FormatCalculatorNumber(y);
      break;
    case kOpRoot:
      y = std::sqrt(std::fabs(x));
      text = std::string(1, kRootSign) + xt + "=" + FormatCalculatorNumber(y);
      break;
    case kOpReciprocal: {
      const float d = x == 0.0f ? 0.0000001f : x;
      y = 1.0f / d;
      text = "1/" + FormatCalculatorNumber(d) + "=" + FormatCalculatorNumber(y);
      break;
    }
    case kOpSin: y = std::sin(angleIn(x)); text = "sin("; break;
    case kOpCos: y = std::cos(angleIn(x)); text = "cos("; break;
    case kOpTan: {
      const float a = angleIn(x);
      const float c = std::cos(a);
      y = c == 0.0f ? 0.0f : std::sin(a) / c;
      text = "tan(";
      break;
    }
    case kOpAsin: {
      float c = 1;
      const float v = inverseArgument(x, c);
      y = angleOut(std::atan(v / c));
      text = "asin(";
      break;
    }
    case kOpAcos: {
      float c = 1;
      const float v = inverseArgument(x, c);
      y = angleOut(kPiFloat / 2.0f - std::atan(v / c));
      text = "acos(";
      break;
    }
    case kOpAtan: y = angleOut(std::atan(x)); text = "atan("; break;
    default: return;
  }
  if (!std::isfinite(y)) return;  // an overflow counts as no number
  if (text.back() == '(') text += xt + ")=" + FormatCalculatorNumber(y);
  ReplaceCurrentNumber(calc, text);
  calc.banner = false;
  calc.number = y;
  calc.resultShown = true;
  calc.pending = op;
}

void Pi(TCalculator& calc) {
  if (calc.tape.size() >= 2 && calc.tape.compare(calc.tape.size() - 2, 2, " 0") == 0) calc.tape.assign(kTapeLength, ' ');
  calc.banner = false;
  if (calc.resultShown) StartAfterResult(calc);
  AppendToTape(calc, "3.1415926536");
  calc.pointTyped = true;
}

}  // namespace

std::string FormatCalculatorNumber(float value) {
  const double v = value;
  const double a = std::fabs(v);
  char buffer[64];
  if (a <= 9999999.999) {
    int decimals = 8;
    if (a > 999999.999) decimals = 0;
    else if (a > 99999.999) decimals = 1;
    else if (a > 9999.999) decimals = 2;
    else if (a > 999.999) decimals = 3;
    else if (a > 99.999) decimals = 4;
    else if (a > 9.999) decimals = 5;
    else if (a > 0.999) decimals = 6;
    else if (a >= 0.001) decimals = 7;
    std::snprintf(buffer, sizeof buffer, "%8.*f", decimals, v);
    return buffer;
  }
  if (!std::isfinite(v)) return v < 0 ? "-9.9999999E+9999" : " 9.9999999E+9999";
  std::snprintf(buffer, sizeof buffer, "%.7E", a);  // d.dddddddE+xx
  const char* e = std::strchr(buffer, 'E');
  if (e == nullptr) return "";
  const int exponent = std::atoi(e + 1);
  char out[32];
  std::snprintf(out, sizeof out, "%c%.9s%c%04d", v < 0 ? '-' : ' ', buffer, exponent < 0 ? '-' : '+',
                std::abs(exponent));
  std::string s(out);
  s.insert(s.size() - 5, "E");
  return s;
}

void RunCalculator(std::string& result) {
  result.clear();
  if (CursorShown) EraseMouseCursor();
  const uint8_t savedCursorMode = CursorMode;
  const TErrorCode savedError = ErrorCode;
  CursorMode = 4;
  TPopupFrame frame{};
  frame.left = 0;
  frame.top = 0;
  frame.right = 416;
  frame.bottom = 159;
  frame.lines = 10;
  frame.grid = 1;
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(0, 0, 416, "", 159);
  DrawButtons();

  TCalculator calc;
  calc.degrees = true;
  calc.pending = kOpNone;
  ResetCalculator(calc);
  DrawDisplay(calc);
  WaitForMouseRelease();

  bool done = false;
  while (!done) {
    ButtonResult = 0;
    PollMouseCursor();
    const uint8_t buttons = ButtonResult != 0 ? ButtonResult : MouseButtonState;
    int op = 0;
    if (buttons == 2) {
      op = ButtonAt(MouseX, MouseY);
      if (op >= 1 && op <= 9) op = -int('0' + op);
      else if (op == 10) op = -int('0');
      else if (op == 11) op = -int('.');
      WaitForMouseRelease();
    } else if (buttons == 4) {
      op = kOpEsc;
      WaitForMouseRelease();
    } else if (CursorKeyCode != 255 && ButtonResult == 0) {
      op = OperationOfKey(CursorKeyCode, ExtendedKeyFlag != 0);
    } else if (CloseRequested) {
      op = kOpEsc;
    }
    if (op == 0) {
      WaitForWindowMessage();
      continue;
    }
    if (op == -8) DeleteLastCharacter(calc);
    else if (op < 0) TypeCharacter(calc, char(-op));
    else if (op >= kOpPlus && op <= kOpDivide) Operator(calc, op);
    else if (op == kOpEquals) Equals(calc);
    else if (op == kOpNegate || op == kOpSquare || op == kOpRoot || op == kOpReciprocal ||
             (op >= kOpSin && op <= kOpTan) || (op >= kOpAsin && op <= kOpAtan))
      Function(calc, op);
    else if (op == kOpAngleMode) calc.degrees = !calc.degrees;
    else if (op == kOpPi) Pi(calc);
    else if (op == kOpStore) {
      float value = 0;
      if (ReadCurrentNumber(calc, value)) calc.memory = value;
    } else if (op == kOpRecall) {
      calc.banner = false;
      AppendToTape(calc, " RCL" + FormatCalculatorNumber(calc.memory));
    } else if (op == kOpClear) ResetCalculator(calc);
    else if (op == kOpOk) {
      float value = 0;
      if (ReadCurrentNumber(calc, value)) result = CurrentNumberText(calc);
      done = true;
    } else if (op == kOpEsc) done = true;
    else if (op >= 31 && op <= 33) AppendToTape(calc, " ");
    if (!done) DrawDisplay(calc);
  }

  CalculatorTape = calc.tape;
  ClosePopupFrame(frame);
  CursorMode = savedCursorMode;
  // A cancelled calculator leaves the field as it was; it does not abort the command.
  ErrorCode = savedError;
  ClearKeyBuffer();
}
