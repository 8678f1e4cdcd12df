// The prompt strip and the prompt line: typed and clicked points, coordinate
// lists, separators, rectangles by typing, clicking and dragging, and where
// the strip and the top-bar text are drawn.
#include "ui/prompt_strip.h"

#include "ui/graphic_controls.h"
#include "frame/program_state.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "frame/system_services.h"
#include "ui/calculator.h"
#include "ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

using uitest::TScreen;

using uitest::Script;

// A screen whose view shows world (0, 0) at the lower left of the graphic
// area, 2 pixels per millimetre.
class TPromptScreen : public TScreen {
 public:
  TPromptScreen() {
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    ErrorCode = 0;
    IconBarMode = 0;  // no icon bar over the strip
    // Colour 12 (the rubber band) red and 13 (top-bar text) magenta.
    uint8_t rgb[14 * 3] = {};  // indexed by entry number
    rgb[36] = 255;
    rgb[39] = 255, rgb[41] = 255;
    LoadPaletteEntries(rgb, 12, 2);
  }
  // The world point of a window pixel.
  static float WorldX(int x) { return float((x - DrawingArea.x1) / 2.0); }
  static float WorldY(int y) { return float((DrawingArea.y2 - y) / 2.0); }
};

std::string Transcript(const TScreen& screen) { return screen.ReadFile("transcript.txt"); }

TEST(PromptLine, TypedNumbersGiveThePoint) {
  TPromptScreen screen;
  struct {
    const char* script;
    float x, y;
  } cases[] = {
      {"text 10 20\nkey Enter\n", 10, 20},
      {"text 12,5;-3\nkey Enter\n", 12.5f, -3},
      {"text 2*5 40/2\nkey Enter\n", 10, 20},
      {"text 1 99\nkey Left\nkey Backspace\ntext 2\nkey Enter\n", 1, 29},
      {"text 9 9\nkey ctrl+y\ntext 7 8\nkey Enter\n", 7, 8},
  };
  for (const auto& c : cases) {
    Script(screen, c.script);
    TPointRecord p{0, -1, -1};
    PromptPoint("Punkt", p);
    EXPECT_EQ(p.type, 10) << c.script;
    EXPECT_FLOAT_EQ(p.x, c.x) << c.script;
    EXPECT_FLOAT_EQ(p.y, c.y) << c.script;
  }
}

TEST(PromptLine, AClickGivesTheWorldPointUnderTheCursor) {
  TPromptScreen screen;
  Script(screen, "move 300 400\nclick 301 451 left\n");
  TPointRecord p{0, 0, 0};
  PromptPoint("Punkt", p);
  EXPECT_EQ(p.type, 10);
  EXPECT_FLOAT_EQ(p.x, TPromptScreen::WorldX(301));
  EXPECT_FLOAT_EQ(p.y, TPromptScreen::WorldY(451));
}

TEST(PromptLine, CancelLeavesTypeZero) {
  TPromptScreen screen;
  for (const char* script : {"key Esc\n", "text 10 20\nkey Esc\n", "click 300 400 right\n", "text 5\nclick 300 400 right\n"}) {
    Script(screen, script);
    TPointRecord p{0, 0, 0};
    PromptPoint("Punkt", p);
    EXPECT_EQ(p.type, 0) << script;
  }
}

TEST(PromptLine, OneNumberOnlyTakesTheCursorAndAsks) {
  TPromptScreen screen;
  Script(screen, "move 301 451\ntext 10\nkey Enter\nkey n\n");
  TPointRecord p{0, 0, 0};
  PromptPoint("Punkt", p);
  EXPECT_EQ(p.type, 10);
  EXPECT_FLOAT_EQ(p.x, TPromptScreen::WorldX(301));
  EXPECT_NE(Transcript(screen).find(GetMessageText(1610, -39)), std::string::npos) << Transcript(screen);
}

TEST(CoordinateList, ReadsUpToSixNumbers) {
  TPromptScreen screen;
  struct {
    const char* text;
    int count;
    float values[6];
  } cases[] = {
      {"10 20", 2, {10, 20}},
      {"1,5;2*3", 2, {1.5f, 6}},
      {"a b", 0, {}},
      {"", 0, {}},
      {"1 2 3 4 5 6 7", 6, {1, 2, 3, 4, 5, 6}},
      {"X=-4 Y=+2.5", 2, {-4, 2.5f}},
      {"7 5/0", 0, {7, 0}},        // a division by zero cannot be read
      {"5:0 3", 2, {0, 3}},        // the count is the slot of the last good number
  };
  for (const auto& c : cases) {
    TCoordinateList list;
    int count = -1;
    EXPECT_EQ(ParseCoordinateList(c.text, list, 0, count), c.count) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
    EXPECT_EQ(list.points[0].type, c.count) << c.text;
    EXPECT_EQ(list.points[1].type, 0);
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(CoordinateListValue(list, i + 1), c.values[i]) << c.text << " " << i;
  }
  EXPECT_TRUE(Transcript(screen).empty()) << "nothing asked without an expected count";
}

TEST(CoordinateList, AWrongCountAsksAndYesShowsTheHelpTopic) {
  TPromptScreen screen;
  static TCommandCode seen = 0;
  HelpHook = [] { seen = CommandWord; };
  CommandWord = 123;
  Script(screen, "key y\n");
  TCoordinateList list;
  int count = 0;
  EXPECT_EQ(ParseCoordinateList("10 20 30", list, 2, count), 3);
  EXPECT_EQ(seen, 7802);
  EXPECT_EQ(CommandWord, 123) << "the command word comes back";
  const std::string t = Transcript(screen);
  EXPECT_NE(t.find(GetMessageText(1610, -39)), std::string::npos) << t;
  EXPECT_NE(t.find(GetMessageText(1865, -39)), std::string::npos) << t;
  seen = 0;
  Script(screen, "key n\n");
  ParseCoordinateList("10", list, 2, count);
  EXPECT_EQ(seen, 0) << "no help on no";
  HelpHook = nullptr;
  CommandWord = 0;
}

TEST(PromptLine, SeparatorsEndThePromptAtTheCursor) {
  TPromptScreen screen;
  struct {
    const char* script;
    int type;
  } cases[] = {
      {"move 301 451\ntext ;\n", 8},
      {"move 301 451\ntext =\n", 10},
      {"move 301 451\ntext >\n", 11},
      {"move 301 451\nkey F1\n", 8},
      {"move 301 451\nkey F3\n", 10},
      {"move 301 451\nkey F4\n", 11},
      {"click 301 451 left\n", 2},
      {"click 301 451 middle\n", 1},
      {"key Esc\n", 0},
  };
  for (const auto& c : cases) {
    Script(screen, c.script);
    TPointRecord p{0, 0, 0};
    PromptPointOrSeparator("Punkt", p);
    EXPECT_EQ(p.type, c.type) << c.script;
    if (c.type != 0) {
      EXPECT_FLOAT_EQ(p.x, TPromptScreen::WorldX(301)) << c.script;
      EXPECT_FLOAT_EQ(p.y, TPromptScreen::WorldY(451)) << c.script;
    }
  }
  Script(screen, "text 4 5\nkey Enter\n");
  TPointRecord p{0, 0, 0};
  PromptPointOrSeparator("Punkt", p);
  EXPECT_EQ(p.type, 2);
  EXPECT_FLOAT_EQ(p.x, 4);
  EXPECT_FLOAT_EQ(p.y, 5);
}

TEST(PromptLine, AltRPutsTheCalculatorResultIntoTheLine) {
  TPromptScreen screen;
  ShowInputPrompt("Wert");
  Script(screen, "text 1\nkey alt+r\ntext 6*7=\nkey alt+r\nmove 500 400\nmove 501 400\nkey Enter\n");
  std::string text;
  do EditPromptLine(text);
  while (ButtonResult == 0);
  EXPECT_EQ(ButtonResult, 2);
  EXPECT_EQ(text, "42.00000");
}

TEST(PromptRectangle, TypedCornersAreOrdered) {
  TPromptScreen screen;
  Script(screen, "text 30 20\nkey Enter\ntext 10 5\nkey Enter\n");
  TPointRecord r[2] = {};
  uint8_t result = 9;
  const auto before = TScreen::Pixels();
  PromptRectangle(r, result);
  EXPECT_EQ(result, 1);
  EXPECT_FLOAT_EQ(r[0].x, 10);
  EXPECT_FLOAT_EQ(r[0].y, 5);
  EXPECT_FLOAT_EQ(r[1].x, 30);
  EXPECT_FLOAT_EQ(r[1].y, 20);
  // The taken rectangle stays drawn in xor: (20, 40) .. (60, 767 - 40) in pixels.
  const auto after = TScreen::Pixels();
  EXPECT_GT(TScreen::CountChanged(before, after, 20, MaxY - 40, 60, MaxY - 40), 30) << "top edge";
  EXPECT_EQ(TScreen::CountChanged(before, after, 100, 100, 400, 400), 0) << "no other mark";
}

TEST(PromptRectangle, ClickedCornersAndCancels) {
  TPromptScreen screen;
  Script(screen, "click 101 301 left\nmove 200 250\nclick 201 201 left\n");
  TPointRecord r[2] = {};
  uint8_t result = 0;
  PromptRectangle(r, result);
  EXPECT_EQ(result, 1);
  EXPECT_FLOAT_EQ(r[0].x, TPromptScreen::WorldX(101));
  EXPECT_FLOAT_EQ(r[0].y, TPromptScreen::WorldY(301));
  EXPECT_FLOAT_EQ(r[1].x, TPromptScreen::WorldX(201));
  EXPECT_FLOAT_EQ(r[1].y, TPromptScreen::WorldY(201));
  for (const char* script : {"key Esc\n", "text 1 1\nkey Enter\nkey Esc\n", "text 1 1\nkey Enter\nclick 5 300 right\n",
                             "text 1 1\nkey Enter\ntext 1 9\nkey Enter\n" /* no width */}) {
    Script(screen, script);
    result = 9;
    PromptRectangle(r, result);
    EXPECT_EQ(result, 0) << script;
  }
}

TEST(PromptRectangle, ADragSpansTheRectangle) {
  TPromptScreen screen;
  Script(screen, 
      "move 100 300\npress 100 300 left\nwait 300\nmove 140 280\nwait 50\nmove 180 260\nwait 50\nrelease 180 260 left\n");
  TPointRecord r[2] = {};
  uint8_t result = 0;
  PromptRectangle(r, result);
  EXPECT_EQ(result, 1);
  EXPECT_FLOAT_EQ(r[0].x, TPromptScreen::WorldX(100));
  EXPECT_FLOAT_EQ(r[0].y, TPromptScreen::WorldY(300));
  EXPECT_FLOAT_EQ(r[1].x, TPromptScreen::WorldX(180));
  EXPECT_FLOAT_EQ(r[1].y, TPromptScreen::WorldY(260));
}

TEST(PromptStrip, OpensWhiteAndClosesGrey) {
  TPromptScreen screen;
  const auto before = TScreen::Pixels();
  const int right = MaxX - 169;
  ShowInputPrompt("Hallo");
  EXPECT_EQ(PromptStripShown, 1);
  EXPECT_EQ(PromptInputColumn, 1);
  EXPECT_EQ(PromptWidth, right / 8 - 1);
  EXPECT_EQ(TScreen::PixelAt(right - 20, 40) & 0xFFFFFF, 0xFFFFFFu) << "white field";
  int dark = 0;
  for (int y = 18; y <= 30; ++y)
    for (int x = 8; x < 48; ++x) dark += (TScreen::PixelAt(x, y) & 0xFFFFFF) == 0;
  EXPECT_GT(dark, 10) << "the prompt is written at the left of the top line";
  auto after = TScreen::Pixels();
  EXPECT_EQ(TScreen::CountChanged(before, after, 0, 0, MaxX, 16), 0) << "above the strip";
  EXPECT_EQ(TScreen::CountChanged(before, after, 0, 51, MaxX, MaxY), 0) << "below the strip";
  EXPECT_EQ(TScreen::CountChanged(before, after, right + 1, 17, MaxX, 50), 0) << "beside the strip";

  ClearDrawingArea();
  EXPECT_EQ(PromptStripShown, 0);
  EXPECT_EQ(TScreen::PixelAt(100, 30) & 0xFFFFFF, 0xDCDCDCu);
  EXPECT_EQ(TScreen::PixelAt(right, 49) & 0xFFFFFF, 0xDCDCDCu);
  EXPECT_EQ(TScreen::PixelAt(MaxX, 50) & 0xFFFFFF, 0u) << "the black line under the strip";
  after = TScreen::Pixels();
  EXPECT_EQ(TScreen::CountChanged(before, after, 0, 51, MaxX, MaxY), 0);
}

TEST(PromptStrip, RestoreFollowsTheMenuBarState) {
  TPromptScreen screen;
  const uint8_t keep = MenuBarMode;
  MenuBarMode = 0;
  PromptStripShown = 0;
  RestoreGraphicArea();
  EXPECT_EQ(PromptStripShown, 1);
  MenuBarMode = 7;
  RestoreGraphicArea();
  EXPECT_EQ(PromptStripShown, 0);
  EXPECT_EQ(TScreen::PixelAt(100, 30) & 0xFFFFFF, 0xDCDCDCu);
  const auto before = TScreen::Pixels();
  RestoreGraphicArea();  // nothing shown, nothing to do
  EXPECT_TRUE(TScreen::Pixels() == before);
  MenuBarMode = keep;
}

TEST(PromptStrip, TopBarTextStandsAtTheRightEnd) {
  TPromptScreen screen;
  ClearDrawingArea();
  ShowTopBarText("Ecke 1");
  EXPECT_EQ(PromptStripShown, 1) << "the strip was opened for it";
  const int width = MeasureTextWidth("Ecke 1");
  EXPECT_EQ(TopBarTextWidth, width);
  const int right = MaxX - 169 - 2;
  // Text in colour 13 between right - 4 - width and right - 4, rows 19 .. 31.
  const uint32_t magenta = GetColorRef(13) & 0xFFFFFF;
  int ink = 0, left = 0;
  for (int y = 19; y <= 31; ++y)
    for (int x = 0; x <= right; ++x) {
      if ((TScreen::PixelAt(x, y) & 0xFFFFFF) != magenta) continue;
      ++ink;
      left += x < right - 8 - width;
    }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(left, 0) << "right-aligned";
  // A shorter text clears the box of the longer one.
  ShowTopBarText("x");
  int stale = 0;
  for (int y = 19; y <= 31; ++y)
    for (int x = right - width - 8; x < right - 20; ++x) stale += (TScreen::PixelAt(x, y) & 0xFFFFFF) == magenta;
  EXPECT_EQ(stale, 0);
}

}  // namespace
