// The line paths against slow references over random input: every pixel, pen mode
// and changed box must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

}  // namespace
}  // namespace quillo
