// The layout limits dialog: corners by origin position, origin codes, the
// dialog run with scripted keys, and the actions that move the layout area
// or the drawing.
#include "cad/layout_limits_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "cad/drawing_transforms.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "geometry_test_support.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"
#include "view/view_transform.h"

namespace {

using geomtest::ReadRaw;
using geomtest::Rec;
using geomtest::WriteRaw;

class TLayoutScreen : public uitest::TScreen {
 public:
  TLayoutScreen() {
    InitDataFileSlots();
    LoadParamFile();
    HighestLayer = 3;
    CurrentLayer = 0;
    for (int n = 0; n <= HighestLayer; ++n) WriteRaw(BuildLayerBareName(n), {});
    ClearVectorStore();
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
    keptArea_ = LayoutArea;
    keptDetails_ = LayoutDetails;
    LayoutArea = {{1, 10, 10}, {5, 300, 200}};
  }
  ~TLayoutScreen() {
    LayoutArea = keptArea_;
    LayoutDetails = keptDetails_;
    CloseOpenDataFileSlots();
    OpenParamImage(0);
    HighestLayer = 0;
  }
  TExtentsPair keptArea_{}, keptDetails_{};
};

void ExpectArea(const TExtentsPair& a, float x1, float y1, float x2, float y2) {
  EXPECT_NEAR(a.minCorner.x, x1, 1e-3);
  EXPECT_NEAR(a.minCorner.y, y1, 1e-3);
  EXPECT_NEAR(a.maxCorner.x, x2, 1e-3);
  EXPECT_NEAR(a.maxCorner.y, y2, 1e-3);
}

TEST(LayoutLimits, CornersFollowTheOriginPosition) {
  struct TCase {
    int position;
    float x1, y1, x2, y2;
  } cases[] = {
      {7, 0, 0, 300, 200}, {5, -150, -100, 150, 100}, {1, 0, -200, 300, 0}, {9, -300, 0, 0, 200}, {6, -300, -100, 0, 100},
  };
  for (const TCase& c : cases) {
    TExtentsPair a{{1, 1, 2}, {5, 3, 4}};
    PlaceLayoutAtOrigin(c.position, 300, 200, a);
    SCOPED_TRACE(c.position);
    ExpectArea(a, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(OriginPositionOfCode(GetLayoutOriginCodeOf(a)), c.position);
  }
}

TEST(LayoutLimits, OriginCodes) {
  EXPECT_EQ(GetLayoutOriginCodeOf({{1, -150, -100}, {5, 150, 100}}), 'Z' + 64);
  EXPECT_EQ(GetLayoutOriginCodeOf({{1, 0, 0}, {5, 300, 200}}), 'L');
  EXPECT_EQ(GetLayoutOriginCodeOf({{1, -300, -200}, {5, 0, 0}}), 'R' + 128);
  EXPECT_EQ(GetLayoutOriginCodeOf({{1, 10, 10}, {5, 300, 200}}), 0);
  EXPECT_EQ(OriginPositionOfCode(0), 0);
  EXPECT_EQ(OriginPositionOfCode('Q'), 0);
}

// A click on box n of the panel (origin boxes 19-27 row by row, 28 free,
// 2 OK, 7-18 the rows).
std::string Click(int mode, int n) {
  TLayoutPanelLayout L;
  LayOutLayoutLimitsPanel(L, mode);
  const TBox& b = L.boxes[n - 1];
  EXPECT_EQ(b.flag, 1) << "box " << n;
  return "click " + std::to_string((b.x1 + b.x2) / 2) + " " + std::to_string((b.y1 + b.y2) / 2) + " left\n";
}

constexpr int kGridMode = kLayoutOriginGrid | kLayoutNoRedraw;

TEST(LayoutLimits, PanelBoxes) {
  TLayoutScreen screen;
  TLayoutPanelLayout L;
  LayOutLayoutLimitsPanel(L, kGridMode);
  EXPECT_EQ(L.fieldColumn, 31);
  // Origin boxes: centres 125, 69, 13 left of the right edge, 51, 81, 111 below the top.
  EXPECT_EQ((L.boxes[18].x1 + L.boxes[18].x2 + 1) / 2, L.right - 125);
  EXPECT_EQ((L.boxes[26].y1 + L.boxes[26].y2 + 1) / 2, 48 + 111);
  EXPECT_EQ(L.boxes[20].x1 - L.boxes[19].x1, 56);
  EXPECT_EQ(L.boxes[22].y1 - L.boxes[19].y1, 30);
  EXPECT_EQ(L.boxes[17].flag, 1) << "the frame switch row in mode 0";
  TLayoutPanelLayout plain;
  LayOutLayoutLimitsPanel(plain, 1 | kLayoutNoActions);
  EXPECT_EQ(plain.boxes[18].flag, 0) << "no grid without bit 3";
  EXPECT_EQ(plain.boxes[2].flag, 0) << "no actions with bit 2";
  EXPECT_EQ(plain.boxes[17].flag, 0) << "no frame switch row in mode 1";
  EXPECT_EQ(plain.boxes[16].flag, 1);
}

// The four action buttons hold their captions whole in the button font
// ("Layout auf Nullpunkt zentrieren" the longest), and the widened panel
// still fits the smallest screen.
TEST(LayoutLimits, ActionButtonsHoldTheirCaptions) {
  TLayoutScreen screen;
  for (const int mode : {0, kGridMode}) {
    TLayoutPanelLayout L;
    LayOutLayoutLimitsPanel(L, mode);
    for (int k = 0; k < 4; ++k) {
      const std::string caption = GetMessageText(int16_t(774 + k), -39);
      const TBox& b = L.boxes[2 + k];
      ASSERT_EQ(int(b.flag), 1);
      EXPECT_LE(MeasureButtonTextWidth(caption) + 8, int(b.x2) - int(b.x1) - 1) << caption;
      EXPECT_LE(int(b.x2), int(L.right) - 4) << caption;
    }
    EXPECT_LT(int(L.right), 800);
  }
}

TEST(LayoutLimits, DialogSetsTheCornersOfTheOriginChoice) {
  struct TCase {
    int box;
    float x1, y1, x2, y2;
  } cases[] = {{25, 0, 0, 300, 200}, {23, -150, -100, 150, 100}, {19, 0, -200, 300, 0}};
  for (const TCase& c : cases) {
    TLayoutScreen screen;
    // The origin box, then width and height, then OK.
    uitest::NewScript(screen, Click(kGridMode, c.box) + "text 300\nkey Enter\ntext 200\nkey Enter\n" +
                                  Click(kGridMode, 2));
    RunLayoutLimitsDialog(kGridMode);
    SCOPED_TRACE(c.box);
    ExpectArea(LayoutArea, c.x1, c.y1, c.x2, c.y2);
    // Stored in parameter block 3 as well.
    uint8_t block3[121] = {};
    GetParamBlock(3, block3, sizeof block3);
    TExtentsPair stored;
    std::memcpy(&stored, block3 + 14, sizeof stored);
    ExpectArea(stored, c.x1, c.y1, c.x2, c.y2);
  }
}

TEST(LayoutLimits, OpeningChoosesTheOriginOfTheArea) {
  {
    // Centred on the origin: the middle box is chosen, the first row is the width.
    TLayoutScreen screen;
    LayoutArea = {{1, -150, -100}, {5, 150, 100}};
    uitest::NewScript(screen, "text 100\nkey Enter\n" + Click(kGridMode, 2));
    RunLayoutLimitsDialog(kGridMode);
    ExpectArea(LayoutArea, -50, -100, 50, 100);
  }
  {
    // Off the origin: the free corners, the first row is x1.
    TLayoutScreen screen;
    uitest::NewScript(screen, "text 5\nkey Enter\n" + Click(kGridMode, 2));
    RunLayoutLimitsDialog(kGridMode);
    ExpectArea(LayoutArea, 5, 10, 300, 200);
  }
}

TEST(LayoutLimits, FreeCornersCancelAndDegenerateAreas) {
  {
    TLayoutScreen screen;
    uitest::NewScript(screen, "text -5\nkey Enter\ntext -6\nkey Enter\ntext 50\nkey Enter\ntext 60\nkey F1\n");
    RunLayoutLimitsDialog(kGridMode);
    ExpectArea(LayoutArea, -5, -6, 50, 60);
  }
  {
    // The free box after an origin box brings the corners back.
    TLayoutScreen screen;
    uitest::NewScript(screen, Click(kGridMode, 25) + Click(kGridMode, 28) + "text 1\nkey Enter\n" +
                                  Click(kGridMode, 2));
    RunLayoutLimitsDialog(kGridMode);
    ExpectArea(LayoutArea, 1, 0, 290, 190);
  }
  {
    TLayoutScreen screen;
    uitest::NewScript(screen, "text 77\nkey Esc\n");
    RunLayoutLimitsDialog(kGridMode);
    ExpectArea(LayoutArea, 10, 10, 300, 200);
  }
  {
    // A width of 0 is refused: the old area comes back.
    TLayoutScreen screen;
    uitest::NewScript(screen, Click(kGridMode, 25) + "text 0\nkey F1\nkey Enter\n");
    RunLayoutLimitsDialog(kGridMode);
    ExpectArea(LayoutArea, 10, 10, 300, 200);
  }
}

TEST(LayoutLimits, TabPassesTheMarginRowsWhileTheMarginFrameIsOff) {
  TLayoutScreen screen;
  LayoutDetails.minCorner.type = 0;  // margin frame off
  // From the margin frame row Tab goes on to the frame switch, which "N" turns off.
  uitest::NewScript(screen, Click(kGridMode, 13) + "key Tab\ntext N\nkey Enter\n" + Click(kGridMode, 2));
  RunLayoutLimitsDialog(kGridMode);
  EXPECT_EQ(LayoutArea.minCorner.type, 0);
  EXPECT_EQ(LayoutDetails.minCorner.type & 1, 0);
  ExpectArea(LayoutArea, 10, 10, 300, 200);
}

TEST(LayoutLimits, F3TwiceTurnsTheMovedDrawingBy60Degrees) {
  TLayoutScreen screen;
  WriteRaw(BuildLayerBareName(0), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 10, 0), Rec(kRecLinePoint, 10, 10),
                                   Rec(kRecLayer, 3, 0)});
  // The first corner goes to (100, 50); the turn is about the middle of the
  // moved extent (105, 55).
  uitest::NewScript(screen, "key F3\nkey F3\ntext 100 50\nkey Enter\n");
  MoveDrawingInteractively(false);
  const std::vector<TVectorRecord> r = ReadRaw(BuildLayerBareName(0));
  ASSERT_EQ(r.size(), 4u);
  const double c = 0.5, sn = std::sqrt(3.0) / 2;
  EXPECT_NEAR(r[0].x, 105 - 5 * c + 5 * sn, 1e-3);
  EXPECT_NEAR(r[0].y, 55 - 5 * sn - 5 * c, 1e-3);
  EXPECT_NEAR(r[2].x, 105 + 5 * c - 5 * sn, 1e-3);
  EXPECT_NEAR(r[2].y, 55 + 5 * sn + 5 * c, 1e-3);
  EXPECT_EQ(float(r[3].x), 3) << "the layer record stays";
  // A right click cancels: nothing moves.
  uitest::NewScript(screen, "key F3\nclick 10 300 right\n");
  MoveDrawingInteractively(false);
  EXPECT_NEAR(ReadRaw(BuildLayerBareName(0))[0].x, r[0].x, 1e-6);
}

