#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/raster/geometry.h"

namespace quillo::raster {

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

// The outline of a round box drawn with a pen: what lies inside outer and not inside
// inner.
struct RoundOutline {
  RoundBox outer;
  RoundBox inner;
};

// The outline of the normalised box with corners of cornerW x cornerH (at most the
// box) for a pen of penWidth: the shape grown by penWidth / 2 minus the shape shrunk
// by the rest, so a 1-pixel pen draws the ring just inside the box.
inline RoundOutline OutlineOf(const Rect& box, int64_t cornerW, int64_t cornerH, int32_t penWidth) {
  const double rx = static_cast<double>(std::min(cornerW, box.Width())) / 2;
  const double ry = static_cast<double>(std::min(cornerH, box.Height())) / 2;
  const int64_t grow = penWidth / 2;
  const int64_t shrink = penWidth - grow;
  return RoundOutline{RoundBox{box.left - grow, box.top - grow, box.right + grow, box.bottom + grow,
                               rx > 0 ? rx + static_cast<double>(grow) : 0,
                               ry > 0 ? ry + static_cast<double>(grow) : 0},
                      RoundBox{box.left + shrink, box.top + shrink, box.right - shrink,
                               box.bottom - shrink, std::max(0.0, rx - static_cast<double>(shrink)),
                               std::max(0.0, ry - static_cast<double>(shrink))}};
}

}  // namespace quillo::raster
