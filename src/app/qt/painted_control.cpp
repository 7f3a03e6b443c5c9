#include "app/qt/painted_control.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <utility>

#include "app/qt/control_paint.h"
#include "app/qt/glyph_icons.h"
#include "platform/qt/qt_platform.h"

namespace quillo {
namespace {

MouseButton ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::RightButton:
      return MouseButton::kRight;
    case Qt::MiddleButton:
      return MouseButton::kMiddle;
    default:
      return MouseButton::kLeft;
  }
}

bool IsPictureName(const std::string& name) {
  const QString n = ToQString(name).toLower();
  return n.endsWith(QStringLiteral(".bmp")) || n.endsWith(QStringLiteral(".png"));
}

}  // namespace

PaintedControl::PaintedControl(ControlContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)) {
  setObjectName(ToQString(context_.State().name));
  if (IsInteractive()) setCursor(Qt::PointingHandCursor);
  Refresh();
}

bool PaintedControl::IsButton() const {
  const ControlKind k = context_.State().kind;
  return k == ControlKind::kSpeedButton || k == ControlKind::kButton;
}

bool PaintedControl::IsInteractive() const {
  // Coloured labels the mouse works are the program's swatches and label buttons;
  // value displays, coloured too, only show.
  const Control& c = context_.State();
  return IsButton() || (c.kind == ControlKind::kLabel && c.color != kNoColor &&
                        context_.form->TakesMouse(context_.id));
}

void PaintedControl::Refresh() {
  ApplyCommonState(*this, context_.State());
  update();
}

bool PaintedControl::Send(EventKind kind, const QMouseEvent& event) {
  ControlEvent e;
  e.control = context_.id;
  e.kind = kind;
  e.button = ButtonOf(event.button());
  e.modifiers = ModifiersOf(event);
  return context_.sink(e);
}

void PaintedControl::mousePressEvent(QMouseEvent* event) {
  // Accepting keeps presses on controls away from the canvas underneath.
  event->accept();
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    pressInside_ = true;
    dblClickHandled_ = false;
    update();
  }
  Send(EventKind::kMouseDown, *event);
}

void PaintedControl::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) {
    Send(EventKind::kMouseDown, *event);
    return;
  }
  // A control without a double-click handler takes the second press of a double
  // click as one more click, so quick taps on a button all count.
  pressed_ = true;
  pressInside_ = true;
  update();
  dblClickHandled_ = Send(EventKind::kDblClick, *event);
  Send(EventKind::kMouseDown, *event);
}

void PaintedControl::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const bool inside = rect().contains(event->position().toPoint());
  if (pressed_ && inside != pressInside_) {
    pressInside_ = inside;
    update();
  }
}

void PaintedControl::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const bool click = event->button() == Qt::LeftButton && pressed_ &&
                     rect().contains(event->position().toPoint()) && !dblClickHandled_;
  if (event->button() == Qt::LeftButton) {
    pressed_ = false;
    pressInside_ = false;
    dblClickHandled_ = false;
    update();
  }
  // Buttons report the release before the click, other controls the click first.
  if (IsButton()) {
    Send(EventKind::kMouseUp, *event);
    if (click) Send(EventKind::kClick, *event);
  } else {
    if (click) Send(EventKind::kClick, *event);
    Send(EventKind::kMouseUp, *event);
  }
}

void PaintedControl::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  if (IsInteractive()) update();
  QWidget::enterEvent(event);
}

void PaintedControl::leaveEvent(QEvent* event) {
  hovered_ = false;
  if (IsInteractive()) update();
  QWidget::leaveEvent(event);
}

void PaintedControl::paintEvent(QPaintEvent*) {
  const Control& c = context_.State();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  switch (c.kind) {
    case ControlKind::kSpeedButton:
    case ControlKind::kButton:
      PaintButton(p, c);
      break;
    case ControlKind::kLabel:
      PaintLabel(p, c);
      break;
    case ControlKind::kImage:
      PaintImage(p, c);
      break;
    default:
      PaintPanel(p, c);
      break;
  }
}

void PaintedControl::PaintPanel(QPainter& p, const Control& c) {
  const QColor face = c.color == kNoColor ? QColor(kDefaultPanel) : ToQColor(c.color);
  const QRectF r = QRectF(rect());
  if (c.parent == kNoControl) {
    // A strip on the window: square, with a light top edge and a dark bottom edge.
    p.fillRect(r, face);
    p.setPen(QPen(face.lighter(135), 1));
    p.drawLine(QPointF(0, 0.5), QPointF(r.width(), 0.5));
    p.setPen(QPen(face.darker(135), 1));
    p.drawLine(QPointF(0, r.height() - 0.5), QPointF(r.width(), r.height() - 0.5));
    // The accent of the strip's function along its top edge.
    if (c.fontColor != kNoColor && c.caption.empty())
      p.fillRect(QRectF(0, 0, r.width(), std::max(2.0, r.height() / 40)), ToQColor(c.fontColor));
  } else {
    const auto* painted = qobject_cast<const PaintedControl*>(parentWidget());
    if (painted && painted->context_.State().color == c.color) {
      // A layer of its parent's colour covers what lies beneath it edge to edge.
      p.fillRect(r, face);
    } else {
      // A group inside a panel: a rounded tile with a thin outline.
      const QRectF inner = r.adjusted(0.5, 0.5, -0.5, -0.5);
      QPainterPath shape;
      shape.addRoundedRect(inner, 6, 6);
      p.fillPath(shape, face);
      p.setPen(QPen(face.darker(125), 1));
      p.drawPath(shape);
    }
  }
  if (c.caption.empty()) return;
  p.setPen(TextColorOn(c, face));
  if (c.parent != kNoControl && !findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) {
    // A group holding controls names itself in a band along its top.
    QFont font = ControlFont(c);
    font.setBold(true);
    const QRectF band(8, 2, r.width() - 16, QFontMetricsF(font).height() + 4);
    p.setFont(font);
    p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, ToQString(c.caption).trimmed());
    return;
  }
  DrawFittedText(p, ContentBox(c, r), ToQString(c.caption), ControlFont(c), WrapOf(c));
}

