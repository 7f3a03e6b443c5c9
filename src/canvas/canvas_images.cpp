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
  KeepBackupAsUndo(canvasWidth, canvasHeight, visibleHeight);
  const Rect visible{0, 0, canvasWidth, visibleHeight};
  image1.CopyRect(visible, canvas, visible, kSrcCopy);
}

void CanvasImages::InvertAndSaveUndo(const Rect& r, int32_t canvasWidth, int32_t canvasHeight,
                                     int32_t visibleHeight) {
  const Rect all{0, 0, canvasWidth, canvasHeight};
  const Rect visible = Intersect(Rect{0, 0, canvasWidth, visibleHeight}, all);
  const Rect inverted = Intersect(Normalized(r), all);
  const Rect shown = Intersect(inverted, visible);
  if (shown.Empty() || canvas.Bounds() != all || image1.Bounds() != all) {
    canvas.CopyRect(r, canvas, r, kDstInvert);
    SaveUndo(canvasWidth, canvasHeight, visibleHeight);
    return;
  }
  KeepBackupAsUndo(canvasWidth, canvasHeight, visibleHeight);
  // The part of r under a strip changes on the canvas alone.
  const Rect hidden{inverted.left, shown.bottom, inverted.right, inverted.bottom};
  if (hidden.bottom > hidden.top) canvas.CopyRect(hidden, canvas, hidden, kDstInvert);
  canvas.CopyRectTwice(shown, canvas, image1, /*invert=*/true);
  // The rest of the visible canvas goes into the backup as it is: the bands above and
  // below r, and beside it.
  const Rect bands[] = {{0, 0, canvasWidth, shown.top},
                        {0, shown.bottom, canvasWidth, visible.bottom},
                        {0, shown.top, shown.left, shown.bottom},
                        {shown.right, shown.top, canvasWidth, shown.bottom}};
  for (const Rect& band : bands)
    if (band.right > band.left && band.bottom > band.top)
      image1.CopyRect(band, canvas, band, kSrcCopy);
}

void CanvasImages::KeepBackupAsUndo(int32_t canvasWidth, int32_t canvasHeight,
                                    int32_t visibleHeight) {
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
}

}  // namespace quillo
