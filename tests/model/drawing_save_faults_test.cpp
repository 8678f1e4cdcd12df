// Drawing saves under faults: the program killed at each step of a save, a
// disk that fills up, a read-only folder. The user's drawing is always the
// whole old file or the whole new one, and a failure is told in words.
#include <sys/stat.h>

#include <filesystem>

#include "frame/whole_file_save.h"
#include "model/drawing_file.h"
#include "support/save_kill.h"
#include "support/store_test_support.h"

namespace {

std::string AsciiOnly(std::string text) {
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return text;
}

using drawtest::Rec;
using storetest::TRecs;

class DrawingSaveFaultsTest : public storetest::StoreTest {
 protected:
  void TearDown() override {
    SaveStepHook = nullptr;
    plat::gDiskBytesLeft = -1;
    std::error_code ec;
    std::filesystem::permissions(work_->Path() + "/RO", std::filesystem::perms::owner_all, ec);
    storetest::StoreTest::TearDown();
  }
  // A drawing larger than one block of the writer (65535 bytes), so that a
  // part of it is on the disk before the rest is written.
  void MakeDrawing(float shift) {
    TRecs big = {Rec(kRecContourStart, shift, 0)};
    for (int i = 0; i < 6000; ++i) big.push_back(Rec(kRecLinePoint, shift + float(i % 97), float(i)));
    Put(Layer(0), big);
    Put(Layer(1), storetest::Square(shift, shift, 10));
  }
  // The text in a message box of the transcript. Letters beyond ASCII are
  // left out on both sides: the box shows them in the Windows code page.
  bool Shows(const std::string& dosText) const {
    return AsciiOnly(Transcript()).find(AsciiOnly(dosText)) != std::string::npos;
  }
};

TEST_F(DrawingSaveFaultsTest, AKilledSaveLeavesTheOldOrTheNewDrawing) {
  MakeDrawing(0);
  ASSERT_TRUE(WriteSldDrawing("", "A.SLD", 255));
  const std::string before = ReadFile("A.SLD");
  MakeDrawing(5);
  ASSERT_TRUE(WriteSldDrawing("", "B.SLD", 255));
  const std::string after = ReadFile("B.SLD");
  ASSERT_TRUE(WriteSldDrawing("", "C.SLD", 255));
  ASSERT_EQ(ReadFile("C.SLD"), after) << "a save of the same drawing is the same file";
  ASSERT_GT(after.size(), 65535u);
  ASSERT_NE(before, after);

  struct TCase {
    TSavePoint point;
    bool isNew;        // the drawing after the kill is the new one
    bool leavesTemp;   // "A.$SL" is left for the next start
  };
  const TCase cases[] = {
      {kSavePartWritten, false, true},
      {kSaveFlushed, false, true},
      {kSaveBeforeRename, false, true},
      {kSaveAfterRename, true, false},
  };
  for (const TCase& c : cases) {
    WriteFile("A.SLD", before);
    std::filesystem::remove(Host("A.$SL"));
    ASSERT_TRUE(torvtest::RunSaveKilledAt(c.point, [] { WriteSldDrawing("", "A.SLD", 255); })) << int(c.point);
    const std::string now = ReadFile("A.SLD");
    EXPECT_TRUE(now == before || now == after) << int(c.point) << ": neither drawing, " << now.size() << " bytes";
    EXPECT_EQ(now == after, c.isNew) << int(c.point);
    EXPECT_EQ(Exists("A.$SL"), c.leavesTemp) << int(c.point);
  }
  // Killed mid-write, the temporary holds a part of the new drawing only.
  WriteFile("A.SLD", before);
  ASSERT_TRUE(torvtest::RunSaveKilledAt(kSavePartWritten, [] { WriteSldDrawing("", "A.SLD", 255); }));
  EXPECT_LT(ReadFile("A.$SL").size(), after.size());
}

TEST_F(DrawingSaveFaultsTest, AFullDiskLosesNothingAndNamesTheFile) {
  MakeDrawing(0);
  ASSERT_TRUE(WriteSldDrawing("", "A.SLD", 255));
  const std::string before = ReadFile("A.SLD");
  MakeDrawing(5);
  const std::string layer0 = ReadFile(Layer(0)), layer1 = ReadFile(Layer(1));
  for (int64_t limit : {int64_t(0), int64_t(300), int64_t(70000), int64_t(before.size() - 1)}) {
    std::filesystem::remove(Host("transcript.txt"));
    plat::gDiskBytesLeft = limit;
    EXPECT_FALSE(WriteSldDrawing("", "A.SLD", 255)) << limit;
    plat::gDiskBytesLeft = -1;
    EXPECT_EQ(ReadFile("A.SLD"), before) << limit;
    EXPECT_FALSE(Exists("A.$SL")) << limit;
    EXPECT_EQ(ReadFile(Layer(0)), layer0) << limit;
    EXPECT_EQ(ReadFile(Layer(1)), layer1) << limit;
    EXPECT_TRUE(Shows(GetMessageText(4121, -39))) << limit << Transcript();
    EXPECT_TRUE(Shows("A.SLD")) << limit << Transcript();
  }
}

TEST_F(DrawingSaveFaultsTest, AReadOnlyFolderIsNamedAndKeepsItsDrawing) {
  MakeDrawing(0);
  std::filesystem::create_directory(work_->Path() + "/RO");
  const std::string name = plat::DosPathOf(work_->Path() + "/RO") + "\\A.SLD";
  ASSERT_TRUE(WriteSldDrawing("", name, 255));
  const std::string before = ReadFile("RO/A.SLD");
  ASSERT_EQ(chmod((work_->Path() + "/RO").c_str(), 0555), 0);
  MakeDrawing(5);
  EXPECT_FALSE(WriteSldDrawing("", name, 255));
  EXPECT_EQ(ReadFile("RO/A.SLD"), before);
  EXPECT_FALSE(Exists("RO/A.$SL"));
  EXPECT_TRUE(Shows(GetMessageText(4120, -39))) << Transcript();
  EXPECT_TRUE(Shows(plat::DosPathOf(work_->Path() + "/RO"))) << Transcript();
  EXPECT_EQ(Transcript().find("IOResult"), std::string::npos) << Transcript();
}

}  // namespace
