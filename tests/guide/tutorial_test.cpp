#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "guide_fixture.h"

namespace quillo::testing {
namespace {

class TutorialStripTest : public GuideTest {
 protected:
  void SetUp() override {
    GuideTest::SetUp();
    WritePicture("littlblu.bmp", 400, 300, Rgb(10, 20, 30));
    StartUp();
    ClickOn(program->startScreen.window.form, program->startScreen.c.Label1);
  }
  void Scribble(int32_t moves) {
    program->main.FormMouseDown(MouseButton::kLeft, {}, {10, 10});
    for (int32_t i = 0; i < moves; ++i)
      program->main.FormMouseMove({}, {10 + i % 50, 20});
    program->main.FormMouseUp(MouseButton::kLeft, {}, {10, 20});
  }
  // The messages shown, by their place in the tutorial (1 to 5).
  std::vector<int> Shown() {
    std::vector<int> shown;
    const ControlId messages[] = {C().Label28, C().Label29, C().Label31, C().Label32, C().Label33};
    for (int i = 0; i < 5; ++i)
      if (Visible(messages[i])) shown.push_back(i + 1);
    return shown;
  }
};

// Each action in turn, and the same actions out of turn: a press, LOOP, REPLAY and
// STOP at any step leave exactly one message, which only moves on when its own
// action is done.
TEST_F(TutorialStripTest, OneMessageAtATimeWhateverIsClicked) {
  struct Step {
    const char* what;
    std::function<void()> act;
    int expected;
  };
  const std::vector<Step> steps = {
      {"LOOP before drawing", [&] { ClickMain("loopbtn"); }, 1},
      {"a short scribble", [&] { Scribble(3); }, 2},
      {"LOOP before REPLAY", [&] { ClickMain("loopbtn"); }, 2},
      {"more drawing", [&] { Scribble(60); }, 2},
      {"REPLAY", [&] { ClickMain("LOGREPLAYBTN"); }, 3},
      {"a press during the replay", [&] { Scribble(1); }, 3},
      {"LOOP", [&] { ClickMain("loopbtn"); }, 4},
      {"a press while looping", [&] { Scribble(1); }, 4},
      {"REPLAY again", [&] { ClickMain("LOGREPLAYBTN"); }, 4},
      {"STOP", [&] { ClickMain("LogStopBtn"); }, 5},
      {"a press on the canvas", [&] { Scribble(2); }, 5},
      {"LOOP once more", [&] { ClickMain("loopbtn"); }, 5},
  };
  ASSERT_EQ(Shown(), std::vector<int>{1});
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(Shown(), std::vector<int>{s.expected}) << "after " << s.what;
  }
  // "RUN" starts again from the first message alone, once the drawing may go.
  platform.questionAnswers.push_back(Answer::kDiscard);
  ClickMain(C().Label24);
  EXPECT_EQ(Shown(), std::vector<int>{1});
}

// The step that asks for REPLAY holds while REPLAY is still hidden: it says so.
TEST_F(TutorialStripTest, TheReplayStepSaysWhenReplayShows) {
  Scribble(3);
  ASSERT_FALSE(Visible(C().LOGREPLAYBTN));
  const std::string text = MainForm()[C().Label29].caption;
  EXPECT_NE(text.find("REPLAY"), std::string::npos);
  EXPECT_NE(text.find("once you have drawn enough"), std::string::npos);
  Scribble(60);
  EXPECT_TRUE(Visible(C().LOGREPLAYBTN));
}

// Every way into the tutorial, and its end, asks before it clears a picture that
// changed since it was saved; Cancel keeps it, Discard clears, a saved picture is not
// asked about.
TEST_F(TutorialStripTest, TheTutorialAsksBeforeItClearsAChangedPicture) {
  auto painted = [&] { return program->main.images.canvas.Pixel({30, 20}) != 0u; };
  const std::function<void()> ways[] = {
      [&] { ClickMain(C().Label24); },
      [&] { ClickOn(program->helpForm.window.form, program->helpForm.c.Label5); },
      [&] { ClickMain(C().Label33); }};
  for (const auto& way : ways) {
    Scribble(30);
    ASSERT_TRUE(painted());
    platform.questions.clear();
    way();  // dismissed: Cancel
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].find("The current picture is not saved."), std::string::npos);
    EXPECT_TRUE(painted());
    platform.questionAnswers.push_back(Answer::kDiscard);
    way();
    EXPECT_FALSE(painted());
    EXPECT_EQ(platform.questions.size(), 2u);
  }
  // Saved as a picture: the tutorial starts again without a question.
  Scribble(30);
  platform.questions.clear();
  platform.saveAnswers.push_back(PathOf("kept.bmp"));
  ClickMain("SpeedButton47");
  ClickMain(C().Label24);
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_FALSE(painted());
}

}  // namespace
}  // namespace quillo::testing
