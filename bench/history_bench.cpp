// The history's costs at 1920 x 1080, each run by turns with memcpy of one full-screen
// picture: the snapshot after a 32-pixel stroke across a fifth of the screen, the
// snapshot after a change of the whole screen, one step back or forward over such a
// change, and the memory that 100 strokes take.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "app/program.h"
#include "platform/screen_platform.h"
#include "run_pair.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr size_t kPictureBytes = size_t{kWidth} * kHeight * 4;

// A program on a full-screen canvas with the log off, its canvas striped and kept as
// the backup; the tool bar's strip shown or not.
struct Session {
  ScreenPlatform platform{{kWidth, kHeight}};
  Program program{platform, "/nonexistent/"};
  Surface& canvas = program.main.images.canvas;
  explicit Session(bool strip = false) {
    program.Create();
    program.startScreen.GoStraightToDrawing();
    if (!strip) program.main.HideBottomPanels();
    program.drawing.recording = false;
    for (int32_t y = 0; y < kHeight; y += 7)
      canvas.FillRect({0, y, kWidth, y + 3}, Rgb(y & 255, 90, 200));
    program.SaveUndo();
    canvas.SetPenWidth(32);
  }
  // A 32-pixel stroke across a fifth of the screen, somewhere else each time.
  void Stroke(int i) {
    const int32_t y = 40 + (i * 173) % (kHeight - 80);
    const int32_t x = 30 + (i * 311) % (kWidth - kWidth / 5 - 60);
    canvas.SetPenColor(Rgb(i * 40 & 255, 255 - (i & 127), 60));
    canvas.MoveTo({x, y});
    canvas.LineTo({x + kWidth / 5, y + (i % 3 - 1) * 40});
  }
  // A change of every pixel, the negative of the stripes: no tile of it is of one
  // colour, which the history would keep as one.
  void FullScreenChange() { canvas.CopyRect(canvas.Bounds(), canvas, canvas.Bounds(), kDstInvert); }
};

// Argument 1: with the tool bar's strip shown; 2: after as many strokes as the
// history keeps, so that it gives back memory as it takes it (a long session), where
// otherwise it grows into memory the system has yet to hand over.
void BM_SnapshotAfterStroke(benchmark::State& state) {
  Session s(state.range(0) == 1);
  MemcpyPeer peer(kPictureBytes);
  int i = 0;
  if (state.range(0) == 2) {
    while (i < static_cast<int>(UndoHistory::kMaxSteps) + 100) {
      s.Stroke(++i);
      s.program.SaveUndo();
    }
  }
  RunPairPrepared(
      state, peer, [&] { s.Stroke(++i); },
      [&] {
        s.program.SaveUndo();
        benchmark::ClobberMemory();
      });
}
BENCHMARK(BM_SnapshotAfterStroke)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A freehand stroke of 32 pixels from corner to corner, as the mouse gives it: a
// segment of some 20 pixels at each move, the window showing the canvas between moves.
void BM_SnapshotAfterFreehandStroke(benchmark::State& state) {
  Session s;
  MemcpyPeer peer(kPictureBytes);
  int i = 0;
  RunPairPrepared(
      state, peer,
      [&] {
        ++i;
        s.canvas.SetPenColor(Rgb(i * 40 & 255, 255 - (i & 127), 60));
        const int32_t shift = (i % 9) * 30;
        s.canvas.MoveTo({100 + shift, 60});
        for (int k = 1; k <= 100; ++k) {
          s.canvas.LineTo({100 + shift + k * 16, 60 + k * 9});
          s.canvas.TakeDirty();
        }
      },
      [&] {
        s.program.SaveUndo();
        benchmark::ClobberMemory();
      });
}
BENCHMARK(BM_SnapshotAfterFreehandStroke)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument 1: after as many full-screen changes as the history keeps (see above); 2: a
// new history at a person's pace, a change every 50 ms, where memory is made ready
// between changes, against a memcpy after as long a pause.
void BM_SnapshotAfterFullScreenChange(benchmark::State& state) {
  Session s;
  MemcpyPeer peer(kPictureBytes);
  if (state.range(0) == 1) {
    while (s.program.main.images.history.Bytes() + 3 * int64_t{kPictureBytes} <
           UndoHistory::kMemoryBound) {
      s.FullScreenChange();
      s.program.SaveUndo();
    }
  }
  const auto snapshot = [&] {
    s.program.SaveUndo();
    benchmark::ClobberMemory();
  };
  if (state.range(0) == 2) {
    RunPairPaced(
        state, std::chrono::milliseconds(50), peer, [&] { s.FullScreenChange(); }, snapshot);
  } else {
    RunPairPrepared(
        state, peer, [&] { s.FullScreenChange(); }, snapshot);
  }
}
BENCHMARK(BM_SnapshotAfterFullScreenChange)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Back over a full-screen change, then forward over it again: one step a run.
void BM_StepOverFullScreenChange(benchmark::State& state) {
  Session s;
  s.FullScreenChange();
  s.program.SaveUndo();
  MemcpyPeer peer(kPictureBytes);
  bool back = true;
  RunPair(state, peer, [&] {
    if (back ? !s.program.main.images.StepBack() : !s.program.main.images.StepForward())
      state.SkipWithError("no step to take");
    back = !back;
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_StepOverFullScreenChange)->Unit(benchmark::kMillisecond)->UseRealTime();

// The history's memory after 100 strokes, each its own step, against one picture.
void BM_MemoryOf100Strokes(benchmark::State& state) {
  for (auto _ : state) {
    Session s;
    const UndoHistory& history = s.program.main.images.history;
    const auto before = static_cast<double>(history.Bytes());
    for (int i = 1; i <= 100; ++i) {
      s.Stroke(i);
      s.program.SaveUndo();
    }
    const auto bytes = static_cast<double>(history.Bytes());
    state.counters["steps"] = static_cast<double>(history.StepsBack());
    state.counters["MiB"] = bytes / (1 << 20);
    state.counters["strokes_MiB"] = (bytes - before) / (1 << 20);
    state.counters["pictures"] = bytes / kPictureBytes;
  }
}
BENCHMARK(BM_MemoryOf100Strokes)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo
