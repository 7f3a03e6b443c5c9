#pragma once

#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

namespace quillo {

// Owning handles of FFmpeg's objects, freed by FFmpeg's own functions.
struct AvFrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct AvPacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct AvCodecFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct AvGraphFree {
  void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
using AvFrame = std::unique_ptr<AVFrame, AvFrameFree>;
using AvPacket = std::unique_ptr<AVPacket, AvPacketFree>;
using AvCodec = std::unique_ptr<AVCodecContext, AvCodecFree>;
using AvGraph = std::unique_ptr<AVFilterGraph, AvGraphFree>;

// FFmpeg's text for an error code.
inline std::string AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// A frame with its own pixels; nothing when FFmpeg cannot allocate them.
inline AvFrame MakeFrame(int format, int width, int height) {
  AvFrame frame(av_frame_alloc());
  if (!frame) return nullptr;
  frame->format = format;
  frame->width = width;
  frame->height = height;
  if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
  return frame;
}

}  // namespace quillo
