#include "log/replay.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "app/program.h"
#include "form/number_field.h"
#include "log/replay_fit.h"
#include "tools/stroke.h"

namespace quillo {
namespace {

constexpr Color kLoopOn = Rgb(255, 0, 0);
constexpr Color kLoopOff = Rgb(0, 255, 0);
constexpr int32_t kFirstAfterHeader = 9;
constexpr int32_t kLastFrame = 100;

}  // namespace

Replay::Replay(Program& program) : p_(program) {}

void Replay::RunTimer(bool on) {
  p_.timers.Enable(TimerId::logplaytimer, on);
  // PLAY is down exactly while the replay runs, whatever started or stopped it.
  Form& f = p_.main.window.form;
  const PaintLogControls& c = p_.main.c;
  if (on) {
    for (ControlId b : {c.btnzero, c.BTNSTOP, c.BTNX2})
      f.SetDown(b, false);
    f.SetDown(c.BTNPLAY, true);
  } else if (f[c.BTNPLAY].down) {
    f.SetDown(c.BTNPLAY, false);
    f.SetDown(c.BTNSTOP, true);
  }
}

void Replay::ShowPosition() {
  Form& f = p_.main.window.form;
  f.SetCaption(p_.main.c.lblj, std::to_string(p_.log.position));
}

Point Replay::ToCanvas(int32_t packed) const {
  const UnpackedPoint u = UnpackPoint(packed);
  return Point{MulDiv(u.x, p_.main.window.clientWidth, p_.canvasWidth),
               MulDiv(u.y, p_.main.window.clientHeight, p_.canvasHeight)};
}

void Replay::StartReplay() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  p_.tutorial.Advance(m.c.Label29, m.c.Label31);
  p_.timers.Enable(TimerId::Timer3, false);
  p_.timers.Enable(TimerId::Timer4, false);
  f.SetVisible(m.c.newbtn, false);
  p_.drawing.recording = false;
  p_.log.position = 0;
  p_.replayState.batch = 2;
  p_.replayState.releasePending = false;
  p_.replayState.corners = 0;
  // The canvas combines copies as it did when the recording began.
  p_.main.images.canvas.SetCopyMode(kSrcCopy);
  {
    ScaledReplayStep scaled(p_);
    p_.canvasOps.ClearCanvas();
    scaled.BlackenOutside();
  }
  // The replay steps back and forward through its own changes only, as the recording
  // did, which began with an empty history.
  p_.main.images.ResetHistory();
  RunTimer(true);
  f.SetVisible(m.c.LOGREPLAYBTN, false);
  f.SetVisible(m.c.LogStopBtn, true);
}

void Replay::StartDemo(int32_t batch) {
  ReplayState& r = p_.replayState;
  r.demoRunning = true;
  r.corners = 0;
  r.length = p_.log.Count();
  p_.log.position = 0;
  r.batch = batch;
  p_.tools.wild = true;
  p_.drawing.recording = false;
  RunTimer(true);
  p_.main.window.form.SetVisible(p_.main.c.LogStopBtn, true);
}

void Replay::StopReplay() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  RunTimer(false);
  p_.replayState.penDown = false;
  p_.replayState.releasePending = false;
  p_.SaveUndo();
  f.SetVisible(m.c.newbtn, true);
  f.SetVisible(m.c.LOGREPLAYBTN, true);
  f.SetVisible(m.c.LogStopBtn, false);
  if (!f[m.c.SpeedButton21].down) p_.timers.Enable(TimerId::Timer4, true);
  p_.drawing.recording = true;
  p_.replayState.demoRunning = false;
}

void Replay::ReplayTick() {
  ReplayState& r = p_.replayState;
  const Form& f = p_.main.window.form;
  const bool repeat = f[p_.main.c.SpeedButton41].down;
  const bool wasRunning = p_.Replaying();
  for (int32_t i = 0; i <= r.batch && p_.Replaying(); ++i) {
    ++p_.log.position;
    // The repeat starts again once the last entry has run.
    if (repeat && p_.log.position > r.length) {
      p_.log.position = 0;
      p_.log.ClearLines();
    }
    ReplayStep();
  }
  // One beep when the replay has come to its end.
  if (wasRunning && !p_.Replaying()) p_.platform.Beep();
}

