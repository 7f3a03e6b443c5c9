#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

// Columns [x0, x1) of one row under a part, drawn with value.
struct RowSpan {
  int32_t x0;
  int32_t x1;
  uint32_t value;
};

// What a row's spans reach, gathered as they are made: the columns [lo, hi) they
// span and their lengths summed.
struct RowReach {
  int32_t lo = std::numeric_limits<int32_t>::max();
  int32_t hi = 0;
  int64_t area = 0;

  void Add(const RowSpan& s) {
    lo = std::min(lo, s.x0);
    hi = std::max(hi, s.x1);
    area += s.x1 - s.x0;
  }
};

// Draws rows of spans in a pen mode whose result depends on the spans' order and on
// what lay there (any mode but the pen-only ones and the xor-like ones), each pixel
// written once with what the spans drawn in turn would leave.
class EffectRows {
 public:
  // Which ways a row may be drawn: with the widest registers the processor has, or
  // only with those every x86-64 processor has (which the tests check too).
  enum class Registers : uint8_t { kWidest, kCommon };

  EffectRows(PenMode mode, int32_t width, Registers registers = Registers::kWidest);
  // Not copied: reachEntries_ and the tags' arrays point into its own tables.
  EffectRows(const EffectRows&) = delete;
  EffectRows& operator=(const EffectRows&) = delete;

  // Draws spans on row (width pixels), as if drawn one after another in the order given.
  void Draw(uint32_t* row, std::span<const RowSpan> spans);
  // The same, with what the spans reach gathered beforehand.
  void Draw(uint32_t* row, std::span<const RowSpan> spans, const RowReach& reach);

 private:
  void DrawBySetters(uint32_t* row, std::span<const RowSpan> spans, const RowReach& reach);
#if defined(__x86_64__)
  // Where spans only set bits or keep them, with registers of 32 lanes: per colour
  // bit, a running maximum over the columns of the ends of the spans that set it.
  [[gnu::target("avx512f,avx512bw")]] void DrawByReach(uint32_t* row,
                                                       std::span<const RowSpan> spans, int32_t lo,
                                                       int32_t hi);
  // Any mode, with registers of 16 lanes of 32 bits: each pixel's effect so far, and
  // per block of 16 columns what the spans over the whole block did after it.
  [[gnu::target("avx512f,avx512bw")]] void DrawByTags(uint32_t* row, std::span<const RowSpan> spans,
                                                      int32_t lo, int32_t hi);
  struct Tags;
  // e over the whole blocks [first, end), sixteen to a register.
  [[gnu::target("avx512f,avx512bw"), gnu::always_inline]] static inline void DrawBlocks(
      const Tags& tags, int32_t first, int32_t end, Effect e);
  // The block's own effect down into its columns, then e on those in lanes (bit i for
  // the block's column i).
  [[gnu::target("avx512f,avx512bw"), gnu::always_inline]] static inline void DrawPart(
      const Tags& tags, int32_t block, uint32_t lanes, Effect e);
  // The lanes of block's columns that s covers, bit i for the block's column i.
  static uint32_t LanesIn(int32_t block, const RowSpan& s);
  // The block's columns' effects with its own after them, into keep and flip; the
  // block's own left at none.
  [[gnu::target("avx512f,avx512bw"), gnu::always_inline]] static inline void TakeDown(
      const Tags& tags, int32_t block, __m512i& keep, __m512i& flip);
#endif
  void DrawBySweep(uint32_t* row, std::span<const RowSpan> spans, int32_t lo, int32_t hi);
  void DrawByLastSetters(uint32_t* row, std::span<const RowSpan> spans, int32_t lo, int32_t hi);
  // Each span's bits into bits_, and the ends of spans over [lo, hi) sorted by column
  // into ends_, column x's ending at firstEnd_[x].
  void SortEnds(std::span<const RowSpan> spans, int32_t lo, int32_t hi);
  // What the sweep of the ends carries from one to the next: the bits that some span in
  // the cover sets; what the cover leaves them at, and for the others how it turns
  // them over; at most the earliest of the last setters (exact but for the keys' shift
  // after each look at them, and lowered to each new last setter since); and the
  // number of spans in the cover.
  struct Sweep {
    uint32_t hasSetter = 0;
    uint32_t result = 0;
    int32_t earliest = std::numeric_limits<int32_t>::max();
    int32_t inside = 0;
  };
  struct End;
  // Takes an end of a span that may come after a last setter or take bits over from
  // one; apart from the sweep's quick way, so that it leaves the registers to that.
  [[gnu::noinline]] Sweep PastSetters(Sweep now, const End& at);
  // The colour bits whose last setter comes before span i (or that none sets), and
  // those whose last setter it is; and at most the earliest span that is last to set
  // a bit, or the largest int32_t.
  [[gnu::always_inline]] inline void Around(int32_t i, uint32_t& before, uint32_t& lastOf,
                                            int32_t& earliest) const;
  // Makes span i, or none (-1), the last setter of the colour bits given.
  void SetLast(uint32_t bits, int32_t i);
  // Whether an odd number of the spans in the cover come after span i.
  uint32_t OddAfter(uint32_t i) const;
  // The colour bits the mode sets under pen, with kCovered.
  uint32_t SetsOf(uint32_t pen) const;
  // The mode's effect under pen, bit by bit the effect under a pen of zeros or of ones.
  Effect EffectOf(uint32_t pen) const {
    return Effect{(underZero_.keep & ~pen) | (underOne_.keep & pen),
                  (underZero_.flip & ~pen) | (underOne_.flip & pen)};
  }

