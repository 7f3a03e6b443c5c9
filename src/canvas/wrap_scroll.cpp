// The wrap-around shift is a rotation of the area's rows, each row rotated by the
// same amount. Rows are moved along the cycles of the vertical rotation, so every
// row is read and written once, straight into its new place, with one row held
// aside per cycle; a purely horizontal shift rotates each row in place.
#include "canvas/wrap_scroll.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace quillo {
namespace {

// v mod n in 0 .. n - 1 for any sign of v; n > 0.
int32_t Wrap(int64_t v, int32_t n) {
  const int64_t m = v % n;
  return static_cast<int32_t>(m < 0 ? m + n : m);
}

// dst[(x + c) mod w] = src[x] for distinct rows.
void RotateInto(uint32_t* dst, const uint32_t* src, size_t w, size_t c) {
  std::memcpy(dst + c, src, (w - c) * sizeof(uint32_t));
  std::memcpy(dst, src + (w - c), c * sizeof(uint32_t));
}

// row[(x + c) mod w] = row[x] in place, the shorter piece held aside; 0 < c < w.
void RotateInPlace(uint32_t* row, size_t w, size_t c, uint32_t* aside) {
  const size_t rest = w - c;
  if (c <= rest) {
    std::memcpy(aside, row + rest, c * sizeof(uint32_t));
    std::memmove(row + c, row, rest * sizeof(uint32_t));
    std::memcpy(row, aside, c * sizeof(uint32_t));
  } else {
    std::memcpy(aside, row, rest * sizeof(uint32_t));
    std::memmove(row, row + rest, c * sizeof(uint32_t));
    std::memcpy(row + c, aside, rest * sizeof(uint32_t));
  }
}

}  // namespace

Rect WrapPixels(Surface& surface, int32_t w, int32_t h, int64_t dx, int64_t dy,
                std::vector<uint32_t>& scratch) {
  w = std::min(w, surface.Width());
  h = std::min(h, surface.Height());
  if (w <= 0 || h <= 0) return {};
  const int32_t c = Wrap(dx, w);
  const int32_t d = Wrap(dy, h);
  if (c == 0 && d == 0) return {};

  const size_t stride = static_cast<size_t>(surface.Width());
  const size_t width = static_cast<size_t>(w);
  uint32_t* bits = surface.Bits();
  auto row = [&](int32_t y) { return bits + static_cast<size_t>(y) * stride; };
  if (scratch.size() < width) scratch.resize(width);
  uint32_t* aside = scratch.data();

  if (d == 0) {
    for (int32_t y = 0; y < h; ++y)
      RotateInPlace(row(y), width, static_cast<size_t>(c), aside);
  } else {
    // Row y goes to row (y + d) mod h: walking a cycle backwards, each row is filled
    // from its source before that source is overwritten.
    const int32_t cycles = std::gcd(d, h);
    for (int32_t start = 0; start < cycles; ++start) {
      std::memcpy(aside, row(start), width * sizeof(uint32_t));
      int32_t to = start;
      for (;;) {
        int32_t from = to - d;
        if (from < 0) from += h;
        if (from == start) {
          RotateInto(row(to), aside, width, static_cast<size_t>(c));
          break;
        }
        RotateInto(row(to), row(from), width, static_cast<size_t>(c));
        to = from;
      }
    }
  }
  const Rect area{0, 0, w, h};
  surface.MarkDirty(area);
  return area;
}

}  // namespace quillo
