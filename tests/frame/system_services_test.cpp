// Sounds, message boxes, help page, program title, resource pictures, file
// and folder helpers, number parsing and the clipboard picture.
#include "frame/system_services.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "frame/codepage.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/window.h"
#include "support/host_files.h"
#include "support/program_folder.h"

namespace fs = std::filesystem;

namespace {

using torvtest::ReadHostFile;
using torvtest::WriteHostFile;

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, uint16_t v) {
  s += char(v & 0xFF);
  s += char(v >> 8);
}

// A 24-bit Windows bitmap; pixels given top-down as 0xRRGGBB.
std::string MakeBmp(int width, int height, const std::vector<uint32_t>& pixels) {
  int rowBytes = (width * 3 + 3) / 4 * 4;
  std::string s = "BM";
  Put32(s, uint32_t(54 + rowBytes * height));
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, uint32_t(width));
  Put32(s, uint32_t(height));
  Put16(s, 1);
  Put16(s, 24);
  Put32(s, 0);
  Put32(s, uint32_t(rowBytes * height));
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      uint32_t p = pixels[size_t(y * width + x)];
      row += char(p & 0xFF);
      row += char((p >> 8) & 0xFF);
      row += char((p >> 16) & 0xFF);
    }
    row.resize(size_t(rowBytes), '\0');
    s += row;
  }
  return s;
}

// Each test runs in a fresh program folder (TORV_HOME and the current
// folder), headless, with a transcript and an empty journal.
class SystemServicesTest : public torvtest::ProgramFolderTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(torvtest::ProgramFolderTest::SetUp());
    UseScript("");
    plat::IoResult();
    ErrorCode = 0;
    VariantNumber = 12;
  }
  void TearDown() override {
    if (DcState == kDcActive) ReleaseWindowDc();
    torvtest::ProgramFolderTest::TearDown();
    VariantNumber = 0;
    AngleInputDiameter = 0.0f;
    CodePageConversion = 0;
    ErrorCode = 0;
    ExitProc = nullptr;
  }
  void OpenWindowWithDc() {
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
  }
  uint32_t PixelAt(int x, int y) {
    plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)] & 0xFFFFFF;
  }
};

// --- sounds, title, boxes, help ---------------------------------------------------------------

TEST(EventSounds, CodesWithoutASystemSoundPlayNothing) {
  for (int16_t code : {10, 20, 21, 22, 1, 98, 100, -2, 32767}) EXPECT_EQ(PlayEventSound(code), 0) << code;
}

TEST(ProgramTitle, TitleByVariant) {
  struct {
    int16_t variant;
    const char* title;
  } cases[] = {{0, "TORV"}, {1, "TORV"}, {12, "TORV"}, {2, ""}, {13, ""}, {-1, ""}};
  for (const auto& c : cases) {
    VariantNumber = c.variant;
    EXPECT_EQ(GetProgramTitle(), c.title) << c.variant;
  }
  VariantNumber = 0;
}

TEST_F(SystemServicesTest, MessageBoxAnswersCountOkAndYesOnly) {
  UseScript("key Enter\nkey Esc\nkey y\nkey n\nkey Esc\n");
  EXPECT_EQ(RunMessageBox("Cap", "OK box", 0), 1);
  EXPECT_EQ(RunMessageBox("Cap", "OK/Cancel", 1), 0);
  EXPECT_EQ(RunMessageBox("Cap", "Yes/No", 4), 1);
  EXPECT_EQ(RunMessageBox("Cap", "Yes/No", 4), 0);
  EXPECT_EQ(RunMessageBoxPChar("Cap", "as given", 4), 0);
  std::string t = Transcript();
  EXPECT_NE(t.find("msgbox|Cap|OK box|OK"), std::string::npos) << t;
  EXPECT_NE(t.find("msgbox|Cap|as given|No"), std::string::npos) << t;
}

