#include "app/qt/hint_label.h"

#include <QScreen>

#include "app/qt/control_paint.h"

namespace quillo {
namespace {

constexpr int kShownMillis = 8000;

// The control's strip when it lies in one along an edge of the window (at most a
// quarter of the window's height), else the control itself, in screen coordinates.
QRect HintBand(const QWidget& control) {
  const QWidget* window = control.window();
  const QWidget* outer = &control;
  while (outer->parentWidget() != nullptr && outer->parentWidget() != window)
    outer = outer->parentWidget();
  const QWidget* band = outer->height() * 4 <= window->height() ? outer : &control;
  return QRect(band->mapToGlobal(QPoint(0, 0)), band->size());
}

}  // namespace

HintLabel::HintLabel(QWidget* window) : QLabel(window, Qt::ToolTip | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("hint"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setMargin(3);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(kDefaultButton));
  colours.setColor(QPalette::WindowText, QColor(kDefaultText));
  setPalette(colours);
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this, &QWidget::hide);
}

void HintLabel::ShowFor(QWidget* control, const QString& text, int pixelSize) {
  hide();
  owner_ = control;
  QFont hintFont = font();
  hintFont.setPixelSize(pixelSize);
  setFont(hintFont);
  setText(text);
  adjustSize();
  const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
  const QScreen* shown = control->screen();
  const QRect screenRect = shown != nullptr ? shown->geometry() : control->window()->geometry();
  move(HintPosition(at, HintBand(*control), size(), screenRect));
  show();
  timeout_.start(kShownMillis);
}

void HintLabel::HideFor(const QWidget* control) {
  if (owner_ == control) hide();
}

}  // namespace quillo
