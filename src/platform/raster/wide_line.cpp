// The wide pen: a band with round ends, drawn row by row.
#include "platform/raster/line.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

#include "platform/raster/capsule.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillo::raster {

// Vectorised by the compiler, eight rows at a time where the processor can.
[[gnu::target_clones("avx2", "default")]] void DiscEnds(const int32_t* aLeft, const int32_t* aRight,
                                                        const int32_t* bLeft, const int32_t* bRight,
                                                        int32_t aCol, int32_t bCol, int32_t width,
                                                        int64_t count, int32_t* x0, int32_t* x1) {
  for (int64_t k = 0; k < count; ++k) {
    const int32_t l = std::min(aCol + aLeft[k], bCol + bLeft[k]);
    const int32_t h = std::max(aCol + aRight[k], bCol + bRight[k]) + 1;
    x0[k] = std::clamp(l, 0, width);
    x1[k] = std::clamp(h, 0, width);
  }
}

#if defined(__x86_64__)
[[gnu::target("avx512f")]] void DiscEndsRun(const int32_t* aLeft, const int32_t* aRight,
                                            const int32_t* bLeft, const int32_t* bRight,
                                            int32_t aCol, int32_t bCol, int32_t width,
                                            int64_t count, int32_t* x0, int32_t* x1) {
  static_assert(DiscColumns::kRun == 16);
  // The maskless forms of min and max leave GCC 12 warning of an undefined source.
  constexpr __mmask16 kAll = 0xFFFF;
  const __m512i a = _mm512_set1_epi32(aCol);
  const __m512i b = _mm512_set1_epi32(bCol);
  const __m512i zero = _mm512_setzero_si512();
  const __m512i w = _mm512_set1_epi32(width);
  const __m512i l = _mm512_maskz_min_epi32(kAll, _mm512_add_epi32(a, _mm512_loadu_si512(aLeft)),
                                           _mm512_add_epi32(b, _mm512_loadu_si512(bLeft)));
  const __m512i h =
      _mm512_add_epi32(_mm512_maskz_max_epi32(kAll, _mm512_add_epi32(a, _mm512_loadu_si512(aRight)),
                                              _mm512_add_epi32(b, _mm512_loadu_si512(bRight))),
                       _mm512_set1_epi32(1));
  const auto rows = static_cast<__mmask16>((1u << count) - 1);
  _mm512_storeu_si512(x0, _mm512_maskz_min_epi32(rows, _mm512_maskz_max_epi32(kAll, l, zero), w));
  _mm512_storeu_si512(x1, _mm512_maskz_min_epi32(rows, _mm512_maskz_max_epi32(kAll, h, zero), w));
}
#endif

