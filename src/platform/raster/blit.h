#pragma once

#include <cstddef>
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

// Copies the pixels of r, clipped to the grids, from src into both dst and also, all
// three of src's size, reading each source pixel once; with invert both get the pixel
// inverted as the destination-inversion code leaves it. dst may share src's pixels;
// also shares neither's. Returns the box of the pixels written.
Rect CopyPixelsTwice(PixelGrid dst, PixelGrid also, const PixelGrid& src, const Rect& r,
                     bool invert);

// Copies n pixels from from to to, past the caches where the processor allows: for
// memory that will not be read again soon, such as the undo history's tiles. Call
// EndColdCopies before another thread, or a device, reads what they wrote.
void CopyCold(uint32_t* to, const uint32_t* from, size_t n);
void EndColdCopies();

}  // namespace quillo::raster
