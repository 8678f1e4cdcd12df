// The parameter file: layout, block copies, load, safe save and backups,
// defaults and the settings taken at start.
#include "frame/param_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "model/layer_files.h"
#include "platform/files.h"
#include "platform/script.h"
#include "support/host_files.h"
#include "support/journal_folder.h"
#include "view/view_transform.h"

namespace fs = std::filesystem;

namespace {

using torvtest::ReadHostFile;
using torvtest::WriteHostFile;

std::string ImageBytes() {
  return std::string(reinterpret_cast<const char*>(ParamImage->bytes), kParamImageSize);
}

void FreeImage() {
  delete ParamImage;
  ParamImage = nullptr;
}

float FloatAt(const uint8_t* p) {
  float v;
  std::memcpy(&v, p, 4);
  return v;
}

int16_t Int16At(const uint8_t* p) {
  int16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

const uint8_t* Block(int16_t b) { return ParamImage->bytes + GetParamBlockOffset(b); }

// Each test runs in a fresh current folder with an empty journal; message
// boxes are answered by an empty script and written to a transcript.
class ParamFileTest : public torvtest::JournalFolderTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(torvtest::JournalFolderTest::SetUp());
    plat::ResetScript();
    FreeImage();
    ErrorCode = 0;
    plat::IoResult();
  }
  void TearDown() override {
    FreeImage();
    unsetenv("TORV_TRANSCRIPT");
    unsetenv("TORV_SCRIPT");
    unsetenv("TORV_VIDEO");
    plat::ResetScript();
    torvtest::JournalFolderTest::TearDown();
    ErrorCode = 0;
  }
  fs::path File(const char* name) const { return dir_ / name; }
};

// --- layout ----------------------------------------------------------------------------------

TEST(ParamLayoutTest, BlockOffsets) {
  const int32_t offsets[kParamBlockCount] = {
      151,   304,   747,   1565,  1686,  1863,  4720,  4732,  4839,  4870,  5126,  5382,  5638,
      5894,  6150,  12789, 40789, 40849, 40898, 41115, 41166, 41422, 41982, 46057, 46085, 46119,
      46206, 46462, 46758, 47045, 47064, 47086, 47093, 47164, 47370, 47626, 47683, 47695, 51697,
      51857, 52113, 52625, 53137, 53254, 53335, 53778, 54198, 54460, 54471, 54492, 54748, 55004,
      55260, 55777, 56038, 56048, 56056, 56260, 56302, 56310, 56335, 56353, 56609, 56624, 56641,
      59201, 59671, 59697, 59953, 60115, 60116, 60276, 60282, 60286, 60542, 60742, 62399, 62417};
  for (int b = 0; b < kParamBlockCount; ++b) EXPECT_EQ(GetParamBlockOffset(int16_t(b)), offsets[b]) << b;
  EXPECT_EQ(GetParamBlockOffset(-1), 0);
  EXPECT_EQ(GetParamBlockOffset(-300), 0);
  EXPECT_EQ(GetParamBlockOffset(78), 62761);
  EXPECT_EQ(GetParamBlockOffset(999), 62761);
  EXPECT_EQ(GetParamBlockOffset(77) + kParamBlockSizes[77], kParamImageSize);
}

// --- block copies ---------------------------------------------------------------------------

TEST_F(ParamFileTest, BlockCopiesNeverPassTheBlockEnd) {
  ParamImage = new TParameterImage;
  std::memset(ParamImage->bytes, 0x11, kParamImageSize);

  // A count larger than the block stops at its end; the next block keeps its bytes.
  const std::vector<uint8_t> source(100, 0x77);
  PutParamBlock(69, source.data(), 100);
  EXPECT_EQ(Block(69)[0], 0x77);
  EXPECT_EQ(Block(70)[0], 0x11);
  PutParamBlock(77, source.data(), 100);
  EXPECT_EQ(ImageBytes().substr(62417), std::string(100, '\x77') + std::string(244, '\x11'));

  std::vector<uint8_t> dest(100, 0xEE);
  GetParamBlock(71, dest.data(), 100);  // 6 bytes
  EXPECT_EQ(std::vector<uint8_t>(dest.begin(), dest.begin() + 6), std::vector<uint8_t>(6, 0x11));
  EXPECT_EQ(std::vector<uint8_t>(dest.begin() + 6, dest.end()), std::vector<uint8_t>(94, 0xEE));

  // Numbers outside the head and blocks copy nothing.
  const std::string before = ImageBytes();
  for (int16_t b : {int16_t(-2), int16_t(78), int16_t(999), int16_t(-32768)}) {
    PutParamBlock(b, source.data(), 100);
    dest.assign(100, 0xEE);
    GetParamBlock(b, dest.data(), 100);
    EXPECT_EQ(dest, std::vector<uint8_t>(100, 0xEE)) << b;
  }
  EXPECT_EQ(ImageBytes(), before);

  // The head is block -1 (151 bytes).
  PutParamBlock(-1, source.data(), 100);
  EXPECT_EQ(ParamImage->bytes[99], 0x77);
  EXPECT_EQ(ParamImage->bytes[100], 0x11);

  // Without an image nothing is copied.
  FreeImage();
  dest.assign(10, 0xEE);
  GetParamBlock(0, dest.data(), 10);
  PutParamBlock(0, source.data(), 10);
  EXPECT_EQ(dest, std::vector<uint8_t>(10, 0xEE));
}

