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

// The last pixel of the one-pixel line from a towards b, a != b: one major step short
// of b, and short along the minor axis too when the last half step rounds down.
inline Point LastPixelOf(Point a, Point b) {
  const int32_t dx = b.x - a.x;
  const int32_t dy = b.y - a.y;
  const int32_t adx = dx < 0 ? -dx : dx;
  const int32_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int32_t n = xMajor ? adx : ady;
  const int32_t minorDelta = xMajor ? ady : adx;
  const int32_t majorLast = n - 1;
  const int32_t minorLast = minorDelta - (minorDelta > n / 2);
  const int32_t offX = xMajor ? majorLast : minorLast;
  const int32_t offY = xMajor ? minorLast : majorLast;
  return Point{a.x + (dx < 0 ? -offX : offX), a.y + (dy < 0 ? -offY : offY)};
}

// The pixels of DrawThinLine for a != b with both ends on the grid, where no clipping
// is needed: the same walk in 32-bit steps, its direction picked without branches (a
// figure's short segments turn every way). Inline, so that callers drawing many short
// lines in one mode pay no dispatch per line. The pixels lie in the box of a and b
// and include a.
template <PenMode M>
inline void WalkInsideThinLine(PixelGrid grid, Point a, Point b, uint32_t pen) {
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
  // leaves it at 0 or above, which its sign bit tells without a branch (minor steps
  // come irregularly).
  uint32_t* bits = grid.bits + int64_t{a.y} * grid.width + a.x;
  int32_t error = n / 2 - n;
  const int64_t straightExtra = majorAdvance - diagonalAdvance;
  for (int32_t i = 0; i < n; ++i) {
    *bits = PenPixel<M>(pen, *bits);
    // All ones while no minor step is due; a mask, since compilers turn a select of
    // this kind back into a branch.
    const int32_t plain = error + minorDelta;
    const int32_t straight = plain >> 31;
    error = plain - (n & ~straight);
    bits += diagonalAdvance + (straightExtra & int64_t{straight});
  }
}

// WalkInsideThinLine, returning the box of the pixels it changed.
template <PenMode M>
inline Rect DrawInsideThinLine(PixelGrid grid, Point a, Point b, uint32_t pen) {
  WalkInsideThinLine<M>(grid, a, b, pen);
  const Point last = LastPixelOf(a, b);
  return Rect{std::min(a.x, last.x), std::min(a.y, last.y), std::max(a.x, last.x) + 1,
              std::max(a.y, last.y) + 1};
}

// Draws the one-pixel line from a towards b, leaving out b, in mode m with pen (a
// stored pixel); returns the box of the pixels it changed.
Rect DrawThinLine(PixelGrid grid, Point a, Point b, PenMode m, uint32_t pen);

// Draws the pixels whose centres lie within width / 2 of the segment ab (a band with
// round ends), each once, the width as DrawnPenWidth draws it; returns the box of the
// pixels it changed.
Rect DrawWideLine(PixelGrid grid, Point a, Point b, int32_t width, PenMode m, uint32_t pen);

}  // namespace quillo::raster