void Replay::ReplayStep() {
  ReplayState& r = p_.replayState;
  ActionLog& log = p_.log;
  ToolState& t = p_.tools;
  Surface& canvas = p_.main.images.canvas;
  // What a replayed entry does reaches the recorder, which must not write it again.
  const StepGuard guard(r);
  // A recording made at another size is drawn fitted to this canvas.
  const ScaledReplayStep scaled(p_);
  if (r.demoRunning && (t.tool == dtwave3 || t.tool == dtwave4)) t.wild = true;
  ShowPosition();
  // Past the last entry the replay ends, or a loop goes on after the header: every
  // entry up to the last runs, at any speed.
  r.length = log.Count();
  if (log.position > r.length) {
    if (!r.loop) {
      StopReplay();
    } else {
      log.position = kFirstAfterHeader;
    }
  }

  CodeFields fields;
  const int32_t pos = log.position;
  if (pos > 0 && pos <= r.length && pos <= kLogCapacity) {
    fields = SplitCode(log.Codes()[pos]);
    r.lastActionCode = fields.code;
    const int32_t v = log.Values()[pos];
    // A new press or an operation on the whole canvas comes after the last stroke's
    // release, so the undo image holds what it held live.
    if (fields.code == lgmoused || fields.code == lggroundcolor || fields.code == lgbackfield ||
        fields.code == lgZoom || fields.code == lgcanvasop) {
      ReleaseStroke();
    }
    switch (fields.code) {
      case lgzero:
        // As the copy-mode buttons do: the canvas's own copy mode changes only where
        // a live operation changes it, so every copy combines as it did live.
        p_.drawing.copyMode = RasterOp{static_cast<uint32_t>(v)};
        break;
      case lgmoused: {
        // A press shows the backup first, as it does live: what a clear showed but
        // did not back up goes away.
        p_.main.images.ShowBackup();
        t.wild = v < 0;
        const Point pt = ToCanvas(v);
        canvas.MoveTo(pt);
        p_.drawing.startPoint = pt;
        if (p_.drawing.selecting) p_.drawing.selectionStart = pt;
        r.penDown = true;
        r.releasePending = !p_.drawing.selecting;
        break;
      }
      case lgcolor:
        canvas.SetPenColor(static_cast<Color>(v));
        break;
      case lglinew:
        canvas.SetPenWidth(v);
        break;
      case lgshape:
        t.tool = fields.tool;
        p_.toolSelection.HighlightToolButton();
        break;
      case lgmousem:
      case lgspacecolor:
      case lgcubecolor:
        ReplayMove(fields.code, fields.strokeType, v);
        break;
      case lgpenmode:
        p_.drawing.penMode = static_cast<uint8_t>(v & 255);
        break;
      case lggroundcolor:
        p_.canvasOps.ClearTo(static_cast<Color>(v));
        break;
      case lgfieldcolor:
        ReplayFieldColor(v);
        break;
      case Lgwavedata:
        ReplayWaveData(v);
        break;
      case lgNuWaveSpecial: {
        t.wild = v < 0;
        const uint32_t a = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
        t.specA = std::min(static_cast<int32_t>((a >> 16) & 65535u), kMaxSpecA);
        t.specB = static_cast<int32_t>(a & 65535u);
        break;
      }
      case lgbackfield: {
        if (v == 0 || v == 1) {
          // "Copy ColorField": the field it painted, in the colours logged with it and
          // the layout the value names.
          p_.field.centerMode = v == 1;
          p_.spaceColorForm.PaintFieldOnCanvas(SpaceColorForm::PendingEvents::kHold);
          p_.SaveUndo();
          break;
        }
        p_.drawing.copyMode = RasterOp{static_cast<uint32_t>(v)};
        p_.pictureStores.StorePicture('b');
        break;
      }
      case lgZoom: {
        const Rect zoom = r.corners == 2 ? MakeRect(r.corner[0], r.corner[1])
                                         : MakeRect(p_.drawing.startPoint, p_.drawing.currentPoint);
        if (v == 100 || v == 200) r.corners = 0;
        if (v == 0) {
          p_.drawing.selecting = true;
        } else if (v == 100) {
          p_.canvasOps.ZoomIn(zoom);
        } else if (v == 200) {
          p_.canvasOps.ZoomOut(zoom);
        }
        break;
      }
      case lgcanvasop:
        if (fields.kind == kCanvasOpNegative && r.corners == 2) {
          // The selection as it was when the negative was made live.
          p_.drawing.selectionStart = r.corner[0];
          p_.drawing.selectionEnd = r.corner[1];
          r.corners = 0;
        }
        if (fields.kind == kCornerKind) {
          r.corner[r.corners == 1 ? 1 : 0] = ToCanvas(v);
          r.corners = r.corners == 1 ? 2 : 1;
        } else {
          ReplayCanvasOp(fields.kind);
        }
        break;
      default:
        break;
    }
    if (r.frameExport && r.length > 8) ExportFrame();
  }

  InspectorLine line;
  line.position = log.position;
  line.kind = fields.kind;
  line.strokeType = fields.strokeType;
  line.tool = fields.tool;
  line.code = fields.code;
  line.x = p_.drawing.currentPoint.x;
  line.y = p_.drawing.currentPoint.y;
  if (log.position >= 0 && log.position <= kLogCapacity) line.value = log.Values()[log.position];
  line.relX = static_cast<int32_t>(static_cast<uint32_t>(line.x) -
                                   static_cast<uint32_t>(p_.drawing.startPoint.x));
  line.relY = static_cast<int32_t>(static_cast<uint32_t>(line.y) -
                                   static_cast<uint32_t>(p_.drawing.startPoint.y));
  log.AddLine(line);
}

void Replay::ReplayMove(uint8_t code, uint8_t strokeType, int32_t value) {
  DrawingState& d = p_.drawing;
  Surface& canvas = p_.main.images.canvas;
  if (value < 0) p_.field.centerMode = true;
  if (value > 0) p_.field.centerMode = false;
  const Point pt = ToCanvas(value);
  StrokeContext ctx{canvas, p_.tools, p_.field, d.startPoint, p_.canvasWidth, p_.canvasHeight};
  // The move takes its colour as the live move did, and its mode holds for the
  // stroke's own colour steps, so a replayed stroke matches the one recorded. The end
  // of a selection draws nothing and took no colour.
  if (code == lgspacecolor && !d.selecting) canvas.SetPenColor(p_.field.FieldColorAt(pt.x, pt.y));
  if (code == lgcubecolor && !d.selecting)
    canvas.SetPenColor(CubeColorAt(ctx, d.startPoint.x, d.startPoint.y, pt.x, pt.y));
  p_.colourMixer.SetColorMode(code == lgmousem      ? kColorPalette
                              : code == lgcubecolor ? kColorCube
                                                    : kColorField);
  d.currentPoint = pt;
  SymmetricStrokeState s{d.selecting, p_.replayState.penDown, d.currentPoint, d.mirrorPoint,
                         PenModeOf(d.penMode)};
  DrawSymmetricStroke(ctx, s, strokeType, pt);
  // A move logged while selecting is where the selection ended: the drag itself is
  // not logged. The selection ends here as it did live, so the strokes after it draw.
  if (d.selecting) {
    d.selectionEnd = d.currentPoint;
    p_.canvasOps.EndSelection();
  }
  // The pen keeps the colour the stroke's own colour steps left, as it did live: the
  // next move in the palette's colour draws with it.
}

void Replay::ReplayFieldColor(int32_t value) {
  ReplayState& r = p_.replayState;
  ++r.fieldTripleCounter;
  const auto c = static_cast<Color>(value);
  if (r.fieldTripleCounter == 1) {
    r.heldCorner = c;
  } else if (r.fieldTripleCounter == 2) {
    r.heldVertical = c;
  } else if (r.fieldTripleCounter == 3) {
    r.heldHorizontal = c;
    p_.SetFieldColors(r.heldCorner, r.heldVertical, r.heldHorizontal);
  }
}

void Replay::ReplayWaveData(int32_t value) {
  // Each value is set directly: going through a slider's change would skip a value
  // equal to the slider's position, and the phase runs on from figure to figure.
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  auto show = [&f](ControlId bar, ControlId label, int32_t v) {
    f.SetPosition(bar, std::clamp(v, f[bar].min, f[bar].max));
    f.SetCaption(label, std::to_string(f[bar].position));
    return f[bar].position;
  };
  if (value < 1000) {
    p_.tools.waveFrequency = show(m.c.ScrollBar1, m.c.Label38, value);
  } else if (value > 1000 && value < 1500) {
    p_.tools.waveFrequency2 = show(m.c.ScrollBar2, m.c.Label39, value - 1000);
  } else if (value > 1500) {
    p_.tools.wavePhase = show(m.c.ScrollBar5, m.c.Label40, value - 2000) / 10.0;
  }
}

void Replay::ReplayCanvasOp(uint8_t kind) {
  if (kind == kCanvasOpUndo) p_.canvasOps.Undo();
  if (kind == kCanvasOpNegative) p_.canvasOps.NegativeSelection();
  if (kind == kCanvasOpWhiteClear) p_.pictureStores.WhiteClear();
  if (kind == kCanvasOpStepBack) p_.canvasOps.StepBack();
  if (kind == kCanvasOpStepForward) p_.canvasOps.StepForward();
}

void Replay::ReleaseStroke() {
  if (!p_.replayState.releasePending) return;
  p_.replayState.releasePending = false;
  p_.SaveUndo();
}

