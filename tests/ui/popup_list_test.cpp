// The popup list: placement, picks by click and key, cancel and paging,
// icons from the resource pictures, and the screen given back.
#include "ui/popup_list.h"

#include <algorithm>
#include <cstdlib>

#include "platform/picture_codecs.h"
#include "support/program_runner.h"
#include "platform/script.h"
#include "ui_screen.h"
#include "view/cursor_tracking.h"
#include "frame/program_state.h"
#include "frame/window_draw.h"

namespace {

using uitest::TScreen;

void FillEntries(TPopupList& list, int n) {
  InitPopupList(list);
  for (int i = 0; i < n; ++i) list.captions[i] = "Eintrag " + std::to_string(i + 1);
}

TEST(PopupList, ResetGivesTheDocumentedDefaults) {
  TPopupList list;
  list.x = 5;
  list.captions[3] = "x";
  list.states[7] = 0x33;
  InitPopupList(list);
  EXPECT_EQ(list.x, 0);
  EXPECT_TRUE(list.captions[3].empty());
  EXPECT_EQ(list.states[7], 1);
  EXPECT_EQ(list.result, -1);
  EXPECT_EQ(list.dragFlags, 1);
  EXPECT_EQ(list.panelStyle, 8);
  EXPECT_EQ(list.helpLines, nullptr);
}

TEST(PopupList, NearTheRightEdgeItMovesLeftButKeepsItsX) {
  TScreen screen("", "640x480");
  ASSERT_EQ(MaxX, 639);
  TPopupList list;
  FillEntries(list, 3);
  list.x = 700;
  list.y = 100;
  const TPopupLayout layout = LayOutPopupList(list, 21, 2);
  EXPECT_EQ(layout.right, 638);
  EXPECT_LT(layout.left, 638);
  EXPECT_EQ(list.x, 700);
  EXPECT_EQ(list.y, 100);
}

TEST(PopupList, TopIsKeptBelowTheBars) {
  TScreen screen("", "640x480");
  TPopupList list;
  FillEntries(list, 2);
  list.x = 10;  // over the graphic area
  LayOutPopupList(list, 21, 2);
  EXPECT_EQ(list.y, 16);
  list.x = 600;  // over the side panel
  list.y = 0;
  LayOutPopupList(list, 21, 2);
  EXPECT_EQ(list.y, 66);
  // All captions empty: one empty entry.
  TPopupList empty;
  InitPopupList(empty);
  EXPECT_EQ(LayOutPopupList(empty, 21, 2).count, 1);
}

TEST(PopupList, LowAtTheBottomItMovesUp) {
  TScreen screen("", "640x480");
  TPopupList list;
  FillEntries(list, 10);
  list.x = 20;
  list.y = 400;
  const TPopupLayout layout = LayOutPopupList(list, 21, 2);
  EXPECT_EQ(layout.bottom, 479);
  EXPECT_EQ(layout.top, 479 - (10 * 21 + 8));
}

TEST(PopupList, StateColourCodes) {
  EXPECT_EQ(PopupTextColorCode(0x01, 8), 274);
  EXPECT_EQ(PopupTextColorCode(0x00, 8), 260);
  EXPECT_EQ(PopupTextColorCode(0x00, 5), 509);
  EXPECT_EQ(PopupTextColorCode(0x04, 8), 12);
  EXPECT_EQ(PopupTextColorCode(0x0F, 8), 260);
  EXPECT_EQ(PopupBackgroundCode(0x10, 8), 260);
  EXPECT_EQ(PopupBackgroundCode(0x60, 8), 999);
  EXPECT_EQ(PopupBackgroundCode(0x80, 8), 128);
  EXPECT_EQ(PopupBackgroundCode(0xF0, 8), 260);
}

// Runs a list of n entries at (100, 100) with a title on the 1024 x 768
// screen; entry k's box runs from y = 100 + 28 + (k - 1) x 21.
int16_t RunList(const std::string& script, int n, uint8_t leave = 0, uint8_t state = 1) {
  TScreen screen(script);
  plat::ResetScript();  // the script starts with this dialog
  const auto before = TScreen::Pixels();
  TPopupList list;
  FillEntries(list, n);
  list.title = "Auswahl";
  list.x = 100;
  list.y = 100;
  list.leaveOnPagingKeys = leave;
  for (uint8_t& s : list.states) s = state;
  ShowPopupMenu(list);
  EXPECT_TRUE(TScreen::Pixels() == before) << "screen given back";
  return list.result;
}

std::string ClickEntry(int k) { return "click 140 " + std::to_string(100 + 28 + (k - 1) * 21 + 10) + "\n"; }

TEST(PopupList, PicksEveryEntryFromFirstToLast) {
  EXPECT_EQ(RunList(ClickEntry(1), 26), 1);
  EXPECT_EQ(RunList(ClickEntry(13), 26), 13);
  EXPECT_EQ(RunList(ClickEntry(26), 26), 26);
  EXPECT_EQ(RunList(ClickEntry(2), 3, 0, 0x00), 2) << "a grey entry can be picked";
}

TEST(PopupList, EscRightClickAndCancelButtonGiveZero) {
  EXPECT_EQ(RunList("key Esc\n", 5), 0);
  EXPECT_EQ(RunList("click 140 140 right\n", 5), 0);
  // The cancel button of the title strip; the panel's right edge depends on the text width.
  int right = 0;
  {
    TScreen screen;
    TPopupList list;
    FillEntries(list, 5);
    list.title = "Auswahl";
    list.x = 100;
    list.y = 100;
    right = LayOutPopupList(list, 21, 2).right;
  }
  EXPECT_EQ(RunList("click " + std::to_string(right - 12) + " 115\n", 5), 0);
  EXPECT_EQ(RunList("key Enter\n", 5), 0) << "Enter away from every entry picks nothing";
}

TEST(PopupList, PagingKeysLeaveOnlyWhenAllowed) {
  EXPECT_EQ(RunList("key PgDn\n", 5, 1), -1);
  EXPECT_EQ(RunList("key Up\n", 5, 1), -1);
  EXPECT_EQ(RunList("key PgDn\nkey Esc\n", 5, 0), 0);
}

TEST(PopupList, IconsComeFromTheResourcePictures) {
  TScreen screen;
  screen.UseScript("shot " + (screen.Dir() / "list.png").string() + "\nkey Esc\n");
  TPopupList list;
  FillEntries(list, 3);
  list.x = 100;
  list.y = 100;
  list.names[0] = "Abbruch";
  list.names[1] = "NoSuchPicture";
  TPopupList copy = list;
  const TPopupLayout layout = LayOutPopupList(copy, 21, 2);
  EXPECT_EQ(layout.indent, 24);
  ShowPopupMenu(list);
  const torvtest::TPicture shot = torvtest::ReadPng(screen.Dir() / "list.png");
  ASSERT_TRUE(shot.error.empty()) << shot.error;
  plat::TPixelBlock icon;
  ASSERT_TRUE(plat::LoadResourcePicture("abbruch", icon));
  ASSERT_EQ(icon.width, 16);
  // Entry boxes: x1 = right - 5 - (columns + 1) x 8, y1 = top + 4 + (i - 1) x 21.
  const int x1 = layout.right - 5 - (layout.columns + 1) * 8;
  auto iconDiffers = [&](int entry) {
    const int y1 = layout.top + 4 + (entry - 1) * 21;
    const int m = (y1 + y1 + 21) / 2;
    int differ = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) differ += shot.At(x1 + 6 + x, m - 8 + y) != (icon.pixels[size_t(y * 16 + x)] & 0xFFFFFF);
    return differ;
  };
  EXPECT_EQ(iconDiffers(1), 0) << "the picture Abbruch stands at entry 1";
  EXPECT_GT(iconDiffers(2), 100) << "a missing picture draws nothing";
}

