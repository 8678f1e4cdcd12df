// The layers in use, the colours of the layers and of the paper.
#include "frame/layer_colours.h"

uint8_t HighestLayer = 0;
uint8_t CurrentLayer = 0;

int16_t PaperColor = 261;

int16_t MapLayerToColorIndex(int32_t n) {
  static const int16_t kLowLayerColours[11] = {8, 6, 2, 3, 1, 5, 14, 10, 11, 9, 13};
  const int32_t r = n % 27;
  if (r < 0) return 6;
  if (r == 0) return PaperColor == 274 ? 7 : 8;
  if (r <= 10) return kLowLayerColours[r];
  return int16_t(r + 5);
}

int16_t ContrastTextColor(int32_t n) {
  switch (MapLayerToColorIndex(n)) {
    case 7: case 9: case 10: case 11: case 13: case 14: return 274;
    default: return 15;
  }
}
