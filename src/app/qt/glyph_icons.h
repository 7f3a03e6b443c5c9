#pragma once

#include <QColor>
#include <QRectF>
#include <string_view>

class QPainter;

namespace quillo {

// Whether name is one of the pictures DrawGlyph knows.
bool HasGlyph(std::string_view name);

// Draws the named picture (a tool, a canvas operation, a panel switch, an arrow)
// centred in box with the given ink, as crisp strokes at any size; nothing for an
// unknown name.
void DrawGlyph(QPainter& p, const QRectF& box, std::string_view name, const QColor& ink);

}  // namespace quillo
