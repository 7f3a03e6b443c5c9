#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"

namespace quillo {

class Program;

// The replay engine: executes the action log again on the canvas, a batch of
// entries per timer tick, once, looping from the first entry after the header, step
// by step or from any position, and drives the replay controls.
class Replay {
 public:
  explicit Replay(Program& program);

  // Binds the replay controls of the main window.
  void Bind();

  // "REPLAY": clears the canvas and plays the log from its start.
  void StartReplay();
  // Plays the loaded demonstration log, batch + 1 entries a tick, with Wild on and
  // recording off.
  void StartDemo(int32_t batch);
  // Stops the replay and goes back to recording.
  void StopReplay();
  // One tick of the replay timer: a batch of steps.
  void ReplayTick();
  // Executes the entry at the replay cursor.
  void ReplayStep();

  // The log header's eight entries, starting a new recording while recording is on;
  // always takes the entry count as the replay length.
  void RecordLogHeader();

  // The four parts of a step.
  void ReplayMove(uint8_t code, uint8_t strokeType, int32_t value);
  void ReplayFieldColor(int32_t value);
  void ReplayWaveData(int32_t value);
  void ReplayCanvasOp(uint8_t kind);

  // Writes the canvas as the next numbered frame picture.
  void ExportFrame();

  // The canvas point of a packed log value.
  Point ToCanvas(int32_t packed) const;

  // Starts or stops the replay timer; the panel's PLAY and STOP show which.
  void RunTimer(bool on);

 private:
  void ShowPosition();
  // Takes the undo snapshot of a replayed stroke's release, if one is due.
  void ReleaseStroke();
  void GoToPosition();

  Program& p_;
};

}  // namespace quillo
