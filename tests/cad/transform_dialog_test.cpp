// Applying the transform dialog's values to the selection: moves, turns,
// scales, sizes and shears about the reference points, duplicates, and the
// guarded keep-ratio and size divisions.
#include "cad/transform_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "geometry_test_support.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/ui_screen.h"
#include "view/extents.h"
#include "view/view_transform.h"

namespace {

using geomtest::ReadRaw;
using geomtest::Rec;
using geomtest::WriteRaw;

constexpr double kPi = 3.14159265358979323846;

class TTransformScreen : public uitest::TScreen {
 public:
  TTransformScreen() {
    InitDataFileSlots();
    LoadParamFile();
    WorldXMin = 0;
    WorldYMin = 0;
    ViewScaleX = 2;
    ViewScaleY = 2;
    WorldXMax = float(DrawingArea.x2 - DrawingArea.x1) / 2;
    WorldYMax = float(DrawingArea.y2 - DrawingArea.y1) / 2;
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

}  // namespace
