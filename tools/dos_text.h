// UTF-8 source texts to the DOS code page the program's data files use;
// shared by the build-time tools.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

namespace dostext {

// Characters beyond ASCII that the program's code-page conversion maps back
// to the same characters when it shows them: Unicode code point -> DOS byte.
struct TCharMap {
  uint32_t codePoint;
  uint8_t dos;
};
constexpr TCharMap kDosChars[] = {
    {0x00E4, 0x84},  // ä
    {0x00F6, 0x94},  // ö
    {0x00FC, 0x81},  // ü
    {0x00C4, 0x8E},  // Ä
    {0x00D6, 0x99},  // Ö
    {0x00DC, 0x9A},  // Ü
    {0x00DF, 0xE1},  // ß
    {0x00B0, 0xF8},  // °
    {0x00B1, 0xF1},  // ±
    {0x00B2, 0xFD},  // ²
};

// Decodes one UTF-8 sequence at text[pos]; false when malformed.
inline bool DecodeUtf8(const std::string& text, size_t& pos, uint32_t& cp) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  uint8_t b0 = byte(pos);
  int extra = 0;
  if (b0 < 0x80) {
    cp = b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    cp = b0 & 0x1F;
    extra = 1;
  } else if ((b0 & 0xF0) == 0xE0) {
    cp = b0 & 0x0F;
    extra = 2;
  } else if ((b0 & 0xF8) == 0xF0) {
    cp = b0 & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (pos + extra >= text.size() && extra > 0) return false;  // sequence cut off
  for (int i = 1; i <= extra; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF) return false;  // overlong or out of range
  if (cp >= 0xD800 && cp <= 0xDFFF) return false;        // surrogate halves
  pos += extra + 1;
  return true;
}

// Converts a UTF-8 text to the DOS code page; an empty reason means success.
inline std::string ConvertToDos(const std::string& text, std::string& dos) {
  dos.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    uint32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) return "malformed UTF-8";
    if (cp < 0x20 || cp == 0x7F) return "control character in the text";
    if (cp < 0x80) {
      dos.push_back(static_cast<char>(cp));
      continue;
    }
    bool found = false;
    for (const TCharMap& m : kDosChars) {
      if (m.codePoint == cp) {
        dos.push_back(static_cast<char>(m.dos));
        found = true;
        break;
      }
    }
    if (!found) {
      std::ostringstream why;
      why << "character U+" << std::hex << std::uppercase << cp << " has no place in the DOS code page";
      return why.str();
    }
  }
  return "";
}

}  // namespace dostext
