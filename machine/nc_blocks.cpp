// NC block output, block numbers and number formats.
#include "machine/nc_blocks.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "machine/nc_dialect_words.h"
#include "view/character_cells.h"

namespace {

constexpr size_t kBlockMax = 255;
constexpr size_t kPointWordsMax = 40;
constexpr double kRadiansPerDegree = 0.017453292519943295769;

std::string IntText(int64_t n) { return std::to_string(n); }

// n right-aligned in width characters, the blanks among them turned to "0".
std::string ZeroPadded(int64_t n, int width) {
  std::string t = IntText(n);
  if (static_cast<int>(t.size()) < width) t.insert(0, static_cast<size_t>(width) - t.size(), ' ');
  for (int i = 0; i < width && i < static_cast<int>(t.size()); ++i)
    if (t[static_cast<size_t>(i)] == ' ') t[static_cast<size_t>(i)] = '0';
  return t;
}

// True when cutting t to n characters drops only zeros behind the decimal
// point, or the point itself followed by zeros: the value stays the same.
bool CutKeepsValue(const std::string& t, size_t n) {
  const size_t dot = t.find('.');
  if (dot == std::string::npos || dot > n || n > t.size()) return false;
  for (size_t i = n; i < t.size(); ++i)
    if (t[i] != '0' && !(i == dot && i == n)) return false;
  return true;
}

// Trailing-zero removal of a fixed-width text, position by position: while
// the character at p (1-based, from down to stop + 1) is "0", cut to p - 1.
// A text wider than its field has other characters at these positions; a
// cut is then made only where it drops nothing but zeros of the decimals.
void CutTrailingZeros(std::string& t, int from, int stop) {
  for (int p = from; p > stop; --p) {
    const size_t n = static_cast<size_t>(p - 1);
    if (t.size() < static_cast<size_t>(p) || t[n] != '0' || !CutKeepsValue(t, n)) return;
    t.resize(n);
  }
}

// When the character at p is "0", cut the text to n characters.
void CutIfZeroAt(std::string& t, int p, int n) {
  if (t.size() >= static_cast<size_t>(p) && t[static_cast<size_t>(p - 1)] == '0' &&
      CutKeepsValue(t, static_cast<size_t>(n)))
    t.resize(static_cast<size_t>(n));
}

std::string WithoutLeadingBlanks(const std::string& t) {
  const size_t i = t.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : t.substr(i);
}

std::string WithoutFirstBlank(const std::string& t) {
  return !t.empty() && t[0] == ' ' ? t.substr(1) : t;
}

// value with the sign of the row's axis column.
float Signed(int8_t sign, float value) { return sign < 0 ? -value : value; }

std::string RotaryLetterWord(uint8_t letter) {
  switch (letter) {
    case 1: return " A";
    case 2: return " B";
    case 3: return " C";
    default: return "";
  }
}

}  // namespace

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  const long double r = std::nearbyintl(static_cast<long double>(value));  // to nearest, ties even
  if (r >= 9.2e18L) return INT64_MAX;
  if (r <= -9.2e18L) return INT64_MIN;
  return static_cast<int64_t>(r);
}

std::string FormatFixedText(double x, int w, int d) {
  char buffer[400];
  const auto res = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, d);
  std::string t = res.ec == std::errc() ? std::string(buffer, res.ptr) : std::string("0");
  // A value that rounds to zero is written without a sign.
  if (!t.empty() && t[0] == '-' && t.find_first_not_of("-0.") == std::string::npos) t.erase(0, 1);
  if (static_cast<int>(t.size()) < w) t.insert(0, static_cast<size_t>(w) - t.size(), ' ');
  return t;
}

int32_t GetNcBlockNumberStart(int dialect) { return NcWordsRow(dialect).FirstBlock; }

int32_t GetNcBlockNumberLimit(int dialect) { return NcWordsRow(dialect).BlockLimit; }

// --- the output channel --------------------------------------------------------------

void AppendNcText(TNcWriterState& st, const std::string& text) {
  size_t pos = 0;
  // Longer texts than the buffer holds go in buffer-sized pieces.
  while (pos < text.size()) {
    const size_t room = static_cast<size_t>(kNcOutBufferSize - 1);
    const size_t piece = std::min(text.size() - pos, room);
    if (st.OutCount + piece >= static_cast<size_t>(kNcOutBufferSize)) FlushNcBuffer(st);
    std::memcpy(st.OutBuffer + st.OutCount, text.data() + pos, piece);
    st.OutCount = static_cast<uint16_t>(st.OutCount + piece);
    st.OutTotal += static_cast<int32_t>(piece);
    pos += piece;
  }
}

void FlushNcBuffer(TNcWriterState& st) {
  const uint16_t count = st.OutCount;
  st.OutCount = 0;
  if (count == 0 || st.WriteFailed != 0) return;
  const uint16_t written = WriteBlockChecked(st.OutFile, st.OutBuffer, count);
  if (written < count) st.WriteFailed = 1;
}

