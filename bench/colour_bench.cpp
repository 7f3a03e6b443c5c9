// Painting the whole colour field at 1920 x 1080 as the editor does (without its
// event rounds) against the plain evaluation of every pixel, in one run. The painter
// reports "plain/painter": the plain evaluation's time over its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "colour/colour_field.h"
#include "colour/field_painter.h"
#include "platform/raster/pixel_ops.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

// Seconds per whole field of the plain evaluation, by layout (0 corner, 1 centre).
double plainSeconds[2] = {};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

ColourField MakeField(bool centre) {
  ColourField field;
  field.SetEditorSize(kWidth, kHeight);
  field.centerMode = centre;
  field.corner = Rgb(20, 40, 250);
  field.vertical = Rgb(250, 30, 10);
  field.horizontal = Rgb(10, 240, 60);
  return field;
}

// The field's formula evaluated afresh at one pixel, in double precision: the three
// weights, the channel sums, rounding halves to even and saturation at 255.
uint32_t PlainFieldPixel(const ColourField& f, int32_t x, int32_t y) {
  const double w2 = f.fieldHalfWidth;
  const double h2 = f.fieldHalfHeight;
  const double ax = std::fabs(x - w2);
  const double ay = std::fabs(y - h2);
  const double wv = f.centerMode ? ax / w2 : (w2 - ax) / w2;
  const double wh = f.centerMode ? ay / h2 : (h2 - ay) / h2;
  const double wc =
      f.centerMode ? std::min((w2 - ax) / w2, (h2 - ay) / h2) : std::min(ax / w2, ay / h2);
  const auto channel = [&](int32_t v, int32_t h, int32_t c) {
    const double t = std::nearbyint(wv * v + wh * h + wc * c);
    return static_cast<uint32_t>(std::clamp(t, 0.0, 255.0));
  };
  const uint32_t r = channel(RedOf(f.vertical), RedOf(f.horizontal), RedOf(f.corner));
  const uint32_t g = channel(GreenOf(f.vertical), GreenOf(f.horizontal), GreenOf(f.corner));
  const uint32_t b = channel(BlueOf(f.vertical), BlueOf(f.horizontal), BlueOf(f.corner));
  return 0xFF000000u | r << 16 | g << 8 | b;
}

void BM_FieldPerPixel(benchmark::State& state) {
  const ColourField field = MakeField(state.range(0) != 0);
  Surface surface;
  surface.Resize(kWidth, kHeight);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    uint32_t* px = surface.Bits();
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x)
        *px++ = PlainFieldPixel(field, x, y);
    benchmark::ClobberMemory();
  }
  plainSeconds[state.range(0)] = SecondsSince(start) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FieldPerPixel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FieldPainter(benchmark::State& state) {
  ColourField field = MakeField(state.range(0) != 0);
  Surface surface;
  surface.Resize(kWidth, kHeight);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    FieldPainter painter(field);
    for (int32_t y = 0; y < painter.Height(); ++y)
      painter.PaintRow(surface, y);
    benchmark::ClobberMemory();
  }
  state.counters["plain/painter"] =
      plainSeconds[state.range(0)] * static_cast<double>(state.iterations()) / SecondsSince(start);
  // Every pixel must be what the plain evaluation gives.
  const ColourField check = MakeField(state.range(0) != 0);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x)
      if (surface.Bits()[y * kWidth + x] != PlainFieldPixel(check, x, y)) {
        state.SkipWithError("the painted field differs from the plain evaluation");
        return;
      }
}
BENCHMARK(BM_FieldPainter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo
