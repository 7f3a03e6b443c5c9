// An animated GIF against the ffmpeg command line: the same frames (the first ten
// seconds of a pattern log's replay at 1024 x 768, 30 frames a second, kept raw in a
// temporary file) made into a GIF by the video encoder and by `ffmpeg` with the same
// palette and dithering. The ratio is the encoder's processor time, every thread,
// over the command line's; the peak memory of each is reported beside it.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "film_source.h"
#include "platform/video/video_encoder.h"

extern char** environ;

namespace quillo {
namespace {

using namespace bench;

constexpr int64_t kFrames = 300;
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * 4;

// The frames of the replay, BGRA one after another, in a file.
bool FilmRawFrames(const std::string& path) {
  Session s;
  StartLoadedReplay(s.program, PatternLog(), 2);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  int64_t frames = 0;
  FilmReplay(s.program, FilmTiming{}, [&](const Surface& frame) {
    out.write(reinterpret_cast<const char*>(frame.Bits()), kFrameBytes);
    return ++frames < kFrames;
  });
  return out.good() && frames == kFrames;
}

struct ChildCost {
  bool ok = false;
  double cpuSeconds = 0;
  long peakKiB = 0;
};

// Runs the command line and waits for it: its processor time and peak memory.
ChildCost RunCommand(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const std::string& w : words)
    argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return {};
  int status = 0;
  rusage u{};
  if (wait4(pid, &status, 0, &u) != pid) return {};
  return {WIFEXITED(status) && WEXITSTATUS(status) == 0,
          static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
              static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6,
          u.ru_maxrss};
}

void BM_GifAgainstCommandLine(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string raw = (dir / "quillo-gif-bench.raw").string();
  const std::string ours = (dir / "quillo-gif-bench.gif").string();
  const std::string theirs = (dir / "quillo-gif-bench-ffmpeg.gif").string();
  if (!FilmRawFrames(raw)) {
    state.SkipWithError("the frames could not be filmed");
    return;
  }
  double ourCpu = 0, theirCpu = 0;
  long theirPeak = 0;
  for (auto _ : state) {
    const double start = ProcessCpuSeconds();
    VideoEncoder encoder;
    Surface frame;
    std::ifstream in(raw, std::ios::binary);
    bool ok =
        frame.Resize(kWidth, kHeight) && !encoder.Open(ours, VideoKind::kGif, kWidth, kHeight, 30);
    for (int64_t k = 0; ok && k < kFrames; ++k)
      ok = in.read(reinterpret_cast<char*>(frame.Bits()), kFrameBytes) && !encoder.AddFrame(frame);
    ok = ok && !encoder.Finish();
    ourCpu += ProcessCpuSeconds() - start;

    const ChildCost ffmpeg =
        RunCommand({"ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgra", "-s",
                    std::to_string(kWidth) + "x" + std::to_string(kHeight), "-r", "30", "-i", raw,
                    "-filter_complex",
                    "[0:v]split[a][b];[a]palettegen=stats_mode=full[p];"
                    "[b][p]paletteuse=dither=sierra2_4a:diff_mode=rectangle",
                    theirs});
    if (!ok || !ffmpeg.ok) {
      state.SkipWithError("a GIF was not written (is ffmpeg installed?)");
      break;
    }
    theirCpu += ffmpeg.cpuSeconds;
    theirPeak = std::max(theirPeak, ffmpeg.peakKiB);
  }
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  state.counters["cpu_x_ffmpeg"] = ourCpu / theirCpu;
  state.counters["ffmpeg_cpu_s"] = theirCpu / static_cast<double>(state.iterations());
  state.counters["peak_MiB"] = static_cast<double>(self.ru_maxrss) / 1024;
  state.counters["ffmpeg_peak_MiB"] = static_cast<double>(theirPeak) / 1024;
  for (const std::string& path : {raw, ours, theirs})
    std::filesystem::remove(path);
}
BENCHMARK(BM_GifAgainstCommandLine)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

}  // namespace
}  // namespace quillo
