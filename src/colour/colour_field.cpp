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

}  // namespace quillo
