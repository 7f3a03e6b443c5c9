#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "log/log_files.h"
#include "platform/video_sink.h"

namespace quillo {

class ActionLog;
class Program;
class Surface;

// How a replay becomes frames: frames a second, and how long the finished picture
// stays after the replay stops.
struct FilmTiming {
  int32_t fps = 30;
  double holdSeconds = 2.0;
};

// One replay tick is this much replay time, as for the replay timer.
inline constexpr int32_t kTickMillis = 5;

// The number of ticks a replay from the start runs before it stops, for a log of
// length entries played with batch + 1 entries a tick and the loop off.
int64_t ReplayTickCount(int32_t length, int32_t batch);

// The number of ticks whose time has come by frame k: those at or before k / fps
// seconds.
int64_t TicksAtFrame(int64_t frame, int32_t fps);

// The frames of a replay of ticks ticks: up to the first frame that shows the
// finished picture, then that picture for the hold time (at least one frame).
int64_t FilmFrameCount(int64_t ticks, const FilmTiming& timing);

// A copy of the log's entries 0..Count() as a loaded log.
LoadedLog CopyOfLog(const ActionLog& log);

// Puts the loaded log into the program and starts "REPLAY" with batch + 1 entries a
// tick, its length taken from the log.
void StartLoadedReplay(Program& program, const LoadedLog& log, int32_t batch);

// Receives each frame; returns false to stop the film.
using FrameSink = std::function<bool(const Surface& frame)>;
// Told how far the film has got, from 0 to 1.
using FilmProgress = std::function<void(double done)>;

// Films the replay that runs in program from its first tick: hands the canvas to the
// sink at every frame time, running the replay's ticks in between, until the hold
// after the replay's end is over. Returns false when the sink stopped it.
bool FilmReplay(Program& program, const FilmTiming& timing, const FrameSink& sink,
                const FilmProgress& progress = {});

// The save dialog of the video button, and the check of the chosen name's ending;
// the accepted name goes to the shell's requests.
void AskForReplayVideo(Program& program);

// The video kind a file name asks for by its ending, or nothing.
std::optional<VideoKind> VideoKindOf(const std::string& path);

}  // namespace quillo
