#include "canvas/canvas_images.h"

#include <array>
#include <optional>

namespace quillo {
namespace {

// For its lifetime the history's pictures draw in pixels. The history counts in
// pixels (the changed areas and its tiles), but during a replayed step of a recording
// made at another size the pictures draw through the fit's transform, which would take
// the history's copies and bounds for the recording's units.
class PixelUnits {
 public:
  explicit PixelUnits(HistorySurfaces s) : surfaces_{&s.canvas, &s.backup, &s.undoImage} {
    for (size_t i = 0; i < surfaces_.size(); ++i) {
      if (const SurfaceTransform* t = surfaces_[i]->CurrentTransform()) kept_[i] = *t;
      surfaces_[i]->ClearTransform();
    }
  }
  ~PixelUnits() {
    for (size_t i = 0; i < surfaces_.size(); ++i)
      if (kept_[i]) surfaces_[i]->SetTransform(*kept_[i]);
  }
  PixelUnits(const PixelUnits&) = delete;
  PixelUnits& operator=(const PixelUnits&) = delete;

 private:
  std::array<Surface*, 3> surfaces_;
  std::array<std::optional<SurfaceTransform>, 3> kept_;
};

}  // namespace

bool CanvasImages::Resize(int32_t w, int32_t h) {
  for (Surface* s : {&canvas, &image1_, &image7_})
    if (!s->Resize(w, h)) return false;
  for (Surface* s : {&image2, &image3, &image4, &image5, &image6})
    s->Resize(0, 0);
  width_ = w;
  height_ = h;
  ResetHistory();
  return true;
}

Surface& CanvasImages::Made(Surface& image, Color colour) {
  if (image.Width() == width_ && image.Height() == height_) return image;
  // Without the memory the image stays empty: copies to and from it do nothing.
  if (image.Resize(width_, height_)) {
    image.FillRect(image.Bounds(), colour);
    image.TakeDirty();
    // Made during a replay's step drawn through a transform: it draws as the canvas does.
    if (const SurfaceTransform* t = canvas.CurrentTransform()) image.SetTransform(*t);
  }
  return image;
}

Surface& CanvasImages::Backup() {
  history.SyncBackup(Surfaces());
  return image1_;
}

Surface& CanvasImages::UndoImage() {
  history.SyncUndoImage(Surfaces());
  return image7_;
}

void CanvasImages::SaveUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight) {
  // The history keeps pixels: a replay drawn through a transform gives its area in
  // the recording's units.
  const Rect reference = canvas.ToPixels(Rect{0, 0, canvasWidth, canvasHeight});
  const Rect shown = canvas.ToPixels(Rect{0, 0, canvasWidth, visibleHeight});
  const PixelUnits inPixels(Surfaces());
  history.Commit(Surfaces(), reference, shown, UndoImageRule::kFromBackup);
}

void CanvasImages::SaveClear(int32_t canvasWidth, int32_t visibleHeight) {
  const Rect shown = canvas.ToPixels(Rect{0, 0, canvasWidth, visibleHeight});
  const PixelUnits inPixels(Surfaces());
  history.Commit(Surfaces(), shown, shown, UndoImageRule::kKeep);
}

bool CanvasImages::StepBack() {
  const PixelUnits inPixels(Surfaces());
  return history.StepBack(Surfaces());
}

bool CanvasImages::StepForward() {
  const PixelUnits inPixels(Surfaces());
  return history.StepForward(Surfaces());
}

void CanvasImages::ResetHistory() {
  const PixelUnits inPixels(Surfaces());
  history.Reset(Surfaces());
}

void CanvasImages::InvertAndSaveUndo(const Rect& r, int32_t canvasWidth, int32_t canvasHeight,
                                     int32_t visibleHeight) {
  canvas.CopyRect(r, canvas, r, kDstInvert);
  SaveUndo(canvasWidth, canvasHeight, visibleHeight);
}

void CanvasImages::ShowBackup() {
  if (canvas.CopyMode() == kSrcCopy) {
    const PixelUnits inPixels(Surfaces());
    if (history.ShowBackup(Surfaces())) return;
  }
  Surface& backup = Backup();
  canvas.CopyRect(canvas.Bounds(), backup, backup.Bounds());
}

}  // namespace quillo
