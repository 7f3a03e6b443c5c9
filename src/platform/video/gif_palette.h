#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/video/av_handles.h"

namespace quillo {

class Surface;

// The frames of an animated GIF on their way to one palette made from all of them:
// each frame's colours are counted as it comes, and the rectangle in which it differs
// from the frame before is kept in a temporary file. Once the palette is known the
// frames come back, in order, mapped to it with error diffusion.
class GifPalette {
 public:
  // The message when the temporary file or the counting filter cannot be made.
  std::optional<std::string> Open(int32_t width, int32_t height, int32_t fps);
  std::optional<std::string> Add(const Surface& frame);

  // Called with each frame in palette form; a message stops the replay of frames.
  using Sink = std::function<std::optional<std::string>(AVFrame* frame)>;
  // Makes the palette and hands every frame added to sink.
  std::optional<std::string> Replay(const Sink& sink);

 private:
  struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };

  // A BGRA frame holding the pixels of the current frame.
  AvFrame CurrentFrame(int64_t pts) const;

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t fps_ = 0;
  int64_t frames_ = 0;
  std::vector<uint32_t> current_;  // the last frame added, or read back
  std::unique_ptr<std::FILE, FileClose> spool_;
  AvGraph counting_;
  AVFilterContext* count_in_ = nullptr;
  AVFilterContext* count_out_ = nullptr;
};

}  // namespace quillo
