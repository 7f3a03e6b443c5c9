#include <QImage>
#include <QMouseEvent>
#include <vector>

#include "platform/qt/qt_platform.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

class ScreenMovesWindowTest : public ShellTest {
 protected:
  void CtrlMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(Window().mapToGlobal(at)), button, held,
                  Qt::ControlModifier);
    QApplication::sendEvent(&Window(), &e);
  }
};

TEST_F(ScreenMovesWindowTest, ACtrlDragSlidesThePictureAndTheWindowShowsAllOfIt) {
  // The start screen, a frame over the canvas, goes as the window system closes it.
  shell_->Window(WindowId::kForm2).close();
  Drag({{100, 100}, {180, 140}, {260, 120}});
  SendKey(&Window(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  ASSERT_FALSE(Prog().BottomPanelVisible());
  const Surface& canvas = Prog().main.images.canvas;
  const QImage before = SurfaceView(canvas).copy();
  OnScreen(&Window());

  CtrlMouse(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton, Qt::LeftButton);
  OnScreen(&Window());  // the press repaints the whole canvas from the backup
  CtrlMouse(QEvent::MouseMove, {330, 310}, Qt::NoButton, Qt::LeftButton);
  CtrlMouse(QEvent::MouseMove, {350, 340}, Qt::NoButton, Qt::LeftButton);
  CtrlMouse(QEvent::MouseButtonRelease, {350, 340}, Qt::LeftButton, Qt::NoButton);

  // Every pixel moved by (50, 40), wrapping at the edges...
  const int w = canvas.Width();
  const int h = canvas.Height();
  ASSERT_GT(w, 300);
  for (int y = 0; y < h; y += 3)
    for (int x = 0; x < w; x += 3)
      ASSERT_EQ(SurfaceView(canvas).pixel((x + 50) % w, (y + 40) % h), before.pixel(x, y))
          << x << "," << y;
  // ...and the window shows the whole moved picture, not only where the pointer went.
  const QImage shown = OnScreen(&Window());
  ASSERT_EQ(shown.size(), QSize(w, h));
  EXPECT_TRUE(shown == SurfaceView(canvas).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace quillo
