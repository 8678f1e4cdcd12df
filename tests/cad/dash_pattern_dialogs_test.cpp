// The dash pattern dialogs run with scripted keys and clicks: editing the
// lengths (count and total on OK, nothing on Esc), choosing a row and
// storing parameter block 18 only on OK, the sample row drawn, and the dash
// command on the selection.
#include "cad/dash_pattern_dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "dash_test_support.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"

namespace {

TVectorRecord Rec(uint8_t type, float x, float y) { return TVectorRecord{type, x, y, 0.0f}; }

using dashtest::Pattern;

std::string ClickAt(int x, int y) {
  const std::string at = std::to_string(x) + " " + std::to_string(y);
  return "move " + at + "\nclick " + at + " left\n";
}

class TDashScreen : public uitest::TScreen {
 public:
  TDashScreen() {
    InitDataFileSlots();
    InitUndoSlots();
    LoadParamFile();
    StoreHoldsData = 0;
  }
  ~TDashScreen() {
    if (UndoSlots != nullptr)
      for (int i = 0; i < kUndoSlotCount; ++i) ClearUndoSlot(UndoSlots[i]);
    StoreHoldsData = 0;
    CloseOpenDataFileSlots();
    OpenParamImage(0);
  }
  static TDashPatternSet Block() {
    TDashPatternSet set{};
    GetParamBlock(kDashPatternBlock, &set, sizeof set);
    return set;
  }
  static void SetBlock(uint8_t chosen) {
    TDashPatternSet set{};
    set.chosen = chosen;
    set.patterns[0] = Pattern({5, -5});
    set.patterns[1] = Pattern({2, -1, 0, -1});
    set.patterns[2] = Pattern({10, -2});
    set.patterns[3] = Pattern({1});
    PutParamBlock(kDashPatternBlock, &set, sizeof set);
  }
  void WriteRecords(const std::string& name, const std::vector<TVectorRecord>& records) const {
    std::ofstream(Dir() / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  std::vector<TVectorRecord> Records(const std::string& name) const {
    const std::string bytes = ReadFile(name);
    std::vector<TVectorRecord> out(bytes.size() / sizeof(TVectorRecord));
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(TVectorRecord));
    return out;
  }
};

// Chooser geometry (the popup at the window's top left, 416 pixels wide).
int RowY(int k) { return 40 + 24 * k + 8; }
const std::string kClickEdit = ClickAt(58, 150);
const std::string kClickOk = ClickAt(208, 150);
const std::string kClickCancel = ClickAt(358, 150);

TEST(DashPatternDialogs, EditSetsCountAndTotalFromTheLastNonZeroLength) {
  TDashScreen screen;
  TDashPattern p = Pattern({7, -7});
  const auto before = uitest::TScreen::Pixels();
  // Field 1: 5; field 2: -2,5 (comma); PgDn from field 3 to 9: 3; F1.
  uitest::NewScript(screen, "text 5\nkey Enter\ntext -2,5\nkey Enter\nkey PgDn\ntext 3\nkey F1\n");
  ASSERT_TRUE(EditDashPattern(p));
  EXPECT_EQ(uitest::TScreen::Pixels(), before) << "the screen under the dialog comes back";
  EXPECT_FLOAT_EQ(p.lengths[0], 5);
  EXPECT_FLOAT_EQ(p.lengths[1], -2.5f);
  EXPECT_FLOAT_EQ(p.lengths[8], 3);
  EXPECT_EQ(p.count, 9);
  EXPECT_FLOAT_EQ(p.total, 10.5f);
}

TEST(DashPatternDialogs, EditNavigationAndCancel) {
  struct {
    const char* script;
    bool ok;
    int field;  // index that received 9, -1 none
    int count;
  } cases[] = {
      {"key Enter\nkey Enter\nkey Up\ntext 9\nkey F1\n", true, 1, 2},
      {"key PgDn\nkey PgUp\ntext 9\nkey F1\n", true, 0, 2},
      {"key Down\nkey Down\ntext 9\nkey F1\n", true, 11, 12},  // jumps stop at the last field
      {"key Up\ntext 9\nkey F1\n", true, 0, 2},
      {"text 9\nkey Enter\ntext 4\nkey Esc\n", false, -1, 2},
  };
  for (const auto& c : cases) {
    TDashScreen screen;
    TDashPattern p = Pattern({7, -7});
    const TDashPattern original = p;
    uitest::NewScript(screen, c.script);
    EXPECT_EQ(EditDashPattern(p), c.ok) << c.script;
    if (c.field >= 0) {
      EXPECT_FLOAT_EQ(p.lengths[c.field], 9) << c.script;
    }
    if (!c.ok) {
      EXPECT_EQ(std::memcmp(&p, &original, sizeof p), 0) << "Esc leaves the pattern as it was";
    }
    EXPECT_EQ(p.count, c.count) << c.script;
  }
}

TEST(DashPatternDialogs, EditByClicksOnFieldsAndButtons) {
  TDashScreen screen;
  TDashPattern p = Pattern({7, -7});
  // Field 10 is at row 5, column 25; the OK button sits left of the cancel button in the title strip.
  uitest::NewScript(screen, ClickAt(25 * 8 + 20, 5 * 16 + 8) + "text 4\nkey Enter\n" + ClickAt(416 - 48 + 10, 14));
  ASSERT_TRUE(EditDashPattern(p));
  EXPECT_FLOAT_EQ(p.lengths[9], 4);
  EXPECT_EQ(p.count, 10);
  EXPECT_FLOAT_EQ(p.total, 18);
  p = Pattern({7, -7});
  uitest::NewScript(screen, "text 1\nkey Enter\n" + ClickAt(416 - 26 + 10, 14));
  EXPECT_FALSE(EditDashPattern(p));
  EXPECT_FLOAT_EQ(p.lengths[0], 7);
}

TEST(DashPatternDialogs, ChooseStoresTheBlockOnlyOnOk) {
  TDashScreen screen;
  TDashScreen::SetBlock(1);
  TDashPattern chosen{};
  uitest::NewScript(screen, ClickAt(200, RowY(2)) + kClickOk);
  ASSERT_TRUE(ChooseDashPattern(chosen));
  EXPECT_EQ(TDashScreen::Block().chosen, 3);
  EXPECT_FLOAT_EQ(chosen.lengths[0], 10);
  EXPECT_EQ(chosen.count, 2);

  // Cancelled after a row click and an edit: the pattern handed back, the block unchanged.
  TDashScreen::SetBlock(1);
  uitest::NewScript(screen, ClickAt(200, RowY(1)) + kClickEdit + "text 6\nkey F1\n" + kClickCancel);
  EXPECT_FALSE(ChooseDashPattern(chosen));
  EXPECT_FLOAT_EQ(chosen.lengths[0], 6);
  const TDashPatternSet after = TDashScreen::Block();
  EXPECT_EQ(after.chosen, 1);
  EXPECT_FLOAT_EQ(after.patterns[1].lengths[0], 2);

  // An edit kept with OK; Esc and the right button cancel; Enter is OK.
  TDashScreen::SetBlock(4);
  uitest::NewScript(screen, kClickEdit + "text 3\nkey Enter\ntext -1\nkey F1\nkey Enter\n");
  ASSERT_TRUE(ChooseDashPattern(chosen));
  EXPECT_EQ(TDashScreen::Block().patterns[3].count, 2);
  EXPECT_FLOAT_EQ(TDashScreen::Block().patterns[3].total, 4);
  uitest::NewScript(screen, "key Esc\n");
  EXPECT_FALSE(ChooseDashPattern(chosen));
  uitest::NewScript(screen, "click 100 100 right\n");
  EXPECT_FALSE(ChooseDashPattern(chosen));
}

TEST(DashPatternDialogs, ChooseTakesAnUnreadableChoiceAsTheFirstPattern) {
  TDashScreen screen;
  TDashScreen::SetBlock(9);
  TDashPattern chosen{};
  uitest::NewScript(screen, "key Enter\n");
  ASSERT_TRUE(ChooseDashPattern(chosen));
  EXPECT_EQ(TDashScreen::Block().chosen, 1);
  EXPECT_FLOAT_EQ(chosen.lengths[0], 5);
}

TEST(DashPatternDialogs, SampleDrawsEightPeriodsOfDashAndGap) {
  TDashScreen screen;
  const int x1 = 100, y1 = 200, x2 = 508, y2 = 216, y = (y1 + y2) / 2;
  DrawDashPatternSample(x1, y1, x2, y2, Pattern({5, -5}), false);
  int black = 0, runs = 0;
  bool inRun = false;
  for (int x = x1 + 4; x <= x2 - 4; ++x) {
    const bool b = (uitest::TScreen::PixelAt(x, y) & 0xFFFFFF) == 0;
    black += b;
    runs += b && !inRun;
    inRun = b;
  }
  EXPECT_EQ(runs, 8);
  EXPECT_NEAR(black, (x2 - x1 - 8) / 2, 10);
  const uint32_t grey = uitest::TScreen::PixelAt(x1 + 6, y1 + 3);
  DrawDashPatternSample(x1, y1, x2, y2, Pattern({5, -5}), true);
  EXPECT_NE(uitest::TScreen::PixelAt(x1 + 6, y1 + 3), grey) << "the chosen row is highlighted";
  // A pattern that cannot be drawn leaves the box empty.
  TDashPattern empty{};
  DrawDashPatternSample(x1, y1, x2, y2, empty, false);
  for (int x = x1 + 4; x <= x2 - 4; ++x) EXPECT_NE(uitest::TScreen::PixelAt(x, y) & 0xFFFFFF, 0u);
}

TEST(DashPatternDialogs, CommandDashesTheSelection) {
  TDashScreen screen;
  TDashScreen::SetBlock(1);
  const std::vector<TVectorRecord> square = {Rec(11, 0, 0), Rec(10, 20, 0), Rec(10, 20, 20), Rec(10, 0, 20),
                                             Rec(10, 0, 0)};
  screen.WriteRecords(kVectorStoreName, square);
  StoreHoldsData = 1;
  uitest::NewScript(screen, "key Enter\n");
  RunDashLineCommand();
  const auto out = screen.Records(kVectorStoreName);
  int starts = 0;
  for (const auto& r : out) starts += r.type == 11;
  EXPECT_EQ(starts, 8) << "80 mm in periods of 10: eight dashes";
  EXPECT_TRUE(screen.ReadFile("VekAR3.TMP").empty());

  // Cancelled: nothing changes.
  screen.WriteRecords(kVectorStoreName, square);
  uitest::NewScript(screen, "key Esc\n");
  RunDashLineCommand();
  EXPECT_EQ(screen.Records(kVectorStoreName).size(), square.size());
}

TEST(DashPatternDialogs, CommandWithoutSelectionAsksForContours) {
  TDashScreen screen;
  screen.WriteRecords(kVectorStoreName, {Rec(11, 0, 0)});
  StoreHoldsData = 1;
  uitest::NewScript(screen, "key Enter\n");
  RunDashLineCommand();
  EXPECT_NE(screen.ReadFile("transcript.txt").find("Konturen anklicken"), std::string::npos);
  EXPECT_EQ(screen.Records(kVectorStoreName).size(), 1u);
}

// A pattern whose every length is 0 cannot dash: the selection stays.
TEST(DashPatternDialogs, CommandKeepsTheSelectionWhenThePatternCannotBeUsed) {
  TDashScreen screen;
  TDashPatternSet set{};
  set.chosen = 1;
  set.patterns[0].count = 2;
  PutParamBlock(kDashPatternBlock, &set, sizeof set);
  const std::vector<TVectorRecord> line = {Rec(11, 0, 0), Rec(10, 20, 0)};
  screen.WriteRecords(kVectorStoreName, line);
  StoreHoldsData = 1;
  uitest::NewScript(screen, "key Enter\nkey Enter\n");
  RunDashLineCommand();
  EXPECT_EQ(screen.Records(kVectorStoreName).size(), line.size());
  EXPECT_NE(screen.ReadFile("transcript.txt").find("msgbox"), std::string::npos);
}

}  // namespace
