#include "colour/colour_mixer.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/program_fixture.h"
#include "support/random_session.h"

namespace quillo::testing {
namespace {

class ColourMixerTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->startScreen.GoStraightToDrawing();
  }
  ColourMixer& Mixer() { return program->colourMixer; }
  void Send(const char* name, EventKind kind, MouseButton b = MouseButton::kLeft,
            Modifiers mods = {}) {
    ControlEvent e;
    e.control = MainForm().Find(name);
    ASSERT_NE(e.control, kNoControl) << name;
    e.kind = kind;
    e.button = b;
    e.modifiers = mods;
    MainForm().Dispatch(e);
  }
  void SetMix(Color c) { MainForm().SetColor(Main().c.mix, c); }
  Color Pen() { return Main().images.canvas.PenColor(); }
  // Pads the log past the replay's end rule, replays it from other colours and
  // modes than the session ended with, and expects the very same canvas.
  void ExpectReplayDrawsTheCanvas(int atLeastColoured) {
    program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
    program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
    Surface live;
    ASSERT_TRUE(live.CopyFrom(Main().images.canvas));
    Main().FormKeyPress('q');
    Click("SpeedButton8");
    Send("Label13", EventKind::kClick);
    // The replay clears to the background colour, which a mix click may have set.
    SetMix(0);
    Send("mix", EventKind::kClick);
    program->replay.StartReplay();
    for (int i = 0; i < 100000 && program->Replaying(); ++i)
      program->replay.ReplayTick();
    const Surface& replayed = Main().images.canvas;
    int differ = 0, coloured = 0;
    for (int32_t py = 0; py < live.Height(); ++py)
      for (int32_t px = 0; px < live.Width(); ++px) {
        differ += live.Pixel({px, py}) != replayed.Pixel({px, py});
        coloured += live.Pixel({px, py}) != 0;
      }
    EXPECT_GT(coloured, atLeastColoured);
    EXPECT_EQ(differ, 0);
  }
  // A table whose set s has the corner colour (s + 1, 0, 0).
  void NumberTheKeySets() {
    for (uint32_t s = 0; s < 9; ++s)
      program->keyColours.table[s] = {Rgb(s + 1, 0, 0), Rgb(0, s + 1, 0), Rgb(0, 0, s + 1)};
  }
  // The key of the set the field shows: q..o by the numbered table, p for the
  // defaults.
  char FieldKey() {
    if (program->field.corner == kDefaultCorner) return 'p';
    return "qwertyuio"[(program->field.corner & 255u) - 1];
  }
};

TEST_F(ColourMixerTest, MixerStepsAtTheEndsOfTheRange) {
  struct Case {
    uint32_t from;
    bool raise, lower;
    uint32_t afterOne;
  } cases[] = {
      {0, true, false, 2},     {1, true, false, 3},      {254, true, false, 254},
      {255, true, false, 255}, {0, false, true, 0},      {1, false, true, 1},
      {254, false, true, 252}, {255, false, true, 253},  {0, true, true, 0},
      {1, true, true, 1},      {254, true, true, 252},   {255, true, true, 253},
      {0, false, false, 0},    {255, false, false, 255},
  };
  const char* labels[] = {"redlbl", "greenlbl", "bluelbl"};
  const TimerId timers[] = {TimerId::redtimer, TimerId::greentimer, TimerId::bluetimer};
  for (int ch = 0; ch < 3; ++ch)
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << labels[ch] << " from " << c.from << " raise " << c.raise
                                        << " lower " << c.lower);
      const uint32_t shift = 8u * static_cast<uint32_t>(ch);
      const Color others = Rgb(77, 77, 77) & ~(255u << shift);
      SetMix(others | (c.from << shift));
      Modifiers held;
      if (c.raise) Send(labels[ch], EventKind::kMouseDown, MouseButton::kLeft);
      held.left = c.raise;
      if (c.lower) Send(labels[ch], EventKind::kMouseDown, MouseButton::kRight, held);
      if (!c.raise && !c.lower) Send(labels[ch], EventKind::kMouseDown, MouseButton::kMiddle);
      EXPECT_TRUE(program->timers.Enabled(timers[ch]));
      program->TimerTick(timers[ch]);
      EXPECT_EQ(Mixer().Mix(), others | (c.afterOne << shift));
      // A held button keeps the channel where a second tick leaves it: the same.
      for (int i = 0; i < 200; ++i)
        program->TimerTick(timers[ch]);
      const Color settled = Mixer().Mix();
      program->TimerTick(timers[ch]);
      EXPECT_EQ(Mixer().Mix(), settled);
      EXPECT_LE((settled >> shift) & 255u, 255u);
      Send(labels[ch], EventKind::kMouseUp);
      EXPECT_FALSE(program->timers.Enabled(timers[ch]));
    }
}

