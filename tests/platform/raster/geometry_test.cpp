#include "platform/raster/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace quillo {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(5, -1, 2), -3);
  EXPECT_EQ(MulDiv(5, 1, -2), -3);
  EXPECT_EQ(MulDiv(-5, 1, -2), 3);
  EXPECT_EQ(MulDiv(7, 1, 3), 2);
  EXPECT_EQ(MulDiv(8, 1, 3), 3);
  EXPECT_EQ(MulDiv(-8, 1, 3), -3);
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(kMax, 2, 1), -1);
  EXPECT_EQ(MulDiv(kMin, 1, -1), -1);
  EXPECT_EQ(MulDiv(kMin, 1, 1), kMin);
}

TEST(MulDiv, KeepsTheFullProduct) {
  EXPECT_EQ(MulDiv(kMax, kMax, kMax), kMax);
  EXPECT_EQ(MulDiv(kMin, kMin, kMin), kMin);
  EXPECT_EQ(MulDiv(100000, 100000, 50000), 200000);
  EXPECT_EQ(MulDiv(kMax, kMin, kMin), kMax);
}

TEST(Nearest, TiesGoToEven) {
  EXPECT_EQ(Nearest(0.5), 0);
  EXPECT_EQ(Nearest(1.5), 2);
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(-2.5), -2);
  EXPECT_EQ(Nearest(-3.5), -4);
  EXPECT_EQ(Nearest(2.4999), 2);
  EXPECT_EQ(Nearest(-0.7), -1);
}

TEST(Nearest, SaturatesAndMapsNanToZero) {
  EXPECT_EQ(Nearest(1e20), kMax);
  EXPECT_EQ(Nearest(-1e20), kMin);
  EXPECT_EQ(Nearest(std::numeric_limits<double>::infinity()), kMax);
  EXPECT_EQ(Nearest(std::nan("")), 0);
  EXPECT_EQ(Nearest(2147483646.5), 2147483646);
  EXPECT_EQ(Nearest(-2147483648.0), kMin);
}

// The inline rounding against the library's over the range where it does not
// saturate: random values, every quarter near zero and near the ends, and halves.
TEST(Nearest, MatchesTheLibraryRoundingToEven) {
  const auto reference = [](double v) { return static_cast<int32_t>(std::nearbyint(v)); };
  for (int q = -4000; q <= 4000; ++q) {
    ASSERT_EQ(Nearest(q / 4.0), reference(q / 4.0)) << q;
    ASSERT_EQ(Nearest(2147483000.0 + q / 8.0), reference(2147483000.0 + q / 8.0)) << q;
    ASSERT_EQ(Nearest(-2147483000.0 - q / 8.0), reference(-2147483000.0 - q / 8.0)) << q;
  }
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> small(-1000.0, 1000.0);
  std::uniform_real_distribution<double> wide(-2147483648.0, 2147483646.0);
  for (int i = 0; i < 200000; ++i) {
    const double v = i % 2 ? small(rng) : wide(rng);
    ASSERT_EQ(Nearest(v), reference(v)) << v;
    const double half = std::floor(v) + 0.5;
    ASSERT_EQ(Nearest(half), reference(half)) << half;
    const double below = std::nextafter(half, 0.0);
    ASSERT_EQ(Nearest(below), reference(below)) << below;
  }
}

TEST(RectMath, IntersectAndUnionOfNormalisedRects) {
  EXPECT_EQ(Intersect(Rect{0, 0, 10, 10}, Rect{5, -5, 20, 5}), (Rect{5, 0, 10, 5}));
  EXPECT_TRUE(Intersect(Rect{0, 0, 10, 10}, Rect{10, 0, 20, 10}).Empty());
  EXPECT_EQ(Union(Rect{}, Rect{1, 2, 3, 4}), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(Union(Rect{0, 0, 1, 1}, Rect{5, 5, 6, 7}), (Rect{0, 0, 6, 7}));
  EXPECT_EQ(Normalized(Rect{9, 8, 1, 2}), (Rect{1, 2, 9, 8}));
  EXPECT_EQ((Rect{kMin, kMin, kMax, kMax}).Width(), int64_t{kMax} - kMin);
}

}  // namespace
}  // namespace quillo
