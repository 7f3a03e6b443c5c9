#pragma once

#include <cstdint>

namespace quillo {

// A channel sum of the colour field inside the field, rounded to the nearest integer
// with halves to even and held to 0..255. The sums are weights in [0, 1] times
// channels, so finite and far below 2^51, where adding and taking away 1.5 * 2^52
// rounds as nearbyint does (without fast-math the compiler keeps both steps). Selects
// rather than branches, so loops of it run on vectors.
inline uint32_t FieldChannel(double t) {
  constexpr double kRounder = 6755399441055744.0;  // 1.5 * 2^52
  double v = (t + kRounder) - kRounder;
  v = v < 0.0 ? 0.0 : v;
  v = v > 255.0 ? 255.0 : v;
  return static_cast<uint32_t>(static_cast<int32_t>(v));
}

}  // namespace quillo
