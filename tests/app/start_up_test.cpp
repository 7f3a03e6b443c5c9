#include <gtest/gtest.h>

#include <stdexcept>

#include "form/layout.h"
#include "program_fixture.h"

namespace quillo::testing {
namespace {

TEST_F(ProgramTest, CreatesTheSixWindowsInOrder) {
  Start();
  const char* classes[] = {"TPaintLog",       "TCubeForm",  "Tform1",
                           "TSpaceColorForm", "TWave3form", "TForm2"};
  auto windows = program->Windows();
  for (int i = 0; i < kWindowCount; ++i)
    EXPECT_EQ(windows[i]->className, classes[i]);
  EXPECT_TRUE(windows[0]->visible);
  for (int i = 1; i < kWindowCount; ++i)
    EXPECT_FALSE(windows[i]->visible) << classes[i];
  EXPECT_EQ(program->main.window.caption, "PaintLog");
  EXPECT_EQ(program->helpForm.window.caption, "Help");
  EXPECT_EQ(program->startScreen.window.caption, "Quillo ");
}

TEST_F(ProgramTest, DefaultsAfterCreation) {
  Start();
  EXPECT_EQ(program->canvasWidth, 1024);
  EXPECT_EQ(program->canvasHeight, 768);
  EXPECT_EQ(program->panelHeight, 81);
  EXPECT_EQ(Main().images.canvas.PenWidth(), 32);
  EXPECT_EQ(program->drawing.penMode, 4);
  EXPECT_EQ(program->drawing.copyMode, kSrcCopy);
  EXPECT_TRUE(program->drawing.autoPenWidth);
  EXPECT_FALSE(program->drawing.recording);
  EXPECT_EQ(program->tools.tool, dtfree);
  EXPECT_EQ(program->tools.waveFrequency2, 8);
  EXPECT_TRUE(Ctl("Panel1").visible);
  EXPECT_TRUE(Ctl("panel4").visible);
  EXPECT_FALSE(Ctl("Panel2").visible);
  EXPECT_FALSE(Ctl("Panel5").visible);
  EXPECT_FALSE(Ctl("Panel8").visible);
  EXPECT_FALSE(Ctl("Label49").visible);
  EXPECT_FALSE(Ctl("LOGREPLAYBTN").visible);
  EXPECT_TRUE(Ctl("loopbtn").visible);
  EXPECT_EQ(Main().images.Backup().Pixel({500, 300}), 0u);
  int toolButtons = 0;
  for (const Control& c : MainForm().Controls()) {
    if (c.tag != 10) continue;
    ++toolButtons;
    EXPECT_EQ(c.color, c.name == "freebtn" ? 0xAA00DDu : 0xFF0066u) << c.name;
  }
  EXPECT_EQ(toolButtons, 12);
}

TEST_F(ProgramTest, DesignSizeScreenMovesNothing) {
  Start(1024, 768);
  Program reference(platform, "");
  // A program that is never created keeps the layout exactly as designed.
  for (ControlId id = 0; id < MainForm().Count(); ++id) {
    EXPECT_EQ(MainForm()[id].bounds, reference.main.window.form[id].bounds);
    EXPECT_EQ(MainForm()[id].fontSize, reference.main.window.form[id].fontSize);
  }
}

TEST_F(ProgramTest, LargerScreenScalesEveryBoundAndFont) {
  Start(1280, 1024);
  Program reference(platform, "");
  const Form& design = reference.main.window.form;
  for (ControlId id = 0; id < MainForm().Count(); ++id) {
    const Rect d = design[id].bounds;
    const Rect s = MainForm()[id].bounds;
    EXPECT_EQ(s.left, MulDiv(d.left, 1280, 1024)) << design[id].name;
    EXPECT_EQ(s.right, MulDiv(d.right, 1280, 1024)) << design[id].name;
    EXPECT_EQ(s.top, MulDiv(d.top, 1024, 768)) << design[id].name;
    EXPECT_EQ(s.bottom, MulDiv(d.bottom, 1024, 768)) << design[id].name;
    const bool scalesFont =
        design[id].kind == ControlKind::kLabel || design[id].kind == ControlKind::kSpeedButton;
    EXPECT_EQ(MainForm()[id].fontSize,
              scalesFont ? MulDiv(design[id].fontSize, 1024, 768) : design[id].fontSize);
  }
  EXPECT_EQ(program->canvasWidth, 1280);
  EXPECT_EQ(program->canvasHeight, 1024);
  EXPECT_EQ(program->panelHeight, MulDiv(768, 1024, 768) - MulDiv(687, 1024, 768));
}

TEST_F(ProgramTest, ScreenOfDesignHeightIsNotScaled) {
  Start(1366, 768);
  EXPECT_EQ(program->canvasWidth, 1024);
  EXPECT_EQ(program->canvasHeight, 768);
  EXPECT_EQ(Ctl("Panel1").bounds.right, 1024);
  // Log points are kept in reference units: x is scaled by 1024 / 1366.
  Press({1366 / 2, 100});
  EXPECT_EQ(UnpackPoint(Value(1)).x, MulDiv(683, 1024, 1366));
  EXPECT_EQ(UnpackPoint(Value(1)).y, 100);
}

// Windows bind their controls by name once, while they are built: a name that is
// not in the layout fails there, and an id that is no control is refused.
TEST(FormTest, UnknownNamesAndIdsAreRefused) {
  Form form;
  Control panel1;
  panel1.name = "Panel1";
  const ControlId panel = form.Add(panel1);
  EXPECT_EQ(form.Id("Panel1"), panel);
  EXPECT_THROW(form.Id("Panel9"), std::invalid_argument);
  EXPECT_EQ(form.Find("Panel9"), kNoControl);
  EXPECT_THROW(form.Add(panel1), std::invalid_argument);
  EXPECT_THROW(form[kNoControl], std::out_of_range);
  EXPECT_THROW(form[1], std::out_of_range);
  EXPECT_THROW(form.SetVisible(7, false), std::out_of_range);
  const LayoutRow orphan[] = {{"Label1", ControlKind::kLabel, "NoSuchPanel", 0, 0, 10, 10, "", ""}};
  EXPECT_THROW(AddLayout(form, orphan), std::invalid_argument);
}

TEST(ScaleFormTest, ZeroReferenceSizeDoesNothing) {
  Form form;
  Control c;
  c.bounds = {10, 10, 20, 20};
  form.Add(c);
  int32_t w = 0, h = 768;
  ScaleFormToScreen(form, 2048, 1536, w, h);
  EXPECT_EQ(form[0].bounds, (Rect{10, 10, 20, 20}));
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 768);
  // A second scaling goes from the last size to the new one.
  w = 1024;
  ScaleFormToScreen(form, 2048, 1536, w, h);
  ScaleFormToScreen(form, 1024, 768, w, h);
  EXPECT_EQ(form[0].bounds, (Rect{10, 10, 20, 20}));
}

TEST_F(ProgramTest, CloseQuestionOnlyOkCloses) {
  Start();
  Press({10, 10});
  Click("SpeedButton53");
  const int32_t count = Count();
  Click("SpeedButton6");
  EXPECT_EQ(platform.questions, std::vector<std::string>{"Is it OK to close Quillo?"});
  EXPECT_FALSE(program->requests.quit);
  EXPECT_EQ(Count(), count);
  EXPECT_TRUE(Ctl("Panel2").visible);
  platform.questionAnswers.push_back(Answer::kOk);
  Click("SpeedButton6");
  EXPECT_TRUE(program->requests.quit);
  EXPECT_FALSE(Main().FormCloseQuery());  // dismissed: no answer queued
}

TEST_F(ProgramTest, HintSwitchTwiceRestoresEveryHint) {
  Start();
  std::vector<bool> before;
  for (const Control& c : MainForm().Controls())
    before.push_back(c.showHint);
  Click("SpeedButton23");
  EXPECT_FALSE(Ctl("freebtn").showHint);
  Click("SpeedButton23");
  for (ControlId id = 0; id < MainForm().Count(); ++id)
    EXPECT_EQ(MainForm()[id].showHint, before[id]);
}

TEST_F(ProgramTest, MinimiseButtonsAskTheShell) {
  Start();
  Click("SpeedButton53");
  Click("SpeedButton4");
  EXPECT_TRUE(program->requests.minimize);
}

}  // namespace
}  // namespace quillo::testing
