// A new user's first steps, in two runs of the real torv in one program
// folder. The first run: the font notice, the start panel's "new drawing", the
// layout dialog's OK, a polyline from the "Zeichnen" menu closed on its start,
// the right button, "Speichern unter" as "ERSTE", then "Programmende". The
// second run: the start panel's "open drawing", the saved drawing chosen,
// undo, zoom all, every dropdown of the menu bar in turn and "Module" ->
// "Relief". Headless, every screen is compared with its golden picture in
// tests/fixtures/program/first_steps/ (TORV_RECORD_GOLDENS=1 writes them);
// once more in a real SDL window under Xvfb, where a few regions are checked
// (TORV_TRIAL_SHOTS=folder keeps those shots).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "support/golden_pictures.h"
#include "support/program_runner.h"

namespace {

using namespace torvtest;

// A key or typed text, then time to act on it.
std::string Key(const char* name) { return std::string("key ") + name + "\n" + Pause(300); }

// --- the saved drawing ---------------------------------------------------------------------

// The 13-byte records of the vector section of a ".SLD": from the offset in
// head byte 77 to the one in head byte 81.
std::vector<TFileRecord> ReadSldVectorRecords(const fs::path& file) {
  const std::string bytes = ReadFile(file);
  if (bytes.size() < 379) return {};
  int32_t from = 0, to = 0;
  std::memcpy(&from, bytes.data() + 77, 4);
  std::memcpy(&to, bytes.data() + 81, 4);
  if (from < 379 || to < from || size_t(to) > bytes.size()) return {};
  return ParseRecords(bytes, size_t(from), size_t(to));
}

// The drawing holds the polyline alone: the record of its layer, a start and
// four points, the last exactly on the start, all inside the 100 x 100 mm
// layout and not on one line.
void ExpectSavedPolyline(const fs::path& sld) {
  ASSERT_TRUE(fs::exists(sld)) << sld;
  const std::vector<TFileRecord> records = ReadSldVectorRecords(sld);
  ASSERT_EQ(records.size(), 6u) << "a layer record and 5 records of the polyline";
  EXPECT_EQ(records[0].type, 128);
  EXPECT_EQ(records[1].type, 11);
  for (size_t i = 2; i < records.size(); ++i) EXPECT_EQ(records[i].type, 10) << i;
  EXPECT_EQ(records[5].x, records[1].x);
  EXPECT_EQ(records[5].y, records[1].y);
  for (size_t i = 1; i < records.size(); ++i) {
    EXPECT_GT(records[i].x, 0.0f) << i;
    EXPECT_LT(records[i].x, 100.0f) << i;
    EXPECT_GT(records[i].y, 0.0f) << i;
    EXPECT_LT(records[i].y, 100.0f) << i;
  }
  double twiceArea = 0;
  for (size_t i = 1; i < 5; ++i)
    twiceArea += double(records[i].x) * records[i + 1].y - double(records[i + 1].x) * records[i].y;
  EXPECT_GT(std::abs(twiceArea), 2 * 100.0) << "the polyline encloses more than 100 mm2";
}

// --- the steps ------------------------------------------------------------------------------

// Where the steps click in one window size: the start panel, the file
// dialog's list, the undo and zoom-all icons of the graphic icon bar. The menu
// bar, its dropdowns and the layout dialog's OK stay at the window's top left.
struct TScreenSpots {
  int newDrawingX, newDrawingY;    // start panel: "Neue Zeichnung beginnen"
  int openDrawingX, openDrawingY;  // start panel: "Zeichnung öffnen"
  int thirdFileX, thirdFileY;      // file list row 3: "[..]", "[PROJECT]", the drawing
  int undoX, zoomAllX;             // icon bar, both at y 37
};
const TScreenSpots kHeadlessSpots{340, 331, 340, 363, 260, 255, 437, 787};
// The window under Xvfb without a window manager keeps 768 x 596.
const TScreenSpots kXvfbSpots{212, 236, 212, 268, 132, 169, 181, 531};

struct TMenuTitle {
  const char* name;
  int x;
};
const TMenuTitle kMenuTitles[] = {{"datei", 20},   {"markieren", 64}, {"zeichnen", 115}, {"bemassen", 166},
                                  {"punkte", 213}, {"aendern", 253},  {"extras", 293},   {"fraesen", 331},
                                  {"bahnen", 372}, {"module", 414}};

using TShot = std::function<std::string(const std::string& name)>;

std::string FirstRunScript(const TScreenSpots& at, const TShot& shot) {
  std::string s = Pause(300) + shot("01-font-notice") + Key("Enter") + Pause(1200) + shot("02-start-panel");
  s += Click(at.newDrawingX, at.newDrawingY) + shot("03-layout-dialog");
  s += Click(467, 62) + shot("04-empty-drawing");  // OK of the layout dialog
  s += Click(115, 8) + shot("05-draw-menu");       // "Zeichnen"
  s += Click(140, 44);                             // "Linienzug"
  s += Click(150, 200) + Click(450, 200) + Click(450, 500) + Click(170, 480) + shot("06-three-sides");
  s += Click(151, 201) + shot("07-closed-on-its-start");
  s += Click(600, 560, "right") + shot("08-selected");
  s += Click(20, 8) + shot("09-file-menu");                    // "Datei"
  s += Click(70, 95) + shot("10-save-dialog");                 // "Speichern unter"
  s += "text ERSTE\n" + Pause(50) + shot("11-name-typed");
  s += Key("Enter") + shot("12-saved");
  s += Click(20, 8) + Click(70, 333) + shot("13-quit-question");  // "Programmende"
  s += Key("Enter");
  return s;
}

std::string SecondRunScript(const TScreenSpots& at, const TShot& shot) {
  std::string s = Pause(300) + Key("Enter") + Pause(1200) + shot("21-start-panel-again");
  s += Click(at.openDrawingX, at.openDrawingY) + shot("23-open-dialog");
  s += Click(at.thirdFileX, at.thirdFileY) + shot("24-drawing-chosen");
  s += Key("Enter") + shot("25-opened");
  s += Click(at.undoX, 37) + shot("26-undo");
  s += Key("Enter") + Click(at.zoomAllX, 37) + shot("27-zoom-all");
  int n = 30;
  for (const TMenuTitle& title : kMenuTitles)
    s += Click(title.x, 8) + shot(std::to_string(n++) + "-menu-" + title.name) + Key("Esc");
  s += Click(414, 8) + Click(440, 27) + shot("40-relief");  // "Module" -> "Relief"
  s += Key("Enter") + shot("41-back-from-relief");
  // The keyboard: Alt+D opens "Datei", the very next key closes it again.
  s += Key("alt+d") + shot("42-alt-d") + Key("Esc") + shot("43-alt-d-esc");
  s += "close\n" + Pause(300);
  return s;
}

// --- tests ----------------------------------------------------------------------------------

TEST(FirstStepsRun, PictureComparisonNamesTheCountAndTheBox) {
  TPicture a;
  a.width = 5;
  a.height = 4;
  a.rgb.assign(5 * 4 * 3, 0x20);
  TPicture b = a;
  EXPECT_EQ(ComparePictures(a, b).differing, 0);
  struct TCase {
    std::vector<std::pair<int, int>> changed;
    int x1, y1, x2, y2;
  } const kCases[] = {
      {{{0, 0}}, 0, 0, 0, 0},
      {{{4, 3}}, 4, 3, 4, 3},
      {{{3, 0}, {1, 2}}, 1, 0, 3, 2},
      {{{0, 3}, {4, 0}, {2, 1}}, 0, 0, 4, 3},
  };
  for (const TCase& c : kCases) {
    TPicture d = a;
    for (auto [x, y] : c.changed) d.rgb[(size_t(y) * 5 + size_t(x)) * 3 + 1] = 0x21;
    const TPictureDiff diff = ComparePictures(a, d);
    EXPECT_EQ(diff.differing, int(c.changed.size()));
    EXPECT_EQ(diff.x1, c.x1);
    EXPECT_EQ(diff.y1, c.y1);
    EXPECT_EQ(diff.x2, c.x2);
    EXPECT_EQ(diff.y2, c.y2);
  }
}

TEST(FirstStepsRun, CompressedGoldenReadsBackPixelForPixel) {
  TempFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  TPicture pic;
  pic.width = 37;
  pic.height = 11;
  for (int i = 0; i < 37 * 11 * 3; ++i) pic.rgb.push_back(uint8_t(i * 7 % 251));
  ASSERT_TRUE(WriteCompressedPng(pic, folder.Path() / "p.png"));
  const TPicture back = ReadPng(folder.Path() / "p.png");
  ASSERT_TRUE(back.error.empty()) << back.error;
  EXPECT_EQ(back.width, 37);
  EXPECT_EQ(back.height, 11);
  EXPECT_EQ(back.rgb, pic.rgb);
}

TEST(FirstStepsRun, HeadlessScreensMatchTheirGoldens) {
  // The file dialogs show the program folder: its name is fixed so that the
  // pictures are the same on every machine.
  TFixedFolder home("/tmp/torv_first_steps");
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  TempFolder shots;
  ASSERT_FALSE(shots.Path().empty());
  std::vector<fs::path> taken;
  const TShot shot = [&](const std::string& name) {
    taken.push_back(shots.Path() / (name + ".png"));
    return "shot " + taken.back().string() + "\n";
  };
  TRunResult first = RunHeadlessIn(home.Path(), FirstRunScript(kHeadlessSpots, shot), "1024x768");
  ASSERT_TRUE(first.finished) << "the first run did not end within 60 s";
  EXPECT_EQ(first.exitCode, 0);
  ExpectSavedPolyline(home.Path() / "ERSTE.SLD");
  TRunResult second = RunHeadlessIn(home.Path(), SecondRunScript(kHeadlessSpots, shot), "1024x768");
  ASSERT_TRUE(second.finished) << "the second run did not end within 60 s";
  EXPECT_EQ(second.exitCode, 0);
  // The saved drawing is named in the caption once it is saved and when it
  // is opened again.
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  EXPECT_NE(transcript.find("caption|TORV 7.020 - [Z:\\tmp\\torv_first_steps\\ERSTE.SLD]"), std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find("msgbox|TORV|Programm beenden?|Yes"), std::string::npos) << transcript;

  // Alt+D opened the dropdown and the first key after it, Esc, closed it.
  const TPicture back = ReadPng(shots.Path() / "41-back-from-relief.png");
  const TPicture open = ReadPng(shots.Path() / "42-alt-d.png");
  const TPicture closedAgain = ReadPng(shots.Path() / "43-alt-d-esc.png");
  ASSERT_TRUE(back.error.empty() && open.error.empty() && closedAgain.error.empty());
  EXPECT_GT(CountChanged(back, open, 0, 20, 200, 340), 1000) << "Alt+D shows the dropdown";
  EXPECT_EQ(CountChanged(back, closedAgain, 0, 20, 200, 340), 0) << "Esc closed it";

  TGoldenShots goldens(fs::path(TORV_FIXTURES_DIR) / "program" / "first_steps");
  for (const fs::path& p : taken) {
    const std::string fault = goldens.Check(p);
    EXPECT_TRUE(fault.empty()) << fault;
  }
}

TEST(FirstStepsRun, UnderXvfbTheDrawingIsSavedAndTheScreensShowEachStep) {
  ASSERT_EQ(std::system("command -v xvfb-run >/dev/null 2>&1"), 0) << "xvfb-run is missing: run scripts/install-deps.sh";
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  const char* keep = std::getenv("TORV_TRIAL_SHOTS");
  // Not in the program folder: the file dialog would list the shots folder.
  TempFolder shotFolder;
  const fs::path shots = keep && *keep ? fs::path(keep) : shotFolder.Path();
  std::error_code ec;
  fs::create_directories(shots, ec);
  const TShot shot = [&](const std::string& name) { return "shot " + (shots / (name + ".png")).string() + "\n"; };
  TRunResult first = RunUnderXvfb(home, FirstRunScript(kXvfbSpots, shot), 240);
  ASSERT_TRUE(first.finished) << "the first run under Xvfb did not end within 240 s";
  EXPECT_EQ(first.exitCode, 0);
  ExpectSavedPolyline(home.Path() / "ERSTE.SLD");
  TRunResult second = RunUnderXvfb(home, SecondRunScript(kXvfbSpots, shot), 240);
  ASSERT_TRUE(second.finished) << "the second run under Xvfb did not end within 240 s";
  EXPECT_EQ(second.exitCode, 0);

  auto read = [&](const char* name) {
    TPicture pic = ReadPng(shots / (std::string(name) + ".png"));
    EXPECT_TRUE(pic.error.empty()) << name << ": " << pic.error;
    EXPECT_EQ(pic.width, 768) << name;
    return pic;
  };
  // The polyline's top side runs from x 150 to 450 at y 200 once it is closed.
  const TPicture closed = read("07-closed-on-its-start");
  if (closed.width == 768) {
    EXPECT_GT(CountInked(closed, 160, 198, 440, 202), 250) << "the polyline's top side";
  }
  // Opened again, the drawing is on the screen.
  const TPicture opened = read("25-opened");
  if (opened.width == 768) {
    EXPECT_GT(CountInked(opened, 160, 198, 440, 202), 250) << "the reopened polyline's top side";
  }
  // The file dialog's list names the saved drawing in its third row.
  const TPicture chosen = read("24-drawing-chosen");
  if (chosen.width == 768) {
    EXPECT_GT(CountDark(chosen, kXvfbSpots.thirdFileX - 40, kXvfbSpots.thirdFileY - 32, kXvfbSpots.thirdFileX + 40,
                        kXvfbSpots.thirdFileY - 10), 30)
        << "the list's first rows";
  }
  // Each dropdown shows its captions below the bar.
  for (const TMenuTitle& title : kMenuTitles) {
    const std::string name = std::to_string(&title - kMenuTitles + 30) + "-menu-" + title.name;
    const TPicture menu = read(name.c_str());
    if (menu.width == 768) {
      EXPECT_GT(CountDark(menu, title.x, 26, title.x + 80, 60), 40) << name;
    }
  }
}

}  // namespace
