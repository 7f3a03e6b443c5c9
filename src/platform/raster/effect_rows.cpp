// Rows of spans in the pen modes where order counts, each pixel written once.
#include "platform/raster/effect_rows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillo::raster {
namespace {

constexpr uint32_t kColour = 0x00FFFFFFu;
// Set with a span's colour bits by the ways that gather what the spans set, so that
// only covered pixels are written.
constexpr uint32_t kCovered = 0x01000000u;

// Up to how many spans over each column on average a row is drawn span by span: that
// costs less than the tables of the other ways below some dozens.
constexpr int64_t kPaintedPerColumn = 4;

// The truth table of (a & b) ^ c for a ternary logic instruction: an effect's flip
// after the keep and flip of the next, the first operand the effect's flip.
constexpr int kAndXor = 0x6A;

#if defined(__x86_64__)
// 0 to 15, lane by lane.
[[gnu::target("avx512f"), gnu::always_inline]] inline __m512i LaneIndices() {
  return _mm512_set_epi32(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}
#endif

// Where a table's entries start from a 64-byte boundary within it (at most 64 bytes in).
template <class T>
T* From64ByteBoundary(std::vector<T>& table) {
  const auto at = reinterpret_cast<uintptr_t>(table.data());
  return table.data() + ((64 - at % 64) % 64) / sizeof(T);
}

#if defined(__SSE2__)
// For each byte of bits, eight lanes of 16 bits, all ones where the bit is set.
struct alignas(16) LaneMask {
  std::array<int16_t, 8> lanes;
};
constexpr std::array<LaneMask, 256> kLaneMasks = [] {
  std::array<LaneMask, 256> masks{};
  for (size_t byte = 0; byte < masks.size(); ++byte) {
    for (size_t lane = 0; lane < 8; ++lane)
      masks[byte].lanes[lane] = static_cast<int16_t>((byte >> lane & 1) != 0 ? -1 : 0);
  }
  return masks;
}();
#endif

// Whether v has an odd number of bits set; kept to the parity so that it compiles
// without a population count instruction.
int Odd(uint64_t v) {
  return std::popcount(v) & 1;
}

// The most spans a row swept with counts of 16 bits may have.
constexpr size_t kMostCounted = 32767;

#if defined(__SSE2__)
// The counts of each colour bit's setters over the column under the sweep.
class BitCounts {
 public:
  // Counts bits in, or out where out is all ones.
  void Change(uint32_t bits, uint32_t out) {
    const __m128i sign = _mm_set1_epi16(static_cast<int16_t>(~out));
    low_ = _mm_add_epi16(low_, Signed(bits, sign));
    middle_ = _mm_add_epi16(middle_, Signed(bits >> 8, sign));
    high_ = _mm_add_epi16(high_, Signed(bits >> 16, sign));
  }
  // The bits that some span over the column sets.
  uint32_t Set() const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low =
        _mm_packs_epi16(_mm_cmpgt_epi16(low_, zero), _mm_cmpgt_epi16(middle_, zero));
    const __m128i high = _mm_packs_epi16(_mm_cmpgt_epi16(high_, zero), zero);
    return static_cast<uint32_t>(_mm_movemask_epi8(low)) |
           static_cast<uint32_t>(_mm_movemask_epi8(high)) << 16;
  }

 private:
  // The byte's lane masks (-1 a set bit), negated where sign is all ones: 1 a set bit.
  static __m128i Signed(uint32_t bits, __m128i sign) {
    const __m128i lanes =
        _mm_load_si128(reinterpret_cast<const __m128i*>(kLaneMasks[bits & 0xFF].lanes.data()));
    return _mm_sub_epi16(_mm_xor_si128(lanes, sign), sign);
  }
  __m128i low_ = _mm_setzero_si128();
  __m128i middle_ = _mm_setzero_si128();
  __m128i high_ = _mm_setzero_si128();
};
#else
class BitCounts {
 public:
  void Change(uint32_t bits, uint32_t out) {
    const int16_t by = out != 0 ? -1 : 1;
    for (size_t b = 0; b < counts_.size(); ++b)
      counts_[b] = static_cast<int16_t>(counts_[b] + ((bits >> b) & 1) * by);
  }
  uint32_t Set() const {
    uint32_t set = 0;
    for (size_t b = 0; b < counts_.size(); ++b)
      set |= static_cast<uint32_t>(counts_[b] > 0) << b;
    return set;
  }

 private:
  std::array<int16_t, 24> counts_{};
};
#endif

}  // namespace

