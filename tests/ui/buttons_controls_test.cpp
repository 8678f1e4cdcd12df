// The button painters: face, frame, picture and caption placement, the
// caption codes with their pictures and corner markers, and the arrow
// buttons of a scroll bar.
#include "ui/buttons_controls.h"

#include <algorithm>

#include "commands/bar_screen.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "view/cursor_tracking.h"

namespace {

using uitest::TScreen;

// The button (100, 100)-(160, 125): centre (129, 112) once the right and
// bottom bounds are made exclusive.
constexpr TButtonRect kButton{1, 100, 100, 160, 125};
constexpr int kLeftPictureX = 106, kCentredPictureX = 129 - 14 + 6, kPictureY = 104;

uint32_t Pixel(int x, int y) { return TScreen::PixelAt(x, y) & 0xFFFFFF; }
uint32_t PixelOf(plat::TColorRef c) { return plat::PixelFromColorRef(c) & 0xFFFFFF; }

TEST(Buttons, ADegenerateButtonDrawsNothing) {
  TScreen screen;
  const auto before = TScreen::Pixels();
  DrawIconButton("OK", "Abbruch", TButtonRect{1, 100, 100, 100, 130}, 0, 274, 260);
  DrawIconButton("OK", "Abbruch", TButtonRect{1, 100, 100, 130, 99}, 0, 274, 260);
  EXPECT_TRUE(TScreen::Pixels() == before);
}

TEST(Buttons, FaceFrameAndPicture) {
  TScreen screen;
  // Raised, grey face, picture at the left of a one-blank caption.
  DrawIconButton(" ", "Abbruch", kButton, 0, 274, 260);
  EXPECT_EQ(Pixel(150, 120), PixelOf(plat::Rgb(192, 192, 192)));
  EXPECT_EQ(Pixel(101, 101), PixelOf(GetColorRef(261))) << "raised: light top-left edge";
  EXPECT_EQ(bartest::PictureDiffers("Abbruch", kLeftPictureX, kPictureY), 0);
  // Pressed, another face colour.
  DrawIconButton(" ", "", kButton, 1, 274, 12);
  EXPECT_NE(Pixel(101, 101), PixelOf(GetColorRef(261))) << "pressed: dark top-left edge";
  EXPECT_EQ(Pixel(150, 120), PixelOf(GetColorRef(12)));
  EXPECT_GT(bartest::PictureDiffers("Abbruch", kLeftPictureX, kPictureY), 0);
  // An empty caption shows no picture even when one is named.
  DrawIconButton("", "Abbruch", kButton, 0, 274, 260);
  EXPECT_GT(bartest::PictureDiffers("Abbruch", kLeftPictureX, kPictureY), 0);
  EXPECT_EQ(Pixel(kLeftPictureX + 8, kPictureY + 8), PixelOf(plat::Rgb(192, 192, 192)));
}

TEST(Buttons, CaptionCodesDrawTheirPictures) {
  TScreen screen;
  const struct {
    uint8_t code;
    const char* picture;  // null: drawn as text
    int x;
  } kCases[] = {
      {1, "MarkAbLi", kCentredPictureX},   {2, "MarkAb", kCentredPictureX},     {4, "MarkLinks", kCentredPictureX},
      {6, "MarkRechts", kCentredPictureX}, {10, "MarkStPkt", kCentredPictureX}, {16, "MarkSuch", kCentredPictureX},
      {11, "GrafikZoomP", kLeftPictureX},  {14, "GrafikNeu", kLeftPictureX},    {5, nullptr, 0},
      {0, nullptr, 0},                     {17, nullptr, 0},
  };
  CommandSubMode = 5;  // no corner marker over code 11
  for (const auto& c : kCases) {
    DrawIconButton(std::string(1, char(c.code)), "", kButton, 0, 274, 260);
    if (c.picture != nullptr) {
      EXPECT_EQ(bartest::PictureDiffers(c.picture, c.x, kPictureY), 0) << int(c.code);
      ASSERT_NE(FindCaptionCode(c.code), nullptr);
    } else {
      EXPECT_EQ(FindCaptionCode(c.code), nullptr) << int(c.code);
    }
  }
  CommandSubMode = 0;
}

TEST(Buttons, CornerMarkersFollowTheSubMode) {
  TScreen screen;
  // The top-strip button (200, 26)-(225, 51); the marker of a centred code
  // stands at its moved left edge cx - 14, of a left code at x1.
  const TButtonRect bar{1, 200, 26, 225, 51};
  const int cx = (200 + 224) / 2;
  const struct {
    uint8_t code;
    uint8_t subMode;
    bool marker;
    int markerX;
  } kCases[] = {
      {7, 0, true, cx - 14},  {7, 5, true, cx - 14},  {15, 1, true, 200},  {16, 0, false, cx - 14},
      {11, 0, true, 200},     {11, 5, false, 200},    {12, 1, true, 200},  {12, 5, false, 200},
      {13, 1, true, 200},     {13, 0, false, 200},    {13, 5, false, 200}, {14, 1, false, 200},
  };
  for (const auto& c : kCases) {
    CommandSubMode = c.subMode;
    DrawIconButton(std::string(1, char(c.code)), "", bar, 0, 274, 260);
    const int differs = bartest::PictureDiffers("MarkF2", c.markerX + 3, 43);
    EXPECT_EQ(differs == 0, c.marker) << "code " << int(c.code) << " sub-mode " << int(c.subMode);
  }
  CommandSubMode = 0;
}

TEST(Buttons, CaptionButtonDrawsText) {
  TScreen screen;
  DrawCaptionButton("", kButton, 260, 0, 274);
  const auto blank = TScreen::Pixels();
  DrawCaptionButton("OK", kButton, 260, 0, 274);
  EXPECT_GT(TScreen::CountChanged(blank, TScreen::Pixels(), 110, 103, 150, 122), 10) << "the text shows";
}

TEST(Buttons, GreyFaceAndScrollBarButtons) {
  TScreen screen;
  DrawGreyButtonFace(TButtonRect{1, 300, 300, 340, 320});
  EXPECT_EQ(Pixel(320, 310), PixelOf(plat::Rgb(192, 192, 192)));
  EXPECT_EQ(Pixel(300, 310), PixelOf(GetColorRef(274)));

  TButtonRect b[4];
  DrawScrollBarButtons(600, 100, 500, 20, b[0], b[1], b[2], b[3]);
  const int expected[4][4] = {{580, 100, 600, 120}, {580, 120, 600, 140}, {580, 460, 600, 480}, {580, 480, 600, 500}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(int(b[i].flag), 1);
    EXPECT_EQ(int(b[i].x1), expected[i][0]);
    EXPECT_EQ(int(b[i].y1), expected[i][1]);
    EXPECT_EQ(int(b[i].x2), expected[i][2]);
    EXPECT_EQ(int(b[i].y2), expected[i][3]);
  }
  // The bottom pair shows the top pair's arrows upside down.
  int mirrored = 0, black = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint32_t top = Pixel(581 + x, 121 + y), bottom = Pixel(581 + x, 461 + 15 - y);
      mirrored += top == bottom;
      black += top == 0;
    }
  EXPECT_EQ(mirrored, 256);
  EXPECT_GT(black, 20) << "an arrow is drawn";
  EXPECT_TRUE(IsPointInButton(b[3], 600, 500));
  EXPECT_FALSE(IsPointInButton(b[3], 601, 500));
}