TEST_F(ColourMixerTest, HeldButtonsRunToTheirEnds) {
  struct Case {
    uint32_t from;
    MouseButton button;
    std::vector<uint32_t> steps;
  } cases[] = {
      {250, MouseButton::kLeft, {252, 254, 254}},
      {251, MouseButton::kLeft, {253, 255, 255}},
      {3, MouseButton::kRight, {1, 1}},
      {4, MouseButton::kRight, {2, 0, 0}},
  };
  for (const Case& c : cases) {
    SetMix(Rgb(c.from, 192, 192));
    Send("redlbl", EventKind::kMouseDown, c.button);
    for (uint32_t expected : c.steps) {
      program->TimerTick(TimerId::redtimer);
      EXPECT_EQ(Mixer().Mix(), Rgb(expected, 192, 192)) << c.from;
    }
    Send("redlbl", EventKind::kMouseUp, c.button);
  }
  // The mixer changes neither the pen nor the log.
  const int32_t before = Count();
  const Color pen = Pen();
  SetMix(Rgb(192, 192, 192));
  Send("redlbl", EventKind::kMouseDown);
  for (int i = 0; i < 40; ++i)
    program->TimerTick(TimerId::redtimer);
  EXPECT_EQ(Mixer().Mix(), Rgb(254, 192, 192));
  EXPECT_EQ(Pen(), pen);
  EXPECT_EQ(Count(), before);
}

TEST_F(ColourMixerTest, PicksSetThePenAndAreLogged) {
  SetMix(Rgb(10, 20, 30));
  Send("greenlbl", EventKind::kMouseDown);
  program->TimerTick(TimerId::greentimer);
  Send("greenlbl", EventKind::kClick);
  Send("greenlbl", EventKind::kMouseUp);
  EXPECT_EQ(Pen(), Rgb(0, 255, 0));  // pure green, whatever the mixer did
  EXPECT_EQ(Code(Count()), lgcolor);
  EXPECT_EQ(Value(Count()), static_cast<int32_t>(Rgb(0, 255, 0)));

  Send("bluelbl", EventKind::kDblClick);
  EXPECT_EQ(Mixer().Mix(), Rgb(0, 0, 255));
  EXPECT_EQ(Pen(), Rgb(0, 0, 255));
  EXPECT_EQ(Value(Count()), static_cast<int32_t>(Rgb(0, 0, 255)));

  Send("Label12", EventKind::kClick);
  EXPECT_EQ(Pen(), Rgb(255, 153, 0));
  EXPECT_EQ(Value(Count()), static_cast<int32_t>(Rgb(255, 153, 0)));

  // A double click stores the mix in a swatch, unlogged.
  int32_t before = Count();
  SetMix(Rgb(1, 2, 3));
  Send("Label9", EventKind::kDblClick);
  EXPECT_EQ(Ctl("Label9").color, Rgb(1, 2, 3));
  EXPECT_EQ(Count(), before);

  // mix: pen and background; with Ctrl the press first takes the last pen colour.
  Send("mix", EventKind::kClick);
  EXPECT_EQ(Pen(), Rgb(1, 2, 3));
  EXPECT_EQ(program->drawing.backgroundColor, Rgb(1, 2, 3));
  EXPECT_EQ(Count(), before + 1);
  EXPECT_TRUE(Ctl("SpeedButton8").down);  // the pick selected P
  Click("SpeedButton9");
  Move({300, 200});  // mode S: the pen takes the field colour here
  const Color field = program->field.FieldColorAt(300, 200);
  ASSERT_EQ(program->drawing.lastPenColor, field);
  Modifiers ctrl;
  ctrl.ctrl = true;
  Send("mix", EventKind::kMouseDown, MouseButton::kLeft, ctrl);
  EXPECT_EQ(Mixer().Mix(), field);
  Send("mix", EventKind::kClick, MouseButton::kLeft, ctrl);
  EXPECT_EQ(Pen(), field);
  EXPECT_EQ(program->drawing.backgroundColor, field);
  Send("mix", EventKind::kMouseDown);  // without Ctrl the mix stays
  EXPECT_EQ(Mixer().Mix(), field);
}

