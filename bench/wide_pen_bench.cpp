// Wide pens at 1920 x 1080: a CPU and a DO LOOP figure drawn at pen width 1024 against
// the same figure at width 32, and against a memcpy of the whole surface, all by turns
// in every iteration. Reports "wide_over_narrow" and "wide_over_memcpy": the wide
// figure's time over its peer's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "colour/colour_field.h"
#include "platform/raster/surface.h"
#include "tools/stroke.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr Point kAnchor{960, 540};
constexpr Point kTarget{1260, 740};

// A canvas set up for one tool's strokes at a pen width.
struct WideStroke {
  Surface surface;
  ToolState tools;
  ColourField field;
  StrokeContext ctx{surface, tools, field, kAnchor, kWidth, kHeight};
  PenMode mode;

  WideStroke(uint8_t tool, int32_t penWidth, PenMode penMode) : mode(penMode) {
    field.SetEditorSize(kWidth, kHeight);
    surface.Resize(kWidth, kHeight);
    surface.SetPenWidth(penWidth);
    surface.SetPenColor(0xFFFFFF);
    surface.SetBrushStyle(BrushStyle::kClear);
    tools.tool = tool;
    tools.wild = true;
    tools.colorMode = kColorField;
    tools.specA = 7;
    tools.specB = 5;
  }
  void Draw() {
    DrawToolStroke(ctx, kAnchor, kTarget, mode);
    benchmark::DoNotOptimize(surface.Bits());
  }
};

void BM_WidePen(benchmark::State& state, uint8_t tool, PenMode mode) {
  WideStroke narrow(tool, 32, mode);
  WideStroke wide(tool, 1024, mode);
  std::vector<uint32_t> from(static_cast<size_t>(kWidth) * kHeight, 0xFF102030u);
  std::vector<uint32_t> to(from.size());
  if (wide.surface.Width() != kWidth) {
    state.SkipWithError("no surface");
    return;
  }
  using Clock = std::chrono::steady_clock;
  Clock::duration narrowTime{}, wideTime{}, copyTime{};
  narrow.Draw();
  wide.Draw();
  for (auto _ : state) {
    const auto t0 = Clock::now();
    narrow.Draw();
    const auto t1 = Clock::now();
    wide.Draw();
    const auto t2 = Clock::now();
    std::memcpy(to.data(), from.data(), sizeof(uint32_t) * from.size());
    benchmark::DoNotOptimize(to.data());
    const auto t3 = Clock::now();
    narrowTime += t1 - t0;
    wideTime += t2 - t1;
    copyTime += t3 - t2;
  }
  const auto n = static_cast<double>(state.iterations());
  const auto us = [n](Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count() / n;
  };
  state.counters["narrow_us"] = us(narrowTime);
  state.counters["wide_us"] = us(wideTime);
  state.counters["memcpy_us"] = us(copyTime);
  state.counters["wide_over_narrow"] = us(wideTime) / us(narrowTime);
  state.counters["wide_over_memcpy"] = us(wideTime) / us(copyTime);
}

BENCHMARK_CAPTURE(BM_WidePen, Cpu, dtwave3, PenMode::kCopy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WidePen, DoLoop, dtwave4, PenMode::kCopy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WidePen, CpuXor, dtwave3, PenMode::kXor)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WidePen, DoLoopXor, dtwave4, PenMode::kXor)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WidePen, Twister, dtTwister, PenMode::kCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo
