// The construction frame: where a run finds the last point and the contour
// start, the closing test and the catch of the start, the end by the right
// button, the empty-layer rule, the undo step of a run and the frame's own
// editing commands (delete the last contour or point, close the contour).
#include "cad/construction_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "cad/snapping.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "platform/system.h"
#include "cad/construction_screen.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {
using namespace cadtest;

TVectorRecord Line(float x, float y) { return Rec(kRecLinePoint, x, y); }
TVectorRecord Start(float x, float y) { return Rec(kRecContourStart, x, y); }

TEST(ConstructionRun, FindsTheLastPointAndTheStartOfTheLastContour) {
  TLineScreen screen;
  const struct {
    std::vector<TVectorRecord> records;
    uint8_t lastType;
    float lastX;
    uint8_t startType;
    float startX;
    int32_t startIndex;
    uint8_t startNew;
  } cases[] = {
      {{}, 0, 0, 0, 0, 0, 1},  // an empty file begins a new contour
      {{Start(1, 1), Line(5, 1), Start(7, 7), Line(9, 7)}, kRecLinePoint, 9, kRecContourStart, 7, 2, 0},
      // Closed: the next element begins a new contour.
      {{Start(1, 1), Line(5, 1), Line(5, 5), Line(1, 1)}, kRecLinePoint, 1, kRecContourStart, 1, 0, 1},
      // A lone start is no closed contour.
      {{Start(3, 3)}, kRecContourStart, 3, kRecContourStart, 3, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.records.size() << " records");
    screen.Write(GetCurrentLayerFileName(), c.records);
    Construction = TConstructionState{};
    Construction.targetFile = GetCurrentLayerFileName();
    Construction.fileKind = 1;
    OpenConstructionRun();
    EXPECT_EQ(Construction.recordCount, int32_t(c.records.size()));
    EXPECT_EQ(Construction.lastPoint.type, c.lastType);
    EXPECT_FLOAT_EQ(float(Construction.lastPoint.x), c.lastX);
    EXPECT_EQ(Construction.contourStart.type, c.startType);
    EXPECT_FLOAT_EQ(float(Construction.contourStart.x), c.startX);
    EXPECT_EQ(Construction.startIndex, c.startIndex);
    EXPECT_EQ(Construction.startNew, c.startNew);
  }
}

TEST(ConstructionRun, ContourStartIsFoundBeyondTheLastFiveThousandRecords) {
  TLineScreen screen;
  std::vector<TVectorRecord> records{Start(-3, -4)};
  for (int i = 0; i < 6000; ++i) records.push_back(Line(float(i % 50), float(i / 50)));
  screen.Write(GetCurrentLayerFileName(), records);
  Construction = TConstructionState{};
  Construction.targetFile = GetCurrentLayerFileName();
  Construction.fileKind = 1;
  OpenConstructionRun();
  EXPECT_EQ(Construction.contourStart.type, kRecContourStart);
  EXPECT_FLOAT_EQ(float(Construction.contourStart.x), -3.0f);
  EXPECT_EQ(Construction.startIndex, 0);
  EXPECT_FLOAT_EQ(float(Construction.lastPoint.y), float(5999 / 50));
}

TEST(ConstructionRun, TypedPointNearTheStartTakesItsExactPlaceAndFlashes) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Start(10.1f, 10.3f), Line(15.1f, 8.3f)});
  screen.UseScript(TLineScreen::Typed("-5.00002 2.00001"));
  const int beeps = plat::BeepCount();
  screen.Run(114);
  EXPECT_GT(plat::BeepCount(), beeps);
  const std::vector<TVectorRecord> layer = screen.Layer();
  ASSERT_EQ(layer.size(), 3u);
  EXPECT_EQ(layer[2].type, kRecLinePoint);
  EXPECT_EQ(float(layer[2].x), float(layer[0].x));
  EXPECT_EQ(float(layer[2].y), float(layer[0].y));
}

TEST(ConstructionRun, StartCatchesWithinEightPixelsEvenWithASmallerCatchRadius) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Start(10, 10), Line(40, 10), Line(40, 40)});
  SnapRadius = 3;
  // 3.5 mm from the start are 7 pixels.
  screen.UseScript(TLineScreen::Click(13.5, 10));
  screen.Run(105);
  SnapRadius = 0;
  const std::vector<TVectorRecord> layer = screen.Layer();
  ASSERT_EQ(layer.size(), 4u);
  EXPECT_EQ(layer[3].type, kRecLinePoint);
  EXPECT_FLOAT_EQ(float(layer[3].x), 10.0f);
  EXPECT_FLOAT_EQ(float(layer[3].y), 10.0f);
}

TEST(ConstructionRun, EmptyLayerRefusesCodesThatNeedALastPoint) {
  TLineScreen screen;
  // The message box is answered; nothing else is asked.
  screen.UseScript("key Enter\n" + TLineScreen::Typed("5 5"));
  screen.Run(114);
  EXPECT_TRUE(screen.Layer().empty());
  // A line point command on an empty layer asks a start first.
  screen.Run(131);
  ExpectRecords(screen.Layer(), {Start(5, 5)});
}

TEST(ConstructionRun, EveryRunIsOneUndoStep) {
  TLineScreen screen;
  InitUndoSlots();
  screen.Write(GetCurrentLayerFileName(), {Start(1, 1)});
  screen.UseScript(TLineScreen::Typed("4 0"));
  screen.Run(114);
  ExpectRecords(screen.Layer(), {Start(1, 1), Line(5, 1)});
  EXPECT_TRUE(StepUndoRedo(0));
  ExpectRecords(screen.Layer(), {Start(1, 1)});
  ReleaseUndoSlots();
}

TEST(FrameEditing, DeleteLastContourAndLastPoint) {
  TLineScreen screen;
  const std::string layer = GetCurrentLayerFileName();
  const struct { int code; std::vector<TVectorRecord> before, after; } cases[] = {
      {90, {Start(1, 1)}, {}},
      {90, {Start(1, 1), Line(2, 2), Start(3, 3), Line(4, 4), Line(5, 5)}, {Start(1, 1), Line(2, 2)}},
      {91, {Start(1, 1)}, {}},
      {91, {Start(1, 1), Line(2, 2), Line(3, 3)}, {Start(1, 1), Line(2, 2)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << ", " << c.before.size() << " records");
    screen.Write(layer, c.before);
    screen.Run(c.code);
    ExpectRecords(screen.Layer(), c.after);
  }
}

TEST(FrameEditing, DeleteLastContourWithoutAStartInTheTailCutsFiveThousandBack) {
  TLineScreen screen;
  std::vector<TVectorRecord> records{Start(0, 0)};
  for (int i = 0; i < 5100; ++i) records.push_back(Line(float(i), 1));
  screen.Write(GetCurrentLayerFileName(), records);
  screen.Run(90);
  EXPECT_EQ(screen.Layer().size(), records.size() - 5000);
}

TEST(FrameEditing, CloseContourWritesTheStartOnceAndFlashes) {
  TLineScreen screen;
  screen.Write(GetCurrentLayerFileName(), {Start(1, 1), Line(9, 1), Line(9, 6)});
  const int beeps = plat::BeepCount();
  screen.Run(108);
  EXPECT_GT(plat::BeepCount(), beeps);
  screen.Run(236);  // already closed: nothing more
  ExpectRecords(screen.Layer(), {Start(1, 1), Line(9, 1), Line(9, 6), Line(1, 1)});
}

}  // namespace