std::string GetNcLineEnd(const TNcWriterState& st) { return NcWordsRow(st.Dialect).LineEnd; }

std::string GetBlockNumberPrefix(TNcWriterState& st) {
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  const int mode = st.Machine.BlockNumbering;
  const int32_t n = st.BlockNumber;
  bool numbered = false;
  std::string t;
  auto take = [&](int64_t number, int digits) {
    t = digits > 0 ? ZeroPadded(number, digits) : IntText(number);
    st.BlockNumber += 1;
    numbered = true;
  };
  switch (mode) {
    case 1:
      if (row.Numbering == kNcNumberByControl) break;
      take(n, row.NumberDigits);
      break;
    case 2:
      if (st.NumberNextMove == 1) {
        take(n, row.SparseDigits);
        st.NumberNextMove = 0;
      }
      break;
    case 3:
      take(static_cast<int64_t>(n) * 10, row.SparseDigits);
      break;
    case 4:
      if (st.NumberNextToolBlock == 1) {
        take(n, row.SparseDigits);
        st.NumberNextToolBlock = 0;
      }
      break;
    default:
      break;
  }
  std::string prefix;
  if (numbered) {
    switch (row.Numbering) {
      case kNcNumberN: prefix = "N" + t + " "; break;
      case kNcNumberBare: prefix = t + " "; break;
      case kNcNumberByControl: break;
      case kNcNumberColon: prefix = mode == 3 ? ":" + t + " " : ":" + t + "0 "; break;
    }
  }
  if (st.BlockNumber > st.BlockNumberLimit) st.BlockNumber = 1;
  return prefix;
}

void WriteNcBlock(TNcWriterState& st, const std::string& text) {
  std::string body = WithoutFirstBlank(text);
  if (body.size() > kBlockMax) body.resize(kBlockMax);
  if (body.empty()) return;
  std::string block = GetBlockNumberPrefix(st);
  block += body;
  block += GetNcLineEnd(st);
  if (block.size() > kBlockMax) block.resize(kBlockMax);
  AppendNcText(st, block);
}

// --- numbers ---------------------------------------------------------------------------

std::string FormatNcNumber(const TNcWriterState& st, float value) {
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  const double x = value;
  std::string t;
  switch (row.Number) {
    case kNcMicrometre:
      return IntText(RoundHalfEven(x * 1000.0));
    case kNcMicrometreSigned:
      t = WithoutLeadingBlanks(FormatFixedText(x * 1000.0, 9, 0));
      return value >= 0.0f ? "+" + t : t;
    case kNcMm3Point:
      t = FormatFixedText(x, 9, 3);
      CutTrailingZeros(t, 9, 7);
      break;
    case kNcMm4Point:
      t = FormatFixedText(x, 11, 4);
      CutTrailingZeros(t, 11, 7);
      break;
    case kNcMm4:
      t = FormatFixedText(x, 11, 4);
      CutTrailingZeros(t, 11, 8);
      break;
    case kNcMm2:
      t = FormatFixedText(x, 9, 2);
      break;
    case kNcInch4:
      t = FormatFixedText(x / 25.4, 11, 4);
      CutTrailingZeros(t, 11, 8);
      CutIfZeroAt(t, 8, 6);
      break;
    case kNcMm3:
    case kNcMm3Short:
      t = FormatFixedText(x, 9, 3);
      CutTrailingZeros(t, 9, 7);
      CutIfZeroAt(t, 7, 5);
      if (row.Number == kNcMm3Short && t.size() > 8 && CutKeepsValue(t, 8)) t.resize(8);
      break;
  }
  t = WithoutLeadingBlanks(t);
  if (t.find('.') == std::string::npos) t += row.WholeSuffix;
  return t;
}

std::string FormatRoundedInteger(float value) {
  std::string t = IntText(RoundHalfEven(value));
  if (t.size() > 15) t.resize(15);
  return t;
}

std::string FormatZeroPaddedInteger(int16_t n, int16_t width) { return ZeroPadded(n, width); }

void RoundToNcResolution(const TNcWriterState& st, float& value) {
  const double factor = NcNumberSteps(NcWordsRow(st.Dialect).Number);
  value = static_cast<float>(static_cast<double>(RoundHalfEven(static_cast<double>(value) * factor)) / factor);
}

float RoundedToNcResolution(const TNcWriterState& st, float value) {
  RoundToNcResolution(st, value);
  return value;
}

std::string FormatXWord(const TNcWriterState& st, float x) {
  if (st.RotaryActive != 0 && st.RotaryMode == 1) {
    const std::string letter = RotaryLetterWord(st.RotaryAxis);
    return letter.empty() ? "" : letter + FormatNcNumber(st, x * st.RotaryFactor);
  }
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  return row.XWord + FormatNcNumber(st, Signed(row.XSign, x));
}

