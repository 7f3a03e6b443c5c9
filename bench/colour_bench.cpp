// Painting the whole colour field at 1920 x 1080 as the editor does (without its
// event rounds) against the plain evaluation of every pixel, in one run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "colour/colour_field.h"
#include "colour/field_painter.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

ColourField MakeField(bool centre) {
  ColourField field;
  field.SetEditorSize(kWidth, kHeight);
  field.centerMode = centre;
  field.corner = Rgb(20, 40, 250);
  field.vertical = Rgb(250, 30, 10);
  field.horizontal = Rgb(10, 240, 60);
  return field;
}

void BM_FieldPerPixel(benchmark::State& state) {
  ColourField field = MakeField(state.range(0) != 0);
  Surface surface;
  surface.Resize(kWidth, kHeight);
  for (auto _ : state) {
    uint32_t* px = surface.Bits();
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x)
        *px++ = ToPixel(field.FieldColorValue(x, y));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FieldPerPixel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FieldPainter(benchmark::State& state) {
  ColourField field = MakeField(state.range(0) != 0);
  Surface surface;
  surface.Resize(kWidth, kHeight);
  for (auto _ : state) {
    FieldPainter painter(field);
    for (int32_t y = 0; y < painter.Height(); ++y)
      painter.PaintRow(surface, y);
    benchmark::ClobberMemory();
  }
  // Every pixel must be what the evaluation gives.
  ColourField check = MakeField(state.range(0) != 0);
  for (int32_t y = 0; y < kHeight; y += 7)
    for (int32_t x = 0; x < kWidth; x += 3)
      if (surface.Pixel({x, y}) != check.FieldColorValue(x, y)) {
        state.SkipWithError("the painted field differs from the evaluation");
        return;
      }
}
BENCHMARK(BM_FieldPainter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo
