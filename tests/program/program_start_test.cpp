// The program's start and its three roads to the end, run as the real torv.
#include <gtest/gtest.h>

#include "frame/param_file.h"
#include "support/program_runner.h"

namespace {

using namespace torvtest;


int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Switches the save question at exit on (block 3, byte 88 = 0) in TORV.PAR.
void AskAtExit(const fs::path& home) {
  std::fstream par(home / "TORV.PAR", std::ios::in | std::ios::out | std::ios::binary);
  par.seekp(GetParamBlockOffset(3) + 88);
  par.put('\0');
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(ProgramStart, FirstStartCreatesTheWorkFilesJournalAndSettings) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  TRunResult run = RunHeadless(home, StartScript() + "wait 10\n");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);

  std::vector<std::string> empty = {"VekAR1.TMP", "VekAR2.TMP", "RELAR0.TMR", "EIGENSCH.TMP", "RAHMEN.TMP",
                                    "HS01.TMP",   "HS07.TMP",   "VekArZw.TMP", "Layer0.TMP"};
  for (const std::string& name : empty) {
    ASSERT_TRUE(fs::exists(home.Path() / name)) << name;
    EXPECT_EQ(fs::file_size(home.Path() / name), 0u) << name;
  }
  EXPECT_TRUE(fs::is_directory(home.Path() / "PROJECT"));
  ASSERT_TRUE(fs::exists(home.Path() / "TORV.PAR"));
  EXPECT_EQ(fs::file_size(home.Path() / "TORV.PAR"), 62761u);
  // Path layer files and relief work copies do not outlive the run.
  EXPECT_FALSE(fs::exists(home.Path() / "RELAR1.TMR"));

  std::string journal = ReadFile(home.Path() / "MENUREC.TXT");
  std::vector<std::string> lines = Lines(journal);
  ASSERT_GE(lines.size(), 6u) << journal;
  EXPECT_EQ(CountOf(journal, "#0000 : Start Ver.: "), 1) << journal;
  EXPECT_EQ(CountOf(journal, "#0000 : AktVerz=Z:"), 1) << journal;
  EXPECT_EQ(CountOf(journal, "#9800 : EPar KA="), 1) << journal;
  EXPECT_EQ(CountOf(journal, "#9801 : EPar FR="), 1) << journal;
  EXPECT_EQ(CountOf(journal, "#9802 : FPar LF="), 1) << journal;
  EXPECT_EQ(lines.back().rfind("#0000 : Ende: ", 0), 0u) << journal;
  EXPECT_EQ(CountOf(journal, "Ende: "), 1) << journal;
  // Nothing is missing beside the program: no report of missing files.
  EXPECT_FALSE(fs::exists(home.Path() / "FehlerDatei.TXT"));
}

TEST(ProgramStart, SecondStartKeepsTheWorkFilesAndEmptiesOnlyTheStore) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
  std::string record(13, '\x0B');
  WriteFile(home.Path() / "VekAR2.TMP", record);
  WriteFile(home.Path() / "VekAR1.TMP", record);
  // Only the layer files count as a drawing, so the end asks nothing.
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
  EXPECT_EQ(fs::file_size(home.Path() / "VekAR2.TMP"), 13u);
  // The store was emptied at start; its record went nowhere else.
  EXPECT_EQ(fs::file_size(home.Path() / "VekAR1.TMP"), 0u);
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 0u);
}

// The journal keeps its last 400 lines at start.
TEST(ProgramStart, JournalIsCutToItsLast400Lines) {
  for (int count : {400, 401}) {
    TempFolder home;
    ASSERT_FALSE(home.Path().empty());
    std::string journal;
    for (int i = 1; i <= count; ++i) journal += "#0000 : line " + std::to_string(i) + "\r\n";
    WriteFile(home.Path() / "MENUREC.TXT", journal);
    ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
    std::string cut = ReadFile(home.Path() / "MENUREC.TXT");
    ASSERT_EQ(CountOf(cut, "Start Ver.: "), 1) << cut;
    std::vector<std::string> lines = Lines(cut);
    ASSERT_GT(lines.size(), 400u);
    if (count == 400) {
      EXPECT_EQ(lines[0], "#0000 : line 1") << count;
    } else {
      EXPECT_EQ(lines[0], "#0000 : line 2") << count;
    }
    EXPECT_EQ(lines[399], "#0000 : line " + std::to_string(count)) << count;
    EXPECT_FALSE(fs::exists(home.Path() / "MENUREC.BAK"));
  }
}

// Answering "No" to the save question at exit empties the work files.
TEST(ProgramStart, DiscardingAtExitEmptiesTheDrawing) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
  AskAtExit(home.Path());
  WriteFile(home.Path() / "Layer0.TMP", std::string(13, '\x0B'));
  TRunResult run = RunHeadless(home, StartScript() + "close\nkey n\n");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 0u);
  std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("msgbox|TORV|Zeichnung"), std::string::npos) << transcript;
}

// Saving is not possible yet: answering "Yes" must keep the drawing.
TEST(ProgramStart, AnUnsavedDrawingIsKeptWhenSaveWasChosen) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
  AskAtExit(home.Path());
  WriteFile(home.Path() / "Layer0.TMP", std::string(13, '\x0B'));
  ASSERT_EQ(RunHeadless(home, StartScript() + "close\nkey y\n").exitCode, 0);
  EXPECT_NE(ReadFile(home.Path() / "transcript.txt").find("msgbox|TORV|Zeichnung"), std::string::npos);
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 13u);
}

}  // namespace
