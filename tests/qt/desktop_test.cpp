// The program on today's desktops: windows that stack by their transient parent and
// hand back by hiding, a quiet start, demo and close, and a canvas with a pixel for
// every device pixel. They run on the offscreen platform, under a headless Weston
// (tests/qt/on_weston.sh) and at scales of 2 and 1.5 (tests/CMakeLists.txt).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWindow>
#include <cmath>
#include <functional>

#include "platform/qt/device_pixels.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

using DesktopTest = ShellTest;

// The start screen is a frame inside the main window, centred over the canvas and
// above every control, whatever the compositor does with windows; while it shows,
// the canvas, the controls and the keys of the main window take nothing.
TEST_F(DesktopTest, TheStartScreenIsAModalFrameCentredOverTheCanvas) {
  FormWindow& start = shell_->Window(WindowId::kForm2);
  ASSERT_TRUE(start.isVisible());
  EXPECT_TRUE(Window().isFullScreen());
  EXPECT_FALSE(start.isWindow());
  EXPECT_EQ(start.parentWidget(), &Window());
  EXPECT_LE((start.geometry().center() - Window().rect().center()).manhattanLength(), 1);
  const QWidget* top = Window().childAt(start.geometry().bottomRight());
  EXPECT_TRUE(top == &start || start.isAncestorOf(top));

  // A click on the canvas and one on the main window's CLOSE land where the pointer
  // is, and the key Space (which would hide the strip) where the keyboard is.
  const int32_t count = Prog().log.Count();
  const Surface& canvas = Prog().main.images.canvas;
  const QPoint outside(5, 5);
  ASSERT_FALSE(start.geometry().contains(outside));
  QWidget* close = Widget("SpeedButton32");
  for (const QPoint at : {outside, close->mapTo(&Window(), close->rect().center())}) {
    QWidget* target = Window().childAt(at);
    ASSERT_NE(target, nullptr);
    EXPECT_NE(target, close);
    const QPoint inside = target->mapFrom(&Window(), at);
    SendMouse(target, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
  }
  // The main window's focus, which keys reach once it is active.
  QWidget* keyboard = Window().focusWidget();
  ASSERT_TRUE(keyboard == &start || start.isAncestorOf(keyboard));
  SendKey(keyboard, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_EQ(Prog().log.Count(), count);
  EXPECT_EQ(canvas.Pixel(ToEnginePoint(QPointF(outside))), 0u);
  EXPECT_TRUE(platform_->questions.empty());
  EXPECT_TRUE(MainForm()[Prog().main.c.Panel1].visible);

  Click(start.findChild<QWidget*>("Label3"));
  EXPECT_FALSE(start.isVisible());
  Drag({outside, outside + QPoint(20, 0)});
  EXPECT_GT(Prog().log.Count(), count);
}

// How many pixels of the compositor's picture of the screen have the colour; -1 when
// there is no picture (a platform without a compositor, or one that gives none).
int PixelsOnScreenOf(QRgb colour) {
  const QString shooter = QStandardPaths::findExecutable(QStringLiteral("weston-screenshooter"));
  if (!QGuiApplication::platformName().startsWith(QStringLiteral("wayland")) || shooter.isEmpty())
    return -1;
  QTemporaryDir dir;
  QProcess shot;
  shot.setWorkingDirectory(dir.path());
  shot.start(shooter, {});
  // The compositor answers while this program runs its events.
  while (!shot.waitForFinished(20))
    QApplication::processEvents();
  const QStringList taken = QDir(dir.path()).entryList({QStringLiteral("*.png")});
  if (taken.isEmpty()) return -1;
  const QImage image = QImage(dir.filePath(taken.front())).convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      count += image.pixel(x, y) == colour;
  return count;
}

// Under a compositor the start screen is seen over the full-screen canvas: its
// tutorial label shows in the compositor's picture of the screen, and goes with it.
TEST_F(DesktopTest, TheStartScreenIsShownAboveTheMainWindow) {
  if (PixelsOnScreenOf(0) < 0) GTEST_SKIP() << "no compositor to take a picture of the screen";
  // The pixels of the tutorial label once the compositor shows what it was given.
  const auto shownWhen = [](auto done) {
    int shown = PixelsOnScreenOf(qRgb(0, 221, 51));
    for (int tries = 0; tries < 20 && !done(shown); ++tries) {
      QThread::msleep(50);
      QApplication::processEvents(QEventLoop::AllEvents, 100);
      shown = PixelsOnScreenOf(qRgb(0, 221, 51));
    }
    return shown;
  };
  EXPECT_GE(shownWhen([](int n) { return n >= 1000; }), 1000);
  Prog().startScreen.GoStraightToDrawing();
  shell_->Sync();
  EXPECT_EQ(shownWhen([](int n) { return n == 0; }), 0);
}

// Every other secondary window is a full-screen transient child of the main window,
// which keeps it above the main window without a stay-on-top hint. A window that
// hands back to the drawing goes away, whichever of its controls does it: nothing is
// left to bring the main window to the front.
TEST_F(DesktopTest, SecondaryWindowsStayAboveTheMainWindowAndHideToHandBack) {
  Program& p = Prog();
  const struct {
    WindowId id;
    std::function<void()> open;
    const char* control;
  } cases[] = {
      {WindowId::kForm2, [] {}, "Label3"},  // the start screen, a frame
      {WindowId::kCubeForm, [&] { p.cubeForm.Open(); }, "Button1"},
      {WindowId::kForm1, [&] { p.helpForm.Show(); }, "Label4"},
      {WindowId::kSpaceColorForm, [&] { p.spaceColorForm.Open(); }, "Label4"},  // Copy
      {WindowId::kSpaceColorForm, [&] { p.spaceColorForm.Open(); }, "Label3"},  // Close
  };
  for (const auto& c : cases) {
    FormWindow& window = shell_->Window(c.id);
    SCOPED_TRACE(window.objectName().toStdString() + " " + c.control);
    c.open();
    shell_->Sync();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.parentWidget(), &Window());
    if (window.isWindow()) {
      EXPECT_TRUE(window.isFullScreen());
      EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      EXPECT_EQ(window.windowHandle()->transientParent(), Window().windowHandle());
    }
    Click(window.findChild<QWidget*>(c.control));
    EXPECT_FALSE(window.State().visible);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(Window().isVisible());
  }
  EXPECT_TRUE(p.keyColorRecording);
}

// Records what Qt warns of from before the shell starts.
class QuietDesktopTest : public ShellTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLO_PROGRAM_DIR "/Newonee.log"),
                            dir_.filePath(QStringLiteral("Newonee.log"))));
    warnings_ = &lines_;
    previous_ = qInstallMessageHandler(&Record);
    ShellTest::SetUp();
  }
  void TearDown() override {
    qInstallMessageHandler(previous_);
    warnings_ = nullptr;
  }
  static void Record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg && warnings_ != nullptr) warnings_->append(text);
  }

  static inline QStringList* warnings_ = nullptr;
  QStringList lines_;
  QtMessageHandler previous_ = nullptr;
};

