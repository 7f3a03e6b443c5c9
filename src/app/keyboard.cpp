// The main window's three key handlers, dispatched from the key table.
#include "app/key_table.h"
#include "app/paint_log.h"
#include "app/program.h"

namespace quillo {
namespace {

constexpr int32_t kMaxArrowWidth = 512;

bool ShiftMatches(ShiftRule rule, const Modifiers& mods) {
  switch (rule) {
    case ShiftRule::kHeld:
      return mods.shift;
    case ShiftRule::kReleased:
      return !mods.shift;
    case ShiftRule::kAny:
      return true;
  }
  return true;
}

}  // namespace

void PaintLog::FormKeyDown(int32_t vk, Modifiers mods) {
  for (const KeyRow& row : KeyTable())
    if (row.handler == KeyHandler::kDown && row.key == vk && ShiftMatches(row.shift, mods))
      RunKey(row);
}

void PaintLog::FormKeyPress(char32_t ch) {
  for (const KeyRow& row : KeyTable())
    if (row.handler == KeyHandler::kPress && static_cast<char32_t>(row.key) == ch) RunKey(row);
}

void PaintLog::FormKeyUp(int32_t vk, Modifiers mods) {
  for (KeyHandler table : {KeyHandler::kCtrlUp, KeyHandler::kAltUp}) {
    if (table == KeyHandler::kCtrlUp ? !mods.ctrl : !mods.alt) continue;
    for (const KeyRow& row : KeyTable())
      if (row.handler == table && row.key == vk) RunKey(row);
  }
}

void PaintLog::RunKey(const KeyRow& row) {
  Form& f = window.form;
  DrawingState& d = p_.drawing;
  const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
  const int32_t width = images.canvas.PenWidth();
  switch (row.command) {
    case KeyCommand::kShowFilePanel:
      ShowFilePanel();
      break;
    case KeyCommand::kHidePanels:
      if (p_.BottomPanelVisible()) {
        HideBottomPanels();
        images.canvas.CopyRect(all, images.Backup(), all);
      }
      break;
    case KeyCommand::kSavePageStore:
      p_.pictureStores.SavePageStore(
          images.Store(row.argument == 6 ? images.image6 : images.image5));
      break;
    case KeyCommand::kRecallPageStore:
      p_.pictureStores.RecallPageStore(
          images.Store(row.argument == 6 ? images.image6 : images.image5));
      break;
    case KeyCommand::kSelectionOn:
      p_.selectionOps.StartSelection();
      break;
    case KeyCommand::kHome:
      // Logged as UNDO is: a replay must bring back the same picture.
      p_.canvasOps.StepBack();
      break;
    case KeyCommand::kStepForward:
      p_.canvasOps.StepForward();
      break;
    case KeyCommand::kPenNarrower:
      if (width >= 2) SetPenWidth(width - 1);
      break;
    case KeyCommand::kPenWider:
      if (width < kMaxArrowWidth) SetPenWidth(width + 1);
      break;
    case KeyCommand::kZoomIn:
      p_.canvasOps.ZoomIn(MakeRect(d.startPoint, d.selectionEnd));
      break;
    case KeyCommand::kZoomOut:
      p_.canvasOps.ZoomOut(MakeRect(d.startPoint, d.selectionEnd));
      break;
    case KeyCommand::kToolsPanel:
      if (!p_.BottomPanelVisible()) images.Backup().CopyRect(all, images.canvas, all);
      f.SetVisible(c.Panel2, false);
      f.SetVisible(c.Panel5, false);
      f.SetVisible(c.Panel1, true);
      break;
    case KeyCommand::kPenWidth:
      SetPenWidth(row.argument);
      break;
    case KeyCommand::kShowSettingsPanel:
      ShowSettingsPanel();
      break;
    case KeyCommand::kNegative:
      p_.canvasOps.NegativeSelection();
      break;
    case KeyCommand::kClearCanvas:
      p_.canvasOps.ClearCanvas();
      break;
    case KeyCommand::kHelp:
      p_.helpForm.Show();
      break;
    case KeyCommand::kFrameExport:
      p_.logFiles.ToggleFrameExport();
      break;
    case KeyCommand::kInspector:
      if (p_.BottomPanelVisible()) p_.cubeForm.Open();
      break;
    case KeyCommand::kColourEditor:
      // The drawing waits untouched under the editor: the canvas is never lost.
      p_.spaceColorForm.Open();
      p_.keyColorRecording = false;
      break;
    case KeyCommand::kSelectTool:
      p_.toolSelection.SelectTool(static_cast<uint8_t>(row.argument));
      break;
    case KeyCommand::kKeyColour:
      p_.keyColours.ApplyKeyColor(static_cast<char>(row.argument));
      break;
    case KeyCommand::kTweak:
      p_.keyColours.ColorTweak(static_cast<char>(row.argument));
      break;
    case KeyCommand::kDecrementSpec:
      p_.toolSelection.DecrementSpec();
      break;
    case KeyCommand::kIncrementSpec:
      p_.toolSelection.IncrementSpec();
      break;
    case KeyCommand::kStorePicture:
      if (row.argument == 'b') {
        p_.pictureStores.RecallBackground();
      } else {
        p_.pictureStores.StorePicture(static_cast<char>(row.argument));
      }
      break;
    case KeyCommand::kContinueReplay:
      if (p_.log.position < p_.replayState.length) {
        p_.replay.RunTimer(true);
      } else {
        // Nothing left to play: the panel shows STOP down.
        for (ControlId b : {c.btnzero, c.BTNPLAY, c.BTNX2})
          f.SetDown(b, false);
        f.SetDown(c.BTNSTOP, true);
      }
      break;
    case KeyCommand::kStartReplay:
      p_.replay.StartReplay();
      break;
    case KeyCommand::kStopReplay:
      d.drawing = false;
      // What the stopped replay drew becomes the backup; without a replay there is
      // nothing to keep, and a snapshot would cost the undo its picture.
      if (p_.Replaying()) {
        p_.replay.RunTimer(false);
        p_.SaveUndo();
      }
      break;
    case KeyCommand::kZeroPosition:
      p_.log.position = 0;
      f.SetCaption(c.lblj, "0");
      break;
    case KeyCommand::kSelectAll:
      p_.selectionOps.SelectAll();
      break;
    case KeyCommand::kCopy:
      p_.selectionOps.CopySelection(p_.selectionOps.SelectionRect());
      break;
    case KeyCommand::kPaste:
      p_.selectionOps.PasteClipboard(p_.selectionOps.SelectionRect());
      break;
    case KeyCommand::kPasteWhole:
      p_.selectionOps.PasteClipboard(all);
      break;
    case KeyCommand::kFlyOff:
      p_.screenMoves.SetFlyScreen(false);
      break;
    case KeyCommand::kFlyOn:
      p_.screenMoves.SetFlyScreen(true);
      break;
  }
}

}  // namespace quillo
