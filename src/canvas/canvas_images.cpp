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
  return true;
}

void CanvasImages::SaveUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight) {
  const Rect all{0, 0, canvasWidth, canvasHeight};
  if (all == image1.Bounds() && image7.SwapPixels(image1)) {
    // The whole backup becomes the undo image by handing its pixels over; the part
    // of it under a strip, which the canvas does not replace, is copied back.
    const Rect below{0, visibleHeight, canvasWidth, canvasHeight};
    if (!below.Empty() && visibleHeight < canvasHeight)
      image1.CopyRect(below, image7, below, kSrcCopy);
  } else {
    image7.CopyRect(all, image1, all, kSrcCopy);
  }
  const Rect visible{0, 0, canvasWidth, visibleHeight};
  image1.CopyRect(visible, canvas, visible, kSrcCopy);
}

}  // namespace quillo