// --- load ------------------------------------------------------------------------------------

TEST_F(ParamFileTest, FreshStartCreatesTheFileWithDefaults) {
  LoadParamFile();
  ASSERT_NE(ParamImage, nullptr);
  EXPECT_EQ(fs::file_size(File("TORV.PAR")), 62761u);
  EXPECT_EQ(ReadHostFile(File("TORV.PAR")), ImageBytes());
  EXPECT_FALSE(fs::exists(File("TORVBak.PAR")));
  EXPECT_FALSE(fs::exists(File("TORVBad.PAR")));
  EXPECT_EQ(ErrorCode, 0);

  // Head: word 1, zeros, a text of eight blanks.
  EXPECT_EQ(Int16At(ParamImage->bytes), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ParamImage->bytes) + 2, 140), std::string(140, '\0'));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ParamImage->bytes) + 142, 9), "\x08        ");

  // A few defaults that other modules rely on.
  EXPECT_EQ(Block(0)[94], 'N');
  EXPECT_EQ(Block(0)[95], 'J');
  int32_t fastLimit;
  std::memcpy(&fastLimit, Block(0) + 96, 4);
  EXPECT_EQ(fastLimit, 16000);
  EXPECT_EQ(FloatAt(Block(1)), -10000.0f);
  EXPECT_EQ(FloatAt(Block(1) + 436), -10000.0f);
  EXPECT_EQ(Block(1)[440], 0);
  EXPECT_EQ(std::memcmp(Block(1), Block(44), 443), 0);
  EXPECT_EQ(Block(3)[60], 32);
  EXPECT_EQ(FloatAt(Block(3) + 24), 100.0f);
  EXPECT_EQ(FloatAt(Block(24) + 4), 100.0f) << "hatch rectangle from the layout area";
  EXPECT_EQ(Block(69)[0], 1);
  EXPECT_EQ(GetPathOutputMode(), 1);
  const std::string folder = plat::CurrentFolder();
  for (int16_t b : {9, 10, 11, 12, 13, 20, 26}) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Block(b)) + 1, Block(b)[0]), folder) << b;
  }

  // 200 unused tools, each the default record with its layer's colour.
  for (int i = 0; i < 200; ++i) {
    TToolRecord expected;
    std::memset(&expected, 0, sizeof expected);
    const int16_t colour = Int16At(Block(15) + 140 * i + 84);
    SetToolRecordDefaults(expected, colour);
    EXPECT_EQ(std::memcmp(Block(15) + 140 * i, &expected, 140), 0) << "tool " << i;
  }
  EXPECT_EQ(Int16At(Block(15) + 84), 8) << "layer 0 colour on light paper";
  EXPECT_EQ(Int16At(Block(15) + 140 * 1 + 84), 6);
  EXPECT_EQ(Int16At(Block(15) + 140 * 11 + 84), 16);
  EXPECT_EQ(Int16At(Block(15) + 140 * 27 + 84), 8);

  // The text line defaults.
  TTextParams text;
  std::memcpy(&text, Block(38), sizeof text);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.fontName) + 1, text.fontName[0]), "G1500010.HZE");
  EXPECT_EQ(text.alignment, 'Z');
  EXPECT_EQ(float(text.lineSpacing), 15.0f);  // packed field: copy, never bind
  EXPECT_EQ(text.text[0], 0);
}

TEST_F(ParamFileTest, DefaultsAreTheSameOnEveryCreation) {
  HighestLayer = 3;
  LoadParamFile();
  // The layers chosen for milling are those present when the file was made.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Block(19)), 6), std::string("\1\1\1\1\0\0", 6));
  const std::string first = ReadHostFile(File("TORV.PAR"));
  FreeImage();
  fs::remove(File("TORV.PAR"));
  fs::remove(File("TORVAlt.PAR"));
  HighestLayer = 3;
  LoadParamFile();
  EXPECT_EQ(ReadHostFile(File("TORV.PAR")), first);
}

