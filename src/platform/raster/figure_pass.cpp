// A figure's wide primitives drawn row by row, each pixel written once.
#include "platform/raster/figure_pass.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/raster/capsule.h"
#include "platform/raster/covered_runs.h"
#include "platform/raster/effect_rows.h"
#include "platform/raster/round_box.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillo::raster {
namespace {

// A run of columns [x0, x1) on one row, drawn with value (a pen or the brush).
struct Span {
  int64_t x0;
  int64_t x1;
  uint32_t value;
};

// A primitive as the rows see it: the grid rows [top, bottom) it may meet and its
// shape.
struct Part {
  int64_t top = 0;
  int64_t bottom = 0;
  uint32_t pen = 0;
  bool ellipse = false;
  size_t shape = 0;  // index into the capsules or the outlines
};

// A part met by a band of rows, and columns [left, right) that hold its spans there.
struct BandPart {
  uint32_t part;
  int64_t left;
  int64_t right;
};

// Rows are taken a band at a time; a band first picks out the parts that meet it.
constexpr int64_t kBandRows = 64;
// Rows whose spans are gathered at once, within a band.
constexpr int64_t kRowsAtOnce = 16;

// Whether the pass may use registers of sixteen 32-bit lanes: those of AVX-512.
bool Sixteens(EffectRows::Registers registers) {
#if defined(__x86_64__)
  return registers == EffectRows::Registers::kWidest && __builtin_cpu_supports("avx512bw");
#else
  (void)registers;
  return false;
#endif
}

#if defined(__x86_64__)
// A box's end or row brought within 2^30 of the grid, which leaves its rows' columns
// as they were: an inset is at most kMostTabled.
int32_t Near(int64_t v) {
  constexpr int64_t kFar = int64_t{1} << 30;
  static_assert(RoundBox::kMostTabled * 4 < kFar);
  return static_cast<int32_t>(std::clamp(v, -kFar, kFar));
}

// RoundBox::ClippedRows where the processor has AVX-512, for kRowsAtOnce rows at once,
// empty from row count on. The rows are stored whole, so that the loads of each one
// that follow can be forwarded from the stores.
[[gnu::target("avx512f")]] void BoxRowsAtOnce(const RoundBox& box, int64_t first, int64_t count,
                                              const std::vector<int32_t>& insets, int64_t width,
                                              int32_t* x0, int32_t* x1) {
  const __m512i k = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  // How many rows lie above each row within the box, and below it.
  const __m512i above = _mm512_add_epi32(_mm512_set1_epi32(Near(first - box.top)), k);
  const __m512i below = _mm512_sub_epi32(_mm512_set1_epi32(Near(box.bottom - 1 - first)), k);
  const __m512i zero = _mm512_setzero_si512();
  // The maskless forms of min and max leave GCC 12 warning of an undefined source.
  constexpr __mmask16 kAll = 0xFFFF;
  const __m512i edge = _mm512_maskz_min_epi32(kAll, above, below);
  static_assert(kRowsAtOnce == 16);
  const auto rows = static_cast<__mmask16>((1u << count) - 1);
  const __mmask16 inside = _mm512_mask_cmpge_epi32_mask(rows, edge, zero);
  const __mmask16 tabled = _mm512_mask_cmplt_epi32_mask(
      inside, edge, _mm512_set1_epi32(static_cast<int32_t>(insets.size())));
  const __m512i inset = _mm512_mask_i32gather_epi32(zero, tabled, edge, insets.data(), 4);
  const __mmask16 meets = _mm512_mask_cmplt_epi32_mask(
      inside, _mm512_add_epi32(inset, inset),
      _mm512_set1_epi32(Near(std::max<int64_t>(box.right - box.left, 0))));
  const __m512i w = _mm512_set1_epi32(static_cast<int32_t>(width));
  const __m512i left = _mm512_add_epi32(_mm512_set1_epi32(Near(box.left)), inset);
  const __m512i right = _mm512_sub_epi32(_mm512_set1_epi32(Near(box.right)), inset);
  _mm512_storeu_si512(x0,
                      _mm512_maskz_min_epi32(meets, _mm512_maskz_max_epi32(kAll, left, zero), w));
  _mm512_storeu_si512(x1,
                      _mm512_maskz_min_epi32(meets, _mm512_maskz_max_epi32(kAll, right, zero), w));
}
#endif

// The widest pen whose disc rows are tabled once for the whole figure.
constexpr double kTabledRadius = 1 << 16;

class Figure {
 public:
  // With sixteens, rows are worked out with the registers of AVX-512.
  Figure(PixelGrid grid, std::span<const FigurePrimitive> prims, const FigureStyle& style,
         bool sixteens)
      : grid_(grid), style_(style), sixteens_(sixteens) {
    // As on the single line: an odd band is centred on pixel centres, an even one on
    // their top-left corners.
    shift_ = style.penWidth % 2 == 1 ? 0.0 : -0.5;
    r_ = style.penWidth / 2.0;
    if (r_ <= kTabledRadius) {
      halfWidths_.resize(static_cast<size_t>(r_) + 1);
      // Every end point lies on whole pixels, so all rows share the shift's fraction.
      halfWidths_.resize(TableHalfWidths(r_, shift_ - std::floor(shift_), halfWidths_));
      discs_.emplace(halfWidths_, shift_);
    }
    parts_.reserve(prims.size());
    for (const FigurePrimitive& p : prims) {
      if (p.ellipse) {
        AddEllipse(p);
      } else {
        AddLine(p);
      }
    }
  }

  // The capsules hold on to the tables.
  Figure(const Figure&) = delete;
  Figure& operator=(const Figure&) = delete;

  const std::vector<Part>& Parts() const { return parts_; }

  // Columns [left, right) holding the part's spans on rows [from, to), with room to
  // spare; false when it has none there.
  bool BoundsIn(const Part& part, int64_t from, int64_t to, int64_t& left, int64_t& right) const {
    from = std::max(from, part.top);
    to = std::min(to, part.bottom);
    if (from >= to) return false;
    if (part.ellipse) {
      // The outer shape is widest on the rows nearest its middle.
      const RoundBox& outer = outlines_[part.shape].outer;
      const int64_t middle = outer.top + (outer.bottom - outer.top - 1) / 2;
      left = grid_.width;
      right = 0;
      for (const int64_t y : {middle, middle + 1}) {
        int64_t x0 = 0;
        int64_t x1 = 0;
        if (!outer.Row(std::clamp(y, from, to - 1), x0, x1)) continue;
        left = std::min(left, std::max<int64_t>(x0, 0));
        right = std::max(right, std::min<int64_t>(x1, grid_.width));
      }
      return left < right;
    }
    // Each point of the capsule lies within r of a point of the segment, so on a row
    // dist or more below or above the segment, within the half chord at dist of it.
    // The rows' arithmetic errs by far less than the tolerance while the figure lies
    // within 2^24 pixels; beyond, a pixel of slack covers it.
    const Capsule& capsule = capsules_[part.shape];
    const double lowY = std::min(capsule.Ay(), capsule.By());
    const double highY = std::max(capsule.Ay(), capsule.By());
    const double dist =
        std::max({0.0, lowY - static_cast<double>(to - 1), static_cast<double>(from) - highY});
    const double half = dist >= r_ ? 0.0 : std::sqrt(r_ * r_ - dist * dist);
    const double l = std::ceil(std::min(capsule.Ax(), capsule.Bx()) - half - tolerance_);
    const double h = std::floor(std::max(capsule.Ax(), capsule.Bx()) + half + tolerance_) + 1;
    left = static_cast<int64_t>(std::clamp(l, 0.0, static_cast<double>(grid_.width)));
    right = static_cast<int64_t>(std::clamp(h, 0.0, static_cast<double>(grid_.width)));
    return left < right;
  }

  // The spans of part on row y, clipped to the grid and not empty; returns their count.
  [[gnu::always_inline]] int SpansOf(const Part& part, int64_t y, Span* out) const {
    if (!part.ellipse) {
      double xl = 0;
      double xr = 0;
      if (!capsules_[part.shape].Row(static_cast<double>(y), xl, xr)) return 0;
      const double x0 = std::max(Ceil(xl), 0.0);
      const double x1 = std::min(Floor(xr), grid_.width - 1.0);
      if (x0 > x1) return 0;
      out[0] = Span{static_cast<int64_t>(x0), static_cast<int64_t>(x1) + 1, part.pen};
      return 1;
    }
    const RoundOutline& outline = outlines_[part.shape];
    const Insets& insets = insets_[part.shape];
    int64_t o0 = 0;
    int64_t o1 = 0;
    if (!RowOf(outline.outer, insets.outer, y, o0, o1)) return 0;
    int n = 0;
    const auto add = [&](int64_t x0, int64_t x1, uint32_t value) {
      x0 = std::max<int64_t>(x0, 0);
      x1 = std::min<int64_t>(x1, grid_.width);
      if (x0 < x1) out[n++] = Span{x0, x1, value};
    };
    int64_t i0 = 0;
    int64_t i1 = 0;
    if (outline.inner.Empty() || !RowOf(outline.inner, insets.inner, y, i0, i1)) {
      add(o0, o1, part.pen);
      return n;
    }
    i0 = std::clamp(i0, o0, o1);
    i1 = std::clamp(i1, i0, o1);
    add(o0, i0, part.pen);
    if (style_.fill) add(i0, i1, style_.brush);
    add(i1, o1, part.pen);
    return n;
  }

  // Whether RowsAtOnce gives the part's spans: a line's while its disc is tabled, an
  // ellipse's while its outline has no hole and a table of insets.
  bool HasRowsAtOnce(const Part& part) const {
    if (!part.ellipse) return !halfWidths_.empty();
    return outlines_[part.shape].inner.Empty() && insets_[part.shape].outer != kNoTable;
  }

  // The spans [x0[k], x1[k]) of a part on rows first + k, k < count <= kRowsAtOnce,
  // clipped to the grid; empty where x0[k] >= x1[k]. As SpansOf gives them, a band of
  // rows at once. x0 and x1 have room for kRowsAtOnce rows, which an ellipse may all
  // write, empty from count on.
  void RowsAtOnce(const Part& part, int64_t first, int64_t count, int32_t* x0, int32_t* x1) const {
    if (!part.ellipse) {
      capsules_[part.shape].ClippedRows(first, count, grid_.width, x0, x1);
      return;
    }
    const RoundBox& box = outlines_[part.shape].outer;
    const std::vector<int32_t>& insets = tables_[insets_[part.shape].outer];
#if defined(__x86_64__)
    if (sixteens_) {
      BoxRowsAtOnce(box, first, count, insets, grid_.width, x0, x1);
      return;
    }
#endif
    box.ClippedRows(first, count, insets, grid_.width, x0, x1);
  }
  // The same on all kRowsAtOnce rows of a batch from row from on, which x0 and x1 take
  // whole: empty on those the part misses and from row to on.
  void RowsOfBatch(const Part& part, int64_t from, int64_t to, int32_t* x0, int32_t* x1) const {
#if defined(__x86_64__)
    // The shapes have no columns on the grid's rows the part misses.
    if (sixteens_) {
      if (part.ellipse) {
        RowsAtOnce(part, from, to - from, x0, x1);
        return;
      }
      if (capsules_[part.shape].WholeRun(from, to - from, grid_.width, x0, x1)) return;
    }
#endif
    const int64_t first = std::max(from, part.top);
    const int64_t last = std::min(to, part.bottom);
    std::fill(x0, x0 + kRowsAtOnce, 0);
    std::fill(x1, x1 + kRowsAtOnce, 0);
    RowsAtOnce(part, first, last - first, x0 + (first - from), x1 + (first - from));
  }

 private:
  void AddLine(const FigurePrimitive& p) {
    const double ax = p.a.x + shift_;
    const double ay = p.a.y + shift_;
    const double bx = p.b.x + shift_;
    const double by = p.b.y + shift_;
    const double rowLo = std::max(std::ceil(std::min(ay, by) - r_), 0.0);
    const double rowHi = std::min(std::floor(std::max(ay, by) + r_), grid_.height - 1.0);
    if (rowLo > rowHi) return;
    Part part;
    part.top = static_cast<int64_t>(rowLo);
    part.bottom = static_cast<int64_t>(rowHi) + 1;
    part.pen = p.pen;
    constexpr double kNear = 0x1p24;
    if (std::max({std::abs(ax), std::abs(ay), std::abs(bx), std::abs(by), r_}) >= kNear) {
      tolerance_ = 1;
    }
    part.shape = capsules_.size();
    Capsule& capsule = capsules_.emplace_back(ax, ay, bx, by, r_, halfWidths_);
    if (discs_ && DiscColumns::Near(p.a.x) && DiscColumns::Near(p.a.y) &&
        DiscColumns::Near(p.b.x) && DiscColumns::Near(p.b.y)) {
      capsule.UseDiscColumns(*discs_, p.a.x, p.a.y, p.b.x, p.b.y);
    }
    parts_.push_back(part);
  }

  void AddEllipse(const FigurePrimitive& p) {
    const Rect box = Normalized(MakeRect(p.a, p.b));
    const RoundOutline outline = OutlineOf(box, box.Width(), box.Height(), style_.penWidth);
    if (outline.outer.Empty()) return;
    Part part;
    part.top = std::max<int64_t>(outline.outer.top, 0);
    part.bottom = std::min<int64_t>(outline.outer.bottom, grid_.height);
    if (part.top >= part.bottom) return;
    part.pen = p.pen;
    part.ellipse = true;
    part.shape = outlines_.size();
    outlines_.push_back(outline);
    insets_.push_back(Insets{TableFor(outline.outer), TableFor(outline.inner)});
    parts_.push_back(part);
  }

  // The index of the table of a round box's insets, made when no box of its radii had
  // one; kNoTable for a box too large to table.
  uint32_t TableFor(const RoundBox& box) {
    if (box.Empty() || !(box.rx <= RoundBox::kMostTabled && box.ry <= RoundBox::kMostTabled))
      return kNoTable;
    const auto [at, made] =
        tableOfRadii_.try_emplace({box.rx, box.ry}, static_cast<uint32_t>(tables_.size()));
    if (made) box.TableInsets(tables_.emplace_back());
    return at->second;
  }

  // Row y of box, from its table of insets where it has one.
  bool RowOf(const RoundBox& box, uint32_t table, int64_t y, int64_t& x0, int64_t& x1) const {
    return table == kNoTable ? box.Row(y, x0, x1) : box.Row(y, tables_[table], x0, x1);
  }

  PixelGrid grid_;
  FigureStyle style_;
  bool sixteens_;
  double shift_ = 0;
  double r_ = 1;
  // How far the line bounds allow for rounding.
  double tolerance_ = 1e-6;
  std::vector<double> halfWidths_;
  // The discs' columns row by row, while halfWidths_ holds the disc.
  std::optional<DiscColumns> discs_;
  std::vector<Capsule> capsules_;
  std::vector<RoundOutline> outlines_;
  // Per outline, its boxes' tables of insets: ellipses of one size share theirs, so
  // that a row of one costs a look-up rather than a square root.
  static constexpr uint32_t kNoTable = ~0u;
  struct Insets {
    uint32_t outer;
    uint32_t inner;
  };
  std::vector<Insets> insets_;
  std::map<std::pair<double, double>, uint32_t> tableOfRadii_;
  std::vector<std::vector<int32_t>> tables_;
  std::vector<Part> parts_;
};

// The box of the spans drawn so far.
struct SpanBox {
  int64_t left = std::numeric_limits<int64_t>::max();
  int64_t right = std::numeric_limits<int64_t>::min();
  int64_t top = std::numeric_limits<int64_t>::max();
  int64_t bottom = std::numeric_limits<int64_t>::min();

  void Add(int64_t y, int64_t x0, int64_t x1) {
    left = std::min(left, x0);
    right = std::max(right, x1);
    top = std::min(top, y);
    bottom = std::max(bottom, y + 1);
  }
  Rect Touched() const {
    if (left >= right) return Rect{};
    return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                static_cast<int32_t>(bottom)};
  }
};

// Calls onBand(from, to, band) for every band of rows [from, to) of the figure, with
// the parts (ascending) that may have spans on it and where.
template <class BandFn>
void ForEachBand(const Figure& figure, int64_t gridHeight, BandFn&& onBand) {
  const std::vector<Part>& parts = figure.Parts();
  if (parts.empty()) return;
  int64_t top = gridHeight;
  int64_t bottom = 0;
  for (const Part& p : parts) {
    top = std::min(top, p.top);
    bottom = std::max(bottom, p.bottom);
  }
  std::vector<BandPart> band;
  band.reserve(parts.size());
  for (int64_t from = top; from < bottom; from += kBandRows) {
    const int64_t to = std::min(from + kBandRows, bottom);
    band.clear();
    for (size_t i = 0; i < parts.size(); ++i) {
      int64_t left = 0;
      int64_t right = 0;
      if (parts[i].top < to && parts[i].bottom > from &&
          figure.BoundsIn(parts[i], from, to, left, right)) {
        band.push_back(BandPart{static_cast<uint32_t>(i), left, right});
      }
    }
    onBand(from, to, band);
  }
}

// Pen-only modes: on each row, the parts from the last back, each writing only what no
// later part covers. The rows of a band are taken kRowsAtOnce at a time, each keeping
// its own cover, so that a line works out its spans on those of them it still reaches
// at once.
template <PenMode M>
Rect LastCoverWins(PixelGrid grid, const Figure& figure) {
  static_assert(kRowsAtOnce < 32, "a row of the batch is a bit of a mask");
  const std::vector<Part>& parts = figure.Parts();
  SpanBox box;
  // Per row of the batch, its cover once it is more than one run (a bit of manyRuns).
  std::array<CoveredRuns, kRowsAtOnce> covered;
  uint32_t manyRuns = 0;
  // The band's parts in groups of kGroup: the columns each group may reach, and those
  // that the groups up to each one may reach.
  constexpr size_t kGroup = 16;
  std::vector<BandPart> groups;
  std::vector<BandPart> reach;
  // Per row of the batch, the run of its cover that its last span joined: columns
  // [heldLo, heldHi) are decided there. Columns beyond it may be too, and a part
  // there then writes nothing.
  std::array<int32_t, kRowsAtOnce> heldLo;
  std::array<int32_t, kRowsAtOnce> heldHi;
  // The rows among rows, as bits, whose held run does not hold columns [left, right).
  const auto notHeld = [&](uint32_t rows, int64_t left, int64_t right) {
    const auto l = static_cast<int32_t>(left);
    const auto r = static_cast<int32_t>(right);
#if defined(__SSE2__)
    // Four rows at a time: a row is open where its run starts after l or ends before r.
    static_assert(kRowsAtOnce % 4 == 0);
    const __m128i ls = _mm_set1_epi32(l);
    const __m128i rs = _mm_set1_epi32(r);
    uint32_t open = 0;
    for (size_t k = 0; k < kRowsAtOnce; k += 4) {
      const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(heldLo.data() + k));
      const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(heldHi.data() + k));
      const __m128i misses = _mm_or_si128(_mm_cmpgt_epi32(lo, ls), _mm_cmpgt_epi32(rs, hi));
      open |= static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(misses))) << k;
    }
    return rows & open;
#else
    uint32_t held = 0;
    for (size_t k = 0; k < kRowsAtOnce; ++k)
      held |= static_cast<uint32_t>(heldLo[k] <= l && heldHi[k] >= r) << k;
    return rows & ~held;
#endif
  };
  const auto batch = [&](int64_t from, int64_t to, const std::vector<BandPart>& band) {
    const auto count = static_cast<size_t>(to - from);
    heldLo.fill(std::numeric_limits<int32_t>::max());
    heldHi.fill(std::numeric_limits<int32_t>::min());
    manyRuns = 0;
    // The rows not yet decided wherever the earlier parts could reach.
    uint32_t open = (1u << count) - 1;
    for (size_t g = groups.size(); g-- > 0 && open != 0;) {
      open = notHeld(open, reach[g].left, reach[g].right);
      const uint32_t groupRows = notHeld(open, groups[g].left, groups[g].right);
      if (groupRows == 0) continue;
      const size_t first = g * kGroup;
      for (size_t j = std::min(first + kGroup, band.size()); j-- > first;) {
        const Part& part = parts[band[j].part];
        const int64_t top = std::max(from, part.top);
        const int64_t bottom = std::min(to, part.bottom);
        if (top >= bottom) continue;
        // The part's rows within the batch, as bits.
        const uint32_t partRows = ((1u << (bottom - from)) - 1) & ~((1u << (top - from)) - 1);
        const uint32_t rows = notHeld(groupRows & partRows, band[j].left, band[j].right);
        if (rows == 0) continue;
        // Inline: wide figures send hundreds of thousands of spans here, and a call for
        // each cost a sixth of the move.
        const auto write = [&](size_t k, const Span& s) __attribute__((always_inline)) {
          const int64_t lo = heldLo[k];
          const int64_t hi = heldHi[k];
          // A span within the held run is decided.
          if (lo <= s.x0 && hi >= s.x1) return;
          uint32_t* row = grid.bits + (from + static_cast<int64_t>(k)) * grid.width;
          const uint32_t value = s.value;
          const auto gap = [row, value](int64_t x0, int64_t x1) {
            for (int64_t x = x0; x < x1; ++x)
              row[x] = PenPixel<M>(value, row[x]);
          };
          // While the row's cover is one run, held is that run, and a span that meets
          // it or touches it adds at most a sliver at each end.
          if ((manyRuns & (1u << k)) == 0) {
            if (lo > hi) {
              gap(s.x0, s.x1);
              heldLo[k] = static_cast<int32_t>(s.x0);
              heldHi[k] = static_cast<int32_t>(s.x1);
              return;
            }
            if (s.x0 <= hi && s.x1 >= lo) {
              if (s.x0 < lo) gap(s.x0, lo);
              if (s.x1 > hi) gap(hi, s.x1);
              heldLo[k] = static_cast<int32_t>(std::min(s.x0, lo));
              heldHi[k] = static_cast<int32_t>(std::max(s.x1, hi));
              return;
            }
            manyRuns |= 1u << k;
            covered[k].Clear();
            covered[k].Cover(lo, hi, [](int64_t, int64_t) {});
          }
          const CoveredRuns::Run held = covered[k].Cover(s.x0, s.x1, gap);
          heldLo[k] = static_cast<int32_t>(held.x0);
          heldHi[k] = static_cast<int32_t>(held.x1);
        };
        if (figure.HasRowsAtOnce(part)) {
          // From the first row that needs the line to the last.
          const auto lo = static_cast<size_t>(std::countr_zero(rows));
          const auto hi = static_cast<size_t>(std::bit_width(rows));
          std::array<int32_t, kRowsAtOnce> x0;
          std::array<int32_t, kRowsAtOnce> x1;
          figure.RowsAtOnce(part, from + static_cast<int64_t>(lo), static_cast<int64_t>(hi - lo),
                            x0.data(), x1.data());
          for (uint32_t left = rows; left != 0; left &= left - 1) {
            const auto k = static_cast<size_t>(std::countr_zero(left));
            if (x0[k - lo] < x1[k - lo]) write(k, Span{x0[k - lo], x1[k - lo], part.pen});
          }
          continue;
        }
        for (uint32_t left = rows; left != 0; left &= left - 1) {
          const auto k = static_cast<size_t>(std::countr_zero(left));
          Span spans[3];
          const int n = figure.SpansOf(part, from + static_cast<int64_t>(k), spans);
          for (int i = 0; i < n; ++i)
            write(k, spans[i]);
        }
      }
    }
    for (size_t k = 0; k < count; ++k) {
      const CoveredRuns::Run extent = (manyRuns & (1u << k)) != 0
                                          ? covered[k].Extent()
                                          : CoveredRuns::Run{heldLo[k], heldHi[k]};
      if (extent.x0 < extent.x1) box.Add(from + static_cast<int64_t>(k), extent.x0, extent.x1);
    }
  };
  ForEachBand(figure, grid.height,
              [&](int64_t from, int64_t to, const std::vector<BandPart>& band) {
                groups.clear();
                for (size_t j = 0; j < band.size(); ++j) {
                  if (j % kGroup == 0) {
                    groups.push_back(band[j]);
                  } else {
                    groups.back().left = std::min(groups.back().left, band[j].left);
                    groups.back().right = std::max(groups.back().right, band[j].right);
                  }
                }
                reach = groups;
                for (size_t g = 1; g < reach.size(); ++g) {
                  reach[g].left = std::min(reach[g].left, reach[g - 1].left);
                  reach[g].right = std::max(reach[g].right, reach[g - 1].right);
                }
                for (int64_t at = from; at < to; at += kRowsAtOnce)
                  batch(at, std::min(at + kRowsAtOnce, to), band);
              });
  return box.Touched();
}

