#include "render_options.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "log/replay_film.h"

#include "platform/raster/surface.h"

namespace quillo {
namespace {

constexpr int32_t kMinSide = 16;
constexpr int32_t kMaxFps = 60;
constexpr double kMaxHoldSeconds = 60;

// A whole decimal number in [low, high], and nothing else.
std::optional<int32_t> ParseInt(const std::string& text, int32_t low, int32_t high) {
  int32_t v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || ptr != end || v < low || v > high) return std::nullopt;
  return v;
}

std::optional<ScreenSize> ParseSize(const std::string& text) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto w = ParseInt(text.substr(0, x), kMinSide, Surface::kMaxSide);
  const auto h = ParseInt(text.substr(x + 1), kMinSide, Surface::kMaxSide);
  if (!w || !h) return std::nullopt;
  return ScreenSize{*w, *h};
}

// A plain decimal number in [low, high].
std::optional<double> ParseNumber(const std::string& text, double low, double high) {
  double v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::fixed);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v) || v < low || v > high)
    return std::nullopt;
  return v;
}

}  // namespace

std::optional<OutputKind> OutputKindOf(const std::string& path) {
  const auto endsWith = [&path](std::string_view suffix) {
    if (path.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(path[path.size() - suffix.size() + i])) !=
          suffix[i])
        return false;
    }
    return true;
  };
  if (endsWith(".bmp")) return OutputKind::kBmp;
  if (endsWith(".png")) return OutputKind::kPng;
  if (VideoKindOf(path)) return OutputKind::kVideo;
  return std::nullopt;
}

std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args) {
  RenderOptions o;
  bool scaled = false;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--size" && hasValue) {
      const auto size = ParseSize(args[++i]);
      if (!size || scaled) return std::nullopt;
      o.size = *size;
      o.sizeGiven = true;
    } else if (a == "--scale" && hasValue) {
      const auto scale = ParseNumber(args[++i], kMinRenderScale, Surface::kMaxSide / kMinSide);
      if (!scale || o.sizeGiven) return std::nullopt;
      o.scale = *scale;
      scaled = true;
    } else if (a == "--speed" && hasValue) {
      const auto speed = ParseInt(args[++i], 0, 32);
      if (!speed) return std::nullopt;
      o.speed = *speed;
    } else if (a == "--fps" && hasValue) {
      const auto fps = ParseInt(args[++i], 1, kMaxFps);
      if (!fps) return std::nullopt;
      o.fps = *fps;
    } else if (a == "--hold" && hasValue) {
      const auto hold = ParseNumber(args[++i], 0, kMaxHoldSeconds);
      if (!hold) return std::nullopt;
      o.holdSeconds = *hold;
    } else if (a == "--demo") {
      o.demo = true;
    } else if (a == "--frames") {
      o.frames = true;
    } else if (a.empty() || a.rfind("--", 0) == 0) {
      // An empty name names no file.
      return std::nullopt;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2 || !OutputKindOf(files[1])) return std::nullopt;
  o.input = files[0];
  o.output = files[1];
  return o;
}

std::optional<ScreenSize> RenderScreen(const RenderOptions& options, CanvasSize recorded) {
  if (options.sizeGiven || !recorded.Known()) return options.size;
  const double w = std::round(recorded.width * options.scale);
  const double h = std::round(recorded.height * options.scale);
  if (w < 1 || h < 1 || w > Surface::kMaxSide || h > Surface::kMaxSide ||
      w * h > static_cast<double>(Surface::kMaxPixels))
    return std::nullopt;
  return ScreenSize{static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

}  // namespace quillo
