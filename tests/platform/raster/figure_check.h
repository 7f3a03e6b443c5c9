#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/raster/figure_pass.h"
#include "platform/raster/line.h"
#include "platform/raster/shape.h"

namespace quillo::testing {

// Draws parts over a w x h grid holding start, in one pass (with the widest registers
// and with the common ones) and part by part with DrawWideLine and DrawRoundShape, and
// expects the same pixels and the same box of changed pixels.
inline void ExpectPassAsPartByPart(const std::vector<uint32_t>& start, int32_t w, int32_t h,
                                   std::span<const raster::FigurePrimitive> parts,
                                   const raster::FigureStyle& style) {
  std::vector<uint32_t> callBits = start;
  Rect callBox{};
  const raster::PixelGrid grid{callBits.data(), w, h};
  for (const raster::FigurePrimitive& part : parts) {
    Rect r{};
    if (part.ellipse) {
      const Rect box = Normalized(MakeRect(part.a, part.b));
      r = raster::DrawRoundShape(
          grid, box, box.Width(), box.Height(),
          raster::ShapeStyle{style.mode, style.penWidth, part.pen, style.brush, style.fill});
    } else {
      r = raster::DrawWideLine(grid, part.a, part.b, style.penWidth, style.mode, part.pen);
    }
    callBox = Union(callBox, r);
  }
  using Registers = raster::EffectRows::Registers;
  for (const Registers registers : {Registers::kWidest, Registers::kCommon}) {
    SCOPED_TRACE(registers == Registers::kWidest ? "widest registers" : "common registers");
    std::vector<uint32_t> passBits = start;
    const Rect passBox = raster::DrawFigurePass({passBits.data(), w, h}, parts, style, registers);
    for (int32_t i = 0; i < w * h; ++i)
      ASSERT_EQ(passBits[i], callBits[i]) << i % w << "," << i / w;
    EXPECT_EQ(passBox, callBox);
  }
}

}  // namespace quillo::testing
