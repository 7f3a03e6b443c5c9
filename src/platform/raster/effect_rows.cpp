// Rows of spans in the pen modes where order counts, each pixel written once.
#include "platform/raster/effect_rows.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace quillo::raster {
namespace {

constexpr uint32_t kColour = 0x00FFFFFFu;

// Up to how many spans over each column on average a row is drawn span by span: that
// costs less than the tables of the other ways below some dozens.
constexpr int64_t kPaintedPerColumn = 4;

// Whether v has an odd number of bits set; kept to the parity so that it compiles
// without a population count instruction.
int Odd(uint64_t v) {
  return std::popcount(v) & 1;
}

}  // namespace

EffectRows::EffectRows(PenMode mode, int32_t width) : width_(width), sweep_(width) {
  // Under a pen bit of 0 and of 1, each bit is kept, set or turned over; in the
  // modes that only set or keep bits, the bits set take the value that sets them.
  setsOnly_ = SetsOrKeeps(mode);
  underZero_ = Effect::Of(mode, 0);
  underOne_ = Effect::Of(mode, ~0u);
  setTo_ = (~underZero_.keep & underZero_.flip) | (~underOne_.keep & underOne_.flip);
  if (setsOnly_) {
    levelCount_ = std::bit_width(static_cast<uint32_t>(std::max(width, 1)));
    levels_.resize(static_cast<size_t>(levelCount_) * (static_cast<size_t>(width) + 1));
  } else {
    firstEnd_.resize(static_cast<size_t>(width) + 2);
  }
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
  if (setsOnly_) {
    // The table of ranges costs its levels over each column; the sweep costs each end
    // of a span, some twenty times a column's level there (measured on the figures).
    const int64_t levels = std::bit_width(static_cast<uint32_t>(reach.longest));
    if (48 * static_cast<int64_t>(spans.size()) < levels * (hi - lo) &&
        spans.size() <= SetterSweep::kMostSpans) {
      setBits_.resize(spans.size());
      for (size_t i = 0; i < spans.size(); ++i)
        setBits_[i] = ~EffectOf(spans[i].value).keep & kColour;
      sweep_.Draw(row, spans, setBits_, setTo_, lo, hi);
      return;
    }
    DrawBySetters(row, spans, reach);
  } else {
    DrawByLastSetters(row, spans, lo, hi);
  }
}

// Where spans only set bits or keep them, all set a bit alike, so their order does not
// count: each pixel takes the bits that the spans over it set, from a table of ranges
// by powers of two. Every span also sets kCovered there, so that only covered pixels
// are written. Each level is cleared as it is folded into the one below, and the last
// as the row is written, so that the table is clear for the next row.
void EffectRows::DrawBySetters(uint32_t* row, std::span<const RowSpan> spans,
                               const RowReach& reach) {
  constexpr uint32_t kCovered = 0x01000000u;
  const auto stride = static_cast<size_t>(width_) + 1;
  const int32_t lo = reach.lo;
  const int32_t hi = reach.hi;
  // Only the levels up to the longest span's hold anything.
  const int levels = std::bit_width(static_cast<uint32_t>(reach.longest));
  for (const RowSpan& s : spans) {
    const uint32_t sets = (~EffectOf(s.value).keep & kColour) | kCovered;
    const int k = std::bit_width(static_cast<uint32_t>(s.x1 - s.x0)) - 1;
    uint32_t* level = levels_.data() + k * stride;
    level[s.x0] |= sets;
    level[s.x1 - (int32_t{1} << k)] |= sets;
  }
  for (int k = levels - 1; k >= 1; --k) {
    uint32_t* level = levels_.data() + k * stride;
    uint32_t* below = levels_.data() + (k - 1) * stride;
    const int32_t half = int32_t{1} << (k - 1);
    for (int32_t x = lo; x <= hi - 2 * half; ++x)
      below[x] |= level[x];
    for (int32_t x = lo; x <= hi - 2 * half; ++x) {
      below[x + half] |= level[x];
      level[x] = 0;
    }
  }
  uint32_t* setters = levels_.data();
  for (int32_t x = lo; x < hi; ++x) {
    const uint32_t bits = setters[x];
    setters[x] = 0;
    const uint32_t set = bits & kColour;
    if ((bits & kCovered) != 0) row[x] = (row[x] & ~set) | (setTo_ & set) | 0xFF000000u;
  }
}

void EffectRows::Around(int32_t i, uint32_t& before, uint32_t& lastOf, int32_t& earliest) const {
  // Four bits at a time, in the vector registers every target has; as unsigned, no
  // setter (-1) comes after every span.
  using Lanes = int32_t __attribute__((vector_size(16)));
  using Unsigned = uint32_t __attribute__((vector_size(16)));
  const Lanes at = Lanes{} + i;
  Lanes below{};
  Lanes equal{};
  Unsigned least = Unsigned{} - 1;
  for (size_t k = 0; k < last_.size() / 4; ++k) {
    Lanes last;
    std::memcpy(&last, last_.data() + 4 * k, sizeof last);
    const Lanes bits = Lanes{1, 2, 4, 8} << static_cast<int32_t>(4 * k);
    below |= (last < at) & bits;
    equal |= (last == at) & bits;
    const auto setter = reinterpret_cast<Unsigned>(last);
    least = setter < least ? setter : least;
  }
  below |= __builtin_shufflevector(below, below, 2, 3, 0, 1);
  below |= __builtin_shufflevector(below, below, 1, 0, 3, 2);
  equal |= __builtin_shufflevector(equal, equal, 2, 3, 0, 1);
  equal |= __builtin_shufflevector(equal, equal, 1, 0, 3, 2);
  const Unsigned swapped = __builtin_shufflevector(least, least, 2, 3, 0, 1);
  least = swapped < least ? swapped : least;
  const Unsigned shifted = __builtin_shufflevector(least, least, 1, 0, 3, 2);
  least = shifted < least ? shifted : least;
  before = static_cast<uint32_t>(below[0]);
  lastOf = static_cast<uint32_t>(equal[0]);
  earliest =
      static_cast<int32_t>(std::min<uint32_t>(least[0], std::numeric_limits<int32_t>::max()));
}

