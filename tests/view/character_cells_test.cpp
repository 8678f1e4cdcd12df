// Character-cell text and buttons checked in the headless frame buffer, the
// prompt waits driven by scripted input, and the acoustic signal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/main_window.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/system.h"
#include "platform/window.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A test that keeps waiting after its script ran out is stopped loudly
// instead of ending the test process with 0.
void ScriptRanOut() {
  std::fputs("the script ran out while the test still waited for input\n", stderr);
  std::abort();
}
// For tests that wait for time alone: the close messages after the end of
// the script are ignored.
void IgnoreClose() { ExitProc = IgnoreClose; }

// Opens the headless window with the script (none when empty) and a palette
// whose low entries are distinct colours.
class HeadlessScreen {
 public:
  explicit HeadlessScreen(const std::string& script = "", bool closeIsFatal = true) {
    if (!script.empty()) {
      char path[] = "/tmp/torv-cells-XXXXXX";
      int fd = mkstemp(path);
      if (fd >= 0) close(fd);
      scriptPath_ = path;
      std::ofstream(scriptPath_) << script;
      setenv("TORV_SCRIPT", path, 1);
    } else {
      unsetenv("TORV_SCRIPT");
    }
    setenv("TORV_VIDEO", "headless", 1);
    ClearKeyBuffer();
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    CloseRequested = false;
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
    std::vector<uint8_t> rgb(16 * 3);
    for (int i = 0; i < 16; ++i) {
      rgb[3 * i] = uint8_t(i * 16 + 3);
      rgb[3 * i + 1] = uint8_t(255 - i * 16);
      rgb[3 * i + 2] = uint8_t((i * 77) & 0xFF);
    }
    LoadPaletteEntries(rgb.data(), 0, 16);
    ExitProc = closeIsFatal ? ScriptRanOut : IgnoreClose;
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
  }
  ~HeadlessScreen() {
    ExitProc = nullptr;
    ReleaseWindowDc();
    plat::CloseWindow();
    unsetenv("TORV_SCRIPT");
    if (!scriptPath_.empty()) std::remove(scriptPath_.c_str());
    ClearKeyBuffer();
    MouseButtonState = 0;
    MouseKeyFlags = 0;
  }

 private:
  std::string scriptPath_;
};

uint32_t PixelAt(int x, int y) {
  const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)];
}

uint32_t PixelOfColor(int colorNumber) { return plat::PixelFromColorRef(GetColorRef(colorNumber)); }

struct TArea {
  int x1, y1, x2, y2;  // x2, y2 excluded
  bool Holds(int x, int y) const { return x >= x1 && x < x2 && y >= y1 && y < y2; }
};

// Pixels that are no longer white outside the area.
int ChangedOutside(const TArea& area) {
  const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  int changed = 0;
  for (int y = 0; y < fb.height; ++y)
    for (int x = 0; x < fb.width; ++x)
      if (!area.Holds(x, y) && PixelAt(x, y) != kWhite) ++changed;
  return changed;
}

int CountPixels(const TArea& area, uint32_t pixel, bool equal) {
  int n = 0;
  for (int y = area.y1; y < area.y2; ++y)
    for (int x = area.x1; x < area.x2; ++x)
      if ((PixelAt(x, y) == pixel) == equal) ++n;
  return n;
}

TArea Cell(int col, int row, int cells = 1) { return {8 * col, 16 * row, 8 * (col + cells), 16 * row + 16}; }

// --- text at cells ----------------------------------------------------------------------

TEST(CellText, EachCharacterStandsInItsOwnCellOfTheRow) {
  HeadlessScreen screen;
  const struct { int col, row; } cases[] = {{0, 0}, {3, 5}, {17, 20}, {100, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "cell " << c.col << "," << c.row);
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
    WriteCellText(c.col, c.row, "HMW", false, 274, 261);
    EXPECT_EQ(ChangedOutside(Cell(c.col, c.row, 3)), 0);
    for (int k = 0; k < 3; ++k)
      EXPECT_GT(CountPixels(Cell(c.col + k, c.row), kWhite, false), 4) << "character " << k;
  }
}

