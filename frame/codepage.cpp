// Code-page conversion tables and the zero-terminated text helpers.
#include "frame/codepage.h"

#include <cstring>

uint8_t CodePageConversion = 0;

namespace {

struct TCharPair {
  uint8_t ansi;
  uint8_t oem;
};

// The characters that differ between the two code pages.
constexpr TCharPair kCharPairs[] = {
    {176, 248}, {177, 241}, {178, 253}, {182, 227}, {196, 142}, {214, 153},
    {220, 154}, {223, 225}, {228, 132}, {246, 148}, {252, 129},
};

}  // namespace

uint8_t MapAnsiCharToOem(uint8_t c) {
  for (const TCharPair& p : kCharPairs) {
    if (p.ansi == c) return p.oem;
  }
  return c;
}

void ConvertOemCharToAnsi(uint8_t& c) {
  if (!CodePageConversion) return;
  for (const TCharPair& p : kCharPairs) {
    if (p.oem == c) {
      c = p.ansi;
      return;
    }
  }
}

void ConvertOemCharToAnsi(char& c) {
  uint8_t b = static_cast<uint8_t>(c);
  ConvertOemCharToAnsi(b);
  c = static_cast<char>(b);
}

void ConvertOemStringToAnsi(std::string& text) {
  for (char& c : text) ConvertOemCharToAnsi(c);
}

const char* MakeZeroTerminated(std::string& text, size_t maxLen) {
  if (text.size() >= maxLen) text.resize(maxLen > 0 ? maxLen - 1 : 0);
  return text.c_str();
}

const char* MakeWinText(std::string& text, size_t maxLen) {
  MakeZeroTerminated(text, maxLen);
  ConvertOemStringToAnsi(text);
  return text.c_str();
}

std::string PCharToShortString(const char* source) {
  if (source == nullptr) return std::string();
  size_t n = strnlen(source, 256);
  if (n > 255) n = 255;
  return std::string(source, n);
}

int64_t MultiplyLong(int32_t a, int32_t b) { return static_cast<int64_t>(a) * static_cast<int64_t>(b); }
