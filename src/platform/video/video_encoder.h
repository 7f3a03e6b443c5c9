#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillo {

class Surface;

// Writes frames of one size into a video file: MP4 (H.264, yuv420p), WebM (VP9) or
// an animated GIF with a palette made from all its frames, chosen by the name's
// ending. The file is written beside its place under a temporary name and appears
// only when Finish succeeds; a cancelled or failed file leaves nothing behind.
// Every failure is a message naming the file and the fault.
class VideoEncoder {
 public:
  VideoEncoder();
  ~VideoEncoder();  // cancels an unfinished file
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Starts a file of frames width x height, fps frames a second. Sides that the
  // codec needs even are padded with one black pixel.
  std::optional<std::string> Open(const std::string& path, int32_t width, int32_t height,
                                  int32_t fps);
  // Adds the next frame; it must have the size given to Open.
  std::optional<std::string> AddFrame(const Surface& frame);
  // Writes what is left and puts the file in its place. A GIF's frames are mapped to
  // their palette here, a second pass over them; it stops, dropping the file, as soon
  // as cancel becomes true.
  std::optional<std::string> Finish(const std::atomic<bool>* cancel = nullptr);
  // Drops the file.
  void Cancel();

 private:
  std::optional<std::string> Start(const std::string& path, int32_t width, int32_t height,
                                   int32_t fps);
  std::optional<std::string> Write(const Surface& frame);
  std::optional<std::string> Close(const std::atomic<bool>* cancel);

  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quillo
