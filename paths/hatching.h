// Hatching of closed contours by horizontal scan lines.
//
// HatchContourFile fills the contours of a point file (9-byte records) with
// parallel lines at a spacing and an angle, stopping a safety distance short
// of every contour. The region is the inside of the contours by the even-odd
// rule (a hole stays empty, an island in the hole is filled again) or the
// part of a rectangle outside them. Lines can be joined into zig-zag chains
// whose connections never cross a contour. Sources of 15000 records or more
// are processed in horizontal bands of about 6000 records, so that they are
// never loaded whole.
//
// Work files: the source itself (turned in place when the angle is not 0,
// with the rectangle appended as a contour when the outside is hatched) and
// "HELP.TMP" (the unjoined lines of one band when joining).
#pragma once

#include <cstdint>
#include <string>

// The hatching parameters; the same 32-byte layout as the first 32 bytes
// of the hatch settings block, but with the angle in radians.
#pragma pack(push, 1)
struct THatchParams {
  float leftX = 0.0f;    // rectangle
  float rightX = 0.0f;
  float upperY = 0.0f;
  float lowerY = 0.0f;
  float spacing = 1.0f;  // d, distance of neighbouring lines
  float safety = 0.0f;   // g, how far a line stops short of a contour
  float angle = 0.0f;    // radians, the lines' angle with the x axis
  uint8_t inside = 1;    // 1 inside of the contours, 0 rectangle outside them
  uint8_t join = 0;      // 1 join the lines into zig-zag chains
  uint8_t blockWise = 0; // read by the callers only (tiled hatching)
  uint8_t oneWay = 0;    // 1 every line runs towards increasing x
};
#pragma pack(pop)
static_assert(sizeof(THatchParams) == 32);

// Result bytes. Callers set the global error code to the result plus 20.
constexpr uint8_t kHatchOk = 0;
constexpr uint8_t kHatchAborted = 3;           // Esc confirmed, or a write failure already told
constexpr uint8_t kHatchRectangleTooSmall = 20;
constexpr uint8_t kHatchEmptySource = 21;
constexpr uint8_t kHatchBadData = 22;          // coordinates not finite or beyond +-1e6 mm
constexpr uint8_t kHatchTooDense = 23;         // a band is too dense, or a spacing below 0.001
constexpr uint8_t kHatchTooManyLines = 24;     // more than 45000 lines of one band to join
constexpr uint8_t kHatchBadAngle = 25;         // |angle| >= 2 pi

// Least spacing a hatch accepts (mm); smaller ones give kHatchTooDense.
constexpr float kMinHatchSpacing = 0.001f;
// Coordinates beyond this (mm) are refused as broken data.
constexpr double kMaxHatchCoordinate = 1.0e6;
// Points of one band; a band that counts more is taken again, smaller.
constexpr int32_t kMaxBandPoints = 30000;
// Sources with fewer records are one band.
constexpr int32_t kSingleBandRecords = 15000;
constexpr int32_t kMaxJoinLines = 45000;

// Hatches the contours of the point file source into the point file target
// (see above). colour >= 0 draws the lines in that colour. params is changed:
// with inside 1 the rectangle becomes the contours' extents (turned), a
// negative safety distance becomes 0, with angle != 0 and inside 0 the
// inside flag becomes 1 (the rectangle then is a contour of the source).
void HatchContourFile(const std::string& source, const std::string& target, int16_t colour, THatchParams& params,
                      uint8_t showProgress, uint8_t& result);

// Turns (x, y) about the origin by alpha (single precision, through the
// polar angle); alpha 0 leaves the point unchanged.
void RotatePoint(float& x, float& y, float alpha);

// Hatches the contours of a vector file with spacing d, safety distance d/2,
// angle 0, inside, joined: on success the file holds the hatch lines (z 0)
// followed by its former records. Work files "VekH2R0.H2R", "VekH2R1.H2R",
// "VekAR12.TMP". A failure leaves the file as it was.
void HatchContoursInPlace(const std::string& file, int16_t colour, float d);
