// File-name helpers and quiet file helpers.
#include "frame/quiet_files.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/work_folder.h"
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/window.h"
#include "platform/files.h"
#include "support/host_files.h"

namespace {

using torvtest::ReadHostFile;

class QuietFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    folder_ = work_->Path();
    ASSERT_TRUE(work_->Entered());
    ErrorCode = 0;
  }
  void TearDown() override {
    ErrorCode = 0;
    work_.reset();
  }
  std::string Host(const std::string& name) const { return folder_ + "/" + name; }
  // Nothing quiet may show a box or write the journal.
  void ExpectSilence() const {
    EXPECT_FALSE(std::filesystem::exists(Host("MENUREC.TXT")));
    EXPECT_FALSE(std::filesystem::exists(Host("transcript.txt")));
  }
  std::string folder_;
  std::unique_ptr<torvtest::TWorkFolder> work_;
};

std::string Part(const std::string& path, char letter) {
  std::string result = "untouched";
  ExtractFileNamePart(path, letter, result);
  return result;
}

TEST(FileNames, PartsOfAPath) {
  const struct { const char* path; const char* folder; const char* extension; const char* base; } cases[] = {
      {"C:\\DIR\\A.B.C", "C:\\DIR\\", ".C", "A"},
      {"NAME", "", "", "NAME"},
      {"C:\\D.X\\NAME", "C:\\D.X\\", "", "NAME"},
      {"C:NAME.TMP", "C:", ".TMP", "NAME"},
      {"SUB\\Layer3.TMP", "SUB\\", ".TMP", "Layer3"},
      {"C:\\DIR\\", "C:\\DIR\\", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Part(c.path, 'D'), c.folder) << c.path;
    EXPECT_EQ(Part(c.path, 'E'), c.extension) << c.path;
    EXPECT_EQ(Part(c.path, 'N'), c.base) << c.path;
    EXPECT_EQ(GetFileBaseName(c.path), c.base) << c.path;
  }
  EXPECT_EQ(Part("C:\\A.B", 'X'), "untouched");
}

TEST(FileNames, SplitCutsEachPart) {
  std::string folder, extension, name;
  SplitPathParts("C:\\LONGFOLDER\\FILENAME.TXT", folder, extension, name, 5, 3, 4);
  EXPECT_EQ(folder, "C:\\LO");
  EXPECT_EQ(extension, ".TX");
  EXPECT_EQ(name, "FILE");
}

TEST(FileNames, BakNameKeepsTheTextBeforeTheFirstPoint) {
  EXPECT_EQ(MakeBakFileName("C:\\DIR\\A.B.C"), "C:\\DIR\\A.BAK");
  EXPECT_EQ(MakeBakFileName("EIGENSCH.TMP"), "EIGENSCH.BAK");
}

TEST_F(QuietFilesTest, PatternsAreSearchedOnlyByTheQuietTest) {
  EXPECT_FALSE(TestFileExistsQuiet("*.TMR"));
  std::ofstream(Host("RELAR0.TMR")).close();
  EXPECT_TRUE(TestFileExistsQuiet("*.TMR"));
  EXPECT_TRUE(TestFileExistsQuiet("RELAR0.*"));
  EXPECT_FALSE(FileExistsPlain("*.TMR"));
  EXPECT_TRUE(FileExistsPlain("relar0.tmr"));
  EXPECT_FALSE(TestFileExistsQuiet("R?LAR0.TMR")) << "only a bare name * or an extension .* searches";
  EXPECT_FALSE(TestFileExistsQuiet(""));
  ExpectSilence();
}

TEST_F(QuietFilesTest, SizesDeletesAndCreatesWithoutMessages) {
  EXPECT_EQ(GetFileByteSizeQuiet(""), 0);
  EXPECT_EQ(GetFileByteSizeQuiet("MISSING.TMP"), 0);
  DeleteFileQuiet("MISSING.TMP");
  std::ofstream(Host("A.TMP")) << "12345";
  EXPECT_EQ(GetFileByteSizeQuiet("A.TMP"), 5);
  EXPECT_EQ(GetFileByteSizeQuiet("*.TMP"), 5);
  CreateEmptyFileQuiet("A.TMP");
  EXPECT_EQ(GetFileByteSizeQuiet("A.TMP"), 0);
  DeleteFileQuiet("A.TMP");
  EXPECT_FALSE(std::filesystem::exists(Host("A.TMP")));
  CreateEmptyFileQuiet("NOSUCH\\B.TMP");
  EXPECT_EQ(plat::IoResult(), 0) << "errors do not stay pending";
  ExpectSilence();
}

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
  return bytes;
}

TEST_F(QuietFilesTest, CopyFileBytesCopiesEverySize) {
  for (size_t size : {size_t(0), size_t(1), size_t(65534), size_t(65535), size_t(65536), size_t(3 * 65535 + 17)}) {
    const std::string bytes = Pattern(size);
    std::ofstream(Host("SRC.BIN"), std::ios::binary) << bytes;
    CopyFileBytes("SRC.BIN", "DST.BIN", false);
    EXPECT_EQ(ReadHostFile(Host("DST.BIN")), bytes) << size;
  }
  ExpectSilence();
}

