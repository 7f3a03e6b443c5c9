#include "platform/qt/device_pixels.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace quillo {
namespace {

// A point a window system reports at a device pixel's corner comes back as a
// logical value that misses the corner by a rounding error; this much slack puts it
// on its pixel again.
constexpr qreal kCornerSlack = 1.0 / 64;

int32_t Edge(int32_t engineEdge, qreal ratio) {
  return static_cast<int32_t>(std::lround(engineEdge / ratio));
}

}  // namespace

qreal DevicePixelRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr && screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
}

qreal ToLogical(qreal engineLength) {
  return engineLength / DevicePixelRatio();
}

QRect ToLogical(const Rect& r) {
  const qreal ratio = DevicePixelRatio();
  const int32_t left = Edge(r.left, ratio);
  const int32_t top = Edge(r.top, ratio);
  return QRect(left, top, Edge(r.right, ratio) - left, Edge(r.bottom, ratio) - top);
}

int32_t ToEngine(qreal logicalLength) {
  return static_cast<int32_t>(std::lround(logicalLength * DevicePixelRatio()));
}

Point ToEnginePoint(const QPointF& logical) {
  const qreal ratio = DevicePixelRatio();
  return Point{static_cast<int32_t>(std::floor(logical.x() * ratio + kCornerSlack)),
               static_cast<int32_t>(std::floor(logical.y() * ratio + kCornerSlack))};
}

}  // namespace quillo