namespace {

// floor(n / d) for d > 0.
constexpr int64_t FloorDiv(int64_t n, int64_t d) {
  return n / d - (n % d < 0);
}

// The largest q with q * q <= v, for 0 <= v < 2^62.
int64_t FloorSqrt(int64_t v) {
  auto q = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
  while (q * q > v)
    --q;
  while ((q + 1) * (q + 1) <= v)
    ++q;
  return q;
}

// The band's middle rows in integers. With coordinates doubled, pixel centres and the
// shifted end points lie on integers, and so does the cross product
// c = 2 dx (y - ay) - 2 dy (x - ax); a centre lies within r = width / 2 of the line
// exactly when c * c <= width^2 |d|^2, that is when |c| <= q = floor(width |d|). On a
// row c falls by 2 dy per pixel, so the row's ends are a ceiling and a floor of
// quotients whose numerators grow by 2 dx from row to row: a stepped remainder gives
// the first pixel, and the row's length follows from it. On middle rows the band's
// limits along the segment lie two pixels or more beyond these, so only the
// distance from the line counts there.
//
// Capsule::BandAt works these ends out in doubles. They round the same way as the
// exact ends unless an exact end lies within the doubles' error of a pixel centre,
// which needs width |d| within 2 |dy| of that error of an integer (see Of); lines where
// that cannot be ruled out keep the doubles.
class ExactBand {
 public:
  // The band of a-b at width, or nothing when its rows must keep the doubles.
  static std::optional<ExactBand> Of(Point a, Point b, int32_t width) {
    constexpr int64_t kMaxCoord = int64_t{1} << 20;
    constexpr int32_t kMaxWidth = 256;
    const auto far = [](int32_t v) { return v < -kMaxCoord || v > kMaxCoord; };
    if (width < 2 || width > kMaxWidth || far(a.x) || far(a.y) || far(b.x) || far(b.y)) {
      return std::nullopt;
    }
    int64_t dx = int64_t{b.x} - a.x;
    int64_t dy = int64_t{b.y} - a.y;
    if (dy == 0) return std::nullopt;
    const int64_t len2 = dx * dx + dy * dy;
    const int64_t target = int64_t{width} * width * len2;
    const int64_t q = FloorSqrt(target);
    const int64_t odd = width % 2;
    const int64_t ax2 = 2 * int64_t{a.x} - 1 + odd;
    if (dx != 0) {
      // An upright band's ends are exact in doubles too. Otherwise a row end of
      // BandAt, ax + uy dx / dy -+ r |d| / dy with |uy| <= |dy|, is off by at most
      // 6 u (|ax| + |dx| + r |d| / |dy|) (u = 2^-53, a few roundings each), taken
      // here as eps = 8 u (|ax| + 1 + |dx| + r |d| / |dy|);
      // the exact end lies (m -+ width |d|) / (2 dy) from a pixel centre, m an
      // integer, so within eps of one only if width |d| lies within 2 |dy| eps of an
      // integer. A square width^2 |d|^2 puts it on one; otherwise it is at least
      // 1 / (2 q + 2) away.
      if (q * q == target) return std::nullopt;
      const double r = width / 2.0;
      const double eps =
          0x1p-50 * (std::abs(a.x) + 1.0 + static_cast<double>(std::abs(dx)) +
                     r * std::sqrt(static_cast<double>(len2)) / static_cast<double>(std::abs(dy)));
      const double eta = 2.0 * static_cast<double>(std::abs(dy)) * eps;
      if (!(eta * static_cast<double>(2 * q + 2) < 0.5)) return std::nullopt;
    }
    // |c| <= q does not change when d turns round; with dy > 0, c falls along a row.
    if (dy < 0) {
      dx = -dx;
      dy = -dy;
    }
    ExactBand band;
    band.dx_ = dx;
    band.dy_ = dy;
    band.q_ = q;
    band.ax2_ = ax2;
    band.ay2_ = 2 * int64_t{a.y} - 1 + odd;
    band.div_ = 2 * dy;
    band.stepQuot_ = FloorDiv(2 * dx, band.div_);
    band.stepRem_ = 2 * dx - band.stepQuot_ * band.div_;
    // The last pixel's numerator n + q is the first's plus more = 2 q - 2 dy + 1; with
    // more = (base - 1) 2 dy + rest, the last lies base - 1 pixels on, and one further
    // when the first's remainder reaches 2 dy - rest. As q >= width |dy|, base >= 2.
    const int64_t more = 2 * q - band.div_ + 1;
    band.base_ = FloorDiv(more, band.div_) + 1;
    band.extraFrom_ = band.div_ - (more - (band.base_ - 1) * band.div_);
    return band;
  }

  // A row of the band: its first pixel and the remainder that steps it.
  struct Row {
    int64_t first = 0;
    int64_t rem = 0;
  };

  // Row y, one that lies r + 1 or more from both end rows.
  Row At(int64_t y) const {
    // 2 dy x lies in [n - q, n + q], n = 2 dx (y - ay) + 2 dy ax; the first pixel is
    // the ceiling of (n - q) / (2 dy).
    const int64_t n = dx_ * (2 * y - ay2_) + dy_ * ax2_ - q_ + div_ - 1;
    const int64_t first = FloorDiv(n, div_);
    return Row{first, n - first * div_};
  }

  // Moves row on to the next one.
  [[gnu::always_inline]] void Next(Row& row) const {
    row.first += stepQuot_;
    row.rem += stepRem_;
    if (row.rem >= div_) {
      row.rem -= div_;
      ++row.first;
    }
  }

  // Every row has Base() pixels, and one more where Extra(row).
  int64_t Base() const { return base_; }
  [[gnu::always_inline]] bool Extra(const Row& row) const { return row.rem >= extraFrom_; }
  int64_t Last(const Row& row) const { return row.first + base_ - 1 + Extra(row); }

 private:
  ExactBand() = default;

