// Conversion between the DOS and the Windows code page and the text helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "frame/codepage.h"

namespace {

// Windows code page -> DOS code page, the only characters that change.
const std::map<int, int> kAnsiToOem = {
    {176, 248}, {177, 241}, {178, 253}, {182, 227}, {196, 142}, {214, 153},
    {220, 154}, {223, 225}, {228, 132}, {246, 148}, {252, 129},
};

class CodePage : public ::testing::Test {
 protected:
  void TearDown() override { CodePageConversion = 0; }
};

TEST_F(CodePage, TypedCharactersMapToTheDosCodePage) {
  for (int c = 0; c < 256; ++c) {
    auto it = kAnsiToOem.find(c);
    int expected = it == kAnsiToOem.end() ? c : it->second;
    EXPECT_EQ(MapAnsiCharToOem(uint8_t(c)), expected) << c;
  }
  // Always active, whatever the switch says.
  CodePageConversion = 0;
  EXPECT_EQ(MapAnsiCharToOem(228), 132);
}

TEST_F(CodePage, DosCharactersMapBackOnlyWhileTheSwitchIsOn) {
  std::map<int, int> oemToAnsi;
  for (auto [ansi, oem] : kAnsiToOem) oemToAnsi[oem] = ansi;
  CodePageConversion = 1;
  for (int c = 0; c < 256; ++c) {
    uint8_t b = uint8_t(c);
    ConvertOemCharToAnsi(b);
    auto it = oemToAnsi.find(c);
    EXPECT_EQ(b, it == oemToAnsi.end() ? c : it->second) << c;
  }
  CodePageConversion = 0;
  for (int c = 0; c < 256; ++c) {
    char ch = char(c);
    ConvertOemCharToAnsi(ch);
    EXPECT_EQ(uint8_t(ch), c) << c;
  }
}

TEST_F(CodePage, ConvertingBackGivesTheTypedCharacter) {
  CodePageConversion = 1;
  for (auto [ansi, oem] : kAnsiToOem) {
    uint8_t c = MapAnsiCharToOem(uint8_t(ansi));
    ConvertOemCharToAnsi(c);
    EXPECT_EQ(c, ansi);
  }
}

TEST_F(CodePage, StringConversion) {
  std::string text = "Gr\x94\xE1" "e \x84 A\xE4";
  CodePageConversion = 1;
  ConvertOemStringToAnsi(text);
  EXPECT_EQ(text, "Gr\xF6\xDF" "e \xE4 A\xE4");
}

TEST_F(CodePage, WinTextIsCutSoTheZeroByteFits) {
  CodePageConversion = 1;
  std::string full(255, 'x');
  full[0] = '\x84';
  const char* p = MakeWinText(full, 255);
  EXPECT_EQ(full.size(), 254u);
  EXPECT_EQ(std::strlen(p), 254u);
  EXPECT_EQ(uint8_t(p[0]), 228);
  EXPECT_EQ(p[254], '\0');

  std::string shorter = "Fr\x84sen";
  p = MakeWinText(shorter, 255);
  EXPECT_STREQ(p, "Fr\xE4sen");

  std::string plain = "Fr\x84sen";
  p = MakeZeroTerminated(plain, 4);
  EXPECT_STREQ(p, "Fr\x84");  // cut, not converted

  std::string empty;
  EXPECT_STREQ(MakeWinText(empty, 0), "");
}

TEST_F(CodePage, ZeroTerminatedTextBecomesAShortString) {
  EXPECT_EQ(PCharToShortString(nullptr), "");
  EXPECT_EQ(PCharToShortString("Werkzeug"), "Werkzeug");
  std::string longText(300, 'a');
  EXPECT_EQ(PCharToShortString(longText.c_str()), std::string(255, 'a'));
  // Only 256 characters are looked at: a source without a zero in them is still cut.
  char unterminated[256];
  std::memset(unterminated, 'b', sizeof unterminated);
  EXPECT_EQ(PCharToShortString(unterminated), std::string(255, 'b'));
}

TEST_F(CodePage, MultiplyLongKeepsTheFullProduct) {
  EXPECT_EQ(MultiplyLong(2147483647, 2147483647), 4611686014132420609LL);
  EXPECT_EQ(MultiplyLong(-2147483647 - 1, 2), -4294967296LL);
  EXPECT_EQ(MultiplyLong(-3, -7), 21);
}

}  // namespace
