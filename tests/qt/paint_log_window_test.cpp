#include <QImage>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "log/action_log.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

using PaintLogWindowTest = ShellTest;

TEST_F(PaintLogWindowTest, DragAcrossTheCanvasDrawsLogsAndShowsTheStroke) {
  const Surface& canvas = Prog().main.images.canvas;
  ASSERT_GT(canvas.Width(), 300);
  ASSERT_GT(canvas.Height(), 200);
  const std::vector<uint32_t> before(canvas.Bits(),
                                     canvas.Bits() + size_t(canvas.Width()) * canvas.Height());
  const int32_t count = Prog().log.Count();

  const std::vector<QPoint> path{{100, 100}, {130, 110}, {160, 125}, {190, 140}, {220, 150}};
  Drag(path);

  const int moves = int(path.size()) - 1;
  ASSERT_EQ(Prog().log.Count(), count + 1 + moves);
  const auto& codes = Prog().log.Codes();
  EXPECT_EQ(codes[count + 1] & 15, uint32_t{lgmoused});
  for (int i = 0; i < moves; ++i)
    EXPECT_EQ(codes[count + 2 + i] & 15, uint32_t{lgspacecolor});

  int changed = 0;
  for (size_t i = 0; i < before.size(); ++i)
    changed += before[i] != canvas.Bits()[i];
  EXPECT_GT(changed, 100);

  // What the window shows is the canvas, pixel for pixel, where the stroke went.
  const QImage shown = Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(canvas.Width(), canvas.Height()));
  for (const QPoint& p : path) {
    const uint32_t pixel = canvas.Bits()[size_t(p.y()) * canvas.Width() + p.x()];
    EXPECT_NE(pixel & 0xFFFFFF, 0u) << "no paint at " << p.x() << "," << p.y();
    EXPECT_EQ(shown.pixel(p), pixel) << "at " << p.x() << "," << p.y();
  }
}

TEST_F(PaintLogWindowTest, EveryControlHasItsWidgetPlacedAndShownAsTheEngineSays) {
  const Form& form = MainForm();
  ASSERT_GT(form.Count(), 50);
  for (ControlId id = 0; id < form.Count(); ++id) {
    const Control& c = form[id];
    QWidget* w = Window().ControlWidget(id);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->objectName().toStdString(), c.name);
    EXPECT_EQ(Widget(c.name.c_str()), w) << c.name;
    QWidget* parent = c.parent == kNoControl ? &Window() : Window().ControlWidget(c.parent);
    EXPECT_EQ(w->parentWidget(), parent) << c.name;
    const Rect b = Normalized(c.bounds);
    EXPECT_EQ(w->geometry(), QRect(b.left, b.top, int(b.Width()), int(b.Height()))) << c.name;
    EXPECT_EQ(w->isVisibleTo(&Window()), form.Showing(id)) << c.name;
  }
}

TEST_F(PaintLogWindowTest, ClicksOnControlsReachTheEngineAndChangedControlsRefresh) {
  ASSERT_EQ(Prog().main.images.canvas.PenWidth(), 32);
  Click(Widget("Label23"));  // increase pen width
  EXPECT_EQ(Prog().main.images.canvas.PenWidth(), 64);
  EXPECT_EQ(MainForm()[MainForm().Find("PenWlabel")].caption, "64");

  // The hints switch empties every tooltip, and a second press brings them back.
  QWidget* undo = Widget("SpeedButton25");
  EXPECT_EQ(undo->toolTip(), QStringLiteral("CLICK TO UNDO"));
  Click(Widget("SpeedButton23"));
  EXPECT_TRUE(undo->toolTip().isEmpty());
  Click(Widget("SpeedButton23"));
  EXPECT_EQ(undo->toolTip(), QStringLiteral("CLICK TO UNDO"));

  // The file panel button swaps the bottom strips.
  Click(Widget("SpeedButton53"));
  EXPECT_TRUE(Widget("Panel2")->isVisibleTo(&Window()));
  EXPECT_FALSE(Widget("Panel1")->isVisibleTo(&Window()));
}

TEST_F(PaintLogWindowTest, KeysGoToTheEngineWhateverWidgetHasThem) {
  QWidget* somewhere = Widget("SpeedButton25");
  SendKey(somewhere, Qt::Key_Right, Qt::NoModifier, QString());
  EXPECT_EQ(Prog().main.images.canvas.PenWidth(), 33);
  SendKey(&Window(), Qt::Key_3, Qt::KeypadModifier, QStringLiteral("3"));
  EXPECT_EQ(Prog().main.images.canvas.PenWidth(), 4);
  SendKey(somewhere, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
  EXPECT_TRUE(Widget("Panel5")->isVisibleTo(&Window()));
  SendKey(&Window(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_FALSE(Widget("Panel5")->isVisibleTo(&Window()));
  EXPECT_FALSE(Widget("Panel1")->isVisibleTo(&Window()));
}

TEST_F(PaintLogWindowTest, PointerShapeFollowsTheEngineOverTheCanvas) {
  WindowState& state = Prog().main.window;
  ASSERT_EQ(state.pointer, PointerShape::kDefault);
  EXPECT_EQ(Window().cursor().shape(), Qt::ArrowCursor);
  state.pointer = PointerShape::kCross;
  ++state.revision;
  shell_->Sync();
  EXPECT_EQ(Window().cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(Widget("Panel1")->cursor().shape(), Qt::ArrowCursor);
}

// The pointing hand is for what the mouse works: buttons, swatches and labels acting
// as buttons; value displays, coloured and hinted alike, keep the arrow.
TEST_F(PaintLogWindowTest, OnlyControlsTheMouseWorksShowThePointingHand) {
  for (const char* name : {"freebtn", "Label6", "Label21", "loopbtn", "SpeedButton32"})
    EXPECT_EQ(Widget(name)->cursor().shape(), Qt::PointingHandCursor) << name;
  for (const char* name : {"PenWlabel", "SpecLBL", "PenWtitle", "Panel1"})
    EXPECT_EQ(Widget(name)->cursor().shape(), Qt::ArrowCursor) << name;
  FormWindow& start = shell_->Window(WindowId::kForm2);
  EXPECT_EQ(start.findChild<QWidget*>("Label3")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(start.findChild<QWidget*>("Image1")->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PaintLogWindowTest, CloseQuestionDecidesWhetherTheWindowCloses) {
  ASSERT_TRUE(Window().isVisible());
  platform_->answer = Answer::kNo;
  EXPECT_FALSE(Window().close());
  EXPECT_TRUE(Window().isVisible());
  ASSERT_EQ(platform_->questions.size(), 1u);
  EXPECT_EQ(platform_->questions[0], "Is it OK to close Quillo?");

  platform_->answer = Answer::kOk;
  EXPECT_TRUE(Window().close());
  EXPECT_FALSE(Window().isVisible());
  EXPECT_EQ(platform_->questions.size(), 2u);
}

// CLOSE asks once; "OK" ends the program's event loop straight away.
TEST_F(PaintLogWindowTest, CloseButtonAsksOnceAndOkEndsTheProgram) {
  platform_->answer = Answer::kOk;
  QTimer::singleShot(0, [this] { Click(Widget("SpeedButton32")); });
  QTimer::singleShot(3000, [] { QCoreApplication::exit(2); });  // only if it hangs
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(platform_->questions.size(), 1u);
}

// Coming back to the main window from another window changes nothing on the canvas:
// the picture shown stays, whatever the backup holds.
TEST_F(PaintLogWindowTest, ActivatingTheMainWindowLeavesTheCanvasAsItIs) {
  CanvasImages& images = Prog().main.images;
  images.Backup().FillRect(Rect{0, 0, 50, 40}, Rgb(10, 200, 30));
  const Color shown = images.canvas.Pixel({5, 5});
  ASSERT_NE(shown, Rgb(10, 200, 30));
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&Window(), &activate);
  EXPECT_EQ(images.canvas.Pixel({5, 5}), shown);
  EXPECT_EQ(OnScreen(&Window()).pixel(5, 5) & 0xFFFFFF, ToQColor(shown).rgb() & 0xFFFFFF);
}

}  // namespace
}  // namespace quillo
