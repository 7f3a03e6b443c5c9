#include "colour/field_painter.h"

#include <algorithm>
#include <cmath>

#include "colour/field_channel.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

// What one row adds to every column: the horizontal colour's terms and the row's
// corner weight.
struct RowTerms {
  double hr, hg, hb;
  double weight;
  double cr, cg, cb;  // the corner colour
};

// Columns [0, n) of a row. The loop is plain arithmetic on arrays so the compiler runs
// it on vectors; where the processor has AVX2 the wider version is picked when the
// program loads.
[[gnu::target_clones("avx2", "default")]] void HalfRow(const double* vr, const double* vg,
                                                       const double* vb, const double* colWeight,
                                                       int32_t n, RowTerms t, uint32_t* out) {
  for (int32_t x = 0; x < n; ++x) {
    const double c = colWeight[x];
    const double wc = c < t.weight ? c : t.weight;
    out[x] = 0xFF000000u | FieldChannel(vr[x] + t.hr + wc * t.cr) << 16 |
             FieldChannel(vg[x] + t.hg + wc * t.cg) << 8 | FieldChannel(vb[x] + t.hb + wc * t.cb);
  }
}

}  // namespace

FieldPainter::FieldPainter(ColourField& field) : field_(field) {
  Refresh();
}

FieldPainter::Key FieldPainter::CurrentKey() {
  // The corner layout takes the editor's size, as an evaluation does.
  if (!field_.centerMode) field_.SetEditorSize(field_.editorWidth, field_.editorHeight);
  const ColourField& f = field_;
  return Key{f.corner,     f.vertical,    f.horizontal,     f.centerMode,
             f.fieldWidth, f.fieldHeight, f.fieldHalfWidth, f.fieldHalfHeight};
}

void FieldPainter::Refresh() {
  const Key key = CurrentKey();
  if (prepared_ && key == key_) return;
  prepared_ = true;
  key_ = key;
  const ColourField& field = field_;
  width_ = std::max(field.fieldWidth, 0);
  height_ = std::max(field.fieldHeight, 0);
  last_ = field.lastFieldColor;
  kept_.assign(static_cast<size_t>(std::clamp(field.fieldHalfHeight, 0, height_)), 0);
  evaluated_ = field.fieldHalfHeight != 0 && field.fieldHalfWidth != 0;
  if (!evaluated_) return;
  const double w2 = field.fieldHalfWidth;
  const int32_t columns = std::clamp(field.fieldHalfWidth + 1, 0, width_);
  vr_.resize(columns);
  vg_.resize(columns);
  vb_.resize(columns);
  colWeight_.resize(columns);
  for (int32_t x = 0; x < columns; ++x) {
    const double dx = std::fabs(static_cast<double>(x) - w2);
    const double wv = field.centerMode ? dx / w2 : (w2 - dx) / w2;
    vr_[x] = wv * RedOf(field.vertical);
    vg_[x] = wv * GreenOf(field.vertical);
    vb_[x] = wv * BlueOf(field.vertical);
    colWeight_[x] = field.centerMode ? (w2 - dx) / w2 : dx / w2;
  }
  const size_t kept = kept_.size() * static_cast<size_t>(columns);
  if (field_.mirrorRows.size() < kept) field_.mirrorRows.resize(kept);
}

void FieldPainter::Row(int32_t y, uint32_t* out) {
  Refresh();
  if (!evaluated_) {
    std::fill(out, out + width_, ToPixel(last_));
    return;
  }
  const ColourField& f = field_;
  const double h2 = f.fieldHalfHeight;
  const double dy = std::fabs(static_cast<double>(y) - h2);
  const double wh = f.centerMode ? dy / h2 : (h2 - dy) / h2;
  const double rowWeight = f.centerMode ? (h2 - dy) / h2 : dy / h2;
  const RowTerms terms{wh * RedOf(f.horizontal),
                       wh * GreenOf(f.horizontal),
                       wh * BlueOf(f.horizontal),
                       rowWeight,
                       static_cast<double>(RedOf(f.corner)),
                       static_cast<double>(GreenOf(f.corner)),
                       static_cast<double>(BlueOf(f.corner))};
  HalfRow(vr_.data(), vg_.data(), vb_.data(), colWeight_.data(), Columns(), terms, out);
  MirrorColumns(out);
}

void FieldPainter::MirrorColumns(uint32_t* out) const {
  // Columns right of the centre mirror those left of it. Reads and writes never
  // meet, so the loop runs on vectors.
  const int32_t begin = Columns();
  const int32_t end = width_;
  const uint32_t* __restrict from = out + 2 * field_.fieldHalfWidth;
  uint32_t* __restrict to = out;
  for (int32_t x = begin; x < end; ++x)
    to[x] = from[-x];
}

void FieldPainter::PaintRow(Surface& surface, int32_t y) {
  Refresh();
  if (y < 0 || y >= surface.Height() || y >= height_) return;
  const int32_t w = std::min(width_, surface.Width());
  if (w <= 0) return;
  uint32_t* row = surface.Bits() + static_cast<size_t>(y) * surface.Width();
  if (w < width_) line_.resize(static_cast<size_t>(width_));
  uint32_t* full = w < width_ ? line_.data() : row;

  // A row holds the same colours as its mirror across the centre, and a row's right
  // half those of its left half: only the left halves of the upper rows are kept.
  const auto kept = static_cast<int32_t>(kept_.size());
  const int32_t columns = Columns();
  const int32_t mirror = 2 * field_.fieldHalfHeight - y;
  uint32_t* const keptRows = field_.mirrorRows.data();
  if (evaluated_ && mirror >= 0 && mirror < kept && kept_[mirror]) {
    const uint32_t* from = keptRows + static_cast<size_t>(mirror) * columns;
    std::copy(from, from + columns, full);
    MirrorColumns(full);
  } else {
    Row(y, full);
    if (evaluated_ && y < kept) {
      std::copy(full, full + columns, keptRows + static_cast<size_t>(y) * columns);
      kept_[y] = 1;
    }
  }
  if (full != row) std::copy(full, full + w, row);
  surface.MarkDirty(Rect{0, y, w, y + 1});
}

}  // namespace quillo