EffectRows::EffectRows(PenMode mode, int32_t width, Registers registers) : width_(width) {
  // Under a pen bit of 0 and of 1, each bit is kept, set or turned over; in the
  // modes that only set or keep bits, the bits set take the value that sets them.
  setsOnly_ = SetsOrKeeps(mode);
  underZero_ = Effect::Of(mode, 0);
  underOne_ = Effect::Of(mode, ~0u);
  setTo_ = (~underZero_.keep & underZero_.flip) | (~underOne_.keep & underOne_.flip);
#if defined(__x86_64__)
  if (setsOnly_ && registers == Registers::kWidest && width < 65535 &&
      __builtin_cpu_supports("avx512bw")) {
    constexpr size_t kEntry = 32;
    reachTable_.assign(kEntry * (static_cast<size_t>(width) + 2), 0);
    reachEntries_ = From64ByteBoundary(reachTable_);
  }
  if (!setsOnly_ && registers == Registers::kWidest && __builtin_cpu_supports("avx512bw")) {
    // Room for a block past the last so that a span ending at width has one, with the
    // blocks' effects rounded up to whole registers; each array of whole registers.
    const auto columns = static_cast<size_t>(width / kTagBlock + 2) * kTagBlock;
    const size_t blocks = (columns / kTagBlock + kTagBlock - 1) / kTagBlock * kTagBlock;
    tagTable_.assign(2 * columns + 2 * blocks + kTagBlock, 0);
    tags_.columnKeep = From64ByteBoundary(tagTable_);
    tags_.columnFlip = tags_.columnKeep + columns;
    tags_.blockKeep = tags_.columnFlip + columns;
    tags_.blockFlip = tags_.blockKeep + blocks;
    std::fill(tags_.columnKeep, tags_.columnFlip, ~0u);
    std::fill(tags_.blockKeep, tags_.blockFlip, ~0u);
  }
#else
  (void)registers;
#endif
  if (setsOnly_ && reachEntries_ == nullptr) {
    setters_.resize(static_cast<size_t>(width) + 1);
    enters_.resize(static_cast<size_t>(width) + 1);
    leaves_.resize(static_cast<size_t>(width) + 1);
    const auto blocks = static_cast<size_t>(width / kBlock) + 2;
    blockLevels_.resize(static_cast<size_t>(std::bit_width(blocks)) * blocks);
  } else {
    drawn_.resize(static_cast<size_t>(width) + 1);
  }
  firstEnd_.resize(static_cast<size_t>(width) + 2);
}

uint32_t EffectRows::SetsOf(uint32_t pen) const {
  return (~EffectOf(pen).keep & kColour) | kCovered;
}

void EffectRows::Draw(uint32_t* row, std::span<const RowSpan> spans) {
  RowReach reach;
  for (const RowSpan& s : spans)
    reach.Add(s);
  Draw(row, spans, reach);
}

void EffectRows::Draw(uint32_t* row, std::span<const RowSpan> spans, const RowReach& reach) {
  if (spans.empty()) return;
  const int32_t lo = reach.lo;
  const int32_t hi = reach.hi;
  if (reach.area <= kPaintedPerColumn * (hi - lo)) {
    // Few spans over each pixel: drawn in turn, as the calls would draw them.
    for (const RowSpan& s : spans) {
      const Effect e = EffectOf(s.value);
      for (int32_t x = s.x0; x < s.x1; ++x)
        row[x] = e.On(row[x]) | 0xFF000000u;
    }
    return;
  }
#if defined(__x86_64__)
  if (reachEntries_ != nullptr) {
    DrawByReach(row, spans, lo, hi);
    return;
  }
#endif
  if (setsOnly_) {
    // The blocks cost some four passes over each column; the sweep costs each end of a
    // span, some twenty passes over a column there (measured on the figures).
    if (48 * static_cast<int64_t>(spans.size()) < 4 * int64_t{hi - lo} &&
        spans.size() <= kMostCounted) {
      DrawBySweep(row, spans, lo, hi);
    } else {
      DrawBySetters(row, spans, reach);
    }
  } else {
#if defined(__x86_64__)
    if (tags_.columnKeep != nullptr) {
      DrawByTags(row, spans, lo, hi);
      return;
    }
#endif
    DrawByLastSetters(row, spans, lo, hi);
  }
}

