#include <QElapsedTimer>
#include <QImage>
#include <vector>

#include "app/qt/control_view.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

class ColourControlsTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Prog().startScreen.GoStraightToDrawing();
    shell_->Sync();
  }
  // Picks a colour mode on the settings strip and comes back to the tools.
  void PickMode(const char* button) {
    Click(Widget("SpeedButton54"));
    ASSERT_TRUE(Widget(button)->isVisible()) << button;
    Click(Widget(button));
    Click(Widget("SpeedButton22"));
    ASSERT_TRUE(Widget("Label11")->isVisible());
  }
  Color CanvasAt(QPoint p) { return Prog().main.images.canvas.Pixel({p.x(), p.y()}); }
  Color Mix() { return MainForm()[Prog().main.c.mix].color; }
};

// A swatch picked in mode S selects P, shown on the buttons; S chosen after it brings
// back the field's colours.
TEST_F(ColourControlsTest, SwatchPickDrawsInModePAndTheFieldDrawsInModeS) {
  const Color swatch = Rgb(250, 255, 0);  // Label11
  PickMode("SpeedButton8");
  EXPECT_EQ(Prog().tools.colorMode, kColorPalette);
  Click(Widget("Label11"));
  const std::vector<QPoint> path{{150, 200}, {250, 210}, {350, 200}, {450, 220}};
  Drag(path);
  for (const QPoint& p : path)
    EXPECT_EQ(CanvasAt(p), swatch) << p.x();
  // The window shows it too.
  const QImage shown = OnScreen(&Window());
  EXPECT_EQ(shown.pixel(300, 205), ToQColor(swatch).rgb());

  PickMode("SpeedButton9");
  Click(Widget("Label11"));
  EXPECT_EQ(Prog().tools.colorMode, kColorPalette);
  const Form& f = Prog().main.window.form;
  EXPECT_TRUE(f[f.Find("SpeedButton8")].down);
  EXPECT_FALSE(f[f.Find("SpeedButton9")].down);
  PickMode("SpeedButton9");
  EXPECT_EQ(Prog().tools.colorMode, kColorField);
  const std::vector<QPoint> second{{150, 450}, {250, 460}, {350, 450}, {450, 470}};
  Drag(second);
  ColourField& field = Prog().field;
  // Each segment takes the field's colour at the point it runs to.
  for (size_t i = 1; i < second.size(); ++i) {
    const QPoint to = second[i];
    const QPoint mid = (second[i - 1] + to) / 2;
    EXPECT_EQ(CanvasAt(mid), field.FieldColorAt(to.x(), to.y())) << to.x();
    EXPECT_NE(CanvasAt(mid), swatch);
  }
}

TEST_F(ColourControlsTest, HeldPrimaryMixesAndADoubleClickStoresTheMix) {
  QWidget* green = Widget("greenlbl");
  ASSERT_NE(green, nullptr);
  const QPoint at = green->rect().center();
  SendMouse(green, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  QElapsedTimer clock;
  clock.start();
  while (((Mix() >> 8) & 255u) < 254 && clock.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  SendMouse(green, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(Mix(), Rgb(192, 254, 192));
  EXPECT_FALSE(Prog().timers.Enabled(TimerId::greentimer));
  // The release's click made the pen pure green.
  EXPECT_EQ(Prog().main.images.canvas.PenColor(), Rgb(0, 255, 0));

  QWidget* swatch = Widget("Label9");
  const QPoint mid = swatch->rect().center();
  SendMouse(swatch, QEvent::MouseButtonPress, mid, Qt::LeftButton, Qt::LeftButton);
  SendMouse(swatch, QEvent::MouseButtonRelease, mid, Qt::LeftButton, Qt::NoButton);
  SendMouse(swatch, QEvent::MouseButtonDblClick, mid, Qt::LeftButton, Qt::LeftButton);
  SendMouse(swatch, QEvent::MouseButtonRelease, mid, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(MainForm()[Prog().main.c.swatches[3]].color, Rgb(192, 254, 192));
  EXPECT_EQ(OnScreen(swatch).pixel(mid), ToQColor(Rgb(192, 254, 192)).rgb());
}

TEST_F(ColourControlsTest, KeyColourAndNudgeKeysReachTheField) {
  Prog().keyColours.table[3] = {Rgb(200, 100, 50), Rgb(1, 2, 3), Rgb(4, 5, 6)};
  SendKey(&Window(), Qt::Key_R, Qt::NoModifier, "r");
  EXPECT_EQ(Prog().field.corner, Rgb(200, 100, 50));
  SendKey(&Window(), Qt::Key_D, Qt::NoModifier, "d");
  EXPECT_EQ(Prog().field.corner, Rgb(198, 99, 50));
  EXPECT_EQ(MainForm()[Prog().main.c.Label42].color, Rgb(198, 99, 50));
}

}  // namespace
}  // namespace quillo
