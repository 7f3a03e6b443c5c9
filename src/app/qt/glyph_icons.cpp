#include "app/qt/glyph_icons.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace quillo {
namespace {

constexpr double kPi = std::numbers::pi;

// Each glyph draws on a 24 x 24 grid; the painter is scaled to the box.
using GlyphFn = void (*)(QPainter&, const QColor&);

QPen Ink(const QColor& ink, double width = 2) {
  return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Arrowhead(QPainter& p, QPointF tip, double angle, double size) {
  const QPointF a = tip - QPointF(std::cos(angle - 0.5), std::sin(angle - 0.5)) * size;
  const QPointF b = tip - QPointF(std::cos(angle + 0.5), std::sin(angle + 0.5)) * size;
  p.drawPolyline(QPolygonF({a, tip, b}));
}

void FingerPaint(QPainter& p, const QColor& ink) {
  QPainterPath path(QPointF(3, 18));
  path.cubicTo(7, 4, 11, 22, 15, 10);
  path.cubicTo(17, 4, 20, 6, 21, 9);
  p.setPen(Ink(ink, 3));
  p.drawPath(path);
}

void Radial(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  for (int i = 0; i < 8; ++i) {
    const double a = i * kPi / 4;
    p.drawLine(QPointF(12 + 3 * std::cos(a), 12 + 3 * std::sin(a)),
               QPointF(12 + 10 * std::cos(a), 12 + 10 * std::sin(a)));
  }
}

void Rectangular(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawRect(QRectF(2, 4, 20, 16));
  p.drawRect(QRectF(7, 8, 10, 8));
}

void Screen(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawRoundedRect(QRectF(2, 3, 20, 14), 3, 3);
  p.drawLine(QPointF(12, 17), QPointF(12, 21));
  p.drawLine(QPointF(7, 21), QPointF(17, 21));
}

void Orbit(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawEllipse(QRectF(2, 7, 20, 10));
  p.setBrush(ink);
  p.drawEllipse(QPointF(12, 12), 3, 3);
  p.drawEllipse(QPointF(20, 9), 1.5, 1.5);
}

void Waves(QPainter& p, const QColor& ink) {
  QPainterPath path(QPointF(2, 12));
  for (int x = 2; x <= 22; ++x)
    path.lineTo(x, 12 - 7 * std::sin((x - 2) * kPi / 5));
  p.setPen(Ink(ink));
  p.drawPath(path);
}

void Web(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink, 1.4));
  for (int i = 0; i < 6; ++i) {
    const double a = i * kPi / 3;
    p.drawLine(QPointF(12, 12), QPointF(12 + 10 * std::cos(a), 12 + 10 * std::sin(a)));
  }
  for (double r : {4.0, 7.5, 10.0}) {
    QPolygonF ring;
    for (int i = 0; i <= 6; ++i) {
      ring << QPointF(12 + r * std::cos(i * kPi / 3), 12 + r * std::sin(i * kPi / 3));
    }
    p.drawPolyline(ring);
  }
}

void Aliens(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  QPainterPath head(QPointF(12, 3));
  head.cubicTo(22, 3, 21, 14, 12, 21);
  head.cubicTo(3, 14, 2, 3, 12, 3);
  p.drawPath(head);
  p.setBrush(ink);
  p.drawEllipse(QRectF(6.5, 9, 4, 3));
  p.drawEllipse(QRectF(13.5, 9, 4, 3));
}

void Twister(QPainter& p, const QColor& ink) {
  QPainterPath path(QPointF(12, 12));
  for (int i = 1; i <= 60; ++i) {
    const double a = i * kPi / 10;
    const double r = i * 10.0 / 60;
    path.lineTo(12 + r * std::cos(a), 12 + r * std::sin(a));
  }
  p.setPen(Ink(ink, 1.8));
  p.drawPath(path);
}

void Cpu(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawRoundedRect(QRectF(6, 6, 12, 12), 2, 2);
  for (double t : {9.0, 12.0, 15.0}) {
    p.drawLine(QPointF(t, 2), QPointF(t, 6));
    p.drawLine(QPointF(t, 18), QPointF(t, 22));
    p.drawLine(QPointF(2, t), QPointF(6, t));
    p.drawLine(QPointF(18, t), QPointF(22, t));
  }
}

void DoLoop(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 300 * 16);
  Arrowhead(p, QPointF(10.6, 4.1), kPi * 1.05, 4.5);
}

void Bios(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink, 1.5));
  p.setBrush(ink);
  p.drawPolygon(QPolygonF({QPointF(14, 2), QPointF(5, 14), QPointF(11, 14), QPointF(9, 22),
                           QPointF(19, 9), QPointF(13, 9)}));
}

void Undo(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  QPainterPath path(QPointF(5, 10));
  path.cubicTo(10, 4, 21, 6, 20, 14);
  path.cubicTo(19, 19, 13, 20, 10, 19);
  p.drawPath(path);
  Arrowhead(p, QPointF(5, 10), kPi * 0.8, 5);
}

