#include "colour/space_color_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/program_fixture.h"
#include "colour/field_painter.h"
#include "support/random_session.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

class SpaceColorFormTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->drawing.recording = true;
  }
  SpaceColorForm& Editor() { return program->spaceColorForm; }
  Form& EditorForm() { return Editor().window.form; }
  const Control& ECtl(const char* name) { return EditorForm()[EditorForm().Find(name)]; }
  void Send(const char* name, EventKind kind, MouseButton b = MouseButton::kLeft) {
    ControlEvent e;
    e.control = EditorForm().Find(name);
    ASSERT_NE(e.control, kNoControl) << name;
    e.kind = kind;
    e.button = b;
    EditorForm().Dispatch(e);
  }
  void EClick(const char* name) { Send(name, EventKind::kClick); }
  std::string TempFile(const char* name) { return (fs::temp_directory_path() / name).string(); }
};

TEST_F(SpaceColorFormTest, FieldValuesInBothLayouts) {
  ColourField& f = program->field;
  ASSERT_EQ(f.fieldWidth, 1024);
  EXPECT_EQ(f.FieldColorValue(0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(f.FieldColorValue(512, 0), Rgb(255, 0, 0));
  EXPECT_EQ(f.FieldColorValue(0, 384), Rgb(0, 255, 0));
  EXPECT_EQ(f.FieldColorValue(512, 384), Rgb(255, 255, 0));
  EXPECT_EQ(f.FieldColorValue(256, 192), Rgb(128, 128, 128));
  f.centerMode = true;
  EXPECT_EQ(f.FieldColorValue(512, 384), Rgb(0, 0, 255));
  EXPECT_EQ(f.FieldColorValue(0, 384), Rgb(255, 0, 0));
  EXPECT_EQ(f.FieldColorValue(512, 0), Rgb(0, 255, 0));
  EXPECT_EQ(f.FieldColorValue(0, 0), Rgb(255, 255, 0));
  f.centerMode = false;
  EXPECT_EQ(f.FieldColorAt(-10, 5), f.FieldColorAt(10, 5));
  EXPECT_EQ(f.FieldColorAt(5000, 5000), f.FieldColorValue(1023, 767));
  EXPECT_EQ(f.FieldColorAt(INT32_MIN, 3), f.FieldColorValue(1023, 3));
}

TEST_F(SpaceColorFormTest, MixerRaisesPaintsTheGroupAndLowersToOne) {
  EClick("horizontal");
  EXPECT_TRUE(ECtl("horizontal").down);
  EXPECT_EQ(Editor().mix, kDefaultHorizontal);
  Send("bluelbl", EventKind::kMouseDown);
  EXPECT_TRUE(program->timers.Enabled(TimerId::Bluetimer));
  for (int i = 0; i < 3; ++i)
    program->TimerTick(TimerId::Bluetimer);
  EXPECT_EQ(Editor().mix, Rgb(0, 255, 3));
  EXPECT_EQ(program->field.horizontal, Rgb(0, 255, 3));
  EXPECT_EQ(ECtl("leftH").color, Rgb(0, 255, 3));
  EXPECT_EQ(ECtl("bottomH").color, Rgb(0, 255, 3));
  EXPECT_EQ(ECtl("bluelbl").caption, "3");
  for (int i = 0; i < 300; ++i)
    program->TimerTick(TimerId::Bluetimer);
  EXPECT_EQ(BlueOf(Editor().mix), 255u);
  Send("bluelbl", EventKind::kMouseUp);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Bluetimer));

  Send("Label19", EventKind::kMouseDown, MouseButton::kMiddle);
  for (int i = 0; i < 300; ++i)
    for (TimerId t : {TimerId::Redtimer, TimerId::Greentimer, TimerId::Bluetimer})
      program->TimerTick(t);
  // Lowering stops at 1; red, already 0, stays there.
  EXPECT_EQ(Editor().mix, Rgb(0, 1, 1));
  Send("Label19", EventKind::kMouseUp);
  Send("Label19", EventKind::kDblClick);
  EXPECT_EQ(Editor().mix, Rgb(0, 0, 0));
  // The main window's stripes follow once the editor hands back.
  EClick("Label3");
  EXPECT_EQ(Ctl("Label43").color, Rgb(0, 1, 1));
}

TEST_F(SpaceColorFormTest, StoreAndRecallASet) {
  program->SetFieldColors(Rgb(1, 1, 1), Rgb(2, 2, 2), Rgb(3, 3, 3));
  EClick("SpeedButton3");
  EClick("Panel4");
  EXPECT_FALSE(ECtl("SpeedButton3").down);
  EXPECT_EQ(ECtl("Label12").color, Rgb(1, 1, 1));
  EXPECT_EQ(ECtl("Label10").color, Rgb(3, 3, 3));
  program->SetFieldColors(kDefaultCorner, kDefaultVertical, kDefaultHorizontal);
  const int32_t before = Count();
  EClick("Label11");  // a swatch recalls its set too
  EXPECT_EQ(program->field.corner, Rgb(1, 1, 1));
  EXPECT_EQ(program->field.vertical, Rgb(2, 2, 2));
  EXPECT_EQ(program->field.horizontal, Rgb(3, 3, 3));
  EXPECT_EQ(Count(), before);  // recalling is not logged by itself
}