// Where spans only set bits or keep them, all set a bit alike, so their order does not
// count: each pixel takes the bits that the spans over it set. The row is cut in blocks
// of kBlock columns. A span across blocks marks where it enters its first block, which
// a running OR forward through the block carries to the block's end; where it leaves
// its last, which a running OR backward carries to the block's start; and the whole blocks
// between, in a table of ranges of blocks by powers of two. A span within one block,
// at most kBlock long, sets its columns itself. Every span also sets kCovered, so that
// only covered pixels are written. Each table is cleared as it is read, so that all
// are clear for the next row.
void EffectRows::DrawBySetters(uint32_t* row, std::span<const RowSpan> spans,
                               const RowReach& reach) {
  const auto blockStride = static_cast<size_t>(width_ / kBlock) + 2;
  const int32_t lo = reach.lo;
  const int32_t hi = reach.hi;
  int topBlockLevel = -1;
  uint32_t* setters = setters_.data();
  for (const RowSpan& s : spans) {
    const uint32_t sets = SetsOf(s.value);
    const int32_t first = s.x0 / kBlock;
    const int32_t last = (s.x1 - 1) / kBlock;
    if (first == last) {
      for (int32_t x = s.x0; x < s.x1; ++x)
        setters[x] |= sets;
      continue;
    }
    enters_[s.x0] |= sets;
    leaves_[s.x1 - 1] |= sets;
    if (last - first >= 2) {
      const int k = std::bit_width(static_cast<uint32_t>(last - first - 1)) - 1;
      uint32_t* level = blockLevels_.data() + k * blockStride;
      level[first + 1] |= sets;
      level[last - (int32_t{1} << k)] |= sets;
      topBlockLevel = std::max(topBlockLevel, k);
    }
  }
  // The blocks' table folded down to level 0, each level cleared as it is folded.
  const int32_t firstBlock = lo / kBlock;
  const int32_t endBlock = (hi - 1) / kBlock + 1;
  for (int k = topBlockLevel; k >= 1; --k) {
    uint32_t* level = blockLevels_.data() + k * blockStride;
    uint32_t* below = blockLevels_.data() + (k - 1) * blockStride;
    const int32_t half = int32_t{1} << (k - 1);
    for (int32_t b = firstBlock; b <= endBlock - 2 * half; ++b) {
      below[b] |= level[b];
      below[b + half] |= level[b];
      level[b] = 0;
    }
  }
  uint32_t carried = 0;
  for (int32_t x = hi; x-- > lo;) {
    if (x % kBlock == kBlock - 1) carried = 0;
    carried |= leaves_[x];
    leaves_[x] = 0;
    setters[x] |= carried;
  }
  for (int32_t x = lo; x < hi; ++x) {
    if (x % kBlock == 0) carried = 0;
    carried |= enters_[x];
    enters_[x] = 0;
    const uint32_t bits = setters[x] | carried | blockLevels_[static_cast<size_t>(x / kBlock)];
    setters[x] = 0;
    const uint32_t set = bits & kColour;
    if ((bits & kCovered) != 0) row[x] = (row[x] & ~set) | (setTo_ & set) | 0xFF000000u;
  }
  std::fill(blockLevels_.begin() + firstBlock, blockLevels_.begin() + endBlock, 0u);
}

#if defined(__x86_64__)
// Each span raises the lanes of the bits it sets (and of kCovered, lane 24) in its first
// column's entry to its end; a running maximum over the columns then holds in lane b
// the furthest end of the spans begun so far that set bit b, so that a column takes
// the bits whose lanes reach past it.
void EffectRows::DrawByReach(uint32_t* row, std::span<const RowSpan> spans, int32_t lo,
                             int32_t hi) {
  constexpr size_t kLanes = 32;
  for (const RowSpan& s : spans) {
    auto* entry = reinterpret_cast<__m512i*>(reachEntries_ + kLanes * static_cast<size_t>(s.x0));
    const __m512i was = _mm512_load_si512(entry);
    _mm512_store_si512(entry, _mm512_mask_max_epu16(was, SetsOf(s.value), was,
                                                    _mm512_set1_epi16(static_cast<int16_t>(s.x1))));
  }
  __m512i reach = _mm512_setzero_si512();
  for (int32_t x = lo; x < hi; ++x) {
    auto* entry = reinterpret_cast<__m512i*>(reachEntries_ + kLanes * static_cast<size_t>(x));
    reach = _mm512_max_epu16(reach, _mm512_load_si512(entry));
    _mm512_store_si512(entry, _mm512_setzero_si512());
    const uint32_t set = _mm512_cmpgt_epu16_mask(reach, _mm512_set1_epi16(static_cast<int16_t>(x)));
    const uint32_t bits = set & kColour;
    const uint32_t drawn = (row[x] & ~bits) | (setTo_ & bits) | 0xFF000000u;
    row[x] = (set & kCovered) != 0 ? drawn : row[x];
  }
}

