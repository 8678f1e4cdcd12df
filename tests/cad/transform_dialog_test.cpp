// Applying the transform dialog's values to the selection: moves, turns,
// scales, sizes and shears about the reference points, duplicates, and the
// guarded keep-ratio and size divisions; the panel run with scripted clicks
// (step and mirror buttons, the reference grid, typed values) and the
// handle loop that opens it.
#include "cad/transform_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "frame/data_slots.h"
#include "frame/math_constants.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "frame/param_file.h"
#include "geometry_test_support.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"
#include "view/extents.h"
#include "view/view_transform.h"

namespace {

using geomtest::ReadRaw;
using geomtest::Rec;
using geomtest::WriteRaw;


class TTransformScreen : public uitest::TScreen {
 public:
  TTransformScreen() {
    InitDataFileSlots();
    LoadParamFile();
    uitest::UseTwoPixelWorldView();
    HighestLayer = 3;
    CurrentLayer = 0;
    for (int n = 0; n <= HighestLayer; ++n) WriteRaw(BuildLayerBareName(n), {});
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
  }
  ~TTransformScreen() {
    CloseOpenDataFileSlots();
    OpenParamImage(0);
    StoreHoldsData = 0;
    HighestLayer = 0;
  }
  // The square (20, 20) .. (30, 30) selected; its extent.
  static TExtentsPair SelectSquare() {
    WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 30, 20), Rec(kRecLinePoint, 30, 30),
                                Rec(kRecLinePoint, 20, 30)});
    StoreHoldsData = 1;
    TExtentsPair e;
    GetVectorFileExtentOwnBuffer(kVectorStoreName, true, e);
    return e;
  }
};

TTransformDialogState State(uint8_t mode, uint8_t toggle, uint8_t reference, float v1, float v2, float v3 = 0) {
  TTransformDialogState s;
  s.mode = mode;
  s.toggle = toggle;
  s.reference = reference;
  s.value1 = v1;
  s.value2 = v2;
  s.value3 = v3;
  s.result = kResultApply;
  return s;
}

void ExpectPoints(const std::vector<TVectorRecord>& r, const std::vector<std::pair<double, double>>& p) {
  ASSERT_GE(r.size(), p.size());
  for (size_t i = 0; i < p.size(); ++i) {
    EXPECT_NEAR(r[i].x, p[i].first, 1e-3) << i;
    EXPECT_NEAR(r[i].y, p[i].second, 1e-3) << i;
  }
}