TEST_F(QuietFilesTest, CopyFileBytesAppends) {
  std::ofstream(Host("SRC.BIN"), std::ios::binary) << "world";
  std::ofstream(Host("DST.BIN"), std::ios::binary) << "hello ";
  CopyFileBytes("SRC.BIN", "DST.BIN", true);
  EXPECT_EQ(ReadHostFile(Host("DST.BIN")), "hello world");
}

TEST_F(QuietFilesTest, CopyFileBytesOntoItself) {
  const std::string bytes = Pattern(70000);
  std::ofstream(Host("SELF.BIN"), std::ios::binary) << bytes;
  CopyFileBytes("SELF.BIN", "self.bin", false);
  EXPECT_EQ(ReadHostFile(Host("SELF.BIN")), bytes) << "creating the target must not empty the source";
  CopyFileBytes("SELF.BIN", "SELF.BIN", true);
  EXPECT_EQ(ReadHostFile(Host("SELF.BIN")), bytes + bytes) << "appended once, not without end";
}

TEST_F(QuietFilesTest, CopyFromAMissingFileCreatesNothing) {
  CopyFileBytes("MISSING.BIN", "DST.BIN", false);
  EXPECT_FALSE(std::filesystem::exists(Host("DST.BIN")));
  ExpectSilence();
}

TEST(Values, ParseExtendedValue) {
  const struct { const char* text; long double value; int position; } cases[] = {
      {"12.5", 12.5L, 0}, {"-3e2", -300.0L, 0}, {"  7", 7.0L, 0}, {".5", 0.5L, 0}, {"+4.", 4.0L, 0},
      {"1x", 0, 2},       {"", 0, 1},           {"1e", 0, 3},     {"-", 0, 2},   {"3 ", 0, 2},
      {"1.5E-3", 0.0015L, 0},
  };
  for (const auto& c : cases) {
    int position = -1;
    const long double value = ParseExtendedValue(c.text, position);
    EXPECT_EQ(position, c.position) << '"' << c.text << '"';
    if (c.position == 0) {
      EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value), 1e-12) << c.text;
    }
  }
}

TEST(Values, DriveFreeBytesAreClampedAndInvalidDrivesRefused) {
  const int64_t free = GetDriveFreeBytes(0);
  EXPECT_GE(free, 0);
  EXPECT_LE(free, 2147483647);
  EXPECT_EQ(GetDriveFreeBytes(-1), -1);
  EXPECT_EQ(GetDriveFreeBytes(27), -1);
}

// --- icon painter -------------------------------------------------------------------------------------

class ArrowIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TORV_VIDEO", "headless", 1);
    unsetenv("TORV_SCRIPT");
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    FillColorRect(0, 0, 200, 200, plat::Rgb(255, 255, 255));
  }
  void TearDown() override {
    ReleaseWindowDc();
    plat::CloseWindow();
  }
  uint32_t Pixel(int x, int y) const {
    const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)];
  }
  // The 16 x 16 square at (x, y) as rows of '#' (black) and '.' (light grey).
  std::vector<std::string> Square(int x, int y) const {
    std::vector<std::string> rows;
    for (int row = 0; row < 16; ++row) {
      std::string line;
      for (int column = 0; column < 16; ++column) {
        const uint32_t pixel = Pixel(x + column, y + row);
        line += pixel == plat::Rgb(0, 0, 0) ? '#' : pixel == plat::Rgb(192, 192, 192) ? '.' : '?';
      }
      rows.push_back(line);
    }
    return rows;
  }
};

TEST_F(ArrowIcon, StepsAndTransposeGiveTheOrientations) {
  uint8_t pattern[16][16];
  std::memset(pattern, 15, sizeof pattern);
  pattern[0][1] = 0;   // row 0, column 1
  pattern[2][0] = 14;  // row 2, column 0
  const struct { int columnStep, rowStep; bool transpose; int x1, y1, x2, y2; } cases[] = {
      {1, 1, false, 1, 0, 0, 2},     // as the pattern lies
      {-1, 1, false, 14, 0, 15, 2},  // columns from 15 down
      {1, 0, false, 1, 15, 0, 13},   // rows from 15 down
      {1, 1, true, 0, 1, 2, 0},      // rows and columns exchanged
  };
  for (const auto& c : cases) {
    DrawArrowIcon16(pattern, c.columnStep, c.rowStep, true, c.transpose, 20, 30);
    const std::vector<std::string> square = Square(20, 30);
    int black = 0;
    for (const std::string& row : square) black += int(std::count(row.begin(), row.end(), '#'));
    EXPECT_EQ(black, 2);
    EXPECT_EQ(square[size_t(c.y1)][size_t(c.x1)], '#') << c.columnStep << c.rowStep << c.transpose;
    EXPECT_EQ(square[size_t(c.y2)][size_t(c.x2)], '#') << c.columnStep << c.rowStep << c.transpose;
  }
}

TEST_F(ArrowIcon, HiddenIconIsAPlainGreySquare) {
  uint8_t pattern[16][16];
  std::memset(pattern, 0, sizeof pattern);
  DrawArrowIcon16(pattern, 1, 1, false, false, 40, 50);
  for (const std::string& row : Square(40, 50)) EXPECT_EQ(row, std::string(16, '.'));
  EXPECT_EQ(Pixel(56, 50), plat::Rgb(255, 255, 255)) << "nothing beside the square";
  EXPECT_EQ(Pixel(40, 66), plat::Rgb(255, 255, 255));
}

}  // namespace
