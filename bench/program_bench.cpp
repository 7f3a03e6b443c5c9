// The program end to end at 1920 x 1080: the undo snapshot against two memcpy of the
// same bytes, one FINGERPAINT mouse move with the repaint of the area it reports
// against a full-screen repaint, one drag-screen move with its repaint against a
// full-screen repaint, and replay ticks at the speed bar's maximum.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include <QImage>
#include <QPainter>

#include "app/program.h"
#include "platform/raster/surface.h"
#include "platform/screen_platform.h"
#include "run_pair.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr double kTickSeconds = 0.005;

struct Session {
  ScreenPlatform platform{{kWidth, kHeight}};
  Program program{platform, "/nonexistent/"};
  Session() {
    program.Create();
    program.startScreen.GoStraightToDrawing();
  }
};

// A point on a slow Lissajous path over the screen, as a hand might wander.
Point Wander(int i) {
  const double t = i * 0.013;
  return Point{static_cast<int32_t>(960 + 800 * std::sin(1.3 * t)),
               static_cast<int32_t>(540 + 440 * std::sin(1.7 * t + 0.4))};
}

void BM_SaveUndo(benchmark::State& state) {
  Session s;
  for (auto _ : state) {
    s.program.SaveUndo();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SaveUndo)->Unit(benchmark::kMicrosecond);

void BM_TwoMemcpy(benchmark::State& state) {
  const size_t bytes = size_t{kWidth} * kHeight * 4;
  std::vector<uint8_t> a(bytes, 1), b(bytes, 2), c(bytes, 3);
  for (auto _ : state) {
    std::memcpy(c.data(), b.data(), bytes);
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TwoMemcpy)->Unit(benchmark::kMicrosecond);

// One mouse move, then the window's repaint: of the reported area, or of the screen.
void BM_FingerpaintMove(benchmark::State& state, bool fullScreen) {
  Session s;
  PaintLog& m = s.program.main;
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&screen);
  const Surface& canvas = m.images.canvas;
  const QImage view(reinterpret_cast<const uchar*>(canvas.Bits()), kWidth, kHeight, canvas.Stride(),
                    QImage::Format_RGB32);
  m.FormMouseDown(MouseButton::kLeft, {}, Wander(0));
  int i = 1;
  int64_t repainted = 0;
  for (auto _ : state) {
    if (s.program.log.position > kLogCapacity - 10) {
      state.PauseTiming();
      s.program.log.position = 8;
      state.ResumeTiming();
    }
    m.FormMouseMove({}, Wander(i++));
    const Rect d = m.images.canvas.TakeDirty();
    const QRect area = fullScreen ? QRect(0, 0, kWidth, kHeight)
                                  : QRect(d.left, d.top, d.right - d.left, d.bottom - d.top);
    painter.drawImage(area, view, area);
    repainted += int64_t{area.width()} * area.height();
  }
  state.counters["repainted share"] =
      static_cast<double>(repainted) / (static_cast<double>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK_CAPTURE(BM_FingerpaintMove, DirtyArea, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FingerpaintMove, FullScreen, true)->Unit(benchmark::kMicrosecond);

// One Ctrl-drag move with the tool strip hidden (the whole picture slides under the
// mouse), then the window's repaint of the area it reports, against the repaint of
// the whole screen alone.
void BM_DragScreenMove(benchmark::State& state) {
  Session s;
  PaintLog& m = s.program.main;
  m.HideBottomPanels();
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&screen);
  const Surface& canvas = m.images.canvas;
  const QImage view(reinterpret_cast<const uchar*>(canvas.Bits()), kWidth, kHeight, canvas.Stride(),
                    QImage::Format_RGB32);
  const QRect all(0, 0, kWidth, kHeight);
  Modifiers ctrl;
  ctrl.ctrl = true;
  ctrl.left = true;
  m.FormMouseDown(MouseButton::kLeft, ctrl, Wander(0));
  int i = 1;
  RunPair(
      state, [&] { painter.drawImage(all, view, all); },
      [&] {
        m.FormMouseMove(ctrl, Wander(i++));
        const Rect d = m.images.canvas.TakeDirty();
        const QRect area(d.left, d.top, d.right - d.left, d.bottom - d.top);
        painter.drawImage(area, view, area);
      });
  state.counters["moves_per_s"] = 1e6 / state.counters["quillo_us"];
}
BENCHMARK(BM_DragScreenMove)->Unit(benchmark::kMicrosecond);

// Replay ticks of 33 entries over a 60000-entry log of moves with one tool. Reports
// entries per second and the tick's cost as a share of the 5 ms timer interval.
void BM_ReplayTick(benchmark::State& state, uint8_t tool, bool wild) {
  Session s;
  Program& p = s.program;
  p.specs.a[0] = 7;
  p.specs.b[0] = 5;
  p.toolSelection.SelectTool(tool);
  p.tools.specA = 7;
  p.tools.specB = 5;
  p.tools.wild = wild;
  p.toolSelection.RecordSpec();
  p.drawing.currentPoint = p.drawing.startPoint = Wander(0);
  p.RecordAction(Wander(0), lgmoused, 0);
  for (int i = 1; p.log.position < kLogCapacity; ++i) {
    // A new press now and then, so figures keep a hand's size.
    p.RecordAction(Wander(i), i % 40 == 0 ? lgmoused : lgmousem, i % 40 == 0 ? 0 : 2);
  }
  p.replay.StartReplay();
  ReplayState& r = p.replayState;
  r.batch = 32;
  double seconds = 0;
  for (auto _ : state) {
    if (p.log.position > kLogCapacity - 100) {
      state.PauseTiming();
      p.log.position = 20;
      p.log.ClearLines();
      state.ResumeTiming();
    }
    const auto start = std::chrono::steady_clock::now();
    p.replay.ReplayTick();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const double ticks = static_cast<double>(state.iterations());
  state.counters["entries/s"] = ticks * (r.batch + 1) / seconds;
  state.counters["tick/5ms"] = seconds / ticks / kTickSeconds;
}
BENCHMARK_CAPTURE(BM_ReplayTick, CpuWild, dtwave3, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReplayTick, Fingerpaint32, dtfree, false)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo
