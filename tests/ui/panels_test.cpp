// Popup frames keep the screen under a dialog and give it back unchanged,
// also after the dialog was dragged; edges and gradients by their colours;
// a framed sub-view draws only inside its frame and gives back the main view.
#include "ui/panels.h"

#include <utility>

#include "frame/param_file.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

TEST(PopupFrame, OpeningAndClosingLeavesTheScreenByteIdentical) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  TPopupFrame frame{};
  frame.left = 100;
  frame.top = 80;
  frame.right = 420;
  frame.bottom = 80 + 16 * 12 - 1;
  frame.lines = 12;
  OpenPopupFrame(frame);
  EXPECT_NE(int64_t(frame.saved), 0u);
  EXPECT_EQ(int64_t(frame.textX), 108);
  EXPECT_EQ(int64_t(frame.textY), 118);
  DrawDialogPanel(frame.left, frame.top, frame.right, 8, "Titel", frame.bottom);
  DrawWhiteField(frame.left + 10, frame.top + 40, frame.right - 10, frame.bottom - 10, 2);
  EXPECT_GT(TScreen::CountChanged(before, TScreen::Pixels(), 100, 80, 420, 271), 1000);
  ClosePopupFrame(frame);
  EXPECT_EQ(int64_t(frame.saved), 0u);
  EXPECT_TRUE(TScreen::Pixels() == before);
  // A frame without a saved block changes nothing.
  FillColorRect(150, 100, 200, 150, plat::Rgb(1, 2, 3));
  const auto drawn = TScreen::Pixels();
  ClosePopupFrame(frame);
  EXPECT_TRUE(TScreen::Pixels() == drawn);
}

TEST(PopupFrame, IsClampedToTheWindowAndStillRestoresExactly) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  TPopupFrame frame{};
  frame.left = -30;
  frame.top = -5;
  frame.right = MaxX + 40;
  frame.bottom = MaxY + 100;
  frame.lines = int16_t(MaxY / 16 + 10);
  OpenPopupFrame(frame);
  EXPECT_EQ(int64_t(frame.left), 0);
  EXPECT_EQ(int64_t(frame.top), 0);
  EXPECT_EQ(int64_t(frame.right), MaxX + 1);
  EXPECT_EQ(int64_t(frame.bottom), MaxY + 1);
  DrawGreyDialogPanel(0, 0, MaxX, "Alles", MaxY);
  ClosePopupFrame(frame);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(PopupFrame, DraggedFrameRestoresBothPlaces) {
  // Press on the title strip, move 150 right and 60 down, release.
  TScreen screen("press 210 90 left\nmove 260 110\nmove 360 150\nrelease 360 150 left\n");
  const auto before = TScreen::Pixels();
  TPopupFrame frame{};
  frame.left = 200;
  frame.top = 80;
  frame.right = 400;
  frame.bottom = 80 + 16 * 8 - 1;
  frame.lines = 8;
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(frame.left, frame.top, frame.right, "Ziehen", frame.bottom);
  const auto dialog = TScreen::Pixels();
  while (MouseButtonState != 2) {
    int16_t x, y;
    PollMousePosition(x, y);
    WaitForWindowMessage();
  }
  DragPopupFrame(frame);
  EXPECT_EQ(int64_t(frame.left), 350);
  EXPECT_EQ(int64_t(frame.top), 140);
  EXPECT_EQ(int64_t(frame.right), 550);
  EXPECT_EQ(int64_t(frame.textX), 358);
  EXPECT_EQ(int64_t(frame.textY), 178);
  const auto moved = TScreen::Pixels();
  // The old place shows what was there before, apart from where the dialog now stands.
  EXPECT_EQ(TScreen::CountChanged(before, moved, 200, 80, 349, 139), 0);
  // The dialog stands at its new place, pixel for pixel.
  const int w = plat::WindowFrameBuffer().width;
  int differ = 0;
  for (int y = 80; y <= 207; ++y)
    for (int x = 200; x <= 400; ++x)
      differ += dialog[size_t(y) * w + x] != moved[size_t(y + 60) * w + x + 150];
  EXPECT_EQ(differ, 0);
  ClosePopupFrame(frame);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(PopupFrame, AClickBesideTheTitleDoesNotDrag) {
  TScreen screen("press 210 150 left\nrelease 210 150 left\n");
  TPopupFrame frame{};
  frame.left = 200;
  frame.top = 80;
  frame.right = 400;
  frame.bottom = 207;
  frame.lines = 8;
  OpenPopupFrame(frame);
  while (MouseButtonState != 2) {
    int16_t x, y;
    PollMousePosition(x, y);
    WaitForWindowMessage();
  }
  const auto before = TScreen::Pixels();
  DragPopupFrame(frame);  // mouse below the title strip
  EXPECT_EQ(int64_t(frame.left), 200);
  EXPECT_TRUE(TScreen::Pixels() == before);
  ClosePopupFrame(frame);
}

TEST(Panels, EdgesUseTheirColours) {
  TScreen screen;
  DrawBevelFrame(10, 10, 50, 40);
  EXPECT_EQ(TScreen::PixelAt(10, 10), 0x6B3D04u);  // dark outline
  EXPECT_EQ(TScreen::PixelAt(11, 20), 0x000000u);  // inner black line
  EXPECT_EQ(TScreen::PixelAt(30, 40), 0xE6E5D2u);  // light bottom line
  DrawEtchedLine(60, 20, 100);
  EXPECT_EQ(TScreen::PixelAt(70, 20), 0x000000u);
  EXPECT_EQ(TScreen::PixelAt(71, 21), 0xFFFFFFu);
}

TEST(Panels, GradientsRunFromTheirStartColour) {
  TScreen screen;
  DrawTitleGradient(10, 10, 110, 12);
  EXPECT_EQ(TScreen::PixelAt(10, 11), 0x0A246Au);           // (10, 36, 106) at t = 0
  EXPECT_EQ(TScreen::PixelAt(110, 11), 0xA9B2CBu);          // t = 0.65
  DrawLightBlueGradient(200, 10, 100, 12);                  // right to left: t falls to 0 at 200
  EXPECT_EQ(TScreen::PixelAt(200, 11), 0x3C6EFFu);
  EXPECT_EQ(TScreen::PixelAt(100, 11), 0xFFFFFFu);
  DrawWarmGradient(300, 10, 300, 12);                       // one column wide: t = 0
  EXPECT_EQ(TScreen::PixelAt(300, 11), 0xFF240Au);
}

TEST(ScrollStrip, WithAnimationsOffNothingIsSavedOrDrawn) {
  TScreen screen;
  const uint8_t keep = AnimationsOn;
  AnimationsOn = 0;
  TScrollStrip strip;
  SaveScrollStrip(10, 50, 10, strip, 20);
  EXPECT_TRUE(strip.columns.empty());
  AnimationsOn = 1;
  const size_t savedBefore = SavedBitmaps.size();
  SaveScrollStrip(10, 50, 10, strip, 20);
  EXPECT_EQ(strip.columns.size(), 51u);
  RestoreScrollStrip(10, 50, 10, strip);
  EXPECT_TRUE(strip.columns.empty());
  EXPECT_EQ(SavedBitmaps.size(), savedBefore);
  AnimationsOn = keep;
}

}  // namespace

namespace {

TEST(PopupFrame, GraphicAreaPopupGivesTheAreaBack) {
  uitest::TScreen screen;
  const auto before = uitest::TScreen::Pixels();
  OpenGraphicAreaPopup();
  ASSERT_NE(GraphicAreaPopup, nullptr);
  FillColorRect(DrawingArea.x1, DrawingArea.y1, DrawingArea.x2, DrawingArea.y2, plat::Rgb(9, 9, 9));
  CloseGraphicAreaPopup();
  EXPECT_TRUE(uitest::TScreen::Pixels() == before);
  CloseGraphicAreaPopup();  // nothing held: nothing changes
  EXPECT_TRUE(uitest::TScreen::Pixels() == before);
  FreeGraphicAreaPopup();
  EXPECT_EQ(GraphicAreaPopup, nullptr);
}

}  // namespace

