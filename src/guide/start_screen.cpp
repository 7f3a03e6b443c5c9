#include "guide/start_screen.h"

#include "app/program.h"

namespace quillo {

StartScreen::StartScreen(Program& program) : p_(program) {}

void StartScreen::Initialise() {
  p_.colourMixer.keyColorIndex = 0;
  p_.drawing.recording = true;
  p_.tools.tool = dtfree;
  p_.keyColours.LoadStartupColourFiles();
  p_.toolSelection.LoadStartupSpecials("nuspec.spl", false);
  p_.toolSelection.PickRandomSpec();
  p_.replay.RecordLogHeader();
  p_.tools.autoToolChange = true;
}

void StartScreen::ResetToDrawing() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  p_.ApplyKeyColor('p');
  f.SetVisible(m.c.newbtn, false);
  f.SetVisible(m.c.LOGREPLAYBTN, false);
  p_.drawing.recording = true;
  m.images.canvas.SetPenMode(PenMode::kCopy);
  m.images.canvas.SetCopyMode(kSrcCopy);
  p_.drawing.penMode = 4;
  p_.drawing.copyMode = kSrcCopy;
  p_.canvasOps.ClearCanvas();
  p_.tools.tool = dtfree;
  m.images.canvas.SetPenWidth(32);
  p_.replay.RecordLogHeader();
  p_.toolSelection.HighlightToolButton();
  p_.replayState.loop = false;
  f.SetFontColor(m.c.loopbtn, Rgb(0, 255, 0));
  for (ControlId label : {m.c.Label28, m.c.Label29, m.c.Label31, m.c.Label32, m.c.Label33})
    f.SetVisible(label, false);
}

void StartScreen::GoStraightToDrawing() {
  ResetToDrawing();
  p_.main.window.form.SetVisible(p_.main.c.Panel8, false);
}

}  // namespace quillo
