#include "colour/colour_field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "colour/field_channel.h"

namespace quillo {
namespace {

uint32_t Channel(double t) {
  int32_t v = Nearest(t);
  // Weights are never negative inside the field; clamp below too for points outside.
  return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

// The distance of a coordinate from the centre once mirrored at 0 and clamped to the
// field, in unsigned steps so that the most negative coordinate mirrors safely.
uint32_t CentreDistance(int32_t v, uint32_t max, int32_t half) {
  uint32_t a = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
  a = a > max ? max : a;
  const int32_t d = static_cast<int32_t>(a) - half;
  return static_cast<uint32_t>(d < 0 ? -d : d);
}

// Complete term tables of a field, as the batch loop reads them.
struct TermArrays {
  const double *colRed, *colGreen, *colBlue, *colCorner;
  const double *rowRed, *rowGreen, *rowBlue, *rowCorner;
  uint32_t maxX, maxY;
  int32_t halfW, halfH;
  double cornerRed, cornerGreen, cornerBlue;
};

// FieldColorAt for a run of points inside a field whose terms are all valid: the
// same sums as MixTerms, written as plain arithmetic on arrays so the compiler runs
// the loop on vectors; where the processor has AVX2 the wider version is picked when
// the program loads.
[[gnu::target_clones("avx2", "default")]] void MixRun(const Point* points, size_t n,
                                                      const TermArrays& t, Color* out) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t ix = CentreDistance(points[i].x, t.maxX, t.halfW);
    const uint32_t iy = CentreDistance(points[i].y, t.maxY, t.halfH);
    const double cw = t.colCorner[ix];
    const double rw = t.rowCorner[iy];
    const double wc = cw < rw ? cw : rw;
    out[i] = FieldChannel(t.colRed[ix] + t.rowRed[iy] + wc * t.cornerRed) |
             FieldChannel(t.colGreen[ix] + t.rowGreen[iy] + wc * t.cornerGreen) << 8 |
             FieldChannel(t.colBlue[ix] + t.rowBlue[iy] + wc * t.cornerBlue) << 16;
  }
}

// Terms are kept for fields up to this half size (any screen); larger ones, which only
// hostile sizes give, are evaluated directly.
constexpr int32_t kMaxKeptHalf = 1 << 15;

}  // namespace

void ColourField::SetEditorSize(int32_t w, int32_t h) {
  editorWidth = w;
  editorHeight = h;
  fieldWidth = w;
  fieldHeight = h;
  fieldHalfWidth = w / 2;
  fieldHalfHeight = h / 2;
}

Color ColourField::FieldColorValue(int32_t x, int32_t y) {
  if (!centerMode) SetEditorSize(editorWidth, editorHeight);
  return Evaluate(x, y);
}

Color ColourField::Evaluate(int32_t x, int32_t y) {
  if (fieldHalfHeight == 0 || fieldHalfWidth == 0) return lastFieldColor;
  const int64_t ix = std::llabs(int64_t{x} - fieldHalfWidth);
  const int64_t iy = std::llabs(int64_t{y} - fieldHalfHeight);
  if (ix <= fieldHalfWidth && iy <= fieldHalfHeight && KeepsTerms()) {
    if (!TermsCurrent()) RenewTerms();
    const auto column = static_cast<size_t>(ix);
    const auto row = static_cast<size_t>(iy);
    TermsAt(columns_, column, fieldHalfWidth, vertical);
    TermsAt(rows_, row, fieldHalfHeight, horizontal);
    lastFieldColor = MixTerms(columns_, column, rows_, row, cornerChannels_);
    return lastFieldColor;
  }
  return EvaluateDirect(x, y);
}

bool ColourField::KeepsTerms() const {
  return fieldHalfWidth > 0 && fieldHalfHeight > 0 && fieldHalfWidth <= kMaxKeptHalf &&
         fieldHalfHeight <= kMaxKeptHalf;
}

void ColourField::TermTable::Resize(size_t n) {
  red.resize(n);
  green.resize(n);
  blue.resize(n);
  corner.resize(n);
  stamp.resize(n);
}

inline void ColourField::TermsAt(TermTable& terms, size_t distance, double half, Color band) {
  if (terms.stamp[distance] != stamp_) FillTerms(terms, distance, half, band);
}

void ColourField::CompleteTerms(TermTable& terms, double half, Color band) {
  for (size_t d = 0; d < terms.stamp.size(); ++d)
    TermsAt(terms, d, half, band);
  terms.complete = true;
}

inline Color ColourField::MixTerms(const TermTable& columns, size_t ix, const TermTable& rows,
                                   size_t iy, const double* corner) {
  // Inside the field the weights of a column and of a row do not depend on each
  // other: their products are kept per distance from the centre, and the sums are
  // formed in the same order as EvaluateDirect's, so the colour is the same to the
  // last bit.
  const double wc = std::min(columns.corner[ix], rows.corner[iy]);
  return Rgb(FieldChannel(columns.red[ix] + rows.red[iy] + wc * corner[0]),
             FieldChannel(columns.green[ix] + rows.green[iy] + wc * corner[1]),
             FieldChannel(columns.blue[ix] + rows.blue[iy] + wc * corner[2]));
}

