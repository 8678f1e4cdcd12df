// The state icons of the menu bar: the current-layer icon follows the first
// 1000 records of the layer file, the icons drawn follow the bits the menu
// bar set, and the action icon adds the time spent in commands to the
// counter of parameter block 0.
#include "commands/state_icons.h"

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "bar_screen.h"
#include "frame/file_helpers.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "model/layer_files.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "platform/system.h"
#include "support/param_image.h"

namespace {

using uitest::TScreen;

// A layer file of count records of type 10, with the given types at the
// given 0-based positions.
void WriteLayer(const TScreen& screen, int layer, int count, const std::vector<std::pair<int, uint8_t>>& special) {
  std::vector<TVectorRecord> records(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) records[size_t(i)] = TVectorRecord{uint8_t(i == 0 ? 11 : 10), float(i), 1.0f, 0.0f};
  for (const auto& [index, type] : special) records[size_t(index)].type = type;
  std::ofstream out(screen.Dir() / ("Layer" + std::to_string(layer) + ".TMP"), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  ASSERT_TRUE(out.good());
}

class StateIcons : public testing::Test {
 protected:
  void SetUp() override {
    paramImage.Install();
    CurrentLayer = 0;
    HighestLayer = 3;
    StateIconFlags = 0;
    ToolLayersPresent = 0;
    PathLayersPresent = 0;
    ActionStartTick = 0;
  }
  void TearDown() override {
    paramImage.Restore();
    StateIconFlags = 0;
    ActionStartTick = 0;
    CurrentLayer = 0;
  }
  int32_t Counter() const {
    int32_t value = 0;
    std::memcpy(&value, paramImage.Image().bytes + GetParamBlockOffset(0) + kCommandTimeOffset, sizeof value);
    return value;
  }
  void SetCounter(int32_t value) {
    std::memcpy(paramImage.Image().bytes + GetParamBlockOffset(0) + kCommandTimeOffset, &value, sizeof value);
  }
  torvtest::TZeroedParamImage paramImage;
};

constexpr uint8_t kAllShown =
    kStateShowCurrentLayer | kStateShowAction | kStateShowToolLayers | kStateShowPathLayers;

TEST_F(StateIcons, TheCurrentLayerIconFollowsTheFirstThousandRecords) {
  TScreen screen;
  const struct {
    const char* what;
    int count;
    std::vector<std::pair<int, uint8_t>> special;
    bool paths;
  } kCases[] = {
      {"plain contour", 5, {}, false},
      {"a 3D point", 5, {{3, 12}}, true},
      {"a tool block at record 1000", 1000, {{999, 150}}, true},
      {"a tool block at record 1001", 1001, {{1000, 150}}, false},
      {"tool block 157", 20, {{7, 157}}, true},
      {"tool block 152 is no path record", 20, {{7, 152}}, false},
      {"empty file", 0, {}, false},
  };
  for (const auto& c : kCases) {
    WriteLayer(screen, 1, c.count, c.special);
    CurrentLayer = 1;
    StateIconFlags = uint8_t(kAllShown | (c.paths ? 0 : kStateLayerHoldsPaths));
    UpdateLayerPathFlag();
    EXPECT_EQ((StateIconFlags & kStateLayerHoldsPaths) != 0, c.paths) << c.what;
    EXPECT_EQ(LayerRecordCounts[1], c.count) << c.what;
    EXPECT_EQ(bartest::PictureDiffers(c.paths ? "_LDGLayer3D" : "_LDGLayer2D", CurrentLayerIconX(), 0), 0) << c.what;
  }
}

TEST_F(StateIcons, AMissingLayerFileChangesNothing) {
  TScreen screen;
  CurrentLayer = 2;
  LayerRecordCounts[2] = 77;
  StateIconFlags = kAllShown | kStateLayerHoldsPaths;
  const auto before = TScreen::Pixels();
  UpdateLayerPathFlag();
  EXPECT_EQ(StateIconFlags, kAllShown | kStateLayerHoldsPaths);
  EXPECT_EQ(LayerRecordCounts[2], 77);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST_F(StateIcons, OnlyTheIconsThatFitAreDrawn) {
  TScreen screen;
  WriteLayer(screen, 0, 3, {});
  // Only the action icon fits: no layer icon, the menu bar keeps its edge.
  StateIconFlags = kStateShowAction;
  MenuBarBox = TButtonRect{1, 0, 0, 500, 25};
  auto before = TScreen::Pixels();
  UpdateLayerPathFlag();
  EXPECT_TRUE(TScreen::Pixels() == before);
  EXPECT_EQ(int(MenuBarBox.x2), 500);

  // All shown: the menu bar ends at the last icon's left edge.
  StateIconFlags = kAllShown;
  ToolLayersPresent = 1;
  PathLayersPresent = 0;
  MenuBarBox.x2 = 900;
  UpdateLayerPathFlag();
  EXPECT_EQ(int(MenuBarBox.x2), PathLayerIconX());
  EXPECT_EQ(bartest::PictureDiffers("_LDGLayer2D", CurrentLayerIconX(), 0), 0);
  EXPECT_EQ(bartest::PictureDiffers("_LDWLayer", ToolLayerIconX(), 0), 0);
  EXPECT_EQ(bartest::PictureDiffers("_LDNotPLayer", PathLayerIconX(), 0), 0);
  EXPECT_EQ(PathLayerIconX(), MaxX + 1 - 102);

  // The tool-layer icon without its bit: the path-layer icon still comes.
  StateIconFlags = kAllShown & ~kStateShowToolLayers;
  ToolLayersPresent = 0;
  PathLayersPresent = 1;
  FillColorRect(0, 0, MaxX, 25, plat::Rgb(1, 2, 3));
  UpdateLayerPathFlag();
  EXPECT_GT(bartest::PictureDiffers("_LDNotWLayer", ToolLayerIconX(), 0), 0);
  EXPECT_EQ(bartest::PictureDiffers("_LDPLayer", PathLayerIconX(), 0), 0);
}

TEST_F(StateIcons, TheActionIconAddsTheCommandTime) {
  TScreen screen;
  StateIconFlags = kStateShowAction;
  SetCounter(1000);
  plat::SleepMs(100);  // the virtual clock starts at 0, which marks "no command"
  DrawActionIcon(1);
  EXPECT_NE(ActionStartTick, 0u);
  EXPECT_EQ(bartest::PictureDiffers("_LDAktion", ActionIconX(), 0), 0);
  plat::SleepMs(5000);
  DrawActionIcon(0);
  EXPECT_GE(Counter(), 6000);
  EXPECT_LE(Counter(), 6002);
  EXPECT_EQ(ActionStartTick, 0u);
  EXPECT_EQ(bartest::PictureDiffers("_LDFrei", ActionIconX(), 0), 0);
  // A second wait without a command adds nothing.
  DrawActionIcon(0);
  EXPECT_LE(Counter(), 6002);
}

TEST_F(StateIcons, ACounterPastTheLimitStartsAgain) {
  TScreen screen;
  StateIconFlags = kStateShowAction;
  SetCounter(kCommandTimeWrap + 1);
  plat::SleepMs(100);
  DrawActionIcon(1);
  plat::SleepMs(5000);
  DrawActionIcon(0);
  EXPECT_GE(Counter(), 5000);
  EXPECT_LE(Counter(), 5002);
  // At the limit itself it goes on counting.
  SetCounter(kCommandTimeWrap);
  DrawActionIcon(1);
  plat::SleepMs(10);
  DrawActionIcon(0);
  EXPECT_GE(Counter(), kCommandTimeWrap + 10);
}

TEST_F(StateIcons, WithoutTheActionIconNothingIsTimed) {
  TScreen screen;
  StateIconFlags = kStateShowCurrentLayer;
  SetCounter(42);
  const auto before = TScreen::Pixels();
  DrawActionIcon(1);
  plat::SleepMs(100);
  DrawActionIcon(0);
  EXPECT_EQ(ActionStartTick, 0u);
  EXPECT_EQ(Counter(), 42);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST_F(StateIcons, TheSideMenuAreaIsClearedToPanelGrey) {
  TScreen screen;
  SidePanelLeft = int16_t(MaxX - 168);
  MenuBarHeight = 51;
  ClearSideMenuArea();
  const uint32_t grey = plat::PixelFromColorRef(plat::Rgb(220, 220, 220)) & 0xFFFFFF;
  EXPECT_EQ(TScreen::PixelAt(SidePanelLeft, 51) & 0xFFFFFF, grey);
  EXPECT_EQ(TScreen::PixelAt(MaxX, MaxY) & 0xFFFFFF, grey);
  EXPECT_NE(TScreen::PixelAt(SidePanelLeft - 1, 60) & 0xFFFFFF, grey);
  EXPECT_NE(TScreen::PixelAt(SidePanelLeft, 50) & 0xFFFFFF, grey);
}

}  // namespace