TEST_F(SpaceColorFormTest, ColFilesRoundTripAndBadOnesChangeNothing) {
  const std::string path = TempFile("quillo-sets-test.col");
  EClick("SpeedButton3");
  program->SetFieldColors(Rgb(10, 20, 30), Rgb(40, 50, 60), Rgb(70, 80, 90));
  EClick("Panel6");
  platform.saveAnswers.push_back(path);
  EClick("SpeedButton2");
  ASSERT_EQ(fs::file_size(path), 48u);
  EXPECT_TRUE(platform.saveDialogs.back().confirmOverwrite);
  EXPECT_EQ(platform.saveDialogs.back().filter, "fieldcolor(*.col)|*.col");
  EXPECT_EQ(ECtl("Label8").caption, path);
  const ColourSets saved = Editor().Sets();

  // Change every swatch, then load the file back.
  EClick("SpeedButton3");
  EClick("Panel2");
  EClick("SpeedButton3");
  EClick("Panel6");
  ASSERT_NE(Editor().Sets(), saved);
  platform.openAnswers.push_back(path);
  EClick("SpeedButton1");
  EXPECT_TRUE(platform.openDialogs.back().mustExist);
  EXPECT_EQ(Editor().Sets(), saved);

  // A short file and a missing one are reported and leave the swatches alone.
  fs::resize_file(path, 47);
  EClick("SpeedButton3");
  EClick("Panel2");
  const ColourSets current = Editor().Sets();
  platform.openAnswers.push_back(path);
  EClick("SpeedButton1");
  platform.openAnswers.push_back(TempFile("quillo-no-such-file.col"));
  EClick("SpeedButton1");
  EXPECT_EQ(Editor().Sets(), current);
  EXPECT_EQ(platform.errors.size(), 2u);
  fs::remove(path);
}

TEST_F(SpaceColorFormTest, CopyColorFieldHandsBackPaintsTheCanvasAndLogsFourEntries) {
  Click("SpeedButton52");
  ASSERT_FALSE(program->keyColorRecording);
  const int32_t before = Count();
  EClick("Label4");
  // Handed back as by the close: hidden, key colours logged again.
  EXPECT_FALSE(Editor().window.visible);
  EXPECT_TRUE(program->keyColorRecording);
  ASSERT_EQ(Count(), before + 4);
  EXPECT_EQ(Code(before + 1), 9u);
  EXPECT_EQ(Code(before + 3), 9u);
  EXPECT_EQ(Code(before + 4), 13u);
  EXPECT_EQ(Value(before + 4), 0);
  EXPECT_EQ(Main().images.canvas.Pixel({512, 384}), Rgb(255, 255, 0));
  EXPECT_EQ(Main().images.Backup().Pixel({0, 0}), Rgb(0, 0, 255));  // the undo snapshot
}

// Nothing runs between the rows of a copy: a press on the canvas and the random
// colour timer wait until the field is whole, so the whole picture is the field of
// the colours logged with it, as its replay paints it.
TEST_F(SpaceColorFormTest, CopyColorFieldFinishesBeforeAPressOrATimerRuns) {
  program->startScreen.GoStraightToDrawing();
  platform.onPendingEvents = [this] {
    Press({10, 10});
    Release({10, 10});
    program->colourMixer.Timer4Timer();
  };
  EClick("Label4");
  platform.onPendingEvents = nullptr;
  Surface expected;
  ASSERT_TRUE(expected.Resize(1024, 768));
  FieldPainter painter(program->field);
  for (int32_t y = 0; y < painter.Height(); ++y)
    painter.PaintRow(expected, y);
  int64_t differ = 0;
  for (int32_t y = 0; y < 768; ++y)
    for (int32_t x = 0; x < 1024; ++x)
      differ += expected.Pixel({x, y}) != Main().images.canvas.Pixel({x, y});
  EXPECT_EQ(differ, 0);
  for (int i = 0; i < 20; ++i)
    program->RecordAction({}, lglinew, 3);
  EXPECT_EQ(ReplayDifference(*program), 0);
}

TEST_F(SpaceColorFormTest, OpenRealiseAndClose) {
  Click("SpeedButton52");
  EXPECT_TRUE(Editor().window.visible);
  EXPECT_FALSE(program->keyColorRecording);
  EClick("Label1");
  EXPECT_FALSE(ECtl("Panel1").visible);
  EXPECT_EQ(Editor().canvas.Pixel({512, 0}), Rgb(255, 0, 0));
  Editor().window.hooks.keyDown(32, {});
  EXPECT_TRUE(ECtl("Panel1").visible);
  const int32_t before = Count();
  Editor().window.hooks.keyDown(13, {});
  EXPECT_FALSE(Editor().window.visible);
  EXPECT_TRUE(program->keyColorRecording);
  EXPECT_EQ(Count(), before + 3);
}

