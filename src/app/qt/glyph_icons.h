#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <string_view>

#include "form/controls.h"

class QPainter;

namespace quillo {

// Whether name is one of the pictures DrawGlyph knows.
bool HasGlyph(std::string_view name);

// Whether the switch with this picture turns its feature off when down; such a
// switch looks pressed while it is up, so a pressed look always means "on".
bool DownMeansOff(std::string_view name);

// The words a switch with this picture shows beneath it instead of its caption,
// naming its state in the form's language; empty for the others.
QString StateWords(const Form& form, std::string_view name, bool down);

// Draws the named picture (a tool, a canvas operation, a panel switch, an arrow)
// centred in box with the given ink, as crisp strokes at any size; nothing for an
// unknown name.
void DrawGlyph(QPainter& p, const QRectF& box, std::string_view name, const QColor& ink);

}  // namespace quillo
