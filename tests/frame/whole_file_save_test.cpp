// Whole-file saves: the order of the steps, the settings file killed at each
// step, a full disk and a read-only folder, and the failure in words.
#include "frame/whole_file_save.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "platform/script.h"
#include "support/host_files.h"
#include "support/journal_folder.h"
#include "support/save_kill.h"

namespace fs = std::filesystem;

namespace {

std::string AsciiOnly(std::string text) {
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return text;
}

using torvtest::ReadHostFile;
using torvtest::WriteHostFile;

// A fresh current folder that is the program folder, with the message file,
// an empty journal and the settings loaded; message boxes go to the
// transcript.
class WholeFileSaveTest : public torvtest::JournalFolderTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(torvtest::JournalFolderTest::SetUp());
    std::error_code ec;
    fs::copy_file(fs::path(TORV_BINARY_DIR) / "TORV.TX0", dir_ / "TORV.TX0", ec);
    setenv("TORV_HOME", dir_.c_str(), 1);
    OpenMessageFile();
    plat::ResetScript();
    LoadParamFile();
    ASSERT_NE(ParamImage, nullptr);
    ErrorCode = 0;
    plat::IoResult();
  }
  void TearDown() override {
    SaveStepHook = nullptr;
    plat::gDiskBytesLeft = -1;
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    delete ParamImage;
    ParamImage = nullptr;
    CloseMessageFile();
    unsetenv("TORV_HOME");
    plat::ResetScript();
    torvtest::JournalFolderTest::TearDown();
    ErrorCode = 0;
  }
  std::string Read(const char* name) const { return ReadHostFile(dir_ / name); }
  std::string Transcript() const { return Read("transcript.txt"); }
  // The text in a message box of the transcript. Letters beyond ASCII are
  // left out on both sides: the box shows them in the Windows code page.
  bool Shows(const std::string& dosText) const {
    return AsciiOnly(Transcript()).find(AsciiOnly(dosText)) != std::string::npos;
  }
  std::string Image() const { return std::string(reinterpret_cast<const char*>(ParamImage->bytes), kParamImageSize); }
  void ChangeSettings(uint8_t value) { ParamImage->bytes[kParamImageSize - 1] = value; }
};

// --- the steps ---------------------------------------------------------------------------

std::vector<TSavePoint> gPointsSeen;
std::vector<std::string> gTargetAtPoint;

TEST_F(WholeFileSaveTest, TheTargetTurnsFromOldToNewOnlyAtTheRename) {
  WriteHostFile(dir_ / "T.DAT", "old");
  SaveStepHook = [](TSavePoint point) {
    gPointsSeen.push_back(point);
    gTargetAtPoint.push_back(ReadHostFile("T.DAT"));
  };
  gPointsSeen.clear();
  gTargetAtPoint.clear();
  TWholeFileSave save;
  ASSERT_TRUE(BeginWholeFileSave(save, "T.DAT", "T.$$$"));
  ASSERT_TRUE(PutWholeFileBytes(save, "new ", 4));
  ASSERT_TRUE(PutWholeFileBytes(save, "data", 4));
  ASSERT_TRUE(PutWholeFileBytesAt(save, 0, "N", 1));
  EXPECT_EQ(Read("T.$$$"), "New data") << "the temporary takes the bytes, the target waits";
  ASSERT_TRUE(FinishWholeFileSave(save, true));
  EXPECT_EQ(Read("T.DAT"), "New data");
  EXPECT_FALSE(fs::exists(dir_ / "T.$$$"));
  const std::vector<TSavePoint> expected = {kSavePartWritten, kSavePartWritten, kSavePartWritten,
                                            kSaveFlushed,     kSaveBeforeRename, kSaveAfterRename};
  EXPECT_EQ(gPointsSeen, expected);
  ASSERT_EQ(gTargetAtPoint.size(), expected.size());
  for (size_t i = 0; i + 1 < expected.size(); ++i) EXPECT_EQ(gTargetAtPoint[i], "old") << i;
  EXPECT_EQ(gTargetAtPoint.back(), "New data");
}

TEST_F(WholeFileSaveTest, EveryFailedStepRemovesTheTemporaryAndKeepsTheTarget) {
  struct TCase {
    const char* what;
    std::function<bool(TWholeFileSave&)> run;
    TSaveStep step;
    int result;
  };
  const std::vector<TCase> cases = {
      {"temporary is a folder",
       [this](TWholeFileSave& s) {
         fs::create_directory(dir_ / "T.$$$");
         const bool ok = BeginWholeFileSave(s, "T.DAT", "T.$$$");
         fs::remove(dir_ / "T.$$$");
         return ok;
       },
       kSaveStepCreate, 5},
      {"disk full",
       [](TWholeFileSave& s) {
         plat::gDiskBytesLeft = 3;
         return BeginWholeFileSave(s, "T.DAT", "T.$$$") && PutWholeFileBytes(s, "12345", 5);
       },
       kSaveStepWrite, 101},
      {"caller's data failed",
       [](TWholeFileSave& s) { return BeginWholeFileSave(s, "T.DAT", "T.$$$") && FinishWholeFileSave(s, false); },
       kSaveStepWrite, 0},
      {"target read-only",
       [this](TWholeFileSave& s) {
         chmod((dir_ / "T.DAT").c_str(), 0444);
         const bool ok = BeginWholeFileSave(s, "T.DAT", "T.$$$") && PutWholeFileBytes(s, "new", 3) &&
                         FinishWholeFileSave(s, true);
         chmod((dir_ / "T.DAT").c_str(), 0644);
         return ok;
       },
       kSaveStepReplace, 5},
  };
  for (const TCase& c : cases) {
    WriteHostFile(dir_ / "T.DAT", "old");
    ErrorCode = 0;
    TWholeFileSave save;
    EXPECT_FALSE(c.run(save)) << c.what;
    plat::gDiskBytesLeft = -1;
    EXPECT_EQ(save.failedStep, c.step) << c.what;
    EXPECT_EQ(save.result, c.result) << c.what;
    EXPECT_NE(ErrorCode, 0) << c.what;
    EXPECT_EQ(Read("T.DAT"), "old") << c.what;
    EXPECT_FALSE(fs::exists(dir_ / "T.$$$")) << c.what;
  }
}

