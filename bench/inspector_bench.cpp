// The log inspector's list: appending the lines of a whole log (60,000 entries)
// against a memcpy of the same number of bytes, and the memory the list holds per
// line, counted by the allocator as the list fills.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstring>
#include <memory>
#include <vector>

#include "log/action_log.h"
#include "log/inspector_list.h"
#include "run_pair.h"

namespace quillo {
namespace {

constexpr int32_t kLogLines = 60000;

InspectorLine LineOf(int32_t i) {
  InspectorLine l;
  l.position = i;
  l.code = static_cast<uint8_t>(i & 15);
  l.x = i % 1920;
  l.y = i % 1080;
  l.value = static_cast<int32_t>(static_cast<uint32_t>(i) * 65536u + 7u);
  return l;
}

void BM_InspectorAppend(benchmark::State& state) {
  std::vector<InspectorLine> source;
  for (int32_t i = 0; i < kLogLines; ++i)
    source.push_back(LineOf(i));
  std::vector<InspectorLine> copy(source.size());
  RunPair(
      state,
      [&] {
        std::memcpy(copy.data(), source.data(), source.size() * sizeof(InspectorLine));
        benchmark::ClobberMemory();
      },
      [&] {
        InspectorList list;
        for (const InspectorLine& l : source)
          list.push_back(l);
        benchmark::DoNotOptimize(list[list.size() - 1]);
      });
  state.counters["lines_per_s"] = kLogLines / (state.counters["quillo_us"] * 1e-6);
}
BENCHMARK(BM_InspectorAppend)->Unit(benchmark::kMicrosecond);

// The bytes the allocator has handed out and not taken back, in its heap and in
// mappings of their own.
size_t BytesInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

// The bytes the list holds per line at the size of a whole log, and at the bound.
void BM_InspectorMemoryPerLine(benchmark::State& state) {
  const auto lines = static_cast<int32_t>(state.range(0));
  double perLine = 0;
  for (auto _ : state) {
    const size_t before = BytesInUse();
    auto list = std::make_unique<InspectorList>();
    for (int32_t i = 0; i < lines; ++i)
      list->push_back(LineOf(i));
    perLine = static_cast<double>(BytesInUse() - before) / lines;
    benchmark::DoNotOptimize(list.get());
  }
  state.counters["bytes_per_line"] = perLine;
  state.counters["line_size"] = sizeof(InspectorLine);
}
BENCHMARK(BM_InspectorMemoryPerLine)
    ->Arg(kLogLines)
    ->Arg(static_cast<int64_t>(InspectorList::kMaxLines))
    ->Unit(benchmark::kMillisecond);

// Appending through the recorder, as the program does: 60,000 entries into a log.
void BM_RecordWholeLog(benchmark::State& state) {
  RecordContext ctx;
  for (auto _ : state) {
    auto log = std::make_unique<ActionLog>();
    for (int32_t i = 0; i < kLogLines; ++i) {
      ctx.reference = Point{i % 1920, i % 1080};
      ctx.currentPoint = ctx.reference;
      log->Record(true, lgmousem, 2, ctx);
    }
    benchmark::DoNotOptimize(log->Lines().size());
  }
  state.counters["entries_per_s"] =
      benchmark::Counter(kLogLines, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RecordWholeLog)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillo
