#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"

namespace quillo {

class Program;

// Kinds of the canvas-operation log entry.
enum CanvasOpKind : uint8_t {
  kCanvasOpUndo = 0,
  kCanvasOpNegative = 1,
  kCanvasOpWhiteClear = 2,
};

// Operations on the canvas as a whole: clearing, the one-level undo, the selection's
// end and negative, and zooming. Each logs what a replay must repeat.
class CanvasOps {
 public:
  explicit CanvasOps(Program& program);

  // Keeps the visible canvas as the undo image, erases the window in the background
  // colour, logs the colour and blackens the backup.
  void ClearCanvas();
  // The clear without its log entry, erasing in the given colour: the replay's way.
  void ClearTo(Color color);
  // Puts the undo image back (or, while selecting, only ends the selection).
  void Undo();
  // The Home key: Undo without the log entry. False when it only ended a selection.
  bool RestoreUndoImage();
  // Inverts the selection rectangle and logs it.
  void NegativeSelection();
  // Leaves selection mode, logging where it ended and erasing the rubber band.
  void EndSelection();
  // Stretches the rectangle to the visible canvas.
  void ZoomIn(const Rect& r);
  // Shrinks the visible canvas into the rectangle.
  void ZoomOut(const Rect& r);
  // Erases the window in a colour, as a change of the window colour does.
  void EraseWindow(Color color);

 private:
  Program& p_;
};

}  // namespace quillo
