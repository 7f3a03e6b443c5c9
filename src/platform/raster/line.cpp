#include "platform/raster/line.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillo::raster {

namespace {

// The offsets k >= 0 for which origin + step * k lies in [0, limit); step is +1 or -1.
struct OffsetRange {
  int64_t lo;
  int64_t hi;
};
OffsetRange OffsetsInside(int64_t origin, int64_t step, int64_t limit) {
  if (step > 0) return {-origin, limit - 1 - origin};
  return {origin - (limit - 1), origin};
}

// The Bresenham walk of one line: step i moves one pixel along the major axis and
// the minor axis by floor((i * minorDelta + n / 2) / n) pixels in total.
struct Walk {
  uint64_t n;
  uint64_t minorDelta;
  uint64_t MinorAt(int64_t i) const { return (static_cast<uint64_t>(i) * minorDelta + n / 2) / n; }
  uint64_t ErrorAt(int64_t i) const { return (static_cast<uint64_t>(i) * minorDelta + n / 2) % n; }
};

// Smallest i in [lo, hi] with pred(i), given pred is false then true over the range.
template <class Pred>
int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred) {
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

}  // namespace

Rect DrawThinLine(PixelGrid grid, Point a, Point b, PenMode m, uint32_t pen) {
  const int64_t dx = int64_t{b.x} - a.x;
  const int64_t dy = int64_t{b.y} - a.y;
  const int64_t adx = dx < 0 ? -dx : dx;
  const int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int64_t n = xMajor ? adx : ady;
  if (n == 0 || grid.width <= 0 || grid.height <= 0) return Rect{};

  const Walk walk{static_cast<uint64_t>(n), static_cast<uint64_t>(xMajor ? ady : adx)};
  const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t major0 = xMajor ? a.x : a.y;
  const int64_t minor0 = xMajor ? a.y : a.x;
  const int64_t majorLimit = xMajor ? grid.width : grid.height;
  const int64_t minorLimit = xMajor ? grid.height : grid.width;

  // Clip the step range analytically, so a line far outside costs nothing and the
  // pixels inside are exactly those of the unclipped walk.
  const OffsetRange majorRange = OffsetsInside(major0, majorStep, majorLimit);
  int64_t first = std::max<int64_t>(0, majorRange.lo);
  int64_t last = std::min<int64_t>(n - 1, majorRange.hi);
  if (first > last) return Rect{};
  const OffsetRange minorRange = OffsetsInside(minor0, minorStep, minorLimit);
  const auto minorAt = [&](int64_t i) { return static_cast<int64_t>(walk.MinorAt(i)); };
  if (minorAt(first) > minorRange.hi || minorAt(last) < minorRange.lo) return Rect{};
  first = FirstTrue(first, last, [&](int64_t i) { return minorAt(i) >= minorRange.lo; });
  last = FirstTrue(first, last + 1, [&](int64_t i) { return minorAt(i) > minorRange.hi; }) - 1;
  if (first > last) return Rect{};

  const int64_t majorFirst = major0 + majorStep * first;
  const int64_t minorFirst = minor0 + minorStep * minorAt(first);
  const int64_t majorLast = major0 + majorStep * last;
  const int64_t minorLast = minor0 + minorStep * minorAt(last);
  const int64_t xFirst = xMajor ? majorFirst : minorFirst;
  const int64_t yFirst = xMajor ? minorFirst : majorFirst;
  const int64_t xLast = xMajor ? majorLast : minorLast;
  const int64_t yLast = xMajor ? minorLast : majorLast;

  const int64_t majorAdvance = xMajor ? majorStep : majorStep * grid.width;
  const int64_t minorAdvance = xMajor ? minorStep * grid.width : minorStep;
  const int64_t count = last - first + 1;
  int64_t index = yFirst * grid.width + xFirst;
  uint64_t error = walk.ErrorAt(first);
  uint32_t* bits = grid.bits;
  WithPenMode(m, [&](auto mode) {
    for (int64_t i = 0; i < count; ++i) {
      bits[index] = PenPixel<mode()>(pen, bits[index]);
      index += majorAdvance;
      error += walk.minorDelta;
      if (error >= walk.n) {
        error -= walk.n;
        index += minorAdvance;
      }
    }
  });
  return Rect{static_cast<int32_t>(std::min(xFirst, xLast)),
              static_cast<int32_t>(std::min(yFirst, yLast)),
              static_cast<int32_t>(std::max(xFirst, xLast) + 1),
              static_cast<int32_t>(std::max(yFirst, yLast) + 1)};
}

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The x interval of row yc inside the capsule around segment a-b with radius r, as
// the hull of the two end discs and the band between them (the capsule is convex).
bool CapsuleRow(double ax, double ay, double bx, double by, double r, double yc, double& xl,
                double& xr) {
  xl = kInf;
  xr = -kInf;
  const auto disc = [&](double cx, double cy) {
    const double h = r * r - (yc - cy) * (yc - cy);
    if (h < 0) return;
    const double s = std::sqrt(h);
    xl = std::min(xl, cx - s);
    xr = std::max(xr, cx + s);
  };
  disc(ax, ay);
  disc(bx, by);

  const double dx = bx - ax;
  const double dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  const double uy = yc - ay;
  double lo = -kInf;
  double hi = kInf;
  const auto narrow = [&](double p, double q) {
    lo = std::max(lo, std::min(p, q));
    hi = std::min(hi, std::max(p, q));
  };
  // Distance across the segment at most r: |dx * uy - dy * ux| <= r * |d|.
  const double across = r * std::sqrt(len2);
  bool band = len2 > 0;
  if (dy == 0) {
    band = band && std::abs(dx * uy) <= across;
  } else {
    narrow((dx * uy - across) / dy, (dx * uy + across) / dy);
  }
  // Projection onto the segment within it: 0 <= dx * ux + dy * uy <= |d|^2.
  if (dx == 0) {
    band = band && dy * uy >= 0 && dy * uy <= len2;
  } else {
    narrow(-dy * uy / dx, (len2 - dy * uy) / dx);
  }
  if (band && lo <= hi) {
    xl = std::min(xl, ax + lo);
    xr = std::max(xr, ax + hi);
  }
  return xl <= xr;
}

}  // namespace

Rect DrawWideLine(PixelGrid grid, Point a, Point b, int32_t width, PenMode m, uint32_t pen) {
  if (grid.width <= 0 || grid.height <= 0) return Rect{};
  // Coordinates here put pixel centres on integers. An odd band is centred on the
  // pixel centres of its end points, an even one on their top-left corners, so a
  // level band covers exactly width rows.
  const double shift = width % 2 == 1 ? 0.0 : -0.5;
  const double ax = a.x + shift;
  const double ay = a.y + shift;
  const double bx = b.x + shift;
  const double by = b.y + shift;
  const double r = width / 2.0;

  const double rowLo = std::max(std::ceil(std::min(ay, by) - r), 0.0);
  const double rowHi = std::min(std::floor(std::max(ay, by) + r), grid.height - 1.0);
  SpanWriter writer(grid, m);
  for (auto y = static_cast<int64_t>(rowLo); y <= static_cast<int64_t>(rowHi); ++y) {
    double xl = 0;
    double xr = 0;
    if (!CapsuleRow(ax, ay, bx, by, r, static_cast<double>(y), xl, xr)) continue;
    const double x0 = std::max(std::ceil(xl), 0.0);
    const double x1 = std::min(std::floor(xr), grid.width - 1.0);
    if (x0 > x1) continue;
    writer.Span(static_cast<int32_t>(y), static_cast<int64_t>(x0), static_cast<int64_t>(x1) + 1,
                pen);
  }
  return writer.Touched();
}

}  // namespace quillo::raster
