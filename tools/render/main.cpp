// quillo-render: plays a replay file (or the demonstration log) without a window and
// writes the finished canvas as a picture, or the whole replay as a video or GIF.
//
//   quillo-render [--size WxH | --scale S] [--speed N] [--fps F] [--hold S] [--demo] [--frames]
//                 INPUT OUTPUT
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>

#include "app/program.h"
#include "log/log_files.h"
#include "log/replay_film.h"
#include "log/replay_video.h"
#include "platform/qt/picture_screen_platform.h"
#include "platform/video/video_encoder.h"
#include "render_options.h"

namespace {

// Shows how far the video has got on one line of a terminal.
void ShowProgress(double done) {
  static int shown = -1;
  const int percent = static_cast<int>(std::floor(done * 100));
  if (percent == shown) return;
  shown = percent;
  std::fprintf(stderr, "\rquillo-render: %3d%%", percent);
  if (percent == 100) std::fputc('\n', stderr);
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<quillo::RenderOptions> options =
      quillo::ParseRenderArgs(std::vector<std::string>(argv + 1, argv + argc));
  if (!options) {
    std::fputs(quillo::kRenderUsage, stderr);
    return 1;
  }
  const quillo::RenderOptions& o = *options;

  const quillo::LogReadResult read =
      o.demo ? quillo::ReadDemoLog(o.input) : quillo::ReadReplayFile(o.input);
  if (const auto* error = std::get_if<std::string>(&read)) {
    std::fprintf(stderr, "quillo-render: %s: %s\n", o.input.c_str(), error->c_str());
    return 1;
  }

  const quillo::LoadedLog& loaded = std::get<quillo::LoadedLog>(read);
  if (!loaded.sizeFault.empty())
    std::fprintf(stderr, "quillo-render: %s: %s; rendered as made at %dx%d\n", o.input.c_str(),
                 loaded.sizeFault.c_str(), o.size.width, o.size.height);
  const std::optional<quillo::ScreenSize> screen = quillo::RenderScreen(o, loaded.recordedSize);
  if (!screen) {
    std::fprintf(stderr, "quillo-render: %s: %dx%d at scale %g is larger than a canvas can be\n",
                 o.input.c_str(), loaded.recordedSize.width, loaded.recordedSize.height, o.scale);
    return 1;
  }
  quillo::PictureScreenPlatform platform(*screen);
  std::string dir = std::filesystem::current_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  quillo::Program program(platform, dir);
  program.StartUpHeadless();
  program.main.HideBottomPanels();

  quillo::ApplyLoadedLog(program.log, loaded);
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

  if (quillo::VideoKindOf(o.output)) {
    const quillo::FilmTiming timing{o.fps, o.holdSeconds};
    const bool terminal = isatty(STDERR_FILENO);
    quillo::VideoEncoder encoder;
    const quillo::ReplayVideoResult result =
        quillo::WriteReplayVideo(program, encoder, timing, o.output,
                                 terminal ? quillo::FilmProgress(ShowProgress) : nullptr);
    for (const std::string& e : platform.errors)
      std::fprintf(stderr, "quillo-render: %s\n", e.c_str());
    if (result.outcome != quillo::ReplayVideoResult::kWritten) {
      std::fprintf(stderr, "quillo-render: %s\n", result.message.c_str());
      return 1;
    }
    return 0;
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
  // A frame that could not be written fails the run as the picture would.
  return platform.failedWrites == 0 ? 0 : 1;
}
