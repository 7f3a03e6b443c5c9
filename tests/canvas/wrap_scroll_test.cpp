#include "canvas/wrap_scroll.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace quillo {
namespace {

// A surface whose every pixel is different.
Surface Numbered(int32_t w, int32_t h) {
  Surface s;
  EXPECT_TRUE(s.Resize(w, h));
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i)
    s.Bits()[i] = 0xFF000000u | uint32_t(i);
  return s;
}

// Where the pixel at (x, y) of the area goes, worked out one pixel at a time.
int64_t Mod(int64_t v, int64_t n) {
  return ((v % n) + n) % n;
}

// The whole surface after the area (0, 0, aw, ah) shifted by (dx, dy), pixel by pixel.
std::vector<uint32_t> Reference(const Surface& before, int32_t aw, int32_t ah, int64_t dx,
                                int64_t dy) {
  const int32_t w = before.Width();
  std::vector<uint32_t> out(before.Bits(), before.Bits() + size_t(w) * before.Height());
  for (int32_t y = 0; y < ah; ++y) {
    for (int32_t x = 0; x < aw; ++x) {
      const int64_t tx = Mod(x + dx, aw);
      const int64_t ty = Mod(y + dy, ah);
      out[size_t(ty) * w + size_t(tx)] = before.Bits()[size_t(y) * w + size_t(x)];
    }
  }
  return out;
}

void ExpectShift(int32_t sw, int32_t sh, int32_t aw, int32_t ah, int64_t dx, int64_t dy,
                 std::vector<uint32_t>& scratch) {
  const Surface before = Numbered(sw, sh);
  Surface s = Numbered(sw, sh);
  s.TakeDirty();
  const Rect changed = WrapPixels(s, aw, ah, dx, dy, scratch);
  const std::vector<uint32_t> expected = Reference(before, aw, ah, dx, dy);
  const std::vector<uint32_t> got(s.Bits(), s.Bits() + size_t(sw) * sh);
  ASSERT_EQ(got, expected) << sw << "x" << sh << " area " << aw << "x" << ah << " by " << dx << ", "
                           << dy;
  const bool moved = Mod(dx, aw) != 0 || Mod(dy, ah) != 0;
  EXPECT_EQ(changed, moved ? (Rect{0, 0, aw, ah}) : Rect{});
  EXPECT_EQ(s.TakeDirty(), changed);
}

TEST(WrapScrollTest, RandomShiftsOfEverySignMatchThePixelByPixelShift) {
  std::mt19937 rng(15);
  std::vector<uint32_t> scratch;
  // Sizes that are not multiples of anything, thin strips and single pixels; the
  // area the whole surface or a corner of it.
  const int32_t sizes[][4] = {{37, 23, 37, 23}, {41, 29, 31, 19}, {1, 1, 1, 1},
                              {1, 17, 1, 17},   {53, 1, 53, 1},   {64, 48, 64, 48},
                              {97, 61, 89, 59}, {12, 30, 7, 30}};
  for (const auto& sz : sizes) {
    const int32_t aw = sz[2];
    const int32_t ah = sz[3];
    for (int signs = 0; signs < 4; ++signs) {
      for (int round = 0; round < 6; ++round) {
        // Shifts within the area and shifts several times its size.
        const int64_t span = round < 3 ? 1 : 7;
        std::uniform_int_distribution<int64_t> ox(0, span * aw);
        std::uniform_int_distribution<int64_t> oy(0, span * ah);
        const int64_t dx = (signs & 1) ? -ox(rng) : ox(rng);
        const int64_t dy = (signs & 2) ? -oy(rng) : oy(rng);
        ExpectShift(sz[0], sz[1], aw, ah, dx, dy, scratch);
      }
    }
  }
}

TEST(WrapScrollTest, EdgeShifts) {
  std::vector<uint32_t> scratch;
  // Whole turns, one pixel either way, half turns (the most row cycles), shifts
  // that share factors with the size, and the ends of the 32-bit range.
  const int64_t shifts[][2] = {{0, 0},
                               {37, 23},
                               {-37, -46},
                               {1, 0},
                               {0, 1},
                               {-1, 0},
                               {0, -1},
                               {18, 0},
                               {0, 22},
                               {36, 22},
                               {-36, 1},
                               {10, 5},
                               {-10, -5},
                               {2147483647, -2147483648LL},
                               {-2147483648LL, 2147483647}};
  for (const auto& s : shifts) {
    ExpectShift(37, 23, 37, 23, s[0], s[1], scratch);
    ExpectShift(40, 24, 36, 22, s[0], s[1], scratch);
  }
}

TEST(WrapScrollTest, AreaBeyondTheSurfaceIsClippedAndEmptyAreasDoNothing) {
  std::vector<uint32_t> scratch;
  Surface s = Numbered(20, 10);
  const Surface before = Numbered(20, 10);
  EXPECT_EQ(WrapPixels(s, 0, 10, 3, 3, scratch), Rect{});
  EXPECT_EQ(WrapPixels(s, 20, -4, 3, 3, scratch), Rect{});
  EXPECT_EQ(std::vector<uint32_t>(s.Bits(), s.Bits() + 200),
            std::vector<uint32_t>(before.Bits(), before.Bits() + 200));
  // An area larger than the surface wraps at the surface's edges.
  EXPECT_EQ(WrapPixels(s, 500, 400, 3, 2, scratch), (Rect{0, 0, 20, 10}));
  EXPECT_EQ(std::vector<uint32_t>(s.Bits(), s.Bits() + 200), Reference(before, 20, 10, 3, 2));

  Surface none;
  EXPECT_EQ(WrapPixels(none, 10, 10, 1, 1, scratch), Rect{});
}

}  // namespace
}  // namespace quillo
