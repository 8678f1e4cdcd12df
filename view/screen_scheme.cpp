// The screen scheme: palette, paper colour, band colours, gradient bar.
#include "view/screen_scheme.h"

#include <algorithm>

#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "view/view_transform.h"

// --- palette -----------------------------------------------------------------------

namespace {
// The standard colours 0-15 (black, blue, green, cyan, red, magenta, brown,
// light grey, dark grey, light blue ... white).
const uint8_t kStandardColours[16][3] = {
    {0, 0, 0},       {0, 0, 170},    {0, 170, 0},    {0, 170, 170},   {170, 0, 0},     {170, 0, 170},
    {170, 85, 0},    {170, 170, 170}, {85, 85, 85},  {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
    {255, 85, 85},   {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};
}  // namespace

void InitScreenPalette() {
  uint8_t rgb[256 * 3] = {};
  for (int i = 0; i < 16; ++i)
    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = kStandardColours[i][c];
  // 16-31: the standard colours at half intensity.
  for (int i = 16; i < 32; ++i)
    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = uint8_t(kStandardColours[i - 16][c] / 2);
  int size = PaletteSize > 0 && PaletteSize <= 256 ? PaletteSize : 245;
  for (int i = 32; i < size; ++i) {
    uint8_t g = uint8_t((i - 32) * 255 / std::max(1, size - 33));
    rgb[i * 3] = rgb[i * 3 + 1] = rgb[i * 3 + 2] = g;
  }
  LoadPaletteEntries(rgb, 0, size);
}

void SetReliefPalette() {
  if (PaletteSize >= 32) InitScreenPalette();
}

void SetReliefPaletteVariant(uint8_t) { SetReliefPalette(); }

void ApplyColourScheme() {
  uint8_t block3[121] = {};
  GetParamBlock(3, block3, sizeof block3);
  switch (block3[52] & 7) {
    case 1: case 2: PaperColor = 261; break;
    case 3: PaperColor = 511; break;
    case 4: PaperColor = 274; break;
    default: break;
  }
}

// --- rubber bands and previews --------------------------------------------------------

int16_t BandColor = 12;
uint8_t CurvePointCount = 40;

// --- gradient bar ----------------------------------------------------------------------

void DrawColourGradientBar(int x1, int y1, int x2, int y2) {
  if (y2 <= y1) return;
  for (int y = y1; y <= y2; ++y) {
    int t = (y - y1) * 255 / (y2 - y1);
    SetPenRgb(plat::Rgb(t, 64 + t / 2, 255 - t));
    DrawScreenLine(x1, y, x2 + 1, y);
  }
}