// A part's spans on the rows of a batch, row k of the batch from x0[k] to x1[k], empty
// where x0[k] >= x1[k]; all of its kRowsAtOnce rows are set.
struct BatchRows {
  std::array<int32_t, kRowsAtOnce> x0;
  std::array<int32_t, kRowsAtOnce> x1;
};

// What each row of a batch reaches, its fields side by side over the rows so that a
// line's rows widen them at once.
struct BatchReach {
  std::array<int32_t, kRowsAtOnce> lo;
  std::array<int32_t, kRowsAtOnce> hi;
  std::array<int64_t, kRowsAtOnce> area;

  void Clear() {
    lo.fill(RowReach{}.lo);
    hi.fill(RowReach{}.hi);
    area.fill(RowReach{}.area);
  }
  RowReach At(size_t k) const { return RowReach{lo[k], hi[k], area[k]}; }
  void Add(size_t k, const RowSpan& s) {
    RowReach r = At(k);
    r.Add(s);
    lo[k] = r.lo;
    hi[k] = r.hi;
    area[k] = r.area;
  }
  // Takes in a line's spans on the batch's rows; with the widest registers when
  // sixteens is set, which needs a processor with AVX-512. Without kArea the areas may
  // be left behind, for callers that read only the extents.
  template <bool kArea>
  void Widen(const BatchRows& part, bool sixteens);
};

// For each of the band's parts in turn, its spans on rows [from, to) (kRowsAtOnce at
// most): onRows(rows, pen) takes them at once where the part works out its rows at
// once, and onSpan(y, span) one by one where it does not.
template <class SpanFn, class RowsFn>
void GatherRows(const Figure& figure, int64_t from, int64_t to, const std::vector<BandPart>& band,
                SpanFn&& onSpan, RowsFn&& onRows) {
  const std::vector<Part>& parts = figure.Parts();
  BatchRows rows;
  for (size_t j = 0; j < band.size(); ++j) {
    const Part& part = parts[band[j].part];
    const int64_t first = std::max(from, part.top);
    const int64_t last = std::min(to, part.bottom);
    if (first >= last) continue;
    if (figure.HasRowsAtOnce(part)) {
      figure.RowsOfBatch(part, from, to, rows.x0.data(), rows.x1.data());
      onRows(rows, part.pen);
      continue;
    }
    for (int64_t y = first; y < last; ++y) {
      Span spans[3];
      const int n = figure.SpansOf(part, y, spans);
      for (int i = 0; i < n; ++i)
        onSpan(y, spans[i]);
    }
  }
}

#if defined(__x86_64__)
// FlipsCommute's running xor over one row's changes, sixteen columns at a time from x
// while they last, each pixel turned over by the flips so far; flip carries the xor in
// and out. Returns the column it stopped at, and in unsure whether a pixel left as it
// was lacked alpha.
[[gnu::target("avx512f,avx512bw")]] int32_t FlipSixteens(uint32_t* changes, uint32_t* row,
                                                         int32_t x, int32_t hi, uint32_t& flip,
                                                         bool& unsure) {
  const __m512i last = _mm512_set1_epi32(15);
  // The maskless forms of these leave GCC 12 warning of an undefined source.
  constexpr __mmask16 kAll = 0xFFFF;
  const __m512i zero = _mm512_setzero_si512();
  const __m512i alpha = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
  __m512i flips = _mm512_set1_epi32(static_cast<int>(flip));
  __mmask16 lacking = 0;
  for (; x + 16 <= hi; x += 16) {
    __m512i f = _mm512_loadu_si512(changes + x);
    _mm512_storeu_si512(changes + x, zero);
    // Each lane takes in the lanes below it: those 1, 2, 4 and 8 lanes down.
    f = _mm512_xor_si512(f, _mm512_maskz_alignr_epi32(kAll, f, zero, 15));
    f = _mm512_xor_si512(f, _mm512_maskz_alignr_epi32(kAll, f, zero, 14));
    f = _mm512_xor_si512(f, _mm512_maskz_alignr_epi32(kAll, f, zero, 12));
    f = _mm512_xor_si512(f, _mm512_maskz_alignr_epi32(kAll, f, zero, 8));
    flips = _mm512_xor_si512(f, _mm512_maskz_permutexvar_epi32(kAll, last, flips));
    const __m512i old = _mm512_loadu_si512(row + x);
    const __mmask16 turned = _mm512_test_epi32_mask(flips, flips);
    _mm512_mask_storeu_epi32(row + x, turned, _mm512_or_si512(_mm512_xor_si512(old, flips), alpha));
    lacking |= _mm512_mask_cmplt_epu32_mask(static_cast<__mmask16>(~turned), old, alpha);
  }
  flip = static_cast<uint32_t>(
      _mm512_cvtsi512_si32(_mm512_maskz_permutexvar_epi32(kAll, last, flips)));
  unsure |= lacking != 0;
  return x;
}

// BatchReach::Widen where the processor has AVX-512: all rows in one step.
template <bool kArea>
[[gnu::target("avx512f")]] void WidenReach(const BatchRows& part, BatchReach& reach) {
  static_assert(kRowsAtOnce == 16);
  const __m512i x0 = _mm512_loadu_si512(part.x0.data());
  const __m512i x1 = _mm512_loadu_si512(part.x1.data());
  const __mmask16 has = _mm512_cmplt_epi32_mask(x0, x1);
  const __m512i lo = _mm512_loadu_si512(reach.lo.data());
  const __m512i hi = _mm512_loadu_si512(reach.hi.data());
  _mm512_storeu_si512(reach.lo.data(), _mm512_mask_min_epi32(lo, has, lo, x0));
  _mm512_storeu_si512(reach.hi.data(), _mm512_mask_max_epi32(hi, has, hi, x1));
  if constexpr (kArea) {
    const __m512i length = _mm512_maskz_sub_epi32(has, x1, x0);
    // The maskless forms of these leave GCC 12 warning of an undefined source.
    constexpr __mmask8 kAll = 0xFF;
    const __m256i low = _mm512_maskz_extracti64x4_epi64(kAll, length, 0);
    const __m256i high = _mm512_maskz_extracti64x4_epi64(kAll, length, 1);
    int64_t* area = reach.area.data();
    _mm512_storeu_si512(
        area, _mm512_add_epi64(_mm512_loadu_si512(area), _mm512_maskz_cvtepi32_epi64(kAll, low)));
    _mm512_storeu_si512(area + 8, _mm512_add_epi64(_mm512_loadu_si512(area + 8),
                                                   _mm512_maskz_cvtepi32_epi64(kAll, high)));
  }
}
#endif

template <bool kArea>
void BatchReach::Widen(const BatchRows& part, bool sixteens) {
#if defined(__x86_64__)
  if (sixteens) {
    WidenReach<kArea>(part, *this);
    return;
  }
#else
  (void)sixteens;
#endif
  for (size_t k = 0; k < kRowsAtOnce; ++k) {
    if (part.x0[k] < part.x1[k]) Add(k, RowSpan{part.x0[k], part.x1[k], 0});
  }
}

// Xor, not-xor and not: each span flips the bits ApplyPenMode(M, value, 0); a row sums
// them with a running xor over the spans' ends. A band's rows keep their ends side by
// side and each part works out all its rows of the band at once, so that a part's shape
// is read once a band rather than once a row.
//
// A covered pixel also gains alpha, which only tells apart from an uncovered one a
// pixel that lacked alpha and whose flips cancel out; the sum leaves such pixels as
// they were, and where a row had any, its cover is worked out again to give them
// alpha. A canvas is opaque, so that its rows never need it.
template <PenMode M>
Rect FlipsCommute(PixelGrid grid, const Figure& figure, EffectRows::Registers registers) {
  const std::vector<Part>& parts = figure.Parts();
  SpanBox box;
  // Per row of the batch and column: the flips of the spans that start or end there.
  // A span goes straight into its row's changes, in any order.
  const auto stride = static_cast<size_t>(grid.width) + 1;
  std::vector<uint32_t> changes(stride * kRowsAtOnce, 0);
  // Per row of the batch, the columns its spans reach.
  BatchReach reach;
  // For a row whose cover is worked out again, the columns covered so far.
  CoveredRuns covered;
  const bool sixteens = Sixteens(registers);
  const auto giveAlpha = [&](int64_t y, const std::vector<BandPart>& band, uint32_t* row) {
    covered.Clear();
    for (const BandPart& b : band) {
      const Part& part = parts[b.part];
      if (y < part.top || y >= part.bottom) continue;
      Span spans[3];
      const int n = figure.SpansOf(part, y, spans);
      for (int i = 0; i < n; ++i) {
        covered.Cover(spans[i].x0, spans[i].x1, [row](int64_t from, int64_t to) {
          for (int64_t x = from; x < to; ++x)
            row[x] |= 0xFF000000u;
        });
      }
    }
  };
  const auto rows = [&](int64_t from, int64_t to, const std::vector<BandPart>& band) {
    reach.Clear();
    const auto add = [&](size_t k, int64_t x0, int64_t x1, uint32_t flip) {
      uint32_t* rowChanges = changes.data() + k * stride;
      rowChanges[x0] ^= flip;
      rowChanges[x1] ^= flip;
    };
    GatherRows(
        figure, from, to, band,
        [&](int64_t y, const Span& s) {
          const auto k = static_cast<size_t>(y - from);
          add(k, s.x0, s.x1, ApplyPenMode(M, s.value, 0));
          reach.Add(k, RowSpan{static_cast<int32_t>(s.x0), static_cast<int32_t>(s.x1), 0});
        },
        [&](const BatchRows& part, uint32_t pen) {
          const uint32_t flip = ApplyPenMode(M, pen, 0);
          for (size_t k = 0; k < kRowsAtOnce; ++k) {
            if (part.x0[k] < part.x1[k]) add(k, part.x0[k], part.x1[k], flip);
          }
          reach.Widen<false>(part, sixteens);
        });
    for (int64_t y = from; y < to; ++y) {
      const size_t k = static_cast<size_t>(y - from);
      const int32_t lo = reach.lo[k];
      const int32_t hi = reach.hi[k];
      if (lo >= hi) continue;
      uint32_t* rowChanges = changes.data() + k * stride;
      box.Add(y, lo, hi);
      uint32_t* row = grid.bits + y * grid.width;
      uint32_t flip = 0;
      bool unsure = false;
      int32_t x = lo;
#if defined(__x86_64__)
      if (sixteens) x = FlipSixteens(rowChanges, row, x, hi, flip, unsure);
#endif
#if defined(__SSE2__)
      // Four columns at a time: the running xor within the four by shifted copies,
      // carried on from the columns before.
      const __m128i zero = _mm_setzero_si128();
      const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
      __m128i flips = _mm_set1_epi32(static_cast<int>(flip));
      __m128i lacking = zero;
      for (; x + 4 <= hi; x += 4) {
        auto* at = reinterpret_cast<__m128i*>(rowChanges + x);
        __m128i f = _mm_loadu_si128(at);
        _mm_storeu_si128(at, zero);
        f = _mm_xor_si128(f, _mm_slli_si128(f, 4));
        f = _mm_xor_si128(f, _mm_slli_si128(f, 8));
        flips = _mm_xor_si128(f, _mm_shuffle_epi32(flips, _MM_SHUFFLE(3, 3, 3, 3)));
        auto* pixels = reinterpret_cast<__m128i*>(row + x);
        const __m128i old = _mm_loadu_si128(pixels);
        const __m128i kept = _mm_cmpeq_epi32(flips, zero);
        const __m128i drawn = _mm_or_si128(_mm_xor_si128(old, flips), alpha);
        _mm_storeu_si128(pixels,
                         _mm_or_si128(_mm_andnot_si128(kept, drawn), _mm_and_si128(kept, old)));
        const __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(old, alpha), alpha);
        lacking = _mm_or_si128(lacking, _mm_andnot_si128(opaque, kept));
      }
      flip = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(flips, 0xFF)));
      unsure |= _mm_movemask_epi8(lacking) != 0;
#endif
      for (; x < hi; ++x) {
        flip ^= rowChanges[x];
        rowChanges[x] = 0;
        if (flip != 0) {
          row[x] = (row[x] ^ flip) | 0xFF000000u;
        } else {
          unsure |= row[x] < 0xFF000000u;
        }
      }
      rowChanges[hi] = 0;
      if (unsure) giveAlpha(y, band, row);
    }
  };
  ForEachBand(figure, grid.height,
              [&](int64_t from, int64_t to, const std::vector<BandPart>& band) {
                for (int64_t at = from; at < to; at += kRowsAtOnce)
                  rows(at, std::min(at + kRowsAtOnce, to), band);
              });
  return box.Touched();
}

