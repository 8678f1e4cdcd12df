// Angle constants of the geometry, in one place.
#pragma once

#include <numbers>

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegree = std::numbers::pi / 180.0;  // one degree in radians
// One degree in radians for float maths (the float pi over 180).
constexpr float kDegreeFloat = static_cast<float>(std::numbers::pi) / 180.0f;

static_assert(kPi == 3.14159265358979323846 && kTwoPi == 6.283185307179586);
static_assert(kDegreeFloat == 3.14159265358979f / 180.0f);
