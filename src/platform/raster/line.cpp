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

// Narrows the steps [first, last] of the walk to those whose pixel lies inside: major
// offsets in majorRange and minor ones in minorRange. Analytic, so a line far outside
// costs nothing and the pixels inside are exactly those of the unclipped walk. Kept
// out of line so the common unclipped line pays nothing for it.
[[gnu::noinline]] bool ClipWalk(const Walk& walk, OffsetRange majorRange, OffsetRange minorRange,
                                int64_t& first, int64_t& last) {
  const auto minorAt = [&](int64_t i) { return static_cast<int64_t>(walk.MinorAt(i)); };
  first = std::max<int64_t>(first, majorRange.lo);
  last = std::min<int64_t>(last, majorRange.hi);
  if (first > last) return false;
  if (minorAt(first) > minorRange.hi || minorAt(last) < minorRange.lo) return false;
  first = FirstTrue(first, last, [&](int64_t i) { return minorAt(i) >= minorRange.lo; });
  last = FirstTrue(first, last + 1, [&](int64_t i) { return minorAt(i) > minorRange.hi; }) - 1;
  return first <= last;
}

// The clipped part of a walk as buffer steps: count pixels from index, a major step
// each, a minor one whenever the error passes n.
struct PixelWalk {
  int64_t index;
  int64_t count;
  uint64_t error;
  uint64_t minorDelta;
  uint64_t n;
  int64_t majorAdvance;
  int64_t minorAdvance;
};

template <PenMode M>
void Step(uint32_t* bits, PixelWalk w, uint32_t pen) {
  for (int64_t i = 0; i < w.count; ++i) {
    bits[w.index] = PenPixel<M>(pen, bits[w.index]);
    // Branch-free: minor steps come irregularly and would defeat prediction.
    w.error += w.minorDelta;
    const auto carry = static_cast<int64_t>(w.error >= w.n);
    w.error -= static_cast<uint64_t>(carry) * w.n;
    w.index += w.majorAdvance + carry * w.minorAdvance;
  }
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

  int64_t first = 0;
  int64_t last = n - 1;
  const auto minorAt = [&](int64_t i) { return static_cast<int64_t>(walk.MinorAt(i)); };
  // Unclipped, the walk starts at a with half a step of error and ends one pixel short
  // of b, short along the minor axis too when its last half step rounds down; this
  // spares the divisions of the common case.
  uint64_t error = walk.n / 2;
  int64_t minorFirst = 0;
  int64_t minorLast = static_cast<int64_t>(walk.minorDelta) - (walk.minorDelta > walk.n / 2);
  const auto inside = [&](Point p) {
    return p.x >= 0 && p.y >= 0 && p.x < grid.width && p.y < grid.height;
  };
  if (!inside(a) || !inside(b)) {
    const OffsetRange majorRange = OffsetsInside(major0, majorStep, majorLimit);
    const OffsetRange minorRange = OffsetsInside(minor0, minorStep, minorLimit);
    if (!ClipWalk(walk, majorRange, minorRange, first, last)) return Rect{};
    error = walk.ErrorAt(first);
    minorFirst = minorAt(first);
    minorLast = minorAt(last);
  }

  const int64_t majorFirst = major0 + majorStep * first;
  const int64_t minorFirstPos = minor0 + minorStep * minorFirst;
  const int64_t majorLast = major0 + majorStep * last;
  const int64_t minorLastPos = minor0 + minorStep * minorLast;
  const int64_t xFirst = xMajor ? majorFirst : minorFirstPos;
  const int64_t yFirst = xMajor ? minorFirstPos : majorFirst;
  const int64_t xLast = xMajor ? majorLast : minorLastPos;
  const int64_t yLast = xMajor ? minorLastPos : majorLast;

  const PixelWalk walkPlan{yFirst * grid.width + xFirst,
                           last - first + 1,
                           error,
                           walk.minorDelta,
                           walk.n,
                           xMajor ? majorStep : majorStep * grid.width,
                           xMajor ? minorStep * grid.width : minorStep};
  WithPenMode(m, [&](auto mode) { Step<mode()>(grid.bits, walkPlan, pen); });
  return Rect{static_cast<int32_t>(std::min(xFirst, xLast)),
              static_cast<int32_t>(std::min(yFirst, yLast)),
              static_cast<int32_t>(std::max(xFirst, xLast) + 1),
              static_cast<int32_t>(std::max(yFirst, yLast) + 1)};
}

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The capsule around segment a-b with radius r, with what its rows share worked out
// once. A row's x interval is the hull of the two end discs and the band between them
// (the capsule is convex), each linear in the row's offset from a.
class Capsule {
 public:
  Capsule(double ax, double ay, double bx, double by, double r)
      : ax_(ax), ay_(ay), bx_(bx), by_(by), r_(r) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    hasBand_ = len2 > 0;
    level_ = dy == 0;
    upright_ = dx == 0;
    // Across the segment: |dx * uy - dy * ux| <= r |d|.
    if (!level_) {
      acrossSlope_ = dx / dy;
      acrossHalf_ = std::abs(r * std::sqrt(len2) / dy);
    }
    // Along it: 0 <= dx * ux + dy * uy <= |d|^2.
    if (!upright_) {
      alongSlope_ = -dy / dx;
      alongSpan_ = len2 / dx;
    }
    alongLo_ = std::min(0.0, dy);
    alongHi_ = std::max(0.0, dy);
  }

  // The x interval [xl, xr] of row yc; false when the row misses the capsule.
  bool Row(double yc, double& xl, double& xr) const {
    xl = kInf;
    xr = -kInf;
    Disc(ax_, ay_, yc, xl, xr);
    Disc(bx_, by_, yc, xl, xr);
    const double uy = yc - ay_;
    if (!hasBand_) return xl <= xr;
    double lo = -kInf;
    double hi = kInf;
    if (level_) {
      if (std::abs(uy) > r_) return xl <= xr;
    } else {
      lo = uy * acrossSlope_ - acrossHalf_;
      hi = uy * acrossSlope_ + acrossHalf_;
    }
    if (upright_) {
      if (uy < alongLo_ || uy > alongHi_) return xl <= xr;
    } else {
      const double p = uy * alongSlope_;
      lo = std::max(lo, std::min(p, p + alongSpan_));
      hi = std::min(hi, std::max(p, p + alongSpan_));
    }
    if (lo <= hi) {
      xl = std::min(xl, ax_ + lo);
      xr = std::max(xr, ax_ + hi);
    }
    return xl <= xr;
  }

 private:
  void Disc(double cx, double cy, double yc, double& xl, double& xr) const {
    const double h = r_ * r_ - (yc - cy) * (yc - cy);
    if (h < 0) return;
    const double s = std::sqrt(h);
    xl = std::min(xl, cx - s);
    xr = std::max(xr, cx + s);
  }

  double ax_, ay_, bx_, by_, r_;
  bool hasBand_ = false;
  bool level_ = false;
  bool upright_ = false;
  double acrossSlope_ = 0;
  double acrossHalf_ = 0;
  double alongSlope_ = 0;
  double alongSpan_ = 0;
  double alongLo_ = 0;
  double alongHi_ = 0;
};

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
  const Capsule capsule(ax, ay, bx, by, r);
  Rect touched{};
  WithPenMode(m, [&](auto mode) {
    SpanWriter<mode()> writer(grid);
    for (auto y = static_cast<int64_t>(rowLo); y <= static_cast<int64_t>(rowHi); ++y) {
      double xl = 0;
      double xr = 0;
      if (!capsule.Row(static_cast<double>(y), xl, xr)) continue;
      const double x0 = std::max(std::ceil(xl), 0.0);
      const double x1 = std::min(std::floor(xr), grid.width - 1.0);
      if (x0 > x1) continue;
      writer.Span(static_cast<int32_t>(y), static_cast<int64_t>(x0), static_cast<int64_t>(x1) + 1,
                  pen);
    }
    touched = writer.Touched();
  });
  return touched;
}

}  // namespace quillo::raster
