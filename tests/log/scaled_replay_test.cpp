#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "app/program.h"
#include "assets/demo_script.h"
#include "log/log_files.h"
#include "log/replay_fit.h"
#include "support/closeness.h"
#include "support/fake_platform.h"

namespace quillo::testing {
namespace {

const std::string kFolder = std::string(QUILLO_PROGRAM_DIR) + "/";

// Three drawings of our own, each made at 1024 x 768 through the program's handlers.
const char* const kFreehand = R"(
tool FREE
width 3
field 255,0,0 0,0,255 0,255,0
spiral 512,384 20 300 3 120
line 100,100 900,650 60
width 1
lissajous 512,384 400,300 3 2 200
)";
const char* const kPatternsWild = R"(
wild on
tool WAVES
arc 300,300 150 0 360 120
tool WEB
line 600,200 900,600 40
tool CPU
arc 700,500 100 0 360 80
tool ALIENS
spiral 400,500 10 200 2 80
)";
const char* const kCanvasOps = R"(
tool RADIAL
arc 512,384 200 0 360 90
key N
select
drag 300,200 700,560
keydown 38
tool ORBIT
line 100,600 900,100 50
select
drag 200,200 500,500
negative
key n
background
tool FREE
line 50,50 950,700 40
)";

std::unique_ptr<Program> StartOn(FakePlatform& platform, int32_t w, int32_t h) {
  platform.screen = {w, h};
  platform.saveError = "no files here";
  auto p = std::make_unique<Program>(platform, kFolder);
  p->StartUpHeadless();
  p->main.HideBottomPanels();
  return p;
}

// A recording: the demonstration log, or a script drawn at 1024 x 768.
LoadedLog Recording(const char* script) {
  if (script == nullptr) {
    LogReadResult read = ReadDemoLog(kFolder + "Newonee.log");
    EXPECT_TRUE(std::holds_alternative<LoadedLog>(read));
    return std::get<LoadedLog>(read);
  }
  FakePlatform platform;
  auto p = StartOn(platform, 1024, 768);
  EXPECT_EQ(RunDemoScript(*p, script), "");
  LoadedLog log;
  log.count = p->log.Count();
  log.codes.assign(p->log.Codes().begin(), p->log.Codes().begin() + log.count + 1);
  log.values.assign(p->log.Values().begin(), p->log.Values().begin() + log.count + 1);
  log.recordedSize = p->log.recordedSize;
  return log;
}

// The recording replayed to its end on a screen of w x h, as the renderer plays it.
std::unique_ptr<Program> ReplayOn(FakePlatform& platform, const LoadedLog& log, bool demo,
                                  int32_t w, int32_t h) {
  auto p = StartOn(platform, w, h);
  ApplyLoadedLog(p->log, log);
  p->replayState.length = p->log.Count();
  if (demo) {
    p->replay.StartDemo(8);
  } else {
    p->replay.StartReplay();
  }
  for (int i = 0; i < kLogCapacity && p->Replaying(); ++i)
    p->replay.ReplayTick();
  return p;
}

// Compares small with the area of big shrunk to small's size by area averaging.
Closeness Compare(const Surface& small, const Surface& big, const Rect& area) {
  return ComparePictures({small.Bits(), small.Width(), small.Height()},
                         {big.Bits(), big.Width(), big.Height()}, area);
}

TEST(ReplayFitTest, FitsUniformlyAndCentres) {
  struct Case {
    CanvasSize recorded;
    int32_t w, h;
    double scale;
    Rect area;
  };
  for (const Case& c : {Case{{1024, 768}, 1920, 1080, 1.40625, {240, 0, 1680, 1080}},
                        Case{{1024, 768}, 2048, 1536, 2.0, {0, 0, 2048, 1536}},
                        Case{{1920, 1080}, 1024, 768, 1024.0 / 1920, {0, 96, 1024, 672}},
                        Case{{800, 600}, 800, 600, 1.0, {0, 0, 800, 600}},
                        Case{{}, 640, 480, 1.0, {0, 0, 640, 480}}}) {
    const ReplayFit fit = FitRecording(c.recorded, c.w, c.h);
    EXPECT_DOUBLE_EQ(fit.scale, c.scale);
    EXPECT_EQ(fit.area, c.area) << c.w << "x" << c.h;
  }
}

// Each recording at its own size, at twice its size and fitted into 1920 x 1080: the
// larger pictures shrunk back by area averaging stay close to it, and outside the
// fitted area the canvas is black.
TEST(ScaledReplayTest, LargerReplaysShrinkBackToTheRecordedPicture) {
  struct Drawing {
    const char* name;
    const char* script;  // none: the demonstration
  };
  for (const Drawing& d :
       {Drawing{"demonstration", nullptr}, Drawing{"freehand", kFreehand},
        Drawing{"patterns with Wild", kPatternsWild}, Drawing{"canvas operations", kCanvasOps}}) {
    SCOPED_TRACE(d.name);
    const LoadedLog log = Recording(d.script);
    ASSERT_EQ(log.recordedSize, (CanvasSize{1024, 768}));
    const bool demo = d.script == nullptr;
    FakePlatform at1, at2, fitted;
    const auto one = ReplayOn(at1, log, demo, 1024, 768);
    const auto two = ReplayOn(at2, log, demo, 2048, 1536);
    const auto hd = ReplayOn(fitted, log, demo, 1920, 1080);
    const Surface& small = one->main.images.canvas;
    const Closeness c2 = Compare(small, two->main.images.canvas, Rect{0, 0, 2048, 1536});
    const Rect area = FitRecording(log.recordedSize, 1920, 1080).area;
    const Closeness cf = Compare(small, hd->main.images.canvas, area);
    std::printf("%-20s x2: mean %.2f, worst block %.2f; 1920x1080: mean %.2f, worst block %.2f\n",
                d.name, c2.mean, c2.worstBlock, cf.mean, cf.worstBlock);
    EXPECT_LE(c2.mean, 6.0);
    EXPECT_LE(c2.worstBlock, 40.0);
    EXPECT_LE(cf.mean, 6.0);
    EXPECT_LE(cf.worstBlock, 40.0);
    const Surface& wide = hd->main.images.canvas;
    int64_t lit = 0;
    for (int32_t y = 0; y < wide.Height(); ++y)
      for (int32_t x : {0, area.left - 1, area.right, wide.Width() - 1})
        lit += (wide.Bits()[static_cast<size_t>(y) * wide.Width() + x] & 0xFFFFFFu) != 0;
    EXPECT_EQ(lit, 0);
  }
}

// Drawing on after a fitted replay: the new press is kept in the recording's units, so
// that a replay of the whole log draws it under the pointer again.
TEST(ScaledReplayTest, StrokesAddedAfterAFittedReplayReplayWhereTheyWereDrawn) {
  const LoadedLog log = Recording(kFreehand);
  FakePlatform platform;
  const auto p = ReplayOn(platform, log, false, 1920, 1080);
  ASSERT_FALSE(p->Replaying());
  ASSERT_TRUE(p->drawing.recording);
  const ReplayFit fit = FitRecording(log.recordedSize, 1920, 1080);
  for (const Point at : {Point{1000, 500}, Point{241, 3}, Point{1679, 1079}}) {
    p->main.FormMouseDown(MouseButton::kLeft, {}, at);
    p->main.FormMouseUp(MouseButton::kLeft, {}, at);
    int32_t n = p->log.Count();
    while (n > 0 && SplitCode(p->log.Codes()[n]).code != lgmoused)
      --n;
    ASSERT_GT(n, log.count);
    const UnpackedPoint u = UnpackPoint(p->log.Values()[n]);
    EXPECT_NEAR(fit.area.left + u.x * fit.scale, at.x, 1.0);
    EXPECT_NEAR(fit.area.top + u.y * fit.scale, at.y, 1.0);
  }
}

}  // namespace
}  // namespace quillo::testing
