// Vector store and contour marking.
#include "model/vector_store.h"
#include "cad/mouse_selection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame/file_helpers.h"

#include "model/layer_files.h"
#include "support/store_test_support.h"

namespace {
using namespace storetest;

class VectorStoreTest : public StoreTest {};

TPointRecord At(float x, float y) { return TPointRecord{0, x, y}; }

TEST(SegmentDistanceTest, PerpendicularInsideAndNearerEndOutside) {
  EXPECT_NEAR(DistancePointToSegment(5, 3, 0, 0, 10, 0), 3.0, 1e-9);
  EXPECT_NEAR(DistancePointToSegment(13, 4, 0, 0, 10, 0), 5.0, 1e-9);  // beyond B: |PB|
  EXPECT_NEAR(DistancePointToSegment(-3, 0, 0, 0, 10, 0), 3.0, 1e-9);
  EXPECT_NEAR(DistancePointToSegment(1, 1, 2, 2, 2, 2), std::sqrt(2.0), 1e-9);  // zero-length segment
}

// A click takes the contour within 20 pixels (10 mm at 2 pixels per mm) by
// its segment distance; the taken contour leaves the layer file.
TEST_F(VectorStoreTest, ClickTakesTheContourWithinTwentyPixels) {
  const struct { float y; bool taken; } cases[] = {{-7.5f, true}, {-9.9f, true}, {-12.5f, false}, {-10.1f, false}};
  for (const auto& c : cases) {
    ClearVectorStore();
    const TRecs square = Square(0, 0, 40), other = Square(100, 100, 10);
    Put(Layer(0), Join({other, square}));
    SelectContoursAt(Layer(0), 0, At(20, c.y), At(20, c.y), false);
    SCOPED_TRACE(c.y);
    EXPECT_EQ(StoreHoldsData, c.taken ? 1 : 0);
    EXPECT_TRUE(SameRecords(Get(kVectorStoreName), c.taken ? square : TRecs{}));
    EXPECT_TRUE(SameRecords(Get(Layer(0)), c.taken ? other : Join({other, square})));
  }
}

TEST_F(VectorStoreTest, VertexSearchPrefersALinePointOverAStartAtEqualDistance) {
  // Contour A's start and contour B's line point both lie 4 mm from the query.
  const TRecs a = {Rec(kRecContourStart, -4, 0), Rec(kRecLinePoint, -4, -30)};
  const TRecs b = {Rec(kRecContourStart, 0, 30), Rec(kRecLinePoint, 4, 0)};
  Put(Layer(0), Join({a, b}));
  uint8_t found = 0;
  PickContourIntoStore(Layer(0), At(0, 0), kPickRemove, found);
  EXPECT_EQ(found, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), b));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), a));
}

TEST_F(VectorStoreTest, PickWithoutRemoveLeavesTheSourceAlone) {
  const TRecs square = Square(0, 0, 10);
  Put(Layer(0), square);
  uint8_t found = 0;
  PickContourIntoStore(Layer(0), At(0.5f, 0.5f), 0, found);
  EXPECT_EQ(found, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), square));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), square));
}

// A rubber band wider than 6 pixels takes exactly the contours inside it;
// in any-point mode also the one it crosses.
TEST_F(VectorStoreTest, RubberBandTakesTheContoursInsideIt) {
  const TRecs in1 = Square(0, 0, 10), in2 = Square(20, 0, 10), crossing = Square(45, 0, 10),
              outside = Square(200, 200, 10);
  const struct { int flags; bool crossingTaken; } cases[] = {{0, false}, {kRectAnyPoint, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    ClearVectorStore();
    Put(Layer(0), Join({in1, crossing, outside, in2}));
    SelectContoursAt(Layer(0), c.flags, At(-1, -1), At(50, 20), false);
    EXPECT_EQ(StoreHoldsData, 1);
    if (c.crossingTaken) {
      EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({in1, crossing, in2})));
      EXPECT_TRUE(SameRecords(Get(Layer(0)), outside));
    } else {
      EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({in1, in2})));
      EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({crossing, outside})));
    }
    EXPECT_EQ(GetFileByteSize(kRectangleRestName), 0);
  }
}