std::string FormatYWord(const TNcWriterState& st, float y) {
  if (st.RotaryActive != 0 && st.RotaryMode == 2) {
    const std::string letter = RotaryLetterWord(st.RotaryAxis);
    return letter.empty() ? "" : letter + FormatNcNumber(st, y * st.RotaryFactor);
  }
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  return row.YWord + FormatNcNumber(st, Signed(row.YSign, y));
}

std::string FormatToolOffsetWord(int32_t n) { return " D+" + ZeroPadded(n, 2); }

std::string FormatPointWords(TNcWriterState& st, TVectorRecord& point) {
  const TNcWordsRow& row = NcWordsRow(st.Dialect);
  const bool kuka = row.Points == kNcKukaWords;
  TVectorRecord& last = st.LastPos;
  if (row.Points == kNcAllWordsWhenMoved && std::fabs(last.x - point.x) < 0.001f &&
      std::fabs(last.y - point.y) < 0.001f && std::fabs(last.z - point.z) < 0.001f)
    return "";
  std::string t;
  const bool forced = row.Points == kNcAllWords || row.Points == kNcAllWordsWhenMoved;

  point.x = RoundedToNcResolution(st, point.x);
  if (point.x != last.x || forced) {
    last.x = point.x;
    if (st.RotaryIncremental != 0) t += " Z" + FormatNcNumber(st, point.x);
    else if (kuka) t += WithoutFirstBlank(FormatXWord(st, point.x));
    else t += FormatXWord(st, point.x);
  }

  if (st.RotaryActive != 0 && row.RotaryZFirst) {
    point.z = RoundedToNcResolution(st, point.z);
    if (point.z != last.z) {
      last.z = point.z;
      t += row.ZWord + FormatNcNumber(st, Signed(row.ZSign, point.z));
    }
    point.y = RoundedToNcResolution(st, point.y);
    if (point.y != last.y) {
      last.y = point.y;
      t += FormatYWord(st, point.y);
    }
    if (t.size() > kPointWordsMax) t.resize(kPointWordsMax);
    return t;
  }

  point.y = RoundedToNcResolution(st, point.y);
  if (point.y != last.y || forced || (st.RotaryActive != 0 && row.RotaryEveryY)) {
    if (st.RotaryIncremental != 0) {
      float delta = point.y - last.y;
      RoundToNcResolution(st, delta);
      if (delta != 0.0f) {
        last.y = last.y + delta;
        t += " H" + FormatNcNumber(st, -st.RotaryFactor * delta);
      }
    } else {
      last.y = point.y;
      if (kuka) t += t.empty() ? WithoutFirstBlank(FormatYWord(st, point.y)) : "," + FormatYWord(st, point.y);
      else t += FormatYWord(st, point.y);
    }
  }

  point.z = RoundedToNcResolution(st, point.z);
  if (point.z != last.z || forced) {
    last.z = point.z;
    const std::string z = FormatNcNumber(st, Signed(row.ZSign, point.z));
    if (row.ZWord[0] == '\0') {
      // a machine without Z writes none
    } else if (kuka) {
      t += (t.empty() ? "Z " : ", Z ") + z;
    } else {
      t += (st.RotaryIncremental != 0 ? row.WoundZWord : row.ZWord) + z;
      if (row.ZToolOffset) t += FormatToolOffsetWord(st.LastToolStation);
    }
  }
  if (t.size() > kPointWordsMax) t.resize(kPointWordsMax);
  return t;
}

std::string FormatAngleWords(TNcWriterState& st, const TVectorRecord& point) {
  if (!NcWordsRow(st.Dialect).AngleWords) return "";
  std::string t;
  if (point.x != st.LastAngles.x) {
    t += " A" + FormatNcNumber(st, static_cast<float>(st.AngleFactorA * static_cast<double>(point.x) / kRadiansPerDegree));
    st.LastAngles.x = point.x;
  }
  if (point.y != st.LastAngles.y) {
    t += " B" + FormatNcNumber(st, static_cast<float>(st.AngleFactorB * static_cast<double>(point.y) / kRadiansPerDegree));
    st.LastAngles.y = point.y;
  }
  if (point.z != st.LastAngles.z) {
    t += " C" + FormatNcNumber(st, static_cast<float>(st.AngleFactorC * static_cast<double>(point.z) / kRadiansPerDegree));
    st.LastAngles.z = point.z;
  }
  if (t.size() > kPointWordsMax) t.resize(kPointWordsMax);
  return t;
}

bool CheckNcEscapeAbort() {
  if (!PollKeyPressed()) return false;
  if (ReadNextKey() != 27) return false;  // any other key is dropped
  ShowErrorText(GetMessageText(29, -39));
  const bool stop = AskYesNoKey() == 1;
  SetDrawColorAndMode(13, 13);
  return stop;
}
