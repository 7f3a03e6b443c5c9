// The canvas mouse: a press starts a stroke (or a selection drag), every move with
// the button down draws one stroke of the current tool in the field colour and logs
// it, and the release commits the stroke to the backup and undo images.
#include "app/paint_log.h"
#include "app/program.h"
#include "tools/stroke.h"

namespace quillo {

void PaintLog::FormMouseDown(MouseButton button, Modifiers, Point pt) {
  Form& f = window.form;
  DrawingState& d = p_.drawing;
  Surface& canvas = images.canvas;
  if (button == MouseButton::kRight && !f[c.Panel2].visible && !f[c.Panel5].visible)
    f.SetVisible(c.Panel1, !f[c.Panel1].visible);
  p_.tutorial.Advance(c.Label28, c.Label29);
  images.ShowBackup();
  d.shownFrame.reset();
  if (button != MouseButton::kRight && !p_.Replaying()) d.drawing = true;
  d.buttonHeld = true;
  d.recording = true;
  canvas.MoveTo(pt);
  d.startPoint = pt;
  d.currentPoint = pt;
  if (d.selecting) {
    d.selectionStart = pt;
    d.selectionEnd = pt;
  }
  if (!p_.Replaying()) p_.RecordAction(pt, lgmoused, 0);
}

void PaintLog::FormMouseMove(Modifiers mods, Point pt) {
  DrawingState& d = p_.drawing;
  ToolState& t = p_.tools;
  Surface& canvas = images.canvas;
  StrokeContext ctx{canvas, t, p_.field, d.startPoint, p_.canvasWidth, p_.canvasHeight};

  if (d.selecting && d.drawing) {
    // No band while the fly screen moves the picture under it.
    if (!p_.timers.Enabled(TimerId::Timer2)) d.shownFrame = MakeRect(d.startPoint, pt);
    d.currentPoint = pt;
    d.selectionEnd = pt;
    return;
  }
  if (((mods.ctrl && !mods.alt) || d.dragScreen) && d.buttonHeld) {
    d.drawing = false;
    d.currentPoint = pt;
    p_.screenMoves.WrapScroll(d.startPoint, d.currentPoint);
  }
  if (mods.ctrl && mods.alt) d.drawing = false;
  canvas.SetBrushStyle(BrushStyle::kClear);
  Color pen = canvas.PenColor();
  if (t.colorMode == kColorField) {
    pen = p_.field.FieldColorAt(pt.x, pt.y);
  } else if (t.colorMode == kColorCube) {
    pen = CubeColorAt(ctx, d.startPoint.x, d.startPoint.y, pt.x, pt.y);
  }
  const bool pickUnder = mods.alt && !mods.ctrl;
  if (pickUnder) {
    const Color under = canvas.Pixel(pt);
    if (under != Surface::kInvalidColor) pen = under;
  }
  // A drawing move draws in the colour; a hovering pointer only remembers it, for
  // Ctrl on "mix": the pen it left would draw the palette's next stroke where the
  // log does not say.
  if (d.drawing || pickUnder) canvas.SetPenColor(pen);
  d.lastPenColor = pen;
  if (!d.drawing || p_.log.position > kLogCapacity) return;

  d.currentPoint = pt;
  d.mirrorPoint = Point{static_cast<int32_t>(2u * static_cast<uint32_t>(d.startPoint.x) -
                                             static_cast<uint32_t>(pt.x)),
                        static_cast<int32_t>(2u * static_cast<uint32_t>(d.startPoint.y) -
                                             static_cast<uint32_t>(pt.y))};
  DrawToolStroke(ctx, GrowsFromPressPoint(t.tool) ? d.startPoint : d.mirrorPoint, d.currentPoint,
                 PenModeOf(d.penMode));
  if (!p_.Replaying()) p_.RecordAction(pt, lgmousem, 2);
}

void PaintLog::FormMouseUp(MouseButton, Modifiers, Point pt) {
  DrawingState& d = p_.drawing;
  d.currentPoint = pt;
  d.drawing = false;
  d.buttonHeld = false;
  if (!d.selecting) p_.SaveUndo();
  if (d.selecting) d.selectionEnd = pt;
}

}  // namespace quillo
