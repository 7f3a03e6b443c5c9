#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"

namespace quillo {

// The sixteen raster pen modes, by their ordinals.
enum class PenMode : uint8_t {
  kBlack = 0,
  kWhite = 1,
  kNop = 2,
  kNot = 3,
  kCopy = 4,
  kNotCopy = 5,
  kMergePenNot = 6,
  kMaskPenNot = 7,
  kMergeNotPen = 8,
  kMaskNotPen = 9,
  kMerge = 10,
  kNotMerge = 11,
  kMask = 12,
  kNotMask = 13,
  kXor = 14,
  kNotXor = 15,
};

// The pen mode of an ordinal; only the low four bits count.
constexpr PenMode PenModeOf(uint32_t ordinal) {
  return static_cast<PenMode>(ordinal & 15u);
}

// The bitwise function of pen and destination that a pen mode names. Works on any
// pixel layout since every mode acts bit by bit; the caller keeps the alpha byte.
constexpr uint32_t ApplyPenMode(PenMode m, uint32_t pen, uint32_t dst) {
  switch (m) {
    case PenMode::kBlack:
      return 0;
    case PenMode::kWhite:
      return ~0u;
    case PenMode::kNop:
      return dst;
    case PenMode::kNot:
      return ~dst;
    case PenMode::kCopy:
      return pen;
    case PenMode::kNotCopy:
      return ~pen;
    case PenMode::kMergePenNot:
      return pen | ~dst;
    case PenMode::kMaskPenNot:
      return pen & ~dst;
    case PenMode::kMergeNotPen:
      return ~pen | dst;
    case PenMode::kMaskNotPen:
      return ~pen & dst;
    case PenMode::kMerge:
      return pen | dst;
    case PenMode::kNotMerge:
      return ~(pen | dst);
    case PenMode::kMask:
      return pen & dst;
    case PenMode::kNotMask:
      return ~(pen & dst);
    case PenMode::kXor:
      return pen ^ dst;
    case PenMode::kNotXor:
      return ~(pen ^ dst);
  }
  return dst;
}

// Whether a pen mode's result depends on the pen alone (black, white, copy, not copy).
constexpr bool IgnoresDestination(PenMode m) {
  return ApplyPenMode(m, 0u, 0u) == ApplyPenMode(m, 0u, ~0u) &&
         ApplyPenMode(m, ~0u, 0u) == ApplyPenMode(m, ~0u, ~0u);
}

// Whether mode m only sets a pixel's bits or keeps them, and sets a bit only under
// one of the pen's two bit values (merge, mask and their inverted-pen forms): then
// the order of the parts over a pixel does not count.
constexpr bool SetsOrKeeps(PenMode m) {
  const uint32_t at0 = ApplyPenMode(m, 0, 0);
  const uint32_t at1 = ApplyPenMode(m, ~0u, 0);
  const uint32_t keep0 = at0 ^ ApplyPenMode(m, 0, ~0u);
  const uint32_t keep1 = at1 ^ ApplyPenMode(m, ~0u, ~0u);
  return (at0 & keep0) == 0 && (at1 & keep1) == 0 && (~keep0 & ~keep1) == 0;
}

// A ternary raster operation code such as 0x00CC0020; its third byte is the truth
// table: result bit = bit (P * 4 + S * 2 + D) of that byte.
struct RasterOp {
  uint32_t code = 0x00CC0020;
  constexpr uint8_t Table() const { return static_cast<uint8_t>(code >> 16); }
  friend constexpr bool operator==(RasterOp, RasterOp) = default;
};

inline constexpr RasterOp kSrcCopy{0x00CC0020};
inline constexpr RasterOp kSrcPaint{0x00EE0086};
inline constexpr RasterOp kSrcAnd{0x008800C6};
inline constexpr RasterOp kSrcInvert{0x00660046};
inline constexpr RasterOp kSrcErase{0x00440328};
inline constexpr RasterOp kNotSrcErase{0x001100A6};
inline constexpr RasterOp kMergeCopy{0x00C000CA};
inline constexpr RasterOp kMergePaint{0x00BB0226};
inline constexpr RasterOp kDstInvert{0x00550009};

// Applies a truth table to pattern, source and destination bit by bit.
constexpr uint32_t ApplyRop3(uint8_t table, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (table & (1u << i)) {
      uint32_t term = (i & 4 ? p : ~p) & (i & 2 ? s : ~s) & (i & 1 ? d : ~d);
      r |= term;
    }
  }
  return r;
}

// 0x00BBGGRR to the stored 0xFFRRGGBB layout and back.
constexpr uint32_t ToPixel(Color c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Color FromPixel(uint32_t px) {
  return ((px >> 16) & 0xFFu) | (px & 0xFF00u) | ((px & 0xFFu) << 16);
}

}  // namespace quillo
