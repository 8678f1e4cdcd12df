// The global error code, the tool record with its defaults, the colours of
// tool colour numbers, the rows of default values that the parameter blocks
// are filled from, and the default radius compensation settings.
//
// TToolRecord, 140 bytes, packed, little-endian (lengths in mm, angle in
// degrees):
//   OFFSET SIZE DESCRIPTION
//        0    1 record format version (kToolRecordVersion)
//        1   41 tool name, length-prefixed, at most 40 characters
//       42    4 plunge depth                      float
//       46    4 clearance height                  float
//       50    4 tip radius                        float
//       54    4 angle                             float
//       58    4 ball radius                       float
//       62    4 shank radius                      float
//       66    4 XY feed                           float
//       70    4 Z feed                            float
//       74    4 spindle speed                     float
//       78    4 tool life path                    float
//       82    2 change station (0 = none)         int16
//       84    2 colour number                     int16
//       86   20 a rising series of 5 floats
//      106    1 choice shown with the series (one of five)
//      107    1 switch
//      108   24 six further floats (108, 112, 116, 120, 124, 128)
//      132    2 two switches
//      134    4 reserved
//      138    1 switch
//      139    1 1 when the cutting radius at the plunge depth was limited
//               to the shank radius
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// --- global error code --------------------------------------------------------
// 0 = no error. A failing operation sets it and returns; callers test it and
// clear it once handled. 1001-1011 belong to the checked file wrappers.
using TErrorCode = int32_t;
extern TErrorCode ErrorCode;

// --- tool record --------------------------------------------------------------------
constexpr uint8_t kToolRecordVersion = 53;
constexpr int kToolNameMax = 40;

#pragma pack(push, 1)
struct TToolRecord {
  uint8_t version;
  uint8_t name[kToolNameMax + 1];  // name[0] = length
  float plungeDepth;
  float clearanceHeight;
  float tipRadius;
  float angle;
  float ballRadius;
  float shankRadius;
  float feedXY;
  float feedZ;
  float spindleSpeed;
  float toolLifePath;
  int16_t changeStation;
  int16_t colorNumber;
  float series[5];
  uint8_t seriesChoice;
  uint8_t switch107;
  float extra[6];  // at 108, 112, 116, 120, 124, 128
  uint8_t switch132;
  uint8_t switch133;
  uint8_t reserved[4];
  uint8_t switch138;
  uint8_t radiusLimited;
};
#pragma pack(pop)
static_assert(sizeof(TToolRecord) == 140, "tool records are 140 bytes on disk");

// Fills every field with its default and the given colour number; the
// reserved bytes are left as they are.
void SetToolRecordDefaults(TToolRecord& tool, int16_t colorNumber);

// --- colour numbers ----------------------------------------------------------------
// The colour of a tool colour number as a packed colour value (red in the low
// byte, green, blue, high byte 0). Fourteen colours repeat for 15-28 and
// 29-31; 0 and every other number give black.
uint32_t GetColorNumberRgb(int32_t colorNumber);

// --- default rows ----------------------------------------------------------------------
// A default of a record field: its value written at its offset, count times
// stride bytes apart. Floats keep the exact bits of their float literal.
enum class TDefaultType : uint8_t { kByte, kInt16, kInt32, kFloat, kString };

struct TDefaultRow {
  uint16_t offset;
  TDefaultType type;
  int32_t whole = 0;             // kByte, kInt16, kInt32; the length limit of kString
  float real = 0.0f;             // kFloat
  const char* text = nullptr;    // kString: written length-prefixed
  uint16_t count = 1;
  uint16_t stride = 0;
};

constexpr TDefaultRow DefaultByte(uint16_t offset, uint8_t v) { return {offset, TDefaultType::kByte, v}; }
constexpr TDefaultRow DefaultInt16(uint16_t offset, int16_t v) { return {offset, TDefaultType::kInt16, v}; }
constexpr TDefaultRow DefaultInt32(uint16_t offset, int32_t v) { return {offset, TDefaultType::kInt32, v}; }
constexpr TDefaultRow DefaultFloat(uint16_t offset, float v) { return {offset, TDefaultType::kFloat, 0, v}; }
// A length-prefixed string of at most maxLength characters.
constexpr TDefaultRow DefaultString(uint16_t offset, const char* text, int32_t maxLength) {
  return {offset, TDefaultType::kString, maxLength, 0.0f, text};
}
// The row repeated count times, stride bytes apart.
constexpr TDefaultRow Repeated(TDefaultRow row, uint16_t count, uint16_t stride) {
  row.count = count;
  row.stride = stride;
  return row;
}

// Writes the rows into the record of size bytes; a field that would pass the
// record's end is not written.
void PutDefaultRows(uint8_t* record, size_t size, std::span<const TDefaultRow> rows);

// --- radius compensation and clearing settings (parameter block 7) -----------------
constexpr int kCompensationSettingsSize = 107;
void SetCompensationDefaults(uint8_t (&record)[kCompensationSettingsSize]);
