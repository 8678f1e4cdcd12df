// The offset result writer on hand-made work files: the walk of a chain
// against the wanted distance, the drop of repeated records, the second
// (corner) output, and work files that are missing or malformed.
#include <gtest/gtest.h>

#include <cstddef>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "model/vector_records.h"
#include "paths/offset_results.h"
#include "frame/quiet_files.h"
#include "support/work_folder.h"

namespace {

TOffsetRecord Off(uint8_t type, double x, double y, double value = 0.0) { return TOffsetRecord{type, x, y, value}; }

class OffsetResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    ErrorCode = 0;
    QuietIoError = 0;
  }
  void TearDown() override {
    ErrorCode = 0;
    QuietIoError = 0;
    work_.reset();
  }
  std::vector<TVectorRecord> ReadVectors(const std::string& name) const {
    std::ifstream in(work_->Path() + "/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes.size() % sizeof(TVectorRecord), 0u);
    std::vector<TVectorRecord> records(bytes.size() / sizeof(TVectorRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(TVectorRecord));
    return records;
  }
  // A triangle (0,0) (10,0) (5,10) whose first segment carries the chain;
  // the other two segments have empty chains.
  void WriteTriangleWithChain(const std::vector<TOffsetRecord>& chain) {
    ASSERT_TRUE(SaveOffsetRecordFile(kOffsetContourFile, {Off(11, 0, 0), Off(10, 10, 0), Off(10, 5, 10), Off(11, 0, 0)}));
    ASSERT_TRUE(SaveOffsetRecordFile(kOffsetChainFile, chain));
    const int32_t n = int32_t(chain.size());
    ASSERT_TRUE(SaveOffsetIndexFile(kOffsetIndexFile, {0, n, n, n}));
  }
  // The square (0,0)-(10,10) counter-clockwise; each segment's chain is its
  // outward offset at distance c with value 1 (no corner arcs).
  void WriteSquareChains(double c) {
    ASSERT_TRUE(SaveOffsetRecordFile(kOffsetContourFile,
                                     {Off(11, 0, 0), Off(10, 10, 0), Off(10, 10, 10), Off(10, 0, 10), Off(11, 0, 0)}));
    std::vector<TOffsetRecord> chain = {Off(11, 0, -c, 1), Off(10, 10, -c, 1), Off(10, 10 + c, 0, 1),
                                        Off(10, 10 + c, 10, 1), Off(10, 10, 10 + c, 1), Off(10, 0, 10 + c, 1),
                                        Off(10, -c, 10, 1), Off(10, -c, 0, 1), Off(10, 0, -c, 1),
                                        Off(11, 0, -c, 1)};
    ASSERT_TRUE(SaveOffsetRecordFile(kOffsetChainFile, chain));
    ASSERT_TRUE(SaveOffsetIndexFile(kOffsetIndexFile, {0, 2, 4, 6, 10}));
  }
  std::unique_ptr<torvtest::TWorkFolder> work_;
};

void ExpectRecord(const TVectorRecord& r, uint8_t type, double x, double y, double z) {
  EXPECT_EQ(r.type, type);
  EXPECT_NEAR(r.x, x, 1e-5);
  EXPECT_NEAR(r.y, y, 1e-5);
  EXPECT_NEAR(r.z, z, 1e-5);
}

TEST_F(OffsetResultsTest, RecordAndFileLayout) {
  EXPECT_EQ(sizeof(TOffsetRecord), 25u);
  EXPECT_EQ(offsetof(TOffsetRecord, x), 1u);
  EXPECT_EQ(offsetof(TOffsetRecord, value), 17u);
  EXPECT_STREQ(kOffsetIndexFile, "VekAR5.TMP");
  EXPECT_STREQ(kOffsetChainFile, "VekAR6.TMP");
  EXPECT_STREQ(kOffsetContourFile, "VekAR7.TMP");
  EXPECT_DOUBLE_EQ(GetOffsetPointSpacing(1), 0.002);
  EXPECT_DOUBLE_EQ(GetOffsetPointSpacing(2), 0.0025);
  EXPECT_DOUBLE_EQ(GetOffsetPointSpacing(5), 0.0002);
}

// Values 1.0, 0.5, 1.0 at A = 0.8: the path leaves the line at b where the
// value falls through 0.8, runs through the middle point, and comes back.
TEST_F(OffsetResultsTest, ChainDippingBelowTheWantedDistanceIsFollowed) {
  WriteTriangleWithChain({Off(11, 1, -1, 1.0), Off(10, 5, -0.5, 0.5), Off(10, 9, -1, 1.0)});
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 0.8f, 0.0f, 0, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 5u);
  ExpectRecord(out[0], 11, 0.8, -0.8, 1.0);  // ray from (0,0) through the first point
  ExpectRecord(out[1], 10, 2.6, -0.8, 1.0);  // w = 0.4
  ExpectRecord(out[2], 10, 5.0, -0.5, 0.625);
  ExpectRecord(out[3], 10, 7.4, -0.8, 1.0);
  ExpectRecord(out[4], 10, 9.2, -0.8, 1.0);  // ray from (10,0) through the last point
  EXPECT_FALSE(plat::FileExists("SECOND.TMP"));
}

// Drawing (a colour of 0 or above) writes the same file as no drawing.
TEST_F(OffsetResultsTest, DrawingWritesTheSameFile) {
  WriteSquareChains(1.05);
  WriteOffsetResultFiles("SECOND.TMP", "PLAIN.TMP", 1, 1.05f, 1.0f, 0.0f, 0, -1, 1);
  WriteOffsetResultFiles("SECOND.TMP", "DRAWN.TMP", 1, 1.05f, 1.0f, 0.0f, 0, 4, 1);
  const auto plain = ReadVectors("PLAIN.TMP");
  const auto drawn = ReadVectors("DRAWN.TMP");
  ASSERT_EQ(plain.size(), 8u);
  ASSERT_EQ(drawn.size(), plain.size());
  EXPECT_EQ(std::memcmp(plain.data(), drawn.data(), plain.size() * sizeof(TVectorRecord)), 0);
}

TEST_F(OffsetResultsTest, PiecesOnlyKeepsThePiecesOnTheOffsetLine) {
  WriteTriangleWithChain({Off(11, 1, -1, 1.0), Off(10, 5, -0.5, 0.5), Off(10, 9, -1, 1.0)});
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 0.8f, 0.0f, 1, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 4u);
  ExpectRecord(out[0], 11, 0.8, -0.8, 1.0);
  ExpectRecord(out[1], 10, 2.6, -0.8, 1.0);
  ExpectRecord(out[2], 11, 7.4, -0.8, 1.0);
  ExpectRecord(out[3], 10, 9.2, -0.8, 1.0);
}

// b = c: every point with value up to 1 is inside and written as it is.
TEST_F(OffsetResultsTest, WantedDistanceEqualToComputingDistanceKeepsTheChain) {
  WriteTriangleWithChain({Off(11, 0, -1, 1.0), Off(10, 4, -0.7, 0.7), Off(10, 10, -1, 1.0)});
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 1.0f, 0.0f, 0, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 3u);
  ExpectRecord(out[0], 11, 0, -1, 1.0);
  ExpectRecord(out[1], 10, 4, -0.7, 0.7);
  ExpectRecord(out[2], 10, 10, -1, 1.0);
}

// b = c / 1.05 on a convex contour: every segment lies outside from start to
// end and gives the two points where the rays through its end vertices meet
// the line at b.
TEST_F(OffsetResultsTest, ConvexContourIsPlacedExactlyAtTheWantedDistance) {
  WriteSquareChains(1.05);
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.05f, 1.0f, 0.0f, 0, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 8u);
  const double expected[8][2] = {{0, -1}, {10, -1}, {11, 0}, {11, 10}, {10, 11}, {0, 11}, {-1, 10}, {-1, 0}};
  for (size_t i = 0; i < 8; ++i) {
    ExpectRecord(out[i], i % 2 == 0 ? 11 : 10, expected[i][0], expected[i][1], 1.0);
  }
}