// A span draws its effect on the whole blocks it covers, sixteen blocks to a register,
// and on the columns it covers of the blocks where it starts or ends partway, a
// block's own effect going down into its columns first; so each column takes every
// effect in the spans' order. The parts of a figure follow one another, so that one's
// span on a row mostly covers the last one's: a run of spans in turn that share whole
// blocks, the core, and whose other blocks lie within kFringe of it on either side,
// draws the core once with the run's effects composed, and its other blocks, the
// fringe, in registers as each span comes. Every span also sets kCovered, so that
// only covered pixels are written.
void EffectRows::DrawByTags(uint32_t* row, std::span<const RowSpan> spans, int32_t lo, int32_t hi) {
  // In locals, as the stores of registers below might otherwise write the members.
  const Tags tags = tags_;
  const __m512i lanes = LaneIndices();
  const auto effectOf = [this](const RowSpan& s) {
    Effect e = EffectOf(s.value);
    e.keep &= ~kCovered;
    e.flip |= kCovered;
    return e;
  };
  const size_t n = spans.size();
  for (size_t i = 0; i < n;) {
    // The run's core [coreFirst, coreEnd), and the blocks [touched, beyond) it reaches.
    int32_t coreFirst = (spans[i].x0 + kTagBlock - 1) / kTagBlock;
    int32_t coreEnd = spans[i].x1 / kTagBlock;
    int32_t touched = spans[i].x0 / kTagBlock;
    int32_t beyond = (spans[i].x1 + kTagBlock - 1) / kTagBlock;
    size_t next = i + 1;
    for (; coreFirst < coreEnd && next < n && next - i < kTagRun; ++next) {
      const RowSpan& s = spans[next];
      const int32_t first = std::max(coreFirst, (s.x0 + kTagBlock - 1) / kTagBlock);
      const int32_t end = std::min(coreEnd, s.x1 / kTagBlock);
      const int32_t from = std::min(touched, s.x0 / kTagBlock);
      const int32_t to = std::max(beyond, (s.x1 + kTagBlock - 1) / kTagBlock);
      if (first >= end || first - from > kFringe || to - end > kFringe) break;
      coreFirst = first;
      coreEnd = end;
      touched = from;
      beyond = to;
    }
    if (next == i + 1) {
      // A span alone: the columns it covers of the blocks where it starts or ends
      // partway, then its whole blocks.
      const RowSpan& s = spans[i++];
      const Effect e = effectOf(s);
      int32_t first = touched;
      int32_t end = beyond;
      if (s.x0 % kTagBlock != 0) {
        DrawPart(tags, first, LanesIn(first, s), e);
        ++first;
      }
      if (first < end && s.x1 % kTagBlock != 0) {
        --end;
        DrawPart(tags, end, LanesIn(end, s), e);
      }
      DrawBlocks(tags, first, end, e);
      continue;
    }
    // The fringe's blocks, those of the kSlots next to the core that the run reaches,
    // taken into registers with their own effects gone down into their columns.
    constexpr int32_t kSlots = 2 * kFringe;
    int32_t block[kSlots];
    bool reached[kSlots];
    __m512i columns[kSlots];
    __m512i keeps[kSlots];
    __m512i flips[kSlots];
#pragma GCC unroll 8
    for (int32_t k = 0; k < kSlots; ++k) {
      block[k] = k < kFringe ? coreFirst - kFringe + k : coreEnd + k - kFringe;
      reached[k] = k < kFringe ? block[k] >= touched : block[k] < beyond;
      columns[k] = _mm512_add_epi32(lanes, _mm512_set1_epi32(block[k] * kTagBlock));
      keeps[k] = _mm512_set1_epi32(-1);
      flips[k] = _mm512_setzero_si512();
      if (reached[k]) TakeDown(tags, block[k], keeps[k], flips[k]);
    }
    // Each span on the fringe's columns it covers: those whose distance past x0 is
    // below its length as unsigned.
    Effect run;
    for (; i < next; ++i) {
      const RowSpan& s = spans[i];
      const Effect e = effectOf(s);
      run = run.Then(e);
      const __m512i keep = _mm512_set1_epi32(static_cast<int>(e.keep));
      const __m512i flip = _mm512_set1_epi32(static_cast<int>(e.flip));
      const __m512i x0 = _mm512_set1_epi32(s.x0);
      const __m512i length = _mm512_set1_epi32(s.x1 - s.x0);
#pragma GCC unroll 8
      for (int32_t k = 0; k < kSlots; ++k) {
        const __mmask16 on = _mm512_cmplt_epu32_mask(_mm512_sub_epi32(columns[k], x0), length);
        keeps[k] = _mm512_mask_and_epi32(keeps[k], on, keeps[k], keep);
        flips[k] = _mm512_mask_ternarylogic_epi32(flips[k], on, keep, flip, kAndXor);
      }
    }
#pragma GCC unroll 8
    for (int32_t k = 0; k < kSlots; ++k) {
      if (!reached[k]) continue;
      _mm512_store_si512(tags.columnKeep + block[k] * kTagBlock, keeps[k]);
      _mm512_store_si512(tags.columnFlip + block[k] * kTagBlock, flips[k]);
    }
    DrawBlocks(tags, coreFirst, coreEnd, run);
  }
  // Each block's effect down into its columns, then onto the covered pixels; the
  // columns left at no effect for the next row.
  for (int32_t b = lo / kTagBlock; b <= (hi - 1) / kTagBlock; ++b) {
    __m512i keep;
    __m512i flip;
    TakeDown(tags, b, keep, flip);
    const int32_t x = b * kTagBlock;
    _mm512_store_si512(tags.columnKeep + x, _mm512_set1_epi32(-1));
    _mm512_store_si512(tags.columnFlip + x, _mm512_setzero_si512());
    const auto covered =
        static_cast<__mmask16>(_mm512_testn_epi32_mask(keep, _mm512_set1_epi32(kCovered)));
    const __m512i was = _mm512_maskz_loadu_epi32(covered, row + x);
    const __m512i drawn = _mm512_or_si512(_mm512_ternarylogic_epi32(was, keep, flip, kAndXor),
                                          _mm512_set1_epi32(static_cast<int>(0xFF000000u)));
    _mm512_mask_storeu_epi32(row + x, covered, drawn);
  }
}

