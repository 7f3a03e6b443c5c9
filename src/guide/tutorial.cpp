#include "guide/tutorial.h"

#include "app/program.h"

namespace quillo {

Tutorial::Tutorial(Program& program) : p_(program) {}

void Tutorial::Bind() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  f.On(m.c.Label24, EventKind::kClick, [this](const ControlEvent&) { Start(); });
  f.On(m.c.Label33, EventKind::kClick, [this](const ControlEvent&) { End(); });
  for (ControlId help : {m.c.memobtn, m.c.SpeedButton5, m.c.SpeedButton11})
    f.On(help, EventKind::kClick, [this](const ControlEvent&) { p_.helpForm.Show(); });
}

void Tutorial::Start() {
  PaintLog& m = p_.main;
  p_.startScreen.ResetToDrawing();
  m.window.form.SetVisible(m.c.Panel8, true);
  m.window.form.SetVisible(m.c.Label28, true);
}

void Tutorial::End() {
  PaintLog& m = p_.main;
  m.window.form.SetVisible(m.c.Panel8, false);
  p_.canvasOps.ClearCanvas();
  const ScreenSize screen = p_.platform.GetScreenSize();
  m.images.image1.FillRect(Rect{0, 0, screen.width, screen.height}, 0);
}

}  // namespace quillo
