#include "platform/raster/span_writer.h"

#include <algorithm>

namespace quillo::raster {

void SpanWriter::Span(int32_t y, int64_t x0, int64_t x1, uint32_t pen) {
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, grid_.width);
  if (x0 >= x1) return;
  uint32_t* row = grid_.bits + static_cast<int64_t>(y) * grid_.width;
  const auto begin = static_cast<int32_t>(x0);
  const auto end = static_cast<int32_t>(x1);
  WithPenMode(mode_, [&](auto mode) {
    for (int32_t x = begin; x < end; ++x)
      row[x] = PenPixel<mode()>(pen, row[x]);
  });
  left_ = std::min(left_, begin);
  right_ = std::max(right_, end);
  top_ = std::min(top_, y);
  bottom_ = std::max(bottom_, y + 1);
}

Rect SpanWriter::Touched() const {
  if (left_ >= right_) return Rect{};
  return Rect{left_, top_, right_, bottom_};
}

}  // namespace quillo::raster
