// Layer files.
#include "model/layer_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/data_file_folder.h"
#include "support/host_files.h"
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "platform/files.h"

namespace {

class LayerFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TDataFileFolder>();
    folder_ = work_->Path();
    ASSERT_TRUE(work_->Entered());
    HighestLayer = 3;
    CurrentLayer = 0;
    std::fill(std::begin(LayerRecordCounts), std::end(LayerRecordCounts), 0);
  }
  void TearDown() override {
    ErrorCode = 0;
    HighestLayer = 0;
    CurrentLayer = 0;
    work_.reset();
  }
  std::string Host(const std::string& name) const { return folder_ + "/" + name; }
  void WriteRecords(const std::string& name, int count) const {
    std::ofstream(Host(name), std::ios::binary) << std::string(static_cast<size_t>(count) * 13, '\x0a');
  }
  std::set<std::string> Files(const std::string& sub = "") const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? folder_ : Host(sub)))
      names.insert(entry.path().filename().string());
    return names;
  }
  std::string folder_;
  std::unique_ptr<torvtest::TDataFileFolder> work_;
};

TEST_F(LayerFilesTest, LayerNumbersWrapByTheLayerCount) {
  const struct { int32_t n; int32_t layer; } cases[] = {
      {0, 0}, {3, 3}, {4, 0}, {5, 1}, {7, 3}, {8, 0}, {-2, 0}, {-1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WrapLayerNumber(c.n), c.layer) << c.n;
    EXPECT_EQ(BuildLayerFileName(c.n), plat::CurrentFolder() + "Layer" + std::to_string(c.layer) + ".TMP") << c.n;
  }
  HighestLayer = 0;
  EXPECT_EQ(WrapLayerNumber(9), 0);
  HighestLayer = 50;
  EXPECT_EQ(WrapLayerNumber(50), 50) << "the top layer keeps its own file";
  EXPECT_EQ(WrapLayerNumber(51), 0);
  HighestLayer = 200;  // a broken setting still names an existing table entry
  EXPECT_EQ(WrapLayerNumber(60), 9);
}

TEST_F(LayerFilesTest, OtherNamesClampOrCutTheirNumbers) {
  const std::string folder = plat::CurrentFolder();
  EXPECT_EQ(BuildLayerBareName(5), "Layer3.TMP");
  EXPECT_EQ(BuildLayerBareName(-1), "Layer0.TMP");
  EXPECT_EQ(BuildRelLayFileName(7), folder + "RelLay3.TMR");
  EXPECT_EQ(BuildRelLayFileName(2), folder + "RelLay2.TMR");
  EXPECT_EQ(BuildWLayerFileName(15), folder + "WLayer15.TMP");
  EXPECT_EQ(BuildWLayerFileName(123456), folder + "WLayer1234.TMP");
  EXPECT_EQ(BuildWLayerBareName(123), "WLayer12.TMP");
  EXPECT_EQ(BuildPLayerFileName(11), folder + "PLayer11.TMP");
  EXPECT_EQ(BuildPLayerBareName(0), "PLayer0.TMP");
  CurrentLayer = 2;
  EXPECT_EQ(GetCurrentLayerFileName(), folder + "Layer2.TMP");
}

TEST_F(LayerFilesTest, CountsAreKeptUntilRecounted) {
  WriteRecords("Layer0.TMP", 2);
  WriteRecords("Layer3.TMP", 5);
  WriteRecords("Layer4.TMP", 100);  // above the highest layer
  RecountAllLayerRecords();
  EXPECT_EQ(LayerRecordCounts[0], 2);
  EXPECT_EQ(LayerRecordCounts[1], 0) << "a missing file counts 0";
  EXPECT_EQ(LayerRecordCounts[3], 5);
  EXPECT_EQ(SumLayerRecordCounts(), 7);

  WriteRecords("Layer3.TMP", 9);
  EXPECT_EQ(SumLayerRecordCounts(), 7) << "the table is not refreshed by itself";
  CurrentLayer = 3;
  EXPECT_EQ(RecountCurrentLayerRecords(), 9);
  EXPECT_EQ(SumLayerRecordCounts(), 11);
  CurrentLayer = 1;
  EXPECT_EQ(RecountCurrentLayerRecords(), 0);
  EXPECT_EQ(ErrorCode, 0) << "counting never fails";
  EXPECT_FALSE(std::filesystem::exists(Host("transcript.txt")));
}

