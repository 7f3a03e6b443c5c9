#include "canvas/picture_stores.h"

#include "app/program.h"
#include "log/action_log.h"

namespace quillo {

PictureStores::PictureStores(Program& program) : p_(program) {}

void PictureStores::StorePicture(char letter) {
  CanvasImages& im = p_.main.images;
  Surface& canvas = im.canvas;
  Surface* store = nullptr;
  if (letter == 'N' || letter == 'n') store = &im.Store(im.image3);
  if (letter == 'M' || letter == 'm') store = &im.Store(im.image4);
  if (letter == 'B' || letter == 'b') store = &p_.fieldPicture;
  if (store == nullptr) return;
  if (letter >= 'A' && letter <= 'Z') {
    // Keeping a picture leaves the canvas's copy mode alone: the log does not know of
    // it, and every later copy onto the canvas must combine as the replay's does.
    const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
    store->CopyRect(visible, canvas, visible, kSrcCopy);
    return;
  }
  canvas.SetCopyMode(p_.drawing.copyMode);
  const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
  canvas.CopyRect(all, *store, all);
  p_.SaveUndo();
  canvas.SetCopyMode(kSrcCopy);
}

void PictureStores::SavePageStore(Surface& store) {
  const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
  store.CopyRect(visible, p_.main.images.canvas, visible, kSrcCopy);
}

void PictureStores::RecallPageStore(const Surface& store) {
  const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
  p_.main.images.canvas.CopyRect(visible, store, visible);
  p_.SaveUndo();
}

void PictureStores::RecallBackground() {
  StorePicture('b');
  p_.RecordAction(Point{}, lgbackfield, static_cast<int32_t>(p_.drawing.copyMode.code));
}

void PictureStores::ClearToBlack() {
  // Black whatever the background colour: the entry carries the black it cleared to.
  p_.canvasOps.ClearTo(0);
  p_.RecordAction(Point{}, lggroundcolor, 0);
}

void PictureStores::WhiteClear() {
  // The recall of store N ends with a snapshot: the backup holds what the canvas
  // shows, whatever the copy mode made of the store.
  StorePicture('n');
}

void PictureStores::ClearToWhite() {
  WhiteClear();
  // Logged as a clear of its own: a colour-field entry here would replay the field.
  p_.RecordAction(Point{}, lgcanvasop, kCanvasOpWhiteClear);
}

}  // namespace quillo