  int64_t dx_ = 0;
  int64_t dy_ = 0;
  int64_t q_ = 0;
  int64_t ax2_ = 0;
  int64_t ay2_ = 0;
  int64_t div_ = 0;
  int64_t stepQuot_ = 0;
  int64_t stepRem_ = 0;
  int64_t base_ = 0;
  int64_t extraFrom_ = 0;
};

// The box of the rows written so far; rows come in order.
struct RowBox {
  int64_t left = std::numeric_limits<int64_t>::max();
  int64_t end = 0;
  int64_t top = -1;
  int64_t bottom = 0;

  [[gnu::always_inline]] void Add(int64_t y, int64_t first, int64_t last) {
    left = std::min(left, first);
    end = std::max(end, last + 1);
    if (top < 0) top = y;
    bottom = y + 1;
  }
  Rect Touched() const {
    if (top < 0) return Rect{};
    return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(end),
                static_cast<int32_t>(bottom)};
  }
};

// Applies mode M to the count pixels at row.
template <PenMode M>
[[gnu::always_inline]] inline void WriteRun(uint32_t* row, int64_t count, uint32_t pen) {
  if (count <= 4) {
    // The rows of a steep band: a few pixels, written without the set-up of the long
    // loop below.
#pragma GCC unroll 4
    for (int64_t i = 0; i < count; ++i)
      row[i] = PenPixel<M>(pen, row[i]);
  } else {
    for (int64_t i = 0; i < count; ++i)
      row[i] = PenPixel<M>(pen, row[i]);
  }
}

// Rows of an exact band lying on the grid with a pixel to spare on each side: base
// pixels each (Base, or the band's own when 0), then the pixel which only some rows
// have, written without a branch.
template <PenMode M, int64_t kBase>
[[gnu::always_inline]] inline void UnclippedRows(const ExactBand& band, ExactBand::Row row,
                                                 uint32_t* bits, int64_t width, int64_t rows,
                                                 uint32_t pen) {
  const int64_t base = kBase > 0 ? kBase : band.Base();
  uint32_t spare = 0;
  const auto spareAt = reinterpret_cast<uintptr_t>(&spare);
  for (int64_t y = 0; y < rows; ++y) {
    for (int64_t i = 0; i < base; ++i)
      bits[i] = PenPixel<M>(pen, bits[i]);
    if constexpr (IgnoresDestination(M)) {
      // No read of the row: a row without that pixel writes it to a spare word.
      const uintptr_t choose = 0 - static_cast<uintptr_t>(band.Extra(row));
      const uintptr_t at =
          spareAt ^ ((reinterpret_cast<uintptr_t>(bits + base) ^ spareAt) & choose);
      *reinterpret_cast<uint32_t*>(at) = PenPixel<M>(pen, 0);
    } else {
      // The pixel is read and written back as it was where the row lacks it.
      const uint32_t old = bits[base];
      const uint32_t keep = band.Extra(row) ? 0u : ~0u;
      bits[base] = (old & keep) | (PenPixel<M>(pen, old) & ~keep);
    }
    const int64_t before = row.first;
    band.Next(row);
    bits += width + row.first - before;
  }
}

// The middle rows [from, to] of an exact band in mode M.
template <PenMode M>
void ExactRows(PixelGrid grid, const ExactBand& band, int64_t from, int64_t to, uint32_t pen,
               RowBox& box) {
  const int64_t width = grid.width;
  const int64_t base = band.Base();
  ExactBand::Row row = band.At(from);
  // The first and last pixels move one way only, so the end rows bound them.
  const ExactBand::Row end = band.At(to);
  const int64_t left = std::min(row.first, end.first);
  const int64_t right = std::max(band.Last(row), band.Last(end));
  if (left >= 0 && right + 1 < width) {
    // All on the grid, even one pixel past each row, so that the pixel which only some
    // rows have is written without a branch: unchanged where the row lacks it.
    uint32_t* bits = grid.bits + from * width + row.first;
    // The narrow pens' rows, a pixel or two, get their count as a constant.
    switch (base) {
      case 1:
        UnclippedRows<M, 1>(band, row, bits, width, to - from + 1, pen);
        break;
      case 2:
        UnclippedRows<M, 2>(band, row, bits, width, to - from + 1, pen);
        break;
      default:
        UnclippedRows<M, 0>(band, row, bits, width, to - from + 1, pen);
        break;
    }
    box.Add(from, left, right);
    box.Add(to, left, right);
    return;
  }
  RowBox rows = box;
  for (int64_t y = from; y <= to; ++y) {
    const int64_t first = std::max<int64_t>(row.first, 0);
    const int64_t last = std::min(band.Last(row), width - 1);
    if (first <= last) {
      WriteRun<M>(grid.bits + y * width + first, last - first + 1, pen);
      rows.Add(y, first, last);
    }
    band.Next(row);
  }
  box = rows;
}

