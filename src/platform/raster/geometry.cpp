#include "platform/raster/geometry.h"

#include <algorithm>
#include <limits>

namespace quillo {

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) return Rect{};
  return r;
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.left >= a.right || a.top >= a.bottom) return b;
  if (b.left >= b.right || b.top >= b.bottom) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t num = int64_t{a} * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  // Round half away from zero.
  int64_t q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
  if (q > std::numeric_limits<int32_t>::max() || q < std::numeric_limits<int32_t>::min()) return -1;
  return static_cast<int32_t>(q);
}

}  // namespace quillo
