#include "platform/raster/shape.h"

#include <algorithm>
#include <cmath>

#include "platform/raster/round_box.h"

namespace quillo::raster {

namespace {

// The row insets of a small ellipse-like box (corners at least as large as the box)
// drawn with a one-pixel pen, by size. DO LOOP strings 1500 such boxes of a few sizes
// along every figure; their rows are worked out once per size instead of per box. The
// insets are position independent, so kept rows equal the rows RoundBox gives.
constexpr int64_t kSmallSide = 32;
struct SmallRows {
  bool ready = false;
  int8_t outer[kSmallSide];  // inset of row k of the box, -1: no row
  int8_t inner[kSmallSide];  // inset of row k of the inner box (k from 0), -1: none
};

const SmallRows& SmallRowsOf(int64_t w, int64_t h) {
  // Pure functions of the size, kept per thread so that drawing threads need no lock.
  thread_local SmallRows kept[kSmallSide + 1][kSmallSide + 1];
  SmallRows& rows = kept[w][h];
  if (rows.ready) return rows;
  const double rx = static_cast<double>(w) / 2;
  const double ry = static_cast<double>(h) / 2;
  const RoundBox outer{0, 0, w, h, rx, ry};
  const RoundBox inner{1, 1, w - 1, h - 1, std::max(0.0, rx - 1), std::max(0.0, ry - 1)};
  for (int64_t k = 0; k < kSmallSide; ++k) {
    int64_t x0 = 0;
    int64_t x1 = 0;
    rows.outer[k] = k < h && outer.Row(k, x0, x1) ? static_cast<int8_t>(x0) : -1;
    rows.inner[k] = !inner.Empty() && k + 1 < h - 1 && inner.Row(k + 1, x0, x1)
                        ? static_cast<int8_t>(x0 - 1)
                        : -1;
  }
  rows.ready = true;
  return rows;
}

// The rows [rowLo, rowHi) of a shape in mode M: the outline between the outer and
// inner spans in the pen, the inner span in the brush.
template <PenMode M, class OuterRow, class InnerRow>
Rect ShapeSpans(PixelGrid grid, int64_t rowLo, int64_t rowHi, const OuterRow& outerRow,
                const InnerRow& innerRow, const ShapeStyle& style) {
  SpanWriter<M> writer(grid);
  for (int64_t y = rowLo; y < rowHi; ++y) {
    int64_t o0 = 0;
    int64_t o1 = 0;
    if (!outerRow(y, o0, o1)) continue;
    const auto row = static_cast<int32_t>(y);
    int64_t i0 = 0;
    int64_t i1 = 0;
    if (!innerRow(y, i0, i1)) {
      writer.Span(row, o0, o1, style.pen);
      continue;
    }
    i0 = std::clamp(i0, o0, o1);
    i1 = std::clamp(i1, i0, o1);
    writer.Span(row, o0, i0, style.pen);
    if (style.fill) writer.Span(row, i0, i1, style.brush);
    writer.Span(row, i1, o1, style.pen);
  }
  return writer.Touched();
}

}  // namespace

Rect DrawRoundShape(PixelGrid grid, const Rect& box, int64_t cornerW, int64_t cornerH,
                    const ShapeStyle& style) {
  if (grid.width <= 0 || grid.height <= 0) return Rect{};
  const int64_t boxW = box.Width();
  const int64_t boxH = box.Height();
  if (style.penWidth == 1 && cornerW >= boxW && cornerH >= boxH && boxW >= 1 && boxH >= 1 &&
      boxW <= kSmallSide && boxH <= kSmallSide) {
    const int64_t rowLo = std::max<int64_t>(box.top, 0);
    const int64_t rowHi = std::min<int64_t>(box.bottom, grid.height);
    Rect touched{};
    const SmallRows& small = SmallRowsOf(boxW, boxH);
    const auto outerRow = [&](int64_t y, int64_t& x0, int64_t& x1) {
      const int8_t inset = small.outer[y - box.top];
      x0 = box.left + inset;
      x1 = box.right - inset;
      return inset >= 0;
    };
    const auto innerRow = [&](int64_t y, int64_t& x0, int64_t& x1) {
      if (y == box.top) return false;
      const int8_t inset = small.inner[y - box.top - 1];
      x0 = box.left + 1 + inset;
      x1 = box.right - 1 - inset;
      return inset >= 0;
    };
    WithPenMode(style.mode, [&](auto mode) {
      touched = ShapeSpans<mode()>(grid, rowLo, rowHi, outerRow, innerRow, style);
    });
    return touched;
  }
  const RoundOutline outline =
      OutlineOf(box, cornerW, cornerH, DrawnPenWidth(grid, style.penWidth));
  const RoundBox& outer = outline.outer;
  const RoundBox& inner = outline.inner;
  if (outer.Empty()) return Rect{};

  const int64_t rowLo = std::max<int64_t>(outer.top, 0);
  const int64_t rowHi = std::min<int64_t>(outer.bottom, grid.height);
  Rect touched{};
  const auto outerRow = [&](int64_t y, int64_t& x0, int64_t& x1) { return outer.Row(y, x0, x1); };
  const auto innerRow = [&](int64_t y, int64_t& x0, int64_t& x1) {
    return !inner.Empty() && inner.Row(y, x0, x1);
  };
  WithPenMode(style.mode, [&](auto mode) {
    touched = ShapeSpans<mode()>(grid, rowLo, rowHi, outerRow, innerRow, style);
  });
  return touched;
}

}  // namespace quillo::raster
