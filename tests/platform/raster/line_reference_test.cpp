// The line paths against slow references over random input: every pixel, pen mode
// and changed box must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "platform/raster/pixel_grid.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

Surface Noise(int32_t w, int32_t h, std::mt19937& rng) {
  Surface s;
  EXPECT_TRUE(s.Resize(w, h));
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x)
      s.SetPixel({x, y}, rng() & 0xFFFFFF);
  }
  s.TakeDirty();
  return s;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// The one-pixel walk pixel by pixel: step i of n moves i along the major axis and
// floor((i * minor + n / 2) / n) along the minor one; b itself is left out.
Rect ReferenceThinLine(Surface& s, Point a, Point b, PenMode m, Color pen) {
  const int64_t dx = int64_t{b.x} - a.x;
  const int64_t dy = int64_t{b.y} - a.y;
  const int64_t n = std::max(std::abs(dx), std::abs(dy));
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
  Rect box{};
  for (int64_t i = 0; i < n; ++i) {
    const int64_t along = FloorDiv(i * minor + n / 2, n);
    const int64_t x = a.x + (xMajor ? (dx < 0 ? -i : i) : (dx < 0 ? -along : along));
    const int64_t y = a.y + (xMajor ? (dy < 0 ? -along : along) : (dy < 0 ? -i : i));
    if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) continue;
    const Point p{static_cast<int32_t>(x), static_cast<int32_t>(y)};
    const uint32_t out = ApplyPenMode(m, ToPixel(pen), ToPixel(s.Pixel(p)));
    s.SetPixel(p, FromPixel(out));
    box = Union(box, Rect{p.x, p.y, p.x + 1, p.y + 1});
  }
  return box;
}

TEST(LineReference, ThinLinesMatchThePixelWalkInEveryMode) {
  std::mt19937 rng(21);
  std::uniform_int_distribution<int32_t> coord(-20, 60);
  std::uniform_int_distribution<int32_t> step(-6, 6);
  for (int i = 0; i < 4000; ++i) {
    Surface s = Noise(41, 37, rng);
    Surface expected;
    ASSERT_TRUE(expected.CopyFrom(s));
    const Point a{coord(rng), coord(rng)};
    // Mostly the short segments of a figure, some long, some leaving the surface.
    const Point b =
        i % 4 == 0 ? Point{coord(rng), coord(rng)} : Point{a.x + step(rng), a.y + step(rng)};
    const PenMode m = PenModeOf(static_cast<uint32_t>(i));
    const Color pen = rng() & 0xFFFFFF;
    s.SetPenMode(m);
    s.SetPenColor(pen);
    s.MoveTo(a);
    s.LineTo(b);
    const Rect box = ReferenceThinLine(expected, a, b, m, pen);
    ASSERT_EQ(testing::ChangedBox(expected, s), Rect{}) << i;
    ASSERT_EQ(s.TakeDirty(), box) << i;
    ASSERT_TRUE(testing::AlphaIsOpaque(s));
  }
}

// The wide band row by row as the capsule defines it: each row's interval is the hull
// of both end discs and the band between them, every row worked out in full.
Rect ReferenceWideLine(Surface& s, Point a, Point b, int32_t width, PenMode m, Color pen) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double shift = width % 2 == 1 ? 0.0 : -0.5;
  const double ax = a.x + shift, ay = a.y + shift, bx = b.x + shift, by = b.y + shift;
  const double r = width / 2.0;
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  Rect box{};
  for (int32_t y = 0; y < s.Height(); ++y) {
    const double yc = y;
    double xl = kInf, xr = -kInf;
    for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
      const double h = r * r - (yc - cy) * (yc - cy);
      if (h < 0) continue;
      xl = std::min(xl, cx - std::sqrt(h));
      xr = std::max(xr, cx + std::sqrt(h));
    }
    const double uy = yc - ay;
    double lo = -kInf, hi = kInf;
    bool band = len2 > 0;
    if (band && dy == 0) {
      band = std::abs(uy) <= r;
    } else if (band) {
      lo = uy * (dx / dy) - std::abs(r * std::sqrt(len2) / dy);
      hi = uy * (dx / dy) + std::abs(r * std::sqrt(len2) / dy);
    }
    if (band && dx == 0) {
      band = uy >= std::min(0.0, dy) && uy <= std::max(0.0, dy);
    } else if (band) {
      const double p = uy * (-dy / dx);
      lo = std::max(lo, std::min(p, p + len2 / dx));
      hi = std::min(hi, std::max(p, p + len2 / dx));
    }
    if (band && lo <= hi) {
      xl = std::min(xl, ax + lo);
      xr = std::max(xr, ax + hi);
    }
    if (!(xl <= xr)) continue;
    const double x0 = std::max(std::ceil(xl), 0.0);
    const double x1 = std::min(std::floor(xr), s.Width() - 1.0);
    for (auto x = static_cast<int32_t>(x0); x0 <= x1 && x <= static_cast<int32_t>(x1); ++x) {
      const uint32_t out = ApplyPenMode(m, ToPixel(pen), ToPixel(s.Pixel({x, y})));
      s.SetPixel({x, y}, FromPixel(out));
      box = Union(box, Rect{x, y, x + 1, y + 1});
    }
  }
  return box;
}

TEST(LineReference, WideLinesMatchTheRowByRowCapsule) {
  std::mt19937 rng(23);
  std::uniform_int_distribution<int32_t> coord(-30, 90);
  std::uniform_int_distribution<int32_t> pen(2, 9);
  for (int i = 0; i < 2500; ++i) {
    Surface s = Noise(61, 53, rng);
    Surface expected;
    ASSERT_TRUE(expected.CopyFrom(s));
    const Point a{coord(rng), coord(rng)};
    const Point b = i % 5 == 0 ? Point{a.x + coord(rng) / 10, a.y} : Point{coord(rng), coord(rng)};
    const int32_t width = i % 2 == 0 ? 2 : pen(rng);
    const PenMode m = PenModeOf(static_cast<uint32_t>(i * 7));
    const Color c = rng() & 0xFFFFFF;
    s.SetPenMode(m);
    s.SetPenColor(c);
    s.SetPenWidth(width);
    s.MoveTo(a);
    s.LineTo(b);
    const Rect box = ReferenceWideLine(expected, a, b, width, m, c);
    ASSERT_EQ(testing::ChangedBox(expected, s), Rect{}) << i;
    ASSERT_EQ(s.TakeDirty(), box) << i;
  }
}

}  // namespace
}  // namespace quillo
