// NC blocks: numbering modes, line ends, the output buffer, the number
// formats of the dialects, rounding and the point and angle words.
#include "machine/nc_blocks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>

#include "frame/checked_files.h"
#include "machine/nc_test_support.h"
#include "support/work_folder.h"

namespace {

using nctest::Buffered;
using nctest::MakeState;

TEST(NcNumberTest, FormatsOfTheDialects) {
  struct TCase {
    int dialect;
    float value;
    const char* expected;
  };
  const TCase cases[] = {
      {0, 12.0f, "12"},        {4, 12.0f, "12."},       {23, 12.0f, "12.0"},    {26, 12.0f, "12.0"},
      {42, 12.0f, "12.0"},     {31, 12.0f, "12.00"},    {9, 12.0f, "12000"},    {87, 12.0f, "+12000"},
      {87, 12.5f, "+12500"},   {87, -0.3f, "-300"},     {0, 12.5f, "12.5"},     {0, 0.05f, "0.05"},
      {0, -3.25f, "-3.25"},    {0, 12.505f, "12.505"},  {0, 10.25f, "10.25"},   {23, 12.5f, "12.5"},
      {25, 12.0f, "12."},      {25, 12.25f, "12.25"},   {45, 0.5f, "0.5"},      {26, 12.25f, "12.25"},
      {31, 12.5f, "12.50"},    {80, 25.4f, "1"},        {80, 12.7f, "0.5"},     {42, 5.5f, "5.5"},
      {0, 0.0f, "0"},          {0, -0.0f, "0"},         {0, -0.0001f, "0"},     {9, -1.5f, "-1500"},
      {0, -12345.501f, "-12345.501"},  // wider than the field: no digit is lost
      {0, 100000.0f, "100000."},        {0, 1000000.0f, "1000000."},
      {48, 123456.78f, "123456.781"},
      {100, 12.0f, "12"},      // the generic dialect takes the general format
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    EXPECT_EQ(FormatNcNumber(*st, c.value), c.expected) << "dialect " << c.dialect << " value " << c.value;
  }
}

TEST(NcNumberTest, RoundingTakesHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(FormatRoundedInteger(2.5f), "2");
  EXPECT_EQ(FormatRoundedInteger(3.5f), "4");
  EXPECT_EQ(FormatRoundedInteger(-0.5f), "0");
  auto st = MakeState(48);  // resolution 0.01
  float a = 0.125f;
  float b = 0.375f;
  RoundToNcResolution(*st, a);
  RoundToNcResolution(*st, b);
  EXPECT_FLOAT_EQ(a, 0.12f);
  EXPECT_FLOAT_EQ(b, 0.38f);
  auto fine = MakeState(25);  // resolution 0.0001
  float c = 1.00004f;
  RoundToNcResolution(*fine, c);
  EXPECT_FLOAT_EQ(c, 1.0f);
}

TEST(NcNumberTest, SmallHelpers) {
  EXPECT_EQ(FormatZeroPaddedInteger(12, 4), "0012");
  EXPECT_EQ(FormatZeroPaddedInteger(12345, 4), "12345");
  EXPECT_EQ(FormatToolOffsetWord(5), " D+05");
  EXPECT_EQ(FormatToolOffsetWord(12), " D+12");
  EXPECT_EQ(FormatToolOffsetWord(100), " D+100");
  EXPECT_EQ(GetNcBlockNumberLimit(67), 8999);
  EXPECT_EQ(GetNcBlockNumberLimit(87), 9999);
  EXPECT_EQ(GetNcBlockNumberLimit(30), 999999999);
  EXPECT_EQ(GetNcBlockNumberLimit(5), 99999);
}

TEST(NcBlockTest, FirstNumberedBlockOfEachDialectForm) {
  struct TCase {
    int dialect;
    int16_t mode;
    const char* expected;
  };
  const TCase cases[] = {
      {9, 1, "N000001 G0\r\n"},  {87, 1, "N0001 G0\r\n"}, {74, 1, ":10 G0\r\n"},
      {22, 1, "0 G0\r\n"},       {0, 1, "N1 G0\r\n"},     {1, 1, "N1 G0 *\r\n"},
      {24, 1, "N1 G0;\r\n"},     {48, 1, "G0\r\n"},       {0, 3, "N10 G0\r\n"},
      {74, 3, ":10 G0\r\n"},     {87, 3, "N0010 G0\r\n"}, {0, 0, "G0\r\n"},
      {99, 1, "1 G0\r\n"},       {0, 7, "G0\r\n"},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect, c.mode);
    WriteNcBlock(*st, "G0");
    EXPECT_EQ(Buffered(*st), c.expected) << "dialect " << c.dialect << " mode " << c.mode;
  }
}