void PaintedControl::PaintLabel(QPainter& p, const Control& c) {
  const QRectF r = QRectF(rect());
  QColor background =
      parentWidget() ? parentWidget()->palette().color(QPalette::Window) : QColor(kDefaultPanel);
  if (c.color != kNoColor) {
    background = ToQColor(c.color);
    // Small swatches and stripes stay square so neighbours meet edge to edge.
    const qreal radius = std::min(r.width(), r.height()) >= 16 ? 4 : 0;
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    p.fillPath(shape, background);
    if (hovered_ && IsInteractive()) {
      p.setPen(
          QPen(IsDarkColor(background) ? QColor(255, 255, 255, 200) : QColor(0, 0, 0, 140), 1.5));
      p.drawPath(shape);
    } else if (IsInteractive() && !c.caption.empty() && radius > 0) {
      // A captioned button label keeps an edge that shows on any strip, even black
      // on near-black.
      p.setPen(QPen(IsDarkColor(background) ? QColor(255, 255, 255, 110) : QColor(0, 0, 0, 90), 1));
      p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
  } else if (const auto* painted = qobject_cast<const PaintedControl*>(parentWidget())) {
    const Control& parent = painted->context_.State();
    background = parent.color == kNoColor ? QColor(kDefaultPanel) : ToQColor(parent.color);
  }
  p.setPen(TextColorOn(c, background));
  PaintContent(p, ContentBox(c, r), c);
}

void PaintedControl::PaintContent(QPainter& p, QRectF box, const Control& c) {
  const QString stateWords = StateWords(*context_.form, c.glyph, c.down);
  const QString caption = stateWords.isEmpty() ? ToQString(c.caption) : stateWords;
  const QFont font = ControlFont(c);
  const QPixmap& picture = GlyphPicture(c);
  const bool drawn = HasGlyph(c.glyph);
  if (picture.isNull() && !drawn) {
    DrawFittedText(p, box, caption, font, WrapOf(c));
    return;
  }
  // The picture above its word, at every size.
  QRectF glyphBox = box;
  if (!caption.isEmpty()) {
    const qreal band = DrawWordBeneath(p, box, caption, WordFont(c));
    glyphBox.setBottom(box.bottom() - band - std::max(1.5, box.height() / 14));
  }
  if (drawn) {
    DrawGlyph(p, glyphBox, c.glyph, p.pen().color());
    if (DownMeansOff(c.glyph) && c.down) {
      // Switched off: the picture struck through.
      const qreal side = std::min(glyphBox.width(), glyphBox.height());
      const QRectF square(glyphBox.center() - QPointF(side, side) / 2, QSizeF(side, side));
      p.save();
      p.setPen(QPen(QColor(200, 30, 30), std::max(1.5, side / 10), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(square.bottomLeft(), square.topRight());
      p.restore();
    }
    return;
  }
  const QSizeF size = QSizeF(picture.size()).scaled(glyphBox.size(), Qt::KeepAspectRatio);
  p.drawPixmap(QRectF(glyphBox.center() - QPointF(size.width(), size.height()) / 2, size), picture,
               QRectF(picture.rect()));
}

void PaintedControl::PaintButton(QPainter& p, const Control& c) {
  // A pressed look means "on": for a switch that turns something off when down, that
  // is while it is up.
  const bool on = DownMeansOff(c.glyph) ? !c.down : c.down;
  const bool sunk = on || (pressed_ && pressInside_);
  const QColor face = c.color == kNoColor ? QColor(kDefaultButton) : ToQColor(c.color);
  const QRectF r = QRectF(rect());
  DrawButtonFace(p, r, face, sunk, hovered_ && c.enabled, c.enabled);

  QRectF content = ContentBox(c, r);
  if (sunk) content.translate(0.5, 1);
  QColor text = TextColorOn(c, face);
  if (!c.enabled) text.setAlphaF(0.45);
  p.setPen(text);

  PaintContent(p, content, c);
}

void PaintedControl::PaintImage(QPainter& p, const Control& c) {
  const QRectF r = QRectF(rect());
  if (c.color != kNoColor) p.fillRect(r, ToQColor(c.color));
  if (c.picture != nullptr && c.picture->Width() > 0 && c.picture->Height() > 0) {
    // A picture the engine paints: rounded like the swatches around it.
    QPainterPath shape;
    shape.addRoundedRect(r, 4, 4);
    p.setClipPath(shape);
    p.drawImage(r, SurfaceView(*c.picture));
    return;
  }
  const QPixmap& picture = GlyphPicture(c);
  if (!picture.isNull()) p.drawPixmap(r, picture, QRectF(picture.rect()));
}

const QPixmap& PaintedControl::GlyphPicture(const Control& c) {
  if (c.glyph != glyphName_) {
    glyphName_ = c.glyph;
    glyphPicture_ = QPixmap();
    // Read as every picture is, within the size limits; a missing or refused
    // picture leaves the control without one.
    QImage image;
    if (IsPictureName(c.glyph) && !ReadPictureFile(context_.programDir + c.glyph, image))
      glyphPicture_ = QPixmap::fromImage(image);
  }
  return glyphPicture_;
}

}  // namespace quillo