// The realised field is left with Escape, Space or a click, not with a drag; F12
// opens the editor on its controls even when it was closed realised.
TEST_F(SpaceColorFormTest, TheRealisedFieldHasWaysBackToTheControls) {
  auto& hooks = Editor().window.hooks;
  const std::function<void()> ways[] = {
      [&] { hooks.keyDown(27, {}); }, [&] { hooks.keyDown(32, {}); },
      [&] {
        hooks.mouse(MouseAction::kDown, MouseButton::kLeft, {}, {300, 300});
        hooks.mouse(MouseAction::kMove, MouseButton::kLeft, {}, {340, 320});
        hooks.mouse(MouseAction::kUp, MouseButton::kLeft, {}, {340, 320});
        EXPECT_FALSE(ECtl("Panel1").visible) << "a drag";
        hooks.mouse(MouseAction::kDown, MouseButton::kLeft, {}, {300, 300});
        hooks.mouse(MouseAction::kUp, MouseButton::kLeft, {}, {300, 300});
      }};
  Main().FormKeyDown(123, {});
  for (const auto& way : ways) {
    EClick("Label1");
    ASSERT_FALSE(ECtl("Panel1").visible);
    way();
    EXPECT_TRUE(ECtl("Panel1").visible);
  }
  EClick("Label1");
  hooks.keyDown(13, {});
  ASSERT_FALSE(Editor().window.visible);
  Main().FormKeyDown(123, {});
  EXPECT_TRUE(Editor().window.visible);
  EXPECT_TRUE(ECtl("Panel1").visible);
}

// The preview in the middle of the editor's panel is the whole field in small: its
// corners the corner colour, the middles of its edges the band colours, following
// the mixer and the layout, and painted without touching the program's own field.
TEST_F(SpaceColorFormTest, PreviewShowsTheWholeFieldAsItStands) {
  const Color last = program->field.lastFieldColor;
  Click("SpeedButton52");
  const Surface& preview = Editor().fieldPreview;
  const Control& shown = ECtl("FieldPreview");
  ASSERT_EQ(shown.picture, &preview);
  ASSERT_EQ(preview.Width(), Normalized(shown.bounds).Width());
  ASSERT_EQ(preview.Height(), Normalized(shown.bounds).Height());
  const int32_t w = preview.Width();
  const int32_t h = preview.Height();
  auto at = [&](int32_t x, int32_t y) { return preview.Pixel({x, y}); };
  EXPECT_EQ(at(0, 0), kDefaultCorner);
  EXPECT_EQ(at(w / 2, 0), kDefaultVertical);
  EXPECT_EQ(at(0, h / 2), kDefaultHorizontal);
  EXPECT_EQ(at(w / 2, h / 2), Rgb(255, 255, 0));
  EXPECT_EQ(program->field.lastFieldColor, last);

  // Mixing the corner colour shows in the preview at once.
  EClick("corners");
  Send("redlbl", EventKind::kMouseDown);
  for (int i = 0; i < 5; ++i)
    program->TimerTick(TimerId::Redtimer);
  Send("redlbl", EventKind::kMouseUp);
  EXPECT_EQ(at(0, 0), Rgb(5, 0, 255));

  // The centre layout puts the corner colour in the middle, and its own panel shows
  // the same miniature.
  EClick("SpeedButton10");
  EXPECT_EQ(ECtl("CenterFieldPreview").picture, &preview);
  EXPECT_EQ(at(w / 2, h / 2), Rgb(5, 0, 255));
  EXPECT_EQ(at(0, 0), Rgb(255, 255, 0));
  EClick("SpeedButton10");

  // Colours that change while the editor is closed show when it opens again.
  Editor().window.hooks.keyDown(13, {});
  program->SetFieldColors(Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9));
  Click("SpeedButton52");
  EXPECT_EQ(at(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(at(w / 2, 0), Rgb(4, 5, 6));
  EXPECT_EQ(at(0, h / 2), Rgb(7, 8, 9));
  EXPECT_EQ(program->field.lastFieldColor, last);
}

TEST_F(SpaceColorFormTest, CentreLayoutButtonShowsItsLabels) {
  EClick("SpeedButton10");
  EXPECT_TRUE(program->field.centerMode);
  EXPECT_TRUE(ECtl("Panel3").visible);
  EXPECT_TRUE(Ctl("Label46").visible);
  EClick("SpeedButton10");
  EXPECT_FALSE(ECtl("Panel3").visible);
  EXPECT_FALSE(Ctl("Label46").visible);
}

}  // namespace
}  // namespace quillo::testing
