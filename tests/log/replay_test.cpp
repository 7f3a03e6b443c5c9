#include "log/replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/program_fixture.h"

namespace quillo::testing {
namespace {

class ReplayTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->startScreen.GoStraightToDrawing();
  }
  Replay& R() { return program->replay; }
  ReplayState& State() { return program->replayState; }

  // Writes entries header+1 .. n as colour entries whose value is their position.
  void FillColours(int32_t n) {
    while (Count() < n)
      program->RecordAction({}, lgcolor, Count() + 1);
  }
  void RunToEnd(int maxTicks = 100000) {
    for (int i = 0; i < maxTicks && program->Replaying(); ++i)
      R().ReplayTick();
  }
  std::vector<int32_t> ExecutedPositions() {
    std::vector<int32_t> out;
    for (const InspectorLine& l : program->log.Lines())
      if (l.code != 0 || l.value != 0) out.push_back(l.position);
    return out;
  }
  Color Pen() { return Main().images.canvas.PenColor(); }
  void Click(const char* name) { ProgramTest::Click(name); }
  void BtnStep() { Click("BTNX2"); }
};

// Every entry runs, to the last one, at every speed: once (then recording goes on,
// the labels come back and one beep sounds), looping (after the last entry comes
// the first after the header) and with the repeat toggle (after the last entry the
// list is cleared and entry 1 follows).
TEST_F(ReplayTest, EveryEntryRunsToTheLastAtEverySpeed) {
  FillColours(100);
  for (int32_t batch : {0, 1, 2, 7, 31, 32}) {
    SCOPED_TRACE(::testing::Message() << "batch " << batch);
    platform.beeps = 0;
    program->log.ClearLines();
    Click("LOGREPLAYBTN");
    EXPECT_FALSE(program->drawing.recording);
    EXPECT_TRUE(Ctl("LogStopBtn").visible);
    State().batch = batch;
    RunToEnd();
    EXPECT_EQ(Pen(), 100u);
    EXPECT_EQ(platform.beeps, 1);
    const std::vector<int32_t> seen = ExecutedPositions();
    for (int32_t i = 1; i <= 100; ++i)
      EXPECT_EQ(std::count(seen.begin(), seen.end(), i), 1) << "entry " << i;
    EXPECT_EQ(Count(), 100);
    EXPECT_TRUE(program->drawing.recording);
    EXPECT_TRUE(Ctl("newbtn").visible);
    EXPECT_TRUE(Ctl("LOGREPLAYBTN").visible);
    EXPECT_FALSE(Ctl("LogStopBtn").visible);

    for (const char* wrap : {"loopbtn", "SpeedButton41"}) {
      program->log.ClearLines();
      Click(wrap);
      R().StartReplay();
      State().batch = batch;
      for (int i = 0; i < 1000 / (batch + 1); ++i)
        R().ReplayTick();
      if (program->log.Lines().empty()) R().ReplayTick();  // just wrapped
      EXPECT_TRUE(program->Replaying()) << wrap;
      const std::vector<int32_t> looped = ExecutedPositions();
      const bool loop = std::string(wrap) == "loopbtn";
      int rounds = 0;
      for (size_t i = 1; i < looped.size(); ++i) {
        if (looped[i - 1] != 100) continue;
        ++rounds;
        // LOOP goes on after the header; REPEAT clears the list, so entry 1 is first.
        if (loop) {
          EXPECT_EQ(looped[i], 9);
        }
      }
      if (loop) {
        EXPECT_GE(rounds, 2);
      } else {
        ASSERT_FALSE(looped.empty());
        EXPECT_EQ(looped.front(), 1);
      }
      Click(wrap);
      RunToEnd();
      EXPECT_EQ(Count(), 100);
    }
  }
}

TEST_F(ReplayTest, StepsRestoreWildPenAndFieldColours) {
  const int32_t n = Count();
  program->RecordAction({}, lgfieldcolor, Rgb(1, 2, 3));
  program->RecordAction({}, lgfieldcolor, Rgb(4, 5, 6));
  program->RecordAction({}, lgfieldcolor, Rgb(7, 8, 9));
  program->RecordAction({}, Lgwavedata, 1010);
  program->RecordAction({}, Lgwavedata, 1000);
  program->RecordAction({}, Lgwavedata, 1969);
  program->log.position = n;
  program->drawing.recording = false;
  State().length = Count();
  BtnStep();
  BtnStep();
  EXPECT_EQ(program->field.corner, kDefaultCorner);  // not yet: a triple applies whole
  BtnStep();
  EXPECT_EQ(program->field.corner, Rgb(1, 2, 3));
  EXPECT_EQ(program->field.horizontal, Rgb(7, 8, 9));
  EXPECT_EQ(Ctl("Label43").color, Rgb(7, 8, 9));
  EXPECT_EQ(State().fieldTripleCounter, 0);
  BtnStep();
  EXPECT_EQ(program->tools.waveFrequency2, 10);
  EXPECT_EQ(Ctl("Label39").caption, "10");
  BtnStep();
  EXPECT_EQ(program->tools.waveFrequency2, 10);
  BtnStep();
  EXPECT_DOUBLE_EQ(program->tools.wavePhase, -31 / 10.0);
  EXPECT_EQ(Ctl("ScrollBar5").position, -31);

  program->log.Codes()[1] = lgmoused;
  program->log.Values()[1] = -(100 * 65536 + 200);
  program->log.position = 0;
  BtnStep();
  EXPECT_TRUE(program->tools.wild);
  EXPECT_EQ(program->drawing.startPoint, (Point{100, 200}));
  EXPECT_EQ(Main().images.canvas.PenPos(), (Point{100, 200}));
  EXPECT_TRUE(State().penDown);
}

TEST_F(ReplayTest, MovesBeforeTheFirstPressDrawNothing) {
  program->log.position = 0;
  program->RecordAction({300, 300}, lgmousem, 2);
  program->RecordAction({400, 350}, lgmousem, 2);
  R().StartReplay();
  RunToEnd();
  const Surface& c = Main().images.canvas;
  int lit = 0;
  for (int32_t y = 0; y < c.Height(); y += 2)
    for (int32_t x = 0; x < c.Width(); x += 2)
      lit += c.Pixel({x, y}) != 0;
  EXPECT_EQ(lit, 0);
}

TEST_F(ReplayTest, PlayAndSingleStepAtTheEnd) {
  FillColours(20);
  program->log.position = 30;
  State().length = 20;
  Click("BTNPLAY");
  EXPECT_FALSE(program->Replaying());
  EXPECT_TRUE(Ctl("BTNSTOP").down);
  EXPECT_FALSE(Ctl("BTNPLAY").down);

  program->log.position = 5;
  Click("BTNPLAY");
  EXPECT_TRUE(program->Replaying());
  EXPECT_EQ(program->drawing.penMode, 4);
  Click("BTNSTOP");
  EXPECT_FALSE(program->Replaying());

  program->drawing.recording = false;
  Main().window.form.SetVisible(Main().c.newbtn, false);
  program->log.position = 18;
  BtnStep();
  EXPECT_FALSE(program->drawing.recording);
  BtnStep();  // 20 - 0 < 20? no; 21 passes the end
  BtnStep();
  EXPECT_TRUE(program->drawing.recording);
  EXPECT_TRUE(Ctl("newbtn").visible);
  EXPECT_TRUE(Ctl("LOGREPLAYBTN").visible);
}

// PLAY is shown down exactly while the replay runs, STOP once it has stopped,
// however the replay was started or stopped.
TEST_F(ReplayTest, PlayAndStopButtonsFollowTheReplayTimer) {
  FillColours(100);
  auto shows = [&](bool playing) {
    EXPECT_EQ(program->Replaying(), playing);
    EXPECT_EQ(Ctl("BTNPLAY").down, playing);
    EXPECT_EQ(Ctl("BTNSTOP").down, !playing);
  };
  shows(false);
  Click("loopbtn");
  Click("LOGREPLAYBTN");
  Main().ShowFilePanel();
  for (int i = 0; i < 60; ++i)
    R().ReplayTick();
  shows(true);
  Click("LogStopBtn");
  shows(false);
  Click("loopbtn");

  // PLAY to the end of the log.
  Click("btnzero");
  Click("BTNPLAY");
  shows(true);
  RunToEnd();
  shows(false);

  // PLAY from the middle, then the panel's STOP; the end of a REPLAY.
  program->log.position = 20;
  Click("BTNPLAY");
  shows(true);
  Click("BTNSTOP");
  shows(false);
  Click("LOGREPLAYBTN");
  shows(true);
  RunToEnd();
  shows(false);
}

TEST_F(ReplayTest, SpeedBarAndGoToPosition) {
  ControlEvent e;
  e.control = MainForm().Find("ScrollBar3");
  e.kind = EventKind::kChange;
  e.value = 40;
  MainForm().Dispatch(e);
  EXPECT_EQ(State().batch, 32);
  EXPECT_EQ(Ctl("Label1").caption, "Replay speed 32");

  e.control = MainForm().Find("Edit3");
  e.text = "1x2-3";
  MainForm().Dispatch(e);
  EXPECT_EQ(Ctl("Edit3").caption, "123");
  Click("SpeedButton43");
  EXPECT_EQ(program->log.position, 123);
  EXPECT_EQ(Ctl("lblj").caption, "123");
  e.text = "99999999999";
  MainForm().Dispatch(e);
  Click("SpeedButton43");
  EXPECT_EQ(program->log.position, 123);
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0], "Go to takes a whole number from 0 to 60000, not \"99999999999\".");
  e.text = "60001";
  MainForm().Dispatch(e);
  Click("SpeedButton43");
  EXPECT_EQ(program->log.position, 123);
  EXPECT_EQ(platform.errors.size(), 2u);
}

