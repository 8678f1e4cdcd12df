// The window caption, the running times, the info window and the abort mark
// of the journal.
#include "ui/info_window.h"

#include <climits>
#include <cstring>

#include "frame/checked_files.h"
#include "app/dispatcher.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "view/view_transform.h"
#include "support/program_runner.h"
#include "ui_screen.h"
#include "support/param_image.h"

namespace {

using uitest::TScreen;
namespace fs = std::filesystem;

// A parameter image with the menu set, the drawing name and tool 3 as
// given, and a view extent of 300 x 200.5 mm.
class Caption : public testing::Test {
 protected:
  void SetUp() override {
    paramImage.Install();
    keepExtent = CurrentViewExtent;
    CurrentViewExtent.minCorner = {1, 10.0f, -20.0f};
    CurrentViewExtent.maxCorner = {5, 310.0f, 180.5f};
    CurrentLayer = 3;
    ScreenModeWord = 0;
  }
  void TearDown() override {
    paramImage.Restore();
    CurrentViewExtent = keepExtent;
    CurrentLayer = 0;
  }
  void SetMenuSet(int16_t n) {
    uint8_t block[121] = {};
    GetParamBlock(3, block, sizeof block);
    std::memcpy(block + kMenuSetParamOffset, &n, 2);
    PutParamBlock(3, block, sizeof block);
  }
  void SetTool(int number, const std::string& name, int16_t station, float plunge) {
    static uint8_t table[28000];
    GetParamBlock(15, table, sizeof table);
    TToolRecord tool{};
    tool.version = kToolRecordVersion;
    tool.name[0] = uint8_t(name.size());
    std::memcpy(tool.name + 1, name.data(), name.size());
    tool.changeStation = station;
    tool.plungeDepth = plunge;
    std::memcpy(table + 140 * number, &tool, sizeof tool);
    PutParamBlock(15, table, sizeof table);
  }
  torvtest::TZeroedParamImage paramImage;
  TExtentsPair keepExtent{};
};

TEST_F(Caption, ToolJobKindDrawingAndSize) {
  SetMenuSet(3);
  SetTool(3, "Fraeser 3mm", 2, -1.5f);
  EXPECT_EQ(BuildWindowTitle(7020),
            "TORV (serial plate) 7.020 - [] - {300.000mm x 200.500mm} - \"Fraeser 3mm\"");
  uint8_t drawing[256] = {6, 'S', 'C', 'H', 'I', 'L', 'D'};
  PutParamBlock(26, drawing, sizeof drawing);
  SetMenuSet(0);
  SetTool(3, "", 4, 0.0f);  // empty name with a change station: no tool part
  EXPECT_EQ(BuildWindowTitle(7020), "TORV 7.020 - [SCHILD] - {300.000mm x 200.500mm}");
  SetTool(3, "Irgendwas", 0, 0.0f);
  EXPECT_EQ(BuildWindowTitle(7020), "TORV 7.020 - [SCHILD] - {300.000mm x 200.500mm} - \"NO TOOL!\"");
}

TEST_F(Caption, JobKindSuffixes) {
  const char* suffixes[] = {"", " (label)", " (plate)", " (serial plate)", " (panel)", " (2D-mill)", " (3D-stamp)",
                            " (relief)", ""};
  for (int n = 0; n <= 8; ++n) EXPECT_EQ(JobKindSuffix(int16_t(n)), suffixes[n]);
}

TEST_F(Caption, ReliefScreenShowsTheReliefSize) {
  TScreen screen;
  ScreenModeWord = 1;
  EXPECT_EQ(BuildWindowTitle(7020), "TORV 7.020 - {0.0mm x 0.0mm}");
  uint8_t header[128] = {};
  const int16_t rows = 101, columns = 201;
  const float step = 0.5f;
  std::memcpy(header + 2, &rows, 2);
  std::memcpy(header + 4, &columns, 2);
  std::memcpy(header + 10, &step, 4);
  std::memcpy(header + 14, &step, 4);
  header[55] = 3;
  std::memcpy(header + 56, "ABC", 3);
  header[64] = 4;
  std::memcpy(header + 65, "Test", 4);
  std::ofstream(screen.Dir() / kReliefFileName, std::ios::binary).write(reinterpret_cast<char*>(header), 128);
  EXPECT_EQ(BuildWindowTitle(7020), "TORV 7.020 - {100.000mm x 50.000mm} - \"ABC : Test\"");
  ScreenModeWord = 0;
}

TEST_F(Caption, UpdateSetsTheWindowCaption) {
  TScreen screen;
  SetMenuSet(1);
  UpdateWindowTitle(7020);
  EXPECT_EQ(plat::GetWindowCaption(), "TORV (label) 7.020 - [] - {300.000mm x 200.500mm} - \"NO TOOL!\"");
}

TEST(RunningTime, HoursMinutesSeconds) {
  EXPECT_EQ(FormatRunningTime(3725), "1h : 02min : 05sec");
  EXPECT_EQ(FormatRunningTime(0), "0h : 00min : 00sec");
  EXPECT_EQ(FormatRunningTime(100 * 3600 + 59), "100h : 00min : 59sec");
}

// The running times of parameter block 0: this run's milliseconds (byte 49)
// and the seconds of the runs before (byte 53).
void PutRunningTimes(int32_t ms, int32_t total) {
  uint8_t block[153] = {};
  GetParamBlock(0, block, sizeof block);
  std::memcpy(block + 49, &ms, 4);
  std::memcpy(block + 53, &total, 4);
  PutParamBlock(0, block, sizeof block);
}

TEST(RunningTime, TheTotalOfADamagedParameterFileStopsAtTheLargestTime) {
  TScreen screen;
  torvtest::TZeroedParamImage image;
  image.Install();
  PutRunningTimes(5000, INT32_MAX - 2);
  std::string first, second;
  FormatRunningTimeLines(first, second);
  EXPECT_NE(first.find(FormatRunningTime(5)), std::string::npos) << first;
  EXPECT_NE(second.find(FormatRunningTime(INT32_MAX)), std::string::npos) << second;
  image.Restore();
}

TEST(InfoWindow, ShowsVersionAndTimesAndClosesOnAKeyThatIsNotPassedOn) {
  TScreen screen("key x\n");
  const auto before = TScreen::Pixels();
  ShowInfoWindow();
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the window comes back";
  EXPECT_FALSE(PollKeyPressed()) << "the key that closed the window is gone";
  EXPECT_FALSE(fs::exists(screen.Dir() / "_BildDat.gif")) << "no work file is left";
}

TEST(InfoWindow, TheInfoCommandOpensItAndAKeyClosesIt) {
  TScreen screen;
  const fs::path shot = screen.Dir() / "open.png";
  // Drawing the window polls the input a few times; the waits let it reach
  // its key loop before the shot is taken.
  std::string script;
  for (int i = 0; i < 1000; ++i) script += "wait 1\n";
  screen.UseScript(script + "shot " + shot.string() + "\nkey x\n");
  VariantNumber = 0;
  RedrawState = 0;  // no view to repaint afterwards
  const auto before = TScreen::Pixels();
  const TCommandCode keepCommand = CommandWord;
  CommandWord = 1091;
  DispatchMainCommand(VariantCode);
  CommandWord = keepCommand;
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the window comes back";
  EXPECT_EQ(KeyCount, 0) << "the closing key is not passed on";

  // The window as it stood while it waited for the key.
  const torvtest::TPicture open = torvtest::ReadPng(shot);
  ASSERT_TRUE(open.error.empty()) << open.error;
  const int w = plat::WindowFrameBuffer().width;
  ASSERT_EQ(open.width, w);
  ASSERT_EQ(open.height, plat::WindowFrameBuffer().height);
  auto beforeAt = [&](int x, int y) { return before[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF; };
  const int x1 = MaxX / 2 - 204, y1 = (MaxY - 16 * 32 + 1) / 2;
  const int x2 = x1 + 406, y2 = y1 + 16 * 32 - 2;
  int changed = 0, outside = 0;
  for (int y = 0; y < open.height; ++y)
    for (int x = 0; x < open.width; ++x) {
      const bool differs = open.At(x, y) != beforeAt(x, y);
      if (x >= x1 - 1 && x <= x2 && y >= y1 - 1 && y <= y2) changed += differs;
      else outside += differs;
    }
  EXPECT_GT(changed, 406 * 16 * 32 / 2) << "the window covers its rectangle";
  EXPECT_EQ(outside, 0) << "nothing is drawn beside the window";
  // The version line stands in dark letters on the blue ground below the picture.
  const int versionTop = y1 + 4 + 16 * 7 + 28;
  int dark = 0;
  for (int y = versionTop + 2; y <= versionTop + 12; ++y)
    for (int x = x1 + 16; x < x1 + 16 + 8 * 26; ++x) {
      const uint32_t c = open.At(x, y);
      dark += (c >> 16 & 0xFF) < 90 && (c >> 8 & 0xFF) < 90 && (c & 0xFF) < 90;
    }
  EXPECT_GT(dark, 40) << "the version text region shows text";
}

TEST(InfoWindow, TextLines) {
  EXPECT_EQ(GetVersionText(), "Ver.: 7.020.9 200809");
  EXPECT_EQ(FormatVersionLine().rfind("Ver.: 7.020.9 200809 BC1", 0), 0u);
  EXPECT_EQ(FormatVersionLine().size(), 20u + 3u + 3u);
  EXPECT_EQ(FormatProgramTitleLine(), std::string("TORV - ") + kProductLineText);
}

// Every text of the info window, measured in the font it is drawn in, lies
// inside the window below the picture, above the etched line and clear of
// the next line, also with the longest running times.
TEST(InfoWindow, TextsFitTheirBoxes) {
  TScreen screen;
  torvtest::TZeroedParamImage image;
  image.Install();
  PutRunningTimes(INT32_MAX, INT32_MAX);
  const int16_t keepVariant = VariantNumber;
  for (const int variant : {0, 5, 13}) {
    VariantNumber = int16_t(variant);
    const bool small = variant == 13;
    TInfoWindowLayout L;
    LayOutInfoWindow(small, L);
    TInfoWindowText texts[kInfoWindowTextMax];
    const int n = GetInfoWindowTexts(small, texts);
    ASSERT_GE(n, 4);
    int previousBottom = L.pictureBottom;
    for (int i = 0; i < n; ++i) {
      const TInfoWindowText& t = texts[i];
      SCOPED_TRACE(std::to_string(variant) + ": \"" + t.text + "\"");
      ASSERT_FALSE(t.text.empty());
      const int width = t.sized ? MeasureTextWidthSized(t.text, kInfoWindowSizedWidth, kInfoWindowSizedHeight)
                                : MeasureTextWidth(t.text);
      const int height = t.sized ? kInfoWindowSizedHeight : 14;
      // The drawing layer puts a text's top 3 rows above the y it is given.
      const int top = InfoWindowLineY(L, t.line) - 3, bottom = top + height - 1;
      EXPECT_GE(L.textLeft, L.left + 8);
      EXPECT_LE(L.textLeft + width, L.textRight) << width << " pixels";
      EXPECT_LE(L.textRight, L.right - 8);
      EXPECT_GT(top, previousBottom) << "overlaps the picture or the line above";
      EXPECT_LE(bottom, L.bottom - 5);
      if (L.etchedLineY > 0) {
        EXPECT_LT(bottom, L.etchedLineY);
      }
      previousBottom = bottom;
    }
  }
  VariantNumber = keepVariant;
  image.Restore();
}

TEST(JournalMark, AbortMarkIsAddedOnce) {
  TScreen screen;
  std::ofstream(screen.Dir() / kJournalFileName, std::ios::binary)
      << "#0001 : frueher\r\n#0411 : 12:00:00 h Kontur\r\n";
  MarkLastJournalLineAborted(411);
  const std::string marked = screen.ReadFile(kJournalFileName);
  EXPECT_EQ(marked, "#0001 : frueher\r\n#0411 : 12:00:00 h Kontur : AbbruchEsc\r\n");
  MarkLastJournalLineAborted(411);
  EXPECT_EQ(screen.ReadFile(kJournalFileName), marked);
  MarkLastJournalLineAborted(999);  // not among the last lines
  EXPECT_EQ(screen.ReadFile(kJournalFileName), marked);
}

}  // namespace
