#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/raster/surface.h"

namespace quillo {
namespace {

// Random drawings in every pen mode through transforms of several scales. Each reports
// every pixel it changes and keeps what lies outside the units' area black; with pens
// of one and two units and a unit of a pixel or more, each leaves the blocks of what
// it leaves on a surface of the units' own size.
TEST(SurfaceTransform, NarrowPensDrawTheBlocksOfTheirUnits) {
  constexpr int32_t kW = 40, kH = 30;
  std::mt19937 rng(30);
  const auto any = [&](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  const auto anyPoint = [&] { return Point{any(-8, kW + 8), any(-8, kH + 8)}; };
  for (const bool wide : {false, true}) {
    for (const double scale : {3.0, 1.40625, 1.0, 0.5}) {
      const SurfaceTransform t{scale, Point{5, 2}, kW, kH};
      const auto edge = [&](int32_t u, int32_t offset) { return Nearest(offset + u * scale); };
      Surface small, big;
      ASSERT_TRUE(small.Resize(kW, kH));
      ASSERT_TRUE(big.Resize(edge(kW, 5) + 4, edge(kH, 2) + 3));
      big.SetTransform(t);
      // The unit each pixel lies in, -1 outside.
      std::vector<int32_t> unitX(static_cast<size_t>(big.Width()), -1);
      std::vector<int32_t> unitY(static_cast<size_t>(big.Height()), -1);
      for (int32_t u = 0; u < kW; ++u)
        for (int32_t x = edge(u, 5); x < edge(u + 1, 5); ++x)
          unitX[static_cast<size_t>(x)] = u;
      for (int32_t u = 0; u < kH; ++u)
        for (int32_t y = edge(u, 2); y < edge(u + 1, 2); ++y)
          unitY[static_cast<size_t>(y)] = u;
      big.TakeChanged();
      for (int step = 0; step < 400; ++step) {
        const int op = any(0, 5);
        const Point a = anyPoint(), b = anyPoint(), c = anyPoint();
        Color colours[3];
        for (Color& colour : colours)
          colour = static_cast<Color>(any(0, 0xFFFFFF));
        const int32_t width = wide ? any(3, 6) : any(1, 2);
        const auto mode = static_cast<PenMode>(any(0, 15));
        const Color pen = static_cast<Color>(any(0, 0xFFFFFF));
        const BrushStyle brush = any(0, 1) ? BrushStyle::kSolid : BrushStyle::kClear;
        const std::vector<uint32_t> before(big.Bits(), big.Bits() + big.Width() * big.Height());
        for (Surface* s : {&small, &big}) {
          s->SetPenMode(mode);
          s->SetPenColor(pen);
          s->SetPenWidth(width);
          s->SetBrushStyle(brush);
          s->SetBrushColor(colours[0]);
          if (op == 0) s->FillRect(MakeRect(a, b), colours[1]);
          if (op == 1) s->LineTo(a);
          if (op == 2) s->Polyline(std::vector<Point>{a, b, c}, colours);
          if (op == 3) s->Ellipse(MakeRect(a, b));
          if (op == 4) s->RoundRect(MakeRect(a, b), c.x, c.y);
          if (op == 5) s->Rectangle(MakeRect(a, b));
        }
        const Rect changed = big.TakeChanged();
        for (int32_t y = 0; y < big.Height(); ++y) {
          for (int32_t x = 0; x < big.Width(); ++x) {
            const size_t i = static_cast<size_t>(y) * big.Width() + x;
            const uint32_t px = big.Bits()[i];
            if (px != before[i]) {
              ASSERT_EQ(Intersect(changed, Rect{x, y, x + 1, y + 1}).Empty(), false)
                  << "op " << op << " at " << x << "," << y;
            }
            const int32_t ux = unitX[static_cast<size_t>(x)], uy = unitY[static_cast<size_t>(y)];
            if (ux < 0 || uy < 0) {
              ASSERT_EQ(px, 0xFF000000u) << "op " << op << " at " << x << "," << y;
            } else if (!wide && scale >= 1) {
              ASSERT_EQ(px, small.Bits()[uy * kW + ux])
                  << "op " << op << " mode " << static_cast<int>(mode) << " scale " << scale
                  << " at " << x << "," << y;
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillo
