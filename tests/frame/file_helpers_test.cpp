// File helpers.
#include "frame/file_helpers.h"

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
#include "model/vector_records.h"
#include "platform/files.h"

namespace {

using torvtest::ReadHostFile;

class FileHelpersTest : public torvtest::DataFileFolderTest {};

TVectorRecord Rec(uint8_t type, float x, float y, float z = 0.0f) { return TVectorRecord{type, x, y, z}; }

// --- file helpers ----------------------------------------------------------------------------

TEST_F(FileHelpersTest, ExistenceTestsKnowPatterns) {
  EXPECT_EQ(TestFileExists("*.TMP"), 0);
  std::ofstream(Host("A.XYZ")).close();
  EXPECT_EQ(TestFileExists("A.*"), 1);
  EXPECT_EQ(TestFileExists("B.*"), 0);
  EXPECT_EQ(TestFileExists("*.xyz"), 1);
  EXPECT_EQ(TestFileExists("a.xyz"), 1) << "names are found in any case";
  EXPECT_EQ(TestFileExists("A.TMP"), 0);
  EnsureFileExists("A.TMP");
  EXPECT_EQ(TestFileExists("A.TMP"), 1);
  EXPECT_EQ(std::filesystem::file_size(Host("A.TMP")), 0u);
  EXPECT_EQ(Journal(), "") << "nothing failed";
}

TEST_F(FileHelpersTest, FolderTest) {
  std::filesystem::create_directory(Host("SUB"));
  EXPECT_FALSE(TestFileFolderExists(""));
  EXPECT_TRUE(TestFileFolderExists("BARE.TMP"));
  EXPECT_TRUE(TestFileFolderExists("SUB\\X.TMP"));
  EXPECT_FALSE(TestFileFolderExists("NOSUCH\\X.TMP"));
}

TEST_F(FileHelpersTest, ExtensionIsReplacedFromTheLastPoint) {
  EXPECT_EQ(ReplaceFileExtension("C:\\DIR\\A.B.TMP", ".PLI"), "C:\\DIR\\A.B.PLI");
  EXPECT_EQ(ReplaceFileExtension("C:\\D.X\\NAME", ".TMP"), "C:\\D.X\\NAME.TMP");
  EXPECT_EQ(MakeBackupName("EIGENSCH.TMP"), "EIGENSCH.BAK");
}

TEST_F(FileHelpersTest, DeleteAndRenameByName) {
  std::ofstream(Host("OLD.TMP")) << "old";
  std::ofstream(Host("NEW.TMP")) << "replaced";
  RenameFileReplacing("OLD.TMP", "NEW.TMP");
  EXPECT_FALSE(std::filesystem::exists(Host("OLD.TMP")));
  EXPECT_EQ(ReadHostFile(Host("NEW.TMP")), "old");
  DeleteFileIfExists("NEW.TMP");
  EXPECT_FALSE(std::filesystem::exists(Host("NEW.TMP")));
  DeleteFileIfExists("NEW.TMP");
  EXPECT_EQ(Journal(), "") << "a missing file is no error";
}

TEST_F(FileHelpersTest, CountsAndSizes) {
  WriteVectors("V.TMP", {Rec(10, 1, 2), Rec(10, 3, 4), Rec(11, 5, 6)});
  WritePoints("P.H2R", {TPointRecord{10, 1, 2}, TPointRecord{11, 3, 4}});
  EXPECT_EQ(CountFileRecords("V.TMP"), 3);
  EXPECT_EQ(CountFileRecords("P.H2R"), 2);
  EXPECT_EQ(CountFileRecords("MISSING.TMP"), 0);
  EXPECT_EQ(ErrorCode, 0) << "a missing file counts 0 without an error";
  EXPECT_EQ(Transcript(), "");
  EXPECT_EQ(GetFileByteSize("V.TMP"), 39);
  EXPECT_EQ(GetFileByteSize(""), 0);
  EXPECT_EQ(GetFileByteSize("MISSING.TMP"), 0);

  int slot = 0;
  OpenDataFileSlot("RAM.TMP", 13, slot, 2);
  ASSERT_NE(slot, 0);
  TRecordBuffer buffer;
  AllocRecordBuffer(13, buffer, 1);
  int32_t written = 0;
  WriteDataFileSlot(slot, buffer, 4, written);
  EXPECT_EQ(CountFileRecords("RAM.TMP"), 4) << "an in-memory file counts its records";
}

TEST_F(FileHelpersTest, ReadFileBytesWantsEveryByte) {
  std::ofstream(Host("B.DAT")) << "0123456789";
  char buffer[16] = {};
  EXPECT_TRUE(ReadFileBytes("B.DAT", buffer, 10));
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  EXPECT_FALSE(ReadFileBytes("B.DAT", buffer, 16)) << "a file shorter than asked";
}

}  // namespace
