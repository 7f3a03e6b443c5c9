#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>

#include "platform/raster/pixel_grid.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

using testing::ExpectPixels;
using testing::SurfaceFromRows;

// With pattern bits 11110000, source 11001100 and destination 10101010, each result
// bit i is the code's bit i, so the result byte is the code's truth table itself.
TEST(CopyModes, EveryTernaryCodeFollowsItsBits) {
  Surface src;
  ASSERT_TRUE(src.Resize(2, 2));
  src.FillRect(src.Bounds(), 0xCCCCCC);
  for (uint32_t table = 0; table < 256; ++table) {
    Surface dst;
    ASSERT_TRUE(dst.Resize(3, 2));
    dst.FillRect(dst.Bounds(), 0xAAAAAA);
    dst.SetBrushColor(0xF0F0F0);
    dst.SetCopyMode(RasterOp{table << 16});
    dst.CopyRect(Rect{0, 0, 2, 2}, src, src.Bounds());
    ASSERT_EQ(dst.Pixel({1, 1}), table * 0x010101u) << table;
    ASSERT_EQ(dst.Pixel({2, 0}), 0xAAAAAAu);
    ASSERT_EQ(dst.Bits()[1] >> 24, 0xFFu);
  }
}

TEST(CopyModes, TheNineOfferedModes) {
  constexpr Color p = 0x3C5A0F, s = 0x96E1A5, d = 0x5AA50F;
  const struct {
    RasterOp op;
    Color expected;
  } cases[] = {
      {kSrcCopy, s},       {kSrcPaint, s | d},    {kSrcAnd, s & d},
      {kSrcInvert, s ^ d}, {kSrcErase, s & ~d},   {kNotSrcErase, ~(s | d)},
      {kMergeCopy, p & s}, {kMergePaint, ~s | d}, {kDstInvert, ~d},
  };
  for (const auto& c : cases) {
    Surface src, dst;
    ASSERT_TRUE(src.Resize(5, 4) && dst.Resize(5, 4));
    src.FillRect(src.Bounds(), s);
    dst.FillRect(dst.Bounds(), d);
    dst.SetBrushColor(p);
    dst.CopyRect(Rect{0, 0, 10, 8}, src, Rect{0, 0, 10, 8}, c.op);  // unscaled path
    dst.CopyRect(Rect{4, 3, 5, 4}, src, Rect{0, 0, 3, 2}, c.op);    // ...and over it, shrunk
    EXPECT_EQ(dst.Pixel({2, 2}), c.expected & 0xFFFFFF) << std::hex << c.op.code;
  }
}

TEST(CopyRect, StretchShrinkAndMirror) {
  const Surface src = SurfaceFromRows({"rgb", "#.#"});
  Surface dst = SurfaceFromRows({"......", "......", "......"});
  dst.CopyRect(Rect{0, 0, 6, 2}, src, Rect{0, 0, 3, 1});
  dst.CopyRect(Rect{6, 3, 0, 2}, src, Rect{0, 0, 3, 2});
  ExpectPixels(dst, {"rrggbb", "rrggbb", "bbggrr"});
  dst.CopyRect(Rect{0, 0, 3, 1}, dst, Rect{6, 0, 0, 2});  // shrunk, mirrored, in place
  ExpectPixels(dst, {"bgrgbb", "rrggbb", "bbggrr"});
  EXPECT_EQ(dst.TakeDirty(), (Rect{0, 0, 6, 3}));
}

TEST(CopyRect, OverlappingCopyReadsTheSourceFirst) {
  Surface s = SurfaceFromRows({"rgb...", "#.#...", "......"});
  s.CopyRect(Rect{1, 1, 4, 3}, s, Rect{0, 0, 3, 2});
  ExpectPixels(s, {"rgb...", "#rgb..", ".#.#.."});
  s.CopyRect(Rect{0, 0, 6, 3}, s, Rect{1, 0, 7, 3});  // the last column has no source
  ExpectPixels(s, {"gb....", "rgb...", "#.#..."});
}

// The copy of destination pixel (x, y): the source pixel under its centre, read from
// the far end of the source along an axis where one rectangle is reversed.
void ReferenceCopy(Surface& dst, const Rect& dr, const Surface& src, const Rect& sr,
                   uint8_t table) {
  const Rect d = Normalized(dr), s = Normalized(sr);
  const bool mirrorX = (dr.right < dr.left) != (sr.right < sr.left);
  const bool mirrorY = (dr.bottom < dr.top) != (sr.bottom < sr.top);
  if (d.Empty() || s.Empty()) return;
  for (int32_t y = std::max(d.top, 0); y < std::min(d.bottom, dst.Height()); ++y) {
    const auto v = static_cast<int32_t>(std::floor((y - d.top + 0.5) * s.Height() / d.Height()));
    const int32_t sy = mirrorY ? s.bottom - 1 - v : s.top + v;
    for (int32_t x = std::max(d.left, 0); x < std::min(d.right, dst.Width()); ++x) {
      const auto u = static_cast<int32_t>(std::floor((x - d.left + 0.5) * s.Width() / d.Width()));
      const int32_t sx = mirrorX ? s.right - 1 - u : s.left + u;
      if (src.Pixel({sx, sy}) == Surface::kInvalidColor) continue;
      const uint32_t out = ApplyRop3(table, ToPixel(dst.BrushColor()), ToPixel(src.Pixel({sx, sy})),
                                     ToPixel(dst.Pixel({x, y})));
      dst.SetPixel({x, y}, FromPixel(out));
    }
  }
}