// The other modes, where a pixel's result depends on its parts' order and on what lay
// there: a band's rows gather their spans in the parts' order, and each row is then
// drawn whole.
Rect EffectsInOrder(PixelGrid grid, const Figure& figure, PenMode mode,
                    EffectRows::Registers registers) {
  SpanBox box;
  EffectRows rows(mode, grid.width, registers);
  std::array<std::vector<RowSpan>, kRowsAtOnce> spans;
  BatchReach reach;
  // Each row's spans are written into room made beforehand, counted in counts: a
  // push onto a vector for every span cost a tenth of the merge modes' time. A part has
  // at most three spans on a row.
  std::array<size_t, kRowsAtOnce> counts;
  const bool sixteens = Sixteens(registers);
  const auto band = [&](int64_t from, int64_t to, const std::vector<BandPart>& parts) {
    for (std::vector<RowSpan>& row : spans)
      if (row.size() < 3 * parts.size()) row.resize(3 * parts.size());
    counts.fill(0);
    reach.Clear();
    GatherRows(
        figure, from, to, parts,
        [&](int64_t y, const Span& s) {
          const auto k = static_cast<size_t>(y - from);
          const RowSpan span{static_cast<int32_t>(s.x0), static_cast<int32_t>(s.x1), s.value};
          spans[k][counts[k]++] = span;
          reach.Add(k, span);
        },
        [&](const BatchRows& part, uint32_t pen) {
          for (size_t k = 0; k < kRowsAtOnce; ++k) {
            if (part.x0[k] < part.x1[k])
              spans[k][counts[k]++] = RowSpan{part.x0[k], part.x1[k], pen};
          }
          reach.Widen<true>(part, sixteens);
        });
    for (int64_t y = from; y < to; ++y) {
      const auto k = static_cast<size_t>(y - from);
      if (counts[k] == 0) continue;
      box.Add(y, reach.lo[k], reach.hi[k]);
      rows.Draw(grid.bits + y * grid.width, std::span(spans[k]).first(counts[k]), reach.At(k));
    }
  };
  ForEachBand(figure, grid.height,
              [&](int64_t from, int64_t to, const std::vector<BandPart>& parts) {
                for (int64_t at = from; at < to; at += kRowsAtOnce)
                  band(at, std::min(at + kRowsAtOnce, to), parts);
              });
  return box.Touched();
}

// The composed effect of any run of consecutive parts, from a disjoint sparse table:
// at level h, each part holds the effects from it to the end of its half of a block
// of 2^(h+1) parts when it lies in the lower half, or from the start of its half to
// it when it lies in the upper one.
class RunEffects {
 public:
  explicit RunEffects(std::vector<Effect> effects) : effects_(std::move(effects)) {
    const size_t n = effects_.size();
    for (size_t half = 1; half < n; half *= 2) {
      std::vector<Effect>& level = levels_.emplace_back(n);
      for (size_t mid = half; mid < n; mid += 2 * half) {
        level[mid - 1] = effects_[mid - 1];
        for (size_t i = mid - 1; i-- > mid - half;)
          level[i] = effects_[i].Then(level[i + 1]);
        level[mid] = effects_[mid];
        for (size_t i = mid + 1; i < std::min(mid + half, n); ++i)
          level[i] = level[i - 1].Then(effects_[i]);
      }
    }
  }
  const Effect& Of(uint32_t part) const { return effects_[part]; }
  // The effects of parts first to last in turn.
  Effect Run(uint32_t first, uint32_t last) const {
    if (first == last) return effects_[first];
    const std::vector<Effect>& level = levels_[std::bit_width(first ^ last) - 1];
    return level[first].Then(level[last]);
  }

 private:
  std::vector<Effect> effects_;
  std::vector<std::vector<Effect>> levels_;
};

// One step of a tile's effects: on all its pixels, or on those its masks hold, one
// mask of the tile's columns per row of the batch.
template <class Mask>
struct TileStep {
  static constexpr uint32_t kNone = ~0u;
  // With alpha folded in: covered pixels gain it.
  Effect effect;
  // The tile's next step, or kNone.
  uint32_t next;
  bool whole;
  std::array<Mask, kRowsAtOnce> masks;
};

template <class Tiles>
class TileRuns;

// The extents of a part's rows [0, count) of a batch: the columns [lo, hi) its rows
// reach, and the columns [inLo, inHi) all of them cover.
struct BatchExtents {
  int32_t lo;
  int32_t hi;
  int32_t inLo;
  int32_t inHi;
};

// What TileRuns asks of a kind of tile, here tiles of 8 columns in any registers: a
// batch of rows drawn in the registers it picks, a part's extents on a batch, its masks
// on a tile, and a tile's steps drawn.
struct EightColumns {
  static constexpr int32_t kColumns = 8;
  using Mask = uint8_t;
  using Step = TileStep<Mask>;

  // With AVX2 where the processor has it: a tile's row in one register, and the
  // extents' and masks' loops over the rows in a few.
#if defined(__x86_64__)
  [[gnu::target_clones("avx2", "default")]]
#endif
  static void
  Batch(TileRuns<EightColumns>& runs, int64_t from, int64_t to, const std::vector<BandPart>& band);
  static BatchExtents Extents(const BatchRows& part, int64_t count) {
    BatchExtents e{std::numeric_limits<int32_t>::max(), 0, 0, std::numeric_limits<int32_t>::max()};
    for (size_t k = 0; k < static_cast<size_t>(count); ++k) {
      if (part.x0[k] < part.x1[k]) {
        e.lo = std::min(e.lo, part.x0[k]);
        e.hi = std::max(e.hi, part.x1[k]);
      }
      e.inLo = std::max(e.inLo, part.x0[k]);
      e.inHi = std::min(e.inHi, part.x1[k]);
    }
    return e;
  }
  // The masks of a part's columns [x0[k], x1[k]) on each row k of the tile from x.
  static void Masks(const BatchRows& part, int32_t x, Mask* masks) {
    for (size_t k = 0; k < kRowsAtOnce; ++k) {
      const int32_t l = std::clamp(part.x0[k] - x, 0, kColumns);
      const int32_t h = std::clamp(part.x1[k] - x, 0, kColumns);
      masks[k] = static_cast<Mask>(l < h ? ((1u << h) - 1) & ~((1u << l) - 1) : 0);
    }
  }
  // A tile's steps from first on, over rows [0, count) of the tile from x, of stride
  // pixels from row, its first columns columns on the grid.
  [[gnu::always_inline]] static void Draw(uint32_t* row, int64_t stride, int32_t x, int64_t count,
                                          int32_t columns, const Step* steps, uint32_t first) {
    using Lanes = uint32_t __attribute__((vector_size(4 * kColumns)));
    const Lanes bits{1, 2, 4, 8, 16, 32, 64, 128};
    Lanes d[kRowsAtOnce]{};
    const auto bytes = sizeof(uint32_t) * static_cast<size_t>(columns);
    for (int64_t k = 0; k < count; ++k)
      std::memcpy(&d[k], row + k * stride + x, bytes);
    for (uint32_t s = first; s != Step::kNone; s = steps[s].next) {
      const Step& step = steps[s];
      const Lanes keep = Lanes{} + step.effect.keep;
      const Lanes flip = Lanes{} + step.effect.flip;
      if (step.whole) {
        for (Lanes& lanes : d)
          lanes = (lanes & keep) ^ flip;
        continue;
      }
      for (size_t k = 0; k < kRowsAtOnce; ++k) {
        // All ones in the lanes the mask holds.
        const auto on = reinterpret_cast<Lanes>(((Lanes{} + step.masks[k]) & bits) == bits);
        d[k] = (d[k] & (keep | ~on)) ^ (flip & on);
      }
    }
    for (int64_t k = 0; k < count; ++k)
      std::memcpy(row + k * stride + x, &d[k], bytes);
  }
};

#if defined(__x86_64__)
// The same on a processor with AVX-512, tiles of 16 columns.
struct SixteenColumns {
  static constexpr int32_t kColumns = 16;
  using Mask = __mmask16;
  using Step = TileStep<Mask>;

