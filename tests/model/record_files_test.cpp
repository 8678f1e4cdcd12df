// Whole-file record operations.
#include "model/record_files.h"

#include <gtest/gtest.h>

#include <memory>

#include "frame/math_constants.h"
#include "support/data_file_folder.h"
#include <stdlib.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "model/vector_records.h"
#include "platform/files.h"

namespace {

using torvtest::ReadHostFile;

class RecordFilesTest : public torvtest::DataFileFolderTest {};

TVectorRecord Rec(uint8_t type, float x, float y, float z = 0.0f) { return TVectorRecord{type, x, y, z}; }

bool SameBytes(const TVectorRecord& a, const TVectorRecord& b) { return std::memcmp(&a, &b, 13) == 0; }

// --- extents ------------------------------------------------------------------------------------

TEST_F(RecordFilesTest, ExtentsOfAnEmptyFileAreZero) {
  WriteVectors("EMPTY.TMP", {});
  TVectorExtentsPair pair;
  ReadFileExtents("EMPTY.TMP", pair);
  EXPECT_EQ(+pair.minCorner.type, 1);
  EXPECT_EQ(+pair.maxCorner.type, 5);
  EXPECT_EQ(+pair.minCorner.x, 0.0f);
  EXPECT_EQ(+pair.minCorner.y, 0.0f);
  EXPECT_EQ(+pair.maxCorner.x, 0.0f);
  EXPECT_EQ(+pair.maxCorner.y, 0.0f);
}

TEST_F(RecordFilesTest, AWideStoredHeadIsTakenAsItIs) {
  WriteVectors("HEAD.TMP", {Rec(1, 0, 0), Rec(5, 100, 50), Rec(11, 500, 500), Rec(10, 600, 700)});
  TVectorExtentsPair pair;
  ReadFileExtents("HEAD.TMP", pair);
  EXPECT_EQ(+pair.minCorner.x, 0.0f);
  EXPECT_EQ(+pair.maxCorner.x, 100.0f);
  EXPECT_EQ(+pair.maxCorner.y, 50.0f);
}

TEST_F(RecordFilesTest, ANarrowStoredHeadIsRescanned) {
  WriteVectors("NARROW.TMP", {Rec(1, 0, 0), Rec(5, 0.05f, 50), Rec(11, -5, 2, -1003), Rec(10, 7, 9, kPenUpZ),
                              Rec(12, 3, -4, 5), Rec(10, 1, 1, 0), Rec(13, 99, 99, 99), Rec(150, 99, 99, 99)});
  TVectorExtentsPair pair;
  ReadFileExtents("NARROW.TMP", pair);
  EXPECT_EQ(+pair.minCorner.type, 1);
  EXPECT_EQ(+pair.maxCorner.type, 5);
  EXPECT_EQ(+pair.minCorner.x, -5.0f);
  EXPECT_EQ(+pair.minCorner.y, -4.0f);
  EXPECT_EQ(+pair.maxCorner.x, 7.0f);
  EXPECT_EQ(+pair.maxCorner.y, 9.0f);
  // Heights only: neither the contour mark nor the pen-up flag is a height.
  EXPECT_EQ(+pair.minCorner.z, 0.0f);
  EXPECT_EQ(+pair.maxCorner.z, 5.0f);
}

TEST_F(RecordFilesTest, PointFileExtentsAreScanned) {
  WritePoints("P.PLI", {TPointRecord{11, 2, 3}, TPointRecord{10, -1, 8}, TPointRecord{12, 50, 50}});
  TVectorExtentsPair pair;
  ReadFileExtents("P.PLI", pair);
  EXPECT_EQ(+pair.minCorner.x, -1.0f);
  EXPECT_EQ(+pair.maxCorner.x, 2.0f) << "type 12 does not count in point files";
  EXPECT_EQ(+pair.maxCorner.y, 8.0f);
}

// --- copy and append ---------------------------------------------------------------------------------

std::vector<TVectorRecord> ToolPathSource() {
  return {Rec(1, 0, 0),   Rec(5, 10, 10), Rec(6, 1, 0),        Rec(7, 1, 0),        Rec(150, 2, 0, 90),
          Rec(151, 0, 0), Rec(152, 0, 0), Rec(153, 0, 0),      Rec(154, 0, 0),      Rec(155, 40, 0, 1),
          Rec(156, 2, 3, 4), Rec(157, 12000, 0, 7), Rec(11, 1, 2, -1003), Rec(10, 3, 4, 0),  Rec(12, 5, 6, -2),
          Rec(13, 5, 0, 3.14f), Rec(128, 3, 0),  Rec(0, 0, 0),        Rec(9, 0, 0)};
}

TEST_F(RecordFilesTest, CopyingToAPointFileDropsHeadersAndKeepsTheStation) {
  WriteVectors("PATH.TMP", ToolPathSource());
  CopyOrAppendRecordFile("PATH.TMP", "OUT.H2R", kCopyNew, 0);
  const std::vector<TPointRecord> out = ReadPoints("OUT.H2R");
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(+out[0].type, 128) << "the tool's change station travels as a layer record";
  EXPECT_EQ(+out[0].x, 7.0f);
  EXPECT_EQ(+out[0].y, 0.0f);
  EXPECT_EQ(+out[1].type, 11);
  EXPECT_EQ(+out[1].x, 1.0f);
  EXPECT_EQ(+out[2].type, 10);
  EXPECT_EQ(+out[3].type, 12);
  EXPECT_EQ(+out[4].type, 13);
  EXPECT_EQ(+out[5].type, 128);
  EXPECT_EQ(+out[5].x, 3.0f);

  CopyOrAppendRecordFile("PATH.TMP", "NOLAYERS.PLI", kCopyNew | kCopyDropLayers, 0);
  const std::vector<TPointRecord> noLayers = ReadPoints("NOLAYERS.PLI");
  ASSERT_EQ(noLayers.size(), 5u);
  EXPECT_EQ(+noLayers[4].type, 13) << "the layer record of the source is dropped";
  EXPECT_EQ(+noLayers[0].type, 128) << "a converted station is kept";
}

TEST_F(RecordFilesTest, CopyingVectorFilesKeepsEveryRecordButEmptyOnes) {
  const std::vector<TVectorRecord> source = ToolPathSource();
  WriteVectors("PATH.TMP", source);
  CopyOrAppendRecordFile("PATH.TMP", "COPY.TMP", kCopyNew, 0);
  const std::vector<TVectorRecord> copy = ReadVectors("COPY.TMP");
  ASSERT_EQ(copy.size(), source.size() - 1);
  for (size_t i = 0, j = 0; i < source.size(); ++i) {
    if (source[i].type == 0) continue;
    EXPECT_TRUE(SameBytes(copy[j++], source[i])) << "record " << i;
  }
}

TEST_F(RecordFilesTest, AppendingWithoutAttributesKeepsTheTargetsHead) {
  WriteVectors("TARGET.TMP", {Rec(1, -1, -1), Rec(5, 1, 1), Rec(10, 0, 0)});
  WriteVectors("PATH.TMP", ToolPathSource());
  CopyOrAppendRecordFile("PATH.TMP", "TARGET.TMP", kCopyDropAttributes, 0);
  const std::vector<TVectorRecord> out = ReadVectors("TARGET.TMP");
  ASSERT_EQ(out.size(), 3u + 5u);
  EXPECT_EQ(+out[0].type, 1);
  EXPECT_EQ(+out[0].x, -1.0f);
  EXPECT_EQ(+out[1].type, 5);
  const uint8_t appended[5] = {11, 10, 12, 13, 128};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(+out[3 + i].type, appended[i]);
  EXPECT_EQ(+out[3].z, -1003.0f) << "contour marks are kept";
}

TEST_F(RecordFilesTest, PointRecordsBecomeVectorRecordsWithZeroZ) {
  WritePoints("P.H2R", {TPointRecord{11, 1, 2}, TPointRecord{10, 3, 4}});
  CopyOrAppendRecordFile("P.H2R", "V.TMP", kCopyNew, 0);
  const std::vector<TVectorRecord> out = ReadVectors("V.TMP");
  ASSERT_EQ(out.size(), 2u);
  EXPECT_TRUE(SameBytes(out[0], Rec(11, 1, 2, 0)));
  EXPECT_TRUE(SameBytes(out[1], Rec(10, 3, 4, 0)));
}

TEST_F(RecordFilesTest, AFileAppendedToItselfDoublesOnce) {
  std::vector<TVectorRecord> records;
  for (int i = 0; i < 12000; ++i) records.push_back(Rec(10, float(i), 0));
  WriteVectors("SELF.TMP", records);
  CopyOrAppendRecordFile("SELF.TMP", "SELF.TMP", 0, 0);
  EXPECT_EQ(ReadVectors("SELF.TMP").size(), 24000u);
  CopyOrAppendRecordFile("SELF.TMP", "self.tmp", kCopyNew, 0);
  EXPECT_EQ(ReadVectors("SELF.TMP").size(), 24000u) << "copying a file onto itself leaves it alone";
}

TEST_F(RecordFilesTest, LargeCopiesGoThroughEveryBlock) {
  std::vector<TVectorRecord> records;
  for (int i = 0; i < 15001; ++i) records.push_back(Rec(10, float(i), float(2 * i), float(i % 3)));
  WriteVectors("BIG.TMP", records);
  CopyOrAppendRecordFile("BIG.TMP", "BIG2.TMP", kCopyNew, 0);
  EXPECT_EQ(ReadHostFile(Host("BIG2.TMP")), ReadHostFile(Host("BIG.TMP")));
}

TEST_F(RecordFilesTest, NestedOperationsLeaveTheOuterBufferAlone) {
  std::vector<TVectorRecord> outer;
  for (int i = 0; i < 7000; ++i) outer.push_back(Rec(10, float(i), float(-i)));
  WriteVectors("OUTER.TMP", outer);
  WriteVectors("INNER.TMP", {Rec(11, 1, 1), Rec(10, 2, 2)});
  int slot = 0;
  OpenDataFileSlot("OUTER.TMP", 1, slot, 0);
  ASSERT_NE(slot, 0);
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int32_t read = 0;
  ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
  ASSERT_EQ(read, kSlotBlockRecords);

  // Whole-file operations inside the outer loop use buffers of their own.
  TVectorExtentsPair pair;
  ReadFileExtents("INNER.TMP", pair);
  CopyOrAppendRecordFile("INNER.TMP", "COPY.TMP", kCopyNew, 0);
  TransformFileCoordinates("INNER.TMP", 0, 0, 1, 1, kTransformShift);
  EXPECT_EQ(CountFileRecords("COPY.TMP"), 2);

  ASSERT_EQ(buffer.bytes.size(), 65013u);
  EXPECT_EQ(std::memcmp(buffer.bytes.data(), outer.data(), 5000 * 13), 0);
  ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
  ASSERT_EQ(read, 2000);
  EXPECT_EQ(std::memcmp(buffer.bytes.data(), &outer[5000], 2000 * 13), 0);
  CloseDataFileSlot(slot);
}

// --- transforms in place -----------------------------------------------------------------------------------

std::vector<TVectorRecord> DrawingWithHead() {
  return {Rec(1, 0, 0),         Rec(5, 10, 20),     Rec(11, 0, 0, -1003), Rec(10, 10, 0),
          Rec(12, 10, 20, 3),   Rec(27, 5, 5),      Rec(13, 2, 0, 1.5f),  Rec(128, 4, 0),
          Rec(150, 2, 1, 90),   Rec(1, 2, 2),       Rec(5, 4, 4),         Rec(131, 1, 2, 3)};
}

TEST_F(RecordFilesTest, ShiftMovesPointsAndCornersOnly) {
  const std::vector<TVectorRecord> before = DrawingWithHead();
  WriteVectors("D.TMP", before);
  TransformFileCoordinates("D.TMP", 0, 0, 100, -50, kTransformShift);
  const std::vector<TVectorRecord> after = ReadVectors("D.TMP");
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    const uint8_t type = before[i].type;
    const bool moves = type == 1 || type == 5 || type == 10 || type == 11 || type == 12 || type == 27;
    EXPECT_EQ(+after[i].type, type);
    EXPECT_EQ(+after[i].x, moves ? before[i].x + 100 : before[i].x) << "record " << i;
    EXPECT_EQ(+after[i].y, moves ? before[i].y - 50 : before[i].y) << "record " << i;
    EXPECT_EQ(+after[i].z, +before[i].z) << "record " << i;
  }
}

TEST_F(RecordFilesTest, MirrorRewritesTheStoredHeadFromTheTransformedCorners) {
  const std::vector<TVectorRecord> before = DrawingWithHead();
  WriteVectors("D.TMP", before);
  TransformFileCoordinates("D.TMP", 0, 0, 0, 0, kTransformMirrorX);
  const std::vector<TVectorRecord> after = ReadVectors("D.TMP");
  ASSERT_EQ(after.size(), before.size());
  EXPECT_TRUE(SameBytes(after[0], Rec(1, -10, 0)));
  EXPECT_TRUE(SameBytes(after[1], Rec(5, 0, 20)));
  for (size_t i : {2u, 3u, 4u, 5u}) {
    EXPECT_EQ(+after[i].x, -before[i].x) << "record " << i;
    EXPECT_EQ(+after[i].y, +before[i].y) << "record " << i;
    EXPECT_EQ(+after[i].z, +before[i].z) << "record " << i;
  }
  // The arc runs the other way round from the mirrored start angle.
  EXPECT_EQ(+after[6].x, 2.0f);
  EXPECT_NEAR(+after[6].y, kPi, 1e-6);
  EXPECT_EQ(+after[6].z, -1.5f);
  for (size_t i : {7u, 8u, 9u, 10u, 11u}) EXPECT_TRUE(SameBytes(after[i], before[i])) << "record " << i;

  TVectorExtentsPair pair;
  ReadFileExtents("D.TMP", pair);
  EXPECT_EQ(+pair.minCorner.x, -10.0f);
  EXPECT_EQ(+pair.maxCorner.x, 0.0f);
}

TEST_F(RecordFilesTest, MirrorInYAboutAValue) {
  WriteVectors("D.TMP", {Rec(1, 0, 0), Rec(5, 10, 20), Rec(10, 3, 4)});
  TransformFileCoordinates("D.TMP", 0, 0, 0, 10, kTransformMirrorY);
  const std::vector<TVectorRecord> after = ReadVectors("D.TMP");
  EXPECT_TRUE(SameBytes(after[0], Rec(1, 0, -10)));
  EXPECT_TRUE(SameBytes(after[1], Rec(5, 10, 10)));
  EXPECT_TRUE(SameBytes(after[2], Rec(10, 3, 6)));
}

TEST_F(RecordFilesTest, ScaleAboutACentreScalesArcRadii) {
  WriteVectors("D.TMP", {Rec(1, 0, 0), Rec(5, 10, 20), Rec(11, 10, 10), Rec(10, 12, 6), Rec(13, 2, 1, 1)});
  TransformFileCoordinates("D.TMP", 10, 10, 2, 2, kTransformScale);
  const std::vector<TVectorRecord> after = ReadVectors("D.TMP");
  EXPECT_TRUE(SameBytes(after[0], Rec(1, -10, -10)));
  EXPECT_TRUE(SameBytes(after[1], Rec(5, 10, 30)));
  EXPECT_TRUE(SameBytes(after[2], Rec(11, 10, 10)));
  EXPECT_TRUE(SameBytes(after[3], Rec(10, 14, 2)));
  EXPECT_EQ(+after[4].x, 4.0f);
  EXPECT_NEAR(+after[4].y, 1.0, 1e-6);
  EXPECT_EQ(+after[4].z, 1.0f);
}

TEST_F(RecordFilesTest, PointFilesTransformInPlace) {
  WritePoints("P.H2R", {TPointRecord{11, 1, 2}, TPointRecord{10, 3, 4}, TPointRecord{128, 2, 0}});
  TransformFileCoordinates("P.H2R", 0, 0, 1, 1, kTransformShift);
  const std::vector<TPointRecord> after = ReadPoints("P.H2R");
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(+after[0].x, 2.0f);
  EXPECT_EQ(+after[1].y, 5.0f);
  EXPECT_EQ(+after[2].x, 2.0f) << "a layer record stays";
}

TEST_F(RecordFilesTest, TransformsWalkEveryBlock) {
  std::vector<TVectorRecord> records;
  for (int i = 0; i < 12345; ++i) records.push_back(Rec(10, float(i), 1));
  WriteVectors("BIG.TMP", records);
  TransformFileCoordinates("BIG.TMP", 0, 0, 1, 0, kTransformShift);
  const std::vector<TVectorRecord> after = ReadVectors("BIG.TMP");
  ASSERT_EQ(after.size(), records.size());
  for (size_t i = 0; i < after.size(); ++i)
    if (after[i].x != records[i].x + 1) FAIL() << "record " << i;
}

TEST_F(RecordFilesTest, ATruncatedFileIsReportedAndNotGrown) {
  std::vector<TVectorRecord> records = {Rec(10, 1, 1), Rec(10, 2, 2)};
  std::string bytes(reinterpret_cast<const char*>(records.data()), 26);
  std::ofstream(Host("CUT.TMP"), std::ios::binary) << bytes << "xyz";
  TransformFileCoordinates("CUT.TMP", 0, 0, 1, 1, kTransformShift);
  EXPECT_EQ(ErrorCode, 1010);
  const std::string after = ReadHostFile(Host("CUT.TMP"));
  ASSERT_EQ(after.size(), 29u);
  EXPECT_EQ(after.substr(26), "xyz");
  EXPECT_EQ(+ReadVectors("CUT.TMP")[1].x, 3.0f);
}

