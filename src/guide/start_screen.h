#pragma once

#include "form/controls.h"
#include "form/window_state.h"
#include "platform/raster/surface.h"

namespace quillo {

class Program;

// The start screen TForm2: a small borderless window on top of the others with the
// title picture and the ways in (tutorial, demonstration, help, straight drawing, and
// with a miniature the drawing kept from the last run), shown modally at every start. It also holds
// the shared reset that every way into drawing uses.
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

  // Shows "Continue drawing" with a miniature of picture, the drawing kept from the
  // last run.
  void OfferKeptDrawing(const Surface& picture);

  // The choices; each but a failed demonstration closes the window.
  void RunTutorial();
  void RunDemo();
  void ShowHelp();
  void GoStraightToDrawing();
  // Back to drawing with the kept picture and log put back.
  void ContinueDrawing();

  // Closes the window as the choices do; then a drawing kept by a run that ended
  // abnormally is offered.
  void Close();

  struct Ids {
    ControlId Image1, Label1, Label2, Label3, Label4, Image2, Label5, Image3;
  } c{};

 private:
  Program& p_;
  Surface miniature_;  // the kept drawing in small, shown by Image3
};

}  // namespace quillo