TEST_F(ColourMixerTest, FirstFourSwatchesStopTheMixerTimers) {
  struct Case {
    const char* swatch;
    TimerId down, up;
  } cases[] = {
      {"Label6", TimerId::bluetimer, TimerId::redtimer},
      {"Label7", TimerId::redtimer, TimerId::redtimer},
      {"Label8", TimerId::greentimer, TimerId::redtimer},
      {"Label9", TimerId::greentimer, TimerId::redtimer},
  };
  const TimerId all[] = {TimerId::redtimer, TimerId::greentimer, TimerId::bluetimer};
  auto startAll = [&] {
    for (const char* l : {"redlbl", "greenlbl", "bluelbl"})
      Send(l, EventKind::kMouseDown);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.swatch);
    startAll();
    Send(c.swatch, EventKind::kMouseDown);
    for (TimerId t : all)
      EXPECT_EQ(program->timers.Enabled(t), t != c.down);
    // A stopped channel no longer moves on a stray tick.
    SetMix(Rgb(100, 100, 100));
    program->TimerTick(c.down);
    EXPECT_EQ(Mixer().Mix(), Rgb(100, 100, 100));
    startAll();
    Send(c.swatch, EventKind::kMouseUp);
    for (TimerId t : all)
      EXPECT_EQ(program->timers.Enabled(t), t != c.up);
  }
  // The other four leave the timers running.
  startAll();
  Send("Label10", EventKind::kMouseDown);
  Send("Label13", EventKind::kMouseUp);
  for (TimerId t : all)
    EXPECT_TRUE(program->timers.Enabled(t));
}

TEST_F(ColourMixerTest, TenClicksOnTheStripesApplyWToPThenW) {
  NumberTheKeySets();
  std::string applied;
  for (int i = 0; i < 10; ++i) {
    const int32_t before = Count();
    Send(i % 2 ? "Label16" : "Label17", EventKind::kClick);
    applied += FieldKey();
    // Two identical triples: the key colour's own and the stripes'.
    ASSERT_EQ(Count(), before + 6);
    for (int k = 1; k <= 3; ++k) {
      EXPECT_EQ(Code(before + k), lgfieldcolor);
      EXPECT_EQ(Value(before + k), Value(before + k + 3));
    }
  }
  EXPECT_EQ(applied, "wertyuiopw");
  EXPECT_EQ(Mixer().keyColorIndex, 1);
  EXPECT_EQ(Ctl("Label42").color, Rgb(2, 0, 0));  // the stripes show the set of w
  EXPECT_EQ(Ctl("Label43").color, Rgb(0, 0, 2));

  // With the editor open only the stripes' triple is logged.
  Click("SpeedButton52");
  const int32_t before = Count();
  Send("Label43", EventKind::kClick);
  EXPECT_EQ(Count(), before + 3);
  EXPECT_EQ(FieldKey(), 'e');
}

TEST_F(ColourMixerTest, RandomTimerPicksAmongQToOOnly) {
  NumberTheKeySets();
  std::set<char> picked;
  for (uint64_t clock = 0; clock < 500; ++clock) {
    platform.clock = clock * 7919;
    program->TimerTick(TimerId::Timer4);
    ASSERT_LE(Mixer().keyColorIndex, 8);
    picked.insert(FieldKey());
  }
  EXPECT_EQ(picked, (std::set<char>{'q', 'w', 'e', 'r', 't', 'y', 'u', 'i', 'o'}));
  // The same clock gives the same pick.
  platform.clock = 4242;
  program->TimerTick(TimerId::Timer4);
  const uint8_t first = Mixer().keyColorIndex;
  program->TimerTick(TimerId::Timer4);
  EXPECT_EQ(Mixer().keyColorIndex, first);
}

TEST_F(ColourMixerTest, HashSwitchRunsTheRandomTimer) {
  EXPECT_TRUE(Ctl("SpeedButton21").down);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  Click("SpeedButton21");
  EXPECT_FALSE(Ctl("SpeedButton21").down);
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer4));
  EXPECT_EQ(program->timers[TimerId::Timer4].interval, 30000);
  Click("SpeedButton21");
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));

  // A replay pauses it; a click meanwhile does not start it, the replay's end does.
  Click("SpeedButton21");
  program->RecordAction({}, lglinew, 32);
  program->RecordAction({}, lglinew, 32);
  program->replay.StartReplay();
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  Click("SpeedButton21");
  Click("SpeedButton21");
  EXPECT_FALSE(Ctl("SpeedButton21").down);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  for (int i = 0; i < 100 && program->Replaying(); ++i)
    program->TimerTick(TimerId::logplaytimer);
  ASSERT_FALSE(program->Replaying());
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer4));
}

TEST_F(ColourMixerTest, ModeButtonsChooseTheMoveCode) {
  EXPECT_TRUE(Ctl("SpeedButton9").visible);
  EXPECT_TRUE(Ctl("Label25").visible);
  struct Case {
    const char* button;
    uint8_t mode;
    uint32_t code;
  } cases[] = {{"SpeedButton8", kColorPalette, 5 + 512},
               {"SpeedButton24", kColorCube, 11 + 512},
               {"SpeedButton9", kColorField, 6 + 512}};
  for (const Case& c : cases) {
    Click(c.button);
    EXPECT_TRUE(Ctl(c.button).down);
    EXPECT_EQ(program->tools.colorMode, c.mode);
    Press({100, 100});
    Move({140, 120});
    Release({140, 120});
    EXPECT_EQ(Code(Count()), c.code) << c.button;
  }
  EXPECT_FALSE(Ctl("SpeedButton8").down);

  // In P a swatch's colour lasts through the drag; in S the field takes over.
  Click("SpeedButton8");
  Send("Label11", EventKind::kClick);
  Press({200, 200});
  Move({260, 200});
  EXPECT_EQ(Main().images.canvas.Pixel({230, 200}), Rgb(250, 255, 0));
  Release({260, 200});
  Click("SpeedButton9");
  Press({200, 400});
  Move({260, 400});
  EXPECT_EQ(Main().images.canvas.Pixel({230, 400}), program->field.FieldColorAt(260, 400));
  Release({260, 400});
}

