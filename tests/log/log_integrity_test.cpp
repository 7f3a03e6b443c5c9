// The recording holds whatever happens during a replay, and a replay in the same
// program draws what was drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "canvas/canvas_fixture.h"
#include "support/random_session.h"

namespace quillo::testing {
namespace {

class LogIntegrityTest : public CanvasTest {
 protected:
  std::vector<uint32_t> Codes() {
    return {program->log.Codes().begin(), program->log.Codes().begin() + Count() + 1};
  }
  std::vector<int32_t> Values() {
    return {program->log.Values().begin() + 1, program->log.Values().begin() + Count() + 1};
  }
  void RunToEnd() {
    for (int i = 0; i < 100000 && program->Replaying(); ++i)
      program->TimerTick(TimerId::logplaytimer);
  }
  void Zoom(Point a, Point b) {
    Click("SpeedButton34");
    Press(a);
    Move(b);
    Release(b);
    Click("SpeedButton42");
  }
};

// Draw, zoom, draw; "ZERO" and "PLAY"; a press on the canvas and "SaveLog" while it
// plays: the replay runs to the last entry and the recording keeps every entry.
TEST_F(LogIntegrityTest, PlayFromZeroNeverCutsOrOverwritesTheRecording) {
  Stroke({100, 100}, {300, 200});
  Zoom({50, 50}, {400, 300});
  for (int i = 0; i < 3; ++i)
    Stroke({200 + 50 * i, 400}, {600, 300 + 40 * i});
  const std::vector<uint32_t> codes = Codes();
  const std::vector<int32_t> values = Values();
  KeyDown(13);  // Enter: the file and replay strip
  Click("btnzero");
  Click("BTNPLAY");
  ASSERT_TRUE(program->Replaying());
  program->TimerTick(TimerId::logplaytimer);
  Stroke({500, 500}, {700, 600});  // not recorded while the replay plays
  Click("SpeedButton3");           // SaveLog, cancelled
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  RunToEnd();
  EXPECT_EQ(program->log.position, static_cast<int32_t>(codes[0]) + 1);
  EXPECT_EQ(Codes(), codes);
  EXPECT_EQ(Values(), values);

  // After the replay, drawing appends; "ZERO" and a stroke never overwrite entry 1.
  Click("btnzero");
  Stroke({10, 10}, {90, 90});
  EXPECT_GT(Count(), static_cast<int32_t>(codes[0]));
  EXPECT_TRUE(std::equal(values.begin(), values.end(), Values().begin()));
}

// "REPLAY" in the program that drew: the wave phase is set again even where the
// slider already stands at the logged value, and the picture is the live one.
TEST_F(LogIntegrityTest, ReplayInTheSameProgramRestartsTheWavePhase) {
  ControlEvent e;
  e.control = MainForm().Find("wavebtn");
  e.kind = EventKind::kMouseDown;
  MainForm().Dispatch(e);
  e.control = MainForm().Find("ScrollBar5");
  e.kind = EventKind::kChange;
  e.value = 5;
  MainForm().Dispatch(e);
  Press({300, 300});
  for (int i = 0; i < 5; ++i)
    Move({350 + 40 * i, 320 + 30 * i});  // an odd number of figures
  Release({550, 440});
  const Surface live = Copy(Canvas());
  program->replay.StartReplay();
  RunToEnd();
  EXPECT_EQ(Differ(live, Canvas()), 0);
}

// A zoom into a rectangle without width stretches nothing (the scratch picture of
// an older zoom stays out of sight) and is still logged.
TEST_F(LogIntegrityTest, ZoomIntoAnEmptyRectangleChangesNothingAndIsLogged) {
  Zoom({100, 100}, {500, 400});
  Stroke({600, 100}, {900, 700});
  const Surface before = Copy(Canvas());
  Zoom({300, 300}, {300, 500});
  EXPECT_EQ(Differ(before, Canvas()), 0);
  EXPECT_EQ(Code(Count()), uint32_t{lgZoom});
  EXPECT_EQ(Value(Count()), 100);
  EXPECT_EQ(ReplayDifference(*program), 0);
}

// Zooms and negatives whose rectangle the replay cannot find in the last press and
// move ("SELECT ALL", a zoom with no selection) log its corners first.
TEST_F(LogIntegrityTest, ZoomsAndNegativesReplayTheirOwnRectangles) {
  Stroke({100, 100}, {400, 300});
  Click("SpeedButton37");  // SELECT ALL
  KeyDown(kNumpadMinus);
  Stroke({500, 100}, {800, 600});
  Click("SpeedButton46");  // ZOOM OUT with no selection
  Stroke({200, 500}, {300, 600});
  Zoom({100, 100}, {600, 500});  // a selection drag: no corners needed
  EXPECT_EQ(Code(Count()), uint32_t{lgZoom});
  EXPECT_EQ(Code(Count() - 2) & 15u, uint32_t{lgmoused}) << "press, end, zoom";
  for (int32_t batch : {0, 2, 32})
    EXPECT_EQ(ReplayDifference(*program, batch), 0) << batch;
}

}  // namespace
}  // namespace quillo::testing
