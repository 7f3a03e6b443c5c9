#pragma once

#include <optional>

#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"

namespace quillo {

// The shared drawing state of the canvas: the stroke in progress, the points the
// strokes and the selection work from, and the pen and copy modes.
struct DrawingState {
  bool drawing = false;     // a stroke is in progress: mouse moves draw
  bool buttonHeld = false;  // some mouse button is down over the canvas
  bool recording = false;   // the action log accepts entries
  Point startPoint{};
  Point currentPoint{};
  Point mirrorPoint{};
  bool selecting = false;
  Point selectionStart{};
  Point selectionEnd{};
  // The selection's rubber band while it shows: the window paints it over the
  // canvas, so it is never part of the picture.
  std::optional<Rect> shownFrame;
  uint8_t penMode = 4;  // pen-mode ordinal passed to every stroke
  RasterOp copyMode = kSrcCopy;
  bool autoPenWidth = true;
  Color lastPenColor = 0;
  Color backgroundColor = 0;
  bool dragScreen = false;
};

}  // namespace quillo