TEST_F(ParamFileTest, WrongSizeIsKeptAsideAndReplaced) {
  const std::string user(62760, '\xAB');
  WriteHostFile(File("TORV.PAR"), user);
  LoadParamFile();
  ASSERT_NE(ParamImage, nullptr);
  EXPECT_EQ(ReadHostFile(File("TORVBad.PAR")), user);
  EXPECT_EQ(fs::file_size(File("TORV.PAR")), 62761u);
  EXPECT_EQ(ReadHostFile(File("TORV.PAR")), ImageBytes());
  EXPECT_EQ(Int16At(ParamImage->bytes), 1) << "defaults, not the old bytes";
}

TEST_F(ParamFileTest, EmptyFileIsReplacedWithoutTouchingTheKeptOne) {
  WriteHostFile(File("TORVBad.PAR"), "kept from before");
  WriteHostFile(File("TORV.PAR"), "");
  LoadParamFile();
  EXPECT_EQ(ReadHostFile(File("TORVBad.PAR")), "kept from before");
  EXPECT_EQ(fs::file_size(File("TORV.PAR")), 62761u);
}

TEST_F(ParamFileTest, RightSizeIsTakenUnchanged) {
  std::string user(62761, '\0');
  for (size_t i = 0; i < user.size(); ++i) user[i] = char(i * 7 + 3);
  WriteHostFile(File("TORV.PAR"), user);
  LoadParamFile();
  ASSERT_NE(ParamImage, nullptr);
  EXPECT_EQ(ImageBytes(), user);
  EXPECT_EQ(ReadHostFile(File("TORV.PAR")), user);
  EXPECT_FALSE(fs::exists(File("TORVBad.PAR")));
  EXPECT_LE(HighestLayer, 50) << "any layer count gives a usable highest layer";
}

// --- save --------------------------------------------------------------------------------------

