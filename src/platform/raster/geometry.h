#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace quillo {

// A point in client pixels: origin top left, y downward.
struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

// A rectangle used corner to corner as stored: right and bottom lie just outside,
// and a rectangle whose right is left of its left (or bottom above top) is not
// normalised, because stretching copies mirror by it.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;

  constexpr int64_t Width() const { return int64_t{right} - left; }
  constexpr int64_t Height() const { return int64_t{bottom} - top; }
  // True when the normalised rectangle holds no pixel.
  constexpr bool Empty() const { return right == left || bottom == top; }
};

constexpr Rect MakeRect(Point a, Point b) {
  return Rect{a.x, a.y, b.x, b.y};
}

// The same rectangle with left <= right and top <= bottom.
constexpr Rect Normalized(const Rect& r) {
  return Rect{r.left < r.right ? r.left : r.right, r.top < r.bottom ? r.top : r.bottom,
              r.left < r.right ? r.right : r.left, r.top < r.bottom ? r.bottom : r.top};
}

// Intersection of two normalised rectangles; empty (all zero) when they do not meet.
Rect Intersect(const Rect& a, const Rect& b);

// Smallest normalised rectangle holding both; an empty side is ignored.
Rect Union(const Rect& a, const Rect& b);

// A colour as 0x00BBGGRR: red in the low byte.
using Color = uint32_t;

constexpr Color Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return (r & 255u) | ((g & 255u) << 8) | ((b & 255u) << 16);
}
constexpr uint32_t RedOf(Color c) {
  return c & 255u;
}
constexpr uint32_t GreenOf(Color c) {
  return (c >> 8) & 255u;
}
constexpr uint32_t BlueOf(Color c) {
  return (c >> 16) & 255u;
}

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with halves
// away from zero. Like the platform call it stands for, it returns -1 when c is 0
// or the result does not fit in 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// v rounded to the nearest integer, halves to the even neighbour; values beyond the
// 32-bit range saturate and NaN gives 0.
inline int32_t Nearest(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  // Within the range, adding and taking away 1.5 * 2^52 rounds in the current (to
  // nearest, ties to even) mode exactly as nearbyint does, without a library call:
  // the sum lies where doubles are whole numbers and the difference is exact.
  constexpr double kRounder = 6755399441055744.0;
  return static_cast<int32_t>((v + kRounder) - kRounder);
}

}  // namespace quillo
