#pragma once

#include <cstdint>
#include <vector>

#include "platform/raster/geometry.h"

namespace quillo {

class Program;

// Moving the picture as a whole: the zoom buttons, dragging it under the mouse and
// flying it on the fly timer, both with whatever leaves one edge coming back at the
// opposite one. Drag and fly work only while no bottom panel is shown.
class ScreenMoves {
 public:
  explicit ScreenMoves(Program& program);

  // Binds "ZOOM IN", "ZOOM OUT", "DRAG SCREEN" and "FLY SCREEN".
  void Bind();

  // Scrolls the colour field's area of the canvas by target - anchor with
  // wrap-around; StartPoint then takes CurrentPoint. Nothing happens while a bottom
  // panel is shown or before the field has a size.
  void WrapScroll(Point anchor, Point target);
  // Drag-screen mode on or off, with its pointer.
  void SetDragScreen(bool on);
  // Starts or stops the fly timer.
  void SetFlyScreen(bool on);
  // One fly step: an eighth of the pointer's offset from SelectionStart.
  void Timer2Timer();

 private:
  Program& p_;
  std::vector<uint32_t> scratch_;
};

}  // namespace quillo
