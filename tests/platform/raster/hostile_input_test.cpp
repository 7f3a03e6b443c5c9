#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "platform/raster/blit.h"
#include "platform/raster/figure_pass.h"
#include "platform/raster/line.h"
#include "platform/raster/pixel_grid.h"
#include "platform/raster/shape.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kHostile[] = {kMin, kMin + 1, -1000000000, -1,       0,
                                5,    16,       1000000000,  kMax - 1, kMax};

Surface Blank(int32_t w, int32_t h, Color c) {
  Surface s;
  EXPECT_TRUE(s.Resize(w, h));
  s.FillRect(s.Bounds(), c);
  s.TakeDirty();
  return s;
}

// The primitives drawn on a grid that sits between two guard bands, with every mix
// of hostile coordinates: nothing may land in the guards.
TEST(HostileInput, NothingIsWrittenOutsideTheGrid) {
  constexpr int32_t kW = 16, kH = 12, kGuard = 4096;
  constexpr uint32_t kSentinel = 0x5EA1ED00u;
  std::vector<uint32_t> memory(kGuard * 2 + kW * kH, kSentinel);
  const raster::PixelGrid grid{memory.data() + kGuard, kW, kH};
  const raster::PixelGrid source{memory.data() + kGuard + 3, 5, 4};
  size_t n = 0;
  for (int32_t a : kHostile) {
    for (int32_t b : kHostile) {
      const int32_t c = kHostile[(n++ * 7) % std::size(kHostile)];
      const Rect r{a, b, c, a ^ b};
      raster::DrawThinLine(grid, {a, b}, {c, ~a}, PenMode::kNot, 0);
      raster::DrawWideLine(grid, {a, b}, {b, c}, c == kMin ? kMax : c | 2, PenMode::kXor, ~0u);
      const raster::ShapeStyle style{PenMode::kNot, c < 1 ? 1 : c, 0, 0, true};
      raster::DrawRoundShape(grid, Normalized(r), a, b, style);
      raster::DrawRoundShape(grid, Normalized(r), Normalized(r).Width(), Normalized(r).Height(),
                             style);
      raster::CopyPixels(grid, r, source, Rect{c, b, a, c}, 0x66, 0);
      raster::CopyPixels(grid, Rect{b, c, a, b}, grid, r, 0xCC, 0);
    }
  }
  for (int32_t i = 0; i < kGuard; ++i) {
    ASSERT_EQ(memory[i], kSentinel) << i;
    ASSERT_EQ(memory[kGuard + kW * kH + i], kSentinel) << i;
  }
}

TEST(HostileInput, HugeLinesAreClippedExactly) {
  Surface s = Blank(16, 16, 0);
  s.SetPenColor(0xFFFFFF);
  s.MoveTo({kMin, kMin});
  s.LineTo({kMax, kMax});
  for (int32_t k = 0; k < 16; ++k)
    EXPECT_EQ(s.Pixel({k, k}), 0xFFFFFFu) << k;
  EXPECT_EQ(s.TakeDirty(), s.Bounds());
  s.MoveTo({kMax, kMin});
  s.LineTo({kMax, kMax});  // a column far to the right
  s.MoveTo({kMin, 3});
  s.LineTo({kMax, 3});  // ...and a row through the surface
  EXPECT_EQ(s.TakeDirty(), (Rect{0, 3, 16, 4}));

  s.SetPenWidth(kMax);
  s.SetPenColor(0x0000FF);
  s.MoveTo({kMin, kMax});
  s.LineTo({kMax, kMin});
  testing::ExpectPixels(s, std::vector<std::string>(16, std::string(16, 'r')));
}

// A pen of twice the diagonal already covers the whole grid wherever its line or
// outline meets it, so the widths from there to the largest draw alike: xor flips
// every pixel once per line or shape, and a merged figure leaves every pixel holding
// the bits of all its pens.
TEST(HostileInput, PensFromTwiceTheDiagonalOnCoverTheGrid) {
  constexpr int32_t kW = 40, kH = 30;  // diagonal 50
  std::mt19937 rng(31);
  std::uniform_int_distribution<int32_t> inX(0, kW - 1), inY(0, kH - 1), anyWhere(kMin, kMax);
  std::vector<uint32_t> bits(kW * kH);
  const raster::PixelGrid grid{bits.data(), kW, kH};
  for (const int32_t width : {100, 101, 1000000, kMax - 1, kMax}) {
    SCOPED_TRACE(::testing::Message() << "width " << width);
    for (int round = 0; round < 20; ++round) {
      const Point in{inX(rng), inY(rng)};
      const Point out = round % 2 == 0 ? Point{anyWhere(rng), anyWhere(rng)} : Point{inX(rng), 0};
      std::fill(bits.begin(), bits.end(), 0xFF000000u);
      raster::DrawWideLine(grid, in, out, width, PenMode::kXor, 0xFFFFFFFFu);
      const Point next{in.x + 1, in.y + 1};
      raster::DrawRoundShape(grid, MakeRect(in, next), 0, 0,
                             raster::ShapeStyle{PenMode::kXor, width, 0xFF00FF00u, 0, true});
      for (int32_t i = 0; i < kW * kH; ++i)
        ASSERT_EQ(bits[i], 0xFFFF00FFu) << "round " << round << " at " << i % kW << "," << i / kW;

      std::fill(bits.begin(), bits.end(), 0xFF000000u);
      std::vector<raster::FigurePrimitive> parts;
      uint32_t merged = 0xFF000000u;
      for (int k = 0; k < 4; ++k) {
        const uint32_t pen = 0xFF000000u | (1u << (k * 5 + round % 5));
        parts.push_back(raster::FigurePrimitive{k == 3, in,
                                                k == 0   ? out
                                                : k == 3 ? next
                                                         : in,
                                                pen});
        merged |= pen;
      }
      raster::DrawFigurePass(grid, parts, raster::FigureStyle{PenMode::kMerge, width, 0, false});
      for (int32_t i = 0; i < kW * kH; ++i)
        ASSERT_EQ(bits[i], merged) << "round " << round << " at " << i % kW << "," << i / kW;
    }
  }
}

TEST(HostileInput, HugeShapesFillTheSurface) {
  Surface s = Blank(16, 10, 0);
  s.SetPenColor(0xFFFFFF);
  s.SetBrushColor(0x00FF00);
  s.Rectangle(Rect{kMax, kMax, kMin, kMin});
  testing::ExpectPixels(s, std::vector<std::string>(10, std::string(16, 'g')));
  s.SetBrushColor(0xFF0000);
  s.Ellipse(Rect{8 - 1000000000, 5 - 1000000000, 8 + 1000000000, 5 + 1000000000});
  testing::ExpectPixels(s, std::vector<std::string>(10, std::string(16, 'b')));
  s.RoundRect(Rect{kMin, kMin, kMax, 4}, kMin, kMax);  // the lower edge crosses row 3
  EXPECT_EQ(s.Pixel({8, 3}), 0xFFFFFFu);
  EXPECT_EQ(s.Pixel({8, 4}), 0xFF0000u);
  s.SetPenWidth(kMax);
  s.Ellipse(Rect{0, 0, 1, 1});
  testing::ExpectPixels(s, std::vector<std::string>(10, std::string(16, '#')));
}

TEST(HostileInput, HugeCopiesSampleTheRightPixels) {
  const Surface src = testing::SurfaceFromRows({"rg", "b#"});
  Surface s = Blank(16, 16, 0);
  s.CopyRect(Rect{kMin, kMin, kMax, kMax}, src, src.Bounds());
  testing::ExpectPixels(s, std::vector<std::string>(16, std::string(16, '#')));
  s.TakeDirty();
  s.CopyRect(s.Bounds(), src, Rect{kMin, kMin, kMax, kMax});  // samples lie off the source
  s.CopyRect(Rect{kMin, 0, kMin + 5, 9}, s, s.Bounds());
  EXPECT_EQ(s.TakeDirty(), Rect{});
  s.SetPixel({kMin, kMax}, 0);
  EXPECT_EQ(s.Pixel({kMax, kMin}), Surface::kInvalidColor);
}

}  // namespace
}  // namespace quillo
