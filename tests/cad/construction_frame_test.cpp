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
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

TVectorRecord Rec(uint8_t type, float x, float y) { return TVectorRecord{type, x, y, 0.0f}; }

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm, no
// snapping; layer 0 is the current layer.
class TLineScreen : public uitest::TScreen {
 public:
  TLineScreen() {
    WorldXMin = 0;
    WorldYMin = 0;
    ViewScaleX = 2;
    ViewScaleY = 2;
    WorldXMax = float(DrawingArea.x2 - DrawingArea.x1) / 2;
    WorldYMax = float(DrawingArea.y2 - DrawingArea.y1) / 2;
    GridSnapOn = 0;
    GuideSnapOn = 0;
    SnapRadius = 0;
    HighestLayer = 0;
    CurrentLayer = 0;
    StoreHoldsData = 0;
    savedLevel_ = SignalLevel;
    SignalLevel = 2;  // one beep per signal
    Write(GetCurrentLayerFileName(), {});
    InvalidateSnapPointCache();
  }
  ~TLineScreen() {
    SignalLevel = savedLevel_;
    StoreHoldsData = 0;
    InvalidateSnapPointCache();
  }
  void Write(const std::string& name, const std::vector<TVectorRecord>& records) const {
    std::ofstream(Dir() / BareName(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  std::vector<TVectorRecord> Read(const std::string& name) const {
    const std::string bytes = ReadFile(BareName(name));
    std::vector<TVectorRecord> out(bytes.size() / sizeof(TVectorRecord));
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(TVectorRecord));
    return out;
  }
  std::vector<TVectorRecord> Layer() const { return Read(GetCurrentLayerFileName()); }
  static std::string BareName(const std::string& name) {
    const size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
  }
  static int ScreenX(double x) { return DrawingArea.x1 + int(std::lround(x * 2)); }
  static int ScreenY(double y) { return DrawingArea.y2 - int(std::lround(y * 2)); }
  // World point of a click at (x, y) after pixel rounding.
  static double WorldX(double x) { return (ScreenX(x) - DrawingArea.x1) / 2.0; }
  static double WorldY(double y) { return (DrawingArea.y2 - ScreenY(y)) / 2.0; }
  static std::string Click(double x, double y, const char* button = "left") {
    const std::string at = std::to_string(ScreenX(x)) + " " + std::to_string(ScreenY(y));
    return "move " + at + "\nclick " + at + " " + button + "\n";
  }
  // Typed numbers and Enter. The wait is taken by the wait for the mouse
  // release that begins a run, so that no typed character is lost to the
  // key buffer being emptied at the prompt.
  static std::string Typed(const char* numbers) { return std::string("wait 1\ntext ") + numbers + "\nkey Enter\n"; }
  void Run(int code) const { RunConstructionCommand(GetCurrentLayerFileName(), code); }

 private:
  uint8_t savedLevel_ = 0;
};

void ExpectRecords(const std::vector<TVectorRecord>& got, const std::vector<TVectorRecord>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "record " << i);
    EXPECT_EQ(got[i].type, want[i].type);
    EXPECT_NEAR(got[i].x, want[i].x, 0.001);
    EXPECT_NEAR(got[i].y, want[i].y, 0.001);
    EXPECT_NEAR(got[i].z, want[i].z, 0.001);
  }
}


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