// The maker's logo: drawn only into a box wider than the logo plus 30 and
// taller than the logo plus 62, 15 pixels from its right and bottom edges,
// the white round it left out, faded towards white by the scale.
int ChangedOutside(const std::vector<uint32_t>& before, int x1, int y1, int x2, int y2) {
  return TScreen::CountChanged(before, TScreen::Pixels(), 0, 0, MaxX, MaxY) -
         TScreen::CountChanged(before, TScreen::Pixels(), x1, y1, x2, y2);
}

TEST(MakerLogo, StandsInTheLowerRightCornerOfABoxLargeEnough) {
  TScreen screen;
  const int16_t keepVariant = VariantNumber;
  VariantNumber = 0;
  auto before = TScreen::Pixels();
  DrawMakerLogo(100, 100, 227, 1.0f, 300);  // 127 wide: too narrow
  DrawMakerLogo(100, 100, 300, 1.0f, 222);  // 122 high: too low
  EXPECT_TRUE(TScreen::Pixels() == before);
  DrawMakerLogo(100, 100, 228, 1.0f, 223);
  // The logo covers (228 - 15 - 97, 223 - 15 - 60) to 97 x 60 pixels.
  EXPECT_GT(TScreen::CountChanged(before, TScreen::Pixels(), 116, 148, 212, 207), 300);
  EXPECT_EQ(ChangedOutside(before, 116, 148, 212, 207), 0);
  EXPECT_LT(TScreen::CountChanged(before, TScreen::Pixels(), 116, 148, 212, 207), 97 * 60 / 2)
      << "the white round the logo is left out";
  EXPECT_FALSE(std::filesystem::exists(screen.Dir() / "_BildDat.BMP"));
  EXPECT_FALSE(std::filesystem::exists(screen.Dir() / "_BildDat.GIF"));

  // Variant 13 draws the wide logo (185 x 44).
  VariantNumber = 13;
  before = TScreen::Pixels();
  DrawMakerLogo(400, 100, 700, 1.0f, 300);
  EXPECT_GT(TScreen::CountChanged(before, TScreen::Pixels(), 500, 241, 584, 284), 100) << "left of a narrow logo";
  EXPECT_EQ(ChangedOutside(before, 500, 241, 684, 284), 0);
  VariantNumber = keepVariant;
}

TEST(MakerLogo, WithoutThePictureTableNothingIsDrawnAndNoErrorSet) {
  TScreen screen;
  std::filesystem::remove(screen.Dir() / "MVKBiPrg.DAT");
  ErrorCode = 0;
  const auto before = TScreen::Pixels();
  DrawMakerLogo(100, 100, 400, 1.4f, 300);
  EXPECT_TRUE(TScreen::Pixels() == before);
  EXPECT_EQ(ErrorCode, 0);
}

TEST(MakerLogo, TheScaleFadesItTowardsWhite) {
  TScreen screen;
  const int16_t keepVariant = VariantNumber;
  VariantNumber = 0;
  // Darkest red part of the drawn pixels over a black box.
  auto darkest = [](float scale) {
    FillColorRect(100, 100, 300, 300, plat::Rgb(0, 0, 0));
    DrawMakerLogo(100, 100, 300, scale, 300);
    int least = 256, drawn = 0;
    for (int y = 225; y < 285; ++y)
      for (int x = 188; x < 285; ++x) {
        const uint32_t p = Pixel(x, y);
        if (p == 0) continue;
        ++drawn;
        least = std::min(least, int(p >> 16 & 0xFF));
      }
    EXPECT_GT(drawn, 300) << "scale " << scale;
    return least;
  };
  EXPECT_LT(darkest(1.0f), 60);
  EXPECT_GE(darkest(2.0f), 126);
  VariantNumber = keepVariant;
}

}  // namespace