  [[gnu::target("avx512f,avx512bw")]] static void Batch(TileRuns<SixteenColumns>& runs,
                                                        int64_t from, int64_t to,
                                                        const std::vector<BandPart>& band);
  [[gnu::target("avx512f,avx512bw")]] static BatchExtents Extents(const BatchRows& part,
                                                                  int64_t count) {
    // The maskless forms of these leave GCC 12 warning of an undefined source.
    constexpr __mmask16 kAll = 0xFFFF;
    const __m512i x0 = _mm512_loadu_si512(part.x0.data());
    const __m512i x1 = _mm512_loadu_si512(part.x1.data());
    const auto rows = static_cast<__mmask16>((1u << count) - 1);
    const __mmask16 has = _mm512_mask_cmplt_epi32_mask(rows, x0, x1);
    if (has == 0) return BatchExtents{0, 0, 0, 0};
    // Four least values at once, the greatest as the least of the negated; lanes a
    // mask leaves out hold the largest value.
    const __m512i none = _mm512_set1_epi32(std::numeric_limits<int32_t>::max());
    const __m512i zero = _mm512_setzero_si512();
    const __m512i lo = _mm512_mask_mov_epi32(none, has, x0);
    const __m512i hi = _mm512_mask_sub_epi32(none, has, zero, x1);
    const __m512i inLo = _mm512_mask_sub_epi32(none, rows, zero, x0);
    const __m512i inHi = _mm512_mask_mov_epi32(none, rows, x1);
    const __m512i loHi =
        _mm512_maskz_min_epi32(kAll, _mm512_maskz_shuffle_i32x4(kAll, lo, hi, 0x44),
                               _mm512_maskz_shuffle_i32x4(kAll, lo, hi, 0xEE));
    const __m512i in =
        _mm512_maskz_min_epi32(kAll, _mm512_maskz_shuffle_i32x4(kAll, inLo, inHi, 0x44),
                               _mm512_maskz_shuffle_i32x4(kAll, inLo, inHi, 0xEE));
    // Each block of four lanes now holds one of the four.
    __m512i v = _mm512_maskz_min_epi32(kAll, _mm512_maskz_shuffle_i32x4(kAll, loHi, in, 0x88),
                                       _mm512_maskz_shuffle_i32x4(kAll, loHi, in, 0xDD));
    v = _mm512_maskz_min_epi32(kAll, v, _mm512_maskz_shuffle_epi32(kAll, v, _MM_PERM_BADC));
    v = _mm512_maskz_min_epi32(kAll, v, _mm512_maskz_shuffle_epi32(kAll, v, _MM_PERM_CDAB));
    alignas(64) int32_t least[16];
    _mm512_store_si512(least, v);
    return BatchExtents{least[0], -least[4], -least[8], least[12]};
  }
  [[gnu::target("avx512f,avx512bw")]] static void Masks(const BatchRows& part, int32_t x,
                                                        Mask* masks) {
    const __m512i x0 = _mm512_loadu_si512(part.x0.data());
    const __m512i x1 = _mm512_loadu_si512(part.x1.data());
    // The maskless forms of these leave GCC 12 warning of an undefined source.
    constexpr __mmask16 kAll = 0xFFFF;
    const __m512i zero = _mm512_setzero_si512();
    const __m512i sixteen = _mm512_set1_epi32(16);
    const __m512i at = _mm512_set1_epi32(x);
    const __m512i ones = _mm512_set1_epi32(-1);
    const __m512i l = _mm512_maskz_min_epi32(
        kAll, _mm512_maskz_max_epi32(kAll, _mm512_sub_epi32(x0, at), zero), sixteen);
    const __m512i h = _mm512_maskz_min_epi32(
        kAll, _mm512_maskz_max_epi32(kAll, _mm512_sub_epi32(x1, at), zero), sixteen);
    // Bits [l, h): none where l >= h.
    const __m512i bits = _mm512_maskz_andnot_epi32(kAll, _mm512_maskz_sllv_epi32(kAll, ones, h),
                                                   _mm512_maskz_sllv_epi32(kAll, ones, l));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(masks), _mm512_maskz_cvtepi32_epi16(kAll, bits));
  }
  // The tile's rows stay in registers from the first step to the last.
  [[gnu::target("avx512f,avx512bw")]] static void Draw(uint32_t* row, int64_t stride, int32_t x,
                                                       int64_t count, int32_t columns,
                                                       const Step* steps, uint32_t first) {
    static_assert(kRowsAtOnce == 16);
    // d & keep ^ flip.
    constexpr int kAndXor = 0x6A;
    const auto onGrid = static_cast<__mmask16>((1u << columns) - 1);
    uint32_t* at[kRowsAtOnce];
    __mmask16 lanes[kRowsAtOnce];
    __m512i d[kRowsAtOnce];
#pragma GCC unroll 16
    for (int64_t k = 0; k < kRowsAtOnce; ++k) {
      // Rows from count on are neither read nor written.
      at[k] = row + std::min(k, count - 1) * stride + x;
      lanes[k] = k < count ? onGrid : 0;
      d[k] = _mm512_maskz_loadu_epi32(lanes[k], at[k]);
    }
    for (uint32_t s = first; s != Step::kNone; s = steps[s].next) {
      const Step& step = steps[s];
      const __m512i keep = _mm512_set1_epi32(static_cast<int>(step.effect.keep));
      const __m512i flip = _mm512_set1_epi32(static_cast<int>(step.effect.flip));
      if (step.whole) {
#pragma GCC unroll 16
        for (int k = 0; k < kRowsAtOnce; ++k)
          d[k] = _mm512_ternarylogic_epi32(d[k], keep, flip, kAndXor);
      } else {
#pragma GCC unroll 16
        for (int k = 0; k < kRowsAtOnce; ++k)
          d[k] = _mm512_mask_ternarylogic_epi32(d[k], step.masks[k], keep, flip, kAndXor);
      }
    }
#pragma GCC unroll 16
    for (int64_t k = 0; k < kRowsAtOnce; ++k)
      _mm512_mask_storeu_epi32(at[k], lanes[k], d[k]);
  }
};
#endif

// Merge, mask, their inverted-pen forms and the modes that both set bits and turn them
// over, where every part works out its rows at once: taken tile by tile,
// Tiles::kColumns columns by the rows of a batch. On a tile, a run of consecutive parts
// that each cover it whole takes one step with the run's effects composed; a part that
// covers it in part takes a step of its own effect under a mask. The parts come in
// order, and a tile's run ends as soon as a part no longer covers the tile whole, so
// each tile lists their steps in order; it takes them all once the batch's parts are
// through, with its pixels held in registers as far as they go. The tiles a part covers
// whole are one interval, so the runs open at any time are those of the last part's
// interval, and a part touches only the tiles where that interval moves and those it
// covers in part.
template <class Tiles>
class TileRuns {
 public:
  using Step = typename Tiles::Step;
  friend Tiles;

  TileRuns(PixelGrid grid, const Figure& figure, PenMode mode)
      : grid_(grid),
        figure_(figure),
        runs_(EffectsOf(figure.Parts(), mode)),
        tiles_(static_cast<int32_t>((grid.width + Tiles::kColumns - 1) / Tiles::kColumns)),
        opened_(static_cast<size_t>(tiles_)),
        head_(static_cast<size_t>(tiles_), Step::kNone),
        tail_(static_cast<size_t>(tiles_), Step::kNone) {}

  // Draws the figure; returns the box of the pixels it changes.
  Rect Draw() {
    ForEachBand(figure_, grid_.height,
                [&](int64_t from, int64_t to, const std::vector<BandPart>& band) {
                  for (int64_t at = from; at < to; at += kRowsAtOnce)
                    Tiles::Batch(*this, at, std::min(at + kRowsAtOnce, to), band);
                });
    return box_.Touched();
  }

