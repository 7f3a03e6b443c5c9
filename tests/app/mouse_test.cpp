#include <gtest/gtest.h>

#include "program_fixture.h"

namespace quillo::testing {
namespace {

TEST_F(ProgramTest, PressAndReleaseWithoutMovement) {
  Start();
  Main().images.Backup().FillRect({0, 0, 1024, 768}, Rgb(9, 9, 9));  // an older backup
  Press({100, 200});
  EXPECT_TRUE(program->drawing.recording);
  EXPECT_TRUE(program->drawing.drawing);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Code(1), 1u);
  EXPECT_EQ(Value(1), 100 * 65536 + 200);
  Main().images.canvas.SetPixel({5, 5}, Rgb(1, 2, 3));
  Release({100, 200});
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Main().images.UndoImage().Pixel({5, 5}), Rgb(9, 9, 9));
  EXPECT_EQ(Main().images.Backup().Pixel({5, 5}), Rgb(1, 2, 3));
  EXPECT_FALSE(program->drawing.drawing);
}

TEST_F(ProgramTest, DragDrawsInFieldColoursAndLogsEveryMove) {
  Start();
  Press({100, 100});
  Move({300, 120});
  Move({600, 150});
  Move({900, 180});
  Release({900, 180});
  ASSERT_EQ(Count(), 4);
  for (int i = 2; i <= 4; ++i)
    EXPECT_EQ(Code(i), 518u) << i;
  EXPECT_EQ(UnpackPoint(Value(3)).x, 600);
  EXPECT_EQ(UnpackPoint(Value(3)).y, 150);
  // FINGERPAINT at width 32: the stroke passes the middle of each segment...
  const Surface& canvas = Main().images.canvas;
  EXPECT_NE(canvas.Pixel({450, 135}), 0u);
  EXPECT_NE(canvas.Pixel({750, 165}), 0u);
  // ...in the field colour of the point where the move arrived.
  ColourField field = program->field;
  EXPECT_EQ(canvas.Pixel({750, 165}), field.FieldColorValue(900, 180));
  EXPECT_EQ(canvas.Pixel({100, 400}), 0u);
  EXPECT_EQ(Main().images.Backup().Pixel({750, 165}), canvas.Pixel({750, 165}));
  EXPECT_EQ(program->drawing.lastPenColor, canvas.PenColor());
}

TEST_F(ProgramTest, MoveRepaintsOnlyTheStroke) {
  Start();
  Press({100, 100});
  Main().images.canvas.TakeDirty();
  Move({140, 130});
  const Rect dirty = Main().images.canvas.TakeDirty();
  EXPECT_FALSE(dirty.Empty());
  EXPECT_LE(dirty.Width(), 40 + 34);
  EXPECT_LE(dirty.Height(), 30 + 34);
  EXPECT_LE(dirty.left, 100 - 16);
  EXPECT_GE(dirty.right, 140 + 16);
}

TEST_F(ProgramTest, MovesWithoutButtonOrDuringReplayRecordNothing) {
  Start();
  Move({50, 50});
  EXPECT_EQ(Count(), 0);
  program->timers.Enable(TimerId::logplaytimer, true);
  Main().images.Backup().FillRect({0, 0, 1024, 768}, Rgb(0, 0, 200));
  Press({100, 100});
  Move({200, 200});
  Release({200, 200});
  EXPECT_EQ(Count(), 0);
  EXPECT_FALSE(program->drawing.drawing);
  // The press still repainted from the backup.
  EXPECT_EQ(Main().images.canvas.Pixel({600, 20}), Rgb(0, 0, 200));
  EXPECT_EQ(Main().images.canvas.Pixel({150, 150}), Rgb(0, 0, 200));
}

TEST_F(ProgramTest, AltPicksTheColourUnderThePointer) {
  Start();
  Main().images.canvas.SetPixel({40, 50}, Rgb(12, 34, 56));
  Modifiers alt;
  alt.alt = true;
  Move({40, 50}, alt);
  EXPECT_EQ(Main().images.canvas.PenColor(), Rgb(12, 34, 56));
  EXPECT_EQ(program->drawing.lastPenColor, Rgb(12, 34, 56));
  EXPECT_EQ(Count(), 0);
}

TEST_F(ProgramTest, CtrlDragMovesTheScreenInsteadOfDrawing) {
  Start();
  Press({100, 100});
  Modifiers ctrl;
  ctrl.ctrl = true;
  Move({150, 150}, ctrl);
  EXPECT_FALSE(program->drawing.drawing);
  EXPECT_EQ(program->drawing.currentPoint, (Point{150, 150}));
  EXPECT_EQ(Count(), 1);
}

TEST_F(ProgramTest, RightButtonTogglesTheToolStrip) {
  Start();
  Main().images.Backup().FillRect({0, 700, 1024, 768}, Rgb(0, 200, 0));
  Press({500, 300}, MouseButton::kRight);
  EXPECT_FALSE(Ctl("Panel1").visible);
  EXPECT_FALSE(program->drawing.drawing);
  EXPECT_EQ(Main().images.canvas.Pixel({500, 720}), Rgb(0, 200, 0));
  Move({520, 320});
  EXPECT_EQ(Count(), 1);  // the press only
  Release({520, 320}, MouseButton::kRight);
  // The release still takes a snapshot, now over the whole height.
  EXPECT_EQ(Main().images.Backup().Pixel({500, 720}), Rgb(0, 200, 0));
  Press({500, 300}, MouseButton::kRight);
  EXPECT_TRUE(Ctl("Panel1").visible);
  // With the file panel shown the right button leaves the strips alone.
  Click("SpeedButton53");
  Press({500, 300}, MouseButton::kRight);
  EXPECT_TRUE(Ctl("Panel2").visible);
  EXPECT_FALSE(Ctl("Panel1").visible);
}

TEST_F(ProgramTest, SnapshotsCoverOnlyTheVisibleHeight) {
  Start();
  Press({10, 10});
  Main().images.canvas.FillRect({0, 0, 1024, 768}, Rgb(200, 0, 0));
  Release({10, 10});
  EXPECT_EQ(Main().images.Backup().Pixel({10, 10}), Rgb(200, 0, 0));
  EXPECT_EQ(Main().images.Backup().Pixel({10, 700}), 0u);  // under Panel1
}

TEST_F(ProgramTest, FilePanelKeepsTheDrawingUnderIt) {
  Start();
  Main().FormKeyDown(32, {});  // Space: no strip
  ASSERT_FALSE(program->BottomPanelVisible());
  Main().images.canvas.FillRect({0, 600, 1024, 768}, Rgb(0, 0, 222));
  Click("SpeedButton53");
  EXPECT_TRUE(Ctl("Panel2").visible);
  EXPECT_FALSE(Ctl("Panel1").visible);
  EXPECT_EQ(Main().images.Backup().Pixel({300, 740}), Rgb(0, 0, 222));
  // Draw under the strip, then go back: the strip's area shows the backup again
  // once the canvas is repainted from it.
  Main().images.canvas.FillRect({0, 700, 1024, 768}, Rgb(255, 255, 255));
  Click("SpeedButton40");
  EXPECT_TRUE(Ctl("Panel1").visible);
  Main().FormKeyDown(32, {});
  EXPECT_EQ(Main().images.canvas.Pixel({300, 740}), Rgb(0, 0, 222));
  // The settings strip and its way back.
  Click("SpeedButton54");
  EXPECT_TRUE(Ctl("Panel5").visible);
  Click("SpeedButton22");
  EXPECT_TRUE(Ctl("Panel1").visible);
  EXPECT_FALSE(Ctl("Panel5").visible);
}

TEST_F(ProgramTest, PenWidthControls) {
  Start();
  Press({1, 1});  // recording on
  Main().SetPenWidth(3);
  const int32_t before = Count();
  Click("Label21");
  EXPECT_EQ(Main().images.canvas.PenWidth(), 1);
  ASSERT_EQ(Count(), before + 2);
  EXPECT_EQ(Code(before + 1), 3u);
  EXPECT_EQ(Value(before + 1), 1);
  EXPECT_EQ(Code(before + 2), 3u);
  EXPECT_EQ(Value(before + 2), 1);
  EXPECT_EQ(Ctl("PenWlabel").caption, "1");
  Click("Label21");
  EXPECT_EQ(Count(), before + 2);
  Main().SetPenWidth(512);
  Click("Label23");
  EXPECT_EQ(Main().images.canvas.PenWidth(), 1024);
  Click("Label23");  // at least the screen width: refused
  EXPECT_EQ(Main().images.canvas.PenWidth(), 1024);
  Main().FormKeyDown(39, {});
  EXPECT_EQ(Main().images.canvas.PenWidth(), 1024);
  Main().FormKeyDown(37, {});
  EXPECT_EQ(Main().images.canvas.PenWidth(), 1023);
  Main().FormKeyDown(101, {});  // numeric pad 5
  EXPECT_EQ(Main().images.canvas.PenWidth(), 16);
  Click("SpeedButton58");
  EXPECT_FALSE(program->drawing.autoPenWidth);
  EXPECT_EQ(Code(Count()), 3u);  // the switch itself logs nothing
}

TEST_F(ProgramTest, PenAndCopyModeButtonsSetAndLog) {
  Start();
  Press({1, 1});
  Click("SpeedButton18");
  EXPECT_EQ(program->drawing.penMode, 14);
  EXPECT_EQ(Code(Count()), 7u);
  EXPECT_EQ(Value(Count()), 14);
  EXPECT_TRUE(Ctl("SpeedButton18").down);
  EXPECT_FALSE(Ctl("SpeedButton20").down);
  Click("SrcInvert");
  EXPECT_EQ(program->drawing.copyMode, kSrcInvert);
  EXPECT_EQ(Code(Count()), 0u);
  EXPECT_EQ(Value(Count()), 0x00660046);
  // The next stroke combines its colour with white by exclusive or.
  Main().images.Backup().FillRect({0, 0, 1024, 768}, Rgb(255, 255, 255));
  Press({200, 200});
  Move({260, 230});
  const Color pen = Main().images.canvas.PenColor();
  EXPECT_EQ(Main().images.canvas.Pixel({230, 215}), pen ^ 0xFFFFFFu);
}

TEST_F(ProgramTest, ReplayLabelAfterTheFiftiethEntryAndFullLog) {
  Start();
  Press({1, 1});
  for (int i = 2; i <= 50; ++i)
    Move({i, i});
  EXPECT_EQ(Count(), 50);
  EXPECT_FALSE(Ctl("LOGREPLAYBTN").visible);
  Move({60, 60});
  EXPECT_TRUE(Ctl("LOGREPLAYBTN").visible);
  EXPECT_EQ(Ctl("lblj").caption, "51");

  program->log.Codes()[0] = kLogCapacity - 1;
  Move({70, 70});
  EXPECT_EQ(Ctl("lblj").caption, "60000");
  EXPECT_FALSE(program->drawing.recording);
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer3));
  EXPECT_TRUE(Ctl("LogStopBtn").visible);
  EXPECT_EQ(platform.beeps, 1);
  Main().SetPenWidth(5);
  EXPECT_EQ(platform.beeps, 2);
  EXPECT_EQ(program->log.Count(), kLogCapacity);
  program->TimerTick(TimerId::Timer3);
  EXPECT_FALSE(Ctl("LogStopBtn").visible);
  program->TimerTick(TimerId::Timer3);
  EXPECT_TRUE(Ctl("LogStopBtn").visible);
}

TEST_F(ProgramTest, ChangedControlsAreReportedOnce) {
  Start();
  MainForm().TakeChanged();
  Press({1, 1});
  Main().SetPenWidth(8);
  Main().SetPenWidth(9);
  const auto changed = MainForm().TakeChanged();
  EXPECT_EQ(std::count(changed.begin(), changed.end(), MainForm().Find("PenWlabel")), 1);
  EXPECT_TRUE(MainForm().TakeChanged().empty());
}

}  // namespace
}  // namespace quillo::testing
