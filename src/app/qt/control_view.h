#pragma once

#include <QString>
#include <functional>
#include <string>

#include "form/controls.h"

class QWidget;
class QMouseEvent;
class QColor;

namespace quillo {

// Where a control's widget sends the events the user makes on it; true when the
// engine has a handler for the event.
using ControlEventSink = std::function<bool(const ControlEvent&)>;

// What a control's widget needs from its window: the engine's state of the control,
// the sink for its events and the folder its glyph pictures live in.
struct ControlContext {
  const Form* form = nullptr;
  ControlId id = kNoControl;
  ControlEventSink sink;
  std::string programDir;

  const Control& State() const { return (*form)[id]; }
};

// A widget that shows one control. The window refreshes it after the engine changed
// the control.
class ControlView {
 public:
  virtual ~ControlView() = default;
  virtual QWidget* Widget() = 0;
  // Repaints the widget from the control's current state.
  virtual void Refresh() = 0;
};

// Makes the widget for a control of any kind, a child of parent.
ControlView* MakeControlView(ControlContext context, QWidget* parent);

// Geometry (the engine's device pixels as logical ones), visibility, enabled state and
// tooltip shared by every kind of control.
void ApplyCommonState(QWidget& widget, const Control& c);

// The engine's 0x00BBGGRR colour as a QColor.
QColor ToQColor(Color c);

// The modifier keys and held buttons of a mouse event.
Modifiers ModifiersOf(const QMouseEvent& event);

QString ToQString(const std::string& s);

}  // namespace quillo
