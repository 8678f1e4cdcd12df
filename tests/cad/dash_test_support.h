// Dash patterns given by their lengths (drawn positive, gaps negative) for
// the dash pattern tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "cad/dash_patterns.h"

namespace dashtest {

// The pattern of the lengths, its total the sum of their sizes.
inline TDashPattern Pattern(std::initializer_list<float> lengths) {
  TDashPattern p{};
  p.count = uint8_t(lengths.size());
  int i = 0;
  for (float l : lengths) {
    p.lengths[i++] = l;
    p.total += std::fabs(l);
  }
  return p;
}

}  // namespace dashtest