// Undo's arrow mirrored.
void Redo(QPainter& p, const QColor& ink) {
  p.save();
  p.translate(24, 0);
  p.scale(-1, 1);
  Undo(p, ink);
  p.restore();
}

void Negative(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawEllipse(QPointF(12, 12), 9, 9);
  QPainterPath half;
  half.moveTo(12, 3);
  half.arcTo(QRectF(3, 3, 18, 18), 90, 180);
  half.closeSubpath();
  p.fillPath(half, ink);
}

void Select(QPainter& p, const QColor& ink) {
  QPen pen = Ink(ink);
  pen.setDashPattern({2, 1.5});
  p.setPen(pen);
  p.drawRect(QRectF(3, 4, 18, 16));
}

void SelectAll(QPainter& p, const QColor& ink) {
  Select(p, ink);
  QColor fill = ink;
  fill.setAlphaF(0.45);
  p.fillRect(QRectF(6, 7, 12, 10), fill);
}

void Copy(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawRoundedRect(QRectF(3, 3, 12, 14), 2, 2);
  p.setBrush(ink.lightnessF() > 0.5 ? QColor(0, 0, 0, 60) : QColor(255, 255, 255, 120));
  p.drawRoundedRect(QRectF(9, 7, 12, 14), 2, 2);
}

void Paste(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
  p.setBrush(ink);
  p.drawRoundedRect(QRectF(8, 2, 8, 4), 1, 1);
  p.drawLine(QPointF(8, 12), QPointF(16, 12));
  p.drawLine(QPointF(8, 16), QPointF(14, 16));
}

void Magnifier(QPainter& p, const QColor& ink, bool plus) {
  p.setPen(Ink(ink));
  p.drawEllipse(QPointF(10, 10), 7, 7);
  p.setPen(Ink(ink, 3));
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
  p.setPen(Ink(ink));
  p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
  if (plus) p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
}
void ZoomIn(QPainter& p, const QColor& ink) {
  Magnifier(p, ink, true);
}
void ZoomOut(QPainter& p, const QColor& ink) {
  Magnifier(p, ink, false);
}

void Drag(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawLine(QPointF(12, 2), QPointF(12, 22));
  p.drawLine(QPointF(2, 12), QPointF(22, 12));
  Arrowhead(p, QPointF(12, 2), -kPi / 2, 4);
  Arrowhead(p, QPointF(12, 22), kPi / 2, 4);
  Arrowhead(p, QPointF(2, 12), kPi, 4);
  Arrowhead(p, QPointF(22, 12), 0, 4);
}

void Fly(QPainter& p, const QColor& ink) {
  // The screen on its way: a frame with speed lines behind it.
  p.setPen(Ink(ink));
  p.drawRoundedRect(QRectF(9, 5, 13, 11), 1.5, 1.5);
  p.drawLine(QPointF(13, 20), QPointF(18, 20));
  p.drawLine(QPointF(2, 7), QPointF(6, 7));
  p.drawLine(QPointF(1, 11), QPointF(6, 11));
  p.drawLine(QPointF(2, 15), QPointF(6, 15));
}

void Save(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawPolygon(
      QPolygonF({QPointF(3, 3), QPointF(18, 3), QPointF(21, 6), QPointF(21, 21), QPointF(3, 21)}));
  p.drawRect(QRectF(7, 3, 9, 6));
  p.drawRect(QRectF(7, 14, 10, 7));
}

void Background(QPainter& p, const QColor& ink) {
  // A sheet filled with blue.
  p.setPen(Ink(ink, 1.5));
  p.setBrush(QColor(40, 80, 230));
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 2.5, 2.5);
}

void ColourField(QPainter& p, const QColor&) {
  p.setPen(Qt::NoPen);
  const std::array<std::pair<QPointF, QColor>, 3> dots{{{QPointF(12, 7.5), QColor(255, 40, 40)},
                                                        {QPointF(7.5, 15), QColor(40, 200, 60)},
                                                        {QPointF(16.5, 15), QColor(50, 90, 255)}}};
  for (const auto& [at, colour] : dots) {
    QColor c = colour;
    c.setAlphaF(0.85);
    p.setBrush(c);
    p.drawEllipse(at, 6, 6);
  }
}

void FilePanel(QPainter& p, const QColor& ink) {
  // A folder with a play mark on it: the files and the replay live together.
  p.setPen(Ink(ink));
  p.drawPolygon(QPolygonF({QPointF(2, 5), QPointF(9, 5), QPointF(11, 7), QPointF(22, 7),
                           QPointF(22, 21), QPointF(2, 21)}));
  p.setBrush(ink);
  p.drawPolygon(QPolygonF({QPointF(9.5, 10), QPointF(16.5, 14), QPointF(9.5, 18)}));
}

void SettingsPanel(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink, 3));
  for (int i = 0; i < 8; ++i) {
    const double a = i * kPi / 4;
    p.drawLine(QPointF(12 + 7 * std::cos(a), 12 + 7 * std::sin(a)),
               QPointF(12 + 10 * std::cos(a), 12 + 10 * std::sin(a)));
  }
  p.setPen(Ink(ink, 2));
  p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
  p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
}

