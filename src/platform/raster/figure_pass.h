#pragma once

#include <cstdint>
#include <span>

#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/span_writer.h"

namespace quillo::raster {

// One primitive of a figure: the line from a to b, or the ellipse in the normalised
// box with corners a and b; pen is the stored pixel it is drawn in.
struct FigurePrimitive {
  bool ellipse = false;
  Point a{};
  Point b{};
  uint32_t pen = 0;
};

// What every primitive of a figure shares: the pen mode and width, and the brush that
// fills the ellipses when fill is set.
struct FigureStyle {
  PenMode mode = PenMode::kCopy;
  int32_t penWidth = 2;
  uint32_t brush = 0xFFFFFFFFu;
  bool fill = false;
};

// Leaves what DrawWideLine and DrawRoundShape leave when called for each primitive in
// turn with style, a pen of two pixels or more, in any pen mode; but writes each
// pixel once, so a figure of pens as wide as the grid costs its area once
// rather than once per primitive. Returns the box of the pixels those calls change.
Rect DrawFigurePass(PixelGrid grid, std::span<const FigurePrimitive> parts,
                    const FigureStyle& style);

}  // namespace quillo::raster
