// The import/export formats by command code and their dispatcher: the DIN/ISO
// codes reach their exports, every other code is left alone except for the
// cleared graphic area of the export range and the pending error.
#include "exchange/format_registry.h"

#include <gtest/gtest.h>

#include "frame/defaults.h"
#include "frame/program_state.h"
#include "tests/ui/ui_screen.h"

namespace {

using uitest::TScreen;

TEST(FormatRegistry, TheDinIsoCodesReachTheirExports) {
  const TExchangeFormat* repeat = FindExchangeFormat(3107);
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(repeat->writer, &WriteDinIsoProgram);
  EXPECT_EQ(repeat->reader, nullptr);
  const TExchangeFormat* automatic = FindExchangeFormat(3112);
  ASSERT_NE(automatic, nullptr);
  EXPECT_EQ(automatic->writer, &WriteDinIsoAutoProgram);
  EXPECT_EQ(automatic->reader, nullptr);
}

// Codes without a format are not handled; those of the export range still
// clear the graphic area below the top bar, the others draw nothing.
TEST(FormatRegistry, CodesWithoutAFormatAreNotHandled) {
  TScreen screen;
  ASSERT_GT(MenuBarHeight, 18);
  for (TCommandCode code : {0, 1, 3099, 3100, 3106, 3108, 3111, 3113, 3120, 3249, 3250, 9999}) {
    ASSERT_EQ(FindExchangeFormat(code), nullptr) << code;
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(10, 20, 30));
    const std::vector<uint32_t> before = TScreen::Pixels();
    CommandWord = code;
    EXPECT_FALSE(DispatchImportExport("JOB.TMP", 0)) << code;
    const std::vector<uint32_t> after = TScreen::Pixels();
    const int changed = TScreen::CountChanged(before, after, 0, 17, 200, MenuBarHeight - 1);
    if (code >= 3100 && code <= 3249) {
      EXPECT_GT(changed, 0) << code << ": the export range clears the graphic area";
    } else {
      EXPECT_EQ(after, before) << code;
    }
  }
  CommandWord = 0;
}

// A pending file error is reported after the code, handled or not.
TEST(FormatRegistry, APendingErrorIsReportedLast) {
  TScreen screen("key Enter\n");
  CommandWord = 3120;
  ErrorCode = 1002;
  EXPECT_FALSE(DispatchImportExport("JOB.TMP", 0));
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_FALSE(screen.ReadFile("transcript.txt").empty()) << "the error's message box";
  CommandWord = 0;
}

}  // namespace
