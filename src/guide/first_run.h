#pragma once

#include "form/window_state.h"

namespace quillo {

class Program;

// The hidden start-up window TWave3form. It is never shown; its creation is the
// moment of the first-run set-up, which renders the colour field once and keeps a
// miniature of it as the field cache picture "littlblu.bmp".
class Wave3Form {
 public:
  explicit Wave3Form(Program& program);

  WindowState window;

  // The window's creation: size and place, spec A and B to 0. The first-run set-up
  // that follows it is FirstRunSetup.
  void FormCreate();

  // Renders the field of the key colour set "t" row by row onto the canvas and the
  // colour field picture and saves its 400 x 300 miniature, unless the miniature is
  // there already. A miniature that cannot be written is reported and the rest of
  // the set-up skipped.
  void FirstRunSetup();

 private:
  Program& p_;
};

}  // namespace quillo
