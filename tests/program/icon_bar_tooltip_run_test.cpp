// The icon-bar tooltips in the real torv, headless at 1024 x 768: each
// tooltip opened over the icon bar and the state icons and closed again by
// moving into the drawing gives back exactly the screen under it, so that
// neither the top ruler nor the coordinate readout keeps a fragment of its
// text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/golden_pictures.h"
#include "support/program_runner.h"

namespace {

using namespace torvtest;



std::string Move(int x, int y) { return "move " + std::to_string(x) + " " + std::to_string(y) + "\n" + Pause(30); }

// The point in the drawing where the cross-hair rests for every shot; the
// detour through another point makes the readout show this point's values.
constexpr int kRestX = 600, kRestY = 400;

struct THover {
  int x, y;
  std::string name;
};

TEST(IconBarTooltipRun, ClosedTooltipsLeaveTheScreenAsItWas) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  // Every 6 pixels along the icon bar (icons 25 pixels wide) and the state
  // icons at the top right: each icon is met at least three times, and
  // points between icons show no tooltip at all.
  std::vector<THover> hovers;
  for (int x = 424; x <= 1020; x += 6) hovers.push_back({x, 37, "bar-" + std::to_string(x)});
  for (int x = 920; x <= 1020; x += 6) hovers.push_back({x, 12, "state-" + std::to_string(x)});

  const fs::path shots = home.Path() / "shots";
  fs::create_directories(shots);
  auto shot = [&](const std::string& name) { return "shot " + (shots / (name + ".png")).string() + "\n"; };
  std::string s = Pause(300) + "key Enter\n" + Pause(1500);
  s += Click(340, 331) + Click(467, 62);  // a new drawing, the layout dialog's OK
  s += Move(300, 300) + Move(kRestX, kRestY) + shot("before");
  for (const THover& h : hovers) {
    s += Move(h.x, h.y) + shot("open-" + h.name);
    s += Move(300, 300) + Move(kRestX, kRestY) + shot("after-" + h.name);
  }
  s += "close\n" + Pause(300);
  WriteFile(home.Path() / "script.txt", s);
  const TRunResult run = RunProgram({kTorv},
                                    {{"TORV_VIDEO", "headless"},
                                     {"TORV_SCREEN", "1024x768"},
                                     {"TORV_SCRIPT", (home.Path() / "script.txt").string()},
                                     {"TORV_TRANSCRIPT", (home.Path() / "transcript.txt").string()},
                                     {"TORV_HOME", home.Path().string()}},
                                    home.Path(), 120);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);

  const TPicture before = ReadPng(shots / "before.png");
  ASSERT_TRUE(before.error.empty()) << before.error;
  int opened = 0;
  for (const THover& h : hovers) {
    const TPicture open = ReadPng(shots / ("open-" + h.name + ".png"));
    const TPicture after = ReadPng(shots / ("after-" + h.name + ".png"));
    ASSERT_TRUE(open.error.empty() && after.error.empty()) << h.name;
    // A tooltip is open when the strip below the hovered icon row changed.
    const int stripTop = h.y < 26 ? 26 : 48, stripBottom = stripTop + 30;
    bool shown = false;
    for (int y = stripTop; y <= stripBottom && !shown; ++y)
      for (int x = 0; x < before.width && !shown; ++x) shown = open.At(x, y) == 0xFFFFE1u;  // tooltip face
    opened += shown;
    const TPictureDiff diff = ComparePictures(before, after);
    EXPECT_EQ(diff.differing, 0) << h.name << ": " << diff.differing << " pixels in x " << diff.x1 << "-" << diff.x2
                                 << " y " << diff.y1 << "-" << diff.y2;
  }
  // The hovers met the tooltips: the 19 bar icons and at least the two state
  // icons always shown, each at least three times.
  EXPECT_GE(opened, 3 * (19 + 2)) << "tooltips shown";
}

}  // namespace
