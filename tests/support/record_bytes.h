// Vector records built field by field on a zeroed record, and their bytes as
// the drawing files hold them, for the tests that write those files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "model/vector_records.h"

namespace torvtest {

inline TVectorRecord Rec(uint8_t type, float x, float y, float z = 0) {
  TVectorRecord r;
  ZeroVectorRecord(r);
  r.type = type;
  r.x = x;
  r.y = y;
  r.z = z;
  return r;
}

inline std::string Records(std::initializer_list<TVectorRecord> records) {
  std::string bytes;
  for (const TVectorRecord& r : records) bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
  return bytes;
}

}  // namespace torvtest
