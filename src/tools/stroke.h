#pragma once

#include <cstdint>
#include <span>

#include "colour/colour_field.h"
#include "platform/raster/geometry.h"
#include "platform/raster/pixel_ops.h"
#include "tools/figures.h"
#include "tools/tool_state.h"

namespace quillo {

class Surface;

// What a stroke draws on and reads: the drawing surface with its pen and brush, the
// tool parameters, the colour field, the press point and the reference size.
struct StrokeContext {
  Surface& surface;
  ToolState& tools;
  ColourField& field;
  Point startPoint;
  int32_t canvasWidth = 1024;  // reference size, for the cube colour
  int32_t canvasHeight = 768;
};

// True for the pattern tools whose strokes grow from the press point (WAVES to
// TWISTER); the other tools draw between the pointer and its mirror point.
constexpr bool GrowsFromPressPoint(uint8_t tool) {
  return tool >= dtwave && tool <= dtTwister;
}

// One stroke of the current tool between anchor and target, in penMode.
void DrawToolStroke(StrokeContext& ctx, Point anchor, Point target, PenMode penMode);

// One step of a pattern figure on ctx's surface: its primitive, then the colour step
// that sets the pen for the next step (the cube colour measured from cubeOrigin).
void DrawFigureStep(StrokeContext& ctx, Point cubeOrigin, const FigureStep& step);

// The same as DrawFigureStep for a kLine step to each point in turn.
void DrawFigureLines(StrokeContext& ctx, Point cubeOrigin, std::span<const Point> points);

// The cube colour of (x, y) seen from (x0, y0).
Color CubeColorAt(const StrokeContext& ctx, int32_t x0, int32_t y0, int32_t x, int32_t y);

// The replay's view of a stroke: it draws only while not selecting and after a
// replayed press, and it moves the current and mirror points.
struct SymmetricStrokeState {
  bool selecting = false;
  bool replayPenDown = false;
  Point& currentPoint;
  Point& mirrorPoint;
  PenMode penMode = PenMode::kCopy;  // the program's pen mode, applied to every stroke
};

// A replayed stroke to p with symmetry type 0..3 (2 is what the mouse records).
void DrawSymmetricStroke(StrokeContext& ctx, SymmetricStrokeState& state, int32_t type, Point p);

}  // namespace quillo