TEST_F(WholeFileSaveTest, FailuresAreToldInWords) {
  TWholeFileSave save;
  save.target = "Z:\\X\\A.SLD";
  save.temp = "Z:\\X\\A.$SL";
  save.result = 101;
  EXPECT_EQ(DescribeSaveFailure(save), GetMessageText(4121, -39) + "\r\nZ:\\X\\A.SLD");
  save.result = 5;  // the folder is not read-only (it does not even exist): no cause in words
  EXPECT_EQ(DescribeSaveCause(save), "");
  EXPECT_EQ(DescribeSaveFailure(save),
            GetMessageText(4122, -39) + "\r\nZ:\\X\\A.SLD\r\n" + GetMessageText(4123, -39) + " 5");
  fs::create_directory(dir_ / "RO");
  ASSERT_EQ(chmod((dir_ / "RO").c_str(), 0555), 0);
  const std::string folder = plat::DosPathOf((dir_ / "RO").string()) + "\\";
  save.target = folder + "A.SLD";
  save.temp = folder + "A.$SL";
  EXPECT_EQ(DescribeSaveFailure(save), GetMessageText(4120, -39) + "\r\n" + folder);
  chmod((dir_ / "RO").c_str(), 0755);
}

// --- the settings file -------------------------------------------------------------------

TEST_F(WholeFileSaveTest, AKilledSettingsSaveLeavesTheOldOrTheNewFile) {
  const std::string before = Read("TORV.PAR");
  ASSERT_EQ(before, Image());
  ChangeSettings(0x5A);
  const std::string after = Image();
  ASSERT_NE(before, after);
  struct TCase {
    TSavePoint point;
    bool isNew;
  };
  const TCase cases[] = {
      {kSavePartWritten, false}, {kSaveFlushed, false}, {kSaveBeforeRename, false}, {kSaveAfterRename, true}};
  for (const TCase& c : cases) {
    WriteHostFile(dir_ / "TORV.PAR", before);
    fs::remove(dir_ / "TORVBak.PAR");
    ASSERT_TRUE(torvtest::RunSaveKilledAt(c.point, [] { SaveParamFileSafely(); })) << int(c.point);
    const std::string now = Read("TORV.PAR");
    EXPECT_TRUE(now == before || now == after) << int(c.point) << ": neither file, " << now.size() << " bytes";
    EXPECT_EQ(now == after, c.isNew) << int(c.point);
    // The old settings are kept aside before the new ones take their place.
    if (c.point >= kSaveBeforeRename) {
      EXPECT_EQ(Read("TORVAlt.PAR"), before) << int(c.point);
    }
  }
}

TEST_F(WholeFileSaveTest, AFullDiskKeepsTheSettingsAndSaysSo) {
  const std::string before = Read("TORV.PAR");
  ChangeSettings(0x33);
  // Nothing, a part, and the whole backup but no room for the kept copy.
  for (int64_t limit : {int64_t(0), int64_t(1000), int64_t(kParamImageSize + 10)}) {
    fs::remove(dir_ / "transcript.txt");
    plat::gDiskBytesLeft = limit;
    EXPECT_FALSE(SaveParamFileSafely()) << limit;
    plat::gDiskBytesLeft = -1;
    EXPECT_EQ(Read("TORV.PAR"), before) << limit;
    EXPECT_FALSE(fs::exists(dir_ / "TORVBak.PAR")) << limit;
    EXPECT_TRUE(Shows(GetMessageText(kMsgParamSaveFailed1, -39))) << Transcript();
    EXPECT_TRUE(Shows(GetMessageText(4121, -39) + "\\n" + kParamFileName)) << limit << Transcript();
  }
  EXPECT_TRUE(SaveParamFileSafely()) << "with room again";
  EXPECT_EQ(Read("TORV.PAR"), Image());
}

TEST_F(WholeFileSaveTest, AReadOnlyProgramFolderIsNamedForTheSettings) {
  const std::string before = Read("TORV.PAR");
  ChangeSettings(0x44);
  ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
  EXPECT_FALSE(SaveParamFileSafely());
  chmod(dir_.c_str(), 0755);
  EXPECT_EQ(Read("TORV.PAR"), before);
  EXPECT_FALSE(fs::exists(dir_ / "TORVBak.PAR"));
  EXPECT_TRUE(Shows(GetMessageText(4120, -39) + "\\n" + plat::CurrentFolder())) << Transcript();
}

}  // namespace
