// Saves that fail and saves cut short, as the user meets them in the real
// torv: a leftover temporary is offered at the next start (kept under a
// free name or deleted), and a save into a read-only folder or onto a full
// disk is told in words.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "frame/param_file.h"
#include "model/drawing_file.h"
#include "platform/files.h"
#include "support/program_runner.h"
#include "support/record_bytes.h"

namespace {

using namespace torvtest;

void PutParamBytes(const fs::path& home, int16_t block, int at, const std::string& bytes) {
  std::fstream par(home / "TORV.PAR", std::ios::in | std::ios::out | std::ios::binary);
  par.seekp(GetParamBlockOffset(block) + at);
  par.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string LengthPrefixed(const std::string& text) { return std::string(1, char(text.size())) + text; }

std::string DosName(const fs::path& p) { return plat::DosPathOf(p.string()); }

// A program folder after one run.
void PrepareHome(const TempFolder& home) {
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
}

// The start up to the point where the program asks its first question; the
// answers follow, then the start panel is closed.
std::string StartWithAnswers(const std::string& answers) {
  return "key Enter\n" + Pause(1500) + answers + "click 4 300 right\nwait 10\n";
}

// Leftovers: "B.$SL" and "TORVBak.PAR" in the program folder (where
// "B-gerettet.SLD" is taken already), "A.$SL" beside a recent drawing.
struct TLeftovers {
  fs::path folder;  // of the recent drawing
};

TLeftovers PlaceLeftovers(const TempFolder& home) {
  TLeftovers l{home.Path() / "Zeichnungen"};
  fs::create_directory(l.folder);
  WriteFile(l.folder / "A.SLD", "old drawing");
  WriteFile(l.folder / "A.$SL", "cut short A");
  WriteFile(home.Path() / "B.$SL", "cut short B");
  WriteFile(home.Path() / "B-gerettet.SLD", "kept earlier");
  WriteFile(home.Path() / "TORVBak.PAR", "cut short settings");
  PutParamBytes(home.Path(), 64, 0, LengthPrefixed(DosName(l.folder / "A.SLD")));
  return l;
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(SaveFaultsRun, LeftoversAreOfferedAndKeptUnderFreeNames) {
  TempFolder home;
  PrepareHome(home);
  const TLeftovers l = PlaceLeftovers(home);
  fs::remove(home.Path() / "transcript.txt");
  // Each question Yes, each report of the new name OK.
  const TRunResult run = RunHeadless(home, StartWithAnswers("key y\nkey Enter\nkey y\nkey Enter\nkey y\nkey Enter\n"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_EQ(CountOf(transcript, "Abgebrochene Sicherung gefunden:"), 3u) << transcript;
  for (const fs::path& leftover : {l.folder / "A.$SL", home.Path() / "B.$SL", home.Path() / "TORVBak.PAR"})
    EXPECT_NE(transcript.find("Abgebrochene Sicherung gefunden:\\n" + DosName(leftover) + "\\n"), std::string::npos)
        << leftover << "\n" << transcript;
  EXPECT_NE(transcript.find("Gerettet als:\\n" + DosName(l.folder / "A-gerettet.SLD")), std::string::npos)
      << transcript;
  EXPECT_EQ(ReadFile(l.folder / "A-gerettet.SLD"), "cut short A");
  EXPECT_EQ(ReadFile(l.folder / "A.SLD"), "old drawing");
  EXPECT_EQ(ReadFile(home.Path() / "B-gerettet2.SLD"), "cut short B");
  EXPECT_EQ(ReadFile(home.Path() / "B-gerettet.SLD"), "kept earlier");
  EXPECT_EQ(ReadFile(home.Path() / "TORV-gerettet.PAR"), "cut short settings");
  for (const fs::path& gone : {l.folder / "A.$SL", home.Path() / "B.$SL", home.Path() / "TORVBak.PAR"})
    EXPECT_FALSE(fs::exists(gone)) << gone;
  const std::string journal = ReadFile(home.Path() / "MENUREC.TXT");
  EXPECT_EQ(CountOf(journal, "Gerettet "), 3u) << journal;

  // Nothing is left to ask about at the next start.
  fs::remove(home.Path() / "transcript.txt");
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
  EXPECT_EQ(ReadFile(home.Path() / "transcript.txt").find("Abgebrochene Sicherung"), std::string::npos);
}

TEST(SaveFaultsRun, LeftoversAnsweredNoAreDeleted) {
  TempFolder home;
  PrepareHome(home);
  const TLeftovers l = PlaceLeftovers(home);
  fs::remove(home.Path() / "transcript.txt");
  const TRunResult run = RunHeadless(home, StartWithAnswers("key n\nkey n\nkey n\n"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_EQ(CountOf(transcript, "Abgebrochene Sicherung gefunden:"), 3u) << transcript;
  EXPECT_NE(transcript.find(DosName(l.folder / "A.$SL") + "\\nJa: behalten, Nein: löschen|No"), std::string::npos)
      << transcript;
  for (const fs::path& gone : {l.folder / "A.$SL", home.Path() / "B.$SL", home.Path() / "TORVBak.PAR"})
    EXPECT_FALSE(fs::exists(gone)) << gone;
  EXPECT_FALSE(fs::exists(l.folder / "A-gerettet.SLD"));
  EXPECT_EQ(ReadFile(l.folder / "A.SLD"), "old drawing");
  EXPECT_EQ(ReadFile(home.Path() / "B-gerettet.SLD"), "kept earlier");
  const std::string journal = ReadFile(home.Path() / "MENUREC.TXT");
  EXPECT_EQ(CountOf(journal, "Geloescht "), 3u) << journal;
}

// A drawing named for the save (block 26) in the folder, with content.
void NameDrawing(const TempFolder& home, const fs::path& file) {
  WriteFile(home.Path() / "Layer0.TMP",
            Records({Rec(11, 10, 10), Rec(10, 90, 10), Rec(10, 90, 90), Rec(10, 10, 90), Rec(10, 10, 10)}));
  PutParamBytes(home.Path(), 26, 0, LengthPrefixed(DosName(file)));
}

TEST(SaveFaultsRun, ASaveIntoAReadOnlyFolderNamesTheFolder) {
  TempFolder home;
  PrepareHome(home);
  const fs::path folder = home.Path() / "Schutz";
  fs::create_directory(folder);
  WriteFile(folder / "A.SLD", "old drawing");
  NameDrawing(home, folder / "A.SLD");
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  fs::remove(home.Path() / "transcript.txt");
  const TRunResult run = RunHeadless(home, StartScript() + "key ctrl+s\n" + Pause(300) + "key Enter\n" + Pause(300) +
                                               "close\nkey n\n");
  chmod(folder.c_str(), 0755);
  ASSERT_TRUE(run.finished);
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("Ordner ist schreibgeschützt:\\n" + DosName(folder) + "\\"), std::string::npos)
      << transcript;
  EXPECT_EQ(ReadFile(folder / "A.SLD"), "old drawing");
  EXPECT_FALSE(fs::exists(folder / "A.$SL"));
}

TEST(SaveFaultsRun, ASaveOntoAFullDiskNamesTheFile) {
  TempFolder home;
  PrepareHome(home);
  WriteFile(home.Path() / "A.SLD", "old drawing");
  NameDrawing(home, home.Path() / "A.SLD");
  fs::remove(home.Path() / "transcript.txt");
  const TRunResult run = RunHeadless(home, StartScript() + "disk 100\nkey ctrl+s\n" + Pause(300) +
                                               "key Enter\nkey Enter\n" + Pause(300) + "disk -1\nclose\nkey n\n");
  ASSERT_TRUE(run.finished);
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("Datenträger voll, nicht gespeichert:\\n" + DosName(home.Path() / "A.SLD")),
            std::string::npos)
      << transcript;
  EXPECT_EQ(ReadFile(home.Path() / "A.SLD"), "old drawing");
  EXPECT_FALSE(fs::exists(home.Path() / "A.$SL"));

  // With room again the next save writes the drawing.
  const TRunResult again = RunHeadless(home, StartScript() + "disk 100\nkey ctrl+s\n" + Pause(300) +
                                                 "key Enter\nkey Enter\n" + Pause(300) + "disk -1\nkey ctrl+s\n" +
                                                 Pause(300) + "close\nkey n\n");
  ASSERT_TRUE(again.finished);
  EXPECT_GT(ReadFile(home.Path() / "A.SLD").size(), size_t(kDrawingHeadSize)) << ReadFile(home.Path() / "transcript.txt");
}

}  // namespace
