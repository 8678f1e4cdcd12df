// A new user's first session in a real SDL window under Xvfb: the start
// panel's "new drawing", the layout dialog's OK, a polyline from the
// "Zeichnen" menu closed on its start, the right button, then the program
// ended through the "Datei" menu without saving. Screenshots of every step
// stay in TORV_TRIAL_SHOTS when that folder is given.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/program_runner.h"

namespace {

using namespace torvtest;

TEST(NewUserRun, PolylineUnderXvfbAndQuitThroughTheMenu) {
  ASSERT_EQ(std::system("command -v xvfb-run >/dev/null 2>&1"), 0) << "xvfb-run is missing: run scripts/install-deps.sh";
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  const char* keep = std::getenv("TORV_TRIAL_SHOTS");
  const fs::path shots = keep && *keep ? fs::path(keep) : home.Path();
  std::error_code ec;
  fs::create_directories(shots, ec);
  auto shot = [&](const char* name) { return "shot " + (shots / name).string() + "\n"; };
  // Without a window manager the window keeps its first size, 768 x 596: the
  // side menu starts at x 600, the graphic area at x 40.
  std::string script = Pause(300) + shot("1-start.png") + "key Enter\n" + Pause(1500) + shot("2-start-panel.png");
  script += Click(212, 236) + shot("3-layout-dialog.png");  // "Neue Zeichnung beginnen"
  script += "key F1\n" + Pause(300) + shot("4-empty-drawing.png");  // OK of the layout dialog
  script += Click(115, 8) + shot("5-draw-menu.png");        // "Zeichnen"
  script += Click(140, 51);                                 // "Linienzug"
  script += Click(100, 150) + Click(300, 150) + Click(300, 350) + Click(120, 330) + shot("6-three-sides.png");
  script += Click(101, 151) + shot("7-closed-on-its-start.png");
  script += Click(400, 450, "right") + shot("8-selected.png");
  script += Click(20, 8) + shot("9-file-menu.png");         // "Datei"
  script += Click(70, 341) + shot("10-quit-question.png");  // "Programmende"
  script += "key Enter\n" + Pause(300);
  TRunResult run = RunUnderXvfb(home, script, 240);
  ASSERT_TRUE(run.finished) << "torv under Xvfb did not end within 240 s";
  EXPECT_EQ(run.exitCode, 0);
  for (const char* name : {"2-start-panel.png", "5-draw-menu.png", "8-selected.png", "10-quit-question.png"})
    EXPECT_TRUE(fs::exists(shots / name)) << name;
  // The polyline: a start and four points, the last exactly on the start.
  const std::vector<TFileRecord> layer = ParseRecords(ReadFile(home.Path() / "Layer15.TMP"), 0, SIZE_MAX);
  ASSERT_EQ(layer.size(), 5u);
  EXPECT_EQ(layer[0].type, 11);
  for (size_t i = 1; i < layer.size(); ++i) EXPECT_EQ(layer[i].type, 10) << i;
  EXPECT_EQ(layer[4].x, layer[0].x);
  EXPECT_EQ(layer[4].y, layer[0].y);
  // Nothing was saved as a drawing; the journal names the commands.
  for (const auto& entry : fs::directory_iterator(home.Path()))
    EXPECT_NE(entry.path().extension().string(), ".SLD") << entry.path();
  const std::string journal = ReadFile(home.Path() / "MENUREC.TXT");
  EXPECT_NE(journal.find("Linienzug"), std::string::npos);
  EXPECT_NE(journal.find("Programmende"), std::string::npos);
}

}  // namespace
