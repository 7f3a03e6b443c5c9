// Wide pens at 1920 x 1080: one move of each pattern tool's figure, in copy, xor,
// merge and not-merge at widths 32, 256, 512 and 1024 (and the CPU figure in not-mask
// and mask-pen-not), against a memcpy of the whole surface, by turns in every iteration.
// Reports "move_ms", "memcpy_ms" and "move_over_memcpy": the move's time over its peer's.
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
  WideStroke stroke(tool, static_cast<int32_t>(state.range(0)), mode);
  std::vector<uint32_t> from(static_cast<size_t>(kWidth) * kHeight, 0xFF102030u);
  std::vector<uint32_t> to(from.size());
  if (stroke.surface.Width() != kWidth) {
    state.SkipWithError("no surface");
    return;
  }
  using Clock = std::chrono::steady_clock;
  Clock::duration moveTime{}, copyTime{};
  stroke.Draw();
  for (auto _ : state) {
    const auto t0 = Clock::now();
    stroke.Draw();
    const auto t1 = Clock::now();
    std::memcpy(to.data(), from.data(), sizeof(uint32_t) * from.size());
    benchmark::DoNotOptimize(to.data());
    const auto t2 = Clock::now();
    moveTime += t1 - t0;
    copyTime += t2 - t1;
  }
  const auto n = static_cast<double>(state.iterations());
  const auto ms = [n](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count() / n;
  };
  state.counters["move_ms"] = ms(moveTime);
  state.counters["memcpy_ms"] = ms(copyTime);
  state.counters["move_over_memcpy"] = ms(moveTime) / ms(copyTime);
}

// Each figure in copy, xor, merge and not-merge (a mode that turns bits over as well
// as setting them), at widths 32, 256, 512 and 1024.
#define QUILLO_WIDE_PEN(name, tool)                                                 \
  BENCHMARK_CAPTURE(BM_WidePen, name##Copy, tool, PenMode::kCopy)->Apply(Widths);   \
  BENCHMARK_CAPTURE(BM_WidePen, name##Xor, tool, PenMode::kXor)->Apply(Widths);     \
  BENCHMARK_CAPTURE(BM_WidePen, name##Merge, tool, PenMode::kMerge)->Apply(Widths); \
  BENCHMARK_CAPTURE(BM_WidePen, name##NotMerge, tool, PenMode::kNotMerge)->Apply(Widths);

void Widths(benchmark::internal::Benchmark* b) {
  b->Arg(32)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
}

QUILLO_WIDE_PEN(Cpu, dtwave3)
QUILLO_WIDE_PEN(Twister, dtTwister)
QUILLO_WIDE_PEN(DoLoop, dtwave4)
QUILLO_WIDE_PEN(Web, dtNuwave)
QUILLO_WIDE_PEN(Waves, dtwave)
QUILLO_WIDE_PEN(Bios, dtBios)

#undef QUILLO_WIDE_PEN

// Not-merge's kin, where the pen's zeros rather than its ones set bits, on the figure
// that overlaps most.
BENCHMARK_CAPTURE(BM_WidePen, CpuNotMask, dtwave3, PenMode::kNotMask)->Apply(Widths);
BENCHMARK_CAPTURE(BM_WidePen, CpuMaskPenNot, dtwave3, PenMode::kMaskPenNot)->Apply(Widths);

}  // namespace
}  // namespace quillo
