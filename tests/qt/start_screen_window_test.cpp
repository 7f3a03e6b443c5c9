#include <QCoreApplication>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>

#include "platform/qt/device_pixels.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

using StartScreenWindowTest = ShellTest;

TEST_F(StartScreenWindowTest, GoStraightToDrawingLeadsToADrawableCanvas) {
  // The first start has rendered the field and kept its miniature.
  EXPECT_TRUE(QFile::exists(dir_.path() + "/littlblu.bmp"));
  FormWindow& screen = shell_->Window(WindowId::kForm2);
  ASSERT_TRUE(screen.isVisible());
  EXPECT_FALSE(screen.isWindow());  // a modal frame inside the main window
  // The size the engine gave it: 640 x 465, grown on a screen taller than 768.
  const WindowState& state = Prog().startScreen.window;
  EXPECT_EQ(screen.size(), ToLogical(Rect{0, 0, state.clientWidth, state.clientHeight}).size());
  EXPECT_GE(screen.width(), 640);
  QWidget* go = screen.findChild<QWidget*>("Label3");
  ASSERT_NE(go, nullptr);

  Click(go);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(Prog().log.Count(), 8);

  const Surface& canvas = Prog().main.images.canvas;
  ASSERT_EQ(canvas.Pixel({300, 200}), 0u);
  Drag({{200, 200}, {300, 200}, {400, 200}});
  EXPECT_NE(canvas.Pixel({300, 200}), 0u);
  EXPECT_EQ(Prog().log.Count(), 11);
  // The window shows what was drawn.
  const QImage shown = OnScreen(&Window());
  EXPECT_EQ(shown.pixel(300, 200), ToQColor(canvas.Pixel({300, 200})).rgb());
}

TEST_F(StartScreenWindowTest, ClosingTheStartScreenOtherwiseChangesNothing) {
  FormWindow& screen = shell_->Window(WindowId::kForm2);
  const int32_t count = Prog().log.Count();
  ASSERT_TRUE(screen.close());
  EXPECT_FALSE(Prog().startScreen.window.visible);
  EXPECT_EQ(Prog().log.Count(), count);
  EXPECT_FALSE(Prog().main.window.form[Prog().main.c.Panel8].visible);
}

TEST_F(StartScreenWindowTest, TheHelpWindowShowsADocumentFormatted) {
  QFile doc(dir_.path() + "/Introduction.rtf");
  ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
  // Longer than the viewer, which opens on its top.
  QByteArray more;
  for (int i = 0; i < 100; ++i)
    more += "more\\par ";
  doc.write("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\qc{\\b Title}\\par\\cf1 red text\\par " +
            more + "}");
  doc.close();

  Click(shell_->Window(WindowId::kForm2).findChild<QWidget*>("Label4"));
  FormWindow& help = shell_->Window(WindowId::kForm1);
  ASSERT_TRUE(help.isVisible());
  auto* viewer = help.findChild<QTextBrowser*>("RichEdit1");
  ASSERT_NE(viewer, nullptr);
  // The window opens on its introduction.
  ASSERT_TRUE(viewer->isVisible());
  EXPECT_TRUE(viewer->toPlainText().contains(QStringLiteral("red text")));
  QCoreApplication::processEvents();
  EXPECT_GT(viewer->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(viewer->verticalScrollBar()->value(), 0);

  Click(help.findChild<QWidget*>("Label1"));
  ASSERT_TRUE(viewer->isVisible());
  const Rect box = Normalized(Prog().helpForm.window.form[Prog().helpForm.c.RichEdit1].bounds);
  EXPECT_EQ(viewer->size(), QSize(int(box.Width()), int(box.Height())));
  EXPECT_GE(viewer->width(), 640);
  EXPECT_EQ(viewer->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  const QTextDocument& d = *viewer->document();
  ASSERT_EQ(d.blockCount(), 102);
  const QTextBlock title = d.firstBlock();
  EXPECT_EQ(title.text(), "Title");
  EXPECT_TRUE(title.blockFormat().alignment().testFlag(Qt::AlignHCenter));
  EXPECT_TRUE(title.begin().fragment().charFormat().font().bold());
  const QTextBlock red = title.next();
  EXPECT_EQ(red.text(), "red text");
  EXPECT_EQ(red.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));

  // The chart's label hides the viewer again.
  Click(help.findChild<QWidget*>("Label2"));
  EXPECT_FALSE(viewer->isVisible());
}

// A normal close keeps the drawing; the next start shows "Continue drawing" with its
// miniature, and a click puts the picture and the log back. Another copy started in
// the same folder meanwhile shows no such choice.
TEST_F(StartScreenWindowTest, ContinueDrawingPutsBackWhatTheLastCloseKept) {
  const std::string dir = dir_.path().toStdString() + "/";
  const auto restart = [&] {
    shell_.reset();
    auto platform = std::make_unique<ScriptedPlatform>();
    platform_ = platform.get();
    shell_ = std::make_unique<Shell>(dir, std::move(platform));
    shell_->program().autosave.Enable();
    shell_->Start();
  };
  const auto startScreen = [&] { return &shell_->Window(WindowId::kForm2); };
  restart();
  EXPECT_FALSE(startScreen()->findChild<QWidget*>("Label5")->isVisible());
  Click(startScreen()->findChild<QWidget*>("Label3"));
  Drag({{200, 200}, {300, 250}, {400, 200}});
  Surface drawn;
  drawn.CopyFrom(Prog().main.images.Backup());
  const int32_t count = Prog().log.Count();
  platform_->answer = Answer::kOk;
  ASSERT_TRUE(Window().close());

  restart();
  QWidget* go = startScreen()->findChild<QWidget*>("Label5");
  QWidget* miniature = startScreen()->findChild<QWidget*>("Image3");
  ASSERT_TRUE(go->isVisible());
  ASSERT_TRUE(miniature->isVisible());
  const StartScreen& screen = Prog().startScreen;
  EXPECT_EQ(screen.window.form[screen.c.Label5].caption, "Continue drawing");
  // Another copy started on the same folder meanwhile shows no such choice.
  {
    ScriptedPlatform* own = platform_;
    Shell other(dir, std::make_unique<ScriptedPlatform>());
    other.program().autosave.Enable();
    other.Start();
    EXPECT_FALSE(other.Window(WindowId::kForm2).findChild<QWidget*>("Label5")->isVisible());
    platform_ = own;
  }

  Click(go);
  EXPECT_FALSE(startScreen()->isVisible());
  EXPECT_TRUE(platform_->questions.empty());
  const Surface& canvas = Prog().main.images.canvas;
  EXPECT_EQ(Prog().log.Count(), count);
  for (const Point p : {Point{300, 250}, Point{10, 10}, Point{200, 200}})
    EXPECT_EQ(canvas.Pixel(p), drawn.Pixel(p));
  EXPECT_NE(canvas.Pixel({300, 250}), 0u);
  EXPECT_EQ(OnScreen(&Window()).pixel(300, 250), ToQColor(canvas.Pixel({300, 250})).rgb());
}

}  // namespace
}  // namespace quillo
