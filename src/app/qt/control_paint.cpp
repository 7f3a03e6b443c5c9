#include "app/qt/control_paint.h"

#include "app/qt/control_view.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace quillo {
namespace {

constexpr int kMinPixelSize = 7;

qreal CornerRadius(const QRectF& box) {
  return std::clamp(std::min(box.width(), box.height()) * 0.18, 0.0, 7.0);
}

}  // namespace

bool IsDarkColor(const QColor& c) {
  return 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF() < 0.55;
}

QFont ControlFont(const Control& c) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(kMinPixelSize, int(std::lround(c.fontSize * 96.0 / 72.0))));
  font.setBold(c.bold);
  return font;
}

QColor TextColorOn(const Control& c, const QColor& background) {
  if (c.fontColor != kNoColor) return ToQColor(c.fontColor);
  return IsDarkColor(background) ? QColor(Qt::white) : QColor(kDefaultText);
}

void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, QFont font, Wrap wrap) {
  if (text.isEmpty() || box.width() < 1 || box.height() < 1) return;
  const int align = Qt::AlignCenter | Qt::TextShowMnemonic;
  const bool mayBreak = wrap == Wrap::kAlways ||
                        (wrap == Wrap::kAsNeeded && (text.contains(' ') || text.contains('\n')));
  int flags = align | (wrap == Wrap::kAlways ? Qt::TextWordWrap : 0);
  for (int size = font.pixelSize(); size >= kMinPixelSize; --size) {
    font.setPixelSize(size);
    const QFontMetricsF metrics(font);
    flags = align | (wrap == Wrap::kAlways ? Qt::TextWordWrap : 0);
    QRectF need = metrics.boundingRect(box, flags, text);
    const auto fits = [&] {
      return need.width() <= box.width() + 0.5 && need.height() <= box.height() + 0.5;
    };
    if (!fits() && mayBreak && wrap != Wrap::kAlways) {
      flags |= Qt::TextWordWrap;
      need = metrics.boundingRect(box, flags, text);
    }
    if (fits()) break;
  }
  p.setFont(font);
  p.drawText(box, flags, text);
}

void DrawButtonFace(QPainter& p, const QRectF& box, const QColor& face, bool down, bool hovered,
                    bool enabled) {
  const QRectF r = box.adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = CornerRadius(r);
  QPainterPath shape;
  shape.addRoundedRect(r, radius, radius);

  QColor base = face;
  if (!enabled) base = base.lighter(112);
  if (hovered && !down) base = base.lighter(106);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  if (down) {
    fill.setColorAt(0, base.darker(125));
    fill.setColorAt(1, base.darker(105));
  } else {
    fill.setColorAt(0, base.lighter(108));
    fill.setColorAt(1, base.darker(108));
  }
  p.fillPath(shape, fill);

  if (down) {
    // An inner shadow along the top and a warm ring make the pressed state obvious
    // at a glance, even on a coloured face.
    p.save();
    p.setClipPath(shape);
    QLinearGradient shade(r.topLeft(), r.topLeft() + QPointF(0, std::min(6.0, r.height() / 3)));
    shade.setColorAt(0, QColor(0, 0, 0, 70));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(r, shade);
    p.restore();
    p.setPen(QPen(QColor(kDownAccent), std::max(1.5, std::min(r.width(), r.height()) / 12)));
    p.drawRoundedRect(r.adjusted(0.75, 0.75, -0.75, -0.75), radius, radius);
    return;
  }
  // Raised: a light top edge inside a darker outline.
  p.setPen(QPen(QColor(255, 255, 255, 150), 1));
  p.drawLine(QPointF(r.left() + radius, r.top() + 1), QPointF(r.right() - radius, r.top() + 1));
  p.setPen(QPen(hovered ? QColor(kHoverAccent) : base.darker(150), hovered ? 1.5 : 1));
  p.drawPath(shape);
}

}  // namespace quillo
