// Decoding packed relief files.
#include "ui/packed_relief_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/window.h"
#include "support/work_folder.h"

namespace {

class PackedReliefTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    CommandRunning = true;  // the used-up script only raises the close request
  }
  void TearDown() override {
    CommandRunning = false;
    CloseRequested = false;
    ReleaseWindowDc();
    plat::CloseWindow();
    ErrorCode = 0;
    work_.reset();
  }
  std::string Host(const std::string& name) const { return work_->Path() + "/" + name; }
  void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(Host(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  std::vector<uint8_t> ReadFile(const std::string& name) const {
    std::ifstream in(Host(name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  // Header tags for rows x cells with the cell format.
  static std::vector<uint8_t> Header(int16_t rows, int16_t cells, uint8_t format) {
    std::vector<uint8_t> h = {1, 7, 0, 2, format, 0};
    h.insert(h.end(), {3, uint8_t(rows), uint8_t(rows >> 8), 4, uint8_t(cells), uint8_t(cells >> 8)});
    h.insert(h.end(), {5, 0, 0, 6, 100, 0, 13, 3, 'a', 'b', 'c', 60});
    return h;
  }
  static std::vector<int16_t> Cells(const std::vector<uint8_t>& file) {
    std::vector<int16_t> cells((file.size() - kReliefHeaderSize) / 2);
    if (!cells.empty()) memcpy(cells.data(), file.data() + kReliefHeaderSize, cells.size() * 2);
    return cells;
  }
  static int16_t HeaderWord(const std::vector<uint8_t>& file, int offset) {
    int16_t v;
    memcpy(&v, file.data() + offset, 2);
    return v;
  }
  std::unique_ptr<torvtest::TWorkFolder> work_;
};

TEST_F(PackedReliefTest, RowsOfRunsRepeatsAndRawCells) {
  auto f = Header(3, 4, 0);
  // Row 1: start 10, deltas +1 -2 +5 (the run is longer than the row: the
  // rest of its bytes are read as stream bytes: 0x82 a repeat run of 3 that the
  // full row drops).
  f.insert(f.end(), {0, 10, 0, 64 + 3, 1, 0xFE, 5, 0x82});
  // Row 2: start 7 and a repeat run of 3; row 3: that row repeated.
  f.insert(f.end(), {0, 7, 0, 128 + 2, 11});
  WriteFile("R.HRP", f);
  DecodePackedReliefFile("R.HRP", "R.TMR");
  const auto out = ReadFile("R.TMR");
  ASSERT_EQ(out.size(), static_cast<size_t>(kReliefHeaderSize + 3 * 4 * 2));
  EXPECT_EQ(out[0], 7);
  EXPECT_EQ(HeaderWord(out, 2), 3);
  EXPECT_EQ(HeaderWord(out, 4), 4);
  EXPECT_EQ(out[55], 3);
  EXPECT_EQ(std::string(out.begin() + 56, out.begin() + 59), "abc");
  EXPECT_EQ(Cells(out), (std::vector<int16_t>{10, 11, 9, 14, 7, 7, 7, 7, 7, 7, 7, 7}));
}

TEST_F(PackedReliefTest, TheRangeIsComputedWhenAsked) {
  auto f = Header(2, 2, 255);
  f.insert(f.end(), {0, 0xF6, 0xFF, 64, 30, 0, 5, 0, 64, 0xFF});  // -10, 20 / 5, 4
  WriteFile("R.HRP", f);
  DecodePackedReliefFile("R.HRP", "R.TMR");
  const auto out = ReadFile("R.TMR");
  ASSERT_EQ(out.size(), static_cast<size_t>(kReliefHeaderSize + 8));
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(HeaderWord(out, 6), -10);
  EXPECT_EQ(HeaderWord(out, 8), 20);
  // A flat relief: lowest = highest.
  f = Header(1, 2, 255);
  f.insert(f.end(), {0, 5, 0, 128});
  WriteFile("F.HRP", f);
  DecodePackedReliefFile("F.HRP", "F.TMR");
  const auto flat = ReadFile("F.TMR");
  ASSERT_EQ(flat.size(), static_cast<size_t>(kReliefHeaderSize + 4));
  EXPECT_EQ(HeaderWord(flat, 6), 5);
  EXPECT_EQ(HeaderWord(flat, 8), 5);
}

TEST_F(PackedReliefTest, LyingHeadersAreBounded) {
  // More rows in the stream than the header counts: only the counted rows.
  auto f = Header(1, 2, 0);
  f.insert(f.end(), {0, 1, 0, 128, 0, 2, 0, 128, 0, 3, 0, 128});
  WriteFile("R.HRP", f);
  DecodePackedReliefFile("R.HRP", "R.TMR");
  EXPECT_EQ(ReadFile("R.TMR").size(), static_cast<size_t>(kReliefHeaderSize + 4));
  // No row length or a negative one: the header alone.
  for (int16_t cells : {int16_t(0), int16_t(-5)}) {
    f = Header(3, cells, 0);
    f.insert(f.end(), {0, 1, 0, 128 + 63, 0, 2, 0});
    WriteFile("N.HRP", f);
    DecodePackedReliefFile("N.HRP", "N.TMR");
    EXPECT_EQ(ReadFile("N.TMR").size(), static_cast<size_t>(kReliefHeaderSize)) << cells;
  }
  // An incomplete row before a row command stops with what was written.
  f = Header(2, 4, 0);
  f.insert(f.end(), {0, 1, 0, 128, 0, 2, 0, 128 + 3});
  WriteFile("I.HRP", f);
  DecodePackedReliefFile("I.HRP", "I.TMR");
  EXPECT_EQ(ReadFile("I.TMR").size(), static_cast<size_t>(kReliefHeaderSize + 8));
  // A file of one byte gives nothing.
  WriteFile("O.HRP", {1});
  DecodePackedReliefFile("O.HRP", "O.TMR");
  EXPECT_FALSE(std::filesystem::exists(Host("O.TMR")));
}

TEST_F(PackedReliefTest, HostileFilesGiveBoundedOutput) {
  std::mt19937 random(11);
  for (int i = 0; i < 40; ++i) {
    std::vector<uint8_t> f(random() % 5000);
    for (auto& b : f) b = static_cast<uint8_t>(random());
    if (i % 2 == 0 && f.size() > 20) {
      const auto h = Header(static_cast<int16_t>(random()), static_cast<int16_t>(random() % 300), random() % 2 ? 255 : 0);
      std::copy(h.begin(), h.end(), f.begin());
    }
    WriteFile("H.HRP", f);
    DecodePackedReliefFile("H.HRP", "H.TMR");
    if (f.size() <= 1) continue;
    const auto out = ReadFile("H.TMR");
    ASSERT_GE(out.size(), static_cast<size_t>(kReliefHeaderSize)) << i;
    const int16_t rows = HeaderWord(out, 2), cells = HeaderWord(out, 4);
    const size_t body = out.size() - kReliefHeaderSize;
    if (rows <= 0 || cells <= 0) {
      EXPECT_EQ(body, 0u) << i;
    } else {
      EXPECT_EQ(body % (2 * cells), 0u) << i;
      EXPECT_LE(body / (2 * cells), static_cast<size_t>(rows)) << i;
    }
    ErrorCode = 0;
  }
}

}  // namespace
