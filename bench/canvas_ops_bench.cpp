// Whole-canvas operations at 1920 x 1080, each run by turns with memcpy of one
// full-screen picture (the bytes of the picture the operation is about): undo, the
// negative of a full-screen selection and the paste of a full-screen picture.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/program.h"
#include "platform/raster/surface.h"
#include "platform/screen_platform.h"
#include "run_pair.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr size_t kPictureBytes = size_t{kWidth} * kHeight * 4;

// A screen and a clipboard holding one full-screen picture, handed over as the Qt
// platform hands over a decoded picture: copied row by row into the surface given,
// in place when it has the picture's size.
class ClipboardPlatform : public ScreenPlatform {
 public:
  ClipboardPlatform() : ScreenPlatform({kWidth, kHeight}) {}
  Surface clipboard;
  bool ClipboardHasPicture() override { return true; }
  bool GetClipboardPicture(Surface& out) override {
    if ((out.Width() != clipboard.Width() || out.Height() != clipboard.Height()) &&
        !out.Resize(clipboard.Width(), clipboard.Height())) {
      return false;
    }
    const auto rowBytes = static_cast<size_t>(clipboard.Stride());
    for (int32_t y = 0; y < clipboard.Height(); ++y)
      std::memcpy(out.Bits() + size_t(y) * clipboard.Width(),
                  clipboard.Bits() + size_t(y) * clipboard.Width(), rowBytes);
    out.MarkDirty(out.Bounds());
    return true;
  }
};

// A program on a full-screen canvas with no strip shown and the log off, so that
// the operations can repeat without filling it.
struct Session {
  ClipboardPlatform platform;
  Program program{platform, "/nonexistent/"};
  Session() {
    program.Create();
    program.startScreen.GoStraightToDrawing();
    program.main.HideBottomPanels();
    program.drawing.recording = false;
    Surface& canvas = program.main.images.canvas;
    for (int32_t y = 0; y < kHeight; y += 7)
      canvas.FillRect({0, y, kWidth, y + 3}, Rgb(y & 255, 90, 200));
    program.SaveUndo();
    program.SaveUndo();
    platform.clipboard.CopyFrom(canvas);
  }
};

void BM_Undo(benchmark::State& state) {
  Session s;
  MemcpyPeer peer(kPictureBytes);
  RunPair(state, peer, [&] {
    s.program.canvasOps.Undo();
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NegativeFullScreen(benchmark::State& state) {
  Session s;
  s.program.selectionOps.SelectAll();
  MemcpyPeer peer(kPictureBytes);
  RunPair(state, peer, [&] {
    s.program.canvasOps.NegativeSelection();
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_NegativeFullScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PasteFullScreen(benchmark::State& state) {
  Session s;
  s.program.selectionOps.SelectAll();
  MemcpyPeer peer(kPictureBytes);
  RunPair(state, peer, [&] {
    s.program.selectionOps.PasteClipboard(s.program.selectionOps.SelectionRect());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_PasteFullScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillo
