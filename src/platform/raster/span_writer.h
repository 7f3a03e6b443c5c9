#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"

namespace quillo::raster {

// A view of a surface's pixels: width words a row, no padding.
struct PixelGrid {
  uint32_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

// The width a pen is drawn at on grid: a pen wider than twice the grid's diagonal
// (rounded up) draws as one that wide. Any two pixel centres lie closer than the
// diagonal, so where a line or outline meets the grid such a pen already covers every
// pixel; a width from a hostile log then costs no more than that. The caller keeps
// the width it was given.
inline int32_t DrawnPenWidth(PixelGrid grid, int32_t width) {
  const int64_t square = int64_t{grid.width} * grid.width + int64_t{grid.height} * grid.height;
  auto diagonal = static_cast<int64_t>(std::sqrt(static_cast<double>(square)));
  while (diagonal * diagonal < square)
    ++diagonal;
  return static_cast<int32_t>(std::min<int64_t>(width, std::max<int64_t>(2 * diagonal, 1)));
}

// Calls f with std::integral_constant<PenMode, m>, so the loop inside f is compiled
// once per mode with the mode as a constant.
template <class F>
void WithPenMode(PenMode m, F&& f) {
  switch (m) {
#define QUILLO_PEN_CASE(name) \
  case PenMode::name:         \
    return f(std::integral_constant<PenMode, PenMode::name>{});
    QUILLO_PEN_CASE(kBlack)
    QUILLO_PEN_CASE(kWhite)
    QUILLO_PEN_CASE(kNop)
    QUILLO_PEN_CASE(kNot)
    QUILLO_PEN_CASE(kCopy)
    QUILLO_PEN_CASE(kNotCopy)
    QUILLO_PEN_CASE(kMergePenNot)
    QUILLO_PEN_CASE(kMaskPenNot)
    QUILLO_PEN_CASE(kMergeNotPen)
    QUILLO_PEN_CASE(kMaskNotPen)
    QUILLO_PEN_CASE(kMerge)
    QUILLO_PEN_CASE(kNotMerge)
    QUILLO_PEN_CASE(kMask)
    QUILLO_PEN_CASE(kNotMask)
    QUILLO_PEN_CASE(kXor)
    QUILLO_PEN_CASE(kNotXor)
#undef QUILLO_PEN_CASE
  }
}

// One pixel written in pen mode M; the alpha byte stays 0xFF.
template <PenMode M>
inline uint32_t PenPixel(uint32_t pen, uint32_t dst) {
  return ApplyPenMode(M, pen, dst) | 0xFF000000u;
}

// Writes the horizontal spans of one shape in pen mode M and keeps the box of the
// pixels it wrote. Spans are clipped to the grid; rows must lie inside it.
template <PenMode M>
class SpanWriter {
 public:
  explicit SpanWriter(PixelGrid grid) : grid_(grid) {}

  // Applies the mode with pen (a stored pixel) to columns [x0, x1) of row y.
  void Span(int32_t y, int64_t x0, int64_t x1, uint32_t pen) {
    const auto begin = static_cast<int32_t>(std::max<int64_t>(x0, 0));
    const auto end = static_cast<int32_t>(std::min<int64_t>(x1, grid_.width));
    if (begin >= end) return;
    uint32_t* row = grid_.bits + static_cast<int64_t>(y) * grid_.width;
    for (int32_t x = begin; x < end; ++x)
      row[x] = PenPixel<M>(pen, row[x]);
    left_ = std::min(left_, begin);
    right_ = std::max(right_, end);
    top_ = std::min(top_, y);
    bottom_ = std::max(bottom_, y + 1);
  }

  // The box of everything written so far; empty when nothing was.
  Rect Touched() const {
    if (left_ >= right_) return Rect{};
    return Rect{left_, top_, right_, bottom_};
  }

 private:
  PixelGrid grid_;
  int32_t left_ = std::numeric_limits<int32_t>::max();
  int32_t top_ = std::numeric_limits<int32_t>::max();
  int32_t right_ = std::numeric_limits<int32_t>::min();
  int32_t bottom_ = std::numeric_limits<int32_t>::min();
};

}  // namespace quillo::raster
