// Popup frames keep the screen under a dialog and give it back unchanged,
// also after the dialog was dragged; edges and gradients by their colours.
#include "ui/panels.h"

#include "frame/param_file.h"
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
