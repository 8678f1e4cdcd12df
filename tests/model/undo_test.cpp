// Undo and redo.
#include "model/undo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/layer_files.h"
#include "support/store_test_support.h"
#include "model/text_job.h"

namespace {
using namespace storetest;

class UndoTest : public StoreTest {
 protected:
  void TearDown() override {
    AllocUndoBlockMemory = kept_;
    StoreTest::TearDown();
  }
  // A layer file content that tells the versions apart.
  static TRecs Version(int n) {
    TRecs r;
    for (int i = 0; i <= n; ++i) r.push_back(Rec(kRecLinePoint, float(n), float(i)));
    return r;
  }
  uint8_t* (*kept_)(uint32_t) = AllocUndoBlockMemory;
};

// Seven snapshots: the oldest is dropped, six undo steps succeed and the
// seventh finds nothing (message 42).
TEST_F(UndoTest, SevenSnapshotsGiveSixUndoSteps) {
  for (int n = 0; n < 7; ++n) {
    Put(Layer(0), Version(n));
    ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer)) << n;
  }
  Put(Layer(0), Version(7));
  for (int n = 6; n >= 1; --n) {
    ASSERT_TRUE(StepUndoRedo(0)) << n;
    EXPECT_TRUE(SameRecords(Get(Layer(0)), Version(n))) << n;
    EXPECT_EQ(LayerRecordCounts[0], n + 1);
  }
  EXPECT_FALSE(TranscriptShows(42));
  EXPECT_FALSE(StepUndoRedo(0));
  EXPECT_TRUE(TranscriptShows(42));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Version(1)));
  // Redo brings back the state before the last undo.
  ASSERT_TRUE(StepUndoRedo(1));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Version(2)));
}

// Undo and redo restore the files, StoreHoldsData and the current layer.
TEST_F(UndoTest, RedoRestoresTheStateBeforeTheUndo) {
  const TRecs layerA = Square(0, 0, 10), storeA = Square(50, 0, 5), layerB = Square(7, 7, 3),
              storeB = Square(90, 0, 2);
  CurrentLayer = 1;
  Put(Layer(1), layerA);
  Put(kVectorStoreName, storeA);
  StoreHoldsData = 1;
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore));

  CurrentLayer = 0;
  Put(Layer(0), layerB);
  Put(Layer(1), {});
  Put(kVectorStoreName, storeB);

  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_EQ(CurrentLayer, 1);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(Layer(1)), layerA));
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), storeA));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), layerB));  // not part of the step

  ASSERT_TRUE(StepUndoRedo(1));
  EXPECT_EQ(CurrentLayer, 0);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(Layer(0)), layerB));
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), storeB));
  // The step is back in the undo slot.
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), storeA));
}

TEST_F(UndoTest, ANewSnapshotDiscardsTheRedoStep) {
  Put(Layer(0), Version(1));
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer));
  Put(Layer(0), Version(2));
  ASSERT_TRUE(StepUndoRedo(0));
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer));
  EXPECT_FALSE(StepUndoRedo(1));
  EXPECT_TRUE(TranscriptShows(42));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Version(1)));
}

TEST_F(UndoTest, StoreSnapshotWithoutSelectionClearsTheFlagAndLeavesTheFile) {
  Put(kVectorStoreName, Square(0, 0, 1));
  StoreHoldsData = 0;
  ASSERT_TRUE(TakeUndoSnapshot(kUndoStore));
  const TRecs later = Square(5, 5, 5);
  Put(kVectorStoreName, later);
  StoreHoldsData = 1;
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), later));
  ASSERT_TRUE(StepUndoRedo(1));
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_TRUE(SameRecords(Get(kVectorStoreName), later));
}

TEST_F(UndoTest, AllLayersPropertiesScratchAndViewComeBack) {
  for (int n = 0; n <= HighestLayer; ++n) Put(Layer(n), Version(n));
  WriteFile("EIGENSCH.TMP", "#000001\r\nFARBE 1\r\n");
  Put(kScratchStoreName, Version(9));
  const TExtentsPair view{{1, -5, -6}, {5, 70, 80}};
  CurrentViewExtent = view;
  ASSERT_TRUE(TakeUndoSnapshot(kUndoAllLayers | kUndoProperties | kUndoScratch | kUndoView));
  for (int n = 0; n <= HighestLayer; ++n) Put(Layer(n), {});
  WriteFile("EIGENSCH.TMP", "");
  Put(kScratchStoreName, {});
  CurrentViewExtent = TExtentsPair{};
  ASSERT_TRUE(StepUndoRedo(0));
  for (int n = 0; n <= HighestLayer; ++n) EXPECT_TRUE(SameRecords(Get(Layer(n)), Version(n))) << n;
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"), "#000001\r\nFARBE 1\r\n");
  EXPECT_TRUE(SameRecords(Get(kScratchStoreName), Version(9)));
  EXPECT_EQ(memcmp(&CurrentViewExtent, &view, sizeof view), 0);
}

// Sizes are kept exactly, also where a 4-byte float could not count them.
TEST_F(UndoTest, LargeFilesComeBackWithTheirExactSize) {
  const size_t size = (size_t(1) << 24) + 1;  // 16,777,217: no float holds it
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; i += 4093) bytes[i] = char(i / 4093);
  bytes.back() = 'Z';
  WriteFile(Layer(0), bytes);
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer));
  WriteFile(Layer(0), "");
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(ReadFile(Layer(0)) == bytes);
}

