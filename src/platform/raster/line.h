#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/span_writer.h"

namespace quillo::raster {

// Whether p is a pixel of the grid.
inline bool OnGrid(PixelGrid grid, Point p) {
  return static_cast<uint32_t>(p.x) < static_cast<uint32_t>(grid.width) &&
         static_cast<uint32_t>(p.y) < static_cast<uint32_t>(grid.height);
}

// DrawThinLine for a != b with both ends on the grid, where no clipping is needed: the
// same walk in 32-bit steps, its direction picked without branches (a figure's short
// segments turn every way) and its box known from the ends. Inline, so that callers
// drawing many short lines in one mode pay no dispatch per line.
template <PenMode M>
inline Rect DrawInsideThinLine(PixelGrid grid, Point a, Point b, uint32_t pen) {
  const int32_t dx = b.x - a.x;
  const int32_t dy = b.y - a.y;
  const int32_t adx = dx < 0 ? -dx : dx;
  const int32_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int32_t n = xMajor ? adx : ady;
  const int32_t minorDelta = xMajor ? ady : adx;
  const int64_t stepX = dx < 0 ? -1 : 1;
  const int64_t stepY = dy < 0 ? -int64_t{grid.width} : int64_t{grid.width};
  const int64_t majorAdvance = xMajor ? stepX : stepY;
  const int64_t diagonalAdvance = stepX + stepY;

  // The error runs n below Bresenham's, so a minor step is due when adding minorDelta
  // leaves it at 0 or above. Both outcomes are formed and one is selected: no branch
  // (minor steps come irregularly) and a short chain from one pixel to the next.
  uint32_t* bits = grid.bits + int64_t{a.y} * grid.width + a.x;
  int32_t error = n / 2 - n;
  for (int32_t i = 0; i < n; ++i) {
    *bits = PenPixel<M>(pen, *bits);
    const int32_t plain = error + minorDelta;
    const int32_t stepped = error + (minorDelta - n);
    const bool minorStep = plain >= 0;
    error = minorStep ? stepped : plain;
    bits += minorStep ? diagonalAdvance : majorAdvance;
  }

  // The last pixel is one major step short of b, and short along the minor axis too
  // when the last half step rounds down.
  const int32_t majorLast = n - 1;
  const int32_t minorLast = minorDelta - (minorDelta > n / 2);
  const int32_t offX = xMajor ? majorLast : minorLast;
  const int32_t offY = xMajor ? minorLast : majorLast;
  const int32_t xLast = a.x + (dx < 0 ? -offX : offX);
  const int32_t yLast = a.y + (dy < 0 ? -offY : offY);
  return Rect{std::min(a.x, xLast), std::min(a.y, yLast), std::max(a.x, xLast) + 1,
              std::max(a.y, yLast) + 1};
}

// Draws the one-pixel line from a towards b, leaving out b, in mode m with pen (a
// stored pixel); returns the box of the pixels it changed.
Rect DrawThinLine(PixelGrid grid, Point a, Point b, PenMode m, uint32_t pen);

// Draws the pixels whose centres lie within width / 2 of the segment ab (a band with
// round ends), each once; returns the box of the pixels it changed.
Rect DrawWideLine(PixelGrid grid, Point a, Point b, int32_t width, PenMode m, uint32_t pen);

}  // namespace quillo::raster
