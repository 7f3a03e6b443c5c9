// The line paths against slow references over random input: every pixel, pen mode
// and changed box must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "platform/raster/capsule.h"
#include "platform/raster/line.h"
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

// Row y of the wide band as the capsule defines it: the interval [xl, xr] is the hull
// of both end discs and the band between them; false when the row misses all three.
bool ReferenceWideRow(Point a, Point b, int32_t width, int64_t y, double& xl, double& xr) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double shift = width % 2 == 1 ? 0.0 : -0.5;
  const double ax = a.x + shift, ay = a.y + shift, bx = b.x + shift, by = b.y + shift;
  const double r = width / 2.0;
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  const auto yc = static_cast<double>(y);
  xl = kInf;
  xr = -kInf;
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
  return xl <= xr;
}

// Calls f(x, y) for each pixel of the wide band on a w x h grid, row by row, every row
// worked out in full.
template <class F>
void ForEachWidePixel(int32_t w, int32_t h, Point a, Point b, int32_t width, F&& f) {
  for (int32_t y = 0; y < h; ++y) {
    double xl = 0, xr = 0;
    if (!ReferenceWideRow(a, b, width, y, xl, xr)) continue;
    const double x0 = std::max(std::ceil(xl), 0.0);
    const double x1 = std::min(std::floor(xr), w - 1.0);
    for (auto x = static_cast<int32_t>(x0); x0 <= x1 && x <= static_cast<int32_t>(x1); ++x)
      f(x, y);
  }
}

Rect ReferenceWideLine(Surface& s, Point a, Point b, int32_t width, PenMode m, Color pen) {
  Rect box{};
  ForEachWidePixel(s.Width(), s.Height(), a, b, width, [&](int32_t x, int32_t y) {
    const uint32_t out = ApplyPenMode(m, ToPixel(pen), ToPixel(s.Pixel({x, y})));
    s.SetPixel({x, y}, FromPixel(out));
    box = Union(box, Rect{x, y, x + 1, y + 1});
  });
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

// Stored pixels of a w x h grid between two guard bands, for drawing on directly.
class GuardedGrid {
 public:
  GuardedGrid(int32_t w, int32_t h, std::mt19937& rng)
      : w_(w), h_(h), memory_(2 * kGuard + static_cast<size_t>(w) * h, kSentinel) {
    for (size_t i = kGuard; i < kGuard + static_cast<size_t>(w) * h; ++i)
      memory_[i] = 0xFF000000u | (rng() & 0xFFFFFFu);
  }

  raster::PixelGrid Grid() { return {memory_.data() + kGuard, w_, h_}; }
  uint32_t& At(int32_t x, int32_t y) { return memory_[kGuard + static_cast<size_t>(y) * w_ + x]; }
  // The memory, guards included.
  const std::vector<uint32_t>& Memory() const { return memory_; }

  // The box of the pixels that differ from other, a grid of the same size.
  Rect ChangedFrom(const GuardedGrid& other) const {
    Rect box{};
    for (int32_t y = 0; y < h_; ++y) {
      for (int32_t x = 0; x < w_; ++x) {
        const size_t i = kGuard + static_cast<size_t>(y) * w_ + x;
        if (memory_[i] != other.memory_[i]) box = Union(box, Rect{x, y, x + 1, y + 1});
      }
    }
    return box;
  }

 private:
  static constexpr size_t kGuard = 512;
  static constexpr uint32_t kSentinel = 0x5EA1ED00u;
  int32_t w_;
  int32_t h_;
  std::vector<uint32_t> memory_;
};

// Draws the wide line on a noisy grid and on a copy through the reference: every
// pixel, the guards and the returned box must agree. In xor mode a pixel drawn twice
// would come back unchanged, and the box must be that of the changed pixels.
void ExpectWideLineMatches(int32_t w, int32_t h, Point a, Point b, int32_t width, PenMode m,
                           std::mt19937& rng, int i) {
  GuardedGrid drawn(w, h, rng);
  const GuardedGrid before = drawn;
  GuardedGrid expected = drawn;
  const uint32_t pen = 0xFF000000u | (rng() & 0xFFFFFFu) | 1u;
  const Rect box = raster::DrawWideLine(drawn.Grid(), a, b, width, m, pen);
  Rect expectedBox{};
  ForEachWidePixel(w, h, a, b, width, [&](int32_t x, int32_t y) {
    uint32_t& px = expected.At(x, y);
    px = ApplyPenMode(m, pen, px) | 0xFF000000u;
    expectedBox = Union(expectedBox, Rect{x, y, x + 1, y + 1});
  });
  const auto where = [&] {
    return ::testing::Message() << "case " << i << ": (" << a.x << ", " << a.y << ") - (" << b.x
                                << ", " << b.y << ") width " << width << " mode "
                                << static_cast<int>(m);
  };
  ASSERT_TRUE(drawn.Memory() == expected.Memory()) << where();
  ASSERT_EQ(box, expectedBox) << where();
  if (m == PenMode::kXor) {
    ASSERT_EQ(box, drawn.ChangedFrom(before)) << where();
  }
}

// Directions whose length is an integer, where band edges can fall exactly on pixel
// centres, or lies just beside one (|d|^2 = n^2 + 1 or n^2 + 4).
Point SpecialDirection(std::mt19937& rng) {
  constexpr Point kExact[] = {{3, 4}, {5, 12}, {8, 15}, {7, 24}, {20, 21}, {0, 1}, {1, 1}};
  std::uniform_int_distribution<int32_t> scale(1, 12), steep(2, 120);
  const size_t k = rng() % (std::size(kExact) + 2);
  const int32_t s = scale(rng);
  Point d = k < std::size(kExact)
                ? Point{kExact[k].x * s, kExact[k].y * s}
                : Point{static_cast<int32_t>(k - std::size(kExact)) + 1, steep(rng)};
  if (rng() % 2) std::swap(d.x, d.y);
  if (rng() % 2) d.x = -d.x;
  if (rng() % 2) d.y = -d.y;
  return d;
}

TEST(LineReference, SmallPensMatchTheCapsuleInEveryDirection) {
  constexpr int32_t kW = 67, kH = 45;
  std::mt19937 rng(29);
  std::uniform_int_distribution<int32_t> nearX(-12, kW + 12), nearY(-12, kH + 12);
  std::uniform_int_distribution<int32_t> farX(-150, kW + 150), farY(-150, kH + 150);
  std::uniform_int_distribution<int32_t> step(-9, 9), reach(-300, 300);
  std::uniform_int_distribution<int32_t> small(2, 8), wide(9, 40);
  for (int i = 0; i < 24000; ++i) {
    Point a{nearX(rng), nearY(rng)};
    Point b{};
    switch (i % 4) {
      case 0:  // the short segments of a figure
        b = {a.x + step(rng), a.y + step(rng)};
        break;
      case 1:  // long ones, often leaving the grid
        a = {farX(rng), farY(rng)};
        b = {farX(rng), farY(rng)};
        break;
      case 2:  // through the grid from both sides
        b = {a.x - reach(rng), a.y - reach(rng)};
        a = {a.x + reach(rng), a.y + reach(rng)};
        break;
      default: {
        const Point d = SpecialDirection(rng);
        b = {a.x + d.x, a.y + d.y};
        if (rng() % 2) a = {a.x - d.x, a.y - d.y};
        break;
      }
    }
    const int32_t width = i % 16 == 15 ? wide(rng) : i % 3 == 0 ? 2 : small(rng);
    const PenMode m = i % 8 == 7 ? PenModeOf(rng()) : i % 2 == 0 ? PenMode::kCopy : PenMode::kXor;
    ExpectWideLineMatches(kW, kH, a, b, width, m, rng, i);
    if (HasFatalFailure()) return;
  }
}

// Ends far off the grid, up to the whole 32-bit range, with the band still crossing it.
TEST(LineReference, SmallPensWithFarEndsMatchTheCapsule) {
  constexpr int32_t kW = 53, kH = 41;
  std::mt19937 rng(31);
  std::uniform_int_distribution<int32_t> cx(0, kW - 1), cy(0, kH - 1), dir(-60, 60), width(2, 8);
  std::uniform_int_distribution<int32_t> any(std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max());
  constexpr int64_t kReach[] = {int64_t{1} << 8,  int64_t{1} << 14, (int64_t{1} << 19) - 7,
                                int64_t{1} << 20, int64_t{1} << 21, int64_t{1} << 24,
                                int64_t{1} << 26, int64_t{1} << 30};
  const auto clamp = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  };
  for (int i = 0; i < 6000; ++i) {
    const Point c{cx(rng), cy(rng)};
    Point d{dir(rng), dir(rng)};
    if (d.x == 0 && d.y == 0) d.y = 1;
    const int64_t k = kReach[rng() % std::size(kReach)] / std::max(std::abs(d.x), std::abs(d.y));
    const int64_t back = rng() % 2 ? k : static_cast<int64_t>(rng() % 5);
    Point a{clamp(c.x + k * d.x), clamp(c.y + k * d.y)};
    Point b{clamp(c.x - back * d.x), clamp(c.y - back * d.y)};
    if (i % 10 == 9) {
      a = {any(rng), any(rng)};
      b = {any(rng), any(rng)};
    }
    const PenMode m = i % 2 == 0 ? PenMode::kXor : PenMode::kCopy;
    ExpectWideLineMatches(kW, kH, a, b, width(rng), m, rng, i);
    if (HasFatalFailure()) return;
  }
}

// A band of rows worked out at once covers the columns that Row gives row by row,
// clipped to the grid, whether or not the rows that the end discs decide are taken from
// whole offsets: pens odd and even up to the widest, ends on pixel centres or corners
// as figures place them, segments short as a figure's steps or long, rows above, across
// and below the capsule and past the grid's sides.
TEST(LineReference, CapsuleRowsAtOnceMatchRowByRow) {
  std::mt19937 rng(29);
  const int32_t kPens[] = {2, 3, 10, 11, 26, 27, 64, 301, 512, 1023, 1024};
  constexpr int64_t kRows = 16;
  for (int i = 0; i < 4000; ++i) {
    const int32_t pen = kPens[static_cast<size_t>(i) % std::size(kPens)];
    const double shift = pen % 2 == 1 ? 0.0 : -0.5;
    const double r = pen / 2.0;
    std::vector<double> halfWidths(static_cast<size_t>(r) + 1);
    halfWidths.resize(raster::TableHalfWidths(r, shift - std::floor(shift), halfWidths));
    const raster::DiscColumns discs(halfWidths, shift);
    const int64_t gridWidth = 97 + pen / 2;
    std::uniform_int_distribution<int32_t> coord(-60 - pen / 2, 160 + pen / 2);
    std::uniform_int_distribution<int32_t> step(-6, 6);
    const Point a{coord(rng), coord(rng)};
    // Slanted mostly, now and then short, level, upright or a dot.
    Point b{coord(rng), coord(rng)};
    if (i % 7 == 1) b.y = a.y;
    if (i % 7 == 2) b.x = a.x;
    if (i % 7 == 3) b = a;
    if (i % 7 >= 4) b = Point{a.x + step(rng), a.y + step(rng)};
    raster::Capsule capsule(a.x + shift, a.y + shift, b.x + shift, b.y + shift, r, halfWidths);
    const raster::Capsule exact = capsule;
    capsule.UseDiscColumns(discs, a.x, a.y, b.x, b.y);
    std::uniform_int_distribution<int64_t> row(a.y - pen, a.y + pen);
    for (int batch = 0; batch < 8; ++batch) {
      const int64_t first = batch == 0 ? coord(rng) : row(rng);
      const int64_t count = 1 + static_cast<int64_t>(rng() % kRows);
      for (const raster::Capsule* rows : {&exact, static_cast<const raster::Capsule*>(&capsule)}) {
        int32_t x0[kRows];
        int32_t x1[kRows];
        rows->ClippedRows(first, count, gridWidth, x0, x1);
        for (int64_t k = 0; k < count; ++k) {
          double xl = 0;
          double xr = 0;
          const bool meets = capsule.Row(static_cast<double>(first + k), xl, xr);
          const double from = std::max(std::ceil(xl), 0.0);
          const double to = std::min(std::floor(xr), gridWidth - 1.0) + 1;
          SCOPED_TRACE(::testing::Message() << "case " << i << " row " << first + k << " offsets "
                                            << (rows == &capsule));
          if (!meets || from >= to) {
            ASSERT_GE(x0[k], x1[k]);
          } else {
            ASSERT_EQ(x0[k], from);
            ASSERT_EQ(x1[k], to);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillo
