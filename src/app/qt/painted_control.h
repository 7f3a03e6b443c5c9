#pragma once

#include <QPixmap>
#include <QWidget>

#include "app/qt/control_view.h"

namespace quillo {

// Panels, labels, speed buttons, buttons, images and the text-only kinds, painted by
// hand from the control's state: filled backgrounds, fitted captions, flat buttons
// with a bevel that sink when down. Mouse presses, releases, clicks and double
// clicks go to the engine.
class PaintedControl : public QWidget, public ControlView {
  Q_OBJECT

 public:
  // The widget is owned by parent, as Qt children are.
  PaintedControl(ControlContext context, QWidget* parent);

  QWidget* Widget() override { return this; }
  void Refresh() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool IsButton() const;
  // Buttons, and coloured labels that act as one: they show a hover highlight and
  // the pointing hand.
  bool IsInteractive() const;
  // Hands an event to the engine; true when a handler took it.
  bool Send(EventKind kind, const QMouseEvent& event);
  void PaintPanel(QPainter& p, const Control& c);
  void PaintLabel(QPainter& p, const Control& c);
  void PaintButton(QPainter& p, const Control& c);
  void PaintImage(QPainter& p, const Control& c);
  // The caption, the glyph or both, in the pen's colour.
  void PaintContent(QPainter& p, QRectF box, const Control& c);
  // The picture a glyph names, when it is a file in the program folder.
  const QPixmap& GlyphPicture(const Control& c);

  ControlContext context_;
  bool hovered_ = false;
  bool pressed_ = false;      // the left button went down here and is still held
  bool pressInside_ = false;  // and the pointer is still over the control
  bool dblClickHandled_ = false;
  std::string glyphName_;
  QPixmap glyphPicture_;
};

}  // namespace quillo
