#include "canvas/canvas_ops.h"

#include <algorithm>
#include <optional>

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
  im.UndoImage().CopyRect(visible, im.canvas, visible);
  EraseWindow(color);
  // The backup takes the colour the canvas shows, so the next press, which shows the
  // backup, does not change the picture.
  const ScreenSize screen = p_.platform.GetScreenSize();
  im.Backup().FillRect(Rect{0, 0, screen.width, screen.height}, color);
  // A step of the history; the undo image is the canvas before the clear.
  im.SaveClear(p_.canvasWidth, p_.VisibleHeight());
}

bool CanvasOps::RestoreUndoImage() {
  if (p_.drawing.selecting) {
    EndSelection();
    return false;
  }
  CanvasImages& im = p_.main.images;
  const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
  if (im.canvas.CopyMode() == kSrcCopy && im.Backup().CopyMode() == kSrcCopy) {
    im.canvas.CopyRectTwice(all, im.UndoImage(), im.Backup(), /*invert=*/false);
  } else {
    im.canvas.CopyRect(all, im.UndoImage(), all);
    im.Backup().CopyRect(all, im.UndoImage(), all);
  }
  return true;
}

void CanvasOps::Undo() {
  if (RestoreUndoImage()) p_.RecordAction(Point{}, lgcanvasop, kCanvasOpUndo);
}

void CanvasOps::StepBack() {
  Step(kCanvasOpStepBack);
}

void CanvasOps::StepForward() {
  Step(kCanvasOpStepForward);
}

void CanvasOps::Step(CanvasOpKind kind) {
  if (p_.drawing.selecting) {
    EndSelection();
    return;
  }
  // A stroke still held has no release in the log yet: a replay would commit it
  // before stepping, and so take a different step.
  if (p_.drawing.buttonHeld && !p_.replayState.stepping) return;
  CanvasImages& im = p_.main.images;
  if (kind == kCanvasOpStepBack) {
    im.StepBack();
  } else {
    im.StepForward();
  }
  p_.RecordAction(Point{}, lgcanvasop, kind);
}

void CanvasOps::EndSelection() {
  DrawingState& d = p_.drawing;
  if (d.selecting) {
    if (d.recording) p_.RecordAction(d.currentPoint, lgmousem, 2);
    d.shownFrame.reset();
    p_.main.window.pointer = PointerShape::kDefault;
    ++p_.main.window.revision;
    p_.main.window.form.SetDown(p_.main.c.SpeedButton34, false);
  }
  d.selecting = false;
}

void CanvasOps::NegativeSelection() {
  DrawingState& d = p_.drawing;
  if (d.selecting) EndSelection();
  // The rectangle may come from "SELECT ALL", which the log does not keep.
  if (d.recording) RecordCorners(MakeRect(d.selectionStart, d.selectionEnd));
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
  if (p_.drawing.recording) {
    RecordZoomRect(r);
    p_.RecordAction(Point{}, lgZoom, 100);
  }
  // Nothing to stretch: the scratch picture would bring back an older zoom.
  if (Normalized(r).Empty()) return;
  Surface& scratch = im.Scratch();
  scratch.CopyRect(visible, im.canvas, r);
  im.Backup().CopyRect(visible, im.canvas, visible);
  im.canvas.CopyRect(visible, scratch, visible);
  p_.SaveUndo();
}

void CanvasOps::ZoomOut(const Rect& r) {
  EndSelection();
  CanvasImages& im = p_.main.images;
  const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
  Surface& scratch = im.Scratch();
  scratch.CopyRect(r, im.canvas, visible);
  if (p_.drawing.recording) {
    RecordZoomRect(r);
    p_.RecordAction(Point{}, lgZoom, 200);
  }
  im.Backup().CopyRect(visible, im.canvas, visible);
  im.canvas.CopyRect(r, scratch, r);
  p_.SaveUndo();
}

void CanvasOps::RecordZoomRect(const Rect& r) {
  // A replay zooms the rectangle from the last logged press to the last logged move.
  const ActionLog& log = p_.log;
  std::optional<int32_t> press, move;
  for (int32_t i = std::min(log.Count(), kLogCapacity); i > 0 && !(press && move); --i) {
    const uint8_t code = SplitCode(log.Codes()[i]).code;
    if (!press && code == lgmoused) press = log.Values()[i];
    if (!move && (code == lgmousem || code == lgspacecolor || code == lgcubecolor))
      move = log.Values()[i];
  }
  auto same = [this](std::optional<int32_t> logged, Point corner) {
    if (!logged) return false;
    const UnpackedPoint u = UnpackPoint(*logged);
    const WindowState& w = p_.main.window;
    return u.x == MulDiv(corner.x, p_.canvasWidth, w.clientWidth) &&
           u.y == MulDiv(corner.y, p_.canvasHeight, w.clientHeight);
  };
  if (!same(press, {r.left, r.top}) || !same(move, {r.right, r.bottom})) RecordCorners(r);
}

void CanvasOps::RecordCorners(const Rect& r) {
  p_.RecordAction(Point{r.left, r.top}, lgcanvasop, kCanvasOpCorner);
  p_.RecordAction(Point{r.right, r.bottom}, lgcanvasop, kCanvasOpCorner);
}

}  // namespace quillo