TEST(CellText, InvertedTakesTheSecondColourAndEmptyTextDrawsNothing) {
  HeadlessScreen screen;
  WriteCellText(2, 2, "", false, 274, 12);
  WriteCellTextRgb(2, 2, "", false, plat::Rgb(0, 0, 0), plat::Rgb(0, 0, 0));
  EXPECT_EQ(ChangedOutside({0, 0, 0, 0}), 0);

  WriteCellText(2, 2, "X", true, 274, 12);
  EXPECT_GT(CountPixels(Cell(2, 2), PixelOfColor(12), true), 4);
  EXPECT_EQ(CountPixels(Cell(2, 2), PixelOfColor(274), true), 0);

  WriteCellTextRgb(4, 2, "X", false, plat::Rgb(0, 0, 200), plat::Rgb(0, 0, 0));
  EXPECT_GT(CountPixels(Cell(4, 2), plat::PixelFromColorRef(plat::Rgb(0, 0, 200)), true), 4);
}

// --- buttons ----------------------------------------------------------------------------

struct TButtonCase {
  const char* name;
  bool inverted;
  int16_t textColor, boxColor;
  uint32_t boxPixel;  // 0xFFFFFFFF: the palette colour of the box number
};

TEST(CellButton, BoxCoversTheTextCellsFromRowFourToTheCellBottom) {
  const TButtonCase cases[] = {
      {"status grey is drawn silver", false, 274, 260, 0xC0C0C0},
      {"palette colour", false, 274, 10, 0xFFFFFFFF},
      {"inverted swaps the colours", true, 12, 274, 0xFFFFFFFF},
  };
  HeadlessScreen screen;
  for (const TButtonCase& c : cases) {
    SCOPED_TRACE(c.name);
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
    PenPendingMove = 0;
    const int col = 6, row = 9;
    DrawCellButton(col, row, " H ", c.inverted, c.textColor, c.boxColor);
    const int16_t boxNumber = c.inverted ? c.textColor : c.boxColor;
    const int16_t inkNumber = c.inverted ? c.boxColor : c.textColor;
    const uint32_t box = c.boxPixel != 0xFFFFFFFF ? c.boxPixel : PixelOfColor(boxNumber);
    const TArea boxArea{8 * col, 16 * row + 4, 8 * col + 24, 16 * row + 16};
    // The blank cells at both ends are pure box; the letter stays inside the cells.
    EXPECT_EQ(CountPixels({8 * col, 16 * row + 4, 8 * col + 8, 16 * row + 16}, box, false), 0);
    EXPECT_EQ(CountPixels({8 * col + 16, 16 * row + 4, 8 * col + 24, 16 * row + 16}, box, false), 0);
    EXPECT_GT(CountPixels(Cell(col + 1, row), PixelOfColor(inkNumber), true), 4);
    EXPECT_EQ(ChangedOutside(Cell(col, row, 3)), 0);
    EXPECT_EQ(CountPixels({boxArea.x1, 16 * row, boxArea.x2, boxArea.y1}, box, true), 0);
    EXPECT_EQ(PenPendingMove, 1);
  }
}

TEST(CellButton, EmptyTextDrawsNothing) {
  HeadlessScreen screen;
  DrawCellButton(1, 1, "", false, 274, 260);
  DrawPlainCellButton(1, 1, "", 274, 260);
  EXPECT_EQ(ChangedOutside({0, 0, 0, 0}), 0);
}

TEST(CellButton, PlainButtonIsNotInvertedAndLeavesCopyMode) {
  HeadlessScreen screen;
  SetRop2Mode(plat::kRopXor);
  DrawPlainCellButton(0, 3, "  ", 274, 10);
  EXPECT_EQ(CountPixels({0, 52, 16, 64}, PixelOfColor(10), false), 0);
  // Copy mode: drawing over a pixel replaces it instead of xoring.
  SetPenColor(12);
  FillScreenRect(0, 60, 0, 60);
  FillScreenRect(0, 60, 0, 60);
  EXPECT_EQ(PixelAt(0, 60), PixelOfColor(12));
}

