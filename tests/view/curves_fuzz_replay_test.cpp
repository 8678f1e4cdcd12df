// Replays the seed corpus of the curve conversion fuzz target
// (fuzz/corpus/curves), plus cut and bit-flipped variants of every seed and
// every option: each run ends, and the output holds whole records.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fuzz/curve_inputs.h"
#include "support/fuzz_replay.h"

namespace {

class CurvesFuzzReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    readers_ = std::make_unique<torvtest::TFuzzReaderFolder>();
    ASSERT_TRUE(readers_->Entered());
  }
  void TearDown() override { readers_.reset(); }
  bool Run(const uint8_t* data, size_t size) {
    const bool written = fuzzinput::ConvertCurveFile(data, size);
    const auto bytes = plat::FileSizeBytes("FUZZOUT.TMP");
    EXPECT_EQ(bytes < 0 ? 0 : bytes % 13, 0);
    return written;
  }
  std::unique_ptr<torvtest::TFuzzReaderFolder> readers_;
};

TEST_F(CurvesFuzzReplay, SeedsAndTheirVariantsEndWithWholeRecords) {
  const auto seeds = torvtest::ReadCorpusSeeds("curves");
  ASSERT_GE(seeds.size(), 4u);
  for (const auto& [name, seed] : seeds) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(Run(seed.data(), seed.size())) << "the seed wrote nothing";
    for (size_t cut : {size_t(1), seed.size() / 2, seed.size() - 1}) {
      if (cut < seed.size()) Run(seed.data(), cut);
    }
    std::vector<uint8_t> flipped = seed;
    for (size_t i = 1; i < flipped.size(); i += 7) flipped[i] ^= 0xA5;
    Run(flipped.data(), flipped.size());
    for (uint8_t options = 0; options < 4; ++options) {
      std::vector<uint8_t> other = seed;
      other[0] = uint8_t((seed[0] & 0xFC) | options);
      Run(other.data(), other.size());
    }
  }
}

}  // namespace