// The rows [rowLo, rowHi] of the capsule in mode M; one function per mode keeps each
// loop small enough for its helpers to be inlined. The middle rows come from exact
// when it is given.
template <PenMode M>
Rect WideLineRows(PixelGrid grid, const Capsule& capsule, const std::optional<ExactBand>& exact,
                  double rowLo, double rowHi, uint32_t pen) {
  double middleFirst = 0;
  double middleLast = 0;
  capsule.MiddleRows(middleFirst, middleLast);
  const double right = grid.width - 1.0;
  RowBox box;
  const auto span = [&](int64_t y, double xl, double xr) __attribute__((always_inline)) {
    const double x0 = std::max(Ceil(xl), 0.0);
    const double x1 = std::min(Floor(xr), right);
    if (x0 > x1) return;
    const auto first = static_cast<int64_t>(x0);
    const auto last = static_cast<int64_t>(x1);
    WriteRun<M>(grid.bits + y * grid.width + first, last - first + 1, pen);
    box.Add(y, first, last);
  };
  const auto endRows = [&](int64_t from, int64_t to) {
    for (int64_t y = from; y <= to; ++y) {
      double xl = 0;
      double xr = 0;
      if (capsule.Row(static_cast<double>(y), xl, xr)) span(y, xl, xr);
    }
  };
  const auto lo = static_cast<int64_t>(rowLo);
  const auto hi = static_cast<int64_t>(rowHi);
  const auto midLo = static_cast<int64_t>(std::max(middleFirst, rowLo));
  const auto midHi = static_cast<int64_t>(std::min(middleLast, rowHi));
  if (midLo > midHi || !capsule.HasBand()) {
    endRows(lo, hi);
    return box.Touched();
  }
  // Long segments spend their rows here, away from the ends: the band alone, with the
  // segment's shape fixed for the loop.
  endRows(lo, midLo - 1);
  if (exact) {
    ExactRows<M>(grid, *exact, midLo, midHi, pen, box);
  } else {
    capsule.WithShape([&](auto level, auto upright) {
      const double ax = capsule.Ax();
      const double ay = capsule.Ay();
      for (int64_t y = midLo; y <= midHi; ++y) {
        double l = 0;
        double h = 0;
        if (!capsule.template BandAt<level(), upright()>(static_cast<double>(y) - ay, l, h)) {
          continue;
        }
        span(y, std::min(kInf, ax + l), std::max(-kInf, ax + h));
      }
    });
  }
  endRows(midHi + 1, hi);
  return box.Touched();
}

}  // namespace

Rect DrawWideLine(PixelGrid grid, Point a, Point b, int32_t penWidth, PenMode m, uint32_t pen) {
  if (grid.width <= 0 || grid.height <= 0) return Rect{};
  const int32_t width = DrawnPenWidth(grid, penWidth);
  // Coordinates here put pixel centres on integers. An odd band is centred on the
  // pixel centres of its end points, an even one on their top-left corners, so a
  // level band covers exactly width rows.
  const double shift = width % 2 == 1 ? 0.0 : -0.5;
  const double ax = a.x + shift;
  const double ay = a.y + shift;
  const double bx = b.x + shift;
  const double by = b.y + shift;
  const double r = width / 2.0;

  const double rowLo = std::max(std::ceil(std::min(ay, by) - r), 0.0);
  const double rowHi = std::min(std::floor(std::max(ay, by) + r), grid.height - 1.0);
  // Up to a modest radius, the end discs' half widths are worked out once per row
  // offset; rows meet a disc at offsets that differ by whole rows.
  std::array<double, 129> table;
  const size_t tabled = r <= 128 ? TableHalfWidths(r, ay - std::floor(ay), table) : 0;
  const Capsule capsule(ax, ay, bx, by, r, std::span<const double>(table.data(), tabled));
  const std::optional<ExactBand> exact = ExactBand::Of(a, b, width);
  Rect touched{};
  WithPenMode(m, [&](auto mode) {
    touched = WideLineRows<mode()>(grid, capsule, exact, rowLo, rowHi, pen);
  });
  return touched;
}

}  // namespace quillo::raster
