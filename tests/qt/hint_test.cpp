// Hints: where they go and how large they are, as a rule and on the screen.
#include <QFont>
#include <QHelpEvent>

#include "app/qt/control_paint.h"
#include "app/qt/hint_label.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

const QRect kScreen(0, 0, 1920, 1080);

// A strip along the bottom of the screen: a hint goes just above the strip, so it
// covers none of the strip's captions, from the control's left edge; near the right
// edge it moves left to stay on the screen.
TEST(HintPositionTest, AboveABottomStripFromTheControlsLeftAndOnTheScreen) {
  const QRect strip(0, 966, 1920, 114);
  const QRect control(40, 1050, 28, 28);
  const QSize tip(180, 26);
  const QPoint at = HintPosition(control, strip, tip, kScreen);
  EXPECT_EQ(at.x(), 40);
  EXPECT_EQ(at.y() + tip.height(), strip.top() - 4);
  EXPECT_FALSE(QRect(at, tip).intersects(strip));

  const QRect rightmost(1890, 1050, 28, 28);
  const QRect placed(HintPosition(rightmost, strip, tip, kScreen), tip);
  EXPECT_TRUE(kScreen.contains(placed));
  EXPECT_FALSE(placed.intersects(strip));
}

// A strip along the top has no room above: the hint goes just below it.
TEST(HintPositionTest, BelowAStripAlongTheTop) {
  const QRect strip(0, 0, 1920, 69);
  const QRect control(11, 11, 84, 46);
  const QSize tip(240, 26);
  const QPoint at = HintPosition(control, strip, tip, kScreen);
  EXPECT_EQ(at.y(), strip.bottom() + 1 + 4);
  EXPECT_FALSE(QRect(at, tip).intersects(strip));
}

using HintWindowTest = ShellTest;

// The hint the window shows for a control, once the control has asked for it; it is
// a transient child of the control's window, placed before it showed.
HintLabel* ShownHintFor(QWidget* control) {
  const QPoint inside = control->rect().center();
  QHelpEvent ask(QEvent::ToolTip, inside, control->mapToGlobal(inside));
  QApplication::sendEvent(control, &ask);
  auto* window = qobject_cast<FormWindow*>(control->window());
  HintLabel* hint = window != nullptr ? window->Hint() : nullptr;
  if (hint == nullptr || hint->Owner() != control) return nullptr;
  EXPECT_EQ(hint->parentWidget(), window);
  return hint;
}

// On the screen: a hint of a bottom strip's control sits above the strip, in the
// size for the window's height, and says the control's hint.
TEST_F(HintWindowTest, AStripsHintsSitAboveTheStripAtTheWindowsScale) {
  Prog().startScreen.GoStraightToDrawing();
  shell_->Sync();
  QWidget* strip = Widget("Panel1");
  const QRect stripOnScreen(strip->mapToGlobal(QPoint(0, 0)), strip->size());
  for (const char* name : {"freebtn", "Label21", "PenWlabel", "SpeedButton32"}) {
    SCOPED_TRACE(name);
    QWidget* control = Widget(name);
    HintLabel* tip = ShownHintFor(control);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->text(), control->toolTip());
    EXPECT_EQ(tip->font().pixelSize(), HintPixelSize(Window().height()));
    // With whatever frame the window system gives it.
    const QRect shown = tip->frameGeometry();
    EXPECT_LT(shown.bottom(), stripOnScreen.top());
    EXPECT_TRUE(tip->screen()->geometry().contains(shown));
    // Leaving the control takes its hint away.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(control, &leave);
    EXPECT_FALSE(tip->isVisible());
  }
}

// The tutorial strip along the top puts its hints below itself.
TEST_F(HintWindowTest, TheTutorialStripsHintGoesBelowIt) {
  Prog().tutorial.Start();
  shell_->Sync();
  QWidget* strip = Widget("Panel8");
  ASSERT_TRUE(strip->isVisible());
  HintLabel* tip = ShownHintFor(Widget("Label24"));
  ASSERT_NE(tip, nullptr);
  EXPECT_GT(tip->frameGeometry().top(), strip->mapToGlobal(QPoint(0, strip->height())).y());
  tip->hide();
}

}  // namespace
}  // namespace quillo
