#include "app/qt/control_view.h"

#include <QColor>
#include <QMouseEvent>
#include <QWidget>

#include "app/qt/input_controls.h"
#include "app/qt/painted_control.h"
#include "app/qt/rich_edit_control.h"
#include "platform/qt/device_pixels.h"

namespace quillo {

ControlView* MakeControlView(ControlContext context, QWidget* parent) {
  switch (context.State().kind) {
    case ControlKind::kScrollBar:
      return new ScrollBarControl(std::move(context), parent);
    case ControlKind::kEdit:
      return new EditControl(std::move(context), parent);
    case ControlKind::kRichEdit:
      return new RichEditControl(std::move(context), parent);
    default:
      return new PaintedControl(std::move(context), parent);
  }
}

void ApplyCommonState(QWidget& widget, const Control& c) {
  widget.setGeometry(ToLogical(Normalized(c.bounds)));
  widget.setEnabled(c.enabled);
  widget.setToolTip(c.showHint ? ToQString(c.hint) : QString());
  widget.setVisible(c.visible);
}

QColor ToQColor(Color c) {
  return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255);
}

Modifiers ModifiersOf(const QMouseEvent& event) {
  Modifiers m;
  m.shift = event.modifiers().testFlag(Qt::ShiftModifier);
  m.alt = event.modifiers().testFlag(Qt::AltModifier);
  m.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
  m.left = event.buttons().testFlag(Qt::LeftButton);
  m.right = event.buttons().testFlag(Qt::RightButton);
  m.middle = event.buttons().testFlag(Qt::MiddleButton);
  return m;
}

QString ToQString(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace quillo
