// Data-file slots and in-memory block files.
#include "frame/data_slots.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/data_file_folder.h"
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "frame/defaults.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "support/host_files.h"

namespace {

using torvtest::ReadHostFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Every test runs in a fresh folder; message boxes are answered by an empty
// script (headless) and written to a transcript there.
class DataSlotsTest : public torvtest::DataFileFolderTest {
 protected:
  void TearDown() override {
    // The allocator a test put in place goes back; freeing the slots does not use it.
    AllocRamBlockMemory = defaultAllocator_;
    torvtest::DataFileFolderTest::TearDown();
  }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ + "/" + name, std::ios::binary) << bytes;
  }

  uint8_t* (*defaultAllocator_)(uint32_t) = AllocRamBlockMemory;
};

std::vector<TVectorRecord> NumberedRecords(int32_t count) {
  std::vector<TVectorRecord> records(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i)
    records[static_cast<size_t>(i)] = TVectorRecord{kRecLinePoint, float(i), float(-i), float(i % 7)};
  return records;
}

bool SameRecords(const TVectorRecord* a, const TVectorRecord* b, int32_t count) {
  return std::memcmp(a, b, static_cast<size_t>(count) * sizeof(TVectorRecord)) == 0;
}

// --- kinds and buffers --------------------------------------------------------------------

TEST_F(DataSlotsTest, KindComesFromTheFirstKnownTextInTheName) {
  const struct { const char* name; int kind; } cases[] = {
      {"layer3.tmp", 1}, {"PLAN.PLI", 3},  {"X.TMP.H2R", 3}, {"A.LG1", 1}, {"B.RLF", 9},
      {"C.HRL", 11},     {"RELAR0.TMR", 9}, {"D.SLD", 5},    {"e.h2r", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDataFileKind(c.name), c.kind) << c.name;
  EXPECT_EQ(Transcript(), "") << "known kinds show nothing";
  EXPECT_EQ(GetDataFileKind("NOTES.TXT"), 0);
  EXPECT_NE(Transcript(), "") << "an unknown kind shows message 1";
}

TEST_F(DataSlotsTest, BuffersHoldOneRecordMoreThanABlock) {
  TRecordBuffer vectors, points, relief;
  AllocRecordBuffer(2, vectors, 1);
  AllocRecordBuffer(3, points, 1);
  AllocRecordBuffer(9, relief, 1);
  EXPECT_EQ(vectors.bytes.size(), 65013u);
  EXPECT_EQ(points.bytes.size(), 45009u);
  EXPECT_TRUE(relief.bytes.empty()) << "relief callers size their own buffer";
  AllocRecordBuffer(1, vectors, 0);
  EXPECT_TRUE(vectors.bytes.empty());
  EXPECT_EQ(points.bytes.size(), 45009u) << "freeing one buffer leaves every other alone";
}

// --- disk slots ----------------------------------------------------------------------------

TEST_F(DataSlotsTest, RecordsRoundTripThroughDiskSlotsInBlocks) {
  const std::vector<TVectorRecord> records = NumberedRecords(12000);
  TRecordBuffer buffer;
  AllocRecordBuffer(2, buffer, 1);
  int slot = 0;
  OpenDataFileSlot("ROUND.TMP", 2, slot, 2);
  ASSERT_EQ(slot, 1);
  for (int32_t done = 0; done < 12000;) {
    const int32_t n = std::min<int32_t>(kSlotBlockRecords, 12000 - done);
    std::memcpy(buffer.bytes.data(), &records[static_cast<size_t>(done)], static_cast<size_t>(n) * 13);
    int32_t written = 0;
    WriteDataFileSlot(slot, buffer, n, written);
    ASSERT_EQ(written, n);
    done += n;
  }
  CloseDataFileSlot(slot);
  EXPECT_EQ(std::filesystem::file_size(folder_ + "/ROUND.TMP"), 12000u * 13);

  OpenDataFileSlot("round.tmp", 1, slot, 0);
  ASSERT_NE(slot, 0);
  EXPECT_EQ(DataFileSlotSize(slot), 12000);
  std::vector<TVectorRecord> back;
  int32_t read = 0;
  do {
    ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
    const auto* first = reinterpret_cast<const TVectorRecord*>(buffer.bytes.data());
    back.insert(back.end(), first, first + read);
  } while (read == kSlotBlockRecords);
  CloseDataFileSlot(slot);
  ASSERT_EQ(back.size(), records.size());
  EXPECT_TRUE(SameRecords(back.data(), records.data(), 12000));
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(DataSlotsTest, ANinthDiskFileIsRefusedWithoutAMessage) {
  int slots[8];
  for (int i = 0; i < 8; ++i) {
    OpenDataFileSlot("F" + std::to_string(i) + ".TMP", 2, slots[i], 2);
    EXPECT_EQ(slots[i], i + 1);
  }
  int ninth = -1;
  OpenDataFileSlot("F8.TMP", 2, ninth, 2);
  EXPECT_EQ(ninth, 0);
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(Transcript(), "");
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/F8.TMP"));
  CloseDataFileSlot(slots[3]);
  OpenDataFileSlot("F8.TMP", 2, ninth, 2);
  EXPECT_EQ(ninth, 4) << "a closed slot is free again";
}

TEST_F(DataSlotsTest, AMissingFileLeavesErrorOneAndThreeJournalLines) {
  int slot = -1;
  OpenDataFileSlot("MISSING.TMP", 1, slot, 0);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(ErrorCode, 1);
  const std::vector<std::string> lines = Lines(Journal());
  ASSERT_EQ(lines.size(), 3u) << Journal();
  EXPECT_EQ(lines[0].rfind("#0000 : IOResult ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "#0000 : \" -> Reset()");
  EXPECT_EQ(lines[2], "#0000 : IOFehler(1) 1001");
  EXPECT_NE(Transcript().find("IOResult"), std::string::npos) << "the code is shown as a file error";
  ErrorCode = 0;
  OpenDataFileSlot("NEW.TMP", 2, slot, 2);
  EXPECT_EQ(slot, 1) << "the failed open left its slot free";
}

TEST_F(DataSlotsTest, KindZeroIsRefused) {
  int slot = -1;
  OpenDataFileSlot("A.TMP", 0, slot, 0);
  EXPECT_EQ(slot, 0);
  EXPECT_NE(Transcript(), "");
}

TEST_F(DataSlotsTest, AnOddSizedFileIsReportedAndOnlyItsWholeRecordsAreRead) {
  const std::vector<TVectorRecord> records = NumberedRecords(2);
  std::string bytes(reinterpret_cast<const char*>(records.data()), 26);
  WriteBytes("ODD.TMP", bytes + "x");
  int slot = 0;
  OpenDataFileSlot("ODD.TMP", 1, slot, 0);
  ASSERT_NE(slot, 0);
  EXPECT_EQ(ErrorCode, 1010);
  EXPECT_NE(Journal().find("ODD.TMP -> FileSize()"), std::string::npos) << Journal();
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int32_t read = 0;
  ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
  EXPECT_EQ(read, 2);
  EXPECT_TRUE(SameRecords(reinterpret_cast<const TVectorRecord*>(buffer.bytes.data()), records.data(), 2));
}

TEST_F(DataSlotsTest, TransfersNeverPassTheCallersBuffer) {
  WriteBytes("BIG.TMP", std::string(13 * 6000, '\x0a'));
  int slot = 0;
  OpenDataFileSlot("BIG.TMP", 1, slot, 0);
  ASSERT_NE(slot, 0);
  TRecordBuffer small;
  small.bytes.assign(13 * 10, 0);
  int32_t read = 0;
  ReadDataFileSlot(slot, small, 5000, read);
  EXPECT_EQ(read, 10);
  TRecordBuffer none;
  ReadDataFileSlot(slot, none, 5000, read);
  EXPECT_EQ(read, 0);
}

TEST_F(DataSlotsTest, SlotsWithoutTransferLeaveOrClearTheCount) {
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int32_t count = 77;
  ReadDataFileSlot(0, buffer, 10, count);
  EXPECT_EQ(count, 77) << "slot 0";
  ReadDataFileSlot(17, buffer, 10, count);
  EXPECT_EQ(count, 0) << "slot above 16";
  count = 77;
  ReadDataFileSlot(3, buffer, 10, count);
  EXPECT_EQ(count, 0) << "free slot";
  count = 77;
  ReadDataFileSlot(12, buffer, 10, count);
  EXPECT_EQ(count, 0) << "in-memory slot without a file";

  WriteBytes("DRAW.SLD", "abc");
  int slot = 0;
  OpenDataFileSlot("DRAW.SLD", 5, slot, 0);
  ASSERT_NE(slot, 0);
  count = 77;
  ReadDataFileSlot(slot, buffer, 10, count);
  EXPECT_EQ(count, 77) << "byte files are read through the slot's file";
  char bytes[3] = {};
  uint32_t done = 0;
  plat::BlockRead(DataFileSlotFile(slot), bytes, 3, &done);
  EXPECT_EQ(std::string(bytes, done), "abc");
}

TEST_F(DataSlotsTest, ClosingSlotZeroOrAFreeSlotOnlyJournals) {
  CloseDataFileSlot(0);
  CloseDataFileSlot(5);
  CloseDataFileSlot(9);
  const std::vector<std::string> lines = Lines(Journal());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "#0000 : Fehler CloseFile 0");
  EXPECT_EQ(lines[1], "#0000 : Fehler CloseFile 5");
  EXPECT_EQ(lines[2], "#0000 : Fehler CloseFile 9");
}

// --- in-memory slots ---------------------------------------------------------------------------

TEST_F(DataSlotsTest, AnInMemorySlotIsFoundByNameAndStaysOpen) {
  const std::vector<TVectorRecord> records = NumberedRecords(7000);
  TRecordBuffer buffer;
  AllocRecordBuffer(13, buffer, 1);
  int slot = 0;
  OpenDataFileSlot("MEMORY.TMP", 13, slot, 2);
  ASSERT_GE(slot, kFirstRamSlot);
  ASSERT_LE(slot, kLastRamSlot);
  for (int32_t done = 0; done < 7000;) {
    const int32_t n = std::min<int32_t>(kSlotBlockRecords, 7000 - done);
    std::memcpy(buffer.bytes.data(), &records[static_cast<size_t>(done)], static_cast<size_t>(n) * 13);
    int32_t written = 0;
    WriteDataFileSlot(slot, buffer, n, written);
    ASSERT_EQ(written, n);
    done += n;
  }
  CloseDataFileSlot(slot);
  EXPECT_EQ(Journal(), "") << "closing an in-memory slot is no error";

  int again = 0;
  OpenDataFileSlot("memory.tmp", 1, again, 0);
  EXPECT_EQ(again, slot) << "kind 1 finds the in-memory file and rewinds it";
  EXPECT_EQ(DataFileSlotSize(again), 7000);
  int32_t read = 0;
  SeekDataFileSlot(again, 5000);
  ReadDataFileSlot(again, buffer, kSlotBlockRecords, read);
  ASSERT_EQ(read, 2000);
  EXPECT_TRUE(SameRecords(reinterpret_cast<const TVectorRecord*>(buffer.bytes.data()), &records[5000], 2000));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/MEMORY.TMP"));

  int fresh = 0;
  OpenDataFileSlot("MEMORY.TMP", 13, fresh, 2);
  EXPECT_EQ(fresh, slot) << "a new in-memory file of the same name replaces the old one";
  EXPECT_EQ(DataFileSlotSize(fresh), 0);
}

TEST_F(DataSlotsTest, AtMostEightInMemoryFiles) {
  for (int i = 0; i < 8; ++i) {
    int slot = 0;
    OpenDataFileSlot("M" + std::to_string(i) + ".TMP", 13, slot, 2);
    EXPECT_EQ(slot, kFirstRamSlot + i);
  }
  int ninth = -1;
  OpenDataFileSlot("M8.TMP", 13, ninth, 2);
  EXPECT_EQ(ninth, 0);
}

// --- in-memory block files -----------------------------------------------------------------------

class RamFileTest : public DataSlotsTest {
 protected:
  void TearDown() override {
    FreeRamFile(file_);
    DataSlotsTest::TearDown();
  }
  TRamFile file_;
};

TEST_F(RamFileTest, WritesFillBlocksAndReadsStopAtTheRecordCount) {
  InitRamFile(file_);
  const std::vector<TVectorRecord> records = NumberedRecords(5000);
  int32_t written = 0;
  WriteRamFile(file_, records.data(), 5000, written);
  EXPECT_EQ(written, 5000);
  EXPECT_EQ(file_.status, 0) << "the default allocation works on any machine size";
  EXPECT_EQ(file_.recordCount, 5000);
  EXPECT_NE(file_.blocks[0], nullptr);
  EXPECT_NE(file_.blocks[1], nullptr);
  EXPECT_EQ(file_.blocks[2], nullptr);

  SeekRamFile(file_, 4090);
  std::vector<TVectorRecord> back(5000);
  int32_t read = 0;
  ReadRamFile(file_, back.data(), 5000, read);
  EXPECT_EQ(read, 910);
  EXPECT_TRUE(SameRecords(back.data(), &records[4090], 910));
  ReadRamFile(file_, back.data(), 5000, read);
  EXPECT_EQ(read, 0) << "at the end";
  WriteRamFile(file_, records.data(), 0, written);
  EXPECT_EQ(written, 0);
}

TEST_F(RamFileTest, ABlockIndexPastTheLastIsStickyUntilFreed) {
  InitRamFile(file_);
  const std::vector<TVectorRecord> records = NumberedRecords(2);
  SeekRamFile(file_, 1048576);
  int32_t written = -1;
  WriteRamFile(file_, records.data(), 1, written);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(file_.status, kRamBlockRange);
  EXPECT_NE(Transcript().find("RamFile:Read RamBlk >= MaxBlk"), std::string::npos);

  std::filesystem::remove(folder_ + "/transcript.txt");
  SeekRamFile(file_, 0);
  TVectorRecord back[2];
  int32_t read = -1;
  ReadRamFile(file_, back, 1, read);
  EXPECT_EQ(read, 0);
  WriteRamFile(file_, records.data(), 1, written);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(file_.status, kRamBlockRange);
  const std::string shown = Transcript();
  EXPECT_NE(shown.find("RamFile:Read RamBlk >= MaxBlk"), shown.rfind("RamFile:Read RamBlk >= MaxBlk"))
      << "every later read and write shows it again:\n" << shown;

  FreeRamFile(file_);
  WriteRamFile(file_, records.data(), 2, written);
  EXPECT_EQ(written, 2);
  EXPECT_EQ(file_.status, 0);
}

TEST_F(RamFileTest, AWriteCrossingTheLastBlockFails) {
  InitRamFile(file_);
  const std::vector<TVectorRecord> records = NumberedRecords(20);
  SeekRamFile(file_, 1048576 - 10);
  int32_t written = -1;
  WriteRamFile(file_, records.data(), 20, written);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(file_.status, kRamBlockRange);
}

TEST_F(RamFileTest, AShortageOfMemoryGivesStatusTwo) {
  InitRamFile(file_);
  AllocRamBlockMemory = [](uint32_t) -> uint8_t* { return nullptr; };
  const std::vector<TVectorRecord> records = NumberedRecords(3);
  int32_t written = -1;
  WriteRamFile(file_, records.data(), 3, written);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(file_.status, kRamNoMemory);
  EXPECT_NE(Transcript().find("RamFile:Write kein Speicher"), std::string::npos);
  AllocRamBlockMemory = defaultAllocator_;
  WriteRamFile(file_, records.data(), 3, written);
  EXPECT_EQ(written, 0) << "the status stays after memory is back";
  InitRamFile(file_);
  WriteRamFile(file_, records.data(), 3, written);
  EXPECT_EQ(written, 3);
}

TEST_F(RamFileTest, AMissingBlockIsALogicalError) {
  InitRamFile(file_);
  SeekRamFile(file_, 5000);
  EXPECT_EQ(file_.recordCount, 5000) << "a seek past the end raises the count";
  SeekRamFile(file_, 0);
  TVectorRecord record;
  int32_t read = -1;
  ReadRamFile(file_, &record, 1, read);
  EXPECT_EQ(read, 0);
  EXPECT_EQ(file_.status, kRamLogicalError);
  EXPECT_NE(Transcript().find("RamFile:logischer Fehler"), std::string::npos);

  InitRamFile(file_);
  AllocRamFileBlock(file_, 3);
  EXPECT_EQ(file_.status, 0);
  AllocRamFileBlock(file_, 3);
  EXPECT_EQ(file_.status, kRamLogicalError) << "a block allocated twice";
  InitRamFile(file_);
  AllocRamFileBlock(file_, 256);
  EXPECT_EQ(file_.status, kRamBlockRange);
}

TEST_F(RamFileTest, TruncateKeepsTheBlockOfThePosition) {
  InitRamFile(file_);
  const std::vector<TVectorRecord> records = NumberedRecords(10000);
  int32_t written = 0;
  WriteRamFile(file_, records.data(), 10000, written);
  ASSERT_NE(file_.blocks[2], nullptr);
  SeekRamFile(file_, 4100);
  TruncateRamFile(file_);
  EXPECT_EQ(file_.recordCount, 4100);
  EXPECT_NE(file_.blocks[1], nullptr);
  EXPECT_EQ(file_.blocks[2], nullptr);
  SeekRamFile(file_, 4000);
  std::vector<TVectorRecord> back(200);
  int32_t read = 0;
  ReadRamFile(file_, back.data(), 200, read);
  EXPECT_EQ(read, 100);
  EXPECT_TRUE(SameRecords(back.data(), &records[4000], 100));
}

}  // namespace