TEST(LayoutLimits, CentreLayoutOnOriginMovesTheDrawingAlong) {
  // All layers in all-layers scope, the current layer alone otherwise; the
  // layout area moves all the same.
  for (const uint8_t scope : {uint8_t(1), uint8_t(0)}) {
    TLayoutScreen screen;
    TransformAllLayersFlag = scope;
    LayoutArea = {{1, 0, 0}, {5, 300, 200}};
    WriteRaw(BuildLayerBareName(0), {Rec(kRecContourStart, 10, 20), Rec(kRecLinePoint, 40, 50)});
    WriteRaw(BuildLayerBareName(1), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 1, 1)});
    CentreLayoutAreaOnOrigin();
    TransformAllLayersFlag = 0;
    SCOPED_TRACE(int(scope));
    ExpectArea(LayoutArea, -150, -100, 150, 100);
    const std::vector<TVectorRecord> r = ReadRaw(BuildLayerBareName(0));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0].x, -140, 1e-3);
    EXPECT_NEAR(r[0].y, -80, 1e-3);
    EXPECT_NEAR(ReadRaw(BuildLayerBareName(1))[1].x, scope == 1 ? -149 : 1, 1e-3);
  }
}

TEST(LayoutLimits, CentreDrawingInLayoutArea) {
  TLayoutScreen screen;
  LayoutArea = {{1, 0, 0}, {5, 300, 200}};
  // Drawing middle (170, 95): off-centre by (20, -5).
  WriteRaw(BuildLayerBareName(0), {Rec(kRecContourStart, 160, 85), Rec(kRecLinePoint, 180, 105)});
  CentreDrawingInLayoutArea(true);
  const std::vector<TVectorRecord> r = ReadRaw(BuildLayerBareName(0));
  ASSERT_EQ(r.size(), 2u);
  EXPECT_NEAR(r[0].x, 140, 1e-3);
  EXPECT_NEAR(r[0].y, 90, 1e-3);
  ExpectArea(LayoutArea, 0, 0, 300, 200);
}

// The heading stands whole in the cell font left of the origin frame, and
// the panel stays left of the side menu, in the large and the small window.
TEST(LayoutLimits, HeadingClearsTheOriginFrameAndThePanelTheSideMenu) {
  for (const char* size : {"1024x768", "768x596"}) {
    SCOPED_TRACE(size);
    uitest::TScreen screen("", size);
    for (const int mode : {0, kGridMode, kGridMode | kLayoutNoActions, 1 | kLayoutNoActions}) {
      SCOPED_TRACE(mode);
      TLayoutPanelLayout L;
      LayOutLayoutLimitsPanel(L, mode);
      const TBox& h = L.heading;
      EXPECT_EQ(int(h.x2) - int(h.x1) + 1, MeasureScreenTextWidth(LayoutLimitsHeading()));
      EXPECT_GE(int(h.x1), L.left + 4);
      EXPECT_LT(int(h.y2), L.top + 47 + 1) << "the heading stands above the value field";
      if (mode & kLayoutOriginGrid) {
        ASSERT_EQ(int(L.originFrame.flag), 1);
        EXPECT_LT(int(h.x2) + 4, int(L.originFrame.x1)) << "the heading runs into the origin frame";
        for (int n = 19; n <= 28; ++n) {
          const TBox& b = L.boxes[n - 1];
          EXPECT_TRUE(b.y1 > h.y2 || b.y2 < h.y1 || b.x1 > h.x2 + 4) << "the heading runs into origin box " << n;
        }
      }
      // The side menu begins right of the graphic area (x 855 and 600).
      EXPECT_LE(L.right, int(DrawingArea.x2)) << "the panel covers the side menu";
    }
  }
}

}  // namespace
