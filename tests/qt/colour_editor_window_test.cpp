#include <QImage>
#include <QWindow>
#include <vector>

#include "platform/raster/surface.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

using ColourEditorWindowTest = ShellTest;

// Expects the window to show the surface at every point given.
void ExpectShows(QWidget* window, const Surface& s, const std::vector<QPoint>& points) {
  const QImage shown = OnScreen(window);
  for (const QPoint& p : points) {
    EXPECT_EQ(shown.pixel(p), ToQColor(s.Pixel(Point{p.x(), p.y()})).rgb())
        << "at " << p.x() << "," << p.y();
  }
}

// The colour field editor through the shell: it comes to the front, its background
// is its own surface, the mouse on the background and every key reach its handlers,
// and Enter hands the screen back to the main window by hiding the editor (the
// window system then gives the focus back to the editor's transient parent).
TEST_F(ColourEditorWindowTest, EditorComesToTheFrontShowsItsFieldAndTakesTheKeys) {
  FormWindow& editor = shell_->Window(WindowId::kSpaceColorForm);
  ASSERT_FALSE(editor.isVisible());
  Click(Widget("SpeedButton52"));
  ASSERT_TRUE(editor.isVisible());
  QApplication::processEvents();
  // Active where the window system gives windows the focus at all: a headless
  // compositor without a seat gives none.
  if (QGuiApplication::focusWindow() != nullptr) {
    EXPECT_EQ(QApplication::activeWindow(), &editor);
  }

  // Realising the field hides the controls and paints the surface under them.
  QWidget* controls = editor.findChild<QWidget*>("Panel1");
  ASSERT_NE(controls, nullptr);
  Click(editor.findChild<QWidget*>("Label1"));
  EXPECT_FALSE(controls->isVisible());
  const Surface& field = *editor.State().hooks.canvas;
  ASSERT_EQ(field.Width(), editor.width());
  const int w = field.Width();
  const int h = field.Height();
  ExpectShows(&editor, field, {{0, 0}, {w / 2, h / 2}, {w - 1, h / 3}, {w / 4, h - 1}});

  // A drag on the background draws the editor's rubber band, and the window shows it.
  const Color top = field.Pixel(Point{100, 30});
  const Color left = field.Pixel(Point{40, 70});
  SendMouse(&editor, QEvent::MouseButtonPress, {40, 30}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(&editor, QEvent::MouseMove, {160, 110}, Qt::NoButton, Qt::LeftButton);
  SendMouse(&editor, QEvent::MouseButtonRelease, {160, 110}, Qt::LeftButton, Qt::NoButton);
  EXPECT_NE(field.Pixel(Point{100, 30}), top);
  EXPECT_NE(field.Pixel(Point{40, 70}), left);
  ExpectShows(&editor, field, {{40, 30}, {100, 30}, {40, 70}, {159, 109}, {100, 70}});

  // Keys go to the editor while it is in front, not to the main window, whose Space
  // would hide its own bottom strip.
  QWidget* strip = Widget("Panel1");
  ASSERT_TRUE(strip->isVisibleTo(&Window()));
  SendKey(&editor, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_TRUE(controls->isVisible());
  EXPECT_TRUE(strip->isVisibleTo(&Window()));

  SendKey(editor.findChild<QWidget*>("Label3"), Qt::Key_Return, Qt::NoModifier,
          QStringLiteral("\r"));
  EXPECT_FALSE(editor.isVisible());
  QApplication::processEvents();
  EXPECT_NE(QApplication::activeWindow(), &editor);
  EXPECT_EQ(editor.windowHandle()->transientParent(), Window().windowHandle());
}

// The preview of the field in the editor's panel shows the engine's miniature, and
// shows it anew when the colours change.
TEST_F(ColourEditorWindowTest, PreviewShowsTheMiniatureOfTheField) {
  FormWindow& editor = shell_->Window(WindowId::kSpaceColorForm);
  Click(Widget("SpeedButton52"));
  QWidget* preview = editor.findChild<QWidget*>("FieldPreview");
  ASSERT_NE(preview, nullptr);
  const Surface& mini = Prog().spaceColorForm.fieldPreview;
  ASSERT_EQ(preview->size(), QSize(mini.Width(), mini.Height()));
  const int w = mini.Width();
  const int h = mini.Height();
  // Points clear of the rounded corners.
  const std::vector<QPoint> points{{w / 2, 2}, {2, h / 2}, {w / 2, h / 2}, {w / 4, h / 4}};
  auto expectShown = [&] {
    const QImage shown = OnScreen(preview);
    for (const QPoint& p : points) {
      EXPECT_EQ(shown.pixel(p), ToQColor(mini.Pixel(Point{p.x(), p.y()})).rgb())
          << "at " << p.x() << "," << p.y();
    }
  };
  expectShown();
  const Color before = mini.Pixel(Point{w / 2, 2});
  Prog().SetFieldColors(Rgb(10, 200, 30), Rgb(240, 120, 0), Rgb(0, 90, 250));
  shell_->Sync();
  EXPECT_NE(mini.Pixel(Point{w / 2, 2}), before);
  expectShown();
}

}  // namespace
}  // namespace quillo

namespace quillo {
namespace {

// Closed by the window system (a title bar, Alt+F4), the editor hands back as its
// own CLOSE does: the field colours are logged and the key colours logged again.
TEST_F(ShellTest, EditorClosedByTheWindowSystemLogsItsColoursAndKeyColours) {
  FormWindow& editor = shell_->Window(WindowId::kSpaceColorForm);
  Click(Widget("SpeedButton52"));
  ASSERT_TRUE(editor.isVisible());
  EXPECT_FALSE(Prog().keyColorRecording);
  const int32_t before = Prog().log.Count();
  editor.close();
  QApplication::processEvents();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_FALSE(editor.State().visible);
  EXPECT_TRUE(Prog().keyColorRecording);
  ASSERT_EQ(Prog().log.Count(), before + 3);
  EXPECT_EQ(Prog().log.Codes()[static_cast<size_t>(before + 3)], uint32_t{lgfieldcolor});
  // A key colour now goes into the log.
  SendKey(&Window(), Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
  EXPECT_EQ(Prog().log.Count(), before + 6);
}

// The main window coming back to the front while "Copy ColorField" paints, as it does
// when the editor goes away, leaves the whole field on the canvas and in the backup.
TEST_F(ShellTest, ActivationDuringTheFieldCopyLeavesTheWholeFieldPainted) {
  FormWindow& editor = shell_->Window(WindowId::kSpaceColorForm);
  Click(Widget("SpeedButton52"));
  ASSERT_TRUE(editor.isVisible());
  // Half way down the field wherever rows let events run, and after the copy.
  platform_->duringPendingEvents = [this](int round) {
    if (round != 300) return;
    QCoreApplication::postEvent(&Window(), new QEvent(QEvent::WindowActivate));
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
  };
  Click(editor.findChild<QWidget*>("Label4"));
  platform_->duringPendingEvents = nullptr;
  QCoreApplication::postEvent(&Window(), new QEvent(QEvent::WindowActivate));
  QApplication::processEvents();
  ASSERT_FALSE(editor.isVisible());

  ColourField field = Prog().field;
  const Surface& canvas = Prog().main.images.canvas;
  const Surface& backup = Prog().main.images.Backup();
  const int32_t w = Prog().canvasWidth;
  for (int32_t y = 0; y < Prog().VisibleHeight(); y += 7) {
    for (int32_t x : {0, w / 3, w - 1}) {
      ASSERT_EQ(canvas.Pixel(Point{x, y}), field.FieldColorValue(x, y)) << x << "," << y;
      ASSERT_EQ(backup.Pixel(Point{x, y}), canvas.Pixel(Point{x, y})) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace quillo