// Left side of a clockwise walk is outside as well: side 0 offsets along
// the left normal.
TEST_F(OffsetResultsTest, SideZeroOffsetsToTheLeft) {
  WriteTriangleWithChain({Off(11, 0, 1, 1.0), Off(10, 10, 1, 1.0)});
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 0, 1.0f, 0.5f, 0.0f, 0, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 2u);
  ExpectRecord(out[0], 11, 0, 0.5, 1.0);
  ExpectRecord(out[1], 10, 10, 0.5, 1.0);
}

// Records within 0.001 of the last one are dropped, except in the first
// segment of a contour; so a segment that starts where the last one ended
// continues its piece.
TEST_F(OffsetResultsTest, RepeatedRecordsAreDroppedAfterTheFirstSegment) {
  ASSERT_TRUE(SaveOffsetRecordFile(kOffsetContourFile, {Off(11, 0, 0), Off(10, 10, 0), Off(10, 10, 10), Off(11, 0, 0)}));
  ASSERT_TRUE(SaveOffsetRecordFile(kOffsetChainFile,
                                   {Off(11, 0, -1, 1), Off(10, 0.0005, -1, 1), Off(10, 10, -1, 1),
                                    Off(10, 10, -1, 1), Off(10, 10.0004, 5, 1), Off(10, 10.0008, 5.0005, 1),
                                    Off(10, 11, 10, 1)}));
  ASSERT_TRUE(SaveOffsetIndexFile(kOffsetIndexFile, {0, 3, 7, 7}));
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 1.0f, 0.0f, 0, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 5u);
  ExpectRecord(out[0], 11, 0, -1, 1);
  ExpectRecord(out[1], 10, 0.0005, -1, 1);  // first segment: kept
  ExpectRecord(out[2], 10, 10, -1, 1);
  ExpectRecord(out[3], 10, 10.0004, 5, 1);  // the second segment's start was dropped
  ExpectRecord(out[4], 10, 11, 10, 1);
}

// A single chain point gets a companion 0.001 further along the segment's
// major axis.
TEST_F(OffsetResultsTest, SingleChainPointGetsASecondPoint) {
  WriteTriangleWithChain({Off(11, 5, -1, 1.0)});
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 1.0f, 0.0f, 0, -1, 1);
  const auto out = ReadVectors("MAIN.TMP");
  ASSERT_EQ(out.size(), 2u);
  ExpectRecord(out[0], 11, 5, -1, 1);
  ExpectRecord(out[1], 10, 5.001, -1, 1);
}

// Second mode: the main output is created empty and the pieces at distance
// a go to the second output.
TEST_F(OffsetResultsTest, SecondOutputHoldsThePiecesAtTheThirdDistance) {
  WriteSquareChains(1.0);
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 1.0f, 0.5f, 1, -1, 1);
  EXPECT_TRUE(plat::FileExists("MAIN.TMP"));
  EXPECT_TRUE(ReadVectors("MAIN.TMP").empty());
  const auto out = ReadVectors("SECOND.TMP");
  ASSERT_EQ(out.size(), 8u);
  const double expected[8][2] = {{0, -0.5}, {10, -0.5}, {10.5, 0}, {10.5, 10}, {10, 10.5}, {0, 10.5}, {-0.5, 10}, {-0.5, 0}};
  for (size_t i = 0; i < 8; ++i) ExpectRecord(out[i], i % 2 == 0 ? 11 : 10, expected[i][0], expected[i][1], 1.0);
}

