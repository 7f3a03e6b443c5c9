// Zoom, drag screen and fly screen through the main window's buttons, keys, mouse
// and fly timer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/program_fixture.h"

namespace quillo::testing {
namespace {

constexpr int32_t kVkUp = 38;
constexpr int32_t kVkDown = 40;

class ScreenMovesTest : public ProgramTest {
 protected:
  // A started program with no bottom panel and a picture whose every pixel differs,
  // on the canvas and in the backup, as after a committed stroke.
  void StartWithPicture(int32_t w = 1024, int32_t h = 768) {
    Start(w, h);
    Main().HideBottomPanels();
    Surface& canvas = Main().images.canvas;
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i)
      canvas.Bits()[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    Main().images.Backup().CopyRect(canvas.Bounds(), canvas, canvas.Bounds(), kSrcCopy);
  }
  std::vector<uint32_t> Pixels(const Surface& s) {
    return std::vector<uint32_t>(s.Bits(), s.Bits() + size_t(s.Width()) * s.Height());
  }
  // The picture shifted by (dx, dy) with wrap-around, pixel by pixel.
  static std::vector<uint32_t> Shifted(const std::vector<uint32_t>& p, int32_t w, int32_t h,
                                       int32_t dx, int32_t dy) {
    std::vector<uint32_t> out(p.size());
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        out[size_t(((y + dy) % h + h) % h) * w + size_t(((x + dx) % w + w) % w)] =
            p[size_t(y) * w + x];
    return out;
  }
  static Modifiers Ctrl() {
    Modifiers m;
    m.ctrl = true;
    m.left = true;
    return m;
  }
};

TEST_F(ScreenMovesTest, CtrlDragMovesEveryPixelAndLogsOnlyThePress) {
  StartWithPicture();
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  Press({200, 300});
  const int32_t count = Count();
  Move({206, 302}, Ctrl());
  Move({210, 305}, Ctrl());
  EXPECT_EQ(Pixels(Main().images.canvas), Shifted(before, 1024, 768, 10, 5));
  // The rightmost columns came back at the left, the bottom rows at the top.
  EXPECT_EQ(Main().images.canvas.Bits()[0], before[size_t(763) * 1024 + 1014]);
  EXPECT_EQ(program->drawing.startPoint, (Point{210, 305}));
  EXPECT_FALSE(program->drawing.drawing);
  Release({210, 305});
  EXPECT_EQ(Count(), count);
  EXPECT_EQ(Code(count), uint32_t{lgmoused});
  // The release commits the moved picture as the backup.
  EXPECT_EQ(Pixels(Main().images.Backup()), Shifted(before, 1024, 768, 10, 5));
}

TEST_F(ScreenMovesTest, DragScreenButtonDragsWithoutCtrlAndAWholeTurnGivesThePictureBack) {
  StartWithPicture(800, 600);
  Click("SpeedButton50");
  EXPECT_TRUE(program->drawing.dragScreen);
  EXPECT_EQ(Main().window.pointer, PointerShape::kCross);
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  Modifiers held;
  held.left = true;
  Press({10, 10});
  Move({10 + 800, 10}, held);
  EXPECT_EQ(Pixels(Main().images.canvas), before);
  Move({10 + 800 - 3, 10 - 600 - 4}, held);
  EXPECT_EQ(Pixels(Main().images.canvas), Shifted(before, 800, 600, -3, -4));
  Release({0, 0});

  Click("SpeedButton50");
  EXPECT_FALSE(program->drawing.dragScreen);
  EXPECT_EQ(Main().window.pointer, PointerShape::kDefault);
  // Without the mode and without Ctrl, a move draws again.
  Press({100, 100});
  Move({140, 100}, held);
  EXPECT_TRUE(program->drawing.drawing);
  EXPECT_EQ(Code(Count()) & 15u, uint32_t{lgspacecolor});
}

TEST_F(ScreenMovesTest, NothingMovesWhileABottomPanelShowsOrTheFieldHasNoSize) {
  StartWithPicture();
  MainForm().SetVisible(Main().c.Panel1, true);
  Press({200, 300});
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  Move({230, 310}, Ctrl());
  EXPECT_EQ(Pixels(Main().images.canvas), before);
  EXPECT_EQ(program->drawing.startPoint, (Point{200, 300}));
  EXPECT_EQ(program->drawing.currentPoint, (Point{230, 310}));
  Release({230, 310});

  Main().HideBottomPanels();
  program->field.fieldWidth = 0;
  Press({200, 300});
  Move({230, 310}, Ctrl());
  EXPECT_EQ(Pixels(Main().images.canvas), before);
}

TEST_F(ScreenMovesTest, FlyScreenDriftsByAnEighthOfThePointerOffsetEachTick) {
  StartWithPicture(640, 480);
  Click("SpeedButton51");
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer2));
  program->drawing.selectionStart = {100, 100};
  program->drawing.currentPoint = {100 + 17, 100 - 23};
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  program->TimerTick(TimerId::Timer2);
  // 17 / 8 = 2 and -23 / 8 = -2, both toward zero.
  EXPECT_EQ(Pixels(Main().images.canvas), Shifted(before, 640, 480, 2, -2));
  EXPECT_EQ(program->drawing.startPoint, (Point{117, 77}));
  program->TimerTick(TimerId::Timer2);
  EXPECT_EQ(Pixels(Main().images.canvas), Shifted(before, 640, 480, 4, -4));
  Click("SpeedButton51");
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer2));

  // Alt+Z on release starts it, Alt+X stops it; the keys without Alt do neither.
  Modifiers alt;
  alt.alt = true;
  Main().FormKeyUp('Z', {});
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer2));
  Main().FormKeyUp('Z', alt);
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer2));
  Main().FormKeyUp('X', {});
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer2));
  Main().FormKeyUp('X', alt);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer2));
}

