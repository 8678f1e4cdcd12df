// Replays the seed corpus of the libFuzzer targets (fuzz/corpus) through the
// same reader calls, plus cut and bit-flipped variants of every seed. Each
// seed must reach its reader: a seed the reader never takes in tests nothing.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/fuzz_replay.h"

namespace {

using TReader = bool (*)(const uint8_t*, size_t);

class FuzzCorpusReplay : public ::testing::TestWithParam<std::pair<const char*, TReader>> {
 protected:
  void SetUp() override {
    readers_ = std::make_unique<torvtest::TFuzzReaderFolder>(true);
    ASSERT_TRUE(readers_->Entered());
    HighestLayer = 3;
    CurrentLayer = 0;
  }
  void TearDown() override { readers_.reset(); }
  std::unique_ptr<torvtest::TFuzzReaderFolder> readers_;
};

TEST_P(FuzzCorpusReplay, SeedsAndTheirVariantsAreRead) {
  const auto seeds = torvtest::ReadCorpusSeeds(GetParam().first);
  ASSERT_FALSE(seeds.empty());
  for (const auto& [name, seed] : seeds) {
    EXPECT_TRUE(GetParam().second(seed.data(), seed.size())) << name << " did not reach its reader";
    for (size_t cut : {size_t(1), seed.size() / 2, seed.size() - 1}) {
      if (cut < seed.size()) GetParam().second(seed.data(), cut);
    }
    std::vector<uint8_t> flipped = seed;
    for (size_t i = 0; i < flipped.size(); i += 7) flipped[i] ^= 0xA5;
    GetParam().second(flipped.data(), flipped.size());
  }
  // The layer files hold whole records whatever came in.
  for (int n = 0; n <= HighestLayer; ++n) {
    const auto size = plat::FileSizeBytes(BuildLayerFileName(n));
    EXPECT_EQ(size < 0 ? 0 : size % 13, 0) << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzCorpusReplay,
                         ::testing::Values(std::make_pair("sld", &fuzzinput::ReadDrawing),
                                           std::make_pair("vector", &fuzzinput::ReadVectorFile),
                                           std::make_pair("relief", &fuzzinput::ReadPackedRelief),
                                           std::make_pair("properties", &fuzzinput::ReadPropertyStore),
                                           std::make_pair("menus", &fuzzinput::ReadMenuFile),
                                           std::make_pair("messages", &fuzzinput::ReadMessageFile),
                                           std::make_pair("bmp", &fuzzinput::ReadBmpFile),
                                           std::make_pair("gif", &fuzzinput::ReadGifFile),
                                           std::make_pair("jpeg", &fuzzinput::ReadJpegFile),
                                           std::make_pair("picture_tables", &fuzzinput::ReadPictureTables),
                                           std::make_pair("font_index", &fuzzinput::ReadFontIndex)),
                         [](const auto& info) { return std::string(info.param.first); });

}  // namespace
