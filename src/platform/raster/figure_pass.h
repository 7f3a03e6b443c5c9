#pragma once

#include <cstdint>
#include <span>

#include "platform/raster/effect_rows.h"
#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/span_writer.h"

namespace quillo::raster {

// One primitive of a figure: the line from a to b, or the ellipse in the normalised
// box with corners a and b; pen is the stored pixel it is drawn in.
struct FigurePrimitive {
  bool ellipse = false;
  Point a{};
  Point b{};
  uint32_t pen = 0;
};

// What every primitive of a figure shares: the pen mode and width, and the brush that
// fills the ellipses when fill is set.
struct FigureStyle {
  PenMode mode = PenMode::kCopy;
  int32_t penWidth = 2;
  uint32_t brush = 0xFFFFFFFFu;
  bool fill = false;
};

// The narrowest pen with which a figure in mode m costs less in one pass than drawn
// part by part. In the pen-only modes (black, white, no-op, copy, not copy) the last
// part over a pixel decides it, and in xor, not-xor and not the parts commute, so the
// pass pays from 64 pixels on; in merge, mask and their inverted-pen forms each pixel
// takes the bits its parts set, which pays from 128; in the others each pixel takes
// each bit from the last part that sets it, turned over by the parts after it, which
// pays from 256, where the parts overlap many times over.
constexpr int32_t OnePassPenWidth(PenMode m) {
  const bool oneDecides = IgnoresDestination(m) || m == PenMode::kNop;
  const bool commutes = m == PenMode::kXor || m == PenMode::kNotXor || m == PenMode::kNot;
  if (oneDecides || commutes) return 64;
  return SetsOrKeeps(m) ? 128 : 256;
}

// Leaves what DrawWideLine and DrawRoundShape leave when called for each primitive in
// turn with style, a pen of two pixels or more, in any pen mode; but writes each
// pixel once, so a figure of pens as wide as the grid costs its area once
// rather than once per primitive. Returns the box of the pixels those calls change.
// registers says which ways the rows may be drawn, as for EffectRows.
Rect DrawFigurePass(PixelGrid grid, std::span<const FigurePrimitive> parts,
                    const FigureStyle& style,
                    EffectRows::Registers registers = EffectRows::Registers::kWidest);

}  // namespace quillo::raster
