#pragma once

#include <cstdint>
#include <vector>

#include "colour/colour_field.h"

namespace quillo {

class Surface;

// Paints the colour field row by row, every pixel exactly the colour
// ColourField::FieldColorValue gives it for the field as it stands when its row is
// painted, with the per-column terms computed once per field and each row's
// mirrored half copied. Pending events may change the field between rows; the
// painter notices and starts afresh from the next row.
class FieldPainter {
 public:
  explicit FieldPainter(ColourField& field);

  // Writes row y of the field into out[0 .. width) as stored pixels (0xFFRRGGBB).
  void Row(int32_t y, uint32_t* out);

  // Paints row y onto the surface (columns beyond either width are left alone). A
  // row whose mirror image across the centre this painter already worked out for
  // the same field is copied from its own copy, never from the surface, which other
  // drawing may have changed since.
  void PaintRow(Surface& surface, int32_t y);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The colour of the last pixel an evaluation in row order would have left.
  Color LastColor() const { return last_; }

 private:
  // What the painted colours depend on.
  struct Key {
    Color corner, vertical, horizontal;
    bool centerMode;
    int32_t width, height, halfWidth, halfHeight;
    bool operator==(const Key&) const = default;
  };
  Key CurrentKey();
  // Works out the column terms when the field differs from the one they were made
  // for, and forgets the rows kept for mirroring.
  void Refresh();
  // How many columns a row works out; the rest mirror them.
  int32_t Columns() const { return static_cast<int32_t>(colWeight_.size()); }
  void MirrorColumns(uint32_t* out) const;

  ColourField& field_;
  Key key_{};
  bool prepared_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool evaluated_ = false;  // false: a field too small to evaluate
  Color last_ = 0;
  // Per column: the vertical colour's terms and the column's distance weight.
  std::vector<double> vr_, vg_, vb_, colWeight_;
  // Which rows above the centre the field's mirrorRows hold for the current field.
  std::vector<uint8_t> kept_;
  std::vector<uint32_t> line_;  // a whole row, for surfaces narrower than the field
};

}  // namespace quillo
