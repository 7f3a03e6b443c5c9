#include "guide/start_screen.h"

#include <array>

#include "colour/colour_field.h"
#include "colour/kcl_file.h"
#include "guide/guide_fixture.h"

namespace quillo::testing {
namespace {

constexpr Color kToolOn = 0xAA00DD;

TEST_F(GuideTest, WithTheFieldCacheTheSetUpDoesNothingAndTheStartScreenShows) {
  WritePicture("littlblu.bmp", 400, 300, Rgb(1, 2, 3));
  StartUp();
  EXPECT_EQ(platform.pendingEventRounds, 0);
  EXPECT_TRUE(platform.savedPictures.empty());
  EXPECT_TRUE(platform.errors.empty());
  const WindowState& screen = program->startScreen.window;
  EXPECT_TRUE(screen.visible);
  EXPECT_TRUE(screen.modal);
  EXPECT_TRUE(screen.borderless);
  EXPECT_EQ(screen.caption, "Quillo ");
  EXPECT_EQ(screen.clientWidth, 640);
  EXPECT_EQ(screen.clientHeight, 465);
  EXPECT_EQ(screen.left, (160 - 640) / 2);
  EXPECT_EQ(screen.top, (120 - 465) / 2);
  // The cache is loaded as the inspector's picture and stretched over the field.
  EXPECT_EQ(program->fieldCache.Width(), 400);
  EXPECT_EQ(program->fieldPicture.Pixel({100, 100}), Rgb(1, 2, 3));
  // The initialisation's new recording: its header, FINGERPAINT, Wild off.
  EXPECT_EQ(program->log.Count(), 8);
  EXPECT_TRUE(program->drawing.recording);
  EXPECT_FALSE(program->tools.wild);
  // No title picture without its file.
  EXPECT_EQ(screen.form[program->startScreen.c.Image1].glyph, "");
}

// On a screen taller than the design's the window and its choices grow with the
// height and stay centred; their words grow alike.
TEST_F(GuideTest, OnATallerScreenTheStartScreenGrowsWithTheHeight) {
  platform.screen = {1920, 1080};
  WritePicture("littlblu.bmp", 400, 300, Rgb(1, 2, 3));
  StartUp();
  const StartScreen& s = program->startScreen;
  EXPECT_EQ(s.window.clientWidth, 900);
  EXPECT_EQ(s.window.clientHeight, 654);
  EXPECT_EQ(s.window.left, (1920 - 900) / 2);
  EXPECT_EQ(s.window.top, (1080 - 654) / 2);
  const Control& go = s.window.form[s.c.Label3];
  EXPECT_EQ(go.bounds, (Rect{495, 596, 892, 639}));
  EXPECT_EQ(go.fontSize, 21);
  EXPECT_EQ(s.window.form[s.c.Image1].bounds, (Rect{135, 113, 833, 540}));
}

TEST_F(GuideTest, TheTitlePictureIsShownWhenItsFileIsThere) {
  WritePicture("newquillo4.bmp", 496, 304, Rgb(0, 0, 0));
  StartUp();
  const StartScreen& s = program->startScreen;
  EXPECT_EQ(s.window.form[s.c.Image1].glyph, "newquillo4.bmp");
}

TEST_F(GuideTest, FirstStartRendersTheFieldRowByRowAndKeepsItsMiniature) {
  int rounds = 0;
  bool messageShown = true;
  bool panelHidden = true;
  bool rowsMatch = true;
  platform.onPendingEvents = [&] {
    // Before each row: the message up, the panel away, the rows so far on the canvas
    // exactly as in the field picture.
    Form& f = program->main.window.form;
    messageShown = messageShown && f[program->main.c.Label49].visible;
    panelHidden = panelHidden && !f[program->main.c.Panel1].visible;
    if (rounds > 0) {
      const int32_t y = rounds - 1;
      for (int32_t x = 0; x < 160; ++x)
        rowsMatch = rowsMatch && program->main.images.canvas.Pixel({x, y}) ==
                                     program->fieldPicture.Pixel({x, y});
    }
    ++rounds;
  };
  // The key "t" holds a set whose field has no two equal rows or columns.
  const std::array<Color, 3> t = {Rgb(0, 40, 200), Rgb(250, 120, 0), Rgb(30, 220, 90)};
  StartUp([&](Program& p) { p.keyColours.table[4] = t; });
  EXPECT_EQ(rounds, 120);
  EXPECT_TRUE(messageShown);
  EXPECT_TRUE(panelHidden);
  EXPECT_TRUE(rowsMatch);

  // Every pixel of the field picture is the field's colour there, in the set of the
  // key "t" that the set-up applied.
  ColourField field;
  field.corner = t[0];
  field.vertical = t[1];
  field.horizontal = t[2];
  field.SetEditorSize(160, 120);
  ASSERT_EQ(program->fieldPicture.Width(), 160);
  ASSERT_EQ(program->fieldPicture.Height(), 120);
  for (int32_t y = 0; y < 120; ++y)
    for (int32_t x = 0; x < 160; ++x)
      ASSERT_EQ(program->fieldPicture.Pixel({x, y}), field.FieldColorValue(x, y)) << x << "," << y;

  // The 400 x 300 miniature.
  ASSERT_EQ(platform.savedPictures, std::vector<std::string>{PathOf("littlblu.bmp")});
  Surface cache;
  ASSERT_FALSE(platform.LoadPicture(PathOf("littlblu.bmp"), cache));
  EXPECT_EQ(cache.Width(), 400);
  EXPECT_EQ(cache.Height(), 300);
  EXPECT_EQ(cache.Pixel({399, 299}), program->fieldPicture.Pixel({159, 119}));

  // Afterwards: the default field colours, the canvas cleared, the panel back, the
  // random colour timer as it was, and the start screen up.
  EXPECT_EQ(program->field.corner, kDefaultCorner);
  EXPECT_EQ(program->field.vertical, kDefaultVertical);
  EXPECT_EQ(program->main.images.canvas.Pixel({80, 60}), 0u);
  EXPECT_FALSE(Visible(C().Label49));
  EXPECT_TRUE(Visible(C().Panel1));
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  EXPECT_TRUE(program->startScreen.window.visible);
  EXPECT_TRUE(platform.errors.empty());

  // The next start only loads it.
  platform.pendingEventRounds = 0;
  platform.onPendingEvents = nullptr;
  StartUp();
  EXPECT_EQ(platform.pendingEventRounds, 0);
}

TEST_F(GuideTest, TheFirstStartRendersTheKeyColourSetOfTReadFromQwertyKcl) {
  KeyColorTable table{};
  table[4] = {Rgb(0, 0, 200), Rgb(40, 120, 255), Rgb(150, 220, 255)};
  ASSERT_FALSE(WriteKclFile(PathOf("Qwerty.kcl"), table));
  StartUp();
  ColourField field;
  field.corner = table[4][0];
  field.vertical = table[4][1];
  field.horizontal = table[4][2];
  field.SetEditorSize(160, 120);
  EXPECT_EQ(program->fieldPicture.Pixel({0, 0}), field.FieldColorValue(0, 0));
  EXPECT_EQ(program->fieldPicture.Pixel({80, 30}), field.FieldColorValue(80, 30));
  Surface cache;
  ASSERT_FALSE(platform.LoadPicture(PathOf("littlblu.bmp"), cache));
  EXPECT_EQ(cache.Pixel({0, 0}), Rgb(0, 0, 200));
  // A blue field, nowhere black.
  for (int32_t y = 0; y < 300; y += 7)
    for (int32_t x = 0; x < 400; x += 7)
      ASSERT_GE(cache.Pixel({x, y}) >> 16, 200u) << x << "," << y;
}

// A folder of the miniature's name is no miniature: the set-up runs (and reports
// that it cannot write the picture), as the start screen's own test has it.
TEST_F(GuideTest, AFolderNamedLikeTheMiniatureIsNoMiniature) {
  std::filesystem::create_directory(PathOf("littlblu.bmp"));
  StartUp();
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find("littlblu.bmp"), std::string::npos) << platform.errors[0];
  EXPECT_FALSE(program->startScreen.window.visible);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
}

TEST_F(GuideTest, ACacheThatCannotBeWrittenIsReportedAndTheRestOfTheSetUpSkipped) {
  platform.saveError = "Cannot create file \"" + PathOf("littlblu.bmp") + "\".";
  StartUp();
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find("littlblu.bmp"), std::string::npos);
  EXPECT_FALSE(Exists("littlblu.bmp"));
  // The timer the set-up switched is switched back, so "#" tells the truth; skipped:
  // the default colours and the clear.
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  EXPECT_EQ(program->field.corner, program->keyColours.table[4][0]);
  EXPECT_NE(program->field.corner, kDefaultCorner);
  // The window goes back to drawing; there is no start screen at this start.
  EXPECT_FALSE(Visible(C().Label49));
  EXPECT_TRUE(Visible(C().Panel1));
  EXPECT_FALSE(program->startScreen.window.visible);
}

class ChoiceTest : public GuideTest {
 protected:
  void SetUp() override {
    GuideTest::SetUp();
    WritePicture("littlblu.bmp", 400, 300, Rgb(10, 20, 30));
    StartUp();
    // Something to reset: a drawing, other tools and states, a longer log.
    program->main.FormMouseDown(MouseButton::kLeft, {}, {10, 10});
    program->main.FormMouseMove({}, {50, 40});
    program->main.FormMouseUp(MouseButton::kLeft, {}, {50, 40});
    program->toolSelection.SelectTool(dtwave);
    program->main.images.canvas.SetPenWidth(3);
    ClickMain("loopbtn");
    ASSERT_TRUE(program->replayState.loop);
    ASSERT_GT(program->log.Count(), 8);
  }
  void Choose(ControlId id) { ClickOn(program->startScreen.window.form, id); }
  const StartScreen::Ids& S() { return program->startScreen.c; }
};

TEST_F(ChoiceTest, GoStraightToDrawingStartsAFreshRecording) {
  program->main.images.canvas.FillRect({0, 0, 160, 120}, Rgb(200, 0, 0));
  Choose(S().Label3);
  EXPECT_FALSE(program->startScreen.window.visible);
  EXPECT_EQ(program->log.Count(), 8);
  EXPECT_EQ(program->tools.tool, dtfree);
  EXPECT_EQ(MainForm()[C().toolButtons[dtfree]].color, kToolOn);
  EXPECT_NE(MainForm()[C().toolButtons[dtwave]].color, kToolOn);
  EXPECT_EQ(program->main.images.canvas.PenWidth(), 32);
  EXPECT_FALSE(program->replayState.loop);
  EXPECT_EQ(MainForm()[C().loopbtn].fontColor, Rgb(0, 255, 0));
  EXPECT_FALSE(Visible(C().Panel8));
  EXPECT_TRUE(program->drawing.recording);
  EXPECT_EQ(program->drawing.penMode, 4);
  EXPECT_EQ(program->main.images.canvas.Pixel({80, 60}), 0u);
  EXPECT_FALSE(Visible(C().newbtn));
  EXPECT_FALSE(Visible(C().LOGREPLAYBTN));
}

