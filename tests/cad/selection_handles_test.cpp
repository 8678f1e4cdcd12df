// The selection handles: reference points, the handle boxes, the scale and
// move drags with scripted mouse input, and the guide-line snap of a box.
#include "cad/selection_handles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cad/snapping.h"
#include "frame/data_slots.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "geometry_test_support.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "param_world_screen.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/screen_scheme.h"
#include "view/view_transform.h"

namespace {

using geomtest::ReadRaw;
using geomtest::Rec;
using geomtest::WriteRaw;

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm.
class THandleScreen : public cadtest::TParamWorldScreen {
 public:
  THandleScreen() {
    HandlesSwitch = 1;
    savedBand_ = BandColor;
    BandColor = 261;  // white: every xor picture shows on the screen
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
    TGuideLineBlock block;
    ClearGuideLines(block);
    WriteGuideLineBlock(block);
    UpdateGuideSnapFlag(block);
    InvalidateSnapPointCache();
  }
  // The slots, the parameter image and the guide-line snap go after these.
  ~THandleScreen() {
    BandColor = savedBand_;
    StoreHoldsData = 0;
    MouseButtonState = 0;
    MouseKeyFlags = 0;
  }
  static int Sx(double x) { return DrawingArea.x1 + int(x * 2 + 0.5); }
  static int Sy(double y) { return DrawingArea.y2 - int(y * 2 + 0.5); }
  static std::string At(double x, double y) { return std::to_string(Sx(x)) + " " + std::to_string(Sy(y)); }
  // Presses the left button on the pixel, moves in steps to (x, y) and lets go.
  static std::string Drag(int px, int py, double x, double y) {
    const std::string from = std::to_string(px) + " " + std::to_string(py);
    return "press " + from + " left\nmove " + At(x - 1, y) + "\nmove " + At(x, y) + "\nrelease " + At(x, y) +
           " left\n";
  }
  // The square (20, 20) .. (30, 30) with an arc, a layer record and a tool
  // record in the store, its handles shown.
  void SelectSquare() {
    WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 30, 20), Rec(kRecLinePoint, 30, 30),
                                Rec(kRecLinePoint, 20, 30), Rec(kRecLinePoint, 20, 20), Rec(kRecLayer, 3, 0),
                                Rec(kRecTool1, 3, 0.5f, 90)});
    StoreHoldsData = 1;
    ShowSelectionHandles(SelectionHandles, SelectionHandleExtent);
  }
  int16_t savedBand_ = 0;
  // A left press on box n of the global set, as the input wait passes it on.
  static bool ClickBox(int n) {
    const TBox& b = SelectionHandles.boxes[n - 1];
    MouseX = int16_t((b.x1 + b.x2) / 2);
    MouseY = int16_t((b.y1 + b.y2) / 2);
    MouseButtonState = 2;
    MouseKeyFlags = 1;
    return HandleSelectionHandleClick(SelectionHandles, SelectionHandleExtent, true);
  }
};

void ExpectPoint(const TVectorRecord& r, double x, double y) {
  EXPECT_NEAR(r.x, x, 1e-3);
  EXPECT_NEAR(r.y, y, 1e-3);
}

TEST(SelectionHandles, ReferencePointsFollowTheKeypad) {
  const TExtentsPair e{{1, 10, 20}, {5, 30, 60}};
  const float expected[9][2] = {{10, 60}, {20, 60}, {30, 60}, {10, 40}, {20, 40}, {30, 40}, {10, 20}, {20, 20}, {30, 20}};
  for (int n = 1; n <= 9; ++n) {
    float x = -1, y = -1;
    GetReferencePoint(e, n, x, y);
    EXPECT_FLOAT_EQ(x, expected[n - 1][0]) << n;
    EXPECT_FLOAT_EQ(y, expected[n - 1][1]) << n;
  }
  for (int n : {0, 10, -3}) {
    float x = -1, y = -2;
    GetReferencePoint(e, n, x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -2);
  }
}

