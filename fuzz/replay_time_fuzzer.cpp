// A replay file played on the reference screen of 1024 x 768, one entry a tick: no
// entry may take longer than a user can wait for a move, 100 ms in a release build.
//
// The sanitisers slow everything down several times over, and not by a fixed factor
// from one machine to the next, so the bound is a ratio: an entry may cost at most
// kBudgetOverReference times a reference drawing timed in the same process, the same
// wide figure in xor, in merge and in not-merge, the three ways the figures are drawn
// in one pass. In a release build on the development machine the reference takes
// about 2.5 ms (0.3, 0.8 and 1.4), so the ratio stands for 100 ms there. The
// sanitisers slow the reference about 6 times and the slowest entries found, wide
// figures in merge, about 9 times, so for those the ratio stands for some 65 ms.
// Times are the thread's CPU time, so a busy machine does not count.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "fuzz_support.h"
#include "log/open_log.h"
#include "platform/raster/figure_pass.h"

using namespace quillo;

namespace {

constexpr ScreenSize kScreen{1024, 768};
constexpr double kBudgetOverReference = 40;

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The least time of a few runs of the reference drawing: 64 lines round a circle with
// a pen of 256, in xor, merge and not-merge in turn, on a grid of the screen's size.
// (Xor alone grew faster than the rest, and the budget with it too strict.)
double ReferenceSeconds() {
  std::vector<uint32_t> bits(static_cast<size_t>(kScreen.width) * kScreen.height, 0xFF000000u);
  std::vector<raster::FigurePrimitive> parts;
  Point from{712, 384};
  for (int i = 1; i <= 64; ++i) {
    const double a = i * 6.283185307179586 / 64;
    const Point to{512 + static_cast<int32_t>(std::lround(200 * std::cos(a))),
                   384 + static_cast<int32_t>(std::lround(200 * std::sin(a)))};
    parts.push_back(raster::FigurePrimitive{false, from, to, 0xFF000000u | (i * 0x050301u)});
    from = to;
  }
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    const double t0 = ThreadSeconds();
    for (const PenMode mode : {PenMode::kXor, PenMode::kMerge, PenMode::kNotMerge}) {
      const raster::FigureStyle style{mode, 256, 0, false};
      raster::DrawFigurePass({bits.data(), kScreen.width, kScreen.height}, parts, style);
    }
    best = std::min(best, ThreadSeconds() - t0);
  }
  return best;
}

struct ScreenProgram {
  ScreenPlatform platform{kScreen};
  std::unique_ptr<Program> program;
  double budget = 0;

  ScreenProgram() {
    program = std::make_unique<Program>(platform, "/nonexistent/quillo-fuzz/");
    program->StartUpHeadless();
    const double reference = ReferenceSeconds();
    budget = kBudgetOverReference * reference;
    std::fprintf(stderr, "quillo fuzz: the reference takes %.2f ms, an entry may take %.1f ms\n",
                 reference * 1e3, budget * 1e3);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScreenProgram run;
  Program& p = *run.program;
  p.startScreen.GoStraightToDrawing();
  p.tools = ToolState{};
  const std::string path = fuzz::WriteInput("replay-time.qlr", data, size);
  if (!OpenLogFile(p, path)) return 0;
  p.replay.StartReplay();
  p.replayState.batch = 0;
  for (int64_t tick = 0; tick < int64_t{kLogCapacity} + 16 && p.Replaying(); ++tick) {
    const int32_t entry = p.log.position + 1;
    const double t0 = ThreadSeconds();
    p.replay.ReplayTick();
    const double spent = ThreadSeconds() - t0;
    if (spent > run.budget) {
      std::fprintf(stderr, "quillo fuzz: entry %d took %.1f ms, the budget is %.1f ms\n", entry,
                   spent * 1e3, run.budget * 1e3);
      fuzz::Fail("one entry takes longer than a user can wait for a move");
    }
  }
  return 0;
}
