// Rows of spans drawn each pixel once leave what the spans drawn one after another
// leave, in every pen mode.
#include "platform/raster/effect_rows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quillo {
namespace {

// How a round lays its spans out.
enum class Layout {
  kFew,        // a few spans anywhere, whose bits are soon decided
  kWholeRow,   // hundreds over the whole row whose pens leave one bit alone but in the first
  kScattered,  // hundreds anywhere, with pens from a few that share most bits, so that
               // the last span to set a bit often lies far back and hands over to another
  kThousands,  // more spans than one word of words holds, with the pens as above
  kFewLong,    // some dozens of long spans over a wide row, swept by their ends where
               // the mode only sets bits
  kCrowded,    // more spans than keys of 16 bits tell apart, over a narrow row
};

// Every mode under every layout, on rows that already hold random pixels, in each way
// the processor allows.
TEST(EffectRows, DrawLeavesWhatTheSpansLeaveInTurn) {
  std::mt19937 rng(31);
  const Layout kLayouts[] = {Layout::kFew,       Layout::kWholeRow, Layout::kScattered,
                             Layout::kThousands, Layout::kFewLong,  Layout::kCrowded};
  for (const Layout layout : kLayouts) {
    for (int round = 0; round < 64; ++round) {
      const PenMode mode = PenModeOf(static_cast<uint32_t>(round));
      // Only the modes that both set bits and turn them over keep the spans' order.
      const bool setsAndTurns = mode == PenMode::kMergePenNot || mode == PenMode::kMaskPenNot ||
                                mode == PenMode::kNotMerge || mode == PenMode::kNotMask;
      if (layout == Layout::kCrowded && !setsAndTurns) continue;
      int32_t width = layout == Layout::kFew || layout == Layout::kWholeRow ? 64 : 300;
      if (layout == Layout::kFewLong) width = 2000;
      if (layout == Layout::kCrowded) width = 40;
      SCOPED_TRACE(::testing::Message()
                   << "layout " << static_cast<int>(layout) << " round " << round);
      size_t count = 1 + rng() % 6;
      if (layout == Layout::kWholeRow || layout == Layout::kScattered) count = 200 + rng() % 200;
      if (layout == Layout::kThousands) count = 4100 + rng() % 300;
      if (layout == Layout::kFewLong) count = 20 + rng() % 40;
      if (layout == Layout::kCrowded) count = 40000 + rng() % 30000;
      std::vector<uint32_t> palette;
      for (int k = 0; k < 4; ++k)
        palette.push_back(0xFF000000u | static_cast<uint32_t>(rng()));
      std::vector<raster::RowSpan> spans;
      for (size_t i = 0; i < count; ++i) {
        auto x0 = static_cast<int32_t>(rng() % static_cast<uint32_t>(width));
        auto x1 = static_cast<int32_t>(rng() % static_cast<uint32_t>(width));
        if (x0 > x1) std::swap(x0, x1);
        uint32_t pen = 0xFF000000u | static_cast<uint32_t>(rng());
        if (layout == Layout::kWholeRow) {
          x0 = static_cast<int32_t>(rng() % 3);
          x1 = width - static_cast<int32_t>(rng() % 3);
          if (i > 0) pen = round / 16 % 2 == 0 ? pen & ~0x800000u : pen | 0x800000u;
        } else if (layout != Layout::kFew) {
          // Mostly the palette's pens, now and then one bit apart from them.
          pen = palette[rng() % palette.size()];
          if (rng() % 8 == 0) pen ^= 1u << (rng() % 24);
        }
        // Now and then an end where the last span's starts or ends.
        if (layout == Layout::kFewLong && i > 0 && rng() % 3 == 0) {
          (rng() % 2 == 0 ? x0 : x1) = rng() % 2 == 0 ? spans.back().x0 : spans.back().x1 - 1;
          if (x0 > x1) std::swap(x0, x1);
        }
        spans.push_back(raster::RowSpan{x0, x1 + 1, pen});
      }
      std::vector<uint32_t> row(static_cast<size_t>(width) + 1);
      for (uint32_t& px : row)
        px = 0xFF000000u | static_cast<uint32_t>(rng());
      std::vector<uint32_t> expected = row;
      for (const raster::RowSpan& s : spans) {
        for (int32_t x = s.x0; x < s.x1; ++x)
          expected[x] = ApplyPenMode(mode, s.value, expected[x]) | 0xFF000000u;
      }
      // With the widest registers and with the common ones alike; twice over, so that
      // what one row leaves behind cannot reach the next.
      for (const auto registers :
           {raster::EffectRows::Registers::kWidest, raster::EffectRows::Registers::kCommon}) {
        raster::EffectRows rows(mode, width + 1, registers);
        std::vector<uint32_t> once = row;
        std::vector<uint32_t> again = row;
        rows.Draw(once.data(), spans);
        rows.Draw(again.data(), spans);
        for (int32_t x = 0; x <= width; ++x) {
          ASSERT_EQ(once[x], expected[x]) << "column " << x;
          ASSERT_EQ(again[x], expected[x]) << "column " << x << ", second row";
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillo
