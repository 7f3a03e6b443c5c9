#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/span_writer.h"

namespace quillo::raster {

// Copies srcRect of src onto dstRect of dst by nearest pixel, mirrored along an axis
// where exactly one rectangle is reversed, combining pattern, source and destination
// by the ternary truth table. src may share dst's pixels. Destination pixels whose
// source lies outside src stay as they are. Returns the box of the pixels written.
Rect CopyPixels(PixelGrid dst, const Rect& dstRect, const PixelGrid& src, const Rect& srcRect,
                uint8_t table, uint32_t pattern);

}  // namespace quillo::raster
