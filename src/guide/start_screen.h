#pragma once

namespace quillo {

class Program;

// The start screen's side of start-up and the shared reset that every way into
// drawing uses.
class StartScreen {
 public:
  explicit StartScreen(Program& program);

  // The start screen's creation: a new recording with the start-up files loaded, a
  // random spec and the log header.
  void Initialise();
  // Back to a fresh drawing: default field colours, a cleared canvas, FINGERPAINT
  // at width 32 and a new log header.
  void ResetToDrawing();
  // "Go straight to drawing".
  void GoStraightToDrawing();

 private:
  Program& p_;
};

}  // namespace quillo
