#include "colour/field_painter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/raster/pixel_ops.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

// Every pixel of the painted field against the per-pixel evaluation.
void ExpectSameAsEvaluation(ColourField field) {
  ColourField reference = field;
  FieldPainter painter(field);
  ASSERT_EQ(painter.Width(), reference.editorWidth);
  std::vector<uint32_t> row(painter.Width());
  for (int32_t y = 0; y < painter.Height(); ++y) {
    painter.Row(y, row.data());
    for (int32_t x = 0; x < painter.Width(); ++x)
      ASSERT_EQ(FromPixel(row[x]), reference.FieldColorValue(x, y))
          << x << "," << y << " centre " << field.centerMode;
  }
}

TEST(FieldPainterTest, EqualsTheEvaluationInBothLayouts) {
  std::mt19937 random(7);
  const int32_t sizes[][2] = {{1024, 768}, {1366, 768}, {333, 211}, {7, 3}, {2, 2}};
  for (const auto& size : sizes) {
    for (int layout = 0; layout < 2; ++layout) {
      ColourField field;
      field.SetEditorSize(size[0], size[1]);
      field.centerMode = layout == 1;
      field.corner = random() & 0xFFFFFF;
      field.vertical = random() & 0xFFFFFF;
      field.horizontal = random() & 0xFFFFFF;
      ExpectSameAsEvaluation(field);
    }
  }
  ColourField defaults;
  defaults.SetEditorSize(1920, 1080);
  ExpectSameAsEvaluation(defaults);
}

TEST(FieldPainterTest, MirroredRowsOnASurfaceEqualTheEvaluation) {
  for (const auto& size : {std::pair{101, 77}, std::pair{64, 48}}) {
    for (bool centre : {false, true}) {
      ColourField field;
      field.SetEditorSize(size.first, size.second);
      field.centerMode = centre;
      field.vertical = Rgb(200, 10, 90);
      Surface surface;
      ASSERT_TRUE(surface.Resize(size.first, size.second));
      FieldPainter painter(field);
      for (int32_t y = 0; y < painter.Height(); ++y)
        painter.PaintRow(surface, y);
      ColourField reference = field;
      for (int32_t y = 0; y < size.second; ++y)
        for (int32_t x = 0; x < size.first; ++x)
          ASSERT_EQ(surface.Pixel({x, y}), reference.FieldColorValue(x, y)) << x << "," << y;
    }
  }
}

TEST(FieldPainterTest, FieldTooLowToEvaluateRepeatsTheLastColour) {
  ColourField field;
  field.SetEditorSize(300, 1);
  field.lastFieldColor = Rgb(1, 2, 3);
  FieldPainter painter(field);
  std::vector<uint32_t> row(300);
  painter.Row(0, row.data());
  EXPECT_EQ(FromPixel(row[0]), Rgb(1, 2, 3));
  EXPECT_EQ(FromPixel(row[299]), Rgb(1, 2, 3));
}

TEST(FieldPainterTest, PaintsOnlyWithinTheSurface) {
  ColourField field;
  field.SetEditorSize(64, 48);
  Surface small;
  ASSERT_TRUE(small.Resize(40, 30));
  FieldPainter painter(field);
  for (int32_t y = 0; y < painter.Height(); ++y)
    painter.PaintRow(small, y);
  ColourField reference = field;
  EXPECT_EQ(small.Pixel({39, 29}), reference.FieldColorValue(39, 29));
  EXPECT_EQ(small.Pixel({0, 0}), reference.FieldColorValue(0, 0));
}

// Between rows the program handles pending events: a key colour, a switch of layout
// or a stroke on the canvas may come in. Each row is still the field as it stands
// when that row is painted, and nothing drawn meanwhile is copied into later rows.
TEST(FieldPainterTest, RowsFollowChangesMadeBetweenThem) {
  constexpr int32_t kW = 96, kH = 64;
  ColourField field;
  field.SetEditorSize(kW, kH);
  Surface surface;
  ASSERT_TRUE(surface.Resize(kW, kH));
  std::vector<ColourField> asPainted;
  FieldPainter painter(field);
  for (int32_t y = 0; y < painter.Height(); ++y) {
    if (y == 10) field.vertical = Rgb(250, 200, 0);
    if (y == 20) field.centerMode = true;
    if (y == 40) field.corner = Rgb(9, 99, 199);
    if (y == 50) field.centerMode = false;
    // A stroke across rows already painted, in the upper half the lower mirrors.
    if (y == 33) surface.FillRect(Rect{0, 0, kW, 32}, Rgb(255, 255, 255));
    asPainted.push_back(field);
    painter.PaintRow(surface, y);
  }
  ASSERT_EQ(asPainted.size(), size_t{kH});
  for (int32_t y = 32; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      ASSERT_EQ(surface.Pixel({x, y}), asPainted[y].FieldColorValue(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace quillo