TEST_F(ScreenMovesTest, ZoomInOfTheWholeVisibleCanvasChangesNothingButIsLoggedAndUndoable) {
  StartWithPicture();
  program->drawing.recording = true;
  Main().images.Backup().FillRect({0, 0, 1024, 768}, Rgb(1, 2, 3));  // an older backup
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  program->drawing.selectionStart = {0, 0};
  program->drawing.selectionEnd = {1024, 768};
  const int32_t count = Count();
  Click("SpeedButton42");
  EXPECT_EQ(Pixels(Main().images.canvas), before);
  // No press in the log to take the rectangle from: its corners come first.
  ASSERT_EQ(Count(), count + 3);
  EXPECT_EQ(Code(Count()), uint32_t{lgZoom});
  EXPECT_EQ(Value(Count()), 100);
  // The snapshot: the picture before the zoom is the undo image, the zoomed one the
  // backup.
  EXPECT_EQ(Pixels(Main().images.UndoImage()), before);
  EXPECT_EQ(Pixels(Main().images.Backup()), before);
}

TEST_F(ScreenMovesTest, ZoomOutShrinksTheWholePictureIntoTheRectangleAndUndoBringsItBack) {
  StartWithPicture();
  program->drawing.recording = true;
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  program->drawing.startPoint = {0, 0};
  program->drawing.selectionEnd = {512, 384};
  Click("SpeedButton46");
  const Surface& canvas = Main().images.canvas;
  for (int32_t y = 0; y < 768; y += 7) {
    for (int32_t x = 0; x < 1024; x += 5) {
      const uint32_t now = canvas.Bits()[size_t(y) * 1024 + x];
      if (x < 512 && y < 384) {
        // One pixel of the 2 x 2 block it stands for.
        const size_t at = size_t(2 * y) * 1024 + size_t(2 * x);
        ASSERT_TRUE(now == before[at] || now == before[at + 1] || now == before[at + 1024] ||
                    now == before[at + 1025])
            << x << "," << y;
      } else {
        ASSERT_EQ(now, before[size_t(y) * 1024 + x]) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(Value(Count()), 200);
  program->canvasOps.Undo();
  EXPECT_EQ(Pixels(canvas), before);
}

TEST_F(ScreenMovesTest, ArrowKeysZoomFromThePressPointToTheSelectionEnd) {
  StartWithPicture();
  program->drawing.recording = true;
  const std::vector<uint32_t> before = Pixels(Main().images.canvas);
  program->drawing.startPoint = {100, 50};
  program->drawing.selectionEnd = {356, 242};
  program->drawing.selectionStart = {0, 0};  // not the arrows' corner
  Main().FormKeyDown(kVkUp, {});
  // The 256 x 192 rectangle fills the canvas: each of its pixels four times over.
  const Surface& canvas = Main().images.canvas;
  for (int32_t y = 0; y < 768; y += 11)
    for (int32_t x = 0; x < 1024; x += 13)
      ASSERT_EQ(canvas.Bits()[size_t(y) * 1024 + x],
                before[size_t(50 + y / 4) * 1024 + size_t(100 + x / 4)])
          << x << "," << y;
  EXPECT_EQ(Value(Count()), 100);

  Main().FormKeyDown(kVkDown, {});
  EXPECT_EQ(Value(Count()), 200);
  // Shrunk back into the same rectangle: a quarter-size copy of the zoomed canvas,
  // which at those pixels is the original again.
  for (int32_t y = 50; y < 242; y += 9)
    for (int32_t x = 100; x < 356; x += 7)
      ASSERT_EQ(canvas.Bits()[size_t(y) * 1024 + x], before[size_t(y) * 1024 + x]) << x << "," << y;
}

TEST_F(ScreenMovesTest, ReplayRepeatsZoomsAsTheyWereDrawn) {
  Start();
  program->startScreen.GoStraightToDrawing();
  Main().HideBottomPanels();
  // A replayed zoom works from the press point to the last move, so the live zooms
  // here end their rectangles there too.
  Press({300, 300});
  Move({500, 400});
  Move({700, 350});
  Release({700, 350});
  program->drawing.selectionEnd = {700, 350};
  Main().FormKeyDown(kVkUp, {});
  Press({100, 500});
  Move({400, 600});
  Move({600, 700});
  Release({600, 700});
  program->drawing.selectionEnd = {600, 700};
  Main().FormKeyDown(kVkDown, {});
  // The replay stops up to its batch of entries before the end: pad with entries
  // that draw nothing.
  program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
  program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
  const std::vector<uint32_t> live = Pixels(Main().images.canvas);

  program->replay.StartReplay();
  program->replayState.length = Count();
  while (program->Replaying())
    program->TimerTick(TimerId::logplaytimer);
  EXPECT_EQ(Pixels(Main().images.canvas), live);
}

}  // namespace
}  // namespace quillo::testing