TEST(CopyRect, FastPathsMatchAPerPixelReference) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int32_t> coord(-12, 44);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  const uint8_t tables[] = {0xCC, 0xEE, 0x88, 0x66, 0x44, 0x11, 0xC0, 0xBB,
                            0x55, 0x00, 0xFF, 0xF0, 0x5A, 0xAA, 0x1E, 0x87};
  for (int i = 0; i < 500; ++i) {
    Surface a, b;
    ASSERT_TRUE(a.Resize(32, 24) && b.Resize(27, 33));
    for (Surface* s : {&a, &b}) {
      for (int32_t y = 0; y < s->Height(); ++y) {
        for (int32_t x = 0; x < s->Width(); ++x)
          s->SetPixel({x, y}, colour(rng));
      }
    }
    a.SetBrushColor(colour(rng));
    const Rect dr{coord(rng), coord(rng), coord(rng), coord(rng)};
    Rect sr{coord(rng), coord(rng), coord(rng), coord(rng)};
    if (i % 3 == 0) {
      sr.right = static_cast<int32_t>(sr.left + dr.Width());
      sr.bottom = static_cast<int32_t>(sr.top + dr.Height());
    }
    const Surface& src = i % 4 == 0 ? a : b;
    Surface expected, snapshot;
    ASSERT_TRUE(expected.CopyFrom(a) && snapshot.CopyFrom(src));
    const uint8_t table = tables[i % std::size(tables)];
    ReferenceCopy(expected, dr, snapshot, sr, table);
    a.CopyRect(dr, src, sr, RasterOp{uint32_t{table} << 16});
    ASSERT_EQ(testing::ChangedBox(expected, a), Rect{}) << i;
  }
}

// Exact enlargements by two, clipped at every offset so that the first destination
// column may fall on either half of a doubled source column, against the reference.
TEST(CopyRect, DoubledColumnsMatchAPerPixelReference) {
  std::mt19937 rng(8);
  std::uniform_int_distribution<int32_t> offset(-9, 9);
  std::uniform_int_distribution<int32_t> length(1, 20);
  for (int i = 0; i < 600; ++i) {
    Surface src, dst;
    ASSERT_TRUE(src.Resize(23, 19) && dst.Resize(37, 29));
    for (Surface* s : {&src, &dst}) {
      for (int32_t y = 0; y < s->Height(); ++y) {
        for (int32_t x = 0; x < s->Width(); ++x)
          s->SetPixel({x, y}, rng() & 0xFFFFFF);
      }
    }
    const int32_t left = offset(rng);
    const int32_t top = offset(rng);
    const Rect source{left, top, left + length(rng), top + length(rng)};
    const Point at{offset(rng), offset(rng)};
    const int32_t rowFactor = 1 + i % 3;
    Rect dr{at.x, at.y, at.x + 2 * static_cast<int32_t>(source.Width()),
            at.y + rowFactor * static_cast<int32_t>(source.Height())};
    // Some copies mirrored, which must keep to the general path.
    if (i % 7 == 0) std::swap(dr.left, dr.right);
    Surface expected;
    ASSERT_TRUE(expected.CopyFrom(dst));
    ReferenceCopy(expected, dr, src, source, kSrcCopy.Table());
    dst.CopyRect(dr, src, source, kSrcCopy);
    ASSERT_EQ(testing::ChangedBox(expected, dst), Rect{}) << i;
  }
}

// One read feeding two copies gives what two copies give: the pixels (a stored alpha
// byte kept by the plain copy, made opaque by the inversion) and the changed areas,
// over rectangles of every alignment, reversed ones and ones off the surface, with
// the first copy into the source itself.
TEST(CopyRectTwice, EqualsTwoCopies) {
  std::mt19937 random(7);
  auto fill = [&](Surface& s) {
    for (int32_t i = 0; i < s.Width() * s.Height(); ++i)
      s.Bits()[i] = static_cast<uint32_t>(random());
  };
  for (int round = 0; round < 300; ++round) {
    const int32_t w = 1 + static_cast<int32_t>(random() % 70);
    const int32_t h = 1 + static_cast<int32_t>(random() % 20);
    const bool invert = round % 2 == 1;
    const bool inPlace = round % 3 == 0;
    auto coord = [&](int32_t side) { return static_cast<int32_t>(random() % (side + 10)) - 5; };
    const Rect r{coord(w), coord(h), coord(w), coord(h)};
    SCOPED_TRACE(::testing::Message() << "round " << round << " " << w << "x" << h);

    Surface src, a, b, original, expectA, expectB;
    for (Surface* s : {&src, &a, &b, &original, &expectA, &expectB})
      ASSERT_TRUE(s->Resize(w, h));
    fill(src);
    fill(a);
    fill(b);
    Surface& target = inPlace ? src : a;
    std::copy_n(src.Bits(), w * h, original.Bits());
    std::copy_n(target.Bits(), w * h, expectA.Bits());
    std::copy_n(b.Bits(), w * h, expectB.Bits());
    for (Surface* s : {&src, &a, &b, &expectA, &expectB}) {
      s->TakeDirty();
      s->SetCopyMode(kSrcCopy);
    }
    for (Surface* e : {&expectA, &expectB}) {
      e->CopyRect(r, original, r, kSrcCopy);
      if (invert) e->CopyRect(r, *e, r, kDstInvert);
    }
    target.CopyRectTwice(r, src, b, invert);
    ASSERT_TRUE(std::equal(target.Bits(), target.Bits() + w * h, expectA.Bits()));
    ASSERT_TRUE(std::equal(b.Bits(), b.Bits() + w * h, expectB.Bits()));
    EXPECT_EQ(target.Dirty(), expectA.Dirty());
    EXPECT_EQ(b.Dirty(), expectB.Dirty());
  }
}

}  // namespace
}  // namespace quillo
