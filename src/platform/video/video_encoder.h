#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/video_sink.h"

namespace quillo {

// Writes frames of one size into a video file with FFmpeg's libraries: MP4 (H.264,
// yuv420p), WebM (VP9) or an animated GIF with a palette made from all its frames.
// The file is written beside its place under a temporary name.
class VideoEncoder : public VideoSink {
 public:
  VideoEncoder();
  ~VideoEncoder() override;  // cancels an unfinished file
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Sides that the codec needs even are padded with one black pixel.
  std::optional<std::string> Open(const std::string& path, VideoKind kind, int32_t width,
                                  int32_t height, int32_t fps) override;
  std::optional<std::string> AddFrame(const Surface& frame) override;
  // A GIF's frames are mapped to their palette here, a second pass over them.
  std::optional<std::string> Finish(const std::atomic<bool>* cancel = nullptr) override;
  void Cancel() override;

 private:
  std::optional<std::string> Start(const std::string& path, VideoKind kind, int32_t width,
                                   int32_t height, int32_t fps);
  std::optional<std::string> Write(const Surface& frame);
  std::optional<std::string> Close(const std::atomic<bool>* cancel);

  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quillo
