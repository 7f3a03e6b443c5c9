#include "platform/video/video_encoder.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "platform/raster/surface.h"
#include "platform/video/av_handles.h"
#include "platform/video/gif_palette.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

struct Codec {
  const char* muxer;
  const char* encoder;
  AVPixelFormat pixels;
  bool evenSides;
};

Codec CodecFor(VideoKind kind) {
  switch (kind) {
    case VideoKind::kMp4:
      return {"mp4", "libx264", AV_PIX_FMT_YUV420P, true};
    case VideoKind::kWebm:
      return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P, true};
    case VideoKind::kGif:
      break;
  }
  return {"gif", "gif", AV_PIX_FMT_PAL8, false};
}

// Settings for a file that plays everywhere, made fast enough to keep well ahead
// of real time and close enough to the canvas that thin lines keep their colour.
void SetEncoderOptions(VideoKind kind, AVCodecContext* ctx) {
  if (kind == VideoKind::kMp4) {
    av_opt_set(ctx->priv_data, "preset", "veryfast", 0);
    av_opt_set(ctx->priv_data, "crf", "18", 0);
  } else if (kind == VideoKind::kWebm) {
    ctx->bit_rate = 0;
    av_opt_set(ctx->priv_data, "crf", "20", 0);
    av_opt_set(ctx->priv_data, "deadline", "realtime", 0);
    av_opt_set(ctx->priv_data, "cpu-used", "6", 0);
    av_opt_set(ctx->priv_data, "row-mt", "1", 0);
  }
}

// The temporary files of the video writer carry the writing process's id, so a file
// left by a killed export is known as such: ".NAME.quillo-video-PID-N".
constexpr std::string_view kTemporaryTag = ".quillo-video-";

// Removes in folder the temporary files of video writers that no longer run.
void RemoveStaleTemporaries(const fs::path& folder) {
  std::error_code ec;
  std::vector<fs::path> stale;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const size_t tag = name.rfind(kTemporaryTag);
    if (name.empty() || name[0] != '.' || tag == std::string::npos) continue;
    const long pid = std::strtol(name.c_str() + tag + kTemporaryTag.size(), nullptr, 10);
    if (pid <= 0 || pid == getpid()) continue;
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) stale.push_back(it->path());
  }
  for (const fs::path& path : stale)
    fs::remove(path, ec);
}

}  // namespace

struct VideoEncoder::State {
  std::string path;
  std::string temp;
  VideoKind kind = VideoKind::kMp4;
  int32_t width = 0;
  int32_t height = 0;
  int64_t nextPts = 0;
  AVFormatContext* format = nullptr;
  AVStream* stream = nullptr;
  AvCodec codec;
  AvPacket packet;
  AvFrame picture;  // the codec's frame, black where it pads the canvas
  SwsContext* scaler = nullptr;
  GifPalette gif;

  ~State() {
    sws_freeContext(scaler);
    if (format) {
      if (format->pb) avio_closep(&format->pb);
      avformat_free_context(format);
    }
    if (!temp.empty()) unlink(temp.c_str());
  }

  std::string Fault(const std::string& what) const {
    return "Cannot write \"" + path + "\": " + what;
  }

  // Sends a frame (nothing: the end) to the codec and writes the packets it gives.
  std::optional<std::string> Encode(const AVFrame* frame) {
    if (const int err = avcodec_send_frame(codec.get(), frame); err < 0)
      return Fault("the encoder refused a frame (" + AvError(err) + ")");
    for (;;) {
      const int err = avcodec_receive_packet(codec.get(), packet.get());
      if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return std::nullopt;
      if (err < 0) return Fault("the encoder failed (" + AvError(err) + ")");
      av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      if (const int werr = av_interleaved_write_frame(format, packet.get()); werr < 0)
        return Fault(AvError(werr));
    }
  }
};

VideoEncoder::VideoEncoder() = default;
VideoEncoder::~VideoEncoder() = default;

std::optional<std::string> VideoEncoder::Open(const std::string& path, VideoKind kind,
                                              int32_t width, int32_t height, int32_t fps) {
  std::optional<std::string> error = Start(path, kind, width, height, fps);
  if (error) state_.reset();
  return error;
}