TEST_F(SystemServicesTest, MessageBoxTextsAreConvertedOnlyThroughTheCodePageSwitch) {
  UseScript("key Enter\nkey Enter\n");
  CodePageConversion = 1;
  RunMessageBox("Gr\x94\xE1" "e", "\x84\x81", 0);  // DOS code page
  std::string t = Transcript();
  EXPECT_NE(t.find("msgbox|Größe|äü|"), std::string::npos) << t;
  // The PChar text is handed over as it is: only the caption is converted.
  RunMessageBoxPChar("\x84", "\xE4", 0);  // Windows "ä" as the text
  t = Transcript();
  EXPECT_NE(t.find("msgbox|ä|ä|"), std::string::npos) << t;
}

TEST_F(SystemServicesTest, HelpOpensThePageOfTheTitleOrTheIndex) {
  ShowWinHelp(1);
  EXPECT_EQ(Transcript().find("open|"), std::string::npos);
  fs::create_directory(dir / "help");
  WriteHostFile(dir / "help" / "index.htm", "<html></html>");
  ShowWinHelp(1);
  EXPECT_NE(Transcript().find("help/index.htm"), std::string::npos) << Transcript();
  WriteHostFile(dir / "help" / "TORV.HTM", "<html></html>");
  ShowWinHelp(1);
  EXPECT_NE(Transcript().find("help/TORV.HTM"), std::string::npos) << Transcript();
  std::string before = Transcript();
  ShowWinHelp(0);
  EXPECT_EQ(Transcript(), before);
}

// --- resource pictures ------------------------------------------------------------------------

// The resource table "Resourc1.DAT": an 11-byte head with the count at
// byte 7, 44-byte directory entries (capital name, offset at byte 40), the
// end offset in a last entry, then the pictures.
std::string MakeResourceTable(const std::vector<std::pair<std::string, std::string>>& pictures) {
  auto put32 = [](std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
  };
  std::string table(7, '\0');
  put32(table, uint32_t(pictures.size()));
  uint32_t offset = 44;  // data begins after the end entry
  for (size_t i = 0; i <= pictures.size(); ++i) {
    std::string entry(40, '\0');
    if (i < pictures.size()) {
      entry[0] = char(pictures[i].first.size());
      for (size_t k = 0; k < pictures[i].first.size(); ++k) entry[1 + k] = char(std::toupper(pictures[i].first[k]));
    }
    table += entry;
    put32(table, offset);
    if (i < pictures.size()) offset += uint32_t(pictures[i].second.size());
  }
  for (const auto& p : pictures) table += p.second;
  return table;
}

TEST_F(SystemServicesTest, MissingPicturesDrawNothingAndReturnZero) {
  OpenWindowWithDc();
  uint32_t before = PixelAt(10, 10);
  EXPECT_EQ(DrawResourceBitmap(10, 10, 16, 16, kRopSrcCopy, "Abbruch"), 0);  // no table
  WriteHostFile(dir / "Resourc1.DAT", MakeResourceTable({{"Kaputt", "BM not a picture"}}));
  EXPECT_EQ(DrawResourceBitmap(10, 10, 16, 16, kRopSrcCopy, "Abbruch"), 0);
  EXPECT_EQ(DrawResourceBitmap(10, 10, 16, 16, kRopSrcCopy, ""), 0);
  EXPECT_EQ(DrawResourceBitmap(10, 10, 16, 16, kRopSrcCopy, "..\\x"), 0);
  EXPECT_EQ(DrawResourceBitmap(10, 10, 16, 16, kRopSrcCopy, "Kaputt"), 0);
  EXPECT_EQ(PixelAt(10, 10), before);
}

TEST_F(SystemServicesTest, PicturesAreFoundInAnyCaseAndDrawnWithinTheGivenSize) {
  OpenWindowWithDc();
  // 3 x 2: red green blue / white black grey
  WriteHostFile(dir / "Resourc1.DAT",
                MakeResourceTable({{"OK", MakeBmp(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080})},
                                   {"_Own", MakeBmp(1, 1, {0x123456})}}));
  FillColorRect(0, 0, 40, 40, plat::Rgb(10, 20, 30));
  const uint32_t back = PixelAt(30, 30);

  EXPECT_EQ(DrawResourceBitmap(20, 20, 2, 2, kRopSrcCopy, "ok"), 1);
  EXPECT_EQ(PixelAt(20, 20), 0xFF0000u);
  EXPECT_EQ(PixelAt(21, 20), 0x00FF00u);
  EXPECT_EQ(PixelAt(22, 20), back);  // third column left out
  EXPECT_EQ(PixelAt(21, 21), 0x000000u);

  EXPECT_EQ(DrawResourceBitmap(30, 30, 16, 16, kRopSrcCopy, "_Own"), 1);
  EXPECT_EQ(PixelAt(30, 30), 0x123456u);
  EXPECT_EQ(PixelAt(31, 30), back);

  // Xor twice restores; and/or combine with the screen.
  uint32_t under = PixelAt(5, 5);
  DrawResourceBitmap(5, 5, 1, 1, kRopSrcInvert, "_Own");
  EXPECT_EQ(PixelAt(5, 5), under ^ 0x123456u);
  DrawResourceBitmap(5, 5, 1, 1, kRopSrcInvert, "_Own");
  EXPECT_EQ(PixelAt(5, 5), under);
  DrawResourceBitmap(5, 5, 1, 1, kRopSrcAnd, "_Own");
  EXPECT_EQ(PixelAt(5, 5), under & 0x123456u);
  DrawResourceBitmap(6, 5, 1, 1, kRopSrcPaint, "_Own");
  EXPECT_EQ(PixelAt(6, 5), back | 0x123456u);
  DrawResourceBitmap(7, 5, 1, 1, kRopNotSrcCopy, "_Own");
  EXPECT_EQ(PixelAt(7, 5), ~0x123456u & 0xFFFFFFu);
}

TEST_F(SystemServicesTest, AReplacedResourceTableIsReadAfresh) {
  OpenWindowWithDc();
  WriteHostFile(dir / "Resourc1.DAT", MakeResourceTable({{"Dot", MakeBmp(1, 1, {0x112233})}}));
  EXPECT_EQ(DrawResourceBitmap(4, 4, 1, 1, kRopSrcCopy, "Dot"), 1);
  EXPECT_EQ(PixelAt(4, 4), 0x112233u);
  // Kept between draws, but a new table (here with one more picture) is seen at once.
  WriteHostFile(dir / "Resourc1.DAT",
                MakeResourceTable({{"Dot", MakeBmp(1, 1, {0x445566})}, {"Other", MakeBmp(1, 1, {0})}}));
  EXPECT_EQ(DrawResourceBitmap(4, 4, 1, 1, kRopSrcCopy, "Dot"), 1);
  EXPECT_EQ(PixelAt(4, 4), 0x445566u);
  std::filesystem::remove(dir / "Resourc1.DAT");
  EXPECT_EQ(DrawResourceBitmap(4, 4, 1, 1, kRopSrcCopy, "Dot"), 0);
}

// --- files and folders by name --------------------------------------------------------------

TEST(FileNameParts, PartsOfAPath) {
  struct {
    const char* path;
    char letter;
    const char* part;
  } cases[] = {
      {"C:\\DATA\\README", 'N', "README"}, {"C:\\DATA\\A.B.C", 'N', "A.B"}, {"C:\\DATA\\A.B.C", 'E', ".C"},
      {"C:\\DATA\\A.B.C", 'D', "C:\\DATA\\"}, {"C:\\DATA\\README", 'E', ""}, {"C:\\X.Y\\README", 'E', ""},
      {"C:\\X.Y\\README", 'N', "README"},  {"NAME.TXT", 'D', ""},           {"C:NAME.TXT", 'D', "C:"},
      {"C:\\DATA\\", 'N', ""},             {"C:\\DATA\\.cfg", 'N', ""},      {"C:\\DATA\\.cfg", 'E', ".cfg"},
  };
  for (const auto& c : cases) {
    std::string out = "untouched";
    GetFileNamePart(c.path, c.letter, out);
    EXPECT_EQ(out, c.part) << c.path << " " << c.letter;
  }
  std::string out = "untouched";
  GetFileNamePart("C:\\DATA\\A.B", 'X', out);
  EXPECT_EQ(out, "untouched");
  GetFileNamePart("C:\\DATA\\A.B", 'n', out);
  EXPECT_EQ(out, "untouched");
}

TEST(FileNameParts, SplitCutsEachPartToItsMaximum) {
  std::string folder, extension, name;
  SplitFileName("C:\\LONGFOLDER\\DRAWING.SLD", folder, 255, extension, 255, name, 255);
  EXPECT_EQ(folder, "C:\\LONGFOLDER\\");
  EXPECT_EQ(extension, ".SLD");
  EXPECT_EQ(name, "DRAWING");
  SplitFileName("C:\\LONGFOLDER\\DRAWING.SLD", folder, 6, extension, 2, name, 3);
  EXPECT_EQ(folder, "C:\\LON");
  EXPECT_EQ(extension, ".S");
  EXPECT_EQ(name, "DRA");
}

TEST(FileNameParts, LastCharacterFromPositionTwoOn) {
  struct {
    char ch;
    const char* s;
    int position;
  } cases[] = {{'\\', "", 0}, {'\\', "\\abc", 1}, {'\\', "abc", 1}, {'\\', "a\\b\\c", 4}, {'.', "a.b", 2}, {'x', "x", 1}};
  for (const auto& c : cases) EXPECT_EQ(FindLastChar(c.ch, c.s), c.position) << c.s;
}

TEST_F(SystemServicesTest, FindNextAfterAFailedFirstSearchReturnsMinusOne) {
  plat::TSearchRec rec;
  EXPECT_NE(FindFirstEntry("*.NOPE", plat::kAttrAnyFile, rec), 0);
  EXPECT_EQ(rec.time, -1);
  EXPECT_EQ(FindNextEntry(rec), -1);
  FindCloseEntry(rec);
  EXPECT_EQ(FindNextEntry(rec), -1);

  WriteHostFile(dir / "A1.TMP", "x");
  WriteHostFile(dir / "a2.tmp", "y");
  ASSERT_EQ(FindFirstEntry("A?.TMP", plat::kAttrArchive, rec), 0);
  std::vector<std::string> found = {rec.name};
  while (FindNextEntry(rec) == 0) found.push_back(rec.name);
  FindCloseEntry(rec);
  EXPECT_EQ(found.size(), 2u);
}

TEST_F(SystemServicesTest, FullPathsAndFolders) {
  const std::string current = plat::CurrentFolder();
  ASSERT_FALSE(current.empty());
  EXPECT_EQ(GetFullPath("").back(), '\\');
  EXPECT_EQ(GetFullPath(""), current.back() == '\\' ? current : current + "\\");
  const std::string base = GetFullPath("");
  EXPECT_EQ(GetFullPath("x.txt"), base + "x.txt");
  EXPECT_EQ(GetFullPath("sub\\..\\x.txt"), base + "x.txt");
  EXPECT_EQ(GetFullPath(".\\sub\\"), base + "sub\\");
  EXPECT_EQ(GetFullPath("C:\\a\\.\\b\\..\\c"), "C:\\a\\c");
  EXPECT_EQ(GetFullPath("C:\\a\\..\\..\\c"), "C:\\c");
  EXPECT_EQ(GetFullPath("\\top\\f"), base.substr(0, 2) + "\\top\\f");
  EXPECT_EQ(GetFullPath("file."), base + "file.");

  EXPECT_FALSE(TestFolderExists("NEW"));
  EXPECT_TRUE(CreateFolderPath("NEW\\DEEP\\ER\\"));
  EXPECT_TRUE(fs::is_directory(dir / "NEW" / "DEEP" / "ER"));
  EXPECT_TRUE(TestFolderExists("new\\deep"));
  EXPECT_TRUE(CreateFolderPath("NEW\\DEEP"));  // already there
  WriteHostFile(dir / "PLAIN", "file");
  EXPECT_FALSE(CreateFolderPath("PLAIN\\SUB"));
  EXPECT_TRUE(TestPlainFileExists("plain"));
  EXPECT_FALSE(TestPlainFileExists("missing"));
  EXPECT_FALSE(TestPlainFileExists(""));
}

// --- strings and numbers ----------------------------------------------------------------------

TEST(ShortStrings, SubStringsAndLengths) {
  struct {
    int start, count;
    const char* part;
  } cases[] = {{0, 2, "ab"}, {-5, 1, "a"}, {3, 2, "cd"}, {5, 10, "ef"}, {6, 1, "f"}, {7, 1, ""}, {2, 0, ""}, {2, -1, ""}};
  for (const auto& c : cases) EXPECT_EQ(CopySubString("abcdef", c.start, c.count), c.part) << c.start << "," << c.count;
  std::string s = "abc";
  SetShortStringLength(s, 1);
  EXPECT_EQ(s, "a");
  SetShortStringLength(s, 3);
  EXPECT_EQ(s, "a  ");
  SetShortStringLength(s, 400);
  EXPECT_EQ(s.size(), 255u);
}

TEST(NumberParsing, Integers) {
  struct {
    const char* text;
    int32_t value;
    int16_t code;
  } cases[] = {{"42", 42, 0},          {"  -7", -7, 0},        {"+5", 5, 0},        {"12a", 0, 3},
               {"", 0, 1},             {"   ", 0, 4},          {"-", 0, 2},         {"1 ", 0, 2},
               {"2147483647", INT32_MAX, 0}, {"-2147483648", INT32_MIN, 0}, {"2147483648", 0, 10}, {"1.5", 0, 2}};
  for (const auto& c : cases) {
    int16_t code = -1;
    EXPECT_EQ(ParseIntegerValue(c.text, code), c.value) << "'" << c.text << "'";
    EXPECT_EQ(code, c.code) << "'" << c.text << "'";
  }
}

TEST(NumberParsing, Reals) {
  struct {
    const char* text;
    float value;
    int16_t code;
  } cases[] = {{"1.5", 1.5f, 0},   {" -2.25", -2.25f, 0}, {".5", 0.5f, 0},  {"3.", 3.0f, 0},  {"1e3", 1000.0f, 0},
               {"2.5E-1", 0.25f, 0}, {"1e", 0.0f, 3},    {"abc", 0.0f, 1},  {"", 0.0f, 1},   {"1,5", 0.0f, 2},
               {"4e39", 0.0f, 5},  {".", 0.0f, 2}};
  for (const auto& c : cases) {
    int16_t code = -1;
    EXPECT_FLOAT_EQ(ParseRealValue(c.text, code), c.value) << "'" << c.text << "'";
    EXPECT_EQ(code, c.code) << "'" << c.text << "'";
  }
}

TEST(NumberParsing, ExpressionsReadStrictlyFromLeftToRight) {
  AngleInputDiameter = -40.0f;  // the magnitude counts
  const float factor = float(std::numbers::pi / 360.0 * 40.0);
  struct {
    const char* text;
    float value;
    int16_t code;
  } cases[] = {
      {"", 0.0f, 255},         {"abc", 0.0f, 255},        {"-5", -5.0f, 0},       {"12+3x2", 30.0f, 0},
      {"12+3*2", 30.0f, 0},    {"10,5", 10.5f, 0},        {"10W", 10.0f, 0},      {"W90", 90.0f * factor, 0},
      {"w90", 90.0f * factor, 0}, {"9/2", 4.5f, 0},       {"9:2", 4.5f, 0},       {"/4", 4.0f, 0},
      {"x3", 3.0f, 0},         {"1.5e2", 150.0f, 0},      {"7+", 7.0f, 0},        {"12 ", 12.0f, 0},
      {"1e+5", 5.0f, 0},       {"3+1e", 3.0f, 3},         {"2+.", 2.0f, 2},       {"8/0", 8.0f, 255},
      {"8/0+1", 8.0f, 255},    {"1e38*1e38", 1e38f, 255}, {"  3 - 1 ", 2.0f, 0},
  };
  for (const auto& c : cases) {
    int16_t code = -1;
    EXPECT_FLOAT_EQ(ParseNumberExpression(c.text, code), c.value) << "'" << c.text << "'";
    EXPECT_EQ(code, c.code) << "'" << c.text << "'";
  }
  AngleInputDiameter = 0.0f;
}

