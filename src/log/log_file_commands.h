#pragma once

namespace quillo {

class Program;

// The main window's file commands for the action log: SaveLog and OpenLog on the
// file and replay strip, the demonstration log of the program folder, and the
// frame export switch (F2).
class LogFileCommands {
 public:
  explicit LogFileCommands(Program& program);

  // Binds "SaveLog" and "OpenLog".
  void Bind();

  // Writes the log as a replay file the user names, whole or not at all. Recording
  // and the random colour timer pause while the dialog is open and come back
  // afterwards, whether the file was written, the dialog cancelled or the write
  // failed (then the fault is shown and the old file stays). True when it was written.
  bool SaveLog();
  // Reads a replay file the user picks into the log, ready for "REPLAY": the file
  // name goes to Label2 and the count to lblj and ReplayLength. The position,
  // recording and the canvas stay. A malformed file is refused whole, with the file
  // and the fault named, and changes nothing.
  void OpenLog();
  // Reads "Newonee.log" of the program folder into the log's first 6000 slots: the
  // demonstration's one reader. False, with the file and the fault shown and the
  // log untouched, when it cannot be read whole.
  bool ReadDemoLog();
  // F2: frames start again at 1; export on or off, shown by AVI_btn's down state.
  void ToggleFrameExport();

 private:
  Program& p_;
};

}  // namespace quillo
