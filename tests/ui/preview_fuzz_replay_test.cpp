// Replays the seed corpus of the preview fuzz target (fuzz/corpus/previews)
// through every painter, with cut and bit-flipped variants of each seed:
// nothing crashes and nothing is drawn outside the boxes.
#include <gtest/gtest.h>

#include <vector>

#include "fuzz/preview_inputs.h"
#include "support/fuzz_replay.h"
#include "view/screen_scheme.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

TEST(PreviewFuzzCorpus, SeedsAndTheirVariantsStayInTheirBoxes) {
  TScreen screen;
  InitScreenPalette();
  const auto seeds = torvtest::ReadCorpusSeeds("previews");
  ASSERT_GE(seeds.size(), 7u);
  const auto before = TScreen::Pixels();
  for (const auto& [name, seed] : seeds) {
    fuzzinput::DrawPreviews(seed.data(), seed.size());
    for (size_t cut : {size_t(1), seed.size() / 2, seed.size() - 1}) {
      if (cut < seed.size()) fuzzinput::DrawPreviews(seed.data(), cut);
    }
    std::vector<uint8_t> flipped = seed;
    for (size_t i = 0; i < flipped.size(); i += 7) flipped[i] ^= 0xA5;
    fuzzinput::DrawPreviews(flipped.data(), flipped.size());
    std::vector<uint8_t> high = seed;  // sizes and offsets at their largest
    for (size_t i = 0; i + 1 < high.size() && i < 128; i += 2) high[i + 1] = 0x7F;
    fuzzinput::DrawPreviews(high.data(), high.size());
  }
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 200, 190, MaxX, MaxY), 0);
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 0, 190, MaxX, 195), 0);
}

}  // namespace
