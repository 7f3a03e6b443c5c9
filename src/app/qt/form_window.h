#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/qt/control_view.h"
#include "app/window_state.h"

namespace quillo {

// A top-level window showing one WindowState: its caption, placement, flags and
// background, and one child widget per control of its form, named after the
// control. It keeps no state of its own beyond what it last showed.
class FormWindow : public QWidget {
  Q_OBJECT

 public:
  // sink receives every event made on a control; programDir locates glyph pictures.
  FormWindow(WindowState& state, ControlEventSink sink, std::string programDir);

  WindowState& State() { return state_; }
  // The widget of a control; nullptr before the control's widget exists.
  QWidget* ControlWidget(ControlId id) const;

  // Brings the window up to date with its state: the window itself when its revision
  // moved, widgets for controls added since, and the controls the form reports as
  // changed.
  virtual void Sync();

 protected:
  // How the window shows itself when its state says visible.
  virtual void ShowWindow();

 private:
  void SyncWindow();
  void AddNewControls();
  QWidget* ParentFor(const Control& c);

  WindowState& state_;
  ControlEventSink sink_;
  std::string program_dir_;
  std::vector<ControlView*> views_;  // by control id; owned as Qt children
  uint32_t shown_revision_ = UINT32_MAX;
  Qt::WindowFlags shown_flags_{};
};

}  // namespace quillo
