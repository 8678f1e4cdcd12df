// Text in the drawing context: code page 1252, font sizes and advances,
// alignment, escapement, background modes, xor text and missing fonts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/fonts.h"

using namespace plat;

namespace {

constexpr uint32_t kInk = 0x000000;
constexpr uint32_t kPaper = 0xFFFFFF;

struct TPage {
  TFrameBuffer fb;
  TDc dc;
  TPage(int w, int h) {
    ResizeFrameBuffer(fb, w, h, kPaper);
    DcReset(dc, &fb);
    DcSetTextColor(dc, Rgb(0, 0, 0));
    DcSetBkMode(dc, kBkTransparent);
  }
  uint32_t At(int x, int y) const { return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)]; }
};

struct TInk {
  int count = 0;
  int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;  // inclusive box
  bool onlyInk = true;  // every changed pixel is exactly the text colour
};

TInk InkOf(const TPage& p, uint32_t paper = kPaper, uint32_t ink = kInk) {
  TInk r;
  for (int y = 0; y < p.fb.height; ++y)
    for (int x = 0; x < p.fb.width; ++x) {
      uint32_t v = p.At(x, y);
      if (v == paper) continue;
      ++r.count;
      if (v != ink) r.onlyInk = false;
      r.x0 = std::min(r.x0, x);
      r.y0 = std::min(r.y0, y);
      r.x1 = std::max(r.x1, x);
      r.y1 = std::max(r.y1, y);
    }
  return r;
}

TFontSpec Font(const char* face, int height, int width, int weight = 400, int escapement = 0, bool fixed = false) {
  TFontSpec f;
  f.face = face;
  f.height = height;
  f.width = width;
  f.weight = weight;
  f.escapement = escapement;
  f.fixedPitch = fixed;
  return f;
}

}  // namespace

TEST(TextCodePage, Win1252ToUnicode) {
  struct {
    uint8_t byte;
    uint32_t cp;
  } cases[] = {{0x41, 0x41},     {0x80, 0x20AC}, {0x81, 0x81},   {0x8A, 0x160},  {0x92, 0x2019},
               {0x96, 0x2013},   {0x9F, 0x178},  {0xA0, 0xA0},   {0xC4, 0xC4},   {0xDF, 0xDF},
               {0xFC, 0xFC},     {0x00, 0x00},   {0x9D, 0x9D}};
  for (const auto& k : cases) EXPECT_EQ(CodePointFromWin1252(k.byte), k.cp) << int(k.byte);
}

TEST(TextFonts, CharacterCellFontAdvancesEightPixels) {
  TPage p(10, 10);
  DcSelectFont(p.dc, Font("Courier New", 16, 8, 500, 0, true));
  EXPECT_EQ(DcFontHeight(p.dc), 16);
  for (std::string s : {"A", "iiii", "WWWWW", "Hello, world!", "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80", "    "})
    EXPECT_EQ(DcMeasureText(p.dc, s), 8 * int(s.size())) << s;
  EXPECT_EQ(DcMeasureText(p.dc, ""), 0);
  // The same font at an angle measures the same.
  DcSelectFont(p.dc, Font("Courier New", 16, 8, 500, 450, true));
  EXPECT_EQ(DcMeasureText(p.dc, "abcdef"), 48);
}

TEST(TextFonts, ProportionalFontsAndScaling) {
  TPage p(10, 10);
  DcSelectFont(p.dc, Font("Arial", 14, 6, 600));
  int narrow = DcMeasureText(p.dc, "iiii"), wide = DcMeasureText(p.dc, "WWWW");
  EXPECT_GT(narrow, 0);
  EXPECT_GT(wide, 2 * narrow);
  EXPECT_EQ(DcFontHeight(p.dc), 14);
  int normal = DcMeasureText(p.dc, "Fraesen");
  DcSelectFont(p.dc, Font("Arial", 14, 12, 600));
  EXPECT_GT(DcMeasureText(p.dc, "Fraesen"), normal * 3 / 2);
  EXPECT_EQ(DcFontHeight(p.dc), 14);
  DcSelectFont(p.dc, Font("Tahoma", 14, 5, 500));
  EXPECT_GT(DcMeasureText(p.dc, "Datei"), 0);
  EXPECT_EQ(DcFontHeight(p.dc), 14);
  DcSelectFont(p.dc, Font("No Such Face", 20, 0));
  EXPECT_GT(DcMeasureText(p.dc, "abc"), 0);
  EXPECT_EQ(DcFontHeight(p.dc), 20);
}

TEST(TextDraw, InkIsCrispAndInsideTheCell) {
  for (auto font : {Font("Courier New", 16, 8, 500, 0, true), Font("Arial", 14, 6, 600), Font("Tahoma", 14, 5)}) {
    TPage p(200, 60);
    DcSelectFont(p.dc, font);
    const std::string text = "Hello Wq\xE4";
    DcTextOut(p.dc, 10, 20, text);
    int w = DcMeasureText(p.dc, text), h = DcFontHeight(p.dc);
    TInk ink = InkOf(p);
    SCOPED_TRACE(font.face);
    EXPECT_GT(ink.count, 40);
    EXPECT_TRUE(ink.onlyInk) << "no blended pixels";
    EXPECT_GE(ink.x0, 10 - 1);
    EXPECT_LE(ink.x1, 10 + w);
    EXPECT_GE(ink.y0, 20);
    EXPECT_LT(ink.y1, 20 + h);
    // Drawn the same way twice: the same pixels.
    std::vector<uint32_t> first = p.fb.pixels;
    DcTextOut(p.dc, 10, 20, text);
    EXPECT_EQ(p.fb.pixels, first);
  }
}

TEST(TextDraw, BoldDrawsMoreInk) {
  TPage regular(200, 40), bold(200, 40);
  DcSelectFont(regular.dc, Font("Arial", 14, 6, 400));
  DcSelectFont(bold.dc, Font("Arial", 14, 6, 700));
  DcTextOut(regular.dc, 2, 2, "Maschine");
  DcTextOut(bold.dc, 2, 2, "Maschine");
  EXPECT_GT(InkOf(bold).count, InkOf(regular).count * 11 / 10);
}

TEST(TextDraw, AlignmentMovesTheReferencePoint) {
  const int rx = 100, ry = 30;
  struct {
    int align;
    std::function<void(const TInk&, int w, int h)> check;
  } cases[] = {
      {kAlignLeft | kAlignTop, [&](const TInk& k, int w, int h) { EXPECT_GE(k.x0, rx - 1); EXPECT_GE(k.y0, ry); EXPECT_LT(k.y1, ry + h); }},
      {kAlignRight | kAlignTop, [&](const TInk& k, int w, int h) { EXPECT_LT(k.x1, rx); EXPECT_GE(k.x0, rx - w - 1); }},
      {kAlignCenter | kAlignTop, [&](const TInk& k, int w, int h) { EXPECT_LT(k.x0, rx - w / 4); EXPECT_GT(k.x1, rx + w / 4); }},
      {kAlignLeft | kAlignBaseline, [&](const TInk& k, int w, int h) { EXPECT_LT(k.y1, ry); EXPECT_GT(k.y0, ry - h); }},
      {kAlignLeft | kAlignBottom, [&](const TInk& k, int w, int h) { EXPECT_LT(k.y1, ry - 1); EXPECT_GE(k.y0, ry - h); }},
  };
  for (const auto& k : cases) {
    TPage p(200, 60);
    DcSelectFont(p.dc, Font("Courier New", 16, 8, 500, 0, true));
    DcSetTextAlign(p.dc, k.align);
    DcTextOut(p.dc, rx, ry, "HEH");  // no descenders
    SCOPED_TRACE(k.align);
    TInk ink = InkOf(p);
    ASSERT_GT(ink.count, 0);
    k.check(ink, DcMeasureText(p.dc, "HEH"), DcFontHeight(p.dc));
  }
}

TEST(TextDraw, EscapementTurnsTheBaselineCounterClockwise) {
  {
    TPage p(120, 120);
    DcSelectFont(p.dc, Font("Arial", 14, 6, 600, 900));
    DcTextOut(p.dc, 60, 100, "Vertikal");
    TInk ink = InkOf(p);
    ASSERT_GT(ink.count, 30);
    EXPECT_TRUE(ink.onlyInk);
    EXPECT_GT(ink.y1 - ink.y0, 2 * (ink.x1 - ink.x0));  // taller than wide
    EXPECT_LE(ink.y1, 100);                              // runs upwards from the reference point
    EXPECT_GE(ink.x0, 60);                               // the cell hangs to the right (its top faces left)
    EXPECT_LE(ink.x1, 60 + 14);
  }
  {
    TPage p(160, 60);
    DcSelectFont(p.dc, Font("Arial", 14, 6, 600, 1800));
    DcTextOut(p.dc, 120, 40, "Kopf");
    TInk ink = InkOf(p);
    ASSERT_GT(ink.count, 10);
    EXPECT_LE(ink.x1, 120);  // upside down, to the left
    EXPECT_LE(ink.y1, 40);
  }
}

TEST(TextDraw, OpaqueBackgroundFillsTheCell) {
  TPage p(200, 40);
  DcSelectFont(p.dc, Font("Tahoma", 14, 5, 500));
  DcSetBkMode(p.dc, kBkOpaque);
  DcSetBkColor(p.dc, Rgb(235, 235, 235));
  DcTextOut(p.dc, 20, 10, "Panel");
  int w = DcMeasureText(p.dc, "Panel"), h = DcFontHeight(p.dc);
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      bool cell = x >= 20 && x < 20 + w && y >= 10 && y < 10 + h;
      uint32_t v = p.At(x, y);
      if (!cell) {
        EXPECT_EQ(v, kPaper) << x << "," << y;
        continue;
      }
      EXPECT_TRUE(v == kInk || v == 0xEBEBEBu) << x << "," << y;
      ink += v == kInk;
    }
  EXPECT_GT(ink, 20);
}

TEST(TextDraw, XorTextDrawnTwiceRestores) {
  for (int mode : {int(kBkTransparent), int(kBkOpaque)}) {
    for (int angle : {0, 450, 900}) {
      TPage p(160, 120);
      for (size_t i = 0; i < p.fb.pixels.size(); ++i) p.fb.pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
      std::vector<uint32_t> before = p.fb.pixels;
      DcSelectFont(p.dc, Font("Arial", 16, 0, 700, angle));
      DcSetRop2(p.dc, kRopXor);
      DcSetTextColor(p.dc, Rgb(255, 255, 0));
      DcSetBkMode(p.dc, mode);
      DcTextOut(p.dc, 40, 80, "fi ffl WAVE");
      EXPECT_NE(p.fb.pixels, before) << mode << " " << angle;
      DcTextOut(p.dc, 40, 80, "fi ffl WAVE");
      EXPECT_EQ(p.fb.pixels, before) << mode << " " << angle;
    }
  }
}

TEST(TextDraw, ClippedAndFarAwayText) {
  TPage p(100, 40);
  DcSelectFont(p.dc, Font("Courier New", 16, 8, 500, 0, true));
  DcSetClipRect(p.dc, TRect{10, 5, 30, 15});
  DcSetBkMode(p.dc, kBkOpaque);
  DcSetBkColor(p.dc, Rgb(255, 0, 0));
  DcTextOut(p.dc, 0, 0, "MMMMMMMMMM");
  DcTextOut(p.dc, INT_MAX - 5, INT_MIN + 5, "far");
  DcSetViewportOrigin(p.dc, INT_MAX, INT_MAX);
  DcTextOut(p.dc, INT_MAX, INT_MAX, "far");
  TInk ink = InkOf(p);
  EXPECT_EQ(ink.x0, 10);
  EXPECT_EQ(ink.y0, 5);
  EXPECT_EQ(ink.x1, 29);
  EXPECT_EQ(ink.y1, 14);
  EXPECT_EQ(ink.count, 20 * 10);  // the whole clip is cell: ink or background
}

TEST(TextDraw, MissingFontFilesMeasureEightPixelsAndDrawNothing) {
  std::vector<std::string> saved = Fonts.dirs;
  Fonts.dirs = {"/nonexistent-font-folder"};
  ResetFontCache();
  TPage p(100, 30);
  DcSelectFont(p.dc, Font("Arial", 14, 6, 600));
  EXPECT_EQ(DcMeasureText(p.dc, "abc"), 24);
  EXPECT_EQ(DcFontHeight(p.dc), 14);
  DcSetBkMode(p.dc, kBkOpaque);
  DcTextOut(p.dc, 5, 5, "abc");
  EXPECT_EQ(InkOf(p, kPaper, kInk).count, 0);
  Fonts.dirs = saved;
  ResetFontCache();
  DcTextOut(p.dc, 5, 5, "abc");  // the real font is back
  EXPECT_GT(InkOf(p, kPaper, kInk).count, 0);
}

TEST(TextFonts, CharacterCellGridHoldsOnAFallbackFace) {
  // Only a proportional face available: the fixed-pitch request still
  // advances exactly its width per character.
  const char* sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  ASSERT_EQ(access(sans, R_OK), 0) << "DejaVu Sans is part of the required fonts";
  std::string dir = std::string(testing::TempDir()) + "/text_test_fonts_" + std::to_string(getpid());
  mkdir(dir.c_str(), 0700);
  std::string link = dir + "/DejaVuSans.ttf";
  unlink(link.c_str());
  ASSERT_EQ(symlink(sans, link.c_str()), 0);
  std::vector<std::string> saved = Fonts.dirs;
  Fonts.dirs = {dir};
  ResetFontCache();
  TPage p(200, 30);
  DcSelectFont(p.dc, Font("Courier New", 16, 8, 500, 0, true));
  EXPECT_EQ(DcMeasureText(p.dc, "iiiWWW"), 48);
  DcTextOut(p.dc, 0, 0, "iiiWWW");
  TInk ink = InkOf(p);
  EXPECT_GT(ink.count, 0);
  EXPECT_GE(ink.x0, 0);
  EXPECT_LT(ink.x1, 48 + 8);  // wide letters of the stand-in may overhang their cells
  DcSelectFont(p.dc, Font("Arial", 14, 6, 600));  // proportional request: natural advances
  EXPECT_LT(DcMeasureText(p.dc, "iii"), DcMeasureText(p.dc, "WWW"));
  Fonts.dirs = saved;
  ResetFontCache();
  unlink(link.c_str());
  rmdir(dir.c_str());
}
