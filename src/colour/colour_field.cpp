#include "colour/colour_field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillo {
namespace {

uint32_t Channel(double t) {
  int32_t v = Nearest(t);
  // Weights are never negative inside the field; clamp below too for points outside.
  return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

// A channel sum inside the field: a sum of three weights in [0, 1] times channels, so
// in [0, 765] and finite; rounding to even needs no range checks there.
uint32_t FieldChannel(double t) {
  constexpr double kRounder = 6755399441055744.0;  // 1.5 * 2^52
  const auto v = static_cast<int32_t>((t + kRounder) - kRounder);
  return static_cast<uint32_t>(std::clamp(v, 0, 255));
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
    lastFieldColor = MixTerms(TermsAt(columns_, ix, fieldHalfWidth, vertical),
                              TermsAt(rows_, iy, fieldHalfHeight, horizontal), cornerChannels_);
    return lastFieldColor;
  }
  return EvaluateDirect(x, y);
}

bool ColourField::KeepsTerms() const {
  return fieldHalfWidth > 0 && fieldHalfHeight > 0 && fieldHalfWidth <= kMaxKeptHalf &&
         fieldHalfHeight <= kMaxKeptHalf;
}

inline const ColourField::Terms& ColourField::TermsAt(std::vector<Terms>& terms, int64_t distance,
                                                      double half, Color band) {
  Terms& t = terms[static_cast<size_t>(distance)];
  if (t.stamp != stamp_) FillTerms(t, distance, half, band);
  return t;
}

inline Color ColourField::MixTerms(const Terms& column, const Terms& row, const double* corner) {
  // Inside the field the weights of a column and of a row do not depend on each
  // other: their products are kept per distance from the centre, and the sums are
  // formed in the same order as EvaluateDirect's, so the colour is the same to the
  // last bit.
  const double wc = std::min(column.cornerWeight, row.cornerWeight);
  return Rgb(FieldChannel(column.band[0] + row.band[0] + wc * corner[0]),
             FieldChannel(column.band[1] + row.band[1] + wc * corner[1]),
             FieldChannel(column.band[2] + row.band[2] + wc * corner[2]));
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
    columns_.clear();
    rows_.clear();
    stamp_ = 1;
  }
  columns_.resize(static_cast<size_t>(fieldHalfWidth) + 1);
  rows_.resize(static_cast<size_t>(fieldHalfHeight) + 1);
}

void ColourField::FillTerms(Terms& t, int64_t distance, double half, Color band) const {
  const double d = static_cast<double>(distance);
  // The band weight fades from the centre line in the corner layout and grows towards
  // the edges in the centre layout; the corner weight does the opposite.
  const double bandWeight = centerMode ? d / half : (half - d) / half;
  t.band[0] = bandWeight * RedOf(band);
  t.band[1] = bandWeight * GreenOf(band);
  t.band[2] = bandWeight * BlueOf(band);
  t.cornerWeight = centerMode ? (half - d) / half : d / half;
  t.stamp = stamp_;
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
  // Locals, so that the loop keeps them in registers across its stores.
  const int64_t maxX = int64_t{fieldWidth} - 1;
  const int64_t maxY = int64_t{fieldHeight} - 1;
  const int64_t halfW = fieldHalfWidth;
  const int64_t halfH = fieldHalfHeight;
  const double corner[3] = {cornerChannels_[0], cornerChannels_[1], cornerChannels_[2]};
  Terms* const columns = columns_.data();
  Terms* const rows = rows_.data();
  const uint32_t stamp = stamp_;
  Color c = lastFieldColor;
  for (size_t i = 0; i < points.size(); ++i) {
    const int64_t ix =
        std::llabs(std::min<int64_t>(std::llabs(int64_t{points[i].x}), maxX) - halfW);
    const int64_t iy =
        std::llabs(std::min<int64_t>(std::llabs(int64_t{points[i].y}), maxY) - halfH);
    Terms& column = columns[ix];
    if (column.stamp != stamp) FillTerms(column, ix, static_cast<double>(halfW), vertical);
    Terms& row = rows[iy];
    if (row.stamp != stamp) FillTerms(row, iy, static_cast<double>(halfH), horizontal);
    c = MixTerms(column, row, corner);
    out[i] = c;
  }
  lastFieldColor = c;
}

}  // namespace quillo
