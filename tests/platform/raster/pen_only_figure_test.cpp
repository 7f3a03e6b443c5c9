// Figures of many parts in the modes where the last part over a pixel decides it: the
// one pass leaves what the parts drawn in turn leave, where rows are decided early,
// parts are passed over, and a band's rows end part way through a batch.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/raster/figure_check.h"
#include "platform/raster/figure_pass.h"

namespace quillo {
namespace {

TEST(PenOnlyFigure, ManyPartsLeaveWhatTheyLeaveInTurn) {
  constexpr int32_t kW = 170;
  constexpr int32_t kH = 151;
  const PenMode kModes[] = {PenMode::kCopy, PenMode::kNotCopy, PenMode::kBlack, PenMode::kWhite,
                            PenMode::kNop};
  std::mt19937 rng(31);
  std::vector<uint32_t> start(kW * kH);
  const auto coordinate = [&](int32_t size, int32_t spread) {
    return size / 2 + static_cast<int32_t>(rng() % (2 * spread + 1)) - spread;
  };
  for (int round = 0; round < 150; ++round) {
    const PenMode mode = kModes[round % 5];
    const int32_t width = 2 + static_cast<int32_t>(rng() % (round % 3 == 0 ? 1023 : 200));
    const raster::FigureStyle style{mode, width, 0xFF000000u | static_cast<uint32_t>(rng()),
                                    round % 4 == 1};
    // Up to several hundred parts, crowded near the middle or spread past the sides,
    // now and then as level or upright lines or single points.
    const int count = 1 + static_cast<int>(rng() % 400);
    const int32_t spread = round % 6 == 5 ? 900 : 20 + static_cast<int32_t>(rng() % 120);
    SCOPED_TRACE(::testing::Message()
                 << "round " << round << " width " << width << " parts " << count);
    std::vector<raster::FigurePrimitive> parts;
    for (int i = 0; i < count; ++i) {
      raster::FigurePrimitive p{rng() % 8 == 0,
                                Point{coordinate(kW, spread), coordinate(kH, spread)},
                                Point{coordinate(kW, spread), coordinate(kH, spread)},
                                0xFF000000u | static_cast<uint32_t>(rng())};
      if (rng() % 5 == 0) p.b.y = p.a.y;
      if (rng() % 5 == 0) p.b.x = p.a.x;
      parts.push_back(p);
    }
    for (int32_t i = 0; i < kW * kH; ++i)
      start[i] = 0xFF000000u | (static_cast<uint32_t>(i) * 2654435761u >> 8);
    ASSERT_NO_FATAL_FAILURE(testing::ExpectPassAsPartByPart(start, kW, kH, parts, style));
  }
}

}  // namespace
}  // namespace quillo
