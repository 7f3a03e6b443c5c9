#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/qt/control_view.h"
#include "form/window_state.h"

class QKeyEvent;

namespace quillo {

// A top-level window showing one WindowState: its caption, placement, flags, pointer
// and background, and one child widget per control of its form, named after the
// control. A window with a surface of its own shows it as the background; mouse
// events on the background and, when it has key handlers, its keys go to the engine.
// It keeps no state of its own beyond what it last showed.
class FormWindow : public QWidget {
  Q_OBJECT

 public:
  // sink receives every event made on a control; afterEvent runs after every other
  // event handed to the engine, to bring the windows up to date; programDir locates
  // glyph pictures.
  FormWindow(WindowState& state, ControlEventSink sink, std::function<void()> afterEvent,
             std::string programDir);

  WindowState& State() { return state_; }
  // The widget of a control; nullptr before the control's widget exists.
  QWidget* ControlWidget(ControlId id) const;

  // Brings the window up to date with its state: the window itself when its revision
  // moved, widgets for controls added since, the controls the form reports as
  // changed, the pointer, a raise request and the changed part of the background.
  virtual void Sync();

  // Hands a key press or release meant for this window or one of its controls to
  // the engine and then runs afterEvent; false, touching nothing, when the window
  // has no key handlers.
  bool PreviewKey(const QKeyEvent& event);

 protected:
  // How the window shows itself when its state says visible.
  virtual void ShowWindow();
  // The surface painted as the background; nullptr for the plain window colour.
  virtual Surface* Canvas() { return state_.hooks.canvas; }
  // Hands a mouse event on the background to the engine; false when no handler took
  // it. A move carries kLeft as its button and the held buttons in mods.
  virtual bool BackgroundMouse(MouseAction action, MouseButton button, Modifiers mods, Point at);
  // Whether PreviewKey hands keys to the three key handlers below.
  virtual bool HandlesKeys() const;
  virtual void KeyDown(int32_t vk, Modifiers mods);
  virtual void KeyPress(char32_t ch);
  virtual void KeyUp(int32_t vk, Modifiers mods);
  void RunAfterEvent() { after_event_(); }

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // A window closed by the window system is hidden in the engine's state too.
  void closeEvent(QCloseEvent* event) override;

 private:
  void SyncWindow();
  void SyncPointer();
  void SyncCanvas();
  // Repaints where the rubber band was and where it is now, when it moved.
  void SyncBand();
  void AddNewControls();
  QWidget* ParentFor(const Control& c);
  void SendMouse(MouseAction action, const QMouseEvent& event);

  WindowState& state_;
  ControlEventSink sink_;
  std::function<void()> after_event_;
  std::string program_dir_;
  std::vector<ControlView*> views_;  // by control id; owned as Qt children
  uint32_t shown_revision_ = UINT32_MAX;
  // Ctrl and Alt as they were when each held key went down: a combination still
  // counts when its modifier comes up a moment before its letter.
  std::unordered_map<int32_t, Modifiers> held_;
  Qt::WindowFlags shown_flags_{};
  PointerShape shown_pointer_ = PointerShape::kDefault;
  const Surface* shown_canvas_ = nullptr;
  std::optional<Rect> shown_band_;  // the rubber band as last painted
};

// Key preview, installed on the application: a key press or release on any widget
// of a FormWindow with key handlers goes to the engine before the widget sees it.
class KeyPreview : public QObject {
  Q_OBJECT

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillo
