#include "app/qt/input_controls.h"

#include <QMouseEvent>
#include <algorithm>
#include <utility>

#include "app/qt/control_paint.h"

namespace quillo {
namespace {

ControlEvent MouseEventFor(ControlId id, EventKind kind, const QMouseEvent& event) {
  ControlEvent e;
  e.control = id;
  e.kind = kind;
  e.button = event.button() == Qt::RightButton    ? MouseButton::kRight
             : event.button() == Qt::MiddleButton ? MouseButton::kMiddle
                                                  : MouseButton::kLeft;
  e.modifiers = ModifiersOf(event);
  return e;
}

}  // namespace

ScrollBarControl::ScrollBarControl(ControlContext context, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), context_(std::move(context)) {
  setObjectName(ToQString(context_.State().name));
  connect(this, &QScrollBar::valueChanged, this, [this](int value) {
    if (refreshing_) return;
    ControlEvent e;
    e.control = context_.id;
    e.kind = EventKind::kChange;
    e.value = value;
    context_.sink(e);
  });
  Refresh();
}

void ScrollBarControl::Refresh() {
  const Control& c = context_.State();
  refreshing_ = true;
  ApplyCommonState(*this, c);
  setOrientation(c.bounds.Height() > c.bounds.Width() * 2 ? Qt::Vertical : Qt::Horizontal);
  setRange(c.min, std::max(c.min, c.max));
  setPageStep(std::max(1, (c.max - c.min) / 10));
  setValue(c.position);
  refreshing_ = false;
}

EditControl::EditControl(ControlContext context, QWidget* parent)
    : QLineEdit(parent), context_(std::move(context)) {
  setObjectName(ToQString(context_.State().name));
  setAlignment(Qt::AlignCenter);
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    ControlEvent e;
    e.control = context_.id;
    e.kind = EventKind::kChange;
    e.text = text.toStdString();
    context_.sink(e);
  });
  Refresh();
}

void EditControl::Refresh() {
  const Control& c = context_.State();
  ApplyCommonState(*this, c);
  setFont(ControlFont(c));
  const QString text = ToQString(c.caption);
  if (this->text() != text) setText(text);
}

void EditControl::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  context_.sink(MouseEventFor(context_.id, EventKind::kMouseDown, *event));
}

void EditControl::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    context_.sink(MouseEventFor(context_.id, EventKind::kClick, *event));
  }
  context_.sink(MouseEventFor(context_.id, EventKind::kMouseUp, *event));
}

}  // namespace quillo
