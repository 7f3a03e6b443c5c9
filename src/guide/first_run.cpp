#include "guide/first_run.h"

#include <algorithm>

#include "app/program.h"
#include "colour/field_painter.h"
#include "platform/whole_file.h"

namespace quillo {
namespace {

constexpr int32_t kCacheWidth = 400;
constexpr int32_t kCacheHeight = 300;

}  // namespace

Wave3Form::Wave3Form(Program& program) : p_(program) {
  window.id = WindowId::kWave3Form;
  window.className = "TWave3form";
  window.caption = "QUILLO";
  window.borderless = false;
  window.minimized = true;
  window.color = 0xFF7722;
}

void Wave3Form::FormCreate() {
  const ScreenSize screen = p_.platform.GetScreenSize();
  window.clientWidth = 421;
  window.clientHeight = 221;
  window.left = (screen.width - 421) / 2;
  window.top = (screen.height - 221) / 2;
  ++window.revision;
  p_.tools.specA = 0;
  p_.tools.specB = 0;
}

void Wave3Form::FirstRunSetup() {
  // The same test as the start screen's: a folder of that name is no picture.
  if (IsFile(p_.programDir + "littlblu.bmp")) return;
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  f.SetVisible(m.c.Label49, true);
  f.SetVisible(m.c.Panel1, false);

  p_.timers.Enable(TimerId::Timer4, !p_.timers.Enabled(TimerId::Timer4));
  // The table is read here, ahead of the start screen's own read of it, so that the
  // key "t" holds its set and not the empty table's black.
  p_.keyColours.LoadStartupKeyColours();
  p_.ApplyKeyColor('t');

  // Every pixel of the field picture and of the canvas takes the field's colour at
  // that point, row by row, with the window system's pending work run before each.
  const WindowState& editor = p_.spaceColorForm.window;
  p_.fieldPicture.Resize(editor.clientWidth, editor.clientHeight);
  Surface& canvas = m.images.canvas;
  FieldPainter painter(p_.field);
  const int32_t rows = std::min(painter.Height(), p_.fieldPicture.Height());
  const int32_t shared = std::min(p_.fieldPicture.Width(), canvas.Width());
  for (int32_t y = 0; y < rows; ++y) {
    p_.platform.ProcessPendingEvents();
    painter.PaintRow(p_.fieldPicture, y);
    if (y >= canvas.Height() || shared <= 0) continue;
    const uint32_t* from =
        p_.fieldPicture.Bits() + static_cast<size_t>(y) * p_.fieldPicture.Width();
    std::copy(from, from + shared, canvas.Bits() + static_cast<size_t>(y) * canvas.Width());
    canvas.MarkDirty(Rect{0, y, shared, y + 1});
  }
  if (painter.Width() > 0 && painter.Height() > 0)
    p_.field.FieldColorValue(painter.Width() - 1, painter.Height() - 1);

  p_.fieldCache.Resize(kCacheWidth, kCacheHeight);
  p_.fieldCache.CopyRect(Rect{0, 0, kCacheWidth, kCacheHeight}, p_.fieldPicture,
                         p_.fieldPicture.Bounds(), kSrcCopy);
  // The platform writes a picture whole, through a temporary file, or not at all.
  if (auto error = p_.platform.SavePicture(p_.programDir + "littlblu.bmp", p_.fieldCache)) {
    p_.platform.ShowError(*error);
    // The rest of the set-up is skipped, but the window goes back to drawing rather
    // than keep asking the user to wait for work that has stopped, and the timer the
    // set-up toggled is toggled back, so "#" shows what runs.
    p_.timers.Enable(TimerId::Timer4, !p_.timers.Enabled(TimerId::Timer4));
    f.SetVisible(m.c.Label49, false);
    f.SetVisible(m.c.Panel1, true);
    return;
  }

  p_.timers.Enable(TimerId::Timer4, !p_.timers.Enabled(TimerId::Timer4));
  p_.ApplyKeyColor('p');

  f.SetVisible(m.c.Label49, false);
  p_.canvasOps.ClearCanvas();
  f.SetVisible(m.c.Panel1, true);
}

}  // namespace quillo
