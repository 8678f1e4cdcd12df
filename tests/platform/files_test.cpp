// Pascal-style record and text files: transfers, positions, result numbers
// and misuse.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Records of 13 bytes whose bytes all carry the record number.
std::string Records13(int count) {
  std::string s;
  for (int i = 0; i < count; i++) s += std::string(13, static_cast<char>('a' + i));
  return s;
}

// Each test works in a fresh temporary folder that is the current folder.
class TPasIoTest : public torvtest::CurrentFolderTest {
 protected:
  void TearDown() override {
    for (plat::TPasFile* f : {&f_, &g_})
      if (f->state >= plat::kFileInput) plat::Close(*f);
    torvtest::CurrentFolderTest::TearDown();
  }

  plat::TPasFile f_, g_;
};

TEST_F(TPasIoTest, FileWrittenInOneCaseIsReadInAnother) {
  plat::Assign(f_, "Layer3.TMP");
  plat::Rewrite(f_, 13);
  ASSERT_EQ(plat::IoResult(), 0);
  const std::string data = Records13(2);
  plat::BlockWrite(f_, data.data(), 2, nullptr);
  plat::Close(f_);
  ASSERT_EQ(plat::IoResult(), 0);

  plat::Assign(g_, "LAYER3.tmp");
  plat::Reset(g_, 13);
  ASSERT_EQ(plat::IoResult(), 0);
  char back[26];
  plat::BlockRead(g_, back, 2, nullptr);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(std::string(back, 26), data);
  plat::Close(g_);
  // Rewriting under another case replaces the same file.
  plat::Rewrite(g_, 1);
  plat::Close(g_);
  EXPECT_EQ(plat::IoResult(), 0);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(root_)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"Layer3.TMP"});
  EXPECT_EQ(fs::file_size(Host("Layer3.TMP")), 0u);
}

TEST_F(TPasIoTest, FileInASubFolderIsCreatedAsSpelled) {
  ASSERT_EQ(plat::CreateFolder("PROJECT"), 0);
  plat::Assign(f_, "PROJECT\\A.SLD");
  plat::Rewrite(f_, 1);
  plat::BlockWrite(f_, "xyz", 3, nullptr);
  plat::Close(f_);
  ASSERT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("PROJECT/A.SLD")), "xyz");
  plat::Assign(g_, "project\\a.sld");
  plat::Reset(g_, 1);
  EXPECT_EQ(plat::FileSize(g_), 3);
  EXPECT_EQ(plat::IoResult(), 0);
}

TEST_F(TPasIoTest, RecordsOf13BytesSeekAndPosition) {
  plat::Assign(f_, "vec.dat");
  plat::Rewrite(f_, 13);
  const std::string data = Records13(5);
  uint32_t done = 99;
  plat::BlockWrite(f_, data.data(), 5, &done);
  EXPECT_EQ(done, 5u);
  EXPECT_EQ(plat::FileSize(f_), 5);
  EXPECT_EQ(plat::FilePos(f_), 5);
  EXPECT_TRUE(plat::Eof(f_));

  plat::Seek(f_, 2);
  EXPECT_EQ(plat::FilePos(f_), 2);
  EXPECT_FALSE(plat::Eof(f_));
  char two[26];
  plat::BlockRead(f_, two, 2, nullptr);
  EXPECT_EQ(std::string(two, 26), data.substr(26, 26));
  EXPECT_EQ(plat::FilePos(f_), 4);

  // Overwrite record 1 in place.
  plat::Seek(f_, 1);
  const std::string z(13, 'Z');
  plat::BlockWrite(f_, z.data(), 1, nullptr);
  EXPECT_EQ(plat::FilePos(f_), 2);
  EXPECT_EQ(plat::FileSize(f_), 5);

  plat::Seek(f_, 5);  // the end is a valid position
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Seek(f_, 2);
  plat::Seek(f_, 6);
  EXPECT_EQ(plat::IoResult(), 100);
  plat::Seek(f_, -1);
  EXPECT_EQ(plat::IoResult(), 100);
  EXPECT_EQ(plat::FilePos(f_), 2);  // a refused seek does not move
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("vec.dat")), data.substr(0, 13) + z + data.substr(26));
}

TEST_F(TPasIoTest, RecordsOfOneByte) {
  plat::Assign(f_, "bytes.bin");
  plat::Rewrite(f_, 1);
  plat::BlockWrite(f_, "HELLO", 5, nullptr);
  plat::Seek(f_, 1);
  char c[3];
  plat::BlockRead(f_, c, 3, nullptr);
  EXPECT_EQ(std::string(c, 3), "ELL");
  EXPECT_EQ(plat::FileSize(f_), 5);
  EXPECT_EQ(plat::FilePos(f_), 4);
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("bytes.bin")), "HELLO");
}

TEST_F(TPasIoTest, ShortReadCountsWholeRecordsOnly) {
  WriteHostFile(Host("short.dat"), Records13(3) + "12345");  // a trailing partial record
  plat::Assign(f_, "short.dat");
  plat::Reset(f_, 13);
  EXPECT_EQ(plat::FileSize(f_), 3);

  // Without a count a short read is error 100; the whole records still arrive.
  std::vector<char> buf(13 * 5, 0);
  plat::BlockRead(f_, buf.data(), 5, nullptr);
  EXPECT_EQ(plat::IoResult(), 100);
  EXPECT_EQ(std::string(buf.data(), 39), Records13(3));
  EXPECT_EQ(plat::FilePos(f_), 3);
  EXPECT_TRUE(plat::Eof(f_));

  // With a count it is only a smaller count.
  plat::Seek(f_, 1);
  uint32_t done = 99;
  plat::BlockRead(f_, buf.data(), 5, &done);
  EXPECT_EQ(done, 2u);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(plat::FilePos(f_), 3);
  plat::BlockRead(f_, buf.data(), 1, &done);
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(plat::IoResult(), 0);

  // A record written now replaces the partial one and stays aligned.
  const std::string d = Records13(4).substr(39);
  plat::BlockWrite(f_, d.data(), 1, nullptr);
  EXPECT_EQ(plat::FileSize(f_), 4);
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("short.dat")), Records13(4));
}

TEST_F(TPasIoTest, TruncateCutsAtThePosition) {
  WriteHostFile(Host("cut.dat"), Records13(4));
  plat::Assign(f_, "cut.dat");
  plat::Reset(f_, 13);
  plat::Seek(f_, 2);
  plat::Truncate(f_);
  EXPECT_EQ(plat::FileSize(f_), 2);
  EXPECT_TRUE(plat::Eof(f_));
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("cut.dat")), Records13(2));

  plat::gFileMode = 0;
  plat::Reset(f_, 13);
  plat::Seek(f_, 1);
  plat::Truncate(f_);
  EXPECT_EQ(plat::IoResult(), 105);
  EXPECT_EQ(plat::FileSize(f_), 2);
}

TEST_F(TPasIoTest, EraseNeedsAClosedExistingFile) {
  WriteHostFile(Host("Gone.tmp"), "x");
  plat::Assign(f_, "GONE.TMP");
  plat::Reset(f_, 1);
  plat::Erase(f_);
  EXPECT_EQ(plat::IoResult(), 5);
  EXPECT_TRUE(fs::exists(Host("Gone.tmp")));
  plat::Close(f_);
  plat::Erase(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_FALSE(fs::exists(Host("Gone.tmp")));
  plat::Erase(f_);
  EXPECT_EQ(plat::IoResult(), 2);
  plat::Assign(f_, "NoFolder\\x.tmp");
  plat::Erase(f_);
  EXPECT_EQ(plat::IoResult(), 3);
}

TEST_F(TPasIoTest, RenameKeepsExistingTargetsAndTakesTheNewName) {
  WriteHostFile(Host("one.dat"), "1");
  WriteHostFile(Host("two.dat"), "2");
  plat::Assign(f_, "ONE.DAT");
  plat::Rename(f_, "TWO.DAT");
  EXPECT_EQ(plat::IoResult(), 5);
  EXPECT_EQ(ReadHostFile(Host("one.dat")), "1");
  EXPECT_EQ(ReadHostFile(Host("two.dat")), "2");

  plat::Rename(f_, "Three.dat");
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(f_.name, "Three.dat");
  EXPECT_EQ(ReadHostFile(Host("Three.dat")), "1");
  EXPECT_FALSE(fs::exists(Host("one.dat")));
  plat::Reset(f_, 1);  // the record now names the renamed file
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Rename(f_, "four.dat");  // not while open
  EXPECT_EQ(plat::IoResult(), 5);
  plat::Close(f_);

  plat::Rename(f_, "THREE.DAT");  // a change of case only
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_TRUE(fs::exists(Host("THREE.DAT")));
  EXPECT_FALSE(fs::exists(Host("Three.dat")));

  plat::Assign(g_, "missing.dat");
  plat::Rename(g_, "x.dat");
  EXPECT_EQ(plat::IoResult(), 2);
}

TEST_F(TPasIoTest, TextLinesEndInCrLfAndReadAnyLineEnd) {
  plat::Assign(f_, "out.txt");
  plat::RewriteText(f_);
  plat::WriteLine(f_, "abc");
  plat::WriteText(f_, "de");
  plat::WriteText(f_, "f");
  plat::WriteLine(f_, "");
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("out.txt")), "abc\r\ndef\r\n");
  plat::AppendText(f_);
  plat::WriteLine(f_, "g");
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("out.txt")), "abc\r\ndef\r\ng\r\n");

  WriteHostFile(Host("in.txt"), "A\r\nB\nC\rD\n\nlong line here\r\nlast");
  plat::Assign(g_, "IN.TXT");
  plat::ResetText(g_);
  std::vector<std::string> lines;
  std::string s;
  plat::ReadLine(g_, s);
  lines.push_back(s);
  plat::ReadLine(g_, s);
  lines.push_back(s);
  plat::ReadLine(g_, s);
  lines.push_back(s);
  plat::ReadLine(g_, s);
  lines.push_back(s);
  plat::ReadLine(g_, s);
  lines.push_back(s);
  plat::ReadLine(g_, s, 4);  // cut, and the rest of the line is skipped
  lines.push_back(s);
  EXPECT_FALSE(plat::EofText(g_));
  plat::ReadLine(g_, s);
  lines.push_back(s);
  EXPECT_TRUE(plat::EofText(g_));
  EXPECT_EQ(lines, (std::vector<std::string>{"A", "B", "C", "D", "", "long", "last"}));
  plat::ReadLine(g_, s);
  EXPECT_EQ(s, "");
  EXPECT_EQ(plat::IoResult(), 0);
}

TEST_F(TPasIoTest, ReadCharDeliversEveryByteThenStops) {
  std::string bytes = "x\r\n";
  bytes += std::string(5000, 'y');  // more than one buffer
  bytes += '\0';
  WriteHostFile(Host("chars.txt"), bytes);
  plat::Assign(f_, "chars.txt");
  plat::ResetText(f_);
  std::string got;
  char c;
  while (plat::ReadChar(f_, c)) got += c;
  EXPECT_EQ(got, bytes);
  EXPECT_TRUE(plat::EofText(f_));
  EXPECT_FALSE(plat::ReadChar(f_, c));
  EXPECT_EQ(plat::IoResult(), 0);
}

TEST_F(TPasIoTest, MissingFilesAndFoldersGive2And3) {
  fs::create_directory(Host("Folder"));
  struct TCase { const char* name; int reset, resetText, rewrite; };
  const TCase cases[] = {
      {"missing.dat", 2, 2, 0},
      {"NoFolder\\x.dat", 3, 3, 3},
      {"NoFolder\\Deeper\\x.dat", 3, 3, 3},
      {"folder", 5, 5, 5},  // a folder is not a file
  };
  for (const TCase& c : cases) {
    plat::TPasFile f;
    plat::Assign(f, c.name);
    plat::Reset(f, 1);
    EXPECT_EQ(plat::IoResult(), c.reset) << c.name;
    EXPECT_EQ(f.state, plat::kFileClosed) << c.name;
    plat::ResetText(f);
    EXPECT_EQ(plat::IoResult(), c.resetText) << c.name;
    plat::Rewrite(f, 1);
    EXPECT_EQ(plat::IoResult(), c.rewrite) << c.name;
    if (f.state != plat::kFileClosed) plat::Close(f);
  }
  plat::AppendText(f_);  // unassigned
  EXPECT_EQ(plat::IoResult(), 102);
  plat::Assign(f_, "missing.txt");
  plat::AppendText(f_);
  EXPECT_EQ(plat::IoResult(), 2);
  EXPECT_FALSE(fs::exists(Host("missing.txt")));
}

// Read-only is the missing owner write bit; it stops writing for every user,
// also for root, whose permission bits alone would not.
TEST_F(TPasIoTest, ReadOnlyFilesOpenOnlyForReading) {
  WriteHostFile(Host("ro.dat"), "keep");
  ASSERT_EQ(plat::SetFileAttr("RO.DAT", plat::kAttrReadOnly), 0);
  plat::Assign(f_, "ro.dat");
  plat::Reset(f_, 1);  // gFileMode 2
  EXPECT_EQ(plat::IoResult(), 5);
  EXPECT_EQ(f_.state, plat::kFileClosed);
  plat::gFileMode = 1;
  plat::Reset(f_, 1);
  EXPECT_EQ(plat::IoResult(), 5);
  plat::Rewrite(f_, 1);
  EXPECT_EQ(plat::IoResult(), 5);
  plat::AppendText(f_);
  EXPECT_EQ(plat::IoResult(), 5);
  plat::Erase(f_);
  EXPECT_EQ(plat::IoResult(), 5);
  EXPECT_EQ(ReadHostFile(Host("ro.dat")), "keep");

  plat::gFileMode = 0;
  plat::Reset(f_, 1);
  ASSERT_EQ(plat::IoResult(), 0);
  char buf[4];
  plat::BlockRead(f_, buf, 4, nullptr);
  EXPECT_EQ(std::string(buf, 4), "keep");
  plat::BlockWrite(f_, "x", 1, nullptr);
  EXPECT_EQ(plat::IoResult(), 105);
  plat::Close(f_);
  plat::ResetText(f_);  // text input never needs writing
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Close(f_);

  // Without the attribute the same file opens read/write again.
  plat::gFileMode = 2;
  ASSERT_EQ(plat::SetFileAttr("ro.dat", plat::kAttrArchive), 0);
  plat::Reset(f_, 1);
  EXPECT_EQ(plat::IoResult(), 0);

  // Without root the host refuses too (permission bits are real there).
  if (geteuid() != 0) {
    WriteHostFile(Host("noread.dat"), "secret");
    chmod(Host("noread.dat").c_str(), 0);
    plat::Assign(g_, "noread.dat");
    plat::gFileMode = 0;
    plat::Reset(g_, 1);
    EXPECT_EQ(plat::IoResult(), 5);
  }
}

TEST_F(TPasIoTest, WriteOnlyFilesRefuseReading) {
  WriteHostFile(Host("wo.dat"), "abcd");
  plat::gFileMode = 1;
  plat::Assign(f_, "wo.dat");
  plat::Reset(f_, 1);
  ASSERT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(f_.state, plat::kFileOutput);
  char c;
  uint32_t done = 7;
  plat::BlockRead(f_, &c, 1, &done);
  EXPECT_EQ(plat::IoResult(), 104);
  EXPECT_EQ(done, 0u);
  plat::Seek(f_, 2);
  plat::BlockWrite(f_, "XY", 2, nullptr);
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("wo.dat")), "abXY");
}