TEST_F(VectorStoreTest, RectangleCopyLeavesTheSource) {
  const TRecs in1 = Square(0, 0, 10), outside = Square(200, 200, 10);
  Put(Layer(0), Join({in1, outside}));
  uint8_t found = 0;
  TExtentsPair box{{1, -1, -1}, {5, 11, 11}};
  TakeContoursInRectangle(Layer(0), box, kRectCopy, found);
  EXPECT_EQ(found, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), in1));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({in1, outside})));
}

// Contours longer than a block of 5000 records are taken or left whole.
TEST_F(VectorStoreTest, RectangleKeepsLongContoursWhole) {
  TRecs inside = {Rec(kRecContourStart, 0, 0)};
  for (int i = 1; i <= 6000; ++i) inside.push_back(Rec(kRecLinePoint, float(i % 50), float(i % 40)));
  // Inside for its first 5500 records, then it leaves the rectangle.
  TRecs leaving = {Rec(kRecContourStart, 1, 1)};
  for (int i = 1; i <= 6000; ++i) leaving.push_back(Rec(kRecLinePoint, i <= 5500 ? 2.0f : 500.0f, 2));
  const TRecs small = Square(10, 10, 5);
  Put(Layer(0), Join({inside, leaving, small}));
  uint8_t found = 0;
  TakeContoursInRectangle(Layer(0), TExtentsPair{{1, -1, -1}, {5, 60, 60}}, 0, found);
  EXPECT_EQ(found, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({inside, small})));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), leaving));
}

// Without Shift the previous selection goes back into its layer file; with
// Shift the selection grows.
TEST_F(VectorStoreTest, PreviousSelectionGoesBackUnlessTheSelectionGrows) {
  const TRecs a = Square(0, 0, 10), b = Square(50, 0, 10), c = Square(100, 0, 10);
  Put(Layer(0), Join({a, b, c}));
  SelectContoursAt(Layer(0), 0, At(5, -2), At(5, -2), false);
  ASSERT_TRUE(SameRecords(Get(kVectorStoreName), a));
  SelectContoursAt(Layer(0), 0, At(55, -2), At(55, -2), false);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), b));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({c, a})));
  EXPECT_EQ(LayerRecordCounts[0], 10);
  SelectContoursAt(Layer(0), 0, At(105, -2), At(105, -2), true);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({b, c})));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), a));
  // A miss without Shift still puts the selection back.
  SelectContoursAt(Layer(0), 0, At(300, 300), At(300, 300), false);
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(GetFileByteSize(kVectorStoreName), 0);
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({a, b, c})));
}

TEST_F(VectorStoreTest, SelectionTakesAnUndoSnapshotOfLayerAndStore) {
  const TRecs a = Square(0, 0, 10), b = Square(50, 0, 10);
  Put(Layer(0), Join({a, b}));
  SelectContoursAt(Layer(0), 0, At(5, -2), At(5, -2), false);
  SelectContoursAt(Layer(0), 0, At(55, -2), At(55, -2), false);
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), b));
  // Flag 16: no snapshot.
  for (int i = 0; i < kUndoSlotCount; ++i) ClearUndoSlot(UndoSlots[i]);
  SelectContoursAt(Layer(0), kSelectNoUndo, At(55, -2), At(55, -2), false);
  EXPECT_FALSE(UndoSlotHoldsStep(0));
}

TEST_F(VectorStoreTest, CutCopyAndPasteRoundTripThroughTheClipboardFile) {
  const TRecs a = Square(0, 0, 10), b = Square(50, 0, 10);
  Put(Layer(0), Join({a, b}));
  ClearClipboardFile();
  SelectContoursAt(Layer(0), 0, At(5, -2), At(5, -2), false);

  CopyStoreToClipboardFile();
  EXPECT_TRUE(SameRecords(Get(kClipboardFileName), a));
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));

  CutStoreToClipboardFile();
  EXPECT_TRUE(SameRecords(Get(kClipboardFileName), a));
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(GetFileByteSize(kVectorStoreName), 0);

  PasteClipboardFileIntoStore();
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));
  PasteClipboardFileIntoStore();  // pasting again adds a second copy
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({a, a})));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), b));
  // The paste can be undone.
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));

  ClearClipboardFile();
  EXPECT_EQ(GetFileByteSize(kClipboardFileName), 0);
  ClearVectorStore();
  PasteClipboardFileIntoStore();  // nothing to paste
  EXPECT_EQ(StoreHoldsData, 0);
}

