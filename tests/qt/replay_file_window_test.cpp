// The file and replay strip as a user works it: a drawing saved, NEW, the file
// opened again and replayed.
#include <QElapsedTimer>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "shell_fixture.h"

namespace quillo {
namespace {

using ReplayFileWindowTest = ShellTest;

std::vector<uint32_t> Pixels(const Surface& s) {
  return std::vector<uint32_t>(s.Bits(), s.Bits() + size_t(s.Width()) * s.Height());
}

TEST_F(ReplayFileWindowTest, ASavedDrawingOpensAfterNewAndReplaysToTheSameCanvas) {
  // The start screen, a frame over the canvas, goes as the window system closes it.
  shell_->Window(WindowId::kForm2).close();
  auto waitForReplayEnd = [this] {
    QElapsedTimer clock;
    clock.start();
    while (Prog().Replaying() && clock.elapsed() < 20000)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(Prog().Replaying()) << "the replay did not end";
  };
  const Surface& canvas = Prog().main.images.canvas;

  std::vector<QPoint> path;
  for (int i = 0; i <= 70; ++i)
    path.emplace_back(120 + 7 * i, 150 + (i % 9) * 12);
  Drag(path);
  // Pen width up and down: entries that change nothing drawn, for the replay's end
  // to skip in place of the last strokes.
  Click(Widget("Label23"));
  Click(Widget("Label21"));
  ASSERT_GT(Prog().log.Count(), 70);
  const std::vector<uint32_t> drawn = Pixels(canvas);

  const std::string file = dir_.path().toStdString() + "/drawing.qlr";
  Click(Widget("SpeedButton53"));  // the file and replay strip
  platform_->saveNames.push_back(file);
  Click(Widget("SpeedButton3"));
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(std::filesystem::file_size(file), 8u * (Prog().log.Count() + 1) + kSizeTrailerBytes);

  // NEW shows only after a replay: play the drawing once, then start afresh.
  Click(Widget("SpeedButton40"));
  Click(Widget("LOGREPLAYBTN"));
  waitForReplayEnd();
  ASSERT_TRUE(Widget("newbtn")->isVisible());
  Click(Widget("newbtn"));
  EXPECT_EQ(Prog().log.Count(), 8);
  EXPECT_TRUE(std::all_of(canvas.Bits(), canvas.Bits() + drawn.size(),
                          [](uint32_t p) { return (p & 0xFFFFFF) == 0; }));

  Click(Widget("SpeedButton53"));
  platform_->openNames.push_back(file);
  Click(Widget("SpeedButton33"));
  EXPECT_EQ(Prog().log.Count(), Prog().replayState.length);
  EXPECT_GT(Prog().log.Count(), 70);
  EXPECT_EQ(MainForm()[Prog().main.c.Label2].caption, file);
  EXPECT_EQ(MainForm()[Prog().main.c.lblj].caption, std::to_string(Prog().log.Count()));

  Click(Widget("SpeedButton40"));
  Click(Widget("LOGREPLAYBTN"));
  waitForReplayEnd();
  EXPECT_TRUE(Pixels(canvas) == drawn) << "the replayed canvas differs from the drawing";
  const QImage shown = OnScreen(&Window());
  for (const QPoint& p : {path[10], path[35], path[69]})
    EXPECT_EQ(shown.pixel(p), canvas.Bits()[size_t(p.y()) * canvas.Width() + p.x()]);
  EXPECT_TRUE(platform_->errors.empty());
}

}  // namespace
}  // namespace quillo
