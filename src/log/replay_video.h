#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "log/replay_film.h"
#include "platform/video_sink.h"

namespace quillo {

class Program;

// How writing a replay video ended, with the message for the user unless written.
// What became of a video, with the message that says so: where the file is, or why
// there is none.
struct ReplayVideoResult {
  enum Outcome : uint8_t { kWritten, kCancelled, kFailed } outcome = kWritten;
  std::string message;
};

// Films the replay running in program through video into path (MP4, WebM or GIF by
// its ending) at the canvas's size. Stops as soon as cancel becomes true; a cancelled
// or failed video leaves no file.
ReplayVideoResult WriteReplayVideo(Program& program, VideoSink& video, const FilmTiming& timing,
                                   const std::string& path, const FilmProgress& progress = {},
                                   const std::atomic<bool>* cancel = nullptr);

}  // namespace quillo
