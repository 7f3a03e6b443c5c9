#include "platform/video/gif_palette.h"

#include <algorithm>
#include <array>
#include <cstring>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

#include "platform/raster/surface.h"

namespace quillo {
namespace {

// The palette's size is FFmpeg's: 256 colours, one of them kept for transparency.
constexpr const char* kPaletteUse = "dither=sierra2_4a:diff_mode=rectangle";

struct Box {
  int32_t x = 0, y = 0, w = 0, h = 0;
};

// Where two frames of the same size differ; empty when they do not.
Box ChangedBox(const uint32_t* a, const uint32_t* b, int32_t width, int32_t height) {
  int32_t top = height, bottom = -1, left = width, right = -1;
  const auto rowBytes = static_cast<size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* ra = a + static_cast<size_t>(y) * width;
    const uint32_t* rb = b + static_cast<size_t>(y) * width;
    if (std::memcmp(ra, rb, rowBytes) == 0) continue;
    top = std::min(top, y);
    bottom = y;
    int32_t l = 0;
    while (ra[l] == rb[l])
      ++l;
    int32_t r = width - 1;
    while (ra[r] == rb[r])
      --r;
    left = std::min(left, l);
    right = std::max(right, r);
  }
  if (bottom < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

AVFilterContext* AddFilter(AVFilterGraph* graph, const char* filter, const char* name,
                           const std::string& args) {
  AVFilterContext* ctx = nullptr;
  const int err =
      avfilter_graph_create_filter(&ctx, avfilter_get_by_name(filter), name,
                                   args.empty() ? nullptr : args.c_str(), nullptr, graph);
  return err < 0 ? nullptr : ctx;
}

std::string BufferArgs(int32_t width, int32_t height, int32_t fps) {
  return "video_size=" + std::to_string(width) + "x" + std::to_string(height) +
         ":pix_fmt=" + std::to_string(AV_PIX_FMT_BGRA) + ":time_base=1/" + std::to_string(fps) +
         ":pixel_aspect=1/1";
}

}  // namespace

std::optional<std::string> GifPalette::Open(int32_t width, int32_t height, int32_t fps) {
  width_ = width;
  height_ = height;
  fps_ = fps;
  current_.assign(static_cast<size_t>(width) * height, 0);
  spool_.reset(std::tmpfile());
  if (!spool_) return std::string("Cannot make a temporary file for the frames");

  counting_.reset(avfilter_graph_alloc());
  if (!counting_) return std::string("Out of memory");
  AVFilterGraph* g = counting_.get();
  count_in_ = AddFilter(g, "buffer", "frames", BufferArgs(width, height, fps));
  AVFilterContext* gen = AddFilter(g, "palettegen", "palette", "stats_mode=full");
  count_out_ = AddFilter(g, "buffersink", "out", "");
  if (!count_in_ || !gen || !count_out_ || avfilter_link(count_in_, 0, gen, 0) < 0 ||
      avfilter_link(gen, 0, count_out_, 0) < 0 || avfilter_graph_config(g, nullptr) < 0)
    return std::string("Cannot set up the GIF palette filter");
  return std::nullopt;
}

AvFrame GifPalette::CurrentFrame(int64_t pts) const {
  AvFrame frame = MakeFrame(AV_PIX_FMT_BGRA, width_, height_);
  if (!frame) return nullptr;
  const auto rowBytes = static_cast<size_t>(width_) * 4;
  for (int32_t y = 0; y < height_; ++y)
    std::memcpy(frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0],
                current_.data() + static_cast<size_t>(y) * width_, rowBytes);
  frame->pts = pts;
  return frame;
}

std::optional<std::string> GifPalette::Add(const Surface& frame) {
  const Box box = frames_ == 0 ? Box{0, 0, width_, height_}
                               : ChangedBox(frame.Bits(), current_.data(), width_, height_);
  const std::array<int32_t, 4> head{box.x, box.y, box.w, box.h};
  bool written = std::fwrite(head.data(), sizeof head, 1, spool_.get()) == 1;
  for (int32_t y = box.y; written && y < box.y + box.h; ++y) {
    const uint32_t* row = frame.Bits() + static_cast<size_t>(y) * width_ + box.x;
    written =
        std::fwrite(row, 4, static_cast<size_t>(box.w), spool_.get()) == static_cast<size_t>(box.w);
  }
  if (!written) return std::string("Cannot write the temporary file of the frames");
  std::memcpy(current_.data(), frame.Bits(), current_.size() * 4);

  AvFrame counted = CurrentFrame(frames_);
  if (!counted) return std::string("Out of memory");
  // Pushed through the counting filter at once: a frame only added waits in the
  // filter's queue until the palette is asked for, and all of them together are
  // the whole film in memory.
  if (const int err =
          av_buffersrc_add_frame_flags(count_in_, counted.get(), AV_BUFFERSRC_FLAG_PUSH);
      err < 0)
    return "Cannot count the frame's colours: " + AvError(err);
  ++frames_;
  return std::nullopt;
}

std::optional<std::string> GifPalette::Replay(const Sink& sink) {
  if (const int err = av_buffersrc_add_frame(count_in_, nullptr); err < 0)
    return "Cannot make the palette: " + AvError(err);
  AvFrame palette(av_frame_alloc());
  if (!palette) return std::string("Out of memory");
  if (const int err = av_buffersink_get_frame(count_out_, palette.get()); err < 0)
    return "Cannot make the palette: " + AvError(err);
  counting_.reset();

  AvGraph mapping(avfilter_graph_alloc());
  if (!mapping) return std::string("Out of memory");
  AVFilterGraph* g = mapping.get();
  AVFilterContext* in = AddFilter(g, "buffer", "frames", BufferArgs(width_, height_, fps_));
  AVFilterContext* colours =
      AddFilter(g, "buffer", "palette", BufferArgs(palette->width, palette->height, fps_));
  AVFilterContext* use = AddFilter(g, "paletteuse", "map", kPaletteUse);
  AVFilterContext* out = AddFilter(g, "buffersink", "out", "");
  if (!in || !colours || !use || !out || avfilter_link(in, 0, use, 0) < 0 ||
      avfilter_link(colours, 0, use, 1) < 0 || avfilter_link(use, 0, out, 0) < 0 ||
      avfilter_graph_config(g, nullptr) < 0)
    return std::string("Cannot set up the GIF palette filter");
  palette->pts = 0;
  if (av_buffersrc_add_frame(colours, palette.get()) < 0 ||
      av_buffersrc_add_frame(colours, nullptr) < 0)
    return std::string("Cannot use the palette");

  AvFrame mapped(av_frame_alloc());
  if (!mapped) return std::string("Out of memory");
  auto drain = [&]() -> std::optional<std::string> {
    for (;;) {
      const int err = av_buffersink_get_frame(out, mapped.get());
      if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return std::nullopt;
      if (err < 0) return "Cannot map a frame to the palette: " + AvError(err);
      std::optional<std::string> error = sink(mapped.get());
      av_frame_unref(mapped.get());
      if (error) return error;
    }
  };

  std::rewind(spool_.get());
  for (int64_t k = 0; k < frames_; ++k) {
    std::array<int32_t, 4> head{};
    bool read = std::fread(head.data(), sizeof head, 1, spool_.get()) == 1;
    const auto [x, y0, w, h] = head;
    read = read && x >= 0 && y0 >= 0 && w >= 0 && h >= 0 && x + w <= width_ && y0 + h <= height_;
    for (int32_t y = y0; read && y < y0 + h; ++y)
      read = std::fread(current_.data() + static_cast<size_t>(y) * width_ + x, 4,
                        static_cast<size_t>(w), spool_.get()) == static_cast<size_t>(w);
    if (!read) return std::string("Cannot read the temporary file of the frames back");
    AvFrame frame = CurrentFrame(k);
    if (!frame) return std::string("Out of memory");
    if (const int err = av_buffersrc_add_frame(in, frame.get()); err < 0)
      return "Cannot map a frame to the palette: " + AvError(err);
    if (auto error = drain()) return error;
  }
  if (const int err = av_buffersrc_add_frame(in, nullptr); err < 0)
    return "Cannot map a frame to the palette: " + AvError(err);
  return drain();
}

}  // namespace quillo
