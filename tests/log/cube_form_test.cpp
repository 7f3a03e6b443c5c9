// The log inspector: opening it with F11, its list, "CLEAR" and "CLOSE".
#include "log/cube_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"

namespace quillo::testing {
namespace {

constexpr int32_t kVkF11 = 122;

class CubeFormTest : public ProgramTest {
 protected:
  void ClickOn(ControlId id) {
    ControlEvent e;
    e.control = id;
    e.kind = EventKind::kClick;
    program->cubeForm.window.form.Dispatch(e);
  }
};

TEST_F(CubeFormTest, F11WithAPanelShownKeepsTheCanvasAndOpensTheListOfEveryEntry) {
  Start();
  CubeForm& cube = program->cubeForm;
  EXPECT_FALSE(cube.window.visible);
  // Three entries with the inspector closed.
  Press({100, 120});
  Move({140, 150});
  Move({180, 160});
  Release({180, 160});
  ASSERT_TRUE(program->BottomPanelVisible());
  Main().images.canvas.SetPixel({5, 5}, Rgb(7, 8, 9));
  Main().FormKeyDown(kVkF11, {});
  EXPECT_TRUE(cube.window.visible);
  // The drawing waits untouched under the window, backup and all.
  EXPECT_EQ(Main().images.canvas.Pixel({5, 5}), Rgb(7, 8, 9));
  EXPECT_NE(Main().images.Backup().Pixel({5, 5}), Rgb(7, 8, 9));
  const InspectorList& lines = program->log.Lines();
  ASSERT_EQ(lines.size(), 3u);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(lines[i].position, int32_t(i + 1));
  EXPECT_EQ(lines[0].code, lgmoused);
  EXPECT_EQ(lines[2].Format(), "3    0    2    0    6    180    160    " +
                                   std::to_string(PackPoint(180, 160, false)) + "    80    40");

  // The copy covers only the visible part; the panel's rows keep the backup's.
  Main().images.canvas.SetPixel({5, 767}, Rgb(1, 1, 1));
  Main().images.Backup().SetPixel({5, 767}, Rgb(2, 2, 2));
  Main().FormKeyDown(kVkF11, {});
  EXPECT_EQ(Main().images.Backup().Pixel({5, 767}), Rgb(2, 2, 2));
}

TEST_F(CubeFormTest, F11WithoutAPanelDoesNothing) {
  Start();
  Main().HideBottomPanels();
  Main().images.canvas.SetPixel({5, 5}, Rgb(7, 8, 9));
  Main().FormKeyDown(kVkF11, {});
  EXPECT_FALSE(program->cubeForm.window.visible);
  EXPECT_EQ(Main().images.Backup().Pixel({5, 5}), 0u);
}

TEST_F(CubeFormTest, ClearEmptiesTheListAndLeavesTheLog) {
  Start();
  Press({100, 120});
  Move({140, 150});
  Release({140, 150});
  const auto codes = program->log.Codes();
  const auto values = program->log.Values();
  const int32_t position = program->log.position;
  ClickOn(program->cubeForm.c.SpeedButton1);
  EXPECT_TRUE(program->log.Lines().empty());
  EXPECT_EQ(program->log.Codes(), codes);
  EXPECT_EQ(program->log.Values(), values);
  EXPECT_EQ(program->log.position, position);
  Press({150, 160});
  ASSERT_EQ(program->log.Lines().size(), 1u);
  EXPECT_EQ(program->log.Lines()[0].position, position + 1);
}

TEST_F(CubeFormTest, ReplayAddsLinesWithTheWindowClosedAndZeroAndNewClearThem) {
  Start();
  program->drawing.recording = true;
  program->replay.RecordLogHeader();
  Press({100, 120});
  Move({140, 150});
  Release({140, 150});
  const size_t recorded = program->log.Lines().size();
  ASSERT_EQ(recorded, 10u);
  program->replay.StartReplay();
  program->TimerTick(TimerId::logplaytimer);
  EXPECT_FALSE(program->cubeForm.window.visible);
  EXPECT_EQ(program->log.Lines().size(), recorded + 3);
  Click("btnzero");
  EXPECT_TRUE(program->log.Lines().empty());
  program->TimerTick(TimerId::logplaytimer);
  EXPECT_EQ(program->log.Lines().size(), 3u);
  platform.questionAnswers.push_back(Answer::kDiscard);
  Click("newbtn");
  // "NEW" clears, then records a new header.
  EXPECT_EQ(program->log.Lines().size(), 8u);
  EXPECT_EQ(program->log.Lines()[0].position, 1);
}

TEST_F(CubeFormTest, TheRepeatToggleClearsTheListEachTimeTheReplayWraps) {
  Start();
  program->drawing.recording = true;
  program->replay.RecordLogHeader();
  for (int i = 0; i < 12; ++i)
    program->RecordAction({}, lglinew, 1 + i);
  MainForm().SetDown(Main().c.SpeedButton41, true);
  ClickOn(program->cubeForm.c.SpeedButton1);
  program->replay.StartReplay();
  program->replayState.length = Count();
  // The wrap comes once the last entry, 20, has run.
  size_t most = 0;
  for (int tick = 0; tick < 20; ++tick) {
    program->TimerTick(TimerId::logplaytimer);
    most = std::max(most, program->log.Lines().size());
  }
  EXPECT_TRUE(program->Replaying());
  EXPECT_GE(most, 19u);  // up to a whole round, lines 0 to 20
  EXPECT_LE(most, 21u);
  EXPECT_LT(program->log.Lines()[0].position, 17);
}

TEST_F(CubeFormTest, CloseHidesTheInspectorAndRestoresOnlyTheDesignAreaOfALargerCanvas) {
  Start(1280, 1024);
  CubeForm& cube = program->cubeForm;
  Surface& canvas = Main().images.canvas;
  Main().images.Backup().FillRect({0, 0, 1280, 1024}, Rgb(10, 20, 30));
  canvas.FillRect({0, 0, 1280, 1024}, Rgb(200, 0, 0));
  cube.Open();
  ClickOn(cube.c.Button1);
  EXPECT_FALSE(cube.window.visible);
  EXPECT_EQ(canvas.Pixel({0, 0}), Rgb(10, 20, 30));
  EXPECT_EQ(canvas.Pixel({1023, 767}), Rgb(10, 20, 30));
  EXPECT_EQ(canvas.Pixel({1024, 767}), Rgb(200, 0, 0));
  EXPECT_EQ(canvas.Pixel({1023, 768}), Rgb(200, 0, 0));
  EXPECT_EQ(canvas.Pixel({1279, 1023}), Rgb(200, 0, 0));
}

TEST_F(CubeFormTest, WindowLegendsAndLayout) {
  Start(1920, 1080);
  CubeForm& cube = program->cubeForm;
  const Form& f = cube.window.form;
  EXPECT_EQ(cube.window.className, "TCubeForm");
  EXPECT_EQ(cube.window.clientWidth, 1920);
  EXPECT_EQ(cube.window.clientHeight, 1080);
  EXPECT_EQ(f[cube.c.SpeedButton1].caption, "CLEAR");
  EXPECT_EQ(f[cube.c.Button1].caption, "CLOSE");
  EXPECT_EQ(f[cube.c.ListBox5].kind, ControlKind::kListBox);
  EXPECT_EQ(f[cube.c.Label1].caption,
            "NextHalfByte: dtfree:=0; dtline:=1; dtrectangle:=2; dtellipse:=3; dtroundrect:=4; "
            "dtwave:=5; dtNuwave:=6;  dtNuWaveSpecial:=7;dtwave3:=8;dtwave4:=9;");
  EXPECT_EQ(f[cube.c.Label2].caption,
            std::string("lgzero:=0{copy};lgmoused(down):=1;lgcolor:=2; ") + char(127) +
                "lglinew:=3; lgshape:=4; lgmousem(move with palette color):=5; "
                "lgspacecolor:=6; lgpenmode:=7; lggroundcolor:=8; lgfieldcolor:=9; "
                "Lgwavedata:=10; lgcubecolor:=11; lgNuWaveSpecial:=12;lgbackfield:=13;"
                "lgZoom:=14; lgcanvasop:=15{kind 0 undo;1 negative;2 white;3 corner;"
                "4 step back;5 step forward};");
  // Laid out for 1024 x 768 and grown with the screen; the program's reference size
  // stays the main window's.
  EXPECT_EQ(f[cube.c.ListBox5].bounds, (Rect{135, 236, 857, 721}));
  EXPECT_EQ(cube.itemHeight, 23);
  EXPECT_EQ(f[cube.c.Button1].fontSize, f[cube.c.SpeedButton1].fontSize);
  EXPECT_GT(f[cube.c.Button1].fontSize, 8);
  EXPECT_EQ(program->canvasWidth, 1920);
  EXPECT_EQ(program->canvasHeight, 1080);
}

}  // namespace
}  // namespace quillo::testing
