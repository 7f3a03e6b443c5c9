#pragma once

// What the film benchmarks share: a program on a 1024 x 768 screen, a log of pattern
// strokes to replay, and the processor time spent.
#include <sys/resource.h>
#include <time.h>

#include <cmath>

#include "app/program.h"
#include "log/replay_film.h"
#include "platform/screen_platform.h"

namespace quillo::bench {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int32_t kEntries = 6000;

struct Session {
  ScreenPlatform platform{{kWidth, kHeight}};
  Program program{platform, "/nonexistent/"};
  Session() {
    program.Create();
    program.startScreen.GoStraightToDrawing();
    program.main.HideBottomPanels();
  }
};

// A point on a slow Lissajous path over the screen, as a hand might wander.
inline Point Wander(int i) {
  const double t = i * 0.013;
  return Point{static_cast<int32_t>(512 + 420 * std::sin(1.3 * t)),
               static_cast<int32_t>(384 + 300 * std::sin(1.7 * t + 0.4))};
}

// Strokes of four pattern tools by turns, a new press now and then, up to 6000 entries.
inline LoadedLog PatternLog() {
  Session s;
  Program& p = s.program;
  p.specs.a[0] = 7;
  p.specs.b[0] = 5;
  const uint8_t tools[] = {dtwave, dtNuwave, dtNuWaveSpecial, dtTwister};
  for (int i = 0; p.log.Count() < kEntries; ++i) {
    if (i % 500 == 0) p.toolSelection.SelectTool(tools[(i / 500) % 4]);
    p.RecordAction(Wander(i), i % 40 == 0 ? lgmoused : lgmousem, i % 40 == 0 ? 0 : 2);
  }
  return CopyOfLog(p.log);
}

// CPU seconds: of the whole process (every thread), or of the calling thread.
inline double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}
inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace quillo::bench
