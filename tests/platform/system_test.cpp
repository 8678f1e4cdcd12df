// System services: the virtual clock, outside programs, clipboard, the
// desktop opener, sounds and machine facts.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/window.h"
#include "support/headless_folder.h"

namespace {

class SystemServices : public torvtest::HeadlessFolderTest {};

time_t Seconds(const plat::TLocalTime& t) {
  tm parts{};
  parts.tm_year = t.year - 1900;
  parts.tm_mon = t.month - 1;
  parts.tm_mday = t.day;
  parts.tm_hour = t.hour;
  parts.tm_min = t.minute;
  parts.tm_sec = t.second;
  parts.tm_isdst = -1;
  return mktime(&parts);
}

TEST_F(SystemServices, SleepingAdvancesTheVirtualClockWithoutWaiting) {
  auto realStart = std::chrono::steady_clock::now();
  uint32_t before = plat::TickMs();
  plat::TLocalTime t0 = plat::LocalTimeNow();
  plat::SleepMs(10000);
  uint32_t after = plat::TickMs();
  plat::TLocalTime t1 = plat::LocalTimeNow();
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(1));
  EXPECT_GE(after - before, 10000u);
  EXPECT_LT(after - before, 10100u);
  double seconds = difftime(Seconds(t1), Seconds(t0));
  EXPECT_GE(seconds, 9.0);
  EXPECT_LE(seconds, 11.0);
}

TEST_F(SystemServices, BusyWaitingOnTheClockEnds) {
  uint32_t start = plat::TickMs();
  long reads = 0;
  while (plat::TickMs() - start < 20) {
    ASSERT_LT(++reads, 100000000L) << "the clock does not move";
  }
  // The hundredths of the time of day move as well.
  plat::TLocalTime first = plat::LocalTimeNow();
  reads = 0;
  while (plat::LocalTimeNow().millisecond / 10 == first.millisecond / 10) {
    ASSERT_LT(++reads, 100000000L) << "the time of day does not move";
  }
}

TEST_F(SystemServices, LocalTimeIsAPlausibleDate) {
  plat::TLocalTime t = plat::LocalTimeNow();
  EXPECT_GE(t.year, 2024);
  EXPECT_GE(t.month, 1);
  EXPECT_LE(t.month, 12);
  EXPECT_GE(t.day, 1);
  EXPECT_LE(t.day, 31);
  EXPECT_GE(t.weekday, 0);
  EXPECT_LE(t.weekday, 6);
  EXPECT_LE(t.hour, 23);
  EXPECT_LE(t.millisecond, 999);
}

TEST(CommandLines, SplitIntoArguments) {
  struct {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"  spaced \t out  ", {"spaced", "out"}},
      {"\"C:\\Program Files\\x.exe\" -f \"a b\"", {"C:\\Program Files\\x.exe", "-f", "a b"}},
      {"a\"b c\"d", {"ab cd"}},
      {"prog \"\" x", {"prog", "", "x"}},
      {"prog \"open end", {"prog", "open end"}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(plat::SplitCommandLine(c.line), c.args) << c.line;
}

TEST_F(SystemServices, ProgramsRunWithoutAShellAndReportTheirExitCode) {
  EXPECT_EQ(plat::RunCommandLineAndWait("true"), 0);
  EXPECT_EQ(plat::RunCommandLineAndWait("false"), 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(plat::RunCommandLineAndWait("/nonexistent/torv-no-such-program"), -1);
  EXPECT_EQ(plat::RunCommandLineAndWait("torv-no-such-program-either arg"), -1);
  EXPECT_FALSE(plat::RunCommandLine("torv-no-such-program-either"));
  EXPECT_EQ(plat::RunCommandLineAndWait(""), -1);
  testing::internal::GetCapturedStderr();

  // Quoted arguments arrive whole, shell characters stay characters, and
  // Windows code page text reaches the system as UTF-8.
  std::string base = dir.string();
  EXPECT_EQ(plat::RunCommandLineAndWait("touch \"" + base + "/with space.txt\" " + base + "/a;b " + base +
                                        "/\xE4.txt"),
            0);
  EXPECT_TRUE(std::filesystem::exists(dir / "with space.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir / "a;b"));
  EXPECT_TRUE(std::filesystem::exists(dir / "\xC3\xA4.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "with"));
}

TEST_F(SystemServices, StartedProgramRunsOnItsOwn) {
  std::string marker = (dir / "started").string();
  ASSERT_TRUE(plat::RunCommandLine("touch " + marker));
  for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) usleep(10000);
  EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST_F(SystemServices, ClipboardKeepsTextOrPicture) {
  std::string text;
  ASSERT_TRUE(plat::SetClipboardText("Ma\xDF 10 \x80"));
  ASSERT_TRUE(plat::GetClipboardText(text));
  EXPECT_EQ(text, "Ma\xDF 10 \x80");
  EXPECT_FALSE(plat::ClipboardHasPicture());

  plat::TPixelBlock block;
  block.width = 3;
  block.height = 2;
  block.pixels = {1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(plat::SetClipboardPicture(block));
  EXPECT_TRUE(plat::ClipboardHasPicture());
  EXPECT_FALSE(plat::GetClipboardText(text));
  plat::TPixelBlock got;
  ASSERT_TRUE(plat::GetClipboardPicture(got));
  EXPECT_EQ(got.width, 3);
  EXPECT_EQ(got.height, 2);
  EXPECT_EQ(got.pixels, block.pixels);

  // A block whose pixels do not match its size is refused and changes nothing.
  plat::TPixelBlock bad;
  bad.width = 4;
  bad.height = 4;
  bad.pixels = {1, 2};
  EXPECT_FALSE(plat::SetClipboardPicture(bad));
  ASSERT_TRUE(plat::GetClipboardPicture(got));
  EXPECT_EQ(got.width, 3);

  ASSERT_TRUE(plat::SetClipboardText("x"));
  EXPECT_FALSE(plat::ClipboardHasPicture());
  EXPECT_FALSE(plat::GetClipboardPicture(got));
}

TEST_F(SystemServices, HeadlessDesktopOpenerOnlyRecordsTheTarget) {
  EXPECT_TRUE(plat::OpenWithDesktop("/usr/share/doc/torv/Hilfe \xFC.html"));
  EXPECT_EQ(Transcript(), "open|/usr/share/doc/torv/Hilfe \xC3\xBC.html\n");
}

TEST_F(SystemServices, HeadlessSoundsArePlayedByNoOneButBeepsAreCounted) {
  EXPECT_FALSE(plat::PlaySoundAlias("Ding"));
  EXPECT_FALSE(plat::PlaySoundAlias("SystemStart"));
  EXPECT_FALSE(plat::StopSound());
  int before = plat::BeepCount();
  plat::MessageBeep(-1);
  plat::MessageBeep(0);
  EXPECT_EQ(plat::BeepCount(), before + 2);
}

TEST(MachineFacts, MemoryAndExecutable) {
  EXPECT_GT(plat::TotalPhysicalMemory(), uint64_t(64) << 20);
  std::string exe = plat::ExecutableHostPath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe[0], '/');
  EXPECT_EQ(std::filesystem::path(exe).filename(), "test_platform");
  EXPECT_TRUE(std::filesystem::exists(exe));
}

}  // namespace