TEST_F(RecordFilesTest, RotationTurnsPointsAndRewritesTheHead) {
  WriteVectors("R.TMP", {Rec(1, 0, 0), Rec(5, 10, 5), Rec(11, 10, 0, -1003), Rec(10, 10, 5), Rec(13, 1, 0, 2),
                         Rec(150, 1, 2, 3)});
  RotateFileCoordinates("R.TMP", 0, 0, kPi / 2);
  const std::vector<TVectorRecord> after = ReadVectors("R.TMP");
  ASSERT_EQ(after.size(), 6u);
  EXPECT_NEAR(+after[2].x, 0.0, 1e-5);
  EXPECT_NEAR(+after[2].y, 10.0, 1e-5);
  EXPECT_EQ(+after[2].z, -1003.0f);
  EXPECT_NEAR(+after[3].x, -5.0, 1e-5);
  EXPECT_NEAR(+after[3].y, 10.0, 1e-5);
  EXPECT_NEAR(+after[4].y, kPi / 2, 1e-6) << "an arc's start angle turns";
  EXPECT_TRUE(SameBytes(after[5], Rec(150, 1, 2, 3)));
  EXPECT_EQ(+after[0].type, 1);
  EXPECT_NEAR(+after[0].x, -5.0, 1e-5);
  EXPECT_NEAR(+after[0].y, 10.0, 1e-5);
  EXPECT_EQ(+after[1].type, 5);
  EXPECT_NEAR(+after[1].x, 0.0, 1e-5);
  EXPECT_NEAR(+after[1].y, 10.0, 1e-5);
}

TEST_F(RecordFilesTest, RotationWithoutHeadWritesNone) {
  WriteVectors("R.TMP", {Rec(11, 1, 0), Rec(10, 2, 0)});
  RotateFileCoordinates("R.TMP", 1, 0, kPi);
  const std::vector<TVectorRecord> after = ReadVectors("R.TMP");
  ASSERT_EQ(after.size(), 2u);
  EXPECT_NEAR(+after[0].x, 1.0, 1e-6);
  EXPECT_NEAR(+after[1].x, 0.0, 1e-6);
  EXPECT_NEAR(+after[1].y, 0.0, 1e-6);
}

TEST_F(RecordFilesTest, UnknownKindsAreLeftAlone) {
  std::ofstream(Host("NOTES.TXT")) << "text";
  TransformFileCoordinates("NOTES.TXT", 0, 0, 1, 1, kTransformShift);
  CopyOrAppendRecordFile("NOTES.TXT", "X.TMP", kCopyNew, 0);
  EXPECT_EQ(ReadHostFile(Host("NOTES.TXT")), "text");
  EXPECT_FALSE(std::filesystem::exists(Host("X.TMP")));
}

}  // namespace
