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
// costs nothing and the pixels inside are exactly those of the unclipped walk.
bool ClipWalk(const Walk& walk, OffsetRange majorRange, OffsetRange minorRange, int64_t& first,
              int64_t& last) {
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

// A line with both ends on the grid needs no clipping: the same walk in 32-bit steps,
// its direction picked without branches (a figure's short segments turn every way) and
// its box known from the ends.
template <PenMode M>
Rect DrawInsideLine(PixelGrid grid, Point a, Point b, uint32_t pen) {
  const int32_t dx = b.x - a.x;
  const int32_t dy = b.y - a.y;
  const int32_t adx = dx < 0 ? -dx : dx;
  const int32_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const auto n = static_cast<uint32_t>(xMajor ? adx : ady);
  const auto minorDelta = static_cast<uint32_t>(xMajor ? ady : adx);
  const int64_t stepX = dx < 0 ? -1 : 1;
  const int64_t stepY = dy < 0 ? -int64_t{grid.width} : int64_t{grid.width};
  const int64_t majorAdvance = xMajor ? stepX : stepY;
  const int64_t minorAdvance = xMajor ? stepY : stepX;

  uint32_t* bits = grid.bits + int64_t{a.y} * grid.width + a.x;
  uint32_t error = n / 2;
  for (uint32_t i = 0; i < n; ++i) {
    *bits = PenPixel<M>(pen, *bits);
    // Masks rather than branches: minor steps come irregularly.
    error += minorDelta;
    const int64_t carry = -static_cast<int64_t>(error >= n);
    error -= n & static_cast<uint32_t>(carry);
    bits += majorAdvance + (minorAdvance & carry);
  }

  // The last pixel is one major step short of b, and short along the minor axis too
  // when the last half step rounds down.
  const auto majorLast = static_cast<int32_t>(n - 1);
  const auto minorLast = static_cast<int32_t>(minorDelta - (minorDelta > n / 2));
  const int32_t offX = xMajor ? majorLast : minorLast;
  const int32_t offY = xMajor ? minorLast : majorLast;
  const int32_t xLast = a.x + (dx < 0 ? -offX : offX);
  const int32_t yLast = a.y + (dy < 0 ? -offY : offY);
  return Rect{std::min(a.x, xLast), std::min(a.y, yLast), std::max(a.x, xLast) + 1,
              std::max(a.y, yLast) + 1};
}

}  // namespace

Rect DrawThinLine(PixelGrid grid, Point a, Point b, PenMode m, uint32_t pen) {
  const auto inside = [&](Point p) {
    return p.x >= 0 && p.y >= 0 && p.x < grid.width && p.y < grid.height;
  };
  if (a == b) return Rect{};
  if (inside(a) && inside(b)) {
    Rect box{};
    WithPenMode(m, [&](auto mode) { box = DrawInsideLine<mode()>(grid, a, b, pen); });
    return box;
  }
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

  // Here at least one end lies off the grid.
  int64_t first = 0;
  int64_t last = n - 1;
  const OffsetRange majorRange = OffsetsInside(major0, majorStep, majorLimit);
  const OffsetRange minorRange = OffsetsInside(minor0, minorStep, minorLimit);
  if (!ClipWalk(walk, majorRange, minorRange, first, last)) return Rect{};
  const uint64_t error = walk.ErrorAt(first);
  const auto minorFirst = static_cast<int64_t>(walk.MinorAt(first));
  const auto minorLast = static_cast<int64_t>(walk.MinorAt(last));

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
    Band(yc, xl, xr);
    return xl <= xr;
  }

  // The rows [first, last] that lie r + 1 or more from both end rows; there the end
  // discs contribute nothing, since their squares stay far from r * r at any size.
  void MiddleRows(double& first, double& last) const {
    first = std::ceil(std::min(ay_, by_) + r_) + 1;
    last = std::floor(std::max(ay_, by_) - r_) - 1;
  }

  // Calls f with the segment's shape flags as constants, for a loop over middle rows.
  template <class F>
  void WithShape(F&& f) const {
    const auto pick = [&](auto level, auto upright) { f(level, upright); };
    if (level_) {
      pick(std::true_type{}, std::false_type{});
    } else if (upright_) {
      pick(std::false_type{}, std::true_type{});
    } else {
      pick(std::false_type{}, std::false_type{});
    }
  }

  // The band's x interval [lo, hi] relative to a on a middle row at uy below a; false
  // when the row misses it. The same arithmetic as Row.
  template <bool kLevel, bool kUpright>
  [[gnu::always_inline]] bool BandAt(double uy, double& lo, double& hi) const {
    lo = -kInf;
    hi = kInf;
    if constexpr (kLevel) {
      if (std::abs(uy) > r_) return false;
    } else {
      lo = uy * acrossSlope_ - acrossHalf_;
      hi = uy * acrossSlope_ + acrossHalf_;
    }
    if constexpr (kUpright) {
      if (uy < alongLo_ || uy > alongHi_) return false;
    } else {
      const double p = uy * alongSlope_;
      lo = std::max(lo, std::min(p, p + alongSpan_));
      hi = std::min(hi, std::max(p, p + alongSpan_));
    }
    return lo <= hi;
  }

  bool HasBand() const { return hasBand_; }
  double Ax() const { return ax_; }
  double Ay() const { return ay_; }

 private:
  // Widens [xl, xr] by the band between the end discs on row yc.
  void Band(double yc, double& xl, double& xr) const {
    const double uy = yc - ay_;
    if (!hasBand_) return;
    double lo = -kInf;
    double hi = kInf;
    if (level_) {
      if (std::abs(uy) > r_) return;
    } else {
      lo = uy * acrossSlope_ - acrossHalf_;
      hi = uy * acrossSlope_ + acrossHalf_;
    }
    if (upright_) {
      if (uy < alongLo_ || uy > alongHi_) return;
    } else {
      const double p = uy * alongSlope_;
      lo = std::max(lo, std::min(p, p + alongSpan_));
      hi = std::min(hi, std::max(p, p + alongSpan_));
    }
    if (lo <= hi) {
      xl = std::min(xl, ax_ + lo);
      xr = std::max(xr, ax_ + hi);
    }
  }

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