// The size check uses the files' real sizes, not the layer count table.
TEST_F(UndoTest, TooLargeSnapshotIsRefusedAndOlderStepsStay) {
  Put(Layer(0), Version(3));
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer));
  WriteFile(Layer(1), "");
  std::filesystem::resize_file(Host(Layer(1)), uint64_t(kUndoSlotCapacity));  // sparse
  CurrentLayer = 1;
  LayerRecordCounts[1] = 0;
  EXPECT_FALSE(TakeUndoSnapshot(kUndoCurrentLayer));
  EXPECT_FALSE(TakeUndoSnapshot(kUndoAllLayers));
  CurrentLayer = 0;
  Put(Layer(0), Version(5));
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Version(3)));
}

// A snapshot that cannot be stored whole is dropped; undo never writes a
// truncated file back.
TEST_F(UndoTest, SnapshotThatCannotBeStoredWholeIsDropped) {
  Put(Layer(0), Version(3));
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer));
  TRecs big;
  for (int i = 0; i < 10000; ++i) big.push_back(Rec(kRecLinePoint, float(i), 1));  // 130,000 bytes: 4 blocks
  Put(Layer(0), big);
  static int allowed;
  allowed = 2;
  AllocUndoBlockMemory = [](uint32_t bytes) -> uint8_t* {
    return allowed-- > 0 ? new uint8_t[bytes] : nullptr;
  };
  EXPECT_FALSE(TakeUndoSnapshot(kUndoCurrentLayer));
  AllocUndoBlockMemory = kept_;
  EXPECT_FALSE(UndoSlotHoldsStep(1));  // nothing was shifted
  Put(Layer(0), Version(8));
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_TRUE(SameRecords(Get(Layer(0)), Version(3)));
  EXPECT_FALSE(StepUndoRedo(0));
}

// Text lines come back with their parameters and cleared placements.
TEST_F(UndoTest, TextJobComesBackWithClearedPlacements) {
  std::string head(kTextJobHeadSize, '\x11');
  const int16_t lines = 3;
  memcpy(&head[35], &lines, 2);
  std::string file = head;
  for (int n = 0; n < lines; ++n) {
    file += std::string(160, char('a' + n));
    file += std::string(kTextPlacementSize, '\x7f');
  }
  WriteFile("HS01.TMP", file);
  ASSERT_TRUE(TakeUndoSnapshot(kUndoTextJob));
  WriteFile("HS01.TMP", "");
  ASSERT_TRUE(StepUndoRedo(0));
  const std::string back = ReadFile("HS01.TMP");
  ASSERT_EQ(back.size(), file.size());
  EXPECT_EQ(back.substr(0, kTextJobHeadSize), head);
  uint8_t cleared[kTextPlacementSize];
  memset(cleared, 0x7f, sizeof cleared);
  ClearTextPlacement(cleared);
  for (int n = 0; n < lines; ++n) {
    const size_t at = kTextJobHeadSize + size_t(n) * kTextLineSize;
    EXPECT_EQ(back.substr(at, 160), std::string(160, char('a' + n))) << n;
    EXPECT_EQ(memcmp(back.data() + at + 160, cleared, sizeof cleared), 0) << n;
  }
}

TEST_F(UndoTest, SlotPrimitivesCrossBlockBoundaries) {
  TUndoSlot& slot = UndoSlots[3];
  std::string data(kUndoBlockBytes + 100, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7);
  SetUndoSlotPosition(slot, kUndoBlockBytes - 50);
  int32_t done = 0;
  WriteUndoSlot(slot, data.data(), int32_t(data.size()), done);
  EXPECT_EQ(done, int32_t(data.size()));
  EXPECT_EQ(slot.size, kUndoBlockBytes - 50 + int32_t(data.size()));
  std::string back(data.size(), '\0');
  SetUndoSlotPosition(slot, kUndoBlockBytes - 50);
  ReadUndoSlot(slot, back.data(), int32_t(back.size()) + 10, done);  // stops at the size
  EXPECT_EQ(done, int32_t(data.size()));
  EXPECT_EQ(back, data);
  // Moving hands the blocks over; moving into a slot that holds data is refused.
  MoveUndoSlot(slot, UndoSlots[4]);
  EXPECT_EQ(UndoSlots[4].size, kUndoBlockBytes - 50 + int32_t(data.size()));
  EXPECT_EQ(slot.size, 0);
  SetUndoSlotPosition(slot, 5);
  MoveUndoSlot(slot, UndoSlots[4]);
  EXPECT_EQ(UndoSlots[4].status, kUndoLogicalError);
  EXPECT_EQ(slot.status, kUndoLogicalError);
}

TEST_F(UndoTest, ReleasingTwiceIsReported) {
  ReleaseUndoSlots();
  EXPECT_EQ(UndoSlots, nullptr);
  EXPECT_FALSE(TakeUndoSnapshot(kUndoCurrentLayer));
  ReleaseUndoSlots();
  EXPECT_NE(Transcript().find("H3UnDo: Doppelter Aufruf!"), std::string::npos);
  InitUndoSlots();
  ASSERT_NE(UndoSlots, nullptr);
}

}  // namespace
