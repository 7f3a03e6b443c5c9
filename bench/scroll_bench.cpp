// The wrap-around scroll of drag and fly screen at 1920 x 1080: one step against one
// full-screen memcpy of the same bytes, for a diagonal shift (rows moved along the
// vertical rotation's cycles), a shift of half the height (the most cycles) and a
// purely horizontal shift (each row rotated in place).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "canvas/wrap_scroll.h"
#include "platform/raster/surface.h"
#include "run_pair.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

void BM_WrapScrollStep(benchmark::State& state) {
  const int64_t dx = state.range(0);
  const int64_t dy = state.range(1);
  Surface canvas;
  canvas.Resize(kWidth, kHeight);
  canvas.FillRect(canvas.Bounds(), 0x336699);
  Surface copy;
  copy.Resize(kWidth, kHeight);
  const size_t bytes = size_t(kWidth) * kHeight * sizeof(uint32_t);
  std::vector<uint32_t> scratch;
  RunPair(
      state,
      [&] {
        std::memcpy(copy.Bits(), canvas.Bits(), bytes);
        benchmark::ClobberMemory();
      },
      [&] {
        WrapPixels(canvas, kWidth, kHeight, dx, dy, scratch);
        benchmark::ClobberMemory();
      });
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_WrapScrollStep)
    ->Args({7, 5})
    ->Args({-3, kHeight / 2})
    ->Args({11, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillo
