#include "app/qt/paint_log_window.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <utility>

#include "platform/qt/device_pixels.h"

namespace quillo {

PaintLogWindow::PaintLogWindow(PaintLog& paintLog, ControlEventSink sink,
                               std::function<void()> afterEvent, std::string programDir)
    : FormWindow(paintLog.window, std::move(sink), std::move(afterEvent), std::move(programDir)),
      paint_log_(paintLog) {}

void PaintLogWindow::ShowWindow() {
  if (State().minimized) {
    showMinimized();
  } else if (!isVisible() || isMinimized() || !isFullScreen()) {
    ShowFullScreen();
  }
}

bool PaintLogWindow::BackgroundMouse(MouseAction action, MouseButton button, Modifiers mods,
                                     Point at) {
  switch (action) {
    case MouseAction::kDown:
      paint_log_.FormMouseDown(button, mods, at);
      break;
    case MouseAction::kMove:
      paint_log_.FormMouseMove(mods, at);
      break;
    case MouseAction::kUp:
      paint_log_.FormMouseUp(button, mods, at);
      break;
  }
  return true;
}

void PaintLogWindow::resizeEvent(QResizeEvent* event) {
  FormWindow::resizeEvent(event);
  // The engine's canvas has the window's device pixels.
  const int32_t width = ToEngine(event->size().width());
  const int32_t height = ToEngine(event->size().height());
  // Sizes the window passes through before it is shown are not the engine's business.
  if (!isVisible() || (width == State().clientWidth && height == State().clientHeight)) return;
  paint_log_.FormResize(width, height);
  RunAfterEvent();
}

void PaintLogWindow::closeEvent(QCloseEvent* event) {
  if (paint_log_.FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
  RunAfterEvent();
}

}  // namespace quillo
