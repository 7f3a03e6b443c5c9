#include "app/qt/cube_form_window.h"

#include <QFontMetrics>
#include <QListView>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/qt/inspector_model.h"

namespace quillo {

CubeFormWindow::CubeFormWindow(CubeForm& cubeForm, const InspectorList& lines,
                               ControlEventSink sink, std::function<void()> afterEvent,
                               std::string programDir)
    : FormWindow(cubeForm.window, std::move(sink), std::move(afterEvent), std::move(programDir)),
      cube_form_(cubeForm),
      lines_(lines) {}

void CubeFormWindow::MakeListView() {
  QWidget* box = ControlWidget(cube_form_.c.ListBox5);
  if (box == nullptr) return;
  model_ = new InspectorModel(lines_, this);
  list_view_ = new QListView(box);
  list_view_->setObjectName(QStringLiteral("ListBox5View"));
  // Every row has the same height, so the view scrolls any number of rows without
  // asking each one for its size.
  list_view_->setUniformItemSizes(true);
  list_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_view_->setTextElideMode(Qt::ElideNone);
  QFont font = list_view_->font();
  font.setPixelSize(std::max(9, cube_form_.itemHeight * 11 / 16));
  list_view_->setFont(font);
  // Rows are as wide as a long line, so a narrow list scrolls sideways to show the
  // numbers at the end of the line rather than cutting them off.
  const QString longLine = QStringLiteral(
      "60000    15    15    11    15    -1920    -1080    -2147483648    -1920    -1080");
  const int width = QFontMetrics(font).horizontalAdvance(longLine) + 8;
  model_->SetRowSize(QSize(width, cube_form_.itemHeight));
  list_view_->setModel(model_);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_view_);
}

void CubeFormWindow::Sync() {
  FormWindow::Sync();
  if (list_view_ == nullptr) MakeListView();
  if (model_ != nullptr) {
    // A view scrolled to its end keeps showing the newest lines.
    const QScrollBar* bar = list_view_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_->Follow();
    if (atEnd) list_view_->scrollToBottom();
  }
  // A new picture may have a new size; the old one's area is repainted too.
  const QSize pictureSize(cube_form_.image.Width(), cube_form_.image.Height());
  if (pictureSize != shown_picture_size_) {
    shown_picture_size_ = pictureSize;
    update();
  }
}

}  // namespace quillo
