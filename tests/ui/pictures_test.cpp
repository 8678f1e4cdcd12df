// Picture tables and picture drawing: extraction by name, refusal of tables
// and BMP files whose heads lie about their sizes, unscaled 8-bit drawing
// with transparency, scaled drawing into a frame, and no work files left.
#include "ui/pictures.h"

#include <cstring>

#include "platform/picture_codecs.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;
namespace fs = std::filesystem;

std::string Put32(uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
  return s;
}

std::string MakeTable(const std::vector<std::pair<std::string, std::string>>& pictures) {
  std::string table(7, '\0');
  table += Put32(uint32_t(pictures.size()));
  uint32_t offset = 44;  // data begins after the end entry
  for (size_t i = 0; i <= pictures.size(); ++i) {
    std::string entry(40, '\0');
    if (i < pictures.size()) {
      entry[0] = char(pictures[i].first.size());
      for (size_t k = 0; k < pictures[i].first.size(); ++k) entry[1 + k] = char(std::toupper(pictures[i].first[k]));
    }
    table += entry + Put32(offset);
    if (i < pictures.size()) offset += uint32_t(pictures[i].second.size());
  }
  for (const auto& p : pictures) table += p.second;
  return table;
}

// An 8-bit BMP: palette entry i = (i, 0, 255 - i) (red, green, blue), pixels rows from the top.
std::string MakeBmp8(int w, int h, const std::vector<uint8_t>& indices) {
  const int row = (w + 3) / 4 * 4;
  std::string b = "BM" + Put32(uint32_t(1078 + row * h)) + Put32(0) + Put32(1078) + Put32(40) + Put32(uint32_t(w)) +
                  Put32(uint32_t(h));
  b += std::string("\x01\x00\x08\x00", 4) + Put32(0) + Put32(uint32_t(row * h)) + Put32(0) + Put32(0) + Put32(256) +
       Put32(0);
  for (int i = 0; i < 256; ++i) b += std::string{char(255 - i), 0, char(i), 0};
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) b += char(indices[size_t(y * w + x)]);
    b += std::string(size_t(row - w), '\0');
  }
  return b;
}

void Write(const TScreen& screen, const std::string& name, const std::string& bytes) {
  std::ofstream(screen.Dir() / name, std::ios::binary) << bytes;
}

uint32_t ColourOfIndex(int i) { return uint32_t(i) << 16 | uint32_t(255 - i); }

TEST(PictureTables, ExtractsByNameInAnyCase) {
  TScreen screen;
  Write(screen, "T.DAT", MakeTable({{"a.gif", "GIF-BYTES"}, {"Zwei.BMP", "BMP"}}));
  EXPECT_TRUE(ExtractTablePicture("T.DAT", "zwei.bmp", "out.bmp"));
  EXPECT_EQ(screen.ReadFile("out.bmp"), "BMP");
  EXPECT_TRUE(ExtractTablePicture("T.DAT", "A.GIF", "out.gif"));
  EXPECT_EQ(screen.ReadFile("out.gif"), "GIF-BYTES");
  EXPECT_FALSE(ExtractTablePicture("T.DAT", "drei.gif", "none.gif"));
  EXPECT_TRUE(fs::exists(screen.Dir() / "none.gif"));
  EXPECT_EQ(fs::file_size(screen.Dir() / "none.gif"), 0u);
}

TEST(PictureTables, LyingHeadsAreRefusedWithoutReadingPastTheEnd) {
  TScreen screen;
  std::string table = MakeTable({{"A.GIF", "GIF-BYTES"}});
  std::string tooMany = table;
  tooMany[7] = char(0x70);  // far more pictures than directory entries
  Write(screen, "many.DAT", tooMany);
  EXPECT_FALSE(ExtractTablePicture("many.DAT", "A.GIF", "o1.gif"));
  EXPECT_EQ(fs::file_size(screen.Dir() / "o1.gif"), 0u);
  std::string pastEnd = table;
  const std::string endOffset = Put32(5000);
  pastEnd.replace(11 + 44 + 40, 4, endOffset);  // the end of the picture beyond the file
  Write(screen, "past.DAT", pastEnd);
  EXPECT_FALSE(ExtractTablePicture("past.DAT", "A.GIF", "o2.gif"));
  EXPECT_EQ(fs::file_size(screen.Dir() / "o2.gif"), 0u);
  Write(screen, "short.DAT", "xyz");
  EXPECT_FALSE(ExtractTablePicture("short.DAT", "A.GIF", "o3.gif"));
}

TEST(PictureTables, TheBuiltTablesHoldTheirPictures) {
  TScreen screen;
  EXPECT_TRUE(ExtractTablePicture(kProgramPictureTableName, "_Info-Marvek.gif", "info.gif"));
  plat::TDecodedPicture info;
  ASSERT_TRUE(plat::ReadGifPicture((screen.Dir() / "info.gif").string(), info));
  EXPECT_EQ(info.width, 393);
  EXPECT_EQ(info.height, 99);
  EXPECT_TRUE(ExtractTablePicture(kProgramPictureTableName, "_MarvekG.BMP", "logo.bmp"));
  plat::TDecodedPicture logo;
  ASSERT_TRUE(plat::ReadBmpPicture((screen.Dir() / "logo.bmp").string(), logo));
  EXPECT_EQ(logo.width, 97);
  EXPECT_EQ(logo.height, 60);
  EXPECT_EQ(logo.sourceBits, 8);
}

TEST(Bmp8Drawing, DrawsUnscaledAndLeavesTransparentPixels) {
  TScreen screen;
  // 3 x 2, top row 10 20 30, bottom row 40 50 60; top-left index 10.
  Write(screen, "p.bmp", MakeBmp8(3, 2, {10, 20, 30, 40, 10, 60}));
  DrawBmp8File("p.bmp", 0, 100, 10, 100, 50, 1.0f);
  EXPECT_EQ(TScreen::PixelAt(100, 50), ColourOfIndex(10));
  EXPECT_EQ(TScreen::PixelAt(102, 50), ColourOfIndex(30));
  EXPECT_EQ(TScreen::PixelAt(100, 51), ColourOfIndex(40));
  const uint32_t under = TScreen::PixelAt(201, 51);
  DrawBmp8File("p.bmp", 256, 200, 10, 100, 50, 1.0f);
  EXPECT_EQ(TScreen::PixelAt(201, 50), ColourOfIndex(20));
  EXPECT_EQ(TScreen::PixelAt(201, 51), under) << "index 10 is transparent";
  // Maximum width and last row cut the picture.
  const uint32_t beside = TScreen::PixelAt(302, 50);
  const uint32_t below = TScreen::PixelAt(300, 51);
  DrawBmp8File("p.bmp", 0, 300, 1, 2, 50, 1.0f);
  EXPECT_EQ(TScreen::PixelAt(302, 50), beside);
  EXPECT_EQ(TScreen::PixelAt(300, 51), below);
}

TEST(Bmp8Drawing, OtherFormatsAndLyingHeadsDrawNothing) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  std::string bmp = MakeBmp8(3, 2, {1, 2, 3, 4, 5, 6});
  std::string bits24 = bmp;
  bits24[28] = 24;
  Write(screen, "b24.bmp", bits24);
  DrawBmp8File("b24.bmp", 0, 10, 100, 100, 10, 1.0f);
  std::string tall = bmp;
  tall.replace(22, 4, Put32(5000));  // rows the file does not hold
  Write(screen, "tall.bmp", tall);
  DrawBmp8File("tall.bmp", 0, 10, 10000, 100, 10, 1.0f);
  Write(screen, "cut.bmp", bmp.substr(0, 600));
  DrawBmp8File("cut.bmp", 0, 10, 100, 100, 10, 1.0f);
  DrawBmp8File("missing.bmp", 0, 10, 100, 100, 10, 1.0f);
  EXPECT_TRUE(TScreen::Pixels() == before);
  EXPECT_EQ(GreyOfRgb(0, 255, 0), 150);
  EXPECT_EQ(GreyOfRgb(0, 0, 255), 28);
  EXPECT_EQ(GreyOfRgbX100(0, 0, 255), 2805);
}

TEST(PictureDrawing, SmallPictureIsDrawnUnscaledAndLargeOneShrunk) {
  TScreen screen;
  Write(screen, "s.BMP", MakeBmp8(2, 2, {1, 2, 3, 4}));
  DrawPictureFileInFrame("s.BMP", TBox{1, 100, 100, 200, 200}, 5);
  EXPECT_EQ(TScreen::PixelAt(105, 105), ColourOfIndex(1));
  EXPECT_EQ(TScreen::PixelAt(106, 106), ColourOfIndex(4));
  std::vector<uint8_t> big(40 * 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) big[size_t(y * 40 + x)] = uint8_t(x < 20 ? 7 : 9);
  Write(screen, "big.bmp", MakeBmp8(40, 40, big));
  const uint32_t outside = TScreen::PixelAt(320, 300);
  DrawPictureFileInFrame("big.bmp", TBox{1, 300, 300, 320, 320}, 0);
  EXPECT_EQ(TScreen::PixelAt(300, 300), ColourOfIndex(7));
  EXPECT_EQ(TScreen::PixelAt(319, 300), ColourOfIndex(9));
  EXPECT_EQ(TScreen::PixelAt(320, 300), outside);
  // A JPEG is drawn in grey levels; an unknown extension draws nothing.
  std::vector<uint8_t> white(8 * 8 * 3, 255);
  ASSERT_TRUE(plat::WriteJpegPicture((screen.Dir() / "w.jpg").string(), 8, 8, white.data(), 95));
  DrawPictureFileInFrame("w.jpg", TBox{1, 400, 400, 450, 450}, 0);
  EXPECT_EQ(TScreen::PixelAt(403, 403), 0xFFFFFFu);
  const auto before = TScreen::Pixels();
  DrawPictureFileInFrame("s.PCX", TBox{1, 100, 100, 200, 200}, 0);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(PictureDrawing, GifFromTheTableLeavesNoWorkFiles) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  DrawPictureFromTable(kProgramPictureTableName, "_Info-Marvek.gif", 10, 1.0f, 200, 400, 60);
  EXPECT_FALSE(TScreen::Pixels() == before);
  EXPECT_FALSE(fs::exists(screen.Dir() / "_BildDat.gif"));
  EXPECT_FALSE(fs::exists(screen.Dir() / "_BildDat.BMP"));
  DrawTablePictureInFrame(kProgramPictureTableName, "_MarvekG.BMP", 500, 100, 600, 160, 0);
  EXPECT_FALSE(fs::exists(screen.Dir() / "_BildDat.BMP"));
}

}  // namespace
