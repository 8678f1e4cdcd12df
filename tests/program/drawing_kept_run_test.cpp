// The drawing between runs, as the real torv: a drawing left in the work
// files is on screen after the start and after redraws, and a saved drawing
// is not offered for saving again at the end of this or the next run.
#include <gtest/gtest.h>


#include "frame/param_file.h"
#include "platform/files.h"
#include "support/program_runner.h"
#include "support/record_bytes.h"

namespace {

using namespace torvtest;

// A closed square contour across most of the default layout area.
std::string Square(float from, float to) {
  return Records({Rec(11, from, from), Rec(10, to, from), Rec(10, to, to), Rec(10, from, to), Rec(10, from, from)});
}

void PutParamBytes(const fs::path& home, int16_t block, int at, const std::string& bytes) {
  std::fstream par(home / "TORV.PAR", std::ios::in | std::ios::out | std::ios::binary);
  par.seekp(GetParamBlockOffset(block) + at);
  par.write(bytes.data(), std::streamsize(bytes.size()));
}

// A program folder after one run, with the save question at exit switched
// on (block 3, byte 88 = 0).
void PrepareHome(const TempFolder& home) {
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
  PutParamBytes(home.Path(), 3, 88, std::string(1, '\0'));
}

// Pixels of the graphic area (x 40 .. 780, y 60 .. 740 of the 1024 x 768
// screen) that differ between two screenshots.
int DifferingPixels(const TPicture& a, const TPicture& b) {
  if (a.width != b.width || a.height != b.height || a.width < 800 || a.height < 750) return -1;
  int n = 0;
  for (int y = 60; y < 740; ++y)
    for (int x = 40; x < 780; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

bool AskedToSave(const TempFolder& home) {
  return ReadFile(home.Path() / "transcript.txt").find("msgbox|TORV|Zeichnung") != std::string::npos;
}


// The icon bar of the 1024 x 768 screen: undo, and one zoom step out.
const std::string kUndo = Click(437, 37);
const std::string kZoomOut = Click(712, 37);

// The drawing left in the work files is on screen after the start, and
// after an undo and a zoom step redraw it; compared with the same steps on
// an empty drawing.
TEST(DrawingKeptRun, TheDrawingStaysOnScreenThroughStartUndoAndZoom) {
  TPicture shots[2][2];
  for (int filled = 0; filled < 2; ++filled) {
    TempFolder home;
    PrepareHome(home);
    if (filled) WriteFile(home.Path() / "Layer0.TMP", Square(10, 100));
    const std::string shot1 = (home.Path() / "start.png").string(), shot2 = (home.Path() / "zoom.png").string();
    // The undo finds nothing to undo and says so: Enter closes the message.
    const std::string script = StartScript() + Pause(300) + "shot " + shot1 + "\n" + kUndo + "key Enter\n" +
                               Pause(300) + kZoomOut + "shot " + shot2 + "\n";
    TRunResult run = RunHeadless(home, script);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    shots[filled][0] = ReadPng(shot1);
    shots[filled][1] = ReadPng(shot2);
    const std::string journal = ReadFile(home.Path() / "MENUREC.TXT");
    EXPECT_NE(journal.find("UnDo"), std::string::npos) << journal;
    EXPECT_NE(journal.find("ZOOM-"), std::string::npos) << journal;
  }
  for (int k = 0; k < 2; ++k) {
    ASSERT_TRUE(shots[0][k].error.empty() && shots[1][k].error.empty()) << shots[0][k].error << shots[1][k].error;
    // Four sides of about 90 mm at more than 2 pixels per mm.
    EXPECT_GT(DifferingPixels(shots[0][k], shots[1][k]), 4 * 150) << (k == 0 ? "after the start" : "after undo and zoom");
  }
}

// Saved with Ctrl+S under the drawing's name, the drawing is not offered for
// saving at the end, nor at the end of the next run; once it changes, it is.
TEST(DrawingKeptRun, ASavedDrawingIsNotOfferedForSavingAgain) {
  TempFolder home;
  PrepareHome(home);
  WriteFile(home.Path() / "Layer0.TMP", Square(10, 100));
  const std::string name = plat::DosPathOf(home.Path().string()) + "\\A.SLD";
  PutParamBytes(home.Path(), 26, 0, std::string(1, char(name.size())) + name);

  // Any question would be answered No, which empties the drawing.
  ASSERT_EQ(RunHeadless(home, StartScript() + "key ctrl+s\n" + Pause(300) + "close\nkey n\n").exitCode, 0);
  ASSERT_TRUE(fs::exists(home.Path() / "A.SLD"));
  EXPECT_FALSE(AskedToSave(home)) << ReadFile(home.Path() / "transcript.txt");
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 5 * 13u);

  fs::remove(home.Path() / "transcript.txt");
  ASSERT_EQ(RunHeadless(home, StartScript() + "close\nkey n\n").exitCode, 0);
  EXPECT_FALSE(AskedToSave(home)) << "the next run";
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 5 * 13u);

  fs::remove(home.Path() / "transcript.txt");
  WriteFile(home.Path() / "Layer1.TMP", Square(20, 30));
  ASSERT_EQ(RunHeadless(home, StartScript() + "close\nkey n\n").exitCode, 0);
  EXPECT_TRUE(AskedToSave(home)) << "changed after the save";
}

}  // namespace
