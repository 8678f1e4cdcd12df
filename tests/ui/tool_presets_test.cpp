// The preset tool grid: the twenty presets, picking one by a click, leaving
// without a change, and the pictures of the tool usage codes.
#include "ui/tool_presets.h"

#include <cstring>

#include "frame/messages.h"
#include "paced_script.h"
#include "ui_screen.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

std::string ToolName(const TToolRecord& t) { return std::string(reinterpret_cast<const char*>(t.name + 1), t.name[0]); }

TEST(ToolPresets, TheTwentyPresets) {
  TScreen screen;  // the names come from the message file
  TToolRecord p[kPresetCount];
  FillToolPresets(p);
  struct {
    int index;
    int16_t message;
    float plunge, tip, angle, ball, shank;
  } cases[] = {
      {0, 2890, 2, 1, 0, 0, 3},         {1, 2890, 3, 1.5f, 0, 0, 3},      {2, 2890, 4, 2, 0, 0, 3},
      {3, 2891, 3, 0.05f, 59, 0, 1.5f}, {4, 2891, 3, 0.05f, 59, 0, 2},    {5, 2892, 0.2f, 0.1f, 20, 0, 2},
      {8, 2892, 0.2f, 0.1f, 25, 0, 2},  {9, 2892, 0.2f, 0.15f, 25, 0, 2}, {10, 2893, 1, 0.05f, 30, 0, 2},
      {14, 2893, 1, 0.8f, 30, 0, 2},    {15, 2894, 0, 0, 25, 0.2f, 2},    {17, 2894, 0, 0, 10, 1, 2},
      {19, 2894, 0, 0, 0, 3, 3},
  };
  for (const auto& c : cases) {
    const TToolRecord& t = p[c.index];
    EXPECT_EQ(ToolName(t), GetMessageText(c.message, -40)) << c.index;
    EXPECT_FALSE(ToolName(t).empty()) << c.index;
    EXPECT_FLOAT_EQ(t.plungeDepth, c.plunge) << c.index;
    EXPECT_FLOAT_EQ(t.tipRadius, c.tip) << c.index;
    EXPECT_FLOAT_EQ(t.angle, c.angle) << c.index;
    EXPECT_FLOAT_EQ(t.ballRadius, c.ball) << c.index;
    EXPECT_FLOAT_EQ(t.shankRadius, c.shank) << c.index;
  }
  for (const TToolRecord& t : p) {
    EXPECT_EQ(t.version, kToolRecordVersion);
    EXPECT_FLOAT_EQ(t.feedXY, 1.0f);
    EXPECT_FLOAT_EQ(t.feedZ, 0.8f);
    EXPECT_FLOAT_EQ(t.spindleSpeed, 40000.0f);
    EXPECT_EQ(t.changeStation, 1);
    EXPECT_EQ(t.colorNumber, 0);
  }
  // Row 1 carries the three further values at bytes 112, 116 and 120.
  EXPECT_FLOAT_EQ(p[1].extra[1], 1.5f);
  EXPECT_FLOAT_EQ(p[4].extra[1], 3.0f);
  EXPECT_FLOAT_EQ(p[0].extra[2], 1.0f);
  EXPECT_FLOAT_EQ(p[0].extra[3], 10.0f);
  TToolRecord defaults{};
  SetToolRecordDefaults(defaults, 0);
  EXPECT_FLOAT_EQ(p[5].extra[1], defaults.extra[1]) << "rows 2-4 keep the defaults there";
}

// Grid at (100, 60): the frame starts at (101, 61); box (row i, column j) at
// (101 + 92 j - 84, 61 + 104 i - 72), 88 x 96.
std::string ClickBox(int i, int j, const char* button = "left") {
  return "click " + std::to_string(101 + 92 * j - 84 + 40) + " " + std::to_string(61 + 104 * i - 72 + 40) + " " +
         button + "\n";
}

TToolRecord RunGrid(const std::string& script, bool& screenBack) {
  TScreen screen;
  NewScript(screen, script);
  const auto before = TScreen::Pixels();
  TToolRecord tool{};
  std::memset(&tool, 0x5A, sizeof tool);
  ShowToolPresetGrid(100, 60, tool);
  screenBack = TScreen::CountChanged(before, TScreen::Pixels(), 95, 55, 585, 515) == 0;
  return tool;
}

TEST(ToolPresets, AClickOnABoxCopiesThatPreset) {
  TToolRecord expected[kPresetCount];
  {
    TScreen names;
    FillToolPresets(expected);
  }
  bool back = false;
  const TToolRecord t = RunGrid(ClickBox(2, 3), back);
  EXPECT_EQ(std::memcmp(&t, &expected[7], sizeof t), 0);
  EXPECT_TRUE(back);
  const TToolRecord last = RunGrid(ClickBox(4, 5), back);
  EXPECT_EQ(std::memcmp(&last, &expected[19], sizeof last), 0);
}

TEST(ToolPresets, CancelLeavesTheToolUnchanged) {
  TToolRecord untouched{};
  std::memset(&untouched, 0x5A, sizeof untouched);
  bool back = false;
  for (const std::string& script : {ClickBox(1, 1, "right"), std::string("key Esc\n"),
                                    std::string("click 567 76 left\n")}) {  // the "Abbruch" button
    const TToolRecord t = RunGrid(script, back);
    EXPECT_EQ(std::memcmp(&t, &untouched, sizeof t), 0) << script;
    EXPECT_TRUE(back) << script;
  }
}

TEST(ToolPresets, PicturesOfTheUsageCodes) {
  struct {
    uint8_t code;
    const char* key;
  } cases[] = {{0, "leer"},          {255, "leer"},       {10, "Stempel"},     {15, "SpiegelFl"},
               {20, "Projektionen"}, {23, "Projektionen"}, {21, "PSchraege"},  {22, "PSchraege"},
               {24, "PPolyRad"},     {25, "PSattel"},     {26, "PEllipse"},    {27, "leer"},
               {28, "PLiegKegel"},   {29, "PPolylinie"},  {30, "PPolylinie"},  {31, "PStuetzpkt"},
               {32, "PPolyring"},    {33, "PStuetzpkt"},  {40, "Relief"},      {50, "FrKorr2D"},
               {60, "SCHRAUSS"},     {70, "Bohrung"},     {80, "IMPORT"},      {81, "leer"}};
  for (const auto& c : cases) {
    std::string key = "x";
    GetToolTypePicture(c.code, key);
    EXPECT_EQ(key, c.key) << int(c.code);
  }
}

}  // namespace