TEST_F(ParamFileTest, SecondStartReadsWhatTheFirstStored) {
  LoadParamFile();
  const std::string firstFile = ReadHostFile(File("TORV.PAR"));
  uint8_t name[256] = {};
  name[0] = 9;
  std::memcpy(name + 1, "TEST.SLD", 9);
  PutParamBlock(26, name, sizeof name);
  SetPathOutputMode(2);
  EXPECT_TRUE(OpenParamImage(0));  // the exit saves and frees
  EXPECT_EQ(ParamImage, nullptr);
  EXPECT_EQ(ReadHostFile(File("TORVAlt.PAR")), firstFile);
  EXPECT_FALSE(fs::exists(File("TORVBak.PAR")));

  LoadParamFile();
  ASSERT_NE(ParamImage, nullptr);
  uint8_t back[256] = {};
  GetParamBlock(26, back, sizeof back);
  EXPECT_EQ(std::memcmp(back, name, sizeof name), 0);
  EXPECT_EQ(GetPathOutputMode(), 2);
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(ParamFileTest, EachSaveKeepsThePreviousFileAsAlt) {
  LoadParamFile();
  SetPathOutputMode(5);
  ASSERT_TRUE(SaveParamFileSafely());
  const std::string second = ReadHostFile(File("TORV.PAR"));
  SetPathOutputMode(6);
  ASSERT_TRUE(SaveParamFileSafely());
  EXPECT_EQ(ReadHostFile(File("TORVAlt.PAR")), second);
  EXPECT_EQ(ReadHostFile(File("TORV.PAR")), ImageBytes());
  EXPECT_FALSE(fs::exists(File("TORVBak.PAR")));
}

TEST_F(ParamFileTest, FailedSaveTellsTheUserAndLosesNothing) {
  LoadParamFile();
  const std::string stored = ReadHostFile(File("TORV.PAR"));
  WriteHostFile(File("TORVAlt.PAR"), "older");
  fs::create_directory(File("TORVBak.PAR"));  // the backup cannot be written
  SetPathOutputMode(7);
  ErrorCode = 0;
  EXPECT_FALSE(SaveParamFileSafely());
  EXPECT_NE(ErrorCode, 0);
  EXPECT_EQ(ReadHostFile(File("TORV.PAR")), stored);
  EXPECT_EQ(ReadHostFile(File("TORVAlt.PAR")), "older");
  const std::string transcript = ReadHostFile(File("transcript.txt"));
  EXPECT_EQ(transcript.rfind("msgbox|", 0), 0u) << transcript;
  EXPECT_EQ(std::count(transcript.begin(), transcript.end(), '\n'), 1) << "one box after three tries";
  EXPECT_NE(ReadHostFile(File("MENUREC.TXT")).find("\" -> Rewrite()"), std::string::npos);
  EXPECT_EQ(GetPathOutputMode(), 7) << "the settings stay in memory";
}

TEST_F(ParamFileTest, FailedReplaceKeepsTheStoredFile) {
  LoadParamFile();
  // "TORV.PAR" cannot be replaced: a folder of that name is in the way.
  fs::rename(File("TORV.PAR"), File("SAVED.PAR"));
  fs::create_directory(File("TORV.PAR"));
  WriteHostFile(File("TORV.PAR") / "inside", "x");
  EXPECT_FALSE(SaveParamFileSafely());
  EXPECT_TRUE(fs::is_directory(File("TORV.PAR")));
  EXPECT_EQ(ReadHostFile(File("TORV.PAR") / "inside"), "x");
  EXPECT_NE(ErrorCode, 0);
  EXPECT_NE(ReadHostFile(File("MENUREC.TXT")).find("\" -> ReNameFile(TORVBak.PAR,TORV.PAR)"), std::string::npos);
  EXPECT_NE(ReadHostFile(File("transcript.txt")).find("msgbox|"), std::string::npos);
}

// --- settings at start ---------------------------------------------------------------------------

TEST_F(ParamFileTest, ApplyTakesScreenSettings) {
  LoadParamFile();
  EXPECT_EQ(HighestLayer, 31);
  EXPECT_EQ(CurrentLayer, 15);
  EXPECT_EQ(ArcResolution, 10);
  EXPECT_EQ(FastDrawLimit, 16000);
  EXPECT_EQ(GuideSnapOn, 0);
  EXPECT_EQ(float(LayoutArea.maxCorner.x), 100.0f);

  uint8_t screen[121];
  GetParamBlock(3, screen, sizeof screen);
  screen[10] = 0x3F;
  screen[60] = 5;
  PutParamBlock(3, screen, sizeof screen);
  uint8_t guides[443];
  GetParamBlock(1, guides, sizeof guides);
  guides[440] = 1;
  guides[441] = 1;
  PutParamBlock(1, guides, sizeof guides);
  ApplyParamSettings();
  EXPECT_EQ(DisplayFlags, 0x0F);
  EXPECT_EQ(HighestLayer, 4);
  EXPECT_EQ(CurrentLayer, 4) << "the current layer is one that exists";
  EXPECT_EQ(GuideSnapOn, 1);

  screen[60] = 0;
  PutParamBlock(3, screen, sizeof screen);
  ApplyParamSettings();
  EXPECT_EQ(HighestLayer, 0);
  screen[60] = 200;
  PutParamBlock(3, screen, sizeof screen);
  ApplyParamSettings();
  EXPECT_EQ(HighestLayer, 50);
}

TEST(ArcResolutionTest, DerivedValues) {
  const double degree = std::numbers::pi / 180.0;
  EXPECT_FLOAT_EQ(ArcPointsPerRadianOf(3), float(1.0 / (45 * degree)));
  EXPECT_FLOAT_EQ(ArcPointsPerRadianOf(7), float(1.0 / (22 * degree)));
  EXPECT_FLOAT_EQ(ArcPointsPerRadianOf(8), float(1.0 / (15 * degree)));
  EXPECT_FLOAT_EQ(ArcPointsPerRadianOf(0), float(1.0 / (15 * degree)));
  const struct {
    int n;
    double k;
  } cases[] = {{3, 0.1}, {4, 0.1}, {9, 1.0 / 7}, {10, 2.0 / 13}, {14, 2.0 / 9}, {24, 0.5}, {39, 0.8}, {80, 10.0 / 7}};
  for (const auto& c : cases) EXPECT_FLOAT_EQ(ArcStepAngleOf(c.n), float(c.k / degree)) << c.n;
  EXPECT_EQ(ArcStepAngleOf(2), 80.0f);
  EXPECT_EQ(ArcStepAngleOf(81), 80.0f);
}

// --- small settings ---------------------------------------------------------------------------------

TEST(ParamSmallSettingsTest, PathColourAndThousandths) {
  const int16_t saved = PaperColor;
  PaperColor = 274;
  EXPECT_EQ(GetPathDrawColor(), 15);
  PaperColor = 261;
  EXPECT_EQ(GetPathDrawColor(), 8);
  PaperColor = saved;
  EXPECT_EQ(FormatThousandths(7020.0f), " 7.020");
  EXPECT_EQ(FormatThousandths(12345.0f), " 12.345");
  EXPECT_EQ(FormatThousandths(0.0f), " 0.000");
}

TEST(TextParamsTest, DefaultsKeepTheText) {
  TTextParams p;
  std::memset(&p, 0x5A, sizeof p);
  p.text[0] = 3;
  std::memcpy(p.text + 1, "abc", 3);
  SetTextParamDefaults(p);
  EXPECT_EQ(p.text[0], 3);
  EXPECT_EQ(p.capitals, 'K');
  EXPECT_EQ(p.kind, 'V');
  EXPECT_EQ(float(p.spacing), 2.5f);
  EXPECT_EQ(p.direction, 'P');
  EXPECT_EQ(int(p.layer), 0);
  EXPECT_EQ(p.fontName[0], 12);
}

}  // namespace
