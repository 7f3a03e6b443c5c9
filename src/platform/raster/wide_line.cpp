// The wide pen: a band with round ends, drawn row by row.
#include "platform/raster/line.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace quillo::raster {
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
