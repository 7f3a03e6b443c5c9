#include "app/program.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/language.h"
#include "form/layout.h"
#include "log/replay_fit.h"

namespace quillo {

Program::Program(Platform& platformRef, std::string dir)
    : platform(platformRef),
      programDir(std::move(dir)),
      main(*this),
      toolSelection(*this),
      canvasOps(*this),
      pictureStores(*this),
      selectionOps(*this),
      pictureFiles(*this),
      replay(*this),
      screenMoves(*this),
      specPanel(*this),
      logFiles(*this),
      cubeForm(*this),
      helpForm(*this),
      spaceColorForm(*this),
      keyColours(*this),
      colourMixer(*this),
      wave3Form(*this),
      startScreen(*this),
      tutorial(*this),
      autosave(*this) {
  toolSelection.Bind();
  colourMixer.Bind();
  replay.Bind();
  screenMoves.Bind();
  specPanel.Bind();
  logFiles.Bind();
  tutorial.Bind();
  const auto windows = Windows();
  for (size_t i = 0; i < windows.size(); ++i) {
    english_titles_[i] = windows[i]->caption;
    windows[i]->form.SetCatalogue(&catalogue);
  }
}

void Program::SetLanguage(std::string code, Catalogue words) {
  language = std::move(code);
  catalogue = std::move(words);
  const auto windows = Windows();
  for (size_t i = 0; i < windows.size(); ++i) {
    windows[i]->form.SetCatalogue(&catalogue);
    windows[i]->caption = catalogue.Text(english_titles_[i]);
    ++windows[i]->revision;
  }
  helpForm.LanguageChanged();
  // The button names the language in itself, whatever the language.
  for (const Language& l : kLanguages)
    if (l.code == language) main.window.form.SetCaption(main.c.LanguageBtn, std::string(l.name));
}

std::array<WindowState*, kWindowCount> Program::Windows() {
  return {&main.window,           &cubeForm.window,  &helpForm.window,
          &spaceColorForm.window, &wave3Form.window, &startScreen.window};
}

void Program::Create() {
  const ScreenSize screen = platform.GetScreenSize();

  main.FormCreate();

  cubeForm.FormCreate();

  helpForm.FormCreate();

  // The colour field editor's scaling starts again from the design size, so
  // afterwards the reference size is the client size of the last window scaled.
  spaceColorForm.FormCreate();
  fieldPicture.Resize(screen.width, screen.height);

  wave3Form.FormCreate();
  startScreen.FormCreate();
}

void Program::StartUp() {
  Create();
  // The first-run set-up belongs to the hidden window's creation. The start screen's
  // creation after it only sizes and places that window, so the set-up can run once
  // every window exists.
  wave3Form.FirstRunSetup();
  startScreen.Initialise();
}

void Program::StartUpHeadless() {
  Create();
  startScreen.Initialise();
  startScreen.GoStraightToDrawing();
}

void Program::RecordAction(Point point, uint8_t code, int32_t value) {
  if (replayState.stepping || Replaying()) return;
  RecordContext ctx;
  ctx.reference = Point{MulDiv(point.x, canvasWidth, main.window.clientWidth),
                        MulDiv(point.y, canvasHeight, main.window.clientHeight)};
  // Drawing on after a replay of a recording made at another size: the point goes into
  // the recording's units, so that a replay draws it where the user drew it.
  const CanvasSize recorded = log.recordedSize;
  if (recorded.Known() && recorded != ReferenceSize()) {
    const ReplayFit fit = FitRecording(recorded, main.window.clientWidth, main.window.clientHeight);
    ctx.reference = Point{std::max(0, Nearest((point.x - fit.area.left) / fit.scale)),
                          std::max(0, Nearest((point.y - fit.area.top) / fit.scale))};
  }
  ctx.wild = tools.wild;
  ctx.centerMode = field.centerMode;
  ctx.colorMode = tools.colorMode;
  ctx.tool = tools.tool;
  ctx.currentPoint = drawing.currentPoint;
  ctx.startPoint = drawing.startPoint;
  const RecordOutcome out = log.Record(drawing.recording, code, value, ctx);
  Form& f = main.window.form;
  if (out.stored) {
    if (log.position > kReplayLabelAfter) f.SetVisible(main.c.LOGREPLAYBTN, true);
    f.SetCaption(main.c.lblj, std::to_string(log.position));
  }
  if (out.full) {
    drawing.recording = false;
    timers.Enable(TimerId::Timer3, true);
    f.SetVisible(main.c.LogStopBtn, true);
    platform.Beep();
  }
}

bool Program::BottomPanelVisible() const {
  const Form& f = main.window.form;
  return f[main.c.Panel1].visible || f[main.c.Panel2].visible || f[main.c.Panel5].visible;
}

int32_t Program::VisibleHeight() const {
  return BottomPanelVisible() ? canvasHeight - panelHeight : canvasHeight;
}

void Program::RecordFieldTriple() {
  RecordAction(Point{}, lgfieldcolor, static_cast<int32_t>(field.corner));
  RecordAction(Point{}, lgfieldcolor, static_cast<int32_t>(field.vertical));
  RecordAction(Point{}, lgfieldcolor, static_cast<int32_t>(field.horizontal));
}

void Program::SetFieldColors(Color corner, Color vertical, Color horizontal) {
  field.corner = corner;
  field.vertical = vertical;
  field.horizontal = horizontal;
  replayState.fieldTripleCounter = 0;
  spaceColorForm.ShowFieldColours(corner, vertical, horizontal);
  Form& f = main.window.form;
  f.SetColor(main.c.Label42, corner);
  f.SetColor(main.c.Label17, vertical);
  f.SetColor(main.c.Label43, horizontal);
}

void Program::SaveUndo() {
  main.images.SaveUndo(canvasWidth, canvasHeight, VisibleHeight());
}

void Program::TimerTick(TimerId id) {
  switch (id) {
    case TimerId::Timer3:
      main.Timer3Timer();
      break;
    case TimerId::logplaytimer:
      replay.ReplayTick();
      break;
    case TimerId::redtimer:
      colourMixer.MixerTick(0);
      break;
    case TimerId::greentimer:
      colourMixer.MixerTick(1);
      break;
    case TimerId::bluetimer:
      colourMixer.MixerTick(2);
      break;
    case TimerId::Timer4:
      colourMixer.Timer4Timer();
      break;
    case TimerId::Redtimer:
      spaceColorForm.MixerTick(0);
      break;
    case TimerId::Greentimer:
      spaceColorForm.MixerTick(1);
      break;
    case TimerId::Bluetimer:
      spaceColorForm.MixerTick(2);
      break;
    case TimerId::Timer2:
      screenMoves.Timer2Timer();
      break;
    case TimerId::autosavetimer:
      autosave.Tick();
      break;
    default:
      break;
  }
}

}  // namespace quillo
