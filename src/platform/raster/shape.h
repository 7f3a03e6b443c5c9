#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/span_writer.h"

namespace quillo::raster {

// How a closed shape is drawn: pen mode, pen width and the two stored pixels; fill
// false leaves the inside as it is.
struct ShapeStyle {
  PenMode mode = PenMode::kCopy;
  int32_t penWidth = 1;
  uint32_t pen = 0xFF000000u;
  uint32_t brush = 0xFFFFFFFFu;
  bool fill = true;
};

// Draws the box (normalised) with corners rounded by quarters of a cornerW x cornerH
// ellipse: the outline of penWidth (as DrawnPenWidth draws it) straddling the edge
// (width / 2 outside, the rest inside) in the pen, the inside in the brush, each pixel once.
// Returns the box of the pixels it changed.
Rect DrawRoundShape(PixelGrid grid, const Rect& box, int64_t cornerW, int64_t cornerH,
                    const ShapeStyle& style);

}  // namespace quillo::raster