void EffectRows::DrawBlocks(const Tags& tags, int32_t first, int32_t end, Effect e) {
  // The blocks [first, end), told in each register by a lane's block less first being
  // below end - first as unsigned.
  const __m512i keep = _mm512_set1_epi32(static_cast<int>(e.keep));
  const __m512i flip = _mm512_set1_epi32(static_cast<int>(e.flip));
  const __m512i count = _mm512_set1_epi32(end - first);
  int32_t b = first / kTagBlock * kTagBlock;
  __m512i past = _mm512_add_epi32(LaneIndices(), _mm512_set1_epi32(b - first));
  for (; b < end; b += kTagBlock) {
    const __mmask16 on = _mm512_cmplt_epu32_mask(past, count);
    past = _mm512_add_epi32(past, _mm512_set1_epi32(kTagBlock));
    const __m512i k = _mm512_load_si512(tags.blockKeep + b);
    const __m512i f = _mm512_load_si512(tags.blockFlip + b);
    _mm512_store_si512(tags.blockKeep + b, _mm512_mask_and_epi32(k, on, k, keep));
    _mm512_store_si512(tags.blockFlip + b,
                       _mm512_mask_ternarylogic_epi32(f, on, keep, flip, kAndXor));
  }
}

void EffectRows::TakeDown(const Tags& tags, int32_t block, __m512i& keep, __m512i& flip) {
  const __m512i blockKeep = _mm512_set1_epi32(static_cast<int>(tags.blockKeep[block]));
  const __m512i blockFlip = _mm512_set1_epi32(static_cast<int>(tags.blockFlip[block]));
  tags.blockKeep[block] = ~0u;
  tags.blockFlip[block] = 0;
  keep = _mm512_and_si512(_mm512_load_si512(tags.columnKeep + block * kTagBlock), blockKeep);
  flip = _mm512_ternarylogic_epi32(_mm512_load_si512(tags.columnFlip + block * kTagBlock),
                                   blockKeep, blockFlip, kAndXor);
}

uint32_t EffectRows::LanesIn(int32_t block, const RowSpan& s) {
  const int32_t from = std::max(s.x0 - block * kTagBlock, 0);
  const int32_t to = std::min(s.x1 - block * kTagBlock, kTagBlock);
  return ((1u << to) - 1) & ~((1u << from) - 1);
}

