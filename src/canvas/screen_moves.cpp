#include "canvas/screen_moves.h"

#include "app/program.h"
#include "canvas/wrap_scroll.h"

namespace quillo {

ScreenMoves::ScreenMoves(Program& program) : p_(program) {}

void ScreenMoves::Bind() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  DrawingState& d = p_.drawing;
  f.On(m.c.SpeedButton42, EventKind::kClick, [this, &d](const ControlEvent&) {
    p_.canvasOps.ZoomIn(MakeRect(d.selectionStart, d.selectionEnd));
  });
  f.On(m.c.SpeedButton46, EventKind::kClick, [this, &d](const ControlEvent&) {
    p_.canvasOps.ZoomOut(MakeRect(d.startPoint, d.selectionEnd));
  });
  f.On(m.c.SpeedButton50, EventKind::kClick,
       [this, &m](const ControlEvent&) { SetDragScreen(m.window.form[m.c.SpeedButton50].down); });
  f.On(m.c.SpeedButton51, EventKind::kClick,
       [this](const ControlEvent&) { SetFlyScreen(!p_.timers.Enabled(TimerId::Timer2)); });
}

void ScreenMoves::WrapScroll(Point anchor, Point target) {
  const int64_t dx = int64_t{target.x} - anchor.x;
  const int64_t dy = int64_t{target.y} - anchor.y;
  if (p_.BottomPanelVisible()) return;
  const int32_t w = p_.field.fieldWidth;
  const int32_t h = p_.field.fieldHeight;
  if (w <= 0 || h <= 0) return;
  WrapPixels(p_.main.images.canvas, w, h, dx, dy, scratch_);
  p_.drawing.startPoint = p_.drawing.currentPoint;
}

void ScreenMoves::SetDragScreen(bool on) {
  p_.drawing.dragScreen = on;
  p_.main.window.pointer = on ? PointerShape::kCross : PointerShape::kDefault;
}

void ScreenMoves::SetFlyScreen(bool on) {
  p_.timers.Enable(TimerId::Timer2, on);
}

void ScreenMoves::Timer2Timer() {
  const Point from = p_.drawing.selectionStart;
  const Point pointer = p_.drawing.currentPoint;
  // The eighth is truncated toward zero, as integer division does.
  const auto step = [](int32_t origin, int32_t to) {
    return static_cast<int32_t>(origin + (int64_t{to} - origin) / 8);
  };
  WrapScroll(from, Point{step(from.x, pointer.x), step(from.y, pointer.y)});
}

}  // namespace quillo
