// The demonstration, made at 1024 x 768, run from the start screen on a wider screen.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "shell_fixture.h"
#include "support/closeness.h"

namespace quillo {
namespace {

// What the window shows of the canvas above the tool strip once "Run Demo" on a screen
// of the size given has played the demonstration to its end.
QImage DemoShownOn(ScreenSize screen) {
  QTemporaryDir dir;
  // A program folder as the build lays it out: the demonstration and the tools' files.
  const QDir program(QStringLiteral(QUILLO_PROGRAM_DIR));
  for (const QString& name : program.entryList(QDir::Files))
    EXPECT_TRUE(QFile::copy(program.filePath(name), dir.filePath(name)));
  Shell shell(dir.path().toStdString() + "/", std::make_unique<SizedPlatform>(screen));
  shell.Start();
  QApplication::processEvents();
  QWidget* runDemo = shell.Window(WindowId::kForm2).findChild<QWidget*>(QStringLiteral("Label2"));
  const QPointF at = runDemo->rect().center();
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, at, runDemo->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(runDemo, &e);
  }
  Program& p = shell.program();
  EXPECT_TRUE(p.Replaying());
  for (int i = 0; i < 2000 && p.Replaying(); ++i)
    p.TimerTick(TimerId::logplaytimer);
  EXPECT_FALSE(p.Replaying());
  shell.Sync();
  // The offscreen display is smaller than the screen asked for: the window is given
  // the canvas's size, so that it shows the canvas whole.
  shell.MainWindow().resize(screen.width, screen.height);
  return OnScreen(&shell.MainWindow()).copy(0, 0, screen.width, p.VisibleHeight());
}

// On a 1920 x 1080 screen the demonstration fills the 1440 x 1080 area in the middle,
// black bars either side, and shrunk back it is the picture it makes at 1024 x 768.
TEST(ScaledDemoWindowTest, TheDemoFillsTheMiddleOfAWideScreenAsItWasMade) {
  const QImage made = DemoShownOn(ScreenSize{1024, 768});
  const QImage wide = DemoShownOn(ScreenSize{1920, 1080});
  ASSERT_EQ(made.width(), 1024);
  ASSERT_EQ(wide.width(), 1920);
  int64_t lit = 0;
  for (int y = 0; y < wide.height(); ++y) {
    for (int x = 0; x < wide.width(); ++x)
      if (x < 240 || x >= 1680) lit += (wide.pixel(x, y) & 0xFFFFFF) != 0;
  }
  EXPECT_EQ(lit, 0) << "pixels lit in the bars";
  // The rows above both strips, in blocks of 32 (45 on the wide screen).
  const int blocks = std::min(made.height() / 32, wide.height() / 45);
  ASSERT_GT(blocks, 18);
  const testing::PixelView small{reinterpret_cast<const uint32_t*>(made.constBits()), 1024,
                                 32 * blocks};
  const testing::PixelView big{reinterpret_cast<const uint32_t*>(wide.constBits()), 1920,
                               wide.height()};
  const testing::Closeness c = testing::ComparePictures(small, big, {240, 0, 1680, 45 * blocks});
  EXPECT_LE(c.mean, 6.0);
  EXPECT_LE(c.worstBlock, 40.0);
  std::printf("The demonstration in the window at 1920 x 1080: mean %.2f, worst block %.2f\n",
              c.mean, c.worstBlock);
}

}  // namespace
}  // namespace quillo