// The caption's ink lies wholly inside its row and beside its icon, in the
// menu font of the dropdowns (17-pixel rows) and the caption font of the
// other popups (21-pixel rows). Entry 2 carries the caption under test in
// black; entry 3 below it is drawn in another colour, so ink that spills out
// of row 2 is found.
TEST(PopupList, CaptionsSitOnTheirIconRowsAndAreNotCut) {
  struct TCase {
    int rowHeight, font;
    uint16_t panelStyle;
    const char* caption;
  } const kCases[] = {
      {17, 4, 5, "Speichern unter"}, {17, 4, 5, "Zeichnungsnotiz"}, {17, 4, 5, "\xC4gypten jpqy (g)"},
      {21, 2, 8, "Hilfslinie l\xF6" "schen"}, {21, 2, 8, "Programmoptionen gjpqy"}, {21, 1, 8, "Projekt \xD6" "ffnen"},
  };
  for (const TCase& c : kCases) {
    SCOPED_TRACE(std::string(c.caption) + " row " + std::to_string(c.rowHeight));
    TScreen screen;
    screen.UseScript("shot " + (screen.Dir() / "row.png").string() + "\nkey Esc\n");
    TPopupList list;
    InitPopupList(list);
    list.x = 100;
    list.y = 100;
    list.panelStyle = c.panelStyle;
    list.dragFlags = 0;
    list.captions[1] = c.caption;
    list.captions[2] = "Weiter";
    list.states[2] = 0x00;  // grey text
    for (int i = 0; i < 3; ++i) list.names[i] = "Abbruch";
    TPopupList copy = list;
    const TPopupLayout layout = LayOutPopupList(copy, c.rowHeight, c.font);
    RunPopupMenu(list, c.rowHeight, 0, c.font);
    const torvtest::TPicture shot = torvtest::ReadPng(screen.Dir() / "row.png");
    ASSERT_TRUE(shot.error.empty()) << shot.error;

    const int x1 = layout.right - 5 - (layout.columns + 1) * 8, x2 = layout.right - 5;
    const int rowTop = layout.top + 4 + c.rowHeight, rowBottom = rowTop + c.rowHeight;
    const int m = (rowTop + rowBottom) / 2;
    int inkTop = 100000, inkBottom = -1, ink = 0;
    for (int y = layout.top + 4; y <= rowBottom + c.rowHeight; ++y)
      for (int x = x1 + layout.indent + 6; x < x2; ++x)
        if (shot.At(x, y) == 0x000000) {
          ++ink;
          inkTop = std::min(inkTop, y);
          inkBottom = std::max(inkBottom, y);
        }
    ASSERT_GT(ink, 20) << "the caption is drawn";
    EXPECT_GT(inkTop, rowTop) << "not over the row above";
    EXPECT_LE(inkBottom, rowBottom) << "the caption's lower part stays in its row";
    EXPECT_LE(inkTop, m + 7) << "beside the icon (rows m - 8 .. m + 7)";
    EXPECT_GE(inkBottom, m - 8);
    // Centred with the icon: the ink's middle lies within a few rows of it.
    EXPECT_LE(std::abs((inkTop + inkBottom) / 2 - m), 3);
  }
}

