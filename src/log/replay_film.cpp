#include "log/replay_film.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "app/program.h"

namespace quillo {
namespace {

constexpr int64_t kTicksPerSecond = 1000 / kTickMillis;

// The end of a film is found by the replay itself; a replay that would not stop
// (it cannot with its loop off) is cut off after this many ticks.
constexpr int64_t kTickLimit = int64_t{kLogCapacity} + 16;

bool EndsWith(const std::string& s, const std::string& end) {
  if (s.size() < end.size()) return false;
  return std::equal(end.rbegin(), end.rend(), s.rbegin(), [](char a, char b) {
    return a == std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

int64_t ReplayTickCount(int32_t length, int32_t batch) {
  // The step past the last entry stops the replay; the positions go up by one a
  // step and batch + 1 steps make a tick.
  const int64_t stoppingStep = int64_t{length} + 1;
  const int64_t perTick = int64_t{batch} + 1;
  return std::max<int64_t>(1, (stoppingStep + perTick - 1) / perTick);
}

int64_t TicksAtFrame(int64_t frame, int32_t fps) {
  return frame * kTicksPerSecond / fps;
}

int64_t FilmFrameCount(int64_t ticks, const FilmTiming& timing) {
  const int64_t finished = (ticks * timing.fps + kTicksPerSecond - 1) / kTicksPerSecond;
  const int64_t hold = std::max<int64_t>(1, std::llround(timing.holdSeconds * timing.fps));
  return finished + hold;
}

LoadedLog CopyOfLog(const ActionLog& log) {
  LoadedLog copy;
  copy.count = std::clamp(log.Count(), 0, kLogCapacity);
  const auto end = static_cast<size_t>(copy.count) + 1;
  copy.codes.assign(log.Codes().begin(), log.Codes().begin() + end);
  copy.values.assign(log.Values().begin(), log.Values().begin() + end);
  // The film fits the recording into its frame as the window's replay does.
  copy.recordedSize = log.recordedSize;
  return copy;
}

void StartLoadedReplay(Program& program, const LoadedLog& log, int32_t batch) {
  ApplyLoadedLog(program.log, log);
  program.replayState.length = program.log.Count();
  program.replay.StartReplay();
  program.replayState.batch = batch;
}

bool FilmReplay(Program& program, const FilmTiming& timing, const FrameSink& sink,
                const FilmProgress& progress) {
  const Surface& canvas = program.main.images.canvas;
  const ReplayState& r = program.replayState;
  const int64_t expected =
      FilmFrameCount(ReplayTickCount(std::max(r.length, program.log.Count()), r.batch), timing);
  int64_t frame = 0;
  auto emit = [&] {
    if (!sink(canvas)) return false;
    ++frame;
    if (progress) progress(std::min(1.0, static_cast<double>(frame) / expected));
    return true;
  };

  int64_t ticks = 0;
  for (bool running = true; running;) {
    const int64_t due = TicksAtFrame(frame, timing.fps);
    while (ticks < due && program.Replaying() && ticks < kTickLimit) {
      program.replay.ReplayTick();
      ++ticks;
    }
    // The frame that first shows the finished picture is the first of the hold.
    running = program.Replaying() && ticks < kTickLimit;
    if (!emit()) return false;
  }
  const int64_t hold = std::max<int64_t>(1, std::llround(timing.holdSeconds * timing.fps));
  for (int64_t i = 1; i < hold; ++i)
    if (!emit()) return false;
  return true;
}

std::optional<VideoKind> VideoKindOf(const std::string& path) {
  if (EndsWith(path, ".mp4")) return VideoKind::kMp4;
  if (EndsWith(path, ".webm")) return VideoKind::kWebm;
  if (EndsWith(path, ".gif")) return VideoKind::kGif;
  return std::nullopt;
}

void AskForReplayVideo(Program& program) {
  const FileDialogSpec spec{
      "MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|*.webm|Animated GIF (*.gif)|*.gif", "mp4", false,
      true, FileKind::kVideos};
  const std::optional<std::string> path = program.platform.SaveFileName(spec);
  if (!path) return;
  if (!VideoKindOf(*path)) {
    program.platform.ShowError(
        Arg(program.Tr("Cannot save the replay as \"%1\": the name must end in %2, %3 or %4."),
            {*path, ".mp4", ".webm", ".gif"}));
    return;
  }
  program.requests.saveVideo = *path;
}

}  // namespace quillo
