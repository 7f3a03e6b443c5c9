#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/span_writer.h"

namespace quillo::raster {

// Draws the one-pixel line from a towards b, leaving out b, in mode m with pen (a
// stored pixel); returns the box of the pixels it changed.
Rect DrawThinLine(PixelGrid grid, Point a, Point b, PenMode m, uint32_t pen);

// Draws the pixels whose centres lie within width / 2 of the segment ab (a band with
// round ends), each once; returns the box of the pixels it changed.
Rect DrawWideLine(PixelGrid grid, Point a, Point b, int32_t width, PenMode m, uint32_t pen);

}  // namespace quillo::raster
