// A row of setting spans swept by their ends, with a count per colour bit.
#include "platform/raster/setter_sweep.h"

#include <algorithm>
#include <array>

#include "platform/raster/effect_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillo::raster {
namespace {

#if defined(__SSE2__)
// Eight 16-bit lanes per byte value, lane j holding its bit j: a pen's set bits as
// counts of one, a byte at a time.
constexpr std::array<std::array<int16_t, 8>, 256> MakeLanes() {
  std::array<std::array<int16_t, 8>, 256> lanes{};
  for (size_t b = 0; b < 256; ++b) {
    for (size_t j = 0; j < 8; ++j)
      lanes[b][j] = static_cast<int16_t>((b >> j) & 1);
  }
  return lanes;
}
alignas(16) constexpr std::array<std::array<int16_t, 8>, 256> kLanes = MakeLanes();

// The counts of each colour bit's setters over the column under the sweep.
class BitCounts {
 public:
  // Counts bits in, or out where out is all ones.
  void Change(uint32_t bits, uint32_t out) {
    const __m128i sign = _mm_set1_epi16(static_cast<int16_t>(out));
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
  // The byte's lanes, negated where sign is all ones.
  static __m128i Signed(uint32_t bits, __m128i sign) {
    const __m128i lanes =
        _mm_load_si128(reinterpret_cast<const __m128i*>(kLanes[bits & 0xFF].data()));
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

SetterSweep::SetterSweep(int32_t width) : firstEnd_(static_cast<size_t>(width) + 2) {}

void SetterSweep::Draw(uint32_t* row, std::span<const RowSpan> spans, std::span<const uint32_t> set,
                       uint32_t setTo, int32_t lo, int32_t hi) {
  const size_t n = spans.size();
  ends_.resize(2 * n);
  columns_.resize(2 * n);
  // The ends sorted by column, counted from lo: first[x + 1] first counts column x's
  // ends, then after the sums says where they start.
  int32_t* first = firstEnd_.data() - lo;
  std::fill(first + lo, first + hi + 2, 0);
  for (const RowSpan& s : spans) {
    ++first[s.x0 + 1];
    ++first[s.x1 + 1];
  }
  for (int32_t x = lo; x <= hi; ++x)
    first[x + 1] += first[x];
  for (size_t i = 0; i < n; ++i) {
    const auto in = static_cast<size_t>(first[spans[i].x0]++);
    ends_[in] = static_cast<uint32_t>(2 * i);
    columns_[in] = spans[i].x0;
    const auto out = static_cast<size_t>(first[spans[i].x1]++);
    ends_[out] = static_cast<uint32_t>(2 * i + 1);
    columns_[out] = spans[i].x1;
  }
  BitCounts counts;
  int32_t inside = 0;
  size_t e = 0;
  while (e < 2 * n) {
    // The ends at one column, then the run up to the next column with an end.
    const int32_t x = columns_[e];
    for (; e < 2 * n && columns_[e] == x; ++e) {
      // Without a branch: which way an end goes is as good as random.
      const uint32_t out = 0u - (ends_[e] & 1);
      counts.Change(set[ends_[e] / 2], out);
      inside += 1 - 2 * static_cast<int32_t>(ends_[e] & 1);
    }
    if (inside == 0) continue;
    const int32_t to = columns_[e];
    const uint32_t bits = counts.Set();
    const uint32_t keep = ~bits;
    const uint32_t add = (setTo & bits) | 0xFF000000u;
    for (int32_t c = x; c < to; ++c)
      row[c] = (row[c] & keep) | add;
  }
}

}  // namespace quillo::raster
