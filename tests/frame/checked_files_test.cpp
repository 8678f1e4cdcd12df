// Checked file wrappers and the command journal.
#include "frame/checked_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <vector>

#include "frame/defaults.h"
#include "support/host_files.h"
#include "support/journal_folder.h"

namespace fs = std::filesystem;

namespace {

using torvtest::ReadHostFile;
using torvtest::WriteHostFile;

// Each test works in a fresh folder that is the current folder and holds an
// empty journal.
class CheckedFilesTest : public torvtest::JournalFolderTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(torvtest::JournalFolderTest::SetUp());
    plat::IoResult();
    plat::gFileMode = 2;
    ErrorCode = 0;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    torvtest::JournalFolderTest::TearDown();
    ErrorCode = 0;
  }
};

// --- failures of every wrapper ---------------------------------------------------------

struct TFailureCase {
  const char* name;
  // Runs the wrapper so that it fails; returns its result (0 for procedures).
  std::function<int64_t(TFileRec& f)> run;
  TErrorCode code;
  int ioResult;
  const char* text;
};

TEST_F(CheckedFilesTest, EveryWrapperReportsItsFailureThreeWays) {
  char buffer[16] = {};
  std::string line;
  const std::vector<TFailureCase> cases = {
      {"reset missing", [](TFileRec& f) { AssignFileChecked(f, "MISSING.DAT"); ResetFileChecked(f, 1, 2); return 0; },
       1001, 2, " -> Reset()"},
      {"rewrite in missing folder",
       [](TFileRec& f) { AssignFileChecked(f, "NOFOLDER\\NEW.DAT"); RewriteFileChecked(f, 1); return 0; }, 1008, 3,
       " -> Rewrite()"},
      {"reset text missing",
       [](TFileRec& f) { AssignFileChecked(f, "MISSING.TXT"); return int64_t(ResetTextChecked(f)); }, 1003, 2,
       " -> ResetTX()"},
      {"rewrite text in missing folder",
       [](TFileRec& f) { AssignFileChecked(f, "NOFOLDER\\NEW.TXT"); RewriteTextChecked(f); return 0; }, 1002, 3,
       " -> RewriteT()"},
      {"close unopened", [](TFileRec& f) { AssignFileChecked(f, "A.DAT"); CloseFileChecked(f); return 0; }, 1004, 103,
       " -> Close()"},
      {"erase missing", [](TFileRec& f) { AssignFileChecked(f, "MISSING.DAT"); EraseFileChecked(f); return 0; }, 1005,
       2, " -> Erase()"},
      {"rename missing",
       [](TFileRec& f) { AssignFileChecked(f, "MISSING.DAT"); RenameFileChecked(f, "NEW.DAT"); return 0; }, 1006, 2,
       " -> ReName(NEW.DAT)"},
      {"move missing", [](TFileRec&) { MoveFileChecked("OLD.DAT", "NEW.DAT"); return 0; }, 1006, 2,
       " -> ReNameFile(OLD.DAT,NEW.DAT)"},
      {"set attributes of missing", [](TFileRec&) { SetFileAttrChecked("MISSING.DAT", 0x20); return 0; }, 1009, 2,
       " -> SetFAttr()"},
      {"position of unopened",
       [](TFileRec& f) { AssignFileChecked(f, "A.DAT"); return int64_t(GetFilePosChecked(f)); }, 1010, 103,
       " -> FilePos()"},
      {"size of unopened",
       [](TFileRec& f) { AssignFileChecked(f, "A.DAT"); return int64_t(GetFileSizeChecked(f)); }, 1010, 103,
       " -> FileSize()"},
      {"block read closed",
       [&](TFileRec& f) { AssignFileChecked(f, "A.DAT"); return int64_t(ReadBlockChecked(f, buffer, 4)); }, 1011, 103,
       " -> BlockRead()"},
      {"long block read closed",
       [&](TFileRec& f) { AssignFileChecked(f, "A.DAT"); return int64_t(ReadBlockLongChecked(f, buffer, 4)); }, 1011,
       103, " -> BlockRdL()"},
      {"block write closed",
       [&](TFileRec& f) { AssignFileChecked(f, "A.DAT"); return int64_t(WriteBlockChecked(f, buffer, 4)); }, 1011, 103,
       " -> BlockWrite()"},
      {"long block write closed",
       [&](TFileRec& f) { AssignFileChecked(f, "A.DAT"); return int64_t(WriteBlockLongChecked(f, buffer, 4)); }, 1011,
       103, " -> BlockWrL()"},
      {"line read closed", [&](TFileRec& f) { AssignFileChecked(f, "A.TXT"); ReadLineChecked(f, line, 80); return 0; },
       1007, 103, " -> ReadLn()"},
      {"LF line read closed",
       [&](TFileRec& f) { AssignFileChecked(f, "A.TXT"); ReadLfLineChecked(f, line, 80); return 0; }, 1007, 103,
       " -> ReadLnU()"},
      {"CR line read closed",
       [&](TFileRec& f) { AssignFileChecked(f, "A.TXT"); ReadCrLineChecked(f, line, 80); return 0; }, 1007, 103,
       " -> ReadLnU()"},
  };
  for (const TFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHostFile(dir_ / "MENUREC.TXT", "");
    WriteHostFile(dir_ / "A.DAT", "0123456789");
    WriteHostFile(dir_ / "A.TXT", "line\r\n");
    ErrorCode = 0;
    TFileRec f;
    const int64_t result = c.run(f);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ErrorCode, c.code);
    EXPECT_EQ(Journal(), "#0000 : IOResult " + std::to_string(c.ioResult) + "\r\n#0000 : \"" + c.text + "\r\n");
    EXPECT_EQ(plat::IoResult(), 0) << "the result number must have been fetched";
  }
}

TEST_F(CheckedFilesTest, EmptyNameIsNotAssigned) {
  TFileRec f;
  AssignFileChecked(f, "");
  EXPECT_EQ(ErrorCode, 1007);
  EXPECT_EQ(f.state, plat::kFileUnassigned);
  EXPECT_EQ(Journal(), "#0000 : Assign(\"leer\")\r\n");
}

TEST_F(CheckedFilesTest, SuccessLeavesCodeAndJournalAlone) {
  ErrorCode = 42;
  TFileRec f;
  AssignFileChecked(f, "NEW.DAT");
  RewriteFileChecked(f, 1);
  EXPECT_EQ(WriteBlockChecked(f, "abcdef", 6), 6);
  EXPECT_EQ(GetFileSizeChecked(f), 6);
  EXPECT_EQ(GetFilePosChecked(f), 6);
  CloseFileChecked(f);
  MoveFileChecked("NEW.DAT", "MOVED.DAT");
  EXPECT_EQ(ErrorCode, 42);
  EXPECT_EQ(Journal(), "");
  EXPECT_EQ(ReadHostFile(dir_ / "MOVED.DAT"), "abcdef");
}

TEST_F(CheckedFilesTest, ShortReadIsNoFailure) {
  WriteHostFile(dir_ / "FIVE.DAT", "12345");
  TFileRec f;
  AssignFileChecked(f, "FIVE.DAT");
  ResetFileChecked(f, 1, 0);
  char buffer[10] = {};
  EXPECT_EQ(ReadBlockChecked(f, buffer, 10), 5);
  EXPECT_EQ(ReadBlockLongChecked(f, buffer, 10), 0);
  CloseFileChecked(f);
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(Journal(), "");
}

TEST_F(CheckedFilesTest, MoveReplacesAnExistingTarget) {
  WriteHostFile(dir_ / "OLD.DAT", "new content");
  WriteHostFile(dir_ / "TARGET.DAT", "old content");
  MoveFileChecked("OLD.DAT", "TARGET.DAT");
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(ReadHostFile(dir_ / "TARGET.DAT"), "new content");
  EXPECT_FALSE(fs::exists(dir_ / "OLD.DAT"));
}

TEST_F(CheckedFilesTest, CheckIoResultReportsAndClears) {
  EXPECT_EQ(CheckIoResult(), 0);
  EXPECT_EQ(Journal(), "");
  TFileRec f;
  plat::Assign(f, "MISSING.DAT");
  plat::Reset(f, 1);
  ErrorCode = 7;
  EXPECT_EQ(CheckIoResult(), 2);
  EXPECT_EQ(ErrorCode, 7);
  EXPECT_EQ(CheckIoResult(), 0);
  EXPECT_EQ(Journal(), "#0000 : IOResult 2\r\n");
}

// --- file mode ---------------------------------------------------------------------------

TEST_F(CheckedFilesTest, ResetWithModeZeroOpensReadOnlyFileAndRestoresMode) {
  WriteHostFile(dir_ / "RO.DAT", "x");
  ASSERT_EQ(plat::SetFileAttr("RO.DAT", plat::kAttrReadOnly), 0);
  TFileRec f;
  AssignFileChecked(f, "RO.DAT");
  ResetFileChecked(f, 1, 2);  // read/write is refused
  EXPECT_EQ(ErrorCode, 1001);
  EXPECT_EQ(plat::gFileMode, 2);
  ErrorCode = 0;
  ResetFileChecked(f, 1, 0);
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(f.state, plat::kFileInput);
  EXPECT_EQ(plat::gFileMode, 2);
  CloseFileChecked(f);

  TFileRec missing;
  AssignFileChecked(missing, "MISSING.DAT");
  ResetFileChecked(missing, 1, 0);
  EXPECT_EQ(ErrorCode, 1001);
  EXPECT_EQ(plat::gFileMode, 2);
  plat::SetFileAttr("RO.DAT", plat::kAttrArchive);
}

// --- text lines ---------------------------------------------------------------------------

std::vector<std::string> ReadAllLines(const std::string& name, int mode, int maxLen) {
  std::vector<std::string> lines;
  TFileRec f;
  AssignFileChecked(f, name);
  if (ResetTextChecked(f) != 1) return lines;
  for (int guard = 0; guard < 20 && !plat::EofText(f); ++guard) {
    std::string s;
    ReadLineByMode(f, mode, s, maxLen);
    lines.push_back(s);
  }
  CloseFileChecked(f);
  return lines;
}