TEST_F(LayerFilesTest, FilledTestCoversEachKindsNumbers) {
  EXPECT_FALSE(CheckAnyLayerFileFilled(1));
  WriteRecords("WLayer0.TMP", 0);
  EXPECT_FALSE(CheckAnyLayerFileFilled(1)) << "an empty file holds nothing";
  WriteRecords("WLayer16.TMP", 1);
  EXPECT_FALSE(CheckAnyLayerFileFilled(1)) << "tool layers end at 15";
  WriteRecords("WLayer15.TMP", 1);
  EXPECT_TRUE(CheckAnyLayerFileFilled(1));
  EXPECT_FALSE(CheckAnyLayerFileFilled(2));
  WriteRecords("PLayer7.TMP", 3);
  EXPECT_TRUE(CheckAnyLayerFileFilled(2));
  WriteRecords("Layer4.TMP", 3);
  EXPECT_FALSE(CheckAnyLayerFileFilled(0)) << "only layers up to the highest";
  WriteRecords("Layer2.TMP", 1);
  EXPECT_TRUE(CheckAnyLayerFileFilled(0));
  EXPECT_FALSE(CheckAnyLayerFileFilled(3));
}

TEST_F(LayerFilesTest, PathLayerFilesAreDeletedUpToEleven) {
  for (int n = 0; n <= 13; ++n) WriteRecords("PLayer" + std::to_string(n) + ".TMP", 1);
  DeletePLayerFilesFrom(3);
  const std::set<std::string> left = Files();
  for (int n = 0; n <= 13; ++n) {
    const bool kept = n < 3 || n > 11;
    EXPECT_EQ(left.count("PLayer" + std::to_string(n) + ".TMP"), kept ? 1u : 0u) << n;
  }
  DeletePLayerFilesFrom(0);
  EXPECT_FALSE(std::filesystem::exists(Host("MENUREC.TXT"))) << "missing files are no error";
}

TEST_F(LayerFilesTest, OnlyPerObjectReliefCopiesAreDeleted) {
  for (const char* name : {"RO000001.TMR", "RO123456.TMR", "ROSICH.TMR", "RELAR0.TMR", "RelLay1.TMR", "PROFIL.TMR",
                           "RO000002.TMP"})
    WriteRecords(name, 1);
  DeleteObjectReliefCopies();
  EXPECT_EQ(Files(), (std::set<std::string>{"RELAR0.TMR", "RelLay1.TMR", "PROFIL.TMR", "RO000002.TMP",
                                            "script.txt"}));
}

TEST_F(LayerFilesTest, AFolderIsEmptiedOfFilesOnly) {
  std::filesystem::create_directories(Host("PROJECT/INNER"));
  WriteRecords("PROJECT/A.TMP", 1);
  WriteRecords("PROJECT/NOEXT", 1);
  WriteRecords("PROJECT/INNER/B.TMP", 1);
  WriteRecords("KEEP.TMP", 1);
  DeleteAllFilesInFolder("PROJECT\\");
  EXPECT_EQ(Files("PROJECT"), (std::set<std::string>{"INNER"}));
  EXPECT_TRUE(std::filesystem::exists(Host("PROJECT/INNER/B.TMP")));
  WriteRecords("PROJECT/C.TMP", 1);
  DeleteAllFilesInFolder("PROJECT");
  EXPECT_EQ(Files("PROJECT"), (std::set<std::string>{"INNER"})) << "a folder name without its backslash";
  DeleteAllFilesInFolder("");
  EXPECT_TRUE(std::filesystem::exists(Host("KEEP.TMP"))) << "an empty name empties nothing";
}