TEST_F(TPasIoTest, DiskFullIsAShortWrite) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "/dev/full is not writable here";
  plat::Assign(f_, "/dev/full");
  plat::Rewrite(f_, 4);
  ASSERT_EQ(plat::IoResult(), 0);
  plat::BlockWrite(f_, "12345678", 2, nullptr);
  EXPECT_EQ(plat::IoResult(), 101);
  uint32_t done = 9;
  plat::BlockWrite(f_, "12345678", 2, &done);
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Close(f_);
  plat::Assign(g_, "/dev/full");
  plat::RewriteText(g_);
  plat::WriteLine(g_, "line");
  EXPECT_EQ(plat::IoResult(), 101);
}

// The simulated disk size: records, text and copies stop where it is used
// up, and what was written before stays.
TEST_F(TPasIoTest, SimulatedDiskFillsUpMidWrite) {
  plat::gDiskBytesLeft = 30;
  plat::Assign(f_, "A.TMP");
  plat::Rewrite(f_, 13);
  uint32_t done = 0;
  plat::BlockWrite(f_, Records13(3).data(), 3, &done);
  EXPECT_EQ(done, 2u) << "two whole records fit in 30 bytes";
  EXPECT_EQ(plat::IoResult(), 0);
  plat::BlockWrite(f_, Records13(1).data(), 1, nullptr);
  EXPECT_EQ(plat::IoResult(), 101);
  plat::Close(f_);
  EXPECT_EQ(ReadHostFile(Host("A.TMP")).substr(0, 26), Records13(2));

  plat::gDiskBytesLeft = 3;
  plat::Assign(g_, "B.TXT");
  plat::RewriteText(g_);
  plat::WriteLine(g_, "line");
  EXPECT_EQ(plat::IoResult(), 101);
  plat::Close(g_);

  plat::gDiskBytesLeft = 5;
  EXPECT_EQ(plat::CopyFileByName("A.TMP", "C.TMP"), 101);
  EXPECT_FALSE(fs::exists(Host("C.TMP"))) << "a failed copy leaves no target";

  // Unset, the limit is read from the environment at the next write.
  setenv("TORV_DISK_LIMIT", "4", 1);
  plat::gDiskBytesLeft = plat::kDiskLimitUnread;
  plat::Assign(f_, "D.TMP");
  plat::Rewrite(f_, 1);
  plat::BlockWrite(f_, "123456", 6, &done);
  EXPECT_EQ(done, 4u);
  plat::Close(f_);
  unsetenv("TORV_DISK_LIMIT");
  plat::gDiskBytesLeft = -1;
  plat::IoResult();
}

// A read-only folder takes no new entry and loses none, for every user:
// each way of making, renaming or removing an entry in it gives 5 and leaves
// the folder as it was. Its files can still be written in place.
TEST_F(TPasIoTest, ReadOnlyFoldersRefuseNewAndRemovedEntries) {
  fs::create_directory(Host("RO"));
  fs::create_directory(Host("RO/Sub"));
  WriteHostFile(Host("RO/in.dat"), "in");
  WriteHostFile(Host("out.dat"), "out");
  ASSERT_EQ(chmod(Host("RO").c_str(), 0555), 0);
  struct TCase {
    const char* what;
    std::function<int()> run;
  };
  const std::vector<TCase> cases = {
      {"create", [this] { plat::Assign(f_, "RO\\new.dat"); plat::Rewrite(f_, 1); return plat::IoResult(); }},
      {"create text", [this] { plat::Assign(f_, "RO\\new.txt"); plat::RewriteText(f_); return plat::IoResult(); }},
      {"erase", [this] { plat::Assign(f_, "RO\\in.dat"); plat::Erase(f_); return plat::IoResult(); }},
      {"rename inside", [this] { plat::Assign(f_, "RO\\in.dat"); plat::Rename(f_, "RO\\two.dat"); return plat::IoResult(); }},
      {"delete", [] { return plat::DeleteFileByName("RO\\in.dat"); }},
      {"move in", [] { return plat::MoveFileByName("out.dat", "RO\\out.dat"); }},
      {"move out", [] { return plat::MoveFileByName("RO\\in.dat", "moved.dat"); }},
      {"copy in", [] { return plat::CopyFileByName("out.dat", "RO\\copy.dat"); }},
      {"replace in", [] { return plat::ReplaceFileByName("out.dat", "RO\\in.dat"); }},
      {"replace out", [] { return plat::ReplaceFileByName("RO\\in.dat", "out.dat"); }},
      {"make folder", [] { return plat::CreateFolder("RO\\New"); }},
      {"remove folder", [] { return plat::RemoveFolder("RO\\Sub"); }},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(c.run(), 5) << c.what;
    EXPECT_LT(f_.state, plat::kFileInput) << c.what;
    std::vector<std::string> entries;
    for (const auto& e : fs::directory_iterator(Host("RO"))) entries.push_back(e.path().filename().string());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Sub", "in.dat"})) << c.what;
    EXPECT_EQ(ReadHostFile(Host("RO/in.dat")), "in") << c.what;
    EXPECT_EQ(ReadHostFile(Host("out.dat")), "out") << c.what;
  }
  EXPECT_TRUE(plat::IsReadOnlyFolder("RO"));
  EXPECT_FALSE(plat::IsReadOnlyFolder("."));
  // An existing file in it is still written.
  plat::Assign(f_, "RO\\in.dat");
  plat::Rewrite(f_, 1);
  ASSERT_EQ(plat::IoResult(), 0);
  plat::BlockWrite(f_, "new", 3, nullptr);
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  EXPECT_EQ(ReadHostFile(Host("RO/in.dat")), "new");
  chmod(Host("RO").c_str(), 0755);
}