TEST(TransformDialog, AbsoluteMoveWithReference7ReachesTheOrigin) {
  TTransformScreen screen;
  TExtentsPair e = TTransformScreen::SelectSquare();
  TTransformDialogState s = State(kTransformMove, kToggleAbsolute, 7, 0, 0);
  ApplyTransformState(s, e);
  ExpectPoints(ReadRaw(kVectorStoreName), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_NEAR(e.minCorner.x, 0, 1e-4);
  EXPECT_NEAR(e.maxCorner.y, 10, 1e-4);
  // The converted offsets stay for the next opening.
  EXPECT_FLOAT_EQ(s.value1, -20);
  EXPECT_FLOAT_EQ(s.value2, -20);
}

TEST(TransformDialog, ShearOf45DegreesAboutTheBottomLeft) {
  struct TCase {
    float h, v;
    std::vector<std::pair<double, double>> points;
  } cases[] = {
      // The top edge moves left by the height.
      {45, 0, {{20, 20}, {30, 20}, {20, 30}, {10, 30}}},
      // Both: y follows from the already sheared x.
      {45, 45, {{20, 20}, {30, 30}, {20, 30}, {10, 20}}},
      {0, 45, {{20, 20}, {30, 30}, {30, 40}, {20, 30}}},
  };
  for (const TCase& c : cases) {
    TTransformScreen screen;
    TExtentsPair e = TTransformScreen::SelectSquare();
    TTransformDialogState s = State(kTransformShear, kToggleAbsolute, 7, c.h, c.v);
    ApplyTransformState(s, e);
    SCOPED_TRACE(std::to_string(c.h) + " " + std::to_string(c.v));
    ExpectPoints(ReadRaw(kVectorStoreName), c.points);
  }
}

TEST(TransformDialog, RotateAboutReferenceOrCentre) {
  {
    // Relative, offset (0, 0): about reference 7 = (20, 20).
    TTransformScreen screen;
    TExtentsPair e = TTransformScreen::SelectSquare();
    TTransformDialogState s = State(kTransformRotate, kToggleRelative, 7, 90, 0, 0);
    ApplyTransformState(s, e);
    ExpectPoints(ReadRaw(kVectorStoreName), {{20, 20}, {20, 30}, {10, 30}, {10, 20}});
    EXPECT_FLOAT_EQ(s.value2, 20);
    EXPECT_FLOAT_EQ(s.value3, 20);
  }
  {
    // Absolute about the given centre (25, 25).
    TTransformScreen screen;
    TExtentsPair e = TTransformScreen::SelectSquare();
    TTransformDialogState s = State(kTransformRotate, kToggleAbsolute, 1, 180, 25, 25);
    ApplyTransformState(s, e);
    ExpectPoints(ReadRaw(kVectorStoreName), {{30, 30}, {20, 30}, {20, 20}, {30, 20}});
  }
}

TEST(TransformDialog, PercentMirrorAndSizeKeepRecordMeanings) {
  TTransformScreen screen;
  // A contour with an arc, a layer record and a tool block record.
  WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 30, 20),
                              Rec(kRecArc, 5, float(-kPi / 2), float(kPi)), Rec(kRecLinePoint, 30, 30),
                              Rec(kRecLayer, 3, 0), Rec(kRecToolFeed, 1000, 2, 5)});
  StoreHoldsData = 1;
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer(kVectorStoreName, true, e);
  // -100 % in x about reference 4 (x = 20): mirrored.
  TTransformDialogState s = State(kTransformPercent, kToggleAbsolute, 4, -100, 100);
  ApplyTransformState(s, e);
  std::vector<TVectorRecord> r = ReadRaw(kVectorStoreName);
  ASSERT_EQ(r.size(), 6u);
  ExpectPoints(r, {{20, 20}, {10, 20}});
  EXPECT_NEAR(r[2].x, 5, 1e-5);          // radius kept
  EXPECT_NEAR(r[2].z, -kPi, 1e-5);       // sweep reversed by the mirror
  EXPECT_NEAR(r[3].x, 10, 1e-3);
  EXPECT_EQ(float(r[4].x), 3);                  // layer record stays
  EXPECT_EQ(float(r[5].x), 1000);               // tool feed stays
  EXPECT_EQ(float(r[5].y), 2);
}

TEST(TransformDialog, SizeOfAZeroWidthSelectionKeepsX) {
  TTransformScreen screen;
  WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 20, 40)});
  StoreHoldsData = 1;
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer(kVectorStoreName, true, e);
  TTransformDialogState s = State(kTransformSize, kToggleAbsolute, 7, 50, 10);
  ApplyTransformState(s, e);
  const std::vector<TVectorRecord> r = ReadRaw(kVectorStoreName);
  ExpectPoints(r, {{20, 20}, {20, 30}});
  for (const TVectorRecord& rec : r) EXPECT_TRUE(std::isfinite(rec.x) && std::isfinite(rec.y));
  EXPECT_EQ(SizeFactor(50, 0), 0);
  EXPECT_EQ(SizeFactor(50, 0.0001), 0);
  EXPECT_DOUBLE_EQ(SizeFactor(50, 20), 2.5);
}

TEST(TransformDialog, KeepRatioRefusesAZeroOldValue) {
  EXPECT_FLOAT_EQ(KeepRatioOtherValue(10, 20, 5), 10);
  EXPECT_FLOAT_EQ(KeepRatioOtherValue(0, 20, 5), 5);
  EXPECT_FLOAT_EQ(KeepRatioOtherValue(-50, 100, 30), -60);
}

TEST(TransformDialog, DuplicateLeavesTheOriginalInTheLayer) {
  TTransformScreen screen;
  TExtentsPair e = TTransformScreen::SelectSquare();
  TTransformDialogState s = State(kTransformMove, kToggleRelative, 5, 5, -5);
  s.result = kResultDuplicate;
  ApplyTransformState(s, e);
  ExpectPoints(ReadRaw(BuildLayerBareName(0)), {{20, 20}, {30, 20}, {30, 30}, {20, 30}});
  ExpectPoints(ReadRaw(kVectorStoreName), {{25, 15}, {35, 15}, {35, 25}, {25, 25}});
}

