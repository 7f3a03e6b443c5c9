// Sessions that undo, invert, clear and recall the background, replayed: the
// replay must leave the canvas the live session left.
#include <gtest/gtest.h>

#include "canvas/canvas_fixture.h"

namespace quillo::testing {
namespace {

class CanvasReplayTest : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    // A background picture of stripes, so its recall shows.
    Surface& field = program->fieldPicture;
    for (int32_t y = 0; y < 768; y += 16)
      field.FillRect({0, y, 1024, y + 8}, Rgb(0, 40 + y / 4, 200));
  }

  // Ends the live session and replays it; returns the pixels that differ.
  int64_t ReplayAndCompare() {
    // The replay's end rule leaves out up to its batch of last entries.
    for (int i = 0; i < 3; ++i)
      program->RecordAction({}, lglinew, Canvas().PenWidth());
    const Surface live = Copy(Canvas());
    // Whatever the canvas shows at "REPLAY" becomes the undo image: make it one that
    // no undo of the session brings back.
    Canvas().FillRect({0, 0, 1024, 768}, Rgb(77, 66, 55));
    program->replay.StartReplay();
    for (int i = 0; i < 100000 && program->Replaying(); ++i)
      program->replay.ReplayTick();
    EXPECT_FALSE(program->Replaying());
    return Differ(live, Canvas());
  }
};

TEST_F(CanvasReplayTest, UndoAfterStrokesReplaysTheSamePicture) {
  Stroke({100, 100}, {400, 300});
  Stroke({500, 100}, {800, 400});
  Click("SpeedButton25");
  Stroke({200, 500}, {600, 700});
  Click("SpeedButton25");
  Click("SpeedButton25");
  Stroke({300, 300}, {350, 600});
  EXPECT_EQ(ReplayAndCompare(), 0);
}

TEST_F(CanvasReplayTest, ClicksAndUndoReplayTheSnapshotsTheyTook) {
  Stroke({100, 100}, {400, 300});
  Press({600, 600});  // a click: a snapshot with nothing drawn
  Release({600, 600});
  Click("SpeedButton25");  // so this brings back the same picture
  EXPECT_EQ(ReplayAndCompare(), 0);
}

TEST_F(CanvasReplayTest, SelectionNegativeAndItsUndoReplay) {
  Stroke({100, 100}, {400, 300});
  Click("SpeedButton34");
  Press({350, 350});
  Move({250, 200});
  Move({150, 150});
  Release({150, 150});
  Click("SpeedButton29");
  Stroke({500, 100}, {800, 400});
  KeyDown(kEnd);
  Press({600, 50});
  Move({900, 500});
  Release({900, 500});
  KeyDown(kNumpadMinus);
  Click("SpeedButton25");
  Stroke({100, 600}, {700, 700});
  EXPECT_EQ(ReplayAndCompare(), 0);
}

TEST_F(CanvasReplayTest, ClearsAndBackgroundRecallsReplay) {
  Stroke({100, 100}, {400, 300});
  Click("Label18");
  Stroke({500, 100}, {800, 400});
  Click("SpeedButton25");  // back to the picture before the clear
  Stroke({200, 500}, {600, 700});
  Click("AVI_btn");
  Stroke({300, 300}, {350, 600});
  Click("SrcInvert");
  Type('b');
  Click("SpeedButton25");
  Type('b');
  Click("Label14");
  Stroke({100, 100}, {200, 200});
  Click("Label5");
  Stroke({700, 200}, {900, 700});
  Click("SpeedButton25");
  Stroke({100, 400}, {300, 500});
  EXPECT_EQ(ReplayAndCompare(), 0);
}

TEST_F(CanvasReplayTest, ClearsInABackgroundColourReplayWithTheirBlackBackup) {
  Stroke({100, 100}, {400, 300});
  program->drawing.backgroundColor = Rgb(0, 0, 160);
  Click("Label18");
  Stroke({500, 100}, {800, 400});  // on black again: the press shows the backup
  Click("Label15");
  Click("SpeedButton25");
  Stroke({200, 500}, {600, 700});
  EXPECT_EQ(ReplayAndCompare(), 0);
}

}  // namespace
}  // namespace quillo::testing