// A cross-hair on screen when the popup opens is erased before the screen
// under the panel is saved: closing the panel leaves no piece of it behind.
TEST(PopupList, ClosingLeavesNoRemnantOfTheCrossHair) {
  TScreen screen("key Esc\n");
  plat::ResetScript();
  const TLayoutRect keptArea = DrawingArea;
  DrawingArea = TLayoutRect{1, 0, 51, 800, 767};
  TopRuler = TLayoutRect{};
  LeftRuler = TLayoutRect{};
  const auto before = TScreen::Pixels();
  const uint8_t keptMode = CursorMode;
  const int16_t keptHighlight = HighlightColor;
  HighlightColor = 261;  // xor with white: every pixel of the cross changes
  CursorMode = 1;
  CursorX = 130;
  CursorY = 140;
  DrawMouseCursor(CursorX, CursorY);
  ASSERT_TRUE(CursorShown);
  ASSERT_FALSE(TScreen::Pixels() == before);
  TPopupList list;
  FillEntries(list, 4);
  list.x = 100;
  list.y = 100;
  ShowPopupMenu(list);
  if (CursorShown) EraseMouseCursor();
  CursorMode = keptMode;
  HighlightColor = keptHighlight;
  DrawingArea = keptArea;
  const auto after = TScreen::Pixels();
  int changed = 0, fx = -1, fy = -1;
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    if (changed++ == 0) {
      fx = int(i % 1024);
      fy = int(i / 1024);
    }
  }
  EXPECT_EQ(changed, 0) << "no dashed remnant where the panel stood; first at " << fx << "," << fy;
}

}  // namespace