// From S or C, every kind of pick selects P, shown on the mode buttons; the stroke
// after it draws in the picked colour, and its replay draws the same.
TEST_F(ColourMixerTest, APickSelectsPaletteModeAndReplaysTheSame) {
  struct Pick {
    const char* control;
    EventKind kind;
    const char* modeBefore;
  } picks[] = {{"Label11", EventKind::kClick, "SpeedButton9"},
               {"redlbl", EventKind::kClick, "SpeedButton24"},
               {"bluelbl", EventKind::kDblClick, "SpeedButton9"},
               {"mix", EventKind::kClick, "SpeedButton24"}};
  SetMix(Rgb(90, 40, 200));
  int32_t y = 100;
  for (const Pick& pick : picks) {
    Click(pick.modeBefore);
    Send(pick.control, pick.kind);
    EXPECT_EQ(program->tools.colorMode, kColorPalette) << pick.control;
    EXPECT_TRUE(Ctl("SpeedButton8").down) << pick.control;
    EXPECT_FALSE(Ctl("SpeedButton9").down || Ctl("SpeedButton24").down) << pick.control;
    const Color picked = Pen();
    Press({200, y});
    Move({260, y});
    Release({260, y});
    EXPECT_EQ(Main().images.canvas.Pixel({230, y}), picked) << pick.control;
    y += 60;
  }
  for (int i = 0; i < 20; ++i)
    program->RecordAction({}, lglinew, 3);
  EXPECT_EQ(ReplayDifference(*program), 0);
}

TEST_F(ColourMixerTest, RecordLogHeaderWithRecordingOffOnlyTakesTheCount) {
  program->RecordAction({}, lgcolor, 5);
  const int32_t count = Count();
  program->drawing.recording = false;
  program->replayState.length = 0;
  program->replay.RecordLogHeader();
  EXPECT_EQ(Count(), count);
  EXPECT_EQ(program->replayState.length, count);
  EXPECT_EQ(Value(count), 5);
}

// A live session with every kind of colour action, replayed: the same pixels.
TEST_F(ColourMixerTest, ColourSessionReplaysPixelForPixel) {
  NumberTheKeySets();
  program->keyColours.table[2] = {Rgb(200, 40, 90), Rgb(30, 200, 60), Rgb(250, 250, 20)};
  program->keyColours.table[5] = {Rgb(10, 10, 10), Rgb(240, 120, 0), Rgb(0, 90, 250)};
  program->toolSelection.SelectTool(dtellipse);
  int y = 60;
  auto drag = [&] {
    Press({120, y});
    for (int i = 1; i <= 5; ++i)
      Move({120 + 90 * i, y + 25 * (i % 2)});
    Release({570, y});
    y += 90;
  };
  Main().FormKeyPress('e');
  drag();
  Click("SpeedButton8");  // P
  Send("Label8", EventKind::kClick);
  drag();
  Send("redlbl", EventKind::kDblClick);
  Send("mix", EventKind::kClick);
  drag();
  Main().FormKeyPress('y');
  for (char k : {'d', 'd', 'h', 'a', 'f'})
    Main().FormKeyPress(static_cast<char32_t>(k));
  Click("SpeedButton9");  // S
  drag();
  Click("SpeedButton24");  // C
  drag();
  Send("Label16", EventKind::kClick);
  Click("SpeedButton9");
  Main().FormKeyPress(']');
  drag();
  Main().FormKeyPress('[');
  Main().FormKeyPress('g');
  drag();
  ExpectReplayDrawsTheCanvas(10000);
  EXPECT_TRUE(Ctl("SpeedButton9").down);  // the replay shows the mode it ended in
}

// With Wild on a figure steps its colour by the mode of its move, from the first
// move after a mode change on.
TEST_F(ColourMixerTest, WildFiguresReplayInTheModeOfTheirMove) {
  for (int i = 0; i < kSpecCount; ++i) {
    program->specs.a[i] = 2 + i % 5;
    program->specs.b[i] = 3 + i % 4;
  }
  platform.clock = 777;
  program->toolSelection.SelectTool(dtNuWaveSpecial);
  ASSERT_TRUE(program->tools.wild);
  int y = 100;
  for (const char* mode : {"SpeedButton24", "SpeedButton9", "SpeedButton24", "SpeedButton8"}) {
    Click(mode);
    Press({300, y});
    Move({420, y + 40});
    Move({520, y + 10});
    Release({520, y + 10});
    y += 150;
  }
  ExpectReplayDrawsTheCanvas(2000);
}

}  // namespace
}  // namespace quillo::testing
