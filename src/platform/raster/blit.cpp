#include "platform/raster/blit.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/raster/pixel_ops.h"

namespace quillo::raster {

namespace {

// For each destination position along one axis that lies on the destination, the
// source position it samples; the ends whose source lies off the source are cut.
struct AxisMap {
  int32_t dstFirst = 0;
  std::vector<int32_t> src;
  bool unscaled = false;  // src[k] == src[0] + k
};

// Destination offset i samples source offset floor((2i + 1) * srcLen / (2 * dstLen)),
// the source pixel under the centre of the destination pixel.
bool MapAxis(int32_t dA, int32_t dB, int32_t sA, int32_t sB, int32_t dstLimit, int32_t srcLimit,
             AxisMap& out) {
  const int64_t dLo = std::min(dA, dB);
  const int64_t dLen = dB > dA ? int64_t{dB} - dA : int64_t{dA} - dB;
  const int64_t sLo = std::min(sA, sB);
  const int64_t sLen = sB > sA ? int64_t{sB} - sA : int64_t{sA} - sB;
  if (dLen == 0 || sLen == 0) return false;
  const bool mirror = (dB < dA) != (sB < sA);
  const int64_t first = std::max<int64_t>(dLo, 0);
  const int64_t end = std::min<int64_t>(dLo + dLen, dstLimit);
  if (first >= end) return false;

  // Offsets and lengths reach 2^32, so the starting product needs 128 bits; the walk
  // after it stays within 64.
  const int64_t i0 = first - dLo;
  const auto start = static_cast<unsigned __int128>(2 * i0 + 1) * static_cast<uint64_t>(sLen);
  const auto den = static_cast<uint64_t>(2 * dLen);
  auto j = static_cast<int64_t>(start / den);
  auto rem = static_cast<uint64_t>(start % den);
  const int64_t stepQ = sLen / dLen;
  const auto stepR = static_cast<uint64_t>(2 * (sLen % dLen));

  out.src.clear();
  out.src.reserve(static_cast<size_t>(end - first));
  int64_t kept = first;
  for (int64_t x = first; x < end; ++x) {
    const int64_t s = sLo + (mirror ? sLen - 1 - j : j);
    if (s >= 0 && s < srcLimit) {
      if (out.src.empty()) kept = x;
      out.src.push_back(static_cast<int32_t>(s));
    } else if (!out.src.empty()) {
      break;  // the mapping is monotone: once off the source, it stays off
    }
    j += stepQ;
    rem += stepR;
    if (rem >= den) {
      rem -= den;
      ++j;
    }
  }
  out.dstFirst = static_cast<int32_t>(kept);
  out.unscaled = !mirror && sLen == dLen;
  return !out.src.empty();
}

// A truth table with its pattern fixed for one copy: masks[sd] holds, bit by bit, the
// result for source bit s and destination bit d, so a pixel costs a few bit operations
// whatever the code.
class BoundRop {
 public:
  BoundRop(uint8_t table, uint32_t pattern) {
    for (int sd = 0; sd < 4; ++sd) {
      masks_[sd] = ApplyRop3(table, pattern, sd & 2 ? ~0u : 0u, sd & 1 ? ~0u : 0u);
    }
  }
  uint32_t operator()(uint32_t s, uint32_t d) const {
    const uint32_t ifClear = masks_[0] ^ ((masks_[0] ^ masks_[2]) & s);
    const uint32_t ifSet = masks_[1] ^ ((masks_[1] ^ masks_[3]) & s);
    return (ifClear ^ ((ifClear ^ ifSet) & d)) | 0xFF000000u;
  }

 private:
  uint32_t masks_[4];
};

// A table that ignores the destination gives equal rows for equal source rows.
constexpr bool IgnoresDestination(uint8_t table) {
  return (table & 0x55) == ((table >> 1) & 0x55);
}

// A table that ignores the source gives the same result whatever the source holds.
constexpr bool IgnoresSource(uint8_t table) {
  return (table & 0x33) == ((table >> 2) & 0x33);
}

// Whether the column map doubles every source column (an exact 2x enlargement, the
// first column possibly the second half of a pair): src[c] = src[0] + (c + phase) / 2.
bool DoublesColumns(const AxisMap& cols, int32_t& phase) {
  const std::vector<int32_t>& src = cols.src;
  if (src.size() < 2) return false;
  phase = src[1] == src[0] ? 0 : 1;
  for (size_t c = 0; c < src.size(); ++c) {
    if (src[c] != src[0] + static_cast<int32_t>((c + phase) / 2)) return false;
  }
  return true;
}

// Row to of n pixels from source row from by the doubling map: each source pixel twice.
void CopyDoubled(uint32_t* to, const uint32_t* from, int32_t n, int32_t phase) {
  int32_t c = 0;
  if (phase == 1) to[c++] = *from++;
  for (; c + 1 < n; c += 2) {
    const uint32_t v = *from++;
    to[c] = v;
    to[c + 1] = v;
  }
  if (c < n) to[c] = *from;
}

}  // namespace

Rect CopyPixels(PixelGrid dst, const Rect& dstRect, const PixelGrid& src, const Rect& srcRect,
                uint8_t table, uint32_t pattern) {
  if (dst.width <= 0 || dst.height <= 0 || src.width <= 0 || src.height <= 0) return Rect{};
  AxisMap cols;
  AxisMap rows;
  if (!MapAxis(dstRect.left, dstRect.right, srcRect.left, srcRect.right, dst.width, src.width,
               cols) ||
      !MapAxis(dstRect.top, dstRect.bottom, srcRect.top, srcRect.bottom, dst.height, src.height,
               rows)) {
    return Rect{};
  }
  const auto nc = static_cast<int32_t>(cols.src.size());
  const auto nr = static_cast<int32_t>(rows.src.size());

  // An operation of pattern and destination alone (an inversion, a fill) reads no
  // source: each destination pixel is changed in place.
  if (IgnoresSource(table)) {
    const BoundRop rop(table, pattern);
    for (int32_t r = 0; r < nr; ++r) {
      uint32_t* to = dst.bits + int64_t{rows.dstFirst + r} * dst.width + cols.dstFirst;
      for (int32_t c = 0; c < nc; ++c)
        to[c] = rop(0, to[c]);
    }
    return Rect{cols.dstFirst, rows.dstFirst, cols.dstFirst + nc, rows.dstFirst + nr};
  }

  // A copy within one surface reads the whole source first: gather it into a buffer
  // of the destination's clipped size and copy from there unscaled.
  const uint32_t* srcBits = src.bits;
  int64_t srcStride = src.width;
  std::unique_ptr<uint32_t[]> staged;
  if (src.bits == dst.bits) {
    try {
      staged = std::make_unique_for_overwrite<uint32_t[]>(static_cast<size_t>(nc) * nr);
    } catch (const std::bad_alloc&) {
      return Rect{};
    }
    for (int32_t r = 0; r < nr; ++r) {
      const uint32_t* from = src.bits + int64_t{rows.src[r]} * src.width;
      uint32_t* to = staged.get() + int64_t{r} * nc;
      if (cols.unscaled) {
        std::memcpy(to, from + cols.src[0], sizeof(uint32_t) * nc);
      } else {
        for (int32_t c = 0; c < nc; ++c)
          to[c] = from[cols.src[c]];
      }
    }
    srcBits = staged.get();
    srcStride = nc;
    for (int32_t r = 0; r < nr; ++r)
      rows.src[r] = r;
    for (int32_t c = 0; c < nc; ++c)
      cols.src[c] = c;
    cols.unscaled = true;
  }

  // Whole rows of one grid onto whole rows of another: the block is contiguous.
  if (table == kSrcCopy.Table() && cols.unscaled && rows.unscaled && nc == dst.width &&
      nc == srcStride) {
    std::memcpy(dst.bits + int64_t{rows.dstFirst} * dst.width,
                srcBits + int64_t{rows.src[0]} * srcStride, sizeof(uint32_t) * nc * nr);
    return Rect{0, rows.dstFirst, nc, rows.dstFirst + nr};
  }

  const bool repeatRows = IgnoresDestination(table);
  const bool sourceCopy = table == kSrcCopy.Table();
  int32_t phase = 0;
  const bool doubled = sourceCopy && !cols.unscaled && DoublesColumns(cols, phase);
  const BoundRop rop(table, pattern);
  const int32_t* index = cols.src.data();
  for (int32_t r = 0; r < nr; ++r) {
    uint32_t* to = dst.bits + int64_t{rows.dstFirst + r} * dst.width + cols.dstFirst;
    if (repeatRows && r > 0 && rows.src[r] == rows.src[r - 1]) {
      std::memcpy(to, to - dst.width, sizeof(uint32_t) * nc);
      continue;
    }
    const uint32_t* from = srcBits + int64_t{rows.src[r]} * srcStride;
    if (cols.unscaled) {
      from += index[0];
      if (sourceCopy) {
        std::memcpy(to, from, sizeof(uint32_t) * nc);
      } else {
        for (int32_t c = 0; c < nc; ++c)
          to[c] = rop(from[c], to[c]);
      }
    } else if (doubled) {
      CopyDoubled(to, from + index[0], nc, phase);
    } else if (sourceCopy) {
      for (int32_t c = 0; c < nc; ++c)
        to[c] = from[index[c]];
    } else {
      for (int32_t c = 0; c < nc; ++c)
        to[c] = rop(from[index[c]], to[c]);
    }
  }
  return Rect{cols.dstFirst, rows.dstFirst, cols.dstFirst + nc, rows.dstFirst + nr};
}

namespace {

// One row of CopyPixelsTwice: to[i] = also[i] = (from[i] ^ flip) | set, four pixels at
// a time where the processor has SSE2. to may be from; also is neither.
void CopyRunTwice(const uint32_t* from, uint32_t* to, uint32_t* also, size_t n, uint32_t flip,
                  uint32_t set) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i flips = _mm_set1_epi32(static_cast<int>(flip));
  const __m128i sets = _mm_set1_epi32(static_cast<int>(set));
  for (; i + 4 <= n; i += 4) {
    const __m128i v = _mm_or_si128(
        _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), flips), sets);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(also + i), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
  }