TEST(NcBlockTest, ModeThreeCountsInTensEverywhere) {
  auto st = MakeState(74, 3);
  WriteNcBlock(*st, "A");
  WriteNcBlock(*st, "B");
  EXPECT_EQ(Buffered(*st), ":10 A\r\n:20 B\r\n");
  auto st4 = MakeState(74, 1);
  WriteNcBlock(*st4, "A");
  WriteNcBlock(*st4, "B");
  EXPECT_EQ(Buffered(*st4), ":10 A\r\n:20 B\r\n");
}

TEST(NcBlockTest, ModesTwoAndFourNumberOnlyFlaggedBlocks) {
  auto st = MakeState(0, 2);
  WriteNcBlock(*st, "A");
  WriteNcBlock(*st, "B");
  st->NumberNextMove = 1;  // a rapid move begins
  WriteNcBlock(*st, "C");
  EXPECT_EQ(Buffered(*st), "N1 A\r\nB\r\nN2 C\r\n");
  auto st4 = MakeState(87, 4);
  WriteNcBlock(*st4, "A");
  st4->NumberNextToolBlock = 1;  // a tool word was built
  WriteNcBlock(*st4, "T1");
  WriteNcBlock(*st4, "B");
  EXPECT_EQ(Buffered(*st4), "A\r\nN0001 T1\r\nB\r\n");
}

TEST(NcBlockTest, NumbersWrapPastTheLimit) {
  auto st = MakeState(67, 1);
  st->BlockNumber = 8999;
  WriteNcBlock(*st, "A");
  WriteNcBlock(*st, "B");
  EXPECT_EQ(Buffered(*st), "N8999 A\r\nN1 B\r\n");
  auto st1 = MakeState(1, 3);
  st1->BlockNumber = 65535;
  WriteNcBlock(*st1, "A");
  WriteNcBlock(*st1, "B");
  EXPECT_EQ(Buffered(*st1), "N655350 A *\r\nN10 B *\r\n");
}

TEST(NcBlockTest, BlankTextsAndLongTexts) {
  auto st = MakeState(0, 1);
  WriteNcBlock(*st, " ");
  WriteNcBlock(*st, "");
  EXPECT_EQ(st->OutCount, 0);
  EXPECT_EQ(st->BlockNumber, 1);  // no number used
  WriteNcBlock(*st, "  ");
  EXPECT_EQ(Buffered(*st), "N1  \r\n");
  auto st2 = MakeState(0, 1);
  WriteNcBlock(*st2, std::string(300, 'X'));
  EXPECT_EQ(st2->OutCount, 255);  // the block with its line end is cut to 255
}

class NcOutputFileTest : public ::testing::Test {
 protected:
  torvtest::TWorkFolder work_;
  std::string HostFile(const std::string& name) {
    std::ifstream in(work_.Path() + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(NcOutputFileTest, BufferIsWrittenInPiecesBelowFiveThousandBytes) {
  auto st = MakeState(0, 0);
  ErrorCode = 0;
  AssignFileChecked(st->OutFile, "OUT.NC");
  RewriteFileChecked(st->OutFile, 1);
  ASSERT_EQ(ErrorCode, 0);
  std::string expected;
  for (int i = 0; i < 1200; ++i) {
    const std::string text = "G1 X" + std::to_string(i);
    WriteNcBlock(*st, text);
    expected += text + "\r\n";
    ASSERT_LT(st->OutCount, 5000);
  }
  EXPECT_GT(static_cast<size_t>(st->OutTotal), static_cast<size_t>(st->OutCount));  // flushed at least once
  FlushNcBuffer(*st);
  CloseFileChecked(st->OutFile);
  EXPECT_EQ(st->WriteFailed, 0);
  EXPECT_EQ(st->OutTotal, static_cast<int32_t>(expected.size()));
  EXPECT_EQ(HostFile("OUT.NC"), expected);
}

TEST_F(NcOutputFileTest, AWriteFailureIsNotClearedByALaterFlush) {
  auto st = MakeState(0, 0);
  {
    std::ofstream(work_.Path() + "/RO.NC").close();
  }
  ErrorCode = 0;
  AssignFileChecked(st->OutFile, "RO.NC");
  ResetFileChecked(st->OutFile, 1, 0);  // read only: every write fails
  ASSERT_EQ(ErrorCode, 0);
  WriteNcBlock(*st, "G0 X1");
  FlushNcBuffer(*st);
  EXPECT_EQ(st->WriteFailed, 1);
  CloseFileChecked(st->OutFile);
  // A later flush that could succeed must not report the program as whole.
  AssignFileChecked(st->OutFile, "OK.NC");
  RewriteFileChecked(st->OutFile, 1);
  WriteNcBlock(*st, "G0 X2");
  FlushNcBuffer(*st);
  CloseFileChecked(st->OutFile);
  EXPECT_EQ(st->WriteFailed, 1);
  EXPECT_EQ(HostFile("OK.NC"), "");  // nothing written behind the gap
  ErrorCode = 0;
}

TEST(NcPointWordsTest, ModalWordsByDialect) {
  struct TCase {
    int dialect;
    const char* first;
    const char* repeated;
  };
  const TCase cases[] = {
      {0, " X10 Y5 Z-2", ""},
      {31, " X10.00 Y5.00 Z2.00", " X10.00 Y5.00 Z2.00"},
      {9, " X10000 Y5000 Z-2000", ""},
      {12, " X10 Y5 Z-2", ""},
      {11, " X-10 Z5 Y-2", ""},
      {44, "X10, Y 5, Z -2", ""},
      {74, " Z10 Y-5 X-2", ""},
      {25, " X10. Y5. Z2.", ""},
      {38, " X10. Y5.", ""},
      {87, " X+10000 Y+5000 Z-2000 D+03", ""},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->LastToolStation = 3;
    TVectorRecord p{10, 10.0f, 5.0f, 2.0f};
    EXPECT_EQ(FormatPointWords(*st, p), c.first) << "dialect " << c.dialect;
    TVectorRecord q{10, 10.0f, 5.0f, 2.0f};
    EXPECT_EQ(FormatPointWords(*st, q), c.repeated) << "dialect " << c.dialect;
  }
}

TEST(NcPointWordsTest, OnlyChangedWordsAreWritten) {
  auto st = MakeState(0);
  TVectorRecord p{10, 10.0f, 5.0f, 2.0f};
  FormatPointWords(*st, p);
  TVectorRecord q{10, 10.0f, 7.0f, 2.0f};
  EXPECT_EQ(FormatPointWords(*st, q), " Y7");
  TVectorRecord r{10, 10.0004f, 7.0f, 2.0f};  // rounds to the last X
  EXPECT_EQ(FormatPointWords(*st, r), "");
  EXPECT_EQ(+st->LastPos.y, 7.0f);
}

TEST(NcPointWordsTest, SmallMovesWriteNothingInDialectsNineAndTwelve) {
  auto st = MakeState(12);
  TVectorRecord p{10, 1.0f, 1.0f, 0.0f};
  FormatPointWords(*st, p);
  TVectorRecord q{10, 1.0005f, 1.0f, 0.0f};
  EXPECT_EQ(FormatPointWords(*st, q), "");
  EXPECT_EQ(+st->LastPos.x, 1.0f);
}

TEST(NcPointWordsTest, RotaryAxisReplacesY) {
  auto st = MakeState(0);
  st->RotaryActive = 1;
  st->RotaryMode = 2;
  st->RotaryAxis = 1;
  st->RotaryFactor = static_cast<float>(2 * 57.29577951308232 / 40.0);
  TVectorRecord p{10, 0.0f, 10.0f, 0.0f};
  EXPECT_EQ(FormatPointWords(*st, p), " X0 A28.648");
  EXPECT_EQ(FormatYWord(*st, 10.0f), " A28.648");
  st->RotaryAxis = 4;  // no letter: no word
  EXPECT_EQ(FormatYWord(*st, 10.0f), "");
  st->RotaryMode = 1;
  st->RotaryAxis = 3;
  EXPECT_EQ(FormatXWord(*st, 10.0f), " C28.648");
}

TEST(NcPointWordsTest, CylinderModeTurnsIncrementally) {
  auto st = MakeState(32);
  st->RotaryActive = 1;
  st->RotaryIncremental = 1;
  st->RotaryMode = 3;
  st->RotaryFactor = 2.0f;
  st->LastPos = {0, 0.0f, 0.0f, 0.0f};
  TVectorRecord p{10, 1.0f, 3.0f, 2.0f};
  EXPECT_EQ(FormatPointWords(*st, p), " Z1. H-6. X-2.");
  EXPECT_EQ(+st->LastPos.y, 3.0f);
}

TEST(NcAngleWordsTest, SignsOfTheBAndCWords) {
  const float half = static_cast<float>(std::numbers::pi / 2);
  auto st = MakeState(39);
  st->AngleFactorB = 1.0f;
  st->AngleFactorC = -1.0f;  // the dialect record's SignC
  EXPECT_EQ(FormatAngleWords(*st, TVectorRecord{131, 0.0f, 0.0f, half}), " C-90");
  EXPECT_EQ(FormatAngleWords(*st, TVectorRecord{131, 0.0f, 0.0f, half}), "");
  auto st2 = MakeState(39);
  st2->AngleFactorC = -1.0f;
  EXPECT_EQ(FormatAngleWords(*st2, TVectorRecord{131, half, 0.0f, 0.0f}), " A90");
  auto other = MakeState(0);
  EXPECT_EQ(FormatAngleWords(*other, TVectorRecord{131, half, half, half}), "");
}

}  // namespace
