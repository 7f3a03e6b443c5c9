#include "app/qt/control_paint.h"

#include "app/qt/control_view.h"
#include "app/qt/glyph_icons.h"
#include "platform/qt/device_pixels.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace quillo {
namespace {

qreal CornerRadius(const QRectF& box) {
  return std::clamp(std::min(box.width(), box.height()) * 0.18, 0.0, 7.0);
}

}  // namespace

int HintPixelSize(int windowHeight) {
  return std::max(12, int(std::lround(12.0 * windowHeight / 768.0)));
}

QPoint HintPosition(const QRect& control, const QRect& band, const QSize& tip,
                    const QRect& screen) {
  constexpr int kGap = 4;
  const int x = std::clamp(control.left(), screen.left(),
                           std::max(screen.left(), screen.right() + 1 - tip.width()));
  const int above = band.top() - kGap - tip.height();
  const int y = above >= screen.top()
                    ? above
                    : std::min(band.bottom() + 1 + kGap,
                               std::max(screen.top(), screen.bottom() + 1 - tip.height()));
  return QPoint(x, y);
}

bool IsDarkColor(const QColor& c) {
  return 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF() < 0.55;
}

QFont ControlFont(const Control& c) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(kMinPixelSize, int(std::lround(ToLogical(c.fontSize * 96.0 / 72.0)))));
  font.setBold(c.bold);
  if (c.title) font.setCapitalization(QFont::AllUppercase);
  return font;
}

QFont WordFont(const Control& c) {
  QFont font = ControlFont(c);
  font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
  font.setBold(true);
  return font;
}

qreal WordBandHeight(const QFont& font, const QString& word) {
  const QFontMetricsF metrics(font);
  const bool descends = word.contains(QRegularExpression(QStringLiteral("[gjpqy,;_]")));
  return std::ceil(metrics.capHeight() + (descends ? metrics.descent() : 1.0));
}

qreal DrawWordBeneath(QPainter& p, const QRectF& box, const QString& word, QFont font) {
  for (int size = font.pixelSize(); size > kMinPixelSize; --size) {
    if (QFontMetricsF(font).horizontalAdvance(word) <= box.width()) break;
    font.setPixelSize(size - 1);
  }
  const QFontMetricsF metrics(font);
  const qreal band = WordBandHeight(font, word);
  const qreal baseline = box.bottom() - (band - metrics.capHeight());
  const qreal x = box.center().x() - metrics.horizontalAdvance(word) / 2;
  p.setFont(font);
  p.drawText(QPointF(x, baseline), word);
  return band;
}

QColor TextColorOn(const Control& c, const QColor& background) {
  if (c.fontColor != kNoColor) return ToQColor(c.fontColor);
  return IsDarkColor(background) ? QColor(Qt::white) : QColor(kDefaultText);
}

namespace {

// The drawing flags that fit text in box at the font's own size, if any do.
std::optional<int> FlagsThatFit(const QRectF& box, const QString& text, const QFont& font,
                                Wrap wrap) {
  const int align = Qt::AlignCenter | Qt::TextShowMnemonic;
  const bool mayBreak = wrap == Wrap::kAlways ||
                        (wrap == Wrap::kAsNeeded && (text.contains(' ') || text.contains('\n')));
  const QFontMetricsF metrics(font);
  // Chinese and Japanese letters come in a fallback font whose line is nearly half
  // as tall again as its letters; one line of them fits when the letters do.
  const bool ideographic =
      std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() >= 0x2E80; });
  const auto fits = [&](int flags) {
    const QRectF need = metrics.boundingRect(box, flags, text);
    qreal height = need.height();
    if (ideographic && height < 2 * metrics.height())
      height = std::min(height, metrics.tightBoundingRect(text).height());
    return need.width() <= box.width() + 0.5 && height <= box.height() + 0.5;
  };
  const int flags = align | (wrap == Wrap::kAlways ? Qt::TextWordWrap : 0);
  if (fits(flags)) return flags;
  if (mayBreak && wrap != Wrap::kAlways && fits(flags | Qt::TextWordWrap))
    return flags | Qt::TextWordWrap;
  return std::nullopt;
}

}  // namespace

QRectF ContentBox(const Control& c, const QRectF& r) {
  switch (c.kind) {
    case ControlKind::kLabel:
      return r.adjusted(1, 1, -1, -1);
    case ControlKind::kSpeedButton:
    case ControlKind::kButton:
      return HasGlyph(c.glyph) ? r.adjusted(1, 2, -1, -std::max(2.0, r.height() / 12))
                               : r.adjusted(3, 2, -3, -2);
    default:
      return r.adjusted(4, 2, -4, -2);
  }
}

bool FitsAtSize(const QRectF& box, const QString& text, const QFont& font, Wrap wrap) {
  return FlagsThatFit(box, text, font, wrap).has_value();
}

void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, QFont font, Wrap wrap) {
  if (text.isEmpty() || box.width() < 1 || box.height() < 1) return;
  int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap;
  for (int size = font.pixelSize(); size >= kMinPixelSize; --size) {
    font.setPixelSize(size);
    if (const auto fit = FlagsThatFit(box, text, font, wrap)) {
      flags = *fit;
      break;
    }
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