TEST(CellButton, FillCellsPaintsTheButtonBandOfNCells) {
  HeadlessScreen screen;
  FillCells(4, 2, 3, plat::Rgb(10, 20, 30));
  const uint32_t fill = plat::PixelFromColorRef(plat::Rgb(10, 20, 30));
  const TArea band{32, 36, 56, 48};
  EXPECT_EQ(CountPixels(band, fill, false), 0);
  EXPECT_EQ(ChangedOutside(band), 0);
  FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
  FillCells(4, 2, 0, plat::Rgb(10, 20, 30));
  FillCells(4, 2, -3, plat::Rgb(10, 20, 30));
  EXPECT_EQ(ChangedOutside({0, 0, 0, 0}), 0);
}

// --- symbols ----------------------------------------------------------------------------

// Expected picture of a text drawn from (x, y): one picture of 7 rows of 8
// pixels per cell, rows y .. y + 6, '#' a pixel of grey 12, '.' untouched.
using TCellPicture = std::vector<std::string>;

void ExpectSymbolPicture(const std::string& text, const std::vector<TCellPicture>& cells) {
  HeadlessScreen screen;
  const int x = 200, y = 300;
  DrawSymbolText(x, y, text);
  const uint32_t grey = 0x0C0C0C;
  for (size_t k = 0; k < cells.size(); ++k)
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 8; ++col) {
        const uint32_t expected = cells[k][row][col] == '#' ? grey : kWhite;
        EXPECT_EQ(PixelAt(x + 8 * int(k) + col, y + row), expected) << "cell " << k << " row " << row << " column " << col;
      }
  EXPECT_EQ(ChangedOutside({x, y, x + 8 * int(cells.size()), y + 7}), 0);
}

const TCellPicture kArrowUp = {"...#....", "..###...", ".#####..", "...#....", "...#....", "...#....", "...#...."};
const TCellPicture kTriangleDown = {"........", "........", "........", "#######.", ".#####..", "..###...", "...#...."};
const TCellPicture kArrowLeft = {"...#....", "..##....", ".#######", "########", ".#######", "..##....", "...#...."};
const TCellPicture kPause = {"##...##.", "##...##.", "##...##.", "##...##.", "##...##.", "##...##.", "##...##."};
const TCellPicture kBottomLine = {"........", "........", "........", "........", "........", "........", "########"};

TEST(SymbolText, ArrowsAndTrianglesArePixelPictures) {
  ExpectSymbolPicture("\x18\x1F\x15", {kArrowUp, kTriangleDown, kArrowLeft});
}

TEST(SymbolText, PauseSignAndBottomLine) { ExpectSymbolPicture("\x13\x01", {kPause, kBottomLine}); }

TEST(SymbolText, UnderscoreIsALineAndUnknownCodesSkipTheirCell) {
  HeadlessScreen screen;
  const int x = 160, y = 200;
  SetPenColor(274);
  DrawSymbolText(x, y, "A_B\x02");
  // The line: row y + 8, from the second pixel of the cell to its end.
  for (int i = 0; i < 8; ++i) EXPECT_EQ(PixelAt(x + 8 + i, y + 8), i == 0 ? kWhite : 0u) << i;
  int lineCell = CountPixels({x + 8, y - 3, x + 16, y + 13}, kWhite, false);
  EXPECT_EQ(lineCell, 7);
  EXPECT_GT(CountPixels({x, y - 3, x + 8, y + 13}, kWhite, false), 4);
  EXPECT_GT(CountPixels({x + 16, y - 3, x + 24, y + 13}, kWhite, false), 4);
  // The control code 2 leaves the fourth cell empty.
  EXPECT_EQ(ChangedOutside({x, y - 3, x + 24, y + 13}), 0);
}

// --- waits --------------------------------------------------------------------------------