TEST_F(VectorStoreTest, ParkingTheStoreKeepsTheSelection) {
  const TRecs a = Square(0, 0, 10);
  Put(kVectorStoreName, a);
  StoreHoldsData = 1;
  MoveStoreToScratchFile();
  EXPECT_TRUE(StoreParked);
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_TRUE(SameRecords(Get(kScratchStoreName), a));
  EXPECT_EQ(GetFileByteSize(kVectorStoreName), 0);
  LoadStoreFromScratchFile();
  EXPECT_FALSE(StoreParked);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));
  EXPECT_EQ(GetFileByteSize(kScratchStoreName), 0);
  // Without a selection the scratch file comes back empty and so does the store.
  ClearVectorStore();
  MoveStoreToScratchFile();
  LoadStoreFromScratchFile();
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(GetFileByteSize(kVectorStoreName), 0);
}

TEST_F(VectorStoreTest, FlushAppendsTheStoreToTheLayerAndDropsEmptyRecords) {
  const TRecs a = Square(0, 0, 10), b = Square(50, 0, 10);
  Put(Layer(0), b);
  Put(kVectorStoreName, Join({a, {Rec(0, 0, 0)}}));
  StoreHoldsData = 1;
  FlushVectorStoreToCurrentLayer();
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(GetFileByteSize(kVectorStoreName), 0);
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({b, a})));
  EXPECT_EQ(LayerRecordCounts[0], 10);
  // A store without the flag holds nothing that counts: it is not appended.
  Put(kVectorStoreName, a);
  FlushVectorStoreIntoFile(Layer(0));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({b, a})));
}

TEST_F(VectorStoreTest, PickOverAllLayersMakesTheFoundLayerCurrent) {
  const TRecs a = Square(0, 0, 10), b = Square(50, 0, 10);
  Put(Layer(0), a);
  Put(Layer(2), b);
  PickContourFromAnyLayerAt(kPickRemove | kPickBySegment, At(55, -1));
  EXPECT_EQ(CurrentLayer, 2);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), b));
  EXPECT_EQ(GetFileByteSize(Layer(2)), 0);
  EXPECT_TRUE(SameRecords(Get(Layer(0)), a));
  // A negative mode keeps the current layer; the store goes back to layer 2 first.
  PickContourFromAnyLayerAt(-128 | kPickRemove | kPickBySegment, At(5, -1));
  EXPECT_EQ(CurrentLayer, 2);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));
  EXPECT_TRUE(SameRecords(Get(Layer(2)), b));
  EXPECT_EQ(GetFileByteSize(Layer(0)), 0);
}

TEST_F(VectorStoreTest, MarkWholeLayerAndChooseEditSource) {
  const TRecs a = Square(0, 0, 10);
  std::string name = "x";
  ChooseEditSourceFile(name);
  EXPECT_EQ(name, "");
  EXPECT_TRUE(TranscriptShows(42));
  MarkWholeCurrentLayer();  // empty layer: nothing
  EXPECT_EQ(StoreHoldsData, 0);

  Put(Layer(0), a);
  ChooseEditSourceFile(name);
  EXPECT_EQ(name, Layer(0));
  MarkWholeCurrentLayer();
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));
  EXPECT_EQ(GetFileByteSize(Layer(0)), 0);
  ChooseEditSourceFile(name);
  EXPECT_EQ(name, kVectorStoreName);
}

