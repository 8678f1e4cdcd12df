// Replays the seed corpus of the offset fuzz target (fuzz/corpus/offset)
// through the whole offset chain, plus cut and bit-flipped variants of every
// seed: each run ends with a result or a numbered error, and every file it
// writes holds whole records.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fuzz/offset_inputs.h"
#include "support/fuzz_replay.h"

namespace {

class OffsetFuzzReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    readers_ = std::make_unique<torvtest::TFuzzReaderFolder>();
    ASSERT_TRUE(readers_->Entered());
  }
  void TearDown() override { readers_.reset(); }
  void Run(const uint8_t* data, size_t size) {
    const TErrorCode result = fuzzinput::OffsetContours(data, size);
    EXPECT_TRUE(fuzzinput::IsOffsetChainResult(result)) << result;
    EXPECT_EQ(ErrorCode, 0);
    for (const char* name : {"FUZZOUT.TMP", "FUZZJOIN.TMP", "FUZZCHN.TMP", "VekAR1.Eck", "VekAR12.TMP"}) {
      const auto bytes = plat::FileSizeBytes(name);
      EXPECT_EQ(bytes < 0 ? 0 : bytes % 13, 0) << name;
    }
    for (const char* name : {"VekAR6.TMP", "VekAR7.TMP"}) {
      const auto bytes = plat::FileSizeBytes(name);
      EXPECT_EQ(bytes < 0 ? 0 : bytes % 25, 0) << name;
    }
  }
  std::unique_ptr<torvtest::TFuzzReaderFolder> readers_;
};

TEST_F(OffsetFuzzReplay, SeedsAndTheirVariantsEndWithAResultOrANumberedError) {
  const auto seeds = torvtest::ReadCorpusSeeds("offset");
  ASSERT_GE(seeds.size(), 4u);
  for (const auto& [name, seed] : seeds) {
    Run(seed.data(), seed.size());
    for (size_t cut : {size_t(1), seed.size() / 2, seed.size() - 1}) {
      if (cut < seed.size()) Run(seed.data(), cut);
    }
    std::vector<uint8_t> flipped = seed;
    for (size_t i = 1; i < flipped.size(); i += 7) flipped[i] ^= 0xA5;
    Run(flipped.data(), flipped.size());
    for (uint8_t settings = 0; settings < 8; ++settings) {
      std::vector<uint8_t> other = seed;
      other[0] = uint8_t((seed[0] & 0x80) | (settings * 13));
      Run(other.data(), other.size());
    }
  }
}

// The square seed offset outward gives a path: the chain works end to end.
// Its corner file stays empty (the path lies on the offset lines everywhere),
// so the corner joiner's 100 is the run's result.
TEST_F(OffsetFuzzReplay, SquareSeedGivesAPath) {
  std::ifstream in(std::filesystem::path(TORV_SOURCE_DIR) / "fuzz" / "corpus" / "offset" / "square.bin", std::ios::binary);
  const std::vector<uint8_t> seed((std::istreambuf_iterator<char>(in)), {});
  ASSERT_FALSE(seed.empty());
  EXPECT_EQ(fuzzinput::OffsetContours(seed.data(), seed.size()), 100);
  EXPECT_EQ(plat::FileSizeBytes("VekAR12.TMP"), 0);
  EXPECT_GE(plat::FileSizeBytes("FUZZOUT.TMP"), 8 * 13);
  EXPECT_GE(plat::FileSizeBytes("FUZZJOIN.TMP"), 8 * 13);
}

}  // namespace
