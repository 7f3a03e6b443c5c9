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

bool Tutorial::Start() {
  if (!p_.MayDiscardPicture("Start the tutorial?")) return false;
  PaintLog& m = p_.main;
  p_.startScreen.ResetToDrawing();
  m.window.form.SetVisible(m.c.Panel8, true);
  m.window.form.SetVisible(m.c.Label28, true);
  return true;
}

void Tutorial::End() {
  if (!p_.MayDiscardPicture("End the tutorial and clear the picture?")) return;
  PaintLog& m = p_.main;
  m.window.form.SetVisible(m.c.Panel8, false);
  p_.canvasOps.ClearCanvas();
  const ScreenSize screen = p_.platform.GetScreenSize();
  m.images.Backup().FillRect(Rect{0, 0, screen.width, screen.height}, 0);
  // An empty picture has nothing to lose.
  p_.saved.picture = p_.log.Count();
}

void Tutorial::Advance(ControlId from, ControlId to) {
  Form& f = p_.main.window.form;
  if (!f[from].visible) return;
  f.SetVisible(from, false);
  f.SetVisible(to, true);
}

}  // namespace quillo
