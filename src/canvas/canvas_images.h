#pragma once

#include <cstdint>

#include "canvas/undo_history.h"
#include "platform/raster/surface.h"

namespace quillo {

// The canvas and the main window's off-screen images: backup Image1, zoom scratch
// Image2, stores Image3 to Image6 and undo Image7, all the canvas's size. The scratch
// and the stores are made the first time they are used (through Scratch and Store):
// most drawings never use some of them, and each is a screen's worth of memory. The
// backup and the undo image are read and written through Backup and UndoImage, which
// bring them up to date with the history first.
struct CanvasImages {
  Surface canvas;
  Surface image2;
  Surface image3;
  Surface image4;
  Surface image5;
  Surface image6;
  // The backup's states, for stepping back and forward.
  UndoHistory history;

  // Sizes the canvas, the backup and the undo image to w x h, black, and lets go of
  // the scratch and the stores; the history starts over. False when the memory
  // cannot be had.
  bool Resize(int32_t w, int32_t h);

  // The backup and the undo image, up to date. A reference is good until the next call
  // of the history (a snapshot, a step, ShowBackup).
  Surface& Backup();
  Surface& UndoImage();

  // The zoom scratch, made black at its first use.
  Surface& Scratch() { return Made(image2, Rgb(0, 0, 0)); }
  // A store, one of Image3 to Image6, made white at its first use: an empty store
  // reads as white.
  Surface& Store(Surface& store) { return Made(store, Rgb(255, 255, 255)); }

  // Makes the canvas the new backup and the old backup the undo image: Image1 into
  // Image7, then the canvas into Image1 over its visible part; the new backup is a
  // step of the history when it differs. Only the tiles the change touched are copied.
  void SaveUndo(int32_t canvasWidth, int32_t canvasHeight, int32_t visibleHeight);
  // The snapshot after a clear, which has set the undo image itself.
  void SaveClear(int32_t canvasWidth, int32_t visibleHeight);

  // Inverts r on the canvas, then saves the undo image as SaveUndo does.
  void InvertAndSaveUndo(const Rect& r, int32_t canvasWidth, int32_t canvasHeight,
                         int32_t visibleHeight);

  // Repaints the whole canvas from the backup in the canvas's copy mode.
  void ShowBackup();

  // The history's steps onto the canvas and the backup; false when there is none.
  bool StepBack();
  bool StepForward();
  // The history starts over from the backup as it is.
  void ResetHistory();
  // The history takes the steps of UndoHistory::Encode's bytes when they end in the
  // backup as it is.
  bool DecodeHistory(std::span<const uint8_t> bytes) { return history.Decode(bytes, Surfaces()); }

 private:
  Surface image1_;
  Surface image7_;

  // The image at the canvas's size, filled with colour if it is made now.
  Surface& Made(Surface& image, Color colour);

  int32_t width_ = 0;
  int32_t height_ = 0;

  HistorySurfaces Surfaces() { return HistorySurfaces{canvas, image1_, image7_}; }
};

}  // namespace quillo
