#include "app/paint_log.h"

#include <algorithm>
#include <string>

#include "app/language.h"
#include "app/program.h"
#include "form/layout.h"
#include "log/replay_film.h"

namespace quillo {
namespace {

constexpr uint8_t kPenModeOrdinals[9] = {4, 3, 6, 7, 8, 10, 13, 14, 15};
constexpr RasterOp kCopyModes[9] = {kSrcCopy, kDstInvert, kMergeCopy, kMergePaint, kNotSrcErase,
                                    kSrcAnd,  kSrcErase,  kSrcInvert, kSrcPaint};

}  // namespace

PaintLog::PaintLog(Program& program) : p_(program) {
  window.id = WindowId::kPaintLog;
  window.className = "TPaintLog";
  window.caption = "PaintLog";
  window.visible = true;
  window.color = 0;
  BuildLayout();
  BindHandlers();
  window.hooks.keyDown = [this](int32_t vk, Modifiers m) { FormKeyDown(vk, m); };
  window.hooks.keyPress = [this](char32_t ch) { FormKeyPress(ch); };
  window.hooks.keyUp = [this](int32_t vk, Modifiers m) { FormKeyUp(vk, m); };
  window.hooks.band = &p_.drawing.shownFrame;
}

void PaintLog::FormCreate() {
  // Shared defaults.
  p_.drawing.backgroundColor = 0;
  p_.replayState.loop = false;
  p_.replayState.batch = 0;
  p_.drawing.autoPenWidth = true;

  const ScreenSize screen = p_.platform.GetScreenSize();
  window.clientWidth = screen.width;
  window.clientHeight = screen.height;
  p_.canvasHeight = 768;
  p_.canvasWidth = 1024;
  window.left = 0;
  window.top = 0;
  ++window.revision;
  if (!images.Resize(screen.width, screen.height))
    p_.platform.ShowError(Arg(p_.Tr("Not enough memory for a canvas of %1 x %2 pixels."),
                              {std::to_string(screen.width), std::to_string(screen.height)}));

  p_.tools.wild = false;
  p_.keyColorRecording = true;
  p_.tools.waveFrequency = 1;
  p_.tools.waveFrequency2 = 8;
  p_.tools.ClearGenerator();
  p_.replayState.fieldTripleCounter = 0;
  p_.drawing.dragScreen = false;

  Surface& canvas = images.canvas;
  p_.drawing.copyMode = kSrcCopy;
  canvas.SetCopyMode(kSrcCopy);
  p_.drawing.penMode = 4;
  canvas.SetPenMode(PenMode::kCopy);
  canvas.SetPenWidth(32);

  p_.log.position = 0;
  p_.log.Codes()[0] = 0;

  if (window.clientHeight != p_.canvasHeight)
    ScaleFormToScreen(window.form, window.clientWidth, window.clientHeight, p_.canvasWidth,
                      p_.canvasHeight);

  images.Backup().FillRect(Rect{0, 0, window.clientWidth, window.clientHeight}, 0);
  p_.panelHeight = static_cast<int32_t>(window.form[c.Panel1].bounds.Height());
}

void PaintLog::FormResize(int32_t clientWidth, int32_t clientHeight) {
  window.clientWidth = clientWidth;
  window.clientHeight = clientHeight;
  ScaleFormToScreen(window.form, clientWidth, clientHeight, p_.canvasWidth, p_.canvasHeight);
}

bool PaintLog::FormCloseQuery() {
  if (p_.platform.Ask(p_.Tr("Is it OK to close Quillo?"), QuestionButtons::kNoOk) != Answer::kOk)
    return false;
  p_.autosave.KeepForNextStart();
  return true;
}

void PaintLog::SwitchBottomPanel(ControlId show) {
  Form& f = window.form;
  const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
  // Keep the part of the drawing the strip is about to cover.
  if (!p_.BottomPanelVisible()) images.Backup().CopyRect(all, images.canvas, all);
  for (ControlId panel : {c.Panel1, c.Panel2, c.Panel5})
    f.SetVisible(panel, panel == show);
  images.canvas.CopyRect(all, images.Backup(), all);
}

void PaintLog::ShowFilePanel() {
  SwitchBottomPanel(c.Panel2);
}
void PaintLog::ShowSettingsPanel() {
  SwitchBottomPanel(c.Panel5);
}

void PaintLog::HideBottomPanels() {
  for (ControlId panel : {c.Panel1, c.Panel2, c.Panel5})
    window.form.SetVisible(panel, false);
}

void PaintLog::BackToTools(ControlId hide) {
  window.form.SetVisible(hide, false);
  window.form.SetVisible(c.Panel1, true);
}

void PaintLog::SetPenWidth(int32_t width) {
  images.canvas.SetPenWidth(width);
  p_.RecordAction(Point{}, lglinew, width);
  window.form.SetCaption(c.PenWlabel, std::to_string(width));
}

void PaintLog::SetSlider(ControlId bar, int32_t position) {
  Form& f = window.form;
  const int32_t held = std::clamp(position, f[bar].min, f[bar].max);
  if (held == f[bar].position) return;
  f.SetPosition(bar, held);
  WaveSliderChanged(bar);
}

void PaintLog::WaveSliderChanged(ControlId bar) {
  Form& f = window.form;
  const int32_t p = f[bar].position;
  if (bar == c.ScrollBar1) {
    p_.tools.waveFrequency = p;
    f.SetCaption(c.Label38, std::to_string(p));
    p_.RecordAction(Point{}, Lgwavedata, p);
  } else if (bar == c.ScrollBar2) {
    p_.tools.waveFrequency2 = p;
    f.SetCaption(c.Label39, std::to_string(p));
    p_.RecordAction(Point{}, Lgwavedata, p + 1000);
  } else if (bar == c.ScrollBar5) {
    p_.tools.wavePhase = p / 10.0;
    f.SetCaption(c.Label40, std::to_string(p));
    p_.RecordAction(Point{}, Lgwavedata, p + 2000);
  }
}

void PaintLog::Timer3Timer() {
  window.form.SetVisible(c.LogStopBtn, !window.form[c.LogStopBtn].visible);
}

void PaintLog::BindHandlers() {
  Form& f = window.form;
  auto onClick = [&](const char* name, auto fn) {
    f.On(f.Id(name), EventKind::kClick, [fn](const ControlEvent& e) { fn(e); });
  };

  onClick("Label21", [this](const ControlEvent&) {
    const int32_t width = images.canvas.PenWidth();
    if (width < 2) return;
    SetPenWidth(width / 2);
    p_.RecordAction(Point{}, lglinew, images.canvas.PenWidth());
  });
  onClick("Label23", [this](const ControlEvent&) {
    const int32_t width = images.canvas.PenWidth();
    if (width >= p_.platform.GetScreenSize().width) return;
    SetPenWidth(width * 2);
    p_.RecordAction(Point{}, lglinew, images.canvas.PenWidth());
  });
  onClick("SpeedButton58",
          [this](const ControlEvent&) { p_.drawing.autoPenWidth = !p_.drawing.autoPenWidth; });
  onClick("SpeedButton23", [this](const ControlEvent&) {
    Form& form = window.form;
    for (ControlId id = 0; id < form.Count(); ++id)
      form.SetShowHint(id, !form[id].showHint);
  });

  for (int i = 0; i < 9; ++i) {
    f.On(c.penModeButtons[i], EventKind::kClick, [this, i](const ControlEvent&) {
      p_.drawing.penMode = kPenModeOrdinals[i];
      p_.RecordAction(Point{}, lgpenmode, kPenModeOrdinals[i]);
    });
    f.On(c.copyModeButtons[i], EventKind::kClick, [this, i](const ControlEvent&) {
      p_.drawing.copyMode = kCopyModes[i];
      p_.RecordAction(Point{}, lgzero, static_cast<int32_t>(kCopyModes[i].code));
    });
  }

  // The editor opens over the drawing as it stands; no snapshot, which the log would
  // not know of and a later undo would bring back.
  onClick("SpeedButton52", [this](const ControlEvent&) { p_.spaceColorForm.Open(); });
  f.On(c.VideoBtn, EventKind::kClick, [this](const ControlEvent&) { AskForReplayVideo(p_); });
  onClick("SpeedButton53", [this](const ControlEvent&) { ShowFilePanel(); });
  onClick("SpeedButton54", [this](const ControlEvent&) { ShowSettingsPanel(); });
  onClick("SpeedButton40", [this](const ControlEvent&) { BackToTools(c.Panel2); });
  onClick("SpeedButton22", [this](const ControlEvent&) { BackToTools(c.Panel5); });
  onClick("LanguageBtn", [this](const ControlEvent&) { NextLanguage(p_); });

  for (const char* close : {"SpeedButton32", "SpeedButton6", "SpeedButton12"})
    onClick(close, [this](const ControlEvent&) {
      if (FormCloseQuery()) p_.requests.quit = true;
    });
  for (ControlId bar : {c.ScrollBar1, c.ScrollBar2, c.ScrollBar5})
    f.On(bar, EventKind::kChange, [this, bar](const ControlEvent& e) { SetSlider(bar, e.value); });

  for (const char* minimize : {"SpeedButton4", "SpeedButton7"})
    onClick(minimize, [this](const ControlEvent&) { p_.requests.minimize = true; });
  BindCanvasHandlers();
}

}  // namespace quillo