void AutoWidth(QPainter& p, const QColor& ink) {
  // A pen whose stroke widens by itself.
  p.setPen(Ink(ink, 1.6));
  p.drawPolygon(
      QPolygonF({QPointF(14, 2), QPointF(20, 8), QPointF(9, 19), QPointF(3, 21), QPointF(5, 15)}));
  p.setPen(Ink(ink, 1));
  p.setBrush(ink);
  p.drawPolygon(QPolygonF({QPointF(15, 22), QPointF(23, 14), QPointF(23, 22)}));
}

void Hints(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(2, 3, 20, 13), 4, 4);
  p.drawPath(bubble);
  p.drawPolyline(QPolygonF({QPointF(7, 16), QPointF(6, 21), QPointF(12, 16)}));
}

void Help(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawEllipse(QPointF(12, 12), 10, 10);
  QPainterPath q(QPointF(8.5, 9));
  q.cubicTo(8.5, 4.5, 15.5, 4.5, 15.5, 9);
  q.cubicTo(15.5, 12, 12, 11.5, 12, 14.5);
  p.drawPath(q);
  p.setBrush(ink);
  p.drawEllipse(QPointF(12, 18), 1.2, 1.2);
}

void RandomColours(QPainter& p, const QColor&) {
  // A hash of four coloured strokes: colours that change by themselves.
  const std::array<std::pair<QLineF, QColor>, 4> strokes{
      {{QLineF(9, 3, 7, 21), QColor(235, 50, 50)},
       {QLineF(17, 3, 15, 21), QColor(40, 170, 70)},
       {QLineF(3, 9, 21, 9), QColor(50, 100, 240)},
       {QLineF(3, 15, 21, 15), QColor(240, 170, 0)}}};
  for (const auto& [line, colour] : strokes) {
    p.setPen(Ink(colour, 2.6));
    p.drawLine(line);
  }
}

void ArrowRight(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.setBrush(ink);
  p.drawPolygon(QPolygonF({QPointF(6, 5), QPointF(16, 12), QPointF(6, 19)}));
  p.drawLine(QPointF(19, 5), QPointF(19, 19));
}

void Repeat(QPainter& p, const QColor& ink) {
  // A loop that comes round to its start again.
  p.setPen(Ink(ink));
  p.drawArc(QRectF(4, 5, 16, 14), 30 * 16, 300 * 16);
  Arrowhead(p, QPointF(18.9, 15.5), std::atan2(-6.06, 4.0), 4.5);
}

void Return(QPainter& p, const QColor& ink) {
  p.setPen(Ink(ink));
  p.drawPolyline(QPolygonF({QPointF(19, 4), QPointF(19, 15), QPointF(5, 15)}));
  Arrowhead(p, QPointF(5, 15), kPi, 5);
}

constexpr std::array<std::pair<std::string_view, GlyphFn>, 35> kGlyphs{{
    {"tool-fingerpaint", FingerPaint},
    {"tool-radial", Radial},
    {"tool-rectangular", Rectangular},
    {"tool-screen", Screen},
    {"tool-orbit", Orbit},
    {"tool-waves", Waves},
    {"tool-web", Web},
    {"tool-aliens", Aliens},
    {"tool-twister", Twister},
    {"tool-cpu", Cpu},
    {"tool-doloop", DoLoop},
    {"tool-bios", Bios},
    {"undo", Undo},
    {"redo", Redo},
    {"negative", Negative},
    {"select", Select},
    {"select-all", SelectAll},
    {"copy", Copy},
    {"paste", Paste},
    {"zoom-in", ZoomIn},
    {"zoom-out", ZoomOut},
    {"drag", Drag},
    {"fly", Fly},
    {"save", Save},
    {"background", Background},
    {"colour-field", ColourField},
    {"file-panel", FilePanel},
    {"settings-panel", SettingsPanel},
    {"auto-width", AutoWidth},
    {"hints", Hints},
    {"help", Help},
    {"random-colours", RandomColours},
    {"arrow-right", ArrowRight},
    {"repeat", Repeat},
    {"return", Return},
}};

GlyphFn Find(std::string_view name) {
  for (const auto& [n, fn] : kGlyphs) {
    if (n == name) return fn;
  }
  return nullptr;
}

}  // namespace

bool DownMeansOff(std::string_view name) {
  return name == "auto-width" || name == "hints" || name == "random-colours";
}

QString StateWords(const Form& form, std::string_view name, bool down) {
  if (name == "random-colours")
    return QString::fromStdString(form.Translate(down ? "RANDOM OFF" : "RANDOM ON"));
  return {};
}

bool HasGlyph(std::string_view name) {
  return Find(name) != nullptr;
}

void DrawGlyph(QPainter& p, const QRectF& box, std::string_view name, const QColor& ink) {
  const GlyphFn fn = Find(name);
  if (fn == nullptr || box.width() < 4 || box.height() < 4) return;
  const double side = std::min(box.width(), box.height());
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(box.center().x() - side / 2, box.center().y() - side / 2);
  p.scale(side / 24, side / 24);
  p.setBrush(Qt::NoBrush);
  fn(p, ink);
  p.restore();
}

}  // namespace quillo