std::optional<std::string> VideoEncoder::Start(const std::string& path, VideoKind kind,
                                               int32_t width, int32_t height, int32_t fps) {
  // FFmpeg speaks up about every file it writes; only its errors matter here.
  av_log_set_level(AV_LOG_ERROR);
  state_ = std::make_unique<State>();
  State& s = *state_;
  s.path = path;
  s.width = width;
  s.height = height;
  s.kind = kind;
  const Codec c = CodecFor(s.kind);

  // The temporary file sits beside the final one, so that the rename stays within
  // one file system.
  const fs::path target(path);
  RemoveStaleTemporaries(target.parent_path());
  // Created afresh (never through a link planted at the name), with the modes the
  // user's umask gives any new file.
  const std::string base = (target.parent_path() / ("." + target.filename().string())).string() +
                           std::string(kTemporaryTag) + std::to_string(getpid()) + "-";
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    s.temp = base + std::to_string(attempt);
    fd = open(s.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    s.temp.clear();
    return "Cannot create file \"" + path + "\": " + std::strerror(error);
  }
  close(fd);

  const AVCodec* encoder = avcodec_find_encoder_by_name(c.encoder);
  if (!encoder) return s.Fault(std::string("this FFmpeg has no ") + c.encoder + " encoder");
  if (avformat_alloc_output_context2(&s.format, nullptr, c.muxer, s.temp.c_str()) < 0)
    return s.Fault("FFmpeg cannot write this kind of file");
  s.codec.reset(avcodec_alloc_context3(encoder));
  s.packet.reset(av_packet_alloc());
  if (!s.codec || !s.packet) return s.Fault("out of memory");

  AVCodecContext* ctx = s.codec.get();
  ctx->width = c.evenSides ? (width + 1) & ~1 : width;
  ctx->height = c.evenSides ? (height + 1) & ~1 : height;
  ctx->pix_fmt = c.pixels;
  ctx->time_base = AVRational{1, fps};
  ctx->framerate = AVRational{fps, 1};
  ctx->sample_aspect_ratio = AVRational{1, 1};
  ctx->thread_count = 0;
  if (c.evenSides) {
    ctx->color_range = AVCOL_RANGE_MPEG;
    ctx->colorspace = AVCOL_SPC_SMPTE170M;
  }
  if (s.format->oformat->flags & AVFMT_GLOBALHEADER) ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  SetEncoderOptions(s.kind, ctx);
  if (const int err = avcodec_open2(ctx, encoder, nullptr); err < 0)
    return s.Fault("cannot start the " + std::string(c.encoder) + " encoder (" + AvError(err) +
                   ")");

  s.stream = avformat_new_stream(s.format, nullptr);
  if (!s.stream || avcodec_parameters_from_context(s.stream->codecpar, ctx) < 0)
    return s.Fault("out of memory");
  s.stream->time_base = ctx->time_base;
  s.stream->avg_frame_rate = ctx->framerate;
  if (const int err = avio_open(&s.format->pb, s.temp.c_str(), AVIO_FLAG_WRITE); err < 0)
    return "Cannot create file \"" + path + "\": " + AvError(err);
  AVDictionary* options = nullptr;
  if (s.kind == VideoKind::kMp4) av_dict_set(&options, "movflags", "+faststart", 0);
  const int err = avformat_write_header(s.format, &options);
  av_dict_free(&options);
  if (err < 0) return s.Fault(AvError(err));

  if (s.kind == VideoKind::kGif) {
    if (auto error = s.gif.Open(width, height, fps)) return s.Fault(*error);
    return std::nullopt;
  }
  s.picture = MakeFrame(ctx->pix_fmt, ctx->width, ctx->height);
  s.scaler = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, ctx->pix_fmt,
                            SWS_AREA | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!s.picture || !s.scaler) return s.Fault("out of memory");
  // The padding stays black: the canvas is drawn over the rest of each frame.
  ptrdiff_t linesizes[4];
  for (int i = 0; i < 4; ++i)
    linesizes[i] = s.picture->linesize[i];
  av_image_fill_black(s.picture->data, linesizes, ctx->pix_fmt, ctx->color_range, ctx->width,
                      ctx->height);
  return std::nullopt;
}

std::optional<std::string> VideoEncoder::AddFrame(const Surface& frame) {
  std::optional<std::string> error = Write(frame);
  if (error) state_.reset();
  return error;
}

std::optional<std::string> VideoEncoder::Write(const Surface& frame) {
  if (!state_ || !state_->format) return std::string("No video is open");
  State& s = *state_;
  if (frame.Width() != s.width || frame.Height() != s.height)
    return s.Fault("a frame is not of the video's size");
  if (s.kind == VideoKind::kGif) {
    if (auto error = s.gif.Add(frame)) return s.Fault(*error);
    return std::nullopt;
  }
  if (const int err = av_frame_make_writable(s.picture.get()); err < 0)
    return s.Fault(AvError(err));
  const auto* src = reinterpret_cast<const uint8_t*>(frame.Bits());
  const int srcStride = frame.Stride();
  sws_scale(s.scaler, &src, &srcStride, 0, s.height, s.picture->data, s.picture->linesize);
  s.picture->pts = s.nextPts++;
  return s.Encode(s.picture.get());
}

std::optional<std::string> VideoEncoder::Finish(const std::atomic<bool>* cancel) {
  std::optional<std::string> error = Close(cancel);
  state_.reset();
  return error;
}

std::optional<std::string> VideoEncoder::Close(const std::atomic<bool>* cancel) {
  if (!state_ || !state_->format) return std::string("No video is open");
  State& s = *state_;
  if (s.kind == VideoKind::kGif) {
    auto error = s.gif.Replay([&s, cancel](AVFrame* frame) -> std::optional<std::string> {
      if (cancel && cancel->load()) return "Cancelled: \"" + s.path + "\" was not written";
      return s.Encode(frame);
    });
    if (error) return s.Fault(*error);
  }
  if (auto error = s.Encode(nullptr)) return error;
  if (const int err = av_write_trailer(s.format); err < 0) return s.Fault(AvError(err));
  if (const int err = avio_closep(&s.format->pb); err < 0) return s.Fault(AvError(err));
  if (std::rename(s.temp.c_str(), s.path.c_str()) != 0) return s.Fault(std::strerror(errno));
  s.temp.clear();
  return std::nullopt;
}

void VideoEncoder::Cancel() {
  state_.reset();
}

}  // namespace quillo