  int32_t width_;
  Effect underZero_;
  Effect underOne_;
  // Whether the mode only sets bits or keeps them, never turning one over; and then
  // the value it sets them to.
  bool setsOnly_ = false;
  uint32_t setTo_ = 0;
  // For the modes that only set or keep bits, kept clear between rows: the bits set
  // at x by spans within a block; those of spans that enter a block at x, and that
  // leave one at x; and the bits set over blocks [b, b + 2^k), level k at k * (width_ /
  // kBlock + 2).
  static constexpr int32_t kBlock = 64;
  std::vector<uint32_t> setters_;
  std::vector<uint32_t> enters_;
  std::vector<uint32_t> leaves_;
  std::vector<uint32_t> blockLevels_;
  // For DrawByReach, with registers of 32 lanes of 16 bits, when the processor has them
  // and the row is narrower than 65535: an entry of 32 lanes per column, kept clear
  // between rows, from a 64-byte boundary on (reachEntries_ within reachTable_).
  std::vector<uint16_t> reachTable_;
  uint16_t* reachEntries_ = nullptr;
  // For DrawByTags, kept at no effect between rows, each from a 64-byte boundary on
  // within tagTable_: per column, the keep and flip of the effect of the spans drawn
  // over it alone; per block of 16 columns, those of the spans drawn over the whole
  // block since, which come after the columns' own.
  static constexpr int32_t kTagBlock = 16;
  // A run of spans drawn at once holds at most kTagRun, and reaches at most kFringe
  // blocks past its core on either side.
  static constexpr size_t kTagRun = 32;
  static constexpr int32_t kFringe = 2;
  std::vector<uint32_t> tagTable_;
  struct Tags {
    uint32_t* columnKeep = nullptr;
    uint32_t* columnFlip = nullptr;
    uint32_t* blockKeep = nullptr;
    uint32_t* blockFlip = nullptr;
  };
  Tags tags_;
  // Per span of the row: the bits it sets, their values, and the bits it turns over,
  // side by side as a span taking bits over reads them together.
  struct SpanBits {
    uint32_t sets;
    uint32_t value;
    uint32_t turns;
  };
  std::vector<SpanBits> bits_;
  // The bits that any of the spans 64 * w to 64 * w + 63 sets, at w.
  std::vector<uint32_t> wordSets_;
  // The spans' ends by column, and where each column's ends start among them; each
  // end carries its span's bits, which the sweep reads in the ends' order.
  struct End {
    uint32_t code;  // 2 * i as span i enters, 2 * i + 1 as it leaves
    int32_t x;      // its column
    uint32_t sets;
    uint32_t turns;
  };
  std::vector<End> ends_;
  std::vector<int32_t> firstEnd_;
  // Per column with ends, what the cover draws there after them: the bits some span
  // in it sets, what it leaves those at or how it turns the others over, and how many
  // spans it holds.
  struct Drawn {
    uint32_t hasSetter;
    uint32_t result;
    int32_t inside;
  };
  std::vector<Drawn> drawn_;
  // The spans over the column under the sweep, one bit each in order; and the parity
  // of each word of them, one bit a word.
  std::vector<uint64_t> cover_;
  std::vector<uint64_t> coverWords_;
  // Per colour bit, the last span in the cover that sets it, or -1; kept only while
  // keyShift_ is not 0.
  static constexpr size_t kColourBits = 24;
  std::array<int32_t, kColourBits> last_{};
  // The same as keys of 16 bits, the setter shifted right by keyShift_ (-1 for none),
  // so that the order of all is told at once.
  alignas(16) std::array<int16_t, kColourBits> keys_{};
  int keyShift_ = 0;
};

}  // namespace quillo::raster
