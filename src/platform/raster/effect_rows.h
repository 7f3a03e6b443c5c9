#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "platform/raster/pixel_ops.h"
#include "platform/raster/setter_sweep.h"

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

// Columns [x0, x1) of one row under a part, drawn with value.
struct RowSpan {
  int32_t x0;
  int32_t x1;
  uint32_t value;
};

// What a row's spans reach, gathered as they are made: the columns [lo, hi) they
// span, their lengths summed and the longest.
struct RowReach {
  int32_t lo = std::numeric_limits<int32_t>::max();
  int32_t hi = 0;
  int64_t area = 0;
  int32_t longest = 1;

  void Add(const RowSpan& s) {
    lo = std::min(lo, s.x0);
    hi = std::max(hi, s.x1);
    area += s.x1 - s.x0;
    longest = std::max(longest, s.x1 - s.x0);
  }
};

// Draws rows of spans in a pen mode whose result depends on the spans' order and on
// what lay there (any mode but the pen-only ones and the xor-like ones), each pixel
// written once with what the spans drawn in turn would leave.
class EffectRows {
 public:
  EffectRows(PenMode mode, int32_t width);

  // Draws spans on row (width pixels), as if drawn one after another in the order given.
  void Draw(uint32_t* row, std::span<const RowSpan> spans);
  // The same, with what the spans reach gathered beforehand.
  void Draw(uint32_t* row, std::span<const RowSpan> spans, const RowReach& reach);

 private:
  void DrawBySetters(uint32_t* row, std::span<const RowSpan> spans, const RowReach& reach);
  void DrawByLastSetters(uint32_t* row, std::span<const RowSpan> spans, int32_t lo, int32_t hi);
  // Enters span i in the cover, or takes it out.
  [[gnu::always_inline]] void Toggle(uint32_t i) {
    cover_[i / 64] ^= uint64_t{1} << (i % 64);
    coverWords_[i / 4096] ^= uint64_t{1} << (i / 64 % 64);
    coverOdd_ ^= 1u;
  }
  // The colour bits whose last setter comes before span i, and those whose last
  // setter it is; and the earliest span that is last to set a bit, or the largest
  // int32_t.
  void Around(int32_t i, uint32_t& before, uint32_t& lastOf, int32_t& earliest) const;
  // Whether an odd number of the spans in the cover come after span i.
  uint32_t OddAfter(uint32_t i) const;
  // The bits that span i sets (where it is in the cover) take the value it leaves them
  // at, turned over by the spans after it; odd tells those are an odd number.
  void TakeLast(uint32_t i, uint32_t bits, uint32_t odd);

  // The mode's effect under pen, bit by bit the effect under a pen of zeros or of ones.
  Effect EffectOf(uint32_t pen) const {
    return Effect{(underZero_.keep & ~pen) | (underOne_.keep & pen),
                  (underZero_.flip & ~pen) | (underOne_.flip & pen)};
  }

  int32_t width_;
  SetterSweep sweep_;
  std::vector<uint32_t> setBits_;
  Effect underZero_;
  Effect underOne_;
  // Whether the mode only sets bits or keeps them, never turning one over; and then
  // the value it sets them to.
  bool setsOnly_ = false;
  uint32_t setTo_ = 0;
  // The bits set over [x, x + 2^k), level k at k * (width_ + 1); clear between rows.
  std::vector<uint32_t> levels_;
  int levelCount_ = 1;
  // Per span of the row: the bits it sets, their values, and the bits it turns over.
  std::vector<uint32_t> sets_;
  std::vector<uint32_t> values_;
  std::vector<uint32_t> turns_;
  // The bits that any of the spans 64 * w to 64 * w + 63 sets, at w.
  std::vector<uint32_t> wordSets_;
  // The spans' ends by column, and where each column's ends start among them.
  std::vector<uint32_t> ends_;
  std::vector<int32_t> firstEnd_;
  // The spans over the column under the sweep, one bit each in order; the parity of
  // each word of them, one bit a word; and of all.
  std::vector<uint64_t> cover_;
  std::vector<uint64_t> coverWords_;
  uint32_t coverOdd_ = 0;
  // Per colour bit, the last span in the cover that sets it, or -1; the bits that one
  // of them sets; and what the cover leaves them at, or for the others how it turns
  // them over.
  alignas(16) std::array<int32_t, 24> last_{};
  uint32_t hasSetter_ = 0;
  uint32_t result_ = 0;
};

}  // namespace quillo::raster
