#pragma once

#include <cstdint>

#include "platform/raster/surface.h"

namespace quillo {

class Program;

// The picture stores, the colour-field background and the two clears that recall a
// picture: full-canvas pictures kept and brought back by key and button.
class PictureStores {
 public:
  explicit PictureStores(Program& program);

  // "N", "M", "B" keep the visible canvas in Image3, Image4 or the colour field
  // picture; "n", "m", "b" bring the store back over the canvas in the copy mode and
  // take an undo snapshot. Other letters change nothing. The canvas's copy mode is
  // source copy afterwards.
  void StorePicture(char letter);

  // Shift + Page Up / Page Down: the visible canvas into Image6 / Image5.
  void SavePageStore(Surface& store);
  // Page Up / Page Down: the store over the visible canvas in the canvas's copy mode,
  // then an undo snapshot.
  void RecallPageStore(const Surface& store);

  // "b" and the background buttons: the colour field picture over the canvas, logged
  // with the copy mode.
  void RecallBackground();

  // "CLEAR SCREEN TO BLACK": a clear to black, canvas and backup, logged as one.
  void ClearToBlack();
  // "CLEAR SCREEN TO WHITE": Image3 brought back as "n" does, and an entry the
  // replay repeats.
  void ClearToWhite();
  // The white clear without its log entry, as the replay repeats it.
  void WhiteClear();

 private:
  Program& p_;
};

}  // namespace quillo
