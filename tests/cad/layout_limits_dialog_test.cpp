// The layout limits dialog: corners by origin position, origin codes, the
// dialog run with scripted keys, and the actions that move the layout area
// or the drawing.
#include "cad/layout_limits_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

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

// Fields: origin, x1, y1, x2, y2, width, height, ...; F1 is OK.
TEST(LayoutLimits, DialogSetsTheCornersOfTheOriginChoice) {
  struct TCase {
    const char* origin;
    float x1, y1, x2, y2;
  } cases[] = {{"7", 0, 0, 300, 200}, {"5", -150, -100, 150, 100}};
  for (const TCase& c : cases) {
    TLayoutScreen screen;
    uitest::NewScript(screen, std::string("text ") + c.origin +
                                  "\nkey Enter\nkey Enter\nkey Enter\nkey Enter\nkey Enter\ntext 300\nkey Enter\n"
                                  "text 200\nkey Enter\nkey F1\n");
    RunLayoutLimitsDialog(kLayoutOriginGrid | kLayoutNoRedraw);
    SCOPED_TRACE(c.origin);
    ExpectArea(LayoutArea, c.x1, c.y1, c.x2, c.y2);
    // Stored in parameter block 3 as well.
    uint8_t block3[121] = {};
    GetParamBlock(3, block3, sizeof block3);
    TExtentsPair stored;
    std::memcpy(&stored, block3 + 14, sizeof stored);
    ExpectArea(stored, c.x1, c.y1, c.x2, c.y2);
  }
}

TEST(LayoutLimits, FreeCornersCancelAndDegenerateAreas) {
  {
    TLayoutScreen screen;
    uitest::NewScript(screen, "key Enter\ntext -5\nkey Enter\ntext -6\nkey Enter\ntext 50\nkey Enter\ntext 60\nkey F1\n");
    RunLayoutLimitsDialog(kLayoutOriginGrid | kLayoutNoRedraw);
    ExpectArea(LayoutArea, -5, -6, 50, 60);
  }
  {
    TLayoutScreen screen;
    uitest::NewScript(screen, "key Enter\ntext 77\nkey Esc\nkey Esc\n");
    RunLayoutLimitsDialog(kLayoutOriginGrid | kLayoutNoRedraw);
    ExpectArea(LayoutArea, 10, 10, 300, 200);
  }
  {
    // A width of 0 is refused: the old area comes back.
    TLayoutScreen screen;
    uitest::NewScript(screen, "text 7\nkey Enter\nkey Enter\nkey Enter\nkey Enter\nkey Enter\ntext 0\nkey F1\nkey Enter\n");
    RunLayoutLimitsDialog(kLayoutOriginGrid | kLayoutNoRedraw);
    ExpectArea(LayoutArea, 10, 10, 300, 200);
  }
}

TEST(LayoutLimits, CentreLayoutOnOriginMovesTheDrawingAlong) {
  TLayoutScreen screen;
  LayoutArea = {{1, 0, 0}, {5, 300, 200}};
  WriteRaw(BuildLayerBareName(0), {Rec(kRecContourStart, 10, 20), Rec(kRecLinePoint, 40, 50)});
  WriteRaw(BuildLayerBareName(1), {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 1, 1)});
  CentreLayoutAreaOnOrigin();
  ExpectArea(LayoutArea, -150, -100, 150, 100);
  const std::vector<TVectorRecord> r = ReadRaw(BuildLayerBareName(0));
  ASSERT_EQ(r.size(), 2u);
  EXPECT_NEAR(r[0].x, -140, 1e-3);
  EXPECT_NEAR(r[0].y, -80, 1e-3);
  EXPECT_NEAR(ReadRaw(BuildLayerBareName(1))[1].x, -149, 1e-3);
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

}  // namespace
