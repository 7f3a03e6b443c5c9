#include "log/replay_video.h"

#include "app/program.h"

namespace quillo {

ReplayVideoResult WriteReplayVideo(Program& program, VideoSink& encoder, const FilmTiming& timing,
                                   const std::string& path, const FilmProgress& progress,
                                   const std::atomic<bool>* cancel) {
  const Surface& canvas = program.main.images.canvas;
  const std::optional<VideoKind> kind = VideoKindOf(path);
  if (!kind)
    return {ReplayVideoResult::kFailed,
            "Cannot write \"" + path + "\": the name must end in .mp4, .webm or .gif"};
  if (auto error = encoder.Open(path, *kind, canvas.Width(), canvas.Height(), timing.fps))
    return {ReplayVideoResult::kFailed, *error};
  std::optional<std::string> failure;
  bool cancelled = false;
  const bool filmed = FilmReplay(
      program, timing,
      [&](const Surface& frame) {
        if (cancel && cancel->load()) {
          cancelled = true;
          return false;
        }
        failure = encoder.AddFrame(frame);
        return !failure;
      },
      progress);
  const std::string cancelledMessage = "Cancelled: \"" + path + "\" was not written";
  if (!filmed) {
    encoder.Cancel();
    if (cancelled) return {ReplayVideoResult::kCancelled, cancelledMessage};
    return {ReplayVideoResult::kFailed, failure.value_or("")};
  }
  if (auto error = encoder.Finish(cancel)) {
    if (cancel && cancel->load()) return {ReplayVideoResult::kCancelled, cancelledMessage};
    return {ReplayVideoResult::kFailed, *error};
  }
  return {ReplayVideoResult::kWritten, "The video is saved as \"" + path + "\"."};
}

}  // namespace quillo