uint32_t EffectRows::OddAfter(uint32_t i) const {
  const size_t word = i / 64;
  int odd = Odd(cover_[word] & (~uint64_t{1} << (i % 64)));
  odd ^= Odd(coverWords_[word / 64] & (~uint64_t{1} << (word % 64)));
  for (size_t w = word / 64 + 1; w < coverWords_.size(); ++w)
    odd ^= Odd(coverWords_[w]);
  return static_cast<uint32_t>(odd);
}

void EffectRows::TakeLast(uint32_t i, uint32_t bits, uint32_t odd) {
  result_ = (result_ & ~bits) | ((values_[i] ^ (odd != 0 ? ~0u : 0u)) & bits);
  hasSetter_ |= bits;
  for (; bits != 0; bits &= bits - 1)
    last_[static_cast<size_t>(std::countr_zero(bits))] = static_cast<int32_t>(i);
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
  sets_.resize(n);
  values_.resize(n);
  turns_.resize(n);
  ends_.resize(2 * n);
  std::fill(firstEnd_.begin() + lo, firstEnd_.begin() + hi + 2, 0);
  cover_.assign(n / 64 + 1, 0);
  coverWords_.assign(n / 4096 + 1, 0);
  coverOdd_ = 0;
  wordSets_.assign(n / 64 + 1, 0);
  for (size_t i = 0; i < n; ++i) {
    const RowSpan& s = spans[i];
    const Effect e = EffectOf(s.value);
    sets_[i] = ~e.keep & kColour;
    wordSets_[i / 64] |= sets_[i];
    values_[i] = e.flip & sets_[i];
    turns_[i] = e.flip & e.keep & kColour;
    ++firstEnd_[s.x0 + 1];
    ++firstEnd_[s.x1 + 1];
  }
  // The ends sorted by column: at 2 * i the span's entering, at 2 * i + 1 its leaving.
  // Within a column the spans enter from the last down, so that the first to enter
  // sets the most bits last and the others pass by it, then leave from the earliest
  // up, so that the spans below the last setters go first.
  for (int32_t x = lo; x <= hi; ++x)
    firstEnd_[x + 1] += firstEnd_[x];
  for (size_t i = n; i-- > 0;)
    ends_[firstEnd_[spans[i].x0]++] = static_cast<uint32_t>(2 * i);
  for (size_t i = 0; i < n; ++i)
    ends_[firstEnd_[spans[i].x1]++] = static_cast<uint32_t>(2 * i + 1);
  last_.fill(-1);
  hasSetter_ = 0;
  result_ = 0;
  int32_t inside = 0;
  // At most the earliest of the last setters: exact after each look at them, and
  // lowered to each new last setter since.
  int32_t earliest = std::numeric_limits<int32_t>::max();
  const auto end = [&](uint32_t i, bool enters) {
    if (static_cast<int32_t>(i) < earliest && (!enters || (sets_[i] & ~hasSetter_) == 0)) {
      // Before every last setter, the span only turns over the bits that none sets.
      Toggle(i);
      result_ ^= ~hasSetter_ & turns_[i];
      return;
    }
    // The bits whose last setter comes before span i, and those whose last setter it is.
    uint32_t before = 0;
    uint32_t lastOf = 0;
    Around(static_cast<int32_t>(i), before, lastOf, earliest);
    Toggle(i);
    result_ ^= before & turns_[i];
    if (enters) {
      if ((before & sets_[i]) == 0) return;
      TakeLast(i, before & sets_[i], OddAfter(i));
      earliest = std::min(earliest, static_cast<int32_t>(i));
      return;
    }
    if (lastOf == 0) return;
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
        const uint32_t taken = lastOf & sets_[j];
        if (taken != 0) {
          TakeLast(j, taken, odd);
          earliest = std::min(earliest, static_cast<int32_t>(j));
        }
        lastOf &= ~taken;
        odd ^= 1u;
      }
    }
    // Bits that no span left sets lie as they were, turned over by every span over them.
    result_ = (result_ & ~lastOf) | (coverOdd_ != 0 ? lastOf : 0u);
    hasSetter_ &= ~lastOf;
    for (; lastOf != 0; lastOf &= lastOf - 1)
      last_[static_cast<size_t>(std::countr_zero(lastOf))] = -1;
  };
  // Each column's ends now run up to where the next column's start.
  size_t e = 0;
  for (int32_t x = lo; x < hi; ++x) {
    for (; e < static_cast<size_t>(firstEnd_[x]); ++e) {
      const bool enters = ends_[e] % 2 == 0;
      end(ends_[e] / 2, enters);
      inside += enters ? 1 : -1;
    }
    if (inside > 0) row[x] = ((row[x] & ~hasSetter_) ^ result_) | 0xFF000000u;
  }
}

}  // namespace quillo::raster