Color ColourField::EvaluateDirect(int32_t x, int32_t y) {
  const double w2 = fieldHalfWidth;
  const double h2 = fieldHalfHeight;
  const double dx = std::fabs(static_cast<double>(x) - w2);
  const double dy = std::fabs(static_cast<double>(y) - h2);
  double wv, wh, wc;
  if (!centerMode) {
    wv = (w2 - dx) / w2;
    wh = (h2 - dy) / h2;
    wc = std::min(dx / w2, dy / h2);
  } else {
    wv = dx / w2;
    wh = dy / h2;
    wc = std::min((w2 - dx) / w2, (h2 - dy) / h2);
  }
  const uint32_t r = Channel(wv * RedOf(vertical) + wh * RedOf(horizontal) + wc * RedOf(corner));
  const uint32_t g =
      Channel(wv * GreenOf(vertical) + wh * GreenOf(horizontal) + wc * GreenOf(corner));
  const uint32_t b = Channel(wv * BlueOf(vertical) + wh * BlueOf(horizontal) + wc * BlueOf(corner));
  lastFieldColor = Rgb(r, g, b);
  return lastFieldColor;
}

void ColourField::RenewTerms() {
  termsCorner_ = corner;
  termsVertical_ = vertical;
  termsHorizontal_ = horizontal;
  termsCenterMode_ = centerMode;
  termsHalfWidth_ = fieldHalfWidth;
  termsHalfHeight_ = fieldHalfHeight;
  cornerChannels_[0] = RedOf(corner);
  cornerChannels_[1] = GreenOf(corner);
  cornerChannels_[2] = BlueOf(corner);
  // Terms are worked out when first needed; a new stamp makes all the old ones stale.
  if (++stamp_ == 0) {
    columns_ = TermTable{};
    rows_ = TermTable{};
    stamp_ = 1;
  }
  columns_.Resize(static_cast<size_t>(fieldHalfWidth) + 1);
  rows_.Resize(static_cast<size_t>(fieldHalfHeight) + 1);
  columns_.complete = false;
  rows_.complete = false;
}

void ColourField::FillTerms(TermTable& terms, size_t distance, double half, Color band) const {
  const double d = static_cast<double>(distance);
  // The band weight fades from the centre line in the corner layout and grows towards
  // the edges in the centre layout; the corner weight does the opposite.
  const double bandWeight = centerMode ? d / half : (half - d) / half;
  terms.red[distance] = bandWeight * RedOf(band);
  terms.green[distance] = bandWeight * GreenOf(band);
  terms.blue[distance] = bandWeight * BlueOf(band);
  terms.corner[distance] = centerMode ? (half - d) / half : d / half;
  terms.stamp[distance] = stamp_;
}

Color ColourField::FieldColorAt(int32_t x, int32_t y) {
  // Mirror negative coordinates; the most negative value mirrors past the range and
  // is clamped with the rest.
  int64_t ax = std::llabs(int64_t{x});
  int64_t ay = std::llabs(int64_t{y});
  if (!centerMode) SetEditorSize(editorWidth, editorHeight);
  ax = std::min<int64_t>(ax, int64_t{fieldWidth} - 1);
  ay = std::min<int64_t>(ay, int64_t{fieldHeight} - 1);
  // The sizes are taken already, so the evaluation need not take them again.
  return Evaluate(static_cast<int32_t>(ax), static_cast<int32_t>(ay));
}

void ColourField::FieldColorsAt(std::span<const Point> points, Color* out) {
  if (!centerMode) SetEditorSize(editorWidth, editorHeight);
  if (!KeepsTerms() || fieldWidth > 2 * fieldHalfWidth + 1 ||
      fieldHeight > 2 * fieldHalfHeight + 1) {
    for (size_t i = 0; i < points.size(); ++i)
      out[i] = FieldColorAt(points[i].x, points[i].y);
    return;
  }
  // Here every mirrored and clamped point lies inside the field: the sizes and the
  // terms are settled once for the whole batch.
  if (!TermsCurrent()) RenewTerms();
  if (points.empty()) return;
  if (!columns_.complete) CompleteTerms(columns_, fieldHalfWidth, vertical);
  if (!rows_.complete) CompleteTerms(rows_, fieldHalfHeight, horizontal);
  const TermArrays arrays{columns_.red.data(),
                          columns_.green.data(),
                          columns_.blue.data(),
                          columns_.corner.data(),
                          rows_.red.data(),
                          rows_.green.data(),
                          rows_.blue.data(),
                          rows_.corner.data(),
                          static_cast<uint32_t>(fieldWidth - 1),
                          static_cast<uint32_t>(fieldHeight - 1),
                          fieldHalfWidth,
                          fieldHalfHeight,
                          cornerChannels_[0],
                          cornerChannels_[1],
                          cornerChannels_[2]};
  MixRun(points.data(), points.size(), arrays, out);
  lastFieldColor = out[points.size() - 1];
}

}  // namespace quillo
