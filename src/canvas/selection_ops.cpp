#include "canvas/selection_ops.h"

#include "app/program.h"
#include "log/action_log.h"

namespace quillo {

SelectionOps::SelectionOps(Program& program) : p_(program) {}

void SelectionOps::StartSelection() {
  p_.drawing.selecting = true;
  p_.RecordAction(Point{}, lgZoom, 0);
}

void SelectionOps::SelectButtonClick() {
  PaintLog& m = p_.main;
  if (!m.window.form[m.c.SpeedButton34].down) return;
  StartSelection();
  m.window.pointer = PointerShape::kCross;
  ++m.window.revision;
}

void SelectionOps::SelectAll() {
  p_.drawing.selectionStart = Point{0, 0};
  p_.drawing.selectionEnd = Point{p_.canvasWidth, p_.VisibleHeight()};
}

Rect SelectionOps::SelectionRect() const {
  return MakeRect(p_.drawing.selectionStart, p_.drawing.selectionEnd);
}

void SelectionOps::CopySelection(const Rect& r) {
  if (p_.drawing.selecting) p_.canvasOps.EndSelection();
  // The area the user framed, whichever corner the drag started from.
  const Rect area = Normalized(r);
  if (area.Empty()) return;
  Surface picture;
  if (!picture.Resize(static_cast<int32_t>(area.Width()), static_cast<int32_t>(area.Height()))) {
    p_.platform.ShowError(Arg(p_.Tr("Not enough memory to copy a picture of %1 x %2 pixels."),
                              {std::to_string(area.Width()), std::to_string(area.Height())}));
    return;
  }
  clipboardWidth = picture.Width();
  clipboardHeight = picture.Height();
  picture.CopyRect(picture.Bounds(), p_.main.images.canvas, area, kSrcCopy);
  p_.platform.SetClipboardPicture(picture);
}

void SelectionOps::PasteClipboard(const Rect& r) {
  if (p_.drawing.selecting) p_.canvasOps.EndSelection();
  if (!p_.platform.ClipboardHasPicture()) return;
  if (!p_.platform.GetClipboardPicture(pasted_)) return;
  clipboardWidth = pasted_.Width();
  clipboardHeight = pasted_.Height();
  Surface& canvas = p_.main.images.canvas;
  canvas.CopyRect(Normalized(r), pasted_, pasted_.Bounds());
  p_.SaveUndo();
}

}  // namespace quillo
