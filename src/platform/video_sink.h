#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace quillo {

class Surface;

// The kinds of video file a replay can be filmed into.
enum class VideoKind : uint8_t { kMp4, kWebm, kGif };

// Takes frames of one size into a video file of one kind. The file appears only when
// Finish succeeds; a cancelled or failed file leaves nothing behind. Every failure is
// a message naming the file and the fault.
class VideoSink {
 public:
  virtual ~VideoSink() = default;

  // Starts a file of frames width x height, fps frames a second.
  virtual std::optional<std::string> Open(const std::string& path, VideoKind kind, int32_t width,
                                          int32_t height, int32_t fps) = 0;
  // Adds the next frame; it must have the size given to Open.
  virtual std::optional<std::string> AddFrame(const Surface& frame) = 0;
  // Writes what is left and puts the file in its place; stops, dropping the file, as
  // soon as cancel becomes true.
  virtual std::optional<std::string> Finish(const std::atomic<bool>* cancel = nullptr) = 0;
  // Drops the file.
  virtual void Cancel() = 0;
};

}  // namespace quillo
