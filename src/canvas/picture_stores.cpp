#include "canvas/picture_stores.h"

#include "app/program.h"
#include "log/action_log.h"

namespace quillo {
namespace {

constexpr Color kWhite = Rgb(255, 255, 255);

}  // namespace

PictureStores::PictureStores(Program& program) : p_(program) {}

void PictureStores::StorePicture(char letter) {
  CanvasImages& im = p_.main.images;
  Surface& canvas = im.canvas;
  Surface* store = nullptr;
  if (letter == 'N' || letter == 'n') store = &im.image3;
  if (letter == 'M' || letter == 'm') store = &im.image4;
  if (letter == 'B' || letter == 'b') store = &p_.fieldPicture;
  canvas.SetCopyMode(p_.drawing.copyMode);
  if (store != nullptr) {
    if (letter >= 'A' && letter <= 'Z') {
      const Rect visible{0, 0, p_.canvasWidth, p_.VisibleHeight()};
      store->CopyRect(visible, canvas, visible, kSrcCopy);
    } else {
      const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
      canvas.CopyRect(all, *store, all);
      p_.SaveUndo();
    }
  }
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
  p_.canvasOps.ClearCanvas();
  const WindowState& w = p_.main.window;
  p_.main.images.image1.FillRect(Rect{0, 0, w.clientWidth, w.clientHeight}, 0);
}

void PictureStores::WhiteClear() {
  StorePicture('n');
  const WindowState& w = p_.main.window;
  p_.main.images.image1.FillRect(Rect{0, 0, w.clientWidth, w.clientHeight}, kWhite);
}

void PictureStores::ClearToWhite() {
  WhiteClear();
  // Logged as a clear of its own: a colour-field entry here would replay the field.
  p_.RecordAction(Point{}, lgcanvasop, kCanvasOpWhiteClear);
}

}  // namespace quillo