TEST(SelectionHandles, CornerFactorsAreTheSmallerOne) {
  const TExtentsPair e{{1, 20, 20}, {5, 30, 30}};
  struct TCase {
    float cx, cy;
    bool right, xActive, yActive, top;
    double fx, fy;
  } cases[] = {
      {60, 5, true, true, true, false, 2.5, 2.5},    // bottom-right corner: x 4, y 2.5
      {40, 40, true, true, true, true, 2, 2},        // top-right, a tie takes y (both 2)
      {15, 45, false, true, true, true, 1.5, 1.5},   // top-left: x 1.5, y 2.5
      {50, 0, true, true, false, false, 3, 1},       // right edge only
      {0, 25, false, false, true, false, 1, 0.5},    // bottom edge: y (30 - 25) / 10
      {10, 25, true, true, false, false, -1, 1},     // dragged across the anchor: mirrored
  };
  for (const TCase& c : cases) {
    double fx = 0, fy = 0;
    ComputeHandleScaleFactors(e, c.cx, c.cy, c.right, c.xActive, c.yActive, c.top, fx, fy);
    EXPECT_NEAR(fx, c.fx, 1e-6) << c.cx << " " << c.cy;
    EXPECT_NEAR(fy, c.fy, 1e-6) << c.cx << " " << c.cy;
  }
  // A side of no length keeps factor 1 instead of dividing by zero.
  const TExtentsPair flat{{1, 20, 20}, {5, 30, 20}};
  double fx = 0, fy = 0;
  ComputeHandleScaleFactors(flat, 40, 40, true, true, true, true, fx, fy);
  EXPECT_TRUE(std::isfinite(fx) && std::isfinite(fy));
  EXPECT_NEAR(fx, 1, 1e-9);
}

TEST(SelectionHandles, BoxesSitOutsideTheCorners) {
  THandleScreen screen;
  THandleSet h{};
  ComputeHandleBoxes({{1, 20, 20}, {5, 30, 30}}, h);
  const int sx1 = THandleScreen::Sx(20), sy2 = THandleScreen::Sy(30), sx2 = THandleScreen::Sx(30),
            sy1 = THandleScreen::Sy(20);
  EXPECT_EQ(int(h.boxes[0].x1), sx1 - 7);
  EXPECT_EQ(int(h.boxes[0].x2), sx1 - 1);
  EXPECT_EQ(int(h.boxes[0].y1), sy2 - 7);
  EXPECT_EQ(int(h.boxes[8].x1), sx2 + 1);
  EXPECT_EQ(int(h.boxes[8].y2), sy1 + 7);
  EXPECT_EQ(int(h.boxes[4].x1), THandleScreen::Sx(25) - 3);
  EXPECT_EQ(int(h.boxes[9].x1), sx1);
  EXPECT_EQ(int(h.boxes[9].y1), sy2);
  for (const TBox& b : h.boxes) EXPECT_EQ(b.flag, 1);
  EXPECT_EQ(HitSelectionHandle(h, sx2 + 4, sy1 + 4), 9);
  EXPECT_EQ(HitSelectionHandle(h, THandleScreen::Sx(22), THandleScreen::Sy(22)), 10);
  EXPECT_EQ(HitSelectionHandle(h, 0, 0), 0);
}

