// Rows of spans in the pen modes where order counts, each pixel written once.
#include "platform/raster/effect_rows.h"

#include <algorithm>
#include <bit>

namespace quillo::raster {
namespace {

constexpr uint32_t kColour = 0x00FFFFFFu;

// How many columns' worth of span steps a row may take, on top of one per span, before
// it leaves the bits-decided sweep for the plain one; a row gets there only when bits
// stay undecided under hundreds of spans.
constexpr int64_t kStepsPerColumn = 4;

// Up to how many spans over each column on average a row is drawn span by span: that
// costs less than the tables of the other ways below some dozens.
constexpr int64_t kPaintedPerColumn = 4;

}  // namespace

EffectRows::EffectRows(PenMode mode, int32_t width)
    : mode_(mode),
      width_(width),
      undecided_(static_cast<size_t>(width) + 1),
      bits_(static_cast<size_t>(width) + 1),
      turns_(static_cast<size_t>(width) + 1),
      counts_(static_cast<size_t>(width) + 1),
      next_(static_cast<size_t>(width) + 1),
      entering_(static_cast<size_t>(width) + 1, -1),
      leaving_(static_cast<size_t>(width) + 1, -1) {
  levelCount_ = std::bit_width(static_cast<uint32_t>(std::max(width, 1)));
  // Under a pen bit of 0 and of 1, each bit is kept, set or turned over; in the
  // modes that only set or keep bits, the bits set take the value that sets them.
  setsOnly_ = SetsOrKeeps(mode);
  const Effect zero = Effect::Of(mode, 0);
  const Effect one = Effect::Of(mode, ~0u);
  setTo_ = (~zero.keep & zero.flip) | (~one.keep & one.flip);
  levels_.resize(static_cast<size_t>(levelCount_) * (static_cast<size_t>(width) + 1));
}

void EffectRows::Draw(uint32_t* row, std::span<const RowSpan> spans, size_t parts) {
  if (spans.empty()) return;
  int32_t lo = width_;
  int32_t hi = 0;
  for (const RowSpan& s : spans) {
    lo = std::min(lo, s.x0);
    hi = std::max(hi, s.x1);
  }
  int64_t area = 0;
  for (const RowSpan& s : spans)
    area += s.x1 - s.x0;
  if (area <= kPaintedPerColumn * (hi - lo)) {
    // Few spans over each pixel: drawn in turn, as the calls would draw them.
    for (const RowSpan& s : spans) {
      const Effect e = Effect::Of(mode_, s.value);
      for (int32_t x = s.x0; x < s.x1; ++x)
        row[x] = e.On(row[x]) | 0xFF000000u;
    }
    return;
  }
  if (!DrawByLastSetter(row, spans, lo, hi)) DrawByTree(row, spans, parts, lo, hi);
}

// Every mode here, bit by bit, either sets a bit to a value or keeps it or turns it
// over. So a pixel's bit ends as the last span over it that sets it left it, turned
// over by the spans after that one; and where no span sets it, as it lay, turned over
// by all the spans over it. The spans are taken from the last back, each pixel keeping
// the bits not yet set, until no earlier span over it sets any of them; the turns of
// all spans over each pixel come from a running xor, and the bits that the spans over
// each pixel set from a table of ranges by powers of two. In the modes that only set
// bits or keep them, all spans set a bit alike and the table alone decides. Returns
// false, leaving the row, when the spans' steps over undecided pixels pass the row's
// allowance.
bool EffectRows::DrawByLastSetter(uint32_t* row, std::span<const RowSpan> spans, int32_t lo,
                                  int32_t hi) {
  const auto stride = static_cast<size_t>(width_) + 1;
  for (int k = 0; k < levelCount_; ++k)
    std::fill(levels_.begin() + k * stride + lo, levels_.begin() + k * stride + hi, 0u);
  std::fill(turns_.begin() + lo, turns_.begin() + hi + 1, 0u);
  std::fill(counts_.begin() + lo, counts_.begin() + hi + 1, 0);
  for (const RowSpan& s : spans) {
    const Effect e = Effect::Of(mode_, s.value);
    const uint32_t turns = e.flip & e.keep & kColour;
    turns_[s.x0] ^= turns;
    turns_[s.x1] ^= turns;
    ++counts_[s.x0];
    --counts_[s.x1];
    const uint32_t sets = ~e.keep & kColour;
    const int k = std::bit_width(static_cast<uint32_t>(s.x1 - s.x0)) - 1;
    uint32_t* level = levels_.data() + k * stride;
    level[s.x0] |= sets;
    level[s.x1 - (int32_t{1} << k)] |= sets;
  }
  for (int k = levelCount_ - 1; k >= 1; --k) {
    const uint32_t* level = levels_.data() + k * stride;
    uint32_t* below = levels_.data() + (k - 1) * stride;
    const int32_t half = int32_t{1} << (k - 1);
    for (int32_t x = lo; x <= hi - 2 * half; ++x)
      below[x] |= level[x];
    for (int32_t x = lo; x <= hi - 2 * half; ++x)
      below[x + half] |= level[x];
  }
  const uint32_t* setters = levels_.data();
  if (setsOnly_) {
    // Where spans only set bits or keep them, all set a bit alike, so their order
    // does not count.
    int32_t count = 0;
    for (int32_t x = lo; x < hi; ++x) {
      count += counts_[x];
      const uint32_t set = setters[x] & kColour;
      if (count > 0) row[x] = (row[x] & ~set) | (setTo_ & set) | 0xFF000000u;
    }
    return true;
  }
  uint32_t turns = 0;
  int32_t count = 0;
  for (int32_t x = lo; x < hi; ++x) {
    turns ^= turns_[x];
    count += counts_[x];
    turns_[x] = turns;
    counts_[x] = count;
    undecided_[x] = kColour;
    bits_[x] = 0;
    next_[x] = (setters[x] & kColour) != 0 ? x : x + 1;
  }
  next_[hi] = hi;
  // The first undecided column from x on, halving the paths it walks.
  const auto find = [&](int32_t x) {
    while (next_[x] != x) {
      next_[x] = next_[next_[x]];
      x = next_[x];
    }
    return x;
  };
  int64_t allowance = kStepsPerColumn * (hi - lo) + static_cast<int64_t>(spans.size());
  for (size_t i = spans.size(); i-- > 0;) {
    const RowSpan& s = spans[i];
    const Effect e = Effect::Of(mode_, s.value);
    for (int32_t x = find(s.x0); x < s.x1; x = find(x + 1)) {
      const uint32_t u = undecided_[x];
      bits_[x] ^= e.flip & u;
      undecided_[x] = u & e.keep;
      if ((undecided_[x] & setters[x]) == 0) next_[x] = x + 1;
      if (--allowance < 0) return false;
    }
  }
  for (int32_t x = lo; x < hi; ++x) {
    if (counts_[x] <= 0) continue;
    const uint32_t u = undecided_[x];
    row[x] = (((row[x] ^ turns_[x]) & u) ^ (bits_[x] & ~u)) | 0xFF000000u;
  }
  return true;
}

// The plain sweep: from left to right, the spans' effects entering and leaving a tree
// with one leaf per part at their ends, each node holding its leaves' effects in turn,
// so that the root holds what a pixel under the sweep undergoes.
void EffectRows::DrawByTree(uint32_t* row, std::span<const RowSpan> spans, size_t parts, int32_t lo,
                            int32_t hi) {
  size_t size = 1;
  while (size < parts)
    size *= 2;
  // Every span leaves by hi, where its leaf is emptied again, so the tree comes back
  // empty from each row.
  if (nodes_.size() != 2 * size) nodes_.assign(2 * size, Effect{});
  const auto set = [&](size_t leaf, Effect e) {
    size_t i = size + leaf;
    nodes_[i] = e;
    for (i /= 2; i >= 1; i /= 2)
      nodes_[i] = nodes_[2 * i].Then(nodes_[2 * i + 1]);
  };
  ends_.clear();
  for (const RowSpan& s : spans) {
    ends_.push_back(End{s.order, true, Effect::Of(mode_, s.value), entering_[s.x0]});
    entering_[s.x0] = static_cast<int32_t>(ends_.size() - 1);
    ends_.push_back(End{s.order, false, Effect{}, leaving_[s.x1]});
    leaving_[s.x1] = static_cast<int32_t>(ends_.size() - 1);
  }
  // The ends are listed by column; the spans of one part do not overlap, so at a
  // column the leaving ends go first.
  int32_t inside = 0;
  Effect effect{};
  for (int32_t x = lo; x < hi; ++x) {
    if (leaving_[x] >= 0 || entering_[x] >= 0) {
      for (int32_t* list : {&leaving_[x], &entering_[x]}) {
        for (int32_t e = *list; e >= 0; e = ends_[e].next) {
          set(ends_[e].leaf, ends_[e].effect);
          inside += ends_[e].enters ? 1 : -1;
        }
        *list = -1;
      }
      effect = nodes_[1];
    }
    if (inside > 0) row[x] = effect.On(row[x]) | 0xFF000000u;
  }
  for (int32_t e = leaving_[hi]; e >= 0; e = ends_[e].next)
    set(ends_[e].leaf, Effect{});
  leaving_[hi] = -1;
}

}  // namespace quillo::raster
