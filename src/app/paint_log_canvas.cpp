// The main window's ways to undo, clear, store and recall pictures, select, use the
// clipboard and open and save picture files: buttons, labels and keys.
#include "app/paint_log.h"
#include "app/program.h"

namespace quillo {
namespace {

// Virtual-key codes of these keys.
enum : int32_t {
  kVkPageUp = 33,
  kVkPageDown = 34,
  kVkEnd = 35,
  kVkHome = 36,
  kVkA = 65,
  kVkC = 67,
  kVkV = 86,
  kVkZ = 90,
  kVkSubtract = 109,
};

}  // namespace

void PaintLog::BindCanvasHandlers() {
  Form& f = window.form;
  auto onClick = [&](ControlId id, auto fn) {
    f.On(id, EventKind::kClick, [fn](const ControlEvent&) { fn(); });
  };
  onClick(c.SpeedButton25, [this] { p_.canvasOps.Undo(); });
  onClick(c.Label18, [this] { p_.pictureStores.ClearToBlack(); });
  onClick(c.Label5, [this] { p_.pictureStores.ClearToWhite(); });
  for (ControlId clear : {c.Label14, c.Label15})
    onClick(clear, [this] { p_.canvasOps.ClearCanvas(); });
  for (ControlId background : {c.AVI_btn, c.SpeedButton2, c.SpeedButton45})
    onClick(background, [this] { p_.pictureStores.RecallBackground(); });
  onClick(c.SpeedButton34, [this] { p_.selectionOps.SelectButtonClick(); });
  onClick(c.SpeedButton37, [this] { p_.selectionOps.SelectAll(); });
  onClick(c.SpeedButton38,
          [this] { p_.selectionOps.CopySelection(p_.selectionOps.SelectionRect()); });
  onClick(c.SpeedButton39,
          [this] { p_.selectionOps.PasteClipboard(p_.selectionOps.SelectionRect()); });
  onClick(c.SpeedButton29, [this] { p_.canvasOps.NegativeSelection(); });
  onClick(c.SpeedButton30, [this] { p_.pictureFiles.OpenPicture(); });
  onClick(c.SpeedButton31, [this] { p_.pictureFiles.SavePicture(false); });
  onClick(c.SpeedButton47, [this] { p_.pictureFiles.SavePicture(true); });
}

bool PaintLog::CanvasKeyDown(int32_t vk, Modifiers mods) {
  CanvasImages& im = images;
  switch (vk) {
    case kVkPageUp:
    case kVkPageDown: {
      Surface& store = vk == kVkPageUp ? im.image6 : im.image5;
      if (mods.shift) {
        p_.pictureStores.SavePageStore(store);
      } else {
        p_.pictureStores.RecallPageStore(store);
      }
      return true;
    }
    case kVkEnd:
      p_.selectionOps.StartSelection();
      return true;
    case kVkHome:
      p_.canvasOps.RestoreUndoImage();
      return true;
    case kVkSubtract:
      p_.canvasOps.NegativeSelection();
      return true;
    default:
      return false;
  }
}

void PaintLog::CanvasKeyPress(char32_t ch) {
  switch (ch) {
    case U'N':
    case U'M':
    case U'B':
    case U'n':
    case U'm':
      p_.pictureStores.StorePicture(static_cast<char>(ch));
      break;
    case U'b':
      p_.pictureStores.RecallBackground();
      break;
    default:
      break;
  }
}

void PaintLog::CanvasKeyUp(int32_t vk, Modifiers mods) {
  if (!mods.ctrl) return;
  SelectionOps& s = p_.selectionOps;
  if (vk == kVkA) s.SelectAll();
  if (vk == kVkC) s.CopySelection(s.SelectionRect());
  if (vk == kVkV) s.PasteClipboard(s.SelectionRect());
  if (vk == kVkZ) s.PasteClipboard(Rect{0, 0, p_.canvasWidth, p_.canvasHeight});
}

}  // namespace quillo
