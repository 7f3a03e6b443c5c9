#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "log/action_log.h"
#include "platform/platform.h"

namespace quillo {

// What quillo-render is asked to do.
struct RenderOptions {
  // The screen: this size when given (or for a recording of unknown size), else the
  // recorded size times scale.
  ScreenSize size{1024, 768};
  bool sizeGiven = false;
  double scale = 1.0;
  int32_t speed = 2;         // entries a tick minus one, as the speed bar sets it
  int32_t fps = 30;          // frames a second of an animation
  double holdSeconds = 2.0;  // how long an animation shows the finished picture
  bool demo = false;
  bool frames = false;
  std::string input;
  std::string output;
};

inline constexpr const char* kRenderUsage =
    "usage: quillo-render [--size WxH | --scale S] [--speed N] [--fps F] [--hold S] [--demo] "
    "[--frames] "
    "INPUT OUTPUT\n"
    "  --scale S: S (at least 0.25) times the recorded size; --size: fitted into W x H\n"
    "  OUTPUT: .bmp or .png for the finished picture; .mp4, .webm or .gif for the replay\n"
    "  (no other kind of file is written)\n";

// What an output name asks for: a picture written as BMP or PNG, or a video.
enum class OutputKind : uint8_t { kBmp, kPng, kVideo };

// The kind an output name ends in, or nothing when it names none the renderer writes.
std::optional<OutputKind> OutputKindOf(const std::string& path);

// The smallest scale --scale takes.
inline constexpr double kMinRenderScale = 0.25;

// The screen a recording of the size recorded is rendered on, or nothing when the
// scale makes it larger than a canvas can be.
std::optional<ScreenSize> RenderScreen(const RenderOptions& options, CanvasSize recorded);

// The options given by the arguments that follow the program's name, or nothing when
// they are not a valid command line (an OUTPUT of no kind the renderer writes included).
std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args);

}  // namespace quillo
