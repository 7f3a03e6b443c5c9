// A replay video end to end: a 6000-entry log of pattern strokes at 1024 x 768 filmed
// at 30 frames a second into an MP4. The peer is the video's own running time: the
// ratio says how many times faster than real time the file is written, against the
// clock as the machine is shared, and with its two cores to itself (the processor time
// of every thread over two). The processor time is split between the engine's replay
// ticks and the encoder, its calls and its own threads.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "film_source.h"
#include "platform/video/video_encoder.h"

namespace quillo {
namespace {

using namespace bench;

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
    if (!encoderCall(
            [&] { return out.Open(path, VideoKind::kMp4, kWidth, kHeight, timing.fps); })) {
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
