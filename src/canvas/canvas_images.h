#pragma once

#include <cstdint>

#include "platform/raster/surface.h"

namespace quillo {

// The canvas and the main window's off-screen images: backup Image1, zoom scratch
// Image2, stores Image3 to Image6 and undo Image7, all the canvas's size.
struct CanvasImages {
  Surface canvas;
  Surface image1;
  Surface image2;
  Surface image3;
  Surface image4;
  Surface image5;
  Surface image6;
  Surface image7;

  // Sizes every image to w x h; the stores start white, the rest black. False when
  // the memory cannot be had.
  bool Resize(int32_t w, int32_t h);

  // Makes the canvas the new backup and the old backup the undo image: Image1 into
  // Image7 over the reference rectangle, then the canvas into Image1 over its
  // visible part.
  void SaveUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight);

  // Inverts r on the canvas, then saves the undo image as SaveUndo does; the visible
  // part of r is read once for both the canvas and the backup.
  void InvertAndSaveUndo(const Rect& r, int32_t canvasWidth, int32_t canvasHeight,
                         int32_t visibleHeight);

 private:
  // SaveUndo's first half: the old backup becomes the undo image.
  void KeepBackupAsUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight);
};

}  // namespace quillo
