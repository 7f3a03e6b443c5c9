#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillo::raster {

inline constexpr double kInf = std::numeric_limits<double>::infinity();

// ceil and floor of a span end, as the library gives them but without its long
// sequence for targets that lack a rounding instruction: below 2^52 a truncation is
// exact and at most one step away.
[[gnu::always_inline]] inline double Ceil(double v) {
  if (!(std::abs(v) < 0x1p52)) return std::ceil(v);
  const auto t = static_cast<double>(static_cast<int64_t>(v));
  return t < v ? t + 1 : t;
}
[[gnu::always_inline]] inline double Floor(double v) {
  if (!(std::abs(v) < 0x1p52)) return std::floor(v);
  const auto t = static_cast<double>(static_cast<int64_t>(v));
  return t > v ? t - 1 : t;
}

// The half widths of a disc of radius r on the rows that meet it, when the row
// offsets from its centre all have the given fraction (0 or one half): entry k is the
// half width at offset fraction + k. Fills out up to its size and returns the entries
// written. Worked out by the same arithmetic as a disc computed row by row.
inline size_t TableHalfWidths(double r, double fraction, std::span<double> out) {
  size_t n = 0;
  for (double d = fraction; d <= r && n < out.size(); d += 1) {
    out[n] = std::sqrt(r * r - d * d);
    ++n;
  }
  return n;
}

// Ends x0[k], x1[k] (k < count) of the rows where two discs alone decide them: the
// leftmost of aCol + aLeft[k] and bCol + bLeft[k], one past the rightmost of aCol +
// aRight[k] and bCol + bRight[k], both clipped to [0, width].
void DiscEnds(const int32_t* aLeft, const int32_t* aRight, const int32_t* bLeft,
              const int32_t* bRight, int32_t aCol, int32_t bCol, int32_t width, int64_t count,
              int32_t* x0, int32_t* x1);
#if defined(__x86_64__)
// The same for all DiscColumns::kRun rows at once, with the registers of AVX-512: every
// row is written, and those from count on are empty.
void DiscEndsRun(const int32_t* aLeft, const int32_t* aRight, const int32_t* bLeft,
                 const int32_t* bRight, int32_t aCol, int32_t bCol, int32_t width, int64_t count,
                 int32_t* x0, int32_t* x1);
#endif

// The columns a disc of radius r covers on the rows that meet it, as whole offsets from
// its centre: for a centre at (n + shift, m + shift), n and m whole and shift 0 or
// -1/2, row m + j takes columns [n + Left(j)[0], n + Right(j)[0]]. Rows that miss the
// disc read kFar from Left and -kFar from Right.
//
// The disc's ends are n + shift -+ s with s from TableHalfWidths, and s lies 1e-6 or
// more from any multiple of one half unless it is one: the square root of a whole
// number of quarters below 2^34 that is not itself whole is that far from whole. So
// while n stays below 2^24 the subtraction's rounding never moves the end across a
// whole column, and the end's ceiling (its floor on the right) is n plus the offset.
class DiscColumns {
 public:
  // Rows read at once from one pointer.
  static constexpr int64_t kRun = 16;
  static constexpr int32_t kFar = 1 << 30;

  // halfWidths as TableHalfWidths gives them for r and shift's fraction.
  DiscColumns(std::span<const double> halfWidths, double shift) {
    const auto size = static_cast<int64_t>(halfWidths.size());
    reach_ = size + kRun + 1;
    left_.resize(static_cast<size_t>(2 * reach_));
    right_.resize(left_.size());
    for (int64_t j = -reach_; j < reach_; ++j) {
      // The row's offset from the centre, shift - j, rounded down to the table's step.
      const int64_t k = shift == 0 ? std::abs(j) : (j >= 0 ? j : -j - 1);
      const auto at = static_cast<size_t>(j + reach_);
      if (k >= size) {
        left_[at] = kFar;
        right_[at] = -kFar;
        continue;
      }
      const double s = halfWidths[static_cast<size_t>(k)];
      left_[at] = static_cast<int32_t>(Ceil(shift - s));
      right_[at] = static_cast<int32_t>(Floor(shift + s));
    }
  }

  // The entries of rows j, j + 1, ..., j + kRun - 1 from the centre's row.
  const int32_t* Left(int64_t j) const { return left_.data() + Index(j); }
  const int32_t* Right(int64_t j) const { return right_.data() + Index(j); }

  // Whether a centre at column or row v may use the offsets.
  static bool Near(int64_t v) { return v > -(int64_t{1} << 24) && v < (int64_t{1} << 24); }

 private:
  // Rows beyond the table all miss the disc, and so do the kRun next to its ends.
  size_t Index(int64_t j) const {
    return static_cast<size_t>(std::clamp(j, -reach_, reach_ - kRun) + reach_);
  }

  int64_t reach_ = 0;
  std::vector<int32_t> left_;
  std::vector<int32_t> right_;
};

// The capsule around segment a-b with radius r, with what its rows share worked out
// once. A row's x interval is the hull of the two end discs and the band between them
// (the capsule is convex), each linear in the row's offset from a.
//
// halfWidths, when not empty, holds TableHalfWidths of r for the fraction of ay, which
// both ends share; it must cover every offset up to r and outlive the capsule.
class Capsule {
 public:
  Capsule(double ax, double ay, double bx, double by, double r, std::span<const double> halfWidths)
      : ax_(ax), ay_(ay), bx_(bx), by_(by), r_(r), halfWidths_(halfWidths) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    hasBand_ = len2 > 0;
    level_ = dy == 0;
    upright_ = dx == 0;
    // Across the segment: |dx * uy - dy * ux| <= r |d|.
    if (!level_) {
      acrossSlope_ = dx / dy;
      acrossHalf_ = std::abs(r * std::sqrt(len2) / dy);
    }
    // Along it: 0 <= dx * ux + dy * uy <= |d|^2.
    if (!upright_) {
      alongSlope_ = -dy / dx;
      alongSpan_ = len2 / dx;
    }
    alongLo_ = std::min(0.0, dy);
    alongHi_ = std::max(0.0, dy);
  }

  // The x interval [xl, xr] of row yc; false when the row misses the capsule.
  [[gnu::always_inline]] bool Row(double yc, double& xl, double& xr) const {
    xl = kInf;
    xr = -kInf;
    Disc(ax_, ay_, yc, xl, xr);
    Disc(bx_, by_, yc, xl, xr);
    Band(yc, xl, xr);
    return xl <= xr;
  }

  // The rows [first, last] that lie r + 1 or more from both end rows; there the end
  // discs contribute nothing, since their squares stay far from r * r at any size.
  void MiddleRows(double& first, double& last) const {
    first = std::ceil(std::min(ay_, by_) + r_) + 1;
    last = std::floor(std::max(ay_, by_) - r_) - 1;
  }

  // Calls f with the segment's shape flags as constants, for a loop over middle rows.
  template <class F>
  void WithShape(F&& f) const {
    const auto pick = [&](auto level, auto upright) { f(level, upright); };
    if (level_) {
      pick(std::true_type{}, std::false_type{});
    } else if (upright_) {
      pick(std::false_type{}, std::true_type{});
    } else {
      pick(std::false_type{}, std::false_type{});
    }
  }

  // The band's x interval [lo, hi] relative to a on a middle row at uy below a; false
  // when the row misses it. The same arithmetic as Row.
  template <bool kLevel, bool kUpright>
  [[gnu::always_inline]] bool BandAt(double uy, double& lo, double& hi) const {
    lo = -kInf;
    hi = kInf;
    if constexpr (kLevel) {
      if (std::abs(uy) > r_) return false;
    } else {
      lo = uy * acrossSlope_ - acrossHalf_;
      hi = uy * acrossSlope_ + acrossHalf_;
    }
    if constexpr (kUpright) {
      if (uy < alongLo_ || uy > alongHi_) return false;
    } else {
      const double p = uy * alongSlope_;
      lo = std::max(lo, std::min(p, p + alongSpan_));
      hi = std::min(hi, std::max(p, p + alongSpan_));
    }
    return lo <= hi;
  }

  // Lets ClippedRows take the rows where the end discs alone decide the ends from
  // discs, unless those rows are few; discs must outlive the capsule. a and b are the
  // ends' whole columns and rows, the capsule's ends less the shift discs was made for,
  // each of them Near.
  void UseDiscColumns(const DiscColumns& discs, int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    aCol_ = ax;
    aRow_ = ay;
    bCol_ = bx;
    bRow_ = by;
    if (!hasBand_) {
      discs_ = &discs;
      return;
    }
    // The band reaches past both discs only between the tangent points on each side,
    // a + r n and b + r n with n the unit normal, and on the rows next to them. A row's
    // end on the band elsewhere lies on the normal through a or b, within a distance s
    // < r of it, so 3 columns or more inside its disc when s <= r - 3: on the rows
    // |uy| <= (r - 3) |ny| from it. That leaves the bands of rows between the tangent
    // points' rows, widened by 3.
    const double t =
        r_ * std::abs(bx_ - ax_) / std::sqrt((bx_ - ax_) * (bx_ - ax_) + (by_ - ay_) * (by_ - ay_));
    const double low = std::min(ay_, by_);
    const double high = std::max(ay_, by_);
    for (const int side : {0, 1}) {
      const double offset = side == 0 ? t : -t;
      bandFirst_[side] = static_cast<int64_t>(std::floor(low + offset)) - 3;
      bandLast_[side] = static_cast<int64_t>(std::ceil(high + offset)) + 3;
    }
    // Where the band decides most rows, as along a long steep line, the rows are all
    // worked out in doubles.
    const int64_t nearBand = bandLast_[0] - bandFirst_[0] + bandLast_[1] - bandFirst_[1] + 2;
    if (2 * static_cast<double>(nearBand) < high - low + 2 * r_) discs_ = &discs;
  }

  // For rows first, first + 1, ... first + count - 1: the columns [x0[k], x1[k]) of row
  // first + k that Row covers, clipped to [0, width); x0[k] >= x1[k] where it covers
  // none. The same arithmetic as Row, without a branch from row to row; needs
  // halfWidths.
  void ClippedRows(int64_t first, int64_t count, int64_t width, int32_t* x0, int32_t* x1) const {
    if (discs_ != nullptr && count <= DiscColumns::kRun) {
      DiscRows(first, count, width, x0, x1);
      BandRows(first, count, width, x0, x1);
      return;
    }
    ExactRows(first, count, width, x0, x1);
  }

  bool HasBand() const { return hasBand_; }
  double Ax() const { return ax_; }
  double Ay() const { return ay_; }
  double Bx() const { return bx_; }
  double By() const { return by_; }

#if defined(__x86_64__)
  // ClippedRows for all DiscColumns::kRun rows from first on at once, with the
  // registers of AVX-512: every row is written, and those from count on are empty.
  // Needs UseDiscColumns to have let the discs decide; false, writing nothing, if not.
  bool WholeRun(int64_t first, int64_t count, int64_t width, int32_t* x0, int32_t* x1) const {
    if (discs_ == nullptr) return false;
    DiscEndsRun(discs_->Left(first - aRow_), discs_->Right(first - aRow_),
                discs_->Left(first - bRow_), discs_->Right(first - bRow_), aCol_, bCol_,
                static_cast<int32_t>(width), count, x0, x1);
    BandRows(first, count, width, x0, x1);
    return true;
  }
#endif

 private:
  // ClippedRows where the end discs alone decide the ends, count <= kRun. A minimum of
  // ceilings is the ceiling of the minimum, and clipping to whole bounds commutes with
  // both.
  void DiscRows(int64_t first, int64_t count, int64_t width, int32_t* x0, int32_t* x1) const {
    DiscEnds(discs_->Left(first - aRow_), discs_->Right(first - aRow_), discs_->Left(first - bRow_),
             discs_->Right(first - bRow_), aCol_, bCol_, static_cast<int32_t>(width), count, x0,
             x1);
  }

  // Rows first to first + count - 1 near the tangent points, where the band may reach
  // past the discs, worked out exactly over what the discs gave.
  void BandRows(int64_t first, int64_t count, int64_t width, int32_t* x0, int32_t* x1) const {
    for (const int side : {0, 1}) {
      const int64_t from = std::max(first, bandFirst_[side]);
      const int64_t to = std::min(first + count, bandLast_[side] + 1);
      if (from < to) ExactRows(from, to - from, width, x0 + (from - first), x1 + (from - first));
    }
  }

  void ExactRows(int64_t first, int64_t count, int64_t width, int32_t* x0, int32_t* x1) const {
    if (!hasBand_) {
      WithBand(std::false_type{}, std::false_type{}, std::false_type{}, first, count, width, x0,
               x1);
      return;
    }
    WithShape([&](auto level, auto upright) {
      int64_t done = 0;
#if defined(__SSE2__)
      // Two rows at a time, and a last odd row alone.
      done = count / 2 * 2;
      RowPairs<level(), upright()>(first, done, width, x0, x1);
#endif
      WithBand(std::true_type{}, level, upright, first + done, count - done, width, x0 + done,
               x1 + done);
    });
  }

