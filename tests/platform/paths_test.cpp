// Path mapping, code page, wildcards, attributes, directory searches and the
// operations on files and folders by name.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/current_folder.h"
#include "support/host_files.h"

namespace {

using torvtest::ReadHostFile;
using torvtest::WriteHostFile;

namespace fs = std::filesystem;

std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Each test works in a fresh temporary folder that is the current folder.
class TPathsTest : public torvtest::CurrentFolderTest {
 protected:
  std::string Dos(const std::string& rel) const {
    std::string d = plat::DosPathOf(root_) + "\\" + rel;
    for (char& c : d)
      if (c == '/') c = '\\';
    return d;
  }
};

TEST_F(TPathsTest, MapsNamesOntoExistingEntriesIgnoringCase) {
  WriteHostFile(Host("Layer3.TMP"), "x");
  fs::create_directory(Host("Sub"));
  WriteHostFile(Host("Sub/Inner.txt"), "y");
  WriteHostFile(Host("M\xC3\xBCller.txt"), "z");  // "Müller.txt" in UTF-8
  const std::string rootDos = plat::DosPathOf(root_);  // "Z:\tmp\torv_paths_..."
  const std::string rootNoDrive = rootDos.substr(2);

  struct TCase { std::string dos, host; };
  const TCase cases[] = {
      {"LAYER3.tmp", Host("Layer3.TMP")},
      {"layer3.TMP", Host("Layer3.TMP")},
      {"new.TXT", Host("new.TXT")},  // a new file keeps its spelling
      {"SUB\\INNER.TXT", Host("Sub/Inner.txt")},
      {"sub/inner.txt", Host("Sub/Inner.txt")},
      {"SUB\\New\\X.TXT", Host("Sub/New/X.TXT")},
      {".\\SUB\\..\\layer3.tmp", Host("Layer3.TMP")},
      {"SUB\\", Host("Sub")},
      {rootDos + "\\LAYER3.TMP", Host("Layer3.TMP")},
      {"C:" + rootNoDrive + "\\layer3.tmp", Host("Layer3.TMP")},
      {rootNoDrive + "\\SUB", Host("Sub")},
      {"X:sub", Host("Sub")},  // drive-relative: current folder
      {"M\x9A" "LLER.TXT", Host("M\xC3\xBCller.txt")},  // DOS "MÜLLER.TXT"
      {"m\x81ller.TXT", Host("M\xC3\xBCller.txt")},      // DOS "müller.TXT"
      {"", root_},
      {"C:\\", "/"},
      {"\\", "/"},
      {"C:\\..\\..", "/"},
  };
  for (const TCase& c : cases) EXPECT_EQ(plat::HostPathOf(c.dos), c.host) << "DOS name: " << c.dos;
  EXPECT_EQ(plat::HostPathOf(".."), fs::path(root_).parent_path().string());
}

TEST_F(TPathsTest, PrefersTheExactSpellingThenTheFirstSortedMatch) {
  WriteHostFile(Host("dup.txt"), "1");
  WriteHostFile(Host("DUP.TXT"), "2");
  WriteHostFile(Host("Dup.txt"), "3");
  EXPECT_EQ(plat::HostPathOf("dup.txt"), Host("dup.txt"));
  EXPECT_EQ(plat::HostPathOf("Dup.txt"), Host("Dup.txt"));
  EXPECT_EQ(plat::HostPathOf("dUP.txt"), Host("DUP.TXT"));
}

TEST_F(TPathsTest, ShowsHostPathsAsDriveZ) {
  struct TCase { std::string host, dos; };
  const TCase cases[] = {
      {"/", "Z:\\"},
      {"/a/b", "Z:\\a\\b"},
      {"/a/b/", "Z:\\a\\b"},
      {"/a//b", "Z:\\a\\b"},
      {"/data/M\xC3\xBCller/\xC3\x9F", "Z:\\data\\M\x81ller\\\xE1"},
      {"rel", plat::DosPathOf(root_) + "\\rel"},
  };
  for (const TCase& c : cases) EXPECT_EQ(plat::DosPathOf(c.host), c.dos) << "host path: " << c.host;
  fs::create_directory(Host("Stra\xC3\x9F" "e"));
  EXPECT_EQ(plat::HostPathOf(plat::DosPathOf(Host("Stra\xC3\x9F" "e"))), Host("Stra\xC3\x9F" "e"));
}

TEST_F(TPathsTest, ConvertsGermanLettersBetweenCodePages) {
  const std::string dos = "\x81\x84\x8E\x94\x99\x9A\xE1";
  const std::string utf8 = "\xC3\xBC\xC3\xA4\xC3\x84\xC3\xB6\xC3\x96\xC3\x9C\xC3\x9F";  // üäÄöÖÜß
  EXPECT_EQ(plat::Utf8FromDos(dos), utf8);
  EXPECT_EQ(plat::DosFromUtf8(utf8), dos);
  EXPECT_EQ(plat::Utf8FromDos("A\xE9"), "A\xC3\xA9");  // other bytes as Latin-1
  EXPECT_EQ(plat::DosFromUtf8("A\xC3\xA9"), "A\xE9");
  // No DOS byte or a broken sequence: "?" each, the rest still converted.
  EXPECT_EQ(plat::DosFromUtf8("\xE2\x82\xAC" "x"), "?x");       // euro sign
  EXPECT_EQ(plat::DosFromUtf8("a\xFF" "b\xC3"), "a?b?");        // stray and cut-off bytes
  EXPECT_EQ(plat::DosFromUtf8("\xC0\xAF" "c"), "??c");          // overlong "/"
  EXPECT_EQ(plat::DosFromUtf8("\xF0\x9F\x98\x80"), "?");        // one character, one "?"
}

TEST_F(TPathsTest, ProgramFolderComesFromTorvHomeOrTheExecutable) {
  const char* old = getenv("TORV_HOME");
  const std::string saved = old ? old : "";
  const std::string exeFolder = fs::canonical(fs::path(TORV_BINARY_DIR) / "tests").string();
  setenv("TORV_HOME", root_.c_str(), 1);
  EXPECT_EQ(plat::ProgramFolder(), plat::DosPathOf(root_) + "\\");
  // The shipped data files are still found beside the executable.
  EXPECT_EQ(plat::ExecutableFolder(), plat::DosPathOf(exeFolder) + "\\");
  unsetenv("TORV_HOME");
  EXPECT_EQ(plat::ProgramFolder(), plat::DosPathOf(exeFolder) + "\\");
  if (old) setenv("TORV_HOME", saved.c_str(), 1);
}

TEST_F(TPathsTest, SetCurrentFolderMovesTheProcessToo) {
  fs::create_directory(Host("Work"));
  WriteHostFile(Host("plain"), "");
  EXPECT_EQ(plat::CurrentFolder(), plat::DosPathOf(root_) + "\\");
  ASSERT_TRUE(plat::SetCurrentFolder("WORK"));
  EXPECT_EQ(plat::CurrentFolder(), plat::DosPathOf(Host("Work")) + "\\");
  char buf[PATH_MAX];
  ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
  EXPECT_EQ(std::string(buf), Host("Work"));
  EXPECT_EQ(plat::HostPathOf("x.txt"), Host("Work/x.txt"));
  // Neither a missing folder nor a file can become the current folder.
  EXPECT_FALSE(plat::SetCurrentFolder("..\\missing"));
  EXPECT_FALSE(plat::SetCurrentFolder("..\\plain"));
  EXPECT_EQ(plat::CurrentFolder(), plat::DosPathOf(Host("Work")) + "\\");
  ASSERT_TRUE(plat::SetCurrentFolder(".."));
  EXPECT_EQ(plat::CurrentFolder(), plat::DosPathOf(root_) + "\\");
  ASSERT_TRUE(plat::SetCurrentFolder("C:\\"));
  EXPECT_EQ(plat::CurrentFolder(), "Z:\\");
}

TEST(TWildcardTest, MatchesDosPatternsIgnoringCase) {
  struct TCase { const char* pattern; const char* name; bool match; };
  const TCase cases[] = {
      {"*.*", "anything.txt", true},
      {"*.*", "NOEXT", true},
      {"*", "a.b.c", true},
      {"*.HZE", "g1500010.hze", true},
      {"*.HZE", "g1500010.hzx", false},
      {"*.HZE", "hze", false},
      {"A?.TMP", "AB.TMP", true},
      {"A?.TMP", "ab.tmp", true},
      {"A?.TMP", "A.TMP", true},  // "?" may stand for nothing before the point
      {"A?.TMP", "ABC.TMP", false},
      {"A.*", "A", true},
      {"A.*", "a.txt", true},
      {"A.*", "AB.txt", false},
      {"*.", "NOEXT", true},
      {"*.", "x.txt", false},
      {"LAYER?.TMP", "Layer3.tmp", true},
      {"*3.TMP", "Layer3.TMP", true},
      {"*3.TMP", "Layer4.TMP", false},
      {"M\x9A*", "m\x81ller", true},  // DOS Ü matches ü
      {"exact.txt", "EXACT.TXT", true},
      {"exact.txt", "exact.txt2", false},
      {"*.*", "", false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(plat::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}

TEST_F(TPathsTest, FindListsMatchesSortedAndHonoursTheMask) {
  WriteHostFile(Host("g1500010.hze"), "12345");
  WriteHostFile(Host("B.HZE"), "");
  WriteHostFile(Host("a.hze"), "");
  WriteHostFile(Host("c.txt"), "");
  WriteHostFile(Host(".hidden.hze"), "");
  fs::create_directory(Host("dir.hze"));

  auto names = [](const std::string& pattern, uint32_t mask) {
    std::vector<std::string> out;
    plat::TSearchRec rec;
    for (int r = plat::FindFirst(pattern, mask, rec); r == 0; r = plat::FindNext(rec)) out.push_back(rec.name);
    plat::FindClose(rec);
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names("*.HZE", 0), (V{"a.hze", "B.HZE", "g1500010.hze"}));
  EXPECT_EQ(names("*.hze", plat::kAttrDirectory), (V{"a.hze", "B.HZE", "dir.hze", "g1500010.hze"}));
  EXPECT_EQ(names("*.*", plat::kAttrAnyFile),
            (V{".hidden.hze", "a.hze", "B.HZE", "c.txt", "dir.hze", "g1500010.hze"}));
  EXPECT_EQ(names("G1500010.HZE", 0), (V{"g1500010.hze"}));

  plat::TSearchRec rec;
  ASSERT_EQ(plat::FindFirst("*.hze", plat::kAttrAnyFile, rec), 0);
  EXPECT_EQ(rec.name, ".hidden.hze");
  EXPECT_EQ(rec.attr, uint32_t(plat::kAttrHidden | plat::kAttrArchive));
  ASSERT_EQ(plat::FindNext(rec), 0);
  ASSERT_EQ(plat::FindNext(rec), 0);
  ASSERT_EQ(plat::FindNext(rec), 0);
  EXPECT_EQ(rec.name, "dir.hze");
  EXPECT_EQ(rec.attr, uint32_t(plat::kAttrDirectory));
  ASSERT_EQ(plat::FindNext(rec), 0);
  EXPECT_EQ(rec.name, "g1500010.hze");
  EXPECT_EQ(rec.size, 5);
  EXPECT_EQ(plat::FindNext(rec), 18);
  EXPECT_EQ(plat::FindNext(rec), 18);
  plat::FindClose(rec);
}

TEST_F(TPathsTest, FindInASubFolderGivesDosTimeAndSize) {
  fs::create_directory(Host("Project"));
  WriteHostFile(Host("Project/A.SLD"), std::string(13 * 7, 'x'));
  struct tm lt = {};
  lt.tm_year = 2021 - 1900;
  lt.tm_mon = 5;
  lt.tm_mday = 15;
  lt.tm_hour = 13;
  lt.tm_min = 45;
  lt.tm_sec = 31;
  lt.tm_isdst = -1;
  const time_t t = mktime(&lt);
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Host("Project/A.SLD").c_str(), times, 0), 0);

  plat::TSearchRec rec;
  ASSERT_EQ(plat::FindFirst("PROJECT\\*.sld", 0, rec), 0);
  EXPECT_EQ(rec.name, "A.SLD");
  EXPECT_EQ(rec.size, 91);
  const uint32_t date = (41u << 9) | (6u << 5) | 15u;
  const uint32_t tod = (13u << 11) | (45u << 5) | 15u;
  EXPECT_EQ(static_cast<uint32_t>(rec.time), (date << 16) | tod);
  plat::FindClose(rec);
}

TEST_F(TPathsTest, FailedFindLeavesTheRecordMarkedEmpty) {
  WriteHostFile(Host("a.txt"), "");
  plat::TSearchRec rec;
  ASSERT_EQ(plat::FindFirst("*.txt", 0, rec), 0);
  ASSERT_NE(rec.time, -1);
  EXPECT_EQ(plat::FindFirst("*.TMP", plat::kAttrAnyFile, rec), 18);
  EXPECT_EQ(rec.time, -1);
  EXPECT_EQ(plat::FindNext(rec), 18);
  EXPECT_EQ(plat::FindFirst("MISSING\\*.*", plat::kAttrAnyFile, rec), 3);
  EXPECT_EQ(rec.time, -1);
  plat::FindClose(rec);
  plat::FindClose(rec);  // closing twice is harmless
}

TEST_F(TPathsTest, AttributesFollowTheOwnerWriteBitAndTheName) {
  WriteHostFile(Host("File.dat"), "1");
  WriteHostFile(Host(".dot"), "1");
  fs::create_directory(Host("Folder"));
  uint32_t attr = 0;
  ASSERT_EQ(plat::GetFileAttr("file.DAT", attr), 0);
  EXPECT_EQ(attr, uint32_t(plat::kAttrArchive));
  ASSERT_EQ(plat::GetFileAttr(".DOT", attr), 0);
  EXPECT_EQ(attr, uint32_t(plat::kAttrArchive | plat::kAttrHidden));
  ASSERT_EQ(plat::GetFileAttr("folder", attr), 0);
  EXPECT_EQ(attr, uint32_t(plat::kAttrDirectory));
  EXPECT_EQ(plat::GetFileAttr("missing.dat", attr), 2);
  EXPECT_EQ(plat::GetFileAttr("missing\\x.dat", attr), 3);

  ASSERT_EQ(plat::SetFileAttr("FILE.DAT", plat::kAttrReadOnly | plat::kAttrArchive), 0);
  struct stat st;
  ASSERT_EQ(stat(Host("File.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  ASSERT_EQ(plat::GetFileAttr("file.dat", attr), 0);
  EXPECT_EQ(attr, uint32_t(plat::kAttrReadOnly | plat::kAttrArchive));
  ASSERT_EQ(plat::SetFileAttr("file.dat", plat::kAttrArchive), 0);
  ASSERT_EQ(stat(Host("File.dat").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
  EXPECT_EQ(plat::SetFileAttr("missing.dat", 0), 2);
}

TEST_F(TPathsTest, ExistenceAndSizeByName) {
  WriteHostFile(Host("Data.BIN"), "abc");
  fs::create_directory(Host("Folder"));
  EXPECT_TRUE(plat::FileExists("DATA.bin"));
  EXPECT_FALSE(plat::FileExists("folder"));
  EXPECT_FALSE(plat::FileExists("*.bin"));  // no wildcards
  EXPECT_FALSE(plat::FileExists(""));
  EXPECT_TRUE(plat::FolderExists("FOLDER"));
  EXPECT_FALSE(plat::FolderExists("data.bin"));
  EXPECT_FALSE(plat::FolderExists(""));
  EXPECT_EQ(plat::FileSizeBytes("data.bin"), 3);
  EXPECT_EQ(plat::FileSizeBytes("folder"), -1);
  EXPECT_EQ(plat::FileSizeBytes("none.bin"), -1);
}

TEST_F(TPathsTest, CreateAndRemoveFolders) {
  WriteHostFile(Host("afile"), "");
  EXPECT_EQ(plat::CreateFolder("Project"), 0);
  EXPECT_TRUE(fs::is_directory(Host("Project")));
  EXPECT_EQ(plat::CreateFolder("PROJECT"), 5);
  EXPECT_EQ(plat::CreateFolder("AFILE"), 5);
  EXPECT_EQ(plat::CreateFolder("Missing\\Sub"), 3);
  EXPECT_FALSE(fs::exists(Host("Missing")));
  EXPECT_EQ(plat::CreateFolder("project\\Sub"), 0);
  EXPECT_TRUE(fs::is_directory(Host("Project/Sub")));

  EXPECT_EQ(plat::RemoveFolder("PROJECT"), 5);  // not empty
  EXPECT_EQ(plat::RemoveFolder("none"), 3);
  EXPECT_EQ(plat::RemoveFolder("afile"), 5);
  ASSERT_TRUE(plat::SetCurrentFolder("project\\sub"));
  EXPECT_EQ(plat::RemoveFolder(plat::CurrentFolder()), 16);
  ASSERT_TRUE(plat::SetCurrentFolder(plat::DosPathOf(root_)));
  EXPECT_EQ(plat::RemoveFolder("project\\SUB"), 0);
  EXPECT_EQ(plat::RemoveFolder("project"), 0);
  EXPECT_FALSE(fs::exists(Host("Project")));
}

TEST_F(TPathsTest, DeleteByName) {
  WriteHostFile(Host("Old.TMP"), "x");
  WriteHostFile(Host("Kept.TMP"), "x");
  fs::create_directory(Host("Folder"));
  EXPECT_EQ(plat::DeleteFileByName("old.tmp"), 0);
  EXPECT_FALSE(fs::exists(Host("Old.TMP")));
  EXPECT_EQ(plat::DeleteFileByName("old.tmp"), 2);
  EXPECT_EQ(plat::DeleteFileByName("nofolder\\old.tmp"), 3);
  EXPECT_EQ(plat::DeleteFileByName("folder"), 5);
  ASSERT_EQ(plat::SetFileAttr("kept.tmp", plat::kAttrReadOnly), 0);
  EXPECT_EQ(plat::DeleteFileByName("kept.tmp"), 5);
  EXPECT_TRUE(fs::exists(Host("Kept.TMP")));
}

TEST_F(TPathsTest, MoveByNameRefusesToReplaceAndAllowsCaseChanges) {
  WriteHostFile(Host("a.txt"), "A");
  WriteHostFile(Host("b.txt"), "B");
  fs::create_directory(Host("Sub"));
  EXPECT_EQ(plat::MoveFileByName("A.TXT", "B.TXT"), 5);
  EXPECT_EQ(ReadHostFile(Host("a.txt")), "A");
  EXPECT_EQ(ReadHostFile(Host("b.txt")), "B");
  EXPECT_EQ(plat::MoveFileByName("a.txt", "A.TXT"), 0);
  EXPECT_EQ(EntriesOf(root_), (std::vector<std::string>{"A.TXT", "Sub", "b.txt"}));
  EXPECT_EQ(plat::MoveFileByName("b.txt", "sub\\C.txt"), 0);
  EXPECT_EQ(ReadHostFile(Host("Sub/C.txt")), "B");
  EXPECT_FALSE(fs::exists(Host("b.txt")));
  EXPECT_EQ(plat::MoveFileByName("none.txt", "x.txt"), 2);
  EXPECT_EQ(plat::MoveFileByName("a.txt", "nofolder\\x.txt"), 3);
  EXPECT_EQ(ReadHostFile(Host("A.TXT")), "A");
}

TEST_F(TPathsTest, MoveByNameCopiesAcrossDevices) {
  struct stat here, shm;
  if (stat("/dev/shm", &shm) != 0 || stat(root_.c_str(), &here) != 0 || shm.st_dev == here.st_dev)
    GTEST_SKIP() << "needs /dev/shm on a device other than " << root_;
  char templ[] = "/dev/shm/torv_move_XXXXXX";
  ASSERT_NE(mkdtemp(templ), nullptr);
  const std::string other = templ;
  WriteHostFile(other + "/Far.dat", "far away");
  EXPECT_EQ(plat::MoveFileByName(plat::DosPathOf(other) + "\\FAR.DAT", "near.dat"), 0);
  EXPECT_EQ(ReadHostFile(Host("near.dat")), "far away");
  EXPECT_FALSE(fs::exists(other + "/Far.dat"));
  std::error_code ec;
  fs::remove_all(other, ec);
}

TEST_F(TPathsTest, CopyByNameKeepsTheSourceSafe) {
  WriteHostFile(Host("Src.dat"), "source bytes");
  WriteHostFile(Host("Old.dat"), "a much longer old content");
  const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Host("Src.dat").c_str(), times, 0), 0);

  EXPECT_EQ(plat::CopyFileByName("SRC.DAT", "copy.dat"), 0);
  EXPECT_EQ(ReadHostFile(Host("copy.dat")), "source bytes");
  struct stat st;
  ASSERT_EQ(stat(Host("copy.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
  EXPECT_EQ(plat::CopyFileByName("src.dat", "OLD.DAT"), 0);  // replaces, shorter
  EXPECT_EQ(ReadHostFile(Host("Old.dat")), "source bytes");

  // Copying a file onto itself (in any case) must not empty it.
  EXPECT_EQ(plat::CopyFileByName("src.dat", "SRC.DAT"), 5);
  EXPECT_EQ(ReadHostFile(Host("Src.dat")), "source bytes");
  ASSERT_EQ(plat::SetFileAttr("old.dat", plat::kAttrReadOnly), 0);
  WriteHostFile(Host("Src.dat"), "new");
  EXPECT_EQ(plat::CopyFileByName("src.dat", "old.dat"), 5);
  EXPECT_EQ(ReadHostFile(Host("Old.dat")), "source bytes");
  EXPECT_EQ(plat::CopyFileByName("none.dat", "x.dat"), 2);
  EXPECT_FALSE(fs::exists(Host("x.dat")));
  EXPECT_EQ(plat::CopyFileByName("src.dat", "nofolder\\x.dat"), 3);
}

TEST_F(TPathsTest, DiskSpaceOfTheCurrentDriveAndTheRoot) {
  for (int drive : {0, 3}) {
    const int64_t total = plat::DiskTotalBytes(drive), free = plat::DiskFreeBytes(drive);
    EXPECT_GT(total, 0) << drive;
    EXPECT_GE(free, 0) << drive;
    EXPECT_LE(free, total) << drive;
  }
  EXPECT_EQ(plat::DiskFreeBytes(-1), -1);
  EXPECT_EQ(plat::DiskTotalBytes(99), -1);
}

}  // namespace
