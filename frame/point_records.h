// Point records and extents pairs: the 9-byte records of point files and the
// two corners that extents are kept in, by the drawing and by the settings
// (the layout area of the parameter file).
//
// TPointRecord, 9 bytes, packed, little-endian:
//   OFFSET SIZE DESCRIPTION
//        0    1 type, as the type of a vector record (model/vector_records.h)
//        1    4 x, float, millimetres
//        5    4 y, float
// TExtentsPair, 18 bytes: minimum corner (type 1), maximum corner (type 5)
// as point records.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct TPointRecord {
  uint8_t type;
  float x;
  float y;
};
struct TExtentsPair {
  TPointRecord minCorner;  // type 1
  TPointRecord maxCorner;  // type 5
};
#pragma pack(pop)
static_assert(sizeof(TPointRecord) == 9);
static_assert(sizeof(TExtentsPair) == 18);
