// Filming a replay: its frames are the canvas at each frame time, and the replay's
// length in ticks follows from the log's length and the batch.
#include <gtest/gtest.h>

#include <vector>

#include "app/program_fixture.h"
#include "log/replay_film.h"

namespace quillo::testing {
namespace {

using Pixels = std::vector<uint32_t>;

Pixels PixelsOf(const Surface& s) {
  return Pixels(s.Bits(), s.Bits() + static_cast<size_t>(s.Width()) * s.Height());
}

// A program on its own fake screen, ready to replay a log as quillo-render does.
struct Replayer {
  FakePlatform platform;
  Program program{platform, "/tmp/quillo-test/"};
  Replayer(ScreenSize screen, const LoadedLog& log, int32_t batch) {
    platform.screen = screen;
    program.Create();
    program.startScreen.GoStraightToDrawing();
    program.main.HideBottomPanels();
    StartLoadedReplay(program, log, batch);
  }
};

class ReplayFilmTest : public ProgramTest {
 protected:
  // The tool buttons answer the mouse going down on them.
  void PickTool(const char* name) {
    ControlEvent e;
    e.control = MainForm().Find(name);
    ASSERT_NE(e.control, kNoControl) << name;
    e.kind = EventKind::kMouseDown;
    e.button = MouseButton::kLeft;
    MainForm().Dispatch(e);
  }
  // Strokes of FINGERPAINT and WAVES across a small screen.
  LoadedLog DrawSomething(int moves) {
    Start(160, 120);
    program->startScreen.GoStraightToDrawing();
    for (const char* tool : {"freebtn", "wavebtn"}) {
      PickTool(tool);
      Press({10, 10});
      for (int i = 1; i <= moves; ++i)
        Move({10 + (i * 37) % 140, 10 + (i * 23) % 100});
      Release({80, 60});
    }
    EXPECT_EQ(program->tools.tool, dtwave);
    return CopyOfLog(program->log);
  }
};

TEST(ReplayFilmTiming, FramesFollowTheTickClockAndEndWithTheHold) {
  // 5 ms ticks: 200 a second, so frame k at 30 fps is due after floor(200k / 30).
  EXPECT_EQ(TicksAtFrame(0, 30), 0);
  EXPECT_EQ(TicksAtFrame(1, 30), 6);
  EXPECT_EQ(TicksAtFrame(3, 30), 20);
  EXPECT_EQ(TicksAtFrame(1, 200), 1);
  // 20 ticks finish at frame 3; two seconds of hold add 60 frames.
  EXPECT_EQ(FilmFrameCount(20, FilmTiming{30, 2.0}), 63);
  EXPECT_EQ(FilmFrameCount(21, FilmTiming{30, 2.0}), 64);
  // Without a hold the finished picture still gets its frame.
  EXPECT_EQ(FilmFrameCount(20, FilmTiming{30, 0.0}), 4);
  EXPECT_EQ(FilmFrameCount(1, FilmTiming{10, 0.5}), 6);
}

TEST(ReplayFilmTiming, VideoKindsComeFromTheNamesEnding) {
  EXPECT_EQ(VideoKindOf("a.mp4"), VideoKind::kMp4);
  EXPECT_EQ(VideoKindOf("/x/y/Drawing.WebM"), VideoKind::kWebm);
  EXPECT_EQ(VideoKindOf("loop.GIF"), VideoKind::kGif);
  EXPECT_FALSE(VideoKindOf("a.mp4.png"));
  EXPECT_FALSE(VideoKindOf("mp4"));
  EXPECT_FALSE(VideoKindOf(""));
}

TEST_F(ReplayFilmTest, TheTickCountMatchesTheReplaysOwnEnd) {
  const LoadedLog log = DrawSomething(40);
  ASSERT_GT(log.count, 80);
  for (int32_t batch : {0, 1, 2, 8, 32}) {
    Replayer r({160, 120}, log, batch);
    int64_t ticks = 0;
    while (r.program.Replaying() && ticks < 100000) {
      r.program.replay.ReplayTick();
      ++ticks;
    }
    EXPECT_EQ(ticks, ReplayTickCount(log.count, batch)) << "batch " << batch;
  }
  // A log shorter than the batch stops in the first tick.
  EXPECT_EQ(ReplayTickCount(8, 32), 1);
}

TEST_F(ReplayFilmTest, EachFrameIsTheCanvasAfterTheTicksDueByItsTime) {
  const LoadedLog log = DrawSomething(60);
  const FilmTiming timing{30, 0.2};
  Replayer filmed({160, 120}, log, 2);
  std::vector<Pixels> frames;
  ASSERT_TRUE(FilmReplay(filmed.program, timing, [&](const Surface& frame) {
    frames.push_back(PixelsOf(frame));
    return true;
  }));
  const int64_t ticks = ReplayTickCount(log.count, 2);
  ASSERT_EQ(static_cast<int64_t>(frames.size()), FilmFrameCount(ticks, timing));

  // The same log ticked by hand, looked at whenever a frame is due.
  Replayer ticked({160, 120}, log, 2);
  int64_t done = 0;
  for (size_t k = 0; k < frames.size(); ++k) {
    for (; done < std::min(TicksAtFrame(static_cast<int64_t>(k), timing.fps), ticks); ++done)
      ticked.program.replay.ReplayTick();
    ASSERT_EQ(frames[k], PixelsOf(ticked.program.main.images.canvas)) << "frame " << k;
  }
  EXPECT_FALSE(ticked.program.Replaying());
  EXPECT_NE(frames.front(), frames.back());
  // The hold shows the finished picture: six frames at 30 fps for 0.2 s.
  for (size_t k = frames.size() - 6; k < frames.size(); ++k)
    EXPECT_EQ(frames[k], frames.back());
  EXPECT_NE(frames[frames.size() - 7], frames.back());
}

TEST_F(ReplayFilmTest, AFilmOnALargerScreenFitsTheRecordingAsTheWindowDoes) {
  const LoadedLog log = DrawSomething(60);
  ASSERT_EQ(log.recordedSize, (CanvasSize{160, 120}));
  Replayer filmed({320, 240}, log, 2);
  Pixels last;
  ASSERT_TRUE(FilmReplay(filmed.program, FilmTiming{30, 0.0}, [&](const Surface& frame) {
    EXPECT_EQ(frame.Width(), 320);
    last = PixelsOf(frame);
    return true;
  }));
  Replayer ticked({320, 240}, log, 2);
  while (ticked.program.Replaying())
    ticked.program.replay.ReplayTick();
  EXPECT_EQ(last, PixelsOf(ticked.program.main.images.canvas));
  // The drawing reaches into the half that a replay at the recorded size leaves out.
  int64_t drawn = 0;
  for (int32_t y = 120; y < 240; ++y)
    for (int32_t x = 160; x < 320; ++x)
      drawn += (last[static_cast<size_t>(y) * 320 + x] & 0xFFFFFFu) != 0;
  EXPECT_GT(drawn, 1000);
}

TEST_F(ReplayFilmTest, ASinkThatStopsEndsTheFilmAndProgressClimbsToOne) {
  const LoadedLog log = DrawSomething(30);
  Replayer r({160, 120}, log, 2);
  int taken = 0;
  EXPECT_FALSE(FilmReplay(r.program, FilmTiming{}, [&](const Surface&) { return ++taken < 5; }));
  EXPECT_EQ(taken, 5);

  Replayer whole({160, 120}, log, 2);
  std::vector<double> progress;
  ASSERT_TRUE(FilmReplay(
      whole.program, FilmTiming{}, [](const Surface&) { return true; },
      [&](double done) { progress.push_back(done); }));
  ASSERT_FALSE(progress.empty());
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_DOUBLE_EQ(progress.back(), 1.0);
}

TEST_F(ReplayFilmTest, TheVideoButtonAsksForAVideoNameAndHandsItToTheShell) {
  Start();
  platform.saveAnswers = {std::nullopt, "/tmp/drawing.png", "/tmp/drawing.webm"};
  AskForReplayVideo(*program);  // cancelled
  EXPECT_FALSE(program->requests.saveVideo);
  AskForReplayVideo(*program);  // not a video name
  EXPECT_FALSE(program->requests.saveVideo);
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find("/tmp/drawing.png"), std::string::npos);
  AskForReplayVideo(*program);
  EXPECT_EQ(program->requests.saveVideo, "/tmp/drawing.webm");

  ASSERT_EQ(platform.saveDialogs.size(), 3u);
  const FileDialogSpec& spec = platform.saveDialogs[0];
  EXPECT_EQ(spec.filter,
            "MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|*.webm|Animated GIF (*.gif)|*.gif");
  EXPECT_EQ(spec.defaultExtension, "mp4");
  EXPECT_TRUE(spec.confirmOverwrite);
  EXPECT_EQ(spec.kind, FileKind::kVideos);
}

}  // namespace
}  // namespace quillo::testing
