// Rows of spans drawn each pixel once leave what the spans drawn one after another
// leave, in every pen mode.
#include "platform/raster/effect_rows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quillo {
namespace {

constexpr int32_t kWidth = 64;

// Few spans anywhere, where the spans' bits are soon decided; and hundreds over the
// whole row whose pens leave one bit alone but in the first, where a row takes the
// plain sweep in the modes that turn bits over.
TEST(EffectRows, DrawLeavesWhatTheSpansLeaveInTurn) {
  std::mt19937 rng(31);
  for (int round = 0; round < 160; ++round) {
    const PenMode mode = PenModeOf(static_cast<uint32_t>(round));
    const bool many = round / 16 % 2 == 1;
    SCOPED_TRACE(::testing::Message() << "round " << round << " many " << many);
    std::vector<raster::RowSpan> spans;
    const size_t count = many ? 200 + rng() % 200 : 1 + rng() % 6;
    for (size_t i = 0; i < count; ++i) {
      int32_t x0 = static_cast<int32_t>(rng() % kWidth);
      int32_t x1 = static_cast<int32_t>(rng() % kWidth);
      if (x0 > x1) std::swap(x0, x1);
      if (many) {
        x0 = static_cast<int32_t>(rng() % 3);
        x1 = kWidth - static_cast<int32_t>(rng() % 3);
      }
      uint32_t pen = 0xFF000000u | static_cast<uint32_t>(rng());
      if (many && i > 0) pen = round / 32 % 2 == 0 ? pen & ~0x800000u : pen | 0x800000u;
      spans.push_back(raster::RowSpan{x0, x1 + 1, pen, static_cast<uint32_t>(i)});
    }
    std::vector<uint32_t> row(kWidth + 1);
    for (uint32_t& px : row)
      px = 0xFF000000u | static_cast<uint32_t>(rng());
    std::vector<uint32_t> expected = row;
    for (const raster::RowSpan& s : spans) {
      for (int32_t x = s.x0; x < s.x1; ++x)
        expected[x] = ApplyPenMode(mode, s.value, expected[x]) | 0xFF000000u;
    }
    raster::EffectRows rows(mode, kWidth + 1);
    rows.Draw(row.data(), spans, spans.size());
    for (int32_t x = 0; x <= kWidth; ++x)
      ASSERT_EQ(row[x], expected[x]) << "column " << x;
  }
}

}  // namespace
}  // namespace quillo
