#include "colour/colour_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <vector>

namespace quillo {
namespace {

uint32_t ReferenceChannel(double t) {
  return static_cast<uint32_t>(std::clamp(static_cast<int32_t>(std::nearbyint(t)), 0, 255));
}

// The field's formula evaluated directly, weights and sums as written out.
Color ReferenceValue(const ColourField& f, int32_t x, int32_t y) {
  const double w2 = f.fieldHalfWidth;
  const double h2 = f.fieldHalfHeight;
  const double dx = std::fabs(static_cast<double>(x) - w2);
  const double dy = std::fabs(static_cast<double>(y) - h2);
  const double wv = f.centerMode ? dx / w2 : (w2 - dx) / w2;
  const double wh = f.centerMode ? dy / h2 : (h2 - dy) / h2;
  const double wc =
      f.centerMode ? std::min((w2 - dx) / w2, (h2 - dy) / h2) : std::min(dx / w2, dy / h2);
  const auto channel = [&](uint32_t (*of)(Color)) {
    return ReferenceChannel(wv * of(f.vertical) + wh * of(f.horizontal) + wc * of(f.corner));
  };
  return Rgb(channel(RedOf), channel(GreenOf), channel(BlueOf));
}

TEST(ColourField, DefaultFieldAtItsLandmarks) {
  ColourField f;
  f.SetEditorSize(1024, 768);
  EXPECT_EQ(f.FieldColorValue(0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(f.FieldColorValue(512, 0), Rgb(255, 0, 0));
  EXPECT_EQ(f.FieldColorValue(512, 384), Rgb(255, 255, 0));
  EXPECT_EQ(f.FieldColorValue(256, 192), Rgb(128, 128, 128));
  EXPECT_EQ(f.FieldColorAt(-10, 5), f.FieldColorAt(10, 5));
  EXPECT_EQ(f.FieldColorAt(5000, 5000), f.FieldColorValue(1023, 767));
  f.centerMode = true;
  EXPECT_EQ(f.FieldColorValue(512, 384), Rgb(0, 0, 255));
  EXPECT_EQ(f.FieldColorValue(0, 0), Rgb(255, 255, 0));
}

// Colours, layout and size change between evaluations, so that kept terms must be
// dropped at the right moments; points inside and outside the field.
TEST(ColourField, EvaluationsMatchTheDirectFormulaWhateverChanges) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int32_t> size(0, 90);
  ColourField f;
  f.SetEditorSize(64, 48);
  for (int round = 0; round < 400; ++round) {
    switch (round % 5) {
      case 0:
        f.corner = rng() & 0xFFFFFF;
        break;
      case 1:
        f.vertical = rng() & 0xFFFFFF;
        break;
      case 2:
        f.horizontal = rng() & 0xFFFFFF;
        break;
      case 3:
        f.centerMode = !f.centerMode;
        break;
      default:
        f.SetEditorSize(size(rng), size(rng));
        break;
    }
    if (f.fieldHalfWidth == 0 || f.fieldHalfHeight == 0) continue;
    std::uniform_int_distribution<int32_t> x(-5, f.fieldWidth + 5);
    std::uniform_int_distribution<int32_t> y(-5, f.fieldHeight + 5);
    for (int k = 0; k < 300; ++k) {
      const int32_t px = x(rng);
      const int32_t py = y(rng);
      const Color want = ReferenceValue(f, px, py);
      ASSERT_EQ(f.FieldColorValue(px, py), want) << round << " " << px << "," << py;
      ASSERT_EQ(f.lastFieldColor, want);
      const int32_t cx = std::min(std::abs(px), f.fieldWidth - 1);
      const int32_t cy = std::min(std::abs(py), f.fieldHeight - 1);
      ASSERT_EQ(f.FieldColorAt(px, py), ReferenceValue(f, cx, cy)) << round;
    }
  }
}

// A batch must give each point what FieldColorAt gives it, with single evaluations
// and changes of colour, layout and size in between, hostile coordinates included.
TEST(ColourField, BatchColoursAreThoseOfEachPoint) {
  std::mt19937 rng(21);
  std::uniform_int_distribution<int32_t> size(0, 70);
  ColourField f;
  f.SetEditorSize(40, 30);
  for (int round = 0; round < 300; ++round) {
    switch (round % 4) {
      case 0:
        f.vertical = rng() & 0xFFFFFF;
        break;
      case 1:
        f.centerMode = !f.centerMode;
        break;
      case 2:
        f.SetEditorSize(size(rng), size(rng));
        break;
      default:
        // Single evaluations fill some kept terms of this generation first.
        for (int k = 0; k < 5; ++k)
          f.FieldColorValue(static_cast<int32_t>(rng() % 50), static_cast<int32_t>(rng() % 40));
        break;
    }
    std::uniform_int_distribution<int32_t> coord(-90, 90);
    std::vector<Point> points;
    for (int k = 0; k < 1 + round % 40; ++k)
      points.push_back({coord(rng), coord(rng)});
    if (round % 7 == 0) points.push_back({INT32_MIN, INT32_MAX});
    std::vector<Color> batch(points.size());
    ColourField single = f;
    f.lastFieldColor = single.lastFieldColor = 0x010203;
    f.FieldColorsAt(points, batch.data());
    for (size_t i = 0; i < points.size(); ++i)
      ASSERT_EQ(batch[i], single.FieldColorAt(points[i].x, points[i].y)) << round << " " << i;
    EXPECT_EQ(f.lastFieldColor, single.lastFieldColor) << round;
  }
}

TEST(ColourField, AFieldTooSmallGivesTheLastColourBack) {
  ColourField f;
  f.SetEditorSize(300, 1);
  f.lastFieldColor = 0x123456;
  EXPECT_EQ(f.FieldColorValue(10, 0), 0x123456u);
  EXPECT_EQ(f.FieldColorAt(-7, 9), 0x123456u);
}

}  // namespace
}  // namespace quillo