namespace {

using uitest::TScreen;

// A main view with a known transform and cursor circle.
void SetMainView() {
  ViewScaleX = ViewScaleY = 2.0f;
  WorldXMin = -10.0f;
  WorldYMin = -20.0f;
  WorldXMax = 300.0f;
  WorldYMax = 200.0f;
  CurrentViewExtent = TExtentsPair{{1, -5.0f, -5.0f}, {5, 5.0f, 5.0f}};
  CursorCircleRadiusPx = 7;
  BuildCursorCircle();
}

void ExpectMainView(int16_t maxX, int16_t maxY, const TLayoutRect& area) {
  EXPECT_EQ(ViewScaleX, 2.0f);
  EXPECT_EQ(ViewScaleY, 2.0f);
  EXPECT_EQ(WorldXMin, -10.0f);
  EXPECT_EQ(WorldYMin, -20.0f);
  EXPECT_EQ(WorldXMax, 300.0f);
  EXPECT_EQ(WorldYMax, 200.0f);
  EXPECT_EQ(float(CurrentViewExtent.maxCorner.x), 5.0f);
  EXPECT_EQ(int(CursorCircleRadiusPx), 7);
  EXPECT_EQ(CursorCircle[0].x, 7) << "the cursor circle follows the main scale again";
  EXPECT_EQ(MaxX, maxX);
  EXPECT_EQ(MaxY, maxY);
  EXPECT_EQ(DrawingArea.x1, area.x1);
  EXPECT_EQ(DrawingArea.y1, area.y1);
  EXPECT_EQ(DrawingArea.x2, area.x2);
  EXPECT_EQ(DrawingArea.y2, area.y2);
}

// The frame (200, 100)-(500, 340): the inner area is (206, 106) .. (493, 333).
constexpr int kX1 = 200, kY1 = 100, kX2 = 500, kY2 = 340;
constexpr int kInX1 = kX1 + 6, kInY1 = kY1 + 6, kInX2 = kX2 - 7, kInY2 = kY2 - 7;
const TExtentsPair kExtent{{1, 0.0f, 0.0f}, {5, 100.0f, 50.0f}};

TEST(SubView, ShowsTheWholeExtentInsideTheFrameAndGivesEverythingBack) {
  TScreen screen;
  SetMainView();
  const int16_t mainMaxX = MaxX, mainMaxY = MaxY;
  const TLayoutRect mainArea = DrawingArea;
  const auto before = TScreen::Pixels();

  TSubViewFrame frame;
  OpenSubViewFrame(frame, kX1, kY1, kExtent, kY2, kX2);
  EXPECT_EQ(DrawingArea.x1, 0);
  EXPECT_EQ(DrawingArea.y1, 0);
  EXPECT_EQ(DrawingArea.x2, kInX2 - kInX1);
  EXPECT_EQ(DrawingArea.y2, kInY2 - kInY1);
  EXPECT_LE(WorldXMin, 0.0f);
  EXPECT_LE(WorldYMin, 0.0f);
  EXPECT_GE(WorldXMax, 100.0f);
  EXPECT_GE(WorldYMax, 50.0f);
  // The inner area is cleared to one colour.
  const uint32_t face = TScreen::PixelAt(kInX1, kInY1);
  int other = 0;
  for (int y = kInY1; y <= kInY2; ++y)
    for (int x = kInX1; x <= kInX2; ++x) other += TScreen::PixelAt(x, y) != face;
  EXPECT_EQ(other, 0);
  EXPECT_GT(TScreen::CountChanged(before, TScreen::Pixels(), kX1, kY1, kX2, kY2), 10000);

  // A diagonal of the extent lands inside the inner area, both ends visible
  // (the last pixel of a line is not drawn: the check stops short of it).
  const auto opened = TScreen::Pixels();
  SetRopCopy();
  SetPenColor(4);
  MoveToWorldPoint(0.0f, 0.0f);
  LineToWorldPoint(100.0f, 50.0f);
  const auto drawn = TScreen::Pixels();
  const int w = plat::WindowFrameBuffer().width, h = plat::WindowFrameBuffer().height;
  EXPECT_GT(TScreen::CountChanged(opened, drawn, kInX1, kInY1, kInX2, kInY2), 100);
  EXPECT_EQ(TScreen::CountChanged(opened, drawn, 0, 0, w - 1, h - 1),
            TScreen::CountChanged(opened, drawn, kInX1, kInY1, kInX2, kInY2))
      << "nothing is drawn outside the inner area";
  for (auto [wx, wy] : {std::pair{0.0f, 0.0f}, std::pair{99.0f, 49.5f}}) {
    int16_t sx = 0, sy = 0;
    WorldToScreen(wx, wy, sx, sy);
    EXPECT_NE(TScreen::PixelAt(kInX1 + sx, kInY1 + sy), face) << "world point " << wx << ", " << wy;
  }

  CloseSubViewFrame(frame);
  EXPECT_TRUE(TScreen::Pixels() == before);
  ExpectMainView(mainMaxX, mainMaxY, mainArea);
  // Window coordinates are absolute again.
  FillColorRect(10, 10, 12, 12, plat::Rgb(1, 2, 3));
  EXPECT_NE(TScreen::PixelAt(11, 11), before[size_t(11) * size_t(w) + 11]);
  const auto after = TScreen::Pixels();
  CloseSubViewFrame(frame);  // closed already: nothing happens
  EXPECT_TRUE(TScreen::Pixels() == after);
  ExpectMainView(mainMaxX, mainMaxY, mainArea);
}

TEST(SubView, LeavingAndEnteringAgainKeepsTheMainGeometry) {
  TScreen screen;
  SetMainView();
  const int16_t mainMaxX = MaxX, mainMaxY = MaxY;
  const TLayoutRect mainArea = DrawingArea;
  const auto before = TScreen::Pixels();

  TSubViewFrame frame;
  OpenSubViewFrame(frame, kX1, kY1, kExtent, kY2, kX2);
  const float subScale = ViewScaleX;
  const uint32_t face = TScreen::PixelAt(kInX1 + 3, kInY1 + 3);

  RestoreScreenGeometry(frame);
  EXPECT_EQ(MaxX, mainMaxX);
  EXPECT_EQ(DrawingArea.x2, mainArea.x2);
  EXPECT_EQ(ViewScaleX, subScale) << "the sub-view transform stays until the frame closes";
  // Window coordinates: this mark sits at (208..210, 108..110) of the window.
  FillColorRect(kInX1 + 2, kInY1 + 2, kInX1 + 4, kInY1 + 4, plat::Rgb(250, 0, 0));
  EXPECT_NE(TScreen::PixelAt(kInX1 + 3, kInY1 + 3), face);
  EXPECT_EQ(TScreen::PixelAt(kInX1 + kInX1 + 3, kInY1 + kInY1 + 3), face) << "not shifted by the inner origin";

  EnterSubViewFrame(frame, true);
  EXPECT_EQ(TScreen::PixelAt(kInX1 + 3, kInY1 + 3), face) << "entering with clear wipes the inner area";
  EXPECT_EQ(DrawingArea.x2, kInX2 - kInX1);
  EnterSubViewFrame(frame, false);  // entered twice: the main sizes must survive
  FillColorRect(0, 0, 1, 1, plat::Rgb(0, 250, 0));  // relative to the inner area
  EXPECT_NE(TScreen::PixelAt(kInX1, kInY1), face);

  CloseSubViewFrame(frame);
  EXPECT_TRUE(TScreen::Pixels() == before);
  ExpectMainView(mainMaxX, mainMaxY, mainArea);
}

}  // namespace