void Replay::RecordLogHeader() {
  const Form& f = p_.main.window.form;
  if (p_.drawing.recording) {
    p_.log.Restart();
    p_.log.recordedSize = p_.ReferenceSize();
    const int32_t a = ParseWholeNumber(f[p_.main.c.Label36].caption).value_or(0);
    const int32_t b = ParseWholeNumber(f[p_.main.c.Label41].caption).value_or(0);
    const uint32_t magnitude = static_cast<uint32_t>(a) * 65536u + static_cast<uint32_t>(b);
    const auto spec = static_cast<int32_t>(p_.tools.wild ? 0u - magnitude : magnitude);
    p_.RecordAction(Point{}, lgshape, 0);
    p_.RecordAction(Point{}, lgNuWaveSpecial, spec);
    p_.RecordAction(Point{}, lgzero, static_cast<int32_t>(p_.drawing.copyMode.code));
    p_.RecordAction(Point{}, lgpenmode, p_.drawing.penMode);
    p_.RecordAction(Point{}, lglinew, p_.main.images.canvas.PenWidth());
    p_.RecordFieldTriple();
    p_.saved = SavedMarks{p_.log.Count(), p_.log.Count()};
  }
  p_.replayState.length = p_.log.Count();
}

void Replay::ExportFrame() {
  ReplayState& r = p_.replayState;
  if (r.frameNumber > kLastFrame) return;
  char name[32];
  std::snprintf(name, sizeof name, "clip%04d.bmp", static_cast<int>(r.frameNumber));
  ++r.frameNumber;
  p_.platform.Beep();
  Surface& frame = p_.framePicture;
  const Surface& canvas = p_.main.images.canvas;
  frame.CopyRect(frame.Bounds(), canvas, canvas.Bounds(), kSrcCopy);
  if (auto error = p_.platform.SavePicture(p_.programDir + name, frame)) {
    // One message, not one a step: the rest of this series is given up.
    r.frameNumber = kLastFrame + 1;
    p_.platform.ShowError(*error);
  }
}

void Replay::GoToPosition() {
  const Form& f = p_.main.window.form;
  std::string error;
  const std::optional<int32_t> v = NumberField{p_.main.c.Edit3, "Go to"}.Read(f, &error);
  if (!v) {
    p_.platform.ShowError(error);
    return;
  }
  p_.log.position = *v;
  ShowPosition();
}

void Replay::Bind() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  auto on = [&](const char* name, EventKind kind, auto fn) {
    f.On(f.Id(name), kind, [fn](const ControlEvent& e) { fn(e); });
  };
  auto click = [&](const char* name, auto fn) { on(name, EventKind::kClick, fn); };

  click("LOGREPLAYBTN", [this](const ControlEvent&) { StartReplay(); });
  click("LogStopBtn", [this, &m, &f](const ControlEvent&) {
    p_.tutorial.Advance(m.c.Label32, m.c.Label33);
    StopReplay();
    p_.timers.Enable(TimerId::Timer3, false);
    f.SetVisible(m.c.LogStopBtn, false);
  });
  click("loopbtn", [this, &m, &f](const ControlEvent&) {
    p_.tutorial.Advance(m.c.Label31, m.c.Label32);
    p_.replayState.loop = !p_.replayState.loop;
    f.SetFontColor(m.c.loopbtn, p_.replayState.loop ? kLoopOn : kLoopOff);
  });
  click("newbtn", [this](const ControlEvent&) {
    if (!p_.MayDiscardRecording()) return;
    // A new recording ends any replay of the old one.
    if (p_.Replaying()) StopReplay();
    p_.timers.Enable(TimerId::Timer3, false);
    p_.canvasOps.ClearCanvas();
    p_.main.images.ResetHistory();
    p_.log.ClearLines();
    p_.log.position = 0;
    p_.drawing.recording = true;
    RecordLogHeader();
  });
  click("btnzero", [this](const ControlEvent&) {
    p_.log.position = 0;
    ShowPosition();
    p_.log.ClearLines();
  });
  click("BTNSTOP", [this](const ControlEvent&) {
    RunTimer(false);
    p_.drawing.drawing = false;
  });
  click("BTNPLAY", [this, &m, &f](const ControlEvent&) {
    p_.drawing.penMode = 4;
    RunTimer(p_.log.position < p_.replayState.length && f[m.c.BTNPLAY].down);
  });
  click("BTNX2", [this](const ControlEvent&) {
    ++p_.log.position;
    ReplayStep();
  });
  on("ScrollBar3", EventKind::kChange, [this, &m, &f](const ControlEvent& e) {
    const ControlId bar = m.c.ScrollBar3;
    f.SetPosition(bar, std::clamp(e.value, f[bar].min, f[bar].max));
    f.SetCaption(m.c.Label1, "Replay speed %1", {std::to_string(f[bar].position)});
    p_.replayState.batch = f[bar].position;
  });
  on("Edit3", EventKind::kChange, [&m, &f](const ControlEvent& e) {
    std::string digits;
    for (char ch : e.text)
      if (std::isdigit(static_cast<unsigned char>(ch))) digits += ch;
    f.SetCaption(m.c.Edit3, digits);
  });
  click("SpeedButton43", [this](const ControlEvent&) { GoToPosition(); });
}

}  // namespace quillo
