// The buffered record writer and reader: round trips across block edges,
// the flush before close, and failed or short blocks.
#include "model/record_stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "platform/files.h"
#include "support/work_folder.h"
#include "support/host_files.h"

namespace {

using torvtest::ReadHostFile;

// Record i of the given size: bytes that differ from record to record and
// from byte to byte.
std::string MakeRecord(uint32_t size, int i) {
  std::string r(size, '\0');
  for (uint32_t j = 0; j < size; ++j) r[j] = static_cast<char>((i * 31 + int(j) * 7 + 1) & 0xFF);
  return r;
}

std::string MakeRecords(uint32_t size, int count) {
  std::string all;
  for (int i = 0; i < count; ++i) all += MakeRecord(size, i);
  return all;
}

// A block write that takes at most ShortBlockRoom file records in all,
// like a disk that fills up.
int64_t ShortBlockRoom = 0;
int ShortBlockCalls = 0;
void WriteShortBlock(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  ++ShortBlockCalls;
  const uint32_t take = static_cast<uint32_t>(std::min<int64_t>(n, std::max<int64_t>(ShortBlockRoom, 0)));
  ShortBlockRoom -= take;
  count = take > 0 ? WriteBlockChecked(f, buffer, static_cast<uint16_t>(take)) : 0;
}

class RecordStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    ErrorCode = 0;
  }
  void TearDown() override { ErrorCode = 0; }
  std::string Host(const std::string& name) const { return work_->Path() + "/" + name; }

  std::unique_ptr<torvtest::TWorkFolder> work_;
};

// Records of several sizes in several block sizes, the file opened with the
// record size or as a byte file: the file holds exactly the records put, and
// the reader gives them back in order and then stops.
TEST_F(RecordStreamTest, RoundTripAcrossBlockEdges) {
  const struct {
    uint32_t recordSize, blockRecords, fileRecordSize;
    int count;
  } cases[] = {
      {13, 4, 13, 0},  {13, 4, 13, 1},   {13, 4, 13, 4},     {13, 4, 13, 5},   {13, 4, 13, 11},
      {13, 4, 1, 9},   {9, 1000, 9, 2501}, {4, 1024, 1, 3000}, {13, 1, 13, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.recordSize << "/" << c.blockRecords << "/" << c.fileRecordSize << "/"
                                    << c.count);
    const std::string expected = MakeRecords(c.recordSize, c.count);
    plat::TPasFile file;
    AssignFileChecked(file, "R.TMP");
    RewriteFileChecked(file, c.fileRecordSize);
    TRecordFileWriter w;
    StartRecordFileWriter(w, file, c.recordSize, c.blockRecords, WriteBlockCheckedCall);
    // Half one by one, the rest in one call.
    const int single = c.count / 2;
    for (int i = 0; i < single; ++i) PutRecord(w, expected.data() + size_t(i) * c.recordSize);
    PutRecords(w, expected.data() + size_t(single) * c.recordSize, c.count - single);
    FlushRecordFileWriter(w);
    CloseFileChecked(file);
    EXPECT_FALSE(w.failed);
    EXPECT_EQ(w.put, c.count);
    EXPECT_EQ(ErrorCode, 0);
    ASSERT_EQ(ReadHostFile(Host("R.TMP")), expected);

    ResetFileChecked(file, c.fileRecordSize, 0);
    TRecordFileReader r;
    StartRecordFileReader(r, file, c.recordSize, c.blockRecords, ReadBlockCheckedCall);
    std::string back;
    std::string record(c.recordSize, '\0');
    while (GetRecord(r, record.data())) back += record;
    EXPECT_FALSE(GetRecord(r, record.data()));
    CloseFileChecked(file);
    EXPECT_EQ(back, expected);
    EXPECT_EQ(ErrorCode, 0);
  }
}

// Only whole blocks reach the file until the flush; the flush brings the rest.
TEST_F(RecordStreamTest, TheTailWaitsForTheFlush) {
  const std::string expected = MakeRecords(13, 10);
  plat::TPasFile file;
  AssignFileChecked(file, "F.TMP");
  RewriteFileChecked(file, 13);
  TRecordFileWriter w;
  StartRecordFileWriter(w, file, 13, 4, WriteBlockCheckedCall);
  PutRecords(w, expected.data(), 10);
  EXPECT_EQ(ReadHostFile(Host("F.TMP")), expected.substr(0, 8 * 13));
  FlushRecordFileWriter(w);
  EXPECT_EQ(ReadHostFile(Host("F.TMP")), expected);
  FlushRecordFileWriter(w);  // nothing waits: nothing more is written
  CloseFileChecked(file);
  EXPECT_EQ(ReadHostFile(Host("F.TMP")), expected);
}

// A short block fails the writer. Stopping drops every later record (the
// later blocks never reach the file call); going on still tries each block.
TEST_F(RecordStreamTest, AShortBlockFailsTheWriter) {
  const struct {
    bool stop;
    int64_t room;    // file records the disk takes
    int calls;       // block writes tried for 10 records in blocks of 3
    size_t records;  // records in the file afterwards
  } cases[] = {
      {true, 4, 2, 4},    // 3, then 1 of 3; the rest dropped
      {false, 4, 4, 4},   // every block tried, none fits any more
      {true, 0, 1, 0},    // the first block fails
      {true, 10, 4, 10},  // room for all: no failure
  };
  const std::string all = MakeRecords(13, 10);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.stop << "/" << c.room);
    plat::TPasFile file;
    AssignFileChecked(file, "S.TMP");
    RewriteFileChecked(file, 13);
    ShortBlockRoom = c.room;
    ShortBlockCalls = 0;
    TRecordFileWriter w;
    StartRecordFileWriter(w, file, 13, 3, WriteShortBlock, c.stop);
    PutRecords(w, all.data(), 10);
    FlushRecordFileWriter(w);
    CloseFileChecked(file);
    EXPECT_EQ(w.failed, c.room < 10);
    EXPECT_EQ(ShortBlockCalls, c.calls);
    EXPECT_EQ(ReadHostFile(Host("S.TMP")), all.substr(0, c.records * 13));
  }
}

// A file opened read only refuses the block: the checked layer reports it
// (ErrorCode 1011 and a journal line) and the file keeps its bytes.
TEST_F(RecordStreamTest, AFailedWriteIsReportedByTheCheckedLayer) {
  const std::string old = MakeRecords(13, 2);
  std::ofstream(Host("RO.TMP"), std::ios::binary) << old;
  plat::TPasFile file;
  AssignFileChecked(file, "RO.TMP");
  ResetFileChecked(file, 13, 0);
  ASSERT_EQ(ErrorCode, 0);
  TRecordFileWriter w;
  StartRecordFileWriter(w, file, 13, 4, WriteBlockCheckedCall);
  const std::string more = MakeRecords(13, 5);
  PutRecords(w, more.data(), 5);
  FlushRecordFileWriter(w);
  CloseFileChecked(file);
  EXPECT_TRUE(w.failed);
  EXPECT_EQ(ErrorCode, 1011);
  EXPECT_NE(ReadHostFile(Host(kJournalFileName)).find(" -> BlockWrite()"), std::string::npos);
  EXPECT_EQ(ReadHostFile(Host("RO.TMP")), old);
}

// A broken tail (part of a record) is not given back.
TEST_F(RecordStreamTest, TheReaderStopsBeforeABrokenTail) {
  const std::string whole = MakeRecords(9, 7);
  std::ofstream(Host("T.TMP"), std::ios::binary) << whole << "abcd";
  plat::TPasFile file;
  AssignFileChecked(file, "T.TMP");
  ResetFileChecked(file, 1, 0);
  TRecordFileReader r;
  StartRecordFileReader(r, file, 9, 3, ReadBlockCheckedCall);
  std::string back;
  std::string record(9, '\0');
  while (GetRecord(r, record.data())) back += record;
  CloseFileChecked(file);
  EXPECT_EQ(back, whole);
}

}  // namespace
