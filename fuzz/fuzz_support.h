#pragma once

// What the targets that run the program share: a small program to use what they read.
#include <memory>

#include "app/program.h"
#include "fuzz_input.h"
#include "platform/screen_platform.h"

namespace quillo::fuzz {

// A program on a small screen, with no files of its own to read, started as the
// renderer starts one: straight to drawing, without the first run's set-up, which
// paints and writes the field's picture cache at full size for every input.
struct SmallProgram {
  ScreenPlatform platform{{64, 48}};
  std::unique_ptr<Program> program;

  SmallProgram() {
    program = std::make_unique<Program>(platform, "/nonexistent/quillo-fuzz/");
    program->StartUpHeadless();
  }
};

// One program for all of a target's inputs, at the start of a new drawing for each:
// "Go straight to drawing" clears the canvas and the log and puts back the pen, the
// field's colours and the modes, and the tools start as a new program's do. Building
// a program for every input cost more than all the rest of the input. The pen is
// thin: the colour and specials targets look at what a file's values do to the
// figures, and a pen as wide as the screen cost tens of milliseconds an input in the
// sanitised raster. The replay target draws with every width.
inline Program& ProgramAtNewDrawing() {
  static SmallProgram run;
  Program& p = *run.program;
  p.startScreen.GoStraightToDrawing();
  p.tools = ToolState{};
  p.main.SetPenWidth(1);
  return p;
}

}  // namespace quillo::fuzz