// A new or opened drawing begins with every layer on screen: emptying the
// drawing shows the layers again, emptying other work files leaves them.
TEST_F(LayerFilesTest, EmptyingTheDrawingShowsEveryLayer) {
  std::fill(std::begin(LayerVisible), std::end(LayerVisible), uint8_t(0));
  ClearWorkFiles(kClearTexts | kClearFrame | kClearRelief);
  EXPECT_EQ(std::count(std::begin(LayerVisible), std::end(LayerVisible), 0), kMaxLayerNumber + 1);
  ClearWorkFiles(kClearDrawing);
  for (int n = 0; n <= kMaxLayerNumber; ++n) EXPECT_NE(LayerVisible[n], 0) << n;
}

// A partial record at the end of a record file (a write cut short) is cut
// off; whole files, empty files and files above the highest layer stay as
// they are. Each cut gets a journal line with the bytes cut.
TEST_F(LayerFilesTest, RepairCutsPartialRecordsOffTheRecordFiles) {
  const struct { const char* name; size_t size; size_t after; const char* journal; } cases[] = {
      {"Layer0.TMP", 0, 0, nullptr},
      {"Layer1.TMP", 13 * 4, 13 * 4, nullptr},
      {"Layer2.TMP", 13 * 3 + 5, 13 * 3, "Layer2.TMP: 5 Byte abgeschnitten\r\n"},
      {"Layer3.TMP", 12, 0, "Layer3.TMP: 12 Byte abgeschnitten\r\n"},
      {"Layer4.TMP", 13 + 1, 13 + 1, nullptr},  // above the highest layer: not a layer file now
      {"VekAR1.TMP", 13 * 2 + 1, 13 * 2, "VekAR1.TMP: 1 Byte abgeschnitten\r\n"},
      {"VekAR2.TMP", 13, 13, nullptr},
      {"VekArZw.TMP", 13 + 7, 13, "VekArZw.TMP: 7 Byte abgeschnitten\r\n"},
  };
  std::string pattern;
  for (size_t i = 0; i < 13 * 5; ++i) pattern += char('A' + i % 26);
  for (const auto& c : cases) std::ofstream(Host(c.name), std::ios::binary) << pattern.substr(0, c.size);
  std::ofstream(Host("MENUREC.TXT")).close();

  const TLayerRepair repair = RepairLayerFiles();
  EXPECT_EQ(repair.filesCut, 4);
  EXPECT_EQ(repair.filesLocked, 0);
  const std::string journal = torvtest::ReadHostFile(Host("MENUREC.TXT"));
  for (const auto& c : cases) {
    std::ifstream in(Host(c.name), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, pattern.substr(0, c.after)) << c.name << ": whole records are kept as they were";
    if (c.journal) {
      EXPECT_NE(journal.find(std::string("#0000 : ") + c.journal), std::string::npos) << journal;
    }
  }
  EXPECT_EQ(std::count(journal.begin(), journal.end(), '\n'), 4) << journal;
  EXPECT_EQ(ErrorCode, 0);

  // A second run finds nothing to cut.
  const TLayerRepair again = RepairLayerFiles();
  EXPECT_EQ(again.filesCut + again.filesLocked, 0);
}

// A read-only file with a partial record keeps all its bytes and is counted
// and journalled as not cut; the others are still cut.
TEST_F(LayerFilesTest, RepairLeavesAReadOnlyFileWhole) {
  std::ofstream(Host("Layer1.TMP"), std::ios::binary) << std::string(13 + 3, 'x');
  std::ofstream(Host("Layer2.TMP"), std::ios::binary) << std::string(13 + 3, 'y');
  std::filesystem::permissions(Host("Layer1.TMP"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  std::ofstream(Host("MENUREC.TXT")).close();

  const TLayerRepair repair = RepairLayerFiles();
  EXPECT_EQ(repair.filesCut, 1);
  EXPECT_EQ(repair.filesLocked, 1);
  EXPECT_EQ(std::filesystem::file_size(Host("Layer1.TMP")), 16u);
  EXPECT_EQ(std::filesystem::file_size(Host("Layer2.TMP")), 13u);
  const std::string journal = torvtest::ReadHostFile(Host("MENUREC.TXT"));
  EXPECT_NE(journal.find("Layer1.TMP: 3 Byte nicht abgeschnitten, IOResult 5"), std::string::npos) << journal;
  EXPECT_EQ(plat::gFileMode, 2);
  std::filesystem::permissions(Host("Layer1.TMP"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

}  // namespace
