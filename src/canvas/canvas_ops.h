#pragma once

#include <cstdint>

#include "log/action_log.h"
#include "platform/raster/geometry.h"

namespace quillo {

class Program;

// Kinds of the canvas-operation log entry.
enum CanvasOpKind : uint8_t {
  kCanvasOpUndo = 0,
  kCanvasOpNegative = 1,
  kCanvasOpWhiteClear = 2,
  // A corner of the next zoom's or negative's rectangle, its packed point in the
  // value slot: two come before every negative, and before a zoom whose rectangle
  // is not the last logged press and move.
  kCanvasOpCorner = kCornerKind,
  // A step back and a step forward through the history. The undo of kind 0 keeps its
  // one level: recordings made before the history replay as they did.
  kCanvasOpStepBack = 4,
  kCanvasOpStepForward = 5,
};

// Operations on the canvas as a whole: clearing, the steps back and forward, the
// one-level undo of older recordings, the selection's end and negative, and zooming.
// Each logs what a replay must repeat.
class CanvasOps {
 public:
  explicit CanvasOps(Program& program);

  // Keeps the visible canvas as the undo image, erases the window in the background
  // colour, logs the colour and blackens the backup.
  void ClearCanvas();
  // The clear without its log entry, erasing in the given colour: the replay's way.
  void ClearTo(Color color);
  // Puts the undo image back (or, while selecting, only ends the selection): the
  // one-level undo that older recordings hold.
  void Undo();
  // "UNDO" and Home: one step back through the history, logged (or, while selecting,
  // only the selection's end). Nothing happens while a stroke is drawn live.
  void StepBack();
  // "REDO" and Ctrl+Y: one step forward again, in the same way.
  void StepForward();
  // Undo without the log entry. False when it only ended a selection.
  bool RestoreUndoImage();
  // Inverts the selection rectangle and logs it.
  void NegativeSelection();
  // Leaves selection mode, logging where it ended (while recording) and taking the
  // rubber band away.
  void EndSelection();
  // Stretches the rectangle to the visible canvas.
  void ZoomIn(const Rect& r);
  // Shrinks the visible canvas into the rectangle.
  void ZoomOut(const Rect& r);
  // Erases the window in a colour, as a change of the window colour does.
  void EraseWindow(Color color);

 private:
  // Logs the zoom rectangle's corners when a replay would not find them in the last
  // logged press and move.
  void RecordZoomRect(const Rect& r);
  // Logs the two corners of a rectangle.
  void RecordCorners(const Rect& r);
  // StepBack or StepForward, by kind.
  void Step(CanvasOpKind kind);

  Program& p_;
};

}  // namespace quillo