TEST_F(ReplayTest, NewStartsARecordingOfEightEntries) {
  FillColours(70);
  platform.questionAnswers.push_back(Answer::kDiscard);
  Click("newbtn");
  EXPECT_EQ(Count(), 8);
  EXPECT_EQ(State().length, 8);
  EXPECT_EQ(Code(1) & 15, lgshape);
  EXPECT_EQ(Code(2), lgNuWaveSpecial);
  EXPECT_EQ(Value(3), static_cast<int32_t>(kSrcCopy.code));
  EXPECT_EQ(Value(4), 4);
  EXPECT_EQ(Value(5), 32);
  EXPECT_EQ(Value(6), static_cast<int32_t>(kDefaultCorner));
  EXPECT_EQ(Value(8), static_cast<int32_t>(kDefaultHorizontal));
}

// "NEW" asks before it drops entries not saved since the last "SaveLog": Cancel and
// a cancelled or failed save keep the recording, Discard and a save that is written
// start the new one. A recording saved, or only its header, goes without a question.
TEST_F(ReplayTest, NewAsksBeforeItDropsARecordingNotSaved) {
  const std::string file = (std::filesystem::temp_directory_path() / "quillo-new.qlr").string();
  struct Case {
    std::vector<Answer> answers;
    std::optional<std::string> saveName;
    bool started;
  } cases[] = {{{Answer::kCancel}, std::nullopt, false},
               {{}, std::nullopt, false},  // the box dismissed
               {{Answer::kSave}, std::nullopt, false},
               {{Answer::kSave}, "/nonexistent-folder/x.qlr", false},
               {{Answer::kDiscard}, std::nullopt, true},
               {{Answer::kSave}, file, true}};
  for (const Case& c : cases) {
    FillColours(20);
    platform.questions.clear();
    platform.questionAnswers.assign(c.answers.begin(), c.answers.end());
    platform.saveAnswers.clear();
    if (c.answers == std::vector<Answer>{Answer::kSave}) platform.saveAnswers.push_back(c.saveName);
    Click("newbtn");
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0],
              "Start a new recording? The current one (20 entries) is not saved.");
    EXPECT_EQ(Count(), c.started ? 8 : 20);
  }
  // Saved, then nothing new: no question.
  FillColours(12);
  platform.questions.clear();
  platform.saveAnswers.assign({file});
  Click("SpeedButton3");
  Click("newbtn");
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(Count(), 8);
  Click("newbtn");
  EXPECT_TRUE(platform.questions.empty());
  std::filesystem::remove(file);
}

// Draws one drag with a tool and returns the canvas; the same drag replayed must
// give the same pixels.
class LiveAgainstReplayTest : public ReplayTest, public ::testing::WithParamInterface<int> {};

TEST_P(LiveAgainstReplayTest, ReplayDrawsWhatTheMouseDrew) {
  const auto tool = static_cast<uint8_t>(GetParam());
  for (int i = 0; i < 8; ++i) {
    program->specs.a[i] = 3 + i;
    program->specs.b[i] = 2 + i;
  }
  platform.clock = 12345;
  program->toolSelection.SelectTool(tool);
  const double phase = program->tools.wavePhase;
  Press({300, 300});
  for (int i = 1; i <= 6; ++i)
    Move({300 + 37 * i, 300 + 23 * i * (i % 2 ? 1 : -1)});
  Release({522, 162});
  // The replay's end rule leaves out up to its batch of last entries: pad with
  // entries that draw nothing.
  program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
  program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
  Surface live;
  ASSERT_TRUE(live.CopyFrom(Main().images.canvas));

  program->tools.wavePhase = phase;
  program->tools.tool = dtfree;
  R().StartReplay();
  RunToEnd();
  const Surface& replayed = Main().images.canvas;
  int differ = 0;
  for (int32_t y = 0; y < live.Height(); ++y)
    for (int32_t x = 0; x < live.Width(); ++x)
      differ += live.Pixel({x, y}) != replayed.Pixel({x, y});
  EXPECT_EQ(differ, 0) << "tool " << int{tool};
}

INSTANTIATE_TEST_SUITE_P(EveryTool, LiveAgainstReplayTest, ::testing::Range(0, 12));

}  // namespace
}  // namespace quillo::testing
