#pragma once

#include "form/controls.h"

namespace quillo {

class Program;

// The tutorial strip Panel8 along the top of the main window: "RUN" and five
// messages, exactly one shown at a time. The actions a message asks for move it on
// where they happen (the mouse press, REPLAY, LOOP, STOP); this class starts and ends
// the tutorial and opens the help window from the bottom panels' help buttons.
class Tutorial {
 public:
  explicit Tutorial(Program& program);

  // Binds "RUN", the last message and the help buttons of the main window.
  void Bind();

  // A fresh drawing with the strip and its first message shown; false when the user
  // keeps a picture not saved instead.
  bool Start();
  // A click on the last message: the strip goes and the canvas and its backup clear,
  // once a picture not saved may go.
  void End();

  // Moves the tutorial on from the message `from` to the message `to`: only when
  // `from` is the one shown, so an action done out of turn never puts a second
  // message over the first.
  void Advance(ControlId from, ControlId to);

 private:
  Program& p_;
};

}  // namespace quillo
