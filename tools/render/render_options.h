#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillo {

// What quillo-render is asked to do.
struct RenderOptions {
  ScreenSize size{1024, 768};
  int32_t speed = 2;         // entries a tick minus one, as the speed bar sets it
  int32_t fps = 30;          // frames a second of an animation
  double holdSeconds = 2.0;  // how long an animation shows the finished picture
  bool demo = false;
  bool frames = false;
  std::string input;
  std::string output;
};

inline constexpr const char* kRenderUsage =
    "usage: quillo-render [--size WxH] [--speed N] [--fps F] [--hold S] [--demo] [--frames] "
    "INPUT OUTPUT\n"
    "  OUTPUT: .bmp or .png for the finished picture; .mp4, .webm or .gif for the replay\n"
    "  (no other kind of file is written)\n";

// What an output name asks for: a picture written as BMP or PNG, or a video.
enum class OutputKind : uint8_t { kBmp, kPng, kVideo };

// The kind an output name ends in, or nothing when it names none the renderer writes.
std::optional<OutputKind> OutputKindOf(const std::string& path);

// The options given by the arguments that follow the program's name, or nothing when
// they are not a valid command line (an OUTPUT of no kind the renderer writes included).
std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args);

}  // namespace quillo
