// The one-pixel pen: Bresenham walks, clipped analytically where they leave the grid.
#include "platform/raster/line.h"

#include <algorithm>

namespace quillo::raster {

namespace {

// The offsets k >= 0 for which origin + step * k lies in [0, limit); step is +1 or -1.
struct OffsetRange {
  int64_t lo;
  int64_t hi;
};
OffsetRange OffsetsInside(int64_t origin, int64_t step, int64_t limit) {
  if (step > 0) return {-origin, limit - 1 - origin};
  return {origin - (limit - 1), origin};
}

// The Bresenham walk of one line: step i moves one pixel along the major axis and
// the minor axis by floor((i * minorDelta + n / 2) / n) pixels in total.
struct Walk {
  uint64_t n;
  uint64_t minorDelta;
  uint64_t MinorAt(int64_t i) const { return (static_cast<uint64_t>(i) * minorDelta + n / 2) / n; }
  uint64_t ErrorAt(int64_t i) const { return (static_cast<uint64_t>(i) * minorDelta + n / 2) % n; }
};

// Smallest i in [lo, hi] with pred(i), given pred is false then true over the range.
template <class Pred>
int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred) {
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// Narrows the steps [first, last] of the walk to those whose pixel lies inside: major
// offsets in majorRange and minor ones in minorRange. Analytic, so a line far outside
// costs nothing and the pixels inside are exactly those of the unclipped walk.
bool ClipWalk(const Walk& walk, OffsetRange majorRange, OffsetRange minorRange, int64_t& first,
              int64_t& last) {
  const auto minorAt = [&](int64_t i) { return static_cast<int64_t>(walk.MinorAt(i)); };
  first = std::max<int64_t>(first, majorRange.lo);
  last = std::min<int64_t>(last, majorRange.hi);
  if (first > last) return false;
  if (minorAt(first) > minorRange.hi || minorAt(last) < minorRange.lo) return false;
  first = FirstTrue(first, last, [&](int64_t i) { return minorAt(i) >= minorRange.lo; });
  last = FirstTrue(first, last + 1, [&](int64_t i) { return minorAt(i) > minorRange.hi; }) - 1;
  return first <= last;
}

// The clipped part of a walk as buffer steps: count pixels from index, a major step
// each, a minor one whenever the error passes n.
struct PixelWalk {
  int64_t index;
  int64_t count;
  uint64_t error;
  uint64_t minorDelta;
  uint64_t n;
  int64_t majorAdvance;
  int64_t minorAdvance;
};

template <PenMode M>
void Step(uint32_t* bits, PixelWalk w, uint32_t pen) {
  for (int64_t i = 0; i < w.count; ++i) {
    bits[w.index] = PenPixel<M>(pen, bits[w.index]);
    // Branch-free: minor steps come irregularly and would defeat prediction.
    w.error += w.minorDelta;
    const auto carry = static_cast<int64_t>(w.error >= w.n);
    w.error -= static_cast<uint64_t>(carry) * w.n;
    w.index += w.majorAdvance + carry * w.minorAdvance;
  }
}

}  // namespace

Rect DrawThinLine(PixelGrid grid, Point a, Point b, PenMode m, uint32_t pen) {
  if (a == b) return Rect{};
  if (OnGrid(grid, a) && OnGrid(grid, b)) {
    Rect box{};
    WithPenMode(m, [&](auto mode) { box = DrawInsideThinLine<mode()>(grid, a, b, pen); });
    return box;
  }
  const int64_t dx = int64_t{b.x} - a.x;
  const int64_t dy = int64_t{b.y} - a.y;
  const int64_t adx = dx < 0 ? -dx : dx;
  const int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int64_t n = xMajor ? adx : ady;
  if (n == 0 || grid.width <= 0 || grid.height <= 0) return Rect{};

  const Walk walk{static_cast<uint64_t>(n), static_cast<uint64_t>(xMajor ? ady : adx)};
  const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t major0 = xMajor ? a.x : a.y;
  const int64_t minor0 = xMajor ? a.y : a.x;
  const int64_t majorLimit = xMajor ? grid.width : grid.height;
  const int64_t minorLimit = xMajor ? grid.height : grid.width;

  // Here at least one end lies off the grid.
  int64_t first = 0;
  int64_t last = n - 1;
  const OffsetRange majorRange = OffsetsInside(major0, majorStep, majorLimit);
  const OffsetRange minorRange = OffsetsInside(minor0, minorStep, minorLimit);
  if (!ClipWalk(walk, majorRange, minorRange, first, last)) return Rect{};
  const uint64_t error = walk.ErrorAt(first);
  const auto minorFirst = static_cast<int64_t>(walk.MinorAt(first));
  const auto minorLast = static_cast<int64_t>(walk.MinorAt(last));

  const int64_t majorFirst = major0 + majorStep * first;
  const int64_t minorFirstPos = minor0 + minorStep * minorFirst;
  const int64_t majorLast = major0 + majorStep * last;
  const int64_t minorLastPos = minor0 + minorStep * minorLast;
  const int64_t xFirst = xMajor ? majorFirst : minorFirstPos;
  const int64_t yFirst = xMajor ? minorFirstPos : majorFirst;
  const int64_t xLast = xMajor ? majorLast : minorLastPos;
  const int64_t yLast = xMajor ? minorLastPos : majorLast;

  const PixelWalk walkPlan{yFirst * grid.width + xFirst,
                           last - first + 1,
                           error,
                           walk.minorDelta,
                           walk.n,
                           xMajor ? majorStep : majorStep * grid.width,
                           xMajor ? minorStep * grid.width : minorStep};
  WithPenMode(m, [&](auto mode) { Step<mode()>(grid.bits, walkPlan, pen); });
  return Rect{static_cast<int32_t>(std::min(xFirst, xLast)),
              static_cast<int32_t>(std::min(yFirst, yLast)),
              static_cast<int32_t>(std::max(xFirst, xLast) + 1),
              static_cast<int32_t>(std::max(yFirst, yLast) + 1)};
}

}  // namespace quillo::raster