TEST(TransformDialog, EmptyStoreChangesNothing) {
  TTransformScreen screen;
  WriteRaw(kVectorStoreName, {});
  StoreHoldsData = 0;
  TExtentsPair e{{1, 0, 0}, {5, 10, 10}};
  TTransformDialogState s = State(kTransformMove, kToggleRelative, 5, 5, 5);
  ApplyTransformState(s, e);
  EXPECT_TRUE(ReadRaw(kVectorStoreName).empty());
  EXPECT_FLOAT_EQ(s.value1, 5);
}

// --- the panel ------------------------------------------------------------------------------

// A click on the middle of box n of the panel as the mode lays it out.
std::string Click(uint8_t mode, int n) {
  TTransformPanelLayout L;
  LayOutTransformPanel(L, mode, true);
  const TBox& b = L.boxes[n - 1];
  EXPECT_EQ(b.flag, 1) << "box " << n << " of mode " << int(mode);
  return "click " + std::to_string((b.x1 + b.x2) / 2) + " " + std::to_string((b.y1 + b.y2) / 2) + " left\n";
}

// Runs the panel on the square's extent with the script.
bool RunPanel(TTransformScreen& screen, const TExtentsPair& e, TTransformDialogState& s, const std::string& script,
              bool offerDuplicate = true) {
  uitest::NewScript(screen, script);
  return RunTransformDialog(e, s, offerDuplicate);
}

TEST(TransformPanel, BoxesFollowTheMode) {
  TTransformScreen screen;
  TTransformPanelLayout move, turn, percent;
  LayOutTransformPanel(move, kTransformMove, false);
  LayOutTransformPanel(turn, kTransformRotate, true);
  LayOutTransformPanel(percent, kTransformPercent, true);
  EXPECT_EQ(move.right, DrawingArea.x2);
  EXPECT_EQ(move.left, DrawingArea.x2 - 184);
  EXPECT_EQ(move.boxes[12].flag, 0) << "a move has no third row";
  EXPECT_EQ(turn.boxes[12].flag, 1);
  EXPECT_EQ(move.boxes[25].flag, 0) << "duplicate only when offered";
  EXPECT_EQ(turn.boxes[25].flag, 1);
  EXPECT_EQ(percent.boxes[6].flag, 0) << "no minus buttons in percent mode";
  EXPECT_EQ(percent.boxes[8].flag, 1);
  // Reference boxes 10 x 10, 28 pixels apart in a row, 20 between rows.
  EXPECT_EQ(move.boxes[17].x1 - move.boxes[16].x1, 28);
  EXPECT_EQ(move.boxes[19].y1 - move.boxes[16].y1, 20);
  EXPECT_EQ(move.boxes[16].x2 - move.boxes[16].x1, 9);
  // Nothing overlaps on a row: minus, field and plus side by side.
  EXPECT_LT(int(move.boxes[6].x2), int(move.boxes[7].x1));
  EXPECT_LT(int(move.boxes[7].x2), int(move.boxes[8].x1));
  EXPECT_LE(int(move.boxes[26].y2), move.bottom);
}

TEST(TransformPanel, StepButtonsAddAndSubtractTheStep) {
  TTransformScreen screen;
  const TExtentsPair e = TTransformScreen::SelectSquare();
  TTransformDialogState s = State(kTransformMove, kToggleRelative, 5, 0, 0);
  const std::string plus = Click(kTransformMove, 9), minus = Click(kTransformMove, 10);
  ASSERT_TRUE(RunPanel(screen, e, s, plus + plus + plus + minus + Click(kTransformMove, 27)));
  EXPECT_EQ(s.mode, kTransformMove);
  EXPECT_EQ(s.toggle, kToggleRelative);
  EXPECT_NEAR(s.value1, 0.3, 1e-5);
  EXPECT_NEAR(s.value2, -0.1, 1e-5);
  EXPECT_EQ(s.result, kResultApply);
  // Turning: a step of one degree, the third row carries the centre.
  s = State(kTransformRotate, kToggleRelative, 5, 10, 1, 2);
  ASSERT_TRUE(RunPanel(screen, e, s, Click(kTransformRotate, 9) + Click(kTransformRotate, 15) +
                                         Click(kTransformRotate, 26)));
  EXPECT_NEAR(s.value1, 11, 1e-5);
  EXPECT_NEAR(s.value2, 1, 1e-5);
  EXPECT_NEAR(s.value3, 3, 1e-5);
  EXPECT_EQ(s.result, kResultDuplicate);
}

TEST(TransformPanel, MirrorButtonsAndKeepRatio) {
  TTransformScreen screen;
  const TExtentsPair e = TTransformScreen::SelectSquare();
  TTransformDialogState s = State(kTransformMove, kToggleRelative, 5, 3, 4);
  // Percent mode starts at 100 %; the first mirror negates row 1 alone, with
  // keep-ratio on the second negates both rows.
  ASSERT_TRUE(RunPanel(screen, e, s,
                       Click(kTransformMove, 4) + Click(kTransformPercent, 9) + Click(kTransformPercent, 16) +
                           Click(kTransformPercent, 12) + Click(kTransformPercent, 27)));
  EXPECT_EQ(s.mode, kTransformPercent);
  EXPECT_FLOAT_EQ(s.value1, 100);
  EXPECT_FLOAT_EQ(s.value2, -100);
  // -100 % in y about reference 5: mirrored about y = 25.
  TExtentsPair moved = e;
  ApplyTransformState(s, moved);
  ExpectPoints(ReadRaw(kVectorStoreName), {{20, 30}, {30, 30}, {30, 20}, {20, 20}});
}

TEST(TransformPanel, ReferenceGridAndTypedValuesMoveToTheOrigin) {
  TTransformScreen screen;
  TExtentsPair e = TTransformScreen::SelectSquare();
  TTransformDialogState s = State(kTransformMove, kToggleAbsolute, 5, 0, 0);
  // Reference 7 shows (20, 20); typing 0 and 0 puts that corner on the origin.
  ASSERT_TRUE(RunPanel(screen, e, s,
                       Click(kTransformMove, 23) + Click(kTransformMove, 8) + "text 0\nkey Enter\n" +
                           Click(kTransformMove, 11) + "text 0\nkey Enter\n" + Click(kTransformMove, 27)));
  EXPECT_EQ(s.reference, 7);
  EXPECT_FLOAT_EQ(s.value1, 0);
  EXPECT_FLOAT_EQ(s.value2, 0);
  ApplyTransformState(s, e);
  ExpectPoints(ReadRaw(kVectorStoreName), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  // A reference click alone shows the point's coordinates; cancel keeps
  // what was shown in the state and reports false.
  TTransformScreen screen2;
  const TExtentsPair e2 = TTransformScreen::SelectSquare();
  s = State(kTransformMove, kToggleAbsolute, 5, 0, 0);
  EXPECT_FALSE(RunPanel(screen2, e2, s, Click(kTransformMove, 19) + Click(kTransformMove, 1)));
  EXPECT_EQ(s.reference, 3);
  EXPECT_FLOAT_EQ(s.value1, 30);
  EXPECT_FLOAT_EQ(s.value2, 30);
}

TEST(TransformPanel, KeepRatioScalesTheOtherRowAndRefusesAZeroSize) {
  {
    TTransformScreen screen;
    const TExtentsPair e = TTransformScreen::SelectSquare();
    TTransformDialogState s = State(kTransformMove, kToggleRelative, 7, 0, 0);
    // Size mode starts at the selection's size 10 x 10; a width of 25 with
    // keep-ratio on makes the height 25 too.
    ASSERT_TRUE(RunPanel(screen, e, s,
                         Click(kTransformMove, 5) + Click(kTransformSize, 16) + Click(kTransformSize, 8) +
                             "text 25\nkey Enter\n" + Click(kTransformSize, 27)));
    EXPECT_EQ(s.mode, kTransformSize);
    EXPECT_FLOAT_EQ(s.value1, 25);
    EXPECT_FLOAT_EQ(s.value2, 25);
  }
  {
    // A selection of no width: the ratio cannot be formed, the height stays.
    TTransformScreen screen;
    WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 20, 40)});
    StoreHoldsData = 1;
    TExtentsPair e;
    GetVectorFileExtentOwnBuffer(kVectorStoreName, true, e);
    TTransformDialogState s = State(kTransformSize, kToggleRelative, 7, 0, 0);
    ASSERT_TRUE(RunPanel(screen, e, s,
                         Click(kTransformSize, 16) + Click(kTransformSize, 8) + "text 5\nkey Enter\n" +
                             Click(kTransformSize, 27)));
    EXPECT_FLOAT_EQ(s.value1, 5);
    EXPECT_FLOAT_EQ(s.value2, 20);
    EXPECT_TRUE(std::isfinite(s.value2));
  }
}

TEST(TransformPanel, HandleLoopOpensThePanelWithTab) {
  TTransformScreen screen;
  TTransformScreen::SelectSquare();
  TransformDialogState = State(kTransformMove, kToggleRelative, 5, 0, 0);
  HandlesSwitch = 1;
  // Tab opens the panel (no duplicate offered), two plus clicks and apply
  // move the square by 0.2; a right click ends the loop.
  TTransformPanelLayout L;
  LayOutTransformPanel(L, kTransformMove, false);
  EXPECT_EQ(L.boxes[25].flag, 0);
  const std::string plus = Click(kTransformMove, 9);
  uitest::NewScript(screen, "key Tab\n" + plus + plus + Click(kTransformMove, 27) + "click 5 300 right\n");
  RunSelectionHandleLoop();
  ExpectPoints(ReadRaw(kVectorStoreName), {{20.2, 20}, {30.2, 20}, {30.2, 30}, {20.2, 30}});
  EXPECT_TRUE(ReadRaw(BuildLayerBareName(0)).empty()) << "no copy left in the layer";
}


// Every caption of the panel, measured in the font it is drawn with, fits
// its room: the title (button font) before the cancel button, the mode's
// heading and the row labels (cell font) before the panel's edge and the
// minus button, the toggle and the two wide buttons (button font, the last
// two beside a 16-pixel picture) inside their boxes.
TEST(TransformDialog, CaptionsFitTheirBoxes) {
  TTransformScreen screen;
  for (uint8_t mode = kTransformMove; mode <= kTransformShear; ++mode) {
    SCOPED_TRACE(int(mode));
    TTransformPanelLayout L;
    LayOutTransformPanel(L, mode, true);
    const TBox& cancel = L.boxes[0];
    EXPECT_LE(L.left + 8 + MeasureButtonTextWidth(GetMessageText(1004, -19)) + 4, int(cancel.x1));
    const int x = 8 * L.textColumn;
    EXPECT_LE(x + MeasureScreenTextWidth(GetMessageText(int16_t(998 + mode), -19)), L.right - 3);
    const TBox& firstMinus = L.boxes[6];
    const std::string rowLabel = mode == kTransformRotate ? GetMessageText(2872, -19) : "X";
    ASSERT_FALSE(rowLabel.empty());
    const TBox& rowStart = mode == kTransformPercent ? L.boxes[7] : firstMinus;
    EXPECT_LE(x + MeasureScreenTextWidth(rowLabel), int(rowStart.x1)) << rowLabel;
    // The widest value still fits between the minus and the plus button.
    const TBox& firstPlus = L.boxes[8];
    EXPECT_LE(8 * L.fieldColumn + MeasureScreenTextWidth("-9999.999"), int(firstPlus.x1));
    EXPECT_GE(8 * L.fieldColumn, int(rowStart.x1));
    struct TButtonCaption {
      int16_t message;
      int box;  // index in the layout's boxes
      bool picture;
    };
    const TButtonCaption buttons[] = {{4055, 15, false}, {4056, 15, false}, {2817, 15, false},
                                      {2818, 15, false}, {1005, 25, true},  {1006, 26, true}};
    for (const TButtonCaption& b : buttons) {
      const std::string text = GetMessageText(b.message, -19);
      const TBox& box = L.boxes[b.box];
      ASSERT_EQ(1, int(box.flag)) << text;
      EXPECT_LE(MeasureButtonTextWidth(text) + 4 + (b.picture ? 24 : 0), box.x2 - box.x1) << text;
      EXPECT_LE(14, box.y2 - box.y1) << text;
    }
  }
}

}  // namespace
