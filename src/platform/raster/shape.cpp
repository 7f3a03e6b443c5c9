#include "platform/raster/shape.h"

#include <algorithm>
#include <cmath>

namespace quillo::raster {

namespace {

// A box [left, right) x [top, bottom) whose corners are quarter ellipses with radii
// rx and ry, in 64-bit so that growing it by a huge pen cannot overflow.
struct RoundBox {
  int64_t left;
  int64_t top;
  int64_t right;
  int64_t bottom;
  double rx;
  double ry;

  bool Empty() const { return left >= right || top >= bottom; }

  // The columns [x0, x1) whose pixel centres lie inside on row y. Both ends come from
  // one inset, so every shape is exactly mirror symmetric.
  bool Row(int64_t y, int64_t& x0, int64_t& x1) const {
    if (y < top || y >= bottom) return false;
    const double height = static_cast<double>(bottom - top);
    const double yc = static_cast<double>(y - top) + 0.5;
    const double edge = std::min(yc, height - yc);
    double inset = 0;
    if (edge < ry) {
      const double t = (ry - edge) / ry;
      inset = rx - rx * std::sqrt(std::max(0.0, 1.0 - t * t));
    }
    const auto i = static_cast<int64_t>(std::ceil(inset - 0.5));
    if (2 * i >= right - left) return false;
    x0 = left + i;
    x1 = right - i;
    return true;
  }
};

}  // namespace

Rect DrawRoundShape(PixelGrid grid, const Rect& box, int64_t cornerW, int64_t cornerH,
                    const ShapeStyle& style) {
  if (grid.width <= 0 || grid.height <= 0) return Rect{};
  const int64_t boxW = box.Width();
  const int64_t boxH = box.Height();
  const double rx = static_cast<double>(std::min(cornerW, boxW)) / 2;
  const double ry = static_cast<double>(std::min(cornerH, boxH)) / 2;
  // The outline of width w is the shape grown by w / 2 minus the shape shrunk by the
  // rest, so a 1-pixel pen draws the ring just inside the box.
  const int64_t grow = style.penWidth / 2;
  const int64_t shrink = style.penWidth - grow;
  const RoundBox outer{box.left - grow,
                       box.top - grow,
                       box.right + grow,
                       box.bottom + grow,
                       rx > 0 ? rx + static_cast<double>(grow) : 0,
                       ry > 0 ? ry + static_cast<double>(grow) : 0};
  const RoundBox inner{box.left + shrink,
                       box.top + shrink,
                       box.right - shrink,
                       box.bottom - shrink,
                       std::max(0.0, rx - static_cast<double>(shrink)),
                       std::max(0.0, ry - static_cast<double>(shrink))};
  if (outer.Empty()) return Rect{};

  Rect touched{};
  WithPenMode(style.mode, [&](auto mode) {
    SpanWriter<mode()> writer(grid);
    const int64_t rowLo = std::max<int64_t>(outer.top, 0);
    const int64_t rowHi = std::min<int64_t>(outer.bottom, grid.height);
    for (int64_t y = rowLo; y < rowHi; ++y) {
      int64_t o0 = 0;
      int64_t o1 = 0;
      if (!outer.Row(y, o0, o1)) continue;
      const auto row = static_cast<int32_t>(y);
      int64_t i0 = 0;
      int64_t i1 = 0;
      if (inner.Empty() || !inner.Row(y, i0, i1)) {
        writer.Span(row, o0, o1, style.pen);
        continue;
      }
      i0 = std::clamp(i0, o0, o1);
      i1 = std::clamp(i1, i0, o1);
      writer.Span(row, o0, i0, style.pen);
      if (style.fill) writer.Span(row, i0, i1, style.brush);
      writer.Span(row, i1, o1, style.pen);
    }
    touched = writer.Touched();
  });
  return touched;
}

}  // namespace quillo::raster
