#pragma once

#include <cstdint>

#include "log/action_log.h"
#include "platform/raster/surface.h"

namespace quillo {

class Program;

// Where a recording made at one size lands on a canvas of another: scaled uniformly to
// fit and centred.
struct ReplayFit {
  double scale = 1.0;
  Rect area;  // the fitted area in pixels
};

// The fit of a recording of the size recorded into a canvas of w x h pixels.
ReplayFit FitRecording(CanvasSize recorded, int32_t w, int32_t h);

// For its lifetime, a replayed entry of a recording made at another size than the
// reference size works in the recording's units: the reference and client size, the
// panel height and the colour field's size are the recording's, and the canvas and
// the images it is copied with draw through the fit's transform, so every point,
// width, figure, rectangle and copy is scaled alike and the field is read where it was
// at recording time. Afterwards everything is as before, with the canvas outside the
// fitted area kept black. A recording of the reference size, or of an unknown size,
// changes nothing.
class ScaledReplayStep {
 public:
  explicit ScaledReplayStep(Program& program);
  ~ScaledReplayStep();
  ScaledReplayStep(const ScaledReplayStep&) = delete;
  ScaledReplayStep& operator=(const ScaledReplayStep&) = delete;

  // Makes the canvas and the backup black outside the fitted area, as a replay of the
  // whole recording starts.
  void BlackenOutside();

 private:
  Program& p_;
  bool active_ = false;
  ReplayFit fit_;
  SurfaceTransform transform_;
  int32_t canvasWidth_ = 0, canvasHeight_ = 0, panelHeight_ = 0;
  int32_t clientWidth_ = 0, clientHeight_ = 0;
  int32_t editorWidth_ = 0, editorHeight_ = 0;
  int32_t fieldWidth_ = 0, fieldHeight_ = 0, fieldHalfWidth_ = 0, fieldHalfHeight_ = 0;
};

}  // namespace quillo