void EffectRows::DrawPart(const Tags& tags, int32_t block, uint32_t lanes, Effect e) {
  __m512i keep;
  __m512i flip;
  TakeDown(tags, block, keep, flip);
  const auto on = static_cast<__mmask16>(lanes);
  const __m512i spanKeep = _mm512_set1_epi32(static_cast<int>(e.keep));
  keep = _mm512_mask_and_epi32(keep, on, keep, spanKeep);
  flip = _mm512_mask_ternarylogic_epi32(flip, on, spanKeep,
                                        _mm512_set1_epi32(static_cast<int>(e.flip)), kAndXor);
  _mm512_store_si512(tags.columnKeep + block * kTagBlock, keep);
  _mm512_store_si512(tags.columnFlip + block * kTagBlock, flip);
}
#endif

void EffectRows::SortEnds(std::span<const RowSpan> spans, int32_t lo, int32_t hi) {
  const size_t n = spans.size();
  bits_.resize(n);
  ends_.resize(2 * n);
  std::fill(firstEnd_.begin() + lo, firstEnd_.begin() + hi + 2, 0);
  for (size_t i = 0; i < n; ++i) {
    const RowSpan& s = spans[i];
    const Effect e = EffectOf(s.value);
    const uint32_t sets = ~e.keep & kColour;
    bits_[i] = SpanBits{sets, e.flip & sets, e.flip & e.keep & kColour};
    ++firstEnd_[s.x0 + 1];
    ++firstEnd_[s.x1 + 1];
  }
  // Within a column the spans enter from the last down, so that the first to enter
  // sets the most bits last and the others pass by it, then leave from the earliest
  // up, so that the spans below the last setters go first.
  for (int32_t x = lo; x <= hi; ++x)
    firstEnd_[x + 1] += firstEnd_[x];
  for (size_t i = n; i-- > 0;)
    ends_[firstEnd_[spans[i].x0]++] =
        End{static_cast<uint32_t>(2 * i), spans[i].x0, bits_[i].sets, bits_[i].turns};
  for (size_t i = 0; i < n; ++i)
    ends_[firstEnd_[spans[i].x1]++] =
        End{static_cast<uint32_t>(2 * i + 1), spans[i].x1, bits_[i].sets, bits_[i].turns};
}

// Where spans only set bits or keep them and a row has few for its width: the row is
// swept by the spans' ends with a count per colour bit of the spans over the column
// that set it, and each run of columns between two ends is written once.
void EffectRows::DrawBySweep(uint32_t* row, std::span<const RowSpan> spans, int32_t lo,
                             int32_t hi) {
  SortEnds(spans, lo, hi);
  BitCounts counts;
  int32_t inside = 0;
  const End* at = ends_.data();
  const End* const last = at + ends_.size();
  while (at != last) {
    // The ends at one column, then the run up to the next column with an end.
    const int32_t x = at->x;
    for (; at != last && at->x == x; ++at) {
      // Without a branch: which way an end goes is as good as random.
      counts.Change(at->sets, 0u - (at->code & 1));
      inside += 1 - 2 * static_cast<int32_t>(at->code & 1);
    }
    // A column inside a span has a later end, where the span leaves.
    if (inside == 0) continue;
    const uint32_t bits = counts.Set();
    const uint32_t keep = ~bits;
    const uint32_t add = (setTo_ & bits) | 0xFF000000u;
    for (int32_t c = x; c < at->x; ++c)
      row[c] = (row[c] & keep) | add;
  }
}

void EffectRows::Around(int32_t i, uint32_t& before, uint32_t& lastOf, int32_t& earliest) const {
  // The bits whose key lies below span i's have their last setter before it; those
  // whose key is the same are told apart by the setter itself. As unsigned, no setter
  // (-1) comes after every key.
  const auto at = static_cast<int16_t>(i >> keyShift_);
  uint32_t below = 0;
  uint32_t same = 0;
  uint16_t least = 0xFFFF;
#if defined(__SSE2__)
  const __m128i key = _mm_set1_epi16(at);
  const auto* keys = reinterpret_cast<const __m128i*>(keys_.data());
  const __m128i k0 = _mm_load_si128(keys);
  const __m128i k1 = _mm_load_si128(keys + 1);
  const __m128i k2 = _mm_load_si128(keys + 2);
  const auto mask = [](__m128i low, __m128i high) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
  };
  below = mask(_mm_cmplt_epi16(k0, key), _mm_cmplt_epi16(k1, key)) |
          mask(_mm_cmplt_epi16(k2, key), _mm_setzero_si128()) << 16;
  same = mask(_mm_cmpeq_epi16(k0, key), _mm_cmpeq_epi16(k1, key)) |
         mask(_mm_cmpeq_epi16(k2, key), _mm_setzero_si128()) << 16;
  // The unsigned least key as the signed least with the top bit turned over.
  const __m128i top = _mm_set1_epi16(static_cast<int16_t>(0x8000));
  __m128i m = _mm_min_epi16(_mm_min_epi16(_mm_xor_si128(k0, top), _mm_xor_si128(k1, top)),
                            _mm_xor_si128(k2, top));
  m = _mm_min_epi16(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(1, 0, 3, 2)));
  m = _mm_min_epi16(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(2, 3, 0, 1)));
  m = _mm_min_epi16(m, _mm_srli_epi32(m, 16));
  least = static_cast<uint16_t>(_mm_cvtsi128_si32(m) ^ 0x8000);
#else
  for (size_t b = 0; b < kColourBits; ++b) {
    below |= static_cast<uint32_t>(keys_[b] < at) << b;
    same |= static_cast<uint32_t>(keys_[b] == at) << b;
    least = std::min(least, static_cast<uint16_t>(keys_[b]));
  }
#endif
  before = below;
  lastOf = same;
  if (keyShift_ != 0) {
    lastOf = 0;
    for (; same != 0; same &= same - 1) {
      const uint32_t bit = same & (~same + 1);
      const int32_t setter = last_[static_cast<size_t>(std::countr_zero(same))];
      if (setter < i) before |= bit;
      if (setter == i) lastOf |= bit;
    }
  }
  earliest = least == 0xFFFF ? std::numeric_limits<int32_t>::max() : int32_t{least} << keyShift_;
}

void EffectRows::SetLast(uint32_t bits, int32_t i) {
  const auto key = static_cast<int16_t>(i < 0 ? -1 : i >> keyShift_);
#if defined(__SSE2__)
  // Each lane of eight takes the key where its bit is set.
  auto* keys = reinterpret_cast<__m128i*>(keys_.data());
  const __m128i value = _mm_set1_epi16(key);
  for (int k = 0; k < 3; ++k) {
    const __m128i taken = _mm_load_si128(
        reinterpret_cast<const __m128i*>(kLaneMasks[bits >> (8 * k) & 0xFF].lanes.data()));
    const __m128i old = _mm_load_si128(keys + k);
    _mm_store_si128(keys + k,
                    _mm_or_si128(_mm_and_si128(taken, value), _mm_andnot_si128(taken, old)));
  }
#else
  for (uint32_t b = bits; b != 0; b &= b - 1)
    keys_[static_cast<size_t>(std::countr_zero(b))] = key;
#endif
  // Only keys shared by several spans need the setters themselves.
  if (keyShift_ == 0) return;
  for (; bits != 0; bits &= bits - 1)
    last_[static_cast<size_t>(std::countr_zero(bits))] = i;
}

uint32_t EffectRows::OddAfter(uint32_t i) const {
  const size_t word = i / 64;
  int odd = Odd(cover_[word] & (~uint64_t{1} << (i % 64)));
  odd ^= Odd(coverWords_[word / 64] & (~uint64_t{1} << (word % 64)));
  for (size_t w = word / 64 + 1; w < coverWords_.size(); ++w)
    odd ^= Odd(coverWords_[w]);
  return static_cast<uint32_t>(odd);
}

