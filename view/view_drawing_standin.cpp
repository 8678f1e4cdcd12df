// TEMPORARY STAND-IN for the view transform module; see the header.
#include "view/view_drawing_standin.h"

int16_t PaperColor = 261;

void DrawVectorRecord(const TVectorRecord&) {}

void FlushDashedContour() {}

int16_t MapLayerToColorIndex(int32_t n) {
  static const int16_t kLowLayerColours[11] = {8, 6, 2, 3, 1, 5, 14, 10, 11, 9, 13};
  const int32_t r = n % 27;
  if (r < 0) return 6;
  if (r == 0) return PaperColor == 274 ? 7 : 8;
  if (r <= 10) return kLowLayerColours[r];
  return static_cast<int16_t>(r + 5);
}