TEST_F(SystemServicesTest, TheAngleFactorComesFromParameterBlock14) {
  LoadParamFile();
  ASSERT_NE(ParamImage, nullptr);
  uint8_t head[12] = {};
  GetParamBlock(14, head, sizeof head);
  const float diameter = 25.0f;
  std::memcpy(head + 8, &diameter, sizeof diameter);
  PutParamBlock(14, head, sizeof head);
  LoadAngleInputSetting();
  EXPECT_FLOAT_EQ(AngleInputDiameter, 25.0f);
  int16_t code = -1;
  EXPECT_FLOAT_EQ(ParseNumberExpression("W180", code), float(std::numbers::pi / 2.0 * 25.0));
  OpenParamImage(0);
}

// --- system facts and outside programs -------------------------------------------------------------

TEST(SystemFacts, MemoryAndProgramFile) {
  EXPECT_GT(GetTotalPhysMemory(), 0u);
  EXPECT_EQ(ReadPhysicalMemorySize(), GetTotalPhysMemory());
  std::string name;
  GetProgramFileName(name, 255);
  ASSERT_GE(name.size(), 3u);
  EXPECT_EQ(name.substr(1, 2), ":\\");
  GetProgramFileName(name, 4);
  EXPECT_EQ(name.size(), 4u);
}

// An exit procedure that stays installed: a close message during a wait is
// counted instead of ending the test process.
int CloseMessages = 0;
void CountClose() {
  ExitProc = CountClose;
  ++CloseMessages;
}

TEST_F(SystemServicesTest, WaitingForAProgramEndsWhenTheUserIsBackInTheWindow) {
  UseScript("move 100 100\nwait 10\nmove 101 100\nwait 10\nmove 102 100\nwait 10\n");
  OpenWindowWithDc();
  CloseMessages = 0;
  ExitProc = CountClose;
  WriteHostFile(dir / "MARK", "");
  ChangeDirectory(plat::DosPathOf("/"));
  RunProgramAndWait("/bin/true", 1);
  EXPECT_EQ(CloseMessages, 0);
  EXPECT_GE(MouseX, 100);  // the pointer moved in the window
  // The data folder is the current folder again.
  EXPECT_TRUE(TestPlainFileExists("MARK"));
}

// --- clipboard picture --------------------------------------------------------------------------

TEST_F(SystemServicesTest, ClipboardPictureBecomesTheRasterFile) {
  plat::SetClipboardText("");  // no picture
  ScanRasterWidth = 77;
  ScanRasterHeight = 77;
  EXPECT_FALSE(ClipboardHasBitmap());
  EXPECT_EQ(PasteClipboardToRaster(), 0);
  EXPECT_EQ(ScanRasterWidth, 77);
  EXPECT_FALSE(fs::exists(dir / "Scan0.TMP"));

  plat::TPixelBlock picture;
  picture.width = 10;
  picture.height = 2;
  picture.pixels.assign(20, 0xFFFFFF);
  picture.pixels[0] = 0x000000;  // black at x 0
  picture.pixels[9] = 0x000000;  // and x 9 of the top row
  picture.pixels[13] = 0x010000; // nearly black is not black
  picture.pixels[14] = 0x000000; // x 4 of the second row
  ASSERT_TRUE(plat::SetClipboardPicture(picture));
  EXPECT_TRUE(ClipboardHasBitmap());
  EXPECT_EQ(PasteClipboardToRaster(), 1);
  EXPECT_EQ(ScanRasterWidth, 16);
  EXPECT_EQ(ScanRasterHeight, 2);
  EXPECT_EQ(ReadHostFile(dir / "Scan0.TMP"), std::string("\x80\x40\x08\x00", 4));
  plat::SetClipboardText("");
}

}  // namespace