// A replace puts the file in the target's place in one step: the target's
// content is the new one, the source name is gone; a read-only target or a
// folder in the way stays as it was.
TEST_F(TPasIoTest, ReplaceTakesTheTargetsPlaceOrLeavesIt) {
  WriteHostFile(Host("new.tmp"), "new");
  WriteHostFile(Host("Target.dat"), "old");
  EXPECT_EQ(plat::ReplaceFileByName("new.tmp", "TARGET.DAT"), 0);
  EXPECT_EQ(ReadHostFile(Host("Target.dat")), "new") << "the existing spelling is kept";
  EXPECT_FALSE(fs::exists(Host("new.tmp")));
  EXPECT_FALSE(fs::exists(Host("TARGET.DAT")));
  EXPECT_EQ(plat::ReplaceFileByName("new.tmp", "Target.dat"), 2);
  WriteHostFile(Host("new.tmp"), "newer");
  EXPECT_EQ(plat::ReplaceFileByName("new.tmp", "Fresh.dat"), 0) << "a missing target is created";
  EXPECT_EQ(ReadHostFile(Host("Fresh.dat")), "newer");

  WriteHostFile(Host("new.tmp"), "x");
  ASSERT_EQ(plat::SetFileAttr("Target.dat", plat::kAttrReadOnly), 0);
  EXPECT_EQ(plat::ReplaceFileByName("new.tmp", "Target.dat"), 5);
  EXPECT_EQ(ReadHostFile(Host("Target.dat")), "new");
  EXPECT_TRUE(fs::exists(Host("new.tmp")));
  fs::create_directory(Host("Dir"));
  EXPECT_EQ(plat::ReplaceFileByName("new.tmp", "Dir"), 5);
  EXPECT_TRUE(fs::is_directory(Host("Dir")));

  // Flushing needs an open file.
  plat::Assign(f_, "new.tmp");
  plat::SyncFile(f_);
  EXPECT_EQ(plat::IoResult(), 103);
  plat::Rewrite(f_, 1);
  plat::BlockWrite(f_, "abc", 3, nullptr);
  plat::SyncFile(f_);
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Close(f_);
}

TEST_F(TPasIoTest, MisuseGivesResultNumbersNotCrashes) {
  char buf[16];
  uint32_t done = 5;
  // Never assigned: 102.
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 102);
  plat::BlockRead(f_, buf, 1, &done);
  EXPECT_EQ(plat::IoResult(), 102);
  EXPECT_EQ(done, 0u);
  plat::Reset(f_, 1);
  EXPECT_EQ(plat::IoResult(), 102);
  plat::Erase(f_);
  EXPECT_EQ(plat::IoResult(), 102);
  EXPECT_TRUE(plat::Eof(f_));
  EXPECT_EQ(plat::IoResult(), 102);

  // Assigned but closed: 103.
  WriteHostFile(Host("closed.dat"), "abc");
  plat::Assign(f_, "closed.dat");
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 103);
  plat::BlockWrite(f_, "x", 1, nullptr);
  EXPECT_EQ(plat::IoResult(), 103);
  EXPECT_EQ(plat::FilePos(f_), 0);
  EXPECT_EQ(plat::IoResult(), 103);
  EXPECT_EQ(plat::FileSize(f_), 0);
  EXPECT_EQ(plat::IoResult(), 103);
  plat::Seek(f_, 0);
  EXPECT_EQ(plat::IoResult(), 103);
  std::string s = "old";
  plat::ReadLine(f_, s);
  EXPECT_EQ(plat::IoResult(), 103);
  EXPECT_EQ(s, "");
  EXPECT_TRUE(plat::EofText(f_));
  EXPECT_EQ(plat::IoResult(), 103);
  plat::WriteLine(f_, "x");
  EXPECT_EQ(plat::IoResult(), 103);
  EXPECT_EQ(ReadHostFile(Host("closed.dat")), "abc");

  // Text and record operations do not mix; direction is checked.
  plat::ResetText(f_);
  plat::WriteLine(f_, "x");
  EXPECT_EQ(plat::IoResult(), 105);
  plat::BlockRead(f_, buf, 1, nullptr);
  EXPECT_EQ(plat::IoResult(), 103);
  plat::Close(f_);
  plat::RewriteText(f_);
  char c;
  EXPECT_FALSE(plat::ReadChar(f_, c));
  EXPECT_EQ(plat::IoResult(), 104);
  plat::Close(f_);

  // A record size of 0 is refused, a null buffer transfers nothing.
  plat::Reset(f_, 0);
  EXPECT_EQ(plat::IoResult(), 106);
  EXPECT_EQ(f_.state, plat::kFileClosed);
  plat::Reset(f_, 1);
  plat::BlockRead(f_, nullptr, 3, nullptr);
  EXPECT_EQ(plat::IoResult(), 100);
  plat::BlockWrite(f_, nullptr, 3, &done);
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Close(f_);
  plat::Close(f_);
  EXPECT_EQ(plat::IoResult(), 103);
}

TEST_F(TPasIoTest, ReopeningAndReassigningCloseTheOldDescriptor) {
  WriteHostFile(Host("a.dat"), "abc");
  plat::Assign(f_, "a.dat");
  plat::Reset(f_, 1);
  const int firstFd = f_.fd;
  char c;
  plat::BlockRead(f_, &c, 1, nullptr);
  plat::Reset(f_, 1);  // open again: from the start, same descriptor slot reused
  EXPECT_EQ(plat::FilePos(f_), 0);
  EXPECT_EQ(f_.fd, firstFd);
  plat::Assign(f_, "b.dat");
  EXPECT_EQ(f_.state, plat::kFileClosed);
  EXPECT_EQ(f_.fd, -1);
  EXPECT_EQ(fcntl(firstFd, F_GETFD), -1);  // no descriptor left behind
  EXPECT_EQ(plat::IoResult(), 0);
}

TEST_F(TPasIoTest, IoResultReportsTheLastFailureOnce) {
  plat::Assign(f_, "none.dat");
  plat::Reset(f_, 1);
  plat::Assign(g_, "made.dat");
  plat::Rewrite(g_, 1);  // a success keeps the pending number
  EXPECT_EQ(plat::IoResult(), 2);
  EXPECT_EQ(plat::IoResult(), 0);
  plat::Assign(f_, "NoFolder\\none.dat");
  plat::Reset(f_, 1);
  plat::Close(f_);  // a later failure replaces it
  EXPECT_EQ(plat::IoResult(), 103);
  EXPECT_EQ(plat::IoResult(), 0);
}

}  // namespace
