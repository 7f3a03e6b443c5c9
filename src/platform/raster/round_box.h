#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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
    return Inset(InsetAt(std::min(y - top, bottom - 1 - y)), x0, x1);
  }

  // The same from insets tabled by TableInsets.
  bool Row(int64_t y, const std::vector<int32_t>& insets, int64_t& x0, int64_t& x1) const {
    if (y < top || y >= bottom) return false;
    const auto edge = static_cast<size_t>(std::min(y - top, bottom - 1 - y));
    return Inset(edge < insets.size() ? insets[edge] : 0, x0, x1);
  }

  // Row from a table of insets for rows first + k (k < count), clipped to [0, width]:
  // columns [x0[k], x1[k]), empty where x0[k] >= x1[k]. Without a branch from row to
  // row.
  void ClippedRows(int64_t first, int64_t count, const std::vector<int32_t>& insets, int64_t width,
                   int32_t* x0, int32_t* x1) const {
    // Rows above the top or below the bottom meet no column.
    const int64_t from = std::clamp<int64_t>(top - first, 0, count);
    const int64_t to = std::clamp<int64_t>(bottom - first, from, count);
    std::fill(x0, x0 + from, 0);
    std::fill(x1, x1 + from, 0);
    std::fill(x0 + to, x0 + count, 0);
    std::fill(x1 + to, x1 + count, 0);
    const auto last = static_cast<int64_t>(insets.size()) - 1;
    for (int64_t k = from; k < to; ++k) {
      const int64_t y = first + k;
      const int64_t edge = std::min(y - top, bottom - 1 - y);
      const int64_t inset = edge > last ? 0 : insets[static_cast<size_t>(edge)];
      const bool meets = 2 * inset < right - left;
      x0[k] = meets ? static_cast<int32_t>(std::clamp<int64_t>(left + inset, 0, width)) : 0;
      x1[k] = meets ? static_cast<int32_t>(std::clamp<int64_t>(right - inset, 0, width)) : 0;
    }
  }

  // How far in from the sides a row lies, by how many rows it lies from the nearer of
  // the top and the bottom: those within ry of them, the rest being 0. For radii up
  // to kMostTabled.
  void TableInsets(std::vector<int32_t>& insets) const {
    insets.clear();
    for (int64_t edge = 0; static_cast<double>(edge) + 0.5 < ry; ++edge)
      insets.push_back(static_cast<int32_t>(InsetAt(edge)));
  }
  static constexpr double kMostTabled = 1 << 16;

 private:
  // The inset of the rows edge rows from the top or the bottom, at their pixel centres.
  int64_t InsetAt(int64_t edge) const {
    const double centre = static_cast<double>(edge) + 0.5;
    double inset = 0;
    if (centre < ry) {
      const double t = (ry - centre) / ry;
      inset = rx - rx * std::sqrt(std::max(0.0, 1.0 - t * t));
    }
    return static_cast<int64_t>(std::ceil(inset - 0.5));
  }
  bool Inset(int64_t i, int64_t& x0, int64_t& x1) const {
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
