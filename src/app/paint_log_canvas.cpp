// The main window's ways to undo, clear, store and recall pictures, select, use the
// clipboard and open and save picture files: their buttons and labels.
#include "app/paint_log.h"
#include "app/program.h"

namespace quillo {
void PaintLog::BindCanvasHandlers() {
  Form& f = window.form;
  auto onClick = [&](ControlId id, auto fn) {
    f.On(id, EventKind::kClick, [fn](const ControlEvent&) { fn(); });
  };
  onClick(c.SpeedButton25, [this] { p_.canvasOps.StepBack(); });
  onClick(c.redobtn, [this] { p_.canvasOps.StepForward(); });
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

}  // namespace quillo
