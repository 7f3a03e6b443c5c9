#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include "app/controls.h"

class QPainter;

namespace quillo {

// The colours the shell gives controls the engine leaves at kNoColor.
inline constexpr QRgb kDefaultPanel = 0xFFDCE3EE;
inline constexpr QRgb kDefaultButton = 0xFFF7F9FC;
inline constexpr QRgb kDefaultText = 0xFF1F2430;
inline constexpr QRgb kDownAccent = 0xFFF59E0B;
inline constexpr QRgb kHoverAccent = 0xFF3B82F6;

// The font of a control: DejaVu Sans at the control's size in points (taken at
// 96 dots per inch, so captions keep their size against the pixel bounds) and weight.
QFont ControlFont(const Control& c);

// The text colour for a control on a background: the control's own, or a dark or
// light default that reads on it.
QColor TextColorOn(const Control& c, const QColor& background);

// Draws text centred in box at the font's size, or smaller and wrapped as needed
// to fit; wrap allows breaking lines at the requested size already.
void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, QFont font, bool wrap);

// A rounded face with a soft top-to-bottom gradient: raised, or sunk with an inner
// shadow when down.
void DrawButtonFace(QPainter& p, const QRectF& box, const QColor& face, bool down, bool hovered,
                    bool enabled);

}  // namespace quillo