#endif
  for (; i < n; ++i)
    to[i] = also[i] = (from[i] ^ flip) | set;
}

}  // namespace

Rect CopyPixelsTwice(PixelGrid dst, PixelGrid also, const PixelGrid& src, const Rect& r,
                     bool invert) {
  if (dst.width != src.width || dst.height != src.height || also.width != src.width ||
      also.height != src.height)
    return Rect{};
  const Rect box = Intersect(Normalized(r), Rect{0, 0, src.width, src.height});
  if (box.Empty()) return Rect{};
  // The inversion's truth table leaves every colour bit flipped and the pixel opaque.
  const uint32_t flip = invert ? 0x00FFFFFFu : 0u;
  const uint32_t set = invert ? 0xFF000000u : 0u;
  const auto n = static_cast<size_t>(box.right - box.left);
  const bool wholeRows = box.left == 0 && box.right == src.width;
  for (int32_t y = box.top; y < box.bottom; ++y) {
    const int64_t at = int64_t{y} * src.width + box.left;
    if (wholeRows) {
      // Whole rows are one contiguous block.
      const auto all = n * static_cast<size_t>(box.bottom - box.top);
      CopyRunTwice(src.bits + at, dst.bits + at, also.bits + at, all, flip, set);
      break;
    }
    CopyRunTwice(src.bits + at, dst.bits + at, also.bits + at, n, flip, set);
  }
  return box;
}

void CopyCold(uint32_t* to, const uint32_t* from, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  // Streaming stores need 16-byte aligned destinations.
  for (; i < n && reinterpret_cast<uintptr_t>(to + i) % 16 != 0; ++i)
    to[i] = from[i];
  for (; i + 4 <= n; i += 4)
    _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
#endif
  for (; i < n; ++i)
    to[i] = from[i];
}

void EndColdCopies() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

}  // namespace quillo::raster
