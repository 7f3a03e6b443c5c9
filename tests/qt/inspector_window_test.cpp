#include <QAbstractItemModel>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <vector>

#include "app/qt/cube_form_window.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

class InspectorWindowTest : public ShellTest {
 protected:
  CubeFormWindow& Inspector() {
    return static_cast<CubeFormWindow&>(shell_->Window(WindowId::kCubeForm));
  }
  QString Row(int row) {
    QAbstractItemModel* model = Inspector().ListView()->model();
    return model->data(model->index(row, 0)).toString();
  }
};

TEST_F(InspectorWindowTest, F11ShowsTheLinesOfARecordedDragAndClearEmptiesThem) {
  EXPECT_FALSE(Inspector().isVisible());
  const std::vector<QPoint> path{{100, 100}, {130, 110}, {160, 125}, {190, 140}};
  Drag(path);
  ASSERT_TRUE(Prog().BottomPanelVisible());
  SendKey(&Window(), Qt::Key_F11, Qt::NoModifier, QString());
  ASSERT_TRUE(Inspector().isVisible());
  QTableView* view = Inspector().ListView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  const InspectorList& lines = Prog().log.Lines();
  ASSERT_GE(lines.size(), path.size());
  ASSERT_EQ(view->model()->rowCount(), int(lines.size()));
  // The drag's press and moves are the last lines, as the recorder wrote them.
  const int first = int(lines.size() - path.size());
  EXPECT_TRUE(Row(first).contains(QStringLiteral("    1    100    100    ")));
  for (int i = 0; i < int(path.size()); ++i) {
    EXPECT_EQ(Row(first + i).toStdString(), lines[size_t(first + i)].Format());
    // A row holds its whole line; a narrow list scrolls sideways instead of cutting it.
    const QModelIndex index = view->model()->index(first + i, 0);
    EXPECT_GT(view->visualRect(index).width(),
              view->fontMetrics().horizontalAdvance(Row(first + i)));
  }

  // New lines appear while the window is open.
  Drag({{300, 300}, {310, 305}});
  EXPECT_EQ(view->model()->rowCount(), int(lines.size()));

  Click(Inspector().findChild<QWidget*>(QStringLiteral("SpeedButton1")));
  EXPECT_EQ(view->model()->rowCount(), 0);
  EXPECT_GT(Prog().log.Count(), 0);

  Click(Inspector().findChild<QWidget*>(QStringLiteral("Button1")));
  EXPECT_TRUE(Window().isVisible());
}

// The list cleared under the views (a repeat wrap) before they hear of it: a row
// they still ask for reads as empty, not past the list's end.
TEST_F(InspectorWindowTest, RowsAskedForAfterTheListWasClearedReadEmpty) {
  Drag({{100, 100}, {130, 110}, {160, 125}});
  SendKey(&Window(), Qt::Key_F11, Qt::NoModifier, QString());
  QAbstractItemModel* model = Inspector().ListView()->model();
  const int rows = model->rowCount();
  ASSERT_GT(rows, 2);
  Prog().log.ClearLines();
  EXPECT_FALSE(model->data(model->index(rows - 1, 0)).isValid());
  EXPECT_FALSE(model->data(model->index(0, 0)).isValid());
}

TEST_F(InspectorWindowTest, TwoHundredThousandLinesOpenAndScroll) {
  constexpr int kLines = 200000;
  Prog().log.ClearLines();
  for (int i = 0; i < kLines; ++i) {
    InspectorLine line;
    line.position = i;
    line.value = i * 7;
    Prog().log.AddLine(line);
  }
  Prog().cubeForm.Open();
  shell_->Sync();
  QTableView* view = Inspector().ListView();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->model()->rowCount(), kLines);
  QApplication::processEvents();

  // The view follows the newest lines, and rows at any height show their line.
  const QPoint bottom(4, view->viewport()->height() - 4);
  EXPECT_EQ(view->indexAt(bottom).row(), kLines - 1);
  QScrollBar* bar = view->verticalScrollBar();
  bar->setValue(bar->maximum() / 2);
  QApplication::processEvents();
  const QModelIndex middle = view->indexAt(QPoint(4, 4));
  EXPECT_NEAR(middle.row(), kLines / 2, kLines / 100);
  EXPECT_EQ(middle.data().toString().toStdString(),
            Prog().log.Lines()[size_t(middle.row())].Format());
  bar->setValue(0);
  QApplication::processEvents();
  EXPECT_EQ(view->indexAt(QPoint(4, 4)).row(), 0);

  // Scrolled away from the end, the view stays where the user put it.
  InspectorLine more;
  more.position = kLines;
  Prog().log.AddLine(more);
  shell_->Sync();
  EXPECT_EQ(view->model()->rowCount(), kLines + 1);
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(InspectorWindowTest, AtTheBoundTheOldestLinesLeaveTheTopAndTheRowsFollow) {
  constexpr int kBound = int(InspectorList::kMaxLines);
  Prog().log.ClearLines();
  InspectorLine line;
  for (line.position = 0; line.position < kBound - 2; ++line.position)
    Prog().log.AddLine(line);
  Prog().cubeForm.Open();
  shell_->Sync();
  QTableView* view = Inspector().ListView();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->model()->rowCount(), kBound - 2);
  // Five more: two fill the list, three push the oldest out.
  for (int i = 0; i < 5; ++i, ++line.position)
    Prog().log.AddLine(line);
  shell_->Sync();
  QApplication::processEvents();
  ASSERT_EQ(view->model()->rowCount(), kBound);
  EXPECT_TRUE(Row(0).startsWith(QStringLiteral("3    ")));
  EXPECT_TRUE(Row(kBound - 1).startsWith(QString::number(kBound + 2) + QStringLiteral("    ")));
  EXPECT_EQ(view->indexAt(QPoint(4, view->viewport()->height() - 4)).row(), kBound - 1);
  Click(Inspector().findChild<QWidget*>(QStringLiteral("SpeedButton1")));
  EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(InspectorWindowTest, ThePictureShowsAtTheTopLeftAtItsOwnSize) {
  Prog().cubeForm.Open();
  shell_->Sync();
  // A picture loaded later, smaller than the window, as the field cache picture is.
  Surface& picture = Prog().cubeForm.image;
  ASSERT_TRUE(picture.Resize(400, 300));
  picture.FillRect(picture.Bounds(), Rgb(200, 0, 0));
  shell_->Sync();
  const QImage shown = OnScreen(&Inspector());
  ASSERT_GE(shown.height(), 400);
  EXPECT_EQ(shown.pixelColor(30, 280), QColor(200, 0, 0));
  EXPECT_EQ(shown.pixelColor(30, 320), ToQColor(Prog().cubeForm.window.color));
}

// At 1024 x 768 and at 1920 x 1080 the log inspector and the hot key chart fill the
// screen as the layout grows them: every control lies inside its window, the list
// and the chart grow with the screen, and the chart is drawn over its whole box.
TEST(LargeScreenWindowTest, TheInspectorAndTheHotKeyChartGrowWithTheScreen) {
  for (const ScreenSize screen : {ScreenSize{1024, 768}, ScreenSize{1920, 1080}}) {
    SCOPED_TRACE(screen.width);
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLO_PROGRAM_DIR "/keyhelp2.bmp"),
                            dir.path() + "/keyhelp2.bmp"));
    Shell shell(dir.path().toStdString() + "/", std::make_unique<SizedPlatform>(screen));
    shell.Start();
    Program& p = shell.program();
    p.startScreen.GoStraightToDrawing();
    p.cubeForm.Open();
    p.helpForm.Show();
    p.helpForm.ShowHotKeys();
    shell.Sync();
    for (const WindowId id : {WindowId::kCubeForm, WindowId::kForm1}) {
      FormWindow& window = shell.Window(id);
      ASSERT_TRUE(window.isVisible());
      // The window asks for the whole screen (a display smaller than the screen asked
      // for, as the offscreen one is, holds it to its own size).
      const QRect whole(0, 0, window.State().clientWidth, window.State().clientHeight);
      EXPECT_EQ(whole.size(), QSize(screen.width, screen.height));
      for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisible() && !control->objectName().isEmpty()) {
          EXPECT_TRUE(whole.contains(control->geometry())) << control->objectName().toStdString();
        }
      }
    }
    const auto grown = [&](int length) { return length * screen.height / 768; };
    QWidget* list =
        shell.Window(WindowId::kCubeForm).findChild<QWidget*>(QStringLiteral("ListBox5"));
    EXPECT_NEAR(list->height(), grown(345), 2);
    QWidget* chart = shell.Window(WindowId::kForm1).findChild<QWidget*>(QStringLiteral("Image2"));
    ASSERT_TRUE(chart->isVisible());
    const QImage design(QStringLiteral(QUILLO_PROGRAM_DIR "/keyhelp2.bmp"));
    EXPECT_NEAR(chart->height(), screen.height > 768 ? grown(design.height()) : design.height(), 2);
    // The chart's own bottom right corner is drawn at the bottom right of the box.
    const QImage shown = OnScreen(chart);
    EXPECT_EQ(shown.pixel(shown.width() - 2, shown.height() - 2) & 0xFFFFFF,
              design.pixel(design.width() - 2, design.height() - 2) & 0xFFFFFF);
  }
}

}  // namespace
}  // namespace quillo