EffectRows::Sweep EffectRows::PastSetters(Sweep now, const End& at) {
  const uint32_t i = at.code / 2;
  // The bits that span j sets (where it is in the cover) take the value it leaves them
  // at, turned over when an odd number of spans over the column come after it.
  const auto takeLast = [&](uint32_t j, uint32_t bits, uint32_t odd) {
    now.result = (now.result & ~bits) | ((bits_[j].value ^ (odd != 0 ? ~0u : 0u)) & bits);
    now.hasSetter |= bits;
    SetLast(bits, static_cast<int32_t>(j));
    now.earliest = std::min(now.earliest, static_cast<int32_t>(j));
  };
  // The bits whose last setter comes before span i, and those whose last setter it is.
  uint32_t before = 0;
  uint32_t lastOf = 0;
  Around(static_cast<int32_t>(i), before, lastOf, now.earliest);
  cover_[i / 64] ^= uint64_t{1} << (i % 64);
  coverWords_[i / 4096] ^= uint64_t{1} << (i / 64 % 64);
  now.result ^= before & at.turns;
  if (at.code % 2 == 0) {
    if ((before & at.sets) != 0) takeLast(i, before & at.sets, OddAfter(i));
    return now;
  }
  if (lastOf == 0) return now;
  // Down the cover from span i, the first that sets each bit it was last to set.
  uint32_t odd = OddAfter(i);
  for (size_t w = i / 64 + 1; w-- > 0 && lastOf != 0;) {
    uint64_t spansHere = cover_[w];
    if (w == i / 64) spansHere &= (uint64_t{1} << (i % 64)) - 1;
    if ((wordSets_[w] & lastOf) == 0) {
      odd ^= static_cast<uint32_t>(Odd(spansHere));
      continue;
    }
    for (; spansHere != 0 && lastOf != 0;
         spansHere &= ~(uint64_t{1} << 63 >> std::countl_zero(spansHere))) {
      const auto j =
          static_cast<uint32_t>(w * 64 + 63 - static_cast<size_t>(std::countl_zero(spansHere)));
      const uint32_t taken = lastOf & bits_[j].sets;
      if (taken != 0) takeLast(j, taken, odd);
      lastOf &= ~taken;
      odd ^= 1u;
    }
  }
  // Bits that no span left sets lie as they were, turned over by every span over them.
  if (lastOf == 0) return now;
  now.result = (now.result & ~lastOf) | (now.inside % 2 != 0 ? lastOf : 0u);
  now.hasSetter &= ~lastOf;
  SetLast(lastOf, -1);
  return now;
}

// In the modes left, each bit under one pen is set, kept or turned over, and a bit
// that some pen sets is never kept. So a pixel's bit ends as the last span over it
// that sets it left it, turned over once for each span over it after that one; and
// where no span over it sets it, as it lay, turned over by the spans that turn it.
// The row is swept from left to right with the spans over the column as a set of bits
// by order, and per colour bit the last span among them that sets it: a span entering
// or leaving the set turns over the bits whose last setter comes before it, becomes
// the last setter of the bits it sets whose last setter came before it, and on leaving
// hands the bits it was last to set to the next setters down the set.
void EffectRows::DrawByLastSetters(uint32_t* row, std::span<const RowSpan> spans, int32_t lo,
                                   int32_t hi) {
  const size_t n = spans.size();
  SortEnds(spans, lo, hi);
  cover_.assign(n / 64 + 1, 0);
  coverWords_.assign(n / 4096 + 1, 0);
  wordSets_.assign(n / 64 + 1, 0);
  for (size_t i = 0; i < n; ++i)
    wordSets_[i / 64] |= bits_[i].sets;
  // Keys of 16 bits tell the setters' order but for those sharing a key.
  keyShift_ = std::max(static_cast<int>(std::bit_width(n)) - 15, 0);
  last_.fill(-1);
  keys_.fill(-1);
  // Kept in registers across the writes to the row rather than in members.
  Sweep now;
  uint64_t* const cover = cover_.data();
  uint64_t* const coverWords = coverWords_.data();
  Drawn* const drawn = drawn_.data();
  // Column x's ends now stop at firstEnd_[x]. The ends are taken in one run, each
  // leaving what the cover then draws at its column, so that the last of a column's
  // ends leaves what the whole cover draws there.
  const End* const last = ends_.data() + firstEnd_[hi - 1];
  for (const End* at = ends_.data(); at != last; ++at) {
    const uint32_t i = at->code / 2;
    const bool enters = at->code % 2 == 0;
    now.inside += 1 - 2 * static_cast<int32_t>(at->code % 2);
    // Told in one test rather than in turn: which way an end goes is hard to foresee.
    const bool below = static_cast<int32_t>(i) < now.earliest;
    if (below & (!enters | ((at->sets & ~now.hasSetter) == 0))) {
      // Before every last setter, the span only turns over the bits that none sets.
      cover[i / 64] ^= uint64_t{1} << (i % 64);
      coverWords[i / 4096] ^= uint64_t{1} << (i / 64 % 64);
      now.result ^= ~now.hasSetter & at->turns;
    } else {
      now = PastSetters(now, *at);
    }
    drawn[at->x] = Drawn{now.hasSetter, now.result, now.inside};
  }
  // A column without ends draws as the one before it.
  int32_t from = 0;
  int32_t with = lo;
  for (int32_t x = lo; x < hi; ++x) {
    with = firstEnd_[x] != from ? x : with;
    from = firstEnd_[x];
    const Drawn& column = drawn[with];
    if (column.inside > 0) row[x] = ((row[x] & ~column.hasSetter) ^ column.result) | 0xFF000000u;
  }
}

}  // namespace quillo::raster