 private:
  static std::vector<Effect> EffectsOf(const std::vector<Part>& parts, PenMode mode) {
    std::vector<Effect> effects;
    effects.reserve(parts.size());
    for (const Part& part : parts)
      effects.push_back(Effect::Of(mode, part.pen));
    return effects;
  }
  // e, where covered pixels also gain alpha.
  static Effect WithAlpha(Effect e) { return Effect{e.keep & 0x00FFFFFFu, e.flip | 0xFF000000u}; }

  // A new last step of e on tile t, whole or under the masks the caller sets.
  Step& Add(int32_t t, Effect e, bool whole) {
    if (used_ == steps_.size()) steps_.resize(2 * steps_.size() + 64);
    const auto at = static_cast<uint32_t>(used_++);
    uint32_t& last = tail_[static_cast<size_t>(t)];
    (last == Step::kNone ? head_[static_cast<size_t>(t)] : steps_[last].next) = at;
    last = at;
    Step& step = steps_[at];
    step.effect = e;
    step.next = Step::kNone;
    step.whole = whole;
    return step;
  }
  // Ends the runs on tiles [lo, hi), which the last part covered whole.
  void Close(int32_t lo, int32_t hi) {
    for (int32_t t = lo; t < hi; ++t)
      Add(t, WithAlpha(runs_.Run(opened_[static_cast<size_t>(t)], static_cast<uint32_t>(last_))),
          true);
  }

  // Rows [from, to) of the band's parts: called through Tiles::Batch, so that it is
  // compiled for the registers Tiles uses.
  [[gnu::always_inline]] void Batch(int64_t from, int64_t to, const std::vector<BandPart>& band) {
    const std::vector<Part>& parts = figure_.Parts();
    reach_.Clear();
    used_ = 0;
    const int64_t count = to - from;
    // The tiles [fullLo, fullHi) the last part covered whole.
    int32_t fullLo = 0;
    int32_t fullHi = 0;
    last_ = -2;
    BatchRows part;
    for (const BandPart& b : band) {
      const Part& p = parts[b.part];
      if (p.bottom <= from || p.top >= to) continue;
      figure_.RowsOfBatch(p, from, to, part.x0.data(), part.x1.data());
      reach_.Widen<false>(part, Tiles::kColumns == 16);
      const BatchExtents e = Tiles::Extents(part, count);
      if (e.lo >= e.hi) continue;
      // The tiles the part covers whole on every row of the batch.
      constexpr int32_t kColumns = Tiles::kColumns;
      int32_t wholeLo = (e.inLo + kColumns - 1) / kColumns;
      int32_t wholeHi = e.inHi == grid_.width ? tiles_ : e.inHi / kColumns;
      if (wholeLo >= wholeHi) wholeLo = wholeHi = 0;
      if (static_cast<int64_t>(b.part) != last_ + 1) {
        Close(fullLo, fullHi);
        fullLo = fullHi = 0;
      }
      // Runs end where the part no longer covers a tile whole, and start where it
      // newly does.
      Close(fullLo, std::min(fullHi, wholeLo));
      Close(std::max(fullLo, wholeHi), fullHi);
      for (int32_t t = wholeLo; t < std::min(wholeHi, fullLo); ++t)
        opened_[static_cast<size_t>(t)] = b.part;
      for (int32_t t = std::max(wholeLo, fullHi); t < wholeHi; ++t)
        opened_[static_cast<size_t>(t)] = b.part;
      fullLo = wholeLo;
      fullHi = wholeHi;
      last_ = b.part;
      // The tiles it meets in part.
      const Effect own = WithAlpha(runs_.Of(b.part));
      for (int32_t t = e.lo / kColumns; t < (e.hi + kColumns - 1) / kColumns; ++t) {
        if (t >= wholeLo && t < wholeHi) {
          t = wholeHi - 1;
          continue;
        }
        Tiles::Masks(part, kColumns * t, Add(t, own, false).masks.data());
      }
    }
    Close(fullLo, fullHi);
    uint32_t* rows = grid_.bits + from * grid_.width;
    for (int32_t t = 0; t < tiles_; ++t) {
      uint32_t& first = head_[static_cast<size_t>(t)];
      if (first == Step::kNone) continue;
      const int32_t x = Tiles::kColumns * t;
      const auto columns =
          static_cast<int32_t>(std::min<int64_t>(Tiles::kColumns, grid_.width - x));
      Tiles::Draw(rows, grid_.width, x, count, columns, steps_.data(), first);
      first = tail_[static_cast<size_t>(t)] = Step::kNone;
    }
    for (int64_t k = 0; k < count; ++k) {
      const auto i = static_cast<size_t>(k);
      if (reach_.lo[i] < reach_.hi[i]) box_.Add(from + k, reach_.lo[i], reach_.hi[i]);
    }
  }

  PixelGrid grid_;
  const Figure& figure_;
  const RunEffects runs_;
  const int32_t tiles_;
  // Per tile, the first part of the run that covers it whole so far.
  std::vector<uint32_t> opened_;
  // The batch's last part so far.
  int64_t last_ = -2;
  // Per tile, its first and last steps in the batch.
  std::vector<uint32_t> head_;
  std::vector<uint32_t> tail_;
  // The batch's steps, the first used_ of them.
  std::vector<Step> steps_;
  size_t used_ = 0;
  BatchReach reach_;
  SpanBox box_;
};

#if defined(__x86_64__)
[[gnu::target_clones("avx2", "default")]]
#endif
void EightColumns::Batch(TileRuns<EightColumns>& runs, int64_t from, int64_t to,
                         const std::vector<BandPart>& band) {
  runs.Batch(from, to, band);
}

#if defined(__x86_64__)
[[gnu::target("avx512f,avx512bw")]] void SixteenColumns::Batch(TileRuns<SixteenColumns>& runs,
                                                               int64_t from, int64_t to,
                                                               const std::vector<BandPart>& band) {
  runs.Batch(from, to, band);
}
#endif

}  // namespace

Rect DrawFigurePass(PixelGrid grid, std::span<const FigurePrimitive> parts,
                    const FigureStyle& style, EffectRows::Registers registers) {
  if (grid.width <= 0 || grid.height <= 0 || parts.empty()) return Rect{};
  FigureStyle drawn = style;
  drawn.penWidth = DrawnPenWidth(grid, style.penWidth);
  const Figure figure(grid, parts, drawn, Sixteens(registers));
  Rect touched{};
  WithPenMode(style.mode, [&](auto mode) {
    constexpr PenMode m = mode();
    if constexpr (m == PenMode::kXor || m == PenMode::kNotXor || m == PenMode::kNot) {
      touched = FlipsCommute<m>(grid, figure, registers);
    } else if constexpr (IgnoresDestination(m) || m == PenMode::kNop) {
      touched = LastCoverWins<m>(grid, figure);
    } else {
      // Tiles of 8 columns cost more than the sweep of span ends in merge and mask.
      const bool tiled = (Sixteens(registers) || !SetsOrKeeps(m)) &&
                         std::all_of(figure.Parts().begin(), figure.Parts().end(),
                                     [&](const Part& p) { return figure.HasRowsAtOnce(p); });
      if (!tiled) {
        touched = EffectsInOrder(grid, figure, m, registers);
        return;
      }
#if defined(__x86_64__)
      if (Sixteens(registers)) {
        touched = TileRuns<SixteenColumns>(grid, figure, m).Draw();
        return;
      }
#endif
      touched = TileRuns<EightColumns>(grid, figure, m).Draw();
    }
  });
  return touched;
}

}  // namespace quillo::raster