// Second mode where the chain rises beyond the wanted distance in the
// middle: the corner output keeps the line at a up to the connectors of the
// two crossings and leaves out the part between them.
TEST_F(OffsetResultsTest, SecondOutputIsCutAtTheConnectorsOfTheCrossings) {
  WriteTriangleWithChain({Off(11, 0, -0.5, 0.5), Off(10, 5, -1, 1.0), Off(10, 10, -0.5, 0.5)});
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 0.8f, 0.4f, 1, -1, 1);
  EXPECT_TRUE(ReadVectors("MAIN.TMP").empty());
  const auto out = ReadVectors("SECOND.TMP");
  ASSERT_EQ(out.size(), 4u);
  ExpectRecord(out[0], 11, 0, -0.4, 1);
  ExpectRecord(out[1], 10, 3, -0.4, 1);  // the connector of the crossing at (3, -0.8)
  ExpectRecord(out[2], 11, 7, -0.4, 1);  // the connector of the crossing at (7, -0.8)
  ExpectRecord(out[3], 10, 10, -0.4, 1);
}

// The writer leaves the global error code as it found it, whatever happens
// to the files; missing and malformed work files give an empty output.
TEST_F(OffsetResultsTest, MissingOrMalformedWorkFilesGiveAnEmptyOutput) {
  ErrorCode = -2;
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.0f, 1.0f, 0.0f, 0, -1, 1);
  EXPECT_EQ(ErrorCode, -2);
  EXPECT_TRUE(plat::FileExists("MAIN.TMP"));
  EXPECT_TRUE(ReadVectors("MAIN.TMP").empty());

  // An index file cut inside an entry, and one whose entries point outside
  // the chain file or run backwards.
  WriteSquareChains(1.05);
  std::ofstream(work_->Path() + "/VekAR5.TMP", std::ios::binary).write("\0\0\0\0\2\0", 6);
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.05f, 1.0f, 0.0f, 0, -1, 1);
  EXPECT_TRUE(ReadVectors("MAIN.TMP").empty());
  ASSERT_TRUE(SaveOffsetIndexFile(kOffsetIndexFile, {0, 2, 1, 400, -7}));
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 1.05f, 1.0f, 0.0f, 0, -1, 1);
  EXPECT_EQ(ReadVectors("MAIN.TMP").size(), 2u);  // only the first segment is usable
  // Zero or non-finite distances write nothing.
  ASSERT_TRUE(SaveOffsetIndexFile(kOffsetIndexFile, {0, 2, 4, 6, 10}));
  WriteOffsetResultFiles("SECOND.TMP", "MAIN.TMP", 1, 0.0f, 1.0f, 0.0f, 0, -1, 1);
  EXPECT_TRUE(ReadVectors("MAIN.TMP").empty());
  EXPECT_EQ(ErrorCode, -2);
}

TEST_F(OffsetResultsTest, LoadersRejectPartRecords) {
  std::vector<TOffsetRecord> records;
  EXPECT_FALSE(LoadOffsetRecordFile("NONE.TMP", records));
  std::ofstream(work_->Path() + "/PART.TMP", std::ios::binary).write(std::string(26, 'x').data(), 26);
  EXPECT_FALSE(LoadOffsetRecordFile("PART.TMP", records));
  EXPECT_TRUE(records.empty());
  ASSERT_TRUE(SaveOffsetRecordFile("TWO.TMP", {Off(11, 1, 2, 3), Off(10, 4, 5, 6)}));
  ASSERT_TRUE(LoadOffsetRecordFile("TWO.TMP", records));
  ASSERT_EQ(records.size(), 2u);
  const TOffsetRecord second = records[1];
  EXPECT_EQ(second.type, 10);
  const double value = second.value;
  EXPECT_EQ(value, 6.0);

  TOffsetFileWriter writer;
  ASSERT_TRUE(OpenOffsetFileWriter(writer, "IDX.TMP", kOffsetIndexEntrySize));
  for (int32_t i = 0; i < 3000; ++i) PutOffsetIndexEntry(writer, i * 2);
  CloseOffsetFileWriter(writer);
  EXPECT_TRUE(writer.ok);
  std::vector<int32_t> entries;
  ASSERT_TRUE(LoadOffsetIndexFile("IDX.TMP", entries));
  ASSERT_EQ(entries.size(), 3000u);
  EXPECT_EQ(entries[2999], 5998);
}

}  // namespace
