#pragma once

#include <functional>
#include <string>

#include "app/paint_log.h"
#include "app/qt/form_window.h"

namespace quillo {

// The main window TPaintLog: full screen and frameless, its background is the canvas
// surface; mouse events on the canvas, every key of the window, the close request
// and resizes go to the engine's TPaintLog handlers.
class PaintLogWindow : public FormWindow {
  Q_OBJECT

 public:
  // afterEvent runs after every event handed to the engine, to bring the windows up
  // to date.
  PaintLogWindow(PaintLog& paintLog, ControlEventSink sink, std::function<void()> afterEvent,
                 std::string programDir);

 protected:
  void ShowWindow() override;
  Surface* Canvas() override { return &paint_log_.images.canvas; }
  bool BackgroundMouse(MouseAction action, MouseButton button, Modifiers mods, Point at) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  PaintLog& paint_log_;
};

}  // namespace quillo