TEST_F(ChoiceTest, TheTutorialChoiceShowsTheStripWithItsFirstMessage) {
  platform.questionAnswers.push_back(Answer::kDiscard);  // the drawing may go
  Choose(S().Label1);
  EXPECT_FALSE(program->startScreen.window.visible);
  EXPECT_EQ(program->log.Count(), 8);
  EXPECT_TRUE(Visible(C().Panel8));
  EXPECT_TRUE(Visible(C().Label28));
  for (ControlId other : {C().Label29, C().Label31, C().Label32, C().Label33})
    EXPECT_FALSE(Visible(other));
}

TEST_F(ChoiceTest, TheHelpChoiceOpensTheHelpWindowAndResetsNothing) {
  const int32_t count = program->log.Count();
  Choose(S().Label4);
  EXPECT_FALSE(program->startScreen.window.visible);
  EXPECT_TRUE(program->helpForm.window.visible);
  EXPECT_EQ(program->log.Count(), count);
  EXPECT_EQ(program->tools.tool, dtwave);
}

TEST_F(ChoiceTest, TheDemoReplaysTheDemoLogNineEntriesATick) {
  WriteDemoLog(40);
  program->timers.Enable(TimerId::Timer4, true);
  program->fieldPicture.FillRect({0, 0, 160, 120}, 0);
  Choose(S().Label2);
  EXPECT_FALSE(program->startScreen.window.visible);
  ASSERT_EQ(platform.pointerMoves.size(), 1u);
  EXPECT_EQ(platform.pointerMoves[0], (Point{0, 0}));
  EXPECT_FALSE(Visible(C().Panel8));
  EXPECT_TRUE(Visible(C().LogStopBtn));
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  EXPECT_TRUE(program->Replaying());
  EXPECT_TRUE(program->replayState.demoRunning);
  EXPECT_FALSE(program->drawing.recording);
  EXPECT_TRUE(program->tools.wild);
  EXPECT_EQ(program->replayState.length, 40);
  EXPECT_EQ(program->log.position, 0);
  // The field is back from its cache.
  EXPECT_EQ(program->fieldPicture.Pixel({80, 60}), Rgb(10, 20, 30));

  program->TimerTick(TimerId::logplaytimer);
  EXPECT_EQ(program->log.position, 9);
  program->TimerTick(TimerId::logplaytimer);
  EXPECT_EQ(program->log.position, 18);
  // Recording is off: replaying added nothing.
  EXPECT_EQ(program->log.Count(), 40);
}

TEST_F(ChoiceTest, AMissingDemoLogIsReportedAndTheStartScreenStays) {
  Choose(S().Label2);
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find("Newonee.log"), std::string::npos);
  EXPECT_TRUE(program->startScreen.window.visible);
  // Steps before the read have happened: a fresh drawing, no tutorial strip.
  EXPECT_EQ(program->log.Count(), 8);
  EXPECT_FALSE(Visible(C().Panel8));
  EXPECT_FALSE(program->Replaying());
  EXPECT_FALSE(program->replayState.demoRunning);

  // A short one is refused whole the same way.
  std::ofstream(PathOf("Newonee.log"), std::ios::binary) << "short";
  Choose(S().Label2);
  EXPECT_EQ(platform.errors.size(), 2u);
  EXPECT_TRUE(program->startScreen.window.visible);
  EXPECT_FALSE(program->Replaying());
}

}  // namespace
}  // namespace quillo::testing
