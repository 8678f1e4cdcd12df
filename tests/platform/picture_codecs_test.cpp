// JPEG and GIF files written by the codecs are read by libjpeg-turbo's djpeg
// and giflib's giftext; BMP, GIF and JPEG readers refuse files whose heads
// claim more than they hold.
#include "platform/picture_codecs.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class PictureCodecs : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/torv_codecs_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  // A picture with a colour ramp and a white square.
  static std::vector<uint8_t> Ramp(int w, int h) {
    std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
        const bool square = x >= w / 4 && x < w / 2 && y >= h / 4 && y < h / 2;
        p[0] = square ? 255 : uint8_t(x * 255 / (w - 1));
        p[1] = square ? 255 : uint8_t(y * 255 / (h - 1));
        p[2] = square ? 255 : 40;
      }
    return rgb;
  }
  // Runs the tool with its output in a file; the exit code (-1 when it could not start).
  static int RunTool(const std::vector<std::string>& args, const fs::path& output) {
    pid_t pid = fork();
    if (pid == 0) {
      FILE* out = std::freopen(output.c_str(), "wb", stdout);
      (void)out;
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir;
};

TEST_F(PictureCodecs, JpegIsReadByDjpegAndByUs) {
  const int w = 64, h = 40;
  const auto rgb = Ramp(w, h);
  const std::string file = (dir / "out.jpg").string();
  ASSERT_TRUE(plat::WriteJpegPicture(file, w, h, rgb.data(), 90));
  ASSERT_EQ(RunTool({"djpeg", "-pnm", file}, dir / "out.ppm"), 0) << "djpeg (libjpeg-turbo-progs) must be installed";
  const std::string ppm = Read(dir / "out.ppm");
  EXPECT_EQ(ppm.rfind("P6\n64 40\n255\n", 0), 0u) << ppm.substr(0, 20);
  EXPECT_EQ(ppm.size(), 13u + size_t(w) * h * 3);
  plat::TDecodedPicture back;
  ASSERT_TRUE(plat::ReadJpegPicture(file, back));
  EXPECT_EQ(back.width, w);
  EXPECT_EQ(back.height, h);
  // Lossy, but the white square stays near white.
  const uint8_t* p = &back.pixels[(size_t(15) * w + 24) * 3];
  EXPECT_GT(p[0], 230);
  EXPECT_GT(p[2], 230);
}

TEST_F(PictureCodecs, GifIsReadByGiftextAndByUs) {
  const int w = 50, h = 30;
  const auto rgb = Ramp(w, h);
  const std::string file = (dir / "out.gif").string();
  ASSERT_TRUE(plat::WriteGifPicture(file, w, h, rgb.data()));
  ASSERT_EQ(RunTool({"giftext", file}, dir / "out.txt"), 0) << "giftext (giflib-tools) must be installed";
  const std::string text = Read(dir / "out.txt");
  EXPECT_NE(text.find("Width = 50, Height = 30"), std::string::npos) << text;
  plat::TDecodedPicture back;
  ASSERT_TRUE(plat::ReadGifPicture(file, back));
  EXPECT_EQ(back.width, w);
  EXPECT_EQ(back.height, h);
  ASSERT_TRUE(back.indexed);
  const uint8_t k = back.pixels[size_t(10) * w + 15];  // in the white square
  EXPECT_EQ(back.palette[3 * k], 255);
  EXPECT_EQ(back.palette[3 * k + 1], 255);
  EXPECT_EQ(back.palette[3 * k + 2], 255);
}

TEST_F(PictureCodecs, BmpWrittenAndReadBack) {
  const int w = 7, h = 3;  // rows padded to 4 bytes
  const auto rgb = Ramp(w, h);
  const std::string file = (dir / "out.bmp").string();
  ASSERT_TRUE(plat::WriteBmp24Picture(file, w, h, rgb.data()));
  plat::TDecodedPicture back;
  ASSERT_TRUE(plat::ReadBmpPicture(file, back));
  EXPECT_EQ(back.sourceBits, 24);
  EXPECT_EQ(back.pixels, rgb);
}

TEST_F(PictureCodecs, DamagedFilesAreRefused) {
  const auto rgb = Ramp(20, 20);
  const std::string bmp = (dir / "a.bmp").string(), gif = (dir / "a.gif").string(), jpg = (dir / "a.jpg").string();
  ASSERT_TRUE(plat::WriteBmp24Picture(bmp, 20, 20, rgb.data()));
  ASSERT_TRUE(plat::WriteGifPicture(gif, 20, 20, rgb.data()));
  ASSERT_TRUE(plat::WriteJpegPicture(jpg, 20, 20, rgb.data(), 80));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(plat::ReadFileBytes(bmp, bytes));
  plat::TDecodedPicture out;
  // A head that claims a larger picture than the file holds.
  std::vector<uint8_t> tall = bytes;
  tall[22] = 200;
  EXPECT_FALSE(plat::DecodeBmp(tall, out));
  std::vector<uint8_t> shortened(bytes.begin(), bytes.end() - 10);
  EXPECT_FALSE(plat::DecodeBmp(shortened, out));
  std::vector<uint8_t> wide = bytes;
  wide[21] = 0x7F;  // width far beyond any picture
  EXPECT_FALSE(plat::DecodeBmp(wide, out));
  EXPECT_EQ(out.width, 0);
  // Truncated GIF and JPEG files fail without crashing.
  for (const std::string& name : {gif, jpg}) {
    std::vector<uint8_t> whole;
    ASSERT_TRUE(plat::ReadFileBytes(name, whole));
    std::ofstream(name, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(whole.data()), 30);
  }
  EXPECT_FALSE(plat::ReadGifPicture(gif, out));
  plat::ReadJpegPicture(jpg, out);  // libjpeg may pad a cut file; it must not crash
  EXPECT_FALSE(plat::ReadJpegPicture((dir / "none.jpg").string(), out));
}

TEST_F(PictureCodecs, TableLookupStaysInsideTheTable) {
  // Head, two entries and the end entry, then 4 bytes of data.
  std::vector<uint8_t> table(11 + 44 * 3, 0);
  table[7] = 2;
  auto entry = [&](int i, const std::string& name, int32_t offset) {
    uint8_t* e = &table[11 + 44 * size_t(i)];
    e[0] = uint8_t(name.size());
    std::copy(name.begin(), name.end(), e + 1);
    std::memcpy(e + 40, &offset, 4);
  };
  // Offsets count from 11 + 44 n, so the data behind the end entry starts at 44.
  entry(0, "EINS", 44);
  entry(1, "ZWEI", 45);
  entry(2, "", 48);
  table.insert(table.end(), {1, 2, 3, 4});
  size_t b = 0, e = 0;
  ASSERT_TRUE(plat::FindTablePicture(table, "zwei", b, e));
  EXPECT_EQ(e - b, 3u);
  EXPECT_FALSE(plat::FindTablePicture(table, "drei", b, e));
  entry(2, "", 400);  // end offset past the end of the table
  EXPECT_FALSE(plat::FindTablePicture(table, "ZWEI", b, e));
  table[7] = 200;  // more entries than the table holds
  EXPECT_FALSE(plat::FindTablePicture(table, "EINS", b, e));
}

}  // namespace
