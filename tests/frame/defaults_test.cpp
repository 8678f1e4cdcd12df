// Tool record layout and defaults, tool colours, compensation defaults.
#include "frame/defaults.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

// The record is a file format: every field at its documented offset.
static_assert(offsetof(TToolRecord, name) == 1);
static_assert(offsetof(TToolRecord, plungeDepth) == 42);
static_assert(offsetof(TToolRecord, clearanceHeight) == 46);
static_assert(offsetof(TToolRecord, tipRadius) == 50);
static_assert(offsetof(TToolRecord, angle) == 54);
static_assert(offsetof(TToolRecord, ballRadius) == 58);
static_assert(offsetof(TToolRecord, shankRadius) == 62);
static_assert(offsetof(TToolRecord, feedXY) == 66);
static_assert(offsetof(TToolRecord, feedZ) == 70);
static_assert(offsetof(TToolRecord, spindleSpeed) == 74);
static_assert(offsetof(TToolRecord, toolLifePath) == 78);
static_assert(offsetof(TToolRecord, changeStation) == 82);
static_assert(offsetof(TToolRecord, colorNumber) == 84);
static_assert(offsetof(TToolRecord, series) == 86);
static_assert(offsetof(TToolRecord, seriesChoice) == 106);
static_assert(offsetof(TToolRecord, switch107) == 107);
static_assert(offsetof(TToolRecord, extra) == 108);
static_assert(offsetof(TToolRecord, switch132) == 132);
static_assert(offsetof(TToolRecord, reserved) == 134);
static_assert(offsetof(TToolRecord, switch138) == 138);
static_assert(offsetof(TToolRecord, radiusLimited) == 139);

float FloatAt(const uint8_t* p, int offset) {
  float v;
  std::memcpy(&v, p + offset, 4);
  return v;
}

TEST(ToolRecordTest, DefaultsOverwriteEveryFieldButTheReservedBytes) {
  TToolRecord tool;
  std::memset(&tool, 0xA5, sizeof tool);
  SetToolRecordDefaults(tool, 12);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(&tool);
  EXPECT_EQ(p[0], 53);
  EXPECT_EQ(p[1], 0) << "empty name";
  const float floats[10] = {0, 0.5f, 0, 0, 0, 2.0f, 2.0f, 1.0f, 0, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(FloatAt(p, 42 + 4 * i), floats[i]) << "offset " << 42 + 4 * i;
  EXPECT_EQ(int(tool.changeStation), 0);  // packed fields: copy, never bind
  EXPECT_EQ(int(tool.colorNumber), 12);
  // Everything from 86 on is zero except the reserved bytes 134-137.
  for (int i = 86; i < 140; ++i) {
    if (i >= 134 && i < 138) {
      EXPECT_EQ(p[i], 0xA5) << "byte " << i;
    } else {
      EXPECT_EQ(p[i], 0) << "byte " << i;
    }
  }
}

TEST(ToolColourTest, FourteenColoursRepeat) {
  struct TCase {
    int32_t number;
    uint32_t rgb;
  };
  const TCase cases[] = {
      {0, 0x000000},  {1, 0x800000},  {2, 0x008000},  {3, 0x808000},  {4, 0x000080},
      {5, 0x800080},  {6, 0x000080},  {7, 0xC0C0C0},  {8, 0x808080},  {9, 0xFF0000},
      {10, 0x00FF00}, {11, 0xFFFF00}, {12, 0x0000FF}, {13, 0xFF00FF}, {14, 0x00FFFF},
      {-1, 0},        {32, 0},        {1000, 0},      {-32768, 0},
  };
  for (const TCase& c : cases) EXPECT_EQ(GetColorNumberRgb(c.number), c.rgb) << c.number;
  for (int n = 1; n <= 14; ++n) EXPECT_EQ(GetColorNumberRgb(n + 14), GetColorNumberRgb(n)) << n;
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(GetColorNumberRgb(n + 28), GetColorNumberRgb(n)) << n;
}

TEST(CompensationDefaultsTest, BlockSevenRecord) {
  uint8_t r[kCompensationSettingsSize];
  std::memset(r, 0xEE, sizeof r);
  SetCompensationDefaults(r);
  const struct {
    int offset;
    float value;
  } floats[] = {{0, 25.0f}, {4, 25.0f}, {8, 30.0f},  {12, 10.0f}, {16, 1.0f},  {30, 0.2f},  {42, 1.0f},
                {70, 0.5f}, {77, 10.0f}, {81, 10.0f}, {85, 2.5f},  {91, 1.0f},  {99, 90.0f}};
  for (const auto& f : floats) EXPECT_EQ(FloatAt(r, f.offset), f.value) << "offset " << f.offset;
  const uint8_t switches[9] = {1, 1, 2, 2, 1, 1, 0, 0, 1};
  EXPECT_EQ(std::memcmp(r + 21, switches, 9), 0);
  const uint8_t pairs[6] = {1, 20, 1, 30, 1, 50};
  EXPECT_EQ(std::memcmp(r + 46, pairs, 6), 0);
  for (int i = 54; i < 70; ++i) EXPECT_EQ(r[i], 1) << i;
  EXPECT_EQ(r[20], 0);
  EXPECT_EQ(r[38], 3);
  EXPECT_EQ(r[74], 1);
  EXPECT_EQ(r[89], 4);
  EXPECT_EQ(r[103], 'Z');
  EXPECT_EQ(r[104], 2);
  EXPECT_EQ(r[105], 1);
  EXPECT_EQ(r[106], 'V');
  for (int i : {34, 35, 36, 37, 52, 53, 75, 76, 95, 96, 97, 98}) EXPECT_EQ(r[i], 0) << i;
}

}  // namespace
