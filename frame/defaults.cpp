// The global error code, tool record defaults, colours of tool colour
// numbers and the default radius compensation settings.
#include "frame/defaults.h"

#include <cstring>

TErrorCode ErrorCode = 0;

// --- tool record --------------------------------------------------------------------

void SetToolRecordDefaults(TToolRecord& tool, int16_t colorNumber) {
  tool.version = kToolRecordVersion;
  std::memset(tool.name, 0, sizeof tool.name);
  tool.plungeDepth = 0.0f;
  tool.clearanceHeight = 0.5f;
  tool.tipRadius = 0.0f;
  tool.angle = 0.0f;
  tool.ballRadius = 0.0f;
  tool.shankRadius = 2.0f;
  tool.feedXY = 2.0f;
  tool.feedZ = 1.0f;
  tool.spindleSpeed = 0.0f;
  tool.toolLifePath = 0.0f;
  tool.changeStation = 0;
  tool.colorNumber = colorNumber;
  for (int i = 0; i < 5; ++i) tool.series[i] = 0.0f;
  tool.seriesChoice = 0;
  tool.switch107 = 0;
  for (int i = 0; i < 6; ++i) tool.extra[i] = 0.0f;
  tool.switch132 = 0;
  tool.switch133 = 0;
  tool.switch138 = 0;
  tool.radiusLimited = 0;
}

// --- colour numbers ----------------------------------------------------------------

namespace {

constexpr uint32_t PackRgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// Colours of the numbers 1-14 (index 0 unused).
constexpr uint32_t kToolColours[15] = {
    0,
    PackRgb(0, 0, 128),      // 1 dark blue
    PackRgb(0, 128, 0),      // 2 dark green
    PackRgb(0, 128, 128),    // 3 dark cyan
    PackRgb(128, 0, 0),      // 4 dark red
    PackRgb(128, 0, 128),    // 5 purple
    PackRgb(128, 0, 0),      // 6 dark red
    PackRgb(192, 192, 192),  // 7 light grey
    PackRgb(128, 128, 128),  // 8 dark grey
    PackRgb(0, 0, 255),      // 9 blue
    PackRgb(0, 255, 0),      // 10 green
    PackRgb(0, 255, 255),    // 11 cyan
    PackRgb(255, 0, 0),      // 12 red
    PackRgb(255, 0, 255),    // 13 magenta
    PackRgb(255, 255, 0),    // 14 yellow
};

void PutFloat(uint8_t* p, int offset, float v) { std::memcpy(p + offset, &v, 4); }
void PutInt16(uint8_t* p, int offset, int16_t v) { std::memcpy(p + offset, &v, 2); }
void PutInt32(uint8_t* p, int offset, int32_t v) { std::memcpy(p + offset, &v, 4); }

}  // namespace

uint32_t GetColorNumberRgb(int32_t colorNumber) {
  if (colorNumber >= 1 && colorNumber <= 14) return kToolColours[colorNumber];
  if (colorNumber >= 15 && colorNumber <= 28) return kToolColours[colorNumber - 14];
  if (colorNumber >= 29 && colorNumber <= 31) return kToolColours[colorNumber - 28];
  return 0;
}

// --- radius compensation and clearing settings --------------------------------------

void SetCompensationDefaults(uint8_t (&record)[kCompensationSettingsSize]) {
  uint8_t* p = record;
  std::memset(p, 0, kCompensationSettingsSize);
  PutFloat(p, 0, 25.0f);  // A2
  PutFloat(p, 4, 25.0f);  // A3
  PutFloat(p, 8, 30.0f);  // ÜZ
  PutFloat(p, 12, 10.0f); // ÜO
  PutFloat(p, 16, 1.0f);
  p[20] = 0;  // GL
  const uint8_t switches[9] = {1, 1, 2, 2, 1, 1, 0, 0, 1};  // 21-29; byte 25 is the layer-order flag
  std::memcpy(p + 21, switches, sizeof switches);
  PutFloat(p, 30, 0.2f);
  PutInt32(p, 34, 0);
  PutInt32(p, 38, 3);
  PutFloat(p, 42, 1.0f);
  const uint8_t pairs[6] = {1, 20, 1, 30, 1, 50};  // 46-51
  std::memcpy(p + 46, pairs, sizeof pairs);
  p[52] = 0;
  p[53] = 0;
  std::memset(p + 54, 1, 16);  // 54-69
  PutFloat(p, 70, 0.5f);
  p[74] = 1;
  PutInt16(p, 75, 0);
  PutFloat(p, 77, 10.0f);
  PutFloat(p, 81, 10.0f);
  PutFloat(p, 85, 2.5f);
  PutInt16(p, 89, 4);
  PutFloat(p, 91, 1.0f);
  PutInt32(p, 95, 0);
  PutFloat(p, 99, 90.0f);
  p[103] = 'Z';
  p[104] = 2;
  p[105] = 1;
  p[106] = 'V';
}
