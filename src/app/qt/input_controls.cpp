#include "app/qt/input_controls.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
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

// A warm handle on a dark groove, which stands out on the program's dark strips, and
// step buttons step pixels long at each end.
QString ScrollBarStyle(int step) {
  return QStringLiteral(
             "QScrollBar { background: #3a3f5c; border: 1px solid #23263a; border-radius: 4px; }"
             "QScrollBar:horizontal { margin: 0 %1px; }"
             "QScrollBar:vertical { margin: %1px 0; }"
             "QScrollBar::handle { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
             " stop:0 #fcd34d, stop:1 #f59e0b); border: 1px solid #b45309; border-radius: 3px;"
             " min-width: %2px; min-height: %2px; }"
             "QScrollBar::handle:hover { background: #fde68a; }"
             "QScrollBar::add-line, QScrollBar::sub-line { background: #f7f9fc;"
             " border: 1px solid #9aa4b5; border-radius: 3px; subcontrol-origin: margin; }"
             "QScrollBar::add-line:horizontal { width: %3px; subcontrol-position: right; }"
             "QScrollBar::sub-line:horizontal { width: %3px; subcontrol-position: left; }"
             "QScrollBar::add-line:vertical { height: %3px; subcontrol-position: bottom; }"
             "QScrollBar::sub-line:vertical { height: %3px; subcontrol-position: top; }"
             "QScrollBar::left-arrow, QScrollBar::right-arrow, QScrollBar::up-arrow,"
             " QScrollBar::down-arrow { width: 0; height: 0; }"
             "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
      .arg(step + 1)
      .arg(step - 1)
      .arg(step);
}

}  // namespace

ScrollBarControl::ScrollBarControl(ControlContext context, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), context_(std::move(context)) {
  setObjectName(ToQString(context_.State().name));
  setCursor(Qt::PointingHandCursor);
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

void ScrollBarControl::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  // The step buttons' arrows, drawn here so they stay crisp at every size.
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kDefaultText));
  const bool across = orientation() == Qt::Horizontal;
  const qreal end = step_ / 2.0;
  const qreal half = std::min(across ? height() : width(), step_) / 4.0;
  for (const int dir : {-1, 1}) {
    QPointF c = across ? QPointF(dir < 0 ? end : width() - end, height() / 2.0)
                       : QPointF(width() / 2.0, dir < 0 ? end : height() - end);
    QPolygonF arrow;
    if (across) {
      arrow << c + QPointF(dir * half, 0) << c + QPointF(-dir * half * 0.7, -half)
            << c + QPointF(-dir * half * 0.7, half);
    } else {
      arrow << c + QPointF(0, dir * half) << c + QPointF(-half, -dir * half * 0.7)
            << c + QPointF(half, -dir * half * 0.7);
    }
    p.drawPolygon(arrow);
  }
}

void ScrollBarControl::Refresh() {
  const Control& c = context_.State();
  refreshing_ = true;
  ApplyCommonState(*this, c);
  setOrientation(c.bounds.Height() > c.bounds.Width() * 2 ? Qt::Vertical : Qt::Horizontal);
  // The step buttons are square to the bar, so they grow with the interface.
  const int step = std::max(kLeastStep, orientation() == Qt::Horizontal ? height() : width());
  if (step != step_) {
    step_ = step;
    setStyleSheet(ScrollBarStyle(step));
  }
  setRange(c.min, std::max(c.min, c.max));
  setPageStep(std::max(1, (c.max - c.min) / 10));
  setValue(c.position);
  refreshing_ = false;
}

EditControl::EditControl(ControlContext context, QWidget* parent)
    : QLineEdit(parent), context_(std::move(context)) {
  setObjectName(ToQString(context_.State().name));
  setAlignment(Qt::AlignCenter);
  setStyleSheet(
      QStringLiteral("QLineEdit { background: white; color: #1f2430;"
                     " border: 1px solid #9aa4b5; border-radius: 4px; }"
                     "QLineEdit:focus { border: 2px solid #3b82f6; }"));
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
  // Edits keep the form's font in the engine, which does not scale it; sizing it by
  // the box keeps the number readable at any screen size.
  QFont font = ControlFont(c);
  font.setPixelSize(std::max(font.pixelSize(), int(height() * 0.5)));
  font.setBold(true);
  setFont(font);
  if (c.numberField) {
    auto* range = qobject_cast<const QIntValidator*>(validator());
    if (range == nullptr || range->bottom() != c.min || range->top() != c.max)
      setValidator(new QIntValidator(c.min, c.max, this));
    setMaxLength(std::max(QString::number(c.min).size(), QString::number(c.max).size()));
  }
  const QString text = ToQString(c.caption);
  if (this->text() != text) setText(text);
}

bool EditControl::EditsKey(const QKeyEvent& event) const {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const int key = event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return !(event.modifiers() & Qt::ShiftModifier);
  switch (key) {
    case Qt::Key_Minus:
      return context_.State().min < 0;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
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
