// Point entry decisions: typed 3D points, the curve by thirds, the offset
// text and the point of an entry.
#include "cad/point_entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cad/snapping.h"
#include "frame/param_file.h"
#include "support/drawing_test_support.h"
#include "view/cursor_tracking.h"
#include "ui/ui_screen.h"
#include "view/screen_scheme.h"
#include "view/view_transform.h"

namespace {

using drawtest::Bytes;
using drawtest::Rec;

TEST(TypedPoint, TwoOrThreeNumbersMakeA3DPoint) {
  const struct { double n[4]; int count; uint8_t type; float x, y, z; } cases[] = {
      {{10, 20}, 2, kRec3DPoint, 10, 20, 0},
      {{10, 20, 5}, 3, kRec3DPoint, 10, 20, 5},
      {{10}, 1, kRecLinePoint, 1, 2, 3},         // unchanged
      {{1, 2, 3, 4}, 4, kRecLinePoint, 1, 2, 3},  // unchanged
      {{}, 0, kRecLinePoint, 1, 2, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " numbers");
    TVectorRecord p = Rec(kRecLinePoint, 1, 2, 3);
    ApplyTyped3DPoint(p, c.n, c.count);
    EXPECT_EQ(p.type, c.type);
    EXPECT_FLOAT_EQ(p.x, c.x);
    EXPECT_FLOAT_EQ(p.y, c.y);
    EXPECT_FLOAT_EQ(p.z, c.z);
  }
}

TEST(CurveByThirds, UntouchedControlPointsLieOnTheChord) {
  TCubicCurveEntry curve;
  curve.p0 = Rec(kRecContourStart, 0, 0, -3);
  curve.p3 = Rec(kRecLinePoint, 30, -60, 2);
  PlaceControlPointsAtThirds(curve);
  EXPECT_EQ(curve.p0.type, kRecBezierEnd);
  EXPECT_EQ(curve.b2.type, kRecLinePoint);
  EXPECT_EQ(curve.b3.type, kRecLinePoint);
  EXPECT_FLOAT_EQ(curve.b2.x, 10.0f);
  EXPECT_FLOAT_EQ(curve.b2.y, -20.0f);
  EXPECT_FLOAT_EQ(curve.b3.x, 20.0f);
  EXPECT_FLOAT_EQ(curve.b3.y, -40.0f);
  // b2 copies P0's record, b3 P3's: their z comes along.
  EXPECT_FLOAT_EQ(curve.b2.z, -3.0f);
  EXPECT_FLOAT_EQ(curve.b3.z, 2.0f);
  CancelCurveEntry(curve);
  EXPECT_EQ(curve.p0.type, 0);
}

TEST(PointDelta, OffsetLengthAndAngleInDegrees) {
  const struct { float ax, ay, bx, by; const char* text; } cases[] = {
      {0, 0, -1, -1, "dx=-1.0000 dy=-1.0000 R=1.4142 Wi=225.0000"},
      {0, 0, 3, 4, "dx=3.0000 dy=4.0000 R=5.0000 Wi=53.1301"},
      {1, 1, 1, 0, "dx=0.0000 dy=-1.0000 R=1.0000 Wi=-90.0000"},
      {1, 1, 1, 1, "dx=0.0000 dy=0.0000 R=0.0000 Wi=90.0000"},
      {0, 0, -2, 0, "dx=-2.0000 dy=0.0000 R=2.0000 Wi=180.0000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPointDelta(Rec(kRecLinePoint, c.ax, c.ay), Rec(kRecLinePoint, c.bx, c.by)), c.text);
  }
}

class EntryTest : public drawtest::DrawingFolderTest {};

TEST_F(EntryTest, TypedNumbersWinOverTheSnappedCursor) {
  const float savedScale = ViewScaleX;
  ViewScaleX = 1.0f;
  SnapRadius = 10;
  SnapLayerSelector = -1;
  WriteFile(BuildLayerFileName(0), Bytes({Rec(kRecContourStart, 50, 50)}));
  InvalidateSnapPointCache();
  CursorPoint = TPointRecord{0, 53, 48};
  TVectorRecord p = Rec(kRecLinePoint, 0, 0, 4);
  const double typed[] = {1.5, 2.5};
  ResolveEnteredPoint(typed, 2, p);
  EXPECT_FLOAT_EQ(p.x, 1.5f);
  EXPECT_FLOAT_EQ(p.y, 2.5f);
  ResolveEnteredPoint(typed, 1, p);  // one number is no point: the cursor
  EXPECT_FLOAT_EQ(p.x, 50.0f);
  EXPECT_FLOAT_EQ(p.y, 50.0f);
  EXPECT_FLOAT_EQ(p.z, 4.0f);
  ViewScaleX = savedScale;
  InvalidateSnapPointCache();
}

TEST_F(EntryTest, Typed3DTextIsCutToSixtyCharacters) {
  const std::string text = BuildTyped3DPointText(Rec(kRec3DPoint, 1.5f, -2, 1e9f));
  EXPECT_LE(text.size(), 60u);
  EXPECT_NE(text.find("1.500 -2.000 "), std::string::npos);
}

// --- scripted entries --------------------------------------------------------------------

// A screen with the view at world (0, 0) in the lower left, 2 pixels per
// millimetre, no snapping.
// Lowest row the prompt strip and the top-bar text may reach on this screen.
constexpr int kPromptStripBottom = 72;

class TEntryScreen : public uitest::TScreen {
 public:
  explicit TEntryScreen(const std::string& script) : uitest::TScreen(script) {
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    GuideSnapOn = 0;
    SnapRadius = 0;
    savedBand_ = BandColor;
    BandColor = 261;  // white: every xor picture shows on the screen
    InvalidateSnapPointCache();
  }
  ~TEntryScreen() { BandColor = savedBand_; }

 private:
  int16_t savedBand_ = 0;
};

// Where pixels differ below the top row, for a failure message.
std::string ChangedBox(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int top) {
  const int w = plat::WindowFrameBuffer().width;
  int x0 = w, y0 = 1 << 20, x1 = -1, y1 = -1;
  for (size_t i = size_t(top) * size_t(w); i < a.size() && i < b.size(); ++i) {
    if (a[i] == b[i]) continue;
    const int x = int(i % size_t(w)), y = int(i / size_t(w));
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
  return "changed from (" + std::to_string(x0) + ", " + std::to_string(y0) + ") to (" + std::to_string(x1) + ", " +
         std::to_string(y1) + ")";
}

TEST(CurveEntry, UntouchedControlPointsStayAtTheThirds) {
  TEntryScreen screen("text 0 0\nkey Enter\ntext 30 60\nkey Enter\nkey Enter\nkey Enter\n");
  TCubicCurveEntry curve;
  EnterBezierByThirds(curve);
  EXPECT_EQ(curve.p0.type, kRecBezierEnd);
  EXPECT_EQ(curve.p3.type, kRecLinePoint);
  EXPECT_FLOAT_EQ(curve.p3.x, 30.0f);
  EXPECT_FLOAT_EQ(curve.b2.x, 10.0f);
  EXPECT_FLOAT_EQ(curve.b2.y, 20.0f);
  EXPECT_FLOAT_EQ(curve.b3.x, 20.0f);
  EXPECT_FLOAT_EQ(curve.b3.y, 40.0f);
}

TEST(CurveEntry, TypedControlPointsAndCancels) {
  {
    TEntryScreen screen("text 0 0\nkey Enter\ntext 30 60\nkey Enter\ntext 5 6\nkey Enter\ntext 7 8\nkey Enter\n");
    TCubicCurveEntry curve;
    EnterBezierByThirds(curve);
    EXPECT_EQ(curve.p0.type, kRecBezierEnd);
    EXPECT_FLOAT_EQ(curve.b2.x, 5.0f);
    EXPECT_FLOAT_EQ(curve.b3.y, 8.0f);
  }
  {
    // A right click at the first point cancels everything.
    TEntryScreen screen("click 300 300 right\n");
    TCubicCurveEntry curve;
    EnterBezierByThirds(curve);
    EXPECT_EQ(curve.p0.type, 0);
  }
  {
    // Esc while b3 is placed cancels the curve after b2 was set.
    TEntryScreen screen("text 0 0\nkey Enter\ntext 30 60\nkey Enter\ntext 5 6\nkey Enter\nkey Esc\n");
    TCubicCurveEntry curve;
    EnterBezierByThirds(curve);
    EXPECT_EQ(curve.p0.type, 0);
    EXPECT_FLOAT_EQ(curve.b2.x, 5.0f);
  }
}

TEST(CurveEntry, XorDrawingLeavesTheScreenAsItWas) {
  const struct { const char* script; uint8_t type; } cases[] = {
      // Cancelled while b3 is placed, after b2 was moved and set.
      {"text 10 10\nkey Enter\ntext 90 60\nkey Enter\nmove 200 300\nmove 260 320\nkey Enter\nmove 300 250\nkey Esc\n", 0},
      // Completed with both control points moved.
      {"text 10 10\nkey Enter\ntext 90 60\nkey Enter\nmove 200 300\nmove 260 320\nkey Enter\nmove 300 250\n"
       "key Enter\n",
       kRecBezierEnd},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    TEntryScreen screen(c.script);
    const std::vector<uint32_t> before = uitest::TScreen::Pixels();
    TCubicCurveEntry curve;
    EnterBezierByThirds(curve);
    EXPECT_EQ(curve.p0.type, c.type);
    // Only the prompt strip (down to its lower edge) may differ: the drawing
    // area below it is clean again.
    const int top = std::max<int>(DrawingArea.y1, kPromptStripBottom) + 1;
    const std::vector<uint32_t> after = uitest::TScreen::Pixels();
    EXPECT_EQ(uitest::TScreen::CountChanged(before, after, DrawingArea.x1 + 1, top, DrawingArea.x2 - 1,
                                            DrawingArea.y2 - 1),
              0)
        << ChangedBox(before, after, top);
  }
}

TEST(TwoPoints, BandEntryGivesStartAndEnd) {
  TEntryScreen screen("text 10 20\nkey Enter\nmove 400 300\ntext 40 50\nkey Enter\n");
  TVectorRecord p0{}, p3{};
  AskTwoPointsWithBand(p0, p3);
  EXPECT_EQ(p0.type, kRecContourStart);
  EXPECT_FLOAT_EQ(p0.x, 10.0f);
  EXPECT_EQ(p3.type, kRecLinePoint);
  EXPECT_FLOAT_EQ(p3.x, 40.0f);
  EXPECT_FLOAT_EQ(p3.y, 50.0f);
}

TEST(TypedPoint, EditedTextGivesThePoint) {
  // The numbers "1.000 2.000 3.000" are rubbed out and new ones typed.
  std::string rubOut;
  for (int i = 0; i < 17; ++i) rubOut += "key Backspace\n";
  const struct { const char* script; uint8_t result; uint8_t type; float x, y, z; } cases[] = {
      {"text 10 20\nkey Enter\n", 1, kRec3DPoint, 10, 20, 0},
      {"text 10 20 5\nkey Enter\n", 1, kRec3DPoint, 10, 20, 5},
      {"text 10\nkey Enter\n", 1, kRecLinePoint, 1, 2, 3},
      {"text 10 20\nkey Esc\n", 0, kRecLinePoint, 1, 2, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    TEntryScreen screen(rubOut + c.script);
    TVectorRecord p = Rec(kRecLinePoint, 1, 2, 3);
    EXPECT_EQ(EnterTyped3DPoint(p), c.result);
    EXPECT_EQ(p.type, c.type);
    EXPECT_FLOAT_EQ(p.x, c.x);
    EXPECT_FLOAT_EQ(p.z, c.z);
  }
}

}  // namespace
