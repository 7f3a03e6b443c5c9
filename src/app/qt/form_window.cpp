#include "app/qt/form_window.h"

#include <QPalette>
#include <utility>

namespace quillo {

FormWindow::FormWindow(WindowState& state, ControlEventSink sink, std::string programDir)
    : QWidget(nullptr), state_(state), sink_(std::move(sink)), program_dir_(std::move(programDir)) {
  setObjectName(ToQString(state_.className));
  setAttribute(Qt::WA_QuitOnClose, state_.id == WindowId::kPaintLog);
  setAutoFillBackground(true);
}

QWidget* FormWindow::ControlWidget(ControlId id) const {
  if (id < 0 || id >= static_cast<ControlId>(views_.size())) return nullptr;
  return views_[id]->Widget();
}

void FormWindow::Sync() {
  AddNewControls();
  for (ControlId id : state_.form.TakeChanged()) {
    if (id < static_cast<ControlId>(views_.size())) views_[id]->Refresh();
  }
  if (state_.revision != shown_revision_) SyncWindow();
  if (state_.raiseRequested) {
    state_.raiseRequested = false;
    raise();
    activateWindow();
  }
}

QWidget* FormWindow::ParentFor(const Control& c) {
  if (c.parent == kNoControl || c.parent >= static_cast<ControlId>(views_.size())) return this;
  return views_[c.parent]->Widget();
}

void FormWindow::AddNewControls() {
  const Form& form = state_.form;
  for (auto id = static_cast<ControlId>(views_.size()); id < form.Count(); ++id) {
    ControlContext context{&form, id, sink_, program_dir_};
    views_.push_back(MakeControlView(std::move(context), ParentFor(form[id])));
  }
}

void FormWindow::SyncWindow() {
  shown_revision_ = state_.revision;
  setWindowTitle(ToQString(state_.caption));

  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(state_.color));
  setPalette(pal);

  Qt::WindowFlags flags = Qt::Window;
  if (state_.borderless) flags |= Qt::FramelessWindowHint;
  if (state_.stayOnTop) flags |= Qt::WindowStaysOnTopHint;
  // Changing the flags hides the window, so only a real change applies them.
  if (flags != shown_flags_) {
    shown_flags_ = flags;
    setWindowFlags(flags);
  }

  if (!state_.visible) {
    hide();
    return;
  }
  ShowWindow();
}

void FormWindow::ShowWindow() {
  if (state_.clientWidth > 0 && state_.clientHeight > 0) {
    setGeometry(state_.left, state_.top, state_.clientWidth, state_.clientHeight);
  }
  if (state_.minimized) {
    showMinimized();
  } else if (!isVisible() || isMinimized()) {
    showNormal();
  }
}

}  // namespace quillo