TEST(PromptWaits, KeyOrClickWaitsForTheInputAndEmptiesTheKeyBuffer) {
  const struct { const char* name; const char* script; } cases[] = {
      {"key", "wait 2000\nkey a\n"},
      {"extended key", "wait 2000\nkey Down\n"},
      {"click", "wait 2000\nclick 40 50 left\n"},
      {"right click", "wait 2000\nclick 40 50 right\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessScreen screen(std::string(c.script) + "key z\nkey z\n");
    const uint32_t start = GetTickMs();
    WaitForKeyOrClick();
    EXPECT_GE(GetTickMs() - start, 2000u);
    EXPECT_EQ(KeyCount, 0);
  }
}

TEST(PromptWaits, WaitMsEndsAfterTheTimeWithoutInput) {
  HeadlessScreen screen("", false);
  const uint32_t start = GetTickMs();
  WaitMsOrInput(300);
  const uint32_t elapsed = GetTickMs() - start;
  EXPECT_GE(elapsed, 300u);
  EXPECT_LT(elapsed, 400u);
}

TEST(PromptWaits, WaitMsTakesOnlyTheKeyThatEndedIt) {
  const struct { const char* name; const char* script; } cases[] = {
      {"character", "key a\nkey b\n"},
      {"extended key taken whole", "key F1\nkey b\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessScreen screen(std::string(c.script) + "key z\n");
    const uint32_t start = GetTickMs();
    WaitMsOrInput(60000);
    EXPECT_LT(GetTickMs() - start, 1000u);
    EXPECT_EQ(ReadNextKey(), 'b');
  }
}

TEST(PromptWaits, MouseReleaseWaitsUntilNoButtonIsHeld) {
  HeadlessScreen screen("press 30 40 left\nwait 50\nrelease 30 40 left\nkey z\nkey z\n");
  while (GetMouseButtons() != 2) WaitForWindowMessage();
  WaitForMouseRelease();
  EXPECT_EQ(GetMouseButtonState(), 0);
  // Nothing held: returns at once.
  const uint32_t start = GetTickMs();
  WaitForMouseRelease();
  EXPECT_LT(GetTickMs() - start, 5u);
}

TEST(PromptWaits, YesNoAnswerByKeyOrClick) {
  const struct { const char* script; uint8_t answer; } cases[] = {
      {"key y\n", 1},         {"key Y\n", 1},        {"key Enter\n", 1},      {"key j\n", 1},
      {"key O\n", 1},         {"key n\n", 0},        {"key Esc\n", 0},        {"key 1\n", 0},
      {"click 5 5 left\n", 1}, {"click 5 5 right\n", 0},
      {"click 5 5 middle\nkey y\n", 1},  // a middle click keeps waiting
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    HeadlessScreen screen(std::string(c.script) + "key z\nkey z\n");
    PushKeyCode('Y');  // typed before the question: not an answer
    EXPECT_EQ(AskYesNoKey(), c.answer);
  }
}

TEST(PromptWaits, YesNoTakesAnExtendedKeyWhole) {
  HeadlessScreen screen("key F1\nkey b\nkey z\n");
  EXPECT_EQ(AskYesNoKey(), 0);
  EXPECT_EQ(ReadNextKey(), 'b');
}

TEST(PromptWaits, WaitsEndWhenTheWindowIsClosing) {
  HeadlessScreen screen("wait 100000\n");
  CloseRequested = true;
  WaitForKeyOrClick();
  EXPECT_EQ(AskYesNoKey(), 0);
  CloseRequested = false;
}

// --- signal -------------------------------------------------------------------------------

TEST(Signal, BeepsBySignalLevelWhenNoSoundPlays) {
  HeadlessScreen screen;
  ASSERT_EQ(PlayEventSound(99), 0);  // headless: the "Ding" never plays
  const struct { uint8_t level; int beeps, dingOrBeeps; } cases[] = {
      {0, 3, 3}, {1, 3, 3}, {2, 1, 1}, {3, 0, 0}, {4, 0, 0},
  };
  const uint8_t saved = SignalLevel;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << int(c.level));
    SignalLevel = c.level;
    int before = plat::BeepCount();
    BeepSignal(1000);
    EXPECT_EQ(plat::BeepCount() - before, c.beeps);
    before = plat::BeepCount();
    PlayDingOrBeep();
    EXPECT_EQ(plat::BeepCount() - before, c.dingOrBeeps);
  }
  SignalLevel = saved;
}

// --- strings ------------------------------------------------------------------------------

TEST(TrimTrailingBlanks, RemovesOnlyTheBlanksAtTheEnd) {
  const struct { const char* in; const char* out; } cases[] = {
      {"ab  ", "ab"}, {"   ", ""}, {"", ""}, {" a b ", " a b"}, {"ab\t", "ab\t"},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    TrimTrailingBlanks(s);
    EXPECT_EQ(s, c.out) << '"' << c.in << '"';
  }
}

}  // namespace
