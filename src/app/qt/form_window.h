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

class HintLabel;

// A top-level window (or, when modal and smaller than the screen, a frame inside its
// parent) showing one WindowState: its caption, size, flags, pointer and background, and one child
// widget per control of its form, named after the control. A window with a surface of its own shows
// it as the background, one surface pixel to each device pixel; mouse events on the background and,
// when it has key handlers, its keys go to the engine. The engine's sizes and points are device
// pixels; the window turns them into Qt's logical ones and back. It keeps no state of its own
// beyond what it last showed.
class FormWindow : public QWidget {
  Q_OBJECT

 public:
  // sink receives every event made on a control; afterEvent runs after every other
  // event handed to the engine, to bring the windows up to date; programDir locates
  // glyph pictures. A secondary window names the main window as its transient
  // parent, which keeps it above the main window and hands the focus back when it
  // goes; the main window has none.
  FormWindow(WindowState& state, ControlEventSink sink, std::function<void()> afterEvent,
             std::string programDir, QWidget* transientParent = nullptr);

  WindowState& State() { return state_; }
  // The widget of a control; nullptr before the control's widget exists.
  QWidget* ControlWidget(ControlId id) const;

  // Brings the window up to date with its state: the window itself when its revision
  // moved, widgets for controls added since, the controls the form reports as
  // changed, the pointer and the changed part of the background.
  virtual void Sync();

  // Hands a key press or release meant for this window or one of its controls to
  // the engine and then runs afterEvent; false, touching nothing, when the window
  // has no key handlers.
  bool PreviewKey(const QKeyEvent& event);

  // The window's hint, shown for a control resting under the pointer at the size
  // for the window's height; nullptr before the first.
  HintLabel* Hint() const { return hint_; }

 protected:
  // How the window shows itself when its state says visible: a window the size of
  // the screen full screen, a modal one smaller than the screen as a frame centred
  // inside its parent, any other at the engine's place.
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
  // Shows the window full screen, at the screen's size from the start.
  void ShowFullScreen();

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // A window closed by the window system is hidden in the engine's state too.
  void closeEvent(QCloseEvent* event) override;
  // Shows and hides the controls' hints; keeps a frame centred in its parent.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SyncWindow();
  // Whether the window is shown as a frame inside its parent rather than a window.
  bool IsFrame() const;
  // Centres the frame in its parent, over a scrim that keeps the parent's input.
  void PlaceFrame();
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
  Qt::WindowFlags shown_flags_ = Qt::Window;  // as made
  PointerShape shown_pointer_ = PointerShape::kDefault;
  const Surface* shown_canvas_ = nullptr;
  std::optional<Rect> shown_band_;  // the rubber band as last painted
  HintLabel* hint_ = nullptr;       // owned as a Qt child
  QWidget* scrim_ = nullptr;        // a frame's, owned by the parent as a Qt child
};

// Key preview, installed on the application: a key press or release on any widget
// of a FormWindow with key handlers goes to the engine before the widget sees it.
class KeyPreview : public QObject {
  Q_OBJECT

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillo
