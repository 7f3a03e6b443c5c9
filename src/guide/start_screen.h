#pragma once

#include "form/controls.h"
#include "form/window_state.h"

namespace quillo {

class Program;

// The start screen TForm2: a small borderless window on top of the others with the
// title picture and the four ways in (tutorial, demonstration, help, straight
// drawing), shown modally at every start. It also holds the shared reset that every
// way into drawing uses.
class StartScreen {
 public:
  explicit StartScreen(Program& program);

  WindowState window;

  // The window's creation: size, placement and controls.
  void FormCreate();

  // The start screen's initialisation at start-up: the title picture, a new
  // recording with the start-up files loaded, a random spec and the log header; then
  // the window shows itself modally when the field cache exists.
  void Initialise();
  // Back to a fresh drawing: default field colours, a cleared canvas, FINGERPAINT
  // at width 32, a new log header, LOOP off and the tutorial messages hidden.
  void ResetToDrawing();

  // The four choices; each but a failed demonstration closes the window.
  void RunTutorial();
  void RunDemo();
  void ShowHelp();
  void GoStraightToDrawing();

  // Closes the window as the choices do; then a drawing kept by a run that ended
  // abnormally is offered.
  void Close();

  struct Ids {
    ControlId Image1, Label1, Label2, Label3, Label4, Image2;
  } c{};

 private:
  Program& p_;
};

}  // namespace quillo
