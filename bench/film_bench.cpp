// A replay video end to end: a 6000-entry log of pattern strokes at 1024 x 768 filmed
// at 30 frames a second into an MP4. The peer is the video's own running time: the
// ratio says how many times faster than real time the file is written, against the
// clock as the machine is shared, and with its two cores to itself (the processor time
// of every thread over two). The processor time is split between the engine's replay
// ticks and the encoder, its calls and its own threads.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "app/program.h"
#include "bench_platform.h"
#include "log/replay_film.h"
#include "platform/video/video_encoder.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int32_t kEntries = 6000;

struct Session {
  BenchPlatform platform{{kWidth, kHeight}};
  Program program{platform, "/nonexistent/"};
  Session() {
    program.Create();
    program.startScreen.GoStraightToDrawing();
    program.main.HideBottomPanels();
  }
};

// A point on a slow Lissajous path over the screen, as a hand might wander.
Point Wander(int i) {
  const double t = i * 0.013;
  return Point{static_cast<int32_t>(512 + 420 * std::sin(1.3 * t)),
               static_cast<int32_t>(384 + 300 * std::sin(1.7 * t + 0.4))};
}

// Strokes of four pattern tools by turns, a new press now and then, up to 6000 entries.
LoadedLog PatternLog() {
  Session s;
  Program& p = s.program;
  p.specs.a[0] = 7;
  p.specs.b[0] = 5;
  const uint8_t tools[] = {dtwave, dtNuwave, dtNuWaveSpecial, dtTwister};
  for (int i = 0; p.log.Count() < kEntries; ++i) {
    if (i % 500 == 0) p.toolSelection.SelectTool(tools[(i / 500) % 4]);
    p.RecordAction(Wander(i), i % 40 == 0 ? lgmoused : lgmousem, i % 40 == 0 ? 0 : 2);
  }
  return CopyOfLog(p.log);
}

// CPU seconds: of the whole process (every thread), or of the calling thread.
double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_ReplayVideoMp4(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const LoadedLog log = PatternLog();
  const FilmTiming timing;  // 30 fps, two seconds of hold
  const std::string path =
      (std::filesystem::temp_directory_path() / "quillo-film-bench.mp4").string();
  double wall = 0, video = 0, cpu = 0, engineCpu = 0;
  for (auto _ : state) {
    Session s;
    StartLoadedReplay(s.program, log, 2);
    VideoEncoder out;
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    const double threadStart = ThreadCpuSeconds();
    double threadInEncoder = 0;
    auto encoderCall = [&](auto call) {
      const double t = ThreadCpuSeconds();
      const bool ok = !call();
      threadInEncoder += ThreadCpuSeconds() - t;
      return ok;
    };
    if (!encoderCall([&] { return out.Open(path, kWidth, kHeight, timing.fps); })) {
      state.SkipWithError("the video could not be opened");
      return;
    }
    int64_t frames = 0;
    const bool filmed = FilmReplay(s.program, timing, [&](const Surface& frame) {
      ++frames;
      return encoderCall([&] { return out.AddFrame(frame); });
    });
    if (!filmed || !encoderCall([&] { return out.Finish(); })) {
      state.SkipWithError("the video was not written");
      return;
    }
    wall += std::chrono::duration<double>(Clock::now() - start).count();
    cpu += ProcessCpuSeconds() - cpuStart;
    engineCpu += ThreadCpuSeconds() - threadStart - threadInEncoder;
    video += static_cast<double>(frames) / timing.fps;
  }
  std::filesystem::remove(path);
  state.counters["video_s"] = video / static_cast<double>(state.iterations());
  // Against the clock, on the machine as it is shared at the time.
  state.counters["x_real_time"] = video / wall;
  // The same with the two cores to itself: the work of every thread over two.
  state.counters["x_real_time_2_cores"] = video / (cpu / 2);
  // Of all the processor time, the share of the replay's ticks and of the encoder.
  state.counters["engine_share"] = engineCpu / cpu;
  state.counters["encoder_share"] = 1 - engineCpu / cpu;
}
BENCHMARK(BM_ReplayVideoMp4)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace quillo
