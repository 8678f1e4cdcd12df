// The global error code, tool record defaults, colours of tool colour
// numbers, the default rows and the default radius compensation settings.
#include "frame/defaults.h"

#include <algorithm>
#include <cassert>
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

}  // namespace

uint32_t GetColorNumberRgb(int32_t colorNumber) {
  if (colorNumber >= 1 && colorNumber <= 14) return kToolColours[colorNumber];
  if (colorNumber >= 15 && colorNumber <= 28) return kToolColours[colorNumber - 14];
  if (colorNumber >= 29 && colorNumber <= 31) return kToolColours[colorNumber - 28];
  return 0;
}

// --- default rows ------------------------------------------------------------------------

namespace {

void PutField(uint8_t* record, size_t size, size_t offset, const void* p, size_t n) {
  if (offset + n > size) return;  // never past the record
  std::memcpy(record + offset, p, n);
}

void PutDefaultField(uint8_t* record, size_t size, size_t offset, const TDefaultRow& row) {
  switch (row.type) {
    case TDefaultType::kByte: {
      const uint8_t v = static_cast<uint8_t>(row.whole);
      PutField(record, size, offset, &v, 1);
      break;
    }
    case TDefaultType::kInt16: {
      const int16_t v = static_cast<int16_t>(row.whole);
      PutField(record, size, offset, &v, 2);
      break;
    }
    case TDefaultType::kInt32: PutField(record, size, offset, &row.whole, 4); break;
    case TDefaultType::kFloat: PutField(record, size, offset, &row.real, 4); break;
    case TDefaultType::kString: {
      assert(row.text != nullptr && row.whole >= 0 && row.whole <= 255);
      const size_t length = std::min(std::strlen(row.text), static_cast<size_t>(row.whole));
      const uint8_t prefix = static_cast<uint8_t>(length);
      PutField(record, size, offset, &prefix, 1);
      PutField(record, size, offset + 1, row.text, length);
      break;
    }
  }
}

}  // namespace

void PutDefaultRows(uint8_t* record, size_t size, std::span<const TDefaultRow> rows) {
  for (const TDefaultRow& row : rows) {
    for (size_t i = 0; i < row.count; ++i) PutDefaultField(record, size, row.offset + i * row.stride, row);
  }
}

// --- radius compensation and clearing settings --------------------------------------

namespace {

// Block 7; bytes not listed are zeros.
constexpr TDefaultRow kCompensationDefaults[] = {
    DefaultFloat(0, 25.0f),   // A2
    DefaultFloat(4, 25.0f),   // A3
    DefaultFloat(8, 30.0f),   // ÜZ
    DefaultFloat(12, 10.0f),  // ÜO
    DefaultFloat(16, 1.0f),
    DefaultByte(20, 0),       // GL
    // 21-29 switches; byte 25 is the layer-order flag
    DefaultByte(21, 1), DefaultByte(22, 1), DefaultByte(23, 2), DefaultByte(24, 2), DefaultByte(25, 1),
    DefaultByte(26, 1), DefaultByte(27, 0), DefaultByte(28, 0), DefaultByte(29, 1),
    DefaultFloat(30, 0.2f),
    DefaultInt32(34, 0),
    DefaultInt32(38, 3),
    DefaultFloat(42, 1.0f),
    // 46-51 pairs
    DefaultByte(46, 1), DefaultByte(47, 20), DefaultByte(48, 1), DefaultByte(49, 30), DefaultByte(50, 1),
    DefaultByte(51, 50),
    DefaultByte(52, 0),
    DefaultByte(53, 0),
    Repeated(DefaultByte(54, 1), 16, 1),  // 54-69
    DefaultFloat(70, 0.5f),
    DefaultByte(74, 1),
    DefaultInt16(75, 0),
    DefaultFloat(77, 10.0f),
    DefaultFloat(81, 10.0f),
    DefaultFloat(85, 2.5f),
    DefaultInt16(89, 4),
    DefaultFloat(91, 1.0f),
    DefaultInt32(95, 0),
    DefaultFloat(99, 90.0f),
    DefaultByte(103, 'Z'),
    DefaultByte(104, 2),
    DefaultByte(105, 1),
    DefaultByte(106, 'V'),
};

}  // namespace

void SetCompensationDefaults(uint8_t (&record)[kCompensationSettingsSize]) {
  std::memset(record, 0, kCompensationSettingsSize);
  PutDefaultRows(record, kCompensationSettingsSize, kCompensationDefaults);
}
