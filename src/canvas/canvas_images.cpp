#include "canvas/canvas_images.h"

namespace quillo {

bool CanvasImages::Resize(int32_t w, int32_t h) {
  for (Surface* s : {&canvas, &image1, &image7})
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

void CanvasImages::SaveUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight) {
  // The history keeps pixels: a replay drawn through a transform gives its area in
  // the recording's units.
  history.Commit(Surfaces(), canvas.ToPixels(Rect{0, 0, canvasWidth, canvasHeight}),
                 canvas.ToPixels(Rect{0, 0, canvasWidth, visibleHeight}),
                 UndoImageRule::kFromBackup);
}

void CanvasImages::SaveClear(int32_t canvasWidth, int32_t visibleHeight) {
  const Rect shown = canvas.ToPixels(Rect{0, 0, canvasWidth, visibleHeight});
  history.Commit(Surfaces(), shown, shown, UndoImageRule::kKeep);
}

void CanvasImages::InvertAndSaveUndo(const Rect& r, int32_t canvasWidth, int32_t canvasHeight,
                                     int32_t visibleHeight) {
  canvas.CopyRect(r, canvas, r, kDstInvert);
  SaveUndo(canvasWidth, canvasHeight, visibleHeight);
}

void CanvasImages::ShowBackup() {
  canvas.CopyRect(canvas.Bounds(), image1, image1.Bounds());
  if (canvas.CopyMode() == kSrcCopy && canvas.Bounds() == image1.Bounds())
    history.CanvasShowsBackup(canvas);
}

}  // namespace quillo
