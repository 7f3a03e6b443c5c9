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
            Arg(program.Tr("Cannot save the replay as \"%1\": the name must end in %2, %3 or %4."),
                {path, ".mp4", ".webm", ".gif"})};
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
  const std::string cancelledMessage =
      Arg(program.Tr("Cancelled: \"%1\" was not written."), {path});
  if (!filmed) {
    encoder.Cancel();
    if (cancelled) return {ReplayVideoResult::kCancelled, cancelledMessage};
    return {ReplayVideoResult::kFailed, failure.value_or("")};
  }
  if (auto error = encoder.Finish(cancel)) {
    if (cancel && cancel->load()) return {ReplayVideoResult::kCancelled, cancelledMessage};
    return {ReplayVideoResult::kFailed, *error};
  }
  return {ReplayVideoResult::kWritten, Arg(program.Tr("The video is saved as \"%1\"."), {path})};
}

}  // namespace quillo
