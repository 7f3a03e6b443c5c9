// Ellipses and round boxes against a row-by-row reference over random input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/raster/pixel_grid.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

// The columns [x0, x1) of row y inside a box whose corners are quarter ellipses of radii
// rx and ry: both ends from one inset, ceil(inset - 1/2) pixels.
bool ReferenceRow(int64_t left, int64_t top, int64_t right, int64_t bottom, double rx, double ry,
                  int64_t y, int64_t& x0, int64_t& x1) {
  if (left >= right || top >= bottom || y < top || y >= bottom) return false;
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

void Apply(Surface& s, Rect& box, int64_t y, int64_t from, int64_t to, PenMode m, Color c) {
  for (int64_t x = std::max<int64_t>(from, 0); x < std::min<int64_t>(to, s.Width()); ++x) {
    const Point p{static_cast<int32_t>(x), static_cast<int32_t>(y)};
    s.SetPixel(p, FromPixel(ApplyPenMode(m, ToPixel(c), ToPixel(s.Pixel(p)))));
    box = Union(box, Rect{p.x, p.y, p.x + 1, p.y + 1});
  }
}

// The one-pixel outline is the box's rows minus those of the box shrunk by one.
Rect ReferenceEllipse(Surface& s, const Rect& r, PenMode m, Color pen, bool fill, Color brush) {
  const Rect b = Normalized(r);
  const double rx = static_cast<double>(b.Width()) / 2;
  const double ry = static_cast<double>(b.Height()) / 2;
  Rect box{};
  for (int64_t y = std::max(b.top, 0); y < std::min(b.bottom, s.Height()); ++y) {
    int64_t o0 = 0, o1 = 0, i0 = 0, i1 = 0;
    if (!ReferenceRow(b.left, b.top, b.right, b.bottom, rx, ry, y, o0, o1)) continue;
    if (!ReferenceRow(b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, std::max(0.0, rx - 1),
                      std::max(0.0, ry - 1), y, i0, i1)) {
      Apply(s, box, y, o0, o1, m, pen);
      continue;
    }
    i0 = std::clamp(i0, o0, o1);
    i1 = std::clamp(i1, i0, o1);
    Apply(s, box, y, o0, i0, m, pen);
    if (fill) Apply(s, box, y, i0, i1, m, brush);
    Apply(s, box, y, i1, o1, m, pen);
  }
  return box;
}

// Sizes up to 40, so that boxes whose rows are kept per size and larger ones both
// come up, in every pen mode, filled and hollow, partly off the surface.
TEST(ShapeReference, OnePixelEllipsesMatchTheRowByRowReference) {
  std::mt19937 rng(31);
  std::uniform_int_distribution<int32_t> corner(-20, 60);
  std::uniform_int_distribution<int32_t> size(-40, 40);
  for (int i = 0; i < 3000; ++i) {
    Surface s;
    ASSERT_TRUE(s.Resize(47, 43));
    for (int32_t y = 0; y < s.Height(); ++y) {
      for (int32_t x = 0; x < s.Width(); ++x)
        s.SetPixel({x, y}, rng() & 0xFFFFFF);
    }
    s.TakeDirty();
    Surface expected;
    ASSERT_TRUE(expected.CopyFrom(s));
    const Point a{corner(rng), corner(rng)};
    const Rect r = MakeRect(a, Point{a.x + size(rng), a.y + size(rng)});
    const PenMode m = PenModeOf(static_cast<uint32_t>(i));
    const Color pen = rng() & 0xFFFFFF;
    const Color brush = rng() & 0xFFFFFF;
    const bool fill = i % 3 != 0;
    s.SetPenMode(m);
    s.SetPenColor(pen);
    s.SetBrushColor(brush);
    s.SetBrushStyle(fill ? BrushStyle::kSolid : BrushStyle::kClear);
    s.Ellipse(r);
    const Rect box = ReferenceEllipse(expected, r, m, pen, fill, brush);
    ASSERT_EQ(testing::ChangedBox(expected, s), Rect{}) << i;
    ASSERT_EQ(s.TakeDirty(), box) << i;
  }
}

}  // namespace
}  // namespace quillo
