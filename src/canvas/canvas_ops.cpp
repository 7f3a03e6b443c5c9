#include "canvas/canvas_ops.h"

#include "app/program.h"
#include "log/action_log.h"

namespace quillo {

CanvasOps::CanvasOps(Program& program) : p_(program) {}

void CanvasOps::EraseWindow(Color color) {
  PaintLog& m = p_.main;
  m.window.color = color;
  ++m.window.revision;
  m.images.canvas.FillRect(m.images.canvas.Bounds(), color);
}

void CanvasOps::ClearCanvas() {
  ClearTo(p_.drawing.backgroundColor);
  p_.RecordAction(Point{}, lggroundcolor, static_cast<int32_t>(p_.drawing.backgroundColor));
}

void CanvasOps::ClearTo(Color color) {
  CanvasImages& im = p_.main.images;
  const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
  im.image7.CopyRect(visible, im.canvas, visible);
  EraseWindow(color);
  const ScreenSize screen = p_.platform.GetScreenSize();
  im.image1.FillRect(Rect{0, 0, screen.width, screen.height}, 0);
}

bool CanvasOps::RestoreUndoImage() {
  if (p_.drawing.selecting) {
    EndSelection();
    return false;
  }
  CanvasImages& im = p_.main.images;
  const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
  if (im.canvas.CopyMode() == kSrcCopy && im.image1.CopyMode() == kSrcCopy) {
    im.canvas.CopyRectTwice(all, im.image7, im.image1, /*invert=*/false);
  } else {
    im.canvas.CopyRect(all, im.image7, all);
    im.image1.CopyRect(all, im.image7, all);
  }
  return true;
}

void CanvasOps::Undo() {
  if (RestoreUndoImage()) p_.RecordAction(Point{}, lgcanvasop, kCanvasOpUndo);
}

void CanvasOps::EndSelection() {
  DrawingState& d = p_.drawing;
  if (d.recording && d.selecting) {
    p_.RecordAction(d.currentPoint, lgmousem, 2);
    Surface& canvas = p_.main.images.canvas;
    const int32_t width = canvas.PenWidth();
    canvas.SetPenMode(PenMode::kNot);
    canvas.SetPenWidth(1);
    canvas.SetBrushStyle(BrushStyle::kClear);
    canvas.Rectangle(MakeRect(d.selectionStart, d.selectionEnd));
    canvas.SetPenWidth(width);
    p_.main.window.pointer = PointerShape::kDefault;
    ++p_.main.window.revision;
    p_.main.window.form.SetDown(p_.main.c.SpeedButton34, false);
  }
  d.selecting = false;
}

void CanvasOps::NegativeSelection() {
  DrawingState& d = p_.drawing;
  if (d.selecting) EndSelection();
  Surface& canvas = p_.main.images.canvas;
  p_.main.images.InvertAndSaveUndo(MakeRect(d.selectionStart, d.selectionEnd), p_.canvasWidth,
                                   p_.canvasHeight, p_.VisibleHeight());
  canvas.SetBrushStyle(BrushStyle::kClear);
  canvas.SetCopyMode(d.copyMode);
  p_.RecordAction(Point{}, lgcanvasop, kCanvasOpNegative);
}

void CanvasOps::ZoomIn(const Rect& r) {
  EndSelection();
  CanvasImages& im = p_.main.images;
  const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
  im.image2.CopyRect(visible, im.canvas, r);
  if (p_.drawing.recording) p_.RecordAction(Point{}, lgZoom, 100);
  im.image1.CopyRect(visible, im.canvas, visible);
  im.canvas.CopyRect(visible, im.image2, visible);
  p_.SaveUndo();
}

void CanvasOps::ZoomOut(const Rect& r) {
  EndSelection();
  CanvasImages& im = p_.main.images;
  const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
  im.image2.CopyRect(r, im.canvas, visible);
  if (p_.drawing.recording) p_.RecordAction(Point{}, lgZoom, 200);
  im.image1.CopyRect(visible, im.canvas, visible);
  im.canvas.CopyRect(r, im.image2, r);
  p_.SaveUndo();
}

}  // namespace quillo
