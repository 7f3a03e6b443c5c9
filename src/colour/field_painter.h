#pragma once

#include <cstdint>
#include <vector>

#include "colour/colour_field.h"

namespace quillo {

class Surface;

// Paints the colour field row by row, every pixel exactly the colour
// ColourField::FieldColorValue gives it, but with the per-column terms computed once
// and each row's mirrored half copied.
class FieldPainter {
 public:
  // Takes the field's colours, layout and size as they are now (the corner layout
  // first takes the editor's size, as an evaluation does).
  explicit FieldPainter(ColourField& field);

  // Writes row y of the field into out[0 .. width) as stored pixels (0xFFRRGGBB).
  void Row(int32_t y, uint32_t* out) const;

  // Paints row y onto the surface (columns beyond either width are left alone). A
  // row whose mirror image across the centre this painter already painted on the
  // same surface is copied from it.
  void PaintRow(Surface& surface, int32_t y);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The colour of the last pixel an evaluation in row order would have left.
  Color LastColor() const { return last_; }

 private:
  const ColourField& field_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool evaluated_ = false;  // false: a field too small to evaluate
  Color last_ = 0;
  // Per column: the vertical colour's terms and the column's distance weight.
  std::vector<double> vr_, vg_, vb_, colWeight_;
  // The rows painted so far, and on which surface.
  const Surface* target_ = nullptr;
  std::vector<uint8_t> painted_;
};

}  // namespace quillo