namespace {

// --- menu mode and redraw requests -----------------------------------------------------

// A list of three entries at (100, 100) without a title: entry k's box runs
// from y = 104 + (k - 1) x rowHeight.
void FillMenuList(TPopupList& list) {
  FillEntries(list, 3);
  list.x = 100;
  list.y = 100;
}

TEST(PopupList, MenuModeEndsOnAnyLeftClickWithoutWaitingForTheRelease) {
  TScreen screen;
  const struct {
    int x, y;
    int16_t result;
  } kClicks[] = {{600, 400, 0}, {140, 104 + 17 + 8, 2}};
  for (const auto& c : kClicks) {
    CloseRequested = false;
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    screen.UseScript("click " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n");
    const auto before = TScreen::Pixels();
    TPopupList list;
    FillMenuList(list);
    RunPopupMenu(list, 17, 1, 4);
    EXPECT_EQ(list.result, c.result);
    EXPECT_EQ(MouseButtonState, 2) << "the click is left for what lies under the panel";
    EXPECT_TRUE(TScreen::Pixels() == before);
  }
  // The standard mode waits for the release.
  CloseRequested = false;
  MouseButtonState = 0;
  MouseKeyFlags = 0;
  screen.UseScript("click 140 " + std::to_string(104 + 21 + 10) + "\n");
  TPopupList list;
  FillMenuList(list);
  ShowPopupMenu(list);
  EXPECT_EQ(list.result, 2);
  EXPECT_EQ(MouseButtonState, 0);
}

// A repaint during the run: the whole screen is rebuilt (here: filled with
// one colour), which leaves the redraw state set, as the screen rebuild does.
constexpr plat::TColorRef kRebuiltColour = plat::Rgb(10, 200, 10);
void RebuildWholeScreen() {
  FillColorRect(0, 0, MaxX, MaxY, kRebuiltColour);
  RedrawState = 2;
}
// Asks for a repaint at the first poll of the list.
void InvalidateOnce(TInputHook& hook) {
  if (hook.state != 0) return;
  hook.state = 1;
  plat::InvalidateWindow(nullptr);
}

class PopupRedraw : public testing::Test {
 protected:
  void SetUp() override {
    keepHook = RepaintHook;
    keepKind = ViewKind;
    RepaintHook = RebuildWholeScreen;
    ViewKind = 2;
    hook.state = 0;
    hook.poll = InvalidateOnce;
    InputHook = &hook;
  }
  void TearDown() override {
    InputHook = nullptr;
    RepaintHook = keepHook;
    ViewKind = keepKind;
    RedrawState = 2;
  }
  TInputHook hook;
  THookProc keepHook = nullptr;
  uint8_t keepKind = 254;
};

TEST_F(PopupRedraw, InRedrawModeARepaintEndsTheRunWithMinusTwo) {
  TScreen screen("wait 50\nkey Esc\n");
  plat::ResetScript();
  TPopupList list;
  FillMenuList(list);
  RunPopupMenu(list, 21, -1, 2);
  EXPECT_EQ(hook.state, 1) << "the repaint was asked for";
  EXPECT_EQ(list.result, kPopupRedraw);
}

TEST_F(PopupRedraw, OtherwiseThePanelDrawsItselfAgainAndTheRunGoesOn) {
  TScreen screen;
  screen.UseScript("wait 50\nshot " + (screen.Dir() / "after.png").string() + "\nclick 140 " +
                   std::to_string(104 + 21 + 10) + "\n");
  TPopupList list;
  FillMenuList(list);
  TPopupList copy = list;
  const TPopupLayout layout = LayOutPopupList(copy, 21, 2);
  ShowPopupMenu(list);
  EXPECT_EQ(list.result, 2) << "the pick after the repaint counts";
  const torvtest::TPicture shot = torvtest::ReadPng(screen.Dir() / "after.png");
  ASSERT_TRUE(shot.error.empty()) << shot.error;
  const uint32_t rebuilt = plat::PixelFromColorRef(kRebuiltColour) & 0xFFFFFF;
  EXPECT_EQ(shot.At(layout.left - 5, layout.top), rebuilt) << "the repaint happened";
  EXPECT_NE(shot.At(layout.right - 8, (layout.top + layout.bottom) / 2), rebuilt) << "the panel is back on top";
  EXPECT_EQ(RedrawState, 0) << "drawing the panel clears the request";
}

}  // namespace
