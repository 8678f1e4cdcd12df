// A settings file of the right size that holds garbage: the readers of the
// settings keep every size, count, step and table index in range and leave
// the image as it was read; the seed corpus of the settings fuzzer is
// replayed through the same calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "commands/hints.h"
#include "commands/side_menu.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "fuzz/param_inputs.h"
#include "support/fuzz_replay.h"
#include "view/view_transform.h"

namespace {

std::vector<uint8_t> Pattern(int kind) {
  std::vector<uint8_t> bytes(kParamImageSize);
  if (kind < 0) {
    std::fill(bytes.begin(), bytes.end(), uint8_t(-kind));
  } else {
    std::mt19937 random{uint32_t(kind)};
    for (uint8_t& b : bytes) b = uint8_t(random() & 0xFF);
  }
  return bytes;
}

class ParamGarbage : public ::testing::Test {
 protected:
  void SetUp() override {
    readers_ = std::make_unique<torvtest::TFuzzReaderFolder>();
    ASSERT_TRUE(readers_->Entered());
    // The graphic window of the 1024 x 768 screen, at a scale that shows
    // a grid of a few millimetres.
    DrawingArea = TLayoutRect{1, 40, 60, 780, 740};
    ViewScaleX = ViewScaleY = 3.0f;
    WorldXMin = WorldYMin = 0.0f;
  }
  void TearDown() override { readers_.reset(); }
  std::unique_ptr<torvtest::TFuzzReaderFolder> readers_;
};

// Patterns: every byte 0xFF (NaN floats, -1 words), 0x80 (tiny negative
// floats, lowest words), 0x7F (the largest floats and words), 0x00, and
// random bytes from fixed seeds.
TEST_F(ParamGarbage, ReadersKeepTheirValuesInRangeAndTheImageAsRead) {
  for (int kind : {-0xFF, -0x80, -0x7F, 0, 1, 2, 3, 2501}) {
    SCOPED_TRACE(kind);
    const std::vector<uint8_t> bytes = Pattern(kind);
    fuzzinput::LoadParamInput(bytes.data(), bytes.size());
    ASSERT_NE(ParamImage, nullptr);
    ASSERT_EQ(std::memcmp(ParamImage->bytes, bytes.data(), bytes.size()), 0) << "the file is used as it is";
    for (int pass = 0; pass < 2; ++pass) fuzzinput::RunParamReaders();

    EXPECT_LE(HighestLayer, kMaxLayerNumber);
    EXPECT_LE(CurrentLayer, HighestLayer);
    EXPECT_TRUE(std::isfinite(ArcPointsPerRadian) && ArcPointsPerRadian > 0);
    EXPECT_TRUE(std::isfinite(ArcStepAngle) && ArcStepAngle > 0);
    EXPECT_TRUE(PaperColor == 261 || PaperColor == 274 || PaperColor == 511) << PaperColor;
    const float pixel = GetScanPixelSize();
    EXPECT_TRUE(std::isfinite(pixel) && pixel >= 0) << pixel;
    EXPECT_GE(CurrentMenuStyle(), 1);
    EXPECT_LE(CurrentMenuStyle(), 3);
    EXPECT_LE(HintDelayMs(), 3276700u);
    for (int k = 0; k < kNcCommentLines; ++k) EXPECT_LE(GetNcCommentLine(k).size(), size_t(kNcCommentLineMax));
    EXPECT_LE(ToolCaptionPart(199).size(), 35u);
    static TNcSettings settings;
    LoadNcSettings(settings);
    const TNcDialectRecord* record = &GetDialectRecord(settings, settings.CurrentDialect);
    EXPECT_TRUE(record >= settings.DialectRecords && record <= settings.DialectRecords + kNcGenericDialect);
    const float radius = GetCurrentToolCutRadius();
    EXPECT_FALSE(std::isinf(radius)) << radius;
    EXPECT_LE(GridSnapOn, 1);

    // The readers repair nothing in the image: the block of the text line
    // parameters is the one exception, reset to defaults when unreadable.
    const int32_t textFrom = GetParamBlockOffset(38), textTo = GetParamBlockOffset(39);
    for (int32_t at = 0; at < kParamImageSize; ++at) {
      if (at >= textFrom && at < textTo) continue;
      ASSERT_EQ(ParamImage->bytes[at], bytes[size_t(at)]) << "changed at byte " << at;
    }
  }
}

// The seed corpus of the settings fuzzer: each seed of the image's size is
// read into the image as it is and goes through every reader.
TEST_F(ParamGarbage, TheFuzzSeedsReachTheReaders) {
  int read = 0;
  for (const auto& [name, seed] : torvtest::ReadCorpusSeeds("params")) {
    SCOPED_TRACE(name);
    ASSERT_EQ(seed.size(), size_t(kParamImageSize));
    fuzzinput::LoadParamInput(seed.data(), seed.size());
    ASSERT_NE(ParamImage, nullptr);
    EXPECT_EQ(std::memcmp(ParamImage->bytes, seed.data(), seed.size()), 0);
    fuzzinput::ReadParamFile(seed.data(), seed.size());
    EXPECT_LE(HighestLayer, kMaxLayerNumber);
    ++read;
  }
  EXPECT_GE(read, 2);
}

// A file of another size is set aside whole and the defaults are used.
TEST_F(ParamGarbage, AFileOfTheWrongSizeIsKeptAsideAndReplaced) {
  const std::vector<uint8_t> bytes = Pattern(7);
  fuzzinput::LoadParamInput(bytes.data(), 1000);
  EXPECT_EQ(std::filesystem::file_size(readers_->Path() + "/TORVBad.PAR"), 1000u);
  EXPECT_EQ(std::filesystem::file_size(readers_->Path() + "/TORV.PAR"), size_t(kParamImageSize));
  EXPECT_EQ(HighestLayer, 31);
}

}  // namespace