TEST_F(CheckedFilesTest, LineEndsByMode) {
  using V = std::vector<std::string>;
  WriteHostFile(dir_ / "ABCD.TXT", "AB\r\nCD\n");
  EXPECT_EQ(ReadAllLines("ABCD.TXT", 2, 255), (V{"AB", "CD"}));
  EXPECT_EQ(ReadAllLines("ABCD.TXT", 1, 255), (V{"AB", "CD"}));

  WriteHostFile(dir_ / "MIXED.TXT", "A\rB\nC");
  EXPECT_EQ(ReadAllLines("MIXED.TXT", 1, 255), (V{"A", "BC"}));
  EXPECT_EQ(ReadAllLines("MIXED.TXT", 2, 255), (V{"AB", "C"}));
  EXPECT_EQ(ReadAllLines("MIXED.TXT", 0, 255), (V{"A", "B", "C"}));
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(CheckedFilesTest, LongLinesAreCutAndTheRestSkipped) {
  WriteHostFile(dir_ / "LONG.TXT", "ABCDEF\nGH\n");
  using V = std::vector<std::string>;
  EXPECT_EQ(ReadAllLines("LONG.TXT", 2, 3), (V{"ABC", "GH"}));
  EXPECT_EQ(ReadAllLines("LONG.TXT", 0, 3), (V{"ABC", "GH"}));
  // A line longer than a string can hold ends after 255 characters.
  WriteHostFile(dir_ / "HUGE.TXT", std::string(300, 'x') + "\n");
  std::vector<std::string> lines = ReadAllLines("HUGE.TXT", 2, 1000);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 255u);
  EXPECT_EQ(lines[1].size(), 45u);
}

// --- the journal ------------------------------------------------------------------------------

TEST_F(CheckedFilesTest, JournalLineFormat) {
  struct TCase {
    uint16_t code;
    std::string text;
    std::string line;
  };
  const std::vector<TCase> cases = {
      {42, "x", "#0042 : x\r\n"},
      {7, "Abbruch", "#0007 : Abbruch\r\n"},
      {0, "", "#0000 : \r\n"},
      {12345, "y", "#12345 : y\r\n"},
      {65535, "z", "#65535 : z\r\n"},
      {0, std::string(100, 'a'), "#0000 : " + std::string(70, 'a') + "\r\n"},
      {0, std::string(70, 'b'), "#0000 : " + std::string(70, 'b') + "\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    WriteHostFile(dir_ / "MENUREC.TXT", "");
    WriteJournalLine(c.code, c.text);
    EXPECT_EQ(Journal(), c.line);
    EXPECT_LE(Journal().size(), 80u);
  }
}

TEST_F(CheckedFilesTest, JournalAppendsAndKeepsTheErrorCode) {
  WriteHostFile(dir_ / "MENUREC.TXT", "#0000 : earlier\r\n");
  ErrorCode = 1011;
  WriteJournalLine(3, "later");
  EXPECT_EQ(ErrorCode, 1011);
  EXPECT_EQ(Journal(), "#0000 : earlier\r\n#0003 : later\r\n");
}

TEST_F(CheckedFilesTest, JournalThatCannotBeOpenedKeepsTheErrorCode) {
  fs::remove(dir_ / "MENUREC.TXT");
  fs::create_directory(dir_ / "MENUREC.TXT");
  ErrorCode = 1011;
  WriteJournalLine(0, "lost");
  EXPECT_EQ(ErrorCode, 1011);
  EXPECT_TRUE(fs::is_directory(dir_ / "MENUREC.TXT"));
  EXPECT_TRUE(fs::is_empty(dir_ / "MENUREC.TXT"));

  // A wrapper failing while the journal cannot be opened still sets its code.
  ErrorCode = 0;
  TFileRec f;
  AssignFileChecked(f, "MISSING.DAT");
  ResetFileChecked(f, 1, 2);
  EXPECT_EQ(ErrorCode, 1001);
  EXPECT_EQ(plat::IoResult(), 0);
}

TEST_F(CheckedFilesTest, MissingJournalIsCreated) {
  fs::remove(dir_ / "MENUREC.TXT");
  ErrorCode = 5;
  WriteJournalLine(0, "first");
  EXPECT_EQ(ErrorCode, 5);
  EXPECT_EQ(Journal(), "#0000 : first\r\n");
}

TEST_F(CheckedFilesTest, JournalInAMissingFolderIsLostQuietly) {
  ASSERT_TRUE(plat::SetCurrentFolder(plat::DosPathOf(dir_.string()) + "\\"));
  fs::create_directory(dir_ / "SUB");
  ASSERT_TRUE(plat::SetCurrentFolder(plat::DosPathOf((dir_ / "SUB").string())));
  fs::remove(dir_ / "SUB");  // the current folder is gone
  ErrorCode = 1011;
  WriteJournalLine(0, "lost");
  EXPECT_EQ(ErrorCode, 1011);
  EXPECT_EQ(plat::IoResult(), 0);
}

}  // namespace
