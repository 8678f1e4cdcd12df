// The whole-drawing commands run with scripted forms and picks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "cad/drawing_transforms.h"
#include "cad/snapping.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

TVectorRecord Rec(uint8_t type, float x, float y, float z = 0.0f) { return TVectorRecord{type, x, y, z}; }

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm, the
// parameter image loaded, one drawing layer.
class TCommandScreen : public uitest::TScreen {
 public:
  TCommandScreen() {
    InitDataFileSlots();
    LoadParamFile();
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    SnapRadius = 0;
    HighestLayer = 0;
    CurrentLayer = 0;
    CheckToolRecords = 0;
    Check3DPoints = 0;
    InvalidateSnapPointCache();
  }
  ~TCommandScreen() {
    CloseOpenDataFileSlots();
    OpenParamImage(0);
  }
  void SetLayer(const std::vector<TVectorRecord>& records) const {
    std::ofstream(Dir() / "Layer0.TMP", std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  std::vector<TVectorRecord> Layer() const {
    const std::string bytes = ReadFile("Layer0.TMP");
    std::vector<TVectorRecord> out(bytes.size() / sizeof(TVectorRecord));
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(TVectorRecord));
    return out;
  }
  static std::string Click(double x, double y) {
    const std::string at =
        std::to_string(DrawingArea.x1 + int(x * 2 + 0.5)) + " " + std::to_string(DrawingArea.y2 - int(y * 2 + 0.5));
    return "move " + at + "\nclick " + at + " left\n";
  }
};

const std::vector<TVectorRecord> kFrame = {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 60, 10),
                                           Rec(kRecLinePoint, 60, 30), Rec(kRecLinePoint, 10, 30),
                                           Rec(kRecLinePoint, 10, 10)};

TEST(DrawingCommands, ScaleToAMeasuredWidth) {
  const struct { int kind; float x, y; } cases[] = {
      {kMeasureWidth, 110, 50},   // "MassX": both axes
      {kMeasureXWidth, 110, 30},  // "VerzerrX": x only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    TCommandScreen screen;
    screen.SetLayer(kFrame);
    // Picks near (10, 10) and (60, 10): 50 mm apart; the target is 100.
    screen.UseScript(TCommandScreen::Click(11, 12) + TCommandScreen::Click(59, 12) + "text 100\nkey Enter\n");
    ScaleDrawingToMeasure(c.kind);
    const auto r = screen.Layer();
    ASSERT_EQ(r.size(), kFrame.size());
    EXPECT_NEAR(r[0].x, 10, 1e-4);
    EXPECT_NEAR(r[0].y, 10, 1e-4);
    EXPECT_NEAR(r[2].x, c.x, 1e-4);
    EXPECT_NEAR(r[2].y, c.y, 1e-4);
  }
}

TEST(DrawingCommands, RightClickCancelsTheMeasure) {
  TCommandScreen screen;
  screen.SetLayer(kFrame);
  const std::string before = screen.ReadFile("Layer0.TMP");
  screen.UseScript(TCommandScreen::Click(11, 12) + "move 300 300\nclick 300 300 right\n");
  ScaleDrawingToMeasure(kMeasureWidth);
  EXPECT_EQ(screen.ReadFile("Layer0.TMP"), before);
}

TEST(DrawingCommands, DistortionFactorsAreLimitedAndStored) {
  TCommandScreen screen;
  screen.SetLayer({Rec(kRecContourStart, 100, 10), Rec(kRec3DPoint, 50, 20, -2)});
  screen.UseScript("text 0\nkey Enter\ntext 2\nkey Enter\ntext 1.5\nkey Enter\n");
  DistortDrawingXYZ(false);
  float factors[3] = {};
  GetParamBlock(6, factors, sizeof factors);
  EXPECT_FLOAT_EQ(factors[0], 0.001f);
  EXPECT_FLOAT_EQ(factors[1], 2.0f);
  EXPECT_FLOAT_EQ(factors[2], 1.5f);
  const auto r = screen.Layer();
  EXPECT_NEAR(r[0].x, 0.1, 1e-5);
  EXPECT_NEAR(r[0].y, 20, 1e-5);
  EXPECT_NEAR(r[1].z, -3, 1e-5);
}

TEST(DrawingCommands, PercentScalingTakesTheMagnitude) {
  TCommandScreen screen;
  screen.SetLayer(kFrame);
  screen.UseScript("text -50\nkey Enter\n");
  ScaleDrawingByPercent(false);
  const auto r = screen.Layer();
  EXPECT_NEAR(r[2].x, 30, 1e-4);
  EXPECT_NEAR(r[2].y, 15, 1e-4);
}

TEST(DrawingCommands, MirrorKeepsTheReferenceChoice) {
  TCommandScreen screen;
  screen.SetLayer({Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 30, 20)});
  uint8_t block0[153] = {};
  GetParamBlock(0, block0, sizeof block0);
  block0[138] = 1;
  PutParamBlock(0, block0, sizeof block0);
  screen.UseScript("key F1\n");  // OK with X and the drawing's extent
  MirrorDrawingCommand(false);
  const auto r = screen.Layer();
  ASSERT_EQ(r.size(), 2u);
  // x' = 40 - x, then reversed.
  EXPECT_EQ(r[0].type, kRecContourStart);
  EXPECT_NEAR(r[0].x, 10, 1e-4);
  EXPECT_NEAR(r[0].y, 20, 1e-4);
  EXPECT_NEAR(r[1].x, 30, 1e-4);
  EXPECT_NEAR(r[1].y, 10, 1e-4);
  GetParamBlock(0, block0, sizeof block0);
  EXPECT_EQ(block0[138], 1);
}

TEST(DrawingCommands, RotatePickedLineHorizontal) {
  TCommandScreen screen;
  screen.SetLayer({Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 40, 40)});
  screen.UseScript(TCommandScreen::Click(21, 21) + TCommandScreen::Click(39, 39));
  RotateDrawing(2 + 4);  // horizontal, about the middle of the extent, current layer
  const auto r = screen.Layer();
  EXPECT_NEAR(r[0].y, 30, 1e-4);
  EXPECT_NEAR(r[1].y, 30, 1e-4);
  EXPECT_NEAR(r[1].x - r[0].x, std::sqrt(800.0), 1e-3);
}

TEST(DrawingCommands, ShiftByTypedOffsets) {
  TCommandScreen screen;
  screen.SetLayer(kFrame);
  screen.UseScript("text 5\nkey Enter\ntext -2\nkey Enter\n");
  ShiftDrawing(1);
  const auto r = screen.Layer();
  EXPECT_NEAR(r[0].x, 15, 1e-4);
  EXPECT_NEAR(r[0].y, 8, 1e-4);
}

}  // namespace
