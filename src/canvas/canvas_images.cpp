#include "canvas/canvas_images.h"

namespace quillo {

bool CanvasImages::Resize(int32_t w, int32_t h) {
  Surface* all[] = {&canvas, &image1, &image2, &image3, &image4, &image5, &image6, &image7};
  for (Surface* s : all)
    if (!s->Resize(w, h)) return false;
  // An empty store reads as white.
  for (Surface* s : {&image3, &image4, &image5, &image6}) {
    s->FillRect(s->Bounds(), Rgb(255, 255, 255));
    s->TakeDirty();
  }
  ResetHistory();
  return true;
}

void CanvasImages::SaveUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight) {
  history.Commit(Surfaces(), Rect{0, 0, canvasWidth, canvasHeight},
                 Rect{0, 0, canvasWidth, visibleHeight}, UndoImageRule::kFromBackup);
}

void CanvasImages::SaveClear(int32_t canvasWidth, int32_t visibleHeight) {
  const Rect shown{0, 0, canvasWidth, visibleHeight};
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
