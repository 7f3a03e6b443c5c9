// Random sessions through the program's handlers, replayed from their logs into a
// fresh program: the log only grows, and the replay draws the live picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "canvas/canvas_fixture.h"
#include "support/random_session.h"

namespace quillo::testing {
namespace {

TEST(LiveReplayHarness, RandomSessionsKeepTheirLogAndReplayAsDrawn) {
  int compared = 0;
  for (uint64_t seed = 1; seed <= 48; ++seed) {
    const SessionReport r = RunRandomSession({seed, 50});
    EXPECT_EQ(r.logFault, "") << "seed " << seed;
    EXPECT_EQ(r.differentPixels, 0) << "seed " << seed << ": " << r.trace;
    compared += r.compared ? 1 : 0;
  }
  // Nearly every session is compared, before its first unlogged action at the latest
  // (not while a selection's band shows).
  EXPECT_GE(compared, 44);
}

// What the harness found, each as the shortest session that showed it, replayed at
// three speeds: the replay must draw the live picture.
class FoundByTheHarness : public CanvasTest {
 protected:
  void MouseDown(const char* name) {
    ControlEvent e;
    e.control = MainForm().Find(name);
    e.kind = EventKind::kMouseDown;
    MainForm().Dispatch(e);
  }
};

TEST_F(FoundByTheHarness, SessionsReplayAsDrawn) {
  const std::vector<std::pair<const char*, std::function<void()>>> sessions = {
      {"strokes after a selection ended by a tool",
       [&] {
         Click("SpeedButton34");
         Stroke({150, 150}, {350, 300});
         MouseDown("ellipsebtn");
         Stroke({500, 100}, {700, 300});
       }},
      {"a selection ended in the cube's colours keeps the pen",
       [&] {
         Click("SpeedButton24");
         Stroke({100, 100}, {300, 200});
         Click("SpeedButton34");
         Stroke({150, 150}, {350, 300});
         MouseDown("roundrectbtn");
         Click("SpeedButton8");
         Stroke({400, 400}, {700, 500});
       }},
      {"the palette's colour after a stroke with colour steps",
       [&] {
         MouseDown("wave3btn");
         Stroke({200, 200}, {600, 500});
         Click("SpeedButton8");
         MouseDown("freebtn");
         Stroke({100, 600}, {900, 650});
       }},
      {"Copy ColorField in the centre layout",
       [&] {
         Stroke({100, 100}, {300, 200});
         Click("SpeedButton52");
         Form& editor = program->spaceColorForm.window.form;
         for (const char* name : {"SpeedButton10", "Label4", "Label3"}) {
           ControlEvent e;
           e.control = editor.Find(name);
           editor.Dispatch(e);
         }
         Stroke({400, 400}, {500, 500});
       }},
      {"a store kept after a negative leaves the copy mode",
       [&] {
         Click("SrcErase");
         Stroke({100, 100}, {400, 300});
         KeyDown(kNumpadMinus);
         Type('M');
         Stroke({300, 300}, {600, 500});
       }},
      {"the editor closed over a combining copy mode",
       [&] {
         Click("MergePaint");
         KeyDown(kNumpadMinus);
         Stroke({100, 100}, {400, 300});
         Click("SpeedButton52");
         program->spaceColorForm.CloseColorEditor();
         Stroke({300, 300}, {600, 500});
       }},
      {"clears in the background colour and to black",
       [&] {
         Stroke({100, 100}, {400, 300});
         program->drawing.backgroundColor = Rgb(200, 90, 0);
         Click("Label14");
         Stroke({300, 300}, {600, 500});
         Click("Label18");
         Stroke({500, 100}, {800, 400});
       }},
  };
  for (const auto& [what, session] : sessions) {
    SetUp();
    session();
    for (int32_t batch : {0, 2, 32})
      EXPECT_EQ(ReplayDifference(*program, batch), 0) << what << ", batch " << batch;
  }
}

}  // namespace
}  // namespace quillo::testing
