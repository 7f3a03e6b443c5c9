#include "app/qt/paint_log_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <optional>
#include <utility>

#include "platform/qt/qt_platform.h"

namespace quillo {
namespace {

std::optional<MouseButton> CanvasButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return MouseButton::kLeft;
    case Qt::RightButton:
      return MouseButton::kRight;
    case Qt::MiddleButton:
      return MouseButton::kMiddle;
    default:
      return std::nullopt;
  }
}

Point PointOf(const QMouseEvent& event) {
  const QPoint p = event.position().toPoint();
  return Point{p.x(), p.y()};
}

}  // namespace

PaintLogWindow::PaintLogWindow(PaintLog& paintLog, ControlEventSink sink,
                               std::function<void()> afterEvent, std::string programDir)
    : FormWindow(paintLog.window, std::move(sink), std::move(programDir)),
      paint_log_(paintLog),
      after_event_(std::move(afterEvent)) {
  // The canvas covers every pixel, so Qt need not clear what it repaints.
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
}

void PaintLogWindow::Sync() {
  FormWindow::Sync();
  const Rect dirty = paint_log_.images.canvas.TakeDirty();
  if (!dirty.Empty()) {
    update(QRect(dirty.left, dirty.top, int(dirty.Width()), int(dirty.Height())));
  }
}

void PaintLogWindow::ShowWindow() {
  if (State().minimized) {
    showMinimized();
  } else if (!isFullScreen()) {
    setGeometry(State().left, State().top, State().clientWidth, State().clientHeight);
    showFullScreen();
  }
}

void PaintLogWindow::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const Surface& canvas = paint_log_.images.canvas;
  const QImage view = SurfaceView(canvas);
  const QRect canvasRect(0, 0, canvas.Width(), canvas.Height());
  const QColor background = ToQColor(State().color);
  for (const QRect& r : event->region()) {
    const QRect shown = r & canvasRect;
    if (!shown.isEmpty()) p.drawImage(shown.topLeft(), view, shown);
    // Whatever lies beyond the canvas (a window larger than the screen it was made
    // for) shows the window colour.
    for (const QRect& rest : QRegion(r).subtracted(QRegion(shown))) {
      p.fillRect(rest, background);
    }
  }
}

void PaintLogWindow::mousePressEvent(QMouseEvent* event) {
  const std::optional<MouseButton> button = CanvasButton(event->button());
  if (!button) return;
  paint_log_.FormMouseDown(*button, ModifiersOf(*event), PointOf(*event));
  after_event_();
}

void PaintLogWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a press like any other on the canvas.
  mousePressEvent(event);
}

void PaintLogWindow::mouseMoveEvent(QMouseEvent* event) {
  paint_log_.FormMouseMove(ModifiersOf(*event), PointOf(*event));
  after_event_();
}

void PaintLogWindow::mouseReleaseEvent(QMouseEvent* event) {
  const std::optional<MouseButton> button = CanvasButton(event->button());
  if (!button) return;
  paint_log_.FormMouseUp(*button, ModifiersOf(*event), PointOf(*event));
  after_event_();
}

void PaintLogWindow::resizeEvent(QResizeEvent* event) {
  FormWindow::resizeEvent(event);
  const QSize size = event->size();
  // Sizes the window passes through before it is shown are not the engine's business.
  if (!isVisible() ||
      (size.width() == State().clientWidth && size.height() == State().clientHeight)) {
    return;
  }
  paint_log_.FormResize(size.width(), size.height());
  after_event_();
}

void PaintLogWindow::closeEvent(QCloseEvent* event) {
  if (paint_log_.FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
  after_event_();
}

}  // namespace quillo
