#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"

namespace quillo {

class Program;

// Selection mode, select all, and the selection's way to and from the system
// clipboard.
class SelectionOps {
 public:
  explicit SelectionOps(Program& program);

  // The End key: selection mode on, logged so the replay enters it too.
  void StartSelection();
  // "SELECT" (SpeedButton34) after its click moved its down state: going down starts
  // selection mode with the cross-hair pointer; coming up does nothing.
  void SelectButtonClick();
  // "SELECT ALL" and Ctrl+A: the whole visible canvas, without entering selection
  // mode or logging.
  void SelectAll();

  // The selection rectangle as stored, corner to corner.
  Rect SelectionRect() const;

  // Puts the canvas area framed by r, normalised, on the clipboard. A rectangle with
  // no width or height copies nothing and leaves the clipboard as it was.
  void CopySelection(const Rect& r);
  // Stretches the clipboard picture into r, normalised, in the canvas's copy mode and
  // takes an undo snapshot; with no picture on the clipboard nothing happens.
  void PasteClipboard(const Rect& r);

  // Size of the last picture copied or pasted.
  int32_t clipboardWidth = 0;
  int32_t clipboardHeight = 0;

 private:
  Program& p_;
  // The picture taken from the clipboard, kept so that the next paste of a picture
  // of the same size reuses its memory.
  Surface pasted_;
};

}  // namespace quillo
