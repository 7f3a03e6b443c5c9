// quillo-render: plays a replay file (or the demonstration log) without a window and
// writes the finished canvas as a picture.
//
//   quillo-render [--size WxH] [--speed N] [--demo] [--frames] INPUT OUTPUT
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <variant>

#include "app/program.h"
#include "headless_platform.h"
#include "log/log_files.h"

namespace {

using quillo::ScreenSize;

struct Options {
  ScreenSize size{1024, 768};
  int speed = 2;
  bool demo = false;
  bool frames = false;
  std::string input;
  std::string output;
};

constexpr const char* kUsage =
    "usage: quillo-render [--size WxH] [--speed N] [--demo] [--frames] INPUT OUTPUT\n";

bool ParseSize(const char* text, ScreenSize& size) {
  int w = 0, h = 0;
  char extra = 0;
  if (std::sscanf(text, "%dx%d%c", &w, &h, &extra) != 2) return false;
  if (w < 16 || h < 16 || w > quillo::Surface::kMaxSide || h > quillo::Surface::kMaxSide)
    return false;
  size = {w, h};
  return true;
}

bool ParseArgs(int argc, char** argv, Options& o) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--size" && i + 1 < argc) {
      if (!ParseSize(argv[++i], o.size)) return false;
    } else if (a == "--speed" && i + 1 < argc) {
      char* end = nullptr;
      const long v = std::strtol(argv[++i], &end, 10);
      if (*end || v < 0 || v > 32) return false;
      o.speed = static_cast<int>(v);
    } else if (a == "--demo") {
      o.demo = true;
    } else if (a == "--frames") {
      o.frames = true;
    } else if (a.rfind("--", 0) == 0) {
      return false;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return false;
  o.input = files[0];
  o.output = files[1];
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, o)) {
    std::fputs(kUsage, stderr);
    return 1;
  }

  const quillo::LogReadResult read =
      o.demo ? quillo::ReadDemoLog(o.input) : quillo::ReadReplayFile(o.input);
  if (const auto* error = std::get_if<std::string>(&read)) {
    std::fprintf(stderr, "quillo-render: %s: %s\n", o.input.c_str(), error->c_str());
    return 1;
  }

  quillo::HeadlessPlatform platform(o.size);
  std::string dir = std::filesystem::current_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  quillo::Program program(platform, dir);
  program.StartUp();
  program.main.HideBottomPanels();

  quillo::ApplyLoadedLog(program.log, std::get<quillo::LoadedLog>(read));
  // As opening a file does: the replay's end rule reads the loaded count.
  program.replayState.length = program.log.Count();
  if (o.frames) {
    program.replayState.frameExport = true;
    program.replayState.frameNumber = 1;
  }
  if (o.demo) {
    program.replay.StartDemo(o.speed);
  } else {
    program.replay.StartReplay();
    program.replayState.batch = o.speed;
  }
  // A replay without its loop ends by itself; the bound only guards the program.
  const int64_t maxTicks = int64_t{quillo::kLogCapacity} + 16;
  for (int64_t tick = 0; tick < maxTicks && program.Replaying(); ++tick)
    program.replay.ReplayTick();

  for (const std::string& e : platform.errors)
    std::fprintf(stderr, "quillo-render: %s\n", e.c_str());
  if (auto error = platform.SavePicture(o.output, program.main.images.canvas)) {
    std::fprintf(stderr, "quillo-render: %s: %s\n", o.output.c_str(), error->c_str());
    return 1;
  }
  return 0;
}