// ceil and floor of a row end, as the library gives them but without its long
// sequence for targets that lack a rounding instruction: below 2^52 a truncation is
// exact and at most one step away.
[[gnu::always_inline]] inline double Ceil(double v) {
  if (!(std::abs(v) < 0x1p52)) return std::ceil(v);
  const auto t = static_cast<double>(static_cast<int64_t>(v));
  return t < v ? t + 1 : t;
}
[[gnu::always_inline]] inline double Floor(double v) {
  if (!(std::abs(v) < 0x1p52)) return std::floor(v);
  const auto t = static_cast<double>(static_cast<int64_t>(v));
  return t > v ? t - 1 : t;
}

// The rows [rowLo, rowHi] of the capsule in mode M; one function per mode keeps each
// loop small enough for its helpers to be inlined.
template <PenMode M>
Rect WideLineRows(PixelGrid grid, const Capsule& capsule, double rowLo, double rowHi,
                  uint32_t pen) {
  double middleFirst = 0;
  double middleLast = 0;
  capsule.MiddleRows(middleFirst, middleLast);
  const double right = grid.width - 1.0;
  // The box of the rows written; rows come in order.
  int64_t left = grid.width;
  int64_t end = 0;
  int64_t top = -1;
  int64_t bottom = 0;
  const auto span = [&](int64_t y, double xl, double xr) __attribute__((always_inline)) {
    const double x0 = std::max(Ceil(xl), 0.0);
    const double x1 = std::min(Floor(xr), right);
    if (x0 > x1) return;
    const auto first = static_cast<int64_t>(x0);
    const auto last = static_cast<int64_t>(x1);
    uint32_t* row = grid.bits + y * grid.width + first;
    const int64_t count = last - first + 1;
    if (count <= 4) {
      // The rows of a steep band: a few pixels, written without the set-up of the long
      // loop below.
#pragma GCC unroll 4
      for (int64_t i = 0; i < count; ++i)
        row[i] = PenPixel<M>(pen, row[i]);
    } else {
      for (int64_t i = 0; i < count; ++i)
        row[i] = PenPixel<M>(pen, row[i]);
    }
    left = std::min(left, first);
    end = std::max(end, last + 1);
    if (top < 0) top = y;
    bottom = y + 1;
  };
  const auto touched = [&] {
    if (top < 0) return Rect{};
    return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(end),
                static_cast<int32_t>(bottom)};
  };
  const auto endRows = [&](int64_t from, int64_t to) {
    for (int64_t y = from; y <= to; ++y) {
      double xl = 0;
      double xr = 0;
      if (capsule.Row(static_cast<double>(y), xl, xr)) span(y, xl, xr);
    }
  };
  const auto lo = static_cast<int64_t>(rowLo);
  const auto hi = static_cast<int64_t>(rowHi);
  const auto midLo = static_cast<int64_t>(std::max(middleFirst, rowLo));
  const auto midHi = static_cast<int64_t>(std::min(middleLast, rowHi));
  if (midLo > midHi || !capsule.HasBand()) {
    endRows(lo, hi);
    return touched();
  }
  // Long segments spend their rows here, away from the ends: the band alone, with the
  // segment's shape fixed for the loop.
  endRows(lo, midLo - 1);
  capsule.WithShape([&](auto level, auto upright) {
    const double ax = capsule.Ax();
    const double ay = capsule.Ay();
    for (int64_t y = midLo; y <= midHi; ++y) {
      double l = 0;
      double h = 0;
      if (!capsule.template BandAt<level(), upright()>(static_cast<double>(y) - ay, l, h)) {
        continue;
      }
      span(y, std::min(kInf, ax + l), std::max(-kInf, ax + h));
    }
  });
  endRows(midHi + 1, hi);
  return touched();
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
  const Capsule capsule(ax, ay, bx, by, r);
  Rect touched{};
  WithPenMode(m,
              [&](auto mode) { touched = WideLineRows<mode()>(grid, capsule, rowLo, rowHi, pen); });
  return touched;
}

}  // namespace quillo::raster