#if defined(__SSE2__)
  // WithBand for a segment with a band, on rows first, first + 1, ... first + count - 1
  // (count even), two rows at a time. Each row takes the same operations: a minimum or
  // maximum of two as std::min and std::max choose between them, the same comparisons
  // and the same truncations, so the same columns.
  template <bool kLevel, bool kUpright>
  void RowPairs(int64_t first, int64_t count, int64_t width, int32_t* x0, int32_t* x1) const {
    const double last = static_cast<double>(halfWidths_.size() - 1);
    const __m128d inf = _mm_set1_pd(kInf);
    const __m128d negInf = _mm_set1_pd(-kInf);
    const __m128d one = _mm_set1_pd(1);
    const __m128d right = _mm_set1_pd(static_cast<double>(width));
    const __m128d lastColumn = _mm_set1_pd(static_cast<double>(width) - 1);
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    // Where the mask is set, a; elsewhere b.
    const auto select = [](__m128d mask, __m128d a, __m128d b) {
      return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
    };
    const auto disc = [&](double cx, double cy, __m128d yc, __m128d& xl, __m128d& xr) {
      const __m128d d = _mm_and_pd(_mm_sub_pd(yc, _mm_set1_pd(cy)), magnitude);
      alignas(16) double offsets[2];
      _mm_store_pd(offsets, d);
      // Rows beyond the disc read the table's last entry and drop it.
      const __m128d s = _mm_setr_pd(halfWidths_[static_cast<size_t>(std::min(offsets[0], last))],
                                    halfWidths_[static_cast<size_t>(std::min(offsets[1], last))]);
      const __m128d meets = _mm_cmple_pd(d, _mm_set1_pd(r_));
      xl = _mm_min_pd(select(meets, _mm_sub_pd(_mm_set1_pd(cx), s), inf), xl);
      xr = _mm_max_pd(select(meets, _mm_add_pd(_mm_set1_pd(cx), s), negInf), xr);
    };
    for (int64_t k = 0; k < count; k += 2) {
      const __m128d yc =
          _mm_setr_pd(static_cast<double>(first + k), static_cast<double>(first + k + 1));
      __m128d xl = inf;
      __m128d xr = negInf;
      disc(ax_, ay_, yc, xl, xr);
      disc(bx_, by_, yc, xl, xr);
      const __m128d uy = _mm_sub_pd(yc, _mm_set1_pd(ay_));
      __m128d lo = negInf;
      __m128d hi = inf;
      __m128d meets = _mm_castsi128_pd(_mm_set1_epi32(-1));
      if constexpr (kLevel) {
        meets = _mm_cmpngt_pd(_mm_and_pd(uy, magnitude), _mm_set1_pd(r_));
      } else {
        const __m128d across = _mm_mul_pd(uy, _mm_set1_pd(acrossSlope_));
        lo = _mm_sub_pd(across, _mm_set1_pd(acrossHalf_));
        hi = _mm_add_pd(across, _mm_set1_pd(acrossHalf_));
      }
      if constexpr (kUpright) {
        meets = _mm_and_pd(_mm_cmpnlt_pd(uy, _mm_set1_pd(alongLo_)),
                           _mm_cmpngt_pd(uy, _mm_set1_pd(alongHi_)));
      } else {
        const __m128d p = _mm_mul_pd(uy, _mm_set1_pd(alongSlope_));
        const __m128d q = _mm_add_pd(p, _mm_set1_pd(alongSpan_));
        lo = _mm_max_pd(_mm_min_pd(q, p), lo);
        hi = _mm_min_pd(_mm_max_pd(q, p), hi);
      }
      meets = _mm_and_pd(meets, _mm_cmple_pd(lo, hi));
      xl = _mm_min_pd(select(meets, _mm_add_pd(_mm_set1_pd(ax_), lo), inf), xl);
      xr = _mm_max_pd(select(meets, _mm_add_pd(_mm_set1_pd(ax_), hi), negInf), xr);
      const __m128d l = _mm_min_pd(_mm_max_pd(xl, _mm_set1_pd(-1)), right);
      const __m128d h = _mm_min_pd(_mm_max_pd(xr, _mm_set1_pd(-1)), right);
      const __m128d tl = _mm_cvtepi32_pd(_mm_cvttpd_epi32(l));
      const __m128d th = _mm_cvtepi32_pd(_mm_cvttpd_epi32(h));
      const __m128d c = _mm_add_pd(tl, _mm_and_pd(_mm_cmplt_pd(tl, l), one));
      const __m128d f = _mm_sub_pd(th, _mm_and_pd(_mm_cmpgt_pd(th, h), one));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(x0 + k),
                       _mm_cvttpd_epi32(_mm_max_pd(c, _mm_setzero_pd())));
      _mm_storel_epi64(
          reinterpret_cast<__m128i*>(x1 + k),
          _mm_add_epi32(_mm_cvttpd_epi32(_mm_min_pd(f, lastColumn)), _mm_set1_epi32(1)));
    }
  }
#endif

  template <class HasBand, class Level, class Upright>
  void WithBand(HasBand, Level, Upright, int64_t first, int64_t count, int64_t width, int32_t* x0,
                int32_t* x1) const {
    const double last = static_cast<double>(halfWidths_.size() - 1);
    const double right = static_cast<double>(width);
    const auto disc = [&](double cx, double d, double& xl, double& xr) {
      // Rows beyond the disc read the table's last entry and drop it.
      const double s = halfWidths_[static_cast<size_t>(std::min(d, last))];
      const bool meets = d <= r_;
      xl = std::min(xl, meets ? cx - s : kInf);
      xr = std::max(xr, meets ? cx + s : -kInf);
    };
    for (int64_t k = 0; k < count; ++k) {
      const double yc = static_cast<double>(first + k);
      double xl = kInf;
      double xr = -kInf;
      disc(ax_, std::abs(yc - ay_), xl, xr);
      disc(bx_, std::abs(yc - by_), xl, xr);
      if constexpr (HasBand::value) {
        const double uy = yc - ay_;
        double lo = -kInf;
        double hi = kInf;
        bool meets = true;
        if constexpr (Level::value) {
          meets = !(std::abs(uy) > r_);
        } else {
          lo = uy * acrossSlope_ - acrossHalf_;
          hi = uy * acrossSlope_ + acrossHalf_;
        }
        if constexpr (Upright::value) {
          meets = !(uy < alongLo_ || uy > alongHi_);
        } else {
          const double p = uy * alongSlope_;
          lo = std::max(lo, std::min(p, p + alongSpan_));
          hi = std::min(hi, std::max(p, p + alongSpan_));
        }
        meets = meets && lo <= hi;
        xl = std::min(xl, meets ? ax_ + lo : kInf);
        xr = std::max(xr, meets ? ax_ + hi : -kInf);
      }
      // Ends beyond the row clip alike wherever they lie, and within it a truncation
      // is exact.
      const double l = std::clamp(xl, -1.0, right);
      const double h = std::clamp(xr, -1.0, right);
      const auto tl = static_cast<double>(static_cast<int32_t>(l));
      const auto th = static_cast<double>(static_cast<int32_t>(h));
      const double c = tl < l ? tl + 1 : tl;
      const double f = th > h ? th - 1 : th;
      x0[k] = static_cast<int32_t>(std::max(c, 0.0));
      x1[k] = static_cast<int32_t>(std::min(f, right - 1)) + 1;
    }
  }

  // Widens [xl, xr] by the band between the end discs on row yc.
  [[gnu::always_inline]] void Band(double yc, double& xl, double& xr) const {
    const double uy = yc - ay_;
    if (!hasBand_) return;
    double lo = -kInf;
    double hi = kInf;
    if (level_) {
      if (std::abs(uy) > r_) return;
    } else {
      lo = uy * acrossSlope_ - acrossHalf_;
      hi = uy * acrossSlope_ + acrossHalf_;
    }
    if (upright_) {
      if (uy < alongLo_ || uy > alongHi_) return;
    } else {
      const double p = uy * alongSlope_;
      lo = std::max(lo, std::min(p, p + alongSpan_));
      hi = std::min(hi, std::max(p, p + alongSpan_));
    }
    if (lo <= hi) {
      xl = std::min(xl, ax_ + lo);
      xr = std::max(xr, ax_ + hi);
    }
  }

  [[gnu::always_inline]] void Disc(double cx, double cy, double yc, double& xl, double& xr) const {
    double s = 0;
    if (!halfWidths_.empty()) {
      // Offsets are exact here, and a row meets the disc when its offset is at most r.
      const double d = std::abs(yc - cy);
      if (!(d <= r_)) return;
      s = halfWidths_[static_cast<size_t>(d)];
    } else {
      const double h = r_ * r_ - (yc - cy) * (yc - cy);
      if (h < 0) return;
      s = std::sqrt(h);
    }
    xl = std::min(xl, cx - s);
    xr = std::max(xr, cx + s);
  }

  double ax_, ay_, bx_, by_, r_;
  std::span<const double> halfWidths_;
  bool hasBand_ = false;
  bool level_ = false;
  bool upright_ = false;
  double acrossSlope_ = 0;
  double acrossHalf_ = 0;
  double alongSlope_ = 0;
  double alongSpan_ = 0;
  double alongLo_ = 0;
  double alongHi_ = 0;
  const DiscColumns* discs_ = nullptr;
  int32_t aCol_ = 0;
  int32_t aRow_ = 0;
  int32_t bCol_ = 0;
  int32_t bRow_ = 0;
  // The rows where the band may decide an end, when discs_ is set: two closed ranges.
  int64_t bandFirst_[2] = {1, 1};
  int64_t bandLast_[2] = {0, 0};
};

}  // namespace quillo::raster