// Start-up, the demo (which moves the pointer where the platform lets it) and the
// close say nothing on stderr.
TEST_F(QuietDesktopTest, NoWarningDuringStartUpTheDemoAndClose) {
  QApplication::processEvents();
  Click(shell_->Window(WindowId::kForm2).findChild<QWidget*>("Label2"));
  ASSERT_TRUE(Prog().Replaying());
  for (int i = 0; i < 50 && Prog().Replaying(); ++i) {
    Prog().TimerTick(TimerId::logplaytimer);
    shell_->Sync();
    QApplication::processEvents();
  }
  EXPECT_TRUE(platform_->errors.empty());
  platform_->answer = Answer::kOk;
  EXPECT_TRUE(Window().close());
  shell_.reset();
  QApplication::processEvents();
  EXPECT_TRUE(lines_.isEmpty()) << lines_.join('\n').toStdString();
}

// The canvas has the screen's device pixels, at any scale; a stroke drawn with
// events at logical points lands on the device pixels under them, is logged in
// canvas pixels and is shown one surface pixel to one device pixel.
TEST_F(DesktopTest, TheCanvasHasTheScreensDevicePixelsAndAStrokeLandsUnderThePointer) {
  const qreal ratio = Window().devicePixelRatioF();
  EXPECT_EQ(ratio, DevicePixelRatio());
  const QSize logical = Window().screen()->geometry().size();
  const QSize device(int(std::lround(logical.width() * ratio)),
                     int(std::lround(logical.height() * ratio)));
  const Surface& canvas = Prog().main.images.canvas;
  EXPECT_EQ(QSize(canvas.Width(), canvas.Height()), device);
  EXPECT_EQ(QSize(Prog().main.window.clientWidth, Prog().main.window.clientHeight), device);
  // The reference size, in which the log keeps its points, is the canvas's.
  EXPECT_EQ(QSize(Prog().canvasWidth, Prog().canvasHeight), device);

  Prog().startScreen.GoStraightToDrawing();
  shell_->Sync();
  Prog().main.images.canvas.SetPenWidth(1);
  const int y = logical.height() / 5;
  const int from = logical.width() / 5;
  const int to = logical.width() * 2 / 5;
  const int32_t count = Prog().log.Count();
  Drag({{from, y}, {to, y}});
  ASSERT_EQ(Prog().log.Count(), count + 2);
  // The press is logged at the device pixel under the pointer.
  const Point pressed = ToEnginePoint(QPointF(from, y));
  const UnpackedPoint logged = UnpackPoint(Prog().log.Values()[count + 1]);
  EXPECT_EQ((Point{logged.x, logged.y}), pressed);

  // A line one device pixel thick along the row under the pointer, none beside it.
  const int32_t row = pressed.y;
  const int32_t end = ToEnginePoint(QPointF(to, y)).x;
  for (int32_t x = pressed.x; x < end; x += 7) {
    SCOPED_TRACE(x);
    EXPECT_NE(canvas.Pixel({x, row}), 0u);
    EXPECT_EQ(canvas.Pixel({x, row - 2}), 0u);
    EXPECT_EQ(canvas.Pixel({x, row + 2}), 0u);
  }

  // On the screen, device pixel for surface pixel around the line's start.
  const QImage shown = OnScreen(&Window());
  ASSERT_EQ(shown.size(), device);
  for (int32_t dy = -3; dy <= 3; ++dy) {
    for (int32_t dx = -3; dx <= 3; ++dx) {
      const Point at{pressed.x + dx, row + dy};
      ASSERT_EQ(shown.pixel(at.x, at.y), ToQColor(canvas.Pixel(at)).rgb()) << dx << ", " << dy;
    }
  }
}

}  // namespace
}  // namespace quillo