TEST_F(VectorStoreTest, GroupingThenUngroupingGivesTheFileBack) {
  const TRecs original = Join({Square(0, 0, 10), Square(20, 0, 10), Square(40, 0, 10)});
  TRecs marked = original;
  marked[0].z = -3;  // the first start keeps its z
  Put(Layer(0), marked);
  RecodeContourStarts(Layer(0), 1);
  TRecs grouped = Get(Layer(0));
  ASSERT_EQ(grouped.size(), original.size());
  EXPECT_EQ(grouped[0].type, kRecContourStart);
  EXPECT_EQ(grouped[5].type, kRecLinePoint);
  EXPECT_LE(float(grouped[5].z), kPenUpZ);
  EXPECT_EQ(grouped[10].type, kRecLinePoint);
  RecodeContourStarts(Layer(0), 0);
  EXPECT_TRUE(SameRecords(Get(Layer(0)), marked));
}

TEST_F(VectorStoreTest, PrepareCurrentLayerFlushesTheStore) {
  const TRecs a = Square(0, 0, 10), b = Square(50, 0, 10);
  EXPECT_FALSE(PrepareCurrentLayerForEdit(3));
  EXPECT_TRUE(TranscriptShows(42));
  Put(Layer(0), a);
  Put(kVectorStoreName, b);
  StoreHoldsData = 1;
  EXPECT_TRUE(PrepareCurrentLayerForEdit(3));  // both checks off: no question
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({a, b})));
}

}  // namespace

// The interactive selection with scripted mouse input: a drag spans a rubber
// band, a click picks the contour under the cursor.
class MouseSelectionTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    GetClientMaxXY(MaxX, MaxY);
    DrawingArea = TLayoutRect{1, 20, 60, int16_t(MaxX - 200), int16_t(MaxY - 20)};
    GridSnapOn = 0;
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    FitViewToExtent(TExtentsPair{{1, -10, -10}, {5, 200, 150}});
  }
  std::string Screen(float x, float y) const {
    int16_t sx = 0, sy = 0;
    WorldToScreen(x, y, sx, sy);
    return std::to_string(sx) + " " + std::to_string(sy);
  }
};

TEST_F(MouseSelectionTest, DragTakesTheContoursInsideTheBand) {
  const TRecs a = Square(0, 0, 20), b = Square(30, 0, 20), c = Square(120, 100, 20);
  Put(Layer(0), Join({a, b, c}));
  Answer("move " + Screen(-5, -5) + "\npress " + Screen(-5, -5) + " left\nmove " + Screen(30, 20) +
         "\nmove " + Screen(60, 30) + "\nrelease " + Screen(60, 30) + " left\n");
  SelectContoursWithMouse(Layer(0), 0);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({a, b})));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), c));
}

TEST_F(MouseSelectionTest, ClickTakesTheContourAndARightButtonNothing) {
  const TRecs a = Square(0, 0, 40), c = Square(120, 100, 20);
  Put(Layer(0), Join({a, c}));
  Answer("move " + Screen(130, 99) + "\npress " + Screen(130, 99) + " left\nrelease " + Screen(130, 99) +
         " left\n");
  SelectContoursWithMouse(Layer(0), 0);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), c));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), a));

  MouseButtonState = 0;
  CloseRequested = false;
  Answer("move " + Screen(20, -1) + "\npress " + Screen(20, -1) + " right\nrelease " + Screen(20, -1) +
         " right\n");
  SelectContoursWithMouse(Layer(0), 0);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), c));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), a));
}

TEST_F(MouseSelectionTest, UnmarkingPutsPickedContoursBackIntoTheLayer) {
  const TRecs a = Square(0, 0, 40), c = Square(120, 100, 20), rest = Square(60, 60, 10);
  Put(Layer(0), rest);
  Put(kVectorStoreName, Join({a, c}));
  StoreHoldsData = 1;
  Answer("move " + Screen(130, 99) + "\npress " + Screen(130, 99) + " right\nrelease " + Screen(130, 99) +
         " right\n");
  UnmarkContoursWithMouse();
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), Join({a, c})));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), rest));

  MouseButtonState = 0;
  CloseRequested = false;
  Answer("move " + Screen(130, 99) + "\npress " + Screen(130, 99) + " left\nrelease " + Screen(130, 99) +
         " left\n");
  UnmarkContoursWithMouse();
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), a));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Join({rest, c})));
  EXPECT_EQ(GetFileByteSize(kUnmarkStoreName), 0);
}
