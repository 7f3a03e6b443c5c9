// Figures traced as the pattern tools trace them, hundreds of short steps of a wide
// pen, in every pen mode: the one pass leaves what the parts drawn in turn leave,
// also on grids whose pixels do not all hold a full alpha byte, where a pixel that no
// part covers must keep its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/raster/figure_check.h"
#include "platform/raster/figure_pass.h"

namespace quillo {
namespace {

TEST(TracedFigure, ManyShortStepsLeaveWhatTheyLeaveInTurn) {
  constexpr int32_t kW = 131;
  constexpr int32_t kH = 97;
  std::mt19937 rng(43);
  std::vector<uint32_t> start(kW * kH);
  for (int round = 0; round < 160; ++round) {
    const PenMode mode = PenModeOf(static_cast<uint32_t>(round));
    // Wide pens mostly, the widest now and then; odd and even alike.
    const int32_t width = round % 4 == 0
                              ? 1024 - round / 4 % 2
                              : 2 + static_cast<int32_t>(rng() % (round % 3 == 0 ? 1100 : 90));
    const raster::FigureStyle style{mode, width, 0xFF000000u | static_cast<uint32_t>(rng()),
                                    round % 5 == 2};
    // A walk of short steps, now and then standing still or drawing an ellipse, from a
    // point on the grid or beyond its sides; now and then one step lands very far off.
    const int count = 1 + static_cast<int>(rng() % 300);
    const int32_t reach = round % 6 == 5 ? 400 : 40;
    Point at{kW / 2 + static_cast<int32_t>(rng() % (2 * reach + 1)) - reach,
             kH / 2 + static_cast<int32_t>(rng() % (2 * reach + 1)) - reach};
    std::uniform_int_distribution<int32_t> step(-6, 6);
    std::vector<raster::FigurePrimitive> parts;
    for (int i = 0; i < count; ++i) {
      Point next{at.x + step(rng), at.y + step(rng)};
      if (rng() % 9 == 0) next = at;
      if (round % 8 == 7 && i == count / 2) next = Point{at.x + (1 << 25), at.y - 3};
      const uint32_t pen = 0xFF000000u | static_cast<uint32_t>(rng());
      parts.push_back(raster::FigurePrimitive{rng() % 10 == 0, at, next, pen});
      if (i != count / 2) at = next;
    }
    // Half the rounds start on pixels whose alpha byte is full, none or half.
    const bool mixedAlpha = round % 2 == 1;
    for (int32_t i = 0; i < kW * kH; ++i) {
      const uint32_t alpha = mixedAlpha ? (rng() % 3 == 0   ? 0u
                                           : rng() % 2 == 0 ? 0x80u
                                                            : 0xFFu)
                                        : 0xFFu;
      start[i] = (alpha << 24) | (static_cast<uint32_t>(i) * 2654435761u >> 8);
    }
    SCOPED_TRACE(::testing::Message() << "round " << round << " mode " << round % 16 << " width "
                                      << width << " parts " << count);
    ASSERT_NO_FATAL_FAILURE(testing::ExpectPassAsPartByPart(start, kW, kH, parts, style));
  }
}

}  // namespace
}  // namespace quillo
