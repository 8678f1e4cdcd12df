// The real torv starts into the main window with the menu bar and the side
// menu drawn from "TORV.TXT"; a click on a bar title shows its side page.
#include <gtest/gtest.h>

#include "support/program_runner.h"

namespace {

using namespace torvtest;



TEST(MenuBarRun, BarTitlesAndSideMenuAreDrawnAndATitleClickShowsItsPage) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  // The menu text file and the picture files stand beside the program.
  CopyShippedFiles(home.Path());
  ASSERT_TRUE(fs::exists(home.Path() / "TORV.TXT"));
  const fs::path first = home.Path() / "first.png", second = home.Path() / "second.png";
  // Title 3 of the main bar ("Zeichnen") lies right of "Datei  Markieren  ".
  TRunResult run = RunHeadless(home, StartScript() + "wait 10\nshot " + first.string() +
                                         "\nclick 150 8\nwait 10\nshot " + second.string() + "\nclose\n");
  ASSERT_TRUE(run.finished) << "torv did not end within 60 s";
  EXPECT_EQ(run.exitCode, 0);
  TPicture a = ReadPng(first), b = ReadPng(second);
  ASSERT_TRUE(a.error.empty()) << a.error;
  ASSERT_TRUE(b.error.empty()) << b.error;
  const int sideX = a.width - 168;
  // Titles: black text in the bar's left part; none far right of them.
  EXPECT_GT(CountDark(a, 8, 3, 300, 14), 100) << "bar titles";
  // Side menu page 2: captions in the side panel's item rows.
  EXPECT_GT(CountDark(a, sideX + 26, 51 + 18, a.width - 10, 51 + 17 * 4), 100) << "side captions";
  // The click highlights a title (a black face under it) and replaces the
  // side list by another page.
  EXPECT_GT(CountDark(b, 100, 1, 200, 15), CountDark(a, 100, 1, 200, 15) + 100) << "highlighted title";
  EXPECT_GT(CountChanged(a, b, sideX + 26, 51 + 18, a.width - 10, 51 + 17 * 8), 200) << "side page changed";
}

}  // namespace
