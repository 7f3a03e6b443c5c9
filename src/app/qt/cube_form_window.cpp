#include "app/qt/cube_form_window.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/qt/inspector_model.h"
#include "form/palette.h"
#include "platform/qt/device_pixels.h"

namespace quillo {

CubeFormWindow::CubeFormWindow(CubeForm& cubeForm, const InspectorList& lines,
                               ControlEventSink sink, std::function<void()> afterEvent,
                               std::string programDir, QWidget* transientParent)
    : FormWindow(cubeForm.window, std::move(sink), std::move(afterEvent), std::move(programDir),
                 transientParent),
      cube_form_(cubeForm),
      lines_(lines) {}

void CubeFormWindow::MakeListView() {
  QWidget* box = ControlWidget(cube_form_.c.ListBox5);
  if (box == nullptr) return;
  model_ = new InspectorModel(lines_, this);
  // A one-column table without headers or grid looks like a list. Unlike a
  // QListView, which lays out every row again whenever rows are added, its rows of
  // one fixed height cost nothing per row, so a list of a million lines takes new
  // lines as fast as a short one.
  list_view_ = new QTableView(box);
  list_view_->setObjectName(QStringLiteral("ListBox5View"));
  list_view_->setShowGrid(false);
  list_view_->setWordWrap(false);
  list_view_->setTextElideMode(Qt::ElideNone);
  list_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_view_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // The lines in the control's colours; the selection and the scroll bars in the
  // program's palette.
  const Control& state = cube_form_.window.form[cube_form_.c.ListBox5];
  QPalette colours = list_view_->palette();
  colours.setColor(QPalette::Base, ToQColor(state.color));
  colours.setColor(QPalette::Text, ToQColor(state.fontColor));
  colours.setColor(QPalette::Highlight, ToQColor(palette::kReplayAccent));
  colours.setColor(QPalette::HighlightedText, Qt::white);
  colours.setColor(QPalette::Window, ToQColor(palette::kGroup));
  colours.setColor(QPalette::Button, ToQColor(palette::kButtonFace));
  colours.setColor(QPalette::ButtonText, ToQColor(palette::kInk));
  list_view_->setPalette(colours);
  QFont font = list_view_->font();
  const int rowHeight = std::max(1, int(std::lround(ToLogical(cube_form_.itemHeight))));
  font.setPixelSize(std::max(9, rowHeight * 11 / 16));
  list_view_->setFont(font);
  QHeaderView* rows = list_view_->verticalHeader();
  rows->hide();
  rows->setMinimumSectionSize(1);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(rowHeight);
  list_view_->horizontalHeader()->hide();
  list_view_->setModel(model_);
  // The column is as wide as a long line, so a narrow list scrolls sideways to show
  // the numbers at the end of a line rather than cutting them off.
  const QString longLine = QStringLiteral(
      "60000    15    15    11    15    -1920    -1080    -2147483648    -1920    -1080");
  const int scrollBar = list_view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int inside = box->width() - 2 * list_view_->frameWidth() - scrollBar;
  const int lineWidth = QFontMetrics(font).horizontalAdvance(longLine) + 8;
  list_view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_view_->setColumnWidth(0, std::max(lineWidth, inside));
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_view_);

  // A view at its end keeps showing the newest lines; scrolled back, it stays put.
  QScrollBar* bar = list_view_->verticalScrollBar();
  connect(bar, &QScrollBar::valueChanged, this,
          [this, bar](int value) { following_ = value == bar->maximum(); });
  connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
    if (following_) bar->setValue(maximum);
  });
}

void CubeFormWindow::Sync() {
  FormWindow::Sync();
  if (list_view_ == nullptr) MakeListView();
  if (model_ != nullptr) model_->Follow();
  // A new picture may have a new size; the old one's area is repainted too.
  const QSize pictureSize(cube_form_.image.Width(), cube_form_.image.Height());
  if (pictureSize != shown_picture_size_) {
    shown_picture_size_ = pictureSize;
    update();
  }
}

}  // namespace quillo
