#pragma once

#include <QPointF>
#include <QRect>
#include <QtGlobal>

#include "platform/raster/geometry.h"

namespace quillo {

// The engine counts in the device pixels of the screen the program was sized for
// (the primary screen): its canvas has a pixel for every pixel of that screen. Qt
// places widgets in logical pixels, which are that many device pixels each; at a
// scale of 1 the two are the same.
qreal DevicePixelRatio();

// A length in the engine's pixels, in logical pixels.
qreal ToLogical(qreal engineLength);

// A rectangle in the engine's pixels as a widget's geometry: each edge rounded on
// its own, so controls that meet in the engine meet on the screen.
QRect ToLogical(const Rect& engineRect);

// A length in logical pixels, in the engine's pixels.
int32_t ToEngine(qreal logicalLength);

// The engine's pixel under a point given in logical pixels.
Point ToEnginePoint(const QPointF& logical);

}  // namespace quillo