TEST(SelectionHandles, CornerDragKeepsEqualFactors) {
  THandleScreen screen;
  screen.SelectSquare();
  ASSERT_EQ(SelectionHandles.boxes[9].flag, 1);
  const TBox b = SelectionHandles.boxes[8];
  uitest::NewScript(screen, THandleScreen::Drag((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2, 60, 5));
  ASSERT_TRUE(THandleScreen::ClickBox(9));
  // Anchor (20, 30); x would scale by 4, y by 2.5: both take 2.5.
  const std::vector<TVectorRecord> r = ReadRaw(kVectorStoreName);
  ASSERT_EQ(r.size(), 7u);
  ExpectPoint(r[0], 20, 5);
  ExpectPoint(r[1], 45, 5);
  ExpectPoint(r[2], 45, 30);
  ExpectPoint(r[3], 20, 30);
  // Layer and tool records are no positions and stay.
  EXPECT_EQ(float(r[5].x), 3);
  EXPECT_EQ(float(r[6].x), 3);
  EXPECT_FLOAT_EQ(float(r[6].y), 0.5f);
  EXPECT_NEAR(SelectionHandleExtent.maxCorner.x, 45, 1e-3);
  EXPECT_NEAR(SelectionHandleExtent.minCorner.y, 5, 1e-3);
}

TEST(SelectionHandles, HandlesSwitchOffStillHitsButDoesNotDrag) {
  THandleScreen screen;
  screen.SelectSquare();
  HandlesSwitch = 0;
  const TBox b = SelectionHandles.boxes[8];
  uitest::NewScript(screen, THandleScreen::Drag((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2, 60, 5));
  const std::vector<TVectorRecord> before = ReadRaw(kVectorStoreName);
  EXPECT_TRUE(THandleScreen::ClickBox(9));
  const std::vector<TVectorRecord> after = ReadRaw(kVectorStoreName);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) ExpectPoint(after[i], before[i].x, before[i].y);
}

TEST(SelectionHandles, ThinSelectionIsOnlyMoved) {
  THandleScreen screen;
  WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 40, 20)});
  StoreHoldsData = 1;
  ShowSelectionHandles(SelectionHandles, SelectionHandleExtent);
  const TBox b = SelectionHandles.boxes[2];  // top-right corner handle
  const int px = (b.x1 + b.x2) / 2, py = (b.y1 + b.y2) / 2;
  uitest::NewScript(screen, THandleScreen::Drag(px, py, 45, 25.5));
  MouseX = int16_t(px);
  MouseY = int16_t(py);
  MouseButtonState = 2;
  MouseKeyFlags = 1;
  CursorPoint = {0, float((px - DrawingArea.x1) / 2.0), float((DrawingArea.y2 - py) / 2.0)};
  ASSERT_TRUE(HandleSelectionHandleClick(SelectionHandles, SelectionHandleExtent, true));
  const std::vector<TVectorRecord> r = ReadRaw(kVectorStoreName);
  ASSERT_EQ(r.size(), 2u);
  // Moved, not scaled: the length stays 20.
  EXPECT_NEAR(r[1].x - r[0].x, 20, 1e-3);
  EXPECT_NEAR(r[1].y, r[0].y, 1e-3);
  EXPECT_GT(float(r[0].y), 20.5);
}

TEST(SelectionHandles, MovedBoxSnapsToTheNearestGuideLine) {
  THandleScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  AddGuideLine(block, true, 50);   // x = 50
  AddGuideLine(block, false, 12);  // y = 12
  // Switches off: nothing snaps.
  WriteGuideLineBlock(block);
  TExtentsPair e{{1, 38, 8.5f}, {5, 48.5f, 18}};
  SnapMovedBoxToGuideLines(e);
  EXPECT_FLOAT_EQ(float(e.minCorner.x), 38);
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);
  // Tolerance 10 pixels = 5 mm. x: the second corner (1.5 away) lands on 50;
  // y: the first corner is 3.5 away, the centre (13.25) 1.25: the centre wins.
  SnapMovedBoxToGuideLines(e);
  EXPECT_NEAR(e.minCorner.x, 39.5, 1e-4);
  EXPECT_NEAR(e.maxCorner.x, 50, 1e-4);
  EXPECT_NEAR((e.minCorner.y + e.maxCorner.y) / 2, 12, 1e-4);
  EXPECT_NEAR(e.maxCorner.y - e.minCorner.y, 9.5, 1e-4);
  // Farther than 5 mm from every line: unchanged.
  TExtentsPair far{{1, 100, 100}, {5, 110, 110}};
  SnapMovedBoxToGuideLines(far);
  EXPECT_FLOAT_EQ(float(far.minCorner.x), 100);
  EXPECT_FLOAT_EQ(float(far.maxCorner.y), 110);
}

TEST(SelectionHandles, MoveDragLandsOnAGuideLine) {
  THandleScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  AddGuideLine(block, true, 60);
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);
  UpdateGuideSnapFlag(block);
  screen.SelectSquare();
  // Grab the inside at (25, 25) and drag by (+27, 0): the right edge (57)
  // comes within 3 mm of the line at 60 and lands on it.
  const int px = THandleScreen::Sx(25), py = THandleScreen::Sy(25);
  uitest::NewScript(screen, THandleScreen::Drag(px, py, 52, 25));
  MouseX = int16_t(px);
  MouseY = int16_t(py);
  MouseButtonState = 2;
  MouseKeyFlags = 1;
  CursorPoint = {0, 25, 25};
  ASSERT_TRUE(HandleSelectionHandleClick(SelectionHandles, SelectionHandleExtent, true));
  const std::vector<TVectorRecord> r = ReadRaw(kVectorStoreName);
  ASSERT_EQ(r.size(), 7u);
  ExpectPoint(r[0], 50, 20);
  ExpectPoint(r[2], 60, 30);
  EXPECT_EQ(float(r[5].x), 3);  // the layer record stays
  EXPECT_NEAR(SelectionHandleExtent.maxCorner.x, 60, 1e-3);
}

TEST(SelectionHandles, EmptyStoreShowsNoHandles) {
  THandleScreen screen;
  WriteRaw(kVectorStoreName, {});
  StoreHoldsData = 1;
  SelectionHandles.boxes[9].flag = 1;
  ShowSelectionHandles(SelectionHandles, SelectionHandleExtent);
  for (const TBox& b : SelectionHandles.boxes) EXPECT_EQ(b.flag, 0);
  MouseButtonState = 2;
  EXPECT_FALSE(HandleSelectionHandleClick(SelectionHandles, SelectionHandleExtent, true));
}

TEST(SelectionHandles, ShowingTwiceKeepsOnePictureAndHideRestores) {
  THandleScreen screen;
  WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 30, 30)});
  StoreHoldsData = 1;
  for (TBox& b : SelectionHandles.boxes) b.flag = 0;
  const std::vector<uint32_t> before = uitest::TScreen::Pixels();
  ShowSelectionHandles();
  const std::vector<uint32_t> shown = uitest::TScreen::Pixels();
  EXPECT_NE(shown, before);
  ShowSelectionHandles();
  EXPECT_EQ(uitest::TScreen::Pixels(), shown);
  HideSelectionHandles();
  EXPECT_EQ(uitest::TScreen::Pixels(), before);
  EXPECT_EQ(SelectionHandles.boxes[9].flag, 0);
}

// --- the rectangle service ------------------------------------------------------------------

TEST(SelectionHandles, PickRectangleByClicksTypedCornerOrDrag) {
  using S = THandleScreen;
  // The scripts are built on the open screen (its graphic area gives the pixels).
  struct TCase {
    const char* name;
    std::string (*script)();
    bool success;
    float x1, y1, x2, y2;
  } cases[] = {
      {"two clicks", [] { return "click " + S::At(10, 20) + " left\nclick " + S::At(40, 5) + " left\n"; }, true, 10, 5,
       40, 20},
      {"typed second corner", [] { return "click " + S::At(10, 20) + " left\ntext 50 60\nkey Enter\n"; }, true, 10, 20,
       50, 60},
      {"drag",
       [] {
         return "press " + S::At(10, 20) + " left\nwait 300\nmove " + S::At(20, 30) + "\nmove " + S::At(35, 45) +
                "\nrelease " + S::At(35, 45) + " left\n";
       },
       true, 10, 20, 35, 45},
      {"right click", [] { return "click " + S::At(10, 20) + " left\nclick " + S::At(40, 5) + " right\n"; }, false, 0,
       0, 0, 0},
      {"no width", [] { return "click " + S::At(10, 20) + " left\nclick " + S::At(10, 50) + " left\n"; }, false, 0, 0,
       0, 0},
      {"cancelled first corner", [] { return "click " + S::At(10, 20) + " right\n"; }, false, 0, 0, 0, 0},
  };
  for (const TCase& c : cases) {
    THandleScreen screen;
    uitest::NewScript(screen, c.script());
    TExtentsPair r{};
    bool ok = !c.success;
    PickRectangle(r, ok);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ok, c.success);
    if (!c.success) continue;
    EXPECT_NEAR(r.minCorner.x, c.x1, 1e-3);
    EXPECT_NEAR(r.minCorner.y, c.y1, 1e-3);
    EXPECT_NEAR(r.maxCorner.x, c.x2, 1e-3);
    EXPECT_NEAR(r.maxCorner.y, c.y2, 1e-3);
    EXPECT_EQ(r.minCorner.type, kRecMinCorner);
  }
}

TEST(SelectionHandles, PickRectangleSnapsCornersToGuideLines) {
  THandleScreen screen;
  TGuideLineBlock block;
  ClearGuideLines(block);
  AddGuideLine(block, true, 42);
  block.shown = block.catching = 1;
  WriteGuideLineBlock(block);
  UpdateGuideSnapFlag(block);
  uitest::NewScript(screen,
                    "click " + THandleScreen::At(10, 20) + " left\nclick " + THandleScreen::At(40, 5) + " left\n");
  TExtentsPair r{};
  bool ok = false;
  PickRectangle(r, ok);
  ASSERT_TRUE(ok);
  EXPECT_NEAR(r.maxCorner.x, 42, 1e-3) << "the second corner 2 mm off the line lands on it";
  EXPECT_NEAR(r.minCorner.x, 10, 1e-3);
}

}  // namespace
