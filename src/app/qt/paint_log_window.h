#pragma once

#include <functional>
#include <string>

#include "app/paint_log.h"
#include "app/qt/form_window.h"

namespace quillo {

// The main window TPaintLog: full screen and frameless, it shows the canvas surface
// through a QImage over its pixels, repaints only what the surface reports as
// changed, and hands mouse events on the canvas, the close request and resizes to
// the engine.
class PaintLogWindow : public FormWindow {
  Q_OBJECT

 public:
  // afterEvent runs after every event handed to the engine, to bring the windows up
  // to date.
  PaintLogWindow(PaintLog& paintLog, ControlEventSink sink, std::function<void()> afterEvent,
                 std::string programDir);

  // Also repaints the part of the canvas changed since the last call.
  void Sync() override;

 protected:
  void ShowWindow() override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  PaintLog& paint_log_;
  std::function<void()> after_event_;
};

}  // namespace quillo
