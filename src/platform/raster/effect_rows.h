#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/raster/pixel_ops.h"

namespace quillo::raster {

// A pen mode's effect on one pixel under a pen: since every mode acts bit by bit, it
// keeps the destination's bits in keep, turns over those in flip outside keep, and
// sets the rest to flip's: (d & keep) ^ flip. Effects in turn compose into one.
struct Effect {
  uint32_t keep = ~0u;
  uint32_t flip = 0;

  static Effect Of(PenMode m, uint32_t pen) {
    const uint32_t atZero = ApplyPenMode(m, pen, 0);
    return Effect{atZero ^ ApplyPenMode(m, pen, ~0u), atZero};
  }
  // This effect, then next.
  Effect Then(Effect next) const {
    return Effect{keep & next.keep, (flip & next.keep) ^ next.flip};
  }
  uint32_t On(uint32_t dst) const { return (dst & keep) ^ flip; }
};

// Columns [x0, x1) of one row under a part, drawn with value; order is the part's
// place among those drawn on the row (parts are drawn in ascending order).
struct RowSpan {
  int32_t x0;
  int32_t x1;
  uint32_t value;
  uint32_t order;
};

// Draws rows of spans in a pen mode whose result depends on the spans' order and on
// what lay there (any mode but the pen-only ones and the xor-like ones), each pixel
// written once with what the spans drawn in turn would leave.
class EffectRows {
 public:
  EffectRows(PenMode mode, int32_t width);

  // Draws spans, sorted by order, on row (width pixels); orders lie below parts.
  void Draw(uint32_t* row, std::span<const RowSpan> spans, size_t parts);

 private:
  bool DrawByLastSetter(uint32_t* row, std::span<const RowSpan> spans, int32_t lo, int32_t hi);
  void DrawByTree(uint32_t* row, std::span<const RowSpan> spans, size_t parts, int32_t lo,
                  int32_t hi);

  PenMode mode_;
  int32_t width_;
  // Whether the mode only sets bits or keeps them, never turning one over; and then
  // the value it sets them to.
  bool setsOnly_ = false;
  uint32_t setTo_ = 0;
  // Per column: the undecided bits, the bits so far, the turns of all spans over it and
  // the bits any span over it sets; the next column still undecided.
  std::vector<uint32_t> undecided_;
  std::vector<uint32_t> bits_;
  std::vector<uint32_t> turns_;
  std::vector<uint32_t> setters_;
  std::vector<int32_t> counts_;
  std::vector<int32_t> next_;
  // The bits set over [x, x + 2^k), level k at k * width_.
  std::vector<uint32_t> levels_;
  int levelCount_ = 1;
  // The segment tree of the plain sweep; its ends, and per column the first of those
  // that enter and of those that leave there.
  struct End {
    uint32_t leaf;
    bool enters;
    Effect effect;
    int32_t next;
  };
  std::vector<Effect> nodes_;
  std::vector<End> ends_;
  std::vector<int32_t> entering_;
  std::vector<int32_t> leaving_;
};

}  // namespace quillo::raster
