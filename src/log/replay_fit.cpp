#include "log/replay_fit.h"

#include <algorithm>
#include <array>

#include "app/program.h"

namespace quillo {
namespace {

// The pictures a replayed entry draws on or copies between, all of the canvas's size.
std::array<Surface*, 9> ScreenImages(Program& p) {
  CanvasImages& im = p.main.images;
  return {&im.canvas, &im.Backup(), &im.image2,      &im.image3,     &im.image4,
          &im.image5, &im.image6,   &im.UndoImage(), &p.fieldPicture};
}

}  // namespace

ReplayFit FitRecording(CanvasSize recorded, int32_t w, int32_t h) {
  if (!recorded.Known() || w <= 0 || h <= 0) return ReplayFit{1.0, Rect{0, 0, w, h}};
  const double scale =
      std::min(static_cast<double>(w) / recorded.width, static_cast<double>(h) / recorded.height);
  const int32_t fw = std::min(w, Nearest(recorded.width * scale));
  const int32_t fh = std::min(h, Nearest(recorded.height * scale));
  const int32_t left = (w - fw) / 2;
  const int32_t top = (h - fh) / 2;
  return ReplayFit{scale, Rect{left, top, left + fw, top + fh}};
}

ScaledReplayStep::ScaledReplayStep(Program& program) : p_(program) {
  const CanvasSize recorded = p_.log.recordedSize;
  WindowState& w = p_.main.window;
  if (!recorded.Known() || recorded == p_.ReferenceSize() || p_.main.images.canvas.Transformed())
    return;
  active_ = true;
  fit_ = FitRecording(recorded, w.clientWidth, w.clientHeight);
  const SurfaceTransform& t = transform_ = SurfaceTransform{
      fit_.scale, Point{fit_.area.left, fit_.area.top}, recorded.width, recorded.height};
  for (Surface* s : ScreenImages(p_)) {
    if (s->Width() == p_.main.images.canvas.Width() &&
        s->Height() == p_.main.images.canvas.Height())
      s->SetTransform(t);
  }
  canvasWidth_ = p_.canvasWidth;
  canvasHeight_ = p_.canvasHeight;
  panelHeight_ = p_.panelHeight;
  clientWidth_ = w.clientWidth;
  clientHeight_ = w.clientHeight;
  ColourField& f = p_.field;
  editorWidth_ = f.editorWidth;
  editorHeight_ = f.editorHeight;
  fieldWidth_ = f.fieldWidth;
  fieldHeight_ = f.fieldHeight;
  fieldHalfWidth_ = f.fieldHalfWidth;
  fieldHalfHeight_ = f.fieldHalfHeight;

  p_.canvasWidth = w.clientWidth = recorded.width;
  p_.canvasHeight = w.clientHeight = recorded.height;
  p_.panelHeight = Nearest(panelHeight_ / fit_.scale);
  // The field of the screen the recording was made on, so that each point takes the
  // colour it took then.
  f.SetEditorSize(recorded.width, recorded.height);
}

ScaledReplayStep::~ScaledReplayStep() {
  if (!active_) return;
  for (Surface* s : ScreenImages(p_))
    s->ClearTransform();
  WindowState& w = p_.main.window;
  p_.canvasWidth = canvasWidth_;
  p_.canvasHeight = canvasHeight_;
  p_.panelHeight = panelHeight_;
  w.clientWidth = clientWidth_;
  w.clientHeight = clientHeight_;
  ColourField& f = p_.field;
  f.editorWidth = editorWidth_;
  f.editorHeight = editorHeight_;
  f.fieldWidth = fieldWidth_;
  f.fieldHeight = fieldHeight_;
  f.fieldHalfWidth = fieldHalfWidth_;
  f.fieldHalfHeight = fieldHalfHeight_;
}

void ScaledReplayStep::BlackenOutside() {
  if (!active_) return;
  for (Surface* s : {&p_.main.images.canvas, &p_.main.images.Backup()}) {
    const Rect all = s->PixelBounds();
    const Rect& a = fit_.area;
    for (const Rect bar :
         {Rect{0, 0, all.right, a.top}, Rect{0, a.bottom, all.right, all.bottom},
          Rect{0, a.top, a.left, a.bottom}, Rect{a.right, a.top, all.right, a.bottom}}) {
      if (bar.Empty()) continue;
      // The bars lie outside what the transform lets a fill reach.
      s->ClearTransform();
      s->FillRect(bar, 0);
      s->SetTransform(transform_);
    }
  }
}

}  // namespace quillo
